// Where the grid's parts, rows and cells lie; the selection and its movement; scrolling rows
// and columns into view and the scroll ranges. Positions of the vertical bar count shown
// rows above TopRow; those of the horizontal bar are pixels.
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <optional>

#include "framework/gdi.h"
#include "grid/column_display.h"
#include "grid/column_parts.h"
#include "grid/grid_text.h"
#include "grid/grid_control.h"
#include "grid/style_displays.h"

// ---------------------------------------------------------------------------- geometry

int TNxCustomGridControl::ColumnsLeft() const {
  return FOptions & goIndicator ? kIndicatorWidth : 0;
}

int TNxCustomGridControl::HorzScrollPos() const {
  return const_cast<TNxCustomGridControl*>(this)->HorzScrollBar().Position();
}

int TNxCustomGridControl::AvailableColumnsWidth() const {
  int width = const_cast<TNxCustomGridControl*>(this)->ClientWidth();
  if (FGridStyle == gsReport && (FOptions & goIndicator)) width -= kIndicatorWidth;
  return width;
}

const TFont& TNxCustomGridControl::GridFont() const {
  return const_cast<TNxCustomGridControl*>(this)->Font();
}

RECT TNxCustomGridControl::BandRect(int Part) const {
  auto* self = const_cast<TNxCustomGridControl*>(this);
  switch (Part) {
    case 0: return self->GetFooterRect();
    case 1: return self->GetHeaderRect();
    default: return self->GetInputRect();
  }
}

int TNxCustomGridControl::RowExtent(int Row) {
  return FGridStyle == gsSlides ? FSlideSize : GetRowHeight(Row);
}

namespace {
int ColumnsRight(int left, int total, int hpos) { return left + total - hpos; }
}  // namespace

RECT TNxCustomGridControl::GetBodyRect() {
  RECT client = ClientRect();
  int headerBottom = FOptions & goHeader ? FHeaderSize : 0;
  if (FGridStyle == gsSlides) return {0, headerBottom, client.right, client.bottom};
  int left = ColumnsLeft();
  int top = headerBottom;
  if (FOptions & goInput) top += FInputSize + 6 + FLineWidth[lkBottom];
  int right =
      std::min<int>(ColumnsRight(left, FColumns->TotalWidth(), HorzScrollPos()), client.right);
  int bottom = client.bottom;
  if (FOptions & goFooter) bottom -= FFooterSize + 4 + FLineWidth[lkBottom];
  return {left, top, right, bottom};
}

RECT TNxCustomGridControl::GetHeaderRect() {
  int left = ColumnsLeft();
  return {left, 0, ColumnsRight(left, FColumns->TotalWidth(), HorzScrollPos()), FHeaderSize};
}

RECT TNxCustomGridControl::GetFooterRect() {
  if (FGridStyle == gsSlides) return {0, 0, 0, 0};
  int left = ColumnsLeft();
  int height = ClientHeight();
  return {left, height - FFooterSize - 4 - FLineWidth[lkBottom],
          ColumnsRight(left, FColumns->TotalWidth(), HorzScrollPos()), height};
}

RECT TNxCustomGridControl::GetIndicatorRect() { return {0, 0, kIndicatorWidth, ClientHeight()}; }

RECT TNxCustomGridControl::GetInputRect() {
  int left = ColumnsLeft();
  int top = FOptions & goHeader ? FHeaderSize : 0;
  return {left, top, ColumnsRight(left, FColumns->TotalWidth(), HorzScrollPos()),
          top + FInputSize + 6 + FLineWidth[lkBottom]};
}

RECT TNxCustomGridControl::GetInputCellRect(int ACol) {
  RECT input = GetInputRect();
  if (!FColumns->ValidIndex(ACol)) return {0, 0, 0, 0};
  int left = FColumns->Item(ACol)->ScreenLeft();
  return {left, input.top, left + FColumns->Item(ACol)->Width(), input.top + FInputSize};
}

RECT TNxCustomGridControl::GetScrollingRect() {
  int left = GetFixedColumnsWidth() + (FOptions & goIndicator ? kIndicatorWidth : 0);
  return {left, 0, ClientWidth(), ClientHeight()};
}

