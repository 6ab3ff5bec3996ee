// A connect as the main window shows it: connecting, the pre-buffer's percents and the track
// title, each title case of the stream's metadata, a dead address, a dropped stream, connects
// that overlap, and a connect to a server that never answers left for another station or
// stopped.
#include <gtest/gtest.h>

#include <set>

#include "audio/audio.h"
#include "grid/column_kinds.h"
#include "player/hotkeys.h"
#include "player/tests/playback_fixture.h"
#include "tests/support/silent_server.h"
#include "tests/support/window.h"

namespace {

using playback_test::PlaybackTest;
using playback_test::ToneUrl;

using Playback = PlaybackTest;

TEST_F(Playback, ConnectShowsConnectingThenBufferingThenTheTitle) {
  StartPlayer({{ToneUrl("live.mp3"), "Тест"}});
  SelectStation(1);
  ASSERT_TRUE(WaitFor([&] { return HasTitle(); }));

  ASSERT_GE(statuses.size(), 3u);
  EXPECT_EQ(statuses.front().code, ssConnecting);
  EXPECT_EQ(statuses.front().status, "Подключение...");
  EXPECT_EQ(statuses.front().title, "Подключение...");
  EXPECT_FALSE(statuses.front().playEnabled);
  int last = -1;
  for (size_t i = 1; i + 1 < statuses.size(); ++i) {
    const auto& s = statuses[i];
    ASSERT_EQ(s.code, ssBuffering) << i;
    int percent = 0;
    ASSERT_EQ(std::sscanf(s.status.c_str(), "Буферизация... %d%%", &percent), 1) << s.status;
    EXPECT_GE(percent, last);
    last = percent;
    EXPECT_EQ(s.title, s.status);
    EXPECT_FALSE(s.playEnabled);
  }
  EXPECT_GT(last, 75);
  EXPECT_EQ(statuses.back().code, ssTitle);
  EXPECT_EQ(statuses.back().status, "Artist - \"Song\"");
  EXPECT_EQ(statuses.back().title, "Artist - \"Song\"");
  EXPECT_TRUE(statuses.back().playEnabled);
  EXPECT_TRUE(Form1->NxGraphicColumn1->Enabled());
  EXPECT_TRUE(Form1->NxGraphicColumn10->Enabled());
  EndPlayer();
  EXPECT_TRUE(shown.empty()) << shown.front();
}

TEST_F(Playback, TitlesShowAsTheirMetadataCasesSay) {
  // The server sends, in turn: quotes then a StreamUrl; a title holding ";" and quotes; a UTF-8
  // and a Windows-1251 title; a title with the word "status".
  StartPlayer({{ToneUrl("live.mp3?metaint=1000&speed=4"), "Тест"}});
  SelectStation(1);
  const std::string station = "Тест";
  struct Case {
    std::string status;
    std::string title;
  };
  const Case expected[] = {
      {"Artist - \"Song\"", "Artist - \"Song\""},
      {"Artist - Song; two 'quoted'", "Artist - Song; two 'quoted'"},
      {"Группа - Песня", "Группа - Песня"},  // from either encoding
      {"", station},
  };
  auto seen = [&](const Case& c) {
    for (const auto& s : statuses)
      if (s.code == ssTitle && s.status == c.status && s.title == c.title) return true;
    return false;
  };
  // The song history takes the title as the status label shows it.
  ASSERT_TRUE(WaitFor([&] { return label->Caption() == expected[1].status; }));
  Form1->Timer3Timer(Form1->Timer3);
  ASSERT_TRUE(WaitFor([&] { return std::all_of(std::begin(expected), std::end(expected), seen); }))
      << statuses.size();
  // Nothing else: the UTF-8 title never shows undecoded, the Windows-1251 one never garbled.
  for (const auto& s : statuses) {
    if (s.code != ssTitle) continue;
    EXPECT_TRUE(std::any_of(std::begin(expected), std::end(expected),
                            [&](const Case& c) { return c.status == s.status; }))
        << s.status;
  }
  EndPlayer();
  const auto log = player_test::ReadLines(folder_.file("radiolog.txt"));
  EXPECT_TRUE(std::any_of(log.begin(), log.end(), [&](const std::string& line) {
    return line.ends_with(" | " + expected[1].status);
  }));
}

TEST_F(Playback, DeadAddressEndsInNoSignalAndTheNextConnectPlaysWithTheSettings) {
  StartPlayer({{"http://127.0.0.1:1/dead.mp3", "Нет такой"}, {ToneUrl("agent.mp3"), "Агент"}});
  SelectStation(1);
  ASSERT_TRUE(WaitFor([&] { return Count(ssConnectFailed) > 0; }));
  EXPECT_EQ(label->Captions,
            (std::vector<std::string>{"Подключение...", "Остановлено", "Нет сигнала"}));
  EXPECT_EQ(statuses.back().title, "Нет сигнала");
  EXPECT_TRUE(statuses.back().playEnabled);

  // The audio library was started anew with the player's network settings: the next station
  // plays, and its server saw the player's user agent (whose ";"s the title keeps).
  SelectStation(2);
  ASSERT_TRUE(WaitFor([&] { return HasTitle(); }));
  EXPECT_EQ(statuses.back().status,
            "Mozilla/5.0 (Windows; U; Windows NT 5.1; en-US) AppleWebKit/534.10 (KHTML, like Gecko) "
            "Chrome/8.0.552.215 Safari/534.10");
  EndPlayer();
  EXPECT_TRUE(shown.empty()) << shown.front();
}

// A click on the play button gives it the focus, and the connect that follows disables it:
// the volume keys must go on reaching the player all the same.
TEST_F(Playback, VolumeKeysGoOnWorkingAfterAClickOnThePlayButton) {
  StartPlayer({{"http://127.0.0.1:1/dead.mp3", "Нет такой"}}, 40);
  SelectStation(1);
  ASSERT_TRUE(WaitFor([&] { return Count(ssConnectFailed) == 1; }));
  SetForegroundWindow(Form1->Handle());
  ASSERT_TRUE(player_test::PumpUntil([] { return Form1->sBitBtn2->Enabled(); }));
  efir::test::clickMouse(Form1->sBitBtn2->ClientToScreen({18, 14}));
  ASSERT_TRUE(player_test::PumpUntil([&] { return Count(ssConnectFailed) == 2; }, 20000));
  ASSERT_EQ(Form1->sTrackBar1->Position(), 40);

  efir::test::pressKey(VK_UP);
  EXPECT_TRUE(player_test::PumpUntil([] { return Form1->sTrackBar1->Position() == 41; }));
  efir::test::pressKey(VK_DOWN, true);
  EXPECT_TRUE(player_test::PumpUntil([] { return Form1->sTrackBar1->Position() == 31; }));
  EXPECT_EQ(Form1->RxLabel5->Caption(), "31");
}

TEST_F(Playback, DroppedStreamConnectsAgain) {
  StartPlayer({{ToneUrl("drop/24000.mp3?speed=4"), "Обрыв"}});
  SelectStation(1);
  ASSERT_TRUE(WaitFor([&] { return Count(ssConnecting) >= 2 && statuses.back().code == ssTitle; }))
      << statuses.size();
  EndPlayer();
  EXPECT_TRUE(shown.empty()) << shown.front();
}

// Streams the audio library holds open, found among the numbers it has given out so far.
int LiveStreams() {
  int live = 0;
  for (DWORD h = 1; h < ChannelHandle + 64; ++h)
    live += BASS_StreamGetFilePosition(h, audio::PositionDownload) != static_cast<std::uint64_t>(-1);
  return live;
}

TEST_F(Playback, ConnectsWhileBufferingLeaveOneStreamPlaying) {
  StartPlayer({{ToneUrl("live.mp3"), "Тест"}});
  SelectStation(1);
  ASSERT_TRUE(WaitFor([&] { return Count(ssBuffering) > 0; }));
  // Play again (the menu item and the hot key reach it while the buttons are locked), twice.
  Form1->N2Click(Form1->N2);
  Form1->N2Click(Form1->N2);
  ASSERT_TRUE(WaitFor([&] { return HasTitle() && Count(ssConnecting) >= 2; }));
  efir::test::pumpFor(300);
  EXPECT_EQ(LiveStreams(), 1);
  EXPECT_NE(audio::channelState(ChannelHandle), audio::ChannelState::Stopped);
  EXPECT_TRUE(Form1->sBitBtn2->Enabled());
  EndPlayer();
  EXPECT_TRUE(shown.empty()) << shown.front();
}

TEST_F(Playback, StopEndsAConnectInProgressAndThePlayingStream) {
  StartPlayer({{ToneUrl("live.mp3"), "Тест"}});
  SelectStation(1);
  ASSERT_TRUE(WaitFor([&] { return Count(ssBuffering) > 0; }));
  Form1->Stop1Click(Form1->Stop1);  // the menu item works while the buttons are locked
  efir::test::pumpFor(1500);
  EXPECT_FALSE(HasTitle());
  EXPECT_EQ(LiveStreams(), 0);

  Form1->sBitBtn2Click(Form1->sBitBtn2);
  ASSERT_TRUE(WaitFor([&] { return HasTitle(); }));
  int connects = Count(ssConnecting);
  Form1->sBitBtn3Click(Form1->sBitBtn3);
  efir::test::pumpFor(1000);
  EXPECT_EQ(LiveStreams(), 0);
  EXPECT_EQ(Count(ssConnecting), connects);  // a stopped stream does not connect again
  EndPlayer();
  EXPECT_TRUE(shown.empty()) << shown.front();
}

TEST_F(Playback, TheStopHotKeyEndsAConnectWhileTheButtonsAreLocked) {
  StartPlayer({{ToneUrl("live.mp3"), "Тест"}});
  SelectStation(1);
  ASSERT_TRUE(WaitFor([&] { return Count(ssBuffering) > 0; }));
  ASSERT_FALSE(Form1->sBitBtn3->Enabled());
  SendMessageW(Form1->Handle(), WM_HOTKEY, hkStop, 0);
  efir::test::pumpFor(1500);
  EXPECT_FALSE(HasTitle());
  EXPECT_EQ(LiveStreams(), 0);
  EndPlayer();
  EXPECT_TRUE(shown.empty()) << shown.front();
}

TEST_F(Playback, AnArmedRecordingTakesTheDownloadUntilTheStreamIsStopped) {
  StartPlayer({{ToneUrl("live.mp3"), "Тест"}});
  SelectStation(1);
  ASSERT_TRUE(WaitFor([&] { return HasTitle(); }));
  const std::string file = folder_.file("TmpAudioFile.tmp");
  RecorderState = rsArmed;
  ASSERT_TRUE(WaitFor([&] { return RecorderState == rsWriting; }));
  auto size = [&] {
    std::error_code error;
    auto bytes = std::filesystem::file_size(file, error);
    return error ? 0 : bytes;
  };
  ASSERT_TRUE(WaitFor([&] { return size() > 8000; }));
  // A title while recording shows after the recording's prefix.
  ASSERT_TRUE(WaitFor([&] { return label->Caption().starts_with("Идёт запись: "); }));

  Form1->sBitBtn3Click(Form1->sBitBtn3);
  ASSERT_TRUE(WaitFor([&] { return RecorderState == rsIdle; }));
  // Closed: it opens for writing, and it grows no more.
  auto kept = size();
  HANDLE handle = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_NE(handle, INVALID_HANDLE_VALUE);
  CloseHandle(handle);
  efir::test::pumpFor(500);
  EXPECT_EQ(size(), kept);
  EndPlayer();
  EXPECT_TRUE(shown.empty()) << shown.front();
}

TEST_F(Playback, ClosingWhileAConnectWaitsForItsBufferEndsTheProgram) {
  // The line stays open but goes silent: the buffer never fills.
  StartPlayer({{ToneUrl("stall/3000.mp3"), "Тишина"}});
  SelectStation(1);
  ASSERT_TRUE(WaitFor([&] { return Count(ssBuffering) > 0; }));
  // While nothing arrives the wait looks again only now and then: a loop that polled the
  // buffer every few milliseconds would report it a hundred times a second.
  efir::test::pumpFor(500);
  const int looks = Count(ssBuffering);
  efir::test::pumpFor(1000);
  EXPECT_LE(Count(ssBuffering) - looks, 10);
  EndPlayer();
  EXPECT_EQ(Count(ssTitle), 0);
  EXPECT_TRUE(shown.empty()) << shown.front();
}

TEST_F(Playback, AStreamThatRunsDryShowsItsBufferWhileItWaits) {
  // Enough to start playing and to bring a title, then an open line that stays silent.
  StartPlayer({{ToneUrl("stall/40000.mp3?speed=4"), "Тишина"}});
  SelectStation(1);
  ASSERT_TRUE(WaitFor([&] { return HasTitle(); }));
  const int connectBuffering = Count(ssBuffering);
  // Within the stall: well before the time-out ends the stream and it connects again.
  ASSERT_TRUE(WaitFor([&] { return label->Caption().starts_with("Буферизация... "); }, 10000))
      << label->Caption();
  EXPECT_EQ(Count(ssConnecting), 1);
  EXPECT_EQ(Count(ssBuffering), connectBuffering) << "the connect's buffering is over";
  EndPlayer();
  EXPECT_TRUE(shown.empty()) << shown.front();
}

TEST_F(Playback, LeavingAStationWhoseServerNeverAnswersEndsItsConnectAtOnce) {
  efir::test::SilentServer silent;
  ASSERT_TRUE(silent.ok());
  StartPlayer({{silent.url("live.mp3"), "Молчание"}, {ToneUrl("live.mp3?speed=4"), "Тест"}});
  // Left alone, the connect would wait on the silent server for the whole 17 s time-out. Each
  // of these must end it within a second (the bounds below are generous) and show no failure.
  struct Way {
    const char* name;
    std::function<void()> leave;
    bool nextPlays;
  };
  const Way ways[] = {
      {"another station", [] { SelectStation(2); }, true},
      {"stop", [] { Form1->Stop1Click(Form1->Stop1); }, false},
  };
  for (const auto& [way, leave, nextPlays] : ways) {
    SCOPED_TRACE(way);
    const int connections = silent.connections();
    SelectStation(1);
    ASSERT_TRUE(WaitFor([&] { return silent.connections() > connections; }));
    ASSERT_TRUE(WaitFor([&] { return label->Caption() == "Подключение..."; }));
    statuses.clear();
    leave();
    EXPECT_TRUE(WaitFor([&] { return silent.closedConnections() == silent.connections(); }, 5000));
    if (nextPlays) {
      EXPECT_TRUE(WaitFor([&] { return HasTitle(); }, 5000));
      EXPECT_EQ(Form1->RxLabel6->Caption(), "Тест");
      EXPECT_EQ(LiveStreams(), 1);
    } else {
      efir::test::pumpFor(300);
      EXPECT_EQ(LiveStreams(), 0);
    }
    EXPECT_EQ(Count(ssConnectFailed), 0);
    EXPECT_NE(label->Caption(), "Нет сигнала");
  }
  EndPlayer();
  EXPECT_TRUE(shown.empty()) << shown.front();
}

TEST(StreamTitle, IsCutFromTheMetadataText) {
  struct Case {
    std::string tags;
    std::optional<std::string> title;
  };
  const Case cases[] = {
      {"StreamTitle='A - B';StreamUrl='http://x/';", "A - B"},
      {"StreamTitle='';", ""},
      {"StreamUrl='x';StreamTitle='A';", ""},  // the first ";" lies before the title
      {"StreamTitle='A'", ""},                 // no ";" at all
      {"StreamUrl='x';", std::nullopt},
      {"StreamTitle='Rock'n'Roll';", "Rock'n'Roll"},
      {"StreamTitle='A';  \r\n", "A"},  // blanks after the last field
      // A ";" inside the title: the field ends where only the end or the next field follows.
      {"StreamTitle='Artist - Song; two 'quoted'';", "Artist - Song; two 'quoted'"},
      {"StreamTitle='One; Two';", "One; Two"},
      {"StreamTitle='It's; fine';StreamUrl='http://x/a;b';", "It's; fine"},
      {"StreamTitle='A'; B';", "A'; B"},
      {"StreamTitle='A;B;C'; StreamUrl='u';", "A;B;C"},
      {"StreamTitle='AB;StreamUrl='u';", "A"},  // no closing quote: the next field still ends it
      {"StreamTitle='A; B", ""},                // no end at all: cut at the first ";"
  };
  for (const Case& c : cases) EXPECT_EQ(StreamTitleOf(c.tags), c.title) << c.tags;
}

}  // namespace
