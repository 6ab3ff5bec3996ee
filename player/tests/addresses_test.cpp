// Stations whose address names a radio service's station, a portal's broadcast or a portal's
// API address: the services (canned answers of the loopback HTTP server) are asked as they
// expect, their answers become the address that plays, and answers that name no stream play
// nothing and are reported.
#include <gtest/gtest.h>

#include <cmath>
#include <regex>

#include "framework/convert.h"
#include "player/address_resolvers.h"
#include "player/tests/playback_fixture.h"
#include "tests/support/paths.h"

namespace {

using playback_test::PlaybackTest;
using playback_test::Station;
using playback_test::ToneUrl;

// The three services at the loopback HTTP server.
class Addresses : public PlaybackTest {
 protected:
  void SetUp() override {
    PlaybackTest::SetUp();
    const std::string server = "http://127.0.0.1:" + std::to_string(efir::test::httpPort());
    SetRadioServicesForTests({server, server, server});
  }
  void TearDown() override {
    PlaybackTest::TearDown();
    ResetRadioServicesForTests();
  }

  // The address the media-player control was told to play; empty when none.
  std::string PlayedUrl() const {
    for (const std::string& call : mediaPlayer->Calls())
      if (call.starts_with("URL ")) return call.substr(4);
    return {};
  }
};

std::string Http(const std::string& path) { return efir::test::httpUrl(path); }

TEST_F(Addresses, StationServiceIsAskedForTheStationWithARandomFraction) {
  // The fraction is written with the user's decimal separator.
  StartPlayer({{Http("4711$"), "Сервис", "1"}});
  for (char separator : {'.', ','}) {
    SCOPED_TRACE(separator);
    efir::FormatSettings().DecimalSeparator = separator;
    // The service's cookies are dropped before each request.
    Form1->IdHTTP2.Get(Http("cookie/set"));
    mediaPlayer->ClearCalls();
    SelectStation(1);
    const std::regex expected(std::string("http://127\\.0\\.0\\.1/station\\?stationId=4711&rnd=0") +
                              (separator == '.' ? "\\." : ",") + "[0-9]{15}");
    EXPECT_TRUE(std::regex_match(PlayedUrl(), expected)) << PlayedUrl();
    EXPECT_EQ(mediaPlayer->Calls().back(), "play");
  }
  efir::FormatSettings().DecimalSeparator = '.';
  EndPlayer();
  EXPECT_TRUE(shown.empty()) << shown.front();
}

TEST_F(Addresses, FlvPortalAddressBecomesTheBroadcastAfterTheServerTime) {
  StartPlayer({{"http://cdn.test/live/stream/1700000000.mp3@", "Портал", "1"}});
  const long long clock = std::llround((efir::Now() - 25569) * 86400);
  SelectStation(1);
  // The canned player XML names the request's query as the hash.
  const std::regex expected(
      "http://cdn\\.test/live/stream/1700000000/1700010620\\?format=flv&hash="
      "startat=1700010620&type=full&rnd=0%2E([0-9]{4})([0-9]{4})([0-9]{4})([0-9]{4})"
      "&v=3&time=([0-9]+)&station=4000");
  std::smatch match;
  const std::string played = PlayedUrl();
  ASSERT_TRUE(std::regex_match(played, match, expected)) << played;
  for (int i = 1; i <= 4; ++i) {
    EXPECT_GE(std::stoi(match[i]), 1000);
    EXPECT_LE(std::stoi(match[i]), 1998);
  }
  // The local clock read as seconds since 1970.
  EXPECT_LE(std::llabs(std::stoll(match[5]) - clock), 60);
  EndPlayer();
  EXPECT_TRUE(shown.empty()) << shown.front();
}

TEST_F(Addresses, PortalApiAddressIsReplacedByTheStreamItNames) {
  // The API's answer escapes the slashes of the address; a "$" address of the audio-library
  // mode goes to the audio library as it stands.
  const std::string stream = ToneUrl("live.mp3");
  StartPlayer({{Http("api/station?stream=" + stream + "&token=abc"), "Портал"},
               {ToneUrl("live.mp3?station=$"), "Доллар"}});
  SelectStation(1);
  EXPECT_EQ(CurrentUrl, stream + "?token=abc");
  ASSERT_TRUE(WaitFor([&] { return HasTitle(); }));

  statuses.clear();
  SelectStation(2);
  ASSERT_TRUE(WaitFor([&] { return HasTitle(); }));
  EXPECT_EQ(CurrentUrl, ToneUrl("live.mp3?station=$"));
  EndPlayer();
  EXPECT_TRUE(shown.empty()) << shown.front();
}

TEST_F(Addresses, AnswersThatNameNoStreamAreReportedAndPlayNothing) {
  struct Case {
    Station station;
    std::string message;  // a part of the reported message
  };
  const Case cases[] = {
      {{Http("status-404$"), "Ошибка", "1"}, "404"},
      {{Http("empty$"), "Пусто", "1"}, "No stream address"},
      {{Http("page$"), "Страница", "1"}, "No stream address"},
      {{"http://cdn.test/stream/soon.mp3@", "Не число", "1"}, "'soon' is not a valid integer"},
      {{"http://cdn.test/stream/0.mp3@", "Без хеша", "1"}, "No stream address"},
      {{Http("api/missing"), "Нет API"}, "404"},
      {{Http("api/empty"), "Пустой API"}, "No stream address"},
      {{Http("api/page"), "Страница API"}, "No stream address"},
  };
  std::vector<Station> stations;
  for (const Case& c : cases) stations.push_back(c.station);
  StartPlayer(stations);
  for (size_t i = 0; i < std::size(cases); ++i) {
    SCOPED_TRACE(cases[i].station.name);
    shown.clear();
    mediaPlayer->ClearCalls();
    efir::Guarded([&] { SelectStation(static_cast<int>(i + 1)); });
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find(cases[i].message), std::string::npos) << shown[0];
    EXPECT_EQ(PlayedUrl(), "");
    EXPECT_EQ(CurrentUrl, cases[i].station.url);
  }
  efir::test::pumpFor(300);
  EXPECT_EQ(Count(ssConnecting), 0);
  shown.clear();
  EndPlayer();
  EXPECT_TRUE(shown.empty()) << shown.front();
}

TEST(RandomDecimalParam, IsFourNumbersFrom1000To1998) {
  const std::regex form("0%2E([0-9]{4})([0-9]{4})([0-9]{4})([0-9]{4})");
  for (int i = 0; i < 200; ++i) {
    const std::string param = RandomDecimalParam();
    std::smatch match;
    ASSERT_TRUE(std::regex_match(param, match, form)) << param;
    for (int n = 1; n <= 4; ++n) ASSERT_LE(std::stoi(match[n]), 1998) << param;
  }
}

}  // namespace
