#include "skin/engine/alpha_blend.h"

#include <algorithm>
#include <cmath>

#include "skin/engine/fast_pixels.h"

namespace {

uint8_t RoundToByte(double v) { return static_cast<uint8_t>(std::clamp(std::nearbyint(v), 0.0, 255.0)); }

std::unique_ptr<TBitmap> NewBitmap(int width, int height, TPixelFormat format) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(format);
  bitmap->SetSize(std::max(width, 0), std::max(height, 0));
  return bitmap;
}

bool SameSize(const PixelRows& a, const PixelRows& b) { return a.Width == b.Width && a.Height == b.Height; }

// A key colour whose high byte is 0xFF stands for "no key".
bool IsKey(TColor keyColor) { return (static_cast<uint32_t>(keyColor) >> 24) != 0xFF; }

// The 32-bit value of magenta with alpha 0: how 32-bit glyphs mark their holes.
constexpr uint32_t kTransparentPixel32 = 0x00FF00FF;

uint32_t Pixel32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

}  // namespace

std::unique_ptr<TBitmap> NewBitmap24(int width, int height) { return NewBitmap(width, height, pf24bit); }
std::unique_ptr<TBitmap> NewBitmap32(int width, int height) { return NewBitmap(width, height, pf32bit); }
std::unique_ptr<TBitmap> NewBitmapLike(const TBitmap& bitmap) {
  return NewBitmap(bitmap.Width(), bitmap.Height(), bitmap.PixelFormat());
}

TColor MixColors(TColor color1, TColor color2, double factor) {
  auto mix = [&](int shift) {
    return static_cast<uint32_t>(RoundToByte(factor * (color1 >> shift & 0xFF) + (1 - factor) * (color2 >> shift & 0xFF)))
           << shift;
  };
  return static_cast<TColor>((static_cast<uint32_t>(color1) & 0xFF000000u) | mix(0) | mix(8) | mix(16));
}

void CopyBlendedRect(TBitmap* dest, int x, int y, TBitmap* source, RECT sourceRect, double factor, TColor keyColor) {
  const PixelRows d = RowsOf(dest), s = RowsOf(source);
  if (!d || !s) return;
  const bool keyed = IsKey(keyColor);
  if (sourceRect.left < 0) x -= sourceRect.left, sourceRect.left = 0;
  if (sourceRect.top < 0) y -= sourceRect.top, sourceRect.top = 0;
  sourceRect.right = std::min<LONG>(sourceRect.right, s.Width - 1);
  sourceRect.bottom = std::min<LONG>(sourceRect.bottom, s.Height - 1);
  for (int sy = sourceRect.top; sy <= sourceRect.bottom; ++sy) {
    const int dy = y + sy - sourceRect.top;
    if (dy < 0) continue;
    if (dy >= d.Height) break;
    for (int sx = sourceRect.left; sx <= sourceRect.right; ++sx) {
      const int dx = x + sx - sourceRect.left;
      if (dx < 0) continue;
      if (dx >= d.Width) break;
      const uint8_t* sp = s.At(sx, sy);
      if (keyed && PixelIs(sp, keyColor)) continue;
      uint8_t* dp = d.At(dx, dy);
      for (int i = 0; i < 3; ++i) dp[i] = RoundToByte(sp[i] - factor * (sp[i] - dp[i]));
    }
  }
}

void TintBitmap(TBitmap* bitmap, TColor color, TColor keyColor, double factor) {
  const PixelRows rows = RowsOf(bitmap);
  if (!rows) return;
  const COLORREF c = ColorToRGB(color);
  const int channel[3] = {GetBValue(c), GetGValue(c), GetRValue(c)};
  for (int y = 0; y < rows.Height; ++y) {
    uint8_t* p = rows.At(0, y);
    for (int x = 0; x < rows.Width; ++x, p += rows.Bytes) {
      if (PixelIs(p, keyColor)) continue;
      for (int i = 0; i < 3; ++i) p[i] = RoundToByte(channel[i] + factor * (p[i] - channel[i]));
    }
  }
}

