// Scrolling: the scroll-bar model's clamps and visibility, its mirror in the window's bar,
// the scroll messages and the wheel, and the grid's rows brought into view by code.
#include <gtest/gtest.h>

#include "grid/roll_shadow.h"
#include "grid/tests/control_fixture.h"
#include "tests/support/capture.h"

using namespace gridtest;
using ControlScroll = GridTest;

namespace {

SCROLLINFO WindowBar(HWND window) {
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  GetScrollInfo(window, SB_VERT, &info);
  return info;
}

bool BarShown(HWND window) { return (GetWindowLongPtrW(window, GWL_STYLE) & WS_VSCROLL) != 0; }

void Scroll(HWND window, int code) {
  SendMessageW(window, WM_VSCROLL, static_cast<WPARAM>(code), 0);
}

}  // namespace

TEST_F(ControlScroll, TheModelKeepsItsRangeSane) {
  TForm* form = NewForm();
  auto* control = new TNxScrollControl(form);
  TNxScrollBar& bar = control->VertScrollBar();
  bar.SetMax(-5);
  EXPECT_EQ(bar.Max(), 0);
  bar.SetPageSize(0);
  EXPECT_EQ(bar.PageSize(), 1);

  control->SetParent(form);
  control->SetBounds(0, 0, 100, 100);
  HWND window = control->Handle();
  bar.SetPageSize(10);
  bar.SetMax(9);
  EXPECT_FALSE(bar.Visible());
  EXPECT_FALSE(BarShown(window));
  bar.SetMax(10);  // the model needs no bar while the page covers its maximum
  EXPECT_FALSE(bar.Visible());
  bar.SetMax(11);
  EXPECT_TRUE(bar.Visible());
  EXPECT_TRUE(BarShown(window));
  SCROLLINFO info = WindowBar(window);
  EXPECT_EQ(info.nMax, 11);
  EXPECT_EQ(static_cast<int>(info.nPage), 10);

  bar.SetMax(0);
  bar.SetAutoHide(false);  // a bar that never hides, even without a range
  EXPECT_TRUE(bar.Visible());
}

TEST_F(ControlScroll, MessagesAndCodeStopAtTheLastFullPage) {
  TForm* form = NewForm();
  auto* control = new TNxScrollControl(form);
  control->SetParent(form);
  control->SetBounds(0, 0, 100, 100);
  HWND window = control->Handle();
  Lines log;
  control->OnVerticalScroll = [&](TObject*, int p) { log.push_back(std::to_string(p)); };
  TNxScrollBar& bar = control->VertScrollBar();
  bar.SetMax(20);
  bar.SetPageSize(5);
  bar.SetLargeChange(5);
  EXPECT_EQ(bar.LastPosition(), 16);

  struct Step {
    int code, position;
  } steps[] = {{SB_PAGEDOWN, 5}, {SB_PAGEDOWN, 10}, {SB_PAGEDOWN, 15}, {SB_PAGEDOWN, 16},
               {SB_LINEDOWN, 16}, {SB_TOP, 0},      {SB_BOTTOM, 16},   {SB_LINEUP, 15}};
  for (const Step& s : steps) {
    Scroll(window, s.code);
    EXPECT_EQ(bar.Position(), s.position) << "code " << s.code;
    EXPECT_EQ(WindowBar(window).nPos, s.position) << "code " << s.code;
  }
  bar.MoveBy(100);
  EXPECT_EQ(bar.Position(), 16);
  bar.SetPosition(-3);
  EXPECT_EQ(bar.Position(), 0);
  bar.SetPosition(16);
  bar.SetPageSize(8);  // a larger page pulls the position back to the new last page
  EXPECT_EQ(bar.Position(), 13);

  // A step raises the event from the bar's update and again from the message.
  bar.SetPosition(3);
  log.clear();
  Scroll(window, SB_LINEDOWN);
  EXPECT_EQ(log, (Lines{"4", "4"}));
}

