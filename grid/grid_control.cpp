#include "grid/grid_control.h"

#include <algorithm>

#include "framework/text_encoding.h"
#include "grid/style_displays.h"

// ---------------------------------------------------------------------------- life

TNxCustomGridControl::TNxCustomGridControl(TComponent* AOwner)
    : TNxScrollControl(AOwner), FColumns(std::make_unique<TNxColumns>()) {
  // Nothing can add a column before the constructor returns, so no notice reaches a
  // half-built grid; binding here means columns added by a window's layout find the grid.
  FColumns->SetGrid(this);
  SetTabStop(true);
  SetBounds(0, 0, 250, 150);
}

TNxCustomGridControl::~TNxCustomGridControl() {
  // Freeing the columns must not call back into a grid that is already half gone.
  FColumns->SetGrid(nullptr);
  ForgetEditor();
}

void TNxCustomGridControl::BeforeDestruction() {
  FColumns->SetGrid(nullptr);
  ForgetEditor();
  FLastSortedColumn = nullptr;
  TNxScrollControl::BeforeDestruction();
}

bool TNxCustomGridControl::Focused() {
  return (HandleAllocated() && GetFocus() == Handle()) || EditorHasFocus();
}

void TNxCustomGridControl::CreateParams(TCreateParams& Params) {
  TNxScrollControl::CreateParams(Params);
  if (FBorderStyle == bsSingle) Params.ExStyle |= WS_EX_CLIENTEDGE;
  else Params.ExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
  Params.ClassStyle &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

// Entering the grid repaints its indicator; leaving it ends an edit with the text kept
// (the grid's own editor taking the focus is no leaving).
void TNxCustomGridControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETFOCUS:
      TNxScrollControl::WndProc(Message);
      RefreshPart(gpIndicator);
      return;
    case WM_NCPAINT:  // the frame first, then the header style's border over it
      TNxScrollControl::WndProc(Message);
      UpdateBorder();
      return;
    case WM_KILLFOCUS:
      if ((FState & (kEditingCell | kEditingInput)) &&
          !IsChild(Handle(), reinterpret_cast<HWND>(Message.WParam))) {
        ApplyEdit();
        EndEdit();
      }
      break;
  }
  TNxScrollControl::WndProc(Message);
}

// ---------------------------------------------------------------------------- neutral answers

bool TNxCustomGridControl::CanSelectCell(int, int) { return true; }

TColor TNxCustomGridControl::GetCellColor(int ACol, int) {
  return FColumns->ValidIndex(ACol) ? FColumns->Item(ACol)->Color() : Color();
}

void TNxCustomGridControl::GetCellHint(int ACol, int ARow, std::wstring& Hint) {
  DoCellHint(ACol, ARow, Hint);
}

int TNxCustomGridControl::GetHorzScrollExtent() {
  int extent = FColumns->TotalWidth() + (FOptions & goIndicator ? kIndicatorWidth : 0);
  return std::max(extent - ClientWidth(), 0);
}

int TNxCustomGridControl::GetRowHeight(int) { return FRowSize; }

int TNxCustomGridControl::GetSelectedCount() {
  int count = 0;
  for (int i = 0; i < RowCount(); ++i)
    if (GetRowSelected(i)) ++count;
  return count;
}

int TNxCustomGridControl::GetVisibleRowCount() {
  if (RowCount() == 0 || FColumns->Count() == 0) return 0;
  return GetShownRowCount();
}

bool TNxCustomGridControl::IsCellHidden(int ACol, int ARow) {
  bool showing = true;
  if (OnCellShowing) OnCellShowing(this, ACol, ARow, showing);
  return !showing;
}

void TNxCustomGridControl::ExportToBuffer(char Delimiter, std::string& Buffer) {
  Buffer.assign(1, Delimiter);
  const int rows = RowCount(), cols = FColumns->Count();
  for (int row = 0; row < rows; ++row) {
    for (int col = 0; col < cols; ++col) {
      std::string text = efir::text::toAnsi(GetCellText(col, row));
      for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 3))
        text.insert(at, 1, '%');
      Buffer += text;
      if (row == rows - 1 && col == cols - 1) break;
      Buffer += Delimiter;
      if (col == cols - 1) Buffer += "\r\n";
    }
  }
}

