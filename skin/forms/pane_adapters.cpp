#include "skin/forms/pane_adapters.h"

#include "framework/bitmap.h"
#include "framework/controls.h"
#include "framework/gdi.h"
#include "framework/stdctrls.h"
#include "skin/engine/background_answers.h"
#include "skin/engine/common_data.h"
#include "skin/engine/fills.h"
#include "skin/engine/item_paint.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/forms/adapter_paint.h"
#include "skin/forms/window_relays.h"

namespace {

// The depth of a panel's frame beyond its border: the panel draws its content only inside.
constexpr int kPanelMargin = 6;

RECT WholeWindow(HWND wnd) {
  RECT r;
  GetWindowRect(wnd, &r);
  return {0, 0, r.right - r.left, r.bottom - r.top};
}

}  // namespace

// ---- nested dialog panes

void TacTransPanelWnd::PaintPane(HDC given) {
  const RECT whole = WholeWindow(Wnd);
  HDC dc = given ? given : GetWindowDC(Wnd);
  PaintGuarded([&] {
    SkinData->BackgroundChanged = true;
    SendSkinCommandToWindow(Wnd, SKC_PREPARECACHE);
    CopyCacheExceptWindows(Wnd, *SkinData, {}, 0, 0, dc, whole);
  });
  if (!given) ReleaseDC(Wnd, dc);
}

void TacTransPanelWnd::AdapterWndProc(TMessage& message) {
  if (SkinActive() && message.Msg == WM_ERASEBKGND) {
    PaintPane(reinterpret_cast<HDC>(message.WParam));
    message.Result = 1;
    return;
  }
  if (SkinActive() && message.Msg == WM_NCPAINT) return;
  TacMainWnd::AdapterWndProc(message);
}

// ---- panels

TacDlgPanelWnd::TacDlgPanelWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section)
    : TacMainWnd(wnd, skinData, manager, section), PanelControl(efir::FindControl(wnd)) {
  const bool panel = PanelControl && typeid(*PanelControl) == typeid(TPanel);
  if (panel) ColourPanel(GlobalInfoColor(Manager()));
  SkinData->SetSkinSection(panel ? "CHECKBOX" : "GROUPBOX");
}

void TacDlgPanelWnd::ColourPanel(TColor color) {
  if (PanelControl && PanelControl->Color() != color) PanelControl->SetColor(color);
}

void TacDlgPanelWnd::ApplySkinLook() {
  TacMainWnd::ApplySkinLook();
  ColourPanel(GlobalInfoColor(Manager()));
}

void TacDlgPanelWnd::PrepareCache() {
  ReadWindowPlacement();
  TBitmap& cache = SizedCache(*this);
  CacheSourceInfo behind;
  WindowParentCacheInfo(Wnd, behind);
  RenderControlItem(*SkinData, behind, true, 0, {0, 0, WindowSize.cx, WindowSize.cy}, WindowPos, &cache, true);
  SkinData->BackgroundChanged = false;
}

void TacDlgPanelWnd::PaintClientArea(HDC dc) {
  TsCommonData& d = *SkinData;
  d.Updating = d.IsUpdating();
  if (d.Updating) return;
  PrepareCache();
  RECT client;
  ClientRectInWindowCoords(Wnd, client);
  BitBlt(dc, 0, 0, client.right - client.left, client.bottom - client.top, d.CacheBitmap->Canvas().Handle(),
         client.left, client.top, SRCCOPY);
}

void TacDlgPanelWnd::PaintFrame(HDC given) {
  RECT client;
  ClientRectInWindowCoords(Wnd, client);
  SkinData->BackgroundChanged = true;
  PrepareCache();
  HDC dc = given ? given : GetWindowDC(Wnd);
  CopyBorderFrame(dc, 0, 0, WindowSize.cx, WindowSize.cy, SkinData->CacheBitmap->Canvas().Handle(), 0, 0,
                  client.left + kPanelMargin);
  if (!given) ReleaseDC(Wnd, dc);
}

void TacDlgPanelWnd::AdapterWndProc(TMessage& message) {
  if (!SkinActive()) return TacMainWnd::AdapterWndProc(message);
  const TColor global = GlobalInfoColor(Manager());
  switch (message.Msg) {
    case WM_UPDATEUISTATE:
      message.Result = 1;
      return;
    case WM_SETTEXT:
      if (IsWindowVisible(Wnd)) SkinData->BackgroundChanged = true;
      break;
    case WM_PAINT: {
      ColourPanel(global);
      PAINTSTRUCT ps;
      BeginPaint(Wnd, &ps);
      EndPaint(Wnd, &ps);
      return;
    }
    case WM_ERASEBKGND: {
      auto dc = reinterpret_cast<HDC>(message.WParam);
      ReadWindowPlacement();
      PaintGuarded([&] {
        efir::gdi::SavedState saved(dc);
        PaintClientArea(dc);
        IntersectClipRect(dc, kPanelMargin, kPanelMargin, WindowSize.cx - kPanelMargin, WindowSize.cy - kPanelMargin);
        Forward(WM_PAINT, message.WParam);
      });
      message.Result = 1;
      return;
    }
    case WM_NCPAINT:
      PaintGuarded([&] { PaintFrame(nullptr); });
      message.Result = 1;
      return;
    case WM_PARENTNOTIFY:
      if (LOWORD(message.WParam) != WM_CREATE && LOWORD(message.WParam) != WM_DESTROY) break;
      TacMainWnd::AdapterWndProc(message);
      ColourPanel(global);
      if (LOWORD(message.WParam) == WM_CREATE && SkinData->OwnerControl) NotifyParentFormOfChange(SkinData->OwnerControl);
      return;
    case WM_PRINT: {
      auto dc = reinterpret_cast<HDC>(message.WParam);
      PaintGuarded([&] {
        RECT client;
        ClientRectInWindowCoords(Wnd, client);
        {
          efir::gdi::SavedState saved(dc);
          OffsetViewportOrgEx(dc, client.left, client.top, nullptr);
          PaintClientArea(dc);
        }
        PaintFrame(dc);
      });
      return;
    }
    case WM_THEMECHANGED:
      ColourPanel(clBtnFace);
      break;
  }
  TacMainWnd::AdapterWndProc(message);
}
