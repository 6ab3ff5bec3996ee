// The painting of a skinned standard dialog: everything is drawn into one picture of the
// whole window (the adapter's cache), rebuilt only when the background changed; the frame
// bands are copied from it on WM_NCPAINT and the client part on WM_ERASEBKGND.
#include "framework/bitmap.h"
#include "framework/text_encoding.h"
#include "skin/engine/alpha_blend.h"
#include "skin/engine/colour_utils.h"
#include "skin/engine/common_data.h"
#include "skin/engine/engine_routines.h"
#include "skin/engine/fills.h"
#include "skin/engine/glow.h"
#include "skin/engine/item_background.h"
#include "skin/engine/item_paint.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_painters.h"
#include "skin/forms/adapter_paint.h"
#include "skin/forms/dialog_wnd.h"
#include "skin/forms/extended_frame.h"
#include "skin/forms/frame_metrics.h"
#include "skin/forms/skin_hook.h"
#include "skin/forms/title_button_glow.h"
#include "skin/forms/window_relays.h"

// A window refuses a window region by answering this message with its wParam.
constexpr UINT WM_ACREFUSEREGION = 0xBC4D;
constexpr WPARAM kRefuseRegion = 0x41A2;

namespace {

bool DialogRegionUpdating = false;

const TsMaskData* MaskOf(TsSkinManager* manager, int index) {
  return MaskIndexValid(manager, index) ? &manager->Masks[static_cast<size_t>(index)] : nullptr;
}

SIZE ButtonSize(TsSkinManager* manager, const TitleButtonData& button) {
  const TsMaskData* m = MaskOf(manager, button.ImageIndex);
  return m ? SIZE{MaskStateWidth(*m), MaskStateHeight(*m)} : SIZE{21, 21};
}

CacheSourceInfo SelfSource(TBitmap& cache) {
  CacheSourceInfo info;
  MakeCacheSourceInfo(&cache, 0, 0, info);
  return info;
}

}  // namespace

// The cache: the window, and with a border window also the extended frame and the shadow
// margins round it (the border window shows it as it is).
TBitmap& TacDialogWnd::SizedDialogCache(int w, int h) {
  if (!BorderForm) return SizedCache(*this);
  TsCommonData& d = *SkinData;
  if (!d.CacheBitmap) d.CacheBitmap = NewBitmap32(w, h);
  if (d.CacheBitmap->PixelFormat() != pf32bit) d.CacheBitmap->SetPixelFormat(pf32bit);
  d.CacheBitmap->SetSize(w, h);
  return *d.CacheBitmap;
}

void TacDialogWnd::PrepareCache() {
  ReadWindowPlacement();
  TsCommonData& d = *SkinData;
  const RECT m = ExtMargins();
  const int side = IsIconic(Wnd) ? 0 : 2 * ExtSideMargin();
  const int w = WindowSize.cx + (BorderForm ? side + m.left + m.right : 0);
  const int h = WindowSize.cy + (BorderForm ? ExtTopMargin() + ExtSideMargin() + m.top + m.bottom : 0);
  if (!d.CacheBitmap) d.CacheBitmap = BorderForm ? NewBitmap32(w, h) : NewBitmap24(w, h);
  if (!d.BackgroundChanged || w <= 0 || h <= 0) return;
  RegionChanged = true;
  TBitmap& cache = SizedDialogCache(w, h);
  TsSkinManager* manager = Manager();
  if (SectionIndexValid(manager, d.SectionIndex)) {
    const bool borderMode1 = BorderForm && manager->LoadedSkin.BorderMode == 1;
    const int headerBottom = FrameTopBorderWidth(Wnd, BorderFormInfo(), false) + CaptionHeight(true) + m.top;
    const RECT frame{m.left, m.top, w - m.right, IsIconic(Wnd) ? headerBottom + 1 - m.bottom : h - m.bottom};
    const CacheSourceInfo none{nullptr, 0, 0, 0xFF00FF, false};
    if (borderMode1) RenderControlBackground(d, none, Active ? 1 : 0, frame, {0, 0}, &cache);
    else RenderControlItem(d, none, true, Active ? 1 : 0, frame, {0, 0}, &cache, false);
    if (!borderMode1) PaintTitle(cache, w, headerBottom);
    if (BorderForm) PaintDialogShadow(cache, headerBottom);
    if (CaptionHeight(true) > 0) {
      ButtonsBg = std::make_unique<TBitmap>(cache.Width(), cache.Height(), cache.PixelFormat());
      BitBlt(ButtonsBg->Canvas().Handle(), 0, 0, w, h, cache.Canvas().Handle(), 0, 0, SRCCOPY);
      PaintTitleButtons(cache, w);
    }
  }
  d.BackgroundChanged = false;
}

