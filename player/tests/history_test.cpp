// The song history and the clock label: which status texts become lines of radiolog.txt and
// how a line reads, the history switched off, recordings, a history file that is gone or
// holds earlier lines, the times whatever the process's time settings, the menu item that
// opens the file, and titles as they arrive from a station.
#include <gtest/gtest.h>

#include "framework/convert.h"
#include "framework/exceptions.h"
#include "framework/files.h"
#include "player/main_window.h"
#include "player/tests/history_fixture.h"
#include "player/tests/playback_fixture.h"
#include "player/tests/player_fixture.h"
#include "player/web_pages.h"

namespace {

using history_test::UserTimeFormat;
using player_test::ConfigLines;
using player_test::ReadLines;
using player_test::WriteLines;

const std::string kStation = "Радио Тест";
// The station name as a line holds it: padded to 31 characters.
const std::string kPadded = kStation + std::string(31 - kStation.size(), ' ');

class History : public player_test::PlayerTest {
 protected:
  // The player with the history on or off, its timer stopped so that the test ticks it, and
  // the window's clock at `now`.
  void StartWithLog(int log) {
    auto config = ConfigLines(0, 0, 40, -1);
    config[20] = std::to_string(log);
    WriteLines(Config(), config);
    Start();
    Form1->Timer3->SetEnabled(false);
    Form1->RxClock1->OnGetTime = [this](TObject*, double& time) { time = now; };
    Form1->RxLabel6->SetCaption(kStation);
  }

  // One tick of the timer with this status text.
  void TickWith(const std::string& status) {
    Form1->RxLabel7->SetCaption(status);
    Form1->Timer3Timer(Form1->Timer3);
  }

  std::vector<std::string> Log() const { return ReadLines(LogPath()); }
  std::string LogPath() const { return folder_.file("radiolog.txt"); }

  UserTimeFormat format_;
  double now = efir::EncodeTime(7, 5, 9, 0);
};

TEST_F(History, NewTitlesAreLoggedOnceAndStatusTextsNever) {
  StartWithLog(1);
  const char* statuses[] = {
      "Эфирушка Плюс 23.10",   // the label's first text
      "Подключение...",
      "Буферизация... 40%",
      "Artist - Song",          // logged
      "Artist - Song",          // the same title again
      "Artist_ - Song - 0:00",  // the same once cleaned
      "Остановлено",
      "Нет сигнала",            // logged: a failed connect
      "Artist - Song",          // back after a status text: logged again
      "",
      " ",
      "Rock & Roll",            // logged without its ampersand
      "Ошибка воспроизведения",
  };
  for (const char* status : statuses) TickWith(status);
  const std::string time = "07:05:09 | ";
  EXPECT_EQ(Log(), (std::vector<std::string>{time + kPadded + " | Artist - Song",
                                             time + kPadded + " | Нет сигнала",
                                             time + kPadded + " | Artist - Song",
                                             time + kPadded + " | Rock  Roll"}));
  EXPECT_TRUE(shown.empty()) << shown.front();
}

TEST_F(History, StationNamesArePaddedTo31CharactersButNeverCut) {
  StartWithLog(1);
  const std::string names[] = {"", std::string(31, 'x'), std::string(40, 'y')};
  for (const std::string& name : names) {
    Form1->RxLabel6->SetCaption(name);
    TickWith("Title of " + name);
  }
  const auto log = Log();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[0], "07:05:09 | " + std::string(31, ' ') + " | Title of ");
  EXPECT_EQ(log[1], "07:05:09 | " + names[1] + " | Title of " + names[1]);
  EXPECT_EQ(log[2], "07:05:09 | " + names[2] + " | Title of " + names[2]);
}

TEST_F(History, WhileOffNothingIsWrittenButTheClockGoesOn) {
  StartWithLog(0);
  WriteLines(LogPath(), {"earlier line"});
  TickWith("Artist - Song");
  EXPECT_EQ(Form1->sLabel5->Caption(), "Сейчас: 07:05:09");
  now = efir::EncodeTime(23, 59, 58, 0);
  TickWith("Other - Song");
  EXPECT_EQ(Form1->sLabel5->Caption(), "Сейчас: 23:59:58");
  EXPECT_EQ(Log(), std::vector<std::string>{"earlier line"});
}

TEST_F(History, TheClockLabelFollowsTheTimerOnItsOwn) {
  StartWithLog(0);
  Form1->Timer3->SetEnabled(true);
  EXPECT_TRUE(player_test::PumpUntil(
      [] { return Form1->sLabel5->Caption() == "Сейчас: 07:05:09"; }, 5000));
}

