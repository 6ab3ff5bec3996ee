// The grid as the programs use it: tiles of five picture columns and a list of three text
// columns on one window, filled, sorted, filtered, selected and scrolled by code; a handler's
// error reaches the application's handler and leaves the grid working.
#include <gtest/gtest.h>

#include "framework/bitmap.h"
#include "framework/exceptions.h"
#include "grid/tests/control_fixture.h"
#include "tests/support/capture.h"
#include "tests/support/window.h"

using namespace gridtest;
using ControlWindow = GridTest;

TEST_F(ControlWindow, SortingMovesTheRowsBetweenItsTwoEvents) {
  TDataGrid* grid = LooseGrid();
  AddTextColumn(grid);
  AddTextColumn(grid);
  const wchar_t* names[] = {L"Рок", L"Джаз", L"Блюз", L"Поп"};
  for (const wchar_t* name : names) grid->SetCellText(1, grid->AddRow(), name);
  grid->SetOptions(grid->Options() | goSelectFullRow);
  grid->SelectRow(1);  // "Джаз"
  Lines log;
  grid->OnSortColumn = [&](TObject*, int c, bool ascending) {
    log.push_back("sort " + std::to_string(c) + (ascending ? " asc " : " desc ") +
                  efir::text::toAnsi(grid->GetCellText(1, 0)));
  };
  grid->OnSelectCell = [&](TObject*, int, int r) { log.push_back("select " + std::to_string(r)); };
  grid->OnAfterSort = [&](TObject*, int) {
    log.push_back("after " + efir::text::toAnsi(grid->GetCellText(1, 0)));
  };
  grid->SortColumn(grid->Columns()->Item(1), true);
  EXPECT_EQ(log, (Lines{"sort 1 asc Рок", "select 1", "after Блюз"}));
  EXPECT_EQ(grid->GetCellText(1, grid->SelectedRow()), L"Джаз");
  EXPECT_TRUE(grid->GetRowSelected(grid->SelectedRow()));

  log.clear();
  grid->SortColumn(grid->Columns()->Item(1), false);
  EXPECT_EQ(log.front(), "sort 1 desc Блюз");
  EXPECT_EQ(grid->GetCellText(1, 0), L"Рок");
  EXPECT_EQ(grid->GetCellText(1, grid->SelectedRow()), L"Джаз");
}

TEST_F(ControlWindow, AHandlersErrorReachesTheApplicationAndTheGridGoesOn) {
  TDataGrid* grid = WindowGrid();
  AddTextColumn(grid);
  AddNamedRows(grid, 30);
  HWND window = grid->Handle();
  grid->OnMouseDown = [](TObject*, TMouseButton, TShiftState, int, int) {
    throw EInOutError("Файл не найден");
  };
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, efir::test::At(10, 10));
  SendMessageW(window, WM_LBUTTONUP, 0, efir::test::At(10, 10));
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], "Файл не найден");

  grid->OnVerticalScroll = [](TObject*, int) { throw Exception("scroll handler"); };
  SendMessageW(window, WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_GE(shown.size(), 2u);
  EXPECT_EQ(grid->TopRow(), 1);  // the step itself was taken
  EXPECT_EQ(grid->VertScrollBar().Position(), 1);
  EXPECT_FALSE(grid->IsUpdating());

  grid->OnVerticalScroll = nullptr;
  Lines log;
  grid->OnSelectCell = [&](TObject*, int c, int r) {
    log.push_back(std::to_string(c) + "," + std::to_string(r));
  };
  grid->SelectCell(0, 12);
  grid->ScrollToRow(25);
  EXPECT_EQ(log, (Lines{"0,12"}));
  EXPECT_EQ(grid->LastRowInView(), 25);
}

namespace {

// A tile picture: a coloured square with a darker frame.
std::unique_ptr<TBitmap> Tile(TColor color) {
  auto bitmap = std::make_unique<TBitmap>(60, 60, pf24bit);
  bitmap->Canvas().Brush().SetColor(color);
  bitmap->Canvas().FillRect({0, 0, 60, 60});
  bitmap->Canvas().Brush().SetColor(clNavy);
  bitmap->Canvas().FrameRect({0, 0, 60, 60});
  return bitmap;
}

}  // namespace

