// The main window's start-up, settings file, volume keys and the two ways of closing.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <functional>
#include <memory>

#include "audio/audio.h"
#include "framework/files.h"
#include "framework/registry.h"
#include "grid/data_grid.h"
#include "player/equalizer.h"
#include "player/main_window.h"
#include "player/station_dialog.h"
#include "player/views.h"
#include "skin/engine/skin_command.h"
#include "player/tests/player_fixture.h"
#include "tests/support/capture.h"

namespace {

using player_test::ConfigLines;
using player_test::PlayerTest;
using player_test::PumpUntil;
using player_test::ReadLines;
using player_test::WriteLines;

std::string ReadBytes(const std::string& path) {
  std::string bytes;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
    bytes.append(buffer, read);
  CloseHandle(file);
  return bytes;
}

using MainWindow = PlayerTest;

TEST_F(MainWindow, CloseWritesTheSettingsAndTheNextStartRestoresThem) {
  WriteLines(Config(), ConfigLines(0, 1, 40, 2, 120, 80));
  Start();
  EXPECT_TRUE(shown.empty()) << shown.front();
  EXPECT_EQ(Form1->sTrackBar1->Position(), 40);
  EXPECT_EQ(Form1->RxLabel5->Caption(), "40");
  EXPECT_EQ(Form1->Left(), 120);
  EXPECT_EQ(Form1->Top(), 80);
  EXPECT_FALSE(Form1->Timer1->Enabled());
  // open_last selected station 2 at once.
  EXPECT_EQ(Form1->RxLabel6->Caption(), ReadLines(folder_.file("Stations\\play2.txt"))[1]);
  // (The play buttons were enabled by the selection, but the connect it started may already
  // have locked them again: the station number is what the selection leaves for certain.)
  EXPECT_EQ(Settings.LastStation, 2);

  Form1->sTrackBar1->SetPosition(55);
  Form1->SetBounds(140, 90, Form1->Width(), Form1->Height());
  Form1->Image4Click(Form1->Image4);
  RunToEnd();
  EXPECT_EQ(ReadLines(Config()), ConfigLines(0, 1, 55, 2, 140, 90));
  EXPECT_EQ(ReadBytes(Config()).substr(0, 15), "check_updates\r\n");

  Start();
  EXPECT_EQ(Form1->sTrackBar1->Position(), 55);
  EXPECT_EQ(Form1->Left(), 140);
  EXPECT_EQ(Form1->Top(), 90);
}

TEST_F(MainWindow, WithOpenLastOffTheStoredStationIsDroppedOnTheNextClose) {
  WriteLines(Config(), ConfigLines(1, 0, 30, 17));
  Start();
  EXPECT_EQ(Form1->RxLabel6->Caption(), kSlogan);
  EXPECT_TRUE(Form1->Timer1->Enabled());
  Form1->N4Click(Form1->N4);
  RunToEnd();
  EXPECT_EQ(ReadLines(Config())[7], "-1");
}

TEST_F(MainWindow, WithOpenLastOnNoStoredStationPlaysNothing) {
  for (int lastNumber : {-1, 0}) {
    WriteLines(Config(), ConfigLines(0, 1, 30, lastNumber));
    Start();
    EXPECT_TRUE(shown.empty()) << lastNumber << ": " << shown.front();
    EXPECT_EQ(Form1->RxLabel6->Caption(), kSlogan) << lastNumber;
    EXPECT_FALSE(Form1->sBitBtn2->Enabled()) << lastNumber;
    Form1->Close();
    RunToEnd();
  }
}

TEST_F(MainWindow, FirstRunWithoutSettingsStartsFullyAndWritesThemOnClose) {
  ASSERT_FALSE(efir::FileExists(Config()));
  Start();
  EXPECT_TRUE(shown.empty()) << shown.front();
  TPlayerConfig defaults;
  EXPECT_EQ(Form1->sTrackBar1->Position(), defaults.start_volume);
  // The last step ran: the list holds the catalogue.
  EXPECT_EQ(Form1->DataGrid3->RowCount(),
            static_cast<int>(ReadLines(folder_.file("Stations.txt")).size()));
  EXPECT_TRUE(efir::FileExists(folder_.file("radiolog.txt")));
  Form1->Image4Click(Form1->Image4);
  RunToEnd();
  EXPECT_EQ(ReadLines(Config()).size(), static_cast<size_t>(kConfigLines));
}

TEST_F(MainWindow, WithoutAnEqualizerFileTheBandsAreFlatWithoutAWord) {
  std::filesystem::remove(folder_.file("equalizer.txt"));
  EqualizerBands.fill(3);
  Start();
  EXPECT_TRUE(shown.empty()) << shown.front();
  for (int band : EqualizerBands) EXPECT_EQ(band, kFlatBandValue);
}

TEST_F(MainWindow, BrokenSettingsAreReportedAndStartUpGoesOn) {
  auto lines = ConfigLines(0, 0, 40, -1);
  lines[11] = "пять";
  WriteLines(Config(), lines);
  Start();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], "Не удалось прочитать настройки из файла config.txt, непрочитанные взяты "
                      "по умолчанию: «пять» — не число.");
  EXPECT_EQ(Form1->sTrackBar1->Position(), 40);  // read before the bad line
  EXPECT_GT(Form1->DataGrid3->RowCount(), 0);     // the steps after it ran
}

