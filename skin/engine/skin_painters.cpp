#include "skin/engine/skin_painters.h"

#include <algorithm>

#include "framework/controls.h"
#include "skin/engine/background_queries.h"
#include "skin/engine/common_data.h"
#include "skin/engine/alpha_blend.h"
#include "skin/engine/fast_pixels.h"
#include "skin/engine/fills.h"
#include "skin/engine/skin_manager.h"

namespace {

TBitmap* SourceOf(const TsMaskData& mask) {
  if (mask.Image) return mask.Image.get();
  return mask.Manager ? mask.Manager->MasterBitmap.get() : nullptr;
}

// Height of the picture part; the first mask part starts this far below it.
int PictureHeight(const TsMaskData& mask) { return (mask.R.bottom - mask.R.top) / (std::max(mask.MaskType, 0) + 1); }

int ClampedState(const TsMaskData& mask, int state) { return std::clamp(state, 0, std::max(mask.ImageCount - 1, 0)); }

// Calls copy(destination tile, source rectangle) for tiles of w × h from the source's corner
// (sx, sy) that cover dest, the last row and column cut.
template <class Copy>
void Tile(const RECT& dest, int sx, int sy, int w, int h, Copy copy) {
  if (w <= 0 || h <= 0) return;
  for (int y = dest.top; y < dest.bottom; y += h)
    for (int x = dest.left; x < dest.right; x += w) {
      const int cw = std::min<int>(w, dest.right - x), ch = std::min<int>(h, dest.bottom - y);
      copy(RECT{x, y, x + cw, y + ch}, RECT{sx, sy, sx + cw, sy + ch});
    }
}

inline void Blend(uint8_t* d, const uint8_t* s, const uint8_t* m) {
  for (int i = 0; i < 3; ++i) d[i] = static_cast<uint8_t>((s[i] * 256 + m[i] * (d[i] - s[i])) >> 8);
}

// The nine parts of one state frame on a rectangle.
struct Slices {
  int L, T, R, B;         // border widths, fitted to the rectangle
  int X0, Y0, FW, FH;     // the frame in the image
  int MW, MH;             // its middle
};

Slices SliceFrame(const RECT& rect, const TsMaskData& mask, int state) {
  Slices s{mask.WL, mask.WT, mask.WR, mask.WB, 0, mask.R.top, MaskStateWidth(mask), MaskStateHeight(mask), 0, 0};
  FitBorders(rect.right - rect.left, s.L, s.R);
  FitBorders(rect.bottom - rect.top, s.T, s.B);
  s.X0 = mask.R.left + ClampedState(mask, state) * s.FW;
  s.MW = std::max(s.FW - s.L - s.R, 0);
  s.MH = std::max(s.FH - s.T - s.B, 0);
  return s;
}

// The parts in painting order, each as (destination, source corner, source size, is a corner).
struct Part {
  RECT Dest;
  int SX, SY, SW, SH;
  bool Corner;
};

std::vector<Part> PartsOf(const RECT& r, const Slices& s, bool centre) {
  const int xm = s.X0 + s.L, xr = s.X0 + s.L + s.MW, yb = s.Y0 + s.FH - s.B, ym = s.Y0 + s.T;
  std::vector<Part> parts = {
      {{r.left, r.top, r.left + s.L, r.top + s.T}, s.X0, s.Y0, s.L, s.T, true},
      {{r.left, r.top + s.T, r.left + s.L, r.bottom - s.B}, s.X0, ym, s.L, s.MH, false},
      {{r.left + s.L, r.top, r.right - s.R, r.top + s.T}, xm, s.Y0, s.MW, s.T, false},
      {{r.left, r.bottom - s.B, r.left + s.L, r.bottom}, s.X0, yb, s.L, s.B, true},
      {{r.left + s.L, r.bottom - s.B, r.right - s.R, r.bottom}, xm, yb, s.MW, s.B, false},
      {{r.right - s.R, r.bottom - s.B, r.right, r.bottom}, xr, yb, s.R, s.B, true},
      {{r.right - s.R, r.top, r.right, r.top + s.T}, xr, s.Y0, s.R, s.T, true},
      {{r.right - s.R, r.top + s.T, r.right, r.bottom - s.B}, xr, ym, s.R, s.MH, false},
  };
  if (centre) parts.push_back({{r.left + s.L, r.top + s.T, r.right - s.R, r.bottom - s.B}, xm, ym, s.MW, s.MH, false});
  return parts;
}

bool Empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

// Sides and centre of an image without mask part go through the device contexts.
void CopyOpaquePart(HDC dest, HDC source, const Part& part, bool stretch) {
  if (Empty(part.Dest) || part.SW <= 0 || part.SH <= 0) return;
  if (stretch) {
    StretchBlt(dest, part.Dest.left, part.Dest.top, part.Dest.right - part.Dest.left, part.Dest.bottom - part.Dest.top,
               source, part.SX, part.SY, part.SW, part.SH, SRCCOPY);
    return;
  }
  Tile(part.Dest, part.SX, part.SY, part.SW, part.SH, [&](const RECT& d, const RECT& s) {
    BitBlt(dest, d.left, d.top, d.right - d.left, d.bottom - d.top, source, s.left, s.top, SRCCOPY);
  });
}

}  // namespace

