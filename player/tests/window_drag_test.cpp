// Dragging the borderless main window by its background with the mouse, the handlers no
// control of the layout raises that drag it the same way, and a double click on the background.
#include <gtest/gtest.h>

#include <windows.h>

#include "player/main_window.h"
#include "player/tests/player_fixture.h"
#include "player/tests/user_script.h"
#include "tests/support/window.h"

namespace {

using player_test::ConfigLines;
using player_test::Act;
using player_test::PlayerTest;
using player_test::PopupMenuShown;
using player_test::PumpUntil;
using player_test::UserScript;
using player_test::WriteLines;

class WindowDrag : public PlayerTest {
 protected:
  void SetUp() override {
    // The mouse goes back where it was: the tests that follow must not find it on a window.
    GetCursorPos(&mouse_);
    PlayerTest::SetUp();
    WriteLines(Config(), ConfigLines(0, 0, 40, -1, 200, 150));
    Start();
    ASSERT_TRUE(shown.empty()) << shown.front();
  }

  void TearDown() override {
    PlayerTest::TearDown();
    SetCursorPos(mouse_.x, mouse_.y);
  }

  // A spot of bare background between the station name and the status line.
  static POINT Background() { return {250, 38}; }

  // Puts the mouse on `at` (client coordinates) as the user would before pressing there.
  static void PointAt(POINT at) {
    POINT screen = Form1->ClientToScreen(at);
    SetCursorPos(screen.x, screen.y);
  }

  static POINT Place() { return {Form1->Left(), Form1->Top()}; }

  // The user presses the left button on `at` (client coordinates), moves the mouse by
  // (dx, dy) and lets go. The whole drag is queued before the press is handled, since the
  // press starts the window's move, which reads the rest of the drag from the queue.
  static void Drag(POINT at, int dx, int dy) {
    const POINT before = Place();
    PointAt(at);
    HWND window = Form1->Handle();
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    const POINT to = {at.x + dx, at.y + dy};
    PointAt(to);
    PostMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    PumpUntil([&] { return Place().x != before.x || Place().y != before.y; }, 1000);
  }

 private:
  POINT mouse_{};
};

TEST_F(WindowDrag, TheBackgroundDragsTheWindowWithTheMouse) {
  Drag(Background(), 40, 25);
  EXPECT_EQ(Place().x, 240);
  EXPECT_EQ(Place().y, 175);
}

TEST_F(WindowDrag, PanelHandlersDragTheWindowLikeTheBackground) {
  using Handler = void (TForm1::*)(TObject*, TMouseButton, TShiftState, int, int);
  const Handler handlers[] = {&TForm1::sPanel1MouseDown, &TForm1::sPanel2MouseDown,
                              &TForm1::sPanel3MouseDown};
  int step = 0;
  for (Handler handler : handlers) {
    ++step;
    // As a layout that bound it to a panel under the mouse would raise it.
    Form1->Image1->OnMouseDown = [handler](TObject* s, TMouseButton b, TShiftState sh, int x,
                                           int y) { (Form1->*handler)(s, b, sh, x, y); };
    const POINT before = Place();
    Drag(Background(), 10, -5);
    EXPECT_EQ(Place().x, before.x + 10) << step;
    EXPECT_EQ(Place().y, before.y - 5) << step;
  }
}

TEST_F(WindowDrag, ADoubleClickOnTheBackgroundLeavesTheWindowAsItWas) {
  const POINT at = Background();
  const efir::test::Image before = player_test::OnScreen(Form1);
  PointAt(at);
  for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
    PostMessageW(Form1->Handle(), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON,
                 MAKELPARAM(at.x, at.y));
  PumpUntil([] { return false; }, 200);
  EXPECT_EQ(Place().x, 200);
  EXPECT_EQ(Place().y, 150);
  EXPECT_EQ(Form1->Width(), 514);
  EXPECT_EQ(Form1->Height(), 391);
  EXPECT_TRUE(player_test::OnScreen(Form1).pixels == before.pixels);
  EXPECT_TRUE(shown.empty()) << shown.front();
}

// The station name opens its menu with the right button and moves the window with the left
// one; after the menu the window stays put while the mouse roams, and a click on the
// background with no drag leaves it where it was.
TEST_F(WindowDrag, TheStationNamesMenuButtonNeverStartsAMove) {
  using efir::test::clickMouse;
  using efir::test::moveMouse;
  using efir::test::pressKey;
  SetForegroundWindow(Form1->Handle());
  const POINT name = Form1->RxLabel6->ClientToScreen({30, 10});
  const POINT background = Form1->ClientToScreen(Background());
  bool menuSeen = false;
  RECT afterwards{};
  UserScript script({Act([&] { clickMouse(name, true); }),
                     [&] { return menuSeen = PopupMenuShown(); },
                     Act([&] { pressKey(VK_ESCAPE); }),
                     Act([&] { moveMouse({name.x + 60, name.y + 90}); }),
                     Act([&] { clickMouse(background); }),
                     Act([&] { moveMouse({background.x + 40, background.y + 25}); }),
                     Act([&] { moveMouse({background.x + 80, background.y + 60}); }),
                     Act([&] { GetWindowRect(Form1->Handle(), &afterwards); }),
                     // Ends a move that would still be running: the test must go on.
                     Act([&] { pressKey(VK_ESCAPE); })});
  ASSERT_TRUE(script.RunToEnd());
  EXPECT_TRUE(menuSeen);
  EXPECT_EQ(afterwards.left, 200);
  EXPECT_EQ(afterwards.top, 150);
  EXPECT_TRUE(shown.empty()) << shown.front();
}

}  // namespace
