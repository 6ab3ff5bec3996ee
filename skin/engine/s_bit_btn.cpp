#include "skin/engine/s_bit_btn.h"

#include <algorithm>

#include "framework/graphics.h"
#include "skin/engine/alpha_blend.h"
#include "skin/engine/fills.h"
#include "skin/engine/item_background.h"
#include "skin/engine/item_paint.h"
#include "skin/engine/png_graphic.h"

TsBitBtn::TsBitBtn(TComponent* AOwner) : TsSkinnedButton(AOwner, ckBitBtn) {}

void TsBitBtn::SetBlend(int value) { SetAndShow(blend_, std::clamp(value, 0, 100)); }

void TsBitBtn::SetImages(TsAlphaImageList* value) {
  if (value == images_) return;
  if (images_) images_->RemoveFreeNotification(this);
  images_ = value;
  if (images_) images_->FreeNotification(this);
  FollowOwnerDrawing();
  InvalidateLook();
}

void TsBitBtn::SetImageIndex(int value) {
  if (value == imageIndex_) return;
  imageIndex_ = value;
  FollowOwnerDrawing();
  InvalidateLook();
}

void TsBitBtn::FollowOwnerDrawing() {
  if (!HandleAllocated()) return;
  const bool ownerDrawn = (GetWindowLongW(Handle(), GWL_STYLE) & 0x0F) == BS_OWNERDRAW;
  if (ownerDrawn != OwnerDrawn()) RecreateWnd();
}

void TsBitBtn::Notification(TComponent* AComponent, TOperation Operation) {
  TsSkinnedButton::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == images_) {
    images_ = nullptr;
    FollowOwnerDrawing();
    InvalidateLook();
  }
}

void TsBitBtn::InvalidateLook() {
  SkinData->BackgroundChanged = true;
  Invalidate();
}

bool TsBitBtn::UsesImageList() const {
  return images_ && imageIndex_ >= 0 && imageIndex_ < images_->Count();
}

TBitmap* TsBitBtn::GlyphBitmap() const { return dynamic_cast<TBitmap*>(Glyph().Graphic()); }

bool TsBitBtn::OwnerDrawn() {
  if (Skinned() || UsesImageList()) return true;
  // The system button would show a 32-bit glyph without its alpha.
  const TBitmap* glyph = GlyphBitmap();
  return glyph && glyph->PixelFormat() == pf32bit;
}

UINT TsBitBtn::CaptionFormat() const {
  return AlignmentDrawTextFlags(textAlignment_) | DT_EXPANDTABS | (WordWrap() ? DT_WORDBREAK : 0);
}

BitBtnMeasures TsBitBtn::Measures() {
  BitBtnMeasures m;
  m.Width = Width();
  m.Height = Height();
  if (UsesImageList()) {
    m.GlyphWidth = images_->Width() / NumGlyphs();
    m.GlyphHeight = images_->Height();
  } else if (Glyph().Graphic()) {
    m.GlyphWidth = Glyph().Width() / NumGlyphs();
    m.GlyphHeight = Glyph().Height();
  }
  m.Layout = Layout();
  m.Alignment = alignment_;
  m.Margin = Margin();
  m.Spacing = Spacing();
  const std::string caption = Caption();
  if (showCaption_ && !caption.empty()) {
    const bool beside = (m.Layout == blGlyphLeft || m.Layout == blGlyphRight) && m.GlyphWidth > 0;
    const int limit = m.Width - 2 * m.Margin - (beside ? m.GlyphWidth + m.Spacing : 0);
    TCanvas& canvas = SkinData->CacheBitmap->Canvas();
    canvas.Font().Assign(Font());
    const RECT text = MeasureTextOnDC(canvas.Handle(), caption, {0, 0, std::max(limit, 0), 0}, CaptionFormat());
    m.TextWidth = text.right - text.left;
    m.TextHeight = text.bottom - text.top;
    m.CaptionShown = m.GlyphWidth > 0;
  }
  return m;
}

RECT TsBitBtn::CaptionRect(int state) {
  const BitBtnMeasures m = Measures();
  POINT glyphAt{};
  RECT text{};
  CalcGlyphTextLayout({0, 0, m.Width, m.Height}, {m.GlyphWidth, m.GlyphHeight}, {m.TextWidth, m.TextHeight},
                      m.Layout, m.Alignment, m.Margin, m.Spacing, glyphAt, text, 0);
  if (state == 2) OffsetRect(&text, 1, 1);
  return text;
}

void TsBitBtn::PaintCaption(TBitmap* target, int state, bool skinned) {
  const std::string caption = Caption();
  if (!showCaption_ || caption.empty()) return;
  const RECT r = CaptionRect(state);
  TCanvas& canvas = target->Canvas();
  canvas.Font().Assign(Font());
  canvas.Brush().SetStyle(bsClear);
  if (skinned) {
    WriteSkinText(canvas, caption, Enabled(), r, CaptionFormat(), *SkinData, state != 0);
    PaintFocus(canvas, r);
    return;
  }
  HDC dc = canvas.Handle();
  SetBkMode(dc, TRANSPARENT);
  if (Enabled()) {
    SetTextColor(dc, ColorToRGB(Font().Color()));
    DrawTextOnDC(dc, caption, r, CaptionFormat());
    return;
  }
  // Engraved: a light copy a pixel down and right under the shadowed text.
  RECT below = r;
  OffsetRect(&below, 1, 1);
  SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
  DrawTextOnDC(dc, caption, below, CaptionFormat());
  SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
  DrawTextOnDC(dc, caption, r, CaptionFormat());
}

