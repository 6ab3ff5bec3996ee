// The grid's mouse: what lies under a point, presses, releases, double clicks, hover cursors
// and the hints that follow the mouse.
#include <algorithm>
#include <optional>
#include <utility>

#include "grid/column_parts.h"
#include "grid/custom_grid.h"
#include "framework/application.h"
#include "framework/canvas.h"
#include "framework/gdi.h"
#include "grid/grid_text.h"

namespace {

bool SameCell(POINT a, POINT b) { return a.x == b.x && a.y == b.y; }

// Rect less its last pixel column and row.
bool InZone(RECT Rect, POINT P) {
  Rect.right -= 1;
  Rect.bottom -= 1;
  return PtInRect(&Rect, P) != 0;
}

}  // namespace

// ---------------------------------------------------------------------------- under a point

TGridZone TNxCustomGrid::GetGridZone(POINT P) {
  const TGridOptions options = Options();
  if (GridStyle() == gsSlides) {
    if ((options & goHeader) && InZone(GetHeaderRect(), P)) return gzHeader;
    return gzCells;
  }
  if ((options & goHeader) && InZone(GetHeaderRect(), P)) return gzHeader;
  if ((options & goInput) && InZone(GetInputRect(), P)) return gzInput;
  if (InZone(GetBodyRect(), P)) return gzCells;
  if ((options & goFooter) && InZone(GetFooterRect(), P)) return gzFooter;
  if ((options & goIndicator) && InZone(GetIndicatorRect(), P)) return gzIndicator;
  return gzNone;
}

int TNxCustomGrid::ColumnAtX(int X) {
  for (int p = 0; p < Columns()->Count(); ++p) {
    TNxCustomColumn* column = Columns()->PositionItem(p);
    if (!column->Visible()) continue;
    int left = column->ScreenLeft();
    if (X >= left && X <= left + column->Width()) return column->Index();
  }
  return -1;
}

// A row owns its lines: from its top 3D line to its bottom line.
int TNxCustomGrid::RowAtY(int X, int Y) {
  RECT body = GetBodyRect();
  body.left = 0;
  if (!PtInRect(&body, {X, Y})) return -1;
  int top = body.top;
  for (int row = TopRow(); row < RowCount(); ++row) {
    if (!GetRowShown(row)) continue;
    int next = top + GetRowHeight(row) + LineWidth(lkRowExtra);
    if (Y < next) return row;
    top = next;
  }
  return -1;
}

POINT TNxCustomGrid::CellAtPoint(POINT P) {
  if (GridStyle() == gsReport) return {ColumnAtX(P.x), RowAtY(P.x, P.y)};
  RECT body = GetBodyRect();
  int top = body.top, row = TopRow();
  if (P.y >= body.top) {
    for (; row < RowCount(); ++row) {
      if (!GetRowShown(row)) continue;
      int next = top + SlideSize() + LineWidth(lkRowExtra);
      if (P.y < next) break;
      top = next;
    }
  }
  if (!IsValidRow(row)) return {-1, -1};
  for (int col = 0; col < Columns()->Count(); ++col) {
    RECT slide = Columns()->Item(col)->SlideRect();
    OffsetRect(&slide, 0, top);
    if (PtInRect(&slide, P)) return {col, row};
  }
  return {-1, row};
}

int TNxCustomGrid::ResizeGripColumn(int X) {
  const int fixedRight = ColumnsLeft() + GetFixedColumnsWidth();
  for (int p = 0; p < Columns()->Count(); ++p) {
    TNxCustomColumn* column = Columns()->PositionItem(p);
    if (!column->Visible() || (column->Options() & coFixedSize)) continue;
    int edge = column->ScreenLeft() + column->Width();
    if (X < edge - 3 || X > edge + 2) continue;
    if (column->Position() >= FixedCols() && X < fixedRight) continue;
    return column->Index();
  }
  return -1;
}

