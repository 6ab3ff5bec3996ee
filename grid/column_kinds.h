// The three column classes the programs place in their grids: text (station names, button
// texts), number (the station number of the list, whose cells hold floats, so it sorts
// 9 before 10) and picture (station logos; the picture is the cell's CellObject and stays
// the caller's). Each sets the cell kind its rows get and its own display-text rule.
//
//   auto* number = columns.Add(std::make_unique<TNxNumberColumn>());
//   number->Header()->SetCaption(L"#");
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "grid/columns.h"

class TNxTextColumn : public TNxCustomColumn {
 public:
  TNxTextColumn();

  int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int Value);
  bool MultiLine() const { return FMultiLine; }
  void SetMultiLine(bool Value);
  const std::wstring& TextAfter() const { return FTextAfter; }
  void SetTextAfter(const std::wstring& Value);
  const std::wstring& TextBefore() const { return FTextBefore; }
  void SetTextBefore(const std::wstring& Value);
  wchar_t PasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(wchar_t Value);

  std::unique_ptr<TColumnDisplay> CreateDisplay() override;
  uint8_t GetCapabilities() const override { return ccEditable | ccFitOnGripClick | ccTextKind; }
  uint8_t GetDisplayOptions() const override { return FMultiLine ? doMultiLine : 0; }
  int MeasureTextWidth(TCanvas& Canvas, const std::wstring& Text) const override;
  bool IsValidInputChar(wchar_t Key) const override { return Key > L' '; }
  // TextBefore + text + TextAfter; all of it masked when a PasswordChar is set.
  void GetDrawText(const TCellInfo& Info, std::wstring& Text) const override;
  void Assign(const TNxCustomColumn& Source) override;

 private:
  int FMaxLength = 0;
  bool FMultiLine = false;
  std::wstring FTextAfter;
  std::wstring FTextBefore;
  wchar_t FPasswordChar = 0;
};

enum TNxNumberEditOption : uint8_t {
  eoAllowAll = 1,
  eoAllowFloat = 2,
  eoAllowSigns = 4,
  eoDisablePaste = 8,
  eoDisableTyping = 16
};
using TNxNumberEditOptions = uint8_t;

class TNxCustomNumberColumn : public TNxCustomColumn {
 public:
  TNxCustomNumberColumn();

  TNxNumberEditOptions EditOptions = eoAllowFloat;

  bool HideWhenEmpty() const { return FHideWhenEmpty; }
  void SetHideWhenEmpty(bool Value);
  double Min() const { return FMin; }
  void SetMin(double Value) { FMin = Value; }
  double Max() const { return FMax; }
  void SetMax(double Value) { FMax = Value; }
  const std::string& FormatMask() const { return FFormatMask; }
  void SetFormatMask(const std::string& Value);
  const std::wstring& EmptyCaption() const { return FEmptyCaption; }
  void SetEmptyCaption(const std::wstring& Value);
  const std::wstring& TextAfter() const { return FTextAfter; }
  void SetTextAfter(const std::wstring& Value);
  const std::wstring& TextBefore() const { return FTextBefore; }
  void SetTextBefore(const std::wstring& Value);
  double EmptyValue() const { return FEmptyValue; }
  void SetEmptyValue(double Value);

  std::unique_ptr<TColumnDisplay> CreateDisplay() override;
  uint8_t GetCapabilities() const override { return ccEditable | ccFitOnGripClick | ccTextKind; }
  // Digits; signs with eoAllowSigns; the locale's decimal separator with eoAllowFloat.
  bool IsValidInputChar(wchar_t Key) const override;
  void GetDrawText(const TCellInfo& Info, std::wstring& Text) const override;
  void Assign(const TNxCustomColumn& Source) override;

 private:
  bool FHideWhenEmpty = false;
  double FMin = 0;
  double FMax = 0;
  std::string FFormatMask;
  std::wstring FEmptyCaption;
  std::wstring FTextAfter;
  std::wstring FTextBefore;
  double FEmptyValue = 0;
};

class TNxNumberColumn : public TNxCustomNumberColumn {
 public:
  TNxNumberColumn();

  // Settings the spin editor takes the next time it is prepared.
  double Increment = 1.0;
  bool SpinButtons = true;
  int Precision = 0;
  bool ShowButton = false;
  std::wstring ButtonCaption;
  std::function<void(TNxNumberColumn* Sender)> OnButtonClick;

  // The spin editor's button was pressed.
  void DoButtonClick();
  void Assign(const TNxCustomColumn& Source) override;
};

class TNxGraphicColumn : public TNxCustomColumn {
 public:
  TNxGraphicColumn();

  std::unique_ptr<TColumnDisplay> CreateDisplay() override;

  int Margin() const { return FMargin; }
  void SetMargin(int Value);
  bool Stretch() const { return FStretch; }
  void SetStretch(bool Value);
  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int Value);

 private:
  int FMargin = 4;
  bool FStretch = false;
  int FBorderWidth = 1;
};

namespace grid {

// A number through a format mask: '0' a digit always shown, '#' a digit shown when
// significant, '.' the decimal separator, ',' anywhere before it groups thousands; other
// characters are copied. The locale's separators are used.
std::string FormatFloat(const std::string& Mask, double Value);

}  // namespace grid
