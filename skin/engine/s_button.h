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
#include "skin/engine/skinned_button.h"

class TsButton : public TsSkinnedButton<TButton> {
 public:
  explicit TsButton(TComponent* AOwner);

  void PrepareCache() override;
  // Where the caption goes in the look of `state`.
  RECT CaptionRect(int state);

 private:
  UINT CaptionFormat() const;
  void PaintCaption(int state);
};