TEST_F(ControlScroll, ThumbTrackingAndStepsAtTheStart) {
  TForm* form = NewForm();
  auto* control = new TNxScrollControl(form);
  control->SetParent(form);
  control->SetBounds(0, 0, 100, 100);
  HWND window = control->Handle();
  TNxScrollBar& bar = control->VertScrollBar();
  bar.SetMax(20);
  bar.SetPageSize(5);
  Lines log;
  control->OnVerticalScroll = [&](TObject*, int p) { log.push_back(std::to_string(p)); };

  bar.StepBack();  // at 0: no message, no event
  EXPECT_TRUE(log.empty());

  SCROLLINFO thumb{};
  thumb.cbSize = sizeof(thumb);
  thumb.fMask = SIF_POS;
  thumb.nPos = 7;  // where the user drags the thumb
  SetScrollInfo(window, SB_VERT, &thumb, FALSE);
  Scroll(window, SB_THUMBTRACK);
  EXPECT_EQ(bar.Position(), 7);
  EXPECT_EQ(bar.LastScrollKind(), skThumb);
  EXPECT_EQ(log, (Lines{"7"}));  // once per message
  Scroll(window, SB_ENDSCROLL);
  EXPECT_EQ(log, (Lines{"7", "7"}));
}

TEST_F(ControlScroll, TheWheelStepsTheRows) {
  TDataGrid* grid = WindowGrid();
  AddTextColumn(grid);
  AddNamedRows(grid, 30);
  HWND window = grid->Handle();
  auto wheel = [&](int delta) {
    SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, delta), MAKELPARAM(10, 10));
  };
  wheel(-WHEEL_DELTA);
  wheel(-WHEEL_DELTA);
  EXPECT_EQ(grid->VertScrollBar().Position(), 2);
  EXPECT_EQ(grid->TopRow(), 2);
  wheel(WHEEL_DELTA);
  wheel(WHEEL_DELTA);
  wheel(WHEEL_DELTA);  // already at the top
  EXPECT_EQ(grid->TopRow(), 0);

  grid->SetMouseWheelEnabled(false);  // the wheel events decide, and nobody handles it
  int downs = 0;
  grid->OnMouseWheelDown = [&](TObject*, TShiftState, POINT, bool&) { ++downs; };
  wheel(-WHEEL_DELTA);
  EXPECT_EQ(downs, 1);
  EXPECT_EQ(grid->TopRow(), 0);
}

TEST_F(ControlScroll, ScrollToRowBringsARowIntoView) {
  TDataGrid* grid = WindowGrid(200, 160);  // ten 16-pixel rows fit
  AddTextColumn(grid);
  AddNamedRows(grid, 30);
  EXPECT_EQ(grid->VertScrollBar().Max(), 30);
  EXPECT_EQ(grid->VertScrollBar().LastPosition(), 20);
  EventLog log;
  log.Attach(grid);

  grid->ScrollToRow(15);  // below the view: it becomes the last row in view
  EXPECT_EQ(grid->TopRow(), 6);
  EXPECT_EQ(grid->LastRowInView(), 15);
  EXPECT_EQ(ScrollPos(grid), 6);
  EXPECT_EQ(log.Take(), (Lines{"vscroll 6"}));

  grid->ScrollToRow(8);  // in view: nothing
  EXPECT_EQ(grid->TopRow(), 6);
  grid->ScrollToRow(3);  // above the view: it becomes the top row
  EXPECT_EQ(grid->TopRow(), 3);
  EXPECT_EQ(ScrollPos(grid), 3);
  grid->ScrollToRow(29);
  EXPECT_EQ(grid->TopRow(), 20);
  EXPECT_EQ(grid->LastRowInView(), 29);
  EXPECT_EQ(ScrollPos(grid), 20);
  grid->ScrollToRow(30);
  grid->ScrollToRow(-1);
  EXPECT_EQ(grid->TopRow(), 20);

  // Paging by message ends where code ends: the last full page.
  Scroll(grid->Handle(), SB_TOP);
  for (int i = 0; i < 4; ++i) Scroll(grid->Handle(), SB_PAGEDOWN);
  EXPECT_EQ(grid->TopRow(), 20);
  grid->VertScrollBar().MoveBy(50);
  EXPECT_EQ(grid->TopRow(), 20);
}

TEST_F(ControlScroll, OneRowNeverScrolls) {
  TDataGrid* grid = WindowGrid(200, 160);
  AddTextColumn(grid);
  grid->SetRowSize(400);  // taller than the whole grid
  grid->AddRow();
  EXPECT_EQ(grid->VertScrollBar().Max(), 0);
  grid->AddRow();
  EXPECT_EQ(grid->VertScrollBar().Max(), 2);
}

