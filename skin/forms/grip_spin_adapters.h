// Window adapters of two small common controls of standard dialogs: the size grip in a
// dialog's corner (a "scrollbar" window with SBS_SIZEGRIP) and the up-down control
// ("msctls_updown32"). Both draw their whole window from the skin over the parent's
// background; the control itself still does the work (the grip sizes the dialog, the
// up-down steps its buddy).
//
//   auto grip = AttachAdapter<TacSizerWnd>(wnd, nullptr, manager, "CHECKBOX", true);
//   auto spin = AttachAdapter<TacSpinWnd>(wnd, nullptr, manager, "SPEEDBUTTON_SMALL", true);
//   spin->ButtonInset = 2;   // in a dialog: the two columns next to the buddy stay the control's
//
// The grip shows GLOBALINFO's GRIPIMAGE in its bottom-right corner; the up-down's halves
// take its section (BUTTON when the skin lacks it) with the scroll-button arrows, hot under
// the cursor and pressed while the button is down.
#pragma once

#include "skin/forms/window_adapter.h"

class TBitmap;

class TacSizerWnd : public TacMainWnd {
 public:
  using TacMainWnd::TacMainWnd;
  void AdapterWndProc(TMessage& message) override;
  void PaintGrip(TBitmap& cache);
};

class TacSpinWnd : public TacMainWnd {
 public:
  using TacMainWnd::TacMainWnd;
  void AdapterWndProc(TMessage& message) override;
  // Up and down when the style lacks UDS_HORZ, else left and right.
  bool VerticalArrows() const;
  // The two halves in window coordinates: up (or left) first. An odd size gives the first
  // half the extra row (column), and the halves share the middle one.
  void ButtonRects(RECT& first, RECT& second) const;
  void PaintButtons(TBitmap& cache);

  int ButtonInset = 0;   // columns at the left edge the adapter leaves as they are
  bool MouseDown = false;
  int UpState = 0;       // 0 normal, 1 hot, 2 pressed
  int DownState = 0;

 private:
  // The halves' states from where the cursor is.
  void ReadStates();
};
