// Columns under the mouse: a column's right edge in the header drags its width (never below
// its MinWidth, one width change at the release); a header dragged more than 3 pixels moves
// its column, with the drag box following the cursor and the arrows at the drop place.
#include <gtest/gtest.h>

#include "grid/tests/drag_fixture.h"
#include "tests/support/capture.h"
#include "tests/support/window.h"

using namespace gridtest;
using ColumnDrag = DragTest;

namespace {

// What a window paints into a device context it is given.
efir::test::Image PaintedBy(HWND window) {
  RECT r;
  GetClientRect(window, &r);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right, r.bottom);
  ReleaseDC(nullptr, screen);
  HGDIOBJ old = SelectObject(dc, bitmap);
  SendMessageW(window, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  SelectObject(dc, old);
  DeleteDC(dc);
  efir::test::Image image = efir::test::captureBitmap(bitmap);
  DeleteObject(bitmap);
  return image;
}

}  // namespace

TEST_F(ColumnDrag, AnEdgeDraggedSetsTheWidthOnceAndNeverBelowMinWidth) {
  struct Case {
    int to;
    int width;
    Lines events;
  } cases[] = {
      {150, 90, {"resize 1"}},
      {40, 20, {"resize 1"}},  // 60 - 80 would be below MinWidth
      {120, 60, {}},           // the edge back where it was
      {123, 63, {"resize 1"}},  // the edge follows the cursor, not the press
  };
  for (const Case& c : cases) {
    TDataGrid* grid = HeaderGrid();
    TNxCustomColumn* b = grid->Columns()->Item(1);
    b->SetMinWidth(20);
    log.Take();
    Press(grid, 119, 9);  // B's right edge is at 120
    EXPECT_EQ(grid->Drag(), gdColumnResize);
    Drag(grid, 170, 9);
    Drag(grid, c.to, 90);  // anywhere: the edge follows x only
    EXPECT_EQ(b->Width(), 60) << "nothing changes before the release";
    Release(grid, c.to, 90);
    EXPECT_EQ(b->Width(), c.width) << c.to;
    EXPECT_EQ(log.Take(), c.events) << c.to;
    ExpectNoDragLeft(grid);
  }
}

TEST_F(ColumnDrag, AHeaderMovesItsColumnAfterMoreThanThreePixels) {
  TDataGrid* grid = HeaderGrid();

  // Three pixels keep the click: it sorts.
  Press(grid, 30, 9);
  Drag(grid, 33, 12);
  EXPECT_EQ(grid->Drag(), gdNone);
  Release(grid, 33, 12);
  EXPECT_EQ(log.Take(), (Lines{"header 0", "sort 0"}));

  Press(grid, 30, 9);
  Drag(grid, 34, 9);
  ASSERT_EQ(grid->Drag(), gdColumnMove);
  std::vector<Popup> shown = Popups(grid);
  ASSERT_EQ(shown.size(), 1u) << "the drag box, over A's header";
  EXPECT_EQ(shown[0].rect.left, 0);
  EXPECT_EQ(shown[0].rect.top, 0);
  EXPECT_EQ(shown[0].rect.right, 60);
  EXPECT_EQ(shown[0].rect.bottom, 18);
  EXPECT_EQ(GetCapture(), shown[0].window) << "the box holds the mouse";

  Drag(grid, 100, 9);  // the right half of B
  shown = Popups(grid);
  ASSERT_EQ(shown.size(), 3u);
  for (const Popup& p : shown) {
    if (!p.IsArrow()) {  // centred on the cursor, its bottom 4 pixels below it
      EXPECT_EQ(p.rect.left, 70);
      EXPECT_EQ(p.rect.top, -5);
    }
  }
  std::vector<RECT> arrows = Arrows(grid);
  ASSERT_EQ(arrows.size(), 2u);
  std::sort(arrows.begin(), arrows.end(), [](RECT a, RECT b) { return a.top < b.top; });
  EXPECT_EQ(arrows[0].left, 116) << "at B's right edge";
  EXPECT_EQ(arrows[0].top, -12);
  EXPECT_EQ(arrows[1].left, 116);
  EXPECT_EQ(arrows[1].top, 17);
  EXPECT_EQ(Screen.Cursor(), crDefault);

  // A right button on the way changes nothing.
  Send(grid, WM_RBUTTONDOWN, 100, 9, MK_LBUTTON | MK_RBUTTON);
  Send(grid, WM_RBUTTONUP, 100, 9, MK_LBUTTON);
  EXPECT_EQ(grid->Drag(), gdColumnMove);
  EXPECT_EQ(Popups(grid).size(), 3u);

  Release(grid, 100, 9);
  EXPECT_EQ(Order(grid), L"BAC");
  EXPECT_EQ(log.Take(), (Lines{"move 0 0>1"})) << "no click and no sort";
  ExpectNoDragLeft(grid);
  EXPECT_TRUE(shown.size() == 3 && !IsWindowVisible(shown[0].window));
}

