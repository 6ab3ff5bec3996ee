// A second start of the built program tells the user and ends; the first keeps running.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <string>

#include "framework/text_encoding.h"
#include "player/tests/player_fixture.h"
#include "tests/support/capture.h"
#include "tests/support/paths.h"
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

  // The process's visible top-level window of that class (nullptr: any class), or nullptr.
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
          if (s->className && std::wstring(name) != s->className) return TRUE;
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

TEST(SingleInstance, SecondStartShowsTheMessageAndEnds) {
  player_test::ProgramFolder folder("SingleInstance");
  const std::filesystem::path built = efir::test::buildDir() + "/player/efirplayer.exe";
  const std::filesystem::path exe = folder.path() / "efirplayer.exe";
  std::filesystem::copy_file(built, exe);

  Process first(exe, folder.path());
  ASSERT_TRUE(first.started());
  ASSERT_TRUE(WaitFor([&] { return first.window(nullptr) != nullptr; }));

  Process second(exe, folder.path());
  ASSERT_TRUE(second.started());
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = second.window(L"#32770")) != nullptr; }));
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

}  // namespace
