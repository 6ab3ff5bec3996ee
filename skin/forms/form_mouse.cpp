// How the user works a skinned form's frame: hit testing, presses and releases on the title
// buttons and the caption, double clicks, the skinned system menu, the border drag of
// rmBorder forms and the system commands with what they change in the frame.
#include "skin/forms/form_mouse.h"

#include <algorithm>

#include "framework/application.h"
#include "framework/bitmap.h"
#include "skin/engine/common_data.h"
#include "skin/engine/skin_broadcast.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_manager.h"
#include "skin/forms/mdi_client.h"
#include "skin/forms/skin_provider.h"
#include "skin/forms/skinnable_menus.h"
#include "skin/forms/system_menu.h"
#include "skin/forms/title_buttons.h"
#include "skin/forms/window_adapter.h"

// SC_MOVE issued by a press on the caption: the system's drag of the whole window.
constexpr WPARAM kDragMove = 0xF012;
// The system's request for the window menu (Alt+Space, Shift+F10 on the caption).
constexpr UINT kWindowMenuRequest = 0x313;

namespace {

// One border drag runs at a time: it owns the mouse while it runs.
struct BorderDragState {
  bool Active = false;
  bool First = false;   // no mouse move seen since the drag began
  bool Moving = false;  // moving the form, else sizing it
  int Kind = 0;         // the dragged border, HTLEFT..HTBOTTOMRIGHT; 0 none
  RECT Rect{};          // the drag frame on the screen
  POINT Start{};        // the last mouse point (moving) or the first one (sizing)
  SIZE MinSize{};
  HWND Desktop = nullptr;
  HDC Dc = nullptr;
  int SavedDc = 0;
};
BorderDragState Drag;

bool IsBorderCode(int code) { return code >= HTLEFT && code <= HTBOTTOMRIGHT; }

POINT MessagePoint(const TMessage& message) { return PointOfLParam(message.LParam); }

}  // namespace

// ---------------------------------------------------------------------------- the rules

RECT BorderDragRect(int kind, const RECT& form, const RECT& current, POINT delta, SIZE minSize) {
  RECT r = current;
  const bool top = kind == HTTOP || kind == HTTOPLEFT || kind == HTTOPRIGHT;
  const bool left = kind == HTLEFT || kind == HTTOPLEFT || kind == HTBOTTOMLEFT;
  const bool right = kind == HTRIGHT || kind == HTTOPRIGHT || kind == HTBOTTOMRIGHT || !IsBorderCode(kind);
  const bool bottom = kind == HTBOTTOM || kind == HTBOTTOMLEFT || kind == HTBOTTOMRIGHT || !IsBorderCode(kind);
  if (top) {
    r.top = form.top + delta.y;
    if (r.bottom - r.top < minSize.cy) r.top = r.bottom - minSize.cy;
  }
  if (bottom) {
    r.bottom = form.bottom + delta.y;
    if (r.bottom - r.top < minSize.cy) r.bottom = form.top + minSize.cy;
  }
  if (left) {
    r.left = form.left + delta.x;
    if (r.right - r.left < minSize.cx) r.left = r.right - minSize.cx;
  }
  if (right) {
    r.right = form.right + delta.x;
    if (r.right - r.left < minSize.cx) r.right = form.left + minSize.cx;
  }
  return r;
}

MaximizedPlacement MaximizedBounds(const MaximizeMeasures& m) {
  const int a = m.FrameWidth;
  int b = 0;
  if (m.FullCaption) b = m.CaptionExt > m.CaptionPlain + a ? m.CaptionExt - m.CaptionPlain - a : a;
  const int d = m.TitleHeight == m.MaxHeight ? 0 : m.TitleHeight - m.MaxHeight + m.CenterOffset;
  MaximizedPlacement placement;
  placement.PositionY = b - a - d;
  placement.Size.cx = m.WorkArea.right - m.WorkArea.left + 2 * a;
  placement.Size.cy = m.WorkArea.bottom - m.WorkArea.top + 2 * a - b + d;
  return placement;
}

