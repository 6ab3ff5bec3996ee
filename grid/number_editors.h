// The number editors: TNxCustomNumberEdit keeps only a number in its text (typing, pasting
// and reading filter it, with an optional range, decimals, text before and after it, and a
// text for zero), and TNxSpinEdit, the editor of number columns, adds an up/down button pair
// that steps the value by Increment (also with the Up and Down keys and the wheel) and an
// optional execute button at its left edge (OnButtonClick).
//
//   auto* spin = new TNxSpinEdit(form);
//   spin->SetParent(form);
//   spin->SetMax(10);                   // a range is in force when Min or Max is not 0
//   spin->SetValue(9);
//   spin->Spin(sbUp);                   // 10; a further step up is refused
//
// Numbers are written and read with the locale's decimal separator.
#pragma once

#include <functional>
#include <string>

#include "framework/convert.h"
#include "framework/timer.h"
#include "grid/column_kinds.h"
#include "grid/editor_buttons.h"
#include "grid/inplace_edit.h"

namespace grid {

// Text cleaned to a number: characters that cannot be part of one are dropped (the decimal
// separator without AllowFloat or after the first one, a sign unless AllowSigns and first);
// a lone sign is 0; the number is limited to Min..Max when either is not 0 and written in
// the shortest form; nothing left gives Min. A text that is no number even so (a lone
// separator) raises the conversion error.
std::wstring CleanNumber(const std::wstring& Text, bool AllowFloat, bool AllowSigns,
                         double Min = 0, double Max = 0);

}  // namespace grid

class TNxCustomNumberEdit : public TNxEdit {
 public:
  explicit TNxCustomNumberEdit(TComponent* AOwner);

  double Max() const { return FMax; }
  void SetMax(double Value) { FMax = Value; }
  double Min() const { return FMin; }
  void SetMin(double Value) { FMin = Value; }
  const std::wstring& NullText() const { return FNullText; }
  void SetNullText(const std::wstring& Value);
  TNxNumberEditOptions Options() const { return FOptions; }
  void SetOptions(TNxNumberEditOptions Value) { FOptions = Value; }
  int Precision() const { return FPrecision; }
  void SetPrecision(int Value);
  const std::wstring& TextAfter() const { return FTextAfter; }
  void SetTextAfter(const std::wstring& Value);
  const std::wstring& TextBefore() const { return FTextBefore; }
  void SetTextBefore(const std::wstring& Value);
  // The number the text holds, limited to the range; a text without digits gives Min, one
  // that stopped being a number the last valid value.
  double Value();
  void SetValue(double Value) { ShowValue(Value); }

  std::wstring FormatValue(double Value) const;
  // Shows Value, unless a column is configuring the editor.
  void ShowValue(double Value);

  double GetAsFloat() override { return Value(); }
  int GetAsInteger() override { return static_cast<int>(Value()); }
  void SetAsFloat(double Value) override;
  void SetAsInteger(int Value) override;
  // The text becomes the value's own form before the grid takes it.
  void BeforeApply() override;
  void WndProc(TMessage& Message) override;

 protected:
  void CreateWnd() override;
  void KeyPress(char& Key) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  bool RangeInForce() const { return FMax != 0 || FMin != 0; }
  bool Allows(TNxNumberEditOption Option) const { return (FOptions & Option) != 0; }

 private:
  void ReformatText();
  bool AcceptsChar(wchar_t Key);
  void Paste();

  double FMax = 0;
  double FMin = 0;
  std::wstring FNullText;
  TNxNumberEditOptions FOptions = eoAllowFloat | eoAllowSigns;
  int FPrecision = 2;
  std::wstring FTextAfter;
  std::wstring FTextBefore;
  double FLastValid = 0;
};

class TNxSpinEdit : public TNxCustomNumberEdit {
 public:
  explicit TNxSpinEdit(TComponent* AOwner);

  double Increment() const { return FIncrement; }
  void SetIncrement(double Value) { FIncrement = Value; }
  bool SpinButtons() const { return FSpinButtons; }
  void SetSpinButtons(bool Value);
  // The execute button at the left edge.
  const std::wstring& ButtonCaption() const { return FButtonCaption; }
  void SetButtonCaption(const std::wstring& Value);
  bool ShowButton() const { return FShowButton; }
  void SetShowButton(bool Value);
  int ButtonWidth() const { return FButtonWidth; }
  void SetButtonWidth(int Value);
  TNxSpinButtonPair* ButtonPair() const { return FButtons; }
  TNxExecuteButton* ExecuteButton() const { return FExecute; }

  // One step up or down, within the range; nothing on a read-only editor.
  void Spin(TSpinButtons Buttons);
  int GetAsInteger() override { return efir::Round(Value()); }
  void EditingStarted() override;

  TNotifyEvent OnButtonClick;
  std::function<void(TObject* Sender, TSpinButtons Buttons)> OnSpin;

  void WndProc(TMessage& Message) override;

 protected:
  void CreateWnd() override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;
  void AdjustMargins(int& Left, int& Right) override;

 private:
  void PlaceButtons();

  double FIncrement = 1.0;
  bool FSpinButtons = true;
  std::wstring FButtonCaption;
  bool FShowButton = false;
  int FButtonWidth = 21;
  TNxSpinButtonPair* FButtons;
  TNxExecuteButton* FExecute;
};
