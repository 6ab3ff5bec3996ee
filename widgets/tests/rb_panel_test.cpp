// The styled panel: its drawing routines on exact pixels, the rendered face, the caption on
// screen, and the style manager and colour sets that reach it.
#include "widgets/rb_panel.h"

#include "framework/stdctrls.h"
#include "framework/tests/ui_fixture.h"
#include "tests/support/capture.h"
#include "widgets/rb_splitter_face.h"
#include "widgets/rb_style_manager.h"

#include <gtest/gtest.h>

namespace {

// The pixel of a 24-bit bitmap as a TColor.
TColor PixelOf(TBitmap& bitmap, int x, int y) {
  auto* row = static_cast<const uint8_t*>(bitmap.ScanLine(y));
  return static_cast<TColor>(RGB(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]));
}

TEST(RbDrawing, DoubleVerticalGradientRunsFromTheMiddleToBothEdges) {
  TBitmap bitmap(4, 100, pf24bit);
  efir::rb::GradientFill(bitmap, {0, 0, 4, 100}, RGB(0, 0, 0), RGB(200, 100, 0), gtDoubleVert);
  EXPECT_EQ(PixelOf(bitmap, 1, 50), static_cast<TColor>(RGB(0, 0, 0)));
  EXPECT_EQ(PixelOf(bitmap, 1, 0), static_cast<TColor>(RGB(200, 100, 0)));
  EXPECT_EQ(PixelOf(bitmap, 1, 99), static_cast<TColor>(RGB(196, 98, 0))) << "one step short";
  EXPECT_EQ(PixelOf(bitmap, 3, 25), static_cast<TColor>(RGB(100, 50, 0)));
}

TEST(RbDrawing, GradientEdgeCases) {
  TBitmap bitmap(20, 20, pf24bit);
  efir::gdi::Object<HRGN> region(CreateRectRgn(5, 5, 10, 10));
  bitmap.Canvas().Brush().SetColor(clBlack);
  bitmap.Canvas().FillRect({0, 0, 20, 20});
  efir::rb::GradientFill(bitmap, {0, 0, 20, 20}, clLime, clLime, gtRadial, region.get());
  EXPECT_EQ(PixelOf(bitmap, 7, 7), clLime) << "one colour fills the region";
  EXPECT_EQ(PixelOf(bitmap, 2, 2), clBlack) << "and nothing outside it";

  TBitmap narrow(1, 3, pf24bit);
  efir::rb::GradientFill(narrow, {0, 0, 1, 3}, clBlack, clWhite, gtDoubleHorz);
  EXPECT_EQ(PixelOf(narrow, 0, 1), clWhite) << "a one-pixel band takes the end colour";
}

TEST(RbDrawing, DownscalingAveragesTheEdgeBandAndFillsTheInside) {
  TBitmap large(180, 120, pf24bit), small(60, 40, pf24bit);
  // Columns alternate black and white one pixel wide: every 3 × 3 block is 1/3 or 2/3 white.
  for (int y = 0; y < 120; ++y) {
    auto* row = static_cast<uint8_t*>(large.ScanLine(y));
    for (int x = 0; x < 180; ++x) std::fill_n(row + x * 3, 3, x % 2 ? 255 : 0);
  }
  efir::rb::DownscaleBitmap(large, small, 3, 30, clRed);
  EXPECT_EQ(PixelOf(small, 0, 0), static_cast<TColor>(RGB(85, 85, 85)));   // columns 0..2: one white
  EXPECT_EQ(PixelOf(small, 1, 20), static_cast<TColor>(RGB(170, 170, 170)));  // 3..5: two
  EXPECT_EQ(PixelOf(small, 14, 14), static_cast<TColor>(RGB(85, 85, 85))) << "the band";
  EXPECT_EQ(PixelOf(small, 15, 15), clRed) << "the inside, from the band's inner line";
  EXPECT_EQ(PixelOf(small, 44, 24), clRed);
  EXPECT_EQ(PixelOf(small, 45, 24), static_cast<TColor>(RGB(170, 170, 170)));
}

using RbPanel = efir::test::UiTest;

