#include "skin/engine/borders.h"

#include <algorithm>

#include "framework/controls.h"
#include "skin/engine/background_queries.h"
#include "skin/engine/common_data.h"
#include "skin/engine/fast_pixels.h"
#include "skin/engine/fills.h"
#include "skin/engine/paint_types.h"
#include "skin/engine/skin_painters.h"

namespace {

// Takes a one-pixel-high run of transparent pixels out of the region.
void CutRun(HRGN region, int left, int right, int y) {
  if (!region || right <= left) return;
  efir::gdi::Object<HRGN> run(CreateRectRgn(left, y, right, y + 1));
  CombineRgn(region, region, run.get(), RGN_DIFF);
}

// Cuts the key-colour pixels of a w x h source area at (sx, sy) out of region, placed at
// (dx, dy).
void CutKeyPixels(HRGN region, const PixelRows& source, int sx, int sy, int w, int h, int dx, int dy) {
  for (int r = 0; r < h; ++r) {
    if (!source.Contains(sx, sy + r)) continue;
    int runStart = -1;
    for (int c = 0; c <= w; ++c) {
      const bool key = c < w && source.Contains(sx + c, sy + r) && PixelIs(source.At(sx + c, sy + r), TransparentKeyColor);
      if (key && runStart < 0) runStart = c;
      if (!key && runStart >= 0) CutRun(region, dx + runStart, dx + c, dy + r), runStart = -1;
    }
  }
}

}  // namespace

void CutMaskCornersFromRegion(const TBitmap* bitmap, HRGN region, int state, const TsMaskData& mask) {
  if (!bitmap || !region || bitmap->Width() <= 1 || bitmap->Height() <= 1 || !mask.Manager || mask.ImageCount < 1) return;
  const PixelRows source = RowsOf(mask.Image ? mask.Image.get() : mask.Manager->MasterBitmap.get());
  if (!source) return;
  const int W = bitmap->Width(), H = bitmap->Height();
  int L = mask.WL, T = mask.WT, R = mask.WR, B = mask.WB;
  // Corners that would overlap take half their size each.
  if (W < L + R) L /= 2, R /= 2;
  if (H < T + B) T /= 2, B /= 2;
  const int fw = MaskStateWidth(mask), fh = MaskStateHeight(mask);
  const int x0 = mask.R.left + std::clamp(state, 0, mask.ImageCount - 1) * fw, y0 = mask.R.top;
  CutKeyPixels(region, source, x0, y0, L, T, 0, 0);
  CutKeyPixels(region, source, x0 + fw - R, y0, R, T, W - R, 0);
  CutKeyPixels(region, source, x0, y0 + fh - B, L, B, 0, H - B);
  CutKeyPixels(region, source, x0 + fw - R, y0 + fh - B, R, B, W - R, H - B);
}

void PaintControlBorder(HDC dc, const RECT& rect, int borderWidth, TsCommonData& skinData, int state,
                        RECT& clientRect) {
  const TColor color = skinData.BackgroundColor(state != 0, nullptr);
  BackgroundInfo info;
  TControl* owner = skinData.OwnerControl;
  if (owner && owner->Parent()) {
    QueryParentBackground(info, owner->Parent(), false);
    info.OffsetX += owner->Left();
    info.OffsetY += owner->Top();
  }
  TsSkinManager* manager = skinData.SkinManager();
  if (skinData.BorderMaskIndex < 0 || !MaskIndexValid(manager, skinData.BorderMaskIndex)) {
    if (borderWidth != 0) FillBorderBand(dc, rect, borderWidth, borderWidth, borderWidth, borderWidth, color);
    return;
  }
  const TsMaskData& mask = manager->Masks[static_cast<size_t>(skinData.BorderMaskIndex)];
  skinData.SizeCacheBitmap();
  TBitmap* cache = skinData.CacheBitmap.get();
  if (!RowsOf(cache)) return;
  HDC cacheDC = cache->Canvas().Handle();
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  if (mask.MaskType == 1) {
    // Under a border with a mask part the parent shows through: put it there first.
    if (info.Kind == BG_BITMAP && RowsOf(info.Bitmap))
      BitBlt(cacheDC, rect.left, rect.top, w, h, info.Bitmap->Canvas().Handle(), info.OffsetX + rect.left,
             info.OffsetY + rect.top, SRCCOPY);
    else
      FillBorderBand(cacheDC, rect, mask.WL, mask.WT, mask.WR, mask.WB, color);
  }
  CacheSourceInfo source;
  BackgroundInfoToCacheInfo(info, source);
  PaintSkinSlices(cache, rect, false, source, mask, state, true, manager);
  clientRect = {rect.left + mask.WL, rect.top + mask.WT, rect.right - mask.WR, rect.bottom - mask.WB};
  if (borderWidth == 0) return;
  FillBorderBand(cacheDC, clientRect, std::max(std::min(borderWidth, w - mask.WR) - mask.WL, 0),
                 std::max(std::min(borderWidth, h - mask.WB) - mask.WT, 0),
                 std::max(std::min(borderWidth, w - mask.WL) - mask.WR, 0),
                 std::max(std::min(borderWidth, h - mask.WT) - mask.WB, 0), color);
  clientRect = {rect.left + borderWidth, rect.top + borderWidth, rect.right - borderWidth, rect.bottom - borderWidth};
  clientRect.right = std::max(clientRect.right, clientRect.left);
  clientRect.bottom = std::max(clientRect.bottom, clientRect.top);
  if (dc != cacheDC) CopyBorderFrame(dc, rect.left, rect.top, w, h, cacheDC, rect.left, rect.top, borderWidth);
}

