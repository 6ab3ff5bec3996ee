#include "grid/column_kinds.h"

#include <cmath>
#include <cstdio>

#include "framework/convert.h"
#include "framework/text_encoding.h"
#include "grid/grid_text.h"
#include "grid/number_editors.h"

// --- TNxTextColumn ---

TNxTextColumn::TNxTextColumn() {
  SetOptions(coCanClick | coCanInput | coCanSort | coPublicUsing | coShowTextFitHint);
}

void TNxTextColumn::SetMaxLength(int Value) {
  if (grid::StoreChanged(FMaxLength, Value)) Refresh(cpBody);
}
void TNxTextColumn::SetMultiLine(bool Value) {
  if (grid::StoreChanged(FMultiLine, Value)) Refresh(cpBody);
}
void TNxTextColumn::SetTextAfter(const std::wstring& Value) {
  if (grid::StoreChanged(FTextAfter, Value)) Refresh(cpBody);
}
void TNxTextColumn::SetTextBefore(const std::wstring& Value) {
  if (grid::StoreChanged(FTextBefore, Value)) Refresh(cpBody);
}
void TNxTextColumn::SetPasswordChar(wchar_t Value) {
  if (grid::StoreChanged(FPasswordChar, Value)) Refresh(cpBody);
}

int TNxTextColumn::MeasureTextWidth(TCanvas& Canvas, const std::wstring& Text) const {
  return grid::WideTextWidth(Canvas, Text) + 5;
}

void TNxTextColumn::GetDrawText(const TCellInfo& Info, std::wstring& Text) const {
  Text = FTextBefore + Info.AsString + FTextAfter;
  if (FPasswordChar != 0) Text.assign(Text.size(), FPasswordChar);
}

void TNxTextColumn::Assign(const TNxCustomColumn& Source) {
  TNxCustomColumn::Assign(Source);
  auto* text = dynamic_cast<const TNxTextColumn*>(&Source);
  if (!text) return;
  FMaxLength = text->FMaxLength;
  FMultiLine = text->FMultiLine;
  FPasswordChar = text->FPasswordChar;
  FTextAfter = text->FTextAfter;
  FTextBefore = text->FTextBefore;
}

std::unique_ptr<TNxCustomEdit> TNxTextColumn::CreateEditor() {
  return std::make_unique<TNxEdit>(nullptr);
}

void TNxTextColumn::PrepareEditor() {
  TNxCustomColumn::PrepareEditor();
  TNxCustomEdit* editor = Editor();
  editor->SetMaxLength(FMaxLength);
  // A masked column is edited masked too.
  editor->SetPasswordChar(FPasswordChar);
}

// --- TNxCustomNumberColumn ---

TNxCustomNumberColumn::TNxCustomNumberColumn() {
  SetDefaultValue(L"0");
  SetSortType(stNumeric);
  SetColumnKind(4);
}

void TNxCustomNumberColumn::SetHideWhenEmpty(bool Value) {
  if (grid::StoreChanged(FHideWhenEmpty, Value)) Refresh(cpBody);
}
void TNxCustomNumberColumn::SetFormatMask(const std::string& Value) {
  if (grid::StoreChanged(FFormatMask, Value)) Refresh(cpBody);
}
void TNxCustomNumberColumn::SetEmptyCaption(const std::wstring& Value) {
  if (grid::StoreChanged(FEmptyCaption, Value)) Refresh(cpBody);
}
void TNxCustomNumberColumn::SetTextAfter(const std::wstring& Value) {
  if (grid::StoreChanged(FTextAfter, Value)) Refresh(cpBody);
}
void TNxCustomNumberColumn::SetTextBefore(const std::wstring& Value) {
  if (grid::StoreChanged(FTextBefore, Value)) Refresh(cpBody);
}
void TNxCustomNumberColumn::SetEmptyValue(double Value) {
  if (grid::StoreChanged(FEmptyValue, Value)) Refresh(cpBody);
}

bool TNxCustomNumberColumn::IsValidInputChar(wchar_t Key) const {
  if (Key >= L'0' && Key <= L'9') return true;
  if (Key == L'+' || Key == L'-') return EditOptions & eoAllowSigns;
  return Key == grid::DecimalSeparator() && (EditOptions & eoAllowFloat);
}

void TNxCustomNumberColumn::GetDrawText(const TCellInfo& Info, std::wstring& Text) const {
  const double value = Info.AsFloat;
  if (FHideWhenEmpty && value == FEmptyValue) {
    Text = FEmptyCaption;
    return;
  }
  const std::string number =
      FFormatMask.empty() ? efir::FloatToStr(value) : grid::FormatFloat(FFormatMask, value);
  Text = FTextBefore + efir::text::fromAnsi(number) + FTextAfter;
}