void TacDialogWnd::PaintDialogShadow(TBitmap& cache, int headerBottom) {
  TsSkinManager* manager = Manager();
  ExtendedFrame frame;
  frame.Manager = manager;
  frame.Active = Active;
  frame.Shadow = ExtMargins();
  frame.SideWidth = BorderWidth();
  const int title = SectionIndexByName(manager, "FORMTITLE");
  if (SectionIndexValid(manager, title)) frame.TitleMask = MaskIndexByName(manager, title, "FORMTITLE", "BORDERSMASK");
  frame.BorderMask = SkinData->BorderMaskIndex;
  frame.CaptionBottom = headerBottom;
  frame.PaintCaption = [&] { PaintTitle(cache, cache.Width(), headerBottom); };
  PaintExtendedFrame(cache, frame);
}

void TacDialogWnd::PaintTitle(TBitmap& cache, int w, int headerBottom) {
  if (CaptionHeight(true) <= 0) return;
  TsSkinManager* manager = Manager();
  const RECT m = ExtMargins();
  const bool borderMode1 = BorderForm && manager->LoadedSkin.BorderMode == 1;
  const int title = SectionIndexByName(manager, "FORMTITLE");
  if (SectionIndexValid(manager, title) && !borderMode1)
    RenderSectionItem(title, "FORMTITLE", SelfSource(cache), true, Active ? 1 : 0,
                      {m.left, m.top, w - m.right, headerBottom}, {0, 0}, &cache, manager, -1, -1);
  const int border = BorderWidth(), left = border + manager->LoadedSkin.BILeft + m.left;
  const int iconSize = GetSystemMetrics(SM_CXSMICON);
  TCanvas& canvas = cache.Canvas();
  if (IconHandle) {
    const RECT icon = IconRect();
    DrawIconEx(canvas.Handle(), icon.left, icon.top, IconHandle, iconSize, GetSystemMetrics(SM_CYSMICON), 0, nullptr,
               DI_NORMAL);
  }
  UseCaptionFont(canvas);
  int buttons = 0;
  if (Style & WS_SYSMENU) {
    buttons = ButtonSize(manager, ButtonClose).cx;
    if (MaxVisible()) buttons += ButtonSize(manager, ButtonMax).cx;
    if (MinVisible()) buttons += ButtonSize(manager, ButtonMin).cx;
    if (HelpVisible()) buttons += ButtonSize(manager, ButtonHelp).cx;
  }
  RECT r{left + (IconHandle ? iconSize : 0) + 4, m.top + 2, w - buttons - 6 - m.right, headerBottom};
  if (borderMode1) OffsetRect(&r, 0, manager->LoadedSkin.CenterOffset);
  if (r.right <= r.left || r.bottom <= r.top) return;
  const RECT extent = MeasureTextOnDC(canvas.Handle(), WindowText.empty() ? "W" : WindowText, {0, 0, 0, 0},
                                      DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  const int th = extent.bottom - extent.top;
  r.top += (r.bottom - r.top - th) / 2;
  r.bottom = r.top + th;
  const UINT format = DT_END_ELLIPSIS | DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER;
  int textSection = title;
  if (SectionIndexValid(manager, CaptionIndex)) {
    RECT behind = MeasureTextOnDC(canvas.Handle(), WindowText, r, DT_CALCRECT | format);
    InflateRect(&behind, 4, 2);
    RenderSectionItem(CaptionIndex, "CAPTION", SelfSource(cache), true, Active ? 1 : 0, behind,
                      {behind.left, behind.top}, &cache, manager, -1, -1);
    textSection = CaptionIndex;
  }
  // A skin without a title section still shows the caption, in the dialog's own colours.
  if (!SectionIndexValid(manager, textSection)) textSection = SkinData->SectionIndex;
  WriteSectionText(canvas, WindowText, true, r, format, textSection, Active, manager);
}

void TacDialogWnd::PaintTitleButtons(TBitmap& cache, int w) {
  if (!(Style & WS_SYSMENU)) return;
  TsSkinManager* manager = Manager();
  const TsSkinData& skin = manager->LoadedSkin;
  const int global = SectionIndexByName(manager, "GLOBALINFO");
  const int closeBig = MaskIndexByName(manager, global, "GLOBALINFO", "BICONCLOSE");
  const int gap = FrameKind == 1 || FrameKind == 3 || ButtonClose.ImageIndex == closeBig ? skin.BISpace : 0;
  const RECT m = ExtMargins();
  const int down = m.top + (BorderForm && skin.BorderMode == 1 ? skin.CenterOffset : 0);
  int x = w - skin.BIRight - BorderWidth() - m.right;
  auto place = [&](TitleButtonData& button, int image, bool enabled) {
    const TsMaskData* mask = MaskOf(manager, image);
    const SIZE size = ButtonSize(manager, button);
    button.Rect.right = x;
    button.Rect.left = x - size.cx;
    const int top = button.BigIcon && skin.BIVAlign == 1
                        ? m.top
                        : (CaptionHeight(true) - size.cy + FrameTopBorderWidth(Wnd, BorderFormInfo(), true)) / 2 + down;
    button.Rect.top = top;
    button.Rect.bottom = top + size.cy;
    if (mask)
      // A fading button shows its change in its glow window; the frame keeps it normal.
      PaintMaskFrame(&cache, {button.Rect.left, top}, button.GlowTimer ? 0 : button.State, Active && enabled ? 1 : 2,
                     *mask, SelfSource(cache));
    x = button.Rect.left - gap;
  };
  auto normalImage = [&] { return GlobalOrSectionMask("BICONNORM"); };
  if (MaskOf(manager, ButtonClose.ImageIndex)) place(ButtonClose, ButtonClose.ImageIndex, CloseEnabled());
  if (MaxVisible()) {
    if (IsZoomed(Wnd)) place(ButtonMax, normalImage(), RestoreEnabled());
    else if (MaskOf(manager, ButtonMax.ImageIndex)) place(ButtonMax, ButtonMax.ImageIndex, MaxEnabled());
  }
  if (MinVisible()) {
    if (IsIconic(Wnd)) place(ButtonMin, normalImage(), RestoreEnabled());
    else place(ButtonMin, ButtonMin.ImageIndex, MinEnabled());
  }
  if (HelpVisible() && MaskOf(manager, ButtonHelp.ImageIndex)) place(ButtonHelp, ButtonHelp.ImageIndex, true);
}

int TacDialogWnd::GlobalOrSectionMask(const char* name) const {
  TsSkinManager* manager = Manager();
  const int own = MaskIndexByName(manager, SectionIndexByName(manager, "GLOBALINFO"), "GLOBALINFO", name);
  return own >= 0 ? own : MaskIndexByName(manager, SkinData->SectionIndex, SkinData->SkinSection(), name);
}

// The picture a button shows now: a maximized dialog's maximize button restores, a minimized
// dialog's minimize button restores and its maximize button shows the maximize picture.
int TacDialogWnd::ShownButtonImage(int code, const TitleButtonData& button) const {
  if (code == HTMAXBUTTON && IsZoomed(Wnd)) return GlobalOrSectionMask("BICONNORM");
  if (IsIconic(Wnd) && code == HTMINBUTTON) return GlobalOrSectionMask("BICONNORM");
  if (IsIconic(Wnd) && code == HTMAXBUTTON) return GlobalOrSectionMask("BICONMAX");
  return button.ImageIndex;
}

TitleGlowSource TacDialogWnd::GlowSource() {
  TitleGlowSource source;
  source.Wnd = Wnd;
  source.BorderWnd = BorderForm ? BorderForm->Window() : nullptr;
  source.SkinData = SkinData;
  // The saved copy is the whole caption before the buttons, in window coordinates.
  source.CopyBackground = [this](HDC dc, const RECT& r) {
    if (!ButtonsBg || ButtonsBg->Width() <= 0) return false;
    BitBlt(dc, 0, 0, r.right - r.left, r.bottom - r.top, ButtonsBg->Canvas().Handle(), r.left, r.top, SRCCOPY);
    return true;
  };
  return source;
}

void TacDialogWnd::StopButtonAnimations() {
  ::StopButtonAnimations({&ButtonMin, &ButtonMax, &ButtonClose, &ButtonHelp});
}

void TacDialogWnd::RepaintTitleButton(int code) {
  TitleButtonData* button = ButtonOfCode(code);
  if (!button) return;
  TsSkinManager* glowing = Manager();
  if (glowing && glowing->AllowGlowing()) {
    if (button->State == 1) StartButtonAnimation(*button, 1, 10, GlowSource(), true);
    else if (button->State == 2) StartButtonAnimation(*button, 2, 1, GlowSource(), true);
    else if (button->State == 0 && button->GlowTimer) StartButtonAnimation(*button, 0, 10, GlowSource(), false);
    return;
  }
  if (button->State != -1) {
    PaintGuarded([&] {
      TsSkinManager* manager = Manager();
      TsCommonData& d = *SkinData;
      if (d.BackgroundChanged) PrepareCache();
      if (!d.CacheBitmap || !ButtonsBg) return;
      TBitmap& cache = *d.CacheBitmap;
      const RECT& r = button->Rect;
      if (BorderWidth() + GetSystemMetrics(SM_CXSMICON) < r.left) {
        // The caption as it was before the buttons, so that no trace of the old look stays.
        BitBlt(cache.Canvas().Handle(), r.left, r.top, r.right - r.left, r.bottom - r.top, ButtonsBg->Canvas().Handle(),
               ButtonsBg->Width() + r.left - cache.Width(), r.top, SRCCOPY);
        const bool iconicMax = code == HTMAXBUTTON && IsIconic(Wnd);
        const bool enabled = code == HTCLOSE     ? CloseEnabled()
                             : iconicMax         ? MaxEnabled()
                             : code == HTMAXBUTTON ? MaxEnabled() || RestoreEnabled()
                             : code == HTMINBUTTON ? MinEnabled() || RestoreEnabled()
                                                   : true;
        if (const TsMaskData* mask = MaskOf(manager, ShownButtonImage(code, *button))) {
          const int mode = (!Active || !enabled) && (button->State <= 0 || !enabled) ? 2 : 1;
          PaintMaskFrame(&cache, {r.left, r.top}, button->State, mode, *mask, SelfSource(cache));
        }
      }
      if (BorderForm) return BorderForm->UpdateBorderForm(true, 255);
      HDC dc = GetWindowDC(Wnd);
      BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, cache.Canvas().Handle(), r.left, r.top, SRCCOPY);
      ReleaseDC(Wnd, dc);
    });
  }
  if ((button->State != 1 || code == HTHELP) && button->GlowIndex >= 0) {
    ReleaseGlow(button->GlowIndex);
    button->GlowIndex = -1;
  }
}

