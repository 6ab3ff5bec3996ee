// The skinned scroll bar's arithmetic, without windows: thumb, part under a point, the
// position a dragged thumb stands for, and where the bars sit inside a window's frame.
#include <gtest/gtest.h>

#include "skin/forms/scroll_geometry.h"

namespace {

constexpr int kArrow = 17;

TacScrollBar Bar(int kind, int nMin, int nMax, int nPage, int nPos) {
  TacScrollBar bar;
  bar.Kind = kind;
  bar.ArrowLength = kArrow;
  bar.Thickness = 17;
  bar.Info.nMin = nMin;
  bar.Info.nMax = nMax;
  bar.Info.nPage = static_cast<UINT>(nPage);
  bar.Info.nPos = nPos;
  return bar;
}

// A vertical bar 200 pixels long: 166 pixels of track between the arrows.
constexpr RECT kVert{0, 0, 17, 200};

TEST(ScrollGeometry, ThumbFollowsPageAndPosition) {
  struct Case {
    const char* what;
    int kind, nMin, nMax, nPage, nPos, length;
    int size, start;
  } cases[] = {
      {"page in proportion, at the top", SB_VERT, 0, 99, 10, 0, 200, 17, 17},
      {"last position reaches the second arrow", SB_VERT, 0, 99, 10, 90, 200, 17, 166},
      {"nPage 0 gives an arrow-long thumb", SB_VERT, 0, 99, 0, 50, 200, 17, 92},
      {"one position, one page: the zero divisor clamps to the start", SB_VERT, 0, 0, 1, 0, 200, 166, 17},
      {"a page covering the whole range fills the track", SB_VERT, 0, 99, 100, 0, 200, 166, 17},
      {"a tiny page keeps the minimum thumb", SB_VERT, 0, 9999, 1, 0, 200, 10, 17},
      {"nMin is where the track starts", SB_VERT, 50, 149, 10, 50, 200, 17, 17},
      {"nMin counted out of the end position", SB_VERT, 50, 149, 10, 140, 200, 17, 166},
      {"horizontal twin", SB_HORZ, 0, 99, 10, 90, 200, 17, 166},
  };
  for (const Case& c : cases) {
    TacScrollBar bar = Bar(c.kind, c.nMin, c.nMax, c.nPage, c.nPos);
    const RECT r = c.kind == SB_HORZ ? RECT{0, 0, c.length, 17} : RECT{0, 0, 17, c.length};
    const ThumbSpan thumb = ThumbGeometry(bar, r);
    EXPECT_EQ(thumb.Size, c.size) << c.what;
    EXPECT_EQ(thumb.Start, c.start) << c.what;
  }
}

TEST(ScrollGeometry, PartUnderThePoint) {
  struct Case {
    const char* what;
    int nPage, nPos, length;
    POINT at;
    ScrollPart part;
  } cases[] = {
      {"first arrow", 10, 0, 200, {5, 5}, spFirstArrow},
      {"second arrow", 10, 0, 200, {5, 195}, spSecondArrow},
      {"thumb at the top", 10, 0, 200, {5, 20}, spThumb},
      {"track after the thumb", 10, 0, 200, {5, 100}, spTrackAfter},
      {"track before a thumb at the end", 10, 90, 200, {5, 100}, spTrackBefore},
      {"beside the bar", 10, 0, 200, {17, 100}, spNone},
      {"below the bar", 10, 0, 200, {5, 200}, spNone},
      {"thumb filling the track: no track parts", 100, 0, 200, {5, 100}, spNone},
      {"thumb filling the track: arrows still work", 100, 0, 200, {5, 190}, spSecondArrow},
      {"bar shorter than two arrows: first half", 10, 0, 20, {5, 9}, spFirstArrow},
      {"bar shorter than two arrows: second half", 10, 0, 20, {5, 10}, spSecondArrow},
  };
  for (const Case& c : cases) {
    TacScrollBar bar = Bar(SB_VERT, 0, 99, c.nPage, c.nPos);
    EXPECT_EQ(HitTestScrollPart(bar, {0, 0, 17, c.length}, c.at), c.part) << c.what;
  }
  // The horizontal bar swaps the axes.
  TacScrollBar horz = Bar(SB_HORZ, 0, 99, 10, 0);
  EXPECT_EQ(HitTestScrollPart(horz, {0, 0, 200, 17}, {195, 5}), spSecondArrow);
  EXPECT_EQ(HitTestScrollPart(horz, {0, 0, 200, 17}, {100, 5}), spTrackAfter);
}

TEST(ScrollGeometry, DraggedThumbStaysInRangeAndReachesTheLastPosition) {
  const RECT track{0, kArrow, 17, 200 - kArrow};  // 166 pixels, thumb 17: 149 to travel
  struct Case {
    const char* what;
    int nMin, nMax, nPage, thumbStart;
    int position;
  } cases[] = {
      {"top", 0, 99, 10, 17, 0},
      {"the very end is the last valid position, not one past it", 0, 99, 10, 166, 90},
      {"middle", 0, 99, 10, 17 + 75, 45},
      {"nMin is added", 50, 149, 10, 17, 50},
      {"nMin is added at the end", 50, 149, 10, 166, 140},
      {"nPage 0: the end is nMax", 0, 99, 0, 166, 99},
      {"a page larger than the range stays at nMin", 0, 9, 50, 166, 0},
  };
  for (const Case& c : cases) {
    TacScrollBar bar = Bar(SB_VERT, c.nMin, c.nMax, c.nPage, c.nMin);
    EXPECT_EQ(ThumbDragPosition(bar, track, 17, c.thumbStart), c.position) << c.what;
  }
  TacScrollBar bar = Bar(SB_VERT, 0, 99, 10, 0);
  EXPECT_EQ(DraggedThumbStart(bar, track, 17, 1000, 5), 166) << "dragged past the end";
  EXPECT_EQ(DraggedThumbStart(bar, track, 17, -50, 5), 17) << "dragged above the start";
  EXPECT_EQ(DraggedThumbStart(bar, track, 17, 105, 5), 100);
  EXPECT_EQ(ThumbDragPosition(bar, {0, 0, 17, 17}, 17, 0), 0) << "no room to travel";
}

TEST(ScrollGeometry, BarsInsideTheFrame) {
  const RECT window{100, 100, 300, 250};
  ScrollFrame frame{2, 2, 2, 2, false};
  TacScrollBar horz = Bar(SB_HORZ, 0, 0, 0, 0), vert = Bar(SB_VERT, 0, 0, 0, 0);
  auto same = [](RECT a, RECT b) { return EqualRect(&a, &b) != 0; };

  horz.Visible = vert.Visible = true;
  EXPECT_TRUE(same(HorzScrollBarRect(window, frame, horz, vert), {102, 231, 281, 248}));
  EXPECT_TRUE(same(VertScrollBarRect(window, frame, horz, vert), {281, 102, 298, 231}));
  EXPECT_TRUE(same(ScrollCornerRect(window, frame, horz, vert), {281, 231, 298, 248}));

  frame.LeftScrollBar = true;
  EXPECT_TRUE(same(HorzScrollBarRect(window, frame, horz, vert), {119, 231, 298, 248}));
  EXPECT_TRUE(same(VertScrollBarRect(window, frame, horz, vert), {102, 102, 119, 231}));
  EXPECT_TRUE(same(ScrollCornerRect(window, frame, horz, vert), {102, 231, 119, 248}));

  frame.LeftScrollBar = false;
  horz.Visible = false;
  EXPECT_TRUE(same(VertScrollBarRect(window, frame, horz, vert), {281, 102, 298, 248})) << "no horizontal bar";
  const RECT h = HorzScrollBarRect(window, frame, horz, vert);
  EXPECT_TRUE(IsRectEmpty(&h));
}

TEST(ScrollGeometry, SizesFromTheSystemWhenNotSet) {
  TacScrollBar bar;
  bar.Kind = SB_VERT;
  bar.Thickness = -2;
  EXPECT_EQ(BarThickness(bar), 2 * GetSystemMetrics(SM_CXVSCROLL));
  bar.Thickness = 9;
  EXPECT_EQ(BarThickness(bar), 9);
  bar.Kind = 2;
  EXPECT_EQ(BarThickness(bar), 0) << "neither horizontal nor vertical";
}

}  // namespace
