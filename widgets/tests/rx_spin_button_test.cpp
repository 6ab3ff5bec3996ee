// The spin button: which half a point is on, the repeat while a half is held (driven with
// mouse messages to its window), and its faces read back from the screen.
#include "widgets/rx_spin_button.h"

#include "framework/tests/ui_fixture.h"
#include "tests/support/capture.h"
#include "tests/support/window.h"

#include <gtest/gtest.h>


namespace {

using efir::test::At;
using efir::test::pumpFor;
using efir::test::pumpUntil;

TEST(RxSpinButtonHalves, BelowTheRisingDiagonalIsTheLowerHalf) {
  struct Case {
    int w, h, x, y;
    bool lower;
  };
  const Case cases[] = {
      {30, 30, 10, 25, true},  {30, 30, 25, 10, true},  {30, 30, 5, 10, false},
      {30, 30, 15, 15, false},
      {40, 20, 20, 12, true},  {40, 20, 20, 10, false}, {30, 30, 0, 29, false},
      {30, 30, 29, 29, true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(efir::spin::OnLowerHalf(c.x, c.y, c.w, c.h), c.lower)
        << c.w << "x" << c.h << " at " << c.x << "," << c.y;
}

// The spin button with the left button's hold in the test's hands: whether the real mouse
// capture stays with the form is up to the desktop (another window shown meanwhile takes it),
// and the repeat ticks are driven one by one.
class HeldSpinButton : public TRxSpinButton {
 public:
  using TRxSpinButton::TRxSpinButton;
  using TRxSpinButton::RepeatInterval;
  using TRxSpinButton::RepeatTimerTick;
  bool held = false;

 protected:
  bool HoldsMouse() override { return held; }
};

class RxSpinButton : public efir::test::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form = NewForm(120, 80);
    spin = new HeldSpinButton(form);
    spin->SetParent(form);
    spin->SetBounds(10, 10, 30, 30);
    spin->OnTopClick = [this](TObject*) { ++top; };
    spin->OnBottomClick = [this](TObject*) { ++bottom; };
    window = form->Handle();
  }

  // Mouse messages at a point of the button, handed to it as its form does while the button
  // holds the mouse; the left button holds from its press to its release.
  void Send(UINT msg, int x, int y) {
    if (msg == WM_LBUTTONDOWN) spin->held = true;
    if (msg == WM_LBUTTONUP) spin->held = false;
    spin->Perform(msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, At(x, y));
  }

  TForm* form = nullptr;
  HeldSpinButton* spin = nullptr;
  HWND window = nullptr;
  int top = 0, bottom = 0;
};

TEST_F(RxSpinButton, HoldingAHalfRepeatsItsEventUntilTheRelease) {
  Send(WM_LBUTTONDOWN, 5, 5);
  EXPECT_EQ(top, 1) << "at once";
  EXPECT_EQ(spin->PressedHalf(), shUpper);
  EXPECT_EQ(spin->RepeatInterval(), 400u) << "the first repeat";
  pumpUntil([&] { return top >= 2; }, 5000);
  ASSERT_EQ(top, 2) << "the timer repeats";
  EXPECT_EQ(spin->RepeatInterval(), 100u) << "the repeats after it";
  spin->RepeatTimerTick();
  spin->RepeatTimerTick();
  EXPECT_EQ(top, 4);

  spin->held = false;  // a handler took the mouse away: the ticks raise nothing
  spin->RepeatTimerTick();
  EXPECT_EQ(top, 4);
  spin->held = true;

  Send(WM_LBUTTONUP, 5, 5);
  EXPECT_EQ(spin->PressedHalf(), shNone);
  EXPECT_EQ(spin->RepeatInterval(), 0u) << "stopped at the release";
  spin->RepeatTimerTick();
  int released = top;
  pumpFor(250);
  EXPECT_EQ(top, released);
  EXPECT_EQ(top, 4);
  EXPECT_EQ(bottom, 0);

  Send(WM_LBUTTONDOWN, 25, 25);
  Send(WM_LBUTTONUP, 25, 25);
  EXPECT_EQ(bottom, 1);
  SendMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, At(15, 15));
  SendMessageW(window, WM_RBUTTONUP, 0, At(15, 15));
  EXPECT_EQ(top + bottom, released + 1) << "the right button raises nothing";
}

TEST_F(RxSpinButton, TheRepeatPausesWhileThePointerIsOffThePressedHalf) {
  Send(WM_LBUTTONDOWN, 5, 5);
  spin->RepeatTimerTick();
  EXPECT_EQ(top, 2);
  Send(WM_MOUSEMOVE, 25, 25);  // onto the other half
  EXPECT_EQ(spin->PressedHalf(), shNone);
  spin->RepeatTimerTick();
  spin->RepeatTimerTick();
  EXPECT_EQ(top, 2) << "paused";
  EXPECT_EQ(bottom, 0);
  Send(WM_MOUSEMOVE, 8, 3);
  EXPECT_EQ(spin->PressedHalf(), shUpper);
  spin->RepeatTimerTick();
  EXPECT_EQ(top, 3) << "resumed";
  Send(WM_MOUSEMOVE, 60, 60);  // outside
  EXPECT_EQ(spin->PressedHalf(), shNone);
  spin->RepeatTimerTick();
  EXPECT_EQ(top, 3);
  Send(WM_LBUTTONUP, 60, 60);
  int released = top;
  pumpFor(250);
  EXPECT_EQ(top, released);
}

