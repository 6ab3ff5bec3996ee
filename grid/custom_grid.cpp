#include "grid/custom_grid.h"

TNxCustomGrid::TNxCustomGrid(TComponent* AOwner) : TNxCustomGridControl(AOwner) {
  SetParentColor(false);
  SetColor(clWindow);
  SetControlStyle(ControlStyle() | csDoubleClicks);
}

void TNxCustomGrid::ShowHintAt(int, int, const std::wstring&) {}

void TNxCustomGrid::CreateWnd() {
  TNxCustomGridControl::CreateWnd();
  HorzScrollBar().SetLargeChange(10);
  HorzScrollBar().SetSmallChange(5);
  VertScrollBar().SetLargeChange(10);
  UpdateHorzScrollBar();
  UpdateVertScrollBar();
}

bool TNxCustomGrid::DoMouseWheel(TShiftState Shift, int WheelDelta, POINT MousePos) {
  if (!TNxCustomGridControl::DoMouseWheel(Shift, WheelDelta, MousePos) || IsEditing()) return false;
  TNxScrollBar& vert = VertScrollBar();
  TNxScrollBar& horz = HorzScrollBar();
  const bool page = (Shift & ssCtrl) != 0;
  if (WheelDelta < 0) {
    if (vert.Max() > 0 && vert.Position() < vert.Max()) {
      page ? vert.PageForward() : vert.StepForward();
    } else if (GridStyle() == gsReport && horz.Max() > 0 && !vert.Visible()) {
      page ? horz.PageForward() : horz.StepForward();
    }
  } else if (vert.Max() > 0) {
    page ? vert.PageBack() : vert.StepBack();
  } else if (GridStyle() == gsReport && horz.Max() > 0) {
    page ? horz.PageBack() : horz.StepBack();
  }
  return true;
}

void TNxCustomGrid::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_VSCROLL:
      // The range must be the one the user sees before the step is taken.
      if (Message.LParam == 0) {
        EndEdit();
        UpdateVertScrollBar();
      }
      break;
    case WM_SIZE:
      TNxCustomGridControl::WndProc(Message);
      UpdateHorzScrollBar();
      UpdateVertScrollBar();
      return;
  }
  TNxCustomGridControl::WndProc(Message);
}