void FitBorders(int size, int& first, int& second) {
  if (size >= first + second) return;
  const int d = (first + second - size) / 2;
  first -= d, second -= d;
  if (size % 2 != 0) --second;
  first = std::max(first, 0), second = std::max(second, 0);
}

void PaintSkinSlices(TBitmap* bitmap, RECT rect, bool fillCentre, const CacheSourceInfo& cacheInfo,
                     const TsMaskData& mask, int state, bool fillCorners, TsSkinManager*) {
  if (state == 0 && (mask.StretchMode & 2)) return;
  if (rect.right - rect.left < 2 || rect.bottom - rect.top < 2 || !mask.Manager) return;
  if (mask.ImageCount <= 0 || mask.MaskType < 0 || !RowsOf(bitmap)) return;
  TBitmap* image = SourceOf(mask);
  if (!RowsOf(image)) return;
  const Slices s = SliceFrame(rect, mask, state);
  const std::vector<Part> parts = PartsOf(rect, s, fillCentre && (mask.StretchMode & 4));
  if (mask.MaskType != 0) {
    for (const Part& part : parts) {
      if (part.Corner) {
        BlendMaskCell(part.Dest, {part.SX, part.SY, part.SX + part.SW, part.SY + part.SH}, bitmap, image, cacheInfo,
                      fillCorners, mask);
        continue;
      }
      Tile(part.Dest, part.SX, part.SY, part.SW, part.SH, [&](const RECT& d, const RECT& from) {
        BlendMaskCell(d, from, bitmap, image, EmptyCacheSourceInfo, false, mask);
      });
    }
    return;
  }
  HDC dest = bitmap->Canvas().Handle();
  HDC source = image == bitmap ? dest : image->Canvas().Handle();
  efir::gdi::SavedState saved(dest);
  const bool stretch = mask.StretchMode & 1;
  if (stretch) {
    SetStretchBltMode(dest, HALFTONE);
    SetBrushOrgEx(dest, 0, 0, nullptr);
  }
  for (const Part& part : parts) {
    if (part.Corner) {
      if (part.SW > 0 && part.SH > 0)
        CopyKeyedCell(bitmap, image, part.Dest.left, part.Dest.top,
                      {part.SX, part.SY, part.SX + part.SW - 1, part.SY + part.SH - 1}, TransparentKeyColor, cacheInfo,
                      fillCorners);
    } else {
      CopyOpaquePart(dest, source, part, stretch);
    }
  }
}

void BlendMaskCell(RECT destRect, RECT sourceRect, TBitmap* bitmap, TBitmap* image, const CacheSourceInfo& cacheInfo,
                   bool fillTransparent, const TsMaskData& mask) {
  const PixelRows d = RowsOf(bitmap), s = RowsOf(image);
  if (!d || !s) return;
  const CellSpan span = ClipCell(destRect, sourceRect, d.Width, d.Height, s.Width, s.Height);
  if (!span) return;
  const int maskY = std::min(span.SourceY + PictureHeight(mask), s.Height - span.Rows);
  const BackgroundReader background(cacheInfo);
  const bool ready = cacheInfo.Ready;
  for (int r = 0; r < span.Rows; ++r)
    for (int c = 0; c < span.Columns; ++c) {
      const int dx = span.DestX + c, dy = span.DestY + r;
      const uint8_t* p = s.At(span.SourceX + c, span.SourceY + r);
      uint8_t* q = d.At(dx, dy);
      const bool key = PixelIs(p, TransparentKeyColor);
      if (key && fillTransparent) {
        if (ready) {
          if (!background.Copy(dx, dy, q)) continue;
          if (d.Bytes == 4) q[3] = 255;
        } else {
          SetPixelColor(q, cacheInfo.FillColor);
          if (d.Bytes == 4) q[3] = static_cast<uint8_t>(static_cast<uint32_t>(cacheInfo.FillColor) >> 24);
        }
        continue;
      }
      if (key && !ready) continue;
      Blend(q, p, s.At(span.SourceX + c, maskY + r));
      if (fillTransparent && d.Bytes == 4) q[3] = 255;
    }
}

