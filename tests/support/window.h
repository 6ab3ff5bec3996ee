// Real windows for tests under the virtual display: a plain top-level window whose painting
// the test supplies, and message pumping bounded in time.
//
//   efir::test::TestWindow w(200, 100, [](HDC dc, RECT r) { ... });
//   ASSERT_TRUE(efir::test::pumpUntil([&] { return done; }, 2000));
#pragma once

#include <windows.h>

#include <functional>

namespace efir::test {

// Pumps this thread's messages until `done` holds or `timeoutMs` passes; says which.
bool pumpUntil(const std::function<bool()>& done, int timeoutMs);
// Pumps this thread's messages for `ms` milliseconds.
void pumpFor(int ms);

// Presses the left button at `from`, moves to `to` in `steps` and releases it there (screen
// points), as the user's mouse does: the input goes through the system's input queue, and is
// handled once this thread's messages are pumped.
void dragMouse(POINT from, POINT to, int steps = 8);
// The user's mouse and keys, through the system's input queue like dragMouse: the mouse
// moves to `to` (a screen point) with no button held; a button is pressed and released where
// the mouse is put (left unless `right`); a key is pressed and released, with Shift or Alt
// held round it when asked.
void moveMouse(POINT to);
void clickMouse(POINT at, bool right = false);
void pressKey(WORD key, bool shift = false, bool alt = false);

// The first shown top-level window of this thread whose class is `className` ("#32770" for a
// message box or dialog, "#32768" for a popup menu), or null.
HWND shownThreadWindow(const wchar_t* className);

class TestWindow {
 public:
  using Painter = std::function<void(HDC, const RECT&)>;
  TestWindow(int width, int height, Painter paint, const wchar_t* caption = L"test");
  ~TestWindow();
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  HWND handle() const { return hwnd_; }

 private:
  static LRESULT CALLBACK proc(HWND, UINT, WPARAM, LPARAM);
  HWND hwnd_ = nullptr;
  Painter paint_;
};

}  // namespace efir::test