void TacDialogWnd::CollectRegionCorners() {
  RegionCorners.clear();
  TsSkinManager* manager = Manager();
  if (const TsMaskData* border = MaskOf(manager, SkinData->BorderMaskIndex)) {
    CollectTransparentCornerRects(RegionCorners, WindowSize.cx, *border, 0, false);
    CollectTransparentCornerRects(RegionCorners, WindowSize.cx, *border, WindowSize.cy - border->WB, true);
  }
  const int title = SectionIndexByName(manager, "FORMTITLE");
  if (SectionIndexValid(manager, title))
    if (const TsMaskData* mask = MaskOf(manager, MaskIndexByName(manager, title, "FORMTITLE", "BORDERSMASK")))
      CollectTransparentCornerRects(RegionCorners, WindowSize.cx, *mask, 0, false);
}

HRGN TacDialogWnd::MakeRegion(int x, int y) const {
  HRGN region = CreateRectRgn(x, y, x + WindowSize.cx, y + WindowSize.cy);
  for (const RECT& r : RegionCorners) {
    efir::gdi::Object<HRGN> corner(CreateRectRgn(r.left + x, r.top + y, r.right + x, r.bottom + y));
    CombineRgn(region, region, corner.get(), RGN_DIFF);
  }
  return region;
}

