// The editors' parts: the info panel (glyph, preview box, their margins and clicks), the
// select-all press left of the text, the execute button and the spin pair's repeat, driven
// tick by tick through its timers.
#include <gtest/gtest.h>

#include "grid/edit_info.h"
#include "grid/number_editors.h"
#include "grid/tests/editor_fixture.h"
#include "tests/support/capture.h"

using efir::test::At;

namespace {

class EditParts : public gridtest::EditorTest {
 protected:
  static int LeftMargin(TWinControl* edit) {
    return LOWORD(SendMessageW(edit->Handle(), EM_GETMARGINS, 0, 0));
  }

  // A 16 x 16 glyph: white with a red square in its middle.
  static const TBitmap& Glyph() {
    static TBitmap glyph(16, 16, pf24bit);
    glyph.Canvas().Brush().SetColor(clWhite);
    glyph.Canvas().FillRect({0, 0, 16, 16});
    glyph.Canvas().Brush().SetColor(clRed);
    glyph.Canvas().FillRect({4, 4, 12, 12});
    return glyph;
  }

  static void Click(HWND window, int x, int y) {
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
    SendMessageW(window, WM_LBUTTONUP, 0, At(x, y));
  }
};

}  // namespace

TEST_F(EditParts, ThePreviewAndTheGlyphMakeRoomLeftOfTheText) {
  auto* edit = Editor<TNxEdit>();
  edit->EditMargins().SetLeft(10);
  EXPECT_EQ(LeftMargin(edit), 10);
  EXPECT_FALSE(IsWindowVisible(edit->Info()->Handle()));
  edit->SetShowPreview(true);
  EXPECT_EQ(LeftMargin(edit), 35);
  EXPECT_TRUE(IsWindowVisible(edit->Info()->Handle()));
  EXPECT_EQ(edit->InfoRight(), 20);
  edit->SetGlyph(Glyph());
  EXPECT_EQ(LeftMargin(edit), 55);
  EXPECT_EQ(edit->InfoRight(), 40);
  RECT preview;
  edit->GetPreviewRect(preview);
  EXPECT_EQ(preview.left, 20);
  EXPECT_EQ(preview.right, 40);
}

