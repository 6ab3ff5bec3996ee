// The cell painters of the text, number and picture columns: each draws the content of one
// cell after the grid has filled the cell's background. A column makes its painter with
// CreateDisplay; the grid fills the painter (canvas, rectangle, value) before each cell.
//
//   RECT drawn = grid::ProportionalRect({0, 0, 40, 40}, 100, 50);   // {0, 10, 40, 30}
#pragma once

#include <windows.h>

#include "grid/column_display.h"

struct TCellInfo;

// The cell's text through the column's display-text rule, 2 pixels in from each side.
class TTextColumnDisplay : public TColumnDisplay {
 public:
  using TColumnDisplay::TColumnDisplay;
  void PaintContent() override;

 protected:
  // The values the column turns into the display text.
  virtual void GetCellInfo(TCellInfo& Info) const;
};

// The same, from the cell's number, which the column formats.
class TNumberColumnDisplay : public TTextColumnDisplay {
 public:
  using TTextColumnDisplay::TTextColumnDisplay;

 protected:
  void GetCellInfo(TCellInfo& Info) const override;
};

// The cell's picture inside the column's margin and border frames, stretched to fill or
// scaled with its proportions kept and centred.
class TGraphicColumnDisplay : public TColumnDisplay {
 public:
  using TColumnDisplay::TColumnDisplay;
  void PaintContent() override;

 private:
  // Frames Rect with Count nested one-pixel frames and leaves it inside them.
  void DrawBorder(RECT& Rect, int Count);
  void DrawProportional(const RECT& Rect);
};

namespace grid {

// Where a Width x Height picture goes in Area when scaled to touch two of its sides (also
// growing a smaller one) and centred along the other two.
RECT ProportionalRect(const RECT& Area, int Width, int Height);

}  // namespace grid