void BlendColorThroughMask(TBitmap* bitmap, TBitmap* mask, TColor color) {
  const PixelRows b = RowsOf(bitmap), m = RowsOf(mask);
  if (!b || !m || b.Bytes != 3 || m.Bytes != 3 || !SameSize(b, m)) return;
  const COLORREF c = ColorToRGB(color);
  const int channel[3] = {GetBValue(c), GetGValue(c), GetRValue(c)};
  for (int y = 0; y < b.Height; ++y) {
    uint8_t* p = b.At(0, y);
    const uint8_t* mp = m.At(0, y);
    for (int i = 0; i < b.Width * 3; ++i) {
      const int k = channel[i % 3];
      p[i] = static_cast<uint8_t>((k * 256 + mp[i] * (p[i] - k)) / 256);
    }
  }
}

void BlendEqualBitmaps24(TBitmap* dest, TBitmap* source, uint8_t weight) {
  const PixelRows d = RowsOf(dest), s = RowsOf(source);
  if (!d || !s || d.Bytes != 3 || s.Bytes != 3 || !SameSize(d, s)) return;
  if (!FastSum24.Attach(source, dest)) return;
  FastSum24.Weight = weight;
  FastSum24.DestLeft = FastSum24.SourceLeft = 0;
  FastSum24.DestTop = FastSum24.SourceTop = 0;
  FastSum24.DestRight = FastSum24.SourceRight = d.Width;
  FastSum24.DestBottom = FastSum24.SourceBottom = d.Height;
  FastSum24.Blend();
}

namespace {

template <int Bytes>
void BlendArea(TacFastSum<Bytes>& sum, TBitmap* dest, TBitmap* source, uint8_t weight, const RECT& from, POINT to) {
  if (!sum.Attach(source, dest)) return;
  sum.Weight = weight;
  sum.DestLeft = to.x, sum.DestTop = to.y;
  sum.DestRight = to.x + from.right - from.left, sum.DestBottom = to.y + from.bottom - from.top;
  sum.SourceLeft = from.left, sum.SourceTop = from.top, sum.SourceRight = from.right, sum.SourceBottom = from.bottom;
  sum.Blend();
}

}  // namespace

void CopyWeightedRect(TBitmap* dest, TBitmap* source, uint8_t weight, RECT sourceRect, POINT destPoint) {
  const PixelRows d = RowsOf(dest), s = RowsOf(source);
  if (!d || !s || d.Bytes != s.Bytes) return;
  if (destPoint.x < 0) sourceRect.left -= destPoint.x, destPoint.x = 0;
  if (destPoint.y < 0) sourceRect.top -= destPoint.y, destPoint.y = 0;
  if (sourceRect.left < 0) destPoint.x -= sourceRect.left, sourceRect.left = 0;
  if (sourceRect.top < 0) destPoint.y -= sourceRect.top, sourceRect.top = 0;
  if (!d.Contains(destPoint.x, destPoint.y) || !s.Contains(sourceRect.left, sourceRect.top)) return;
  sourceRect.right = std::min<LONG>({sourceRect.right, s.Width, sourceRect.left + d.Width - destPoint.x});
  sourceRect.bottom = std::min<LONG>({sourceRect.bottom, s.Height, sourceRect.top + d.Height - destPoint.y});
  if (sourceRect.right <= sourceRect.left || sourceRect.bottom <= sourceRect.top) return;
  if (d.Bytes == 4) {
    TacFastSum32 sum;
    BlendArea(sum, dest, source, weight, sourceRect, destPoint);
  } else {
    BlendArea(FastSum24, dest, source, weight, sourceRect, destPoint);
  }
}

