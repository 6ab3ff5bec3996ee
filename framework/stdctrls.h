// The standard controls the programs place on their windows: label, button, bit button, edit,
// memo, check box, combo box, scroll bar, track bar and panel (pictures are in image.h).
//
//   sEdit1 = new TEdit(this);
//   sEdit1->SetParent(this);
//   sEdit1->SetBounds(10, 40, 200, 21);
//   sEdit1->OnChange = [this](TObject* s) { sEdit1Change(s); };
//
// Windowed ones are built on the system's controls and report what the user does through the
// events named here; property setters that the programs rely on raise the events too
// (TCheckBox::SetChecked raises OnClick, TTrackBar::SetPosition raises OnChange).
#pragma once

#include "framework/controls.h"
#include "framework/picture.h"
#include "framework/string_list.h"

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

// Text painted on the parent's surface; see-through unless Transparent is off.
class TLabel : public TGraphicControl {
 public:
  explicit TLabel(TComponent* AOwner);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  // Whether the label takes the size of its text whenever the text or font changes.
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);

 protected:
  void Paint() override;
  // Draws the text into rect of the canvas with the DT_ flags; disabled, in grey.
  virtual void DrawLabelText(RECT rect, UINT flags);
  void TextChanged() override;
  void WndProc(TMessage& Message) override;
  // Takes the size of the text when AutoSize is on.
  void AdjustBounds();

 private:
  UINT DrawFlags() const;

  TAlignment alignment_ = taLeftJustify;
  bool transparent_ = true;
  bool wordWrap_ = false;
  bool autoSize_ = false;
};

// A push button. Clicking it sets its form's ModalResult when its own is not mrNone, then
// raises OnClick; Click() does the same from code.
class TButton : public TWinControl {
 public:
  explicit TButton(TComponent* AOwner);
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int value) { modalResult_ = value; }
  bool Default() const { return default_; }
  void SetDefault(bool value);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool value) { cancel_ = value; }
  void Click() override;
  void WndProc(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;

 private:
  int modalResult_ = 0;
  bool default_ = false;
  bool cancel_ = false;
};

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// A button whose caption may run over several lines (lines split at "\r\n" or "\n") and
// that may carry a glyph: NumGlyphs pictures side by side in Glyph (normal, then hot or
// disabled, pressed, ...). Layout, Margin (-1: centred) and Spacing place the glyph against
// the caption for buttons that draw both; the system button here shows the glyph alone, in
// its first picture, when the caption is empty.
class TBitBtn : public TButton {
 public:
  explicit TBitBtn(TComponent* AOwner);

  TPicture& Glyph() { return glyph_; }
  const TPicture& Glyph() const { return glyph_; }
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout value);
  int Margin() const { return margin_; }
  void SetMargin(int value);
  int Spacing() const { return spacing_; }
  void SetSpacing(int value);
  // At least 1.
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int value);
  void WndProc(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  // A layout property changed: the look must follow.
  virtual void LayoutChanged() { Invalidate(); }

 private:
  bool ShowsSystemGlyph() { return glyph_.Graphic() && Caption().empty(); }
  void ShowSystemGlyph();

  TPicture glyph_;
  TBitmap face_;  // the first glyph over the button's colour, which the system button draws
  TButtonLayout layout_ = blGlyphLeft;
  int margin_ = -1;
  int spacing_ = 4;
  int numGlyphs_ = 1;
};

// A one-line text field.
class TEdit : public TWinControl {
 public:
  explicit TEdit(TComponent* AOwner);
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int value);
  // The caret position (start of the selection) and the selection length, in characters.
  int SelStart();
  void SetSelStart(int value);
  int SelLength();
  void SetSelLength(int value);
  void SelectAll();

  TNotifyEvent OnChange;
  void WndProc(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  bool TextInWindow() const override { return true; }
  virtual void Change();

 private:
  bool readOnly_ = false;
  int maxLength_ = 0;
};

// Several lines of text; Lines is the text as a string list. Changes made through Lines
// reach the window when the current message has been handled (or at once with SyncLines).
class TMemo : public TEdit {
 public:
  explicit TMemo(TComponent* AOwner);
  TStringList& Lines();
  // Shows what Lines holds now.
  void SyncLines();
  void WndProc(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Change() override;
  std::string GetText() override;
  void TextChanged() override;

 private:
  TStringList lines_;
  bool syncPosted_ = false;
};

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

// A check box; SetChecked and SetState raise OnClick when the state changes, as a user's
// click does. The user's clicks go unchecked, checked, unchecked, or with AllowGrayed
// unchecked, grayed, checked, unchecked.
class TCheckBox : public TWinControl {
 public:
  explicit TCheckBox(TComponent* AOwner);
  bool Checked() const { return state_ == cbChecked; }
  void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }
  TCheckBoxState State() const { return state_; }
  virtual void SetState(TCheckBoxState value);
  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool value) { allowGrayed_ = value; }
  void WndProc(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  // The user's click: the next state.
  virtual void Toggle();

 private:
  TCheckBoxState state_ = cbUnchecked;
  bool allowGrayed_ = false;
};