TEST_F(History, TimesUseColonsWhateverADownloadDidToTheTimeSettings) {
  StartWithLog(1);
  // What the download component leaves behind for the whole process.
  efir::FormatSettings().TimeSeparator = '_';
  efir::FormatSettings().LongTimeFormat = "mm:ss.zzz";
  TickWith("Artist - Song");
  EXPECT_EQ(Form1->sLabel5->Caption(), "Сейчас: 07:05:09");
  EXPECT_EQ(Log(), std::vector<std::string>{"07:05:09 | " + kPadded + " | Artist - Song"});
  // The download component's own texts keep its settings.
  EXPECT_EQ(efir::FormatSettings().TimeSeparator, '_');
  EXPECT_EQ(efir::TimeToStr(now), "05_09.000");
}

TEST_F(History, DuringARecordingTitlesAreSeenButNotLogged) {
  StartWithLog(1);
  TickWith("Before - Song");
  RecordingActive = true;
  TickWith("Идёт запись: Before - Song");
  TickWith("Идёт запись: During - Song");
  RecordingActive = false;
  TickWith("During - Song");  // the last title seen: not logged
  TickWith("After - Song");
  const std::string start = "07:05:09 | " + kPadded + " | ";
  EXPECT_EQ(Log(), (std::vector<std::string>{start + "Before - Song", start + "After - Song"}));
}

TEST_F(History, LinesAreAddedWholeToWhatTheFileHolds) {
  StartWithLog(1);
  WriteLines(LogPath(), {"06:00:00 | first", "06:01:00 | second"});
  TickWith("One - Song");
  // Control characters in a title would split the line or end the file for its readers.
  TickWith("Two\r\nLines\x1A - Song");
  TickWith("Three - Song");
  const std::string start = "07:05:09 | " + kPadded + " | ";
  EXPECT_EQ(Log(), (std::vector<std::string>{"06:00:00 | first", "06:01:00 | second",
                                             start + "One - Song", start + "Two  Lines  - Song",
                                             start + "Three - Song"}));
}

TEST_F(History, AFileDeletedMeanwhileIsMadeAgain) {
  StartWithLog(1);
  TickWith("One - Song");
  ASSERT_TRUE(efir::DeleteFile(LogPath()));
  TickWith("One - Song");  // nothing to write: nothing opened
  EXPECT_FALSE(efir::FileExists(LogPath()));
  TickWith("Two - Song");
  EXPECT_EQ(Log(), std::vector<std::string>{"07:05:09 | " + kPadded + " | Two - Song"});
  EXPECT_TRUE(shown.empty()) << shown.front();
}

TEST_F(History, AFileThatCannotBeWrittenIsReportedOncePerTitle) {
  StartWithLog(1);
  HANDLE locked = CreateFileA(LogPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                              nullptr);
  ASSERT_NE(locked, INVALID_HANDLE_VALUE);
  // The framework reports what the timer's handler raises; the clock has gone on before.
  EXPECT_THROW(TickWith("One - Song"), EInOutError);
  EXPECT_EQ(Form1->sLabel5->Caption(), "Сейчас: 07:05:09");
  now = efir::EncodeTime(7, 5, 10, 0);
  EXPECT_NO_THROW(TickWith("One - Song"));
  EXPECT_EQ(Form1->sLabel5->Caption(), "Сейчас: 07:05:10");
  CloseHandle(locked);
}

TEST_F(History, HistoryMenuItemOpensTheFile) {
  StartWithLog(1);
  std::vector<std::string> opened;
  SetWebPageOpenerForTests([&](const std::string& target) { opened.push_back(target); });
  Form1->N26->Click();
  SetWebPageOpenerForTests(nullptr);
  EXPECT_EQ(opened, std::vector<std::string>{folder_.name() + "radiolog.txt"});
}

class HistoryOfStations : public playback_test::PlaybackTest {
  UserTimeFormat format_;
};

TEST_F(HistoryOfStations, TitlesFromTheStreamAndAFailedConnectAreLogged) {
  StartPlayer({{playback_test::ToneUrl("live.mp3"), "Тест"},
               {"http://127.0.0.1:1/dead.mp3", "Нет такой"}});
  Form1->Timer3->SetEnabled(false);
  const std::vector<std::string> before = ReadLines(folder_.file("radiolog.txt"));
  SelectStation(1);
  ASSERT_TRUE(WaitFor([&] { return HasTitle(); }));
  Form1->Timer3Timer(Form1->Timer3);
  SelectStation(2);
  ASSERT_TRUE(WaitFor([&] { return Form1->RxLabel7->Caption() == "Нет сигнала"; }));
  Form1->Timer3Timer(Form1->Timer3);
  EndPlayer();

  auto log = ReadLines(folder_.file("radiolog.txt"));
  ASSERT_EQ(log.size(), before.size() + 2);
  // After the time of day, "hh:mm:ss".
  EXPECT_EQ(log[before.size()].substr(8),
            " | Тест" + std::string(27, ' ') + " | Artist - \"Song\"");
  EXPECT_EQ(log[before.size() + 1].substr(8),
            " | Нет такой" + std::string(22, ' ') + " | Нет сигнала");
}

}  // namespace
