#include "skin/engine/item_paint.h"

#include <algorithm>

#include "skin/engine/alpha_blend.h"
#include "skin/engine/fills.h"
#include "skin/engine/common_data.h"
#include "skin/engine/fast_pixels.h"
#include "skin/engine/item_background.h"
#include "skin/engine/skin_painters.h"

namespace {

bool Inside(const TBitmap* bitmap, const RECT& rect) {
  return bitmap && rect.left < rect.right && rect.top < rect.bottom && rect.left >= 0 && rect.top >= 0 &&
         rect.right <= bitmap->Width() && rect.bottom <= bitmap->Height();
}

// The background behind the border, which the nine-part painter reads at bitmap columns.
CacheSourceInfo BorderBackground(const CacheSourceInfo& info, POINT offset, const RECT& rect) {
  CacheSourceInfo moved = info;
  moved.X += offset.x - rect.left;
  moved.Y += offset.y - rect.top;
  return moved;
}

// The section's corner images on the rectangle's corners, over what is painted.
void PaintCornerImages(const TsGeneralData& section, TsSkinManager* manager, int state, const RECT& rect,
                       TBitmap* bitmap) {
  CacheSourceInfo itself;
  MakeCacheSourceInfo(bitmap, 0, 0, itself);
  const int corners[] = {section.ImgTL, section.ImgTR, section.ImgBL, section.ImgBR};
  for (int i = 0; i < 4; ++i) {
    if (!MaskIndexValid(manager, corners[i])) continue;
    const TsMaskData& mask = manager->Masks[static_cast<size_t>(corners[i])];
    const bool right = i == 1 || i == 3, bottom = i >= 2;
    const POINT at{right ? rect.right - MaskStateWidth(mask) : rect.left,
                   bottom ? rect.bottom - MaskStateHeight(mask) : rect.top};
    PaintMaskFrame(bitmap, at, state, 1, mask, itself);
  }
}

void PaintBorder(TsSkinManager* manager, int maskIndex, TBitmap* bitmap, const RECT& rect, bool fillCentre,
                 const CacheSourceInfo& background, int state, bool fillCorners) {
  if (MaskIndexValid(manager, maskIndex))
    PaintSkinSlices(bitmap, rect, fillCentre, background, manager->Masks[static_cast<size_t>(maskIndex)], state,
                    fillCorners, manager);
}

}  // namespace

void RenderSectionItem(int sectionIndex, const std::string& sectionName, const CacheSourceInfo& cacheInfo,
                       bool fillCentre, int state, const RECT& rect, POINT offset, TBitmap* bitmap,
                       TsSkinManager* manager, int textureIndex, int hotTextureIndex) {
  manager = ManagerOrDefault(manager);
  if (!Inside(bitmap, rect) || !SectionIndexValid(manager, sectionIndex)) return;
  RenderItemBackground(sectionIndex, sectionName, cacheInfo, state, rect, offset, bitmap, manager, textureIndex,
                       hotTextureIndex, TransparentKeyColor);
  const TsGeneralData& section = manager->GeneralData[static_cast<size_t>(sectionIndex)];
  PaintCornerImages(section, manager, state, rect, bitmap);
  PaintBorder(manager, section.BorderIndex, bitmap, rect, fillCentre, BorderBackground(cacheInfo, offset, rect), state,
              true);
}

void RenderSectionItemWithMask(int sectionIndex, int maskIndex, int textureIndex, int hotTextureIndex,
                               const std::string& sectionName, const CacheSourceInfo& cacheInfo, bool fillCentre,
                               int state, const RECT& rect, POINT offset, TBitmap* bitmap, TsSkinManager* manager) {
  manager = ManagerOrDefault(manager);
  if (!Inside(bitmap, rect) || !SectionIndexValid(manager, sectionIndex)) return;
  RenderMaskItemBackground(sectionIndex, textureIndex, hotTextureIndex, sectionName, cacheInfo, state, rect, offset,
                           bitmap, manager);
  PaintBorder(manager, maskIndex, bitmap, rect, fillCentre, BorderBackground(cacheInfo, offset, rect), state, true);
}