TEST_F(ControlScroll, HiddenRowsTakeNoPlace) {
  TDataGrid* grid = WindowGrid(200, 160);
  AddTextColumn(grid);
  AddNamedRows(grid, 30);
  for (int i = 0; i < 30; i += 2) grid->SetRowVisible(i, false);  // a filter keeps the odd rows
  grid->SetRowVisible(0, false);                                  // again: nothing changes
  EXPECT_EQ(grid->GetShownRowCount(), 15);
  EXPECT_EQ(grid->FirstShownRow(), 1);
  EXPECT_EQ(grid->LastShownRow(), 29);
  EXPECT_FALSE(grid->RowVisible(4));
  EXPECT_EQ(grid->VertScrollBar().Max(), 15);
  EXPECT_EQ(grid->GetRowTop(3), 16);  // row 1, then row 3

  grid->ScrollToRow(29);  // five shown rows lie above the view
  EXPECT_EQ(grid->VertScrollBar().Position(), 5);
  EXPECT_EQ(grid->LastRowInView(), 29);
  EXPECT_EQ(ScrollPos(grid), 5);

  for (int i = 1; i < 30; i += 2) grid->SetRowVisible(i, false);
  EXPECT_EQ(grid->GetShownRowCount(), 0);
  EXPECT_EQ(grid->TopRow(), 0);
  EXPECT_EQ(grid->VertScrollBar().Max(), 0);

  for (int i = 0; i < 30; ++i) grid->SetRowVisible(i, true);
  EXPECT_EQ(grid->GetShownRowCount(), 30);
  EXPECT_EQ(grid->VertScrollBar().Max(), 30);
  EXPECT_EQ(grid->FirstShownRow(), 0);
  EXPECT_EQ(grid->LastShownRow(), 29);
}

TEST(ControlRoll, FartherFromTheOriginRollsFaster) {
  struct Case {
    int dy;
    TRollDirection direction;
    unsigned interval;
  } cases[] = {{0, rdNone, 100}, {4, rdNone, 96},   {-5, rdNone, 95}, {6, rdDown, 94},
               {-6, rdUp, 94},   {99, rdDown, 1},   {100, rdDown, 1}, {-250, rdUp, 1}};
  for (const Case& c : cases) {
    EXPECT_EQ(grid::RollDirection(c.dy), c.direction) << c.dy;
    EXPECT_EQ(grid::RollInterval(c.dy), c.interval) << c.dy;
  }
}

TEST_F(ControlScroll, ChangesAboveTheViewLeaveItInPlace) {
  TDataGrid* grid = WindowGrid(200, 160);
  AddTextColumn(grid);
  AddNamedRows(grid, 30);
  grid->ScrollToRow(29);
  ASSERT_EQ(grid->TopRow(), 20);
  // The position always counts the shown rows above the top row, in the model and the window.
  auto consistent = [&] {
    int above = grid->CountShownRows(0, grid->TopRow());
    return grid->VertScrollBar().Position() == above && ScrollPos(grid) == above;
  };
  auto top = [&] { return grid->GetCellText(0, grid->TopRow()); };

  for (int i = 0; i < 10; ++i) grid->SetRowVisible(i, false);  // a filter above the view
  EXPECT_EQ(top(), L"r20");
  EXPECT_TRUE(consistent());
  grid->SetRowVisible(25, false);  // in view, at the end: a row comes in from above
  EXPECT_EQ(top(), L"r19");
  EXPECT_EQ(grid->LastRowInView(), 29);
  EXPECT_TRUE(consistent());
  for (int i = 0; i < 10; ++i) grid->SetRowVisible(i, true);
  EXPECT_EQ(top(), L"r19");
  EXPECT_TRUE(consistent());

  grid->DeleteRow(3);  // shown, above
  EXPECT_EQ(top(), L"r19");
  EXPECT_TRUE(consistent());
  grid->DeleteRow(grid->TopRow() - 1);  // right above the top row
  EXPECT_EQ(top(), L"r19");
  EXPECT_TRUE(consistent());
  grid->InsertRow(0);
  EXPECT_EQ(top(), L"r19");
  EXPECT_TRUE(consistent());
  grid->DeleteRow(grid->TopRow());  // the top row itself, at the end: a row comes in from above
  EXPECT_EQ(top(), L"r17");
  EXPECT_EQ(grid->LastRowInView(), grid->RowCount() - 1);
  EXPECT_TRUE(consistent());
  grid->ScrollToRow(5);  // "r5"
  grid->DeleteRow(grid->TopRow());  // not at the end: the next row moves up
  EXPECT_EQ(top(), L"r6");
  EXPECT_TRUE(consistent());
}