// The border grip of each shown row: a row steps by its height plus the vertical line's width.
int TNxCustomGrid::RowResizeLine(int X, int Y) {
  RECT body = GetBodyRect();
  if (X > kIndicatorWidth || Y < body.top) return -1;
  int bottom = body.top;
  for (int row = TopRow(); row < RowCount(); ++row) {
    if (!GetRowShown(row)) continue;
    bottom += GetRowHeight(row) + LineWidth(lkRight);
    if (bottom - 3 < Y && Y < bottom + 1) return row;
  }
  return -1;
}

int TNxCustomGrid::VisibleLeft(const TNxCustomColumn* Column) {
  int left = Column->ScreenLeft();
  if (Column->Position() >= FixedCols()) left = std::max<int>(left, GetScrollingRect().left);
  return left;
}

// ---------------------------------------------------------------------------- press

void TNxCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TNxCustomGridControl::MouseDown(Button, Shift, X, Y);
  FDownPoint = {X, Y};
  FDownCell = CellAtPoint(FDownPoint);
  if (Shift & ssDouble) {
    DoubleClick(X, Y);
    FDownPoint = {-1, -1};
    return;
  }
  if (GetParentForm() && CanFocus() && !Focused()) SetFocus();
  if (Columns()->Count() == 0 || Button == mbMiddle) return;
  const TGridZone zone = GetGridZone(FDownPoint);
  if (Button == mbLeft && zone == gzHeader && StartColumnResize(X)) return;
  switch (zone) {
    case gzCells:
      CellPress(Button, Shift);
      PlayPress(Button, Shift, X, Y);
      break;
    case gzHeader:
      if (Button == mbLeft) HeaderPress(X);
      break;
    case gzIndicator:
      IndicatorPress(Button, X, Y);
      break;
    case gzNone:
      ApplyEdit();
      EndEdit();
      MouseDownOutside();
      break;
    default:
      break;
  }
}

void TNxCustomGrid::DoubleClick(int X, int Y) {
  if (TNxCustomColumn* grip = ColumnOrNull(FGripColumn);
      grip && (grip->GetCapabilities() & ccFitOnGripClick)) {
    FGripColumn = -1;
    AutoSizeColumn(grip->Index(), 0, true);
    return;
  }
  switch (GetGridZone({X, Y})) {
    case gzCells:
      if (IsValidCell(FDownCell.x, FDownCell.y)) DoCellDblClick(FDownCell.x, FDownCell.y);
      break;
    case gzHeader:
      if (int col = ColumnAtX(X); col >= 0) DoHeaderDblClick(col);
      break;
    case gzIndicator:
      if (Options() & goRowResizing) {
        if (int row = RowResizeLine(X, Y); IsValidRow(row)) AutoSizeRowHeight(row);
      }
      break;
    default:
      break;
  }
}

bool TNxCustomGrid::PrepareCellPlay(int ACol, int ARow, bool FireBeforeEdit, const RECT& CellRect) {
  bool accept = true;
  if (FireBeforeEdit && OnBeforeEdit) OnBeforeEdit(this, ACol, ARow, accept);
  if (!accept) return false;
  TNxCustomColumn* column = Columns()->Item(ACol);
  TColumnPlay* play = column->Play();
  play->Col = ACol;
  play->Row = ARow;
  Canvas().Font().Assign(*column->Font());
  play->Canvas = &Canvas();
  FillCellPlay(play);
  if (TColumnDisplay* display = column->Display()) play->DisplayRect = display->Rect;
  play->CellRect = CellRect;
  play->OnValueChanged = [this](TColumnPlay* p) { PlayValueChanged(p); };
  play->OnRowToggled = [this](TColumnPlay* p) { PlayRowToggled(p); };
  return true;
}

