// The grid dragged onto another control, with posted mouse input: a press on a row of the
// multi-selection keeps the other rows for the drag, a cancelled drag selects the row alone,
// and a drop hands the grid to the control that took it.
#include <gtest/gtest.h>

#include "grid/tests/drag_fixture.h"
#include "tests/support/window.h"

using namespace gridtest;

namespace {

class GridDragDrop : public DragTest {
 protected:
  // Rows 1 to 3 of a multi-selecting grid selected; every left press starts a drag of the
  // grid, as a list that drags its rows elsewhere does.
  TDataGrid* DraggedGrid() {
    TDataGrid* grid = HeaderGrid(goHeader | goMultiSelect | goSelectFullRow);
    Post(grid, WM_LBUTTONDOWN, 40, RowY(1), MK_LBUTTON);
    Post(grid, WM_LBUTTONUP, 40, RowY(1), 0);
    Post(grid, WM_LBUTTONDOWN, 40, RowY(3), MK_LBUTTON | MK_SHIFT);
    Post(grid, WM_LBUTTONUP, 40, RowY(3), MK_SHIFT);
    EXPECT_EQ(Selected(grid), "123");
    grid->OnMouseDown = [grid](TObject*, TMouseButton button, TShiftState, int, int) {
      if (button == mbLeft) grid->BeginDrag(false);
    };
    grid->OnStartDrag = [this](TObject*) { events.push_back("start"); };
    grid->OnEndDrag = [this, grid](TObject* sender, TObject* target, int, int) {
      EXPECT_EQ(sender, grid);
      events.push_back(target ? "end on target" : "end");
    };
    return grid;
  }

  static int RowY(int row) { return 26 + 16 * row; }

  // A mouse message posted to the window that holds the mouse (else the grid), at the
  // grid's client point, with the cursor there, and handled.
  static void Post(TDataGrid* grid, UINT msg, int x, int y, WPARAM keys) {
    HWND target = GetCapture() ? GetCapture() : grid->Handle();
    POINT screen{x, y};
    ClientToScreen(grid->Handle(), &screen);
    SetCursorPos(screen.x, screen.y);
    POINT p{x, y};
    MapWindowPoints(grid->Handle(), target, &p, 1);
    PostMessageW(target, msg, keys, efir::test::At(p.x, p.y));
    Pump();
  }
  // Until the posted messages have been handled.
  static void Pump() {
    efir::test::pumpUntil(
        [] { return !(HIWORD(GetQueueStatus(QS_POSTMESSAGE)) & QS_POSTMESSAGE); }, 2000);
  }

  // The selected rows among the first ten, as digits.
  static std::string Selected(TDataGrid* grid) {
    std::string rows;
    for (int row = 0; row < 10; ++row)
      if (grid->GetRowSelected(row)) rows += std::to_string(row);
    return rows;
  }

  Lines events;
};

TEST_F(GridDragDrop, APressInTheSelectionKeepsItUntilTheDragIsCancelled) {
  struct Way {
    const char* what;
    bool moved;  // past the threshold before giving up
    std::function<void(TDataGrid*)> giveUp;
  };
  const Way ways[] = {
      {"released where pressed", false,
       [](TDataGrid* grid) { Post(grid, WM_LBUTTONUP, 40, RowY(2), 0); }},
      {"Escape", true,
       [](TDataGrid* grid) {
         PostMessageW(grid->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
         Pump();
       }},
      {"mouse taken", true, [](TDataGrid*) {
         ReleaseCapture();
         Pump();
       }},
  };
  for (const Way& way : ways) {
    events.clear();
    TDataGrid* grid = DraggedGrid();
    Post(grid, WM_LBUTTONDOWN, 40, RowY(2), MK_LBUTTON);
    EXPECT_TRUE(grid->Dragging()) << way.what;
    EXPECT_EQ(Selected(grid), "123") << way.what << ": kept for the drag";
    EXPECT_EQ(grid->SelectedRow(), 2) << way.what;
    if (way.moved) Post(grid, WM_MOUSEMOVE, 40, RowY(2) + 20, MK_LBUTTON);
    EXPECT_EQ(grid->Drag(), gdNone) << way.what << ": no row move of its own";

    way.giveUp(grid);
    EXPECT_FALSE(grid->Dragging()) << way.what;
    EXPECT_EQ(Selected(grid), "2") << way.what << ": the pressed row alone";
    Lines expected = way.moved ? Lines{"start", "end"} : Lines{"end"};
    EXPECT_EQ(events, expected) << way.what;
    Post(grid, WM_LBUTTONUP, 40, RowY(2), 0);
    EXPECT_EQ(Selected(grid), "2") << way.what;
  }
}

TEST_F(GridDragDrop, ADropGoesToTheControlThatTakesItAndKeepsTheSelection) {
  TDataGrid* grid = DraggedGrid();
  // A second grid right of the first one on the same form takes drops in its lower half.
  auto* other = new TDataGrid(grid->Owner());
  other->SetBorderStyle(bsNone);
  other->SetParent(grid->Parent());
  other->SetBounds(200, 0, 100, 200);
  other->HandleNeeded();
  grid->Parent()->SetBounds(grid->Parent()->Left(), grid->Parent()->Top(), 300, 200);
  TObject* dropped = nullptr;
  POINT droppedAt{-1, -1};
  other->OnDragOver = [&](TObject*, TObject* source, int, int y, TDragState state,
                          bool& accept) {
    EXPECT_EQ(source, grid);
    if (state == dsDragEnter) events.push_back("enter");
    if (state == dsDragLeave) events.push_back("leave");
    accept = y >= 100;
  };
  other->OnDragDrop = [&](TObject*, TObject* source, int x, int y) {
    dropped = source;
    droppedAt = {x, y};
    events.push_back("drop");
  };

  Post(grid, WM_LBUTTONDOWN, 40, RowY(2), MK_LBUTTON);
  Post(grid, WM_MOUSEMOVE, 43, RowY(2) + 3, MK_LBUTTON);
  EXPECT_EQ(events, Lines{}) << "within the threshold nothing starts";
  Post(grid, WM_MOUSEMOVE, 250, 50, MK_LBUTTON);
  EXPECT_EQ(Screen.Cursor(), crNoDrop) << "the upper half refuses";
  Post(grid, WM_MOUSEMOVE, 250, 150, MK_LBUTTON);
  EXPECT_EQ(Screen.Cursor(), crDrag);
  Post(grid, WM_LBUTTONUP, 250, 150, 0);

  EXPECT_EQ(events, (Lines{"start", "enter", "drop", "end on target"}));
  EXPECT_EQ(dropped, grid);
  EXPECT_EQ(droppedAt.x, 50);
  EXPECT_EQ(droppedAt.y, 150);
  EXPECT_EQ(Screen.Cursor(), crDefault);
  EXPECT_FALSE(grid->Dragging());
  EXPECT_EQ(Selected(grid), "123") << "the dragged rows stay selected";
}

}  // namespace