TEST_F(MainWindow, CloseWritesOrDeletesTheAutostartValue) {
  const std::string runKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
  for (bool enabled : {true, false}) {
    auto lines = ConfigLines(0, 0, 40, -1);
    lines[9] = enabled ? "1" : "0";
    WriteLines(Config(), lines);
    Start();
    Form1->Image4Click(Form1->Image4);
    RunToEnd();
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(runKey, false));
    EXPECT_EQ(registry.ValueExists("Efirushka"), enabled);
    if (enabled) {
      EXPECT_NE(registry.ReadString("Efirushka").find("player_tests.exe"), std::string::npos);
    }
  }
}

TEST_F(MainWindow, SettingsThatCannotBeWrittenAreToldOfAndTheWindowClosesAllTheSame) {
  struct Case {
    const char* what;
    std::function<void()> breakIt;
  };
  const Case cases[] = {
      {"a read-only config.txt",
       [&] { SetFileAttributesA(Config().c_str(), FILE_ATTRIBUTE_READONLY); }},
      {"no room for the new file",
       [&] { std::filesystem::create_directory(Config() + ".new"); }},
  };
  for (const Case& c : cases) {
    WriteLines(Config(), ConfigLines(0, 0, 40, -1));
    const std::string before = ReadBytes(Config());
    Start();
    c.breakIt();
    Form1->sTrackBar1->SetPosition(70);
    Form1->Image4Click(Form1->Image4);
    RunToEnd();
    EXPECT_EQ(Application.MainForm(), nullptr) << c.what;
    ASSERT_EQ(shown.size(), 1u) << c.what;
    EXPECT_TRUE(shown[0].starts_with(
        "Настройки не сохранены: не удалось записать файл config.txt"))
        << c.what << ": " << shown[0];
    shown.clear();
    EXPECT_EQ(ReadBytes(Config()), before) << c.what;
    const DWORD attributes = GetFileAttributesA(Config().c_str());
    EXPECT_EQ((attributes & FILE_ATTRIBUTE_READONLY) != 0, c.what[0] == 'a') << c.what;
    SetFileAttributesA(Config().c_str(), FILE_ATTRIBUTE_NORMAL);
    std::filesystem::remove(Config() + ".new");
  }
}

