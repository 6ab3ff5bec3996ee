// The grid's four drags: a column's width by its right edge in the header, a column's place
// by its header (with the drag box and the drop arrows), a row's height by its border in the
// indicator, and a row's place by a cell. The feedback is drawn straight onto the window
// (inverted lines, the red drop marker) so a drag repaints nothing of the grid; a drag that
// is given up (Escape, the focus or the mouse taken away) changes nothing and leaves no mark.
#include <algorithm>
#include <utility>

#include "framework/canvas.h"
#include "framework/forms.h"
#include "grid/custom_grid.h"
#include "grid/theme_draw.h"

namespace {

void InvertLine(HWND Window, POINT From, POINT To) {
  efir::gdi::WindowDC dc(Window);
  TCanvas canvas(dc);
  canvas.Pen().SetMode(pmNot);
  canvas.MoveTo(From.x, From.y);
  canvas.LineTo(To.x, To.y);
}

}  // namespace

void TNxCustomGrid::CreateDragWindows() {
  FDragBox = new TColumnDragBox(this);
  FDragBox->SetParent(this);
  FDragBox->OnMove = [this](TObject* Sender, int X, int Y) { ColumnDragMove(Sender, X, Y); };
  FDragBox->OnDrop = [this](TObject* Sender, int X, int Y) { ColumnDragDrop(Sender, X, Y); };
  FDragBox->OnCancel = [this](TObject*) { CancelDrag(); };
  FUpperArrow = new TDragArrow(this);
  FUpperArrow->SetParent(this);
  FUpperArrow->SetKind(akDown);
  FLowerArrow = new TDragArrow(this);
  FLowerArrow->SetParent(this);
  FLowerArrow->SetKind(akUp);
}

void TNxCustomGrid::FreeDragWindows() {
  FDragBox->OnMove = nullptr;
  FDragBox->OnDrop = nullptr;
  FDragBox->OnCancel = nullptr;
  FDragBox->Free();
  FUpperArrow->Free();
  FLowerArrow->Free();
}

void TNxCustomGrid::CancelDrag() {
  switch (std::exchange(FDrag, gdNone)) {
    case gdColumnResize:
      RefreshRect({FResizeLines[0], 0, FResizeLines[0] + 1, ClientHeight()});
      RefreshRect({FResizeLines[1], 0, FResizeLines[1] + 1, ClientHeight()});
      FResizeColumn = -1;
      break;
    case gdRowResize:
      RefreshRect({0, FRowResizeLine, ClientWidth(), FRowResizeLine + 1});
      FRowResizeRow = -1;
      break;
    case gdRowMove:
      HideRowDropMarker();
      FDropRow = -1;
      FRowMoveSource = -1;
      Screen.SetCursor(crDefault);
      break;
    case gdColumnMove:
      FDragBox->CancelDrag();
      FUpperArrow->Hide();
      FLowerArrow->Hide();
      Screen.SetCursor(crDefault);
      ForgetPress();
      break;
    case gdNone:
      return;
  }
  SetMouseCapture(false);
}

// A left release ends the drag it belongs to; true when nothing more is to be done with it.
bool TNxCustomGrid::FinishDrag() {
  switch (FDrag) {
    case gdColumnResize:
      FinishColumnResize();
      return true;
    case gdRowResize:
      FinishRowResize();
      return false;
    case gdRowMove:
      FinishRowMove();
      return false;
    default:
      return false;
  }
}

// Moves of a running resize go to its marker line, not to the hover of what lies below.
bool TNxCustomGrid::TrackResize(int X, int Y) {
  if (FDrag == gdColumnResize) {
    TrackColumnResize(X);
    return true;
  }
  if (FDrag == gdRowResize) {
    TrackRowResize(Y);
    return true;
  }
  return false;
}

// ---------------------------------------------------------------------------- column width

