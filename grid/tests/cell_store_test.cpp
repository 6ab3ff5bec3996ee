// The cell store's invariants: every column list has one cell per row, rows move whole,
// bad coordinates change nothing, and the objects callers attach to cells stay theirs.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <typeinfo>

#include "framework/exceptions.h"
#include "framework/text_encoding.h"
#include "grid/cells.h"
#include "grid/column_kinds.h"
#include "grid/grid_error.h"
#include "grid/tests/fake_grid.h"

using gridtest::FakeGrid;

namespace {

// Every cell of row r gets the text "R<r>", so a row's identity can be read from any column.
void Label(FakeGrid& g) {
  for (int r = 0; r < g.cells.RowCount(); ++r)
    for (int c = 0; c < g.cells.ColumnCount(); ++c)
      g.cells.GetCell(c, r)->SetAsString(L"R" + std::to_wstring(r));
}

// The rows in order, as their labels ("-" for a row without one); fails the test when the
// cells of one row disagree or a column list is not as long as the rows.
std::string RowOrder(FakeGrid& g) {
  std::string order;
  for (int r = 0; r < g.cells.RowCount(); ++r) {
    std::wstring label;
    for (int c = 0; c < g.cells.ColumnCount(); ++c) {
      std::wstring text = g.cells.GetCell(c, r)->GetAsString();
      if (text.empty()) continue;  // a cell made after labelling
      if (label.empty()) label = text;
      EXPECT_EQ(label, text) << "row " << r << " column " << c << " moved apart from its row";
    }
    order += (order.empty() ? "" : " ") + (label.empty() ? "-" : efir::text::toAnsi(label));
  }
  for (int c = 0; c < g.cells.ColumnCount(); ++c)
    EXPECT_THROW(g.cells.GetCell(c, g.cells.RowCount()), EGridError) << "column " << c;
  return order;
}

}  // namespace

