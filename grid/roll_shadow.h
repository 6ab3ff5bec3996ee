// The roll marker: a small grey shape (an up and a down triangle around a dot) shown where
// the middle button went down while the scroll control rolls, so the user sees the point
// the scrolling speed is measured from.
//
//   auto* marker = new TRollShadow(control);   // owned by the scroll control
//   marker->SetParent(control);
//   marker->PlaceAt(screenPoint);              // the dot lands on the point
//   marker->Show(); ... marker->Hide();
//
// Its window is shaped by a region, so clicks beside the shape reach the window below.
#pragma once

#include "grid/flyout_control.h"

class TRollShadow : public TNxFlyoutControl {
 public:
  explicit TRollShadow(TComponent* AOwner);

  // Moves the 32 x 32 window so that its dot sits on the screen point P.
  void PlaceAt(POINT P);

 protected:
  void CreateWnd() override;
  void Paint() override;
  virtual void UpdateRegion();
};
