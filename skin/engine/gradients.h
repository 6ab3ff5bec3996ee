// Gradient fills of skin sections. The text is words separated by ";", five to a band:
// colour 1, colour 2 (0x00BBGGRR), percent of the rectangle, mode, and one word not read.
// The first band's mode chooses the kind of the whole fill: 0 bands from top to bottom,
// 1 from left to right, 2 a five-point triangle mesh (the first colours of bands 1-5 at the
// top-left corner, the centre, the top-right, bottom-right and bottom-left corners).
//
//   TsGradArray bands;
//   ParseGradientData("255;16711680;100;0;0", bands);   // red to blue, top to bottom
//   PaintGradient(bitmap, {0, 0, 100, 40}, bands, 0);
#pragma once

#include <windows.h>

#include <string_view>

#include "skin/engine/skin_data.h"

// Empties `bands`, then fills it from the text; words after the last full band are ignored.
// A word that is no number raises EConvertError.
void ParseGradientData(std::string_view text, TsGradArray& bands);

// Paints the bands into the rectangle of a 24- or 32-bit bitmap (32-bit pixels get alpha
// 255; the mesh goes through GDI and works on any bitmap). Only pixels inside the bitmap
// are written. `offset` moves a vertical fill down by that many rows, so that pieces of one
// background painted apart line up.
void PaintGradient(TBitmap& bitmap, RECT rect, const TsGradArray& bands, int offset);
