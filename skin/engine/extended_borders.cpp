#include "skin/engine/extended_borders.h"

#include <cstring>

#include "skin/engine/png_graphic.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_startup.h"

namespace {

// A 32-bit copy of `width` x `height` pixels of `source` from (x, 0); pixels of a 24-bit
// source come out opaque.
std::unique_ptr<TBitmap> Copy32(const TBitmap& source, int x, int width, int height) {
  auto copy = std::make_unique<TPNGGraphic>();
  copy->SetPixelFormat(pf32bit);
  copy->SetSize(width, height);
  bool wide = source.PixelFormat() == pf32bit;
  int step = wide ? 4 : 3;
  for (int y = 0; y < height && y < source.Height(); ++y) {
    const auto* from = static_cast<const uint8_t*>(source.ScanLine(y));
    auto* to = static_cast<uint8_t*>(copy->ScanLine(y));
    for (int i = 0; i < width && x + i < source.Width(); ++i) {
      const uint8_t* p = from + (x + i) * step;
      to[i * 4] = p[0];
      to[i * 4 + 1] = p[1];
      to[i * 4 + 2] = p[2];
      to[i * 4 + 3] = wide ? p[3] : 255;
    }
  }
  return copy;
}

std::unique_ptr<TBitmap> Copy32(const TBitmap& source) { return Copy32(source, 0, source.Width(), source.Height()); }

// The EXBORDER picture with a picture of its own, else nullptr.
const TsMaskData* ExBorderMask(const TsSkinManager& manager) {
  int index = manager.FixedIndexes.MaskExBorder;
  if (index < 0 || index >= static_cast<int>(manager.Masks.size())) return nullptr;
  const TsMaskData& mask = manager.Masks[static_cast<size_t>(index)];
  return mask.Image && (mask.Image->PixelFormat() == pf24bit || mask.Image->PixelFormat() == pf32bit) ? &mask : nullptr;
}

}  // namespace

bool DwmCompositionEnabled() {
  using IsEnabled = HRESULT(WINAPI*)(BOOL*);
  static HMODULE dwm = LoadLibraryW(L"dwmapi.dll");
  static auto call = dwm ? reinterpret_cast<IsEnabled>(GetProcAddress(dwm, "DwmIsCompositionEnabled")) : nullptr;
  BOOL enabled = FALSE;
  return call && SUCCEEDED(call(&enabled)) && enabled;
}

void PrepareExtendedBorders(TsSkinManager& manager) { PrepareExtendedBorders(manager, DwmCompositionEnabled()); }

void PrepareExtendedBorders(TsSkinManager& manager, bool composition) {
  RECT& margins = manager.ExtBorderMargins;
  if (!manager.Active() || !manager.ExtendedBorders()) {
    margins = {};
    return;
  }
  manager.ShadowActive = std::make_unique<TPNGGraphic>();
  manager.ShadowInactive = std::make_unique<TPNGGraphic>();
  if (const TsMaskData* mask = ExBorderMask(manager)) {
    int offset = manager.LoadedSkin.FormOffset;
    if (manager.LoadedSkin.BorderMode == 0)
      margins = {mask->WL - offset, mask->WT - offset, mask->WR - offset, mask->WB - offset};
    else
      margins = {offset, offset, offset, offset};
    int w = MaskStateWidth(*mask), h = MaskStateHeight(*mask);
    manager.ShadowInactive = Copy32(*mask->Image, 0, w, h);
    manager.ShadowActive = Copy32(*mask->Image, mask->ImageCount > 1 ? w : 0, w, h);
  } else if (ShadowPngActive && ShadowPngInactive) {
    int more = composition ? 1 : 0;
    margins = {11 + more, 7 + more, 11 + more, 11 + more};
    manager.ShadowActive = Copy32(*ShadowPngActive);
    manager.ShadowInactive = Copy32(*ShadowPngInactive);
  }
  ClearWhiteTransparentPixels(manager.ShadowActive.get());
  ClearWhiteTransparentPixels(manager.ShadowInactive.get());
}
