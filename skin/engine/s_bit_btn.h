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
#include "skin/engine/common_data.h"
#include "skin/engine/paint_types.h"

class TsBitBtn : public TBitBtn {
 public:
  explicit TsBitBtn(TComponent* AOwner);
  ~TsBitBtn() override;

  TPicture& Glyph() { return glyph_; }
  void WndProc(TMessage& Message) override;

  // Stays pressed.
  bool Down() const { return down_; }
  void SetDown(bool value);
  TsDisabledKind DisabledKind() const { return disabledKind_; }
  void SetDisabledKind(TsDisabledKind value);

  // 0 normal, 1 hot, 2 pressed.
  virtual int CurrentState();
  // Rebuilds the off-screen image from the current state (skinned only).
  void PrepareCache();

  std::unique_ptr<TsCommonData> SkinData;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;

 private:
  bool Skinned() const;
  bool ShowsGlyph() { return glyph_.Graphic() && Caption().empty(); }
  void ShowSystemGlyph();
  void PaintCaption(int state);
  void PaintGlyph(int state);
  void PaintSkinned(HDC given);
  bool SkinnedMessage(TMessage& Message);
  bool SkinCommand(TMessage& Message);
  void Changed();

  TPicture glyph_;
  TBitmap face_;  // the glyph over the button's colour, which the system button draws
  bool down_ = false;
  TsDisabledKind disabledKind_ = dkBlended;
};
