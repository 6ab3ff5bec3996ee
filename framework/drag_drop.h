// Dragging one control onto another: a control that may be dragged, or take a drop, adds
// TDragControl to its bases and hands its window messages to DragMessage first. A drag starts
// with BeginDrag (an OnMouseDown handler, say) or, with DragMode dmAutomatic, with every left
// press; it stays pending until the mouse has moved more than the threshold, then raises
// OnStartDrag on the source and asks the dragging control under the cursor with OnDragOver
// whether it takes the drop (the cursor is the source's DragCursor then, else crNoDrop).
// The left release drops: OnDragDrop on a target that took it, then OnEndDrag on the source.
// A release while still pending, Escape, or the loss of the mouse cancel: the source's
// DragCanceled, then OnEndDrag with no target. One drag runs at a time. Once the drag runs,
// the mouse moves and the release are its own; a release while it is still pending reaches
// the source's own mouse handling after the drag has ended, so a click stays a click.
//
//   class TMyList : public TCustomControl, public TDragControl {
//     TMyList(TComponent* o) : TCustomControl(o), TDragControl(static_cast<TControl&>(*this)) {}
//     void WndProc(TMessage& m) override { if (!DragMessage(m)) TCustomControl::WndProc(m); }
//   };
//   list->OnMouseDown = [=](TObject*, TMouseButton, TShiftState, int, int) {
//     list->BeginDrag(false); };
//   other->OnDragOver = [](TObject*, TObject* Source, int, int, TDragState, bool& Accept) {
//     Accept = true; };
//
// DragKind is kept for the layouts that set it; docking is not performed.
#pragma once

#include "framework/controls.h"

#include <functional>

enum TDragMode { dmManual, dmAutomatic };
enum TDragKind { dkDrag, dkDock };
enum TDragState { dsDragEnter, dsDragLeave, dsDragMove };

using TStartDragEvent = std::function<void(TObject* Sender)>;
// Accept comes preset to False; X and Y are the target's client point.
using TDragOverEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y,
                                          TDragState State, bool& Accept)>;
using TDragDropEvent = std::function<void(TObject* Sender, TObject* Source, int X, int Y)>;
// Target is nullptr when the drag was cancelled or dropped where nothing took it.
using TEndDragEvent = std::function<void(TObject* Sender, TObject* Target, int X, int Y)>;

class TDragControl {
 public:
  explicit TDragControl(TControl& self) : self_(self) {}
  virtual ~TDragControl();
  TDragControl(const TDragControl&) = delete;
  TDragControl& operator=(const TDragControl&) = delete;

  // A pending drag starts once the mouse is more than Threshold pixels away from where it
  // began; an immediate one starts at once.
  void BeginDrag(bool Immediate, int Threshold = 5);
  // True from BeginDrag until the drag drops or is cancelled.
  bool Dragging() const;
  // Drops where the cursor is (Drop) or cancels.
  void EndDrag(bool Drop);

  TDragMode DragMode() const { return dragMode_; }
  void SetDragMode(TDragMode value) { dragMode_ = value; }
  TDragKind DragKind() const { return dragKind_; }
  void SetDragKind(TDragKind value) { dragKind_ = value; }
  TCursor DragCursor() const { return dragCursor_; }
  void SetDragCursor(TCursor value) { dragCursor_ = value; }

  TStartDragEvent OnStartDrag;
  TDragOverEvent OnDragOver;
  TDragDropEvent OnDragDrop;
  TEndDragEvent OnEndDrag;

 protected:
  // The control's messages while it is dragged (and its left presses with dmAutomatic):
  // True when the drag used the message up.
  bool DragMessage(TMessage& Message);
  // The drag was cancelled, before OnEndDrag.
  virtual void DragCanceled() {}

 private:
  friend class TDragSession;
  TControl& self_;
  TDragMode dragMode_ = dmManual;
  TDragKind dragKind_ = dkDrag;
  TCursor dragCursor_ = crDrag;
  POINT mouse_{};  // screen point of the last mouse message the control had
  bool sawMouse_ = false;
};
