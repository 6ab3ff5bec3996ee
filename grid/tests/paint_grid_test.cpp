// The grid's painting: row and selection colours, grid lines in and below the rows, the focus
// rectangle, the caption of an empty grid, the player's tile settings, and a paint that gives
// back every GDI object and the clip it found.
#include <gtest/gtest.h>

#include "framework/bitmap.h"
#include "grid/tests/paint_fixture.h"
#include "grid/theme_draw.h"

using namespace gridtest;

namespace {

class PaintGrid : public GridTest {
 protected:
  // Columns of width 50 on a white grid, Rows empty rows of 16 pixels.
  TDataGrid* WhiteGrid(int columns, int rows, int width = 200, int height = 120) {
    TDataGrid* grid = WindowGrid(width, height);
    grid->SetColor(clWhite);
    for (int i = 0; i < columns; ++i) AddTextColumn(grid, {}, 50)->SetColor(clWhite);
    if (rows > 0) grid->AddRow(rows);
    return grid;
  }
};

}  // namespace

TEST_F(PaintGrid, TheSelectedRowTakesTheSelectionColourOfTheGridsState) {
  struct Case {
    const char* name;
    bool focused;
    TAppearanceOptions options;
    COLORREF selected;
  } cases[] = {
      {"focused", true, aoHideSelection, Rgb(clHighlight)},
      {"unfocused, hidden", false, aoHideSelection, Rgb(clWhite)},
      {"unfocused, shown", false, 0, RGB(200, 220, 240)},
      {"blended", true, aoAlphaBlendedSelection,
       Rgb(grid::BlendColorsFloat(clWhite, static_cast<TColor>(GetSysColor(COLOR_HIGHLIGHT)),
                                  0.25))},
  };
  for (const Case& c : cases) {
    TDataGrid* grid = WhiteGrid(2, 4);
    grid->SetOptions(goSelectFullRow);
    grid->SetAppearanceOptions(c.options);
    grid->SetInactiveSelectionColor(static_cast<TColor>(RGB(200, 220, 240)));
    grid->SelectRow(2);
    if (c.focused) grid->SetFocus();
    ASSERT_EQ(grid->Focused(), c.focused) << c.name;
    Image image = Render(grid);
    const int selectedMiddle = 2 * 16 + 8;
    EXPECT_EQ(image.at(25, selectedMiddle), c.selected) << c.name;
    EXPECT_EQ(image.at(75, selectedMiddle), c.selected) << c.name;  // the whole row
    EXPECT_EQ(image.at(25, 16 + 8), Rgb(clWhite)) << c.name;
  }
}

TEST_F(PaintGrid, GridLinesRunThroughAndBelowTheRowsAsTheirStyleSays) {
  const COLORREF red = Rgb(clRed), black = Rgb(clBlack), white = Rgb(clWhite);
  const int pitch = 17;  // 16 pixels and the line under them
  struct Case {
    TGridLinesStyle style;
    COLORREF lastRowBottom, lastColumnRight, belowRows;
  } cases[] = {
      {lsNormal, red, red, red},
      {lsActiveRows, red, red, white},  // the lines end with the rows
      {lsFramed, black, black, red},
  };
  for (const Case& c : cases) {
    TDataGrid* grid = WhiteGrid(2, 3);
    grid->SetOptions(goGrid);
    grid->SetGridLinesColor(clRed);
    grid->SetGridLinesStyle(c.style);
    Image image = Render(grid);
    SCOPED_TRACE(c.style);
    EXPECT_EQ(image.at(49, 5), red);              // between the columns
    EXPECT_EQ(image.at(20, 16), red);             // under the first row
    EXPECT_EQ(image.at(20, 2 * pitch + 16), c.lastRowBottom);
    EXPECT_EQ(image.at(99, 5), c.lastColumnRight);
    EXPECT_EQ(image.at(49, 4 * pitch + 5), c.belowRows);
    EXPECT_EQ(image.at(20, 4 * pitch + 16), c.belowRows);
    EXPECT_EQ(image.at(20, 5), white);            // inside a cell
    EXPECT_EQ(image.at(150, 5), white);           // right of the columns
  }
}