void CrossFadeBitmaps(TBitmap* target, TBitmap* a, TBitmap* b, TBitmap* mask, int alpha) {
  const PixelRows t = RowsOf(target), pa = RowsOf(a), pb = RowsOf(b), m = RowsOf(mask);
  if (!t || !pa || !pb || t.Bytes != 4 || pa.Bytes != 3 || pb.Bytes != 3 || !SameSize(pa, pb)) return;
  if (t.Width < pa.Width || t.Height < pa.Height) return;
  if (mask && (!m || m.Bytes != 3 || m.Width < pa.Width || m.Height < pa.Height)) return;
  alpha = std::clamp(alpha, 0, 256);
  for (int y = 0; y < pa.Height; ++y) {
    uint8_t* tp = t.At(0, y);
    const uint8_t *ap = pa.At(0, y), *bp = pb.At(0, y), *mp = mask ? m.At(0, y) : nullptr;
    for (int x = 0; x < pa.Width; ++x, tp += 4, ap += 3, bp += 3)
      for (int i = 0; i < 3; ++i) {
        const int weight = mp ? mp[x * 3 + i] : alpha;
        tp[i] = static_cast<uint8_t>((weight * (ap[i] - bp[i]) + bp[i] * 256) >> 8);
      }
  }
}

void CopyBitmapKeyed(TBitmap* dest, TBitmap* source, int x, int y, TColor keyColor) {
  const PixelRows d = RowsOf(dest), s = RowsOf(source);
  if (!d || !s) return;
  const int firstY = std::max(y, 0), lastY = std::min(d.Height - 1, y + s.Height - 1);
  const int firstX = std::max(x, 0), lastX = std::min(d.Width - 1, x + s.Width - 1);
  for (int dy = firstY; dy <= lastY; ++dy)
    for (int dx = firstX; dx <= lastX; ++dx) {
      const uint8_t* sp = s.At(dx - x, dy - y);
      if (PixelIs(sp, keyColor)) continue;
      uint8_t* dp = d.At(dx, dy);
      dp[0] = sp[0], dp[1] = sp[1], dp[2] = sp[2];
      if (d.Bytes == 4) dp[3] = 255;
    }
}

void CopyKeyedRect24(TBitmap* dest, TBitmap* source, int x, int y, RECT sourceRect, TColor keyColor,
                     const CacheSourceInfo&) {
  const PixelRows d = RowsOf(dest), s = RowsOf(source);
  if (!d || !s) return;
  const int firstY = std::max<int>(sourceRect.top, 0), lastY = std::min<int>(sourceRect.bottom, s.Height - 1);
  const int firstX = std::max<int>(sourceRect.left, 0), lastX = std::min<int>(sourceRect.right, s.Width - 1);
  for (int sy = firstY; sy <= lastY; ++sy) {
    const int dy = y + sy - sourceRect.top;
    if (dy < 0 || dy >= d.Height) continue;
    for (int sx = firstX; sx <= lastX; ++sx) {
      const int dx = x + sx - sourceRect.left;
      if (dx < 0 || dx >= d.Width) continue;
      const uint8_t* sp = s.At(sx, sy);
      if (PixelIs(sp, keyColor)) continue;
      uint8_t* dp = d.At(dx, dy);
      dp[0] = sp[0], dp[1] = sp[1], dp[2] = sp[2];
    }
  }
}

void CopyMaskCellTransparent(RECT destRect, RECT sourceRect, TBitmap* dest, TBitmap* source,
                             const CacheSourceInfo& cacheInfo, bool fillTransparent) {
  const PixelRows d = RowsOf(dest), s = RowsOf(source);
  if (!d || !s) return;
  const bool alphaSource = s.Bytes == 4;
  // A 24-bit glyph keeps its mask in the lower half: read only rows whose mask row exists.
  const int maskOffset = alphaSource ? 0 : s.Height / 2;
  const CellSpan span = ClipCell(destRect, sourceRect, d.Width, d.Height, s.Width, s.Height - maskOffset);
  if (!span) return;
  const BackgroundReader background(cacheInfo);
  const bool ready = cacheInfo.Ready;
  for (int r = 0; r < span.Rows; ++r)
    for (int c = 0; c < span.Columns; ++c) {
      const int dx = span.DestX + c, dy = span.DestY + r;
      const uint8_t* sp = s.At(span.SourceX + c, span.SourceY + r);
      uint8_t* dp = d.At(dx, dy);
      if (ready && PixelIs(sp, TransparentKeyColor)) {
        if (!fillTransparent || !background.Copy(dx, dy, dp)) continue;
      } else if (alphaSource) {
        for (int i = 0; i < 3; ++i) dp[i] = static_cast<uint8_t>(((sp[i] - dp[i]) * sp[3] + dp[i] * 256) >> 8);
      } else {
        const uint8_t* mp = s.At(span.SourceX + c, span.SourceY + r + maskOffset);
        for (int i = 0; i < 3; ++i) dp[i] = static_cast<uint8_t>(((dp[i] - sp[i]) * mp[i] + sp[i] * 256) >> 8);
      }
      if (d.Bytes == 4) dp[3] = 255;
    }
}

