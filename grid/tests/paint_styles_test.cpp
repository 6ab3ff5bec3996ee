// The header looks: every style paints its own header, a sorted column shows its arrow (up
// or down), an arrow that would reach the edge is dropped, the themed look differs from the
// classic one, and the parts around the rows (input row, footer, corners) are painted.
#include <gtest/gtest.h>

#include "framework/bitmap.h"
#include "grid/column_parts.h"
#include "grid/style_displays.h"
#include "grid/tests/paint_fixture.h"
#include "grid/theme_draw.h"
#include "tests/support/window.h"

using namespace gridtest;

namespace {

constexpr RECT kHeader{0, 0, 200, 18};

class PaintStyles : public GridTest {
 protected:
  // Two text columns under a header, the first sorted, on a classic (unthemed) grid.
  TDataGrid* HeaderGrid() {
    TDataGrid* grid = WindowGrid(200, 80);
    grid->SetColor(clWhite);
    grid->SetOptions(goHeader | goGrid);
    grid->SetEnableVisualStyles(false);
    grid->Font().SetColor(clBlack);
    AddTextColumn(grid, L"Имя", 100);
    AddTextColumn(grid, L"#", 60);
    grid->Columns()->Item(0)->SetSorted(true);
    grid->AddRow(2);
    return grid;
  }

  static std::vector<uint32_t> Header(TDataGrid* grid) { return Crop(Render(grid), kHeader); }
};

}  // namespace

TEST_F(PaintStyles, EveryStyleHasItsOwnHeaderAndShowsTheSortDirection) {
  TDataGrid* grid = HeaderGrid();
  TNxCustomColumn* sorted = grid->Columns()->Item(0);
  std::vector<std::vector<uint32_t>> looks;
  for (int style = hsAuto; style <= hsVista; ++style) {
    SCOPED_TRACE(style);
    grid->SetHeaderStyle(static_cast<THeaderStyle>(style));
    sorted->SetSortKind(skAscending);
    std::vector<uint32_t> ascending = Header(grid);
    sorted->SetSortKind(skDescending);
    std::vector<uint32_t> descending = Header(grid);
    sorted->SetSorted(false);
    std::vector<uint32_t> unsorted = Header(grid);
    sorted->SetSorted(true);
    EXPECT_NE(ascending, descending);
    EXPECT_NE(ascending, unsorted);
    // The arrow stays inside the sorted column's header.
    Image image = Render(grid);
    sorted->SetSorted(false);
    Image plain = Render(grid);
    sorted->SetSorted(true);
    EXPECT_EQ(Crop(image, {100, 0, 200, 18}), Crop(plain, {100, 0, 200, 18}));
    for (const auto& look : looks) EXPECT_NE(look, ascending);
    looks.push_back(ascending);
  }
}

TEST_F(PaintStyles, TheThemedHeaderDiffersFromTheClassicOne) {
  if (!grid::ThemesActive()) GTEST_SKIP() << "no visual styles on this system";
  TDataGrid* grid = HeaderGrid();
  std::vector<uint32_t> classic = Header(grid);
  grid->SetEnableVisualStyles(true);
  std::vector<uint32_t> themed = Header(grid);
  EXPECT_NE(themed, classic);
}

TEST_F(PaintStyles, WithoutThemesAPressedHeaderIsInverted) {
  TDataGrid* grid = HeaderGrid();
  TNxCustomColumn* column = grid->Columns()->Item(1);
  column->SetOptions(column->Options() & ~coCanSort);  // the click leaves the order alone
  const RECT second{100, 0, 160, 18};
  Image before = Render(grid);
  SendMessageW(grid->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, efir::test::At(130, 9));
  Image pressed = Render(grid);
  for (POINT p : {POINT{110, 9}, POINT{100, 5}, POINT{158, 17}})
    EXPECT_EQ(pressed.at(p.x, p.y), before.at(p.x, p.y) ^ 0xFFFFFF) << p.x << "," << p.y;
  EXPECT_EQ(Crop(pressed, {0, 0, 100, 18}), Crop(before, {0, 0, 100, 18}));
  SendMessageW(grid->Handle(), WM_LBUTTONUP, 0, efir::test::At(130, 9));
  EXPECT_EQ(Crop(Render(grid), second), Crop(before, second));
}

