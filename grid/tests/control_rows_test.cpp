// The data grid's rows and cells: what AddRow returns and raises, the bounds of cell access,
// the selection across row deletes and inserts, the footer formulas, and tear-down.
#include <gtest/gtest.h>

#include "framework/bitmap.h"
#include "framework/exceptions.h"
#include "grid/column_parts.h"
#include "grid/grid_error.h"
#include "grid/tests/control_fixture.h"
#include "grid/tests/pinned_locale.h"

using namespace gridtest;
using ControlRows = GridTest;

TEST_F(ControlRows, AddRowReturnsTheIndexOfTheLastNewRow) {
  TDataGrid* grid = LooseGrid();
  AddTextColumn(grid);
  EventLog log;
  log.Attach(grid);
  EXPECT_EQ(grid->AddRow(), 0);
  EXPECT_EQ(grid->AddRow(1), 1);
  EXPECT_EQ(grid->AddRow(1), 2);
  EXPECT_EQ(grid->AddRow(0), 2);  // nothing added, nothing raised
  EXPECT_EQ(grid->RowCount(), 3);
  EXPECT_EQ(log.Take(), (Lines{"data 2 0", "data 2 1", "data 2 2"}));

  grid->ClearRows();
  EXPECT_EQ(grid->RowCount(), 0);
  EXPECT_EQ(grid->AddRow(0), 2);  // the index last added survives the clearing
  EXPECT_EQ(log.Take(), (Lines{"data 7 -1"}));
  EXPECT_EQ(grid->AddRow(2), 1);
}

TEST_F(ControlRows, DefaultValuesAreCellChangesBeforeTheRowsAreReported) {
  TDataGrid* grid = LooseGrid();
  AddTextColumn(grid);
  grid->Columns()->Add(std::make_unique<TNxNumberColumn>());  // DefaultValue "0"
  grid->SetOptions(grid->Options() | goUseDefaultValues);
  EventLog log;
  log.Attach(grid);
  EXPECT_EQ(grid->AddRow(3), 2);
  EXPECT_EQ(log.Take(), (Lines{"change 1,0", "change 1,1", "change 1,2", "data 2 2"}));
  EXPECT_EQ(grid->GetCellText(1, 2), L"0");
  EXPECT_EQ(grid->GetCellText(0, 2), L"");
}

TEST_F(ControlRows, ADefaultValueTheColumnRefusesStillLeavesTheRowsReported) {
  gridtest::PinnedSeparators separators(',', ' ');
  TDataGrid* grid = LooseGrid();
  grid->Columns()->Add(std::make_unique<TNxNumberColumn>())->SetDefaultValue(L"abc");
  grid->SetOptions(grid->Options() | goUseDefaultValues);
  EventLog log;
  log.Attach(grid);
  EXPECT_THROW(grid->AddRow(2), EConvertError);
  EXPECT_EQ(grid->RowCount(), 2);
  EXPECT_EQ(grid->LastAddedRow(), 1);
  EXPECT_EQ(grid->LastShownRow(), 1);
  EXPECT_EQ(log.Take(), (Lines{"data 2 1"}));
}