void TNxCustomNumberColumn::Assign(const TNxCustomColumn& Source) {
  TNxCustomColumn::Assign(Source);
  auto* number = dynamic_cast<const TNxCustomNumberColumn*>(&Source);
  if (!number) return;
  SetEmptyCaption(number->EmptyCaption());
  SetEmptyValue(number->EmptyValue());
  SetFormatMask(number->FormatMask());
  SetHideWhenEmpty(number->HideWhenEmpty());
  SetMax(number->Max());
  SetMin(number->Min());
  SetTextAfter(number->TextAfter());
  SetTextBefore(number->TextBefore());
}

// --- TNxNumberColumn ---

TNxNumberColumn::TNxNumberColumn() { SetAlignment(taRightJustify); }

void TNxNumberColumn::DoButtonClick() {
  if (OnButtonClick) OnButtonClick(this);
}

void TNxNumberColumn::Assign(const TNxCustomColumn& Source) {
  TNxCustomNumberColumn::Assign(Source);
  auto* number = dynamic_cast<const TNxNumberColumn*>(&Source);
  if (!number) return;
  Increment = number->Increment;
  SpinButtons = number->SpinButtons;
}

std::unique_ptr<TNxCustomEdit> TNxNumberColumn::CreateEditor() {
  return std::make_unique<TNxSpinEdit>(nullptr);
}

void TNxNumberColumn::PrepareEditor() {
  TNxCustomNumberColumn::PrepareEditor();
  auto* spin = static_cast<TNxSpinEdit*>(Editor());
  spin->SetConfiguring(true);
  spin->SetButtonCaption(ButtonCaption);
  spin->SetOptions(EditOptions);
  spin->SetIncrement(Increment);
  spin->SetMax(Max());
  spin->SetMin(Min());
  spin->SetShowButton(ShowButton);
  spin->SetSpinButtons(SpinButtons);
  spin->OnButtonClick = [this](TObject*) { DoButtonClick(); };
  spin->SetConfiguring(false);
}

void TNxNumberColumn::EditorTextSet() {
  static_cast<TNxSpinEdit*>(Editor())->SetPrecision(Precision);
}

// --- TNxGraphicColumn ---

TNxGraphicColumn::TNxGraphicColumn() {
  SetSortType(stAlphabetic);
  SetColumnKind(5);
}

void TNxGraphicColumn::SetMargin(int Value) {
  if (grid::StoreChanged(FMargin, Value)) Refresh(cpWhole);
}
void TNxGraphicColumn::SetStretch(bool Value) {
  if (grid::StoreChanged(FStretch, Value)) Refresh(cpWhole);
}
void TNxGraphicColumn::SetBorderWidth(int Value) {
  if (grid::StoreChanged(FBorderWidth, Value)) Refresh(cpWhole);
}

// --- FormatFloat ---

namespace grid {
namespace {

bool IsDigitPlaceholder(char c) { return c == '0' || c == '#'; }

std::string GroupThousands(const std::string& digits, char separator) {
  std::string out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += separator;
    out += digits[i];
  }
  return out;
}

}  // namespace

std::string FormatFloat(const std::string& Mask, double Value) {
  const std::string mask = Mask.substr(0, Mask.find(';'));  // the positive section only
  const size_t first = mask.find_first_of("0#");
  if (first == std::string::npos) return mask;
  const size_t last = mask.find_last_of("0#");
  const std::string body = mask.substr(first, last - first + 1);
  const size_t point = body.find('.');
  const std::string intPart = body.substr(0, point);
  const std::string fracPart = point == std::string::npos ? "" : body.substr(point + 1);

  int maxDecimals = 0, minDecimals = 0, minIntDigits = 0;
  for (char c : fracPart)
    if (IsDigitPlaceholder(c)) ++maxDecimals, minDecimals += c == '0' ? 1 : 0;
  for (char c : intPart) minIntDigits += c == '0' ? 1 : 0;
  const bool grouped = intPart.find(',') != std::string::npos;

  char fixed[400];
  std::snprintf(fixed, sizeof fixed, "%.*f", maxDecimals, std::fabs(Value));
  std::string text = fixed;
  const size_t dot = text.find('.');
  std::string digits = text.substr(0, dot);
  std::string decimals = dot == std::string::npos ? "" : text.substr(dot + 1);
  while (static_cast<int>(decimals.size()) > minDecimals && decimals.back() == '0')
    decimals.pop_back();
  digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
  if (static_cast<int>(digits.size()) < minIntDigits)
    digits.insert(0, static_cast<size_t>(minIntDigits) - digits.size(), '0');

  const efir::TFormatSettings& settings = efir::FormatSettings();
  std::string number = grouped ? GroupThousands(digits, settings.ThousandSeparator) : digits;
  if (!decimals.empty()) number += settings.DecimalSeparator + decimals;
  const bool negative = Value < 0 && (digits.find_first_not_of('0') != std::string::npos ||
                                      decimals.find_first_not_of('0') != std::string::npos);
  return mask.substr(0, first) + (negative ? "-" : "") + number + mask.substr(last + 1);
}

}  // namespace grid
