#include "skin/forms/mdi_client.h"

#include "framework/bitmap.h"
#include "framework/canvas.h"
#include "framework/forms.h"
#include "framework/gdi.h"
#include "skin/engine/common_data.h"
#include "skin/engine/engine_routines.h"
#include "skin/engine/fills.h"
#include "skin/engine/skin_broadcast.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/forms/skin_hook.h"
#include "skin/forms/skin_provider.h"
#include "skin/forms/system_menu.h"

TsSkinProvider* MDISkinProvider = nullptr;

namespace {

constexpr int kClientEdge = 2;
constexpr UINT kRecalcScrollBars = 0x3F;  // the MDI client works its scroll bars out again

bool HasClientEdge(HWND wnd) { return (GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0; }

}  // namespace

// ---------------------------------------------------------------------------- TacMDIWnd

TacMDIWnd::~TacMDIWnd() {
  FormSkinData = nullptr;
  Provider = nullptr;
}

bool TacMDIWnd::FormSkinned() const { return FormSkinData && SkinActiveFor(FormSkinData, false); }

bool TacMDIWnd::MaximizedChild() const {
  TForm* child = Form ? Form->ActiveMDIChild() : nullptr;
  return child && child->HandleAllocated() && IsZoomed(child->Handle());
}

// The form's image holds the client's look: its cache is its own or the skin paints the area.
bool TacMDIWnd::ImageShared() const {
  return FormSkinData->CacheReusable() || SectionIndexValid(Manager(), SectionIndexByName(Manager(), "MDIAREA"));
}

RECT TacMDIWnd::ClientRectInImage() const {
  RECT r{}, form{};
  GetWindowRect(Wnd, &r);
  if (Form && Form->HandleAllocated()) GetWindowRect(Form->Handle(), &form);
  OffsetRect(&r, -form.left, -form.top);
  // With a border window the image holds the shadow and the extended frame round the form.
  if (Provider && Provider->BorderForm) {
    const RECT shadow = Provider->ExtShadowMargins();
    OffsetRect(&r, shadow.left + Provider->ExtSideMargin(), shadow.top + Provider->ExtTopMargin());
  }
  return r;
}

void TacMDIWnd::PaintMDIArea(HDC dc, bool printing) {
  if (!Provider || !FormSkinData || Provider->ShowAnimating) return;
  const RECT source = ClientRectInImage();
  RECT client;
  GetClientRect(Wnd, &client);
  if (!ImageShared()) {
    FillRectSolid(dc, client, Provider->FormBackgroundColor());
    return;
  }
  if (!FormSkinData->CacheBitmap || FormSkinData->BackgroundChanged) Provider->BuildFormFrameImage();
  TBitmap* image = FormSkinData->CacheBitmap.get();
  if (!image) return;
  const int d = !printing && HasClientEdge(Wnd) ? kClientEdge : 0;
  BitBlt(dc, 0, 0, source.right - source.left, source.bottom - source.top, image->Canvas().Handle(),
         source.left + d, source.top + d, SRCCOPY);
}

void TacMDIWnd::PaintClientBorder(HDC dc) {
  TBitmap* image = FormSkinData ? FormSkinData->CacheBitmap.get() : nullptr;
  if (!image || !Provider) return;
  const RECT s = ClientRectInImage();
  const int w = s.right - s.left, h = s.bottom - s.top;
  if (ImageShared()) {
    CopyBorderFrame(dc, 0, 0, w, h, image->Canvas().Handle(), s.left, s.top, kClientEdge);
    return;
  }
  const int b = HasClientEdge(Wnd) ? kClientEdge : 0;
  FillBorderBand(dc, {0, 0, w, h}, b, b, b, b, Provider->FormBackgroundColor());
}

CacheSourceInfo TacMDIWnd::BarBackground() const {
  TBitmap* image = FormSkinData ? FormSkinData->CacheBitmap.get() : nullptr;
  if (!FormSkinned() || !Provider || !image || !ImageShared()) return TacBaseWnd::BarBackground();
  const RECT place = ClientRectInImage();
  CacheSourceInfo source;
  MakeCacheSourceInfo(image, place.left, place.top, source);
  return source;
}

void TacMDIWnd::AdapterWndProc(TMessage& message) {
  if (message.Msg == SM_ALPHACMD && SkinSubCommand(message.WParam) == SKC_CHILDPAINTING) {
    if (Form) message.Result = SendSkinCommandToControl(Form, SKC_CHILDPAINTING, 0);
    return;
  }
  const bool skinned = FormSkinned();
  switch (message.Msg) {
    case WM_PAINT:
      if (SkinChangeAnimating) return;
      break;
    case WM_ERASEBKGND:
      if (!skinned || !message.WParam) break;
      if (SkinChangeAnimating) return;
      // A maximized child covers the whole client.
      if (!MaximizedChild()) {
        HDC dc = reinterpret_cast<HDC>(message.WParam);
        efir::gdi::SavedState saved(dc);
        PaintMDIArea(dc, false);
      }
      message.Result = 1;
      return;
    case WM_NCPAINT:
      if (!skinned) break;
      if (!MaximizedChild() && !SkinChangeAnimating) {
        HDC dc = GetWindowDC(Wnd);
        PaintClientBorder(dc);
        PaintScrollBars(dc, -1);
        ReleaseDC(Wnd, dc);
      }
      message.Result = 1;
      return;
    case WM_PRINT:
      if (!skinned || !message.WParam) break;
      message.Result = 0;
      if (!MaximizedChild()) {
        HDC dc = reinterpret_cast<HDC>(message.WParam);
        efir::gdi::SavedState saved(dc);
        PaintMDIArea(dc, true);
        PaintScrollBars(dc, -1);
      }
      return;
    case WM_STYLECHANGED:
      ForwardToReplacedWndProc(message);
      return;
    case WM_MDITILE:
    case WM_MDICASCADE:
      Arranged(message);
      return;
    case WM_PARENTNOTIFY: {
      // Whether the new child comes beside a maximized one is asked before the client's own
      // handling of the notice, which may change the active child's state.
      const bool created = LOWORD(message.WParam) == WM_CREATE;
      const bool besideMaximized = created && ActiveChildMaximized(reinterpret_cast<HWND>(message.LParam));
      TacBaseWnd::AdapterWndProc(message);
      if (created) ChildCreated(reinterpret_cast<HWND>(message.LParam), besideMaximized);
      return;
    }
    case WM_MDISETMENU:
      ForwardToReplacedWndProc(message);
      if (MDISkinProvider) {
        MDISkinProvider->SkinData->BackgroundChanged = true;
        MDISkinProvider->RebuildTitle = true;
        MDISkinProvider->MenuLineCount = -1;
      }
      return;
  }
  TacBaseWnd::AdapterWndProc(message);
  AfterBaseProc(message);
}

bool TacMDIWnd::ActiveChildMaximized(HWND besides) const {
  const auto active = reinterpret_cast<HWND>(SendMessageW(Wnd, WM_MDIGETACTIVE, 0, 0));
  return active && active != besides && IsZoomed(active);
}

// A child made while the skin is on is skinned before it is first shown (children are never
// activated as windows of their own); made beside a maximized child, it comes up maximized.
void TacMDIWnd::ChildCreated(HWND child, bool besideMaximized) {
  if (!FormSkinned() || !child || !(GetWindowLongPtrW(child, GWL_EXSTYLE) & WS_EX_MDICHILD)) return;
  SkinActivatedWindow(child);
  MaximizePending = besideMaximized && WindowAcknowledgesSkinCommand(child, SKC_ISSKINNED);
}

void TacMDIWnd::Arranged(TMessage& message) {
  ForwardToReplacedWndProc(message);
  if (!Provider) return;
  Provider->SkinData->BackgroundChanged = true;
  Provider->MenuLineCount = -1;
  if (TForm* child = Form ? Form->ActiveMDIChild() : nullptr) {
    const LONG_PTR style = GetWindowLongPtrW(child->Handle(), GWL_STYLE);
    SetWindowLongPtrW(child->Handle(), GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_SYSMENU));
  }
  if (Provider->MDIForm) Provider->MDIForm->RefreshFrame();
  InvalidateRect(Wnd, nullptr, TRUE);
  if (Form && Form->HandleAllocated())
    RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_FRAME);
  if (Provider->SystemMenu) Provider->SystemMenu->UpdateItems(false);
}