enum TComboBoxStyle { csDropDown, csDropDownList };

// A drop-down list with an edit field (csDropDown) or without (csDropDownList). Changes made
// through Items reach the window when the current message has been handled.
class TComboBox : public TWinControl {
 public:
  explicit TComboBox(TComponent* AOwner);
  TStringList& Items();
  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle value);
  // -1 when nothing is chosen.
  int ItemIndex();
  void SetItemIndex(int value);
  int DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int value) { dropDownCount_ = value; }
  // Height is that of the closed box; the window also holds the list's height.
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  // The user chose an item from the list.
  TNotifyEvent OnSelect;
  // The text changed (typed, or an item chosen).
  TNotifyEvent OnChange;
  void WndProc(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void SaveWindowState() override;
  bool TextInWindow() const override { return true; }
  // While the choice is being announced the edit still shows the old text: the chosen
  // item's is the one to give.
  std::string GetText() override;

 private:
  void FillWindow();
  void PostSync();

  TStringList items_;
  TComboBoxStyle style_ = csDropDown;
  int itemIndex_ = -1;
  int dropDownCount_ = 8;
  bool syncPosted_ = false;
  bool announcing_ = false;
};

enum TScrollBarKind { sbHorizontal, sbVertical };
enum TTrackBarOrientation { trHorizontal, trVertical };
// Ticks: none, one at every position, or only the two ends; on which sides they stand.
enum TTickStyle { tsNone, tsAuto, tsManual };
enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };
enum TScrollCode {
  scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll
};
using TScrollEvent = std::function<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;

// What a scroll bar and a track bar share: a position kept within Min..Max, and OnChange
// whenever it changes, from the user or from code.
class TRangeControl : public TWinControl {
 public:
  int Min() const { return min_; }
  int Max() const { return max_; }
  int Position() const { return position_; }
  void SetMin(int value) { SetParams(position_, value, std::max(value, max_)); }
  void SetMax(int value) { SetParams(position_, std::min(min_, value), value); }
  void SetPosition(int value) { SetParams(value, min_, max_); }
  // Sets all three at once; the position is clamped into the range.
  void SetParams(int position, int min, int max);

  TNotifyEvent OnChange;

 protected:
  explicit TRangeControl(TComponent* AOwner, int max);
  // Shows range and position in the window.
  virtual void UpdateWindow() = 0;
  virtual void Change();

  int min_ = 0, max_ = 0, position_ = 0;
};

class TScrollBar : public TRangeControl {
 public:
  explicit TScrollBar(TComponent* AOwner);
  TScrollBarKind Kind() const { return kind_; }
  void SetKind(TScrollBarKind value);
  int PageSize() const { return pageSize_; }
  void SetPageSize(int value);
  int SmallChange() const { return smallChange_; }
  void SetSmallChange(int value) { smallChange_ = value; }
  int LargeChange() const { return largeChange_; }
  void SetLargeChange(int value) { largeChange_ = value; }

  // Each step of the user's scrolling, before the position changes; may change the position.
  TScrollEvent OnScroll;
  void WndProc(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void UpdateWindow() override;

 private:
  void Scrolled(WORD code);

  TScrollBarKind kind_ = sbHorizontal;
  int pageSize_ = 0;
  int smallChange_ = 1;
  int largeChange_ = 1;
};

class TTrackBar : public TRangeControl {
 public:
  explicit TTrackBar(TComponent* AOwner);
  TTrackBarOrientation Orientation() const { return orientation_; }
  void SetOrientation(TTrackBarOrientation value);
  TTickStyle TickStyle() const { return tickStyle_; }
  void SetTickStyle(TTickStyle value);
  TTickMark TickMarks() const { return tickMarks_; }
  void SetTickMarks(TTickMark value);
  // The marked part of the range; both 0: none.
  int SelStart() const { return selStart_; }
  void SetSelStart(int value);
  int SelEnd() const { return selEnd_; }
  void SetSelEnd(int value);
  // The thumb's size across the bar, in pixels.
  int ThumbLength() const { return thumbLength_; }
  void SetThumbLength(int value);
  void WndProc(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void UpdateWindow() override;

 private:
  bool HasSelection() const { return selStart_ != 0 || selEnd_ != 0; }
  void SetSelection(int start, int end);

  TTrackBarOrientation orientation_ = trHorizontal;
  TTickStyle tickStyle_ = tsAuto;
  TTickMark tickMarks_ = tmBottomRight;
  int selStart_ = 0, selEnd_ = 0;
  int thumbLength_ = 20;
};

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };  // bvSpace: room without a line

// A container with a bevelled edge and a centred caption.
class TPanel : public TCustomControl {
 public:
  explicit TPanel(TComponent* AOwner);
  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut value);
  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut value);

 protected:
  void Paint() override;

 private:
  TBevelCut bevelOuter_ = bvRaised;
  TBevelCut bevelInner_ = bvNone;
};