bool TNxCustomGrid::StartColumnResize(int X) {
  TNxCustomColumn* column = ColumnOrNull(ResizeGripColumn(X));
  if (!column) return false;
  FDrag = gdColumnResize;
  FResizeColumn = column->Index();
  FResizeDelta = 0;
  const int left = column->ScreenLeft();
  FResizeLines[0] = column->Index() == 0 ? left : left - 1;
  FResizeLines[1] = left + column->Width() - 1;
  InvertColumnLine(FResizeLines[0]);
  InvertColumnLine(FResizeLines[1]);
  return true;
}

void TNxCustomGrid::InvertColumnLine(int X) {
  InvertLine(Handle(), {X, 0}, {X, ClientHeight()});
}

void TNxCustomGrid::TrackColumnResize(int X) {
  TNxCustomColumn* column = ColumnOrNull(FResizeColumn);
  if (!column) return;
  InvertColumnLine(FResizeLines[1]);
  const int left = column->ScreenLeft();
  FResizeDelta = std::max(X - left - column->Width(), column->MinWidth() - column->Width());
  FResizeLines[1] = left + column->Width() + FResizeDelta - 1;
  InvertColumnLine(FResizeLines[1]);
}

void TNxCustomGrid::FinishColumnResize() {
  FDrag = gdNone;
  InvertColumnLine(FResizeLines[0]);
  InvertColumnLine(FResizeLines[1]);
  // The grip stays known: the user's double click on an edge arrives as a press (this
  // resize), a release and the double click, with no move between to find the grip again.
  TNxCustomColumn* column = ColumnOrNull(std::exchange(FResizeColumn, -1));
  if (column) column->SetWidth(column->Width() + FResizeDelta);
}

// ---------------------------------------------------------------------------- column place

bool TNxCustomGrid::ColumnMayMove(TShiftState Shift) {
  TNxCustomColumn* column = ColumnOrNull(FPressedHeaderColumn);
  return FDrag == gdNone && column && (Shift & ssLeft) && (column->Options() & coCanClick) &&
         !(column->Options() & coDisableMoving) && !(Options() & goDisableColumnMoving);
}

// A pressed header becomes a moved column once the mouse has left the square of 3 pixels
// around the press.
void TNxCustomGrid::TryStartColumnMove(int X, int Y) {
  if (!grid::PointsDiffer({X, Y}, FDownPoint, 3)) return;
  TNxCustomColumn* column = Columns()->Item(FPressedHeaderColumn);
  FDrag = gdColumnMove;
  HideHint();
  const POINT corner = ClientToScreen({column->ScreenLeft(), 0});
  FDragBox->SetBounds(corner.x, corner.y, column->Width(), HeaderSize());
  FDragBox->StartDrag(column, false);
}

// The header strip: from the client's top left to the body, at most the client wide.
bool TNxCustomGrid::InHeaderStrip(POINT P) {
  const RECT strip{0, 0, ClientWidth(), GetBodyRect().top};
  return PtInRect(&strip, P) != 0;
}

// goLockFixedCols keeps the fixed columns fixed: nothing moves into or out of them.
bool TNxCustomGrid::MoveAllowed(const TNxCustomColumn* Column, int ToPos) {
  return !(Options() & goLockFixedCols) ||
         (ToPos >= FixedCols() && Column->Position() >= FixedCols());
}

void TNxCustomGrid::ColumnDragMove(TObject*, int X, int Y) {
  TNxCustomColumn* column = FDragBox->Column();
  const POINT p = ScreenToClient({X, Y});
  if (column && InHeaderStrip(p)) {
    const int drop = DropPosition(column, p);
    if (MoveAllowed(column, drop)) {
      Screen.SetCursor(crDefault);
      if (Columns()->PositionItem(drop)->Visible())
        ShowDropArrows(column->Position(), drop, false);
      return;
    }
  }
  FUpperArrow->Hide();
  FLowerArrow->Hide();
  Screen.SetCursor(crColumnNoDrag);
}