TEST_F(RxSpinButton, ThePressedHalfShowsSunken) {
  form->Repaint();
  efir::test::Image normal = efir::test::captureWindow(window);
  Send(WM_LBUTTONDOWN, 5, 5);
  form->Repaint();
  efir::test::saveScreenshot(window, "widgets-spin-button-upper-pressed");
  efir::test::Image pressed = efir::test::captureWindow(window);
  Send(WM_LBUTTONUP, 5, 5);
  // The upper half's left edge (x 1, y 1 .. H-4) turns from highlight to shadow.
  EXPECT_EQ(normal.at(10 + 1, 10 + 5), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(pressed.at(10 + 1, 10 + 5), ColorToRGB(clBtnShadow));
  EXPECT_EQ(normal.at(10, 10), ColorToRGB(clWindowFrame)) << "the frame";
}

TEST_F(RxSpinButton, AFacePainterPaintsTheRestingFaceAndThePressedHalf) {
  spin->SetFacePainter([](TBitmap& face, int state) {
    face.Canvas().Brush().SetColor(state == 2 ? clRed : clNavy);
    face.Canvas().FillRect({0, 0, face.Width(), face.Height()});
  });
  const POINT upper{10 + 2, 10 + 20}, lower{10 + 27, 10 + 10};  // clear of the arrows
  struct Case {
    const char* name;
    int pressX, pressY;  // -1: nothing pressed
    TColor upper, lower;
  };
  for (const Case& c : {Case{"at rest", -1, -1, clNavy, clNavy}, Case{"upper pressed", 5, 5, clRed, clNavy},
                        Case{"lower pressed", 25, 25, clNavy, clRed}}) {
    if (c.pressX >= 0) Send(WM_LBUTTONDOWN, c.pressX, c.pressY);
    form->Repaint();
    efir::test::Image face = efir::test::captureWindow(window);
    if (c.pressX >= 0) Send(WM_LBUTTONUP, c.pressX, c.pressY);
    EXPECT_EQ(face.at(upper.x, upper.y), ColorToRGB(c.upper)) << c.name;
    EXPECT_EQ(face.at(lower.x, lower.y), ColorToRGB(c.lower)) << c.name;
    int arrow = 0;  // the up arrow's 18 black pixels, drawn over the painted face
    for (int y = 10; y < 10 + 15; ++y)
      for (int x = 10; x < 10 + 15; ++x) arrow += face.at(x, y) == ColorToRGB(clBlack);
    EXPECT_EQ(arrow, 18) << c.name;
  }
}

TEST_F(RxSpinButton, ClearingAGlyphBringsBackTheDefaultArrow) {
  TBitmap red(4, 4, pf24bit);
  red.Canvas().Brush().SetColor(clRed);
  red.Canvas().FillRect({0, 0, 4, 4});
  spin->SetUpGlyph(&red);
  EXPECT_EQ(spin->UpGlyph().Width(), 4);
  spin->SetUpGlyph(nullptr);
  EXPECT_EQ(spin->UpGlyph().Width(), 6);
  EXPECT_EQ(spin->UpGlyph().Canvas().Pixels(2, 0), clBlack) << "the arrow's tip";
  EXPECT_EQ(spin->UpGlyph().Canvas().Pixels(0, 0), clWhite);
}

// The user's own mouse: a held press on the upper half keeps repeating through the real
// mouse capture, a move off the half pauses it, and the release ends it.
TEST_F(RxSpinButton, TheUsersHeldPressRepeatsThroughTheRealCapture) {
  auto* real = new TRxSpinButton(form);  // the real hold: the form's mouse capture
  real->SetParent(form);
  real->SetBounds(60, 10, 30, 30);
  int ups = 0;
  real->OnTopClick = [&](TObject*) { ++ups; };
  form->Repaint();
  auto mouse = [](POINT client, DWORD flags, HWND of) {
    ClientToScreen(of, &client);
    INPUT event{};
    event.type = INPUT_MOUSE;
    event.mi.dx = client.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    event.mi.dy = client.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    event.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &event, sizeof(event));
  };
  mouse({65, 15}, 0, window);
  mouse({65, 15}, MOUSEEVENTF_LEFTDOWN, window);
  EXPECT_TRUE(pumpUntil([&] { return ups >= 3; }, 5000)) << ups;
  EXPECT_EQ(GetCapture(), window);
  mouse({110, 70}, 0, window);  // off the half, still held
  pumpFor(100);
  const int away = ups;
  pumpFor(600);
  EXPECT_EQ(ups, away) << "no repeat while the pointer is off the half";
  mouse({65, 15}, 0, window);
  EXPECT_TRUE(pumpUntil([&] { return ups > away; }, 5000));
  mouse({65, 15}, MOUSEEVENTF_LEFTUP, window);
  pumpFor(100);
  const int released = ups;
  pumpFor(600);
  EXPECT_EQ(ups, released);
  EXPECT_EQ(GetCapture(), nullptr);
}

}  // namespace
