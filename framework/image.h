// A picture on a window: a graphic control showing a TPicture at its own size (from the top
// left corner, or centred) or stretched over the control.
//
//   Image1 = new TImage(this);
//   Image1->SetParent(this);
//   Image1->SetBounds(0, 0, 514, 391);
//   Image1->Picture().LoadFromFile(folder + "back.png");
//   Image1->OnMouseDown = ...;   // a press on the background moves the window (efir::StartMoving)
#pragma once

#include "framework/controls.h"
#include "framework/picture.h"

class TImage : public TGraphicControl {
 public:
  explicit TImage(TComponent* AOwner);
  TPicture& Picture() { return picture_; }
  bool Stretch() const { return stretch_; }
  void SetStretch(bool value);
  bool Center() const { return center_; }
  void SetCenter(bool value);

 protected:
  void Paint() override;

 private:
  TPicture picture_;
  bool stretch_ = false;
  bool center_ = false;
};