TEST_F(PaintGrid, TheFocusRectangleFramesTheSelectedCellOnlyWhenFocused) {
  TDataGrid* grid = WhiteGrid(2, 3);
  grid->SetAppearanceOptions(aoAlphaBlendedSelection);  // a solid frame in the highlight colour
  grid->SelectCell(1, 1);
  const RECT cell{50, 16, 100, 32};
  Image unfocused = Render(grid);
  EXPECT_EQ(CountColor(unfocused, {0, 0, 200, 120}, Rgb(clHighlight)), 0);

  grid->SetFocus();
  Image focused = Render(grid);
  EXPECT_EQ(CountColor(focused, {0, 0, 200, 120}, Rgb(clHighlight)), 2 * 50 + 2 * 14);
  EXPECT_EQ(focused.at(cell.left, cell.top + 5), Rgb(clHighlight));
  EXPECT_EQ(focused.at(cell.right - 1, cell.bottom - 1), Rgb(clHighlight));

  grid->SetAppearanceOptions(aoAlphaBlendedSelection | aoHideFocus);
  EXPECT_EQ(CountColor(Render(grid), {0, 0, 200, 120}, Rgb(clHighlight)), 0);
}

TEST_F(PaintGrid, AnEmptyGridShowsItsCaptionCentredNearTheTopThenPostDraws) {
  TDataGrid* grid = WhiteGrid(1, 0);
  grid->Font().SetColor(clBlack);
  grid->SetCaption(L"Нет станций");
  std::vector<std::string> order;
  grid->OnPostDraw = [&](TObject*) {
    order.push_back("post");
    grid->Canvas().Brush().SetColor(clBlue);
    grid->Canvas().FillRect({0, 100, 4, 104});  // drawn over everything else
  };
  Image image = Render(grid);
  RECT caption = InkBounds(image, {0, 0, 200, 96}, Rgb(clWhite));
  // Centred: the ink sits a few pixels off the middle only by the glyphs' side bearings.
  EXPECT_NEAR(caption.left + caption.right, 200, 8) << Str(caption);
  EXPECT_GT(caption.left, 40);
  EXPECT_GE(caption.top, 4);
  EXPECT_LE(caption.bottom, 4 + 20);
  EXPECT_GT(CountColor(image, caption, Rgb(clBlack)), 0);
  EXPECT_EQ(image.at(1, 101), Rgb(clBlue));
  EXPECT_EQ(order, (std::vector<std::string>{"post"}));

  grid->SetEnabled(false);
  image = Render(grid);
  EXPECT_GT(CountColor(image, caption, Rgb(clGrayText)), 0);
  EXPECT_EQ(CountColor(image, caption, Rgb(clBlack)), 0);

  grid->SetEnabled(true);
  grid->AddRow();
  EXPECT_EQ(Str(InkBounds(Render(grid), {0, 0, 200, 96}, Rgb(clWhite))), "0,0,0,0");
}

TEST_F(PaintGrid, ADisabledGridGreysItsSelectedCellAndLeavesTheOthersTheirColour) {
  TDataGrid* grid = WhiteGrid(1, 2);
  grid->SetAppearanceOptions(0);  // the selection shows without the focus a disabled grid lacks
  grid->SetInactiveSelectionColor(clWhite);
  grid->Columns()->Item(0)->Font()->SetColor(clBlack);
  grid->SetCellText(0, 0, L"Эфир");
  grid->SetCellText(0, 1, L"Эфир");
  grid->SelectCell(0, 1);
  const RECT plain{0, 0, 50, 16}, selected{0, 16, 50, 32};
  Image enabled = Render(grid);
  EXPECT_EQ(CountColor(enabled, selected, Rgb(clGrayText)), 0);
  grid->SetEnabled(false);
  Image image = Render(grid);
  EXPECT_GT(CountColor(image, plain, Rgb(clBlack)), 0);
  EXPECT_EQ(CountColor(image, plain, Rgb(clGrayText)), 0);
  EXPECT_GT(CountColor(image, selected, Rgb(clGrayText)), 0);
  EXPECT_EQ(CountColor(image, selected, Rgb(clBlack)), 0);
}

