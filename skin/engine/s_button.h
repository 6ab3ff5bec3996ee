// The skinned push button of the dialogs ("OK", "Отмена", "Найти"). With an active skin the
// system button becomes owner-drawn and the button paints itself from an off-screen image:
// the parent's background, the skin section ("BUTTON" unless SkinSection is set) with its
// frame for the normal, hot and pressed looks, the caption in the section's colours, a
// dotted focus rectangle and the disabled look; changes of look fade when the skin allows.
// Without a skin it is the framework's button, OnMouseEnter and OnMouseLeave included.
//
//   auto* ok = efir::Place(new TsButton(form), form, 100, 200, 75, 25);
//   ok->SetCaption("Готово!");
//   ok->OnClick = ...;             // mouse, space, BM_CLICK and Click() as the framework's
//   ok->SetDown(true);             // drawn pressed until set back
#pragma once

#include "framework/stdctrls.h"
#include "skin/engine/skinned_control.h"

class TsButton : public TsSkinnedControl<TButton> {
 public:
  explicit TsButton(TComponent* AOwner);

  // Drawn pressed without being pressed.
  bool Down() const { return down_; }
  void SetDown(bool value);
  // The dotted rectangle round the caption of the focused button (the section must want it too).
  bool ShowFocus() const { return showFocus_; }
  void SetShowFocus(bool value);
  // Pixels between the caption and its focus rectangle.
  int FocusMargin() const { return focusMargin_; }
  void SetFocusMargin(int value) { focusMargin_ = value; }
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);

  // 2 pressed (held down, Down, or pushed by the keyboard), 1 hot (the default button, the
  // mouse over it, or focused), else 0.
  int CurrentState() override;
  void PrepareCache() override;
  // Where the caption goes in the look of `state`.
  RECT CaptionRect(int state);

 protected:
  void CreateParams(TCreateParams& Params) override;
  bool SkinnedMessage(TMessage& Message) override;
  void SkinChanged(WORD subCommand) override;

 private:
  UINT CaptionFormat() const;
  void PaintCaption(int state);
  // Gives the window the button type that fits: owner-drawn while skinned.
  void UpdateButtonType();

  bool down_ = false;
  bool showFocus_ = true;
  int focusMargin_ = 1;
  bool wordWrap_ = true;
};
