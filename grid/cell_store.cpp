#include "grid/cell_store.h"

#include <algorithm>
#include <string>

#include "framework/exceptions.h"
#include "grid/cell_sort.h"
#include "grid/cells.h"
#include "grid/columns.h"
#include "grid/grid_error.h"

namespace {

[[noreturn]] void RaiseListIndex(int index) {
  throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

template <class T>
void MoveEntry(std::vector<T>& list, int from, int to) {
  T entry = std::move(list[static_cast<size_t>(from)]);
  list.erase(list.begin() + from);
  list.insert(list.begin() + to, std::move(entry));
}

}  // namespace

// --- TCell ---

TCell::TCell(TCells* Owner) : Cells(Owner) {}

void TCell::SetFontStyle(TFontStyles Value) {
  FFontStyle = Value;
  if (!FCreating) Changed();
}
void TCell::SetColor(TColor Value) {
  FColor = Value;
  if (!FCreating) Changed();
}
void TCell::SetTextColor(TColor Value) {
  FTextColor = Value;
  if (!FCreating) Changed();
}

TColor TCell::GetColor() {
  return Cells->Grid ? Cells->Grid->GetCellDrawColor(Cells->CurrentColumn(), Cells->CurrentRow())
                     : FColor;
}
TColor TCell::GetTextColor() {
  return Cells->Grid ? Cells->Grid->GetCellTextColor(Cells->CurrentColumn(), Cells->CurrentRow())
                     : FTextColor;
}

void TCell::Changed() { Cells->DoCellChange(); }
void TCell::SetAsBoolean(bool) { Changed(); }
void TCell::SetAsDateTime(double) { Changed(); }
void TCell::SetAsFloat(double) { Changed(); }
void TCell::SetAsInteger(int) { Changed(); }
void TCell::SetAsString(const std::wstring&) { Changed(); }
void TCell::Clear() { Changed(); }

// --- TCells: access ---

TCells::TCells(ICellColors* Grid, TNxColumns* Columns) : Grid(Grid), Columns(Columns) {}

TCells::~TCells() { ClearColumns(); }

TCell* TCells::GetCell(int ACol, int ARow) {
  if (ACol < 0 || ACol >= ColumnCount() || ARow < 0 || ARow >= RowCount())
    grid::RaiseCellOutOfBounds(ACol, ARow);
  FCurrentColumn = ACol;
  FCurrentRow = ARow;
  return FColumnLists[static_cast<size_t>(ACol)][static_cast<size_t>(ARow)].get();
}

TRow* TCells::GetRow(int Index) const {
  CheckRowIndex(Index, RowCount());
  return FRows[static_cast<size_t>(Index)].get();
}

int TCells::IndexOfRow(const TRow* Row) const {
  auto it = std::find_if(FRows.begin(), FRows.end(), [Row](auto& r) { return r.get() == Row; });
  return it == FRows.end() ? -1 : static_cast<int>(it - FRows.begin());
}

int TCells::CountDescendants(int Index) const {
  const int level = GetRow(Index)->Level;
  int count = 0;
  for (int i = Index + 1; i < RowCount() && FRows[static_cast<size_t>(i)]->Level > level; ++i)
    ++count;
  return count;
}

int TCells::CountChildren(int Index) const {
  const int level = GetRow(Index)->Level;
  int count = 0;
  for (int i = Index + 1; i < RowCount() && FRows[static_cast<size_t>(i)]->Level > level; ++i)
    if (FRows[static_cast<size_t>(i)]->Level == level + 1) ++count;
  return count;
}

void TCells::CheckRowIndex(int Index, int Count) const {
  if (Index < 0 || Index >= Count) RaiseListIndex(Index);
}

// --- TCells: the cell factory ---

TNxCustomColumn* TCells::ColumnForList(int Index) const {
  if (!Columns || Index < 0 || Index >= Columns->Count()) return nullptr;
  return Columns->Item(Index);
}

std::unique_ptr<TCell> TCells::NewCell(TNxCustomColumn* Column, TNewCellFor Operation) {
  const int kind = Column ? Column->ColumnKind() : 8;
  std::unique_ptr<TCell> cell;
  switch (kind) {
    case 0:  // increment: inserted rows would renumber, so they hold a plain number
      if (Operation == TNewCellFor::InsertRow || Operation == TNewCellFor::InsertColumn)
        cell = std::make_unique<TIntegerCell>(this);
      else
        cell = std::make_unique<TIncrementCell>(this);
      break;
    case 1: cell = std::make_unique<TBooleanCell>(this); break;
    case 3: cell = std::make_unique<TDateTimeCell>(this); break;
    case 4: cell = std::make_unique<TFloatCell>(this); break;
    case 6:
      if (Operation == TNewCellFor::InsertRow || Operation == TNewCellFor::InsertChildRow)
        cell = std::make_unique<TStringCell>(this);
      else
        cell = std::make_unique<TGuidCell>(this);
      break;
    case 7: cell = std::make_unique<TIntegerCell>(this); break;
    case 11: cell = std::make_unique<TVirtualCell>(this, Column); break;
    default: cell = std::make_unique<TStringCell>(this); break;
  }
  if (Column) {
    cell->FFontStyle = Column->Font()->Style();
    cell->FTextColor = Column->Font()->Color();
    cell->FColor = Column->Color();
  }
  cell->FCreating = false;
  return cell;
}

// --- TCells: rows ---

void TCells::ChangeShown(const TRow& Row, bool WasShown) {
  if (Row.Shown() != WasShown) FShownRowCount += Row.Shown() ? 1 : -1;
}

void TCells::AddRows(int Count) {
  FSortValid = false;
  for (int n = 0; n < Count; ++n) {
    std::vector<std::unique_ptr<TCell>> cells;
    for (int k = 0; k < ColumnCount(); ++k)
      cells.push_back(NewCell(ColumnForList(k), TNewCellFor::AddRows));
    auto row = std::make_unique<TRow>();
    row->Height = DefaultRowHeight;
    FRows.push_back(std::move(row));
    for (int k = 0; k < ColumnCount(); ++k)
      FColumnLists[static_cast<size_t>(k)].push_back(std::move(cells[static_cast<size_t>(k)]));
    ++FShownRowCount;
  }
}

void TCells::InsertRow(int Index) {
  CheckRowIndex(Index, RowCount() + 1);
  std::vector<std::unique_ptr<TCell>> cells;
  for (int k = 0; k < ColumnCount(); ++k)
    cells.push_back(NewCell(ColumnForList(k), TNewCellFor::InsertRow));
  auto row = std::make_unique<TRow>();
  row->Height = DefaultRowHeight;
  FRows.insert(FRows.begin() + Index, std::move(row));
  for (int k = 0; k < ColumnCount(); ++k) {
    auto& list = FColumnLists[static_cast<size_t>(k)];
    list.insert(list.begin() + Index, std::move(cells[static_cast<size_t>(k)]));
  }
  ++FShownRowCount;
  FSortValid = false;
}

void TCells::InsertChildRow(int ParentIndex, int Position) {
  TRow* parent = GetRow(ParentIndex);
  CheckRowIndex(Position, RowCount() + 1);
  std::vector<std::unique_ptr<TCell>> cells;
  for (int k = 0; k < ColumnCount(); ++k)
    cells.push_back(NewCell(ColumnForList(k), TNewCellFor::InsertChildRow));
  auto row = std::make_unique<TRow>();
  row->ParentRow = parent;
  row->BranchVisible = parent->Expanded && parent->BranchVisible;
  row->Height = DefaultRowHeight;
  row->Level = parent->Level + 1;
  ++parent->ChildCount;
  if (row->Shown()) ++FShownRowCount;
  FRows.insert(FRows.begin() + Position, std::move(row));
  for (int k = 0; k < ColumnCount(); ++k) {
    auto& list = FColumnLists[static_cast<size_t>(k)];
    list.insert(list.begin() + Position, std::move(cells[static_cast<size_t>(k)]));
  }
  FSortValid = false;  // a new row among sorted ones: only a full sort puts it in place
}

void TCells::DeleteRow(int Index) {
  CheckRowIndex(Index, RowCount());
  TRow* row = FRows[static_cast<size_t>(Index)].get();
  // Parent and children must not keep pointing at a record that is freed.
  if (row->ParentRow && row->ParentRow->ChildCount > 0) --row->ParentRow->ChildCount;
  for (auto& other : FRows)
    if (other->ParentRow == row) other->ParentRow = nullptr;
  for (auto& list : FColumnLists) list.erase(list.begin() + Index);
  if (row->Shown()) --FShownRowCount;
  FRows.erase(FRows.begin() + Index);
}

void TCells::MoveRow(int FromIndex, int ToIndex) {
  CheckRowIndex(FromIndex, RowCount());
  CheckRowIndex(ToIndex, RowCount());
  MoveEntry(FRows, FromIndex, ToIndex);
  for (auto& list : FColumnLists) MoveEntry(list, FromIndex, ToIndex);
  FSortValid = false;
}

void TCells::ExchangeRows(int Index1, int Index2) {
  CheckRowIndex(Index1, RowCount());
  CheckRowIndex(Index2, RowCount());
  std::swap(FRows[static_cast<size_t>(Index1)], FRows[static_cast<size_t>(Index2)]);
  for (auto& list : FColumnLists)
    std::swap(list[static_cast<size_t>(Index1)], list[static_cast<size_t>(Index2)]);
  FSortValid = false;  // else a later reverse-only sort would reverse an unsorted order
}

void TCells::ClearRows() {
  for (auto& list : FColumnLists) list.clear();
  FRows.clear();
  FShownRowCount = 0;
  FSortValid = false;
}

void TCells::SetBranchVisible(int Index, bool Value) {
  TRow* row = GetRow(Index);
  if (row->BranchVisible == Value) return;
  const bool wasShown = row->Shown();
  row->BranchVisible = Value;
  ChangeShown(*row, wasShown);
}

void TCells::SetRowVisible(int Index, bool Value) {
  TRow* row = GetRow(Index);
  if (row->Visible == Value) return;
  const bool wasShown = row->Shown();
  row->Visible = Value;
  ChangeShown(*row, wasShown);
}

// --- TCells: columns ---

void TCells::ColumnsChanged(int Kind, int Index, int Extra) {
  switch (Kind % 128) {
    case 0: AddColumn(); break;
    case 1: DeleteColumn(Index); break;
    case 2: ClearColumns(); break;
    case 3: InsertColumn(Index); break;
    case 4: MoveColumn(Index, Extra); break;
    default: return;
  }
  // Column indexes have shifted: the remembered sort no longer names the same column.
  FSortValid = false;
}

void TCells::AddColumn() {
  TNxCustomColumn* column = Columns && Columns->Count() > 0 ? Columns->Item(Columns->Count() - 1)
                                                            : nullptr;
  TCellList list;
  for (int r = 0; r < RowCount(); ++r) list.push_back(NewCell(column, TNewCellFor::AddRows));
  FColumnLists.push_back(std::move(list));
}

void TCells::DeleteColumn(int Index) {
  if (Index < 0 || Index >= ColumnCount()) return;  // nothing of ours to remove
  FColumnLists.erase(FColumnLists.begin() + Index);
  if (FColumnLists.empty()) ClearRows();
}

void TCells::ClearColumns() {
  ClearRows();
  FColumnLists.clear();
}

void TCells::InsertColumn(int Index) {
  if (Index < 0 || Index > ColumnCount()) RaiseListIndex(Index);
  TCellList list;
  for (int r = 0; r < RowCount(); ++r)
    list.push_back(NewCell(ColumnForList(Index), TNewCellFor::InsertColumn));
  FColumnLists.insert(FColumnLists.begin() + Index, std::move(list));
}

void TCells::MoveColumn(int FromIndex, int ToIndex) {
  CheckRowIndex(FromIndex, ColumnCount());
  CheckRowIndex(ToIndex, ColumnCount());
  MoveEntry(FColumnLists, FromIndex, ToIndex);
}

// --- TCells: notices and sorting ---

void TCells::DoCellChange() {
  if (OnCellChange) OnCellChange(this, FCurrentColumn, FCurrentRow);
  FSortValid = false;
}

void TCells::DoCompare(TCell* Cell1, TCell* Cell2, int& Compare) {
  if (OnCompareCells) OnCompareCells(this, Cell1, Cell2, Compare);
}

void TCells::ReverseRows() {
  std::reverse(FRows.begin(), FRows.end());
  for (auto& list : FColumnLists) std::reverse(list.begin(), list.end());
}

void TCells::ApplyOrder(const std::vector<int>& Order) {
  auto reorder = [&Order](auto& list) {
    std::remove_reference_t<decltype(list)> sorted;
    sorted.reserve(list.size());
    for (int from : Order) sorted.push_back(std::move(list[static_cast<size_t>(from)]));
    list = std::move(sorted);
  };
  reorder(FRows);
  for (auto& list : FColumnLists) reorder(list);
}

void TCells::Sort(int ACol, TSortType SortType, bool FullResort, bool Descending) {
  if (ACol < 0 || ACol >= ColumnCount()) grid::RaiseCellOutOfBounds(ACol, 0);
  if (FSortedColumn == ACol && FSortValid && Descending != FSortDescending && !FullResort) {
    ReverseRows();
  } else {
    // The order is worked out on row numbers first: a comparison that raises moves nothing.
    auto order = grid::SortOrder(RowCount(), grid::CellCompare(*this, ACol, SortType),
                                 Descending, FRandom);
    ApplyOrder(order);
  }
  FSortDescending = Descending;
  FSortedColumn = ACol;
  FSortValid = true;
}
