// A small borderless window that floats over the grid while the user drags: a top-level
// tool window (never in the task bar, never activated when shown) that moves without
// repainting what lies under it. The column drag box and the drop arrows build on it.
//
//   class TMarker : public TNxFlyoutControl { void Paint() override { ... } };
//   auto* marker = new TMarker(grid);   // owned by the grid
//   marker->SetParent(grid);            // its window is owned by the grid's form
//   marker->SetBounds(screenX, screenY, 9, 9);
//   marker->Show();
//
// Its Left and Top are screen coordinates.
#pragma once

#include "framework/controls.h"

class TNxFlyoutControl : public TCustomControl {
 public:
  explicit TNxFlyoutControl(TComponent* AOwner);
  void WndProc(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
};