// Outside painting the grid's canvas is bound to nothing: the element that draws itself while
// it reacts draws on the window.
void TNxCustomGrid::RunCellPlay(POINT Cell, bool FireBeforeEdit,
                                const std::function<void(TColumnPlay&, POINT)>& React) {
  RECT cell{};
  GetCellRect(Cell.x, Cell.y, cell);
  std::optional<efir::gdi::WindowDC> window;
  std::optional<efir::CanvasBinding> bound;
  if (!Canvas().HandleAllocated() && HandleAllocated()) {
    window.emplace(Handle());
    bound.emplace(Canvas(), window->get());
  }
  if (!PrepareCellPlay(Cell.x, Cell.y, FireBeforeEdit, cell)) return;
  TColumnPlay& play = *Columns()->Item(Cell.x)->Play();
  React(play, {cell.left, cell.top});
  play.Canvas = nullptr;
}

TColumnPlay* TNxCustomGrid::EditablePlay(int ACol, int ARow) {
  if (!Columns()->ValidIndex(ACol) || !IsValidRow(ARow) || ReadOnly()) return nullptr;
  TNxCustomColumn* column = Columns()->Item(ACol);
  const bool canEdit =
      (column->Options() & coEditing) || (column->GetCapabilities() & ccPlayWithoutEditing);
  return canEdit ? column->Play() : nullptr;
}

void TNxCustomGrid::PlayPress(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (!EditablePlay(FDownCell.x, FDownCell.y)) return;
  RunCellPlay(FDownCell, true, [&](TColumnPlay& play, POINT origin) {
    play.MouseDown(Button, Shift, {X - origin.x, Y - origin.y});
  });
}

void TNxCustomGrid::PlayRelease(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (!EditablePlay(FDownCell.x, FDownCell.y)) return;
  RunCellPlay(FDownCell, true, [&](TColumnPlay& play, POINT origin) {
    play.MouseUp(Button, Shift, {X - origin.x, Y - origin.y});
  });
}

// A move needs no editing right: the element may only track the hot spot under the mouse.
void TNxCustomGrid::PlayHover(TShiftState Shift, int X, int Y) {
  const POINT at = FHoverCell;
  if (!Columns()->ValidIndex(at.x) || !IsValidRow(at.y) || ReadOnly()) return;
  if (!Columns()->Item(at.x)->Play()) return;
  RunCellPlay(at, false, [&](TColumnPlay& play, POINT origin) {
    play.MouseMove(Shift, {X - origin.x, Y - origin.y});
  });
}

void TNxCustomGrid::PlayLeave(POINT Cell) {
  if (!Columns()->ValidIndex(Cell.x)) return;
  if (TColumnPlay* play = Columns()->Item(Cell.x)->Play()) play->MouseLeave();
}

void TNxCustomGrid::PlayKey(char& Key) {
  if (!EditablePlay(SelectedColumn(), SelectedRow())) return;
  RunCellPlay({SelectedColumn(), SelectedRow()}, true,
              [&](TColumnPlay& play, POINT) { play.KeyPress(Key); });
}

void TNxCustomGrid::CellPress(TMouseButton Button, TShiftState Shift) {
  if (IsEditingAny()) {
    const bool input = (FState & kEditingInput) != 0;
    ApplyEdit();
    if (input) CommitInputLine();
    EndEdit();
  }
  if (GridStyle() == gsReport) SetInputSelected(false);
  FPressedCellWasSelected = SameCell(FDownCell, GetSelectedCell());
  if (!IsValidRow(FDownCell.y)) return;
  const int row = FDownCell.y;
  FRowMoveSource = row;
  const int col = Columns()->ValidIndex(FDownCell.x) ? FDownCell.x : SelectedColumn();
  SelectCell(col, row, Shift, ResetsMultiSelection(Button, row), false);
  if (GridStyle() == gsReport) {
    if (GetRowTop(row) + GetRowHeight(row) > GetBodyRect().bottom) ScrollToRow(row);
  } else if (GetSlideRect(row).bottom > GetBodyRect().bottom) {
    VertScrollBar().StepForward();
  }
}

