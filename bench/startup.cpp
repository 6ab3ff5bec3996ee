// How long the player and the editor take to show their first painted window: on a station
// folder of 1000 stations with logos, on an empty one and on the demo folder, against a bare
// window program of ours (one window, no work) as the floor.
//
//   bench_startup.exe [ROUNDS]
//
// Run from the repository root after a build (EFIR_BUILD_DIR names the build folder, default
// build/x86_64). Each program folder is laid out under the build folder (startup/...): the
// shipped program folder, the executables beside it, and the stations of the case; the
// 1000 stations reuse the demo logos (90 x 90 PNG, JPEG and GIF) over again. Each program is
// started from its folder as a user starts it, timed from the start until a window of it is
// visible and has nothing left to paint, then closed as a window is closed. ROUNDS (default 5)
// rounds alternate the cases, and the best start of each counts: the machine is shared, so
// compare the figures of one run. The player's sound goes to a file (no sound card needed).
//
// Prints the time of each case, then `start-up over a bare window: player P s, editor E s`
// (demo folder) and `start-up, 1000 stations minus none: player P s, editor E s`; and the
// memory each program holds once started (its resident set a second after its first painted
// window, the least of the rounds), as `memory, 1000 stations minus demo: player M MB, editor
// M MB`.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kManyStations = 1000;
constexpr DWORD kStartLimitMs = 60000;
constexpr DWORD kCloseLimitMs = 15000;
// What a start leaves for after its first painted window has this long to settle.
constexpr DWORD kSettleMs = 1000;

enum class Stations { None, Demo, Many };

struct Case {
  const char* name;
  const char* program;  // the executable, relative to the build folder
  Stations stations;
  double best = 1e9;
  double leastMegabytes = 1e9;
};

fs::path BuildFolder() {
  const char* build = std::getenv("EFIR_BUILD_DIR");
  return fs::absolute(build ? build : "build/x86_64");
}

void WriteText(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// The station files and logos of stations 1..count, the demo logos taken in turn.
void WriteManyStations(const fs::path& stations, const fs::path& demo, int count) {
  const char* logos[] = {"1.png", "2.jpg", "3.gif", "4.png", "5.jpg", "6.gif", "7.jpg"};
  for (int N = 1; N <= count; ++N) {
    std::string logo = logos[(N - 1) % 7];
    fs::copy_file(demo / logo, stations / (std::to_string(N) + logo.substr(1)),
                  fs::copy_options::overwrite_existing);
    WriteText(stations / ("play" + std::to_string(N) + ".txt"),
              "http://127.0.0.1:9/station" + std::to_string(N) + "\r\nСтанция " +
                  std::to_string(N) + "\r\n0\r\n");
  }
}

// A fresh program folder for the program and the stations of the case.
fs::path LayOut(const Case& c, const fs::path& build) {
  const char* kinds[] = {"none", "demo", "many"};
  const fs::path program = build / c.program;
  const fs::path folder = build / "startup" /
                          (program.stem().string() + "-" + kinds[static_cast<int>(c.stations)]);
  fs::remove_all(folder);
  fs::create_directories(folder.parent_path());
  fs::copy("assets/program", folder, fs::copy_options::recursive);
  fs::copy_file(program, folder / program.filename());
  const fs::path stations = folder / "Stations";
  if (c.stations == Stations::None || c.stations == Stations::Many) {
    fs::remove_all(stations);
    fs::create_directory(stations);
    WriteText(folder / "sc.txt", "0");
  }
  if (c.stations == Stations::Many) {
    WriteManyStations(stations, "assets/program/Stations", kManyStations);
    WriteText(folder / "sc.txt", std::to_string(kManyStations));
  }
  return folder;
}

struct Found {
  DWORD process;
  HWND window;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM param) {
  auto* found = reinterpret_cast<Found*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != found->process || !IsWindowVisible(window)) return TRUE;
  found->window = window;
  return FALSE;
}

// A visible window of the process that has painted what it shows: its thread has been idle
// since it showed (a window's painting comes before its thread waits for input) and nothing
// of it waits to be painted.
HWND PaintedWindow(const PROCESS_INFORMATION& started) {
  Found found{started.dwProcessId, nullptr};
  EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&found));
  if (!found.window) return nullptr;
  if (WaitForInputIdle(started.hProcess, 0) != 0) return nullptr;
  DWORD_PTR answer;
  if (!SendMessageTimeoutW(found.window, WM_NULL, 0, 0, SMTO_BLOCK, 1000, &answer)) return nullptr;
  return GetUpdateRect(found.window, nullptr, FALSE) ? nullptr : found.window;
}