void TacDialogWnd::UpdateRegion(bool redraw) {
  if (!IsIconic(Wnd) && FrameKind == 2) return;
  if (static_cast<WPARAM>(SendMessageW(Wnd, WM_ACREFUSEREGION, kRefuseRegion, 0)) == kRefuseRegion) return;
  DialogRegionUpdating = true;
  HRGN region = nullptr;
  if (BorderForm) {
    // The border window shows the frame: the window keeps only its client area.
    const int b = FrameBorderWidth(Wnd, nullptr, false);
    region = CreateRectRgn(b, CaptionHeight(false) + b, WindowSize.cx - b, WindowSize.cy - b);
  } else {
    region = MakeRegion(0, 0);
  }
  // The window owns the region from here on.
  SetWindowRgn(Wnd, region, redraw);
  DialogRegionUpdating = false;
}

void TacDialogWnd::PaintNonClient() {
  AdaptChildren();
  if (!DialogRegionUpdating && RegionChanged && (FrameKind != 2 || (Style & WS_THICKFRAME))) {
    PrepareCache();
    CollectRegionCorners();
    RegionChanged = false;
    UpdateRegion(true);
  }
  HDC dc = GetWindowDC(Wnd);
  {
    efir::gdi::SavedState saved(dc);
    PaintGuarded([&] { PaintFrameToDC(dc); });
  }
  ReleaseDC(Wnd, dc);
  SkinData->Updating = false;
  DialogRegionUpdating = false;
}

