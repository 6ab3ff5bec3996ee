#include "grid/scroll_control.h"

#include <algorithm>
#include <cstdlib>

#include "framework/application.h"
#include "framework/forms.h"
#include "grid/roll_shadow.h"

// ---------------------------------------------------------------------------- TNxCustomScrollBar

TNxCustomScrollBar::TNxCustomScrollBar(TNxCustomScrollControl* Owner, TScrollBarKind Kind)
    : FOwner(Owner), FKind(Kind) {}

void TNxCustomScrollBar::SetAutoHide(bool Value) {
  FAutoHide = Value;
  SetVisible(FMax != 0 || !FAutoHide);
  Update();
}

void TNxCustomScrollBar::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  Update();
}

void TNxCustomScrollBar::SetMax(int Value) {
  Value = std::max(Value, 0);
  if (Value == FMax) return;
  FMax = Value;
  SetVisible(NeedsBar());
  RangeChanged();
}

void TNxCustomScrollBar::SetPageSize(int Value) {
  Value = std::max(Value, 1);
  if (Value == FPageSize) return;
  FPageSize = Value;
  SetVisible(NeedsBar());
  RangeChanged();
}

// A position beyond the new last page comes back in the same update that shows the new
// range: the window's bar never clamps it silently, and whoever follows the bar hears of it.
void TNxCustomScrollBar::RangeChanged() {
  if (FPosition > LastPosition()) SetPosition(LastPosition());
  else Update();
}

int TNxCustomScrollBar::LastPosition() const {
  return std::max({FMax - FPageSize + 1, FMin, 0});
}

void TNxCustomScrollBar::SetPosition(int Value) {
  FOldPosition = FPosition;
  FPosition = std::max(std::clamp(Value, FMin, LastPosition()), 0);
  // The contents move before the bar's update raises the scroll event, so a handler that
  // fails leaves the contents and the position in step.
  if (FUpdateCount == 0 && !FManualScroll && FPosition != FOldPosition) {
    int delta = FKind == sbVertical ? FOwner->VertScrollDelta(FOldPosition, FPosition)
                                    : FOwner->HorzScrollDelta(FOldPosition, FPosition);
    if (FKind == sbVertical) FOwner->ScrollContent(*this, 0, delta);
    else FOwner->ScrollContent(*this, delta, 0);
  }
  Update();
}

void TNxCustomScrollBar::SendScroll(int Code) {
  UINT msg = FKind == sbVertical ? WM_VSCROLL : WM_HSCROLL;
  if (FOwner->HandleAllocated()) SendMessageW(FOwner->Handle(), msg, static_cast<WPARAM>(Code), 0);
  else FOwner->Perform(msg, static_cast<WPARAM>(Code), 0);
}

void TNxCustomScrollBar::StepForward() {
  if (FMax >= 1) SendScroll(SB_LINEDOWN);
}

void TNxCustomScrollBar::StepBack() {
  if (FMax >= 1 && FPosition != 0) SendScroll(SB_LINEUP);
}

void TNxCustomScrollBar::PageForward() {
  if (FMax >= 1) SendScroll(SB_PAGEDOWN);
}

void TNxCustomScrollBar::PageBack() {
  if (FMax >= 1) SendScroll(SB_PAGEUP);
}

int TNxCustomScrollBar::TrackPosition() const {
  if (!FOwner->HandleAllocated()) return 0;
  if (!FOwner->WindowScrollBars()) return FShownPosition;
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_TRACKPOS;
  if (!GetScrollInfo(FOwner->Handle(), BarId(), &info)) return 0;
  return info.nTrackPos;
}

void TNxCustomScrollBar::Scroll(int Code) {
  int position = FPosition;
  switch (Code) {
    case SB_LINEUP: FLastScrollKind = skLine; position -= FSmallChange; break;
    case SB_LINEDOWN: FLastScrollKind = skLine; position += FSmallChange; break;
    case SB_PAGEUP: FLastScrollKind = skPage; position -= FLargeChange; break;
    case SB_PAGEDOWN: FLastScrollKind = skPage; position += FLargeChange; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: FLastScrollKind = skThumb; position = TrackPosition(); break;
    case SB_TOP: FLastScrollKind = skEnds; position = 0; break;
    case SB_BOTTOM: FLastScrollKind = skEnds; position = FMax; break;
    default: return;
  }
  SetPosition(position);  // clamps to the last full page
}

// ---------------------------------------------------------------------------- TNxScrollBar