void CopyKeyedCell(TBitmap* dest, TBitmap* source, int x, int y, RECT sourceRect, TColor keyColor,
                   const CacheSourceInfo& cacheInfo, bool fillTransparent) {
  const PixelRows d = RowsOf(dest), s = RowsOf(source);
  if (!d || !s) return;
  // The background is read unless it is the destination itself.
  const bool fromBackground = fillTransparent && cacheInfo.Ready && cacheInfo.Bitmap;
  const BackgroundReader background(cacheInfo.Bitmap == dest ? EmptyCacheSourceInfo : cacheInfo);
  const int firstY = std::max<int>(sourceRect.top, 0), lastY = std::min<int>(sourceRect.bottom, s.Height - 1);
  const int firstX = std::max<int>(sourceRect.left, 0), lastX = std::min<int>(sourceRect.right, s.Width - 1);
  for (int sy = firstY; sy <= lastY; ++sy)
    for (int sx = firstX; sx <= lastX; ++sx) {
      const int dx = x + sx - sourceRect.left, dy = y + sy - sourceRect.top;
      if (!d.Contains(dx, dy)) continue;
      const uint8_t* p = s.At(sx, sy);
      uint8_t* q = d.At(dx, dy);
      const bool key = PixelIs(p, keyColor) && (s.Bytes == 3 || p[3] == 0);
      if (!key) {
        q[0] = p[0], q[1] = p[1], q[2] = p[2];
      } else if (fromBackground) {
        if (!background.Copy(dx, dy, q)) continue;
      } else {
        SetPixelColor(q, cacheInfo.FillColor);
      }
      if (d.Bytes == 4) q[3] = 255;
    }
}

void CopyMaskedFrame(RECT destRect, RECT sourceRect, TBitmap* bitmap, TBitmap* image, TColor keyColor, int mode,
                     const TsMaskData& mask) {
  const PixelRows d = RowsOf(bitmap), s = RowsOf(image);
  if (!d || !s) return;
  if (mask.MaskType == 0) {
    CopyKeyedRect24(bitmap, image, destRect.left, destRect.top, sourceRect, TransparentKeyColor, EmptyCacheSourceInfo);
    return;
  }
  static_cast<void>(keyColor);  // the global key colour is what skin images use
  const int ph = PictureHeight(mask);
  // Rows need their mask part inside the image; an entry without frames reads its picture only.
  int sourceHeight = s.Height - ph;
  if (mask.ImageCount < 1) sourceHeight = std::min(sourceHeight, ph);
  const CellSpan span = ClipCell({destRect.left, destRect.top, destRect.right + 1, destRect.bottom + 1},
                                 {sourceRect.left, sourceRect.top, sourceRect.right + 1, sourceRect.bottom + 1},
                                 d.Width, d.Height, s.Width, sourceHeight);
  if (!span) return;
  for (int r = 0; r < span.Rows; ++r)
    for (int c = 0; c < span.Columns; ++c) {
      const uint8_t* p = s.At(span.SourceX + c, span.SourceY + r);
      if (PixelIs(p, TransparentKeyColor)) continue;
      const uint8_t* m = s.At(span.SourceX + c, span.SourceY + r + ph);
      uint8_t pale[3];
      if (mode != 1) {
        for (int i = 0; i < 3; ++i) pale[i] = static_cast<uint8_t>(std::min(m[i] + 100, 255));
        m = pale;
      }
      uint8_t* q = d.At(span.DestX + c, span.DestY + r);
      Blend(q, p, m);
      if (d.Bytes == 4) q[3] = 255;
    }
}

