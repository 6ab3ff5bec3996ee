// The data grid the programs place on their windows: station tiles (picture columns), the
// station list (text and number columns) and the editor's station list. It keeps its cells in
// a cell store (grid/cell_store.h) and answers the engine's row and cell questions from it.
//
//   auto* grid = new TDataGrid(form);                    // owned by the form
//   grid->SetParent(form);
//   grid->SetBounds(8, 8, 470, 360);
//   grid->Columns()->Add(std::make_unique<TNxTextColumn>())->Header()->SetCaption(L"Имя");
//   int row = grid->AddRow();                            // index of the new row
//   grid->SetCellText(0, row, L"Радио");                 // "Cell out of bounds (0, 5)" when bad
//   grid->GetCell(0, row)->CellObject = logo;            // the picture stays the caller's
//   grid->OnSelectCell = [](TObject*, int ACol, int ARow) { ... };
//   grid->SelectCell(0, row);
//   grid->ScrollToRow(row);
//
// Rows and columns are zero-based; a column index is the column's creation index.
#pragma once

#include <memory>
#include <string>

#include "grid/cell_store.h"
#include "grid/custom_grid.h"

using TCellFormatingEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, TColor& TextColor,
                       TFontStyles& FontStyle, TCellState CellState)>;
using TCompareEvent =
    std::function<void(TObject* Sender, TCell* Cell1, TCell* Cell2, int& Compare)>;
using TNxRowExpandEvent = std::function<void(TObject* Sender, int ARow)>;

class TDataGrid : public TNxCustomGrid {
 public:
  explicit TDataGrid(TComponent* AOwner);
  ~TDataGrid() override;
  void BeforeDestruction() override;

  TCells* Cells() const { return FCells.get(); }
  int LastAddedRow() const { return FLastAddedRow; }

  // --- cells ---
  // The cell at (ACol, ARow); bad coordinates raise "Cell out of bounds (c, r)".
  virtual TCell* GetCell(int ACol, int ARow);
  std::wstring GetCellText(int ACol, int ARow) override;
  void SetCellText(int ACol, int ARow, const std::wstring& Value) override;
  void GetCellInfo(int ACol, int ARow, TCellInfo& Info) override;
  void GetDrawText(int ACol, int ARow, std::wstring& Text) override;
  void GetHintText(int ACol, int ARow, std::wstring& Text) override;
  TColor GetCellColor(int ACol, int ARow) override;
  void GetCellHint(int ACol, int ARow, std::wstring& Value) override;
  bool IsCellHidden(int ACol, int ARow) override;

  // --- rows ---
  int RowCount() override;
  int GetRowLevel(int Index) override;
  void FillCellPlay(TColumnPlay* Play) override;
  void PlayValueChanged(TColumnPlay* Play) override;
  void PlayRowToggled(TColumnPlay* Play) override;
  int GetRowParent(int Index) override;
  bool GetRowShown(int Index) override;
  bool GetRowSelected(int Index) override;
  int GetShownRowCount() override;
  int GetFirstShownRow() override { return FFirstShownRow; }
  int GetLastShownRow() override { return FLastShownRow; }
  int GetRowHeight(int Index) override;

  // Adds Count rows; returns the index of the last new row (LastAddedRow unchanged when
  // Count < 1).
  int AddRow(int Count = 1) override;
  virtual void AddRowsSilently(int Count);
  void InsertRow(int Index) override;
  void DeleteRow(int Index) override;
  void MoveRow(int FromIndex, int ToIndex) override;
  void ExchangeRows(int Index1, int Index2) override;
  void ClearRows() override;
  void SetRowVisible(int Index, bool Visible) override;
  void SetRowSelected(int Index, bool Value) override;
  void SelectRowRange(int FromRow, int ToRow, bool Value) override;
  void DoChangeRowHeight(int Index, int Height) override;
  void SetRowSize(int Value) override;
  // A row under ParentIndex: its first child, or its last (after all its descendants).
  virtual void InsertChildRow(int ParentIndex, bool AsLastChild);
  bool Expanded(int Index);
  // Shows or hides the row's descendants (those under a collapsed child stay hidden).
  void SetExpanded(int Index, bool Value);

  // --- the tree ---
  // Count: the row's descendants; Height: its own height and that of each descendant whose
  // ancestors up to the row are all expanded, each with the row's grid lines.
  void CountSubtree(int Index, int& Count, int& Height);
  // The next row of the same level under the same parent, -1 when none.
  int NextSibling(int Index);
  // The parent row's index, -1 for a top-level row.
  int ParentIndexOf(int Index);
  // Sibling: NextSibling(Index); then Index becomes ParentIndexOf(Index) (a step up the tree).
  void GetTreeLinks(int& Index, int& Sibling);
  int StartRowCount() const { return FStartRowCount; }
  void SetStartRowCount(int Value);

  // Sorts the rows by Column (OnSortColumn before the rows move, OnAfterSort after); the
  // selected row stays selected where it lands.
  void SortColumn(TNxCustomColumn* Column, bool Ascending) override;
  void CalculateFooter(bool ShownOnly) override;
  void ApplyColumnStyle(int Index) override;

  TCellFormatingEvent OnCellFormating;
  TCompareEvent OnCompare;
  TNxRowExpandEvent OnExpand;

 protected:
  void ColumnsDataChange(int Kind, int Index, int Extra) override;
  void FormatCellText(int ACol, int ARow, TCellState CellState,
                      const std::wstring& Text) override;
  bool PrepareCellCanvas(int ACol, int ARow, TCellState CellState) override;

 private:
  void CellChanged(int ACol, int ARow);
  void RowsAdded(int Count);
  void RowExtentChanged(int Index, int Delta, bool Shown);
  void SyncVertPosition();
  int TopRowFromPosition();
  double FooterValue(int ACol, int Kind, bool ShownOnly, int N);
  void CheckCell(int ACol, int ARow);

  std::unique_ptr<TCells> FCells;
  int FLastAddedRow = 0;
  int FStartRowCount = 0;
};
