// A column's click element: an object a column class may own to react to the mouse and keys
// inside its cells (a tick box that flips, a tree button that folds). The grid readies it for
// one cell (PrepareCellPlay), then hands it the press, move, release or character; the element
// reports back through its two callbacks, which the grid binds to store the new value or fold
// the row. While it reacts it may draw itself at once with Paint: the column's painter draws
// the element's values into the cell, on the grid's canvas with the column's font.
//
//   class TTickPlay : public TColumnPlay {
//     void MouseDown(TMouseButton, TShiftState, POINT) override { AsBoolean = !AsBoolean; ValueChanged(); }
//   };
//   std::unique_ptr<TColumnPlay> TMyColumn::CreatePlay() { return std::make_unique<TTickPlay>(); }
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "framework/controls.h"

class TCanvas;
class TNxCustomColumn;

class TColumnPlay {
 public:
  using TPlayEvent = std::function<void(TColumnPlay* Play)>;

  virtual ~TColumnPlay() = default;

  // The cell's values, filled by the grid before each reaction.
  bool AsBoolean = false;
  int AsInteger = 0;
  std::wstring AsString;
  TNxCustomColumn* Column = nullptr;
  int Col = -1;
  int Row = -1;
  int Level = 0;  // the row's tree level
  RECT DisplayRect{};  // the column painter's bounds
  RECT CellRect{};
  // The grid's canvas with the column's font, drawing on the grid's window while the element
  // reacts; nullptr between reactions.
  TCanvas* Canvas = nullptr;
  TPlayEvent OnValueChanged;
  TPlayEvent OnRowToggled;

  // Points are relative to the cell's top-left corner.
  virtual void MouseDown(TMouseButton, TShiftState, POINT) {}
  virtual void MouseMove(TShiftState, POINT) {}
  virtual void MouseUp(TMouseButton, TShiftState, POINT) {}
  virtual void MouseLeave() {}
  virtual void KeyPress(char&) {}  // a character in the code page, as the grid gets it
  // Draws the element's values into the cell through the column's painter; nothing outside a
  // reaction.
  virtual void Paint();

  void ValueChanged() {
    if (OnValueChanged) OnValueChanged(this);
  }
  void RowToggled() {
    if (OnRowToggled) OnRowToggled(this);
  }
};
