#include "skin/engine/fills.h"

#include <gtest/gtest.h>

#include "framework/stdctrls.h"
#include "framework/tests/ui_fixture.h"
#include "skin/engine/alpha_blend.h"
#include "skin/engine/common_data.h"
#include "skin/engine/paint_types.h"
#include "skin/engine/tests/pixels_fixtures.h"

namespace {

using namespace efir::test;

TEST(PaintFills, SolidFillAndBorderBands) {
  auto b = Solid(10, 10, pf24bit, Grey(0));
  HDC dc = b->Canvas().Handle();
  FillRectSolid(dc, {1, 1, 3, 2}, clBtnFace);
  EXPECT_EQ(static_cast<COLORREF>(At(*b, 2, 1)), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(At(*b, 3, 1), 0);
  b = Solid(10, 10, pf24bit, Grey(0));
  dc = b->Canvas().Handle();
  FillBorderBand(dc, {0, 0, 10, 10}, 0, 0, 0, 0, 0x0000FF);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) ASSERT_EQ(At(*b, x, y), 0) << x << "," << y;
  FillBorderBand(dc, {0, 0, 10, 10}, 1, 2, 3, 4, 0x0000FF);
  const struct {
    int X, Y;
    bool Band = true;
  } probes[] = {{5, 0}, {5, 1}, {5, 2, false}, {0, 5}, {1, 5, false}, {6, 5, false}, {7, 5}, {9, 5},
                {5, 5, false}, {5, 6}, {5, 9}, {0, 9}, {9, 9}};
  for (const auto& p : probes) EXPECT_EQ(At(*b, p.X, p.Y), p.Band ? 0x0000FF : 0) << p.X << "," << p.Y;
}

TEST(PaintFills, CopyBorderFrameCopiesExactlyTheFrame) {
  auto source = NewBitmap24(40, 40);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) Put(*source, x, y, x | y << 8);
  auto dest = Solid(40, 40, pf24bit, TransparentKeyColor);
  CopyBorderFrame(dest->Canvas().Handle(), 10, 10, 8, 6, source->Canvas().Handle(), 20, 25, 2);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x) {
      const bool inRect = x >= 10 && x < 18 && y >= 10 && y < 16;
      const bool inside = x >= 12 && x < 16 && y >= 12 && y < 14;
      const TColor expected = inRect && !inside ? (x - 10 + 20) | (y - 10 + 25) << 8 : TransparentKeyColor;
      ASSERT_EQ(At(*dest, x, y), expected) << x << "," << y;
    }
}

class PaintFillsOnForm : public UiTest {};

TEST_F(PaintFillsOnForm, ChildRectanglesOfTheKindsAskedAreExcluded) {
  TForm* form = NewForm(200, 100);
  auto* label = new TLabel(form);  // windowless
  label->SetParent(form);
  label->SetBounds(10, 10, 20, 20);
  auto* panel = new TPanel(form);  // windowed
  panel->SetParent(form);
  panel->SetBounds(50, 10, 20, 20);
  const struct {
    ExcludedChildren Kinds;
    bool LabelShown, PanelShown;
  } rows[] = {{ecGraphic, false, true}, {ecGraphic | ecWindowed, false, false}, {ecWindowed, true, false}};
  for (const auto& r : rows) {
    auto b = Solid(200, 100, pf24bit, Grey(7));
    HDC dc = b->Canvas().Handle();
    efir::gdi::SavedState saved(dc);
    ExcludeChildControlRects(dc, form, 5, 0, r.Kinds);
    // Both rectangles moved 5 to the right: 15..35 and 55..75.
    EXPECT_EQ(PtVisible(dc, 33, 15) != 0, r.LabelShown) << int(r.Kinds);
    EXPECT_EQ(PtVisible(dc, 73, 15) != 0, r.PanelShown) << int(r.Kinds);
    EXPECT_TRUE(PtVisible(dc, 12, 15));
  }
}

TEST(PaintFills, TextIsMeasuredThroughTheCallThatDrawsIt) {
  // Captions are measured with the call that draws them: the rectangle comes back measured,
  // a word-wrapped Cyrillic caption two lines high.
  auto b = Solid(300, 60, pf24bit, Grey(255));
  const HDC dc = b->Canvas().Handle();
  const UINT calc = DT_CALCRECT | DT_WORDBREAK;
  const RECT line = DrawTextOnDC(dc, "Добавить", {0, 0, 300, 0}, calc);
  const RECT both = DrawTextOnDC(dc, "Добавить радиостанцию", {0, 0, line.right + 4, 0}, calc);
  EXPECT_GT(line.right, 20);
  EXPECT_EQ(both.bottom, 2 * line.bottom);
}

TEST(PaintFills, GreyscaleKeepsTheKeyColourWhenAsked) {
  auto b = NewBitmap24(3, 1);
  Put(*b, 0, 0, 0x0000FF);
  Put(*b, 1, 0, TransparentKeyColor);
  Put(*b, 2, 0, 0x030201);
  auto copy = NewBitmap24(3, 1);
  copy->Assign(*b);
  GrayscaleBitmapExcept(b.get(), TransparentKeyColor);
  EXPECT_EQ(At(*b, 0, 0), Grey(85));
  EXPECT_EQ(At(*b, 1, 0), TransparentKeyColor);
  EXPECT_EQ(At(*b, 2, 0), Grey(2));
  GrayscaleBitmap(copy.get());
  EXPECT_EQ(At(*copy, 1, 0), Grey(170));
  GrayscaleBitmap(nullptr);
}