bool TNxCustomGridControl::PrepareCellCanvas(int ACol, int ARow, TCellState CellState) {
  TFont& font = Canvas().Font();
  if (FColumns->ValidIndex(ACol)) font.Assign(*FColumns->Item(ACol)->Font());
  font.SetColor(Enabled() ? GetCellTextColor(ACol, ARow) : clGrayText);
  if (CellState & csBoldTextSelection) font.SetStyle(font.Style() | fsBold);
  return false;
}

bool TNxCustomGridControl::AcceptRowMove(int FromPos, int ToPos) {
  bool accept = true;
  if (OnRowMove) OnRowMove(this, FromPos, ToPos, accept);
  return accept;
}

bool TNxCustomGridControl::AcceptCalculateRow(int Index) {
  bool accept = true;
  if (OnCalculateRow) OnCalculateRow(this, Index, accept);
  return accept;
}

// ---------------------------------------------------------------------------- colours

void TNxCustomGridControl::UpdateLineWidths() {
  std::fill(std::begin(FLineWidth), std::end(FLineWidth), 0);
  if (FOptions & goGrid) {
    bool threeD = (FAppearanceOptions & ao3DGridLines) != 0;
    if (FGridLinesStyle != lsHorizontalOnly && FGridLinesStyle != lsActiveHorzOnly) {
      FLineWidth[lkRight] = 1;
      if (threeD) FLineWidth[lkLeft3D] = 1;
    }
    if (FGridLinesStyle != lsVerticalOnly) {
      FLineWidth[lkBottom] = 1;
      if (threeD) FLineWidth[lkTop3D] = 1;
    }
  }
  FLineWidth[lkRowExtra] = FLineWidth[lkTop3D] + FLineWidth[lkBottom];
}

bool TNxCustomGridControl::IsCellHighlighted(int ACol, int ARow) {
  if (FGridStyle == gsSlides && !(FAppearanceOptions & aoHighlightSlideCells)) return false;
  if (FInputSelected) return false;
  if (FColumns->ValidIndex(ACol) && (FColumns->Item(ACol)->Options() & coDontHighlight))
    return false;
  if (!Focused() && (FAppearanceOptions & aoHideSelection)) return false;
  bool editing = IsEditing() && FEditingCell.x == ACol && FEditingCell.y == ARow;
  bool selectedCell = ACol == FSelectedColumn && ARow == FSelectedRow;
  if (FOptions & goSelectFullRow) {
    if (!IsValidRow(ARow) || !GetRowSelected(ARow)) return false;
    if (!selectedCell) return true;
    if (FAppearanceOptions & aoIndicateSelectedCell) return false;
    return !editing;
  }
  return selectedCell && !editing;
}

namespace {

// Each channel of `color` weighted by `weight`/256, the rest from `other`.
TColor Blend(TColor color, TColor other, int weight) {
  COLORREF a = ColorToRGB(color), b = ColorToRGB(other);
  auto channel = [&](int shift) {
    int ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
    return ((ca * weight + cb * (256 - weight) + 128) / 256) << shift;
  };
  return static_cast<TColor>(channel(0) | channel(8) | channel(16));
}

}  // namespace

TColor TNxCustomGridControl::GetCellDrawColor(int ACol, int ARow) {
  TColor color = GetCellColor(ACol, ARow);
  if ((FAppearanceOptions & aoIndicateSortedColumn) && FColumns->ValidIndex(ACol) &&
      FColumns->Item(ACol)->Sorted()) {
    COLORREF c = ColorToRGB(color);
    auto darker = [&](int shift) { return (((c >> shift) & 0xFF) * 245 / 256) << shift; };
    color = static_cast<TColor>(darker(0) | darker(8) | darker(16));
  }
  if (!IsCellHighlighted(ACol, ARow)) return color;
  if (!Focused()) return FInactiveSelectionColor;
  if (FAppearanceOptions & aoAlphaBlendedSelection)
    return Blend(static_cast<TColor>(GetSysColor(COLOR_HIGHLIGHT)), color, 64);
  return FSelectionColor;
}

