// The QR dialog: the service's address for a text and level, the code fetched from the
// loopback server into the picture, and the message a failed fetch shows.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <tuple>
#include <vector>

#include "framework/text_encoding.h"
#include "net/http_client.h"
#include "player/main_window.h"
#include "player/qr_dialog.h"
#include "player/station_dialog.h"
#include "player/tests/player_fixture.h"
#include "skin/engine/common_data.h"
#include "skin/forms/skin_provider.h"
#include "tests/support/capture.h"
#include "tests/support/paths.h"

namespace {

using player_test::AnsweringMessageBoxes;
using player_test::PlayerTest;

TEST(QrAddress, TextIsEncodedForTheQueryAndTheLevelComesFromTheTable) {
  const std::tuple<std::string, std::string> texts[] = {
      {"test", "test"},
      {"http://host:8000/a b?x=1&y", "http%3A%2F%2Fhost%3A8000%2Fa+b%3Fx%3D1%26y"},
      {"Az09-_.~", "Az09-_.~"},
      {"Эфир+%", "%DD%F4%E8%F0%2B%25"},
      {"", ""}};
  for (const auto& [text, encoded] : texts) EXPECT_EQ(EncodeQueryText(text), encoded) << text;

  const std::tuple<int, std::string> levels[] = {{0, "L"}, {1, "M"}, {2, "Q"}, {3, "H"},
                                                 {-1, "L"}, {4, "L"}};
  for (const auto& [index, letter] : levels) EXPECT_EQ(QrLevel(index), letter) << index;

  EXPECT_EQ(QrImageAddress(90, 120, 3, "a b"),
            QrService() + "chart?chs=90x120&cht=qr&chld=H&chl=a+b");
}

class QrDialog : public PlayerTest {
 protected:
  void SetUp() override {
    PlayerTest::SetUp();
    Start();
    ASSERT_TRUE(shown.empty()) << shown.front();
  }
  void TearDown() override {
    SetQrServiceForTests("");
    PlayerTest::TearDown();
  }

  std::vector<std::string> Fetch() {
    return AnsweringMessageBoxes([] { Form7->Button1Click(Form7->Button1); });
  }
};

TEST_F(QrDialog, FetchesTheStationAddressAsACodeIntoThePicture) {
  SetQrServiceForTests(efir::test::httpUrl("qr/"));
  const std::string address = "http://127.0.0.1:8000/радио?id=5 &x";
  Form3->sEdit2->SetText(address);
  Form7->ComboBox1->SetItemIndex(2);

  EXPECT_TRUE(Fetch().empty());
  EXPECT_EQ(Form7->Memo1->Text(), address);
  EXPECT_EQ(Form7->Image1->Picture().Width(), 90);
  EXPECT_EQ(Form7->Image1->Picture().Height(), 90);
  // The service got the address byte for byte.
  efir::HttpClient http;
  EXPECT_EQ(http.Get(efir::test::httpUrl("qr/last")), address);

  Form7->Show();
  player_test::PumpUntil([] { return false; }, 200);
  efir::test::saveScreenshot(Form7->Handle(), "player-qr-dialog");
}

TEST_F(QrDialog, ShowsTheSkinsFrameCaptionAndCloseButton) {
  Form7->Show();
  SetForegroundWindow(Form7->Handle());
  player_test::PumpUntil([] { return false; }, 200);
  TsSkinProvider* provider = ProviderOfForm(Form7);
  ASSERT_NE(provider, nullptr);
  ASSERT_TRUE(provider->HasBorder());
  ASSERT_TRUE(provider->SkinData->CacheBitmap);
  HDC frame = provider->SkinData->CacheBitmap->Canvas().Handle();
  const efir::test::Image screen = efir::test::captureScreenOf(Form7->Handle());
  const int w = Form7->Width(), h = Form7->Height(), side = GetSystemMetrics(SM_CXFRAME);
  const RECT close = provider->ButtonClose.Rect;
  EXPECT_GT(close.right - close.left, 0) << "a close button is laid out";
  EXPECT_LE(close.right, w - side);
  const POINT probes[] = {{w / 3, GetSystemMetrics(SM_CYFRAME) + 2}, {(close.left + close.right) / 2, (close.top + close.bottom) / 2},
                          {side / 2, h / 2}, {w / 2, h - 1 - side / 2}, {w - 1 - side / 2, h / 2}};
  for (const POINT& p : probes)
    EXPECT_EQ(screen.at(p.x, p.y), GetPixel(frame, p.x, p.y)) << "the screen shows the skin's frame at " << p.x << "," << p.y;
  const TColor caption = screen.at(probes[0].x, probes[0].y);
  for (int system : {COLOR_ACTIVECAPTION, COLOR_GRADIENTACTIVECAPTION, COLOR_BTNFACE})
    EXPECT_NE(caption, static_cast<TColor>(GetSysColor(system))) << "not the system's caption";
  efir::test::saveScreenshot(Form7->Handle(), "player-qr-dialog-frame");
}

TEST_F(QrDialog, AFailedFetchShowsItsMessageAndLeavesThePictureEmpty) {
  const int closedPort = efir::test::httpPort() + 9;
  // Service, what the message begins with.
  const std::tuple<std::string, std::string> cases[] = {
      // An answer that is no picture: the picture's own complaint.
      {efir::test::httpUrl("qr/not-a-service/"), "Invalid PNG data"},
      {"http://127.0.0.1:" + std::to_string(closedPort) + "/", "Cannot open http://127.0.0.1:"}};
  for (const auto& [service, message] : cases) {
    SCOPED_TRACE(service);
    SetQrServiceForTests(efir::test::httpUrl("qr/"));
    ASSERT_TRUE(Fetch().empty());
    ASSERT_NE(Form7->Image1->Picture().Graphic(), nullptr);

    SetQrServiceForTests(service);
    std::vector<std::string> texts = Fetch();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].substr(0, message.size()), message);
    EXPECT_EQ(Form7->Image1->Picture().Graphic(), nullptr);
    EXPECT_TRUE(shown.empty());
  }
}

}  // namespace
