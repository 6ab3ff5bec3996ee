// The skinned one-line edit (the player's search and filter fields, the station dialog's
// fields). With an active skin the system still draws the text of an enabled edit, in the
// section's colours ("EDIT" unless SkinSection is set; the hot ones while the mouse is over it
// or it has the focus), while the skin draws the frame round it; a disabled edit is drawn
// wholly from the skin, text included, and a printed one takes the skin's picture with the
// system's client area (text, selection) printed over it. Without a skin it is the
// framework's edit.
//
//   sEdit1 = efir::Place(new TsEdit(this), this, 80, 40, 200, 21);
//   sEdit1->BoundLabel->SetCaption("Поиск");
//   sEdit1->BoundLabel->SetActive(true);          // the caption left of the edit
#pragma once

#include <memory>

#include "framework/stdctrls.h"
#include "skin/engine/bound_label.h"
#include "skin/engine/skinned_control.h"

class TsEdit : public TsSkinnedControl<TEdit> {
 public:
  explicit TsEdit(TComponent* AOwner);
  ~TsEdit() override;

  // Typed characters show as this one; 0 for the text itself.
  char PasswordChar() const { return passwordChar_; }
  void SetPasswordChar(char value);

  void PrepareCache() override;

  std::unique_ptr<TsBoundLabel> BoundLabel;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  bool SkinCommand(TMessage& Message) override;
  bool SkinnedMessage(TMessage& Message) override;
  void WndProc(TMessage& Message) override;

 private:
  // The frame's width round the client area, as the window has it: 2 for the sunken edge,
  // 1 for a plain line, 0 without a border.
  int BorderWidth();
  void PaintText();
  void PaintBorder();
  void Print(HDC dc);
  // The section's colours for the current state, unless kept custom.
  void TakeStateColours();

  char passwordChar_ = 0;
};
