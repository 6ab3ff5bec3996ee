// The record button with the loopback stream: armed, writing, stopped and saved through a
// stand-in for the save dialog; the saved file against what the server sent; cancelling, a
// failed copy, the media-player mode; and the recording file's share of the download callback
// when several streams' threads call it.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <mutex>
#include <optional>
#include <thread>

#include "audio/audio.h"
#include "framework/text_encoding.h"
#include "player/hotkeys.h"
#include "player/recorder_download.h"
#include "player/tests/playback_fixture.h"
#include "tests/support/paths.h"

namespace {

using playback_test::PlaybackTest;
using playback_test::Station;
using playback_test::ToneUrl;

namespace fs = std::filesystem;

// Paths are Windows-1251 text, as the player names files.
fs::path PathOf(const std::string& name) { return fs::path(efir::text::fromAnsi(name)); }

std::string ReadBytes(const std::string& name) {
  std::ifstream in(PathOf(name), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uintmax_t SizeOf(const std::string& name) {
  std::error_code error;
  uintmax_t size = fs::file_size(PathOf(name), error);
  return error ? 0 : size;
}

// The stream server plays this file's bytes over and over.
std::string StreamLoop() { return ReadBytes(efir::test::fixturePath("stream.mp3")); }

// Whether `bytes` is an unbroken stretch of the loop, starting anywhere in it.
bool IsStretchOfLoop(const std::string& bytes, const std::string& loop) {
  if (bytes.empty() || loop.empty()) return false;
  for (size_t start = 0; start < loop.size(); ++start) {
    size_t i = 0;
    while (i < bytes.size() && bytes[i] == loop[(start + i) % loop.size()]) ++i;
    if (i == bytes.size()) return true;
  }
  return false;
}

// Stands in for the system's save dialog: answers with the name the test sets, or cancels.
class FakeSaveDialog : public TSaveDialog {
 public:
  using TSaveDialog::TSaveDialog;
  std::optional<std::string> Answer;  // none: the user cancels
  int Shown = 0;
  std::string OfferedName;

 protected:
  bool Run(OPENFILENAMEW& dialog) override {
    ++Shown;
    OfferedName = efir::text::toAnsi(dialog.lpstrFile);
    if (!Answer) return false;
    const std::wstring name = efir::text::fromAnsi(*Answer);
    name.copy(dialog.lpstrFile, dialog.nMaxFile - 1);
    dialog.lpstrFile[name.size()] = L'\0';
    return true;
  }
};

// Answers the message box that `action` shows with OK; returns the box's text ("" if none).
std::string AnswerMessageBox(const std::function<void()>& action) {
  static std::string text;
  text.clear();
  UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM) -> BOOL {
          wchar_t kind[16] = {};
          GetClassNameW(window, kind, 16);
          if (std::wstring(kind) != L"#32770" || !IsWindowVisible(window)) return TRUE;
          wchar_t shown[256] = {};
          GetDlgItemTextW(window, 0xFFFF, shown, 256);  // the message box's text
          text = efir::text::toAnsi(shown);
          PostMessageW(window, WM_COMMAND, IDOK, 0);
          return FALSE;
        },
        0);
  });
  action();
  KillTimer(nullptr, timer);
  return text;
}

class Recording : public PlaybackTest {
 protected:
  void StartRecorder(const std::vector<Station>& stations) {
    StartPlayer(stations);
    dialog = new FakeSaveDialog(Form1);
    Form1->SaveDialog1 = dialog;
  }
  void TearDown() override {
    PlaybackTest::TearDown();
    // The recorder's state belongs to the process: a test that failed half-way leaves none.
    EndRecording();
    RecordingActive = false;
  }

  // A click on the record button: what it raises goes to the default handler.
  void Press() { efir::Guarded([] { Form1->sBitBtn1Click(Form1->sBitBtn1); }); }

  std::string Temp() const { return folder_.file("TmpAudioFile.tmp"); }

  FakeSaveDialog* dialog = nullptr;
};