namespace {

// The glyph pixel as CopyAlphaCell sees it: its grey tinted by `color` unless that is clNone.
void GlyphPixel(const uint8_t* p, TColor color, uint8_t* out) {
  out[0] = p[0], out[1] = p[1], out[2] = p[2], out[3] = p[3];
  if (color == clNone || Pixel32(p) == kTransparentPixel32) return;
  const double grey = (p[0] + p[1] + p[2]) / 3;
  const COLORREF c = ColorToRGB(color);
  out[0] = RoundToByte(grey * GetBValue(c) / 255);
  out[1] = RoundToByte(grey * GetGValue(c) / 255);
  out[2] = RoundToByte(grey * GetRValue(c) / 255);
}

}  // namespace

void CopyAlphaCell(RECT destRect, RECT sourceRect, TBitmap* dest, TBitmap* source, const CacheSourceInfo& cacheInfo,
                   bool fillTransparent, TColor color, int blendPercent, bool reflection) {
  if (!source || !RowsOf(dest)) return;
  // The caller's glyph stays as it is: other formats are read from a 32-bit copy.
  std::unique_ptr<TBitmap> copy;
  if (source->PixelFormat() != pf32bit) {
    copy = NewBitmap32(0, 0);
    copy->Assign(*source);
    copy->SetPixelFormat(pf32bit);
    source = copy.get();
  }
  const PixelRows d = RowsOf(dest), s = RowsOf(source);
  if (!s) return;
  const CellSpan span = ClipCell(destRect, sourceRect, d.Width, d.Height, s.Width, s.Height);
  if (!span) return;
  const BackgroundReader background(cacheInfo);
  uint8_t sp[4];
  for (int r = 0; r < span.Rows; ++r)
    for (int c = 0; c < span.Columns; ++c) {
      const uint8_t* raw = s.At(span.SourceX + c, span.SourceY + r);
      uint8_t* dp = d.At(span.DestX + c, span.DestY + r);
      if (Pixel32(raw) == kTransparentPixel32) {
        if (fillTransparent) background.Copy(span.DestX + c, span.DestY + r, dp);
        continue;
      }
      GlyphPixel(raw, color, sp);
      const int u = blendPercent != 0 ? (100 - blendPercent) * sp[3] / 100 : sp[3];
      for (int i = 0; i < 3; ++i) dp[i] = static_cast<uint8_t>(((sp[i] - dp[i]) * u + dp[i] * 256) >> 8);
    }
  if (!reflection) return;
  // A mirrored copy under the cell, fading out over half the glyph's height.
  const int half = s.Height / 2;
  const int fadeStep = half > 0 ? 255 / half : 255;
  const int sourceBottom = span.SourceY + span.Rows, destBottom = span.DestY + span.Rows;
  for (int i = 0, fade = 255; i < half; ++i, fade -= fadeStep) {
    const int sy = sourceBottom - i - 1, dy = destBottom + i;
    if (sy < 0 || dy >= d.Height) break;
    for (int c = 0; c < span.Columns; ++c) {
      GlyphPixel(s.At(span.SourceX + c, sy), color, sp);
      const int a = sp[3];
      const int weight = std::max(0, blendPercent != 0 ? (100 - blendPercent) * a / 300 * fade / 255 : fade * (a / 3) / 255);
      uint8_t* dp = d.At(span.DestX + c, dy);
      for (int k = 0; k < 3; ++k) dp[k] = static_cast<uint8_t>(dp[k] + (((sp[k] - dp[k]) * weight) >> 8));
    }
  }
}
