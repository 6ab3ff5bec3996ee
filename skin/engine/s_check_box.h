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
#include "skin/engine/common_data.h"
#include "skin/engine/paint_types.h"

class TsCheckBox : public TCheckBox {
 public:
  explicit TsCheckBox(TComponent* AOwner);
  ~TsCheckBox() override;

  // Raises OnClick on a change, as the framework's check box does, and repaints the skin.
  void SetChecked(bool value);
  void WndProc(TMessage& Message) override;

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
  TsDisabledKind DisabledKind() const { return disabledKind_; }
  void SetDisabledKind(TsDisabledKind value);
  // A mouse button or the space key is down on the control.
  bool IsDown() const { return isDown_; }

  // Where the glyph goes, in the control's coordinates.
  RECT GlyphRect();
  // Rebuilds the off-screen image from the current state (skinned only).
  void PrepareCache();

  std::unique_ptr<TsCommonData> SkinData;

 private:
  bool Skinned() const;
  bool GlyphOnLeft() const { return alignment_ != taLeftJustify; }
  bool Hot();
  // The GLOBALINFO picture for the current state; -1 when the skin has none.
  int SkinGlyphIndex(const char* name);
  void PaintCaption();
  void PaintGlyph();
  void PaintSkinned(HDC given);
  // Handles a message the skin takes over; false passes it on to the framework.
  bool SkinnedMessage(TMessage& Message);
  bool UnskinnedMessage(TMessage& Message);
  // The skin command message; false when the common handling should follow.
  bool SkinCommand(TMessage& Message);
  void Toggle();
  void Changed();

  int margin_ = 2;
  int textIndent_ = 0;
  bool showFocus_ = true;
  bool readOnly_ = false;
  bool wordWrap_ = false;
  bool isDown_ = false;
  TAlignment alignment_ = taRightJustify;
  TsDisabledKind disabledKind_ = dkBlended;
};