// A left press on a row of the multi-selection while the grid is dragged keeps the other
// rows for the drag; a right press keeps a multi-selection it lands in (for a context menu on
// it) and starts a new one elsewhere, as a left press does. Either way a cancelled drag
// selects the row alone (DragCanceled). Each press decides afresh, so a drag that dropped
// leaves nothing for a later cancel.
bool TNxCustomGrid::ResetsMultiSelection(TMouseButton Button, int ARow) {
  FDeferredSelect = false;
  if (!IsMultiSelect()) return Button == mbLeft;
  const bool selected = GetRowSelected(ARow);
  if (Button == mbLeft && selected && Dragging()) {
    FDeferredSelect = true;
    return false;
  }
  if (Button == mbRight && !selected) {
    FDeferredSelect = true;
    return true;
  }
  return Button == mbLeft;
}

void TNxCustomGrid::DragCanceled() {
  if (!std::exchange(FDeferredSelect, false)) return;
  SelectCell(SelectedColumn(), SelectedRow(), 0, true, false);
}

void TNxCustomGrid::HeaderPress(int X) {
  FPressedHeaderColumn = ColumnAtX(X);
  TNxCustomColumn* column = ColumnOrNull(FPressedHeaderColumn);
  if (!column || !(column->Options() & coCanClick)) {
    FPressedHeaderColumn = -1;
    return;
  }
  FClickedHeaderColumn = FPressedHeaderColumn;
  RefreshColumn(column, gpHeader);
}

void TNxCustomGrid::IndicatorPress(TMouseButton Button, int X, int Y) {
  // Either button drags a row's border; that button's release ends the drag.
  if (StartRowResize(X, Y)) {
    FRowResizeButton = Button;
    return;
  }
  int row = RowAtY(X, Y);
  if (IsValidRow(row)) SelectRow(row);
}

// ---------------------------------------------------------------------------- release

void TNxCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TNxCustomGridControl::MouseUp(Button, Shift, X, Y);
  // A drag belongs to the button that started it (the left one, but for a row's border):
  // another button's release leaves it running.
  if (FDrag != gdNone && Button != (FDrag == gdRowResize ? FRowResizeButton : mbLeft)) return;
  const int pressed = std::exchange(FPressedHeaderColumn, -1);
  FDownPoint = {-1, -1};
  if (FinishDrag()) return;
  // A row move starts from a press: not from one released before.
  FRowMoveSource = -1;
  if (TNxCustomColumn* clicked = ColumnOrNull(std::exchange(FClickedHeaderColumn, -1))) {
    RefreshColumn(clicked, gpHeader);
    DoHeaderClick(clicked->Index());
  }
  if (Button != mbLeft) {
    EndEdit();
    return;
  }
  switch (GetGridZone({X, Y})) {
    case gzCells:
      CellRelease(Button, Shift, X, Y);
      break;
    case gzFooter:
      if (int col = ColumnAtX(X); col >= 0) DoFooterClick(col);
      break;
    case gzHeader:
      HeaderSort(pressed, X);
      break;
    case gzInput:
      if (int col = ColumnAtX(X); col >= 0) StartInputEdit(col, {});
      break;
    case gzNone:
    case gzIndicator:
      if (FState & kMultiSelected) DeselectAllRows();
      break;
  }
}

void TNxCustomGrid::CellRelease(TMouseButton Button, TShiftState Shift, int X, int Y) {
  const POINT cell = CellAtPoint({X, Y});
  const bool same = SameCell(cell, FDownCell);
  if (IsValidCell(cell.x, cell.y) && same) DoCellClick(cell.x, cell.y);
  if (!Columns()->ValidIndex(cell.x)) return;
  if ((FState & kMultiSelected) && cell.y == -1) {
    DeselectAllRows();
    return;
  }
  if (!same || !IsValidCell(cell.x, cell.y)) return;
  PlayRelease(Button, Shift, X, Y);
  RECT area{};
  GetCellRect(cell.x, cell.y, area);
  if (!PtInRect(&area, {X, Y})) return;
  if ((Options() & goSecondClickEdit) && !FPressedCellWasSelected) return;
  if (CanSelectCell(cell.x, cell.y)) StartEdit(cell.x, cell.y, std::wstring());
}