int RenderItemBySectionName(TBitmap* bitmap, const std::string& sectionName, const std::string& fallbackSectionName,
                            int state, TsSkinManager* manager, const RECT& rect, TColor fallbackColor, HDC sourceDC) {
  manager = ManagerOrDefault(manager);
  std::string name = sectionName;
  int index = SectionIndexByName(manager, name);
  if (!SectionIndexValid(manager, index)) {
    name = fallbackSectionName;
    index = SectionIndexByName(manager, name);
  }
  if (!SectionIndexValid(manager, index) || !RowsOf(bitmap)) return index;
  CacheSourceInfo background{nullptr, 0, 0, fallbackColor, false};
  if (sourceDC) {
    BitBlt(bitmap->Canvas().Handle(), 0, 0, bitmap->Width(), bitmap->Height(), sourceDC, rect.left, rect.top, SRCCOPY);
    MakeCacheSourceInfo(bitmap, 0, 0, background);
    background.FillColor = fallbackColor;
  }
  RenderSectionItem(index, name, background, true, state, {0, 0, bitmap->Width(), bitmap->Height()}, {0, 0}, bitmap,
                    manager, -1, -1);
  return index;
}

void RenderControlItem(TsCommonData& skinData, const CacheSourceInfo& cacheInfo, bool fillCentre, int state,
                       const RECT& rect, POINT offset, TBitmap* bitmap, bool fillCorners) {
  TsSkinManager* manager = skinData.SkinManager();
  if (!Inside(bitmap, rect) || !SectionIndexValid(manager, skinData.SectionIndex)) return;
  RenderControlBackground(skinData, cacheInfo, state, rect, offset, bitmap);
  PaintBorder(manager, skinData.BorderMaskIndex, bitmap, rect, fillCentre, BorderBackground(cacheInfo, offset, rect),
              state, fillCorners);
  PaintCornerImages(manager->GeneralData[static_cast<size_t>(skinData.SectionIndex)], manager, state, rect, bitmap);
}

void RenderSectionItemToDC(int sectionIndex, const std::string& sectionName, const CacheSourceInfo& cacheInfo,
                           bool fillCentre, int state, const RECT& rect, POINT offset, HDC dc, TsSkinManager* manager) {
  manager = ManagerOrDefault(manager);
  if (!SectionIndexValid(manager, sectionIndex) || rect.left < 0 || rect.top < 0 || rect.right <= rect.left ||
      rect.bottom <= rect.top)
    return;
  efir::gdi::SavedState saved(dc);
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  auto item = NewBitmap24(w, h);
  RenderSectionItem(sectionIndex, sectionName, cacheInfo, fillCentre, state, {0, 0, w, h}, offset, item.get(), manager,
                    -1, -1);
  BitBlt(dc, rect.left, rect.top, w, h, item->Canvas().Handle(), 0, 0, SRCCOPY);
}

void CopyNineSliceStretched(TBitmap* dest, TBitmap* source, const RECT& destRect, const RECT& sourceRect,
                            const RECT& borders, const RECT& limits, const RECT& sideModes, int centreMode,
                            bool fillCentre) {
  if (!RowsOf(dest) || !RowsOf(source) || dest == source) return;
  HDC d = dest->Canvas().Handle(), s = source->Canvas().Handle();
  efir::gdi::SavedState saved(d);
  SetStretchBltMode(d, BLACKONWHITE);
  const int L = borders.left, T = borders.top, R = borders.right, B = borders.bottom;
  const int l = std::min(L, static_cast<int>(limits.left)), t = std::min(T, static_cast<int>(limits.top));
  const int r = std::min(R, static_cast<int>(limits.right)), b = std::min(B, static_cast<int>(limits.bottom));
  const RECT& D = destRect;
  const RECT& S = sourceRect;
  auto blt = [&](int dx, int dy, int w, int h, int sx, int sy) {
    if (w > 0 && h > 0) BitBlt(d, dx, dy, w, h, s, sx, sy, SRCCOPY);
  };
  // Corners; one taller than the destination takes is completed by a narrower piece.
  blt(D.left, D.top, L, t, S.left, S.top);
  if (t < T) blt(D.left, D.top + t, l, T - t, S.left, S.top + t);
  blt(D.left, D.bottom - b, L, b, S.left, S.bottom - b);
  if (b < B) blt(D.left, D.bottom - B, l, B - b, S.left, S.bottom - B);
  blt(D.right - R, D.top, R, t, S.right - R, S.top);
  if (t < T) blt(D.right - r, D.top + t, r, T - t, S.right - r, S.top + t);
  blt(D.right - R, D.bottom - b, R, b, S.right - R, S.bottom - b);
  if (b < B) blt(D.right - r, D.bottom - B, r, B - b, S.right - r, S.bottom - B);
  const int mw = S.right - S.left - R - L, mh = S.bottom - S.top - B - T;
  // One part: tiled in pieces of the source middle, or the whole middle stretched over it.
  auto part = [&](int mode, RECT area, int sx, int sy, int sw, int sh) {
    if (sw <= 0 || sh <= 0 || area.right <= area.left || area.bottom <= area.top) return;
    if (mode == 1) {
      StretchBlt(d, area.left, area.top, area.right - area.left, area.bottom - area.top, s, sx, sy, sw, sh, SRCCOPY);
    } else if (mode == 0) {
      for (int y = area.top; y < area.bottom; y += sh)
        for (int x = area.left; x < area.right; x += sw)
          blt(x, y, std::min<int>(sw, area.right - x), std::min<int>(sh, area.bottom - y), sx, sy);
    }
  };
  part(sideModes.left, {D.left, D.top + T, D.left + l, D.bottom - B}, S.left, S.top + T, l, mh);
  part(sideModes.top, {D.left + L, D.top, D.right - R, D.top + t}, S.left + L, S.top, mw, t);
  part(sideModes.right, {D.right - r, D.top + T, D.right, D.bottom - B}, S.right - r, S.top + T, r, mh);
  part(sideModes.bottom, {D.left + L, D.bottom - b, D.right - R, D.bottom}, S.left + L, S.bottom - b, mw, b);
  if (fillCentre)
    part(centreMode == 1 ? 1 : centreMode == 0 ? 0 : -1, {D.left + L, D.top + T, D.right - R, D.bottom - B},
         S.left + L, S.top + T, mw, mh);
}

