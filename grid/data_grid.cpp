#include "grid/data_grid.h"

#include <algorithm>
#include <set>

#include "framework/convert.h"
#include "framework/text_encoding.h"
#include "grid/column_display.h"
#include "grid/column_parts.h"
#include "grid/grid_error.h"

// ---------------------------------------------------------------------------- life

TDataGrid::TDataGrid(TComponent* AOwner)
    : TNxCustomGrid(AOwner), FCells(std::make_unique<TCells>(this, FColumns.get())) {
  FCells->DefaultRowHeight = RowSize();
  FCells->OnCellChange = [this](TCells*, int ACol, int ARow) { CellChanged(ACol, ARow); };
  FCells->OnCompareCells = [this](TCells*, TCell* Cell1, TCell* Cell2, int& Compare) {
    if (OnCompare) OnCompare(this, Cell1, Cell2, Compare);
  };
}

TDataGrid::~TDataGrid() {
  // A grid deleted without Free: the columns must still never reach the freed store.
  FColumns->SetGrid(nullptr);
}

void TDataGrid::BeforeDestruction() {
  FColumns->SetGrid(nullptr);
  TNxCustomGrid::BeforeDestruction();
}

// ---------------------------------------------------------------------------- cells

void TDataGrid::CheckCell(int ACol, int ARow) {
  if (ARow < 0 || ARow >= RowCount() || !FColumns->ValidIndex(ACol))
    grid::RaiseCellOutOfBounds(ACol, ARow);
}

TCell* TDataGrid::GetCell(int ACol, int ARow) { return FCells->GetCell(ACol, ARow); }

std::wstring TDataGrid::GetCellText(int ACol, int ARow) {
  CheckCell(ACol, ARow);
  return GetCell(ACol, ARow)->GetAsString();
}

void TDataGrid::SetCellText(int ACol, int ARow, const std::wstring& Value) {
  CheckCell(ACol, ARow);
  GetCell(ACol, ARow)->SetAsString(Value);
}

void TDataGrid::GetCellInfo(int ACol, int ARow, TCellInfo& Info) {
  TCell* cell = GetCell(ACol, ARow);
  switch (FColumns->Item(ACol)->ColumnKind()) {
    case 0: Info.AsInteger = ARow; break;
    case 1: Info.AsBoolean = cell->GetAsBoolean(); break;
    case 3: Info.AsDateTime = cell->GetAsDateTime(); break;
    case 4: Info.AsFloat = cell->GetAsFloat(); break;
    case 5: Info.ObjectReference = cell->CellObject; break;
    case 6: case 8: case 11: Info.AsString = cell->GetAsString(); break;
    case 7: Info.AsInteger = cell->GetAsInteger(); break;
    default: break;
  }
}

void TDataGrid::GetDrawText(int ACol, int ARow, std::wstring& Text) {
  TCellInfo info;
  GetCellInfo(ACol, ARow, info);
  FColumns->Item(ACol)->GetDrawText(info, Text);
}

void TDataGrid::GetHintText(int ACol, int ARow, std::wstring& Text) {
  TCellInfo info;
  GetCellInfo(ACol, ARow, info);
  FColumns->Item(ACol)->GetHintText(info, Text);
}

TColor TDataGrid::GetCellColor(int ACol, int ARow) {
  if (FColumns->Item(ACol)->ParentCellColor()) return TNxCustomGrid::GetCellColor(ACol, ARow);
  return GetCell(ACol, ARow)->Color();
}

void TDataGrid::GetCellHint(int ACol, int ARow, std::wstring& Value) {
  Value = GetCell(ACol, ARow)->Hint;
  DoCellHint(ACol, ARow, Value);
}

bool TDataGrid::IsCellHidden(int ACol, int ARow) {
  return GetCell(ACol, ARow)->Hidden || TNxCustomGrid::IsCellHidden(ACol, ARow);
}

void TDataGrid::FormatCellText(int ACol, int ARow, TCellState CellState, const std::wstring&) {
  TFont& font = Canvas().Font();
  TCell* cell = GetCell(ACol, ARow);
  TFontStyles style = cell->FontStyle();
  // The canvas colour (grey in a disabled grid) is the selected cell's only; the others keep
  // their own text colour.
  TColor textColor = CellState & csSelected ? font.Color() : cell->TextColor();
  if (CellState & csBoldTextSelection) style |= fsBold;
  if (OnCellFormating) OnCellFormating(this, ACol, ARow, textColor, style, CellState);
  font.SetColor(textColor);
  font.SetStyle(style);
}

