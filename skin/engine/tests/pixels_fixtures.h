// Small bitmaps of known pixels for the painter tests, and pixel reads through the scan lines.
#pragma once

#include <cstdint>
#include <memory>

#include "framework/bitmap.h"

namespace efir::test {

inline uint8_t* PixelAddress(TBitmap& b, int x, int y) {
  return static_cast<uint8_t*>(b.ScanLine(y)) + x * (b.PixelFormat() == pf32bit ? 4 : 3);
}
// The pixel as 0x00BBGGRR (a TColor).
inline TColor At(TBitmap& b, int x, int y) {
  const uint8_t* p = PixelAddress(b, x, y);
  return p[2] | p[1] << 8 | p[0] << 16;
}
inline uint8_t AlphaAt(TBitmap& b, int x, int y) { return PixelAddress(b, x, y)[3]; }
inline void Put(TBitmap& b, int x, int y, TColor c, uint8_t alpha = 0) {
  uint8_t* p = PixelAddress(b, x, y);
  p[0] = static_cast<uint8_t>(c >> 16), p[1] = static_cast<uint8_t>(c >> 8), p[2] = static_cast<uint8_t>(c);
  if (b.PixelFormat() == pf32bit) p[3] = alpha;
}
inline void FillAll(TBitmap& b, TColor c, uint8_t alpha = 0) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) Put(b, x, y, c, alpha);
}
inline std::unique_ptr<TBitmap> Solid(int w, int h, TPixelFormat f, TColor c, uint8_t alpha = 0) {
  auto b = std::make_unique<TBitmap>(w, h, f);
  FillAll(*b, c, alpha);
  return b;
}
// A grey of one level in all three channels.
constexpr TColor Grey(int level) { return level | level << 8 | level << 16; }

}  // namespace efir::test