TEST_F(MainWindow, AltF4ClosesWithoutSaving) {
  WriteLines(Config(), ConfigLines(0, 0, 40, -1));
  const std::string before = ReadBytes(Config());
  Start();
  Form1->sTrackBar1->SetPosition(70);
  SendMessageW(Form1->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  RunToEnd();
  EXPECT_EQ(Application.MainForm(), nullptr);
  EXPECT_EQ(ReadBytes(Config()), before);
}

TEST_F(MainWindow, ProxyLineIsCutToTheBuffer) {
  const std::string longLine(300, 'x');
  const std::pair<const char*, std::string> cases[] = {
      {nullptr, "."},
      {"proxy.local:3128", "proxy.local:3128"},
      {longLine.c_str(), longLine.substr(0, kNetTextSize - 1)},
  };
  for (const auto& [line, buffer] : cases) {
    if (line) WriteLines(folder_.file("proxy.txt"), {line, "second line"});
    Start();
    EXPECT_EQ(std::string(ProxyBuffer), buffer);
    EXPECT_TRUE(shown.empty()) << shown.front();
    Form1->Close();
    RunToEnd();
  }
  BASS_SetConfigPtr(audio::ConfigNetProxy, nullptr);
}

// The title a stream of the loopback station shows once its first metadata has come.
std::string StreamTitle(const std::string& path) {
  std::string url = "http://127.0.0.1:" + std::string(std::getenv("EFIR_STREAM_PORT")) + "/" + path;
  DWORD stream = BASS_StreamCreateURL(url.c_str(), 0, 0, nullptr, nullptr);
  if (!stream) return "(no stream)";
  BASS_ChannelPlay(stream, FALSE);
  std::string title;
  PumpUntil(
      [&] {
        const char* tags = BASS_ChannelGetTags(stream, audio::TagMeta);
        if (tags) title = tags;
        return tags != nullptr;
      },
      10000);
  BASS_StreamFree(stream);
  return title;
}

TEST_F(MainWindow, StreamsGoThroughTheProxyUnlessItsLineBeginsWithADot) {
  // The loopback station titles this stream with the request's agent, or "via proxy" when
  // the request came through a proxy (itself).
  const std::string proxy = "127.0.0.1:" + std::string(std::getenv("EFIR_STREAM_PORT"));
  const std::pair<std::string, std::string> cases[] = {{".", "Chrome/8.0.552.215"},
                                                       {proxy, "via proxy"}};
  for (const auto& [line, title] : cases) {
    WriteLines(folder_.file("proxy.txt"), {line});
    Start();
    EXPECT_NE(StreamTitle("agent.mp3?speed=4").find(title), std::string::npos) << line;
    Form1->Close();
    RunToEnd();
  }
  BASS_SetConfigPtr(audio::ConfigNetProxy, nullptr);
}

// Holds a file open for nobody else while it lives: no other reader can open it.
class LockedFile {
 public:
  explicit LockedFile(const std::string& path)
      : handle_(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_ALWAYS, 0, nullptr)) {}
  ~LockedFile() { CloseHandle(handle_); }
  LockedFile(const LockedFile&) = delete;
  LockedFile& operator=(const LockedFile&) = delete;

 private:
  HANDLE handle_;
};

// Whether Ctrl+Shift with the key is taken (by the player).
bool HotKeyTaken(UINT key) {
  if (!RegisterHotKey(nullptr, 0xBF00, MOD_CONTROL | MOD_SHIFT, key)) return true;
  UnregisterHotKey(nullptr, 0xBF00);
  return false;
}