TEST_F(PaintGrid, ASortedColumnAndHintMarksTintTheirCells) {
  TDataGrid* grid = WhiteGrid(2, 2);
  grid->Columns()->Item(0)->SetColor(clYellow);
  grid->Columns()->Item(0)->SetSorted(true);
  grid->SetSortedStyle(soWhite);
  grid->SetAppearanceOptions(aoHintMarks);
  grid->SelectCell(0, 1);
  grid->GetCell(1, 0)->Hint = L"подсказка";
  grid->SetFocus();
  Image image = Render(grid);
  EXPECT_EQ(image.at(20, 8), Rgb(clWhite));           // sorted, not selected
  EXPECT_EQ(image.at(20, 24), Rgb(clHighlight));      // sorted and selected
  EXPECT_EQ(image.at(98, 1), Rgb(clRed));             // the hint's corner
  EXPECT_EQ(CountColor(image, {50, 8, 100, 16}, Rgb(clRed)), 0);
}

TEST_F(PaintGrid, ThePlayersTilesShowNoSelectionAndNoFocus) {
  TDataGrid* grid = WindowGrid(457, 250);
  grid->SetColor(clWhite);
  grid->SetOptions(goDisableColumnMoving | goGrid);
  grid->SetAppearanceOptions(aoHideFocus | aoHideSelection);
  grid->SetGridLinesColor(clWhite);
  grid->SetSelectionColor(clWhite);
  grid->SetInactiveSelectionColor(clWhite);
  grid->SetRowSize(90);
  auto logo = std::make_unique<TBitmap>(60, 60, pf24bit);
  logo->Canvas().Brush().SetColor(clTeal);
  logo->Canvas().FillRect({0, 0, 60, 60});
  for (int i = 0; i < 5; ++i) {
    auto* column = grid->Columns()->Add(std::make_unique<TNxGraphicColumn>());
    column->SetWidth(91);
    column->SetColor(clWhite);
    column->SetStretch(true);
    column->SetBorderWidth(0);
  }
  grid->AddRow(2);
  for (int i = 0; i < 5; ++i) grid->GetCell(i, 0)->CellObject = logo.get();
  Image before = Render(grid);
  EXPECT_EQ(CountColor(before, {91 + 4, 4, 182 - 5, 90 - 4}, Rgb(clTeal)), 82 * 82);
  grid->SetFocus();
  grid->SelectCell(1, 0);
  Image after = Render(grid);
  EXPECT_EQ(Crop(after, {0, 0, 457, 250}), Crop(before, {0, 0, 457, 250}));
}

TEST_F(PaintGrid, IndicatorMarksTheSelectedRow) {
  TDataGrid* grid = WhiteGrid(1, 3);
  grid->SetOptions(goIndicator);
  grid->SelectRow(1);
  Image image = Render(grid);
  EXPECT_NE(Crop(image, {0, 16, 12, 32}), Crop(image, {0, 32, 12, 48}));
  EXPECT_EQ(Crop(image, {0, 0, 12, 16}).size(), Crop(image, {0, 32, 12, 48}).size());
  EXPECT_EQ(image.at(30, 8), Rgb(clWhite));  // the columns start right of it
}

namespace {

// A grid that shows rows cut at the bottom as background only.
class ClippingGrid : public TDataGrid {
 public:
  using TDataGrid::TDataGrid;
  bool GetClipPartialRows() override { return true; }
};

}  // namespace

TEST_F(PaintGrid, ARowCutAtTheBottomShowsOnlyTheBackgroundWhenPartialRowsAreClipped) {
  TForm* form = NewForm(100, 40);
  auto* grid = new ClippingGrid(form);
  grid->SetParent(form);
  grid->SetBorderStyle(bsNone);
  grid->SetOptions(0);
  grid->SetBounds(0, 0, 100, 40);
  grid->SetColor(clWhite);
  AddTextColumn(grid, {}, 60)->SetColor(clYellow);
  grid->AddRow(3);
  Image image = Render(grid);
  EXPECT_EQ(image.at(10, 8), Rgb(clYellow));
  EXPECT_EQ(image.at(10, 24), Rgb(clYellow));
  EXPECT_EQ(image.at(10, 36), Rgb(clWhite));  // the third row, 32..48, does not fit
}

