#include "framework/hint_window.h"

#include "framework/application.h"
#include "framework/forms.h"
#include "framework/text_encoding.h"

namespace {

// Room between the border and the text.
constexpr int kMarginX = 3, kMarginY = 1;
constexpr UINT kTextFormat = DT_LEFT | DT_WORDBREAK | DT_NOPREFIX;

}  // namespace

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
  TControl::SetVisible(false);
  SetColor(clInfoBk);
  SetParentFont(false);
  Font().Assign(Screen.HintFont());
  Font().SetColor(clInfoText);
}

void THintWindow::CreateParams(TCreateParams& Params) {
  Params.Caption = efir::text::fromAnsi(text_);
  Params.Style = WS_POPUP | WS_BORDER;
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  Params.X = left_;
  Params.Y = top_;
  Params.Width = width_;
  Params.Height = height_;
  Params.WndParent = Application.Handle();
  Params.ClassStyle |= CS_SAVEBITS;
}

RECT THintWindow::CalcHintRect(int maxWidth, const std::string& hint) {
  RECT text{0, 0, maxWidth, 0};
  std::wstring wide = efir::text::fromAnsi(hint);
  efir::gdi::WindowDC screen;
  efir::gdi::Selection font(screen, Font().Handle());
  DrawTextW(screen, wide.c_str(), static_cast<int>(wide.size()), &text, kTextFormat | DT_CALCRECT);
  int border = 2 * GetSystemMetrics(SM_CXBORDER);
  return {0, 0, text.right + 2 * kMarginX + border, text.bottom + 2 * kMarginY + border};
}

void THintWindow::ActivateHint(const RECT& rect, const std::string& hint) {
  SetText(hint);
  SetBounds(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
  SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  SetVisible(true);
  Invalidate();
}

void THintWindow::Paint() {
  RECT r = ClientRect();
  InflateRect(&r, -kMarginX, -kMarginY);
  std::wstring wide = efir::text::fromAnsi(Text());
  HDC dc = Canvas().Handle();
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(Font().Color()));
  efir::gdi::Selection font(dc, Font().Handle());
  DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &r, kTextFormat);
}

void THintWindow::WndProc(TMessage& Message) {
  if (Message.Msg == WM_NCHITTEST) {
    Message.Result = HTTRANSPARENT;
    return;
  }
  TCustomControl::WndProc(Message);
}
