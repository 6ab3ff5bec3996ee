// A speed button: a windowless button (tool strips, small panels) with a glyph and a caption,
// flat or raised, that can stay down.
//
//   auto* play = efir::Place(new TSpeedButton(this), panel, 4, 4, 25, 25);
//   play->Glyph().LoadFromFile(...);        // NumGlyphs pictures side by side
//   play->OnClick = [this](TObject*) { Play(); };
//
// Its look without a skin is the system's button face; a skin that takes over its WindowProc
// paints it instead.
#pragma once

#include <memory>

#include "framework/bitmap.h"
#include "framework/stdctrls.h"

enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

class TSpeedButton : public TGraphicControl {
 public:
  explicit TSpeedButton(TComponent* AOwner);
  TBitmap& Glyph() { return glyph_; }
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int value);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout value);
  int Spacing() const { return spacing_; }
  void SetSpacing(int value);
  // -1 centres glyph and caption together.
  int Margin() const { return margin_; }
  void SetMargin(int value);
  bool Flat() const { return flat_; }
  void SetFlat(bool value);
  // A button that stays down until clicked again.
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool value) { allowAllUp_ = value; }
  bool Down() const { return down_; }
  void SetDown(bool value);
  TButtonState State() const { return state_; }

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  void Changed() { Invalidate(); }

  TBitmap glyph_;
  int numGlyphs_ = 1;
  TButtonLayout layout_ = blGlyphLeft;
  int spacing_ = 4;
  int margin_ = -1;
  bool flat_ = false;
  bool allowAllUp_ = false;
  bool down_ = false;
  TButtonState state_ = bsUp;
};