void TacMDIWnd::AfterBaseProc(TMessage& message) {
  if (message.Msg == SM_ALPHACMD) {
    const WORD command = SkinSubCommand(message.WParam);
    if (command == SKC_BEFORESCROLL) SendMessageW(Wnd, WM_SETREDRAW, FALSE, 0);
    if (command == SKC_AFTERSCROLL) {
      SendMessageW(Wnd, WM_SETREDRAW, TRUE, 0);
      if (LOWORD(message.LParam) != SB_THUMBTRACK) {
        RedrawWindow(Wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        RefreshScrollBars(false);
        ReleaseCapture();
      }
    }
    return;
  }
  if (message.Msg == kRecalcScrollBars || message.Msg == WM_PARENTNOTIFY) {
    const LONG_PTR style = GetWindowLongPtrW(Wnd, GWL_STYLE);
    if (VertBar) VertBar->Visible = (style & WS_VSCROLL) != 0;
    if (HorzBar) HorzBar->Visible = (style & WS_HSCROLL) != 0;
    RefreshScrollBars(true);
  }
  if (message.Msg == WM_MDIREFRESHMENU && Provider && Provider->Form && Provider->Form->HandleAllocated())
    RedrawWindow(Provider->Form->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
}

// ---------------------------------------------------------------------------- TsMDIForm

TsMDIForm::TsMDIForm(TsSkinProvider* provider) : SkinProvider(provider) {
  if (!provider || !provider->Form) return;
  Form = provider->Form;
  Form->HandleNeeded();
}

TsMDIForm::~TsMDIForm() { UnhookClient(); }

void TsMDIForm::ConnectToClient() {
  if (!ClientAdapter) HookClient();
}

void TsMDIForm::HookClient() {
  UnhookClient();
  if (!SkinProvider || !Form || !Form->ClientHandle() || !SkinActiveFor(SkinProvider->SkinData.get(), false)) return;
  ClientAdapter = AttachAdapter<TacMDIWnd>(Form->ClientHandle(), nullptr, SkinProvider->Manager(), "CHECKBOX", true);
  ClientAdapter->Form = Form;
  ClientAdapter->FormSkinData = SkinProvider->SkinData.get();
  ClientAdapter->Provider = SkinProvider;
}

void TsMDIForm::UnhookClient() {
  if (!ClientAdapter) return;
  ClientAdapter->Detach(true);
  ClientAdapter.reset();  // its own skin data goes with it
}

void TsMDIForm::RefreshFrame() {
  if (!SkinProvider || !Form || !Form->HandleAllocated()) return;
  SkinProvider->SkinData->BackgroundChanged = true;
  SkinProvider->MenuLineCount = -1;
  RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}
