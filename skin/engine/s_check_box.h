// The skinned check box of the settings windows. With an active skin it paints itself from
// an off-screen image (its TsCommonData cache): the parent's background, the skin section
// ("CHECKBOX" unless SkinSection is set), the caption and the skin's check glyph. Without a
// skin it is the framework's check box, apart from ReadOnly.
//
//   auto* box = new TsCheckBox(form);
//   box->SetCaption("История композиций");
//   box->OnClick = ...;          // raised by the user's toggle and by SetChecked in code
//   box->SetChecked(true);
#pragma once

#include <memory>

#include "framework/stdctrls.h"
#include "skin/engine/skinned_control.h"

class TsCheckBox : public TsSkinnedControl<TCheckBox> {
 public:
  explicit TsCheckBox(TComponent* AOwner);

  // Raises OnClick on a change, as the framework's check box does, and repaints the skin.
  void SetChecked(bool value);

  int Margin() const { return margin_; }
  void SetMargin(int value);
  int TextIndent() const { return textIndent_; }
  void SetTextIndent(int value);
  bool ShowFocus() const { return showFocus_; }
  void SetShowFocus(bool value);
  // The user cannot change the state; code still can.
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value) { readOnly_ = value; }
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  // taRightJustify: the glyph on the left and the caption on its right; taLeftJustify the
  // other way round.
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  // A mouse button or the space key is down on the control.
  bool IsDown() const { return isDown_; }

  // Where the glyph goes, in the control's coordinates.
  RECT GlyphRect();
  // 2 while the user holds it down, 1 hot (never for a read-only box: it would promise a
  // change the user cannot make), else 0.
  int CurrentState() override;
  void PrepareCache() override;

 protected:
  void SkinChanged(WORD subCommand) override;
  bool SkinnedMessage(TMessage& Message) override;
  bool UnskinnedMessage(TMessage& Message) override;

 private:
  bool GlyphOnLeft() const { return alignment_ != taLeftJustify; }
  bool Hot() { return !readOnly_ && SkinData->HotState(); }
  // The GLOBALINFO picture for the current state; -1 when the skin has none.
  int SkinGlyphIndex(const char* name);
  void PaintCaption();
  void PaintGlyph();
  // The user's toggle: the new look fades in.
  void Toggle();

  int margin_ = 2;
  int textIndent_ = 0;
  bool showFocus_ = true;
  bool readOnly_ = false;
  bool wordWrap_ = false;
  bool isDown_ = false;
  TAlignment alignment_ = taRightJustify;
};