bool TDataGrid::PrepareCellCanvas(int ACol, int ARow, TCellState CellState) {
  TNxCustomGrid::PrepareCellCanvas(ACol, ARow, CellState);
  TCellInfo info;
  GetCellInfo(ACol, ARow, info);
  if (TColumnDisplay* display = FColumns->Item(ACol)->Display()) {
    switch (FColumns->Item(ACol)->ColumnKind()) {
      case 0: display->AsInteger = ARow; break;
      case 1: display->AsBoolean = info.AsBoolean; break;
      case 3: display->AsDateTime = info.AsDateTime; break;
      case 4: display->AsFloat = info.AsFloat; break;
      case 5: display->ObjectReference = info.ObjectReference; break;
      case 6: case 8: case 11: display->AsString = info.AsString; break;
      case 7: display->AsInteger = info.AsInteger; break;
      default: break;
    }
  }
  FormatCellText(ACol, ARow, CellState, info.AsString);
  return true;
}

void TDataGrid::CellChanged(int ACol, int ARow) {
  if (IsUpdating()) return;
  RefreshCell(ACol, ARow);
  DoChange(ACol, ARow);
}

// ---------------------------------------------------------------------------- row questions

int TDataGrid::RowCount() { return FCells->RowCount(); }
int TDataGrid::GetRowLevel(int Index) { return FCells->GetRow(Index)->Level; }

void TDataGrid::FillCellPlay(TColumnPlay* Play) {
  Play->Level = GetRowLevel(Play->Row);
  TCell* cell = GetCell(Play->Col, Play->Row);
  switch (Columns()->Item(Play->Col)->ColumnKind()) {
    case 1: Play->AsBoolean = cell->GetAsBoolean(); break;
    case 7: Play->AsInteger = cell->GetAsInteger(); break;
    case 8: GetDrawText(Play->Col, Play->Row, Play->AsString); break;
    default: break;
  }
}

void TDataGrid::PlayValueChanged(TColumnPlay* Play) {
  bool accept = true;
  if (OnEditAccept) OnEditAccept(this, Play->Col, Play->Row, Play->AsString, accept);
  if (!accept) return;
  TCell* cell = GetCell(Play->Col, Play->Row);
  switch (Columns()->Item(Play->Col)->ColumnKind()) {
    case 1: cell->SetAsBoolean(Play->AsBoolean); break;
    case 7: cell->SetAsInteger(Play->AsInteger); break;
    default: break;
  }
  if (OnAfterEdit) OnAfterEdit(this, Play->Col, Play->Row, cell->GetAsString());
}

void TDataGrid::PlayRowToggled(TColumnPlay* Play) { SetExpanded(Play->Row, !Expanded(Play->Row)); }
int TDataGrid::GetRowParent(int Index) { return FCells->GetRow(Index)->ParentIndex; }
bool TDataGrid::GetRowShown(int Index) { return FCells->GetRow(Index)->Shown(); }
bool TDataGrid::GetRowSelected(int Index) { return FCells->GetRow(Index)->Selected; }
int TDataGrid::GetShownRowCount() { return FCells->ShownRowCount(); }

// ---------------------------------------------------------------------------- tree

void TDataGrid::CountSubtree(int Index, int& Count, int& Height) {
  const int extra = LineWidth(lkRowExtra);
  Count = FCells->CountDescendants(Index);
  Height = GetRowHeight(Index) + extra;
  const int level = GetRowLevel(Index);
  // The deepest level still open on the walk down: a collapsed row closes what is below it.
  int openTo = Expanded(Index) ? level + 1 : level;
  for (int row = Index + 1; row <= Index + Count; ++row) {
    const int rowLevel = GetRowLevel(row);
    if (rowLevel > openTo) continue;
    openTo = rowLevel + (FCells->GetRow(row)->Expanded ? 1 : 0);
    Height += GetRowHeight(row) + extra;
  }
}

int TDataGrid::NextSibling(int Index) {
  const int level = GetRowLevel(Index);
  for (int row = Index + 1; row < RowCount(); ++row) {
    const int rowLevel = GetRowLevel(row);
    if (rowLevel < level) break;
    if (rowLevel == level) return row;
  }
  return -1;
}

int TDataGrid::ParentIndexOf(int Index) {
  const TRow* row = FCells->GetRow(Index);
  if (row->Level == 0 || !row->ParentRow) return -1;
  return FCells->IndexOfRow(row->ParentRow);
}