void TacDialogWnd::PaintFrameToDC(HDC dc) {
  if (BorderForm) return;
  TsCommonData& d = *SkinData;
  if (d.BackgroundChanged) {
    PrepareCache();
    d.Updating = false;
  }
  if (!d.CacheBitmap) return;
  HDC cache = d.CacheBitmap->Canvas().Handle();
  const int w = WindowSize.cx, h = WindowSize.cy;
  const int b = BorderWidth(), bb = FrameTopBorderWidth(Wnd, nullptr, true);
  const int y = bb + CaptionHeight() + (IsIconic(Wnd) ? 1 : 0);
  const int header = HeaderHeight();
  BitBlt(dc, 0, 0, w, header, cache, 0, 0, SRCCOPY);
  BitBlt(dc, 0, y, b, h - y, cache, 0, y, SRCCOPY);
  BitBlt(dc, b, h - bb, w - b, bb, cache, b, h - bb, SRCCOPY);
  BitBlt(dc, w - b, y, b, h - y, cache, d.CacheBitmap->Width() - b, y, SRCCOPY);
}

void TacDialogWnd::EraseBackground(HDC given) {
  HDC dc = given ? given : GetDC(Wnd);
  {
    efir::gdi::SavedState saved(dc);
    SkinData->Updating = false;
    // Children paint themselves: leave them out, except group boxes, whose inside is ours.
    for (HWND child = GetTopWindow(Wnd); child; child = GetWindow(child, GW_HWNDNEXT)) {
      const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
      if (!(style & WS_VISIBLE)) continue;
      const std::string name = WindowClassLower(child);
      if (name == "static" && (style & WS_TABSTOP)) continue;
      if (name == "button" && (style & BS_TYPEMASK) == BS_GROUPBOX) continue;
      RECT r;
      GetWindowRect(child, &r);
      MapWindowPoints(nullptr, Wnd, reinterpret_cast<POINT*>(&r), 2);
      ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
    }
    PaintGuarded([&] { PaintClient(dc); });
  }
  if (!given) ReleaseDC(Wnd, dc);
}

void TacDialogWnd::PaintClient(HDC dc) {
  if (SkinData->BackgroundChanged) PrepareCache();
  if (!SkinData->CacheBitmap) return;
  BitBlt(dc, 0, 0, WindowSize.cx, WindowSize.cy, SkinData->CacheBitmap->Canvas().Handle(), ClientOffsetX(),
         ClientOffsetY(), SRCCOPY);
  NotifyChildWindowsParentUpdated(Wnd);
}

void TacDialogWnd::RefreshFrame() {
  SkinData->BackgroundChanged = true;
  RedrawWindow(Wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_ERASE);
}
