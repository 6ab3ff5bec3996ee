#include "skin/forms/scroll_paint.h"

#include <algorithm>
#include <string>

#include "skin/engine/alpha_blend.h"
#include "skin/engine/engine_routines.h"
#include "skin/engine/fills.h"
#include "skin/engine/item_paint.h"
#include "skin/engine/skin_constants.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_painters.h"

namespace {

// One section's slots in the manager's fixed indexes.
struct PartSkin {
  const char* Name;
  int Section, Mask, Texture, HotTexture, Glyph;
};

PartSkin FirstArrowSkin(const TsFixedIndexes& f, bool horizontal) {
  return horizontal ? PartSkin{"SCROLLBTNLEFT", f.IdxScrollBtnLeft, f.MaskScrollBtnLeft, f.TexScrollBtnLeft,
                               f.HotTexScrollBtnLeft, f.GlyphScrollBtnLeft}
                    : PartSkin{"SCROLLBTNTOP", f.IdxScrollBtnTop, f.MaskScrollBtnTop, f.TexScrollBtnTop,
                               f.HotTexScrollBtnTop, f.GlyphScrollBtnTop};
}
PartSkin SecondArrowSkin(const TsFixedIndexes& f, bool horizontal) {
  return horizontal ? PartSkin{"SCROLLBTNRIGHT", f.IdxScrollBtnRight, f.MaskScrollBtnRight, f.TexScrollBtnRight,
                               f.HotTexScrollBtnRight, f.GlyphScrollBtnRight}
                    : PartSkin{"SCROLLBTNBOTTOM", f.IdxScrollBtnBottom, f.MaskScrollBtnBottom, f.TexScrollBtnBottom,
                               f.HotTexScrollBtnBottom, f.GlyphScrollBtnBottom};
}
PartSkin ThumbSkin(const TsFixedIndexes& f, bool horizontal) {
  return horizontal ? PartSkin{"SCROLLSLIDERH", f.IdxSliderH, f.MaskSliderH, f.TexSliderH, f.HotTexSliderH,
                               f.GlyphSliderH}
                    : PartSkin{"SCROLLSLIDERV", f.IdxSliderV, f.MaskSliderV, f.TexSliderV, f.HotTexSliderV,
                               f.GlyphSliderV};
}
PartSkin TrackSkin(const TsFixedIndexes& f, bool horizontal, bool afterThumb) {
  if (horizontal)
    return afterThumb ? PartSkin{"SCROLLBAR2H", f.IdxScrollBar2H, f.MaskScrollBar2H, f.TexScrollBar2H,
                                 f.HotTexScrollBar2H, -1}
                      : PartSkin{"SCROLLBAR1H", f.IdxScrollBar1H, f.MaskScrollBar1H, f.TexScrollBar1H,
                                 f.HotTexScrollBar1H, -1};
  return afterThumb ? PartSkin{"SCROLLBAR2V", f.IdxScrollBar2V, f.MaskScrollBar2V, f.TexScrollBar2V,
                               f.HotTexScrollBar2V, -1}
                    : PartSkin{"SCROLLBAR1V", f.IdxScrollBar1V, f.MaskScrollBar1V, f.TexScrollBar1V,
                               f.HotTexScrollBar1V, -1};
}

// A mask's first state picture centred in `area` of the bitmap.
void PaintCentredGlyph(TBitmap& bitmap, const RECT& area, int maskIndex, int state, TsSkinManager* manager) {
  if (!MaskIndexValid(manager, maskIndex)) return;
  const TsMaskData& mask = manager->Masks[maskIndex];
  const POINT at{area.left + (area.right - area.left - MaskStateWidth(mask)) / 2,
                 area.top + (area.bottom - area.top - MaskStateHeight(mask)) / 2};
  CacheSourceInfo self;
  MakeCacheSourceInfo(&bitmap, 0, 0, self);
  PaintMaskFrame(&bitmap, at, state, 1, mask, self);
}

// An arrow or thumb: composed in its own bitmap over what the bar image already shows at its
// place, its glyph centred in `glyphArea` (part coordinates), then copied in.
void PaintPart(TBitmap& image, const RECT& part, const PartSkin& skin, int state, const RECT& glyphArea,
               TsSkinManager* manager) {
  const int w = part.right - part.left, h = part.bottom - part.top;
  if (w <= 0 || h <= 0) return;
  auto picture = NewBitmap24(w, h);
  CacheSourceInfo behind;
  MakeCacheSourceInfo(&image, part.left, part.top, behind);
  RenderSectionItemWithMask(skin.Section, skin.Mask, skin.Texture, skin.HotTexture, skin.Name, behind, true, state,
                            {0, 0, w, h}, {0, 0}, picture.get(), manager);
  PaintCentredGlyph(*picture, glyphArea, skin.Glyph, state, manager);
  BitBlt(image.Canvas().Handle(), part.left, part.top, w, h, picture->Canvas().Handle(), 0, 0, SRCCOPY);
}

// A track half straight into the image, over the window's background.
void PaintTrack(TBitmap& image, const RECT& part, const PartSkin& skin, int state, const CacheSourceInfo& background,
                POINT place, TsSkinManager* manager) {
  if (part.right <= part.left || part.bottom <= part.top) return;
  RenderSectionItemWithMask(skin.Section, skin.Mask, skin.Texture, skin.HotTexture, skin.Name, background, true,
                            state, part, {place.x + part.left, place.y + part.top}, &image, manager);
}

// A rectangle along the bar from `from` to `to`, across its whole thickness.
RECT Span(bool horizontal, const RECT& whole, int from, int to) {
  return horizontal ? RECT{from, whole.top, to, whole.bottom} : RECT{whole.left, from, whole.right, to};
}

// The plain-length glyph area at the start or end of an arrow part.
RECT ArrowGlyphArea(bool horizontal, int w, int h, bool atEnd) {
  const int a = SysScrollArrowWidth;
  if (horizontal) return atEnd ? RECT{w - a, 0, w, h} : RECT{0, 0, a, h};
  return atEnd ? RECT{0, h - a, w, h} : RECT{0, 0, w, a};
}

void PaintArrow(TBitmap& image, const RECT& part, const PartSkin& skin, int state, bool horizontal, bool second,
                TsSkinManager* manager) {
  PaintPart(image, part, skin, state,
            ArrowGlyphArea(horizontal, part.right - part.left, part.bottom - part.top, second), manager);
}

// A key colour with high byte 0xFF: no pixel is skipped.
constexpr TColor kNoKeyColor = static_cast<TColor>(0xFFFFFFFF);

// A disabled bar: 60 % of the background over it, or darkened in the background's colour.
void FadeDisabled(TBitmap& image, const CacheSourceInfo& background, POINT place) {
  const int w = image.Width(), h = image.Height();
  if (background.Ready && background.Bitmap) {
    const int x = background.X + place.x, y = background.Y + place.y;
    CopyBlendedRect(&image, 0, 0, background.Bitmap, {x, y, x + w - 1, y + h - 1}, 0.4, kNoKeyColor);
  } else if (background.FillColor != TransparentKeyColor) {
    PaintSoftShadow(&image, {0, 0, w, h}, 40, background.FillColor, 0, 0);
  }
}

}  // namespace

