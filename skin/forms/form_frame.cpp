// The frame of a bordered skinned form: its measures, the window region cut from the skin's
// corners, and the copies of the frame image to the window's non-client area. The system's
// frame stays where the window's style puts it; the skin's picture is painted over it.
#include "framework/application.h"
#include "framework/bitmap.h"
#include "framework/canvas.h"
#include "framework/gdi.h"
#include "skin/engine/alpha_blend.h"
#include "skin/engine/background_queries.h"
#include "skin/engine/colour_utils.h"
#include "skin/engine/common_data.h"
#include "skin/engine/engine_routines.h"
#include "skin/engine/fills.h"
#include "skin/engine/item_paint.h"
#include "skin/engine/skin_broadcast.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_painters.h"
#include "skin/forms/adapter_paint.h"
#include "skin/forms/border_form.h"
#include "skin/forms/extended_frame.h"
#include "skin/forms/frame_geometry.h"
#include "skin/forms/skin_provider.h"
#include "skin/forms/window_relays.h"

// A window refuses a window region by answering this message with its wParam.
constexpr UINT WM_ACREFUSEREGION = 0xBC4D;
constexpr WPARAM kRefuseRegion = 0x41A2;

namespace {

HWND WndOf(const TForm* form) { return const_cast<TForm*>(form)->Handle(); }

// The window's DC with its state kept, for painting the frame outside WM_NCPAINT.
template <class Paint>
void WithWindowDC(HWND wnd, Paint paint) {
  HDC dc = GetWindowDC(wnd);
  if (!dc) return;
  {
    efir::gdi::SavedState saved(dc);
    PaintGuarded([&] { paint(dc); });
  }
  ReleaseDC(wnd, dc);
}

}  // namespace

// ---------------------------------------------------------------------------- measures

int TsSkinProvider::FrameBorderWidth(bool useExt) const {
  return Form && Form->HandleAllocated() ? ::FrameBorderWidth(WndOf(Form), BorderFormInfo(), useExt) : 0;
}

int TsSkinProvider::FrameTopBorderWidth(bool useExt) const {
  return Form && Form->HandleAllocated() ? ::FrameTopBorderWidth(WndOf(Form), BorderFormInfo(), useExt) : 0;
}

// The form has no inner border width of its own: the side and top widths are the frame's.
int TsSkinProvider::FrameSideWidth(bool useExt) const { return FrameBorderWidth(useExt); }

int TsSkinProvider::FrameTopWidth(bool useExt) const { return FrameTopBorderWidth(useExt); }

int TsSkinProvider::CaptionHeight(bool useExt) const {
  if (!Form || !Form->HandleAllocated()) return 0;
  HWND wnd = WndOf(Form);
  CaptionMeasures caption{IsIconic(wnd) != 0, HasBorder(), static_cast<DWORD>(GetWindowLongPtrW(wnd, GWL_STYLE)),
                          Form->BorderStyle(), ExtTitleHeight(BorderFormInfo()), ZoomedShortTitle};
  return ::CaptionHeight(caption, useExt);
}

// How much wider and higher the extended frame is than the window's own.
int TsSkinProvider::ExtSideMargin() const {
  return BorderFormInfo() ? FrameBorderWidth(true) - FrameBorderWidth(false) : 0;
}

int TsSkinProvider::ExtTopMargin() const {
  return BorderFormInfo() ? CaptionHeight(true) - CaptionHeight(false) - FrameBorderWidth(false) : 0;
}

RECT TsSkinProvider::ExtShadowMargins() const {
  TsSkinManager* manager = Manager();
  return BorderFormInfo() && manager ? manager->ExtBorderMargins : RECT{0, 0, 0, 0};
}

int TsSkinProvider::HeaderHeight() const {
  if (!Form || !Form->HandleAllocated()) return 0;
  HWND wnd = WndOf(Form);
  int header;
  if (BorderFormInfo()) {
    header = FrameTopBorderWidth(false) + CaptionHeight(true);
  } else {
    RECT window, client;
    GetWindowRect(wnd, &window);
    GetClientRect(wnd, &client);
    header = (window.bottom - window.top) - client.bottom;
    if (CaptionHeight(true) != 0 || (GetWindowLongPtrW(wnd, GWL_STYLE) & WS_BORDER)) header -= FrameTopWidth(true);
  }
  header = std::max(header, 0);
  if (IsIconic(wnd)) header += FrameTopBorderWidth(false);
  // The window's height includes the skinned horizontal bar below the client area.
  return header - OwnHorzBarThickness();
}