void TDataGrid::GetTreeLinks(int& Index, int& Sibling) {
  Sibling = NextSibling(Index);
  Index = ParentIndexOf(Index);
}

int TDataGrid::GetRowHeight(int Index) {
  int height = FCells->GetRow(Index)->Height;
  DoMeasuringRowHeight(Index, height);
  return height;
}

// ---------------------------------------------------------------------------- row operations

int TDataGrid::AddRow(int Count) {
  if (Count < 1) return FLastAddedRow;
  const int oldCount = RowCount();
  FCells->AddRows(Count);
  FLastAddedRow = RowCount() - 1;
  FLastShownRow = RowCount() - 1;
  try {
    if (Options() & goUseDefaultValues) {
      for (int row = oldCount; row < RowCount(); ++row)
        for (int col = 0; col < FColumns->Count(); ++col)
          if (!FColumns->Item(col)->DefaultValue().empty())
            SetCellText(col, row, FColumns->Item(col)->DefaultValue());
    }
  } catch (...) {
    // A default value the column cannot take: the rows exist all the same, so the scroll
    // range and the listeners must hear of them before the error goes on.
    RowsAdded(Count);
    throw;
  }
  RowsAdded(Count);
  return FLastAddedRow;
}

void TDataGrid::RowsAdded(int Count) {
  if (!IsUpdating()) {
    const int rows = RowCount();
    if (GridLinesStyle() == lsFramed && (Options() & goGrid) && rows > 1 && rows - Count > 0)
      RefreshRowLine(rows - Count - 1);
    RefreshRowLine(rows - 1);
    RefreshRowsFrom(rows - Count, rows - 1);
    UpdateVertScrollBar();
  }
  DoDataChange(dcAddRow, FLastAddedRow);
}

void TDataGrid::AddRowsSilently(int Count) {
  FCells->AddRows(Count);
  FLastAddedRow = FLastShownRow = RowCount() - 1;
  Invalidate();
  ShowEditor();
}

void TDataGrid::InsertRow(int Index) {
  TNxCustomGrid::InsertRow(Index);
  FLastAddedRow = Index;
  FCells->InsertRow(Index);
  if (Index < FTopRow) ++FTopRow;  // the rows in view moved down one index
  RowExtentChanged(Index, GridStyle() == gsSlides ? SlideSize() : RowSize(), true);
  // The selected record moved down one place; nothing new is selected.
  if (FSelectedRow >= 0 && Index <= FSelectedRow)
    SetSelectedCellRaw(FSelectedColumn, FSelectedRow + 1);
  FLastShownRow = Index > FLastShownRow ? Index : FLastShownRow + 1;
  UpdateVertScrollBar();
  DoDataChange(dcInsertRow, Index);
}

void TDataGrid::DeleteRow(int Index) {
  TNxCustomGrid::DeleteRow(Index);
  TRow* row = FCells->GetRow(Index);
  if (row->HasChildren()) {
    for (int i = Index + FCells->CountDescendants(Index); i > Index; --i) FCells->DeleteRow(i);
    row->ChildCount = 0;
    Invalidate();
  }
  // The store takes the row out of its parent's children.
  const int extent = GridStyle() == gsSlides ? SlideSize() : GetRowHeight(Index);
  const bool wasShown = row->Shown();
  const bool aboveView = Index < FTopRow;
  FCells->DeleteRow(Index);
  if (aboveView) --FTopRow;  // the rows in view moved up one index
  if (wasShown) {
    if (Index <= FFirstShownRow) FFirstShownRow = FirstShownFrom(0);
    if (Index < FLastShownRow) --FLastShownRow;
    else FLastShownRow = LastShownUpTo(RowCount() - 1);
  } else {
    if (Index < FFirstShownRow) --FFirstShownRow;
    if (Index < FLastShownRow) --FLastShownRow;
  }
  // A row above the view or a hidden one leaves the picture as it is; only the count of
  // shown rows above the view changes.
  if (wasShown && !aboveView) RowExtentChanged(Index, extent, false);
  else SyncVertPosition();
  // The selection follows its record: rows below the deleted one move up. When the selected
  // record itself went, its listeners hear so while the old coordinates still stand, and the
  // selection stays in the rows.
  const int selectedCol = FSelectedColumn;
  if (FSelectedRow == Index) DoDeselectCell(selectedCol, Index);
  if (FSelectedRow > Index) SetSelectedCellRaw(selectedCol, FSelectedRow - 1);
  else if (FSelectedRow == Index && FSelectedRow >= RowCount())
    SetSelectedCellRaw(selectedCol, std::min(FLastShownRow, RowCount() - 1));
  RefreshSelection();
  UpdateVertScrollBar();
  if (FLastAddedRow > RowCount() - 1) FLastAddedRow = RowCount() - 1;
  DoDataChange(dcDeleteRow, Index);
}

