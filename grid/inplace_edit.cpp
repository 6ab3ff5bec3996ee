#include "grid/inplace_edit.h"

#include "framework/convert.h"
#include "framework/text_encoding.h"

TNxCustomEdit::TNxCustomEdit(TComponent* AOwner) : TEdit(AOwner) {
  SetBounds(0, 0, 121, 20);
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

void TNxCustomEdit::SetMargins(int Left, int Right) {
  FMarginLeft = Left;
  FMarginRight = Right;
  ApplyMargins();
}

void TNxCustomEdit::AdjustMargins(int&, int&) {}

void TNxCustomEdit::ApplyMargins() {
  if (!HandleAllocated()) return;
  int left = FMarginLeft, right = FMarginRight;
  AdjustMargins(left, right);
  SendMessageW(Handle(), EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(left, right));
}

void TNxCustomEdit::CreateParams(TCreateParams& Params) {
  TEdit::CreateParams(Params);
  Params.Style |= WS_CLIPCHILDREN | ES_AUTOVSCROLL | ES_AUTOHSCROLL;
  if (FAlignment == taRightJustify) Params.Style |= ES_RIGHT;
  else if (FAlignment == taCenter) Params.Style |= ES_CENTER;
  if (FBorderStyle == bsNone) Params.ExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
}

void TNxCustomEdit::CreateWnd() {
  TEdit::CreateWnd();
  ApplyMargins();
}

void TNxCustomEdit::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      TEdit::WndProc(Message);
      Message.Result |= DLGC_WANTARROWS;
      if (FWantTabs) Message.Result |= DLGC_WANTTAB;
      else Message.Result &= ~static_cast<LRESULT>(DLGC_WANTTAB);
      return;
    case WM_SETFOCUS:
      TEdit::WndProc(Message);
      if (FAutoSelect) SelectAll();
      return;
    case CM_FONTCHANGED:
      TEdit::WndProc(Message);
      ApplyMargins();
      return;
  }
  TEdit::WndProc(Message);
}

// ---------------------------------------------------------------------------- TNxEdit

void TNxEdit::EditingStarted() {
  if (HandleAllocated()) SetSelStart(GetWindowTextLengthW(Handle()));
}