// ---------------------------------------------------------------------------- region

void TsSkinProvider::CollectRegionCorners() {
  RegionCorners.clear();
  TsSkinManager* manager = Manager();
  const int border = SkinData->BorderMaskIndex;
  if (MaskIndexValid(manager, border)) {
    const TsMaskData& mask = manager->Masks[static_cast<size_t>(border)];
    CollectTransparentCornerRects(RegionCorners, FrameImageWidth(), mask, 0, false);
    CollectTransparentCornerRects(RegionCorners, FrameImageWidth(), mask, Form->Height() - mask.WB, true);
  }
  const int title = GetTitleSection();
  if (!SectionIndexValid(manager, title)) return;
  const int titleMask = MaskIndexByName(manager, title, manager->GeneralData[static_cast<size_t>(title)].SectionName,
                                        "BORDERSMASK");
  if (MaskIndexValid(manager, titleMask))
    CollectTransparentCornerRects(RegionCorners, FrameImageWidth(), manager->Masks[static_cast<size_t>(titleMask)], 0,
                                  false);
}

void TsSkinProvider::UpdateWindowRegion(bool redraw) {
  if (!DrawNonClientArea || InMenuLoop || !Form || !Form->HandleAllocated()) return;
  HWND wnd = Form->Handle();
  if (!HasBorder() && !IsIconic(wnd)) return;
  if (!FrameImageBuilt && static_cast<WPARAM>(SendMessageW(wnd, WM_ACREFUSEREGION, kRefuseRegion, 0)) == kRefuseRegion)
    return;
  RegionUpdating = true;
  RegionMeasures measures;
  measures.Width = Form->Width();
  measures.Height = Form->Height();
  measures.FrameWidth = FrameBorderWidth(false);
  measures.FrameTopWidth = FrameTopBorderWidth(false);
  measures.CaptionHeight = CaptionHeight(false);
  measures.HasBorderForm = BorderFormInfo() != nullptr;
  measures.ZoomedShortTitle = ZoomedShortTitle;
  measures.Maximized = IsZoomed(wnd) != 0;
  measures.MdiChild = Form->FormStyle() == fsMDIChild;
  measures.Constraints = Form->Constraints();
  const std::optional<RECT> plain = PlainWindowRegion(measures);
  HRGN region = plain ? CreateRectRgnIndirect(&*plain) : MakeRegion(0, 0, FrameImageWidth(), Form->Height(), RegionCorners);
  RegionChanged = true;
  // The window owns the region from here on.
  SetWindowRgn(wnd, region, redraw);
  RegionUpdating = false;
}

// ---------------------------------------------------------------------------- painting

void TsSkinProvider::PaintFrameToDC(HDC dc) {
  TsCommonData& d = *SkinData;
  if (d.BackgroundChanged || !d.CacheReusable()) {
    BuildFormFrameImage();
    d.BackgroundChanged = false;
    d.SetUpdating(false);
  }
  if (!d.CacheBitmap || d.CacheBitmap->Empty()) return;
  HDC image = d.CacheBitmap->Canvas().Handle();
  const int imageW = d.CacheBitmap->Width(), imageH = d.CacheBitmap->Height();
  const int w = Form->Width(), h = Form->Height();
  const int topH = FrameTopBorderWidth(true) + CaptionHeight(true) + (IsIconic(Form->Handle()) ? 1 : 0);
  const int header = HeaderHeight(), side = FrameSideWidth(true), bottom = FrameTopWidth(true);
  // Whatever lies between the caption and the client (a menu bar) comes with the sides.
  const int menu = std::max(header - topH, 0);
  BitBlt(dc, 0, 0, w, header, image, 0, 0, SRCCOPY);
  BitBlt(dc, 0, header, side, imageH - header, image, 0, topH + menu, SRCCOPY);
  BitBlt(dc, side, h - bottom, w - side, bottom, image, FrameBorderWidth(true), h - FrameTopBorderWidth(true), SRCCOPY);
  const int right = imageW - FrameBorderWidth(true);
  BitBlt(dc, right, header, FrameTopBorderWidth(true), imageH - bottom, image, right, topH + menu, SRCCOPY);
}

