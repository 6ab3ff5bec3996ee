// The skinned labels. They own no skin state and always follow the default manager: while
// its skin is active a label's text takes the font colour of the skin section it lies on (the
// nearest parent that gives its font, else GLOBALINFO), a disabled label's text is mixed
// toward its parent's background, and with SkinSection set the label paints that section
// as its background. Without a skin each is the framework's label.
//
//   Label1 = efir::Place(new TsLabel(this), this, 12, 8, 200, 20);   // see-through
//   Label1->SetCaption("Эфирушка Плюс");
//   Label1->SetUseSkinColor(false);       // keeps the colour it was given under any skin
//
// TsEditLabel is the caption a TsBoundLabel (bound_label.h) puts beside an edit control.
#pragma once

#include <string>

#include "framework/stdctrls.h"

class TsBoundLabel;

class TsCustomLabel : public TLabel {
 public:
  explicit TsCustomLabel(TComponent* AOwner);

  // A section painted behind the text; empty for none.
  const std::string& SkinSection() const { return skinSection_; }
  void SetSkinSection(const std::string& value);

  // The font to paint with, its colour set from the skin.
  virtual TFont& GetSkinFont();

 protected:
  void Paint() override;
  void DrawLabelText(RECT rect, UINT flags) override;
  void WndProc(TMessage& Message) override;
  bool Destroying() const { return (ComponentState() & csDestroying) != 0; }

 private:
  // The skin colours the font and, for SkinSection, the section paints the background.
  void TakeSkinFont();
  void PaintSection();

  std::string skinSection_;
};

class TsLabel : public TsCustomLabel {
 public:
  explicit TsLabel(TComponent* AOwner) : TsCustomLabel(AOwner) {}

  // Whether the skin gives the text its colour.
  bool UseSkinColor() const { return useSkinColor_; }
  void SetUseSkinColor(bool value) { useSkinColor_ = value; }
  TFont& GetSkinFont() override;

 protected:
  void WndProc(TMessage& Message) override;

 private:
  bool useSkinColor_ = true;
};

class TsEditLabel : public TsLabel {
 public:
  TsEditLabel(TComponent* AOwner, TsBoundLabel* boundLabel);
  ~TsEditLabel() override;

 private:
  TsBoundLabel* boundLabel_;  // not owned
};