void TDataGrid::MoveRow(int FromIndex, int ToIndex) {
  TNxCustomGrid::MoveRow(FromIndex, ToIndex);
  if (FromIndex == ToIndex) return;
  const bool movedShown = GetRowShown(FromIndex);
  const bool targetShown = GetRowShown(ToIndex);
  FCells->MoveRow(FromIndex, ToIndex);
  if (!movedShown) return;
  if (ToIndex < FromIndex) {
    FFirstShownRow = std::min(FFirstShownRow, ToIndex);
    if (FromIndex == FLastShownRow) FLastShownRow = LastShownUpTo(FromIndex);
  } else {
    if (FromIndex == FFirstShownRow) FFirstShownRow = FirstShownFrom(FromIndex);
    FLastShownRow = std::max(FLastShownRow, ToIndex);
  }
  if (!targetShown) RowExtentChanged(ToIndex, GetRowHeight(ToIndex), true);
}

void TDataGrid::ExchangeRows(int Index1, int Index2) {
  // An edit open on either row would otherwise be stored into the other record.
  if (IsEditing() && (FEditingCell.y == Index1 || FEditingCell.y == Index2)) EndEdit();
  FCells->ExchangeRows(Index1, Index2);
  if (IsUpdating()) return;
  RefreshRow(Index1, false);
  RefreshRow(Index2, false);
}

void TDataGrid::ClearRows() {
  TNxCustomGrid::ClearRows();
  FCells->ClearRows();
  FTopRow = FFirstShownRow = FLastShownRow = 0;
  RefreshPart(gpBody);
  RefreshPart(gpFooter);
  RefreshPart(gpIndicator);
  UpdateHorzScrollBar();
  UpdateVertScrollBar();
  DoDataChange(dcClearRows, -1);
}

void TDataGrid::SetRowVisible(int Index, bool Visible) {
  if (GetRowShown(Index) == Visible) return;
  FCells->SetRowVisible(Index, Visible);
  if (!IsUpdating())
    RowExtentChanged(Index, GridStyle() == gsSlides ? SlideSize() : GetRowHeight(Index), Visible);
  TNxCustomGrid::SetRowVisible(Index, Visible);
}

void TDataGrid::SetRowSelected(int Index, bool Value) {
  if (!IsValidRow(Index) || GetRowSelected(Index) == Value) return;
  FCells->GetRow(Index)->Selected = Value;
  if (GridStyle() == gsSlides) RefreshSlide(Index, (SlidesOptions() & soHideSelection) != 0);
  else RefreshRow(Index, false);
}

void TDataGrid::SelectRowRange(int FromRow, int ToRow, bool Value) {
  if (!IsValidRow(FromRow) || !IsValidRow(ToRow)) return;
  for (int i = FromRow; i <= ToRow; ++i) FCells->GetRow(i)->Selected = Value;
  if (FromRow <= ToRow) RefreshRows(FromRow, ToRow);
}

void TDataGrid::DoChangeRowHeight(int Index, int Height) {
  if (Height == GetRowHeight(Index)) return;
  const int old = FCells->GetRow(Index)->Height;
  FCells->GetRow(Index)->Height = Height;
  TNxCustomGrid::DoChangeRowHeight(Index, Height);
  if (!GetRowShown(Index)) return;
  RefreshRow(Index, false);
  if (HandleAllocated()) {
    RECT area = GetBodyRect();
    area.left = 0;
    area.top = GetRowTop(Index) + std::min(old, Height);
    ScrollWindowEx(Handle(), 0, Height - old, &area, &area, nullptr, nullptr, SW_INVALIDATE);
  }
  UpdateVertScrollBar();
}

void TDataGrid::SetRowSize(int Value) {
  TNxCustomGrid::SetRowSize(Value);
  FCells->DefaultRowHeight = RowSize();
}

void TDataGrid::SetStartRowCount(int Value) {
  if (Value == FStartRowCount || Value < 0) return;
  if (Value > FStartRowCount) {
    AddRow(Value - FStartRowCount);
  } else {
    int deletions =
        FStartRowCount < RowCount() ? FStartRowCount - Value : std::max(RowCount() - Value, 0);
    for (int i = 0; i < deletions; ++i) DeleteRow(0);
  }
  FStartRowCount = Value;
  Invalidate();
}