TEST(CellStore, RowAndColumnOperationsKeepRowsWhole) {
  struct Case {
    const char* name;
    std::function<void(FakeGrid&)> act;
    const char* rows;
  };
  const Case cases[] = {
      {"nothing", [](FakeGrid&) {}, "R0 R1 R2 R3 R4"},
      {"add two", [](FakeGrid& g) { g.cells.AddRows(2); }, "R0 R1 R2 R3 R4 - -"},
      {"add none", [](FakeGrid& g) { g.cells.AddRows(-3); }, "R0 R1 R2 R3 R4"},
      {"insert first", [](FakeGrid& g) { g.cells.InsertRow(0); }, "- R0 R1 R2 R3 R4"},
      {"insert after last", [](FakeGrid& g) { g.cells.InsertRow(5); }, "R0 R1 R2 R3 R4 -"},
      {"delete", [](FakeGrid& g) { g.cells.DeleteRow(1); }, "R0 R2 R3 R4"},
      {"move down", [](FakeGrid& g) { g.cells.MoveRow(0, 3); }, "R1 R2 R3 R0 R4"},
      {"move up", [](FakeGrid& g) { g.cells.MoveRow(4, 1); }, "R0 R4 R1 R2 R3"},
      {"exchange", [](FakeGrid& g) { g.cells.ExchangeRows(0, 4); }, "R4 R1 R2 R3 R0"},
      {"child row", [](FakeGrid& g) { g.cells.InsertChildRow(1, 2); }, "R0 R1 - R2 R3 R4"},
      {"clear", [](FakeGrid& g) { g.cells.ClearRows(); }, ""},
      {"add column", [](FakeGrid& g) { g.Add<TNxTextColumn>("d"); }, "R0 R1 R2 R3 R4"},
      {"delete column", [](FakeGrid& g) { delete g.columns.Item(1); }, "R0 R1 R2 R3 R4"},
      {"move column", [](FakeGrid& g) { g.cells.ColumnsChanged(4, 0, 2); }, "R0 R1 R2 R3 R4"},
      {"insert column", [](FakeGrid& g) { g.cells.ColumnsChanged(3 + 128, 1, -1); },
       "R0 R1 R2 R3 R4"},
      {"delete every column",
       [](FakeGrid& g) { while (g.columns.Count() > 0) delete g.columns.Item(0); }, ""},
      {"sequence",
       [](FakeGrid& g) {
         g.cells.MoveRow(0, 4);
         g.cells.InsertRow(2);
         g.cells.ExchangeRows(0, 5);
         g.cells.DeleteRow(2);
         g.Add<TNxTextColumn>("d");
         g.cells.AddRows(1);
       },
       "R0 R2 R3 R4 R1 -"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeGrid g;
    g.Add<TNxTextColumn>("a");
    g.Add<TNxTextColumn>("b");
    g.Add<TNxTextColumn>("c");
    g.cells.AddRows(5);
    Label(g);
    c.act(g);
    EXPECT_EQ(g.cells.ColumnCount(), g.columns.Count() + (std::string(c.name) == "insert column"));
    EXPECT_EQ(RowOrder(g), c.rows);
    EXPECT_EQ(g.cells.ShownRowCount(), g.cells.RowCount());
  }
}

TEST(CellStore, BadCoordinatesRaiseAndChangeNothing) {
  FakeGrid g;
  g.Add<TNxTextColumn>("a");
  g.Add<TNxTextColumn>("b");
  g.cells.AddRows(5);
  Label(g);
  struct Cell {
    int col, row;
    const char* message;
  };
  for (const Cell& c : {Cell{0, 5, "Cell out of bounds (0, 5)"}, Cell{-1, 0, "Cell out of bounds (-1, 0)"},
                        Cell{2, 0, "Cell out of bounds (2, 0)"}, Cell{1024, 1, "Cell out of bounds (1024, 1)"},
                        Cell{0, -1, "Cell out of bounds (0, -1)"}}) {
    try {
      g.cells.GetCell(c.col, c.row);
      ADD_FAILURE() << c.message;
    } catch (const EGridError& e) {
      EXPECT_EQ(e.Message(), c.message);
    }
  }
  struct RowOp {
    std::function<void()> act;
    const char* message;
  };
  const RowOp ops[] = {
      {[&] { g.cells.DeleteRow(5); }, "List index out of bounds (5)"},
      {[&] { g.cells.MoveRow(1, 7); }, "List index out of bounds (7)"},
      {[&] { g.cells.ExchangeRows(-1, 2); }, "List index out of bounds (-1)"},
      {[&] { g.cells.InsertRow(6); }, "List index out of bounds (6)"},
      {[&] { g.cells.InsertChildRow(0, 9); }, "List index out of bounds (9)"},
      {[&] { g.cells.GetRow(5); }, "List index out of bounds (5)"},
      {[&] { g.cells.SetRowVisible(5, false); }, "List index out of bounds (5)"},
  };
  for (const RowOp& op : ops) {
    try {
      op.act();
      ADD_FAILURE() << op.message;
    } catch (const EListError& e) {
      EXPECT_EQ(e.Message(), op.message);
    }
  }
  EXPECT_THROW(g.cells.Sort(2, stAlphabetic, false, false), EGridError);
  EXPECT_EQ(RowOrder(g), "R0 R1 R2 R3 R4");
  EXPECT_EQ(g.cells.GetRow(0)->ChildCount, 0);
}

TEST(CellStore, AttachedObjectsStayTheCallers) {
  // The store only carries the pointer: it must never free what it points to. A stack
  // object stands in for a picture; freeing it would crash the test.
  int pictures[3] = {};
  auto logo = [&](int i) { return reinterpret_cast<TGraphic*>(&pictures[i]); };
  auto g = std::make_unique<FakeGrid>();
  g->Add<TNxGraphicColumn>("logo");
  g->cells.AddRows(3);
  for (int r = 0; r < 3; ++r) g->cells.GetCell(0, r)->CellObject = logo(r);

  g->cells.MoveRow(0, 2);
  g->cells.Sort(0, stCustom, false, false);
  EXPECT_EQ(g->cells.GetCell(0, 0)->CellObject, logo(0));  // moved whole: 1 2 0, then sorted c a b
  g->cells.DeleteRow(0);
  g->cells.ClearRows();
  g->cells.AddRows(1);
  g->cells.GetCell(0, 0)->CellObject = logo(0);
  g.reset();  // the store and its cells go; the pictures stay
  EXPECT_EQ(pictures[0] + pictures[1] + pictures[2], 0);
}

namespace {

class KindColumn : public TNxCustomColumn {
 public:
  explicit KindColumn(uint8_t kind) { SetColumnKind(kind); }
};

}  // namespace

TEST(CellStore, NewCellsFollowTheColumnKind) {
  struct Case {
    uint8_t kind;
    const std::type_info& add;
    const std::type_info& insertRow;
    const std::type_info& insertColumn;
    const std::type_info& child;
  };
  const Case cases[] = {
      {0, typeid(TIncrementCell), typeid(TIntegerCell), typeid(TIntegerCell), typeid(TIncrementCell)},
      {1, typeid(TBooleanCell), typeid(TBooleanCell), typeid(TBooleanCell), typeid(TBooleanCell)},
      {3, typeid(TDateTimeCell), typeid(TDateTimeCell), typeid(TDateTimeCell), typeid(TDateTimeCell)},
      {4, typeid(TFloatCell), typeid(TFloatCell), typeid(TFloatCell), typeid(TFloatCell)},
      {5, typeid(TStringCell), typeid(TStringCell), typeid(TStringCell), typeid(TStringCell)},
      {6, typeid(TGuidCell), typeid(TStringCell), typeid(TGuidCell), typeid(TStringCell)},
      {7, typeid(TIntegerCell), typeid(TIntegerCell), typeid(TIntegerCell), typeid(TIntegerCell)},
      {8, typeid(TStringCell), typeid(TStringCell), typeid(TStringCell), typeid(TStringCell)},
      {11, typeid(TVirtualCell), typeid(TVirtualCell), typeid(TVirtualCell), typeid(TVirtualCell)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.kind));
    FakeGrid g;
    auto* column = g.columns.Add(std::make_unique<KindColumn>(c.kind));
    column->Font()->SetStyle(fsBold);
    column->Font()->SetColor(clRed);
    column->SetColor(0x123456);
    g.cells.AddRows(1);           // row 0
    g.cells.InsertRow(1);         // row 1
    g.cells.InsertChildRow(0, 2); // row 2
    g.cells.ColumnsChanged(3, 0, -1);  // a second list at 0, for the same column
    EXPECT_EQ(typeid(*g.cells.GetCell(1, 0)), c.add);
    EXPECT_EQ(typeid(*g.cells.GetCell(1, 1)), c.insertRow);
    EXPECT_EQ(typeid(*g.cells.GetCell(1, 2)), c.child);
    EXPECT_EQ(typeid(*g.cells.GetCell(0, 0)), c.insertColumn);
    for (int r = 0; r < 3; ++r) {
      TCell* cell = g.cells.GetCell(1, r);
      EXPECT_EQ(cell->FontStyle(), fsBold);
      EXPECT_EQ(cell->TextColor(), clRed) << "row " << r;
      EXPECT_EQ(cell->Color(), 0x123456);
      EXPECT_FALSE(cell->Creating());
    }
  }
}