bool PaintScrollBarImage(TBitmap& image, const TacScrollBar& bar, const ScrollBarLook& look, TsSkinManager* manager,
                         const CacheSourceInfo& background, POINT place) {
  if (!manager) return false;
  const TsFixedIndexes& fixed = manager->FixedIndexes;
  const bool horizontal = bar.Horizontal();
  if (!SectionIndexValid(manager, horizontal ? fixed.IdxScrollBar1H : fixed.IdxScrollBar1V)) return false;
  const RECT whole{0, 0, image.Width(), image.Height()};
  const int length = BarLength(bar, whole);
  if (length <= 1) return false;
  const int arrow = ScrollBarPartSize(bar, 0, true, manager);
  const PartSkin first = FirstArrowSkin(fixed, horizontal), second = SecondArrowSkin(fixed, horizontal);

  if (2 * arrow < length) {
    ThumbSpan thumb = ThumbGeometry(bar, whole);
    if (look.ThumbStart != -1) thumb.Start = look.ThumbStart;
    const int split = thumb.Start + thumb.Size / 2;
    PaintTrack(image, Span(horizontal, whole, 0, split), TrackSkin(fixed, horizontal, false),
               look.Pressed == spTrackBefore ? 2 : 0, background, place, manager);
    PaintTrack(image, Span(horizontal, whole, split, length), TrackSkin(fixed, horizontal, true),
               look.Pressed == spTrackAfter ? 2 : 0, background, place, manager);
    PaintArrow(image, Span(horizontal, whole, 0, arrow), first, look.FirstArrow, horizontal, false, manager);
    PaintArrow(image, Span(horizontal, whole, length - arrow, length), second, look.SecondArrow, horizontal, true,
               manager);
    // Whether a thumb shows at all is judged with the skin's arrows; where it lies, with the plain ones.
    const SCROLLINFO& si = bar.Info;
    const int free = length - 2 * arrow;
    const int shown = std::max(MulDiv(static_cast<int>(si.nPage), free, si.nMax - si.nMin), bar.MinThumbSize);
    if (look.Enabled && shown > 0 && shown <= free) {
      const RECT part = Span(horizontal, whole, thumb.Start, thumb.Start + thumb.Size);
      PaintPart(image, part, ThumbSkin(fixed, horizontal), look.Thumb,
                {0, 0, part.right - part.left, part.bottom - part.top}, manager);
    }
  } else {
    const int half = length / 2;
    PaintTrack(image, Span(horizontal, whole, 0, half), TrackSkin(fixed, horizontal, false), 0, background, place,
               manager);
    PaintTrack(image, Span(horizontal, whole, half, length), TrackSkin(fixed, horizontal, true), 0, background, place,
               manager);
    PaintArrow(image, Span(horizontal, whole, 0, half), first, look.FirstArrow, horizontal, false, manager);
    PaintArrow(image, Span(horizontal, whole, half, length), second, look.SecondArrow, horizontal, true, manager);
  }
  if (!look.Enabled) FadeDisabled(image, background, place);
  return true;
}