void TsSkinProvider::PaintNonClient() {
  if (!DrawNonClientArea || !Form) return;
  RefreshMainMenuOnce();
  HWND wnd = Form->Handle();
  if (!RegionUpdating && !InMenuLoop && RegionChanged && (HasBorder() || IsIconic(wnd))) {
    if (SkinData->BackgroundChanged) BuildFormFrameImage();
    CollectRegionCorners();
    // Setting the region repaints the window (a region set without redrawing may leave the
    // client area blank on the screen); the frame is painted at the WM_NCPAINT that follows,
    // which must not set the region once more.
    UpdateWindowRegion(true);
    RegionChanged = false;
    return;
  }
  SkinData->SetUpdating(false);
  if (SkinData->CacheBitmap && SkinData->CacheBitmap->Width() == 0) SkinData->BackgroundChanged = true;
  WithWindowDC(wnd, [&](HDC dc) { PaintWindowFrame(dc); });
  RegionUpdating = false;
}

void TsSkinProvider::PaintWindowFrame(HDC dc) {
  if (BorderForm)
    PaintBandAboveClient(dc);
  else
    PaintFrameToDC(dc);
}

// The border window shows the frame; the window's region leaves it only the menu line between
// its top and the client, which comes from the same place of the frame image.
void TsSkinProvider::PaintBandAboveClient(HDC dc) {
  TsCommonData& d = *SkinData;
  if (d.BackgroundChanged) {
    BuildFormFrameImage();
    d.BackgroundChanged = false;
    d.SetUpdating(false);
  }
  if (!d.CacheBitmap || d.CacheBitmap->Empty()) return;
  RECT client;
  ClientRectInWindowCoords(Form->Handle(), client);
  ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
  const POINT origin = WindowInFrame();
  BitBlt(dc, 0, 0, Form->Width(), Form->Height(), d.CacheBitmap->Canvas().Handle(), origin.x, origin.y, SRCCOPY);
}

void TsSkinProvider::RepaintNonClient() {
  if (ShowAnimating || !Form || !Form->HandleAllocated() || !IsWindowVisible(Form->Handle()) || !DrawNonClientArea)
    return;
  if (!HasBorder() || !Skinned()) return;
  SkinData->BackgroundChanged = true;
  WithWindowDC(Form->Handle(), [&](HDC dc) { PaintWindowFrame(dc); });
}

LRESULT TsSkinProvider::RefreshNonClient() {
  SkinData->BackgroundChanged = true;
  RebuildTitle = true;
  return Form && Form->HandleAllocated() ? SendMessageW(Form->Handle(), WM_NCPAINT, 0, 0) : 0;
}

void TsSkinProvider::PaintSizeGrip(HDC dc) {
  TsSkinManager* manager = Manager();
  const int grip = MaskIndexByName(manager, SectionIndexByName(manager, "GLOBALINFO"), "GLOBALINFO", "GRIPIMAGE");
  if (!MaskIndexValid(manager, grip) || !SkinData->CacheBitmap) return;
  const TsMaskData& mask = manager->Masks[static_cast<size_t>(grip)];
  auto picture = NewBitmap24(MaskStateWidth(mask), MaskStateHeight(mask));
  const POINT at = GripPosition(grip);
  TBitmap& image = *SkinData->CacheBitmap;
  BackgroundInfo behind;
  QueryParentBackground(behind, Form, false);
  const int pw = picture->Width(), ph = picture->Height();
  if (behind.Kind == BG_COLOR) {
    FillRectSolid(picture->Canvas().Handle(), {0, 0, pw, ph}, behind.Color);
    // Where the skin's right and bottom borders reach into the client, they show under the grip.
    const int rb = MaskBorderRight(manager, SkinData->BorderMaskIndex);
    const int bb = MaskBorderBottom(manager, SkinData->BorderMaskIndex);
    const int f = FrameBorderWidth(true), dr = rb - f, db = bb - f;
    const RECT m = ExtShadowMargins();
    if (dr > 0 && db > 0)
      BitBlt(picture->Canvas().Handle(), pw - dr, 0, dr, ph, image.Canvas().Handle(), image.Width() - rb - m.right,
             image.Height() - f - ph - m.bottom, SRCCOPY);
    if (db > 0)
      BitBlt(picture->Canvas().Handle(), 0, ph - db, pw, db, image.Canvas().Handle(), image.Width() - f - pw - m.right,
             image.Height() - bb - m.bottom, SRCCOPY);
  } else {
    BitBlt(picture->Canvas().Handle(), 0, 0, pw, ph, image.Canvas().Handle(), at.x, at.y, SRCCOPY);
  }
  PaintMaskFrame(picture.get(), {0, 0}, 0, 1, mask, BitmapSource(*picture));
  BitBlt(dc, at.x, at.y, pw, ph, picture->Canvas().Handle(), 0, 0, SRCCOPY);
}

