#include "skin/forms/edit_wnd.h"

#include "framework/controls.h"
#include "skin/engine/common_data.h"
#include "skin/engine/fills.h"
#include "skin/engine/glow.h"
#include "skin/engine/published_props.h"
#include "skin/engine/skin_broadcast.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_data.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/forms/form_animation.h"

namespace {

bool ControlGoing(TControl* control) { return control && (control->ComponentState() & csDestroying); }

// A control may publish a colour for its focused look; it takes the skin's colour too.
constexpr char kFocusColor[] = "FocusColor";

// The window paints nothing now: the look is being changed or animated elsewhere.
bool PaintingHeld(TsCommonData& d) {
  d.Updating = d.IsUpdating();
  return d.Updating;
}

}  // namespace

TacEditWnd::TacEditWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section)
    : TacBaseWnd(wnd, skinData, manager, section.empty() ? "EDIT" : section) {
  SkinData->SetSkinSection(section.empty() ? "EDIT" : section);
}

void TacEditWnd::SaveStdLook() {
  TacBaseWnd::SaveStdLook();
  if (auto* control = dynamic_cast<TControl*>(SkinData->OwnerControl)) {
    SavedColor = control->Color();
    SavedFontColor = control->Font().Color();
    if (HasPublishedProp(control, kFocusColor)) SavedFocusColor = static_cast<TColor>(GetOrdPropByName(control, kFocusColor));
  }
}

