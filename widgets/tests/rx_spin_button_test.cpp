// The spin button: which half a point is on, the repeat while a half is held (driven with
// mouse messages to its window), and its faces read back from the screen.
#include "widgets/rx_spin_button.h"

#include "framework/tests/ui_fixture.h"
#include "tests/support/capture.h"
#include "tests/support/window.h"

#include <gtest/gtest.h>

#include <functional>

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

class RxSpinButton : public efir::test::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    form = NewForm(120, 80);
    spin = new TRxSpinButton(form);
    spin->SetParent(form);
    spin->SetBounds(10, 10, 30, 30);
    spin->OnTopClick = [this](TObject*) { ++top; };
    spin->OnBottomClick = [this](TObject*) { ++bottom; };
    window = form->Handle();
  }

  // Mouse messages at a point of the button.
  void Send(UINT msg, int x, int y) {
    SendMessageW(window, msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, At(10 + x, 10 + y));
  }

  bool Captured() const { return GetCapture() == window; }

  // Runs `hold` (a press and what happens while the button is held, up to just before the
  // release; it answers whether the mouse stayed captured) until a run kept the capture. The
  // repeat rightly stops without the capture, and another window of the desktop can take it
  // at any moment (one shown or activated meanwhile, on a busy machine): such a run says
  // nothing of the button, so it runs again, three times at most. The counters start at 0.
  void HoldKeepingTheCapture(const std::function<bool()>& hold) {
    for (int attempt = 0; attempt < 3; ++attempt) {
      SetForegroundWindow(window);
      pumpUntil([&] { return GetForegroundWindow() == window; }, 1000);
      pumpFor(20);
      top = bottom = 0;
      if (hold()) return;
      // Released on the button, which puts it back as before the press.
      Send(WM_LBUTTONUP, 5, 5);
      pumpFor(20);
    }
  }

  TForm* form = nullptr;
  TRxSpinButton* spin = nullptr;
  HWND window = nullptr;
  int top = 0, bottom = 0;
};

TEST_F(RxSpinButton, HoldingAHalfRepeatsItsEventUntilTheRelease) {
  int atOnce = 0;
  TSpinHalf pressed = shNone;
  HoldKeepingTheCapture([&] {
    Send(WM_LBUTTONDOWN, 5, 5);
    atOnce = top;
    pressed = spin->PressedHalf();
    pumpUntil([&] { return top >= 4 || !Captured(); }, 3000);
    return Captured();
  });
  EXPECT_EQ(atOnce, 1) << "at once";
  EXPECT_EQ(pressed, shUpper);
  ASSERT_GE(top, 4) << "repeated while held";
  Send(WM_LBUTTONUP, 5, 5);
  EXPECT_EQ(spin->PressedHalf(), shNone);
  int released = top;
  pumpFor(250);
  EXPECT_EQ(top, released);
  EXPECT_EQ(bottom, 0);

  Send(WM_LBUTTONDOWN, 25, 25);
  Send(WM_LBUTTONUP, 25, 25);
  EXPECT_EQ(bottom, 1);
  SendMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, At(15, 15));
  SendMessageW(window, WM_RBUTTONUP, 0, At(15, 15));
  EXPECT_EQ(top + bottom, released + 1) << "the right button raises nothing";
}

TEST_F(RxSpinButton, TheRepeatPausesWhileThePointerIsOffThePressedHalf) {
  int repeated = 0, paused = 0, afterPause = 0;
  TSpinHalf offIt = shUpper, backOnIt = shNone;
  HoldKeepingTheCapture([&] {
    Send(WM_LBUTTONDOWN, 5, 5);
    pumpUntil([&] { return top >= 2 || !Captured(); }, 3000);
    repeated = top;
    Send(WM_MOUSEMOVE, 25, 25);  // onto the other half
    offIt = spin->PressedHalf();
    paused = top;
    pumpFor(250);
    afterPause = top;
    Send(WM_MOUSEMOVE, 8, 3);
    backOnIt = spin->PressedHalf();
    pumpUntil([&] { return top > paused || !Captured(); }, 3000);
    return Captured();
  });
  EXPECT_GE(repeated, 2);
  EXPECT_EQ(offIt, shNone);
  EXPECT_EQ(afterPause, paused);
  EXPECT_EQ(bottom, 0);
  EXPECT_EQ(backOnIt, shUpper);
  ASSERT_GT(top, paused) << "resumed";
  Send(WM_MOUSEMOVE, 60, 60);  // outside
  EXPECT_EQ(spin->PressedHalf(), shNone);
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

}  // namespace