TEST_F(ControlScroll, TheRangeCountsWholeRowsWithTheirLines) {
  struct Case {
    TGridOptions options;
    int rows, max, page;
  } cases[] = {{0, 30, 30, 11},       // ten 16-pixel rows fit in 160 pixels
               {goGrid, 30, 30, 10},  // with a line under each, nine
               {0, 10, 0, 1},         // all fit: no range
               {goGrid, 10, 10, 10}};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.options << " " << c.rows);
    TDataGrid* grid = WindowGrid(200, 160);
    AddTextColumn(grid);
    grid->SetOptions(c.options);
    grid->AddRow(c.rows);
    EXPECT_EQ(grid->VertScrollBar().Max(), c.max);
    EXPECT_EQ(grid->VertScrollBar().PageSize(), c.page);
    SCROLLINFO info = WindowBar(grid->Handle());
    EXPECT_EQ(info.nMax, c.max);
  }
}

TEST_F(ControlScroll, TheMiddleButtonRollsUntilAnyButtonComesUp) {
  TDataGrid* grid = WindowGrid();
  AddTextColumn(grid);
  AddNamedRows(grid, 30);
  HWND window = grid->Handle();
  SendMessageW(window, WM_MBUTTONDOWN, MK_MBUTTON, efir::test::At(50, 80));
  EXPECT_EQ(Screen.Cursor(), crRoll);
  EXPECT_EQ(GetCapture(), window);
  struct Move {
    int y;
    TCursor cursor;
  } moves[] = {{84, crRoll}, {86, crRollDown}, {20, crRollUp}, {76, crRoll}};
  for (const Move& m : moves) {
    SendMessageW(window, WM_MOUSEMOVE, MK_MBUTTON, efir::test::At(50, m.y));
    EXPECT_EQ(Screen.Cursor(), m.cursor) << m.y;
  }
  SendMessageW(window, WM_LBUTTONUP, 0, efir::test::At(50, 76));
  EXPECT_EQ(Screen.Cursor(), crDefault);
  EXPECT_NE(GetCapture(), window);
}

// The marker shows the roll origin: its dot on the press point, grey, shaped, gone at the end.
TEST_F(ControlScroll, TheRollMarkerSitsOnThePressPointWhileRolling) {
  TDataGrid* grid = WindowGrid();
  AddTextColumn(grid);
  AddNamedRows(grid, 30);
  HWND window = grid->Handle();
  TRollShadow* marker = grid->RollShadow();
  EXPECT_FALSE(marker->HandleAllocated() && IsWindowVisible(marker->Handle()));
  SendMessageW(window, WM_MBUTTONDOWN, MK_MBUTTON, efir::test::At(50, 80));
  ASSERT_TRUE(marker->HandleAllocated());
  HWND shadow = marker->Handle();
  EXPECT_TRUE(IsWindowVisible(shadow));
  POINT origin{50, 80};
  ClientToScreen(window, &origin);
  RECT bounds;
  GetWindowRect(shadow, &bounds);
  EXPECT_EQ(bounds.left, origin.x - 7);
  EXPECT_EQ(bounds.top, origin.y - 11);
  EXPECT_EQ(bounds.right - bounds.left, 32);
  EXPECT_EQ(bounds.bottom - bounds.top, 32);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(shadow, region), ERROR);
  struct Probe {
    POINT p;
    bool inside;
  } probes[] = {{{7, 3}, true}, {{7, 11}, true}, {{6, 18}, true}, {{20, 11}, false},
                {{7, 25}, false}, {{30, 30}, false}};
  for (const Probe& probe : probes)
    EXPECT_EQ(PtInRegion(region, probe.p.x, probe.p.y) != 0, probe.inside)
        << probe.p.x << "," << probe.p.y;
  DeleteObject(region);
  UpdateWindow(shadow);
  efir::test::Image image = efir::test::captureWindow(shadow);
  EXPECT_EQ(image.at(7, 11), ColorToRGB(clGrayText));
  SendMessageW(window, WM_MBUTTONUP, 0, efir::test::At(50, 80));
  EXPECT_FALSE(IsWindowVisible(shadow));
}
