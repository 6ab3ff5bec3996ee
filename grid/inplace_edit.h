// The single-line editors the grid lays over a cell while it is edited (grid_editing.cpp),
// usable on a form as plain edit controls too. TNxCustomEdit reads and writes its text as
// typed values (the grid goes through GetAsString / SetAsString), keeps edit margins, and
// answers the grid's hooks (BeforeApply before the text is taken, EditingStarted once it is
// shown). TNxEdit is the editor of text columns; the number editors are number_editors.h.
//
//   auto* edit = new TNxEdit(form);
//   edit->SetParent(form);
//   edit->SetAsString(L"Радио");        // wide text, kept wide in the window
//   column->SetInplaceEdit(edit);       // the column edits with it instead of its own
//
// Text is wide end to end, so a cell's text survives an edit whatever its characters.
#pragma once

#include <string>

#include "framework/forms.h"
#include "framework/stdctrls.h"

class TNxCustomEdit : public TEdit {
 public:
  explicit TNxCustomEdit(TComponent* AOwner);

  // --- typed value access (empty text reads as 0 for numbers and dates) ---
  virtual bool GetAsBoolean();
  virtual double GetAsDateTime();
  virtual double GetAsFloat();
  virtual int GetAsInteger();
  virtual std::wstring GetAsString();
  virtual void SetAsBoolean(bool Value);
  virtual void SetAsDateTime(double Value);
  virtual void SetAsFloat(double Value);
  virtual void SetAsInteger(int Value);
  virtual void SetAsString(const std::wstring& Value);

  // --- the grid's hooks ---
  virtual void BeforeApply() {}
  virtual void EditingStarted() {}

  // --- look and behaviour ---
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);  // remakes the window
  bool AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool Value) { FAutoSelect = Value; }
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value);  // bsNone or bsSingle; remakes the window
  int MarginLeft() const { return FMarginLeft; }
  int MarginRight() const { return FMarginRight; }
  void SetMargins(int Left, int Right);
  bool WantTabs() const { return FWantTabs; }
  void SetWantTabs(bool Value) { FWantTabs = Value; }
  // Set while a grid column configures the editor: value writers leave the text alone.
  bool Configuring() const { return FConfiguring; }
  void SetConfiguring(bool Value) { FConfiguring = Value; }
  // Set while the Up and Down keys and the wheel must not spin (number editors).
  bool SpinLock() const { return FSpinLock; }
  void SetSpinLock(bool Value) { FSpinLock = Value; }

  void WndProc(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  // The margins sent to the window; descendants make room for their own parts.
  virtual void AdjustMargins(int& Left, int& Right);
  void ApplyMargins();

 private:
  TAlignment FAlignment = taLeftJustify;
  bool FAutoSelect = true;
  TFormBorderStyle FBorderStyle = bsSingle;
  int FMarginLeft = 0;
  int FMarginRight = 0;
  bool FWantTabs = false;
  bool FConfiguring = false;
  bool FSpinLock = false;
};

// The editor of text columns.
class TNxEdit : public TNxCustomEdit {
 public:
  explicit TNxEdit(TComponent* AOwner) : TNxCustomEdit(AOwner) {}
  // Puts the caret after the last character.
  void EditingStarted() override;
};