// ---------------------------------------------------------------------------- dispatch

bool TsSkinProvider::FormMouseMessage(TMessage& message) {
  // The border window hands its frame clicks on without a code: its own hit test gives it.
  const bool fromBorder =
      message.Msg == WM_NCLBUTTONDOWN || message.Msg == WM_NCLBUTTONUP || message.Msg == WM_NCRBUTTONUP;
  if (fromBorder && BorderForm && message.WParam == static_cast<WPARAM>(-1))
    message.WParam = static_cast<WPARAM>(BorderForm->HitTest(MessagePoint(message)));
  switch (message.Msg) {
    case WM_NCHITTEST: NCHitTestMessage(message); return true;
    case WM_NCLBUTTONDOWN: NCLButtonDownMessage(message); return true;
    case WM_NCLBUTTONUP:
    case WM_LBUTTONUP: ButtonUpMessage(message); return true;
    case WM_NCLBUTTONDBLCLK: NCLButtonDblClkMessage(message); return true;
    case WM_NCRBUTTONDOWN:
      if (message.WParam == HTCAPTION || message.WParam == HTSYSMENU) message.Result = 0;
      else Prev(message);
      return true;
    case WM_NCRBUTTONUP: NCRButtonUpMessage(message); return true;
    case kWindowMenuRequest: {
      POINT cursor{};
      GetCursorPos(&cursor);
      DropSystemMenu(cursor.x, cursor.y);
      return true;
    }
    case WM_MOUSEMOVE: MouseMoveMessage(message); return true;
    case WM_NCMOUSELEAVE:
    case WM_MOUSELEAVE:
      SetHotButton(0, true);
      Prev(message);
      return true;
    case WM_SYSCOMMAND: SysCommandMessage(message); return true;
  }
  return false;
}

// ---------------------------------------------------------------------------- messages

void TsSkinProvider::NCHitTestMessage(TMessage& message) {
  if (CaptionHeight(true) == 0 || !DrawNonClientArea) return Prev(message);
  const LRESULT code = HitTest(message);
  if (code == HTNOWHERE || code == HTCLIENT || code == HTCAPTION || code == HTMENU) {
    Prev(message);
    SetHotButton(0, true);
    return;
  }
  message.Result = code;
  if (ResizeMode == rmBorder && Drag.Kind == 0 && IsBorderCode(static_cast<int>(code)))
    Drag.Kind = static_cast<int>(code);
}

void TsSkinProvider::NCLButtonDownMessage(TMessage& message) {
  const int code = static_cast<int>(message.WParam);
  if (!DrawNonClientArea) {
    if (code == HTSYSMENU) DropSystemMenuUnderIcon();
    else Prev(message);
    return;
  }
  HWND wnd = Form->Handle();
  switch (code) {
    case HTMINBUTTON:
    case HTMAXBUTTON:
    case HTCLOSE:
    case HTHELP: PressButton(code); return;
    case kMdiCloseHit:
    case kMdiRestoreHit:
    case kMdiMinHit: {
      // What the child may not do is not pressed either.
      TsSystemMenu* child = ActiveMDIChildProvider ? ActiveMDIChildProvider->FormSystemMenu() : nullptr;
      if (child && ((code == kMdiMinHit && !child->EnabledMin()) || (code == kMdiRestoreHit && !child->EnabledRestore())))
        return;
      PressButton(code);
      return;
    }
    case HTSYSMENU: {
      SetHotButton(0, true);
      TsSkinManager* manager = Manager();
      if (manager && !manager->SkinnedPopups()) {
        // A double click on the icon closes the form: give it the time to come first.
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < 200 && IsWindow(wnd)) {
          Application.ProcessMessages();
          Sleep(10);
        }
        if (!IsWindow(wnd) || SkinData->Updating) return;
      }
      DropSystemMenuUnderIcon();
      return;
    }
    case HTMENU: return Prev(message);
  }
  if (TsTitleButton* user = UserButtonOfCode(code)) {
    PressButton(code);
    const POINT at = MessagePoint(message);
    user->DoMouseDown(mbLeft, 0, at.x, at.y);
    return;
  }
  if (IsIconic(wnd)) {
    Form->Perform(WM_SYSCOMMAND, kDragMove, 0);
    return;
  }
  SetHotButton(0, true);
  if (IsZoomed(wnd)) {
    // A maximized form is not dragged by its caption.
    const POINT p = ScreenToFrame({0, MessagePoint(message).y});
    if (p.y <= FrameTopBorderWidth(true) + CaptionHeight(true)) {
      if (!Form->Active()) Form->SetFocus();
      return;
    }
  }
  if (ResizeMode == rmBorder && code != HTMENU) {
    // The command starts the provider's drag (the system's own would run beside it).
    const bool moving = !IsBorderCode(code);
    Form->Perform(WM_SYSCOMMAND, moving ? SC_MOVE : SC_SIZE, 0);
    if (moving) Drag.Start = MessagePoint(message);
    else Drag.Kind = code;
    return;
  }
  Prev(message);
}