void CopyMaskCellToBitmap(int destLeft, int destTop, int destRight, int destBottom, int sourceLeft, int sourceTop,
                          int sourceRight, int sourceBottom, TBitmap* dest, HRGN region, const TsMaskData& mask,
                          bool trackRegion) {
  if (destLeft < 0 || destTop < 0 || destRight < 0 || destBottom < 0 || !mask.Manager) return;
  const PixelRows d = RowsOf(dest);
  if (!d || d.Width < 2 || d.Height < 2) return;
  const PixelRows s = RowsOf(mask.Image ? mask.Image.get() : mask.Manager->MasterBitmap.get());
  if (!s || sourceLeft < 0 || sourceTop < 0) return;
  const bool masked = mask.MaskType == 1;
  const int ph = (mask.R.bottom - mask.R.top) / 2;
  int rows = std::min({destBottom - destTop, d.Height - 1 - destTop, sourceBottom - sourceTop}) + 1;
  rows = std::min(rows, (masked ? s.Height - ph : s.Height) - sourceTop);
  const int columns =
      std::min({destRight - destLeft, sourceRight - sourceLeft, d.Width - 1 - destLeft, s.Width - 1 - sourceLeft}) + 1;
  for (int r = 0; r < rows; ++r) {
    int runStart = -1;
    for (int c = 0; c < columns; ++c) {
      const uint8_t* p = s.At(sourceLeft + c, sourceTop + r);
      if (trackRegion && PixelIs(p, TransparentKeyColor)) {
        if (runStart < 0) runStart = c;
        continue;
      }
      if (runStart >= 0) CutRun(region, destLeft + runStart, destLeft + c, destTop + r), runStart = -1;
      uint8_t* q = d.At(destLeft + c, destTop + r);
      if (masked) {
        const uint8_t* m = s.At(sourceLeft + c, sourceTop + r + ph);
        for (int i = 0; i < 3; ++i) q[i] = static_cast<uint8_t>(efir::skin::ClampToByte(((q[i] - p[i]) * m[i] + p[i] * 256) >> 8));
      } else {
        q[0] = p[0], q[1] = p[1], q[2] = p[2];
      }
    }
    if (runStart >= 0) CutRun(region, destLeft + runStart, destLeft + columns, destTop + r);
  }
}

void PaintMaskOverBitmap(TBitmap* bitmap, HRGN region, bool fillCentre, const TsMaskData& mask, int state) {
  const PixelRows d = RowsOf(bitmap);
  if (!d || d.Width < 2 || d.Height < 2 || !mask.Manager || mask.MaskType < 0) return;
  RECT frameRect = mask.R;
  int count = mask.ImageCount;
  if (count < 1) {
    // An entry without frames is one frame covering its whole picture.
    if (!mask.Image) return;
    frameRect = {0, 0, mask.Image->Width(), mask.Image->Height()};
    count = 1;
  }
  TBitmap* image = mask.Image ? mask.Image.get() : mask.Manager->MasterBitmap.get();
  if (!RowsOf(image)) return;
  const int W = d.Width, H = d.Height;
  int L = mask.WL, T = mask.WT, R = mask.WR, B = mask.WB;
  FitBorders(W, L, R);
  FitBorders(H, T, B);
  const int s = std::clamp(state, 0, count - 1);
  const int fw = (frameRect.right - frameRect.left) / count;
  const int fh = (frameRect.bottom - frameRect.top) / (mask.MaskType + 1);
  const int mw = std::max(fw - L - R, 0), mh = std::max(fh - T - B, 0);
  const int x0 = frameRect.left + s * fw, y0 = frameRect.top;
  // One cell: destination and source corners and the size, inclusive coordinates inside.
  auto cell = [&](int dx, int dy, int sx, int sy, int w, int h, bool track) {
    if (w > 0 && h > 0) CopyMaskCellToBitmap(dx, dy, dx + w - 1, dy + h - 1, sx, sy, sx + w - 1, sy + h - 1, bitmap, region, mask, track);
  };
  const bool stretch = (mask.StretchMode & 1) && mask.MaskType != 1;
  // A side or the centre: one stretch, or tiles of its middle cut at the far border.
  auto area = [&](int left, int top, int right, int bottom, int sx, int sy, int sw, int sh) {
    if (sw <= 0 || sh <= 0 || right <= left || bottom <= top) return;
    if (stretch) {
      HDC dc = bitmap->Canvas().Handle();
      efir::gdi::SavedState saved(dc);
      SetStretchBltMode(dc, HALFTONE);
      SetBrushOrgEx(dc, 0, 0, nullptr);
      StretchBlt(dc, left, top, right - left, bottom - top, image->Canvas().Handle(), sx, sy, sw, sh, SRCCOPY);
      return;
    }
    for (int y = top; y < bottom; y += sh)
      for (int x = left; x < right; x += sw) cell(x, y, sx, sy, std::min(sw, right - x), std::min(sh, bottom - y), false);
  };
  cell(0, 0, x0, y0, L, T, true);
  cell(0, H - B, x0, y0 + fh - B, L, B, true);
  area(0, T, L, H - B, x0, y0 + T, L, mh);
  area(L, 0, W - R, T, x0 + L, y0, mw, T);
  area(L, H - B, W - R, H, x0 + L, y0 + fh - B, mw, B);
  area(W - R, T, W, H - B, x0 + L + mw, y0 + T, R, mh);
  cell(W - R, H - B, x0 + L + mw, y0 + fh - B, R, B, true);
  cell(W - R, 0, x0 + L + mw, y0, R, T, true);
  if (fillCentre && (mask.StretchMode & 4)) area(L, T, W - R, H - B, x0 + L, y0 + T, mw, mh);
}
