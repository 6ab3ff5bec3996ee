#include "grid/inplace_edit.h"

#include "framework/convert.h"
#include "framework/text_encoding.h"
#include "grid/edit_info.h"
#include "grid/theme_draw.h"

TNxCustomEdit::TNxCustomEdit(TComponent* AOwner)
    : TEdit(AOwner), FInfo(new TNxEditInfo(this)) {
  SetBounds(0, 0, 121, 20);
  FInfo->SetParent(this);
  Screen.RegisterCursor(crReversedArrow, L"REVERSEDARROW", IDC_ARROW);
}

// ---------------------------------------------------------------------------- typed values

bool TNxCustomEdit::GetAsBoolean() { return efir::StrToBool(Text()); }

double TNxCustomEdit::GetAsDateTime() {
  const std::string text = Text();
  return text.empty() ? 0 : efir::StrToDateTime(text);
}

double TNxCustomEdit::GetAsFloat() {
  const std::string text = Text();
  return text.empty() ? 0 : efir::StrToFloat(text);
}

int TNxCustomEdit::GetAsInteger() {
  const std::string text = Text();
  return text.empty() ? 0 : efir::StrToInt(text);
}

std::wstring TNxCustomEdit::GetAsString() {
  if (!HandleAllocated()) return efir::text::fromAnsi(Text());
  const int length = GetWindowTextLengthW(Handle());
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(Handle(), text.data(), length + 1)));
  return text;
}

void TNxCustomEdit::SetAsBoolean(bool Value) { SetText(efir::BoolToStr(Value)); }
void TNxCustomEdit::SetAsDateTime(double Value) { SetText(efir::DateTimeToStr(Value)); }
void TNxCustomEdit::SetAsFloat(double Value) { SetText(efir::FloatToStr(Value)); }
void TNxCustomEdit::SetAsInteger(int Value) { SetText(efir::IntToStr(Value)); }

// The window keeps the wide text as it is; only a control without a window yet holds it in
// the framework's code page until the window is made.
void TNxCustomEdit::SetAsString(const std::wstring& Value) {
  if (!HandleAllocated()) {
    SetText(efir::text::toAnsi(Value));
    return;
  }
  if (Value != GetAsString()) SetWindowTextW(Handle(), Value.c_str());
}

// ---------------------------------------------------------------------------- look

void TNxCustomEdit::SetAlignment(TAlignment Value) {
  if (Value == FAlignment) return;
  FAlignment = Value;
  RecreateWnd();
}

void TNxCustomEdit::SetBorderStyle(TFormBorderStyle Value) {
  if (Value == FBorderStyle) return;
  FBorderStyle = Value;
  RecreateWnd();
}

void TNxEditMargins::SetLeft(int Value) {
  if (Value == FLeft) return;
  FLeft = Value;
  if (FOwner.HandleAllocated()) FOwner.RecreateWnd();
}

void TNxEditMargins::SetRight(int Value) {
  if (Value == FRight) return;
  FRight = Value;
  if (FOwner.HandleAllocated()) FOwner.RecreateWnd();
}

void TNxCustomEdit::SetCharCase(TEditCharCase Value) {
  if (Value == FCharCase) return;
  FCharCase = Value;
  if (!HandleAllocated()) return;
  RecreateWnd();
  if (Value == ecNormal) return;
  std::wstring text = GetAsString();
  if (Value == ecUpperCase) CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
  else CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
  SetAsString(text);
}

void TNxCustomEdit::SetPasswordChar(wchar_t Value) {
  if (Value == FPasswordChar) return;
  FPasswordChar = Value;
  if (!HandleAllocated()) return;
  SendMessageW(Handle(), EM_SETPASSWORDCHAR, Value, 0);
  Invalidate();
}

void TNxCustomEdit::SetBiDiMode(TBiDiMode Value) {
  if (Value == FBiDiMode) return;
  FBiDiMode = Value;
  if (HandleAllocated()) RecreateWnd();
}