TEST_F(RbPanel, TheFaceIsARoundedRectangleWithASmoothBorder) {
  TForm* form = NewForm(340, 340);
  auto* panel = new TRbPanel(form);
  panel->SetParent(form);
  panel->SetBounds(10, 10, 303, 305);
  panel->SetOuterColor(clWhite);
  TBitmap& face = const_cast<TBitmap&>(panel->PanelImage());
  ASSERT_EQ(face.Width(), 303);
  ASSERT_EQ(face.Height(), 305);
  EXPECT_EQ(PixelOf(face, 0, 0), clWhite) << "outside the corner";
  EXPECT_EQ(PixelOf(face, 150, 150), 0xE3DFDF) << "the face colour";
  EXPECT_EQ(PixelOf(face, 0, 150), 0x808080) << "the border";
  EXPECT_EQ(PixelOf(face, 302, 150), 0x808080);
  TColor corner = PixelOf(face, 1, 1);
  EXPECT_NE(corner, clWhite);
  EXPECT_NE(corner, 0x808080) << "an averaged corner pixel";

  panel->SetCaption("Группа");
  panel->SetCaptionPosition(cpGroupBox);
  form->Repaint();
  efir::test::saveScreenshot(form->Handle(), "widgets-panel");
  efir::test::Image shot = efir::test::captureWindow(form->Handle());
  EXPECT_EQ(shot.at(10 + 150, 10 + 150), ColorToRGB(0xE3DFDF));
  EXPECT_EQ(shot.at(10 + 150, 10 + 1), ColorToRGB(clWhite)) << "the frame starts below the caption";

  panel->SetAntialiased(false);
  EXPECT_EQ(PixelOf(face, 0, 150), 0x808080) << "drawn straight, border still at the edge";
  EXPECT_EQ(PixelOf(face, 2, 150), 0xE3DFDF) << "a pen of one pixel";
}

TEST_F(RbPanel, WritersIgnoreWhatTheyCannotDraw) {
  auto* panel = new TRbPanel(nullptr);
  panel->SetCornerWidth(-1);
  panel->SetBorderWidth(0);
  EXPECT_EQ(panel->CornerWidth(), 10);
  EXPECT_EQ(panel->BorderWidth(), 2);
  panel->SetGradient(true);
  EXPECT_FALSE(panel->Gradient()) << "not while antialiased";
  panel->SetAntialiased(false);
  panel->SetGradient(true);
  EXPECT_TRUE(panel->Gradient());
  panel->SetAntialiased(true);
  EXPECT_FALSE(panel->Gradient());
  panel->Free();
}

// Aligned children keep off the border, and below a group box's caption.
TEST_F(RbPanel, AlignedChildrenShareTheAreaInsideTheBorder) {
  TForm* form = NewForm(240, 160);
  auto* panel = new TRbPanel(form);
  panel->SetParent(form);
  panel->SetBounds(0, 0, 200, 120);
  panel->SetBorderWidth(3);
  auto* child = new TPanel(form);
  child->SetParent(panel);
  child->SetAlign(alClient);
  EXPECT_EQ(child->Left(), 4);
  EXPECT_EQ(child->Top(), 4);
  EXPECT_EQ(child->Width(), 200 - 8);
  EXPECT_EQ(child->Height(), 120 - 8);

  panel->SetCaption("Группа");
  panel->SetCaptionPosition(cpGroupBox);
  TCanvas measure;
  efir::gdi::WindowDC screen;
  efir::CanvasBinding bound(measure, screen);
  measure.Font().Assign(panel->Font());
  const int half = measure.TextHeight("Группа") / 2;
  EXPECT_EQ(child->Left(), 4);
  EXPECT_EQ(child->Top(), half + 2 + half - 1);
  EXPECT_EQ(child->Height(), 120 - 2 * (half + 2));

  // The colour around the corners follows a parent the panel takes its colour from.
  panel->SetParentColor(true);
  form->SetColor(clAqua);
  EXPECT_EQ(panel->OuterColor(), clAqua);
}

// Counts how often its colours made it render.
class CountingPanel : public TRbPanel {
 public:
  using TRbPanel::TRbPanel;
  int renders = 0;
  void RenderControl() override {
    ++renders;
    TRbPanel::RenderControl();
  }
};

