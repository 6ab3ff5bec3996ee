// The skinned push button of the programs' windows ("По умолчанию", "Готово!"). With an active
// skin it paints itself from an off-screen image: the parent's background, the skin section
// ("BUTTON" for its control kind), the caption over one or two lines, or the glyph when the
// caption is empty. Without a skin it is the framework's button with a glyph.
//
//   auto* button = new TsBitBtn(form);
//   button->SetCaption("Добавить\nРадиостанцию");
//   button->Glyph().LoadFromFile(folder + "play.png");   // shown when there is no caption
//   button->OnClick = ...;
#pragma once

#include <memory>

#include "framework/picture.h"
#include "framework/stdctrls.h"
#include "skin/engine/skinned_control.h"

class TsBitBtn : public TsSkinnedControl<TBitBtn> {
 public:
  explicit TsBitBtn(TComponent* AOwner);

  TPicture& Glyph() { return glyph_; }
  void WndProc(TMessage& Message) override;

  // Stays pressed.
  bool Down() const { return down_; }
  void SetDown(bool value);

  // Pressed (2) while down or pushed, hot (1) as the default button or when hot.
  int CurrentState() override;
  void PrepareCache() override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  bool SkinnedMessage(TMessage& Message) override;

 private:
  bool ShowsGlyph() { return glyph_.Graphic() && Caption().empty(); }
  void ShowSystemGlyph();
  void PaintCaption(int state);
  void PaintGlyph(int state);

  TPicture glyph_;
  TBitmap face_;  // the glyph over the button's colour, which the system button draws
  bool down_ = false;
};