TColor TNxCustomGridControl::GetCellTextColor(int ACol, int ARow) {
  if (IsCellHighlighted(ACol, ARow) && Focused()) return FHighlightedTextColor;
  return FColumns->ValidIndex(ACol) ? FColumns->Item(ACol)->Font()->Color() : Font().Color();
}

TCellState TNxCustomGridControl::CellStateOf(int ACol, int ARow) {
  TCellState state = 0;
  if (IsCellHighlighted(ACol, ARow)) {
    state |= csSelected;
    if (FAppearanceOptions & aoBoldTextSelection) state |= csBoldTextSelection;
  }
  if (Focused() && !(FAppearanceOptions & aoHideFocus)) state |= csFocused;
  return state;
}

// ---------------------------------------------------------------------------- rows

void TNxCustomGridControl::ClearRows() {
  FTopRow = 0;
  FSelectedColumn = 0;
  FSelectedRow = -1;
  EndEdit();
}

void TNxCustomGridControl::DeleteRow(int) { EndEdit(); }

void TNxCustomGridControl::InsertRow(int Index) {
  EndEdit();
  FFirstShownRow = std::min(FFirstShownRow, Index);
  if (VertScrollBar().Position() == 0) FTopRow = FFirstShownRow;
}

void TNxCustomGridControl::MoveRow(int, int) {
  Invalidate();
  EndEdit();
}

void TNxCustomGridControl::DeselectAllRows() {
  for (int i = 0; i < RowCount(); ++i)
    if (GetRowSelected(i)) SetRowSelected(i, false);
}

void TNxCustomGridControl::SetRowVisible(int Index, bool Visible) {
  if (Visible) {
    FFirstShownRow = std::min(FFirstShownRow, Index);
    FLastShownRow = std::max(FLastShownRow, Index);
    return;
  }
  if (Index == FFirstShownRow) FFirstShownRow = FirstShownFrom(Index);
  FLastShownRow = LastShownUpTo(FLastShownRow);
}

int TNxCustomGridControl::FirstShownFrom(int Index) {
  for (int i = std::max(Index, 0); i < RowCount(); ++i)
    if (GetRowShown(i)) return i;
  return Index;
}

int TNxCustomGridControl::LastShownUpTo(int Index) {
  for (int i = std::min(Index, RowCount() - 1); i >= 0; --i)
    if (GetRowShown(i)) return i;
  return Index;
}

void TNxCustomGridControl::SetRowSize(int Value) {
  if (Value <= 0 || Value == FRowSize) return;
  FRowSize = Value;
  RefreshPart(gpBody);
  RefreshPart(gpInput);
  RefreshPart(gpIndicator);
  ShowEditor();
}

void TNxCustomGridControl::DoChangeRowHeight(int Index, int Height) {
  if (OnChangeRowHeight) OnChangeRowHeight(this, Index, Height);
}

void TNxCustomGridControl::SortColumn(TNxCustomColumn* Column, bool Ascending) {
  if (!Column || !(Column->Options() & coCanSort)) return;
  EndEdit();
  FLastSortedColumn = Column;
  DoSortColumn(Column->Index(), Ascending);
}

// ---------------------------------------------------------------------------- events

void TNxCustomGridControl::DoBeforeSelect(int ACol, int ARow, bool& Accept) {
  if (OnBeforeSelect) OnBeforeSelect(this, ACol, ARow, Accept);
}

void TNxCustomGridControl::DoSelectCell(int ACol, int ARow) {
  if (OnSelectCell) OnSelectCell(this, ACol, ARow);
}

void TNxCustomGridControl::DoDeselectCell(int ACol, int ARow) {
  if (OnDeselectCell) OnDeselectCell(this, ACol, ARow);
}

void TNxCustomGridControl::DoChange(int ACol, int ARow) {
  if (OnChange) OnChange(this, ACol, ARow);
}

void TNxCustomGridControl::DoDataChange(TDataChange Kind, int Index) {
  if (OnDataChange) OnDataChange(this, Kind, Index);
}

void TNxCustomGridControl::DoSortColumn(int ACol, bool Ascending) {
  if (OnSortColumn) OnSortColumn(this, ACol, Ascending);
}

void TNxCustomGridControl::DoAfterSort(int ACol) {
  if (OnAfterSort) OnAfterSort(this, ACol);
}

