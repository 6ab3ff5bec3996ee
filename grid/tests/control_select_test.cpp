// Selecting cells: OnBeforeSelect always first; a disabled column, a refusal, an empty grid
// and a row that does not exist select nothing; full-row multi-selection with Ctrl and Shift.
#include <gtest/gtest.h>

#include "grid/tests/control_fixture.h"

using namespace gridtest;
using ControlSelect = GridTest;

TEST_F(ControlSelect, ACellIsSelectedAfterItsBeforeSelect) {
  TDataGrid* grid = LooseGrid();
  AddTextColumn(grid);
  AddTextColumn(grid);
  AddNamedRows(grid, 3);
  EventLog log;
  log.Attach(grid);
  grid->SelectCell(1, 2);
  grid->SelectCell(1, 2);  // again: reported again, nothing left
  grid->SelectCell(0, 1);
  EXPECT_EQ(log.Take(), (Lines{"before 1,2", "select 1,2", "before 1,2", "select 1,2",
                               "before 0,1", "deselect 1,2", "select 0,1"}));
  EXPECT_EQ(grid->SelectedColumn(), 0);
  EXPECT_EQ(grid->SelectedRow(), 1);
}

TEST_F(ControlSelect, RefusedCellsLeaveTheSelectionAlone) {
  TDataGrid* grid = LooseGrid();
  AddTextColumn(grid);
  TNxTextColumn* locked = AddTextColumn(grid);
  AddNamedRows(grid, 3);
  grid->SelectCell(0, 1);
  EventLog log;
  log.Attach(grid);

  locked->SetEnabled(false);  // the player's tiles while it connects
  grid->SelectCell(1, 2);
  grid->SelectCell(5, 0);     // no such column
  grid->SelectCell(0, 3);     // no such row
  grid->SelectCell(0, -2);
  EXPECT_EQ(log.Take(), (Lines{"before 1,2", "before 5,0", "before 0,3", "before 0,-2"}));

  grid->OnBeforeSelect = [](TObject*, int, int, bool& accept) { accept = false; };
  grid->SelectCell(0, 2);
  EXPECT_TRUE(log.lines.empty());
  EXPECT_EQ(grid->SelectedColumn(), 0);
  EXPECT_EQ(grid->SelectedRow(), 1);
}

TEST_F(ControlSelect, AnEmptyGridSelectsNothing) {
  TDataGrid* grid = LooseGrid();
  AddTextColumn(grid);
  EventLog log;
  log.Attach(grid);
  grid->SelectCell(0, 0);
  grid->SelectRow(0);
  EXPECT_EQ(log.Take(), (Lines{"before 0,0"}));
  EXPECT_EQ(grid->SelectedRow(), -1);
  grid->AddRow();
  EXPECT_EQ(grid->SelectedRow(), -1);  // the new row is not selected behind anyone's back
}

TEST_F(ControlSelect, NoRowClearsTheSelectionWithoutReportingACell) {
  TDataGrid* grid = LooseGrid();
  AddTextColumn(grid);
  AddNamedRows(grid, 2);
  grid->SetOptions(grid->Options() | goSelectFullRow);
  grid->SelectRow(1);
  EXPECT_TRUE(grid->GetRowSelected(1));
  EventLog log;
  log.Attach(grid);
  grid->SelectRow(-1);
  EXPECT_EQ(log.Take(), (Lines{"before 0,-1", "deselect 0,1"}));
  EXPECT_EQ(grid->SelectedRow(), -1);
  EXPECT_FALSE(grid->GetRowSelected(1));
}

TEST_F(ControlSelect, CtrlTogglesOneRowAndShiftSelectsFromTheAnchor) {
  TDataGrid* grid = LooseGrid();
  AddTextColumn(grid);
  AddNamedRows(grid, 6);
  grid->SetOptions(grid->Options() | goSelectFullRow | goMultiSelect);
  auto selected = [&] {
    std::string rows;
    for (int i = 0; i < grid->RowCount(); ++i) rows += grid->GetRowSelected(i) ? 'x' : '.';
    return rows;
  };
  grid->SelectRow(1);
  grid->SelectCell(0, 4, ssCtrl);
  EXPECT_EQ(selected(), ".x..x.");
  grid->SelectCell(0, 4, ssCtrl);
  EXPECT_EQ(selected(), ".x....");
  grid->SelectCell(0, 2, ssCtrl);  // the anchor
  grid->SelectCell(0, 5, ssShift);
  EXPECT_EQ(selected(), "..xxxx");  // row 1 is outside the range: cleared
  grid->SelectCell(0, 0, ssShift | ssCtrl);
  EXPECT_EQ(selected(), "xxxxxx");
  grid->SelectCell(0, 3);  // a plain click ends the multi-selection
  EXPECT_EQ(selected(), "...x..");
}

