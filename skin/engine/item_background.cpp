#include "skin/engine/item_background.h"

#include <algorithm>
#include <memory>

#include "framework/controls.h"
#include "framework/picture_jpeg.h"
#include "skin/engine/alpha_blend.h"
#include "skin/engine/common_data.h"
#include "skin/engine/fast_pixels.h"
#include "skin/engine/fills.h"
#include "skin/engine/gradients.h"
#include "skin/engine/textures.h"

namespace {

// What one state of a section paints.
struct Look {
  TColor Color = 0;
  int Transparency = 0, ImagePercent = 0, GradientPercent = 0;
  const TsGradArray* Bands = nullptr;       // nullptr or empty: no gradient, the colour instead
  const TsMaskData* Texture = nullptr;      // an image entry
  const TGraphic* Pattern = nullptr;        // or a JPEG pattern
  uint8_t TextureShare = 0;                 // weight of the texture under the gradient
  bool FillWhenOver100 = false;             // the colour also covers ImagePercent + GradientPercent > 100
  TColor NotReadyColor = TransparentKeyColor;  // paints instead of the colour when not 0xFF00FF
};

Look StateLook(const TsGeneralData& s, int state) {
  const bool hot = state != 0;
  Look look;
  look.Color = hot ? s.HotColor : s.Color;
  look.Transparency = hot ? s.HotTransparency : s.Transparency;
  if (look.Transparency == 100) return look;
  look.ImagePercent = hot ? s.HotImagePercent : s.ImagePercent;
  look.GradientPercent = hot ? s.HotGradientPercent : s.GradientPercent;
  if (look.GradientPercent > 0) look.Bands = hot ? &s.HotGradientArray : &s.GradientArray;
  return look;
}

const TsMaskData* Entry(TsSkinManager* manager, int index) {
  return MaskIndexValid(manager, index) ? &manager->Masks[static_cast<size_t>(index)] : nullptr;
}

// The background behind a target rectangle whose corner lies at `offset` of the item.
CacheSourceInfo BehindRect(const CacheSourceInfo& info, POINT offset, const RECT& rect) {
  CacheSourceInfo moved = info;
  moved.X += offset.x - rect.left;
  moved.Y += offset.y - rect.top;
  return moved;
}

void FillColour(TBitmap* target, const RECT& rect, TColor colour) {
  if (target->PixelFormat() == pf32bit)
    FillRect32(target, rect, colour);
  else
    FillRectSolid(target->Canvas().Handle(), rect, colour);
}

std::unique_ptr<TBitmap> Temporary(const TBitmap& like, int width, int height) {
  return like.PixelFormat() == pf32bit ? NewBitmap32(width, height) : NewBitmap24(width, height);
}

bool HasBands(const Look& look) { return look.Bands && !look.Bands->empty(); }

void PaintGradientOrColour(TBitmap* target, const RECT& rect, const Look& look) {
  if (HasBands(look))
    PaintGradient(*target, rect, *look.Bands, 0);
  else
    FillColour(target, rect, look.Color);
}

// The section's own background: texture, gradient and colour mixed by their percentages.
void PaintOwnBackground(TBitmap* target, const RECT& rect, const Look& look, const CacheSourceInfo& behind) {
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  const bool textured = look.ImagePercent > 0 && (look.Texture || look.Pattern);
  if (textured) {
    RECT rest = rect;
    if (look.Pattern) {
      static const TsMaskData noEntry;
      TileTexture(target->Canvas(), rest, look.Pattern, noEntry, 0);
    } else if (look.Texture->MaskType > 0) {
      TileMaskedTexture(target, rest, behind, *look.Texture, look.Texture->StretchMode);
    } else {
      TileTexture(target->Canvas(), rest, look.Texture->Image.get(), *look.Texture, look.Texture->StretchMode);
    }
    if (rest.left != -1 && rest.right > rest.left && rest.bottom > rest.top) FillColour(target, rest, look.Color);
  }
  if (look.GradientPercent > 0) {
    if (!textured) {
      PaintGradientOrColour(target, rect, look);
    } else {
      auto gradient = Temporary(*target, w, h);
      PaintGradientOrColour(gradient.get(), {0, 0, w, h}, look);
      CopyWeightedRect(target, gradient.get(), look.TextureShare, {0, 0, w, h}, {rect.left, rect.top});
    }
  }
  const int shares = look.ImagePercent + look.GradientPercent;
  const TColor colour = look.NotReadyColor != TransparentKeyColor ? look.NotReadyColor : look.Color;
  if (shares == 0 || (look.FillWhenOver100 && shares > 100))
    FillColour(target, rect, colour);
  else if (shares < 100)
    TintRect(target, {rect.left, rect.top, rect.right - 1, rect.bottom - 1}, static_cast<uint8_t>(shares), colour);
}

// Copies the background behind rect into it; false when there is none to copy.
bool CopyBackground(TBitmap* bitmap, const RECT& rect, const CacheSourceInfo& info, POINT offset) {
  if (!info.Ready || !RowsOf(info.Bitmap) || info.Bitmap == bitmap) return false;
  BitBlt(bitmap->Canvas().Handle(), rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
         info.Bitmap->Canvas().Handle(), info.X + offset.x, info.Y + offset.y, SRCCOPY);
  return true;
}

// Own background in a temporary bitmap, the parent's behind rect, mixed by transparency.
void PaintSeeThrough(TBitmap* bitmap, const RECT& rect, const Look& look, const CacheSourceInfo& info, POINT offset) {
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  auto own = Temporary(*bitmap, w, h);
  // The temporary's corner stands for rect's, so the background is found as for a target
  // rectangle at (0, 0).
  const RECT whole{0, 0, w, h};
  PaintOwnBackground(own.get(), whole, look, BehindRect(info, offset, whole));
  if (!CopyBackground(bitmap, rect, info, offset) && !info.Ready) FillColour(bitmap, rect, info.FillColor);
  const auto weight = static_cast<uint8_t>(efir::skin::ClampToByte(look.Transparency * 255 / 100));
  CopyWeightedRect(bitmap, own.get(), weight, {0, 0, w, h}, {rect.left, rect.top});
}

bool Usable(TsSkinManager*& manager, int sectionIndex, TBitmap* bitmap, const RECT& rect) {
  manager = ManagerOrDefault(manager);
  return TsSkinManager::DefaultManager() && SectionIndexValid(manager, sectionIndex) && RowsOf(bitmap) &&
         rect.right > rect.left && rect.bottom > rect.top;
}

}  // namespace