TEST(CellStore, IncrementCellsShowTheirRowWhileInsertedRowsHoldZero) {
  FakeGrid g;
  g.columns.Add(std::make_unique<KindColumn>(0));
  g.cells.AddRows(2);
  g.cells.InsertRow(1);
  EXPECT_EQ(g.cells.GetCell(0, 0)->GetAsString(), L"1");
  EXPECT_EQ(g.cells.GetCell(0, 1)->GetAsString(), L"0");
  EXPECT_EQ(g.cells.GetCell(0, 2)->GetAsString(), L"3");
}

TEST(CellStore, ChangesReportTheLastLookedUpCell) {
  FakeGrid g;
  g.Add<TNxTextColumn>("a");
  g.Add<TNxTextColumn>("b");
  g.cells.AddRows(3);
  std::vector<std::pair<int, int>> changes;
  g.cells.OnCellChange = [&](TCells*, int c, int r) { changes.emplace_back(c, r); };
  g.cells.GetCell(1, 2)->SetAsString(L"x");
  TCell* cell = g.cells.GetCell(0, 1);
  cell->SetColor(clRed);
  cell->Clear();
  EXPECT_EQ(changes, (std::vector<std::pair<int, int>>{{1, 2}, {0, 1}, {0, 1}}));
  EXPECT_EQ(cell->GetColor(), clWhite);  // the grid's answer for the current cell
}

