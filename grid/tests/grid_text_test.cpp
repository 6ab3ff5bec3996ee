// Measuring and laying out cell text on a memory canvas: wide measuring that matches the
// wide drawing, the DrawTextEx flags of a cell, and the hint mark.
#include <gtest/gtest.h>

#include <string>

#include "framework/bitmap.h"
#include "grid/column_display.h"
#include "grid/column_kinds.h"
#include "framework/convert.h"
#include "grid/grid_text.h"

namespace {

class TestDisplay : public TColumnDisplay {
 public:
  using TColumnDisplay::TColumnDisplay;
  void PaintContent() override {
    RECT rect;
    GetTextRect(rect);
    DrawCellText(AsString, rect);
  }
};

struct Surface {
  TBitmap bitmap{200, 60, pf24bit};
  TCanvas& canvas = bitmap.Canvas();
  Surface() {
    canvas.Font().SetName("Tahoma");
    canvas.Font().SetSize(10);
    canvas.Brush().SetColor(clWhite);
    canvas.FillRect({0, 0, 200, 60});
  }
};

}  // namespace

TEST(GridText, WideMeasuresMatchWideLayout) {
  Surface s;
  const std::wstring text = L"Радио Эфирушка";
  std::wstring buffer = text;
  RECT laid{0, 0, 0, 0};
  DrawTextExW(s.canvas.Handle(), buffer.data(), -1, &laid, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX,
              nullptr);
  EXPECT_GT(grid::WideTextWidth(s.canvas, text), 40);
  EXPECT_EQ(grid::WideTextWidth(s.canvas, text), laid.right);
  EXPECT_EQ(grid::TextRectWidth(s.canvas, text), laid.right);
  EXPECT_EQ(grid::WideTextHeight(s.canvas, text), laid.bottom);
  EXPECT_EQ(grid::WideTextExtent(s.canvas, L"").cx, 0);

  TNxTextColumn text_column;
  TNxGraphicColumn picture;
  EXPECT_EQ(text_column.MeasureTextWidth(s.canvas, text), laid.right + 5);
  EXPECT_EQ(picture.MeasureTextWidth(s.canvas, text), laid.right + 6);
  EXPECT_EQ(picture.MeasureTextWidth(s.canvas, std::wstring()), 8);
}

TEST(GridText, NoCell) {
  EXPECT_TRUE(grid::IsNoCell(-1, 5));
  EXPECT_TRUE(grid::IsNoCell(3, -1));
  EXPECT_FALSE(grid::IsNoCell(0, 0));
}

TEST(ColumnDisplay, TextFlagsFollowTheColumn) {
  struct Case {
    TAlignment align;
    TVerticalAlignment vertical;
    TWrapKind wrap;
    TBiDiMode bidi;
    bool drawing;
    UINT flags;
  };
  const Case cases[] = {
      {taLeftJustify, taAlignTop, wkNone, bdLeftToRight, true, DT_NOPREFIX | DT_SINGLELINE},
      {taRightJustify, taVerticalCenter, wkEllipsis, bdLeftToRight, true,
       DT_NOPREFIX | DT_RIGHT | DT_VCENTER | DT_END_ELLIPSIS | DT_SINGLELINE},
      {taRightJustify, taVerticalCenter, wkEllipsis, bdLeftToRight, false,
       DT_NOPREFIX | DT_RIGHT | DT_VCENTER | DT_SINGLELINE},  // measured at full width
      {taCenter, taAlignBottom, wkPathEllipsis, bdRightToLeft, true,
       DT_NOPREFIX | DT_RTLREADING | DT_CENTER | DT_BOTTOM | DT_PATH_ELLIPSIS | DT_SINGLELINE},
      {taLeftJustify, taAlignTop, wkWordWrap, bdLeftToRight, false, DT_NOPREFIX | DT_WORDBREAK | DT_EDITCONTROL},
  };
  for (const Case& c : cases) {
    TNxTextColumn column;
    column.SetAlignment(c.align);
    column.SetVerticalAlignment(c.vertical);
    column.SetWrapKind(c.wrap);
    column.SetBiDiMode(c.bidi);
    TestDisplay display(&column);
    RECT rect{0, 0, 100, 40};
    EXPECT_EQ(display.GetTextFlags(L"x", rect, c.drawing), c.flags);
    EXPECT_EQ(rect.top, 0);
  }
}

TEST(ColumnDisplay, MultiLineTextIsPlacedByMovingTheTop) {
  Surface s;
  TNxTextColumn column;
  column.SetMultiLine(true);
  TestDisplay display(&column);
  display.Canvas = &s.canvas;
  const int lineHeight = grid::WideTextHeight(s.canvas, L"Ag");

  RECT centred{0, 0, 100, 41};
  display.GetTextFlags(L"Ag", centred, true);
  EXPECT_EQ(centred.top, efir::Round((41 - lineHeight) / 2.0));

  column.SetVerticalAlignment(taAlignBottom);
  RECT bottom{0, 0, 100, 41};
  EXPECT_EQ(display.GetTextFlags(L"Ag", bottom, true) & DT_SINGLELINE, 0u);
  EXPECT_EQ(bottom.top, 41 - lineHeight);
}

TEST(ColumnDisplay, DrawsMeasuresAndMarks) {
  Surface s;
  TNxTextColumn column;
  TestDisplay display(&column);
  display.Canvas = &s.canvas;
  display.Rect = {10, 10, 60, 40};
  display.AsString = L"Очень длинное название станции";
  SIZE size;
  display.MeasureText(size);
  EXPECT_EQ(size.cx, grid::WideTextWidth(s.canvas, display.AsString));  // not cut to the cell
  EXPECT_EQ(display.GetTextWidth(), size.cx);

  display.PaintContent();
  bool inked = false, outside = false;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 200; ++x) {
      if (s.canvas.Pixels(x, y) == clWhite) continue;
      (x >= 12 && x < 58 && y >= 10 && y < 40 ? inked : outside) = true;
    }
  EXPECT_TRUE(inked);
  EXPECT_FALSE(outside) << "the text must stay within the cell";

  display.DrawHintMark();
  EXPECT_EQ(s.canvas.Pixels(58, 11), clRed);
  EXPECT_EQ(s.canvas.Pixels(59, 10), clRed);
  EXPECT_NE(s.canvas.Pixels(54, 13), clRed);
}