void RenderItemBackground(int sectionIndex, const std::string& sectionName, const CacheSourceInfo& cacheInfo, int state,
                          const RECT& rect, POINT offset, TBitmap* bitmap, TsSkinManager* manager, int textureIndex,
                          int hotTextureIndex, TColor customColor) {
  if (!Usable(manager, sectionIndex, bitmap, rect)) return;
  const TsGeneralData& section = manager->GeneralData[static_cast<size_t>(sectionIndex)];
  Look look;
  if (customColor != TransparentKeyColor) {
    look.Color = customColor;
  } else {
    look = StateLook(section, state);
  }
  const int given = state == 0 ? textureIndex : hotTextureIndex;
  if (look.ImagePercent > 0) {
    const char* property = state == 0 ? "PATTERN" : "HOTPATTERN";
    const TsMaskData* entry = Entry(manager, given);
    if (given == -1) entry = Entry(manager, MaskIndexByName(manager, sectionIndex, sectionName, property));
    if (entry && (given == -1 || entry->MaskType == 0)) {
      look.Texture = entry;
    } else if (given == -1) {
      const int pattern = PatternIndex(manager, sectionIndex, sectionName, property);
      if (pattern >= 0 && pattern < static_cast<int>(manager->Patterns.size()))
        look.Pattern = manager->Patterns[static_cast<size_t>(pattern)].Image.get();
    }
    if (look.Pattern && look.Pattern->Empty()) look.Pattern = nullptr;
  }
  look.TextureShare = static_cast<uint8_t>(efir::skin::ClampToByte(look.ImagePercent * 255 / 100));
  const bool seeThrough = (cacheInfo.Ready || cacheInfo.FillColor != TransparentKeyColor) && look.Transparency > 0;
  if (seeThrough && look.Transparency >= 100) {
    if (!CopyBackground(bitmap, rect, cacheInfo, offset) && !cacheInfo.Ready) FillColour(bitmap, rect, cacheInfo.FillColor);
  } else if (seeThrough) {
    PaintSeeThrough(bitmap, rect, look, cacheInfo, offset);
  } else {
    PaintOwnBackground(bitmap, rect, look, BehindRect(cacheInfo, offset, rect));
  }
  // A masked texture laid in full tiles goes over everything, in the normal state.
  if (state != 0) return;
  const TsMaskData* masked = Entry(manager, textureIndex);
  if (!masked || masked->MaskType == 0) masked = Entry(manager, hotTextureIndex);
  if (masked && masked->MaskType > 0 && masked->StretchMode == 10) {
    RECT area = rect;
    TileMaskedTexture(bitmap, area, BehindRect(cacheInfo, offset, rect), *masked, 10);
  }
}

void RenderMaskItemBackground(int sectionIndex, int textureIndex, int hotTextureIndex, const std::string&,
                              const CacheSourceInfo& cacheInfo, int state, const RECT& rect, POINT offset,
                              TBitmap* bitmap, TsSkinManager* manager) {
  if (!Usable(manager, sectionIndex, bitmap, rect)) return;
  Look look = StateLook(manager->GeneralData[static_cast<size_t>(sectionIndex)], state);
  if (look.ImagePercent > 0) look.Texture = Entry(manager, state == 0 ? textureIndex : hotTextureIndex);
  look.TextureShare = static_cast<uint8_t>(std::min(look.ImagePercent * 256 / 100, 255));
  look.FillWhenOver100 = true;
  if (!cacheInfo.Ready || look.Transparency == 0) {
    if (look.Transparency == 100) look.NotReadyColor = cacheInfo.FillColor;
    PaintOwnBackground(bitmap, rect, look, BehindRect(cacheInfo, offset, rect));
  } else if (look.Transparency == 100) {
    CopyBackground(bitmap, rect, cacheInfo, offset);
  } else {
    PaintSeeThrough(bitmap, rect, look, cacheInfo, offset);
  }
}

void RenderControlBackground(TsCommonData& skinData, const CacheSourceInfo& cacheInfo, int state, const RECT& rect,
                             POINT offset, TBitmap* bitmap) {
  TColor custom = TransparentKeyColor;
  if (skinData.CustomColor() && skinData.OwnerControl)
    custom = static_cast<TColor>(ColorToRGB(skinData.OwnerControl->Color()));
  RenderItemBackground(skinData.SectionIndex, skinData.SkinSection(), cacheInfo, state, rect, offset, bitmap,
                       skinData.SkinManager(), skinData.TextureMaskIndex, skinData.HotTextureMaskIndex, custom);
}
