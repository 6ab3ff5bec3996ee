// Where the parts of a skinned non-client scroll bar lie: the bar's arrow length and thickness,
// the bar rectangles inside a window's frame, the thumb, which part a point is on, and the
// position a thumb dragged to a place stands for. Pure arithmetic on the bar's SCROLLINFO, so
// the adapter (scroll_wnd.h), the painters (scroll_paint.h) and the tests share one answer.
//
//   TacScrollBar bar;  bar.Kind = SB_VERT;  bar.Info = ...;       // nMin, nMax, nPage, nPos
//   ThumbSpan thumb = ThumbGeometry(bar, barRect);             // length and start along the bar
//   ScrollPart part = HitTestScrollPart(bar, barRect, cursor);  // spThumb, spFirstArrow, ...
//
// Rectangles are in one coordinate space of the caller's choice (screen for hit tests). The
// thumb, hit zones and drag use the plain arrow length; only the arrows' pictures take the
// skin's own length (ScrollBarPartSize with useSkin).
#pragma once

#include <windows.h>

#include <cstdint>

class TsSkinManager;
class TacScrollWnd;

// The parts of a bar; also the scroll codes pressing them sends (SB_LINEUP .. SB_PAGEDOWN).
enum ScrollPart : int {
  spNone = -1,
  spFirstArrow = 0,  // left or up
  spSecondArrow = 1,
  spTrackBefore = 2,
  spTrackAfter = 3,
  spThumb = 5,
};

constexpr int DefaultMinThumbSize = 10;

// One bar of a skinned window; its adapter owns it.
struct TacScrollBar {
  uint16_t Flags = 0;         // 8 when the window's style has this bar's style bit
  bool Visible = false;       // the bar takes room in the non-client area
  SCROLLINFO Info{sizeof(SCROLLINFO), 0, 0, 0, 0, 0, 0};
  int ArrowLength = -1;       // pixels when >= 0; -n: n times the default arrow length
  int Thickness = -1;         // pixels when >= 0; -n: n times the system's bar size
  int Kind = SB_HORZ;         // SB_HORZ or SB_VERT
  int MinThumbSize = DefaultMinThumbSize;
  TacScrollWnd* Owner = nullptr;

  // Re-reads range, page, position and track position from the window.
  void ReadInfo(HWND wnd);
  bool Horizontal() const { return Kind == SB_HORZ; }
};

// Which = 0: the arrow length (with useSkin, the skin's wider first-arrow picture when its
// section asks for that through RESERVEDBOOLEAN); any other Which: the thickness. 0 for a
// Kind other than SB_HORZ and SB_VERT.
int ScrollBarPartSize(const TacScrollBar& bar, int which, bool useSkin, const TsSkinManager* manager);
inline int PlainArrowLength(const TacScrollBar& bar) { return ScrollBarPartSize(bar, 0, false, nullptr); }
inline int BarThickness(const TacScrollBar& bar) { return ScrollBarPartSize(bar, 1, false, nullptr); }

// Along the bar: start and end of the bar rectangle, and a point's coordinate.
inline int BarStart(const TacScrollBar& bar, const RECT& r) { return bar.Horizontal() ? r.left : r.top; }
inline int BarEnd(const TacScrollBar& bar, const RECT& r) { return bar.Horizontal() ? r.right : r.bottom; }
inline int BarLength(const TacScrollBar& bar, const RECT& r) { return BarEnd(bar, r) - BarStart(bar, r); }
inline int AlongBar(const TacScrollBar& bar, POINT p) { return bar.Horizontal() ? p.x : p.y; }

struct ThumbSpan {
  int Size = 0;
  int Start = 0;  // in the rectangle's coordinates
};
// The thumb's length (an arrow's length when nPage is 0, else in proportion to the page, at
// least MinThumbSize) and where it starts for nPos, kept inside the track.
ThumbSpan ThumbGeometry(const TacScrollBar& bar, const RECT& barRect);

// The part under the point, spNone off the bar; no thumb or track parts when the thumb would
// fill the track.
ScrollPart HitTestScrollPart(const TacScrollBar& bar, const RECT& barRect, POINT point);

// The position for a thumb dragged so that it starts at `thumbStart` (already kept inside
// the track): nMin at the track's start, the last valid position (nMax − max(nPage, 1) + 1)
// at its end, never outside them.
int ThumbDragPosition(const TacScrollBar& bar, const RECT& trackRect, int thumbSize, int thumbStart);
// Where a thumb grabbed `grabOffset` pixels from its start lies when the cursor is at
// `along`, kept inside the track (trackRect: the bar less both arrows).
int DraggedThumbStart(const TacScrollBar& bar, const RECT& trackRect, int thumbSize, int along, int grabOffset);

// The widths of a window's own non-client edges, and where its bars stand.
struct ScrollFrame {
  int LeftEdge = 0, RightEdge = 0, TopEdge = 0, BottomEdge = 0;
  bool LeftScrollBar = false;  // WS_EX_LEFTSCROLLBAR: the vertical bar on the left
};
// The bars' rectangles inside the window rectangle (same coordinates); a bar that is not
// Visible gets an empty rectangle along its side.
RECT HorzScrollBarRect(const RECT& window, const ScrollFrame& frame, const TacScrollBar& horz,
                       const TacScrollBar& vert);
RECT VertScrollBarRect(const RECT& window, const ScrollFrame& frame, const TacScrollBar& horz,
                       const TacScrollBar& vert);
// The square where both bars meet.
RECT ScrollCornerRect(const RECT& window, const ScrollFrame& frame, const TacScrollBar& horz,
                      const TacScrollBar& vert);
