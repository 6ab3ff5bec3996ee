// What the hot-key, tray and menu tests share: the player started with or without its hot
// keys, the pages it would open caught instead of a browser, a station shown as chosen
// without connecting to it, and a watcher that closes the popup menu a command opens.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "framework/timer.h"
#include "player/main_window.h"
#include "player/station_dialog.h"
#include "player/tests/player_fixture.h"
#include "player/web_pages.h"
#include "tests/support/window.h"

namespace player_test {

class LinksTest : public PlayerTest {
 protected:
  void SetUp() override {
    PlayerTest::SetUp();
    SetWebPageOpenerForTests([this](const std::string& url) { pages.push_back(url); });
  }

  void TearDown() override {
    PlayerTest::TearDown();
    SetWebPageOpenerForTests(nullptr);
  }

  void StartWithHotKeys(bool on) {
    auto lines = ConfigLines(0, 0, 40, -1);
    lines[22] = on ? "1" : "0";
    WriteLines(Config(), lines);
    Start();
  }

  // The state a station's selection leaves, without its connect: the name on the label, the
  // number, and the station dialog's fields.
  void ShowChosenStation(int N, const std::string& name, const std::string& url) {
    Settings.LastStation = N;
    Form1->RxLabel6->SetCaption(name);
    Form3->sEdit1->SetText(name);
    Form3->sEdit2->SetText(url);
  }

  void SendHotKey(WPARAM id) { SendMessageW(Form1->Handle(), WM_HOTKEY, id, 0); }

  // The addresses the player would have opened in the browser.
  std::vector<std::string> pages;
};

// While it lives, closes the first popup menu this thread opens and remembers where it
// showed; a menu it cannot see is closed all the same after a while, so no test hangs.
class MenuWatcher {
 public:
  MenuWatcher() : timer_(nullptr) {
    timer_.SetInterval(20);
    timer_.OnTimer = [this](TObject*) { Look(); };
  }

  bool seen = false;
  RECT where{};

 private:
  void Look() {
    HWND menu = efir::test::shownThreadWindow(L"#32768");
    if (menu) {
      seen = true;
      GetWindowRect(menu, &where);
    }
    if (seen || ++ticks_ > 100) EndMenu();
  }

  TTimer timer_;
  int ticks_ = 0;
};

}  // namespace player_test
