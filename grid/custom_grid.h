// The layer between the grid engine (grid/grid_control.h) and TDataGrid: the grid's own
// message handling, its wheel steps and its hints for callers. The mouse interaction of the
// grid (hit zones, cell presses, header clicks and sorting, column and row dragging, the
// grid's own cell hints) builds on this class.
#pragma once

#include <string>

#include "grid/grid_control.h"

class TNxCustomGrid : public TNxCustomGridControl {
 public:
  explicit TNxCustomGrid(TComponent* AOwner);

  // Shows Text in the grid's hint window with its top-left corner at the client point
  // (X, Y), when the grid's form is the active one. The hint window comes with the grid's
  // mouse handling; until then nothing shows.
  virtual void ShowHintAt(int X, int Y, const std::wstring& Text);

  void WndProc(TMessage& Message) override;

 protected:
  void CreateWnd() override;
  // One small step (a page with Ctrl) per wheel message: down or up while there is a vertical
  // range, else left or right when only the horizontal bar has one.
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, POINT MousePos) override;
};
