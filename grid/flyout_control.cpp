#include "grid/flyout_control.h"

TNxFlyoutControl::TNxFlyoutControl(TComponent* AOwner) : TCustomControl(AOwner) {
  SetVisible(false);
}

void TNxFlyoutControl::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = (Params.Style & ~(WS_CHILD | WS_GROUP | WS_TABSTOP)) | WS_POPUP;
  Params.ExStyle |= WS_EX_TOOLWINDOW;
  Params.ClassStyle |= CS_SAVEBITS;
}

void TNxFlyoutControl::CreateWnd() {
  TCustomControl::CreateWnd();
  BringToFront();
}

void TNxFlyoutControl::WndProc(TMessage& Message) {
  // Paint covers every pixel: erasing first would only flicker.
  if (Message.Msg == WM_ERASEBKGND) {
    Message.Result = 1;
    return;
  }
  TCustomControl::WndProc(Message);
}