void TNxCustomGridControl::DoCellHint(int ACol, int ARow, std::wstring& Value) {
  if (OnCellHint) OnCellHint(this, ACol, ARow, Value);
}

void TNxCustomGridControl::DoMeasuringRowHeight(int Index, int& Height) {
  if (OnMeasuringRowHeight) OnMeasuringRowHeight(this, Index, Height);
}

// ---------------------------------------------------------------------------- invalidation

void TNxCustomGridControl::RefreshRect(const RECT& Rect) {
  if (HandleAllocated()) InvalidateRect(Handle(), &Rect, FALSE);
}

void TNxCustomGridControl::BeginUpdate() { ++FUpdateCount; }

void TNxCustomGridControl::EndUpdate() {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount > 0) return;
  RefreshPart(gpBody);
  RefreshPart(gpHeader);
  RefreshPart(gpFooter);
  RefreshPart(gpIndicator);
  UpdateVertScrollBar();
}

void TNxCustomGridControl::RefreshPart(TGridPart Part) {
  switch (Part) {
    case gpBody: RefreshRect(GetBodyRect()); break;
    case gpFooter: if (FOptions & goFooter) RefreshRect(GetFooterRect()); break;
    case gpHeader: if (FOptions & goHeader) RefreshRect(GetHeaderRect()); break;
    case gpIndicator: if (FOptions & goIndicator) RefreshRect(GetIndicatorRect()); break;
    case gpInput: if (FOptions & goInput) RefreshRect(GetInputRect()); break;
  }
}

// A row below the view needs no refresh: filling a long list cell by cell must not measure
// its way down to every new row.
void TNxCustomGridControl::RefreshCell(int ACol, int ARow) {
  if (!IsValidCell(ACol, ARow) || RowBelowBody(ARow)) return;
  RECT r{};
  GetCellRect(ACol, ARow, r);
  r.right += FLineWidth[lkBottom];
  r.bottom += FLineWidth[lkBottom];
  RefreshRect(r);
}

void TNxCustomGridControl::RefreshColumn(TNxCustomColumn* Column, int Part) {
  if (IsUpdating() || !Column) return;
  int left = Column->ScreenLeft();
  RECT band{left, 0, left + Column->Width(), ClientHeight()};
  RECT part = band;
  switch (Part) {
    case gpBody: part = GetBodyRect(); break;
    case gpFooter: part = GetFooterRect(); break;
    case gpHeader: part = GetHeaderRect(); break;
    case gpIndicator: part = GetIndicatorRect(); break;
    case gpInput: part = GetInputRect(); break;
  }
  band.top = part.top;
  band.bottom = part.bottom;
  RefreshRect(band);
}

void TNxCustomGridControl::RefreshColumnAll(TNxCustomColumn*) { Invalidate(); }

void TNxCustomGridControl::RefreshRows(int From, int To) {
  if (From > To) std::swap(From, To);
  RECT body = GetBodyRect();
  int top = FGridStyle == gsSlides ? GetSlideTop(From) : GetRowTop(From);
  int bottom = FGridStyle == gsSlides ? GetSlideTop(To) + FSlideSize
                                      : GetRowTop(To) + RowExtent(To) + FLineWidth[lkRowExtra];
  RefreshRect({0, top, body.right, bottom});
}

void TNxCustomGridControl::RefreshRow(int Row, bool FrameOnly) {
  if (!IsValidRow(Row) || Row < FTopRow || Row > FLastPaintedRow || !HandleAllocated()) return;
  RECT band = GetRowRect(Row);
  RefreshRect(band);
  if (FrameOnly) {
    InflateRect(&band, -1, -1);
    ValidateRect(Handle(), &band);
  }
}

void TNxCustomGridControl::RefreshRowLine(int Row) {
  if (!IsValidRow(Row) || RowBelowBody(Row)) return;
  RECT row = GetRowRect(Row);
  RefreshRect({0, row.bottom - FLineWidth[lkBottom], row.right, row.bottom + 1});
}

void TNxCustomGridControl::RefreshRowsFrom(int From, int To) {
  if (RowBelowBody(From)) return;
  RECT body = GetBodyRect();
  int top = GetRowTop(From), bottom = top;
  for (int i = From; i <= To && i < RowCount() && bottom < body.bottom; ++i)
    if (GetRowShown(i)) bottom += RowExtent(i) + FLineWidth[lkRowExtra];
  RefreshRect({0, top, body.right, std::min<int>(bottom, body.bottom)});
}

