// How fast the player's station views paint and filter: the tiles of 1000 stations and the
// list of a 10 000-line catalogue, scrolled a page at a time and painted at once after every
// page, and the list filter after every character typed into it.
//
//   bench_grid_scroll.exe          (no arguments; from the repository root after a build)
//
// It lays out a program folder of its own (the shipped one with 1000 stations and a longer
// catalogue) under the build folder (EFIR_BUILD_DIR, default build/x86_64), starts the player's
// windows on it as the program does, with the sound going to a file, and prints
//   tiles F fps, list F fps, filter M ms per character
// The aims are at least 60 frames a second and at most 16 ms a character; the machine is
// shared, so a slow figure is worth a second run before it is believed.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/application.h"
#include "framework/text_file.h"
#include "grid/data_grid.h"
#include "player/main_window.h"
#include "player/player_forms.h"

namespace {

constexpr int kStations = 1000;
constexpr int kCatalogueLines = 10000;
constexpr double kSecondsPerView = 2;
const char* const kTyped = "волна 7";  // as a listener looks a station up

using Clock = std::chrono::steady_clock;

void writeLines(const std::filesystem::path& path, const std::vector<std::string>& lines) {
  TTextFile file;
  file.Rewrite(path.string());
  for (const std::string& line : lines) file.WriteLine(line);
  file.Close();
}

// The shipped program folder, its seven stations' logos used over again for 1000 stations,
// and a catalogue of 10 000 lines.
std::filesystem::path layOutProgramFolder() {
  const char* build = std::getenv("EFIR_BUILD_DIR");
  auto folder = std::filesystem::absolute(std::string(build ? build : "build/x86_64") + "/bench_grid_program");
  std::filesystem::remove_all(folder);
  std::filesystem::copy("assets/program", folder, std::filesystem::copy_options::recursive);
  const std::string logos[] = {"1.png", "2.jpg", "3.gif", "4.png", "5.jpg", "6.gif", "7.jpg"};
  const char* words[] = {"Волна", "Радио", "Джаз", "Рок", "Классика", "Хиты", "Ретро", "Дача"};
  auto stations = folder / "Stations";
  for (int N = 1; N <= kStations; ++N) {
    const std::string& logo = logos[(N - 1) % 7];
    auto target = stations / (std::to_string(N) + logo.substr(1));
    if (!std::filesystem::exists(target)) std::filesystem::copy_file(stations / logo, target);
    writeLines(stations / ("play" + std::to_string(N) + ".txt"),
               {"http://127.0.0.1:9/station" + std::to_string(N), "Станция " + std::to_string(N), "1"});
  }
  std::vector<std::string> catalogue;
  for (int i = 1; i <= kCatalogueLines; ++i)
    catalogue.push_back(std::to_string(i) + "|" + words[i % 8] + " " + words[i / 8 % 8] + " " +
                        std::to_string(i) + "|жанр");
  writeLines(folder / "Stations.txt", catalogue);
  writeLines(folder / "config.txt", {"check_updates", "0", "open_last", "0", "start_volume", "40",
                                     "last_number", "-1", "autorun", "0", "buffer", "5", "equalizer",
                                     "0", "help", "0", "Coordinates", "100", "100", "log", "0",
                                     "hotkeys", "0"});
  return folder;
}

void pumpUntil(bool (*done)(), int timeoutMs) {
  auto until = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done() && Clock::now() < until) {
    Application.ProcessMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

// Pages down to the end and back up again and again, painting after every page; the frames
// painted per second.
double scrollFps(TDataGrid* grid) {
  HWND window = grid->Handle();
  int frames = 0;
  WPARAM direction = SB_PAGEDOWN;
  auto started = Clock::now();
  std::chrono::duration<double> spent{};
  while (spent.count() < kSecondsPerView) {
    int before = grid->TopRow();
    SendMessageW(window, WM_VSCROLL, direction, 0);
    UpdateWindow(window);
    ++frames;
    if (grid->TopRow() == before) direction = direction == SB_PAGEDOWN ? SB_PAGEUP : SB_PAGEDOWN;
    spent = Clock::now() - started;
  }
  return frames / spent.count();
}

// Types kTyped into the list filter a character at a time, the list painted after each, then
// takes it out again the same way; the time per character in ms (and, printed, its parts).
double filterMsPerCharacter() {
  const std::string typed = kTyped;
  std::vector<std::string> texts;
  for (std::size_t n = 1; n <= typed.size(); ++n) texts.push_back(typed.substr(0, n));
  for (std::size_t n = typed.size(); n-- > 0;) texts.push_back(typed.substr(0, n));
  // Where the time goes: the edit taking the text, the rows shown or hidden, the list painted.
  std::chrono::duration<double, std::milli> edit{}, rows{}, paint{};
  auto started = Clock::now();
  for (const std::string& text : texts) {
    auto step = Clock::now();
    auto lap = [&step](std::chrono::duration<double, std::milli>& into) {
      auto now = Clock::now();
      into += now - step;
      step = now;
    };
    Form1->sEdit1->SetText(text);
    lap(edit);
    WORD key = 'A';
    Form1->sEdit1KeyUp(Form1->sEdit1, key, {});
    lap(rows);
    UpdateWindow(Form1->DataGrid3->Handle());
    lap(paint);
  }
  const double count = static_cast<double>(texts.size());
  std::printf("per character: edit %.1f ms, rows shown or hidden %.1f ms, list painted %.1f ms\n",
              edit.count() / count, rows.count() / count, paint.count() / count);
  std::chrono::duration<double, std::milli> spent = Clock::now() - started;
  return spent.count() / texts.size();
}

}  // namespace

int main() {
  auto folder = layOutProgramFolder();
  SetEnvironmentVariableW(L"EFIR_AUDIO_WAV", (folder / "output.wav").wstring().c_str());
  SetCurrentDirectoryW(folder.wstring().c_str());
  SetPlayerFolderForTests(folder.string() + "\\");
  Application.Initialize();
  CreatePlayerForms();
  pumpUntil([] { return Form1->HandleAllocated() && IsWindowVisible(Form1->Handle()); }, 20000);
  if (!Form1->HandleAllocated() || Form1->DataGrid1->RowCount() < kStations / 5 ||
      Form1->DataGrid3->RowCount() < kCatalogueLines) {
    std::fprintf(stderr, "the player did not start on %d stations and %d catalogue lines\n", kStations,
                 kCatalogueLines);
    return 1;
  }
  double tiles = scrollFps(Form1->DataGrid1);
  Form1->Image10Click(Form1->Image10);  // to the list
  pumpUntil([] { return false; }, 200);
  double list = scrollFps(Form1->DataGrid3);
  double filter = filterMsPerCharacter();
  std::printf("tiles %.0f fps, list %.0f fps, filter %.1f ms per character\n", tiles, list, filter);
  std::fflush(stdout);
  Application.MainForm()->Close();
  Application.Run();
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  return 0;
}