// ---------------------------------------------------------------------------- child rows

void TDataGrid::InsertChildRow(int ParentIndex, bool AsLastChild) {
  int position = ParentIndex + 1 + (AsLastChild ? FCells->CountDescendants(ParentIndex) : 0);
  FCells->InsertChildRow(ParentIndex, position);
  if (Options() & goUseDefaultValues) {
    for (int col = 0; col < FColumns->Count(); ++col)
      if (!FColumns->Item(col)->DefaultValue().empty())
        SetCellText(col, position, FColumns->Item(col)->DefaultValue());
  }
  if (FTopRow >= position) ++FTopRow;
  const bool shown = GetRowShown(position);
  if (shown) RowExtentChanged(position, RowSize(), true);
  FLastPaintedRow = LastRowInView();
  TRow* parent = FCells->GetRow(ParentIndex);
  if (!IsUpdating() && parent->BranchVisible && parent->ChildCount == 1)
    RefreshRow(ParentIndex, false);
  FLastAddedRow = position;
  if (shown && position > FLastShownRow) FLastShownRow = position;
  else if (!shown && FLastShownRow >= position) ++FLastShownRow;
  if (!IsUpdating()) UpdateVertScrollBar();
  DoDataChange(dcAddChildRow, FLastAddedRow);
}

bool TDataGrid::Expanded(int Index) { return FCells->GetRow(Index)->Expanded; }

void TDataGrid::SetExpanded(int Index, bool Value) {
  TRow* row = FCells->GetRow(Index);
  if (row->Expanded == Value) return;
  row->Expanded = Value;
  RefreshRow(Index, false);
  if (row->HasChildren()) {
    const int end = Index + 1 + FCells->CountDescendants(Index);
    for (int i = Index + 1; i < end;) {
      TRow* child = FCells->GetRow(i);
      if (child->BranchVisible != Value) {
        FCells->SetBranchVisible(i, Value);
        if (Value) FLastShownRow = std::max(FLastShownRow, i);
        RowExtentChanged(i, child->Height, Value);
      }
      // Expanding leaves the rows under a collapsed child hidden.
      i += Value && !child->Expanded ? 1 + FCells->CountDescendants(i) : 1;
    }
    if (!Value) FLastShownRow = LastShownUpTo(RowCount() - 1);
  }
  if (OnExpand) OnExpand(this, Index);
}

// Keeps the picture and the scroll state right after row Index appeared (Shown) or went
// away; Delta is its height.
void TDataGrid::RowExtentChanged(int Index, int Delta, bool Shown) {
  TNxScrollBar& bar = VertScrollBar();
  const int l3 = LineWidth(lkBottom), l4 = LineWidth(lkRowExtra);
  RECT clip = GetBodyRect();
  clip.left = 0;
  auto scrollBy = [&](int dy) {
    if (HandleAllocated() && dy != 0)
      ScrollWindowEx(Handle(), 0, dy, &clip, &clip, nullptr, nullptr, SW_INVALIDATE);
  };
  if (GetShownRowCount() == 0) {
    clip.top = GetRowTop(Index);
    FTopRow = 0;
    scrollBy(-(Delta + l4));
  } else if (Index == FTopRow) {
    if (Shown) {
      scrollBy(Delta + l3);
    } else {
      if (!bar.AtEnd()) {
        // Index itself when the row was deleted: the next row now has its index.
        int next = FirstShownFrom(Index);
        if (next < RowCount() && GetRowShown(next)) FTopRow = next;
      }
      scrollBy(-(Delta + l4));
      if (bar.AtEnd()) bar.StepBack();
    }
  } else if (Index > FTopRow) {
    if (IsUpdating()) return;
    clip.top = GridStyle() == gsSlides ? GetSlideTop(Index) : GetRowTop(Index);
    scrollBy(Shown ? Delta + l4 : -(Delta + l4));
    // The rows below moved up: at the end of the range a row above comes into view.
    if (!Shown && bar.AtEnd()) bar.StepBack();
  } else if (bar.AtStart()) {
    // Rows above the view are not on the screen; only a newly shown first row is.
    if (Shown) {
      FTopRow = Index;
      scrollBy(Delta + l4);
    }
  } else {
    SyncVertPosition();
    return;
  }
  UpdateVertScrollBar();
}