void TNxCustomGrid::ColumnDragDrop(TObject*, int X, int Y) {
  FDrag = gdNone;
  Screen.SetCursor(crDefault);
  FUpperArrow->Hide();
  FLowerArrow->Hide();
  TNxCustomColumn* column = FDragBox->Column();
  const POINT p = ScreenToClient({X, Y});
  if (column && column->Columns() == Columns()) {
    if (InHeaderStrip(p)) {
      const int drop = DropPosition(column, p);
      if (MoveAllowed(column, drop)) column->SetPosition(drop);
    } else if (Options() & goCanHideColumn) {
      column->SetVisible(false);
    }
    RefreshColumn(column, gpHeader);
  }
  ForgetPress();
}

int TNxCustomGrid::DropPosition(TNxCustomColumn* Column, POINT P) {
  const int from = Column->Position();
  TNxCustomColumn* previous = nullptr;
  TNxCustomColumn* found = nullptr;
  int result = from;
  for (int p = 0; p < Columns()->Count(); ++p) {
    TNxCustomColumn* column = Columns()->PositionItem(p);
    if (!column->Visible() && column != Column) continue;
    if (!previous) previous = column;
    const int left = column->ScreenLeft(), right = left + column->Width();
    if (P.x >= left && P.x <= right) {
      found = column;
      if (column == Column) break;
      const int at = column->Position();
      if (right - column->Width() / 2 < P.x) {
        result = from < at ? at : at + 1;
      } else {
        result = from > at ? at : previous->Position();
      }
      break;
    }
    previous = column;
  }
  // Nothing lands under the fixed columns from the scrolled part.
  if (found && result >= FixedCols() && found->ScreenLeft() < ColumnsLeft() + GetFixedColumnsWidth())
    result = from;
  return std::clamp(result, 0, Columns()->Count() - 1);
}

void TNxCustomGrid::ShowDropArrows(int FromPos, int ToPos, bool ShowAtSame) {
  if (!Columns()->ValidIndex(FromPos) || !Columns()->ValidIndex(ToPos)) return;
  TNxCustomColumn* moved = Columns()->PositionItem(FromPos);
  TNxCustomColumn* target = Columns()->PositionItem(ToPos);
  if (FromPos == ToPos && !ShowAtSame) {
    FUpperArrow->Hide();
    FLowerArrow->Hide();
    return;
  }
  bool rightEdge = FromPos < ToPos;
  if (rightEdge && moved->Visible())
    rightEdge = !target->IsOnlyVisible() && target->VisibleIndex() != 0;
  const int x = target->ScreenLeft() + (rightEdge ? target->Width() : 0);
  const POINT at = ClientToScreen({x, 0});
  FUpperArrow->SetBounds(at.x - 4, at.y - 12, FUpperArrow->Width(), FUpperArrow->Height());
  FLowerArrow->SetBounds(at.x - 4, at.y + HeaderSize() - 1, FLowerArrow->Width(),
                         FLowerArrow->Height());
  FUpperArrow->Show();
  FLowerArrow->Show();
}

// ---------------------------------------------------------------------------- row height

// A press on a row's border in the indicator.
bool TNxCustomGrid::StartRowResize(int X, int Y) {
  if (!(Options() & goRowResizing)) return false;
  const int row = RowResizeLine(X, Y);
  if (row < 0) return false;
  FDrag = gdRowResize;
  FRowResizeRow = row;
  FRowResizeLine = Y;
  InvertRowLine(Y);
  return true;
}

void TNxCustomGrid::InvertRowLine(int Y) {
  InvertLine(Handle(), {0, Y}, {ClientWidth(), Y});
}

// A row is never made lower than 8 pixels.
void TNxCustomGrid::TrackRowResize(int Y) {
  InvertRowLine(FRowResizeLine);
  FRowResizeLine = std::max(Y, GetRowTop(FRowResizeRow) + 8);
  InvertRowLine(FRowResizeLine);
}

