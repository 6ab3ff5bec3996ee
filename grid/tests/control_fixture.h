// What the grid control tests share: data grids on a borderless test form (or without a
// window, for rules that need none), text columns filled with named rows, and an event log
// that records the grid's events in the order they are raised.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <string>
#include <vector>

#include "framework/tests/ui_fixture.h"
#include "framework/text_encoding.h"
#include "grid/column_kinds.h"
#include "grid/column_parts.h"
#include "grid/data_grid.h"

namespace gridtest {

using Lines = std::vector<std::string>;

// Records the events the player's and the editor's handlers rely on as short lines:
// "before 0,3", "select 0,3", "deselect 0,2", "data 2 5", "change 0,1", "sort 1 asc",
// "aftersort 1", "vscroll 4".
struct EventLog {
  Lines lines;

  void Attach(TDataGrid* grid) {
    auto cell = [](int c, int r) { return std::to_string(c) + "," + std::to_string(r); };
    grid->OnBeforeSelect = [=, this](TObject*, int c, int r, bool&) {
      lines.push_back("before " + cell(c, r));
    };
    grid->OnSelectCell = [=, this](TObject*, int c, int r) {
      lines.push_back("select " + cell(c, r));
    };
    grid->OnDeselectCell = [=, this](TObject*, int c, int r) {
      lines.push_back("deselect " + cell(c, r));
    };
    grid->OnChange = [=, this](TObject*, int c, int r) { lines.push_back("change " + cell(c, r)); };
    grid->OnDataChange = [this](TObject*, TDataChange kind, int index) {
      lines.push_back("data " + std::to_string(kind) + " " + std::to_string(index));
    };
    grid->OnSortColumn = [this](TObject*, int c, bool ascending) {
      lines.push_back("sort " + std::to_string(c) + (ascending ? " asc" : " desc"));
    };
    grid->OnAfterSort = [this](TObject*, int c) {
      lines.push_back("aftersort " + std::to_string(c));
    };
    grid->OnVerticalScroll = [this](TObject*, int p) {
      lines.push_back("vscroll " + std::to_string(p));
    };
  }
  Lines Take() { return std::exchange(lines, {}); }
};

class GridTest : public efir::test::UiTest {
 protected:
  void TearDown() override {
    for (TDataGrid* grid : loose_) grid->Free();
    efir::test::UiTest::TearDown();
  }

  // A grid without a window: geometry from its bounds, no painting, no messages.
  TDataGrid* LooseGrid(int width = 250, int height = 150) {
    auto* grid = new TDataGrid(nullptr);
    grid->SetBounds(0, 0, width, height);
    loose_.push_back(grid);
    return grid;
  }

  // A borderless grid without header filling a shown form: the body is the client area.
  TDataGrid* WindowGrid(int width = 200, int height = 160) {
    TForm* form = NewForm(width, height);
    auto* grid = new TDataGrid(form);
    grid->SetBorderStyle(bsNone);
    grid->SetOptions(0);
    grid->SetParent(form);
    grid->SetBounds(0, 0, width, height);
    grid->HandleNeeded();
    return grid;
  }

  static TNxTextColumn* AddTextColumn(TDataGrid* grid, const std::wstring& caption = {},
                                      int width = 80) {
    auto* column = grid->Columns()->Add(std::make_unique<TNxTextColumn>());
    column->Header()->SetCaption(caption);
    column->SetWidth(width);
    return column;
  }

  // Rows whose column 0 holds "r0", "r1", ...
  static void AddNamedRows(TDataGrid* grid, int count) {
    for (int i = 0; i < count; ++i) {
      int row = grid->AddRow();
      grid->SetCellText(0, row, L"r" + std::to_wstring(row));
    }
  }

  static int ScrollPos(TDataGrid* grid) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    GetScrollInfo(grid->Handle(), SB_VERT, &info);
    return info.nPos;
  }

 private:
  std::vector<TDataGrid*> loose_;
};

}  // namespace gridtest
