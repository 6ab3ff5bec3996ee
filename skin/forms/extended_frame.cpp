#include "skin/forms/extended_frame.h"

#include <algorithm>
#include <cstdint>

#include "framework/bitmap.h"
#include "skin/engine/alpha_blend.h"
#include "skin/engine/item_paint.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_painters.h"

namespace {

// Alpha 255 for every pixel of `area` in a 32-bit image.
void MakeOpaque(TBitmap& image, const RECT& area) {
  for (int y = std::max<LONG>(area.top, 0); y < std::min<LONG>(area.bottom, image.Height()); ++y) {
    auto* row = static_cast<uint8_t*>(image.ScanLine(y));
    for (int x = std::max<LONG>(area.left, 0); x < std::min<LONG>(area.right, image.Width()); ++x) row[x * 4 + 3] = 255;
  }
}

// Alpha 255 where the image's top rows now differ from `before` (same width, 32-bit).
void MakeChangedOpaque(TBitmap& image, const TBitmap& before, int rows) {
  for (int y = 0; y < std::min({rows, image.Height(), before.Height()}); ++y) {
    auto* row = static_cast<uint8_t*>(image.ScanLine(y));
    const auto* old = static_cast<const uint8_t*>(before.ScanLine(y));
    for (int x = 0; x < std::min(image.Width(), before.Width()); ++x)
      if (row[x * 4] != old[x * 4] || row[x * 4 + 1] != old[x * 4 + 1] || row[x * 4 + 2] != old[x * 4 + 2])
        row[x * 4 + 3] = 255;
  }
}

// BORDERMODE 1: the EXBORDER picture over everything, the caption painted on it.
void PaintOverExBorder(TBitmap& image, TBitmap* picture, const ExtendedFrame& f) {
  TsSkinManager* manager = f.Manager;
  const int exBorder = manager->FixedIndexes.MaskExBorder;
  if (!MaskIndexValid(manager, exBorder)) return;
  const TsMaskData& mask = manager->Masks[static_cast<size_t>(exBorder)];
  const RECT& shadow = f.Shadow;
  const int w = image.Width(), h = image.Height();
  const RECT slices{std::min<LONG>(mask.WL, f.SideWidth + shadow.left), mask.WT,
                    std::min<LONG>(mask.WR, f.SideWidth + shadow.right), mask.WB};
  CopyNineSliceStretched(&image, picture, {0, 0, w, h}, {0, 0, picture->Width(), picture->Height()}, slices,
                         {255, 255, 255, 255}, {1, 1, 1, 1}, 1, false);
  // The caption painted over the picture is opaque where it changed it.
  auto before = NewBitmap32(w, f.CaptionBottom);
  BitBlt(before->Canvas().Handle(), 0, 0, w, f.CaptionBottom, image.Canvas().Handle(), 0, 0, SRCCOPY);
  if (f.PaintCaption) f.PaintCaption();
  MakeChangedOpaque(image, *before, f.CaptionBottom);
}

}  // namespace

void PaintExtendedFrame(TBitmap& image, const ExtendedFrame& f) {
  TsSkinManager* manager = f.Manager;
  if (!manager || image.PixelFormat() != pf32bit) return;
  const int w = image.Width(), h = image.Height();
  const RECT& shadow = f.Shadow;
  MakeOpaque(image, {shadow.left, shadow.top, w - shadow.right - 1, h - shadow.bottom - 1});
  TBitmap* picture = f.Active ? manager->ShadowActive.get() : manager->ShadowInactive.get();
  if (!picture) return;
  if (manager->LoadedSkin.BorderMode == 1) return PaintOverExBorder(image, picture, f);
  const int offset = manager->LoadedSkin.FormOffset;
  const RECT slices{shadow.left + offset, shadow.top + offset, shadow.right + offset, shadow.bottom + offset};
  CopyNineSliceStretched(&image, picture, {0, 0, w, h}, {0, 0, picture->Width(), picture->Height()}, slices, shadow,
                         {1, 1, 1, 1}, 1, false);
  // The corners the skin leaves transparent show the shadow.
  const int border = f.BorderMask;
  const int topMask = MaskIndexValid(manager, f.TitleMask) ? f.TitleMask : border;
  auto corner = [&](int mask, int code, int cw, int ch, bool right, bool bottom) {
    if (!MaskIndexValid(manager, mask) || cw <= 0 || ch <= 0) return;
    const int x = right ? w - shadow.right - cw : shadow.left;
    const int y = bottom ? h - shadow.bottom - ch : shadow.top;
    const RECT r{x, y, x + cw, y + ch};
    CopyWhereTransparent(&image, picture, r, r, mask, manager, code);
  };
  const bool limited = topMask == border;
  auto limit = [&](int v) { return limited ? std::min(v, 8) : v; };
  corner(topMask, HTTOPLEFT, limit(MaskBorderLeft(manager, topMask)), limit(MaskBorderTop(manager, topMask)), false, false);
  corner(topMask, HTTOPRIGHT, limit(MaskBorderRight(manager, topMask)), limit(MaskBorderTop(manager, topMask)), true, false);
  corner(border, HTBOTTOMLEFT, MaskBorderLeft(manager, border), MaskBorderBottom(manager, border), false, true);
  corner(border, HTBOTTOMRIGHT, MaskBorderRight(manager, border), MaskBorderBottom(manager, border), true, true);
}
