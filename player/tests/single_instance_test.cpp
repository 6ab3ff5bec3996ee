// A second start of the built program tells the user and ends; the first keeps running. Closed
// while its station's server never answers, the program still ends at once, so that it can
// be started again.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>

#include "framework/text_encoding.h"
#include "player/tests/player_fixture.h"
#include "tests/support/capture.h"
#include "tests/support/paths.h"
#include "tests/support/silent_server.h"
#include "tests/support/window.h"

namespace {

// A program started in a folder, ended at the latest with the test.
class Process {
 public:
  Process(const std::filesystem::path& exe, const std::filesystem::path& folder) {
    STARTUPINFOW startup{sizeof(startup)};
    std::wstring command = L"\"" + exe.wstring() + L"\"";
    if (!CreateProcessW(exe.wstring().c_str(), command.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, folder.wstring().c_str(), &startup, &info_))
      info_ = {};
  }
  ~Process() {
    if (!info_.hProcess) return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 1);
    CloseHandle(info_.hProcess);
    CloseHandle(info_.hThread);
  }
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  bool started() const { return info_.hProcess != nullptr; }
  DWORD id() const { return info_.dwProcessId; }
  bool ended(DWORD waitMs) const {
    return WaitForSingleObject(info_.hProcess, waitMs) == WAIT_OBJECT_0;
  }

  // The process's visible top-level window whose class begins with `className` (nullptr: any
  // class), or nullptr.
  HWND window(const wchar_t* className) const {
    struct Search {
      DWORD id;
      const wchar_t* className;
      HWND found;
    } search{info_.dwProcessId, className, nullptr};
    EnumWindows(
        [](HWND hwnd, LPARAM lp) -> BOOL {
          auto* s = reinterpret_cast<Search*>(lp);
          DWORD owner = 0;
          GetWindowThreadProcessId(hwnd, &owner);
          wchar_t name[64] = {};
          GetClassNameW(hwnd, name, 64);
          if (owner != s->id || !IsWindowVisible(hwnd)) return TRUE;
          if (s->className && !std::wstring(name).starts_with(s->className)) return TRUE;
          s->found = hwnd;
          return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

 private:
  PROCESS_INFORMATION info_{};
};

// The texts of a dialog's static controls, joined.
std::wstring DialogText(HWND dialog) {
  std::wstring text;
  EnumChildWindows(
      dialog,
      [](HWND child, LPARAM lp) -> BOOL {
        wchar_t name[32] = {};
        GetClassNameW(child, name, 32);
        if (_wcsicmp(name, L"Static") != 0) return TRUE;
        wchar_t buffer[256] = {};
        GetWindowTextW(child, buffer, 256);
        *reinterpret_cast<std::wstring*>(lp) += buffer;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&text));
  return text;
}

bool WaitFor(const std::function<bool()>& done) {
  return efir::test::pumpUntil(done, 15000);
}

// The classes of our own windows, and of a message box.
constexpr wchar_t kOwnWindow[] = L"EfirControl.";
constexpr wchar_t kMessageBox[] = L"#32770";

// The built program, copied into a program folder of its own.
std::filesystem::path CopyProgram(const player_test::ProgramFolder& folder) {
  const std::filesystem::path built = efir::test::buildDir() + "/player/efirplayer.exe";
  const std::filesystem::path exe = folder.path() / "efirplayer.exe";
  std::filesystem::copy_file(built, exe);
  return exe;
}

TEST(SingleInstance, SecondStartShowsTheMessageAndEnds) {
  player_test::ProgramFolder folder("SingleInstance");
  const std::filesystem::path exe = CopyProgram(folder);

  Process first(exe, folder.path());
  ASSERT_TRUE(first.started());
  ASSERT_TRUE(WaitFor([&] { return first.window(nullptr) != nullptr; }));

  Process second(exe, folder.path());
  ASSERT_TRUE(second.started());
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = second.window(kMessageBox)) != nullptr; }));
  EXPECT_EQ(DialogText(box), efir::text::fromAnsi("Программа уже запущена!"));
  // The box is skinned like the player's windows: hardly any of it in the system's grey.
  efir::test::pumpFor(300);
  const efir::test::Image shown = efir::test::captureScreenOf(box);
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  size_t grey = 0;
  for (int y = 0; y < shown.height; ++y)
    for (int x = 0; x < shown.width; ++x) grey += shown.at(x, y) == face;
  EXPECT_LT(static_cast<double>(grey) / (shown.width * shown.height), 0.1);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(second.ended(10000));
  EXPECT_FALSE(first.ended(0));

  PostMessageW(first.window(nullptr), WM_CLOSE, 0, 0);
  EXPECT_TRUE(first.ended(10000));
}

TEST(SingleInstance, ClosedWhileItsServerNeverAnswersTheProgramEndsAtOnceAndStartsAgain) {
  efir::test::SilentServer silent;
  ASSERT_TRUE(silent.ok());
  player_test::ProgramFolder folder("SingleInstanceSilentServer");
  const std::filesystem::path exe = CopyProgram(folder);
  // The last station plays at the start; its server accepts and never answers.
  player_test::WriteLines(folder.file("config.txt"), player_test::ConfigLines(0, 1, 25, 1));
  player_test::WriteLines(folder.file("Stations\\play1.txt"),
                          {silent.url("live.mp3"), "Молчание", "0"});

  for (int start = 1; start <= 2; ++start) {
    SCOPED_TRACE(start);
    const int connections = silent.connections();
    Process player(exe, folder.path());
    ASSERT_TRUE(player.started());
    // The second start runs as the first did: no "Программа уже запущена!".
    ASSERT_TRUE(WaitFor([&] { return player.window(kOwnWindow) || player.window(kMessageBox); }));
    EXPECT_EQ(player.window(kMessageBox), nullptr);
    ASSERT_TRUE(WaitFor([&] { return silent.connections() > connections; }));
    PostMessageW(player.window(kOwnWindow), WM_CLOSE, 0, 0);
    // Within a second of the close, whatever the server does (the bound is generous: the
    // connect alone would wait 17 s).
    EXPECT_TRUE(player.ended(5000));
  }
}

}  // namespace