void Close(const PROCESS_INFORMATION& started, HWND window) {
  if (window) PostMessageW(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(started.hProcess, kCloseLimitMs) != WAIT_OBJECT_0) {
    std::fprintf(stderr, "a program did not close; ended\n");
    TerminateProcess(started.hProcess, 1);
    WaitForSingleObject(started.hProcess, kCloseLimitMs);
  }
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
}

// The resident memory of a process, in MB.
double ResidentMegabytes(HANDLE process) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  if (!GetProcessMemoryInfo(process, &counters, sizeof(counters))) return -1;
  return static_cast<double>(counters.WorkingSetSize) / (1024 * 1024);
}

struct Start {
  double seconds = -1;  // to the first painted window; -1 when none showed in time
  double megabytes = -1;  // resident once settled
};

// Starts the program in `folder`, times it to its first painted window and reads what it
// holds once settled.
Start StartOnce(const fs::path& folder, const std::string& program) {
  std::wstring command = L"\"" + (folder / program).wstring() + L"\"";
  STARTUPINFOW info{};
  info.cb = sizeof(info);
  PROCESS_INFORMATION started{};
  const auto begin = std::chrono::steady_clock::now();
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      folder.wstring().c_str(), &info, &started)) {
    std::fprintf(stderr, "cannot start %s\n", (folder / program).string().c_str());
    return {};
  }
  HWND window = nullptr;
  Start result;
  for (;;) {
    window = PaintedWindow(started);
    std::chrono::duration<double> spent = std::chrono::steady_clock::now() - begin;
    if (window) {
      result.seconds = spent.count();
      break;
    }
    if (spent.count() * 1000 > kStartLimitMs ||
        WaitForSingleObject(started.hProcess, 1) == WAIT_OBJECT_0)
      break;
  }
  if (window) {
    Sleep(kSettleMs);
    WaitForInputIdle(started.hProcess, kStartLimitMs);
    result.megabytes = ResidentMegabytes(started.hProcess);
  }
  Close(started, window);
  return result;
}

const Case& Named(const std::vector<Case>& cases, const char* name) {
  for (const Case& c : cases)
    if (std::string(c.name) == name) return c;
  std::abort();
}

double Best(const std::vector<Case>& cases, const char* name) { return Named(cases, name).best; }

double Least(const std::vector<Case>& cases, const char* name) {
  return Named(cases, name).leastMegabytes;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const fs::path build = BuildFolder();
  // The player needs no sound card: its sound goes to a file in its folder.
  SetEnvironmentVariableW(L"EFIR_AUDIO_WAV", L"output.wav");

  std::vector<Case> cases = {
      {"bare window", "tools/efir_bare_window.exe", Stations::Demo},
      {"player, no stations", "player/efirplayer.exe", Stations::None},
      {"player, demo folder", "player/efirplayer.exe", Stations::Demo},
      {"player, 1000 stations", "player/efirplayer.exe", Stations::Many},
      {"editor, no stations", "editor/efireditor.exe", Stations::None},
      {"editor, demo folder", "editor/efireditor.exe", Stations::Demo},
      {"editor, 1000 stations", "editor/efireditor.exe", Stations::Many},
  };
  std::vector<fs::path> folders;
  try {
    for (const Case& c : cases) folders.push_back(LayOut(c, build));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "cannot lay out the program folders (run from the repository root "
                 "after a build): %s\n", e.what());
    return 1;
  }

  for (int round = 0; round < rounds; ++round)
    for (size_t i = 0; i < cases.size(); ++i) {
      const Start start = StartOnce(folders[i], fs::path(cases[i].program).filename().string());
      if (start.seconds < 0) {
        std::fprintf(stderr, "%s: no painted window\n", cases[i].name);
        return 1;
      }
      cases[i].best = std::min(cases[i].best, start.seconds);
      cases[i].leastMegabytes = std::min(cases[i].leastMegabytes, start.megabytes);
    }

  std::printf("time to the first painted window (best of %d starts), memory once settled\n", rounds);
  for (const Case& c : cases)
    std::printf("  %-24s %6.2f s %7.1f MB\n", c.name, c.best, c.leastMegabytes);
  const double bare = Best(cases, "bare window");
  std::printf("start-up over a bare window: player %.2f s, editor %.2f s\n",
              Best(cases, "player, demo folder") - bare, Best(cases, "editor, demo folder") - bare);
  std::printf("start-up, 1000 stations minus none: player %.2f s, editor %.2f s\n",
              Best(cases, "player, 1000 stations") - Best(cases, "player, no stations"),
              Best(cases, "editor, 1000 stations") - Best(cases, "editor, no stations"));
  std::printf("memory, 1000 stations minus demo: player %.1f MB, editor %.1f MB\n",
              Least(cases, "player, 1000 stations") - Least(cases, "player, demo folder"),
              Least(cases, "editor, 1000 stations") - Least(cases, "editor, demo folder"));
  return 0;
}
