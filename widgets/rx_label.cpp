#include "widgets/rx_label.h"

#include "framework/forms.h"
#include "framework/text_encoding.h"

namespace {

POINT ShadowOffset(TShadowPosition direction, int size) {
  switch (direction) {
    case spLeftTop: return {-size, -size};
    case spLeftBottom: return {-size, size};
    case spRightBottom: return {size, size};
    case spRightTop: return {size, -size};
  }
  return {0, 0};
}

UINT AlignmentFlag(TAlignment alignment) {
  if (alignment == taRightJustify) return DT_RIGHT;
  if (alignment == taCenter) return DT_CENTER;
  return DT_LEFT;
}

}  // namespace

namespace efir {

int DrawTextWithShadow(HDC dc, std::wstring_view text, TShadowPosition direction,
                       COLORREF shadowColor, int size, UINT flags, RECT& rect) {
  RECT textRect = rect, shadowRect = rect;
  POINT offset = ShadowOffset(direction, size);
  OffsetRect(&shadowRect, offset.x, offset.y);
  int length = static_cast<int>(text.size());
  COLORREF before = SetTextColor(dc, shadowColor);
  int height = DrawTextW(dc, text.data(), length, &shadowRect, flags);
  SetTextColor(dc, before);
  DrawTextW(dc, text.data(), length, &textRect, flags);
  UnionRect(&rect, &textRect, &shadowRect);
  return height > 0 ? height + size : height;
}

bool OwnWindowActive() {
  HWND active = GetActiveWindow();
  return active && GetWindowThreadProcessId(active, nullptr) == GetCurrentThreadId();
}

}  // namespace efir

TRxCustomLabel::TRxCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetControlStyle(ControlStyle() | csOpaque);
  SetParentColor(true);
  SetBounds(0, 0, 65, 17);
  Screen.RegisterCursor(crRxHand, L"RX_HANDCUR");
  Screen.RegisterCursor(crRxDrag, L"RX_DRAGCUR");
}

void TRxCustomLabel::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  Invalidate();
}

void TRxCustomLabel::SetAutoSize(bool value) {
  if (value == autoSize_) return;
  autoSize_ = value;
  FitLabelSize();
}

void TRxCustomLabel::SetLayout(TTextLayout value) {
  if (value == layout_) return;
  layout_ = value;
  Invalidate();
}

void TRxCustomLabel::SetShadowColor(TColor value) {
  if (value == shadowColor_) return;
  shadowColor_ = value;
  Invalidate();
}

void TRxCustomLabel::SetShadowSize(uint8_t value) {
  if (value == shadowSize_) return;
  shadowSize_ = value;
  FitLabelSize();
  Invalidate();
}

void TRxCustomLabel::SetShadowPos(TShadowPosition value) {
  if (value == shadowPos_) return;
  shadowPos_ = value;
  Invalidate();
}

void TRxCustomLabel::SetShowAccelChar(bool value) {
  if (value == showAccelChar_) return;
  showAccelChar_ = value;
  Invalidate();
}

void TRxCustomLabel::SetShowFocus(bool value) {
  if (value == showFocus_) return;
  showFocus_ = value;
  Invalidate();
}

void TRxCustomLabel::SetFocusControl(TWinControl* value) {
  if (value == focusControl_) return;
  if (focusControl_) RemoveFreeNotification(focusControl_);
  focusControl_ = value;
  if (value) FreeNotification(value);
  if (showFocus_) Invalidate();
}

void TRxCustomLabel::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == opRemove && component == focusControl_) focusControl_ = nullptr;
}

void TRxCustomLabel::SetTransparent(bool value) {
  if (value == Transparent()) return;
  TControlStyle style = ControlStyle();
  SetControlStyle(value ? style & ~static_cast<TControlStyle>(csOpaque) : style | csOpaque);
  Invalidate();
}

void TRxCustomLabel::SetWordWrap(bool value) {
  if (value == wordWrap_) return;
  wordWrap_ = value;
  FitLabelSize();
}

void TRxCustomLabel::TextChanged() {
  Invalidate();
  FitLabelSize();
}

void TRxCustomLabel::DrawLabelText(HDC dc, RECT& rect, UINT flags) {
  std::string text = LabelText();
  if ((flags & DT_CALCRECT) && (text.empty() || (showAccelChar_ && text == "&"))) text += " ";
  if (!showAccelChar_) flags |= DT_NOPREFIX;
  TShadowPosition direction = shadowPos_;
  int size = shadowSize_;
  TColor textColor = TextColor();
  TColor shadowColor = shadowColor_;
  if (!Enabled()) {
    if (size == 0) {
      direction = spRightBottom;
      size = 1;
    }
    textColor = clGrayText;
    shadowColor = clBtnHighlight;
  }
  COLORREF before = SetTextColor(dc, ColorToRGB(textColor));
  efir::DrawTextWithShadow(dc, efir::text::fromAnsi(text), direction, ColorToRGB(shadowColor),
                           size, flags, rect);
  SetTextColor(dc, before);
}