void PaintMaskFrame(TBitmap* bitmap, POINT point, int state, int mode, const TsMaskData& mask,
                    const CacheSourceInfo& cacheInfo) {
  if (!RowsOf(bitmap) || mask.ImageCount <= 0 || mask.MaskType < 0) return;
  const int fw = MaskStateWidth(mask), fh = MaskStateHeight(mask);
  const int x0 = mask.R.left + fw * ClampedState(mask, state), y0 = mask.R.top;
  const int g = std::max<int>(-point.x, 0), f = std::max<int>(-point.y, 0);
  if (g >= fw || f >= fh) return;
  // Inclusive rectangles: the frame's visible part and where it goes.
  const RECT from{x0 + g, y0 + f, x0 + fw - 1, y0 + fh - 1};
  const RECT to{point.x + g, point.y + f, point.x + fw - 1, point.y + fh - 1};
  if (mask.Image) {
    if (mask.Image->Width() >= mask.R.right && mask.Image->Height() >= mask.R.bottom)
      CopyMaskedFrame(to, from, bitmap, mask.Image.get(), TransparentKeyColor, mode, mask);
    return;
  }
  if (!mask.Manager) return;
  TBitmap* master = mask.Manager->MasterBitmap.get();
  if (mask.MaskType > 0)
    CopyMaskedFrame(to, from, bitmap, master, TransparentKeyColor, mode, mask);
  else if (mode == 1)
    CopyKeyedCell(bitmap, master, to.left, to.top, from, TransparentKeyColor, cacheInfo, true);
  else
    CopyBlendedRect(bitmap, to.left, to.top, master, from, 0.5, TransparentKeyColor);
}

void CopyMaskedMasterCell(RECT destRect, RECT sourceRect, TBitmap* bitmap, const CacheSourceInfo& cacheInfo,
                          const TsMaskData& mask) {
  if (!mask.Manager) return;
  TBitmap* master = mask.Manager->MasterBitmap.get();
  const PixelRows d = RowsOf(bitmap), s = RowsOf(master);
  if (!d || !s) return;
  const int ph = PictureHeight(mask);
  const CellSpan span = ClipCell(destRect, sourceRect, d.Width, d.Height, s.Width, s.Height - ph);
  if (!span) return;
  const PixelRows background = cacheInfo.Ready ? RowsOf(cacheInfo.Bitmap) : PixelRows{};
  // A 32-bit background is read only when there is no fallback colour to use instead.
  const bool readBackground = background && (background.Bytes == 3 || cacheInfo.FillColor == TransparentKeyColor);
  const BackgroundReader reader(cacheInfo);
  for (int r = 0; r < span.Rows; ++r)
    for (int c = 0; c < span.Columns; ++c) {
      const int dx = span.DestX + c, dy = span.DestY + r;
      const uint8_t* p = s.At(span.SourceX + c, span.SourceY + r);
      uint8_t* q = d.At(dx, dy);
      if (!PixelIs(p, TransparentKeyColor)) {
        Blend(q, p, s.At(span.SourceX + c, span.SourceY + r + ph));
      } else if (readBackground) {
        reader.Copy(dx, dy, q);
      } else if (cacheInfo.FillColor != TransparentKeyColor) {
        SetPixelColor(q, cacheInfo.FillColor);
      }
    }
}

void CopyWhereTransparent(TBitmap* dest, TBitmap* source, RECT destRect, RECT sourceRect, int maskIndex,
                          TsSkinManager* manager, int corner) {
  const PixelRows d = RowsOf(dest), s = RowsOf(source);
  if (!d || !s || d.Bytes != 4 || s.Bytes != 4) return;
  const int w = std::max<int>(destRect.right - destRect.left, 0), h = std::max<int>(destRect.bottom - destRect.top, 0);
  PixelRows shape;
  int cx = 0, cy = 0;
  if (maskIndex != -1) {
    if (!MaskIndexValid(manager, maskIndex)) return;
    const TsMaskData& mask = manager->Masks[static_cast<size_t>(maskIndex)];
    shape = RowsOf(SourceOf(mask));
    if (!shape) return;
    const bool right = corner == HTTOPRIGHT || corner == HTBOTTOMRIGHT;
    const bool bottom = corner == HTBOTTOMLEFT || corner == HTBOTTOMRIGHT;
    cx = mask.R.left + (right ? MaskStateWidth(mask) - mask.WR : 0);
    cy = mask.R.top + (bottom ? MaskStateHeight(mask) - mask.WB : 0);
  }
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) {
      const int dx = destRect.left + i, dy = destRect.top + j, sx = sourceRect.left + i, sy = sourceRect.top + j;
      if (!d.Contains(dx, dy) || !s.Contains(sx, sy)) continue;
      uint8_t* q = d.At(dx, dy);
      if (shape) {
        if (!shape.Contains(cx + i, cy + j) || !PixelIs(shape.At(cx + i, cy + j), TransparentKeyColor)) continue;
      } else if (!PixelIs(q, TransparentKeyColor)) {
        continue;
      }
      std::copy_n(s.At(sx, sy), 4, q);
    }
}

