#include "grid/editor_buttons.h"

#include <vsstyle.h>

#include "grid/theme_draw.h"

namespace {

// The theme's states of a button part: 1 normal, 2 hot, 3 pressed, 4 disabled.
int ThemeState(bool Enabled, bool Pressed, bool Hot) {
  if (!Enabled) return 4;
  if (Pressed) return 3;
  return Hot ? 2 : 1;
}

}  // namespace

// ---------------------------------------------------------------------------- small button

TNxSmallButton::TNxSmallButton(TWinControl* AEditor) : TCustomControl(AEditor), FEditor(AEditor) {}

void TNxSmallButton::SetCaption(const std::wstring& Value) {
  FCaption = Value;
  Invalidate();
}

bool TNxSmallButton::OwnerEnabled() const { return FEditor->Enabled(); }

void TNxSmallButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  if (FEditor->HandleAllocated() && IsWindowVisible(FEditor->Handle())) FEditor->SetFocus();
  FPressed = true;
  Invalidate();
  if (OnPress) OnPress(this);
}

// The mouse is captured from the press: the release counts wherever it happens.
void TNxSmallButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft || !FPressed) return;
  FPressed = false;
  Invalidate();
  if (OnClick) OnClick(this);
}

void TNxSmallButton::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      FHot = Message.Msg == CM_MOUSEENTER;
      Invalidate();
      break;
  }
  TCustomControl::WndProc(Message);
}

// ---------------------------------------------------------------------------- execute button

TNxExecuteButton::TNxExecuteButton(TWinControl* AEditor) : TNxSmallButton(AEditor) {
  SetBounds(0, 0, 21, 20);
  SetVisible(false);
}

void TNxExecuteButton::Paint() {
  TCanvas& canvas = Canvas();
  RECT face = ClientRect();
  const bool enabled = OwnerEnabled();
  if (grid::ThemesActive()) {
    canvas.Brush().SetColor(Color());
    canvas.FillRect(face);
    RECT themed = face;
    InflateRect(&themed, 1, 1);
    grid::DrawThemePart(Handle(), canvas.Handle(), themed, ThemeState(enabled, Pressed(), Hot()),
                        BP_PUSHBUTTON, L"button");
  } else if (Pressed()) {
    canvas.Brush().SetColor(clBtnFace);
    canvas.FillRect(face);
    canvas.Brush().SetColor(clBtnShadow);
    canvas.FrameRect(face);
  } else {
    UINT state = DFCS_BUTTONPUSH | DFCS_ADJUSTRECT | (enabled ? 0 : DFCS_INACTIVE);
    RECT frame = face;
    DrawFrameControl(canvas.Handle(), &frame, DFC_BUTTON, state);
  }
  canvas.Font().Assign(Font());
  canvas.Font().SetColor(enabled ? clBtnText : clGrayText);
  SetBkMode(canvas.Handle(), TRANSPARENT);
  grid::DrawTextRect(canvas, face, false, Caption(), taCenter);
}

// ---------------------------------------------------------------------------- spin pair

TNxSpinButtonPair::TNxSpinButtonPair(TWinControl* AEditor)
    : TCustomControl(AEditor),
      FEditor(AEditor),
      FDelay(new TTimer(this)),
      FRepeat(new TTimer(this)) {
  FDelay->SetEnabled(false);
  FDelay->SetInterval(400);
  FDelay->OnTimer = [this](TObject*) {
    FDelay->SetEnabled(false);
    FRepeat->SetEnabled(true);
  };
  FRepeat->SetEnabled(false);
  FRepeat->SetInterval(20);
  FRepeat->OnTimer = [this](TObject*) {
    if (FPressed && OnSpin) OnSpin(FPressed);
  };
}

void TNxSpinButtonPair::SetPressed(TSpinButtons Value) {
  FPressed = Value;
  FDelay->SetEnabled(false);
  FRepeat->SetEnabled(false);
  Invalidate();
  if (!Value) return;
  FDelay->SetEnabled(true);
  if (OnSpin) OnSpin(Value);
}

void TNxSpinButtonPair::SetHot(TSpinButtons Value) {
  if (Value == FHot) return;
  FHot = Value;
  Invalidate();
}

void TNxSpinButtonPair::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button == mbLeft) SetPressed(PartAt(Y));
}

void TNxSpinButtonPair::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  SetHot(PartAt(Y));
}

void TNxSpinButtonPair::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (Button == mbLeft) SetPressed(0);
}

void TNxSpinButtonPair::WndProc(TMessage& Message) {
  if (Message.Msg == CM_MOUSELEAVE) SetHot(0);
  TCustomControl::WndProc(Message);
}

void TNxSpinButtonPair::PaintHalf(const RECT& Area, TSpinButton Part) {
  const bool enabled = FEditor->Enabled();
  const bool pressed = (FPressed & Part) != 0;
  HDC dc = Canvas().Handle();
  if (grid::ThemesActive() &&
      grid::DrawThemePart(Handle(), dc, Area, ThemeState(enabled, pressed, (FHot & Part) != 0),
                          Part == sbUp ? SPNP_UP : SPNP_DOWN, L"spin"))
    return;
  UINT state = (Part == sbUp ? DFCS_SCROLLUP : DFCS_SCROLLDOWN) | DFCS_ADJUSTRECT;
  if (pressed) state |= DFCS_PUSHED;
  if (!enabled) state |= DFCS_INACTIVE;
  RECT area = Area;
  DrawFrameControl(dc, &area, DFC_SCROLL, state);
}

void TNxSpinButtonPair::Paint() {
  const int half = Height() / 2;
  PaintHalf({0, -1, Width(), half}, sbUp);
  PaintHalf({0, half, Width(), Height()}, sbDown);
}