int TNxCustomGridControl::GetFixedColumnsWidth() { return FColumns->FixedWidth(); }

int TNxCustomGridControl::GetRowTop(int Row) { return RowTopUpTo(Row, INT_MAX); }

bool TNxCustomGridControl::RowBelowBody(int Row) {
  const int bottom = GetBodyRect().bottom;
  return FGridStyle == gsReport && RowTopUpTo(Row, bottom) > bottom;
}

// The row's top, counted no further than past `Limit`.
int TNxCustomGridControl::RowTopUpTo(int Row, int Limit) {
  int top = GetBodyRect().top + FLineWidth[lkTop3D];
  int rows = RowCount();
  for (int i = FTopRow; i < Row && top <= Limit; ++i) {
    int h = i >= rows ? FRowSize : (GetRowShown(i) ? GetRowHeight(i) : 0);
    if (h > 0) top += h + FLineWidth[lkRowExtra];
  }
  return top;
}

RECT TNxCustomGridControl::GetRowRect(int Row) {
  int top = GetRowTop(Row);
  int height = Row < RowCount() ? GetRowHeight(Row) : FRowSize;
  return {0, top, GetBodyRect().right, top + height + FLineWidth[lkBottom]};
}

int TNxCustomGridControl::GetSlideTop(int Row) {
  int top = GetBodyRect().top;
  for (int i = FTopRow; i < Row && i < RowCount(); ++i)
    if (GetRowShown(i)) top += FSlideSize + FLineWidth[lkRowExtra];
  return top;
}

RECT TNxCustomGridControl::GetSlideRect(int Row) {
  int top = GetSlideTop(Row) + FLineWidth[lkTop3D];
  return {0, top, ClientWidth(), top + FSlideSize};
}

void TNxCustomGridControl::GetCellRect(int ACol, int ARow, RECT& Rect) {
  if (!FColumns->ValidIndex(ACol)) return;
  TNxCustomColumn* column = FColumns->Item(ACol);
  if (FGridStyle == gsSlides) {
    TNxSlideBounds* bounds = column->SlideBounds();
    int top = bounds->Top() + GetSlideTop(ARow);
    Rect = {bounds->Left(), top, bounds->Right(), top + bounds->Height()};
    return;
  }
  int left = column->ScreenLeft();
  int top = GetRowTop(ARow);
  int height = ARow < RowCount() ? GetRowHeight(ARow) : FRowSize;
  Rect = {left, top, left + column->Width(), top + height};
}

int TNxCustomGridControl::GetCellTop(int ACol, int ARow) {
  if (FGridStyle == gsReport || !FColumns->ValidIndex(ACol)) return GetRowTop(ARow);
  return GetSlideTop(ARow) + FColumns->Item(ACol)->SlideBounds()->Top();
}

// The number of shown rows from `From` down whose whole height fits in `Height` pixels.
int TNxCustomGridControl::RowsFitFrom(int From, int Height) {
  int used = 0, count = 0;
  for (int i = std::max(From, 0); i < RowCount(); ++i) {
    if (!GetRowShown(i)) continue;
    used += RowExtent(i) + FLineWidth[lkRowExtra];
    if (used > Height) break;
    ++count;
  }
  return count;
}

int TNxCustomGridControl::LastRowInView() {
  RECT body = GetBodyRect();
  int bottom = body.top, last = FTopRow;
  for (int i = FTopRow; i < RowCount(); ++i) {
    if (!GetRowShown(i)) continue;
    bottom += RowExtent(i) + FLineWidth[lkRowExtra];
    if (bottom > body.bottom) break;
    last = i;
  }
  return last;
}

int TNxCustomGridControl::GetRowsInView(bool IncludeAbove) {
  RECT body = GetBodyRect();
  int height = body.bottom - body.top;
  int count = 0, used = 0;
  for (int i = FTopRow; i < RowCount(); ++i) {
    if (!GetRowShown(i)) continue;
    if (used + RowExtent(i) + FLineWidth[lkRowExtra] > height) break;
    used += RowExtent(i) + FLineWidth[lkRowExtra];
    ++count;
  }
  if (!IncludeAbove) return count;
  for (int i = std::min(FTopRow, RowCount()) - 1; i >= 0; --i) {
    if (!GetRowShown(i)) continue;
    if (used + RowExtent(i) + FLineWidth[lkRowExtra] > height) break;
    used += RowExtent(i) + FLineWidth[lkRowExtra];
    ++count;
  }
  return count;
}