TEST_F(ControlWindow, TilesAndAListOnOneWindow) {
  TForm* form = NewForm(760, 300);
  form->SetColor(clWhite);

  auto* tiles = new TDataGrid(form);
  tiles->SetParent(form);
  tiles->SetBounds(0, 0, 470, 300);
  tiles->SetBorderStyle(bsNone);
  tiles->SetOptions(0);
  tiles->SetRowSize(90);
  tiles->SetColor(static_cast<TColor>(0xFAFAFB));
  for (int i = 0; i < 5; ++i) {
    auto* column = tiles->Columns()->Add(std::make_unique<TNxGraphicColumn>());
    column->SetWidth(91);
    column->SetColor(static_cast<TColor>(0xFAFAFB));
  }
  std::vector<std::unique_ptr<TBitmap>> logos;
  const TColor palette[] = {clRed, clGreen, clBlue, clOlive, clTeal, clPurple, clMaroon};
  int c = 0, r = tiles->AddRow();
  for (int n = 0; n < 23; ++n) {  // the player fills five tiles a row
    logos.push_back(Tile(palette[n % 7]));
    tiles->GetCell(c, r)->CellObject = logos.back().get();
    if (++c == 5) {
      c = 0;
      r = tiles->AddRow();
    }
  }
  EXPECT_EQ(tiles->RowCount(), 5);

  auto* list = new TDataGrid(form);
  list->SetParent(form);
  list->SetBounds(480, 0, 280, 300);
  list->SetOptions(goGrid | goHeader | goSelectFullRow);
  list->SetRowSize(18);
  auto* number = list->Columns()->Add(std::make_unique<TNxNumberColumn>());
  number->SetWidth(40);
  number->Header()->SetCaption(L"#");
  number->SetSortType(stNumeric);
  AddTextColumn(list, L"Радиостанция", 150);
  AddTextColumn(list, L"Слушать", 65);
  const wchar_t* names[] = {L"Эфир",   L"Джаз",    L"Рок",     L"Блюз",  L"Классика",   L"Поп",
                            L"Шансон", L"Новости", L"Детское", L"Ретро", L"Радио Дача", L"Лаунж",
                            L"Танцы",  L"Кантри",  L"Регги",   L"Фолк",  L"Опера"};
  for (int i = 0; i < 17; ++i) {
    int row = list->AddRow();
    list->SetCellText(0, row, std::to_wstring(i + 1));
    list->SetCellText(1, row, names[i]);
    list->SetCellText(2, row, L">>>>>>");
  }

  Lines log;
  tiles->OnSelectCell = [&](TObject*, int col, int row) {
    log.push_back("tile " + std::to_string(col + 5 * row + 1));
  };
  list->OnSelectCell = [&](TObject*, int, int row) {
    log.push_back("list " + efir::text::toAnsi(list->GetCellText(0, row)));
  };

  // The player locks its tiles while it connects: a tile selects nothing meanwhile.
  for (int i = 0; i < 5; ++i) tiles->Columns()->Item(i)->SetEnabled(false);
  tiles->SelectCell(2, 1);
  for (int i = 0; i < 5; ++i) tiles->Columns()->Item(i)->SetEnabled(true);
  tiles->SelectCell(2, 1);
  tiles->ScrollToRow(4);
  EXPECT_EQ(tiles->LastRowInView(), 4);

  list->SortColumn(list->Columns()->Item(1), true);
  for (int row = 0; row < list->RowCount(); ++row) {  // the player's filter "р"
    std::wstring name = list->GetCellText(1, row);
    CharUpperBuffW(name.data(), static_cast<DWORD>(name.size()));
    list->SetRowVisible(row, name.find(L'Р') != std::wstring::npos);
  }
  EXPECT_EQ(list->GetShownRowCount(), 7);
  int found = list->FirstShownRow();
  list->SelectRow(found);
  list->ScrollToRow(found);
  EXPECT_EQ(log, (Lines{"tile 8", "list 14"}));  // "Кантри" sorts first among them

  efir::test::pumpFor(100);
  std::string path = efir::test::saveScreenshot(form->Handle(), "grid_control");
  EXPECT_FALSE(path.empty());
  efir::test::Image image = efir::test::captureWindow(list->Handle());
  EXPECT_GT(image.width, 0);
}

TEST_F(ControlWindow, HandlersThatFailMidOperationLeaveTheGridConsistent) {
  TDataGrid* grid = WindowGrid(200, 160);
  AddTextColumn(grid);
  AddNamedRows(grid, 30);
  grid->SetOptions(goSelectFullRow);
  grid->SelectRow(7);
  grid->OnSelectCell = [](TObject*, int, int) { throw EInOutError("Файл не найден"); };
  EXPECT_THROW(grid->SortColumn(grid->Columns()->Item(0), false), EInOutError);
  EXPECT_EQ(grid->GetCellText(0, 0), L"r9");  // sorted all the same
  EXPECT_EQ(grid->GetCellText(0, grid->SelectedRow()), L"r7");
  EXPECT_TRUE(grid->GetRowSelected(grid->SelectedRow()));
  EXPECT_EQ(grid->GetSelectedCount(), 1);

  grid->ScrollToRow(29);
  grid->OnVerticalScroll = [](TObject*, int) { throw Exception("scroll handler"); };
  for (int i = 0; i < 10; ++i) grid->SetRowVisible(i, false);
  EXPECT_FALSE(shown.empty());  // reported, and the filter went on
  EXPECT_EQ(grid->GetShownRowCount(), 20);
  EXPECT_EQ(grid->VertScrollBar().Max(), 20);
  EXPECT_EQ(grid->VertScrollBar().Position(), grid->CountShownRows(0, grid->TopRow()));
  EXPECT_EQ(grid->LastRowInView(), 29);
}

TEST_F(ControlWindow, MouseEventsReachTheGridsHandlers) {
  TDataGrid* grid = WindowGrid();
  AddTextColumn(grid);
  AddNamedRows(grid, 3);
  Lines log;
  grid->OnMouseEnter = [&](TObject* sender) {
    log.push_back("enter");
    static_cast<TDataGrid*>(sender)->SetFocus();  // what the player's tiles do
  };
  grid->OnMouseDown = [&](TObject*, TMouseButton button, TShiftState, int x, int y) {
    log.push_back("down " + std::to_string(button) + " " + std::to_string(x) + "," +
                  std::to_string(y));
  };
  grid->OnMouseUp = [&](TObject*, TMouseButton button, TShiftState, int, int) {
    log.push_back("up " + std::to_string(button));
  };
  HWND window = grid->Handle();
  SendMessageW(window, WM_MOUSEMOVE, 0, efir::test::At(30, 20));
  SendMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, efir::test::At(30, 20));
  SendMessageW(window, WM_RBUTTONUP, 0, efir::test::At(30, 20));
  EXPECT_EQ(log, (Lines{"enter", "down 1 30,20", "up 1"}));
  EXPECT_TRUE(grid->Focused());
}
