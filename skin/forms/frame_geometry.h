// The measures of a skinned form's frame that depend on nothing but numbers: the caption
// band's height, the caption icon's edge, snapping to a work-area edge, which window region a
// form gets, and the region cut from the skin's transparent corners. The provider gathers
// the numbers from its form and skin; these functions hold the rules, so they are tested
// without windows.
//
//   CaptionMeasures caption{IsIconic(wnd) != 0, HasBorder(), style, form->BorderStyle(),
//                           ExtTitleHeight(borderForm), zoomedShortTitle};
//   int band = CaptionHeight(caption, true);
//   if (auto plain = PlainWindowRegion(regionMeasures))
//     SetWindowRgn(wnd, CreateRectRgnIndirect(&*plain), FALSE);
//   else
//     SetWindowRgn(wnd, MakeRegion(0, 0, frameWidth, form->Height(), corners), FALSE);
#pragma once

#include <windows.h>

#include <optional>

#include "framework/forms.h"
#include "skin/engine/colour_utils.h"

// What the caption band's height depends on.
struct CaptionMeasures {
  bool Iconic = false;       // the window is minimized
  bool HasBorder = false;    // the provider draws a frame for the form
  DWORD Style = 0;           // the window's style
  TFormBorderStyle BorderStyle = bsNone;
  int ExtTitleHeight = 0;    // the skin's title height with an extended-border window, else 0
  bool ZoomedShortTitle = false;  // maximized with a border window whose title is short
};

// Height of the caption band: 0 unless the window is minimized, or it has a border and both
// caption bits. With useExt the extended title height is the base; a short zoomed title is
// at least the system caption + 4; otherwise the base, or the system caption (the small one
// for tool windows) without one.
int CaptionHeight(const CaptionMeasures& form, bool useExt);

// Edge of a caption icon for a band of height h: 1 for -100 to 8, 8 for 9 to 16, else 16.
int TitleIconSize(int h);

// Moves pos so that pos + size lies on edge when it is closer than buffer (either side);
// otherwise pos stays.
void SnapCoordinate(int& pos, int edge, int buffer, int size);

// Snaps a window moving to (x, y) with size w x h to the edges of the work area when it comes
// closer than buffer. The extended frame of a border window lies sideMargin beyond the sides
// and the bottom and topMargin above the top: it is that frame that meets the edges.
void SnapToWorkArea(int& x, int& y, int w, int h, const RECT& area, int buffer, int sideMargin, int topMargin);

// What decides the shape of a form's window region.
struct RegionMeasures {
  int Width = 0, Height = 0;  // the form's window
  int FrameWidth = 0;         // the window's own side frame (style-based)
  int FrameTopWidth = 0;      // the window's own top frame: 0 with a border window
  int CaptionHeight = 0;      // the window's own caption (not extended)
  bool HasBorderForm = false; // an extended-border window draws the frame around it
  bool ZoomedShortTitle = false;
  bool Maximized = false;
  bool MdiChild = false;
  TSizeConstraints Constraints;
};

// The rectangle the window region is, when it is a plain one: with a border window only the
// client and menu line (the border window shows the frame); for a maximized form without size
// limits the part that lies on the monitor. nullopt: the region follows the skin's corners
// (MakeRegion).
std::optional<RECT> PlainWindowRegion(const RegionMeasures& form);

// The frame's rectangle at (x, y), frameWidth x height, less every corner run (moved by
// (x, y)). The caller owns the region until it hands it to SetWindowRgn.
HRGN MakeRegion(int x, int y, int frameWidth, int height, const TAOR& corners);