int TNxCustomGridControl::CountShownRows(int From, int To) {
  int count = 0;
  for (int i = std::max(From, 0); i < To && i < RowCount(); ++i)
    if (GetRowShown(i)) ++count;
  return count;
}

int TNxCustomGridControl::GetRowAtViewOffset(int N) {
  if (N <= 0) return FTopRow;
  int row = FTopRow, counted = 0;
  for (; row < RowCount(); ++row) {
    if (GetRowShown(row) && ++counted == N) return row;
  }
  return std::min(row, RowCount());
}

RECT TNxCustomGridControl::VertScrollArea() {
  RECT body = GetBodyRect();
  body.left = 0;
  return body;
}

RECT TNxCustomGridControl::HorzScrollArea() { return GetScrollingRect(); }

// ---------------------------------------------------------------------------- selection

bool TNxCustomGridControl::IsValidRow(int Row) { return Row >= 0 && Row < RowCount(); }

bool TNxCustomGridControl::IsValidCell(int ACol, int ARow) {
  return FColumns->ValidIndex(ACol) && IsValidRow(ARow);
}

bool TNxCustomGridControl::IsMultiSelect() const {
  return (FOptions & goMultiSelect) && (FOptions & goSelectFullRow);
}

void TNxCustomGridControl::SetSelectedCellRaw(int ACol, int ARow) {
  FSelectedColumn = ACol;
  FSelectedRow = ARow;
}

void TNxCustomGridControl::SelectCell(int ACol, int ARow, TShiftState Shift,
                                      bool ResetMultiSelect, bool StartEditing) {
  bool accept = CanSelectCell(ACol, ARow);
  DoBeforeSelect(ACol, ARow, accept);
  if (!accept) return;
  // An accepted plain selection ends a multi-selection even when the cell is then refused.
  if ((FState & kMultiSelected) && ResetMultiSelect && !(Shift & (ssShift | ssCtrl)))
    ClearSelection();
  // A refused cell changes nothing more: a disabled column (the player locks its tiles while
  // it connects), and a row that does not exist (-1 stands for "no row").
  if (!FColumns->ValidIndex(ACol) || !FColumns->Item(ACol)->Enabled()) return;
  if (ARow < -1 || ARow >= RowCount()) return;

  const int oldCol = FSelectedColumn, oldRow = FSelectedRow;
  const bool cellChanged = oldCol != ACol || oldRow != ARow;
  const bool leaving = cellChanged && IsValidCell(oldCol, oldRow);
  FSelectedColumn = ACol;
  FSelectedRow = ARow;
  // The grid's own state is complete before any handler runs: one that fails (the player's
  // list handler may) leaves a consistent grid behind.
  const bool multi = (FOptions & goSelectFullRow) && (FOptions & goMultiSelect) &&
                     (Shift & (ssCtrl | ssShift));
  const bool body = !FInputSelected && RowCount() > 0;
  if (FInputSelected && oldCol != ACol) {
    RefreshColumn(FColumns->Item(ACol), gpInput);
    if (FColumns->ValidIndex(oldCol)) RefreshColumn(FColumns->Item(oldCol), gpInput);
  } else if (body && multi) {
    MarkMultiSelection(ARow, oldRow, Shift);
  } else if (body) {
    MarkSelection(ACol, ARow, oldCol, oldRow);
  }

  if (leaving) DoDeselectCell(oldCol, oldRow);
  if (cellChanged && IsEditing()) EndEdit();
  if (FAutoScroll && IsValidRow(ARow)) ScrollToRow(ARow);
  if (FInputSelected) {
    if (oldCol != ACol && OnInputSelectCell) OnInputSelectCell(this, ACol);
    return;
  }
  if (!body || ARow < 0) return;  // no rows, or the selection was cleared: no cell to report
  DoSelectCell(ACol, ARow);
  if (StartEditing && !multi) StartEdit(ACol, ARow, std::wstring());
}

