// The column cell painters: pictures placed by margin, border and proportions (a missing
// picture draws nothing), texts inside their cell.
#include <gtest/gtest.h>

#include "framework/bitmap.h"
#include "grid/cell_painters.h"
#include "grid/tests/paint_fixture.h"

using namespace gridtest;

namespace {

std::unique_ptr<TBitmap> Picture(int width, int height, TColor color) {
  auto bitmap = std::make_unique<TBitmap>(width, height, pf24bit);
  bitmap->Canvas().Brush().SetColor(color);
  bitmap->Canvas().FillRect({0, 0, width, height});
  return bitmap;
}

class PaintCells : public GridTest {
 protected:
  // One picture column of 48 x 48 cells on a white grid.
  TNxGraphicColumn* PictureGrid(int rowSize = 48) {
    grid = WindowGrid(120, 120);
    grid->SetColor(clWhite);
    grid->SetRowSize(rowSize);
    auto* column = grid->Columns()->Add(std::make_unique<TNxGraphicColumn>());
    column->SetWidth(48);
    column->SetColor(clWhite);
    grid->AddRow();
    return column;
  }

  TDataGrid* grid = nullptr;
};

}  // namespace

TEST(PaintProportional, ScalesToTouchTwoSidesAndCentresAlongTheOthers) {
  struct Case {
    int width, height;
    RECT area, drawn;
  } cases[] = {
      {100, 50, {0, 0, 40, 40}, {0, 10, 40, 30}},   // wide: full width, centred vertically
      {50, 100, {0, 0, 40, 40}, {10, 0, 30, 40}},   // tall: full height, centred across
      {10, 10, {5, 5, 45, 25}, {15, 5, 35, 25}},    // small ones grow
      {20, 20, {0, 0, 40, 40}, {0, 0, 40, 40}},     // same proportions fill the area
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Str(grid::ProportionalRect(c.area, c.width, c.height)), Str(c.drawn))
        << c.width << "x" << c.height;
  }
}

TEST_F(PaintCells, APictureFillsItsMarginOrKeepsItsProportions) {
  TNxGraphicColumn* column = PictureGrid();
  column->SetBorderWidth(0);
  auto logo = Picture(100, 50, clRed);
  grid->GetCell(0, 0)->CellObject = logo.get();
  const RECT cell{0, 0, 48, 48};

  // 40 x 20 in the 40 x 40 area inside the margin, vertically centred.
  EXPECT_EQ(Str(InkBounds(Render(grid), cell, Rgb(clWhite))), "4,14,44,34");

  column->SetStretch(true);
  Image stretched = Render(grid);
  EXPECT_EQ(Str(InkBounds(stretched, cell, Rgb(clWhite))), "4,4,44,44");
  EXPECT_EQ(CountColor(stretched, {4, 4, 44, 44}, Rgb(clRed)), 40 * 40);
}

TEST_F(PaintCells, AMissingPictureShowsOnlyTheBackgroundAndTheBorderFrames) {
  PictureGrid();
  Image image = Render(grid);
  const RECT frame{4, 4, 44, 44};
  EXPECT_EQ(Str(InkBounds(image, {0, 0, 120, 120}, Rgb(clWhite))), Str(frame));
  EXPECT_EQ(CountColor(image, frame, Rgb(clBtnFace)), 4 * 40 - 4);

  // A selected cell shows its selection colour with frames in the highlight text colour.
  grid->SetAppearanceOptions(0);
  grid->SetInactiveSelectionColor(clNavy);
  grid->SelectCell(0, 0);
  image = Render(grid);
  EXPECT_EQ(image.at(4, 20), Rgb(clHighlightText));
  EXPECT_EQ(image.at(20, 20), Rgb(clNavy));
}

TEST_F(PaintCells, ACellSmallerThanItsMarginsDrawsNoPicture) {
  PictureGrid(6);
  auto logo = Picture(30, 30, clRed);
  grid->GetCell(0, 0)->CellObject = logo.get();
  Image image = Render(grid);
  EXPECT_EQ(CountColor(image, {0, 0, 120, 120}, Rgb(clRed)), 0);
}

TEST_F(PaintCells, TextStaysInsideItsCell) {
  grid = WindowGrid(300, 60);
  grid->SetColor(clWhite);
  grid->SetRowSize(20);
  grid->Font().SetColor(clBlack);
  AddTextColumn(grid, {}, 100)->SetColor(clWhite);
  auto* numbers = grid->Columns()->Add(std::make_unique<TNxNumberColumn>());
  numbers->SetWidth(100);
  numbers->SetColor(clWhite);
  AddTextColumn(grid, {}, 100)->SetColor(clWhite);
  grid->AddRow(2);
  grid->SetCellText(0, 0, L"Радио");
  grid->SetCellText(1, 0, L"42");
  grid->SetCellText(0, 1, std::wstring(40, L'Ш'));  // far wider than the column

  Image image = Render(grid);
  const COLORREF white = Rgb(clWhite);
  RECT text = InkBounds(image, {0, 0, 100, 20}, white);
  EXPECT_GE(text.left, 2);
  EXPECT_LE(text.left, 4);  // left-aligned, 2 pixels in
  EXPECT_GT(text.top, 0);
  EXPECT_LT(text.bottom, 20);
  EXPECT_NEAR(text.top + text.bottom, 20, 3);  // vertically centred

  RECT number = InkBounds(image, {100, 0, 200, 20}, white);
  EXPECT_LE(number.right, 198);  // right-aligned, 2 pixels in
  EXPECT_GE(number.right, 194);

  RECT cut = InkBounds(image, {0, 20, 190, 40}, white);  // the number column shows its "0"
  EXPECT_LE(cut.right, 98);  // ends with an ellipsis inside its own cell
  EXPECT_GT(cut.right, 80);
}