TEST_F(ControlRows, CellAccessOutsideTheGridRaisesAndChangesNothing) {
  TDataGrid* grid = LooseGrid();
  AddTextColumn(grid);
  AddNamedRows(grid, 2);
  EventLog log;
  log.Attach(grid);
  struct Case {
    int col, row;
    const char* message;
  } cases[] = {{0, 2, "Cell out of bounds (0, 2)"},
               {-1, 0, "Cell out of bounds (-1, 0)"},
               {1, 0, "Cell out of bounds (1, 0)"},
               {0, -1, "Cell out of bounds (0, -1)"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    try {
      grid->GetCellText(c.col, c.row);
      ADD_FAILURE() << "no error";
    } catch (const EGridError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
    try {
      grid->SetCellText(c.col, c.row, L"x");
      ADD_FAILURE() << "no error";
    } catch (const EGridError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
  EXPECT_EQ(grid->RowCount(), 2);
  EXPECT_EQ(grid->GetCellText(0, 0), L"r0");
  EXPECT_EQ(grid->GetCellText(0, 1), L"r1");
  EXPECT_TRUE(log.lines.empty());
}

TEST_F(ControlRows, PicturesStayInTheirCellsAndWithTheirOwner) {
  TDataGrid* grid = LooseGrid();
  for (int i = 0; i < 5; ++i) grid->Columns()->Add(std::make_unique<TNxGraphicColumn>());
  TBitmap logo(8, 8);
  int row = grid->AddRow();
  grid->GetCell(3, row)->CellObject = &logo;
  TCellInfo info;
  grid->GetCellInfo(3, row, info);
  EXPECT_EQ(info.ObjectReference, &logo);
  grid->ClearRows();  // the picture is the caller's: still alive below
  EXPECT_EQ(logo.Width(), 8);
}

TEST_F(ControlRows, DeletingRowsKeepsTheSelectionOnItsRecord) {
  TDataGrid* grid = LooseGrid();
  AddTextColumn(grid);
  AddNamedRows(grid, 6);
  grid->SelectCell(0, 3);
  EventLog log;
  log.Attach(grid);

  grid->DeleteRow(1);  // above the selection
  EXPECT_EQ(grid->SelectedRow(), 2);
  EXPECT_EQ(grid->GetCellText(0, grid->SelectedRow()), L"r3");
  grid->DeleteRow(4);  // below it
  EXPECT_EQ(grid->GetCellText(0, grid->SelectedRow()), L"r3");
  EXPECT_EQ(log.Take(), (Lines{"data 6 1", "data 6 4"}));

  grid->DeleteRow(2);  // the selected record itself: its listeners hear that it went
  EXPECT_EQ(log.Take(), (Lines{"deselect 0,2", "data 6 2"}));
  EXPECT_EQ(grid->RowCount(), 3);

  grid->SelectCell(0, 2);  // the last row
  log.Take();
  int selectedWhileDeselecting = -2;
  auto deselect = grid->OnDeselectCell;
  grid->OnDeselectCell = [&](TObject* sender, int c, int r) {
    selectedWhileDeselecting = grid->SelectedRow();
    deselect(sender, c, r);
  };
  grid->DeleteRow(2);
  EXPECT_EQ(log.Take(), (Lines{"deselect 0,2", "data 6 2"}));
  EXPECT_EQ(selectedWhileDeselecting, 2);  // heard before the selection moved
  EXPECT_EQ(grid->SelectedRow(), 1);  // the new last shown row
  grid->OnDeselectCell = deselect;

  grid->SelectRow(-1);
  log.Take();
  grid->DeleteRow(1);  // nothing selected: nothing to deselect
  EXPECT_EQ(log.Take(), (Lines{"data 6 1"}));
}

TEST_F(ControlRows, InsertingARowNeverSelectsOne) {
  TDataGrid* grid = LooseGrid();
  AddTextColumn(grid);
  AddNamedRows(grid, 3);
  EventLog log;
  log.Attach(grid);
  grid->InsertRow(0);
  EXPECT_EQ(grid->SelectedRow(), -1);
  EXPECT_EQ(log.Take(), (Lines{"data 4 0"}));

  grid->SelectCell(0, 2);  // "r1"
  log.Take();
  grid->InsertRow(1);  // above: the record moves down
  EXPECT_EQ(grid->GetCellText(0, grid->SelectedRow()), L"r1");
  grid->InsertRow(4);  // below: nothing moves
  EXPECT_EQ(grid->GetCellText(0, grid->SelectedRow()), L"r1");
  EXPECT_EQ(log.Take(), (Lines{"data 4 1", "data 4 4"}));
  EXPECT_EQ(grid->LastAddedRow(), 4);
}

TEST_F(ControlRows, FooterFormulasCountOnlyTheRowsKept) {
  gridtest::PinnedSeparators separators(',', ' ');
  TDataGrid* grid = LooseGrid();
  auto* number = grid->Columns()->Add(std::make_unique<TNxNumberColumn>());
  auto* text = AddTextColumn(grid);
  const wchar_t* values[] = {L"2", L"4", L"6", L"100"};
  const wchar_t* names[] = {L"Радио", L"радио", L"Джаз", L"Рок"};
  for (int i = 0; i < 4; ++i) {
    grid->AddRow();
    grid->SetCellText(0, i, values[i]);
    grid->SetCellText(1, i, names[i]);
  }
  grid->OnCalculateRow = [](TObject*, int index, bool& accept) { accept = index != 3; };
  // The average shares the kept rows' sum over all rows, as the count counts all rows.
  struct Case {
    TFormulaKind kind;
    double value;
  } cases[] = {{fkSum, 12}, {fkAverage, 3}, {fkCount, 4}, {fkMaximum, 6}, {fkMinimum, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    number->Footer()->SetFormulaKind(c.kind);
    grid->CalculateFooter(false);
    EXPECT_DOUBLE_EQ(number->Footer()->FormulaValue(), c.value);
  }
  text->Footer()->SetFormulaKind(fkDistinct);  // "Радио" and "радио" are one text
  number->Footer()->SetFormulaKind(fkAverage);
  grid->OnCalculateRow = nullptr;
  grid->SetCellText(0, 3, L"0,5");
  grid->CalculateFooter(false);
  EXPECT_DOUBLE_EQ(text->Footer()->FormulaValue(), 3);
  EXPECT_EQ(number->Footer()->Caption(), L"3,125");

  grid->ClearRows();
  grid->CalculateFooter(false);
  EXPECT_EQ(number->Footer()->Caption(), L"0");
}

namespace {

// Reports every column data notice that reaches it, as the cell store's owner would act on it.
class WatchedGrid : public TDataGrid {
 public:
  WatchedGrid(TComponent* owner, int& notices) : TDataGrid(owner), notices_(notices) {}

 protected:
  void ColumnsDataChange(int Kind, int Index, int Extra) override {
    ++notices_;
    TDataGrid::ColumnsDataChange(Kind, Index, Extra);
  }

 private:
  int& notices_;
};

}  // namespace

TEST_F(ControlRows, TearDownNeverReachesTheCellStore) {
  for (bool windowed : {false, true}) {
    SCOPED_TRACE(windowed);
    int notices = 0;
    TForm* form = windowed ? NewForm() : nullptr;
    auto* grid = new WatchedGrid(form, notices);
    if (form) grid->SetParent(form);
    AddTextColumn(grid);
    grid->Columns()->Add(std::make_unique<TNxGraphicColumn>());
    AddNamedRows(grid, 3);
    EXPECT_EQ(notices, 2);
    grid->Free();
    EXPECT_EQ(notices, 2);
  }
  int notices = 0;
  auto* grid = new WatchedGrid(nullptr, notices);  // freed without its first phase
  AddTextColumn(grid);
  delete grid;
  EXPECT_EQ(notices, 1);
}

TEST_F(ControlRows, ChildRowsFollowTheirParentsExpandedState) {
  TDataGrid* grid = LooseGrid();
  AddTextColumn(grid);
  AddNamedRows(grid, 3);
  EventLog log;
  log.Attach(grid);
  grid->InsertChildRow(0, true);  // row 1
  grid->InsertChildRow(0, true);  // row 2, after the first child
  grid->InsertChildRow(1, false);  // row 2 again: the first child of row 1
  EXPECT_EQ(log.Take(), (Lines{"data 1 1", "data 1 2", "data 1 2"}));
  EXPECT_EQ(grid->RowCount(), 6);
  EXPECT_EQ(grid->GetRowLevel(2), 2);
  EXPECT_EQ(grid->GetCellText(0, 4), L"r1");
  EXPECT_EQ(grid->GetShownRowCount(), 6);

  int expanded = -1;
  grid->OnExpand = [&](TObject*, int row) { expanded = row; };
  grid->SetExpanded(0, false);
  EXPECT_EQ(expanded, 0);
  EXPECT_EQ(grid->GetShownRowCount(), 3);
  EXPECT_FALSE(grid->RowVisible(2));
  EXPECT_EQ(grid->LastShownRow(), 5);

  grid->SetExpanded(1, false);  // hidden itself; its child stays hidden when row 0 opens
  grid->SetExpanded(0, true);
  EXPECT_EQ(grid->GetShownRowCount(), 5);
  EXPECT_TRUE(grid->RowVisible(1));
  EXPECT_FALSE(grid->RowVisible(2));
}

TEST_F(ControlRows, ExportWritesOneLinePerRow) {
  TDataGrid* grid = LooseGrid();
  AddTextColumn(grid);
  AddTextColumn(grid);
  grid->AddRow(2);
  grid->SetCellText(0, 0, L"Эфир\r\nПлюс");
  grid->SetCellText(1, 0, L"1");
  grid->SetCellText(0, 1, L"Джаз");
  std::string buffer;
  grid->ExportToBuffer(';', buffer);
  EXPECT_EQ(buffer, ";Эфир%\r\nПлюс;1;\r\nДжаз;");
}

// The tree: r0 { a { b }, c }, r1, r2 by level, walked by siblings and parents.
TEST_F(ControlRows, TheTreeIsWalkedBySiblingsAndParents) {
  TDataGrid* grid = LooseGrid();
  AddTextColumn(grid);
  AddNamedRows(grid, 3);
  grid->InsertChildRow(0, true);   // 1: a
  grid->InsertChildRow(1, true);   // 2: b, under a
  grid->InsertChildRow(0, true);   // 3: c, after a's subtree
  ASSERT_EQ(grid->RowCount(), 6);  // r0 a b c r1 r2
  struct Case {
    int row, sibling, parent;
  } cases[] = {{0, 4, -1}, {1, 3, 0}, {2, -1, 1}, {3, -1, 0}, {4, 5, -1}, {5, -1, -1}};
  for (const Case& c : cases) {
    int index = c.row, sibling = 0;
    grid->GetTreeLinks(index, sibling);
    EXPECT_EQ(sibling, c.sibling) << c.row;
    EXPECT_EQ(index, c.parent) << c.row;
  }
  const int step = grid->RowSize() + grid->LineWidth(lkRowExtra);
  int count = 0, height = 0;
  grid->CountSubtree(0, count, height);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(height, 4 * step);
  grid->SetExpanded(1, false);  // b is under a collapsed row: its height no longer counts
  grid->CountSubtree(0, count, height);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(height, 3 * step);
  grid->SetExpanded(0, false);
  grid->CountSubtree(0, count, height);
  EXPECT_EQ(height, step);
}