void DrawGlyphEffects(TBitmap* glyph, TBitmap* dest, const RECT& destRect, int numGlyphs, bool enabled, int effects,
                      int state, int blendPercent, int stateFrame) {
  if (!glyph || glyph->Empty() || !RowsOf(dest) || numGlyphs < 1) return;
  auto copy = NewBitmap24(0, 0);
  copy->Assign(*glyph);
  copy->SetPixelFormat(pf24bit);
  TBitmap* g = copy.get();
  const PixelRows rows = RowsOf(g);
  if (!rows) return;
  const int x = destRect.left, y = destRect.top, h = rows.Height;
  auto keyAt = [&](int column) { return PixelColor(rows.At(column, h - 1)); };
  const TColor key = keyAt(0);
  if (numGlyphs == 1) {
    const RECT whole{0, 0, rows.Width - 1, h - 1};
    if (enabled) {
      if (state != 0 || blendPercent < 1)
        CopyBitmapKeyed(dest, g, x, y, key);
      else
        CopyBlendedRect(dest, x, y, g, whole, blendPercent / 100.0, key);
      return;
    }
    // The key colour stays as it is, so that the glyph keeps its shape when greyed.
    if (effects & 2) GrayscaleBitmapExcept(g, key);
    if (effects & 1)
      CopyBlendedRect(dest, x, y, g, whole, 0.5, key);
    else
      CopyBitmapKeyed(dest, g, x, y, key);
    return;
  }
  const int fw = rows.Width / numGlyphs;
  if (fw <= 0) return;
  // A 16-colour glyph keeps its cells as up, disabled, clicked, down: its second cell is no
  // hot look.
  const bool sixteenColours = glyph->LoadedBitCount() == 4;
  int frame = 0;
  if (enabled && state == 1) frame = sixteenColours ? 0 : 1;
  if (enabled && state == 2)
    frame = stateFrame + 2 < numGlyphs ? stateFrame + 2 : sixteenColours ? 0 : std::min(1, numGlyphs - 1);
  const RECT frameRect{frame * fw, 0, frame * fw + fw - 1, h - 1};
  if (enabled) {
    CopyKeyedRect24(dest, g, x, y, frameRect, keyAt(frame * fw), EmptyCacheSourceInfo);
  } else if (state == 0 && blendPercent > 0) {
    CopyBlendedRect(dest, x, y, g, {0, 0, fw - 1, h - 1}, blendPercent / 100.0, key);
  } else {
    CopyKeyedRect24(dest, g, x, y, {0, 0, fw - 1, h - 1}, key, EmptyCacheSourceInfo);
  }
}

void CopyChannel(TBitmap* bitmap32, TBitmap* bitmap8, int channel, bool toSingle) {
  if (!bitmap32 || !bitmap8 || bitmap32->PixelFormat() != pf32bit || bitmap8->PixelFormat() != pf8bit) return;
  if (channel < 0 || channel > 3) return;
  const int w = std::min(bitmap32->Width(), bitmap8->Width()), h = std::min(bitmap32->Height(), bitmap8->Height());
  for (int y = 0; y < h; ++y) {
    auto* wide = static_cast<uint8_t*>(bitmap32->ScanLine(y)) + channel;
    auto* single = static_cast<uint8_t*>(bitmap8->ScanLine(y));
    for (int x = 0; x < w; ++x) {
      if (toSingle)
        single[x] = wide[4 * x];
      else
        wide[4 * x] = single[x];
    }
  }
}
