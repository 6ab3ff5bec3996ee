// A drag given up (Escape, the mouse or the focus taken away, the program deactivated)
// changes nothing, shows nothing and holds nothing, and its release does nothing later.
#include <gtest/gtest.h>

#include "grid/tests/drag_fixture.h"
#include "tests/support/window.h"

using namespace gridtest;
using DragCancel = DragTest;

TEST_F(DragCancel, AGivenUpDragChangesNothingAndLeavesNothingBehind) {
  struct Drag {
    TGridDrag kind;
    POINT press, to;
  } drags[] = {
      {gdColumnResize, {131, 9}, {170, 9}},  // B's right edge
      {gdColumnMove, {40, 9}, {150, 9}},
      {gdRowResize, {5, 33}, {5, 60}},       // row 0's border
      {gdRowMove, {40, 26}, {40, 45}},
  };
  efir::test::TestWindow other(40, 40, [](HDC, const RECT&) {});
  const struct Way {
    const char* what;
    std::function<void(TDataGrid*)> giveUp;
  } ways[] = {
      {"Escape", [](TDataGrid* grid) { SendMessageW(grid->Handle(), WM_KEYDOWN, VK_ESCAPE, 0); }},
      {"mouse taken",
       [&](TDataGrid*) {
         SetCapture(other.handle());
         ReleaseCapture();
       }},
      {"focus lost", [](TDataGrid*) { SetFocus(nullptr); }},
      {"deactivated", [](TDataGrid* grid) { SendMessageW(grid->Handle(), WM_ACTIVATEAPP, 0, 0); }},
  };
  for (const Way& way : ways) {
    for (const Drag& d : drags) {
      TDataGrid* grid = HeaderGrid(goHeader | goIndicator | goRowResizing | goRowMoving);
      Press(grid, d.press.x, d.press.y);
      DragTest::Drag(grid, d.press.x + 8, d.press.y + 8);
      DragTest::Drag(grid, d.to.x, d.to.y);
      ASSERT_EQ(grid->Drag(), d.kind) << way.what;
      log.Take();

      way.giveUp(grid);
      ExpectNoDragLeft(grid);
      Release(grid, d.to.x, d.to.y);  // where the button finally goes up
      EXPECT_EQ(Order(grid), L"ABC") << way.what << " " << d.kind;
      EXPECT_EQ(grid->Columns()->Item(1)->Width(), 60) << way.what << " " << d.kind;
      EXPECT_EQ(grid->GetRowHeight(0), 16) << way.what << " " << d.kind;
      EXPECT_EQ(efir::text::toAnsi(grid->GetCellText(0, 0)), "r0") << way.what << " " << d.kind;
      EXPECT_EQ(log.Take(), Lines{}) << way.what << " " << d.kind;
      ExpectNoDragLeft(grid);
    }
  }
}