TEST_F(MainWindow, AFileThatFailsAtStartIsReportedAndEveryOtherStepRuns) {
  const std::filesystem::path shipped = efir::test::sourceDir() + "/assets/program";
  struct Case {
    const char* what;
    std::function<std::unique_ptr<LockedFile>()> breakIt;
    bool listFilled = true;
  };
  const Case cases[] = {
      {"a damaged equalizer.txt",
       [&] {
         WriteLines(folder_.file("equalizer.txt"), {"15", "пять"});
         return nullptr;
       }},
      {"the last station's file gone",
       [&] {
         auto lines = ReadLines(Config());
         lines[3] = "1";  // open_last
         lines[7] = "7";
         WriteLines(Config(), lines);
         std::filesystem::remove(folder_.file("Stations\\play7.txt"));
         return nullptr;
       }},
      {"a damaged logo",
       [&] {
         std::filesystem::resize_file(folder_.file("Stations\\2.jpg"), 100);
         return nullptr;
       }},
      {"proxy.txt unreadable",
       [&] {
         WriteLines(folder_.file("proxy.txt"), {"127.0.0.1:3128"});
         return std::make_unique<LockedFile>(folder_.file("proxy.txt"));
       }},
      {"Stations.txt unreadable",
       [&] { return std::make_unique<LockedFile>(folder_.file("Stations.txt")); }, false},
  };
  // The agent is handed over by the start's last steps: without them a stream names this one.
  static const char kNoAgent[] = "no agent";
  const int catalogue = static_cast<int>(ReadLines(folder_.file("Stations.txt")).size());
  for (const Case& c : cases) {
    auto lines = ConfigLines(0, 0, 40, -1);
    lines[22] = "1";  // hot keys on
    WriteLines(Config(), lines);
    BASS_SetConfigPtr(audio::ConfigNetAgent, kNoAgent);
    std::unique_ptr<LockedFile> lock = c.breakIt();
    Start();
    lock.reset();
    ASSERT_EQ(shown.size(), 1u) << c.what;
    EXPECT_TRUE(shown[0].starts_with("Не удалось")) << c.what << ": " << shown[0];
    shown.clear();
    EXPECT_TRUE(IsWindowVisible(Form1->Handle())) << c.what;
    EXPECT_EQ(AllStationTiles.Stations.size(), 7u) << c.what;
    EXPECT_EQ(Form1->DataGrid3->RowCount(), c.listFilled ? catalogue : 0) << c.what;
    EXPECT_TRUE(HotKeyTaken(VK_F12)) << c.what;
    EXPECT_EQ(Form1->sTrackBar1->Position(), 40) << c.what;
    EXPECT_EQ(Form1->RxLabel5->Caption(), "40") << c.what;
    EXPECT_EQ(std::string(ProxyBuffer), ".") << c.what;
    EXPECT_NE(StreamTitle("agent.mp3?speed=4").find("Chrome/8.0.552.215"), std::string::npos)
        << c.what;
    // A close writes the settings the window shows.
    Form1->Image4Click(Form1->Image4);
    RunToEnd();
    EXPECT_EQ(ReadLines(Config())[5], "40") << c.what;

    std::filesystem::remove(folder_.file("proxy.txt"));
    for (const char* name : {"equalizer.txt", "Stations/play7.txt", "Stations/2.jpg"}) {
      std::filesystem::remove(folder_.path() / name);
      std::filesystem::copy_file(shipped / name, folder_.path() / name);
    }
  }
}

TEST_F(MainWindow, WhatWentWrongAtStartIsToldOnceAfterTheWindowShowsAndTheStationStarts) {
  std::filesystem::resize_file(folder_.file("Stations\\2.jpg"), 100);
  WriteLines(folder_.file("equalizer.txt"), {"пять"});
  WriteLines(Config(), ConfigLines(0, 1, 40, 3));
  struct Told {
    std::string text;
    bool windowShown;
    std::string station;
  };
  std::vector<Told> told;
  Application.ExceptionHook = [&](const std::string& message) {
    told.push_back({message, IsWindowVisible(Form1->Handle()) != 0, Form1->RxLabel6->Caption()});
  };
  Start();
  PumpUntil([&] { return !told.empty(); });
  ASSERT_EQ(told.size(), 1u);
  EXPECT_TRUE(told[0].windowShown);
  EXPECT_EQ(told[0].station, ReadLines(folder_.file("Stations\\play3.txt"))[1]);
  EXPECT_NE(told[0].text.find("логотип"), std::string::npos) << told[0].text;
  EXPECT_NE(told[0].text.find("\n\nНе удалось прочитать настройки эквалайзера из файла "
                              "equalizer.txt, полосы эквалайзера выставлены ровно: «пять» — не "
                              "число."),
            std::string::npos)
      << told[0].text;
  Application.ExceptionHook = [this](const std::string& message) { shown.push_back(message); };
}