void ApplyDisabledLook(TBitmap* bitmap, TsDisabledKind kind, TControl* control, const CacheSourceInfo& cacheInfo,
                       POINT offset) {
  const PixelRows rows = RowsOf(bitmap);
  if (!rows) return;
  if (kind & dkGrayed) GrayscaleBitmap(bitmap);
  if (!(kind & dkBlended)) return;
  if (cacheInfo.Ready && RowsOf(cacheInfo.Bitmap)) {
    const int x = cacheInfo.X + offset.x, y = cacheInfo.Y + offset.y;
    constexpr TColor noKey = static_cast<TColor>(0xFF000000);
    CopyBlendedRect(bitmap, 0, 0, cacheInfo.Bitmap, {x, y, x + rows.Width, y + rows.Height}, 0.4, noKey);
    return;
  }
  const TColor colour =
      cacheInfo.FillColor != TransparentKeyColor ? cacheInfo.FillColor : ControlBackgroundColor(control);
  TintRect(bitmap, {0, 0, rows.Width, rows.Height}, 50, colour);
}

void RestoreCornersEx(TsCommonData& skinData, int state, uint8_t corners) {
  TsSkinManager* manager = skinData.SkinManager();
  TControl* owner = skinData.OwnerControl;
  if (!MaskIndexValid(manager, skinData.BorderMaskIndex) || !owner || owner->Width() < 2 || owner->Height() < 2) return;
  const PixelRows cache = RowsOf(skinData.CacheBitmap.get());
  if (!cache) return;
  BackgroundInfo info;
  if (owner->Parent()) QueryParentBackground(info, owner->Parent(), false);
  const TsMaskData& entry = manager->Masks[static_cast<size_t>(skinData.BorderMaskIndex)];
  RECT frames = entry.R;
  int count = entry.ImageCount, maskType = entry.MaskType;
  if (entry.Image && count == 0) {
    // An own picture without a frame count holds the three states above their mask.
    maskType = 1, count = 3, frames = {0, 0, entry.Image->Width(), entry.Image->Height()};
  }
  if (count <= 0 || maskType < 0) return;
  const PixelRows image = RowsOf(entry.Image ? entry.Image.get() : manager->MasterBitmap.get());
  if (!image) return;
  CacheSourceInfo behind{nullptr, 0, 0, static_cast<TColor>(ColorToRGB(info.Color)), false};
  if (info.Kind == BG_BITMAP) MakeCacheSourceInfo(info.Bitmap, info.OffsetX + owner->Left(), info.OffsetY + owner->Top(), behind);
  const BackgroundReader background(behind);
  const int a = std::clamp(state, 0, count - 1) * (frames.right - frames.left) / count;
  const int fw = (frames.right - frames.left) / count, ph = (frames.bottom - frames.top) / (maskType + 1);
  const int mw = fw - entry.WL - entry.WR, W = owner->Width(), H = owner->Height();
  const int x0 = frames.left + a, xr = x0 + entry.WL + mw, yb = frames.top + ph - entry.WB;
  struct Corner {
    uint8_t Bit;
    int SX, SY, DX, DY, W, H;
  };
  const Corner list[] = {
      {1, x0, frames.top, 0, 0, entry.WL, entry.WT},
      {2, x0, yb, 0, H - entry.WB, entry.WL, entry.WB},
      {8, xr, yb, W - entry.WR, H - entry.WB, entry.WR, entry.WB},
      {4, xr, frames.top, W - entry.WR, 0, entry.WR, entry.WT},
  };
  for (const Corner& c : list) {
    if (!(corners & c.Bit)) continue;
    for (int j = 0; j < c.H; ++j)
      for (int i = 0; i < c.W; ++i) {
        const int sx = c.SX + i, sy = c.SY + j, dx = c.DX + i, dy = c.DY + j;
        if (!image.Contains(sx, sy) || !cache.Contains(dx, dy) || !PixelIs(image.At(sx, sy), TransparentKeyColor)) continue;
        uint8_t* q = cache.At(dx, dy);
        if (behind.Ready)
          background.Copy(dx, dy, q);
        else if (maskType != 0 || behind.FillColor != TransparentKeyColor)
          SetPixelColor(q, behind.FillColor);
      }
  }
}
