// The single-line editors the grid lays over a cell while it is edited (grid_editing.cpp),
// usable on a form as plain edit controls too. TNxCustomEdit reads and writes its text as
// typed values (the grid goes through GetAsString / SetAsString), keeps edit margins, and
// answers the grid's hooks (BeforeApply before the text is taken, EditingStarted once it is
// shown). At its left edge it can show a glyph and a preview box (the info panel,
// edit_info.h); the text starts right of them. TNxEdit is the editor of text columns; the
// number editors are number_editors.h.
//
//   auto* edit = new TNxEdit(form);
//   edit->SetParent(form);
//   edit->SetAsString(L"Радио");        // wide text, kept wide in the window
//   edit->SetGlyph(picture);            // its bottom-left pixel's colour is transparent
//   edit->SetShowPreview(true);         // a 20-pixel box the owner paints:
//   edit->OnCustomPreviewDraw = [](TObject*, TCanvas& c, const RECT& r) { ... };
//   column->SetInplaceEdit(edit);       // the column edits with it instead of its own
//
// Text is wide end to end, so a cell's text survives an edit whatever its characters.
// A press on the editor left of its text (by the info panel, or within 2 pixels of the left
// edge) selects all the text; the cursor there is crReversedArrow.
#pragma once

#include <functional>
#include <string>

#include "framework/bitmap.h"
#include "framework/forms.h"
#include "framework/stdctrls.h"
#include "grid/edit_bevels.h"
#include "grid/grid_types.h"

class TNxEditInfo;
class TNxCustomEdit;

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };

// The editor's own room left and right of its text, in pixels; the glyph and the preview
// add theirs (AdjustMargins). Changing either remakes the editor's window.
class TNxEditMargins {
 public:
  explicit TNxEditMargins(TNxCustomEdit& Owner) : FOwner(Owner) {}
  int Left() const { return FLeft; }
  void SetLeft(int Value);
  int Right() const { return FRight; }
  void SetRight(int Value);

 private:
  TNxCustomEdit& FOwner;
  int FLeft = 0;
  int FRight = 0;
};

constexpr TCursor crReversedArrow = 1000;

using TPreviewDrawEvent = std::function<void(TObject* Sender, TCanvas& Canvas, const RECT& PreviewRect)>;

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
  virtual void EditorHook() {}

  // --- glyph and preview (the info panel) ---
  const TBitmap& Glyph() const { return FGlyph; }
  void SetGlyph(const TGraphic& Value);
  bool ShowPreview() const { return FShowPreview; }
  void SetShowPreview(bool Value);
  bool PreviewBorder() const { return FPreviewBorder; }
  void SetPreviewBorder(bool Value);
  // The preview box in client coordinates: right of the glyph and 4 pixels, 20 wide.
  virtual void GetPreviewRect(RECT& Rect);
  virtual void InfoMouseDown(TMouseButton, TShiftState, int, int) {}
  virtual void DoPreviewDraw(TCanvas& Canvas, const RECT& Rect);
  // The info panel's right edge while it shows, else 0.
  int InfoRight();
  TNxEditInfo* Info() const { return FInfo; }

  // False: the background is left as it is and AfterPaint runs after each paint.
  using TEdit::EraseBackground;
  virtual bool EraseBackground() { return true; }
  virtual void AfterPaint() {}

  // --- look and behaviour ---
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);  // remakes the window
  bool AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool Value) { FAutoSelect = Value; }
  TFormBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TFormBorderStyle Value);  // bsNone or bsSingle; remakes the window
  TNxEditMargins& EditMargins() { return FEditMargins; }
  // Typed letters (and the text there is) in upper or lower case; remakes the window.
  TEditCharCase CharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase Value);
  // Every character shown as this one; 0 shows the text.
  wchar_t PasswordChar() const { return FPasswordChar; }
  void SetPasswordChar(wchar_t Value);
  // Right-to-left reading; bdRightToLeft also swaps the left and right alignments, and it
  // and bdRightToLeftNoAlign put the scroll bar left. Remakes the window.
  TBiDiMode BiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TBiDiMode Value);
  // Rings around the border (edit_bevels.h); remakes the window's frame.
  const TEditBevels& Bevels() const { return FBevels; }
  void SetBevels(const TEditBevels& Value);
  // The window rectangle (window coordinates) inside the bevels: where the border starts.
  RECT BorderRect();
  // Pixels of the control's colour between the border and the text.
  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int Value);  // remakes the window
  bool WantTabs() const { return FWantTabs; }
  void SetWantTabs(bool Value) { FWantTabs = Value; }
  // Set while a grid column configures the editor: value writers leave the text alone.
  bool Configuring() const { return FConfiguring; }
  void SetConfiguring(bool Value) { FConfiguring = Value; }
  // Set while the Up and Down keys and the wheel must not spin (number editors).
  bool SpinLock() const { return FSpinLock; }
  void SetSpinLock(bool Value) { FSpinLock = Value; }

  TNotifyEvent OnGlyphClick;
  TPreviewDrawEvent OnCustomPreviewDraw;

  void WndProc(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  // The margins sent to the window: room for the preview and the glyph; descendants add
  // their own parts.
  virtual void AdjustMargins(int& Left, int& Right);
  void ApplyMargins();
  void PlaceInfo();
  void PaintFrame();

 private:
  TNxEditInfo* FInfo;
  TBitmap FGlyph;
  bool FShowPreview = false;
  bool FPreviewBorder = true;
  int FBorderWidth = 0;
  TAlignment FAlignment = taLeftJustify;
  bool FAutoSelect = true;
  TFormBorderStyle FBorderStyle = bsSingle;
  TNxEditMargins FEditMargins{*this};
  TEditCharCase FCharCase = ecNormal;
  wchar_t FPasswordChar = 0;
  TBiDiMode FBiDiMode = bdLeftToRight;
  TEditBevels FBevels;
  bool FWantTabs = false;
  bool FConfiguring = false;
  bool FSpinLock = false;
};

// The editor of text columns: a themed border, the BorderWidth band in the control's colour,
// and the select-all press left of the text.
class TNxEdit : public TNxCustomEdit {
 public:
  explicit TNxEdit(TComponent* AOwner) : TNxCustomEdit(AOwner) {}
  // Puts the caret after the last character.
  void EditingStarted() override;
  void WndProc(TMessage& Message) override;

 protected:
  void MouseMove(TShiftState Shift, int X, int Y) override;

 private:
  bool InSelectArea(int X);
  void PaintThemedBorder();
  void FrameBorderWidth();
};
