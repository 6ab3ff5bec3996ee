#include "grid/number_editors.h"

#include <algorithm>

#include "framework/text_encoding.h"
#include "grid/grid_text.h"

namespace {

bool IsSign(wchar_t c) { return c == L'+' || c == L'-'; }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

bool IsNumberChar(wchar_t c) {
  return c == 8 || IsSign(c) || IsDigit(c) || c == grid::DecimalSeparator();
}

double Limited(double Value, double Min, double Max) {
  if (Max == 0 && Min == 0) return Value;
  return std::clamp(Value, Min, std::max(Min, Max));
}

std::wstring Shortest(double Value) { return efir::text::fromAnsi(efir::FloatToStr(Value)); }

// The clipboard's text, empty when it holds none.
std::wstring ClipboardText(HWND Owner) {
  std::wstring text;
  if (!OpenClipboard(Owner)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

}  // namespace

namespace grid {

std::wstring CleanNumber(const std::wstring& Text, bool AllowFloat, bool AllowSigns, double Min,
                         double Max) {
  std::wstring text = Text;
  const wchar_t separator = DecimalSeparator();
  bool separatorMet = false;
  for (size_t i = 0; i < text.size();) {
    const wchar_t c = text[i];
    bool drop = !IsNumberChar(c);
    if (!drop && c == separator) {
      drop = !AllowFloat || separatorMet;
      separatorMet = true;
    }
    if (!drop && IsSign(c)) drop = !AllowSigns || i != 0;
    if (drop) text.erase(i, 1);
    else ++i;
  }
  if (text == L"-" || text == L"+") text = L"0";
  if (text.empty()) return Shortest(Min);
  return Shortest(Limited(efir::StrToFloat(efir::text::toAnsi(text)), Min, Max));
}

}  // namespace grid

// ---------------------------------------------------------------------------- number editor

TNxCustomNumberEdit::TNxCustomNumberEdit(TComponent* AOwner) : TNxEdit(AOwner) {}

void TNxCustomNumberEdit::SetNullText(const std::wstring& Value) {
  FNullText = Value;
  ShowValue(0);
}

void TNxCustomNumberEdit::SetPrecision(int Value) {
  FPrecision = Value;
  ShowValue(this->Value());
}

void TNxCustomNumberEdit::SetTextAfter(const std::wstring& Value) {
  FTextAfter = Value;
  if (!Allows(eoAllowAll)) ShowValue(this->Value());
}

void TNxCustomNumberEdit::SetTextBefore(const std::wstring& Value) {
  FTextBefore = Value;
  if (!Allows(eoAllowAll)) ShowValue(this->Value());
}

std::wstring TNxCustomNumberEdit::FormatValue(double Value) const {
  if (Value == 0 && !FNullText.empty()) return FNullText;
  std::string number;
  if (!Allows(eoAllowFloat)) number = efir::FloatToStrFixed(Value, 0, 17);
  else if (FPrecision <= 0) number = efir::FloatToStr(Value);
  else number = efir::FloatToStrFixed(Value, FPrecision, 17);
  return FTextBefore + efir::text::fromAnsi(number) + FTextAfter;
}

void TNxCustomNumberEdit::ShowValue(double Value) {
  if (!Configuring()) SetAsString(FormatValue(Value));
}

double TNxCustomNumberEdit::Value() {
  const std::wstring text = GetAsString();
  if (text == FNullText) {
    ShowValue(0);
    return 0;
  }
  if (text.empty()) return FMin;
  const std::wstring cleaned =
      grid::CleanNumber(text, Allows(eoAllowFloat), Allows(eoAllowSigns), FMin, FMax);
  double value = 0;
  if (!efir::TryStrToFloat(efir::text::toAnsi(cleaned), value)) return FLastValid;
  FLastValid = value;
  return value;
}

void TNxCustomNumberEdit::SetAsFloat(double Value) {
  TNxEdit::SetAsFloat(Value);
  SetValue(Value);
}

void TNxCustomNumberEdit::SetAsInteger(int Value) {
  TNxEdit::SetAsInteger(Value);
  SetValue(Value);
}

void TNxCustomNumberEdit::ReformatText() {
  if (!Allows(eoAllowAll)) ShowValue(Value());
}

void TNxCustomNumberEdit::BeforeApply() { ReformatText(); }

void TNxCustomNumberEdit::CreateWnd() {
  TNxEdit::CreateWnd();
  ReformatText();
}

// Whether the typed character may go into the text at the caret.
bool TNxCustomNumberEdit::AcceptsChar(wchar_t Key) {
  if (Allows(eoDisableTyping)) return false;
  if (Allows(eoAllowAll)) return true;
  if (Key == 3 || Key == 9 || Key == 22 || Key == 24) return true;
  if (!IsNumberChar(Key) && Key != 13) return false;
  const std::wstring text = GetAsString();
  const size_t start = static_cast<size_t>(SelStart());
  const size_t end = start + static_cast<size_t>(SelLength());
  auto outsideSelection = [&](auto test) {
    for (size_t i = 0; i < text.size(); ++i)
      if ((i < start || i >= end) && test(text[i])) return true;
    return false;
  };
  if (Key == grid::DecimalSeparator()) {
    return Allows(eoAllowFloat) &&
           !outsideSelection([](wchar_t c) { return c == grid::DecimalSeparator(); });
  }
  if (IsSign(Key)) {
    if (!Allows(eoAllowSigns)) return false;
    const bool hasSign = std::any_of(text.begin(), text.end(), IsSign);
    const bool signSelected = hasSign && !outsideSelection(IsSign);
    return (start == 0 && !hasSign) || signSelected;
  }
  return true;
}

void TNxCustomNumberEdit::KeyPress(char& Key) {
  TNxEdit::KeyPress(Key);
  if (!Key) return;
  const std::wstring typed = efir::text::fromAnsi(std::string(1, Key));
  if (typed.empty() || !AcceptsChar(typed[0])) Key = 0;
}

void TNxCustomNumberEdit::KeyDown(WORD& Key, TShiftState Shift) {
  TNxEdit::KeyDown(Key, Shift);
  if (Allows(eoDisableTyping) && (Key == VK_BACK || Key == VK_CLEAR || Key == VK_DELETE)) Key = 0;
}

// The clipboard's text, cleaned to what the text around the selection can still take,
// replaces the selection.
void TNxCustomNumberEdit::Paste() {
  const std::wstring text = GetAsString();
  const int start = SelStart();
  const size_t end = static_cast<size_t>(start + SelLength());
  const std::wstring outside = text.substr(0, static_cast<size_t>(start)) + text.substr(end);
  const bool floats = Allows(eoAllowFloat) && outside.find(grid::DecimalSeparator()) == std::wstring::npos;
  const bool signs = Allows(eoAllowSigns) && start == 0;
  const std::wstring cleaned = grid::CleanNumber(ClipboardText(Handle()), floats, signs, FMin, FMax);
  SendMessageW(Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(cleaned.c_str()));
  SetSelStart(start);
}

void TNxCustomNumberEdit::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PASTE:
      if (!Allows(eoDisablePaste)) Paste();
      return;
    case WM_KILLFOCUS:
      TNxEdit::WndProc(Message);
      if (HandleAllocated()) ReformatText();
      return;
  }
  TNxEdit::WndProc(Message);
}

