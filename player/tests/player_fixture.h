// What the player's window tests share: a program folder of their own, copied from the
// shipped one into the test's working folder (and made the current folder, as the program
// reads some files from there), the default handler's messages captured instead of shown,
// and the player's windows started and ended as the program does.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "skin/forms/skin_hook.h"
#include "framework/application.h"
#include "framework/text_encoding.h"
#include "framework/text_file.h"
#include "framework/timer.h"
#include "player/main_window.h"
#include "player/player_forms.h"
#include "tests/support/capture.h"
#include "tests/support/paths.h"
#include "tests/support/window.h"

namespace player_test {

// A fresh copy of the shipped program folder, removed again at the end.
class ProgramFolder {
 public:
  explicit ProgramFolder(const std::string& name) : path_(std::filesystem::absolute(name)) {
    std::filesystem::remove_all(path_);
    std::filesystem::copy(efir::test::sourceDir() + "/assets/program", path_,
                          std::filesystem::copy_options::recursive);
  }
  ~ProgramFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // The folder as the player names it: ending in '\'.
  std::string name() const { return path_.string() + "\\"; }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

inline std::vector<std::string> ReadLines(const std::string& path) {
  TTextFile file;
  file.Reset(path);
  std::vector<std::string> lines;
  while (!file.Eof()) lines.push_back(file.ReadLine());
  return lines;
}

inline void WriteLines(const std::string& path, const std::vector<std::string>& lines) {
  TTextFile file;
  file.Rewrite(path);
  for (const std::string& line : lines) file.WriteLine(line);
  file.Close();
}

// A config.txt in the file's layout; the values in key order.
inline std::vector<std::string> ConfigLines(int checkUpdates, int openLast, int volume,
                                            int lastNumber, int left = 120, int top = 80) {
  auto n = [](int v) { return std::to_string(v); };
  return {"check_updates", n(checkUpdates), "open_last", n(openLast), "start_volume",
          n(volume), "last_number", n(lastNumber), "autorun", "0", "buffer", "5",
          "equalizer", "1", "help", "0", "Coordinates", n(left), n(top), "log", "1",
          "hotkeys", "0"};
}

// Runs the application's loop (its message hook included) until `done` or the time is up.
inline bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 2000) {
  for (int waited = 0; waited < timeoutMs; waited += 10) {
    Application.ProcessMessages();
    if (done()) return true;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return done();
}

// What the screen shows of `control`'s client area (not what the control's window holds):
// the desktop's pixels under it, read once the pending painting is done.
inline efir::test::Image OnScreen(TControl* control) {
  PumpUntil([] { return false; }, 50);
  const RECT client = control->ClientRect();
  const POINT origin = control->ClientToScreen({0, 0});
  const efir::test::Image screen = efir::test::captureWindow(GetDesktopWindow());
  efir::test::Image part;
  part.width = client.right;
  part.height = client.bottom;
  for (int y = 0; y < part.height; ++y)
    for (int x = 0; x < part.width; ++x)
      part.pixels.push_back(screen.pixels.at(static_cast<size_t>(origin.y + y) * screen.width +
                                             static_cast<size_t>(origin.x + x)));
  return part;
}

// The texts of the message boxes this thread shows while `action` runs; each is answered "OK".
inline std::vector<std::string> AnsweringMessageBoxes(const std::function<void()>& action) {
  std::vector<std::string> texts;
  TTimer watch(nullptr);
  watch.SetInterval(20);
  watch.OnTimer = [&](TObject*) {
    HWND box = efir::test::shownThreadWindow(L"#32770");
    if (!box) return;
    std::wstring text;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      wchar_t part[512] = {};
      wchar_t name[16] = {};
      GetClassNameW(child, name, 16);
      if (_wcsicmp(name, L"Static") != 0) continue;
      GetWindowTextW(child, part, 512);
      text += part;
    }
    texts.push_back(efir::text::toAnsi(text));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  };
  action();
  return texts;
}

class PlayerTest : public ::testing::Test {
 protected:
  PlayerTest() : folder_(::testing::UnitTest::GetInstance()->current_test_info()->name()) {}

  void SetUp() override {
    wchar_t current[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, current);
    savedDir_ = current;
    SetCurrentDirectoryW(folder_.path().wstring().c_str());
    SetPlayerFolderForTests(folder_.name());
    Application.Initialize();
    Application.ExceptionHook = [this](const std::string& message) { shown.push_back(message); };
  }

  void TearDown() override {
    if (Application.MainForm()) {
      Application.MainForm()->Close();
      Application.Run();
    }
    Application.ExceptionHook = nullptr;
    SetPlayerFolderForTests("");
    SetCurrentDirectoryW(savedDir_.c_str());
  }

  // The program's start: the seven windows, then the loop until the main window shows.
  void Start() {
    StartWindowSkinning();  // as the program does: its windows become skinned forms
    CreatePlayerForms();
    PumpUntil([] { return Form1->HandleAllocated() && IsWindowVisible(Form1->Handle()); });
  }

  // The rest of the program's life after a close command: the loop ends, the windows go.
  void RunToEnd() { Application.Run(); }

  std::string Config() const { return folder_.file("config.txt"); }

  ProgramFolder folder_;
  // Messages the default exception handler would have shown.
  std::vector<std::string> shown;

 private:
  std::wstring savedDir_;
};

}  // namespace player_test
