// The frame measures without windows: caption band, caption icon, snapping, the window
// region's rectangle and the corner region.
#include "skin/forms/frame_geometry.h"

#include <gtest/gtest.h>

namespace {

TEST(FrameGeometry, CaptionHeightFollowsStyleBorderAndExtendedTitle) {
  const int S = GetSystemMetrics(SM_CYCAPTION), small = GetSystemMetrics(SM_CYSMCAPTION);
  struct Case {
    CaptionMeasures form;
    bool useExt;
    int height;
  };
  const Case cases[] = {
      {{false, false, WS_CAPTION, bsSizeable, 0, false}, true, 0},       // no frame drawn
      {{false, true, WS_BORDER, bsSizeable, 0, false}, true, 0},         // one caption bit only
      {{false, true, WS_CAPTION, bsSizeable, 0, false}, true, S},
      {{false, true, WS_CAPTION, bsToolWindow, 0, false}, false, small},
      {{false, true, WS_CAPTION, bsSizeToolWin, 0, false}, false, small},
      {{false, true, WS_CAPTION, bsSizeable, 30, false}, true, 30},      // the skin's title
      {{false, true, WS_CAPTION, bsSizeable, 30, false}, false, S},      // the window's own
      {{false, true, WS_CAPTION, bsSizeable, 10, true}, true, S + 4},    // short zoomed title
      {{false, true, WS_CAPTION, bsSizeable, 40, true}, true, 40},
      {{true, false, 0, bsNone, 0, false}, true, S},                     // minimized, no border
  };
  for (const Case& c : cases)
    EXPECT_EQ(CaptionHeight(c.form, c.useExt), c.height)
        << c.form.Iconic << c.form.HasBorder << " style " << c.form.Style << " border "
        << c.form.BorderStyle << " ext " << c.form.ExtTitleHeight << " useExt " << c.useExt;
}

TEST(FrameGeometry, TitleIconSizeSteps) {
  const std::pair<int, int> cases[] = {{-100, 1}, {0, 1}, {8, 1}, {9, 8}, {16, 8}, {17, 16}, {40, 16}};
  for (auto [h, size] : cases) EXPECT_EQ(TitleIconSize(h), size) << h;
}

TEST(FrameGeometry, SnapCoordinateCatchesGapsSmallerThanTheBuffer) {
  struct Case {
    int pos, edge, size, snapped;
  };
  const Case cases[] = {
      {91, 100, 0, 100},   // a gap of 9 snaps
      {90, 100, 0, 90},    // a gap of 10 does not
      {109, 100, 0, 100},  // 9 past the edge snaps back
      {110, 100, 0, 110},
      {41, 100, 50, 50},   // the far side of a 50-pixel form on the edge
      {-7, 0, 0, 0},       // the left screen edge
  };
  for (const Case& c : cases) {
    int pos = c.pos;
    SnapCoordinate(pos, c.edge, 10, c.size);
    EXPECT_EQ(pos, c.snapped) << c.pos << " to " << c.edge;
  }
}

// The extended frame lies 6 beyond the sides and the bottom and 20 above the top of a
// 200 x 100 form: that frame meets the work area's edges.
TEST(FrameGeometry, SnapToWorkAreaPutsTheExtendedFrameOnTheEdges) {
  const RECT area{0, 0, 800, 600};
  struct Case {
    int x, y, sideMargin, topMargin, snappedX, snappedY;
  };
  const Case cases[] = {
      {12, 25, 6, 20, 6, 20},        // near the left and top: the frame on them
      {3, 15, 6, 20, 6, 20},         // partly beyond them: back
      {12, 25, 0, 0, 12, 25},        // without a border window the same place is too far
      {4, 5, 0, 0, 0, 0},            // ... and this is near
      {590, 490, 6, 20, 594, 494},   // right and bottom: 594 + 200 + 6 = 800
      {610, 480, 6, 20, 610, 480},   // too far off
      {300, 250, 6, 20, 300, 250},   // in the middle nothing moves
  };
  for (const Case& c : cases) {
    int x = c.x, y = c.y;
    SnapToWorkArea(x, y, 200, 100, area, 10, c.sideMargin, c.topMargin);
    EXPECT_EQ(x, c.snappedX) << c.x << "," << c.y << " margins " << c.sideMargin << "/" << c.topMargin;
    EXPECT_EQ(y, c.snappedY) << c.x << "," << c.y << " margins " << c.sideMargin << "/" << c.topMargin;
  }
}

TEST(FrameGeometry, PlainWindowRegionOnlyForBorderWindowsAndFreeMaximizedForms) {
  auto measures = [](bool borderForm, bool zoomedShort, bool maximized, int maxWidth, bool mdi) {
    RegionMeasures m;
    m.Width = 400;
    m.Height = 300;
    m.FrameWidth = 4;
    m.FrameTopWidth = borderForm ? 0 : 4;
    m.CaptionHeight = 20;
    m.HasBorderForm = borderForm;
    m.ZoomedShortTitle = zoomedShort;
    m.Maximized = maximized;
    m.Constraints.MaxWidth = maxWidth;
    m.MdiChild = mdi;
    return m;
  };
  struct Case {
    RegionMeasures form;
    std::optional<RECT> region;
  };
  const Case cases[] = {
      {measures(true, false, false, 0, false), RECT{4, 24, 396, 296}},
      {measures(true, true, true, 0, false), RECT{4, 20, 396, 296}},
      {measures(false, false, true, 0, false), RECT{4, 4, 396, 296}},
      {measures(false, false, true, 500, false), std::nullopt},  // limited: the skin's corners
      {measures(false, false, true, 0, true), std::nullopt},
      {measures(false, false, false, 0, false), std::nullopt},
  };
  for (const Case& c : cases) {
    std::optional<RECT> region = PlainWindowRegion(c.form);
    ASSERT_EQ(region.has_value(), c.region.has_value());
    if (region) {
      EXPECT_TRUE(EqualRect(&*region, &*c.region)) << region->left << "," << region->top;
    }
  }
}

TEST(FrameGeometry, MakeRegionCutsTheCornerRunsAtItsPlace) {
  const TAOR corners = {{0, 0, 3, 1}, {0, 1, 1, 2}, {97, 0, 100, 1}};
  HRGN region = MakeRegion(5, 10, 100, 50, corners);
  struct Case {
    int x, y;
    bool inside;
  };
  const Case cases[] = {{5, 10, false},  {7, 10, false},  {8, 10, true},   {5, 11, false},
                        {6, 11, true},   {101, 10, true},  {102, 10, false}, {104, 59, true},
                        {105, 30, false}, {5, 60, false},  {4, 30, false}};
  for (const Case& c : cases) EXPECT_EQ(PtInRegion(region, c.x, c.y) != 0, c.inside) << c.x << "," << c.y;
  DeleteObject(region);
}

}  // namespace
