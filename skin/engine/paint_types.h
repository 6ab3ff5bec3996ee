// The records and constants the skin painters pass around: where an item's background comes
// from (CacheSourceInfo), a parent's answer to the background question (BackgroundInfo), the
// transparent key colour of skin images and a few small helpers.
//
//   CacheSourceInfo info;
//   MakeCacheSourceInfo(parentCache, control.Left, control.Top, info);   // read-through background
//   PaintSkinSlices(cache, rect, false, info, mask, state, true, nullptr);
//
// Seam: the skin command message and the per-control skin state own these declarations; they
// live here until that work lands, and then this header only includes theirs.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/gdi.h"

class TBitmap;

// A skin-image pixel of this colour (blue, green and red bytes compared) is transparent.
constexpr TColor TransparentKeyColor = 0xFF00FF;

struct CacheSourceInfo {
  TBitmap* Bitmap = nullptr;  // the background; read only while BitmapReady
  int32_t OffsetX = 0;        // column and row of Bitmap under pixel (0, 0) of the item
  int32_t OffsetY = 0;
  TColor FallbackColor = TransparentKeyColor;  // RGB used when Bitmap is not ready; key = none
  bool BitmapReady = false;
};

// Stands for "no background at all".
inline constexpr CacheSourceInfo EmptyCacheSourceInfo{nullptr, -99, -99, 0, false};

struct BackgroundInfo {
  TBitmap* Bitmap = nullptr;
  TColor Color = TransparentKeyColor;
  int32_t OffsetX = 0;
  int32_t OffsetY = 0;
  RECT Area{};               // painted when PaintNow is set, in the asker's coordinates
  uint8_t Kind = 0;          // 0 not answered, 1 colour, 2 bitmap
  bool PaintNow = false;     // paint the background straight into TargetDC
  HDC TargetDC = nullptr;
};

inline void MakeCacheSourceInfo(TBitmap* bitmap, int x, int y, CacheSourceInfo& info) {
  info = {bitmap, x, y, TransparentKeyColor, true};
}

inline int ClampToByte(int value) { return value < 0 ? 0 : value > 255 ? 255 : value; }

// Seam (look-ups of the skin state work, until it lands): the manager to paint with (nullptr:
// the default one), and whether a section or image index may be used with it.
#include "skin/engine/skin_manager.h"

inline TsSkinManager* ManagerOrDefault(TsSkinManager* manager) {
  return manager ? manager : TsSkinManager::DefaultManager();
}
inline bool SectionIndexValid(const TsSkinManager* manager, int index) {
  return manager && manager->LoadedSkin.Active && index >= 0 && index < static_cast<int>(manager->GeneralData.size());
}
inline bool MaskIndexValid(const TsSkinManager* manager, int index) {
  return manager && index >= 0 && index < static_cast<int>(manager->Masks.size());
}
// The colour of the GLOBALINFO section, or the button face when the skin has none.
inline TColor GlobalInfoColor(const TsSkinManager& manager) {
  for (const TsGeneralData& section : manager.GeneralData)
    if (section.SectionName == "GLOBALINFO") return static_cast<TColor>(ColorToRGB(section.Color));
  return static_cast<TColor>(ColorToRGB(clBtnFace));
}

// How a disabled control is drawn: blended with its background, grey, or both (a set).
enum TsDisabledKindItem : uint8_t { dkBlended = 1, dkGrayed = 2 };
using TsDisabledKind = uint8_t;