TEST_F(PaintStyles, AnArrowThatWouldReachTheEdgeIsDroppedUnlessItMayNot) {
  TDataGrid* grid = HeaderGrid();
  // No caption: the arrow starts at 2 + 2 + 19 = 23 and would end at 31, past the edge.
  TNxCustomColumn* narrow = grid->Columns()->Item(0);
  narrow->SetWidth(28);
  narrow->Header()->SetCaption({});
  std::vector<uint32_t> sorted = Header(grid);
  narrow->SetSorted(false);
  EXPECT_EQ(Header(grid), sorted);
  narrow->Header()->SetHideArrow(false);
  narrow->SetSorted(true);
  EXPECT_NE(Header(grid), sorted);
}

TEST_F(PaintStyles, ARightAlignedSortedCaptionMakesRoomForTheArrow) {
  TDataGrid* grid = HeaderGrid();
  TNxCustomColumn* column = grid->Columns()->Item(1);
  column->Header()->SetAlignment(taRightJustify);
  const RECT cell{103, 2, 157, 16};  // inside the header's frame lines
  const COLORREF face = Rgb(column->Header()->Color());
  RECT text = InkBounds(Render(grid), cell, face);
  EXPECT_GE(text.right, 154);  // "#" close to the right edge
  column->SetSorted(true);
  RECT withArrow = InkBounds(Render(grid), cell, face);
  EXPECT_LE(withArrow.left, text.left - 31);  // the caption moved left for the arrow
  EXPECT_GE(withArrow.right, 100 + 60 - 14);  // the arrow sits near the right edge
}

TEST_F(PaintStyles, InputRowFooterAndCornersArePainted) {
  TDataGrid* grid = HeaderGrid();
  grid->SetOptions(goHeader | goInput | goFooter | goIndicator);
  TNxCustomColumn* column = grid->Columns()->Item(0);
  column->SetInputCaption(L"новая");
  column->Footer()->SetColor(clYellow);
  column->Footer()->SetCaption(L"12");
  Image image = Render(grid);
  const RECT input = grid->GetInputRect(), footer = grid->GetFooterRect();
  EXPECT_GT(CountColor(image, {12, input.top, 112, input.top + 16}, Rgb(clGrayText)), 0);
  EXPECT_EQ(image.at(14, footer.top + 6), Rgb(clYellow));
  EXPECT_GT(CountColor(image, {12, footer.top + 4, 112, footer.bottom}, Rgb(clBlack)), 0);
  // The corners left of the header, input row and footer are the display's, not the grid's.
  EXPECT_NE(image.at(5, 9), Rgb(clWhite));
  EXPECT_NE(image.at(5, input.top + 5), Rgb(clWhite));
  EXPECT_NE(image.at(5, footer.top + 5), Rgb(clWhite));
}

TEST_F(PaintStyles, AFloatFooterShowsTextThatIsNoNumberAsZero) {
  TDataGrid* grid = HeaderGrid();
  grid->SetOptions(goFooter);
  TColumnFooter* footer = grid->Columns()->Item(0)->Footer();
  footer->SetFormatMask("0.00");
  footer->SetFormatMaskKind(mkFloat);
  const RECT cell = grid->GetFooterRect();
  auto shown = [&](const std::wstring& caption) {
    footer->SetCaption(caption);
    return Crop(Render(grid), {0, cell.top, 100, cell.bottom});
  };
  const std::vector<uint32_t> zero = shown(L"0");
  EXPECT_EQ(shown(L"нет"), zero);
  EXPECT_NE(shown(L"1"), zero);
}

// A text mask lays the caption out: the footer shows what the plain formatted text shows.
TEST_F(PaintStyles, ATextFooterIsLaidOutByItsMask) {
  TDataGrid* grid = HeaderGrid();
  grid->SetOptions(goFooter);
  TColumnFooter* footer = grid->Columns()->Item(0)->Footer();
  const RECT cell = grid->GetFooterRect();
  auto shown = [&](const std::string& mask, const std::wstring& caption) {
    footer->SetFormatMask(mask);
    footer->SetFormatMaskKind(mkText);
    footer->SetCaption(caption);
    return Crop(Render(grid), {0, cell.top, 100, cell.bottom});
  };
  EXPECT_EQ(shown("000-000;0;_", L"123456"), shown("", L"123-456"));
  EXPECT_NE(shown("000-000;0;_", L"123456"), shown("", L"123456"));
}