// The first click on a header sorts by its column in its SortKind; each further click flips
// the direction. The column asks the grid to sort (OnSortColumn, then the rows move).
void TNxCustomGrid::HeaderSort(int PressedColumn, int X) {
  const int col = ColumnAtX(X);
  TNxCustomColumn* column = ColumnOrNull(col);
  if (!column || col != PressedColumn || !(column->Options() & coCanSort)) return;
  if (column->Sorted()) {
    column->SetSortKind(column->SortKind() == skAscending ? skDescending : skAscending);
  } else {
    column->SetSorted(true);
  }
}

void TNxCustomGrid::ForgetPress() {
  FPressedHeaderColumn = -1;
  FDownPoint = {-1, -1};
  if (TNxCustomColumn* clicked = ColumnOrNull(std::exchange(FClickedHeaderColumn, -1)))
    RefreshColumn(clicked, gpHeader);
}

// ---------------------------------------------------------------------------- hover

void TNxCustomGrid::MouseMove(TShiftState Shift, int X, int Y) {
  TNxCustomGridControl::MouseMove(Shift, X, Y);
  FPrevHoverCell = std::exchange(FHoverCell, POINT{-1, -1});
  if (Columns()->Count() == 0 || Rolling()) return;
  if (TrackResize(X, Y)) return;
  const TGridZone zone = GetGridZone({X, Y});
  if (zone == gzHeader) {
    HeaderHover(Shift, X, Y);
  } else {
    if (FHintKind == hkHeader) HideHint();
    FHintedHeaderColumn = -1;
    FGripColumn = -1;
    SetHotHeaderColumn(-1);
  }
  if (zone == gzFooter) {
    FooterHover(X);
  } else {
    if (FHintKind == hkFooter) HideHint();
    FHintedFooterColumn = -1;
  }
  if (zone == gzCells) {
    CellHover(Shift, X, Y);
  } else {
    if (FHintKind == hkTextFit || FHintKind == hkCell) HideHint();
    PlayLeave(FPrevHoverCell);
  }
  if (zone == gzIndicator) IndicatorHover(X, Y);
  if (zone == gzNone) {
    HideHint();
    SetCursor(crDefault);
  }
}

void TNxCustomGrid::SetHotHeaderColumn(int ACol) {
  const int old = std::exchange(FHotHeaderColumn, ACol);
  if (old == ACol || !(Options() & goHeader)) return;
  if (TNxCustomColumn* column = ColumnOrNull(old)) RefreshColumn(column, gpHeader);
  if (TNxCustomColumn* column = ColumnOrNull(ACol)) RefreshColumn(column, gpHeader);
}

void TNxCustomGrid::HeaderHover(TShiftState Shift, int X, int Y) {
  FGripColumn = ResizeGripColumn(X);
  SetCursor(FGripColumn >= 0 ? crHeaderSplit : crDefault);
  if (ColumnMayMove(Shift)) {
    TryStartColumnMove(X, Y);
    return;
  }
  const int hot = ColumnAtX(X);
  TNxCustomColumn* column = ColumnOrNull(hot);
  if (!column || column->Header()->Hint().empty()) {
    HideHint();
    FHintedHeaderColumn = -1;
  } else if (hot != FHintedHeaderColumn) {
    FHintedHeaderColumn = hot;
    FHintKind = hkHeader;
    ShowHintAt(VisibleLeft(column), HeaderSize() + 2, column->Header()->Hint());
  }
  SetHotHeaderColumn(hot);
}