void TNxCustomGridControl::RefreshRowOrSlide(int Row) {
  if (FGridStyle == gsSlides) RefreshSlide(Row, true);
  else RefreshRow(Row, false);
}

// Ctrl toggles one row and makes it the anchor; Shift selects from the anchor to the row,
// clearing every other row unless Ctrl is held too.
void TNxCustomGridControl::MarkMultiSelection(int ARow, int OldRow, TShiftState Shift) {
  FState |= kMultiSelected;
  if (!(Shift & ssShift)) {
    FSelectionAnchor = ARow;
    if (ARow >= 0) SetRowSelected(ARow, !GetRowSelected(ARow));
    if (ARow != OldRow && OldRow >= 0) RefreshRowOrSlide(OldRow);
    return;
  }
  int from = std::min(FSelectionAnchor, ARow), to = std::max(FSelectionAnchor, ARow);
  if (from < 0) from = to;
  if (!(Shift & ssCtrl)) {
    for (int i = 0; i < RowCount(); ++i)
      if (i < from || i > to) SetRowSelected(i, false);
  }
  SelectRowRange(from, to, true);
  if (ARow != OldRow) {
    if (ARow >= 0) RefreshRowOrSlide(ARow);
    if (OldRow >= 0) RefreshRowOrSlide(OldRow);
  }
}

void TNxCustomGridControl::MarkSelection(int ACol, int ARow, int OldCol, int OldRow) {
  const bool rowChanged = OldRow != ARow;
  if (FOptions & goSelectFullRow) {
    if (!rowChanged) {
      if ((FAppearanceOptions & aoIndicateSelectedCell) && OldCol != ACol) {
        RefreshCell(ACol, ARow);
        RefreshCell(OldCol, OldRow);
      }
      return;
    }
    if (!(FState & kMultiSelected) && IsValidRow(OldRow)) SetRowSelected(OldRow, false);
    if (ARow >= 0) SetRowSelected(ARow, true);
    FSelectionAnchor = ARow;
    if (!IsUpdating()) {
      if (ARow >= 0) RefreshRowOrSlide(ARow);
      if (IsValidRow(OldRow)) RefreshRowOrSlide(OldRow);
    }
    return;
  }
  if (OldCol == ACol && !rowChanged) return;
  if (rowChanged) {
    if (FGridStyle == gsSlides) {
      RefreshSlide(ARow, true);
      RefreshSlide(OldRow, true);
    } else {
      RefreshIndicator(ARow);
      RefreshIndicator(OldRow);
    }
  }
  RefreshCell(ACol, ARow);
  RefreshCell(OldCol, OldRow);
}

void TNxCustomGridControl::SelectRow(int Index) {
  if (RowCount() == 0 || Index < -1 || Index >= RowCount()) return;
  SetInputSelected(false);
  SelectCell(FSelectedColumn, Index, 0, true, false);
}

void TNxCustomGridControl::SelectColumn(int ACol) {
  if (!FColumns->ValidIndex(ACol)) return;
  SelectCell(ACol, FSelectedRow, 0, true, false);
}

void TNxCustomGridControl::SelectFirstColumn() {
  if (TNxCustomColumn* column = FColumns->FirstEnabled()) {
    SelectColumn(column->Index());
    ScrollToColumn(column);
  }
}

void TNxCustomGridControl::SelectLastColumn() {
  for (int p = FColumns->Count() - 1; p >= 0; --p) {
    TNxCustomColumn* column = FColumns->PositionItem(p);
    if (!column->Visible()) continue;
    SelectColumn(column->Index());  // a disabled one is refused there
    ScrollToColumn(column);
    return;
  }
}

bool TNxCustomGridControl::ColumnAutoEdit(int ACol) {
  return FColumns->ValidIndex(ACol) && FColumns->Item(ACol)->AutoEdit();
}

void TNxCustomGridControl::MoveSelectionTo(TNxCustomColumn* Column, TMoveSelectionKey Key) {
  int col = Column->Index();
  if (OnSelectionMove) OnSelectionMove(this, col, FSelectedRow, Key);
  if (!FColumns->ValidIndex(col)) return;
  SelectCell(col, FSelectedRow, 0, true, ColumnAutoEdit(col));
  if (FGridStyle == gsReport) ScrollToColumn(FColumns->Item(col));
}