void TsSkinProvider::PaintTitleIcon() {
  if (!TitleIconVisible() || !SkinData->CacheBitmap) return;
  TBitmap& image = *SkinData->CacheBitmap;
  const RECT r = TitleIconRect();
  HDC dc = image.Canvas().Handle();
  if (!TitleIcon.Glyph.Empty()) {
    const int edge = TitleIconSize(HeaderHeight() - 2);
    const int w = TitleIcon.Width ? TitleIcon.Width : edge, h = TitleIcon.Height ? TitleIcon.Height : edge;
    TBitmap& glyph = const_cast<TBitmap&>(TitleIcon.Glyph);
    if (glyph.PixelFormat() == pf32bit) {
      CopyMaskCellTransparent({r.left, r.top, r.left + glyph.Width(), r.top + glyph.Height()},
                              {0, 0, glyph.Width(), glyph.Height()}, &image, &glyph, EmptyCacheSourceInfo, false);
    } else {
      auto scaled = NewBitmap24(w, h);
      SetStretchBltMode(scaled->Canvas().Handle(), COLORONCOLOR);
      StretchBlt(scaled->Canvas().Handle(), 0, 0, w, h, glyph.Canvas().Handle(), 0, 0, glyph.Width(), glyph.Height(),
                 SRCCOPY);
      CopyBitmapKeyed(&image, scaled.get(), r.left, r.top, 0xFF00FF);
    }
    return;
  }
  const int w = TitleIconWidth(), h = TitleIconHeight();
  HICON icon = Form->Icon().Handle();
  if (!icon && Application.Handle())
    icon = reinterpret_cast<HICON>(SendMessageW(Application.Handle(), WM_GETICON, ICON_SMALL2, 0));
  if (!icon) icon = h > 16 && AppIconLarge ? AppIconLarge : AppIconSmall;
  if (!icon) icon = LoadIconW(nullptr, IDI_APPLICATION);
  DrawIconEx(dc, r.left, r.top, icon, w, h, 0, nullptr, DI_NORMAL);
}

// ---------------------------------------------------------------------------- extended borders

// With an extended-border window the 32-bit image carries the shadow picture round the frame;
// the frame itself is opaque.
void TsSkinProvider::PaintExtendedBorders(const RECT& frameArea, int captionBottom) {
  if (!BorderFormInfo() || !SkinData->CacheBitmap) return;
  TsSkinManager* manager = Manager();
  ExtendedFrame frame;
  frame.Manager = manager;
  frame.Active = FormActive;
  frame.Shadow = ExtShadowMargins();
  frame.SideWidth = FrameSideWidth(true);
  const int title = GetTitleSection();
  if (SectionIndexValid(manager, title))
    frame.TitleMask = MaskIndexByName(manager, title, manager->GeneralData[static_cast<size_t>(title)].SectionName,
                                      "BORDERSMASK");
  frame.BorderMask = SkinData->BorderMaskIndex;
  frame.CaptionBottom = captionBottom;
  frame.PaintCaption = [&] {
    PaintTitleBand(frameArea, captionBottom);
    PaintCaptionText(frameArea, captionBottom);
  };
  PaintExtendedFrame(*SkinData->CacheBitmap, frame);
}
