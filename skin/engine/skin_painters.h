// The painters that put skin images onto a control's off-screen bitmap: the nine-part painter
// that stretches or tiles a border image over a rectangle, the painter of one whole state
// frame, their cell copies, the corner copy for shaped frames and the disabled look.
//
//   const TsMaskData& border = manager->Masks[i];
//   PaintSkinSlices(cache, {0, 0, w, h}, true, background, border, hot ? 1 : 0, true, nullptr);
//   PaintMaskFrame(cache, {4, 4}, checked ? 1 : 0, 1, manager->Masks[glyph], background);
//   ApplyDisabledLook(cache, dkBlended, control, background, {0, 0});
//
// A skin image entry holds ImageCount state frames side by side in its rectangle R (of its
// own Image, else of the manager's master bitmap); the state is clamped to the last frame.
// With MaskType above 0 the picture is followed below by mask parts of the same height, and
// each channel becomes (s × 256 + m × (d − s)) div 256: mask 0 shows the picture, 255 keeps
// what was there. With MaskType 0 magenta pixels are transparent. Unusable input (nil
// bitmaps, rectangles below 2 pixels, entries without a manager or frames) paints nothing.
#pragma once

#include <windows.h>

#include "framework/bitmap.h"
#include "skin/engine/paint_types.h"
#include "skin/engine/skin_data.h"

class TControl;
class TsCommonData;

// Border widths of the two sides of a size (left and right, or top and bottom) cut down
// evenly when the size is smaller than both together; the second side takes the odd pixel.
void FitBorders(int size, int& first, int& second);

// Paints the state frame of mask over rect as nine parts: corners kept, sides and centre
// tiled (stretched when StretchMode bit 0 is set and the image has no mask part). The centre
// only with fillCentre and StretchMode bit 2; nothing in state 0 with StretchMode bit 1.
// fillCorners lets the background of cacheInfo show through transparent corner pixels.
// manager is not used: the entry's own is.
void PaintSkinSlices(TBitmap* bitmap, RECT rect, bool fillCentre, const CacheSourceInfo& cacheInfo,
                     const TsMaskData& mask, int state, bool fillCorners, TsSkinManager* manager);
// Paints one whole state frame unscaled with its top-left corner at point (a negative point
// is clipped). Mode 1 is the normal copy; any other gives a paler, half-transparent look.
void PaintMaskFrame(TBitmap* bitmap, POINT point, int state, int mode, const TsMaskData& mask,
                    const CacheSourceInfo& cacheInfo);

// The cell copies behind them. Rectangles of CopyMaskedFrame and CopyKeyedCell are inclusive
// (right and bottom are the last pixel); the others exclusive.
void CopyMaskedFrame(RECT destRect, RECT sourceRect, TBitmap* bitmap, TBitmap* image, TColor keyColor, int mode,
                     const TsMaskData& mask);
void CopyMaskedMasterCell(RECT destRect, RECT sourceRect, TBitmap* bitmap, const CacheSourceInfo& cacheInfo,
                          const TsMaskData& mask);
void BlendMaskCell(RECT destRect, RECT sourceRect, TBitmap* bitmap, TBitmap* image, const CacheSourceInfo& cacheInfo,
                   bool fillTransparent, const TsMaskData& mask);
void CopyKeyedCell(TBitmap* dest, TBitmap* source, int x, int y, RECT sourceRect, TColor keyColor,
                   const CacheSourceInfo& cacheInfo, bool fillTransparent);

// Copies 32-bit pixels of source into dest wherever the corner image of the entry maskIndex
// (corner HTTOPLEFT, HTTOPRIGHT, HTBOTTOMLEFT or HTBOTTOMRIGHT) is transparent; with
// maskIndex -1 wherever dest itself is magenta.
void CopyWhereTransparent(TBitmap* dest, TBitmap* source, RECT destRect, RECT sourceRect, int maskIndex,
                          TsSkinManager* manager, int corner);
// Turns a control's finished image into its disabled look: grey, and/or 60 % background over
// 40 % control (tinted half with the background colour when the background is not ready).
// offset: where the bitmap lies over the background, added to the info's offsets.
void ApplyDisabledLook(TBitmap* bitmap, TsDisabledKind kind, TControl* control, const CacheSourceInfo& cacheInfo,
                       POINT offset);

// Lets the parent's background show through the transparent pixels of the chosen corners of
// the control's cache: bits 1 top-left, 2 bottom-left, 4 top-right, 8 bottom-right, taken
// from the border image's frame of the state.
void RestoreCornersEx(TsCommonData& skinData, int state, uint8_t corners);
inline void RestoreCorners(TsCommonData& skinData, int state) { RestoreCornersEx(skinData, state, 15); }