void TNxCustomGrid::FooterHover(int X) {
  const int col = ColumnAtX(X);
  TNxCustomColumn* column = ColumnOrNull(col);
  if (!column || column->Footer()->Hint().empty()) {
    HideHint();
    FHintedFooterColumn = -1;
  } else if (col != FHintedFooterColumn) {
    FHintedFooterColumn = col;
    FHintKind = hkFooter;
    ShowHintAt(VisibleLeft(column), ClientHeight() + 2, column->Footer()->Hint());
  }
}

void TNxCustomGrid::IndicatorHover(int X, int Y) {
  if ((Options() & goRowResizing) && RowResizeLine(X, Y) >= 0) {
    SetCursor(crRowSplit);
    return;
  }
  RECT body = GetBodyRect();
  int last = LastRowInView();
  bool overRows = IsValidRow(last) && Y >= body.top && Y < GetRowTop(last) + GetRowHeight(last);
  SetCursor(overRows ? crIndicatorSelect : crDefault);
}

void TNxCustomGrid::CellHover(TShiftState Shift, int X, int Y) {
  FHoverCell = CellAtPoint({X, Y});
  if (!SameCell(FHoverCell, FPrevHoverCell)) PlayLeave(FPrevHoverCell);
  PlayHover(Shift, X, Y);
  TrackRowMove(Shift, X, Y);
  const int col = FHoverCell.x, row = FHoverCell.y;
  if (!IsValidCell(col, row)) {
    SetCursor(crDefault);
    HideHint();
    return;
  }
  if (IsEditing() && SameCell(FHoverCell, EditingCell())) {
    HideHint();
    return;
  }
  TNxCustomColumn* column = Columns()->Item(col);
  SetCursor(column->Cursor());
  if (SameCell(FHoverCell, FPrevHoverCell)) return;
  if ((column->Options() & coShowTextFitHint) && !TextFits(col, row)) {
    ShowTextFitHint(col, row);
    return;
  }
  // A cell hint waits until a text-fit hint has given way to another kind of hint.
  std::wstring hint;
  if (FHintKind != hkTextFit) GetCellHint(col, row, hint);
  if (hint.empty()) {
    HideHint();
    return;
  }
  ShowCellHint(col, row, hint);
}

bool TNxCustomGrid::TextFits(int ACol, int ARow) {
  TNxCustomColumn* column = Columns()->Item(ACol);
  const int width = GridStyle() == gsSlides ? column->SlideWidth() : column->Width();
  return width >= MeasureCellWidth(ACol, ARow) + 5;
}

// The whole text over the clipped cell, from the cell's top-left corner.
void TNxCustomGrid::ShowTextFitHint(int ACol, int ARow) {
  if (!grid::IsParentFormActive(this)) return;
  RecreateHintWindow();
  FHintKind = hkTextFit;
  std::wstring text;
  GetHintText(ACol, ARow, text);
  if (OnApplyCell) OnApplyCell(this, ACol, ARow, text);
  if (text.empty()) {
    HideHint();
    return;
  }
  RECT cell{};
  GetCellRect(ACol, ARow, cell);
  RECT rect = grid::CalcHintWindowRect(FHintWindow.get(), ClientWidth(), text);
  ShowHintRect(rect, {cell.left, cell.top}, text);
}

// Above the cell's top right corner, kept inside the grid's width.
void TNxCustomGrid::ShowCellHint(int ACol, int ARow, const std::wstring& Text) {
  if (!grid::IsParentFormActive(this) || !Application.ShowHint()) return;
  RecreateHintWindow();
  FHintKind = hkCell;
  TNxCustomColumn* column = Columns()->Item(ACol);
  RECT cell{};
  GetCellRect(ACol, ARow, cell);
  const int width = GridStyle() == gsSlides ? column->SlideWidth() : column->Width();
  const POINT at{std::min<int>(cell.left + width, ClientWidth()), cell.top - 20};
  RECT rect = grid::CalcHintWindowRect(FHintWindow.get(), 250, Text);
  ShowHintRect(rect, at, Text);
}
