#include "skin/forms/button_adapters.h"

#include "framework/bitmap.h"
#include "framework/controls.h"
#include "framework/stdctrls.h"
#include "skin/engine/background_answers.h"
#include "skin/engine/background_queries.h"
#include "skin/engine/bit_btn_layout.h"
#include "skin/engine/common_data.h"
#include "skin/engine/fills.h"
#include "skin/engine/glow.h"
#include "skin/engine/item_paint.h"
#include "skin/engine/png_graphic.h"
#include "skin/engine/skin_broadcast.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_painters.h"
#include "skin/engine/textures.h"
#include "skin/forms/adapter_paint.h"
#include "skin/forms/skin_provider.h"
#include "skin/forms/window_relays.h"

DWORD CurrentButtonStyle = 0;

namespace {

DWORD StyleOf(HWND wnd) { return static_cast<DWORD>(GetWindowLongPtrW(wnd, GWL_STYLE)); }

bool CursorInWindow(HWND wnd) {
  POINT p;
  RECT r;
  return GetCursorPos(&p) && GetWindowRect(wnd, &r) && PtInRect(&r, p);
}

void Repaint(TacMainWnd& adapter) {
  adapter.SkinData->BackgroundChanged = true;
  SendMessageW(adapter.Wnd, WM_PAINT, 0, 0);
}

// The parent's background under the window.
CacheSourceInfo Behind(HWND wnd) {
  CacheSourceInfo behind;
  WindowParentCacheInfo(wnd, behind);
  return behind;
}

HWND HotWindowOfDefault() {
  TsSkinManager* manager = TsSkinManager::DefaultManager();
  return manager ? manager->HotWindow : nullptr;
}

// The mouse-over window follows the cursor over an enabled window.
void TrackHotWindow(HWND wnd) {
  TsSkinManager* manager = TsSkinManager::DefaultManager();
  if (!manager || !IsWindowEnabled(wnd)) return;
  const bool inside = CursorInWindow(wnd);
  if (inside && manager->HotWindow != wnd) SetHotWindow(*manager, wnd);
  else if (!inside && manager->HotWindow == wnd) SetHotWindow(*manager, nullptr);
}

}  // namespace

LRESULT ForwardWithoutRedraw(TacMainWnd& adapter, TMessage& message) {
  SendMessageW(adapter.Wnd, WM_SETREDRAW, 0, 0);
  adapter.ForwardToReplacedWndProc(message);
  SendMessageW(adapter.Wnd, WM_SETREDRAW, 1, 0);
  return message.Result;
}

// ---- push buttons

int TacBtnWnd::ButtonState() {
  const LRESULT state = SendMessageW(Wnd, BM_GETSTATE, 0, 0);
  if (state & BST_PUSHED) {
    ReleaseAllGlows();
    return 2;
  }
  if (!IsWindowEnabled(Wnd)) return 0;
  if (GetFocus() == Wnd || HotWindowOfDefault() == Wnd) return 1;
  return (StyleOf(Wnd) & BS_TYPEMASK) == BS_DEFPUSHBUTTON ? 1 : 0;
}

void TacBtnWnd::PaintButton(TBitmap& cache) {
  TsCommonData& d = *SkinData;
  const int w = WindowSize.cx, h = WindowSize.cy;
  const CacheSourceInfo behind = Behind(Wnd);
  const int state = ButtonState();
  RenderControlItem(d, behind, true, state, {0, 0, w, h}, WindowPos, &cache, true);
  RestoreAdapterCorners(d, state, *this);

  PaintCaption(cache);
  PaintGlyph(cache);
  if (!IsWindowEnabled(Wnd)) ApplyDisabledWindowLook(cache, behind, WindowPos);
  d.BackgroundChanged = false;
}

