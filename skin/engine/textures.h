// Textures and small drawing services of the skin engine: the painters behind a section's
// PATTERN and HOTPATTERN images (tiled, stretched or laid along one edge by a layout code,
// with or without a mask part), a tiler for plain bitmaps and JPEG patterns, two-colour pen
// frames and the dotted focus rectangle, the layout of a glyph and a caption in a button, a
// text measure for a font handle, and the filtered resampler that scales track-bar images.
//
//   RECT rest = rect;
//   TileTexture(canvas, rest, nullptr, manager->Masks[texture], manager->Masks[texture].StretchMode);
//   if (rest.left != -1) FillRectSolid(canvas.Handle(), rest, colour);   // what it left over
//   ResampleBitmap(glyph, scaled, 24, 24, 6);                          // Mitchell
//
// Texture layout codes (an entry's StretchMode): 0 tile the rectangle; 1 stretch over it;
// 2 one row of tiles along the top, 3 one column along the left, 6 along the bottom, 7 along
// the right; 4 stretched across at the image's height along the top, 5 stretched down at its
// width along the left; 10 full tiles only.
#pragma once

#include <windows.h>

#include <string_view>

#include "framework/bitmap.h"
#include "framework/canvas.h"
#include "skin/engine/paint_types.h"
#include "skin/engine/skin_data.h"

// Tiles a bitmap or a JPEG picture over rect from its top-left corner, the last row and column
// cut; nothing for other graphics or empty ones.
void TileGraphic(TCanvas& canvas, const RECT& rect, const TGraphic* graphic);
// Paints a texture: `texture` when given, else the entry's whole picture in the master bitmap
// by layout. rect receives the part left uncovered, or (-1, -1, -1, -1) for none.
void TileTexture(TCanvas& canvas, RECT& rect, const TGraphic* texture, const TsMaskData& mask, int layout);
// Tiles the first frame of a master-bitmap texture with a mask part (layouts 0 and 10; 10
// fills what full tiles leave with the background). rect becomes (-1, -1, -1, -1).
void TileMaskedTexture(TBitmap* bitmap, RECT& rect, const CacheSourceInfo& cacheInfo, const TsMaskData& mask,
                       int layout);

// Draws width nested one-pixel frames: left and top in color, right and bottom in color2
// (taken as it is). rect shrinks by the frame and width becomes 0.
void DrawColorFrame(HDC dc, RECT& rect, TColor color, TColor color2, int& width);
// A focus rectangle of single black and white pixels every third pixel.
void DrawDottedFocusRect(TCanvas& canvas, const RECT& rect);
// The text's size in the font; (0, 0) when it cannot be measured.
void GetFontTextExtent(HFONT font, std::string_view text, SIZE& size);
// Places a glyph and a text in client. layout: 0 glyph left of the text, 1 right, 2 above,
// 3 below; alignment (layouts 0 and 1): 0 start, 1 end, 2 centre. margin -1 and spacing -1
// share the free space; biDiFlags bit 1 exchanges layouts 0 and 1.
void CalcGlyphTextLayout(const RECT& client, POINT glyphSize, POINT textSize, int layout, int alignment, int margin,
                         int spacing, POINT& glyphPos, RECT& textBounds, int biDiFlags);
// Scales source into dest with filter 0 Box, 1 Triangle, 2 Hermite, 3 Bell, 4 B-spline,
// 5 Lanczos3, 6 Mitchell. Raises Exception "Source bitmap is too small" for sources below
// 2 × 2. The result is 32-bit for a 32-bit source, else 24-bit; the source is not changed.
void ResampleBitmap(TBitmap* source, TBitmap* dest, int newWidth, int newHeight, int filter);