void TNxCustomGridControl::MoveSelectionLeft(TMoveSelectionKey Key) {
  if (FColumns->ValidIndex(FSelectedColumn))
    MoveSelectionTo(FColumns->Item(FSelectedColumn)->PrevEnabled(), Key);
}

void TNxCustomGridControl::MoveSelectionRight(TMoveSelectionKey Key) {
  if (FColumns->ValidIndex(FSelectedColumn))
    MoveSelectionTo(FColumns->Item(FSelectedColumn)->NextEnabled(), Key);
}

void TNxCustomGridControl::MoveSelectionBy(int Delta) {
  int row = FSelectedRow;
  int step = Delta < 0 ? -1 : 1;
  int limit = Delta < 0 ? GetFirstShownRow() : GetLastShownRow();
  for (int n = std::abs(Delta); n > 0 && row != limit;) {
    row += step;
    if (row < 0 || row >= RowCount()) break;
    if (GetRowShown(row)) --n;
  }
  SelectRow(std::clamp(row, -1, RowCount() - 1));
}

void TNxCustomGridControl::TabForward(bool FromKey) {
  if (!FColumns->ValidIndex(FSelectedColumn)) return;
  TMoveSelectionKey key = FromKey ? mkTab : mkUndefined;
  if (FColumns->LastEnabled() != FColumns->Item(FSelectedColumn)) {
    MoveSelectionRight(key);
  } else if (!FInputSelected) {
    MoveSelectionDown(0, FromKey && FTabLeaveControl, FromKey);
    if (TNxCustomColumn* first = FColumns->FirstEnabled()) {
      int col = first->Index();
      if (OnSelectionMove) OnSelectionMove(this, col, FSelectedRow, key);
      SelectColumn(col);
    }
  } else if (FTabLeaveControl) {
    FocusNextControl();
  }
}

void TNxCustomGridControl::TabBackward(bool FromKey) {
  if (!FColumns->ValidIndex(FSelectedColumn)) return;
  TMoveSelectionKey key = FromKey ? mkTab : mkUndefined;
  if (FColumns->FirstEnabled() != FColumns->Item(FSelectedColumn)) {
    MoveSelectionLeft(key);
  } else if (!FInputSelected && FSelectedRow > GetFirstShownRow()) {
    MoveSelectionUp(0);
    if (TNxCustomColumn* last = FColumns->LastEnabled()) {
      int col = last->Index();
      if (OnSelectionMove) OnSelectionMove(this, col, FSelectedRow, key);
      SelectColumn(col);
    }
  } else if (FTabLeaveControl) {
    FocusPreviousControl();
  }
}

void TNxCustomGridControl::SetInputSelected(bool Value) {
  if (FInputSelected == Value) return;
  FInputSelected = Value;
  if (Value) {
    if (IsValidRow(FSelectedRow)) SetRowSelected(FSelectedRow, false);
  } else {
    EndEdit();
  }
  RefreshPart(gpInput);
  RefreshPart(gpIndicator);
  RefreshSelection();
}

void TNxCustomGridControl::ClearSelection() {
  BeginUpdate();
  DeselectAllRows();
  EndUpdate();
  FState &= static_cast<uint16_t>(~kMultiSelected);
  FSelectedRow = -1;
  FSelectedColumn = 0;
}

void TNxCustomGridControl::SelectAllRows() {
  if (!IsMultiSelect()) return;
  BeginUpdate();
  for (int i = 0; i < RowCount(); ++i) SetRowSelected(i, true);
  FState |= kMultiSelected;
  EndUpdate();
}

void TNxCustomGridControl::SelectFirstRow(TShiftState Shift) {
  SetInputSelected(false);
  SelectCell(FSelectedColumn, GetFirstShownRow(), Shift, true, false);
  VertScrollBar().First();
}

void TNxCustomGridControl::SelectLastRow(TShiftState Shift) {
  SetInputSelected(false);
  SelectCell(FSelectedColumn, GetLastShownRow(), Shift, true, false);
  VertScrollBar().Last();
}