TEST_F(ColumnDrag, WhereAColumnLands) {
  struct Case {
    const char* what;
    int from;              // x on the pressed header
    POINT to;              // where the button is released
    TGridOptions options;
    int fixedCols;
    std::wstring order;
    bool arrows;           // shown at the last move
    TCursor cursor;        // at the last move
  } cases[] = {
      {"on its own header", 30, {50, 9}, goHeader, 0, L"ABC", false, crDefault},
      {"left half of the next", 30, {70, 9}, goHeader, 0, L"ABC", false, crDefault},
      {"left half of the one after", 30, {130, 9}, goHeader, 0, L"BAC", true, crDefault},
      {"right half of the last", 30, {170, 9}, goHeader, 0, L"BCA", true, crDefault},
      {"left half of the first", 150, {10, 9}, goHeader, 0, L"CAB", true, crDefault},
      {"right half of the first", 150, {40, 9}, goHeader, 0, L"ACB", true, crDefault},
      {"beside the columns", 30, {195, 9}, goHeader, 0, L"ABC", false, crDefault},
      {"into the fixed columns", 150, {10, 9}, goHeader, 1, L"CAB", true, crDefault},
      {"into locked fixed columns", 150, {10, 9}, goHeader | goLockFixedCols, 1, L"ABC",
       false, crColumnNoDrag},
      {"below the header", 30, {30, 90}, goHeader, 0, L"ABC", false, crColumnNoDrag},
      {"below the header, may hide", 30, {30, 90}, goHeader | goCanHideColumn, 0, L"(A)BC",
       false, crColumnNoDrag},
      {"moving disabled", 30, {170, 9}, goHeader | goDisableColumnMoving, 0, L"ABC", false,
       crDefault},
  };
  for (const Case& c : cases) {
    TDataGrid* grid = HeaderGrid(c.options);
    grid->SetFixedCols(c.fixedCols);
    Press(grid, c.from, 9);
    Drag(grid, c.from + 5, 9);
    Drag(grid, c.to.x, c.to.y);
    EXPECT_EQ(Arrows(grid).size(), c.arrows ? 2u : 0u) << c.what;
    EXPECT_EQ(Screen.Cursor(), c.cursor) << c.what;
    Release(grid, c.to.x, c.to.y);
    EXPECT_EQ(Order(grid), c.order) << c.what;
    ExpectNoDragLeft(grid);
  }
}

TEST_F(ColumnDrag, TheArrowsHaveTheirShapesAndTheBoxShowsTheHeader) {
  TDataGrid* grid = HeaderGrid();
  Press(grid, 30, 9);
  Drag(grid, 35, 9);
  Drag(grid, 170, 9);
  HWND box = nullptr, upper = nullptr, lower = nullptr;
  for (const Popup& p : Popups(grid)) {
    if (!p.IsArrow()) box = p.window;
    else if (p.rect.top < 0) upper = p.window;
    else lower = p.window;
  }
  ASSERT_TRUE(box && upper && lower);

  // Clicks beside an arrow's head fall through to the window below.
  struct Probe {
    HWND arrow;
    POINT p;
    bool inside;
  } probes[] = {
      {upper, {4, 2}, true},  {upper, {4, 7}, true},  {upper, {0, 0}, false},
      {upper, {1, 8}, false}, {lower, {4, 7}, true},  {lower, {4, 2}, true},
      {lower, {0, 8}, false}, {lower, {8, 0}, false},
  };
  for (const Probe& probe : probes) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(probe.arrow, region), ERROR);
    EXPECT_EQ(PtInRegion(region, probe.p.x, probe.p.y) != 0, probe.inside)
        << (probe.arrow == upper ? "upper " : "lower ") << probe.p.x << "," << probe.p.y;
    DeleteObject(region);
  }

  // The box shows A's header as the grid paints it, with a shadow on two edges.
  const efir::test::Image header = PaintedBy(grid->Handle());
  const efir::test::Image picture = PaintedBy(box);
  ASSERT_EQ(picture.width, 60);
  ASSERT_EQ(picture.height, 18);
  for (int y = 0; y < 17; ++y)
    for (int x = 0; x < 59; ++x)
      ASSERT_EQ(picture.at(x, y), header.at(x, y)) << x << "," << y;
  for (int x = 0; x < 60; ++x) EXPECT_EQ(picture.at(x, 17), RGB(0, 0, 0)) << x;
  for (int y = 0; y < 18; ++y) EXPECT_EQ(picture.at(59, y), RGB(0, 0, 0)) << y;

  Release(grid, 170, 9);
  ExpectNoDragLeft(grid);
}

// The user's double click on a column's edge fits the column to its content: the first
// press starts a resize that ends at its release, and the grip it started from still
// stands when the double click comes, with no move between.
TEST_F(ColumnDrag, ADoubleClickOnAnEdgeFitsTheColumnToItsContent) {
  TDataGrid* grid = HeaderGrid();
  TNxCustomColumn* b = grid->Columns()->Item(1);
  log.Take();
  const POINT edge = grid->ClientToScreen({120, 9});
  efir::test::dragMouse(edge, edge, 1);
  efir::test::dragMouse(edge, edge, 1);
  efir::test::pumpUntil([&] { return b->Width() != 60; }, 2000);
  EXPECT_LT(b->Width(), 60);  // "r0".."r9" need less than the 60 pixels
  EXPECT_EQ(log.Take(), (Lines{"resize 1"}));
  ExpectNoDragLeft(grid);
}