TEST(PaintFills, EllipsisCutsTheEnd) {
  auto b = NewBitmap24(10, 10);
  TCanvas& canvas = b->Canvas();
  const std::string text = "Радиостанция";
  const int full = canvas.TextWidth(text);
  EXPECT_EQ(CutTextWithEllipsis(canvas, text, full), text);
  EXPECT_EQ(CutTextWithEllipsis(canvas, text, 0), "");
  EXPECT_EQ(CutTextWithEllipsis(canvas, text, canvas.TextWidth("...") - 1), "");
  const std::string cut = CutTextWithEllipsis(canvas, text, full - 1);
  ASSERT_GE(cut.size(), 4u);
  EXPECT_EQ(cut.substr(cut.size() - 3), "...");
  EXPECT_LE(canvas.TextWidth(cut), full - 1);
  EXPECT_EQ(text.substr(0, cut.size() - 3), cut.substr(0, cut.size() - 3));
}

// Whether any pixel of the bitmap has exactly this colour.
bool Shows(TBitmap& b, TColor c) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (At(b, x, y) == c) return true;
  return false;
}

TEST(PaintFills, SectionTextDrawsContoursThenTheFontColour) {
  TsSkinManager manager(nullptr);
  manager.LoadedSkin.Active = true;
  TsGeneralData section;
  section.Color = 0x00FF00;
  section.FontColor = {0x0000FF, 0xFF0000, -1, -1, -1};  // red text, blue left contour
  section.HotFontColor = {0x00FFFF, -1, -1, -1, -1};
  manager.GeneralData.push_back(section);
  const struct {
    const char* Case;
    bool Enabled, Hot;
    TColor Shown, NotShown;
  } rows[] = {
      {"normal", true, false, 0x0000FF, 0x00FFFF},
      {"contour", true, false, 0xFF0000, 0x00FFFF},
      {"hot has no contour", true, true, 0x00FFFF, 0xFF0000},
      {"disabled: 40 % text over 60 % section", false, false, MixColors(0x0000FF, 0x00FF00, 0.4), 0x0000FF},
  };
  for (const auto& r : rows) {
    auto b = Solid(60, 30, pf24bit, Grey(255));
    TCanvas& canvas = b->Canvas();
    canvas.Font().SetHeight(-20);
    canvas.Font().SetStyle(fsBold);
    DrawSectionText(canvas, "IIII", r.Enabled, {5, 2, 60, 30}, DT_LEFT | DT_SINGLELINE, 0, r.Hot, &manager);
    EXPECT_TRUE(Shows(*b, r.Shown)) << r.Case;
    EXPECT_FALSE(Shows(*b, r.NotShown)) << r.Case;
  }
  auto b = Solid(60, 30, pf24bit, Grey(255));
  DrawSectionText(b->Canvas(), "IIII", true, {5, 2, 60, 30}, 0, 5, false, &manager);  // no such section
  EXPECT_FALSE(Shows(*b, 0x0000FF));
}

TEST(PaintFills, SoftShadowAtTheTwoEnds) {
  for (int transparency : {0, 100}) {
    auto b = Solid(20, 20, pf24bit, Grey(200));
    PaintSoftShadow(b.get(), {0, 0, 20, 20}, transparency, Grey(0), 3, 4);
    // 0: the middle takes the colour fully; 100: the mask is white, the picture stays.
    EXPECT_EQ(At(*b, 10, 10), transparency == 0 ? Grey(0) : Grey(199)) << transparency;
  }
}

}  // namespace

namespace {

TEST(PaintFills, DisabledCaptionTakesTheGlobalInfoColour) {
  TsSkinManager manager(nullptr);
  manager.LoadedSkin.Active = true;
  TsGeneralData global;
  global.SectionName = "GLOBALINFO";
  global.Color = 0xFF0000;
  manager.GeneralData.push_back(global);
  TsGeneralData item;
  item.SectionName = "ITEM";
  item.Color = 0x00FF00;
  item.FontColor = {0x0000FF, -1, -1, -1, -1};
  manager.GeneralData.push_back(item);
  CacheFixedIndexes(manager);  // GLOBALINFO is found once after a load
  TsCommonData data(nullptr, false);
  data.SetSkinManager(&manager);
  data.SectionIndex = 1;
  const struct {
    bool Enabled;
    TColor Shown;
  } rows[] = {{true, 0x0000FF}, {false, MixColors(0x0000FF, 0xFF0000, 0.4)}};
  for (const auto& r : rows) {
    auto b = Solid(60, 30, pf24bit, Grey(255));
    TCanvas& canvas = b->Canvas();
    canvas.Font().SetHeight(-20);
    canvas.Font().SetStyle(fsBold);
    WriteSkinText(canvas, "IIII", r.Enabled, {5, 2, 60, 30}, DT_LEFT | DT_SINGLELINE, data, false);
    EXPECT_TRUE(Shows(*b, r.Shown)) << r.Enabled;
  }
  // Clipped to the rectangle.
  auto b = Solid(60, 30, pf24bit, Grey(255));
  b->Canvas().Font().SetHeight(-20);
  WriteSkinText(b->Canvas(), "IIII", true, {5, 2, 6, 30}, DT_LEFT | DT_SINGLELINE, data, false);
  for (int y = 0; y < 30; ++y)
    for (int x = 7; x < 60; ++x) ASSERT_EQ(At(*b, x, y), Grey(255));
}

}  // namespace