TEST_F(ControlSelect, APlainClickOnALockedColumnStillEndsTheMultiSelection) {
  TDataGrid* grid = LooseGrid();
  AddTextColumn(grid);
  TNxTextColumn* locked = AddTextColumn(grid);
  AddNamedRows(grid, 4);
  grid->SetOptions(grid->Options() | goSelectFullRow | goMultiSelect);
  grid->SelectRow(1);
  grid->SelectCell(0, 2, ssCtrl);
  locked->SetEnabled(false);
  EventLog log;
  log.Attach(grid);
  grid->SelectCell(1, 3, ssCtrl);  // Ctrl keeps the rows even when the cell is refused
  EXPECT_TRUE(grid->GetRowSelected(1) && grid->GetRowSelected(2));
  grid->SelectCell(1, 3);
  EXPECT_EQ(log.Take(), (Lines{"before 1,3", "before 1,3"}));
  EXPECT_EQ(grid->GetSelectedCount(), 0);
  EXPECT_EQ(grid->SelectedRow(), -1);
}

TEST_F(ControlSelect, MovingAcrossColumnsSkipsDisabledOnesAndTabWraps) {
  TDataGrid* grid = LooseGrid();
  AddTextColumn(grid);
  AddTextColumn(grid)->SetEnabled(false);
  AddTextColumn(grid);
  AddNamedRows(grid, 3);
  grid->SelectCell(0, 0);
  EventLog log;
  log.Attach(grid);
  grid->MoveSelectionRight(mkArrows);
  grid->TabForward(true);  // from the last column: the first of the next row
  EXPECT_EQ(grid->SelectedColumn(), 0);
  EXPECT_EQ(grid->SelectedRow(), 1);
  grid->TabBackward(true);  // and back
  EXPECT_EQ(grid->SelectedColumn(), 2);
  EXPECT_EQ(grid->SelectedRow(), 0);
  EXPECT_EQ(log.Take(), (Lines{"before 2,0", "deselect 0,0", "select 2,0",
                               "before 2,1", "deselect 2,0", "select 2,1",
                               "before 0,1", "deselect 2,1", "select 0,1",
                               "before 0,0", "deselect 0,1", "select 0,0",
                               "before 2,0", "deselect 0,0", "select 2,0"}));

  // A handler may send the selection elsewhere.
  grid->OnSelectionMove = [](TObject*, int& col, int, TMoveSelectionKey) { col = 0; };
  grid->MoveSelectionLeft(mkArrows);
  EXPECT_EQ(grid->SelectedColumn(), 0);
  grid->MoveSelectionBy(2);
  EXPECT_EQ(grid->SelectedRow(), 2);
  grid->MoveSelectionBy(-5);
  EXPECT_EQ(grid->SelectedRow(), 0);
}

TEST_F(ControlSelect, SelectedCellsTakeTheSelectionColours) {
  TDataGrid* grid = WindowGrid();
  TNxTextColumn* name = AddTextColumn(grid);
  TNxTextColumn* plain = AddTextColumn(grid);
  name->SetColor(clWhite);
  plain->SetColor(clWhite);
  AddNamedRows(grid, 3);
  grid->SetOptions(goSelectFullRow);
  grid->SetAppearanceOptions(0);
  grid->SetInactiveSelectionColor(clSilver);
  grid->SetSelectionColor(clRed);
  grid->SelectRow(1);
  ASSERT_FALSE(grid->Focused());
  EXPECT_EQ(grid->GetCellDrawColor(1, 1), clSilver);  // the whole row, without the focus
  EXPECT_EQ(grid->GetCellDrawColor(1, 0), clWhite);

  grid->SetAppearanceOptions(aoHideSelection);  // the player's tiles: nothing shows unfocused
  EXPECT_EQ(grid->GetCellDrawColor(1, 1), clWhite);

  grid->SetFocus();
  ASSERT_TRUE(grid->Focused());
  EXPECT_EQ(grid->GetCellDrawColor(1, 1), clRed);
  plain->SetOptions(plain->Options() | coDontHighlight);
  EXPECT_EQ(grid->GetCellDrawColor(1, 1), clWhite);
  EXPECT_EQ(grid->GetCellTextColor(0, 1), grid->HighlightedTextColor());

  // A quarter of the system highlight over the cell, whatever SelectionColor says.
  grid->SetAppearanceOptions(aoAlphaBlendedSelection);
  COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
  auto quarter = [](int h) { return (h * 64 + 255 * 192 + 128) / 256; };
  EXPECT_EQ(grid->GetCellDrawColor(0, 1),
            static_cast<TColor>(RGB(quarter(GetRValue(highlight)), quarter(GetGValue(highlight)),
                                    quarter(GetBValue(highlight)))));

  // The sorted column darkened by 10/256 where the selection does not show.
  grid->SetAppearanceOptions(aoIndicateSortedColumn);
  name->SetSorted(true);
  EXPECT_EQ(grid->GetCellDrawColor(0, 2), static_cast<TColor>(0xF4F4F4));
}
