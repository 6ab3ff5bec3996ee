// A stand-in for the grid control in the grid's model tests: it owns a column collection and
// a cell store wired as the grid wires them, answers the columns' questions with plain
// settings, and records every notice and refresh it is sent.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "grid/cell_store.h"
#include "grid/columns.h"

namespace gridtest {

struct Notice {
  std::string column;  // Name of the column, empty for collection notices
  int kind;
  int value;
  bool operator==(const Notice&) const = default;
};

class FakeGrid : public IColumnsGrid, public ICellColors {
 public:
  FakeGrid() { columns.SetGrid(this); }
  ~FakeGrid() { columns.SetGrid(nullptr); }

  TNxColumns columns;
  TCells cells{this, &columns};

  std::vector<Notice> notices;    // column notices
  std::vector<Notice> refreshes;  // RefreshColumn(column, part): kind = part
  int availableWidth = 500;
  bool indicator = false;
  bool loading = false;
  TFont font;

  template <class T>
  T* Add(const std::string& name) {
    auto* column = columns.Add(std::make_unique<T>());
    column->Name = name;
    return column;
  }

  void ColumnChanged(TNxCustomColumn* Column, int Kind, int Value) override {
    notices.push_back({Column->Name, Kind, Value});
  }
  void ColumnsDataChanged(int Kind, int Index, int Extra) override {
    cells.ColumnsChanged(Kind, Index, Extra);
  }
  void ColumnsCollectionChanged(int, int, int) override {}
  void RefreshColumn(TNxCustomColumn* Column, int Part) override {
    refreshes.push_back({Column->Name, Part, -1});
  }
  bool ColumnsLoading() const override { return loading; }
  int ColumnsLeft() const override { return 0; }
  int AvailableColumnsWidth() const override { return availableWidth; }
  bool IndicatorShown() const override { return indicator; }
  int HorzScrollPos() const override { return 0; }
  const TFont& GridFont() const override { return font; }
  RECT BandRect(int) const override { return {0, 0, 100, 20}; }
  int SelectedColumn() const override { return -1; }
  const TNxCustomColumn* HeaderDownColumn() const override { return nullptr; }
  const TNxCustomColumn* HeaderHotColumn() const override { return nullptr; }
  TColor GetCellDrawColor(int, int) override { return clWhite; }
  TColor GetCellTextColor(int, int) override { return clBlack; }
};

}  // namespace gridtest