// While its input is edited the input cell is only framed: the editor covers the rest.
TEST_F(PaintStyles, AnEditedInputCellIsFramedNotFilled) {
  TDataGrid* grid = HeaderGrid();
  grid->SetOptions(goHeader | goInput);
  TNxCustomColumn* column = grid->Columns()->Item(0);
  column->SetColor(clYellow);
  const RECT input = grid->GetInputRect();
  Image plain = Render(grid);
  EXPECT_EQ(plain.at(20, input.top + 5), Rgb(clYellow));
  column->SetInputEditing(true);
  Image edited = Render(grid);
  EXPECT_EQ(edited.at(0, input.top), Rgb(clYellow)) << "the frame";
  EXPECT_NE(edited.at(20, input.top + 5), Rgb(clYellow)) << "the inside is left alone";
  column->SetInputEditing(false);
}

TEST_F(PaintStyles, ScreenshotsOfTilesAndAList) {
  TForm* form = NewForm(760, 300);
  form->SetColor(clWhite);

  auto* tiles = new TDataGrid(form);
  tiles->SetParent(form);
  tiles->SetBounds(0, 0, 457, 300);
  tiles->SetBorderStyle(bsNone);
  tiles->SetColor(clWhite);
  tiles->SetOptions(goDisableColumnMoving | goGrid);
  tiles->SetAppearanceOptions(aoHideFocus | aoHideSelection);
  tiles->SetGridLinesColor(clWhite);
  tiles->SetSelectionColor(clWhite);
  tiles->SetInactiveSelectionColor(clWhite);
  tiles->SetRowSize(90);
  for (int i = 0; i < 5; ++i) {
    auto* column = tiles->Columns()->Add(std::make_unique<TNxGraphicColumn>());
    column->SetWidth(91);
    column->SetColor(clWhite);
    column->SetStretch(i % 2 == 0);  // stretched and proportional side by side
    column->SetBorderWidth(i < 3 ? 0 : 1);
  }
  std::vector<std::unique_ptr<TBitmap>> logos;
  const TColor palette[] = {clRed, clGreen, clBlue, clOlive, clTeal, clPurple, clMaroon};
  tiles->AddRow(3);
  for (int n = 0; n < 13; ++n) {
    auto logo = std::make_unique<TBitmap>(60 + 20 * (n % 3), 60, pf24bit);
    logo->Canvas().Brush().SetColor(palette[n % 7]);
    logo->Canvas().FillRect({0, 0, logo->Width(), 60});
    tiles->GetCell(n % 5, n / 5)->CellObject = logo.get();
    logos.push_back(std::move(logo));
  }

  auto* list = new TDataGrid(form);
  list->SetParent(form);
  list->SetBounds(470, 0, 290, 300);
  list->SetOptions(goGrid | goHeader | goSelectFullRow | goIndicator);
  list->SetRowSize(18);
  auto* number = list->Columns()->Add(std::make_unique<TNxNumberColumn>());
  number->SetWidth(40);
  number->Header()->SetCaption(L"#");
  number->Header()->SetAlignment(taRightJustify);
  AddTextColumn(list, L"Радиостанция", 150)->SetSorted(true);
  auto* listen = AddTextColumn(list, L"Слушать", 70);
  listen->SetParentFont(false);
  listen->Font()->SetStyle(fsBold | fsUnderline);
  const wchar_t* names[] = {L"Эфир", L"Джаз", L"Рок", L"Блюз", L"Классика", L"Поп", L"Шансон"};
  for (int i = 0; i < 7; ++i) {
    int row = list->AddRow();
    list->SetCellText(0, row, std::to_wstring(i + 1));
    list->SetCellText(1, row, names[i]);
    list->SetCellText(2, row, L"Слушать");
  }
  list->SelectRow(2);
  list->SetFocus();

  efir::test::pumpFor(100);
  EXPECT_FALSE(efir::test::saveScreenshot(form->Handle(), "paint_tiles_and_list").empty());
  list->SetEnableVisualStyles(false);
  list->SetHeaderStyle(hsOutlook);
  list->SetGridStyle(gsReport);
  efir::test::pumpFor(100);
  EXPECT_FALSE(efir::test::saveScreenshot(list->Handle(), "paint_list_classic").empty());
}
