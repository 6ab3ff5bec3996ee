#include "skin/engine/item_paint.h"

#include <algorithm>

#include "skin/engine/alpha_blend.h"
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