TEST_F(Recording, RecordsTheStationUntilStoppedThenSavesItAndPlaysOn) {
  StartRecorder({{ToneUrl("live.mp3"), "Тест"}});
  SelectStation(1);
  ASSERT_TRUE(WaitFor([&] { return HasTitle(); }));

  // Underscores and ampersands leave the proposed name; the spaces around them stay.
  label->SetCaption("Группа_1 & Друзья - 0:00");
  Press();
  EXPECT_NE(RecorderState, rsIdle);
  EXPECT_TRUE(RecordingActive);
  EXPECT_EQ(label->Caption(), "Идёт запись: Группа_1 & Друзья - 0:00");
  EXPECT_FALSE(Form1->sBitBtn2->Enabled());
  ASSERT_TRUE(WaitFor([&] { return RecorderState == rsWriting; }));
  ASSERT_TRUE(WaitFor([&] { return SizeOf(Temp()) > 20000; }));
  // The playback controls stay locked while the recording runs, the unlock timer too.
  Form1->Timer2Timer(Form1->Timer2);
  EXPECT_FALSE(Form1->sBitBtn2->Enabled());

  // Saved over an existing file, with ".mp3" added even to a name that has it.
  const std::string target = folder_.file("Запись.mp3.mp3");
  player_test::WriteLines(target, {"old"});
  dialog->Answer = folder_.file("Запись.mp3");
  const int connects = Count(ssConnecting);
  Press();
  EXPECT_EQ(dialog->Shown, 1);
  EXPECT_EQ(dialog->OfferedName, "Группа1  Друзья");
  EXPECT_EQ(Form1->SaveDialog1->Filter(), "MP3 files (*.mp3)|*.mp3");
  EXPECT_EQ(RecorderState, rsIdle);
  EXPECT_FALSE(RecordingActive);
  EXPECT_FALSE(fs::exists(PathOf(Temp())));
  const std::string saved = ReadBytes(target);
  EXPECT_GT(saved.size(), 20000u);
  EXPECT_TRUE(IsStretchOfLoop(saved, StreamLoop()));

  // The station connects again and is not recorded.
  ASSERT_TRUE(WaitFor([&] { return Count(ssConnecting) > connects && statuses.back().code == ssTitle; }));
  EXPECT_FALSE(fs::exists(PathOf(Temp())));
  EXPECT_TRUE(Form1->sBitBtn2->Enabled());
  EndPlayer();
  EXPECT_TRUE(shown.empty()) << shown.front();
}

TEST_F(Recording, TheStopHotKeyEndsARecordingAndTheRecordButtonThenSavesIt) {
  StartRecorder({{ToneUrl("live.mp3"), "Тест"}});
  SelectStation(1);
  ASSERT_TRUE(WaitFor([&] { return HasTitle(); }));
  Press();
  ASSERT_TRUE(WaitFor([&] { return SizeOf(Temp()) > 20000; }));
  ASSERT_FALSE(Form1->sBitBtn3->Enabled());
  SendMessageW(Form1->Handle(), WM_HOTKEY, hkStop, 0);
  ASSERT_TRUE(WaitFor([&] { return RecorderState == rsIdle; }));
  const auto kept = SizeOf(Temp());
  efir::test::pumpFor(500);
  EXPECT_EQ(SizeOf(Temp()), kept);

  dialog->Answer = folder_.file("Запись");
  Press();
  EXPECT_EQ(dialog->Shown, 1);
  EXPECT_FALSE(RecordingActive);
  EXPECT_EQ(ReadBytes(folder_.file("Запись.mp3")).size(), kept);
  EndPlayer();
  EXPECT_TRUE(shown.empty()) << shown.front();
}

TEST_F(Recording, ArmedBeforeTheStationConnectsItHoldsExactlyWhatTheServerSent) {
  // The server closes after 30000 bytes of sound: the end of the download ends the recording,
  // and the user still stops and saves it.
  StartRecorder({{ToneUrl("drop/30000.mp3"), "Обрыв"}});
  Press();
  SelectStation(1);
  ASSERT_TRUE(WaitFor([&] { return RecorderState == rsWriting; }));
  ASSERT_TRUE(WaitFor([&] { return RecorderState == rsIdle; }));
  EXPECT_TRUE(RecordingActive);

  dialog->Answer = folder_.file("drop");
  Press();
  EXPECT_FALSE(RecordingActive);
  std::string loop = StreamLoop();
  while (loop.size() < 30000) loop += loop;
  EXPECT_TRUE(ReadBytes(folder_.file("drop.mp3")) == loop.substr(0, 30000));
  EndPlayer();
  EXPECT_TRUE(shown.empty()) << shown.front();
}

TEST_F(Recording, AStationConnectedAgainMeanwhileKeepsPlayingAndIsNotRecorded) {
  StartRecorder({{ToneUrl("live.mp3"), "Тест"}});
  SelectStation(1);
  ASSERT_TRUE(WaitFor([&] { return HasTitle(); }));
  Press();
  ASSERT_TRUE(WaitFor([&] { return SizeOf(Temp()) > 8000; }));

  // The tray menu's play is not locked while recording.
  const DWORD recorded = ChannelHandle;
  statuses.clear();
  Form1->N2Click(Form1->N2);
  ASSERT_TRUE(WaitFor([&] { return HasTitle() && RecorderState == rsIdle; }));
  efir::test::pumpFor(500);
  EXPECT_NE(ChannelHandle, recorded);
  EXPECT_NE(audio::channelState(ChannelHandle), audio::ChannelState::Stopped);
  EXPECT_NE(BASS_StreamGetFilePosition(ChannelHandle, audio::PositionDownload),
            ~std::uint64_t{0});

  dialog->Answer = folder_.file("first");
  Press();
  EXPECT_TRUE(IsStretchOfLoop(ReadBytes(folder_.file("first.mp3")), StreamLoop()));
  EndPlayer();
  EXPECT_TRUE(shown.empty()) << shown.front();
}