// ---------------------------------------------------------------------------- spin editor

TNxSpinEdit::TNxSpinEdit(TComponent* AOwner)
    : TNxCustomNumberEdit(AOwner),
      FButtons(new TNxSpinButtonPair(this)),
      FExecute(new TNxExecuteButton(this)) {
  SetPrecision(0);
  FButtons->SetParent(this);
  FButtons->OnSpin = [this](TSpinButtons Buttons) { Spin(Buttons); };
  FExecute->SetParent(this);
  FExecute->OnClick = [this](TObject*) {
    if (OnButtonClick) OnButtonClick(this);
  };
}

void TNxSpinEdit::SetSpinButtons(bool Value) {
  FSpinButtons = Value;
  FButtons->SetVisible(Value);
  ApplyMargins();
}

void TNxSpinEdit::SetShowButton(bool Value) {
  FShowButton = Value;
  FExecute->SetVisible(Value);
  ApplyMargins();
  PlaceButtons();
}

void TNxSpinEdit::SetButtonWidth(int Value) {
  FButtonWidth = Value;
  FExecute->SetWidth(Value);
  ApplyMargins();
  PlaceButtons();
}

void TNxSpinEdit::SetButtonCaption(const std::wstring& Value) {
  FButtonCaption = Value;
  FExecute->SetCaption(Value);
}