TEST(CellStore, ShownRowCountFollowsVisibleRowsAndNeverDrifts) {
  FakeGrid g;
  g.Add<TNxTextColumn>("a");
  g.cells.AddRows(4);
  auto shown = [&] {
    int n = 0;
    for (int r = 0; r < g.cells.RowCount(); ++r) n += g.cells.GetRow(r)->Shown();
    return n;
  };
  const std::function<void()> steps[] = {
      [&] { g.cells.SetRowVisible(1, false); },
      [&] { g.cells.SetRowVisible(1, false); },  // no change, no count
      [&] { g.cells.SetBranchVisible(1, false); },  // hidden twice over
      [&] { g.cells.SetRowVisible(1, true); },      // still hidden by its branch
      [&] { g.cells.SetRowVisible(2, false); },
      [&] { g.cells.GetRow(0)->Expanded = false; },
      [&] { g.cells.InsertChildRow(0, 1); },        // under a collapsed parent
      [&] { g.cells.SetRowVisible(1, false); },     // the hidden child, hidden again
      [&] { g.cells.DeleteRow(1); },                // a row that was not shown
      [&] { g.cells.DeleteRow(1); },                // hidden by branch only
      [&] { g.cells.InsertRow(0); },
      [&] { g.cells.DeleteRow(1); },
      [&] { g.cells.SetBranchVisible(0, false); },
      [&] { g.cells.ClearRows(); },
      [&] { g.cells.AddRows(2); },
  };
  int step = 0;
  for (auto& act : steps) {
    act();
    EXPECT_EQ(g.cells.ShownRowCount(), shown()) << "after step " << step;
    EXPECT_GE(g.cells.ShownRowCount(), 0);
    ++step;
  }
}

TEST(CellStore, RowOperationsThatUnsortClearTheSortState) {
  struct Case {
    const char* name;
    std::function<void(TCells&)> act;
    bool stillSorted;
  };
  const Case cases[] = {
      {"add none", [](TCells& c) { c.AddRows(0); }, false},
      {"insert", [](TCells& c) { c.InsertRow(1); }, false},
      {"child", [](TCells& c) { c.InsertChildRow(0, 1); }, false},
      {"move", [](TCells& c) { c.MoveRow(0, 2); }, false},
      {"exchange", [](TCells& c) { c.ExchangeRows(0, 2); }, false},
      {"cell change", [](TCells& c) { c.GetCell(0, 0)->SetAsString(L"z"); }, false},
      {"move column", [](TCells& c) { c.ColumnsChanged(4, 0, 1); }, false},
      {"delete", [](TCells& c) { c.DeleteRow(1); }, true},
      {"hide", [](TCells& c) { c.SetRowVisible(1, false); }, true},
      {"unknown column notice", [](TCells& c) { c.ColumnsChanged(7, 0, 0); }, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeGrid g;
    g.Add<TNxTextColumn>("a");
    g.Add<TNxTextColumn>("b");
    g.cells.AddRows(3);
    g.cells.Sort(0, stAlphabetic, false, false);
    ASSERT_TRUE(g.cells.SortValid());
    c.act(g.cells);
    EXPECT_EQ(g.cells.SortValid(), c.stillSorted);
  }
}

TEST(CellStore, ChildRowsKnowTheirParentUntilEitherGoes) {
  FakeGrid g;
  g.Add<TNxTextColumn>("a");
  g.cells.AddRows(2);
  g.cells.InsertChildRow(0, 1);
  g.cells.InsertChildRow(0, 2);
  TRow* parent = g.cells.GetRow(0);
  EXPECT_EQ(parent->ChildCount, 2);
  EXPECT_EQ(g.cells.GetRow(1)->ParentRow, parent);
  EXPECT_EQ(g.cells.GetRow(2)->Level, 1);
  EXPECT_EQ(g.cells.CountDescendants(0), 2);
  EXPECT_EQ(g.cells.CountChildren(0), 2);
  g.cells.DeleteRow(1);
  EXPECT_EQ(parent->ChildCount, 1);
  g.cells.DeleteRow(0);
  EXPECT_EQ(g.cells.GetRow(0)->ParentRow, nullptr);
}
