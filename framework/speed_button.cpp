#include "framework/speed_button.h"

#include <algorithm>

#include "framework/text_encoding.h"

TSpeedButton::TSpeedButton(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 23, 22);
  SetControlStyle(csCaptureMouse | csDoubleClicks);
}

void TSpeedButton::SetNumGlyphs(int value) {
  numGlyphs_ = std::max(1, value);
  Changed();
}

void TSpeedButton::SetLayout(TButtonLayout value) {
  layout_ = value;
  Changed();
}

void TSpeedButton::SetSpacing(int value) {
  spacing_ = value;
  Changed();
}

void TSpeedButton::SetMargin(int value) {
  margin_ = value;
  Changed();
}

void TSpeedButton::SetFlat(bool value) {
  flat_ = value;
  Changed();
}

void TSpeedButton::SetDown(bool value) {
  down_ = value;
  state_ = value ? bsExclusive : bsUp;
  Changed();
}

void TSpeedButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || !Enabled()) return;
  state_ = bsDown;
  Repaint();
}

void TSpeedButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft || state_ != bsDown) return;
  const bool inside = X >= 0 && Y >= 0 && X < Width() && Y < Height();
  if (inside && allowAllUp_) down_ = !down_;
  state_ = down_ ? bsExclusive : bsUp;
  Repaint();
  if (inside) Click();
}

void TSpeedButton::Paint() {
  TCanvas& canvas = Canvas();
  HDC dc = canvas.Handle();
  RECT r{0, 0, Width(), Height()};
  const bool pressed = state_ == bsDown || state_ == bsExclusive;
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  if (!flat_ || pressed) DrawEdge(dc, &r, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  const int shift = pressed ? 1 : 0;
  int textLeft = 0;
  if (!glyph_.Empty()) {
    const int gw = glyph_.Width() / numGlyphs_, gh = glyph_.Height();
    const int x = (Width() - gw) / 2 + shift;
    BitBlt(dc, Caption().empty() ? x : 4 + shift, (Height() - gh) / 2 + shift, gw, gh, glyph_.Canvas().Handle(), 0, 0,
           SRCCOPY);
    textLeft = 4 + gw;
  }
  if (Caption().empty()) return;
  RECT text{textLeft + shift, shift, Width() + shift, Height() + shift};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(Enabled() ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  const std::wstring caption = efir::text::fromAnsi(Caption());
  DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}
