// Small services shared by the skin painters: whether layered windows can be used, the
// saturation and hue changes with which a skin is recoloured when it loads, and the scan of
// a frame's transparent corners for window regions. (The background question a control asks
// its parent is in background_queries.h.)
//
//   TColor c = ChangeColorHue(30, ChangeColorSaturation(color, 20));
//   TAOR holes;
//   CollectTransparentCornerRects(holes, formWidth, manager->Masks[frame], 0, false);
#pragma once

#include <windows.h>

#include <vector>

#include "framework/gdi.h"
#include "skin/engine/paint_types.h"
#include "skin/engine/skin_data.h"

using TAOR = std::vector<RECT>;

// UpdateLayeredWindow was found in user32.dll (looked up once, at first use).
bool LayeredWindowsAvailable();

// Moves each channel towards the average of the three by amount percent (negative amounts
// away from it); the high byte becomes 0.
TColor ChangeColorSaturation(TColor color, int amount);
// Turns the hue by amount degrees; greys stay as they are.
TColor ChangeColorHue(int amount, TColor color);

// Appends a one-pixel-high rectangle for every run of magenta pixels in the left and right
// corners of the frame's top (or bottom) edge, placed at row y of a window width pixels wide.
void CollectTransparentCornerRects(TAOR& rects, int width, const TsMaskData& mask, int y, bool bottomEdge);