void TacEditWnd::RestoreStdLook() {
  TacBaseWnd::RestoreStdLook();
  if (IsWindowVisible(Wnd))
    SetWindowPos(Wnd, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
  auto* control = dynamic_cast<TControl*>(SkinData->OwnerControl);
  if (control && !ControlGoing(control)) {
    control->SetColor(SavedColor);
    control->Font().SetColor(SavedFontColor);
    if (HasPublishedProp(control, kFocusColor)) SetOrdPropByName(control, kFocusColor, SavedFocusColor);
  }
}

void TacEditWnd::ApplySkinLook() {
  // Colour changes restyle the window; the bars must not take that for their own layout.
  StyleMasked = true;
  TacBaseWnd::ApplySkinLook();
  TsCommonData& d = *SkinData;
  const TsGeneralData* section = d.Section();
  if (auto* control = dynamic_cast<TControl*>(d.OwnerControl)) {
    if (!d.CustomColor()) {
      const TColor color = d.BackgroundColor(d.HotState(), nullptr);
      if (color != control->Color()) control->SetColor(color);
      if (HasPublishedProp(control, kFocusColor)) SetOrdPropByName(control, kFocusColor, color);
    }
    if (!d.CustomFont() && section && section->HotFontColor[0] != control->Font().Color())
      control->Font().SetColor(section->HotFontColor[0]);
  } else {
    FillColor = !DialogMode && section ? section->Color : clWindow;
    OutlineColor = 0;
  }
  d.BackgroundChanged = true;
  StyleMasked = false;
}

void TacEditWnd::PrepareCache(bool withCorners) {
  ReadWindowPlacement();
  RenderWindowBackgroundCache(*SkinData, Wnd, DialogMode);
  if (withCorners) RestoreAdapterCorners(*SkinData, 0, *this);
}

int TacEditWnd::PaintFrame(HDC dc) {
  TBitmap* cache = SkinData->CacheBitmap.get();
  if (cache && LeftEdge > 0)
    CopyBorderFrame(dc, 0, 0, cache->Width(), cache->Height(), cache->Canvas().Handle(), 0, 0, LeftEdge);
  return PaintScrollBars(dc, -1);
}

bool TacEditWnd::HandleSkinCommand(TMessage& message) {
  TsCommonData& d = *SkinData;
  switch (SkinSubCommand(message.WParam)) {
    case SKC_REFRESH:
      if (message.LParam != reinterpret_cast<LPARAM>(Manager())) return false;
      TacBaseWnd::AdapterWndProc(message);
      ApplySkinLook();
      return true;
    case SKC_PARENTUPDATED:
      if (d.Updating) {
        d.Updating = false;
        d.Updating = d.IsUpdating();
        if (!d.Updating)
          RedrawWindow(Wnd, nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
      }
      return false;
    case SKC_ISSKINNED:
      message.Result = 1;
      return true;
    case SKC_PREPARECACHE:
      PrepareCache(true);
      return true;
    case SKC_GETSECTIONINDEX:
      message.Result = d.SectionIndex + 1;
      return true;
    default:
      return false;
  }
}

void TacEditWnd::NonClientPaint(TMessage& message) {
  ReadWindowPlacement();
  if (PaintingHeld(*SkinData)) return;
  if (SkinData->BackgroundChanged) {
    ApplyLookOnce();
    RenderWindowBackgroundCache(*SkinData, Wnd, DialogMode);
  }
  HDC dc = GetWindowDC(Wnd);
  if (!dc) return;
  const int saved = SaveDC(dc);
  try {
    message.Result = PaintFrame(dc);
  } catch (...) {
    // A frame that cannot be painted keeps what it showed.
  }
  RestoreDC(dc, saved);
  ReleaseDC(Wnd, dc);
}

void TacEditWnd::Print(TMessage& message) {
  HDC dc = reinterpret_cast<HDC>(message.WParam);
  ReadWindowPlacement();
  SkinData->SetUpdating(false);
  SkinData->BackgroundChanged = true;
  ApplyLookOnce();
  PrepareCache(!DialogMode);
  message.Result = PaintFrame(dc);
  TBitmap* cache = SkinData->CacheBitmap.get();
  if (!cache) return;
  const int saved = SaveDC(dc);
  POINT origin;
  GetViewportOrgEx(dc, &origin);
  SetViewportOrgEx(dc, origin.x + LeftEdge, origin.y + LeftEdge, nullptr);
  const int w = cache->Width() - 2 * LeftEdge - (VertBar && VertBar->Visible ? BarThickness(*VertBar) : 0);
  const int h = cache->Height() - 2 * LeftEdge - (HorzBar && HorzBar->Visible ? BarThickness(*HorzBar) : 0);
  IntersectClipRect(dc, 0, 0, w, h);
  const WPARAM target = reinterpret_cast<WPARAM>(dc);
  SendMessageW(Wnd, WM_ERASEBKGND, target, 0);
  SendMessageW(Wnd, WM_PAINT, target, 0);
  SendMessageW(Wnd, WM_PRINTCLIENT, target, PRF_CLIENT | PRF_OWNED);
  RestoreDC(dc, saved);
}

bool TacEditWnd::HandleBefore(TMessage& message) {
  const bool visible = IsWindowVisible(Wnd);
  switch (message.Msg) {
    case WM_PAINT:
      if (!visible) return false;
      if (PaintingHeld(*SkinData) || (SkinChangeAnimating && !AnimationTargetDC)) {
        PAINTSTRUCT ps;
        BeginPaint(Wnd, &ps);
        EndPaint(Wnd, &ps);
        return true;
      }
      PaintScrollBars(nullptr, -1);
      ApplyLookOnce();
      return false;
    case WM_ERASEBKGND:
      if (!visible) return false;
      if (PaintingHeld(*SkinData)) {
        message.Result = 1;
        return true;
      }
      ApplyLookOnce();
      if (SkinChangeAnimating && reinterpret_cast<HDC>(message.WParam) != AnimationTargetDC) {
        message.Result = 1;
        return true;
      }
      return false;
    case WM_NCPAINT:
      if (!visible) return false;
      if (!SkinChangeAnimating) NonClientPaint(message);
      return true;
    case WM_PRINT:
      // Answered whole: the window's own print would draw the standard frame and bars over ours.
      Print(message);
      return true;
    case CM_FONTCHANGED:
      RedrawWindow(Wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
      return false;
    default:
      return false;
  }
}

void TacEditWnd::HandleAfter(const TMessage& message) {
  TsCommonData& d = *SkinData;
  auto* control = dynamic_cast<TWinControl*>(d.OwnerControl);
  switch (message.Msg) {
    case WM_SIZE:
      if (IsWindowVisible(Wnd)) SendMessageW(Wnd, WM_NCPAINT, 1, 0);
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (BorderHasStateImages(d) && control && control->CanFocus() && control->TabStop()) {
        d.BackgroundChanged = true;
        d.HasFocus = message.Msg == WM_SETFOCUS;
        RedrawWindow(control->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
      }
      break;
    case EM_REPLACESEL:
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    case LB_DELETESTRING:
    case LB_RESETCONTENT:
    case LB_SETCURSEL:
    case LB_SETTOPINDEX:
      RefreshScrollBars(true);
      break;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_LBUTTONDOWN:
      if (!Scrolling) RefreshScrollBars(true);
      break;
    case WM_MOUSEMOVE:
      if (!d.Updating && GetCapture()) RefreshScrollBars(true);
      break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      if (!BorderHasStateImages(d)) break;
      d.MouseOver = message.Msg == CM_MOUSEENTER;
      // An adapted framework control has no painter of its own to light its glow.
      if (message.Msg == CM_MOUSEENTER && d.ControlKind == ckAdapted) d.UpdateGlow(false, nullptr);
      if (control) {
        d.BackgroundChanged = true;
        RedrawWindow(control->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
      }
      if (message.Msg == CM_MOUSELEAVE) ReleaseAllGlows();
      break;
  }
}

void TacEditWnd::AdapterWndProc(TMessage& message) {
  if (!Skinned()) {
    TacBaseWnd::AdapterWndProc(message);
    return;
  }
  if (message.Msg == SM_ALPHACMD) {
    if (!HandleSkinCommand(message)) TacBaseWnd::AdapterWndProc(message);
    return;
  }
  if (HandleBefore(message)) return;
  TacBaseWnd::AdapterWndProc(message);
  if (!Detached) HandleAfter(message);
}
