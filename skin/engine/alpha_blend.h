// Combining two off-screen bitmaps on their scan lines: blends by a constant factor or a byte
// weight, copies that skip a key colour, copies through a mask or an alpha channel, tints,
// cross-fades, the colour mix of disabled text, and the factories of the bitmaps every
// painter works on (the caller owns what they return).
//
//   auto cache = NewBitmap24(120, 24);                       // pf24bit device-independent
//   CopyWeightedRect(cache.get(), glow.get(), 128, {0, 0, 120, 24}, {0, 0});   // half and half
//   CopyBitmapKeyed(cache.get(), glyph.get(), 4, 4, TransparentKeyColor);     // magenta skipped
//
// All routines take the bitmaps as pointers and paint nothing for nil bitmaps, formats other
// than pf24bit and pf32bit, or rectangles that miss the bitmaps; each bitmap is read in its
// own format.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "framework/bitmap.h"
#include "skin/engine/paint_types.h"

std::unique_ptr<TBitmap> NewBitmap24(int width, int height);
std::unique_ptr<TBitmap> NewBitmap32(int width, int height);
// Same size and pixel format.
std::unique_ptr<TBitmap> NewBitmapLike(const TBitmap& bitmap);

// Per channel Round(factor × c1 + (1 − factor) × c2), half to even; the high byte of color1.
TColor MixColors(TColor color1, TColor color2, double factor);
// A pixel value read from a canvas is already a colour.
inline TColor ColorOfPixel(TColor value) { return value; }

// Blends sourceRect of source (right and bottom inclusive, clipped to the source; a negative
// left or top moves the destination along) onto dest at (x, y): each channel := (1 − factor)
// × source + factor × destination, rounded half to even. Source pixels of keyColor are
// skipped; a keyColor whose high byte is 0xFF means none. Alpha bytes of dest stay.
void CopyBlendedRect(TBitmap* dest, int x, int y, TBitmap* source, RECT sourceRect, double factor, TColor keyColor);
// Every pixel but those of keyColor := colour + factor × (old − colour) per channel.
void TintBitmap(TBitmap* bitmap, TColor color, TColor keyColor, double factor);
// Two 24-bit bitmaps of one size: color where the mask is 0, the old pixel where it is 255.
void BlendColorThroughMask(TBitmap* bitmap, TBitmap* mask, TColor color);
// Two 24-bit bitmaps of one size: dest := (dest × weight + src × (255 − weight) + 127) shr 8.
void BlendEqualBitmaps24(TBitmap* dest, TBitmap* source, uint8_t weight);
// The same blend for sourceRect (right and bottom exclusive) of source into dest at destPoint;
// both bitmaps 24-bit or both 32-bit (all four bytes then), else nothing.
void CopyWeightedRect(TBitmap* dest, TBitmap* source, uint8_t weight, RECT sourceRect, POINT destPoint);
// a and b: 24-bit of one size; target: 32-bit, at least as large (alpha bytes stay). Without a
// mask each channel := (alpha × (a − b) + b × 256) shr 8 (alpha 0 gives b, 256 gives a); with a
// 24-bit mask at least as large, m of the mask takes alpha's place.
void CrossFadeBitmaps(TBitmap* target, TBitmap* a, TBitmap* b, TBitmap* mask, int alpha);

// Copies the whole source to (x, y), skipping keyColor; a 32-bit dest gets alpha 255.
void CopyBitmapKeyed(TBitmap* dest, TBitmap* source, int x, int y, TColor keyColor);
// Copies sourceRect (right and bottom inclusive, clipped to the source) to (x, y), skipping
// keyColor. cacheInfo is not used.
void CopyKeyedRect24(TBitmap* dest, TBitmap* source, int x, int y, RECT sourceRect, TColor keyColor,
                     const CacheSourceInfo& cacheInfo);
// Copies a cell of a glyph whose transparency is a mask in the lower half of the same 24-bit
// bitmap, or the alpha channel of a 32-bit one. With a ready background, magenta pixels
// take the background when fillTransparent is set.
void CopyMaskCellTransparent(RECT destRect, RECT sourceRect, TBitmap* dest, TBitmap* source,
                             const CacheSourceInfo& cacheInfo, bool fillTransparent);
// Copies a cell of a 32-bit glyph into a 24-bit dest through its alpha channel; color (clNone
// for none) tints the glyph's grey, blendPercent fades it, reflection mirrors it below the cell.
// The source is left as it is.
void CopyAlphaCell(RECT destRect, RECT sourceRect, TBitmap* dest, TBitmap* source, const CacheSourceInfo& cacheInfo,
                   bool fillTransparent, TColor color, int blendPercent, bool reflection);