TEST_F(MainWindow, AStartVolumeWhereTheSliderStandsShowsInTheLabel) {
  WriteLines(Config(), ConfigLines(0, 0, 10, -1));
  Start();
  EXPECT_EQ(Form1->sTrackBar1->Position(), 10);
  EXPECT_EQ(Form1->RxLabel5->Caption(), "10");
}

TEST_F(MainWindow, ProxyAndCatalogueComeFromTheProgramFolderWhateverTheCurrentFolder) {
  // Started by the autostart value, the player runs in another current folder, which may
  // hold files of the same names.
  WriteLines(folder_.file("proxy.txt"), {"proxy.local:3128"});
  WriteLines(folder_.file("Stations.txt"), {"1|Своё|поп"});
  const std::filesystem::path elsewhere = folder_.path().string() + "-elsewhere";
  std::filesystem::create_directories(elsewhere);
  WriteLines((elsewhere / "Stations.txt").string(), {"1|Чужое|поп", "2|Чужое|рок"});
  SetCurrentDirectoryW(elsewhere.wstring().c_str());
  Start();
  EXPECT_TRUE(shown.empty()) << shown.front();
  EXPECT_EQ(std::string(ProxyBuffer), "proxy.local:3128");
  ASSERT_EQ(Form1->DataGrid3->RowCount(), 1);
  EXPECT_EQ(Form1->DataGrid3->GetCellText(1, 0), L"Своё");
  EXPECT_EQ(AllStationTiles.Stations.size(), 7u);
  Form1->Close();
  RunToEnd();
  BASS_SetConfigPtr(audio::ConfigNetProxy, nullptr);
  SetCurrentDirectoryW(folder_.path().wstring().c_str());
  std::filesystem::remove_all(elsewhere);
}

TEST_F(MainWindow, VolumeKeysWorkEverywhereAndNeverReachTheEdit) {
  WriteLines(Config(), ConfigLines(0, 0, 40, -1));
  Start();
  SetForegroundWindow(Form1->Handle());
  ASSERT_TRUE(PumpUntil([] { return static_cast<bool>(Application.OnMessage); }));
  HWND edit = Form1->sEdit1->Handle();
  Form1->sEdit1->SetFocus();
  Form1->sEdit1->SetText("Радио");
  Form1->sEdit1->SetSelStart(3);
  auto press = [&](WPARAM key) {
    PostMessageW(edit, WM_KEYDOWN, key, 1);
    PostMessageW(edit, WM_KEYUP, key, 0xC0000001);
    Application.ProcessMessages();
  };

  press(VK_UP);
  EXPECT_EQ(Form1->sTrackBar1->Position(), 41);
  EXPECT_EQ(Form1->sEdit1->SelStart(), 3);

  BYTE keys[256];
  GetKeyboardState(keys);
  BYTE shifted[256];
  std::copy(std::begin(keys), std::end(keys), shifted);
  shifted[VK_SHIFT] = 0x80;
  SetKeyboardState(shifted);
  press(VK_DOWN);
  SetKeyboardState(keys);
  EXPECT_EQ(Form1->sTrackBar1->Position(), 31);
  EXPECT_EQ(Form1->RxLabel5->Caption(), "31");
  EXPECT_EQ(Form1->sEdit1->SelStart(), 3);
  EXPECT_EQ(Form1->sEdit1->Text(), "Радио");
}

TEST_F(MainWindow, StartScreenshot) {
  WriteLines(Config(), ConfigLines(0, 1, 40, 2));
  Start();
  Form1->Repaint();
  // The window is a skinned form: its provider answers for it.
  EXPECT_TRUE(WindowAcknowledgesSkinCommand(Form1->Handle(), SKC_ISSKINNED));
  efir::test::saveScreenshot(Form1->Handle(), "player-main-window");
}

}  // namespace