// A release on a button of the maximized MDI child shown on this parent's menu line acts on
// that child.
void TsSkinProvider::MdiChildButtonUp(int code, bool pressed) {
  TForm* child = Form->ActiveMDIChild();
  if (pressed && child && child->HandleAllocated()) {
    if (code == kMdiMinHit && MDISkinProvider) MDISkinProvider->SkinData->StartUpdate();
    const WPARAM command = code == kMdiCloseHit ? SC_CLOSE : code == kMdiRestoreHit ? SC_RESTORE : SC_MINIMIZE;
    SendMessageW(child->Handle(), WM_SYSCOMMAND, command, 0);
  }
  SetHotButton(0, code == kMdiMinHit);
}

void TsSkinProvider::ButtonUpMessage(TMessage& message) {
  if (!DrawNonClientArea) return Prev(message);
  // A client release carries key flags, not a hit code.
  const int code = message.Msg == WM_NCLBUTTONUP ? static_cast<int>(message.WParam) : 0;
  HWND wnd = Form->Handle();
  TsSystemMenu* menu = FormSystemMenu();
  const bool pressed = TitleButtonDown;
  switch (code) {
    case HTCLOSE:
      if (pressed) {
        // Normal again before the command: a form that only hides shows a normal button
        // when it comes back, and the button can turn hot again.
        SetHotButton(0, true);
        SendMessageW(wnd, WM_SYSCOMMAND, SC_CLOSE, 0);
      }
      return;
    case HTMAXBUTTON: {
      const bool zoomed = IsZoomed(wnd) != 0;
      if (!menu || !(menu->EnabledMax() || (zoomed && menu->EnabledRestore()))) return;
      SetHotButton(0, true);
      if (!pressed) return Prev(message);
      // A child's buttons leave the parent's menu line for its own caption, or come back.
      if (Form->FormStyle() == fsMDIChild) {
        if (MDISkinProvider) MDISkinProvider->SkinData->StartUpdate();
        if (ActiveMDIChildProvider == this) ActiveMDIChildProvider = nullptr;
      }
      if (zoomed) {
        SendMessageW(wnd, WM_SYSCOMMAND, SC_RESTORE, 0);
        RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
      } else {
        SendMessageW(wnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
      }
      if (IsWindow(wnd)) menu->UpdateItems(false);
      return;
    }
    case HTMINBUTTON: {
      if (!pressed) {
        SetHotButton(0, true);
        return Prev(message);
      }
      const POINT p = ScreenToFrame(MessagePoint(message));
      if (!PtInRect(&ButtonMin.Rect, p)) return Prev(message);
      SetHotButton(0, true);
      SkinData->BackgroundChanged = true;
      const bool main = Application.MainForm() == Form;
      SendMessageW(wnd, WM_SYSCOMMAND, !main && IsIconic(wnd) ? SC_RESTORE : SC_MINIMIZE, 0);
      return;
    }
    case HTHELP:
      SetHotButton(0, true);
      if (!pressed) return;
      SendMessageW(wnd, WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
      if (!IsWindow(wnd)) return;
      if (menu) menu->UpdateItems(false);
      Form->Perform(WM_NCPAINT, 1, 0);
      return;
  }
  if (TsTitleButton* user = UserButtonOfCode(code)) {
    if (pressed) {
      const POINT at = MessagePoint(message);
      user->DoMouseUp(mbLeft, 0, at.x, at.y);
    }
    SetHotButton(0, true);
    return;
  }
  if (code >= kMdiCloseHit && code <= kMdiMinHit) return MdiChildButtonUp(code, pressed);
  if (ResizeMode == rmBorder && !IsZoomed(wnd) && Drag.Active) {
    POINT p = MessagePoint(message);
    if (message.Msg == WM_LBUTTONUP) ClientToScreen(wnd, &p);
    EndBorderDrag(p.x, p.y);
    ReleaseCapture();
    return;
  }
  Prev(message);
}

void TsSkinProvider::NCLButtonDblClkMessage(TMessage& message) {
  HWND wnd = Form->Handle();
  message.Result = 0;
  if (ResizeMode == rmBorder && Drag.Active) {
    const POINT p = MessagePoint(message);
    EndBorderDrag(p.x, p.y);
    ReleaseCapture();
    Drag.Active = false;
  }
  if (message.WParam == HTCAPTION) {
    TsSystemMenu* menu = FormSystemMenu();
    const bool toggles = (menu && menu->VisibleClose() && (menu->EnabledMax() || menu->EnabledRestore())) ||
                         (!HasBorder() && IsIconic(wnd));
    if (toggles) {
      SendMessageW(wnd, WM_SYSCOMMAND, IsZoomed(wnd) || IsIconic(wnd) ? SC_RESTORE : SC_MAXIMIZE, 0);
      if (menu && IsWindow(wnd)) menu->UpdateItems(false);
    }
    message.WParam = 0;
    return;
  }
  if (message.WParam == HTSYSMENU) {
    TsSkinManager* manager = Manager();
    // Tells a press on the icon still waiting for its menu that the form goes.
    if (!manager || !manager->SkinnedPopups()) SkinData->Updating = true;
    SendMessageW(wnd, WM_SYSCOMMAND, SC_CLOSE, 0);
  }
}

void TsSkinProvider::NCRButtonUpMessage(TMessage& message) {
  if (!HasBorder()) return Prev(message);
  const LRESULT code = HitTest(message);
  message.Result = 0;
  if (code != HTCAPTION && code != HTSYSMENU) return;
  SetHotButton(0, true);
  const POINT p = MessagePoint(message);
  DropSystemMenu(p.x, p.y);
}

void TsSkinProvider::MouseMoveMessage(TMessage& message) {
  Prev(message);
  // The mouse is over the form itself now, no longer over one of its skinned controls.
  if (TsSkinManager* manager = TsSkinManager::DefaultManager()) SetHotWindow(*manager, nullptr);
  if (ResizeMode != rmBorder || !Form->HandleAllocated()) return;
  POINT p = MessagePoint(message);
  ClientToScreen(Form->Handle(), &p);
  if (Drag.Moving) {
    Drag.First = false;
    if (!Drag.Active) return;
    DrawDragFrame(Drag.Rect.left, Drag.Rect.top);
    Drag.Rect.left += p.x - Drag.Start.x;
    Drag.Rect.top += p.y - Drag.Start.y;
    Drag.Start = p;
    DrawDragFrame(Drag.Rect.left, Drag.Rect.top);
    return;
  }
  if (Drag.First) {
    Drag.Start = p;
    Drag.First = false;
  }
  if (!Drag.Active) return;
  DrawDragFrame(0, 0);
  Drag.Rect = BorderDragRect(Drag.Kind, Form->BoundsRect(), Drag.Rect, {p.x - Drag.Start.x, p.y - Drag.Start.y},
                             Drag.MinSize);
  DrawDragFrame(0, 0);
}

void TsSkinProvider::SysCommandMessage(TMessage& message) {
  HWND wnd = Form->Handle();
  const WPARAM command = message.WParam & 0xFFF0;
  if (LOWORD(message.WParam) == kDragMove) Form->Repaint();
  if (ResizeMode == rmBorder && (command == SC_MOVE || command == SC_SIZE)) {
    // The provider's own drag replaces the system's: the command is not passed on, or both
    // would drag at once.
    if (Drag.Active) return;
    SetCapture(wnd);
    Drag.First = true;
    Drag.Moving = command == SC_MOVE;
    Drag.Kind = 0;
    POINT cursor{};
    GetCursorPos(&cursor);
    StartBorderDrag(cursor.x, cursor.y);
    return;
  }
  if (Form->FormStyle() == fsMDIForm) {
    Prev(message);
    // The child buttons on the menu line come and go with the child's state.
    if (message.WParam == SC_MINIMIZE || message.WParam == SC_MAXIMIZE || message.WParam == SC_RESTORE) {
      SkinData->BackgroundChanged = true;
      MenuLineCount = -1;
      if (IsWindow(wnd)) SendMessageW(wnd, WM_NCPAINT, 0, 0);
    }
    return;
  }
  if (Form->FormStyle() == fsMDIChild) return MDIChildSysCommand(message);
  Prev(message);
  if (!IsWindow(wnd) || FormDestroying()) return;
  switch (message.WParam) {
    case SC_MINIMIZE:
      if (SkinData->CacheBitmap) SkinData->CacheBitmap->SetSize(0, 0);
      return;
    case SC_MAXIMIZE:
    case SC_RESTORE: {
      TsSystemMenu* menu = FormSystemMenu();
      // The maximize button shows the other picture now: repainted in its normal state.
      if (menu && menu->VisibleMax()) HotButton = HTMAXBUTTON;
      SetHotButton(0, true);
      if (message.WParam != SC_RESTORE) return;
      SkinData->BackgroundChanged = true;
      if (!HasBorder()) SetWindowRgn(wnd, nullptr, TRUE);
      else RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      return;
    }
  }
  if (command == SC_KEYMENU && LOWORD(message.LParam) == ' ' && HasBorder()) {
    TsSystemMenu* menu = FormSystemMenu();
    if (!menu || !menu->VisibleClose()) return;
    const POINT origin = FrameOrigin();
    const RECT icon = ShownTitleIconRect();
    DropSystemMenu(origin.x + FrameBorderWidth(true),
                   origin.y + FrameTopBorderWidth(true) + (icon.bottom - icon.top));
  }
}

// ---------------------------------------------------------------------------- operations

void TsSkinProvider::DropSystemMenuUnderIcon() {
  const POINT origin = FrameOrigin();
  const RECT icon = ShownTitleIconRect();
  DropSystemMenu(origin.x + FrameBorderWidth(false),
                 origin.y + FrameTopBorderWidth(true) + (icon.bottom - icon.top) +
                     FrameTopBorderWidth(false));
}

void TsSkinProvider::DropSystemMenu(int x, int y) {
  TsSystemMenu* menu = FormSystemMenu();
  TsSkinManager* manager = Manager();
  if (!menu || !manager) return;
  if (manager->SkinnedPopups()) {
    menu->UpdateItems(true);
    if (MakeSkinMenu && menu->Items()->Count() > 0) {
      TMenuItem* first = menu->Items()->Items(0);
      if (first->Name() == "SkinSelectItem") {
        menu->Items()->Remove(first);
        first->Free();
      }
      menu->AddSkinItems();
    }
    SkinableMenusOf(*manager).HookMenuOwnerDraw(menu, true);
    menu->Popup(x, y);
    return;
  }
  PopupWindowMenu(*menu, x, y);
}

namespace {

// Size is offered as the skinned system menu offers it: for a form in its normal state that
// can be sized.
bool SizeCommandUsable(const TsSystemMenu& menu, const TForm& form) {
  return menu.acIS && menu.acIS->Visible() && menu.acIS->Enabled() && form.WindowState() == wsNormal;
}

}  // namespace

// The window's own menu, its items enabled as the skinned one would show them.
void TsSkinProvider::PopupWindowMenu(TsSystemMenu& menu, int x, int y) {
  HWND wnd = Form->Handle();
  HMENU windowMenu = GetSystemMenu(wnd, FALSE);
  if (!windowMenu) return;
  menu.UpdateItems(true);
  const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
  // Hidden while the items change, so that the system does not repaint the caption.
  SetWindowLongPtrW(wnd, GWL_STYLE, style & ~WS_VISIBLE);
  auto enable = [&](UINT command, bool on) { EnableMenuItem(windowMenu, command, MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED | MF_DISABLED)); };
  const bool iconic = IsIconic(wnd) != 0;
  enable(SC_RESTORE, menu.acIR && menu.acIR->Visible() && menu.EnabledRestore());
  enable(SC_MOVE, !IsZoomed(wnd) && !iconic);
  enable(SC_SIZE, SizeCommandUsable(menu, *Form));
  enable(SC_MINIMIZE, menu.VisibleMin() && menu.EnabledMin());
  enable(SC_MAXIMIZE, menu.VisibleMax() && menu.EnabledMax());
  enable(SC_CLOSE, menu.VisibleClose());
  SetWindowLongPtrW(wnd, GWL_STYLE, style);
  const UINT command = TrackPopupMenu(windowMenu, TPM_RETURNCMD | TPM_RIGHTBUTTON, x, y, 0, wnd, nullptr);
  if (command && IsWindow(wnd)) PostMessageW(wnd, WM_SYSCOMMAND, command, 0);
}

// The system would offer keyboard sizing of a form whose frame cannot be sized; the window
// menu of a sizeable form keeps Size as PopupWindowMenu enabled it.
void TsSkinProvider::InitMenuPopup(TMessage& message) {
  auto* popup = reinterpret_cast<HMENU>(message.WParam);
  HWND wnd = Form->Handle();
  if (popup && popup == GetSystemMenu(wnd, FALSE)) {
    TsSystemMenu* menu = FormSystemMenu();
    if (menu) menu->UpdateItems(false);
    if (!menu || !SizeCommandUsable(*menu, *Form)) EnableMenuItem(popup, SC_SIZE, MF_BYCOMMAND | MF_GRAYED);
  } else {
    PopupItemsMeasured = false;
  }
  Prev(message);
}

void TsSkinProvider::MinMaxInfo(TMessage& message) {
  if (DrawNonClientArea && Form->FormStyle() != fsMDIChild && !Form->Parent() && Manager()) {
    HWND wnd = Form->Handle();
    const TsSkinData& skin = Manager()->LoadedSkin;
    MaximizeMeasures m;
    m.WorkArea = Form->MonitorWorkArea();
    m.FrameWidth = FrameBorderWidth(false);
    m.FullCaption = (GetWindowLongPtrW(wnd, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
    m.CaptionExt = CaptionHeight(true);
    m.CaptionPlain = CaptionHeight(false);
    m.TitleHeight = skin.TitleHeight;
    m.MaxHeight = skin.MaxHeight;
    m.CenterOffset = skin.CenterOffset;
    const MaximizedPlacement placement = MaximizedBounds(m);
    auto& info = *reinterpret_cast<MINMAXINFO*>(message.LParam);
    info.ptMaxPosition.y = placement.PositionY;
    info.ptMaxSize.x = placement.Size.cx;
    info.ptMaxSize.y = placement.Size.cy;
    message.Result = 0;
  }
  Prev(message);
}

void TsSkinProvider::SetDrawNonClientArea(bool value) {
  DrawNonClientArea = value;
  if (!Form || !Form->HandleAllocated()) return;
  HWND wnd = Form->Handle();
  TsSkinManager* manager = Manager();
  if (value) {
    UpdateSysMenuStyle(true);
    if (!IsWindowVisible(wnd) || !Skinned()) return;
    SkinData->BackgroundChanged = true;
    TitleBmp.reset();
    if (manager) SkinableMenusOf(*manager).HookMainMenu(Form->Menu(), true);
    UpdateBorderFormPresence(manager && manager->ExtendedBorders());
    RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_UPDATENOW | RDW_INVALIDATE);
    UpdateScrollAdapter();
    return;
  }
  // The system's frame comes back whole: its theme, its window menu, its menu bar, its shape;
  // nothing of the skin's frame stays round it.
  UpdateBorderFormPresence(false);
  if (manager) SkinableMenusOf(*manager).HookMainMenu(Form->Menu(), false);
  FreeScrollWnd();
  SetWindowThemeBound(wnd, nullptr, nullptr);
  if (SysMenuStyleRemoved) {
    SetWindowLongPtrW(wnd, GWL_STYLE, GetWindowLongPtrW(wnd, GWL_STYLE) | WS_SYSMENU);
    SysMenuStyleRemoved = false;
  }
  if (IsWindowVisible(wnd)) SetWindowRgn(wnd, nullptr, TRUE);
}

// ---------------------------------------------------------------------------- border drag

void TsSkinProvider::StartBorderDrag(int x, int y) {
  if (ResizeMode != rmBorder || Drag.Active) return;
  Drag.Active = true;
  Drag.Desktop = GetDesktopWindow();
  Drag.Dc = GetWindowDC(Drag.Desktop);
  Drag.SavedDc = SaveDC(Drag.Dc);
  Drag.Rect.left = Form->Left();
  Drag.Rect.top = Form->Top();
  SetROP2(Drag.Dc, R2_NOT);
  if (Drag.Moving) {
    Drag.Start = {x, y};
    DrawDragFrame(Drag.Rect.left, Drag.Rect.top);
    return;
  }
  Drag.MinSize = {Form->Constraints().MinWidth, Form->Constraints().MinHeight};
  Drag.Rect.right = Drag.Rect.left + Form->Width();
  Drag.Rect.bottom = Drag.Rect.top + Form->Height();
  DrawDragFrame(0, 0);
}

void TsSkinProvider::DrawDragFrame(int x, int y) {
  if (ResizeMode != rmBorder || !Drag.Dc) return;
  // (An MDI child's frame would be drawn relative to its parent's client area.)
  POINT points[5];
  if (Drag.Moving) {
    const int w = Form->Width(), h = Form->Height();
    const POINT moved[5] = {{x, y}, {x, y + h}, {x + w, y + h}, {x + w, y}, {x, y}};
    std::copy(std::begin(moved), std::end(moved), points);
  } else {
    const RECT& r = Drag.Rect;
    const POINT sized[5] = {{r.left, r.top}, {r.left, r.bottom}, {r.right, r.bottom}, {r.right, r.top}, {r.left, r.top}};
    std::copy(std::begin(sized), std::end(sized), points);
  }
  Polyline(Drag.Dc, points, 5);
}

void TsSkinProvider::EndBorderDrag(int, int) {
  if (ResizeMode != rmBorder || !Drag.Active) return;
  ReleaseCapture();
  Drag.Active = false;
  DrawDragFrame(Drag.Moving ? Drag.Rect.left : 0, Drag.Moving ? Drag.Rect.top : 0);
  RestoreDC(Drag.Dc, Drag.SavedDc);
  ReleaseDC(Drag.Desktop, Drag.Dc);
  Drag.Dc = nullptr;
  HWND wnd = Form->Handle();
  const RECT r = Drag.Rect;
  if (Drag.Moving) MoveWindow(wnd, r.left, r.top, Form->Width(), Form->Height(), TRUE);
  else if (!Drag.First) MoveWindow(wnd, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
  Drag.First = false;
  // The next drag takes its border from its own press.
  Drag.Kind = 0;
}
