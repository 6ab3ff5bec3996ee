// Rows under the mouse, where the grid allows it: a row's border in the indicator drags its
// height (never below 8 pixels); a cell dragged more than 5 pixels moves its row, asking
// OnRowMove first.
#include <gtest/gtest.h>

#include "grid/tests/drag_fixture.h"

using namespace gridtest;
using RowDrag = DragTest;

namespace {

// With the indicator, row r spans y 18 + 16r .. 34 + 16r and the columns start at x 12.
constexpr TGridOptions kRowOptions = goHeader | goIndicator | goRowResizing | goRowMoving;

Lines FirstRows(TDataGrid* grid, int count) {
  Lines rows;
  for (int i = 0; i < count; ++i) rows.push_back(efir::text::toAnsi(grid->GetCellText(0, i)));
  return rows;
}

}  // namespace

TEST_F(RowDrag, ABorderDraggedSetsTheRowsHeightOfAtLeastEightPixels) {
  struct Case {
    int to;
    int height;
    Lines events;
  } cases[] = {
      {60, 42, {"height 0 42"}},
      {20, 8, {"height 0 8"}},  // above the row's top + 8
      {34, 16, {}},             // where it was
  };
  for (const Case& c : cases) {
    TDataGrid* grid = HeaderGrid(kRowOptions);
    log.Take();
    Press(grid, 5, 33);  // row 0's bottom border
    EXPECT_EQ(grid->Drag(), gdRowResize);
    Drag(grid, 5, 100);
    Drag(grid, 5, c.to);
    Release(grid, 5, c.to);
    EXPECT_EQ(grid->GetRowHeight(0), c.height) << c.to;
    EXPECT_EQ(log.Take(), c.events) << c.to;
    EXPECT_EQ(grid->GetRowTop(1), 18 + c.height) << "the rows below follow";
    ExpectNoDragLeft(grid);
  }

  // Without goRowResizing the border press selects the row.
  TDataGrid* grid = HeaderGrid(goHeader | goIndicator);
  Press(grid, 5, 33);
  EXPECT_EQ(grid->Drag(), gdNone);
  EXPECT_EQ(grid->SelectedRow(), 0);
  Release(grid, 5, 33);
}

TEST_F(RowDrag, TheRightButtonDragsABorderTooAndOnlyItsReleaseEndsTheDrag) {
  TDataGrid* grid = HeaderGrid(kRowOptions);
  log.Take();
  Send(grid, WM_MOUSEMOVE, 5, 33, 0);
  Send(grid, WM_RBUTTONDOWN, 5, 33, MK_RBUTTON);  // row 0's bottom border
  EXPECT_EQ(grid->Drag(), gdRowResize);
  Send(grid, WM_MOUSEMOVE, 5, 50, MK_RBUTTON);
  Send(grid, WM_LBUTTONUP, 5, 50, MK_RBUTTON);  // not the button that holds the border
  EXPECT_EQ(grid->Drag(), gdRowResize);
  Send(grid, WM_MOUSEMOVE, 5, 60, MK_RBUTTON);
  Send(grid, WM_RBUTTONUP, 5, 60, 0);
  EXPECT_EQ(grid->GetRowHeight(0), 42);
  EXPECT_EQ(log.Take(), (Lines{"height 0 42"}));
  ExpectNoDragLeft(grid);
}

TEST_F(RowDrag, ACellDraggedMovesItsRowWhereOnRowMoveAgrees) {
  struct Case {
    const char* what;
    int from, to;  // y of the press and of the release
    bool accept;
    Lines events;
    Lines rows;
  } cases[] = {
      {"down by one", 26, 45, true, {"rowmove 0>1", "moved 0>1"}, {"r1", "r0", "r2", "r3"}},
      {"up by two", 74, 36, true, {"rowmove 3>1", "moved 3>1"}, {"r0", "r3", "r1", "r2"}},
      {"refused", 26, 45, false, {"rowmove 0>1"}, {"r0", "r1", "r2", "r3"}},
      {"below the last row", 26, 190, true, {}, {"r0", "r1", "r2", "r3"}},
  };
  for (const Case& c : cases) {
    TDataGrid* grid = HeaderGrid(kRowOptions);
    acceptRowMove = c.accept;
    Press(grid, 40, c.from);
    const int selected = grid->SelectedRow();
    log.Take();
    Drag(grid, 40, c.from + 5);
    EXPECT_EQ(grid->Drag(), gdNone) << "5 pixels are not a drag";
    Drag(grid, 40, c.from + (c.to > c.from ? 6 : -6));
    EXPECT_EQ(grid->Drag(), gdRowMove) << c.what;
    EXPECT_EQ(Screen.Cursor(), crDrag);
    Drag(grid, 40, c.to);
    Release(grid, 40, c.to);
    EXPECT_EQ(log.Take(), c.events) << c.what;
    EXPECT_EQ(FirstRows(grid, 4), c.rows) << c.what;
    if (c.events.size() == 2) {
      EXPECT_EQ(grid->SelectedRow(), 1) << "the moved row is selected";
    } else {
      EXPECT_EQ(grid->SelectedRow(), selected) << c.what;
    }
    ExpectNoDragLeft(grid);
  }

  // Without goRowMoving a cell drag only selects.
  TDataGrid* grid = HeaderGrid(goHeader | goIndicator);
  Press(grid, 40, 26);
  Drag(grid, 40, 60);
  EXPECT_EQ(grid->Drag(), gdNone);
  Release(grid, 40, 60);
  EXPECT_EQ(FirstRows(grid, 2), (Lines{"r0", "r1"}));
}

TEST_F(RowDrag, ARowDraggedPastTheLastRowInViewScrollsOneLine) {
  TDataGrid* grid = HeaderGrid(kRowOptions);
  AddNamedRows(grid, 20);  // 30 rows, more than the view holds
  const int last = grid->LastRowInView();
  ASSERT_LT(last, 20);
  const int y = grid->GetRowTop(last + 1) + 2;  // the top half of the row below the view
  Press(grid, 40, 26);
  Drag(grid, 40, 100);
  Drag(grid, 40, y);
  EXPECT_EQ(grid->TopRow(), 1);
  Release(grid, 40, y);
  const std::string target = std::to_string(last);
  EXPECT_EQ(log.Take(), (Lines{"rowmove 0>" + target, "moved 0>" + target}));
  EXPECT_EQ(efir::text::toAnsi(grid->GetCellText(0, last)), "r0");
}