// The rows above the view changed: the view stays, and the position counts them again.
void TDataGrid::SyncVertPosition() {
  TNxScrollBar& bar = VertScrollBar();
  bar.BeginUpdate();
  UpdateVertScrollBar();
  bar.SetPosition(CountShownRows(0, FTopRow));
  bar.EndUpdate();
}

int TDataGrid::TopRowFromPosition() {
  int position = VertScrollBar().Position(), counted = 0, row = 0;
  for (; row < RowCount() && counted < position; ++row)
    if (GetRowShown(row)) ++counted;
  return row;
}

// ---------------------------------------------------------------------------- sorting

void TDataGrid::SortColumn(TNxCustomColumn* Column, bool Ascending) {
  TNxCustomGrid::SortColumn(Column, Ascending);
  if (!Column || !(Column->Options() & coCanSort)) return;
  TRow* selected = IsValidRow(FSelectedRow) ? FCells->GetRow(FSelectedRow) : nullptr;
  FCells->Sort(Column->Index(), Column->SortType(), (Column->Options() & coFullResort) != 0,
               !Ascending);
  // The rows have moved: the view and the shown-row bounds follow before anyone is told.
  FTopRow = TopRowFromPosition();
  FFirstShownRow = FirstShownFrom(0);
  FLastShownRow = LastShownUpTo(RowCount() - 1);
  RefreshPart(gpBody);
  if (Options() & goIndicator) RefreshPart(gpIndicator);
  if (selected) SelectRow(FCells->IndexOfRow(selected));
  if (FSelectedRow >= 0) ScrollToRow(FSelectedRow);
  DoAfterSort(Column->Index());
}

// ---------------------------------------------------------------------------- footer

void TDataGrid::CalculateFooter(bool ShownOnly) {
  const int n = ShownOnly ? GetShownRowCount() : RowCount();
  for (int col = 0; col < FColumns->Count(); ++col) {
    TColumnFooter* footer = FColumns->Item(col)->Footer();
    if (footer->FormulaKind() == fkNone) continue;
    double value = n > 0 ? FooterValue(col, footer->FormulaKind(), ShownOnly, n) : 0;
    footer->SetCaption(n > 0 ? efir::text::fromAnsi(efir::FloatToStr(value)) : L"0");
    footer->SetFormulaValue(value);
  }
}

double TDataGrid::FooterValue(int ACol, int Kind, bool ShownOnly, int N) {
  std::vector<int> rows;
  for (int row = 0; row < RowCount(); ++row)
    if ((!ShownOnly || GetRowShown(row)) && AcceptCalculateRow(row)) rows.push_back(row);
  double value = 0;
  switch (Kind) {
    case fkSum:
    case fkAverage:
      for (int row : rows) value += GetCell(ACol, row)->GetAsFloat();
      // The sum over the counted rows shared out over all N rows, beside fkCount's N.
      if (Kind == fkAverage) value = N > 0 ? value / N : 0;
      break;
    case fkCount:
      value = N;
      break;
    case fkDistinct: {
      std::set<std::string> texts;
      for (int row : rows) {
        std::wstring text = GetCellText(ACol, row);
        CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
        texts.insert(efir::text::toAnsi(text));
      }
      value = static_cast<double>(texts.size());
      break;
    }
    case fkMaximum:
    case fkMinimum:
      for (size_t i = 0; i < rows.size(); ++i) {
        double v = GetCell(ACol, rows[i])->GetAsFloat();
        if (i == 0 || (Kind == fkMaximum ? v > value : v < value)) value = v;
      }
      break;
    case fkCustom:
      if (OnColumnFooterValue) OnColumnFooterValue(this, ACol, value);
      break;
  }
  if (OnFooterCalculate) OnFooterCalculate(this, ACol, value);
  return value;
}

// ---------------------------------------------------------------------------- columns

void TDataGrid::ApplyColumnStyle(int Index) {
  if (!FColumns->ValidIndex(Index)) return;
  TNxCustomColumn* column = FColumns->Item(Index);
  for (int row = 0; row < RowCount(); ++row) {
    TCell* cell = GetCell(Index, row);
    cell->SetColor(column->Color());
    cell->SetFontStyle(column->Font()->Style());
    cell->SetTextColor(column->Font()->Color());
  }
}

void TDataGrid::ColumnsDataChange(int Kind, int Index, int Extra) {
  TNxCustomGrid::ColumnsDataChange(Kind, Index, Extra);
  FCells->ColumnsChanged(Kind, Index, Extra);
}