bool PaintGripImage(TBitmap& image, TsSkinManager* manager) {
  if (!manager) return false;
  const int global = manager->FixedIndexes.IdxGlobalInfo;
  const int grip = MaskIndexByName(manager, global, "GLOBALINFO", "GRIPIMAGE");
  if (!MaskIndexValid(manager, grip)) return false;
  const TsMaskData& mask = manager->Masks[grip];
  CacheSourceInfo self;
  MakeCacheSourceInfo(&image, 0, 0, self);
  PaintMaskFrame(&image, {std::max(image.Width() - MaskStateWidth(mask), 0),
                          std::max(image.Height() - MaskStateHeight(mask), 0)},
                 0, 1, mask, self);
  return true;
}

void PaintScrollCornerImage(TBitmap& image, TsSkinManager* manager, const CacheSourceInfo& background, POINT place,
                            bool withGrip) {
  const int w = image.Width(), h = image.Height();
  if (background.Ready && background.Bitmap)
    BitBlt(image.Canvas().Handle(), 0, 0, w, h, background.Bitmap->Canvas().Handle(), background.X + place.x,
           background.Y + place.y, SRCCOPY);
  else
    FillRectSolid(image.Canvas().Handle(), {0, 0, w, h}, background.FillColor);
  if (withGrip) PaintGripImage(image, manager);
}