void TNxScrollBar::SetVisible(bool Value) {
  TNxCustomScrollBar::SetVisible(Value);
  if (FOwner->HandleAllocated() && FOwner->WindowScrollBars())
    ShowScrollBar(FOwner->Handle(), BarId(), Value);
}

void TNxScrollBar::Update() {
  if (FInUpdate) return;
  FInUpdate = true;
  int track = TrackPosition();
  bool windowed = FOwner->HandleAllocated();
  // Setting the range of a window bar shows it again, whatever ShowScrollBar said before.
  if (windowed && FOwner->WindowScrollBars()) {
    HWND window = FOwner->Handle();
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    if (!FAutoHide) info.fMask |= SIF_DISABLENOSCROLL;
    info.nMin = FMin;
    info.nMax = FMax;
    info.nPage = static_cast<UINT>(FPageSize);
    info.nPos = FPosition;
    if (FMax > 0)
      EnableScrollBar(window, BarId(),
                      FOwner->Enabled() && FEnabled ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH);
    SetScrollInfo(window, BarId(), &info, TRUE);
  }
  FShownPosition = FPosition;
  FInUpdate = false;
  // The window's bar showed another position: whoever follows the grid must hear of it. The
  // model is often in the middle of a range change here, so a listener that fails is
  // reported and the change goes on.
  if (windowed && track != FPosition)
    if (auto* control = dynamic_cast<TNxScrollControl*>(FOwner))
      efir::Guarded([&] { control->DoScroll(FKind, FPosition); });
}

// ----------------------------------------------------------------------------
// TNxCustomScrollControl

TNxCustomScrollControl::TNxCustomScrollControl(TComponent* AOwner) : TCustomControl(AOwner) {}

int TNxCustomScrollControl::HorzScrollDelta(int, int) { return 0; }
int TNxCustomScrollControl::VertScrollDelta(int, int) { return 0; }
void TNxCustomScrollControl::AfterScroll(TScrollBarKind) {}
void TNxCustomScrollControl::BeforeScroll(TScrollBarKind) {}

RECT TNxCustomScrollControl::HorzScrollArea() { return ClientRect(); }
RECT TNxCustomScrollControl::VertScrollArea() { return ClientRect(); }

void TNxCustomScrollControl::ScrollContent(TNxCustomScrollBar& Bar, int DX, int DY) {
  BeforeScroll(Bar.Kind());
  if (HandleAllocated()) {
    RECT area = DX != 0 ? HorzScrollArea() : VertScrollArea();
    ScrollWindowEx(Handle(), DX, DY, &area, &area, nullptr, nullptr, SW_INVALIDATE);
  }
  AfterScroll(Bar.Kind());
}

void TNxCustomScrollControl::SetWindowScrollBars(bool Value) {
  if (Value == FWindowScrollBars) return;
  FWindowScrollBars = Value;
  RecreateWnd();
}

void TNxCustomScrollControl::FocusNextControl() {
  if (Parent()) PostMessageW(Parent()->Handle(), WM_KEYDOWN, VK_TAB, 0);
}

void TNxCustomScrollControl::FocusPreviousControl() {
  if (!Parent()) return;
  PostMessageW(Parent()->Handle(), WM_KEYDOWN, VK_SHIFT, 0);
  PostMessageW(Parent()->Handle(), WM_KEYDOWN, VK_TAB, 0);
}

void TNxCustomScrollControl::FocusSelf() {
  if (GetParentForm()) ::SetFocus(Handle());
}

// ---------------------------------------------------------------------------- TNxScrollControl

namespace grid {

TRollDirection RollDirection(int dy) {
  if (dy < -5) return rdUp;
  if (dy > 5) return rdDown;
  return rdNone;
}

unsigned RollInterval(int dy) {
  return static_cast<unsigned>(std::max(100 - std::abs(dy), 1));
}

}  // namespace grid

TNxScrollControl::TNxScrollControl(TComponent* AOwner)
    : TNxCustomScrollControl(AOwner),
      FRollTimer(new TTimer(this)),
      FRollShadow(new TRollShadow(this)) {
  FRollShadow->SetParent(this);
  FRollTimer->SetEnabled(false);
  FRollTimer->SetInterval(1);
  FRollTimer->OnTimer = [this](TObject*) { RollTick(); };
  Screen.RegisterCursor(crRoll, L"ROLL");
  Screen.RegisterCursor(crRollUp, L"ROLLUP");
  Screen.RegisterCursor(crRollDown, L"ROLLDOWN");
}

