// The data of one grid: one cell object per column and row, and one row record per row.
// Column-major: each column keeps a list of cells, one per row; every row operation (add,
// insert, delete, move, exchange, sort) touches every column list at the same index, so
// rows always move whole. The store owns its cells and rows; it never touches the object a
// caller attaches to a cell (`CellObject`, e.g. a station logo), which stays the caller's.
//
//   TCells cells(&grid, &columns);         // the grid forwards column notices to ColumnsChanged
//   cells.AddRows(3);
//   cells.GetCell(0, 2)->SetAsString(L"Радио");
//   cells.Sort(0, stAlphabetic, false, false);
//
// Bad coordinates raise the grid's "Cell out of bounds (" error or the list index error
// before anything changes.
#pragma once

#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "grid/grid_types.h"

class TCell;
class TCells;
class TNxColumns;
class TObject;
class TNxCustomColumn;
class TGraphic;

// The grid's custom comparison: Compare negative when Cell1 belongs before Cell2 in ascending
// order, positive when after, 0 when equal (it starts at 0).
using TCompareEvent = std::function<void(TObject* Sender, TCell* Cell1, TCell* Cell2, int& Compare)>;

// The grid's colour questions a cell asks about the store's current cell (the grid answers).
class ICellColors {
 public:
  virtual TColor GetCellDrawColor(int ACol, int ARow) = 0;
  virtual TColor GetCellTextColor(int ACol, int ARow) = 0;

 protected:
  ~ICellColors() = default;
};

// The abstract cell. Subclasses (grid/cells.h) hold the value and convert it to the five
// forms the grid asks for; every writer ends in `Changed`, which reports to the store.
class TCell {
 public:
  explicit TCell(TCells* Owner);
  virtual ~TCell() = default;
  TCell(const TCell&) = delete;
  TCell& operator=(const TCell&) = delete;

  TCells* const Cells;
  TGraphic* CellObject = nullptr;  // the caller's picture; never created, read or freed here
  std::wstring Hint;
  bool Hidden = false;

  TFontStyles FontStyle() const { return FFontStyle; }
  TColor Color() const { return FColor; }
  TColor TextColor() const { return FTextColor; }
  void SetFontStyle(TFontStyles Value);
  void SetColor(TColor Value);
  void SetTextColor(TColor Value);
  bool Creating() const { return FCreating; }

  virtual TColor GetColor();
  virtual TColor GetTextColor();
  virtual bool GetAsBoolean() = 0;
  virtual double GetAsDateTime() = 0;
  virtual double GetAsFloat() = 0;
  virtual int GetAsInteger() = 0;
  virtual std::wstring GetAsString() = 0;
  virtual void Changed();
  virtual void SetAsBoolean(bool Value);
  virtual void SetAsDateTime(double Value);
  virtual void SetAsFloat(double Value);
  virtual void SetAsInteger(int Value);
  virtual void SetAsString(const std::wstring& Value);
  virtual void Clear();

 private:
  friend class TCells;
  TFontStyles FFontStyle = 0;
  TColor FColor = 0;
  TColor FTextColor = 0;
  bool FCreating = true;  // style copied from the column without reporting a change
};

struct TRow {
  int ChildCount = 0;
  bool Expanded = true;
  int ParentIndex = -1;
  int Level = 0;
  TRow* ParentRow = nullptr;
  int Height = 0;
  bool Selected = false;
  bool BranchVisible = true;
  bool Visible = true;

  bool Shown() const { return BranchVisible && Visible; }
  bool HasChildren() const { return ChildCount > 0; }
};

class TCells {
 public:
  TCells(ICellColors* Grid, TNxColumns* Columns);
  virtual ~TCells();
  TCells(const TCells&) = delete;
  TCells& operator=(const TCells&) = delete;

  ICellColors* const Grid;
  TNxColumns* const Columns;
  int DefaultRowHeight = 0;
  std::function<void(TCells* Sender, int ACol, int ARow)> OnCellChange;
  std::function<void(TCells* Sender, TCell* Cell1, TCell* Cell2, int& Compare)> OnCompareCells;

  int ColumnCount() const { return static_cast<int>(FColumnLists.size()); }
  int RowCount() const { return static_cast<int>(FRows.size()); }
  int CurrentColumn() const { return FCurrentColumn; }
  int CurrentRow() const { return FCurrentRow; }
  int ShownRowCount() const { return FShownRowCount; }
  bool SortValid() const { return FSortValid; }
  int SortedColumn() const { return FSortedColumn; }
  bool SortDescending() const { return FSortDescending; }

  // Records (ACol, ARow) as the current cell, which the cell's change report and the
  // increment cell's value refer to.
  TCell* GetCell(int ACol, int ARow);
  TRow* GetRow(int Index) const;
  int IndexOfRow(const TRow* Row) const;
  int CountDescendants(int Index) const;
  int CountChildren(int Index) const;

  void AddRows(int Count);
  void InsertRow(int Index);
  void InsertChildRow(int ParentIndex, int Position);
  void DeleteRow(int Index);
  void MoveRow(int FromIndex, int ToIndex);
  void ExchangeRows(int Index1, int Index2);
  void ClearRows();
  void SetBranchVisible(int Index, bool Value);
  void SetRowVisible(int Index, bool Value);

  // The column collection's data notices: 0 add, 1 delete (Index), 2 clear, 3 insert (Index),
  // 4 move (Index to Extra). Kind is taken modulo 128; other kinds do nothing.
  void ColumnsChanged(int Kind, int Index, int Extra);

  void Sort(int ACol, TSortType SortType, bool FullResort, bool Descending);

  virtual void DoCellChange();
  virtual void DoCompare(TCell* Cell1, TCell* Cell2, int& Compare);

 private:
  enum class TNewCellFor { AddRows, InsertRow, InsertColumn, InsertChildRow };
  using TCellList = std::vector<std::unique_ptr<TCell>>;

  std::unique_ptr<TCell> NewCell(TNxCustomColumn* Column, TNewCellFor Operation);
  TNxCustomColumn* ColumnForList(int Index) const;
  void CheckRowIndex(int Index, int Count) const;
  void ChangeShown(const TRow& Row, bool WasShown);
  void AddColumn();
  void DeleteColumn(int Index);
  void ClearColumns();
  void InsertColumn(int Index);
  void MoveColumn(int FromIndex, int ToIndex);
  void ReverseRows();
  void ApplyOrder(const std::vector<int>& Order);

  std::vector<TCellList> FColumnLists;
  std::vector<std::unique_ptr<TRow>> FRows;
  int FCurrentColumn = 0;
  int FCurrentRow = 0;
  int FShownRowCount = 0;
  bool FSortValid = false;
  int FSortedColumn = 0;
  bool FSortDescending = false;
  // The sort's pivots come from a generator of the store's own: drawing from the program's
  // shared one would change the player's "random station".
  std::minstd_rand FRandom{20240611u};
};
