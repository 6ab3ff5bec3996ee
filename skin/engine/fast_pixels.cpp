#include "skin/engine/fast_pixels.h"

#include <algorithm>
#include <cmath>

TacFast24 FastAccess24;
TacFastSum24 FastSum24;
TacFast32 FastAccess32;

namespace {

uint8_t* FirstRow(TBitmap* bitmap) { return static_cast<uint8_t*>(bitmap->ScanLine(0)); }

// Distance from row 0 to row 1 (0 for a bitmap of one row).
ptrdiff_t RowDistance(TBitmap* bitmap) {
  if (bitmap->Height() < 2) return 0;
  return static_cast<uint8_t*>(bitmap->ScanLine(1)) - FirstRow(bitmap);
}

bool UsableForSum(TBitmap* bitmap, TPixelFormat format) {
  return bitmap && bitmap->PixelFormat() == format && bitmap->Width() >= 2 && bitmap->Height() >= 2;
}

RECT ClipTo(RECT rect, int width, int height) {
  return {std::max<LONG>(rect.left, 0), std::max<LONG>(rect.top, 0), std::min<LONG>(rect.right, width),
          std::min<LONG>(rect.bottom, height)};
}

}  // namespace

PixelRows RowsOf(TBitmap* bitmap) {
  if (!bitmap || bitmap->Width() <= 0 || bitmap->Height() <= 0) return {};
  const TPixelFormat format = bitmap->PixelFormat();
  if (format != pf24bit && format != pf32bit) return {};
  return {FirstRow(bitmap), RowDistance(bitmap), bitmap->Width(), bitmap->Height(), format == pf32bit ? 4 : 3};
}

bool TacFastRows::AttachAs(TBitmap* bitmap, TPixelFormat format) {
  Columns = 0;
  if (!bitmap || bitmap->PixelFormat() != format || bitmap->Width() < 2 || bitmap->Height() < 2) return false;
  Target = bitmap;
  Columns = bitmap->Width();
  Rows = bitmap->Height();
  Origin = FirstRow(bitmap);
  RowStride = static_cast<int32_t>(RowDistance(bitmap));
  return true;
}

TColor TacFast32::GetPixel(int x, int y) const {
  const uint8_t* p = Address(x, y, 4);
  return static_cast<TColor>(static_cast<uint32_t>(PixelColor(p)) | static_cast<uint32_t>(p[3]) << 24);
}

void TacFast32::SetPixel(int x, int y, TColor color) {
  uint8_t* p = Address(x, y, 4);
  SetPixelColor(p, color);
  p[3] = static_cast<uint8_t>(static_cast<uint32_t>(color) >> 24);
}

void TacFast32::FillRect(RECT rect, uint32_t pixel) {
  rect = ClipTo(rect, Columns, Rows);
  for (int y = rect.top; y < rect.bottom; ++y) FillPixels32(Address(rect.left, y, 4), rect.right - rect.left, pixel);
}

void FillPixels32(uint8_t* start, int count, uint32_t pixel) {
  auto* p = reinterpret_cast<uint32_t*>(start);
  for (int i = 0; i < count; ++i) p[i] = pixel;
}

template <int Bytes>
bool TacFastSum<Bytes>::Attach(TBitmap* source, TBitmap* dest) {
  const TPixelFormat format = Bytes == 4 ? pf32bit : pf24bit;
  if (!UsableForSum(source, format) || !UsableForSum(dest, format)) return false;
  Source = source;
  Dest = dest;
  Columns = std::min(source->Width(), dest->Width());
  Rows = std::min(source->Height(), dest->Height());
  SourceOrigin = FirstRow(source);
  DestOrigin = FirstRow(dest);
  SourceStride = static_cast<int32_t>(RowDistance(source));
  DestStride = static_cast<int32_t>(RowDistance(dest));
  return true;
}

template <int Bytes>
void TacFastSum<Bytes>::Blend() {
  const int w = Weight, rest = 255 - Weight;
  const ptrdiff_t shift = static_cast<ptrdiff_t>(SourceLeft - DestLeft) * Bytes;
  const int first = DestLeft * Bytes, last = DestRight * Bytes;
  for (int y = DestBottom - 1; y >= DestTop; --y) {
    uint8_t* d = DestOrigin + static_cast<ptrdiff_t>(y) * DestStride;
    const uint8_t* s = SourceOrigin + static_cast<ptrdiff_t>(y - DestBottom + SourceBottom) * SourceStride + shift;
    for (int i = first; i < last; ++i) d[i] = static_cast<uint8_t>((d[i] * w + s[i] * rest + 127) >> 8);
  }
}

template class TacFastSum<3>;
template class TacFastSum<4>;

uint32_t ColorToPixel32(TColor color) {
  const auto c = static_cast<uint32_t>(color);
  return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF) | 0xFF000000u;
}

void FillRect32(TBitmap* bitmap, RECT rect, TColor color) {
  TacFast32 access;
  if (access.Attach(bitmap)) access.FillRect(rect, ColorToPixel32(color));
}

void TintRect(TBitmap* bitmap, RECT rect, uint8_t percent, TColor color) {
  const PixelRows rows = RowsOf(bitmap);
  if (!rows) return;
  rect = ClipTo({rect.left, rect.top, rect.right + 1, rect.bottom + 1}, rows.Width, rows.Height);
  const COLORREF c = ColorToRGB(color);
  const double keep = percent / 100.0;
  const double add[3] = {GetBValue(c) * (1 - keep), GetGValue(c) * (1 - keep), GetRValue(c) * (1 - keep)};
  for (int y = rect.top; y < rect.bottom; ++y) {
    uint8_t* p = rows.At(rect.left, y);
    for (int x = rect.left; x < rect.right; ++x, p += rows.Bytes)
      for (int i = 0; i < 3; ++i) p[i] = static_cast<uint8_t>(std::clamp(std::nearbyint(p[i] * keep + add[i]), 0.0, 255.0));
  }
}

CellSpan ClipCell(const RECT& destRect, const RECT& sourceRect, int destWidth, int destHeight, int sourceWidth,
                  int sourceHeight) {
  CellSpan span{destRect.left, destRect.top, sourceRect.left, sourceRect.top, 0, 0};
  span.Columns = std::min<int>({destRect.right - destRect.left, sourceRect.right - sourceRect.left,
                           destWidth - span.DestX, sourceWidth - span.SourceX});
  span.Rows = std::min<int>({destRect.bottom - destRect.top, sourceRect.bottom - sourceRect.top,
                        destHeight - span.DestY, sourceHeight - span.SourceY});
  if (const int left = std::min(span.DestX, span.SourceX); left < 0) {
    span.DestX -= left, span.SourceX -= left, span.Columns += left;
  }
  if (const int top = std::min(span.DestY, span.SourceY); top < 0) {
    span.DestY -= top, span.SourceY -= top, span.Rows += top;
  }
  if (!span) span.Columns = span.Rows = 0;
  return span;
}

BackgroundReader::BackgroundReader(const CacheSourceInfo& info)
    : rows_(info.Ready ? RowsOf(info.Bitmap) : PixelRows{}), offsetX_(info.X), offsetY_(info.Y) {}

bool BackgroundReader::Copy(int x, int y, uint8_t* p) const {
  const int bx = offsetX_ + x, by = offsetY_ + y;
  if (!rows_.Contains(bx, by)) return false;
  const uint8_t* b = rows_.At(bx, by);
  p[0] = b[0], p[1] = b[1], p[2] = b[2];
  return true;
}