void TNxCustomGridControl::MoveSelectionDown(TShiftState Shift, bool LeaveAtEnd, bool WrapAtEnd) {
  if (RowCount() == 0) return;
  if (FInputSelected) {
    SetInputSelected(false);
  } else {
    if (FSelectedRow < 0) return;
    if (FSelectedRow >= GetLastShownRow()) {
      if (LeaveAtEnd) FocusNextControl();
      else if (WrapAtEnd) SelectFirstRow(0);
      return;
    }
  }
  for (int row = FSelectedRow + 1; row < RowCount(); ++row) {
    if (!GetRowShown(row) || !CanSelectCell(FSelectedColumn, row)) continue;
    SelectCell(FSelectedColumn, row, Shift, true, ColumnAutoEdit(FSelectedColumn));
    if (row >= LastRowInView()) ScrollToRow(row);
    return;
  }
}

void TNxCustomGridControl::MoveSelectionUp(TShiftState Shift) {
  if (FSelectedRow < 0) return;
  if (FSelectedRow == GetFirstShownRow() && (FOptions & goInput) && FGridStyle == gsReport) {
    SetInputSelected(true);
    return;
  }
  if (FInputSelected) return;
  for (int row = FSelectedRow - 1; row >= 0; --row) {
    if (!GetRowShown(row) || !CanSelectCell(FSelectedColumn, row)) continue;
    SelectCell(FSelectedColumn, row, Shift, true, ColumnAutoEdit(FSelectedColumn));
    if (row < FTopRow) VertScrollBar().StepBack();
    return;
  }
}

// ---------------------------------------------------------------------------- scrolling

void TNxCustomGridControl::ScrollToRow(int ARow) {
  if (ARow < 0 || ARow >= RowCount()) return;
  if (LastRowInView() >= ARow) {
    if (ARow < FTopRow) VertScrollBar().MoveBy(-CountShownRows(ARow, FTopRow));
    return;
  }
  int bodyBottom = GetBodyRect().bottom;
  int bottom = GetRowTop(ARow) + GetRowHeight(ARow);
  int count = 0;
  for (int i = ARow; i >= FTopRow && bodyBottom < bottom; --i) {
    if (!GetRowShown(i)) continue;
    bottom -= GetRowHeight(i) + FLineWidth[lkRowExtra];
    ++count;
  }
  VertScrollBar().MoveBy(count);
}

int TNxCustomGridControl::VertScrollDelta(int OldPos, int NewPos) {
  int pitch = FLineWidth[lkTop3D] + FLineWidth[lkBottom];
  int distance = 0;
  if (NewPos > OldPos) {
    for (int n = NewPos - OldPos; n > 0 && FTopRow < RowCount(); ++FTopRow) {
      if (!GetRowShown(FTopRow)) continue;
      distance -= RowExtent(FTopRow) + pitch;
      --n;
    }
  } else {
    for (int n = OldPos - NewPos; n > 0 && FTopRow > 0;) {
      --FTopRow;
      if (!GetRowShown(FTopRow)) continue;
      distance += RowExtent(FTopRow) + pitch;
      --n;
    }
  }
  return distance;
}

int TNxCustomGridControl::HorzScrollDelta(int OldPos, int NewPos) { return OldPos - NewPos; }

void TNxCustomGridControl::ScrollToColumn(TNxCustomColumn* Column) {
  if (!Column || Column->Position() < FFixedCols) return;
  int x = Column->Left() - HorzScrollPos();
  RECT area = GetScrollingRect();
  if (x < area.left) HorzScrollBar().MoveBy(x - area.left);
  else if (x + Column->Width() > area.right)
    HorzScrollBar().MoveBy(x + Column->Width() - area.right);
  ShowEditor();
}

void TNxCustomGridControl::UpdateHorzScrollBar() {
  TNxScrollBar& bar = HorzScrollBar();
  if (FGridStyle == gsSlides) {
    bar.SetMax(0);
    bar.SetVisible(false);
    return;
  }
  int page = ClientWidth() + 1;
  bar.SetPageSize(page);
  bar.SetMax(FColumns->TotalWidth() + (FOptions & goIndicator ? kIndicatorWidth : 0));
  bar.SetLargeChange(page - 10);
  if (HandleAllocated()) bar.SetPosition(bar.TrackPosition());
  bar.SetVisible(ClientHeight() > GetSystemMetrics(SM_CXHSCROLL) && page < bar.Max());
}