namespace {

UINT WrapFlag(HWND wnd) { return (StyleOf(wnd) & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE; }

}  // namespace

bool TacBtnWnd::Pressed() { return SendMessageW(Wnd, BM_GETSTATE, 0, 0) & BST_PUSHED; }

int TacBtnWnd::CaptionWidthLimit() {
  if (WindowText.empty()) return 0;
  const SIZE glyph = GlyphExtent();
  return std::max<int>(0, WindowSize.cx - 2 - (glyph.cx ? glyph.cx + 2 : 0));
}

SIZE TacBtnWnd::CaptionExtent(TBitmap& cache) {
  const RECT r = MeasureTextOnDC(cache.Canvas().Handle(), WindowText, {0, 0, CaptionWidthLimit(), 0},
                                 DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | DT_CENTER | WrapFlag(Wnd));
  return {r.right - r.left, r.bottom - r.top};
}

RECT TacBtnWnd::CaptionBounds(TBitmap& cache) {
  const SIZE size = CaptionExtent(cache);
  const int w = WindowSize.cx, h = WindowSize.cy;
  const int dx = (w - size.cx) / 2, dy = (h - size.cy) / 2;
  RECT r{dx - 1, dy, w - dx + 2, h - dy};
  if (Pressed()) OffsetRect(&r, 1, 1);
  return r;
}

void TacBtnWnd::PaintCaption(TBitmap& cache) {
  TsCommonData& d = *SkinData;
  TCanvas& canvas = cache.Canvas();
  AssignWindowFont(canvas.Font(), Wnd);
  RECT r = CaptionBounds(cache);
  WriteSkinText(canvas, WindowText, true, r, DT_CENTER | DT_EXPANDTABS | WrapFlag(Wnd), d, ButtonState() != 0);
  const TsGeneralData* section = d.Section();
  if (IsWindowEnabled(Wnd) && (SendMessageW(Wnd, BM_GETSTATE, 0, 0) & BST_FOCUS) && !WindowText.empty() &&
      section && section->ShowFocus) {
    InflateRect(&r, 1, 1);
    DrawDottedFocusRect(canvas, r);
  }
}

void TacBtnWnd::AdapterWndProc(TMessage& message) {
  if (!SkinActive()) return TacMainWnd::AdapterWndProc(message);
  TsCommonData& d = *SkinData;
  switch (message.Msg) {
    case SM_ALPHACMD:
      switch (SkinSubCommand(message.WParam)) {
        case SKC_PARENTUPDATED:
          if (!d.Updating) break;
          d.Updating = d.IsUpdating();
          if (!d.Updating) RedrawWindow(Wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
          return;
        case SKC_MOUSEENTER:
          if (d.MouseOver || HotWindowOfDefault() != Wnd) break;
          if (!CursorInWindow(Wnd)) return;
          d.MouseOver = true;
          d.SetUpdating(false);
          Repaint(*this);
          d.UpdateGlow(false, Wnd);
          break;
        case SKC_MOUSELEAVE:
          if (!d.MouseOver) break;
          ReleaseAllGlows();
          d.MouseOver = false;
          d.SetUpdating(false);
          Repaint(*this);
          break;
      }
      break;
    case WM_MOVE:
      if (const TsGeneralData* s = d.Section(); s && (s->Transparency > 0 || (s->HotTransparency > 0 && d.HotState())))
        Repaint(*this);
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (!IsWindowEnabled(Wnd)) {
        if (message.Msg == WM_SETFOCUS) return;
        break;
      }
      ForwardWithoutRedraw(*this, message);
      d.HasFocus = message.Msg == WM_SETFOCUS;
      Repaint(*this);
      return;
    case WM_ENABLE:
    case WM_SETTEXT:
    case BM_SETSTATE:
    case BM_SETSTYLE:
      if (!IsWindowVisible(Wnd)) break;
      ForwardWithoutRedraw(*this, message);
      if (message.Msg == WM_SETTEXT) ReadWindowText();
      Repaint(*this);
      return;
    case WM_PAINT:
    case WM_PRINT:
      if (!LookApplied) ApplySkinLook();
      PaintThroughCache(*this, message, [this](TBitmap& cache) { PaintButton(cache); });
      return;
    case WM_ERASEBKGND:
    case WM_NCPAINT:
    case WM_UPDATEUISTATE:
      message.Result = 1;
      return;
  }
  TacMainWnd::AdapterWndProc(message);
  if (message.Msg == WM_MOUSEMOVE) TrackHotWindow(Wnd);
}

// ---- glyph buttons

TBitBtn* TacBitBtnWnd::Owner() const { return dynamic_cast<TBitBtn*>(SkinData->OwnerControl); }

SIZE TacBitBtnWnd::GlyphExtent() {
  if (TBitBtn* owner = Owner()) {
    if (!owner->Glyph().Graphic()) return {0, 0};
    return {owner->Glyph().Width() / std::max(1, owner->NumGlyphs()), owner->Glyph().Height()};
  }
  auto bitmap = reinterpret_cast<HBITMAP>(SendMessageW(Wnd, BM_GETIMAGE, IMAGE_BITMAP, 0));
  BITMAP info{};
  // The bitmap's own size: its "dimension" is only what someone chose to store, usually 0.
  if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return {0, 0};
  return {info.bmWidth, info.bmHeight};
}

int TacBitBtnWnd::CaptionWidthLimit() {
  TBitBtn* owner = Owner();
  if (!owner) return TacBtnWnd::CaptionWidthLimit();
  if (WindowText.empty()) return 0;
  // A negative margin centres the block: it takes no room at the edges.
  int limit = static_cast<int>(WindowSize.cx) - 2 * std::max(0, owner->Margin());
  const SIZE glyph = GlyphExtent();
  if ((owner->Layout() == blGlyphLeft || owner->Layout() == blGlyphRight) && glyph.cy != 0)
    limit -= glyph.cx + owner->Spacing();
  return std::max(0, limit);
}

RECT TacBitBtnWnd::CaptionBounds(TBitmap& cache) {
  TBitBtn* owner = Owner();
  const SIZE glyph = GlyphExtent();
  RECT r;
  if (owner) {
    const SIZE text = CaptionExtent(cache);
    POINT glyphPos;
    CalcGlyphTextLayout({0, 0, WindowSize.cx, WindowSize.cy}, {glyph.cx, glyph.cy}, {text.cx, text.cy},
                        owner->Layout(), 2, -1, owner->Spacing(), glyphPos, r, 0);
    if (Pressed()) OffsetRect(&r, 1, 1);
  } else {
    r = TacBtnWnd::CaptionBounds(cache);
    if (glyph.cx) OffsetRect(&r, glyph.cx / 2 + 1, 0);
  }
  return r;
}

RECT TacBitBtnWnd::GlyphBounds(SIZE glyph, SIZE caption, const RECT& captionRect) {
  if (TBitBtn* owner = Owner()) {
    const BitBtnMeasures m{WindowSize.cx, WindowSize.cy, static_cast<int>(glyph.cx), static_cast<int>(glyph.cy),
                           static_cast<int>(caption.cx), static_cast<int>(caption.cy), owner->Layout(), taCenter,
                           -1, owner->Spacing(), glyph.cx != 0 && caption.cx != 0};
    return BitBtnGlyphRect(m, Pressed() ? 2 : 0, false);
  }
  if (!glyph.cx) return {};
  const int top = (WindowSize.cy - glyph.cy) / 2 + (Pressed() ? 1 : 0);
  return {captionRect.left - 2 - glyph.cx, top, captionRect.left - 2, top + glyph.cy};
}

void TacBitBtnWnd::PaintGlyph(TBitmap& cache) {
  TBitBtn* owner = Owner();
  auto* glyph = owner ? dynamic_cast<TBitmap*>(owner->Glyph().Graphic()) : nullptr;
  if (!glyph) return;
  if (glyph->PixelFormat() == pfDevice) glyph->SetPixelFormat(pf24bit);
  const RECT at = GlyphBounds(GlyphExtent(), WindowText.empty() ? SIZE{} : CaptionExtent(cache), CaptionBounds(cache));
  if (owner->NumGlyphs() == 1 && glyph->PixelFormat() == pf32bit) {
    TPNGGraphic png;  // keeps the glyph's alpha
    png.Assign(*glyph);
    cache.Canvas().Draw(at.left, at.top, png);
    return;
  }
  DrawGlyphEffects(glyph, &cache, at, owner->NumGlyphs(), IsWindowEnabled(Wnd), 0, ButtonState(), 0, Pressed() ? 1 : 0);
}

// ---- check boxes and radio buttons

namespace {

bool IsRadio(DWORD style) {
  const DWORD type = style & BS_TYPEMASK;
  return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

int GlyphMask(TsSkinManager* manager, HWND wnd, DWORD style) {
  const LRESULT check = SendMessageW(wnd, BM_GETCHECK, 0, 0);
  const char* name = check == BST_INDETERMINATE ? "BOXGRAYED"
                     : IsRadio(style)           ? (check == BST_CHECKED ? "RADIOCHECKED" : "RADIOUNCHECKED")
                                                : (check == BST_CHECKED ? "BOXCHECKED" : "BOXUNCHECKED");
  const int global = SectionIndexByName(manager, "GLOBALINFO");
  return MaskIndexByName(manager, global, "GLOBALINFO", name);
}

}  // namespace

void TacCheckBoxWnd::PaintCheckBox(TBitmap& cache) {
  TsCommonData& d = *SkinData;
  TsSkinManager* manager = Manager();
  const int w = WindowSize.cx, h = WindowSize.cy;
  const DWORD style = CurrentButtonStyle = StyleOf(Wnd);
  const CacheSourceInfo behind = Behind(Wnd);
  RenderControlItem(d, behind, true, d.HotState() ? 1 : 0, {0, 0, w, h}, WindowPos, &cache, true);

  const int mask = GlyphMask(manager, Wnd, style);
  SIZE glyph{16, 16};
  if (MaskIndexValid(manager, mask)) {
    const TsMaskData& m = manager->Masks[static_cast<size_t>(mask)];
    glyph = {MaskStateWidth(m), MaskStateHeight(m)};
  }
  const bool leftText = style & BS_LEFTTEXT;
  const int top = (h - glyph.cy) / 2;
  const RECT glyphRect = leftText ? RECT{w - glyph.cx, top, w, top + glyph.cy} : RECT{0, top, glyph.cx, top + glyph.cy};
  const LRESULT buttonState = SendMessageW(Wnd, BM_GETSTATE, 0, 0);

  TCanvas& canvas = cache.Canvas();
  if (!WindowText.empty()) {
    AssignWindowFont(canvas.Font(), Wnd);
    const int available = w - (glyph.cx + 2);
    const bool multiline = style & BS_MULTILINE;
    RECT text = MeasureTextOnDC(canvas.Handle(), WindowText, {0, 0, available, 0},
                                DT_CALCRECT | (multiline ? DT_WORDBREAK : DT_SINGLELINE));
    const int tw = text.right - text.left, th = text.bottom - text.top;
    const int textTop = std::max((h - th) / 2, 0);
    RECT r;
    if (leftText) {
      r = {2, textTop, tw + 2, h - textTop};
    } else {
      const int x = w - available + 2;
      r = {x, textTop, x + tw, h - textTop};
      OffsetRect(&r, multiline ? -1 : 0, -1);
    }
    WriteSkinText(canvas, WindowText, true, r, multiline ? DT_WORDBREAK | DT_CENTER : DT_SINGLELINE, d, d.HotState());
    if (buttonState & BST_FOCUS) {
      InflateRect(&r, 1, 0);
      DrawDottedFocusRect(canvas, r);
    }
  }
  if (MaskIndexValid(manager, mask) && cache.Width() >= 1) {
    const int glyphState = (buttonState & BST_PUSHED) ? 2 : (buttonState & BST_FOCUS) || HotWindowOfDefault() == Wnd ? 1 : 0;
    CacheSourceInfo self;
    MakeCacheSourceInfo(&cache, 0, 0, self);
    PaintMaskFrame(&cache, {glyphRect.left, glyphRect.top}, glyphState, 1, manager->Masks[static_cast<size_t>(mask)], self);
  }
  if (!IsWindowEnabled(Wnd)) ApplyDisabledWindowLook(cache, behind, WindowPos);
  d.BackgroundChanged = false;
}

void TacCheckBoxWnd::AdapterWndProc(TMessage& message) {
  if (!SkinActive()) return TacMainWnd::AdapterWndProc(message);
  auto paint = [this] { SendMessageW(Wnd, WM_PAINT, 0, 0); };
  switch (message.Msg) {
    case SM_ALPHACMD:
      if (SkinSubCommand(message.WParam) == SKC_MOUSEENTER || SkinSubCommand(message.WParam) == SKC_MOUSELEAVE) {
        SkinData->MouseOver = SkinSubCommand(message.WParam) == SKC_MOUSEENTER;
        SkinData->SetUpdating(false);
        paint();
      }
      break;
    case WM_NCPAINT:
    case WM_ERASEBKGND:
      return;
    case WM_ENABLE:
    case BM_SETCHECK:
    case BM_SETSTATE:
    case WM_SETTEXT:
      if (!IsWindowVisible(Wnd)) break;
      ForwardWithoutRedraw(*this, message);
      if (message.Msg == WM_SETTEXT) ReadWindowText();
      paint();
      return;
    case WM_PAINT:
    case WM_PRINT:
      SendSkinCommandToWindow(GetParent(Wnd), SKC_CHILDPAINTING, 0);
      if (IsWindowVisible(Wnd) || message.WParam)
        PaintThroughCache(*this, message, [this](TBitmap& cache) { PaintCheckBox(cache); });
      else
        ValidateRect(Wnd, nullptr);
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      ForwardWithoutRedraw(*this, message);
      paint();
      return;
  }
  TacMainWnd::AdapterWndProc(message);
  if (message.Msg == WM_NCHITTEST) TrackHotWindow(Wnd);
  if (message.Msg == WM_KEYDOWN && message.WParam == VK_SPACE) paint();
}

// ---- group boxes

RECT TacGroupBoxWnd::CaptionRect() {
  TBitmap& cache = SizedCache(*this);
  AssignWindowFont(cache.Canvas().Font(), Wnd);
  const RECT text = MeasureTextOnDC(cache.Canvas().Handle(), WindowText, {0, 0, 0, 0}, DT_CALCRECT | DT_CENTER);
  const int w = text.right - text.left, h = text.bottom - text.top;
  return {6, 0, std::min<LONG>(w + 14, WindowSize.cx - 1), std::max(4, h) + 2};
}

void TacGroupBoxWnd::PaintGroupBox(TBitmap& cache) {
  TsCommonData& d = *SkinData;
  const int w = WindowSize.cx, h = WindowSize.cy;
  const RECT caption = CaptionRect();
  const int band = caption.bottom - caption.top;
  const CacheSourceInfo behind = Behind(Wnd);
  HDC dc = cache.Canvas().Handle();
  if (behind.Ready && behind.Bitmap)
    BitBlt(dc, 0, 0, w, band, behind.Bitmap->Canvas().Handle(), WindowPos.x + behind.X, WindowPos.y + behind.Y, SRCCOPY);
  else
    FillRectSolid(dc, {0, 0, w, band}, behind.FillColor);
  RenderControlItem(d, behind, true, 0, {0, band / 2, w, h}, {WindowPos.x, WindowPos.y}, &cache, true);
  if (!WindowText.empty()) {
    const RECT under{caption.left, caption.top, caption.right, caption.bottom};
    if (behind.Ready && behind.Bitmap)
      BitBlt(dc, under.left, under.top, under.right - under.left, band, behind.Bitmap->Canvas().Handle(),
             WindowPos.x + behind.X + under.left, WindowPos.y + behind.Y + under.top, SRCCOPY);
    else
      FillRectSolid(dc, under, behind.FillColor);
    WriteSkinText(cache.Canvas(), WindowText, IsWindowEnabled(Wnd), caption, DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                  d, false);
  }
  d.BackgroundChanged = false;
}

void TacGroupBoxWnd::EraseFromCache(const TMessage& message) {
  ReadWindowPlacement();
  TBitmap& cache = SizedCache(*this);
  if (SkinData->BackgroundChanged) PaintGroupBox(cache);
  if (SkinData->BackgroundChanged) return;
  auto dc = reinterpret_cast<HDC>(message.WParam);
  const RECT whole{0, 0, WindowSize.cx, WindowSize.cy};
  if (SkinData->CacheReusable()) BitBlt(dc, 0, 0, whole.right, whole.bottom, cache.Canvas().Handle(), 0, 0, SRCCOPY);
  else FillRectSolid(dc, whole, WindowBackgroundColor(Wnd));
}

void TacGroupBoxWnd::PaintBox(const TMessage& message) {
  ReadWindowPlacement();
  PAINTSTRUCT ps;
  const bool painting = message.Msg == WM_PAINT;
  if (painting) BeginPaint(Wnd, &ps);
  TsCommonData& d = *SkinData;
  d.Updating = d.IsUpdating();
  if (!d.Updating) {
    const bool given = message.WParam && message.LParam == 1;
    HDC dc = given ? reinterpret_cast<HDC>(message.WParam) : GetWindowDC(Wnd);
    TBitmap& cache = SizedCache(*this);
    PaintGroupBox(cache);
    efir::gdi::SavedState saved(dc);
    if (DialogMode) {
      // A standard dialog paints the inside itself, round its own controls.
      const RECT caption = CaptionRect();
      TsSkinManager* manager = Manager();
      const int border = d.BorderMaskIndex;
      ExcludeClipRect(dc, MaskBorderLeft(manager, border), caption.bottom - caption.top,
                      WindowSize.cx - MaskBorderRight(manager, border), WindowSize.cy - MaskBorderBottom(manager, border));
    }
    CopyCacheExceptWindows(Wnd, d, {}, 0, 0, dc, {0, 0, WindowSize.cx, WindowSize.cy});
    if (auto* owner = dynamic_cast<TWinControl*>(d.OwnerControl)) PaintGraphicControls(dc, owner, {0, 0});
    if (!given) ReleaseDC(Wnd, dc);
  }
  if (painting) EndPaint(Wnd, &ps);
  if (!d.Updating) NotifyChildWindowsParentUpdated(Wnd);
}

void TacGroupBoxWnd::AdapterWndProc(TMessage& message) {
  // Without the skin the framework paints the box again, its background included (the
  // manager may already be marked inactive when the removal arrives).
  if (message.Msg == SM_ALPHACMD && SkinSubCommand(message.WParam) == SKC_REMOVESKIN && SkinData->OwnerControl)
    SkinData->OwnerControl->SetControlStyle(SkinData->OwnerControl->ControlStyle() & ~csOpaque);
  if (!SkinActive()) return TacMainWnd::AdapterWndProc(message);
  switch (message.Msg) {
    case SM_ALPHACMD:
      if (SkinSubCommand(message.WParam) == SKC_GETCAPTIONHEIGHT) {
        const RECT r = CaptionRect();
        message.Result = r.bottom - r.top;
        return;
      }
      break;
    case WM_PARENTNOTIFY:
      TacMainWnd::AdapterWndProc(message);
      // A control created inside the box later is adapted by the form's control adapter.
      if (LOWORD(message.WParam) == WM_CREATE) NotifyParentFormOfChange(SkinData->OwnerControl);
      return;
    case WM_SETTEXT:
      ForwardToReplacedWndProc(message);
      ReadWindowText();
      SkinData->BackgroundChanged = true;
      RedrawWindow(Wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
      return;
    case WM_ERASEBKGND:
      message.Result = 1;
      // The framework's own erase (the DC in both parameters) gets the picture at once.
      if (!DialogMode && message.WParam == static_cast<WPARAM>(message.LParam)) PaintGuarded([&] { EraseFromCache(message); });
      return;
    case WM_NCPAINT:
      if (DialogMode) {
        message.Result = 1;
        return;
      }
      break;
    case WM_PAINT:
    case WM_PRINT:
      if (message.Msg == WM_PRINT) {
        SkinData->BackgroundChanged = true;
        message.LParam = 1;
      }
      PaintGuarded([&] { PaintBox(message); });
      message.Result = 0;
      return;
  }
  TacMainWnd::AdapterWndProc(message);
}
