// What the station-view and favourites tests share: the player started on a station folder
// of the test's size, every station played through the fake media-player control (so that a
// test reads which station played from the control's calls, and nothing is heard), and the
// favourites file read back.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "framework/files.h"
#include "framework/text_encoding.h"
#include "grid/data_grid.h"
#include "grid/grid_hints.h"
#include "mediaplayer/fake_media_player.h"
#include "player/favourites.h"
#include "player/main_window.h"
#include "player/playback.h"
#include "player/tests/player_fixture.h"
#include "player/views.h"

namespace views_test {

using player_test::ConfigLines;
using player_test::ReadLines;
using player_test::WriteLines;

inline std::string Name(int N) { return "Станция " + std::to_string(N); }
inline constexpr char kUrlBase[] = "http://127.0.0.1:9/station";
inline std::string Url(int N) { return kUrlBase + std::to_string(N); }

class ViewsTest : public player_test::PlayerTest {
 protected:
  // The station table outlives the player's windows: the extra logos of one test must not
  // stand for stations in the next one's folder.
  void SetUp() override {
    PlayerTest::SetUp();
    LogoExtensions.Clear();
    SetMediaPlayerFactoryForTests([this] {
      auto player = std::make_unique<efir::FakeMediaPlayer>();
      mediaPlayer = player.get();
      return player;
    });
  }

  void TearDown() override {
    PlayerTest::TearDown();
    LogoExtensions.Clear();
    SetMediaPlayerFactoryForTests(nullptr);
  }

  // Starts the player on stations 1..count (LayStations), with these settings.
  void StartWithStations(int count, std::vector<std::string> config = ConfigLines(0, 0, 40, -1)) {
    LayStations(count, config);
    Start();
    ASSERT_TRUE(shown.empty()) << shown.front();
    mediaPlayer->ClearCalls();
  }

  // Stations 1..count (the shipped logos over again beyond the seventh), each named Name(N)
  // and played by the media-player control, and these settings.
  void LayStations(int count, const std::vector<std::string>& config) {
    const std::string logos[] = {"1.png", "2.jpg", "3.gif", "4.png", "5.jpg", "6.gif", "7.jpg"};
    for (int N = 1; N <= count; ++N) {
      const std::string& logo = logos[(N - 1) % 7];
      const std::string target = std::to_string(N) + logo.substr(1);
      if (N > 7)
        efir::CopyFile(folder_.file("Stations\\" + logo), folder_.file("Stations\\" + target),
                       true);
      WriteLines(folder_.file("Stations\\play" + std::to_string(N) + ".txt"),
                 {Url(N), Name(N), "1"});
    }
    WriteLines(Config(), config);
  }

  // The station the media-player control was last told to play, or 0.
  int PlayedStation() const {
    const std::string prefix = std::string("URL ") + kUrlBase;
    const std::vector<std::string>& calls = mediaPlayer->Calls();
    for (auto call = calls.rbegin(); call != calls.rend(); ++call)
      if (call->starts_with(prefix)) return std::stoi(call->substr(prefix.size()));
    return 0;
  }

  std::string Favs() const { return folder_.file("favs.txt"); }
  std::vector<std::string> FavsLines() const { return ReadLines(Favs()); }

  // A press of the right button on `grid`, as the grid reports it before it selects.
  static void RightPress(TDataGrid* grid) {
    grid->OnMouseDown(grid, mbRight, ssRight, 0, 0);
  }

  // The mouse comes onto `control` from elsewhere: wherever an earlier test left the real
  // cursor (over this grid, it would have entered it already), the control first hears that
  // the mouse left it.
  static void MouseFromOutside(TWinControl* control) {
    SetCursorPos(0, 0);
    SendMessageW(control->Handle(), WM_MOUSELEAVE, 0, 0);
  }

  // The grids show hints only while their window is the active one.
  static void Activate() {
    SetActiveWindow(Form1->Handle());
    ASSERT_TRUE(Form1->Active());
  }

  // The text of the grids' hint window on the screen ("" when none shows).
  static std::string ShownHint() {
    HWND hint = FindWindowW(kGridHintClass, nullptr);
    if (!hint || !IsWindowVisible(hint)) return {};
    std::wstring text(256, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hint, text.data(), 256)));
    return efir::text::toAnsi(text);
  }

  efir::FakeMediaPlayer* mediaPlayer = nullptr;
};

}  // namespace views_test