void TNxCustomGrid::FinishRowResize() {
  FDrag = gdNone;
  InvertRowLine(FRowResizeLine);
  const int row = std::exchange(FRowResizeRow, -1);
  if (IsValidRow(row)) DoChangeRowHeight(row, FRowResizeLine - GetRowTop(row));
}

// ---------------------------------------------------------------------------- row place

// A move over the cells: starts a row move once the held left button has left the square
// of 5 pixels around the press, then follows the drop row.
void TNxCustomGrid::TrackRowMove(TShiftState Shift, int X, int Y) {
  if (FDrag == gdNone && (Options() & goRowMoving) && (Shift & ssLeft) &&
      IsValidRow(FRowMoveSource) && grid::PointsDiffer({X, Y}, FDownPoint, 5)) {
    FDrag = gdRowMove;
    FDropRow = -1;
    Screen.SetCursor(crDrag);
  }
  if (FDrag != gdRowMove) return;
  const int drop = RowDropPosition(Y);
  if (drop == FDropRow) return;
  HideRowDropMarker();
  FDropRow = drop;
  if (drop < 0) return;
  if (drop == TopRow()) {
    VertScrollBar().StepBack();
  } else if (drop == LastRowInView() + 1) {
    VertScrollBar().StepForward();
  }
  ShowRowDropMarker();
}

int TNxCustomGrid::RowDropPosition(int Y) {
  const RECT body = GetBodyRect();
  if (Y < body.top) return -1;
  int top = body.top;
  for (int row = TopRow(); row < RowCount(); ++row) {
    if (!GetRowShown(row)) continue;
    const int height = GridStyle() == gsSlides ? SlideSize() : GetRowHeight(row);
    if (top + height + LineWidth(lkRowExtra) >= Y) return Y > top + height / 2 ? row + 1 : row;
    top += height + LineWidth(lkRowExtra);
  }
  return -1;
}

// Where the marker of the drop row lies: on the line above that row.
int TNxCustomGrid::RowDropMarkerY() {
  const int top = GridStyle() == gsSlides ? GetSlideTop(FDropRow) : GetRowTop(FDropRow);
  return FDropRow == TopRow() ? top : top - 1;
}

// Red arrows at both edges pointing at a red line.
void TNxCustomGrid::ShowRowDropMarker() {
  const int y = RowDropMarkerY(), right = ClientWidth();
  efir::gdi::WindowDC dc(Handle());
  TCanvas canvas(dc);
  canvas.Pen().SetColor(clRed);
  canvas.Brush().SetColor(clRed);
  const POINT left[] = {{0, y - 2}, {2, y - 2}, {2, y - 5}, {7, y},
                        {2, y + 5}, {2, y + 2}, {0, y + 2}};
  const POINT mirrored[] = {{right - 1, y - 2}, {right - 3, y - 2}, {right - 3, y - 5},
                            {right - 8, y},     {right - 3, y + 5}, {right - 3, y + 2},
                            {right - 1, y + 2}};
  canvas.Polygon(left);
  canvas.Polygon(mirrored);
  canvas.MoveTo(8, y);
  canvas.LineTo(right - 8, y);
}

void TNxCustomGrid::HideRowDropMarker() {
  if (FDropRow < 0 || !HandleAllocated()) return;
  const int y = RowDropMarkerY(), right = ClientWidth();
  RefreshRect({0, y - 5, 8, y + 7});
  RefreshRect({right - 7, y - 5, right + 2, y + 7});
  RefreshRect({7, y, right + 1, y + 1});
}

void TNxCustomGrid::FinishRowMove() {
  FDrag = gdNone;
  HideRowDropMarker();
  const int source = std::exchange(FRowMoveSource, -1);
  const int drop = std::exchange(FDropRow, -1);
  Screen.SetCursor(crDefault);
  if (drop < 0 || !IsValidRow(source)) return;
  const int target = source < drop ? drop - 1 : drop;
  if (!AcceptRowMove(source, target)) return;
  MoveRow(source, target);
  if (OnAfterRowMove) OnAfterRowMove(this, source, target);
  SelectRow(target);
}
