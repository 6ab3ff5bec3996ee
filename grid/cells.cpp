#include "grid/cells.h"

#include <objbase.h>

#include "framework/convert.h"
#include "framework/exceptions.h"
#include "framework/text_encoding.h"
#include "grid/columns.h"

namespace {

std::string Ansi(const std::wstring& text) { return efir::text::toAnsi(text); }
std::wstring Wide(const std::string& text) { return efir::text::fromAnsi(text); }

std::wstring BoolText(bool value) { return Wide(efir::BoolToStr(value)); }
std::wstring DateTimeText(double value) { return Wide(efir::DateTimeToStr(value)); }
std::wstring FloatText(double value) { return Wide(efir::FloatToStr(value)); }
std::wstring IntText(int value) { return Wide(efir::IntToStr(value)); }

double ParseDateTimeOrZero(const std::wstring& text) {
  if (text.empty()) return 0;
  return efir::StrToDateTime(Ansi(text));
}

}  // namespace

// --- TBooleanCell ---

std::wstring TBooleanCell::GetAsString() { return BoolText(FValue); }
void TBooleanCell::Store(bool Value) {
  FValue = Value;
  TCell::SetAsBoolean(Value);
}
void TBooleanCell::SetAsBoolean(bool Value) { Store(Value); }
void TBooleanCell::SetAsDateTime(double) { Store(false); }
void TBooleanCell::SetAsFloat(double Value) { Store(Value != 0); }
void TBooleanCell::SetAsInteger(int Value) { Store(Value != 0); }
void TBooleanCell::SetAsString(const std::wstring& Value) {
  // Only "1" and "true" in any letter case mean True; every other text is False, no error.
  std::string text = Ansi(Value);
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  Store(text == "1" || text == "true");
}
void TBooleanCell::Clear() {
  FValue = false;
  TCell::Clear();
}

// --- TDateTimeCell ---

int TDateTimeCell::GetAsInteger() { return efir::Trunc(FValue); }
std::wstring TDateTimeCell::GetAsString() { return DateTimeText(FValue); }
void TDateTimeCell::Store(double Value) {
  FValue = Value;
  TCell::SetAsDateTime(Value);
}
void TDateTimeCell::SetAsBoolean(bool) { Store(efir::Date()); }
void TDateTimeCell::SetAsDateTime(double Value) { Store(Value); }
void TDateTimeCell::SetAsFloat(double Value) { Store(Value); }
void TDateTimeCell::SetAsInteger(int Value) { Store(Value); }
void TDateTimeCell::SetAsString(const std::wstring& Value) {
  double value = 0;
  try {
    value = ParseDateTimeOrZero(Value);
  } catch (const EConvertError&) {
    value = 0;  // an unreadable date is stored as day 0, without complaint
  }
  Store(value);
}
void TDateTimeCell::Clear() {
  FValue = 0;
  TCell::Clear();
}

// --- TFloatCell ---

int TFloatCell::GetAsInteger() { return efir::Round(FValue); }
std::wstring TFloatCell::GetAsString() { return FloatText(FValue); }
void TFloatCell::Store(double Value) {
  FValue = Value;
  TCell::SetAsFloat(Value);
}
void TFloatCell::SetAsBoolean(bool) { Store(0); }
void TFloatCell::SetAsDateTime(double Value) { Store(Value); }
void TFloatCell::SetAsFloat(double Value) { Store(Value); }
void TFloatCell::SetAsInteger(int Value) { Store(Value); }
void TFloatCell::SetAsString(const std::wstring& Value) { Store(efir::StrToFloat(Ansi(Value))); }
void TFloatCell::Clear() {
  FValue = 0;
  TCell::Clear();
}

// --- TIntegerCell ---

std::wstring TIntegerCell::GetAsString() { return IntText(FValue); }
void TIntegerCell::Store(int Value) {
  FValue = Value;
  TCell::SetAsInteger(Value);
}
void TIntegerCell::SetAsBoolean(bool Value) { Store(Value ? 1 : 0); }
void TIntegerCell::SetAsDateTime(double) { Store(0); }
void TIntegerCell::SetAsFloat(double Value) { Store(efir::Round(Value)); }
void TIntegerCell::SetAsInteger(int Value) { Store(Value); }
void TIntegerCell::SetAsString(const std::wstring& Value) {
  Store(Value.empty() ? 0 : efir::StrToInt(Ansi(Value)));
}
void TIntegerCell::Clear() {
  FValue = 0;
  TCell::Clear();
}

// --- TStringCell ---

bool TStringCell::GetAsBoolean() { return efir::StrToBool(Ansi(FValue)); }
double TStringCell::GetAsDateTime() { return ParseDateTimeOrZero(FValue); }
double TStringCell::GetAsFloat() { return efir::StrToFloat(Ansi(FValue)); }
int TStringCell::GetAsInteger() { return efir::StrToInt(Ansi(FValue)); }
void TStringCell::SetAsBoolean(bool Value) { SetAsString(BoolText(Value)); }
void TStringCell::SetAsDateTime(double Value) { SetAsString(DateTimeText(Value)); }
void TStringCell::SetAsFloat(double Value) { SetAsString(FloatText(Value)); }
void TStringCell::SetAsInteger(int Value) { SetAsString(IntText(Value)); }
void TStringCell::SetAsString(const std::wstring& Value) {
  FValue = Value;
  TCell::SetAsString(Value);
}
void TStringCell::Clear() {
  FValue.clear();
  TCell::Clear();
}

// --- TIncrementCell ---

int TIncrementCell::GetAsInteger() { return Cells->CurrentRow() + 1; }
std::wstring TIncrementCell::GetAsString() { return IntText(GetAsInteger()); }

// --- TTextBackedCell ---

bool TTextBackedCell::GetAsBoolean() { return efir::StrToBool(Ansi(GetAsString())); }
double TTextBackedCell::GetAsDateTime() { return efir::StrToDateTime(Ansi(GetAsString())); }
double TTextBackedCell::GetAsFloat() { return efir::StrToFloat(Ansi(GetAsString())); }
int TTextBackedCell::GetAsInteger() { return efir::StrToInt(Ansi(GetAsString())); }
void TTextBackedCell::SetAsBoolean(bool Value) { SetAsString(BoolText(Value)); }
void TTextBackedCell::SetAsDateTime(double Value) { SetAsString(DateTimeText(Value)); }
void TTextBackedCell::SetAsFloat(double Value) { SetAsString(FloatText(Value)); }
void TTextBackedCell::SetAsInteger(int Value) { SetAsString(IntText(Value)); }

// --- TGuidCell ---

TGuidCell::TGuidCell(TCells* Owner) : TTextBackedCell(Owner), FValue() { CoCreateGuid(&FValue); }
std::wstring TGuidCell::GetAsString() { return Wide(efir::GUIDToString(FValue)); }
void TGuidCell::SetAsString(const std::wstring& Value) {
  FValue = efir::StringToGUID(Ansi(Value));
  TCell::SetAsString(Value);
}

// --- TVirtualCell ---

TVirtualCell::TVirtualCell(TCells* Owner, TNxCustomColumn* Column)
    : TTextBackedCell(Owner), FColumn(Column) {}
std::wstring TVirtualCell::GetAsString() {
  std::wstring text;
  if (FColumn) FColumn->GetVirtualText(Cells->CurrentColumn(), Cells->CurrentRow(), text);
  return text;
}
void TVirtualCell::SetAsString(const std::wstring& Value) {
  if (FColumn) FColumn->SetVirtualText(Cells->CurrentColumn(), Cells->CurrentRow(), Value);
  TCell::SetAsString(Value);
}