TEST_F(Recording, CancelOrAFailedCopyKeepsTheRecording) {
  StartRecorder({{ToneUrl("live.mp3"), "Тест"}});
  SelectStation(1);
  ASSERT_TRUE(WaitFor([&] { return HasTitle(); }));
  Press();
  ASSERT_TRUE(WaitFor([&] { return SizeOf(Temp()) > 8000; }));
  dialog->Answer.reset();
  statuses.clear();
  Press();
  EXPECT_EQ(dialog->Shown, 1);
  EXPECT_FALSE(RecordingActive);
  EXPECT_TRUE(IsStretchOfLoop(ReadBytes(Temp()), StreamLoop()));

  // A folder that does not exist: reported, and the recording stays.
  ASSERT_TRUE(WaitFor([&] { return HasTitle(); }));
  Press();
  ASSERT_TRUE(WaitFor([&] { return RecorderState == rsWriting; }));
  ASSERT_TRUE(WaitFor([&] { return SizeOf(Temp()) > 8000; }));
  dialog->Answer = folder_.file("no such folder\\x");
  Press();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_NE(shown[0].find("no such folder"), std::string::npos) << shown[0];
  EXPECT_TRUE(IsStretchOfLoop(ReadBytes(Temp()), StreamLoop()));
  shown.clear();
  EndPlayer();
  EXPECT_TRUE(shown.empty()) << shown.front();
}

TEST_F(Recording, NothingRecordedOffersNothingToSave) {
  // Recording a stopped station: the stopped stream's last download call starts nothing, and
  // an older recording's file is not offered under the new name.
  StartRecorder({{ToneUrl("live.mp3"), "Тест"}});
  SelectStation(1);
  ASSERT_TRUE(WaitFor([&] { return HasTitle(); }));
  Form1->sBitBtn3Click(Form1->sBitBtn3);
  player_test::WriteLines(Temp(), {"older"});
  Press();
  efir::test::pumpFor(300);
  EXPECT_EQ(RecorderState, rsArmed);
  statuses.clear();
  Press();
  EXPECT_EQ(RecorderState, rsIdle);
  EXPECT_EQ(dialog->Shown, 0);
  EXPECT_EQ(ReadBytes(Temp()), "older\r\n");
  // The station plays again all the same.
  ASSERT_TRUE(WaitFor([&] { return HasTitle(); }));
  EndPlayer();
  EXPECT_TRUE(shown.empty()) << shown.front();
}

// The median of a measure over the quarter seconds of the sound: a reconnect's pause or a
// loop's turn moves it little.
double MedianOfQuarters(const playback_test::Sound& sound, double (*measure)(const playback_test::Sound&, double)) {
  std::vector<double> values;
  for (double t = 0.25; t + 0.5 < sound.Seconds(); t += 0.25) values.push_back(measure(sound, t));
  if (values.empty()) return 0;
  std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
  return values[values.size() / 2];
}
double QuarterLevel(const playback_test::Sound& sound, double t) { return sound.Level(t, t + 0.25); }
double QuarterPitch(const playback_test::Sound& sound, double t) { return sound.Frequency(t, t + 0.25); }