void TNxCustomGridControl::UpdateVertScrollBar() {
  TNxScrollBar& bar = VertScrollBar();
  int total = RowCount() == 1 ? 0 : GetShownRowCount();
  RECT body = GetBodyRect();
  int fitting = RowsFitFrom(FTopRow, body.bottom - body.top);
  if (fitting < total) {
    bar.SetPageSize(fitting + 1);
    bar.SetMax(total);
    bar.SetLargeChange(fitting + 1);
  } else {
    bar.SetMax(0);
  }
  if (fitting + 1 >= total) bar.SetPosition(CountShownRows(0, FTopRow));
}

void TNxCustomGridControl::ScrollAfterColumnResize(TNxCustomColumn* Column, int Delta,
                                                   bool HeaderOnly) {
  RefreshColumn(Column, 0);
  if (!HandleAllocated()) return;
  RECT area{Column->Left() + Column->Width() - HorzScrollPos(), 0, ClientWidth(),
            HeaderOnly ? FHeaderSize : ClientHeight()};
  ScrollWindowEx(Handle(), Delta, 0, &area, &area, nullptr, nullptr, SW_INVALIDATE);
}

// ---------------------------------------------------------------------------- sizing

// The size the column's painter asks for to show the cell's text, measured on the grid's
// canvas (bound to the screen when the grid is not painting).
SIZE TNxCustomGridControl::MeasureCell(int ACol, int ARow) {
  TNxCustomColumn* column = FColumns->Item(ACol);
  TColumnDisplay* display = column->Display();
  if (!display) return {0, 0};
  efir::gdi::WindowDC screen;
  std::optional<efir::CanvasBinding> binding;
  if (!Canvas().HandleAllocated()) binding.emplace(Canvas(), screen.get());
  Canvas().Font().Assign(*column->Font());
  std::wstring text;
  GetDrawText(ACol, ARow, text);
  if (OnApplyCell) OnApplyCell(this, ACol, ARow, text);
  FormatCellText(ACol, ARow, CellStateOf(ACol, ARow), text);
  display->Canvas = &Canvas();
  display->Rect = {0, 0, column->Width() + FLineWidth[lkLeft3D] - FLineWidth[lkRight], FRowSize};
  display->AsString = text;
  SIZE size{0, 0};
  display->MeasureText(size);
  display->Canvas = nullptr;
  return size;
}

int TNxCustomGridControl::MeasureCellHeight(int ACol, int ARow) {
  return MeasureCell(ACol, ARow).cy;
}

int TNxCustomGridControl::MeasureCellWidth(int ACol, int ARow) {
  return MeasureCell(ACol, ARow).cx;
}

void TNxCustomGridControl::AutoSizeRowHeight(int ARow) {
  int height = FRowSize;
  for (int col = 0; col < FColumns->Count(); ++col)
    if (FColumns->Item(col)->Visible()) height = std::max(height, MeasureCellHeight(col, ARow));
  DoChangeRowHeight(ARow, height);
}

void TNxCustomGridControl::AutoSizeColumn(int ACol, int Part, bool ShownOnly) {
  if (!FColumns->ValidIndex(ACol)) return;
  TNxCustomColumn* column = FColumns->Item(ACol);
  int width = 8;
  if (Part != 1) {
    // The header as the active look lays it out, on a screen canvas when not painting.
    efir::gdi::WindowDC screen;
    TCanvas canvas(screen.get());
    canvas.Font().Assign(Font());
    TStyleDisplay& display = ActiveStyleDisplay();
    TCanvas* painting = display.Canvas;
    display.Canvas = &canvas;
    width = display.MeasureHeader(column);
    display.Canvas = painting;
  }
  if (Part != 2) {
    for (int row = 0; row < RowCount(); ++row)
      if (!ShownOnly || GetRowShown(row)) width = std::max<int>(width, MeasureCell(ACol, row).cx);
  }
  column->SetWidth(2 * column->Padding() + width + 5);
}