void TNxSpinEdit::Spin(TSpinButtons Buttons) {
  if (ReadOnly()) return;
  if (HandleAllocated() && IsWindowVisible(Handle()) && !Focused()) SetFocus();
  const bool signs = Allows(eoAllowSigns);
  double value = Value();
  if (Buttons & sbUp) {
    if (RangeInForce() && value + FIncrement > Max()) return;
    value += FIncrement;
  } else if (Buttons & sbDown) {
    if (value == 0 && !signs) return;
    if (RangeInForce() && value - FIncrement < Min()) return;
    // Without signs the text could not show a negative value: the step stops at 0.
    value = signs ? value - FIncrement : std::max(value - FIncrement, 0.0);
  } else {
    return;
  }
  SetValue(value);
  if (!HandleAllocated()) return;
  SetSelStart(GetWindowTextLengthW(Handle()));
  if (OnSpin) OnSpin(this, Buttons);
  SendMessageW(Handle(), EM_SETMODIFY, TRUE, 0);
}

void TNxSpinEdit::AdjustMargins(int& Left, int& Right) {
  TNxCustomNumberEdit::AdjustMargins(Left, Right);
  if (FSpinButtons) Right += GetSystemMetrics(SM_CXVSCROLL);
  if (FShowButton) Left += FButtonWidth;
}

void TNxSpinEdit::PlaceButtons() {
  if (!HandleAllocated()) return;
  RECT client = ClientRect();
  const int width = GetSystemMetrics(SM_CXVSCROLL);
  if (BorderStyle() == bsSingle) FButtons->SetBounds(client.right - width, 1, width, client.bottom - 1);
  else FButtons->SetBounds(client.right - width, 0, width, client.bottom + 1);
  FExecute->SetBounds(0, 0, FButtonWidth, client.bottom);
  FButtons->Invalidate();
  FExecute->Invalidate();
}

void TNxSpinEdit::CreateWnd() {
  TNxCustomNumberEdit::CreateWnd();
  PlaceButtons();
}

void TNxSpinEdit::EditingStarted() {
  TNxCustomNumberEdit::EditingStarted();
  FButtons->Invalidate();
  FExecute->Invalidate();
}

void TNxSpinEdit::KeyDown(WORD& Key, TShiftState Shift) {
  TNxCustomNumberEdit::KeyDown(Key, Shift);
  if ((Key == VK_UP || Key == VK_DOWN) && !SpinLock() && FSpinButtons)
    FButtons->SetPressed(Key == VK_UP ? sbUp : sbDown);
}

void TNxSpinEdit::KeyUp(WORD& Key, TShiftState Shift) {
  TNxCustomNumberEdit::KeyUp(Key, Shift);
  if (!SpinLock()) FButtons->SetPressed(0);
}

void TNxSpinEdit::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SIZE:
      TNxCustomNumberEdit::WndProc(Message);
      PlaceButtons();
      return;
    case WM_MOUSEWHEEL:
      if (!SpinLock() && FSpinButtons) {
        Spin(GET_WHEEL_DELTA_WPARAM(Message.WParam) < 0 ? sbDown : sbUp);
        FButtons->SetPressed(0);
      }
      Message.Result = 0;
      return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      FButtons->SetHot(Message.Msg == CM_MOUSEENTER ? sbUp | sbDown : 0);
      break;
  }
  TNxCustomNumberEdit::WndProc(Message);
}