TEST_F(PaintGrid, PaintingGivesBackItsObjectsAndTheClipItFound) {
  TDataGrid* grid = WhiteGrid(3, 40, 200, 120);
  grid->SetOptions(goGrid | goHeader | goIndicator | goFooter | goInput | goSelectFullRow);
  grid->Columns()->Item(0)->SetSorted(true);
  grid->SetCaption(L"пусто");
  for (int row = 0; row < 40; ++row)
    grid->SetCellText(1, row, L"Станция " + std::to_wstring(row));
  grid->SelectRow(3);
  grid->SetFocus();

  efir::gdi::WindowDC screen;
  efir::gdi::Object<HBITMAP> bitmap(CreateCompatibleBitmap(screen, 200, 120));
  efir::gdi::MemoryDC dc(screen);
  efir::gdi::Selection keep(dc, bitmap.get());
  IntersectClipRect(dc, 10, 10, 150, 100);
  auto paintAll = [&] {
    for (int style = hsAuto; style <= hsVista; ++style) {
      grid->SetHeaderStyle(static_cast<THeaderStyle>(style));
      grid->SetEnableVisualStyles(style % 2 == 0);
      SendMessageW(grid->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(dc.get()), 0);
    }
  };
  paintAll();  // fonts and brushes made once are kept by their owners
  const int objects = GdiObjectCount();
  {
    efir::gdi::Object<HBRUSH> probe(CreateSolidBrush(RGB(1, 2, 3)));
    ASSERT_EQ(GdiObjectCount(), objects + 1);  // the count sees single objects
  }
  for (int i = 0; i < 30; ++i) paintAll();
  EXPECT_LE(GdiObjectCount(), objects);

  RECT box;
  EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
  EXPECT_EQ(Str(box), "10,10,150,100");
}

TEST_F(PaintGrid, AZeroSizeGridPaintsWithoutFault) {
  TDataGrid* grid = WhiteGrid(2, 3, 0, 0);
  grid->SetOptions(goGrid | goHeader | goIndicator | goFooter | goInput);
  efir::gdi::WindowDC screen;
  efir::gdi::MemoryDC dc(screen);
  SendMessageW(grid->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(dc.get()), 0);
  grid->SetGridStyle(gsSlides);
  SendMessageW(grid->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(dc.get()), 0);
  EXPECT_TRUE(shown.empty());
}

TEST_F(PaintGrid, SlidesShowTheirCellsAndFrameTheSelectedOne) {
  TDataGrid* grid = WhiteGrid(1, 3);
  grid->SetGridStyle(gsSlides);
  grid->SetSlideSize(36);
  grid->SetSelectionColor(clNavy);
  grid->Columns()->Item(0)->Font()->SetColor(clBlack);
  for (int row = 0; row < 3; ++row) grid->SetCellText(0, row, L"Эфир");
  grid->SelectRow(1);
  grid->SetFocus();
  Image image = Render(grid);
  // Each slide shows its cell at the column's slide bounds (8, 8, 80 wide, 16 high).
  for (int row : {0, 2}) {
    RECT text = InkBounds(image, {0, row * 36 + 4, 200, row * 36 + 32}, Rgb(clWhite));
    EXPECT_GE(text.left, 8 + 2) << row;
    EXPECT_LE(text.right, 8 + 80) << row;
    EXPECT_GE(text.top, row * 36 + 8) << row;
    EXPECT_LE(text.bottom, row * 36 + 8 + 16) << row;
  }
  EXPECT_EQ(image.at(9, 36 + 9), Rgb(clNavy));  // the selected slide's cell is highlighted
  EXPECT_EQ(image.at(87, 36 + 23), Rgb(clNavy));
  EXPECT_EQ(image.at(89, 36 + 9), Rgb(clWhite));
  // The selected slide's two frames, in the selection colour while the grid has the focus.
  EXPECT_EQ(image.at(1, 36 + 10), Rgb(clNavy));
  EXPECT_EQ(image.at(2, 36 + 10), Rgb(clNavy));
  EXPECT_EQ(image.at(3, 36 + 10), Rgb(clWhite));
  EXPECT_EQ(image.at(1, 10), Rgb(clWhite));
  EXPECT_EQ(image.at(100, 3 * 36 + 5), Rgb(clWhite));  // below the slides
}