TEST_F(RbPanel, ColourSetsReachTheirControlAndManagersKeepTheirList) {
  auto* panel = new CountingPanel(nullptr);
  TRbControlColors colors(panel);
  colors.SetDefaultTo(0x123456);
  colors.SetDefaultTo(0x123456);
  colors.SetClickedFrom(0x654321);
  EXPECT_EQ(panel->renders, 2) << "each change, not a repeated value";
  colors.SetHotTrack(0x00FF00);
  EXPECT_EQ(panel->renders, 2) << "hot track only repaints";

  auto* first = new TRbStyleManager(nullptr);
  auto* second = new TRbStyleManager(nullptr);
  first->Colors().SetDefaultFrom(0x111111);
  EXPECT_EQ(panel->renders, 2) << "a manager's colours belong to no control";
  panel->SetRbStyleManager(first);
  panel->SetRbStyleManager(first);
  EXPECT_EQ(first->Controls().size(), 1u);
  panel->SetRbStyleManager(second);
  EXPECT_TRUE(first->Controls().empty()) << "one manager at a time";
  EXPECT_EQ(second->Controls().size(), 1u);
  second->Free();
  EXPECT_EQ(panel->RbStyleManager(), nullptr) << "a freed manager is forgotten";
  panel->SetRbStyleManager(first);
  panel->Free();
  EXPECT_TRUE(first->Controls().empty()) << "a freed control leaves the list";
  first->Free();
}

TEST(RbColors, CopyingTakesTheColoursBothSetsHave) {
  TRbSplitterColors splitter;
  splitter.SetOverTo(0x010203);
  TRbControlColors control;
  control.SetClickedFrom(0x0A0B0C);
  control.Assign(splitter);
  EXPECT_EQ(control.DefaultFrom(), clBtnFace);
  EXPECT_EQ(control.OverTo(), 0x010203);
  EXPECT_EQ(control.ClickedFrom(), 0x0A0B0C) << "the splitter has no clicked colours";

  TRbControlColors copy;
  copy.Assign(control);
  EXPECT_EQ(copy.ClickedFrom(), 0x0A0B0C);
  EXPECT_EQ(copy.DefaultFrom(), clBtnFace);
}

}  // namespace

// A grip dot is raised: dark top-left, light bottom-right, a white highlight at its corner.
TEST(RbSplitter, GripDotsAreRaisedAndRunEightyPixelsThroughTheMiddle) {
  TBitmap dot(4, 4, pf24bit);
  dot.Canvas().Brush().SetColor(clBlack);
  dot.Canvas().FillRect({0, 0, 4, 4});
  efir::rb::DrawGripDot(dot.Canvas(), 0, 0);
  const TColor expected[3][3] = {{0xFFFFFF, 0x808080, clBlack},
                                 {0x808080, 0x808080, 0xFFFFFF},
                                 {clBlack, 0xC0C0C0, 0xFFFFFF}};
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(PixelOf(dot, x, y), expected[y][x]) << x << "," << y;

  TRbSplitterFace face;
  face.width = 7;
  face.height = 200;
  face.color = clBlack;
  TRbSplitterColors colors(&face);
  colors.SetDefaultFrom(clRed);  // a change draws both pictures
  colors.SetDefaultTo(clRed);
  colors.SetOverFrom(clBlue);
  colors.SetOverTo(clBlue);
  ASSERT_EQ(face.normal.Height(), 200);
  // The middle is ((7 - 3) / 2, 100): dots at rows 60, 63, ... 138, each 3 rows high.
  for (int y : {60, 63, 99, 138}) EXPECT_EQ(PixelOf(face.normal, 2, y), 0xFFFFFF) << y;
  EXPECT_EQ(PixelOf(face.normal, 2, 100), 0x808080) << "the second row of the dot at 99";
  EXPECT_EQ(PixelOf(face.normal, 5, 80), clRed) << "beside the dots: the gradient";
  EXPECT_EQ(PixelOf(face.normal, 5, 30), clBlack) << "beyond 40 pixels: the bar's colour";
  EXPECT_EQ(PixelOf(face.hot, 5, 80), clBlue);
}

// The fade steps: in by 10 (fast: by 25 while both state bits are set), out by 10, each
// bounded; the levels a library control's animation would run through.
TEST(RbFade, StepsMoveTheLevelsWithinTheirBounds) {
  auto* panel = new TRbPanel(nullptr);
  for (int i = 0; i < 12; ++i) panel->FadeInStep();
  EXPECT_EQ(panel->FadeLevel, 100);
  EXPECT_EQ(panel->FadeLevelFast, 0);
  panel->FadeState = 3;
  for (int i = 0; i < 6; ++i) panel->FadeInStep();
  EXPECT_EQ(panel->FadeLevelFast, 100);
  panel->FadeOutStep();
  EXPECT_EQ(panel->FadeLevelFast, 75);
  EXPECT_EQ(panel->FadeLevel, 90);
  for (int i = 0; i < 20; ++i) panel->FadeOutStep();
  EXPECT_EQ(panel->FadeLevelFast, 0);
  EXPECT_EQ(panel->FadeLevel, 0);
  panel->Free();
}
