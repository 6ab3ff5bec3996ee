#include "grid/column_play.h"

#include "grid/column_display.h"
#include "grid/columns.h"

// The painter is lent the element's values: it may last have painted any other cell.
void TColumnPlay::Paint() {
  if (!Canvas || !Canvas->HandleAllocated() || !Column) return;
  TColumnDisplay* display = Column->Display();
  if (!display) return;
  display->AsBoolean = AsBoolean;
  display->AsInteger = AsInteger;
  display->AsString = AsString;
  display->Canvas = Canvas;
  display->Rect = CellRect;
  display->Highlighted = false;
  display->Selected = false;
  display->PaintContent();
}