void TNxCustomGridControl::RefreshIndicator(int Row) {
  if (!(FOptions & goIndicator) || !IsValidRow(Row)) return;
  RECT row = GetRowRect(Row);
  RefreshRect(
      {0, row.top - FLineWidth[lkTop3D], kIndicatorWidth, row.bottom + FLineWidth[lkBottom]});
}

void TNxCustomGridControl::RefreshSlide(int Row, bool FrameOnly) {
  if (!IsValidRow(Row) || !HandleAllocated()) return;
  RECT slide = GetSlideRect(Row);
  RefreshRect(slide);
  if (FrameOnly) {
    InflateRect(&slide, -3, -4);
    ValidateRect(Handle(), &slide);
  }
}

void TNxCustomGridControl::RefreshSelection() {
  if (FInputSelected) RefreshPart(gpInput);
  if (FColumns->Count() == 0 || RowCount() == 0) return;
  if (!(FOptions & goSelectFullRow)) {
    RefreshCell(FSelectedColumn, FSelectedRow);
    return;
  }
  int inView = GetRowsInView(false) + 1;
  for (int i = FTopRow; i < RowCount() && inView > 0; ++i) {
    if (!GetRowShown(i)) continue;
    --inView;
    if (!GetRowSelected(i)) continue;
    if (FGridStyle == gsSlides) RefreshSlide(i, false);
    else RefreshRow(i, false);
  }
}

// ---------------------------------------------------------------------------- column notices

void TNxCustomGridControl::ColumnChanged(TNxCustomColumn* Column, int Kind, int Value) {
  if (!HandleAllocated()) return;
  if (Kind == cnInputValue) {
    RefreshColumn(Column, gpInput);
    return;
  }
  if (IsEditing() && (Kind == cnPosition || Kind == cnSortedOn || Kind == 8 || Kind == cnWidth))
    ShowEditor();
  const int index = Column->Index();
  switch (Kind) {
    case cnPosition:
      if (OnColumnMove) OnColumnMove(this, index, Value, Column->Position());
      Invalidate();
      break;
    case 3:
      ApplyColumnStyle(index);
      break;
    case cnSlide:
      RefreshColumnAll(Column);
      if (OnSlideChange) OnSlideChange(this, index);
      break;
    case cnSortedOn:
    case cnSortChanged:
      if (!Column->Sorted()) break;
      RefreshColumn(Column, gpHeader);
      SortColumn(Column, Column->SortKind() == skAscending);
      break;
    case cnAppearance:
      RefreshColumn(Column, 0);
      break;
    case cnVisible:
      UpdateHorzScrollBar();
      Invalidate();
      break;
    case cnSortedOff:
      RefreshColumn(Column, gpHeader);
      if (FAppearanceOptions & aoIndicateSortedColumn) RefreshColumn(Column, gpBody);
      if (FLastSortedColumn == Column) FLastSortedColumn = nullptr;
      break;
    case cnWidth:
      if (!IsUpdating()) ScrollAfterColumnResize(Column, Value, FGridStyle == gsSlides);
      if (OnColumnResize) OnColumnResize(this, index);
      UpdateHorzScrollBar();
      break;
  }
}

void TNxCustomGridControl::ColumnsDataChange(int Kind, int, int) {
  if (Kind == 1 || Kind == 2) EndEdit();
  UpdateHorzScrollBar();
}

void TNxCustomGridControl::ColumnsDataChanged(int Kind, int Index, int Extra) {
  ColumnsDataChange(Kind, Index, Extra);
  if (Index == -1) return;
  DoDataChange(Kind == 1 ? dcDeleteColumn : Kind == 3 ? dcInsertColumn : dcAddColumn, Index);
}

void TNxCustomGridControl::ColumnsCollectionChanged(int Kind, int, int) {
  if (Kind != 2) ShowEditor();
  Invalidate();
}

// ---------------------------------------------------------------------------- writers

void TNxCustomGridControl::SetAppearanceOptions(TAppearanceOptions Value) {
  if (!grid::StoreChanged(FAppearanceOptions, Value)) return;
  UpdateLineWidths();
  Invalidate();
  UpdateBorder();
}