TEST_F(Recording, AacAndWmaStationsPlayThroughTheBandsShowTheirTitleAndRecordUnchanged) {
  struct Case {
    const char* path;
    const char* fixture;  // what the server sends: in a loop, or once for WMA
    std::string title;
  } cases[] = {
      {"live.mp3?metaint=1000", "stream.mp3", "Artist - \"Song\""},  // the level to match
      {"live.aac?metaint=1000", "tone.aac", "Artist - \"Song\""},
      {"live.wma", "tone.wma", "Группа - Песня"},  // from the file's own tags
  };
  // Every band at -15 dB: the sound is the tone through the player's equalizer, which
  // lowers it at 440 Hz too (to about two thirds).
  std::array<int, 10> bands;
  bands.fill(30);
  std::vector<double> levels;
  for (const Case& c : cases) {
    statuses.clear();
    StartPlayer({{ToneUrl(c.path), "Станция"}}, 100, 1, bands);
    dialog = new FakeSaveDialog(Form1);
    Form1->SaveDialog1 = dialog;
    SelectStation(1);
    ASSERT_TRUE(WaitFor([&] {
      return std::any_of(statuses.begin(), statuses.end(),
                         [&](const playback_test::Shown& s) { return s.code == ssTitle && s.status == c.title; });
    })) << c.path;

    Press();
    ASSERT_TRUE(WaitFor([&] { return SizeOf(Temp()) > 12000; })) << c.path;
    dialog->Answer = folder_.file("recorded");
    Press();
    // The station's own bytes, under the name the user gave and ".mp3", whatever they are.
    const std::string saved = ReadBytes(folder_.file("recorded.mp3"));
    EXPECT_GT(saved.size(), 12000u) << c.path;
    EXPECT_TRUE(IsStretchOfLoop(saved, ReadBytes(efir::test::fixturePath(c.fixture)))) << c.path;
    fs::remove(PathOf(folder_.file("recorded.mp3")));

    ASSERT_TRUE(WaitFor([&] { return statuses.back().code == ssTitle; })) << c.path;
    efir::test::pumpFor(1000);
    playback_test::Sound sound = EndPlayer();
    EXPECT_TRUE(shown.empty()) << shown.front();
    EXPECT_NEAR(MedianOfQuarters(sound, QuarterPitch), 440, 440 * 0.02) << c.path;
    levels.push_back(MedianOfQuarters(sound, QuarterLevel));
  }
  EXPECT_LT(levels[0], 0.8 * 12000 / std::sqrt(2.0));
  EXPECT_NEAR(levels[1], levels[0], levels[0] * 0.1);
  EXPECT_NEAR(levels[2], levels[0], levels[0] * 0.1);
}

TEST_F(Recording, TheMediaPlayerModeIsNotRecorded) {
  StartRecorder({{"http://radio.example/stream.asx", "Через плеер", "1"}});
  SelectStation(1);
  EXPECT_EQ(AnswerMessageBox([&] { Press(); }), "Отключите режим WMP.");
  EXPECT_EQ(RecorderState, rsIdle);
  EXPECT_FALSE(RecordingActive);
  EndPlayer();
  EXPECT_TRUE(shown.empty()) << shown.front();
}

// Runs calls one at a time on a thread of its own, as the audio library runs one stream's
// callbacks on that stream's thread.
class StreamThread {
 public:
  StreamThread() : thread_([this] { Loop(); }) {}
  ~StreamThread() {
    Run(nullptr);
    thread_.join();
  }
  // Runs `call` there and waits for it; what it raises comes back here.
  void Run(std::function<void()> call) {
    std::unique_lock lock(m_);
    call_ = std::move(call);
    pending_ = true;
    changed_.notify_all();
    changed_.wait(lock, [&] { return !pending_; });
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
  }

 private:
  void Loop() {
    for (;;) {
      std::unique_lock lock(m_);
      changed_.wait(lock, [&] { return pending_; });
      if (!call_) {
        pending_ = false;
        changed_.notify_all();
        return;
      }
      try {
        call_();
      } catch (...) {
        failure_ = std::current_exception();
      }
      pending_ = false;
      changed_.notify_all();
    }
  }

  std::mutex m_;
  std::condition_variable changed_;
  std::function<void()> call_;
  bool pending_ = false;
  std::exception_ptr failure_;
  std::thread thread_;
};

class RecordingFile : public ::testing::Test {
 protected:
  RecordingFile() : folder_("RecordingFile") { SetPlayerFolderForTests(folder_.name()); }
  ~RecordingFile() override {
    EndRecording();
    SetPlayerFolderForTests("");
  }
  static void Step(StreamThread& stream, const char* block) {
    stream.Run([=] { RecorderDownloadStep(block, block ? static_cast<DWORD>(strlen(block)) : 0); });
  }
  player_test::ProgramFolder folder_;
};

TEST_F(RecordingFile, HoldsOnlyTheStreamItStartedWith) {
  StreamThread recorded, other;
  ArmRecording();
  Step(other, nullptr);  // an ended download starts nothing
  EXPECT_EQ(RecorderState, rsArmed);
  Step(recorded, "");    // a header block starts the file
  Step(recorded, "abc");
  Step(other, "XYZ");
  Step(other, nullptr);  // another stream's end is not this recording's
  EXPECT_EQ(RecorderState, rsWriting);
  Step(recorded, "def");
  Step(recorded, nullptr);
  EXPECT_EQ(RecorderState, rsIdle);
  Step(recorded, "ghi");
  EXPECT_EQ(ReadBytes(TempRecordingPath()), "abcdef");
  EXPECT_TRUE(EndRecording());
}

TEST_F(RecordingFile, AFileThatCannotBeMadeIsReportedOnce) {
  fs::create_directory(PathOf(TempRecordingPath()));
  StreamThread stream;
  ArmRecording();
  EXPECT_THROW(Step(stream, "abc"), EInOutError);
  EXPECT_EQ(RecorderState, rsIdle);
  EXPECT_NO_THROW(Step(stream, "def"));
  EXPECT_FALSE(EndRecording());
}

}  // namespace
