// The arithmetic of skinned tabs and speed buttons, without windows: where each tab's picture
// goes on each side, which row a tab is in, how page frame and tab strip share the control,
// and where a speed button puts its glyph and caption.
#include <gtest/gtest.h>

#include <commctrl.h>

#include "skin/forms/speed_button_layout.h"
#include "skin/forms/tab_geometry.h"

namespace {

bool Same(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

std::string Text(const RECT& r) {
  return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ", " + std::to_string(r.right) + ", " +
         std::to_string(r.bottom) + ")";
}

TEST(TabGeometry, PositionAndKindFollowTheStyle) {
  EXPECT_EQ(TabPositionOfStyle(0), TabPosition::Top);
  EXPECT_EQ(TabPositionOfStyle(TCS_BOTTOM), TabPosition::Bottom);
  EXPECT_EQ(TabPositionOfStyle(TCS_VERTICAL), TabPosition::Left);
  EXPECT_EQ(TabPositionOfStyle(TCS_VERTICAL | TCS_RIGHT), TabPosition::Right);
  EXPECT_EQ(TabKindOfStyle(0), TabKind::Tabs);
  EXPECT_EQ(TabKindOfStyle(TCS_BUTTONS), TabKind::Buttons);
  EXPECT_EQ(TabKindOfStyle(TCS_BUTTONS | TCS_FLATBUTTONS), TabKind::FlatButtons);
}

TEST(TabGeometry, SelectedTabsStandOutAndOthersTuckUnderThePageFrame) {
  const RECT item{10, 20, 60, 40};
  struct Case {
    TabPosition side;
    bool selected;
    RECT expected;
  };
  const Case cases[] = {
      {TabPosition::Top, true, {8, 18, 62, 42}},      {TabPosition::Top, false, {10, 20, 59, 44}},
      {TabPosition::Bottom, true, {8, 17, 62, 41}},   {TabPosition::Bottom, false, {10, 18, 59, 40}},
      {TabPosition::Left, true, {9, 18, 63, 41}},     {TabPosition::Left, false, {10, 19, 63, 40}},
      {TabPosition::Right, true, {7, 18, 61, 42}},    {TabPosition::Right, false, {8, 19, 59, 40}},
  };
  for (const Case& c : cases) {
    const RECT got = SkinnedTabRect(item, c.side, TabKind::Tabs, c.selected);
    EXPECT_TRUE(Same(got, c.expected)) << static_cast<int>(c.side) << (c.selected ? " selected " : " other ")
                                       << Text(got);
  }
  EXPECT_TRUE(Same(SkinnedTabRect(item, TabPosition::Top, TabKind::Buttons, true), item)) << "buttons stay";
  EXPECT_TRUE(Same(SkinnedTabRect(item, TabPosition::Left, TabKind::FlatButtons, false), item));
  const RECT empty{10, 20, 10, 40};
  EXPECT_TRUE(Same(SkinnedTabRect(empty, TabPosition::Top, TabKind::Tabs, true), empty)) << "an empty tab stays";
}

TEST(TabGeometry, RowsCountFromTheOutsideIn) {
  const RECT area{0, 0, 200, 44};
  struct Case {
    TabPosition side;
    RECT item;
    int rows;
    int row;
  };
  const Case cases[] = {
      {TabPosition::Top, {0, 2, 50, 22}, 2, 1},       {TabPosition::Top, {0, 22, 50, 42}, 2, 2},
      {TabPosition::Left, {2, 0, 22, 50}, 2, 1},      {TabPosition::Left, {22, 0, 42, 50}, 2, 2},
      {TabPosition::Right, {156, 0, 176, 50}, 2, 2},  {TabPosition::Right, {176, 0, 196, 50}, 2, 1},
      {TabPosition::Bottom, {0, 2, 50, 22}, 2, 2},    {TabPosition::Bottom, {0, 22, 50, 42}, 2, 1},
      {TabPosition::Top, {0, 2, 50, 22}, 0, 1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TabRow(c.item, c.side, c.rows, c.side == TabPosition::Right ? RECT{150, 0, 200, 100} : area), c.row)
        << static_cast<int>(c.side) << " " << Text(c.item);
}

TEST(TabGeometry, PageFrameAndTabStripMeetAtThePageArea) {
  const SIZE control{200, 100};
  const RECT page{4, 30, 196, 96};
  struct Case {
    TabPosition side;
    RECT frame;
    RECT strip;
  };
  const Case cases[] = {
      {TabPosition::Top, {0, 26, 200, 100}, {0, 0, 200, 26}},
      {TabPosition::Bottom, {0, 0, 200, 97}, {0, 97, 200, 100}},
      {TabPosition::Left, {3, 0, 200, 100}, {0, 0, 3, 100}},
      {TabPosition::Right, {0, 0, 197, 100}, {197, 0, 200, 100}},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(Same(PageFrameRect(control, page, c.side, true), c.frame)) << static_cast<int>(c.side);
    EXPECT_TRUE(Same(TabStripRect(control, page, c.side, true), c.strip)) << static_cast<int>(c.side);
  }
  const RECT whole{0, 0, 200, 100};
  EXPECT_TRUE(Same(PageFrameRect(control, page, TabPosition::Top, false), whole)) << "no tabs: all frame";
}

TEST(SpeedButtonLayout, GlyphAndCaptionByLayoutMarginAndPress) {
  struct Case {
    const char* name;
    TButtonLayout layout;
    int margin;
    SIZE glyph;
    bool pressed;
    RECT glyphRect;
    RECT captionRect;
  };
  // A 100 x 40 button, spacing 4, a 30 x 12 caption.
  const Case cases[] = {
      {"left, centred together", blGlyphLeft, -1, {16, 16}, false, {25, 12, 41, 28}, {45, 14, 75, 26}},
      {"left, margin 0", blGlyphLeft, 0, {16, 16}, false, {0, 12, 16, 28}, {20, 14, 50, 26}},
      {"left, pressed", blGlyphLeft, -1, {16, 16}, true, {26, 13, 42, 29}, {46, 15, 76, 27}},
      {"right, margin 2", blGlyphRight, 2, {16, 16}, false, {82, 12, 98, 28}, {48, 14, 78, 26}},
      {"top, centred together", blGlyphTop, -1, {16, 16}, false, {42, 4, 58, 20}, {35, 24, 65, 36}},
      {"bottom, margin 3", blGlyphBottom, 3, {16, 16}, false, {42, 21, 58, 37}, {35, 5, 65, 17}},
      {"no glyph, centred", blGlyphLeft, -1, {0, 0}, false, {35, 20, 35, 20}, {35, 14, 65, 26}},
      {"no glyph, pressed", blGlyphLeft, -1, {0, 0}, true, {36, 21, 36, 21}, {36, 15, 66, 27}},
      {"no glyph, margin 5 left", blGlyphLeft, 5, {0, 0}, false, {5, 20, 5, 20}, {5, 14, 35, 26}},
      {"no glyph, margin 5 bottom", blGlyphBottom, 5, {0, 0}, false, {50, 35, 50, 35}, {35, 23, 65, 35}},
  };
  for (const Case& c : cases) {
    SpeedButtonMetrics m{{100, 40}, c.glyph, {30, 12}, c.layout, c.margin, 4, true, c.pressed};
    const RECT glyph = SpeedButtonGlyphRect(m);
    const RECT caption = SpeedButtonCaptionRect(m, glyph);
    EXPECT_TRUE(Same(glyph, c.glyphRect)) << c.name << ": glyph " << Text(glyph);
    EXPECT_TRUE(Same(caption, c.captionRect)) << c.name << ": caption " << Text(caption);
  }
  SpeedButtonMetrics glyphOnly{{40, 40}, {16, 16}, {0, 0}, blGlyphLeft, -1, 4, false, false};
  EXPECT_TRUE(Same(SpeedButtonGlyphRect(glyphOnly), RECT{12, 12, 28, 28})) << "no spacing without a caption";
}

}  // namespace