void TRxCustomLabel::Paint() {
  if (!Enabled()) dragging_ = false;
  TCanvas& canvas = Canvas();
  RECT client = ClientRect();
  if (!Transparent()) {
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(Color());
    canvas.FillRect(client);
  }
  canvas.Brush().SetStyle(bsClear);
  HDC dc = canvas.Handle();
  SetBkMode(dc, TRANSPARENT);
  RECT r{client.left + 1, client.top, client.right - 1, client.bottom};
  UINT flags = DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0) | AlignmentFlag(alignment_);
  if (layout_ != tlTop) {
    DrawLabelText(dc, r, flags | DT_CALCRECT);
    r.left = client.left;
    r.right = client.right;
    int shift = Height() - r.bottom;
    OffsetRect(&r, 0, layout_ == tlBottom ? shift : shift / 2);
  }
  DrawLabelText(dc, r, flags);
  if (showFocus_ && focusControl_ && focusControl_->Focused()) {
    InflateRect(&r, 1, 0);
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(Color());
    canvas.DrawFocusRect(r);
  }
}

void TRxCustomLabel::FitLabelSize() {
  if (!autoSize_) return;
  RECT r = ClientRect();
  InflateRect(&r, -1, 0);
  {
    TCanvas measure;
    efir::gdi::WindowDC screen;
    efir::CanvasBinding bound(measure, screen);
    measure.Font().Assign(Font());
    DrawLabelText(measure.Handle(), r,
                  (wordWrap_ ? DT_WORDBREAK : 0) | DT_EXPANDTABS | DT_CALCRECT);
  }
  InflateRect(&r, 1, 0);
  int x = Left();
  if (alignment_ == taRightJustify) x += Width() - r.right;
  SetBounds(x, Top(), r.right, r.bottom);
}

void TRxCustomLabel::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CM_MOUSEENTER:
      if (!mouseInside_ && Enabled() && efir::OwnWindowActive()) {
        mouseInside_ = true;
        RaiseMouseEnter();
      }
      return;
    case CM_MOUSELEAVE:
      if (mouseInside_ && Enabled() && !dragging_) {
        mouseInside_ = false;
        RaiseMouseLeave();
      }
      return;
    case CM_FONTCHANGED:
      TGraphicControl::WndProc(Message);
      FitLabelSize();
      return;
    case CM_ENABLEDCHANGED:
    case CM_VISIBLECHANGED:
      TGraphicControl::WndProc(Message);
      UpdateMouseInside();
      return;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      TGraphicControl::WndProc(Message);
      UpdateMouseInside();
      return;
    case CM_FOCUSCHANGED: {
      const bool focused =
          focusControl_ && focusControl_ == reinterpret_cast<TControl*>(Message.LParam);
      if (focused != focused_ && showFocus_) Invalidate();
      focused_ = focused;
      break;
    }
    case CM_DIALOGCHAR:
      DialogChar(Message);
      return;
  }
  TGraphicControl::WndProc(Message);
}

void TRxCustomLabel::DialogChar(TMessage& Message) {
  if (!focusControl_ || !Enabled() || !showAccelChar_) return;
  if (!IsAccelerator(static_cast<wchar_t>(Message.WParam)) || !focusControl_->CanFocus()) return;
  focusControl_->SetFocus();
  Message.Result = 1;
}

bool TRxCustomLabel::IsAccelerator(wchar_t key) {
  const std::wstring caption = efir::text::fromAnsi(Caption());
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != L'&') continue;
    if (caption[i + 1] == L'&') {
      ++i;  // "&&" is a plain "&"
      continue;
    }
    return CharUpperW(reinterpret_cast<LPWSTR>(static_cast<uintptr_t>(caption[i + 1]))) ==
           CharUpperW(reinterpret_cast<LPWSTR>(static_cast<uintptr_t>(key)));
  }
  return false;
}

void TRxCustomLabel::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  // A handler that ran a loop of its own (a popup menu) may have taken the button's release
  // and the mouse with it: the press drags only while the label still holds the mouse, or
  // the label would never hear that the mouse left.
  if (Button == mbLeft && Enabled()) dragging_ = MouseCapture();
}

void TRxCustomLabel::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  dragging_ = false;
  UpdateMouseInside();
}

void TRxCustomLabel::UpdateMouseInside() {
  bool inside = false;
  if (Enabled() && Visible() && Parent() && Parent()->HandleAllocated() && efir::OwnWindowActive()) {
    POINT cursor;
    GetCursorPos(&cursor);
    // The topmost control there, a disabled one too: a sibling laid over the label hides it.
    inside = WindowFromPoint(cursor) == Parent()->Handle() &&
             Parent()->ControlAtPos(Parent()->ScreenToClient(cursor), true) == this;
  }
  if (inside == mouseInside_) return;
  mouseInside_ = inside;
  if (inside) RaiseMouseEnter();
  else RaiseMouseLeave();
}

void TRxCustomLabel::RaiseMouseEnter() {
  if (OnMouseEnter) OnMouseEnter(this);
}

void TRxCustomLabel::RaiseMouseLeave() {
  if (OnMouseLeave) OnMouseLeave(this);
}
