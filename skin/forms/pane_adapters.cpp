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
#include "framework/application.h"
#include "skin/forms/adapter_paint.h"
#include "skin/forms/skin_provider.h"
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

// ---- framework panels

std::string PanelSectionForBevels(TBevelCut outer, TBevelCut inner, bool bordered) {
  if (outer == bvLowered) return inner == bvRaised ? "GROUPBOX" : "PANEL_LOW";
  if (outer == bvRaised) return inner == bvLowered ? "GROUPBOX" : "PANEL";
  return bordered ? "PANEL_LOW" : "CHECKBOX";
}

TacPanelWnd::TacPanelWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section)
    : TacMainWnd(wnd, skinData, manager, section) {
  // The framework panel has no border style of its own: only its bevels frame it.
  if (auto* panel = dynamic_cast<TPanel*>(SkinData->OwnerControl); panel && section.empty())
    SkinData->SetSkinSection(PanelSectionForBevels(panel->BevelOuter(), panel->BevelInner(), false));
}

void TacPanelWnd::PrepareCache() {
  auto* owner = dynamic_cast<TWinControl*>(SkinData->OwnerControl);
  TsCommonData& d = *SkinData;
  d.SizeCacheBitmap();
  CacheSourceInfo behind;
  d.ParentCacheInfo(behind);
  const RECT whole{0, 0, owner->Width(), owner->Height()};
  RenderControlItem(d, behind, true, 0, whole, {owner->Left(), owner->Top()}, d.CacheBitmap.get(), true);
  RECT text = owner->ClientRect();
  auto* panel = dynamic_cast<TPanel*>(owner);
  const int bevel = panel ? (panel->BevelInner() != bvNone) + (panel->BevelOuter() != bvNone) : 0;
  InflateRect(&text, -bevel, -bevel);
  TCanvas& canvas = d.CacheBitmap->Canvas();
  canvas.Font().Assign(owner->Font());
  canvas.Brush().SetStyle(bsClear);
  const int line = canvas.TextHeight("W");
  text.top = (text.top + text.bottom - line) / 2;
  text.bottom = text.top + line;
  WriteSkinText(canvas, owner->Caption(), owner->Enabled(), text, DT_CENTER | DT_VCENTER, d, false);
  d.BackgroundChanged = false;
}

void TacPanelWnd::PaintClientArea(HDC given) {
  auto* owner = dynamic_cast<TWinControl*>(SkinData->OwnerControl);
  if ((owner->ComponentState() & csDestroying) || (owner->Parent() && (owner->Parent()->ControlState() & csCreating)))
    return;
  HDC dc = given ? given : GetWindowDC(owner->Handle());
  {
    efir::gdi::SavedState saved(dc);
    TsCommonData& d = *SkinData;
    d.Updating = d.IsUpdating();
    if (!d.Updating) {
      const bool changed = d.PartlyOutside || d.BackgroundChanged;
      RECT clip{};
      GetClipBox(dc, &clip);
      d.PartlyOutside = d.BackgroundFollowsParent() &&
                        !(clip.left == 0 && clip.top == 0 && clip.right == owner->Width() && clip.bottom == owner->Height());
      if (changed) PrepareCache();
      RECT window, client;
      GetWindowRect(Wnd, &window);
      GetClientRect(Wnd, &client);
      const int b = ((window.right - window.left) - client.right) / 2;
      CopyCacheExceptControls(owner, d, {b, b, 0, 0}, 0, 0, dc, {b, b, owner->Width() - b, owner->Height() - b});
      PaintGraphicControls(dc, owner, {0, 0});
      NotifyChildrenParentUpdated(owner);
    }
  }
  if (!given) ReleaseDC(owner->Handle(), dc);
}

void TacPanelWnd::PaintFrame(HDC given) {
  ReadWindowPlacement();
  RECT client;
  GetClientRect(Wnd, &client);
  SendSkinCommandToWindow(Wnd, SKC_PREPARECACHE);
  const int b = (WindowSize.cx - client.right) / 2;
  if (b <= 0 || !SkinData->CacheBitmap) return;
  HDC dc = given ? given : GetWindowDC(Wnd);
  CopyBorderFrame(dc, 0, 0, WindowSize.cx, WindowSize.cy, SkinData->CacheBitmap->Canvas().Handle(), 0, 0, b);
  if (!given) ReleaseDC(Wnd, dc);
}

bool TacPanelWnd::SkinCommand(TMessage& message) {
  auto* owner = dynamic_cast<TWinControl*>(SkinData->OwnerControl);
  switch (SkinSubCommand(message.WParam)) {
    case SKC_NEWSKIN:
    case SKC_REFRESH:
      TacMainWnd::AdapterWndProc(message);  // which relays it to the children, once
      return true;
    case SKC_REMOVESKIN:
      SkinData->SectionIndex = -1;
      owner->SetControlStyle(owner->ControlStyle() & ~static_cast<TControlStyle>(csOpaque));
      return false;
    case SKC_PARENTUPDATED:
      SkinData->SetUpdating(false);
      RedrawWindow(Wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
      return true;
    case SKC_ISSKINNED:
      message.Result = 1;
      return true;
    case SKC_PREPARECACHE:
      return true;
    case SKC_GETAPPLICATION:
      message.Result = reinterpret_cast<LRESULT>(&Application);
      return true;
  }
  return false;
}

void TacPanelWnd::AdapterWndProc(TMessage& message) {
  auto* owner = dynamic_cast<TWinControl*>(SkinData->OwnerControl);
  if (!owner || !(owner->ControlStyle() & csAcceptsControls)) return TacMainWnd::AdapterWndProc(message);
  if (message.Msg == SM_ALPHACMD) {
    if (!SkinCommand(message)) TacMainWnd::AdapterWndProc(message);
    return;
  }
  if (!SkinActiveFor(SkinData, false)) return TacMainWnd::AdapterWndProc(message);
  switch (message.Msg) {
    case WM_NCPAINT:
      PaintGuarded([&] { PaintFrame(nullptr); });
      message.Result = 0;
      return;
    case WM_SETTEXT:
      if (!IsWindowVisible(Wnd)) break;
      SendMessageW(Wnd, WM_SETREDRAW, FALSE, 0);
      TacMainWnd::AdapterWndProc(message);
      SendMessageW(Wnd, WM_SETREDRAW, TRUE, 0);
      SkinData->BackgroundChanged = true;
      SendMessageW(Wnd, WM_PAINT, 0, 0);
      return;
    case WM_PAINT: {
      // The panel is drawn on WM_ERASEBKGND.
      InvalidateRect(Wnd, nullptr, TRUE);
      PAINTSTRUCT ps;
      BeginPaint(Wnd, &ps);
      EndPaint(Wnd, &ps);
      return;
    }
    case WM_ERASEBKGND:
      PaintGuarded([&] { PaintClientArea(reinterpret_cast<HDC>(message.WParam)); });
      message.Result = 1;
      return;
    case WM_UPDATEUISTATE:
      message.Result = 1;
      return;
    case WM_PARENTNOTIFY:
      TacMainWnd::AdapterWndProc(message);
      if (LOWORD(message.WParam) == WM_CREATE) NotifyParentFormOfChange(owner);
      return;
    case WM_PRINT:
      PaintGuarded([&] {
        PaintClientArea(reinterpret_cast<HDC>(message.WParam));
        PaintFrame(reinterpret_cast<HDC>(message.WParam));
      });
      return;
  }
  TacMainWnd::AdapterWndProc(message);
  if (message.Msg == WM_WINDOWPOSCHANGING) SendMessageW(Wnd, WM_NCPAINT, 1, 0);
}
