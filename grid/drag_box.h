// The pop-up windows of a column move: the drag box, a floating picture of the moved
// column's header that follows the cursor and holds the mouse until the left button is
// released, and the red arrows that mark where the column would land.
//
//   auto* box = new TColumnDragBox(grid);                // owned by the grid
//   box->SetParent(grid);
//   box->OnMove = [](TObject*, int X, int Y) { ... };     // every move, screen point
//   box->OnDrop = [](TObject*, int X, int Y) { ... };     // left button released
//   box->OnCancel = [](TObject*) { ... };                 // the mouse was taken away
//   box->SetBounds(screenLeft, screenTop, column->Width(), grid->HeaderSize());
//   box->StartDrag(column, false);
//
//   auto* arrow = new TDragArrow(grid);                   // 9 x 9, shaped by its kind
//   arrow->SetParent(grid);
//   arrow->SetKind(akDown);
#pragma once

#include <functional>

#include "grid/flyout_control.h"
#include "grid/style_displays.h"

class TNxCustomColumn;
class TNxCustomGridControl;

using TDragPointEvent = std::function<void(TObject* Sender, int X, int Y)>;

class TColumnDragBox : public TNxFlyoutControl {
 public:
  // Owner: the grid whose headers the box shows, in its default header look and font.
  explicit TColumnDragBox(TNxCustomGridControl* AOwner);

  TNxCustomColumn* Column() const { return FColumn; }
  bool Dragging() const { return FDragging; }

  // Shows Column's header (unless Hidden) and takes the mouse: from now on every move and
  // the release arrive here, wherever the cursor is.
  void StartDrag(TNxCustomColumn* Column, bool Hidden);
  // Hides the box and lets the mouse go without a drop.
  void CancelDrag();

  void DoDrop(int X, int Y);
  void DoMove(int X, int Y);

  TDragPointEvent OnDrop;
  TDragPointEvent OnMove;
  TNotifyEvent OnCancel;

  void WndProc(TMessage& Message) override;

 protected:
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Paint() override;

 private:
  bool EndDrag();

  TNxCustomGridControl* const FGrid;
  TDefaultStyleDisplay FDisplay{this};
  TNxCustomColumn* FColumn = nullptr;
  bool FDragging = false;
};

enum TArrowKind { akNone, akUp, akDown };

class TDragArrow : public TNxFlyoutControl {
 public:
  explicit TDragArrow(TComponent* AOwner);

  TArrowKind Kind() const { return FKind; }
  void SetKind(TArrowKind Value);

 protected:
  void CreateWnd() override;
  void Paint() override;
  // Gives the window the arrow's shape, so clicks beside the head reach the window below.
  virtual void UpdateRegion();

 private:
  TArrowKind FKind = akNone;
};