void TNxCustomEdit::SetBevels(const TEditBevels& Value) {
  if (Value == FBevels) return;
  FBevels = Value;
  if (HandleAllocated())
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

RECT TNxCustomEdit::BorderRect() { return grid::InsideBevels({0, 0, Width(), Height()}, FBevels); }

void TNxCustomEdit::SetBorderWidth(int Value) {
  if (Value == FBorderWidth) return;
  FBorderWidth = Value;
  RecreateWnd();
}

// ---------------------------------------------------------------------------- glyph, preview

// The glyph's bottom-left pixel gives its transparent colour, as the grid's header glyphs.
void TNxCustomEdit::SetGlyph(const TGraphic& Value) {
  FGlyph.Assign(Value);
  if (!FGlyph.Empty()) {
    FGlyph.SetTransparentColor(clDefault);
    FGlyph.SetTransparentColor(FGlyph.TransparentColor());
    FGlyph.SetTransparent(true);
  }
  ApplyMargins();
  if (HandleAllocated()) RecreateWnd();
}

void TNxCustomEdit::SetShowPreview(bool Value) {
  FShowPreview = Value;
  ApplyMargins();
  PlaceInfo();
  Invalidate();
}

void TNxCustomEdit::SetPreviewBorder(bool Value) {
  FPreviewBorder = Value;
  FInfo->Invalidate();
}

void TNxCustomEdit::GetPreviewRect(RECT& Rect) {
  Rect = ClientRect();
  Rect.left += FGlyph.Empty() ? 0 : FGlyph.Width() + 4;
  Rect.right = Rect.left + 20;
}

void TNxCustomEdit::DoPreviewDraw(TCanvas& Canvas, const RECT& Rect) {
  if (OnCustomPreviewDraw) OnCustomPreviewDraw(this, Canvas, Rect);
}

int TNxCustomEdit::InfoRight() {
  return FInfo->HandleAllocated() && IsWindowVisible(FInfo->Handle())
             ? FInfo->Left() + FInfo->Width()
             : 0;
}

void TNxCustomEdit::PlaceInfo() {
  if (!HandleAllocated()) return;
  const int width = (FGlyph.Empty() ? 0 : FGlyph.Width() + 4) + (FShowPreview ? 20 : 0);
  FInfo->SetBounds(0, 0, width, ClientHeight());
  FInfo->SetVisible(FShowPreview || !FGlyph.Empty());
}

void TNxCustomEdit::AdjustMargins(int& Left, int&) {
  if (FShowPreview) Left += 25;
  if (!FGlyph.Empty()) Left += FGlyph.Width() + 4;
}

void TNxCustomEdit::ApplyMargins() {
  if (!HandleAllocated()) return;
  int left = FEditMargins.Left(), right = FEditMargins.Right();
  AdjustMargins(left, right);
  SendMessageW(Handle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(left, right));
}

void TNxCustomEdit::CreateParams(TCreateParams& Params) {
  TEdit::CreateParams(Params);
  Params.Style |= WS_CLIPCHILDREN | ES_AUTOVSCROLL | ES_AUTOHSCROLL;
  TAlignment alignment = FAlignment;
  if (FBiDiMode == bdRightToLeft && alignment != taCenter)
    alignment = alignment == taLeftJustify ? taRightJustify : taLeftJustify;
  if (alignment == taRightJustify) Params.Style |= ES_RIGHT;
  else if (alignment == taCenter) Params.Style |= ES_CENTER;
  if (FCharCase == ecUpperCase) Params.Style |= ES_UPPERCASE;
  if (FCharCase == ecLowerCase) Params.Style |= ES_LOWERCASE;
  if (FBiDiMode != bdLeftToRight) Params.ExStyle |= WS_EX_RTLREADING;
  if (FBiDiMode == bdRightToLeft || FBiDiMode == bdRightToLeftNoAlign)
    Params.ExStyle |= WS_EX_LEFTSCROLLBAR;
  if (FBorderStyle == bsNone) Params.ExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
}

void TNxCustomEdit::CreateWnd() {
  TEdit::CreateWnd();
  if (FPasswordChar) SendMessageW(Handle(), EM_SETPASSWORDCHAR, FPasswordChar, 0);
  // The window measured its frame before it was ours: once more, with the bevels and the
  // BorderWidth band.
  if (FBorderWidth > 0 || FBevels.Kind != bkNone)
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  ApplyMargins();
  PlaceInfo();
}

void TNxCustomEdit::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      TEdit::WndProc(Message);
      Message.Result |= DLGC_WANTARROWS;
      if (FWantTabs) Message.Result |= DLGC_WANTTAB;
      else Message.Result &= ~static_cast<LRESULT>(DLGC_WANTTAB);
      return;
    case CM_FONTCHANGED:
      TEdit::WndProc(Message);
      ApplyMargins();
      return;
    case WM_NCCALCSIZE: {
      // The bevels lie outside the border, the BorderWidth band inside it, outside the text.
      RECT* client = Message.WParam
                         ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(Message.LParam)->rgrc[0]
                         : reinterpret_cast<RECT*>(Message.LParam);
      *client = grid::InsideBevels(*client, FBevels);
      TEdit::WndProc(Message);
      if (Message.WParam && FBorderWidth > 0) InflateRect(client, -FBorderWidth, -FBorderWidth);
      return;
    }
    case WM_NCPAINT:
      if (FBevels.Kind == bkNone) break;
      PaintFrame();
      Message.Result = 0;
      return;
    case WM_ERASEBKGND:
      if (EraseBackground()) break;
      Message.Result = 1;
      return;
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
      TEdit::WndProc(Message);
      if (ComponentState() & csDestroying) return;
      if (Message.Msg == WM_SIZE) ApplyMargins();
      PlaceInfo();
      FInfo->Invalidate();
      return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case CM_ENABLEDCHANGED:
      TEdit::WndProc(Message);
      if (Message.Msg == WM_SETFOCUS && FAutoSelect) SelectAll();
      // The owned parts (info panel, buttons) show the editor's state.
      for (int i = 0; i < ComponentCount(); ++i)
        if (auto* part = dynamic_cast<TControl*>(Components(i))) part->Invalidate();
      return;
  }
  TEdit::WndProc(Message);
}

