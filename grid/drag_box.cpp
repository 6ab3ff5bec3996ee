#include "grid/drag_box.h"

#include <iterator>

#include "grid/grid_control.h"
#include "grid/theme_draw.h"

// ---------------------------------------------------------------------------- drag box

TColumnDragBox::TColumnDragBox(TNxCustomGridControl* AOwner)
    : TNxFlyoutControl(AOwner), FGrid(AOwner) {
  // The box takes the mouse itself in StartDrag and lets it go in EndDrag; the framework's
  // own release on the button-up would come before the drop and read as a lost mouse.
  SetControlStyle(ControlStyle() & ~csCaptureMouse);
}

void TColumnDragBox::StartDrag(TNxCustomColumn* Column, bool Hidden) {
  Font().Assign(FGrid->Font());
  FColumn = Column;
  FDragging = true;
  if (!Hidden) Show();
  Invalidate();
  SetMouseCapture(true);
}

// Ends a running drag; false when none ran.
bool TColumnDragBox::EndDrag() {
  if (!FDragging) return false;
  FDragging = false;
  Hide();
  SetMouseCapture(false);
  return true;
}

void TColumnDragBox::CancelDrag() {
  if (EndDrag() && OnCancel) OnCancel(this);
}

void TColumnDragBox::DoDrop(int X, int Y) {
  if (OnDrop) OnDrop(this, X, Y);
}

void TColumnDragBox::DoMove(int X, int Y) {
  if (OnMove) OnMove(this, X, Y);
}

void TColumnDragBox::WndProc(TMessage& Message) {
  if (Message.Msg == WM_CAPTURECHANGED && FDragging &&
      reinterpret_cast<HWND>(Message.LParam) != Handle()) {
    CancelDrag();
  }
  TNxFlyoutControl::WndProc(Message);
}

void TColumnDragBox::MouseMove(TShiftState Shift, int X, int Y) {
  TNxFlyoutControl::MouseMove(Shift, X, Y);
  if (!FDragging) return;
  const POINT screen = ClientToScreen({X, Y});
  DoMove(screen.x, screen.y);
  // The move may have ended the drag (a handler that took the mouse).
  if (!FDragging) return;
  const RECT client = ClientRect();
  SetBounds(screen.x - client.right / 2, screen.y - client.bottom + 4, Width(), Height());
}

void TColumnDragBox::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TNxFlyoutControl::MouseUp(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  const POINT screen = ClientToScreen({X, Y});
  if (EndDrag()) DoDrop(screen.x, screen.y);
}

void TColumnDragBox::Paint() {
  TCanvas& canvas = Canvas();
  const RECT client = ClientRect();
  if (FColumn) {
    FDisplay.Canvas = &canvas;
    FDisplay.Themed = FGrid->EnableVisualStyles() && grid::ThemesActive();
    FDisplay.PaintHeaderCell(FColumn, client);
  }
  // A one-pixel shadow along the bottom and the right edge.
  canvas.Pen().SetColor(clBlack);
  canvas.MoveTo(0, client.bottom - 1);
  canvas.LineTo(client.right - 1, client.bottom - 1);
  canvas.LineTo(client.right - 1, -1);
}

// ---------------------------------------------------------------------------- arrows

namespace {

// The outlines of the two arrow shapes in a 9 x 9 window.
constexpr POINT kUpArrow[8] = {{-1, 5}, {4, -1}, {9, 5}, {6, 5}, {6, 9}, {3, 9}, {3, 4}, {0, 5}};
constexpr POINT kDownArrow[8] = {{5, 0}, {3, 0}, {3, 4}, {0, 4}, {4, 9}, {9, 4}, {6, 4}, {6, 0}};
constexpr POINT kNoArrow[8] = {};

}  // namespace

TDragArrow::TDragArrow(TComponent* AOwner) : TNxFlyoutControl(AOwner) {
  SetBounds(0, 0, 9, 9);
}

void TDragArrow::SetKind(TArrowKind Value) {
  FKind = Value;
  UpdateRegion();
}

void TDragArrow::CreateWnd() {
  TNxFlyoutControl::CreateWnd();
  UpdateRegion();
}

void TDragArrow::UpdateRegion() {
  if (!HandleAllocated()) return;
  const POINT* points = FKind == akUp ? kUpArrow : FKind == akDown ? kDownArrow : kNoArrow;
  HRGN region = CreatePolygonRgn(points, static_cast<int>(std::size(kUpArrow)), WINDING);
  // The window owns the region from here on.
  SetWindowRgn(Handle(), region, TRUE);
}

void TDragArrow::Paint() {
  Canvas().Brush().SetColor(clRed);
  Canvas().FillRect(ClientRect());
}