void TsBitBtn::PaintAlphaGlyph(TBitmap* target, const TBitmap& glyph, const RECT& at, int state, bool skinned) {
  TPNGGraphic png;
  png.Assign(glyph);
  png.Reflected = reflected_;
  // With a skin the disabled look covers the whole button; without one the glyph takes it.
  const bool disabledLook = !skinned && !Enabled();
  const int fade = disabledLook && (disabledGlyphKind_ & dgBlended) ? 50 : state == 0 ? blend_ : 0;
  const bool grey = disabledLook ? (disabledGlyphKind_ & dgGrayed) != 0 : grayed_ && state == 0;
  if (fade > 0 || grey) {
    for (int y = 0; y < png.Height(); ++y) {
      auto* p = static_cast<uint8_t*>(png.ScanLine(y));
      for (int x = 0; x < png.Width(); ++x, p += 4) {
        if (grey) p[0] = p[1] = p[2] = static_cast<uint8_t>((p[0] * 11 + p[1] * 59 + p[2] * 30) / 100);
        p[3] = static_cast<uint8_t>(p[3] * (100 - fade) / 100);
      }
    }
  }
  target->Canvas().Draw(at.left, at.top, png);
}

void TsBitBtn::PaintButtonGlyph(TBitmap* target, int state, bool skinned) {
  const RECT at = GlyphRect(state);
  if (UsesImageList()) {
    const bool disabledLook = !skinned && !Enabled();
    const TsGeneralData* section = skinned ? SkinData->Section() : nullptr;
    const TColor greyTint = section ? section->Color : ColorToRGB(clBtnFace);
    const bool grey = disabledLook ? (disabledGlyphKind_ & dgGrayed) != 0 : grayed_ && state == 0;
    const int fade = disabledLook && (disabledGlyphKind_ & dgBlended) ? 50 : state == 0 ? blend_ : 0;
    SIZE size{};
    images_->DrawToBitmap(target, at.left, size, reflected_, NumGlyphs(), state + (Down() ? 1 : 0),
                          grey ? greyTint : clNone, fade, imageIndex_, at.top);
    return;
  }
  const TGraphic* graphic = Glyph().Graphic();
  if (!graphic) return;
  TBitmap* glyph = GlyphBitmap();
  if (!glyph) {
    target->Canvas().Draw(at.left, at.top, *graphic);
    return;
  }
  if (NumGlyphs() == 1 && glyph->PixelFormat() == pf32bit) {
    PaintAlphaGlyph(target, *glyph, at, state, skinned);
    return;
  }
  DrawGlyphEffects(glyph, target, at, NumGlyphs(), Enabled(), disabledGlyphKind_, state, blend_, Down() ? 1 : 0);
}

void TsBitBtn::PaintFrame(int state) {
  TsSkinManager* manager = SkinData->SkinManager();
  const int border = SkinData->BorderMaskIndex;
  if (!MaskIndexValid(manager, border)) return;
  const TsMaskData& mask = manager->Masks[static_cast<size_t>(border)];
  if (state != 0 || (mask.StretchMode & 2) == 0)
    PaintMaskOverBitmap(SkinData->CacheBitmap.get(), nullptr, true, mask, state);
}

void TsBitBtn::PaintFace(int state) {
  PaintCaption(SkinData->CacheBitmap.get(), state, true);
  PaintButtonGlyph(SkinData->CacheBitmap.get(), state, true);
}

void TsBitBtn::PrepareCache() {
  CacheSourceInfo behind;
  TBitmap* cache = BeginCache(behind);
  const int state = CurrentState();
  RenderControlBackground(*SkinData, behind, state, {0, 0, Width(), Height()}, {0, 0}, cache);
  CutRegion(state);
  if (drawOverBorder_) PaintFrame(state);
  PaintFace(state);
  if (!drawOverBorder_) PaintFrame(state);
  FinishCache();
  if (OnPaint) OnPaint(this, cache);
}

void TsBitBtn::DrawUnskinned(const DRAWITEMSTRUCT& item) {
  const int w = Width(), h = Height();
  if (w <= 0 || h <= 0) return;
  auto face = NewBitmap24(w, h);
  HDC dc = face->Canvas().Handle();
  const bool pressed = (item.itemState & ODS_SELECTED) != 0 || Down();
  const bool focused = (item.itemState & ODS_FOCUS) != 0;
  const bool active = Default() || focused;
  RECT r{0, 0, w, h};
  if (active) {
    FrameRect(dc, &r, GetSysColorBrush(COLOR_WINDOWFRAME));
    InflateRect(&r, -1, -1);
  }
  if (pressed) {
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    FrameRect(dc, &r, GetSysColorBrush(COLOR_BTNSHADOW));
  } else {
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (Enabled() ? 0 : DFCS_INACTIVE));
  }
  const int state = pressed ? 2 : 0;
  PaintCaption(face.get(), state, false);
  PaintButtonGlyph(face.get(), state, false);
  if (active && focused) {
    RECT focus{4, 4, w - 4, h - 4};
    DrawFocusRect(dc, &focus);
  }
  BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, w, h, dc, 0, 0, SRCCOPY);
}