TNxScrollControl::~TNxScrollControl() = default;

void TNxScrollControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TNxCustomScrollControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbMiddle || !FRollScrolling) return;
  FRolling = true;
  FRollOrigin = {X, Y};
  FRollDirection = rdNone;
  Screen.SetCursor(crRoll);
  FRollShadow->SetCursor(crRoll);
  FRollShadow->PlaceAt(ClientToScreen(FRollOrigin));
  FRollShadow->Show();
  FRollTimer->SetInterval(1);
  FRollTimer->SetEnabled(true);
  SetMouseCapture(true);
}

void TNxScrollControl::MouseMove(TShiftState Shift, int X, int Y) {
  TNxCustomScrollControl::MouseMove(Shift, X, Y);
  if (!FRolling) return;
  FRollDirection = grid::RollDirection(Y - FRollOrigin.y);
  TCursor cursor = FRollDirection == rdUp     ? crRollUp
                   : FRollDirection == rdDown ? crRollDown
                                              : crRoll;
  // Setting the screen cursor moves the mouse to where it is: only on a change.
  if (Screen.Cursor() != cursor) Screen.SetCursor(cursor);
  FRollShadow->SetCursor(cursor);
}

void TNxScrollControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TNxCustomScrollControl::MouseUp(Button, Shift, X, Y);
  if (!FRolling) return;
  FRollTimer->SetEnabled(false);
  FRolling = false;
  FRollShadow->Hide();
  Screen.SetCursor(crDefault);
  SetMouseCapture(false);
}

// Farther from the origin scrolls faster: one line a tick, the tick shorter.
void TNxScrollControl::RollTick() {
  POINT cursor;
  GetCursorPos(&cursor);
  int dy = ScreenToClient(cursor).y - FRollOrigin.y;
  FRollTimer->SetInterval(grid::RollInterval(dy));
  if (FRollDirection == rdUp) FVertScrollBar.StepBack();
  else if (FRollDirection == rdDown) FVertScrollBar.StepForward();
}

void TNxScrollControl::DoScroll(TScrollBarKind Kind, int Position) {
  const TScrollPositionEvent& event = Kind == sbVertical ? OnVerticalScroll : OnHorizontalScroll;
  if (event) event(this, Position);
}

void TNxScrollControl::CreateParams(TCreateParams& Params) {
  TNxCustomScrollControl::CreateParams(Params);
  Params.Style |= WS_CLIPCHILDREN;
  if (WindowScrollBars()) Params.Style |= WS_HSCROLL | WS_VSCROLL;
}

void TNxScrollControl::CreateWnd() {
  TNxCustomScrollControl::CreateWnd();
  FHorzScrollBar.Update();
  FVertScrollBar.Update();
}

bool TNxScrollControl::DoMouseWheel(TShiftState Shift, int WheelDelta, POINT MousePos) {
  if (FMouseWheelEnabled) return true;
  bool handled = false;
  const TMouseWheelUpDownEvent& event = WheelDelta < 0 ? OnMouseWheelDown : OnMouseWheelUp;
  if (event) event(this, Shift, MousePos, handled);
  return handled;
}

void TNxScrollControl::ScrollMessage(TScrollBarKind Kind, TMessage& Message) {
  TNxScrollBar& bar = ScrollBarOf(Kind);
  bar.Scroll(LOWORD(Message.WParam));
  DoScroll(Kind, bar.Position());
}

void TNxScrollControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ERASEBKGND:
      Message.Result = 1;
      return;
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS;
      return;
    case WM_HSCROLL:
    case WM_VSCROLL:
      TNxCustomScrollControl::WndProc(Message);
      // A scroll-bar control's message went back to that control; ours have no window.
      if (Message.LParam == 0)
        ScrollMessage(Message.Msg == WM_VSCROLL ? sbVertical : sbHorizontal, Message);
      return;
    case WM_MOUSEWHEEL: {
      POINT point{static_cast<short>(LOWORD(Message.LParam)),
                  static_cast<short>(HIWORD(Message.LParam))};
      TShiftState shift = efir::KeyboardShiftState();
      if (DoMouseWheel(shift, static_cast<short>(HIWORD(Message.WParam)), point)) {
        Message.Result = 0;
        return;
      }
      break;
    }
    case CM_ENABLEDCHANGED:
      TNxCustomScrollControl::WndProc(Message);
      FHorzScrollBar.Update();
      FVertScrollBar.Update();
      return;
  }
  TNxCustomScrollControl::WndProc(Message);
}