// The bevels, then the border inside them: the window's own frame painting knows no bevels.
void TNxCustomEdit::PaintFrame() {
  HDC dc = GetWindowDC(Handle());
  const RECT window{0, 0, Width(), Height()};
  grid::PaintBevels(dc, window, FBevels, Color());
  if (FBorderStyle == bsSingle) {
    RECT border = BorderRect();
    DrawEdge(dc, &border, EDGE_SUNKEN, BF_RECT);
  }
  ReleaseDC(Handle(), dc);
}

// ---------------------------------------------------------------------------- TNxEdit

void TNxEdit::EditingStarted() {
  if (HandleAllocated()) SetSelStart(GetWindowTextLengthW(Handle()));
}

bool TNxEdit::InSelectArea(int X) { return X <= InfoRight() + 2; }

void TNxEdit::MouseMove(TShiftState Shift, int X, int Y) {
  SetCursor(InSelectArea(X) ? crReversedArrow : crDefault);
  TNxCustomEdit::MouseMove(Shift, X, Y);
}

void TNxEdit::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
      // After the window's own press, which puts the caret where the mouse is.
      TNxCustomEdit::WndProc(Message);
      if (HandleAllocated() && InSelectArea(static_cast<short>(LOWORD(Message.LParam)))) SelectAll();
      return;
    case WM_NCPAINT:
      TNxCustomEdit::WndProc(Message);
      PaintThemedBorder();
      return;
    case WM_PAINT:
      FrameBorderWidth();
      TNxCustomEdit::WndProc(Message);
      if (!EraseBackground()) AfterPaint();
      return;
  }
  TNxCustomEdit::WndProc(Message);
}

// The border in the system's edit look, the text area left alone.
void TNxEdit::PaintThemedBorder() {
  if (!grid::ThemesActive() || BorderStyle() != bsSingle || !HandleAllocated()) return;
  HDC dc = GetWindowDC(Handle());
  const RECT border = BorderRect();
  ExcludeClipRect(dc, border.left + 2, border.top + 2, border.right - 2, border.bottom - 2);
  grid::DrawThemePart(Handle(), dc, border, 0, 1, L"edit");
  ReleaseDC(Handle(), dc);
}

// One frame in the control's colour for each pixel of BorderWidth, inside the border.
void TNxEdit::FrameBorderWidth() {
  if (BorderWidth() <= 0 || !HandleAllocated()) return;
  HDC dc = GetWindowDC(Handle());
  HBRUSH brush = CreateSolidBrush(ColorToRGB(Color()));
  RECT frame = BorderRect();
  const int start = BorderStyle() == bsSingle ? -1 : 1;
  InflateRect(&frame, start, start);
  for (int i = 0; i < BorderWidth(); ++i) {
    InflateRect(&frame, -1, -1);
    FrameRect(dc, &frame, brush);
  }
  DeleteObject(brush);
  ReleaseDC(Handle(), dc);
}
