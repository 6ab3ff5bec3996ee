// The rules behind a skinned form's own mouse commands that depend on nothing but numbers:
// the rectangle of the border drag (a form moved and sized by the provider's own drag frame
// instead of the system's live drag) and where a maximized form lies on its monitor. The
// provider gathers the numbers (form_mouse.cpp); these functions are tested without windows.
//
//   RECT frame = BorderDragRect(HTLEFT, formBounds, current, {dx, dy}, {minW, minH});
//   MaximizedPlacement max = MaximizedBounds(measures);   // into MINMAXINFO
#pragma once

#include <windows.h>

// The drag frame after the mouse moved by `delta` since the drag began: the edges of the
// dragged border (`kind`, HTLEFT..HTBOTTOMRIGHT) follow the mouse from where the form lay
// (`form`), the others stay as in `current`, and the frame never gets smaller than `minSize`
// (0: no limit).
RECT BorderDragRect(int kind, const RECT& form, const RECT& current, POINT delta, SIZE minSize);

// What the maximized bounds of a skinned frame depend on.
struct MaximizeMeasures {
  RECT WorkArea{};
  int FrameWidth = 0;         // the window's own side frame
  bool FullCaption = false;   // both bits of WS_CAPTION
  int CaptionExt = 0;         // the caption band, extended measure
  int CaptionPlain = 0;       // the caption band, plain measure
  int TitleHeight = 0, MaxHeight = 0, CenterOffset = 0;  // the skin's caption heights
};

struct MaximizedPlacement {
  int PositionY = 0;  // the horizontal position stays the system's
  SIZE Size{};
};

// The frame's side and bottom bands lie outside the work area; the top band and a skin's
// taller normal title lie above it so that the maximized caption is the skin's MAXHEIGHT.
MaximizedPlacement MaximizedBounds(const MaximizeMeasures& m);
