// Scan-line access to the 24- and 32-bit off-screen bitmaps the skin painters work on, and
// the fills built directly on it. Painters never touch pixels through a device context: they
// attach one of these objects (or take the bitmap's PixelRows) and step along raw rows.
//
//   if (FastAccess24.Attach(background)) colour = FastAccess24.GetPixel(x, y);   // red low
//   PixelRows rows = RowsOf(bitmap);                 // any size; empty for other formats
//   if (rows.Contains(x, y)) rows.At(x, y)[0] = 0;   // blue byte of (x, y)
//   FillRect32(bitmap32, {0, 0, 8, 8}, clRed);       // opaque red, alpha 255
//
// The global access objects are shared by all painters on the GUI thread: a painter must not
// call another painter while it holds one attached to a different bitmap.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "framework/bitmap.h"
#include "skin/engine/paint_types.h"

// The rows of a pf24bit or pf32bit bitmap. Empty (false) for nil, empty or other formats.
struct PixelRows {
  uint8_t* Origin = nullptr;  // row 0
  ptrdiff_t Stride = 0;       // from a row to the next
  int Width = 0;
  int Height = 0;
  int Bytes = 0;              // 3 or 4 a pixel

  explicit operator bool() const { return Origin != nullptr; }
  uint8_t* At(int x, int y) const { return Origin + y * Stride + static_cast<ptrdiff_t>(x) * Bytes; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }
};
PixelRows RowsOf(TBitmap* bitmap);

// The colour of a pixel (blue, green, red bytes) as a TColor, red in the low byte.
inline TColor PixelColor(const uint8_t* p) { return p[2] | p[1] << 8 | p[0] << 16; }
// The pixel's blue, green and red equal those of an RGB colour.
inline bool PixelIs(const uint8_t* p, TColor color) {
  return p[2] == (color & 0xFF) && p[1] == ((color >> 8) & 0xFF) && p[0] == ((color >> 16) & 0xFF);
}
// Writes the blue, green and red of an RGB colour.
inline void SetPixelColor(uint8_t* p, TColor color) {
  p[0] = static_cast<uint8_t>(color >> 16);
  p[1] = static_cast<uint8_t>(color >> 8);
  p[2] = static_cast<uint8_t>(color);
}

// Where a cell copy reads and writes once both rectangles (right and bottom exclusive) are
// cut to what both sizes and both bitmaps allow; a negative left or top edge moves both
// edges right or down together. Empty when nothing remains.
struct CellSpan {
  int DestX = 0, DestY = 0, SourceX = 0, SourceY = 0, Columns = 0, Rows = 0;
  explicit operator bool() const { return Columns > 0 && Rows > 0; }
};
CellSpan ClipCell(const RECT& destRect, const RECT& sourceRect, int destWidth, int destHeight, int sourceWidth,
                  int sourceHeight);

// Reads the background behind the pixels of an item: the pixel of a ready background bitmap
// at the item's column and row plus the offsets.
class BackgroundReader {
 public:
  explicit BackgroundReader(const CacheSourceInfo& info);
  bool Ready() const { return static_cast<bool>(rows_); }
  // Copies the blue, green and red behind item pixel (x, y) into p; false (p untouched) when
  // the background is not ready or does not reach that far.
  bool Copy(int x, int y, uint8_t* p) const;

 private:
  PixelRows rows_;
  int offsetX_, offsetY_;
};

// One 24-bit (TacFast24) or 32-bit (TacFast32) bitmap attached for reading and writing.
class TacFastRows {
 public:
  TBitmap* Target = nullptr;
  int32_t Columns = 0;  // 0 while nothing usable is attached
  int32_t Rows = 0;
  int32_t RowStride = 0;
  uint8_t* Origin = nullptr;

 protected:
  // False, with Columns 0, for nil, another pixel format or a side below 2 pixels.
  bool AttachAs(TBitmap* bitmap, TPixelFormat format);
  uint8_t* Address(int x, int y, int bytes) const {
    return Origin + static_cast<ptrdiff_t>(y) * RowStride + static_cast<ptrdiff_t>(x) * bytes;
  }
};

class TacFast24 : public TacFastRows {
 public:
  bool Attach(TBitmap* bitmap) { return AttachAs(bitmap, pf24bit); }
  // No bounds check: callers check.
  TColor GetPixel(int x, int y) const { return PixelColor(Address(x, y, 3)); }
};

class TacFast32 : public TacFastRows {
 public:
  bool Attach(TBitmap* bitmap) { return AttachAs(bitmap, pf32bit); }
  // The pixel with its alpha byte in the high byte. No bounds check: callers check.
  TColor GetPixel(int x, int y) const;
  // Red, green, blue from the low bytes, alpha from the high byte.
  void SetPixel(int x, int y, TColor color);
  // Stores the 32-bit value into every pixel of rect (clipped to the bitmap).
  void FillRect(RECT rect, uint32_t pixel);
};

// Stores `pixel` into `count` consecutive 32-bit pixels.
void FillPixels32(uint8_t* start, int count, uint32_t pixel);

// A weighted blend of a source bitmap into a destination bitmap of the same format:
// dest := (dest × Weight + src × (255 − Weight) + 127) shr 8 on every byte of the destination
// rectangle, so Weight is the share of what was in Dest. The caller clips both rectangles
// (right and bottom exclusive) to the bitmaps; Blend checks nothing.
template <int Bytes>
class TacFastSum {
 public:
  TBitmap* Source = nullptr;
  TBitmap* Dest = nullptr;
  int32_t Columns = 0, Rows = 0;  // the smaller width and height of the two
  uint8_t* SourceOrigin = nullptr;
  uint8_t* DestOrigin = nullptr;
  int32_t SourceStride = 0, DestStride = 0;
  uint8_t Weight = 0;
  int32_t DestLeft = 0, DestTop = 0, DestRight = 0, DestBottom = 0;
  int32_t SourceLeft = 0, SourceTop = 0, SourceRight = 0, SourceBottom = 0;

  // False when either bitmap is missing, not of this format or has a side below 2.
  bool Attach(TBitmap* source, TBitmap* dest);
  void Blend();
};
using TacFastSum24 = TacFastSum<3>;
using TacFastSum32 = TacFastSum<4>;

extern TacFast24 FastAccess24;
extern TacFastSum24 FastSum24;
extern TacFast32 FastAccess32;

// The 32-bit pixel of an RGB colour with alpha 255.
uint32_t ColorToPixel32(TColor color);
// Fills rect (clipped to the bitmap) of a 32-bit bitmap with the opaque colour.
void FillRect32(TBitmap* bitmap, RECT rect, TColor color);
// Mixes a colour into a rectangle whose right and bottom edges are included (clipped to the
// bitmap): each channel := old × percent / 100 + colour × (1 − percent / 100), rounded half
// to even. Alpha bytes of 32-bit bitmaps stay.
void TintRect(TBitmap* bitmap, RECT rect, uint8_t percent, TColor color);
