// Small services shared by the skin painters: whether layered windows can be used, the
// saturation and hue changes with which a skin is recoloured when it loads, the question a
// control asks its parent about what lies behind it, the conversion of the answer into the
// record the painters read, and the scan of a frame's transparent corners for window regions.
//
//   BackgroundInfo info;
//   QueryParentBackground(info, control->Parent(), false);
//   CacheSourceInfo source;
//   BackgroundInfoToCacheInfo(info, source);
//   TColor c = ChangeColorHue(30, ChangeColorSaturation(color, 20));
#pragma once

#include <windows.h>

#include <vector>

#include "framework/gdi.h"
#include "skin/engine/paint_types.h"
#include "skin/engine/skin_data.h"

class TControl;

using TAOR = std::vector<RECT>;

// UpdateLayeredWindow was found in user32.dll (looked up once, at first use).
bool LayeredWindowsAvailable();

// Moves each channel towards the average of the three by amount percent (negative amounts
// away from it); the high byte becomes 0.
TColor ChangeColorSaturation(TColor color, int amount);
// Turns the hue by amount degrees; greys stay as they are.
TColor ChangeColorHue(int amount, TColor color);

// Asks the parent window with the skin command message; true when it answered. Without an
// answer, a record that came in with PaintNow set gets the parent painted into its TargetDC,
// else it becomes a colour answer (the default manager's GLOBALINFO colour).
bool QueryParentWindowBackground(BackgroundInfo& info, HWND parentWnd, bool paintNow);
// The same for a control (its window when it has one, else its own dispatch); without an
// answer and without painting, the answer is the parent's colour.
bool QueryParentBackground(BackgroundInfo& info, TControl* parent, bool paintNow);
// A bitmap answer becomes a ready background; any other a colour, not ready.
void BackgroundInfoToCacheInfo(const BackgroundInfo& info, CacheSourceInfo& cacheInfo);

// Appends a one-pixel-high rectangle for every run of magenta pixels in the left and right
// corners of the frame's top (or bottom) edge, placed at row y of a window width pixels wide.
void CollectTransparentCornerRects(TAOR& rects, int width, const TsMaskData& mask, int y, bool bottomEdge);