void TNxCustomGridControl::SetBorderStyle(TBorderStyle Value) {
  if (!grid::StoreChanged(FBorderStyle, Value)) return;
  RecreateWnd();
}

void TNxCustomGridControl::SetCaption(const std::wstring& Value) {
  if (!grid::StoreChanged(FCaption, Value)) return;
  RECT body = GetBodyRect();
  RefreshRect({0, body.top, ClientWidth(), body.bottom});
}

void TNxCustomGridControl::SetEnableVisualStyles(bool Value) {
  if (!grid::StoreChanged(FEnableVisualStyles, Value)) return;
  Invalidate();
  UpdateBorder();
}

void TNxCustomGridControl::SetFixedCols(int Value) {
  if (!grid::StoreChanged(FFixedCols, Value)) return;
  FColumns->SetFixedCols(Value);
  Invalidate();
}

void TNxCustomGridControl::SetFooterSize(int Value) {
  if (grid::StoreChanged(FFooterSize, Value)) Invalidate();
}

void TNxCustomGridControl::SetGridLinesColor(TColor Value) {
  if (grid::StoreChanged(FGridLinesColor, Value)) Invalidate();
}

void TNxCustomGridControl::SetGridLinesStyle(TGridLinesStyle Value) {
  if (!grid::StoreChanged(FGridLinesStyle, Value)) return;
  UpdateLineWidths();
  Invalidate();
}

void TNxCustomGridControl::SetGridStyle(TGridStyle Value) {
  if (!grid::StoreChanged(FGridStyle, Value)) return;
  GridStyleChanged();
  if (Value == gsSlides) {
    EndEdit();
    SetInputSelected(false);
  }
  Invalidate();
  ShowEditor();
  UpdateHorzScrollBar();
  UpdateVertScrollBar();
}

void TNxCustomGridControl::SetHeaderSize(int Value) {
  if (!grid::StoreChanged(FHeaderSize, Value)) return;
  Invalidate();
  ShowEditor();
}

void TNxCustomGridControl::SetHeaderStyle(THeaderStyle Value) {
  if (!grid::StoreChanged(FHeaderStyle, Value)) return;
  ActiveStyleDisplay().Canvas = &Canvas();
  Invalidate();
  UpdateBorder();
}

void TNxCustomGridControl::SetHideScrollBar(bool Value) {
  if (!grid::StoreChanged(FHideScrollBar, Value)) return;
  VertScrollBar().SetAutoHide(Value);
}

void TNxCustomGridControl::SetHighlightedTextColor(TColor Value) {
  if (grid::StoreChanged(FHighlightedTextColor, Value)) RefreshSelection();
}

void TNxCustomGridControl::SetInactiveSelectionColor(TColor Value) {
  if (grid::StoreChanged(FInactiveSelectionColor, Value)) Invalidate();
}

void TNxCustomGridControl::SetInputSize(int Value) {
  if (grid::StoreChanged(FInputSize, Value)) Invalidate();
}

void TNxCustomGridControl::SetOptions(TGridOptions Value) {
  const TGridOptions old = FOptions;
  if (!grid::StoreChanged(FOptions, Value)) return;
  // The columns' left edges follow the indicator's strip.
  if ((old ^ Value) & goIndicator) FColumns->UpdateLayout(false);
  UpdateLineWidths();
  Invalidate();
  ShowEditor();
  UpdateHorzScrollBar();
}

void TNxCustomGridControl::SetSlidesOptions(TGridSlideOptions Value) {
  if (grid::StoreChanged(FSlidesOptions, Value)) Invalidate();
}

void TNxCustomGridControl::SetSlideSelectionColor(TColor Value) {
  if (grid::StoreChanged(FSlideSelectionColor, Value)) Invalidate();
}

void TNxCustomGridControl::SetSlideSize(int Value) {
  if (!grid::StoreChanged(FSlideSize, Value)) return;
  UpdateVertScrollBar();
  Invalidate();
}

void TNxCustomGridControl::SetSortedStyle(TSortedStyle Value) {
  if (grid::StoreChanged(FSortedStyle, Value)) Invalidate();
}