TEST_F(EditParts, TheGlyphShowsWithoutItsBottomLeftColourAndThePreviewIsTheOwnersToPaint) {
  auto* edit = Editor<TNxEdit>();
  edit->SetColor(clYellow);
  edit->SetGlyph(Glyph());
  edit->SetShowPreview(true);
  RECT drawn{};
  edit->OnCustomPreviewDraw = [&](TObject*, TCanvas& canvas, const RECT& rect) {
    drawn = rect;
    canvas.Brush().SetColor(clBlue);
    canvas.FillRect(rect);
  };
  HWND info = edit->Info()->Handle();
  RedrawWindow(info, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  efir::test::Image image = efir::test::captureWindow(info);
  const int middle = image.height / 2;
  EXPECT_EQ(image.at(8, middle), RGB(255, 0, 0));   // the glyph's square
  EXPECT_EQ(image.at(1, 1), RGB(255, 255, 0));      // white is transparent: the editor's colour
  EXPECT_EQ(image.at(18, 0), RGB(128, 128, 128));   // the preview's grey frame
  EXPECT_EQ(image.at(25, middle), RGB(0, 0, 255));  // inside it, the owner's picture
  EXPECT_EQ(drawn.left, 19);
  EXPECT_EQ(drawn.right, 37);
}

TEST_F(EditParts, AGlyphClickIsReportedAndAPressLeftOfTheTextSelectsAll) {
  auto* edit = Editor<TNxEdit>();
  edit->SetAsString(L"частота");
  int glyphClicks = 0;
  edit->OnGlyphClick = [&](TObject*) { ++glyphClicks; };
  // Without a panel the select area is the first 3 pixels.
  Click(edit->Handle(), 2, 5);
  EXPECT_EQ(edit->SelLength(), 7);
  edit->SetSelLength(0);
  Click(edit->Handle(), 60, 5);
  EXPECT_EQ(edit->SelLength(), 0);
  edit->SetGlyph(Glyph());
  edit->SetShowPreview(true);
  HWND info = edit->Info()->Handle();
  Click(info, 25, 5);  // the preview box
  EXPECT_EQ(glyphClicks, 0);
  Click(info, 5, 5);
  EXPECT_EQ(glyphClicks, 1);
  edit->SetSelLength(0);
  Click(edit->Handle(), edit->InfoRight() + 2, 5);
  EXPECT_EQ(edit->SelLength(), 7);
  SendMessageW(edit->Handle(), WM_MOUSEMOVE, 0, At(edit->InfoRight() + 1, 5));
  EXPECT_EQ(edit->Cursor(), crReversedArrow);
  SendMessageW(edit->Handle(), WM_MOUSEMOVE, 0, At(edit->InfoRight() + 3, 5));
  EXPECT_EQ(edit->Cursor(), crDefault);
}

TEST_F(EditParts, BorderWidthFramesTheTextInTheControlsColour) {
  auto* edit = Editor<TNxEdit>();
  edit->SetBorderStyle(bsNone);
  edit->SetColor(clLime);
  edit->SetBorderWidth(3);
  RECT client;
  GetClientRect(edit->Handle(), &client);
  EXPECT_EQ(client.right, 150 - 6);
  RedrawWindow(edit->Handle(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW);
  efir::test::Image image = efir::test::captureWindow(edit->Handle());
  for (int x : {0, 1, 2}) EXPECT_EQ(image.at(x, 10), RGB(0, 255, 0)) << x;
}

TEST_F(EditParts, TheExecuteButtonSitsLeftAndClicksOnRelease) {
  auto* spin = Editor<TNxSpinEdit>();
  int clicks = 0;
  spin->OnButtonClick = [&](TObject*) { ++clicks; };
  TNxExecuteButton* button = spin->ExecuteButton();
  EXPECT_FALSE(button->HandleAllocated() && IsWindowVisible(button->Handle()));
  const int plainMargin = LeftMargin(spin);
  spin->SetButtonCaption(L"…");
  spin->SetShowButton(true);
  spin->SetButtonWidth(30);
  ASSERT_TRUE(IsWindowVisible(button->Handle()));
  EXPECT_EQ(button->Left(), 0);
  EXPECT_EQ(button->Width(), 30);
  EXPECT_EQ(LeftMargin(spin), plainMargin + 30);
  SendMessageW(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
  EXPECT_TRUE(button->Pressed());
  EXPECT_EQ(clicks, 0);
  SendMessageW(button->Handle(), WM_LBUTTONUP, 0, At(80, 5));  // released elsewhere: still a click
  EXPECT_FALSE(button->Pressed());
  EXPECT_EQ(clicks, 1);
}

TEST_F(EditParts, AHeldSpinButtonRepeatsAfterTheDelayUntilReleased) {
  auto* spin = Editor<TNxSpinEdit>();
  spin->SetValue(0);
  TNxSpinButtonPair* pair = spin->ButtonPair();
  TTimer& delay = pair->DelayTimer();
  TTimer& repeat = pair->RepeatTimer();
  SendMessageW(pair->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(2, 2));
  EXPECT_EQ(spin->GetAsString(), L"1");  // the press steps at once
  EXPECT_TRUE(delay.Enabled());
  EXPECT_EQ(delay.Interval(), 400u);
  EXPECT_FALSE(repeat.Enabled());
  delay.OnTimer(&delay);  // 400 ms later
  EXPECT_FALSE(delay.Enabled());
  EXPECT_TRUE(repeat.Enabled());
  EXPECT_EQ(repeat.Interval(), 20u);
  EXPECT_EQ(spin->GetAsString(), L"1");  // the delay itself does not step
  for (int tick = 0; tick < 3; ++tick) repeat.OnTimer(&repeat);
  EXPECT_EQ(spin->GetAsString(), L"4");
  SendMessageW(pair->Handle(), WM_LBUTTONUP, 0, At(2, 2));
  EXPECT_FALSE(delay.Enabled());
  EXPECT_FALSE(repeat.Enabled());
  repeat.OnTimer(&repeat);  // a tick already queued steps no more
  EXPECT_EQ(spin->GetAsString(), L"4");
}

TEST_F(EditParts, TheSpinPairTracksTheHalfUnderTheMouse) {
  auto* spin = Editor<TNxSpinEdit>();
  TNxSpinButtonPair* pair = spin->ButtonPair();
  SendMessageW(pair->Handle(), WM_MOUSEMOVE, 0, At(2, 2));
  EXPECT_EQ(pair->Hot(), sbUp);
  SendMessageW(pair->Handle(), WM_MOUSEMOVE, 0, At(2, pair->Height() - 2));
  EXPECT_EQ(pair->Hot(), sbDown);
  SendMessageW(pair->Handle(), CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(pair->Hot(), 0);
  SendMessageW(spin->Handle(), CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(pair->Hot(), sbUp | sbDown);
}
