// The typed cells the store makes, one class per kind of column value. Each keeps its value
// in its own form and converts it on demand under the framework's locale settings; bad text
// raises the framework's conversion error and leaves the value (and the grid) untouched.
//
//   TFloatCell cell(&cells);
//   cell.SetAsString(L"12,5");       // with ',' as the decimal separator
//   cell.GetAsInteger();             // 12 (halves round to even)
#pragma once

#include <guiddef.h>

#include "grid/cell_store.h"

class TBooleanCell : public TCell {
 public:
  using TCell::TCell;
  bool GetAsBoolean() override { return FValue; }
  double GetAsDateTime() override { return 0; }
  double GetAsFloat() override { return FValue ? 1.0 : 0.0; }
  int GetAsInteger() override { return FValue ? 1 : 0; }
  std::wstring GetAsString() override;
  void SetAsBoolean(bool Value) override;
  void SetAsDateTime(double Value) override;
  void SetAsFloat(double Value) override;
  void SetAsInteger(int Value) override;
  void SetAsString(const std::wstring& Value) override;
  void Clear() override;

 private:
  void Store(bool Value);
  bool FValue = false;
};

class TDateTimeCell : public TCell {
 public:
  using TCell::TCell;
  bool GetAsBoolean() override { return false; }
  double GetAsDateTime() override { return FValue; }
  double GetAsFloat() override { return FValue; }
  int GetAsInteger() override;
  std::wstring GetAsString() override;
  void SetAsBoolean(bool Value) override;
  void SetAsDateTime(double Value) override;
  void SetAsFloat(double Value) override;
  void SetAsInteger(int Value) override;
  void SetAsString(const std::wstring& Value) override;
  void Clear() override;

 private:
  void Store(double Value);
  double FValue = 0;
};

class TFloatCell : public TCell {
 public:
  using TCell::TCell;
  bool GetAsBoolean() override { return false; }
  double GetAsDateTime() override { return FValue; }
  double GetAsFloat() override { return FValue; }
  int GetAsInteger() override;
  std::wstring GetAsString() override;
  void SetAsBoolean(bool Value) override;
  void SetAsDateTime(double Value) override;
  void SetAsFloat(double Value) override;
  void SetAsInteger(int Value) override;
  void SetAsString(const std::wstring& Value) override;
  void Clear() override;

 private:
  void Store(double Value);
  double FValue = 0;
};

class TIntegerCell : public TCell {
 public:
  using TCell::TCell;
  bool GetAsBoolean() override { return FValue > 0; }
  double GetAsDateTime() override { return 0; }
  double GetAsFloat() override { return FValue; }
  int GetAsInteger() override { return FValue; }
  std::wstring GetAsString() override;
  void SetAsBoolean(bool Value) override;
  void SetAsDateTime(double Value) override;
  void SetAsFloat(double Value) override;
  void SetAsInteger(int Value) override;
  void SetAsString(const std::wstring& Value) override;
  void Clear() override;

 private:
  void Store(int Value);
  int FValue = 0;
};

// Text cells: what the text and picture columns hold. Their readers parse the text.
class TStringCell : public TCell {
 public:
  using TCell::TCell;
  bool GetAsBoolean() override;
  double GetAsDateTime() override;
  double GetAsFloat() override;
  int GetAsInteger() override;
  std::wstring GetAsString() override { return FValue; }
  void SetAsBoolean(bool Value) override;
  void SetAsDateTime(double Value) override;
  void SetAsFloat(double Value) override;
  void SetAsInteger(int Value) override;
  void SetAsString(const std::wstring& Value) override;
  void Clear() override;

 private:
  std::wstring FValue;
};

// A cell whose value is its row number + 1: the row of the store's current cell, which is its
// own whenever it was reached through GetCell just before (as every grid operation does).
class TIncrementCell : public TCell {
 public:
  using TCell::TCell;
  bool GetAsBoolean() override { return false; }
  double GetAsDateTime() override { return 0; }
  double GetAsFloat() override { return GetAsInteger(); }
  int GetAsInteger() override;
  std::wstring GetAsString() override;
  void Clear() override {}  // nothing to reset, nothing to report
};

// Text-based readers and writers shared by the cells whose value is reached through a text.
class TTextBackedCell : public TCell {
 public:
  using TCell::TCell;
  bool GetAsBoolean() override;
  double GetAsDateTime() override;
  double GetAsFloat() override;
  int GetAsInteger() override;
  void SetAsBoolean(bool Value) override;
  void SetAsDateTime(double Value) override;
  void SetAsFloat(double Value) override;
  void SetAsInteger(int Value) override;
};

class TGuidCell : public TTextBackedCell {
 public:
  explicit TGuidCell(TCells* Owner);
  std::wstring GetAsString() override;
  void SetAsString(const std::wstring& Value) override;
  GUID Value() const { return FValue; }

 private:
  GUID FValue;
};

// A cell whose value lives outside the store: the bound column answers for it.
class TVirtualCell : public TTextBackedCell {
 public:
  TVirtualCell(TCells* Owner, TNxCustomColumn* Column);
  std::wstring GetAsString() override;
  void SetAsString(const std::wstring& Value) override;

 private:
  TNxCustomColumn* FColumn;
};
