// A column's click element under real mouse presses: it gets the press with the point inside
// the cell and the cell's text, its value report runs OnEditAccept and OnAfterEdit, and it stays
// out of a read-only grid, a column that cannot edit and a cell OnBeforeEdit refuses; an element
// that draws itself shows on the screen in its cell, in the column's font.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "framework/canvas.h"
#include "framework/gdi.h"
#include "grid/column_play.h"
#include "grid/tests/control_fixture.h"
#include "tests/support/capture.h"
#include "tests/support/window.h"

using namespace gridtest;
using efir::test::At;

namespace {

struct PressLog {
  std::vector<std::string> lines;
};

// Reports each press and then its value as changed.
class TReportingPlay : public TColumnPlay {
 public:
  explicit TReportingPlay(PressLog* Log) : log_(Log) {}
  void MouseDown(TMouseButton, TShiftState, POINT P) override {
    log_->lines.push_back("press " + std::to_string(Col) + "," + std::to_string(Row) + " at " +
                          std::to_string(P.x) + "," + std::to_string(P.y) + " text " +
                          std::string(AsString.begin(), AsString.end()));
    ValueChanged();
  }
  void MouseUp(TMouseButton, TShiftState, POINT P) override {
    log_->lines.push_back("release at " + std::to_string(P.x) + "," + std::to_string(P.y));
  }
  void MouseMove(TShiftState, POINT P) override {
    log_->lines.push_back("move " + std::to_string(Row) + " at " + std::to_string(P.x) + "," +
                          std::to_string(P.y));
  }
  void MouseLeave() override { log_->lines.push_back("leave"); }
  void KeyPress(char& Key) override { log_->lines.push_back(std::string("key ") + Key); }

 private:
  PressLog* log_;
};

class TPlayColumn : public TNxTextColumn {
 public:
  explicit TPlayColumn(PressLog* Log) : log_(Log) {}
  // Takes plays without coEditing, so no in-place editor opens over the cell.
  uint8_t GetCapabilities() const override { return playable ? ccPlayWithoutEditing : 0; }
  bool playable = true;
  std::unique_ptr<TColumnPlay> CreatePlay() override {
    return std::make_unique<TReportingPlay>(log_);
  }

 private:
  PressLog* log_;
};

class CellPlay : public GridTest {
 protected:
  // Two 60-pixel columns, the second with the click element, over 16-pixel rows "r0", ...
  TDataGrid* PlayGrid() {
    TDataGrid* grid = WindowGrid(200, 160);
    AddTextColumn(grid, L"c0", 60);
    auto* column = grid->Columns()->Add(std::make_unique<TPlayColumn>(&log));
    column->SetWidth(60);
    AddNamedRows(grid, 5);
    for (int r = 0; r < 5; ++r) grid->GetCell(1, r)->SetAsString(L"v" + std::to_wstring(r));
    grid->OnEditAccept = [this](TObject*, int c, int r, const std::wstring& v, bool&) {
      log.lines.push_back("accept " + std::to_string(c) + "," + std::to_string(r) + " " +
                          std::string(v.begin(), v.end()));
    };
    grid->OnAfterEdit = [this](TObject*, int c, int r, const std::wstring& v) {
      log.lines.push_back("after " + std::to_string(c) + "," + std::to_string(r) + " " +
                          std::string(v.begin(), v.end()));
    };
    return grid;
  }

  static void Press(TDataGrid* grid, int x, int y) {
    SendMessageW(grid->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
    SendMessageW(grid->Handle(), WM_LBUTTONUP, 0, At(x, y));
  }

  PressLog log;
};

TEST_F(CellPlay, PressReachesElementWithCellPointAndValueReportStoresThroughEditEvents) {
  TDataGrid* grid = PlayGrid();
  RECT cell{};
  grid->GetCellRect(1, 2, cell);
  Press(grid, cell.left + 7, cell.top + 5);
  EXPECT_EQ(log.lines, (std::vector<std::string>{"press 1,2 at 7,5 text v2", "accept 1,2 v2",
                                                 "after 1,2 v2", "release at 7,5"}));
  log.lines.clear();
  SendMessageW(grid->Handle(), WM_CHAR, 'x', 0);
  EXPECT_EQ(log.lines, (std::vector<std::string>{"key x"})) << "the selected cell takes keys";
  log.lines.clear();
  grid->GetCellRect(0, 2, cell);
  Press(grid, cell.left + 7, cell.top + 5);
  EXPECT_TRUE(log.lines.empty()) << "a column without an element takes no play";
}

TEST_F(CellPlay, MoveIsReportedInsideTheCellAndLeavingIsTold) {
  TDataGrid* grid = PlayGrid();
  RECT cell{};
  grid->GetCellRect(1, 3, cell);
  SendMessageW(grid->Handle(), WM_MOUSEMOVE, 0, At(cell.left + 4, cell.top + 6));
  grid->GetCellRect(0, 3, cell);
  SendMessageW(grid->Handle(), WM_MOUSEMOVE, 0, At(cell.left + 4, cell.top + 6));
  EXPECT_EQ(log.lines, (std::vector<std::string>{"move 3 at 4,6", "leave"}));
  log.lines.clear();
  grid->SetReadOnly(true);
  grid->GetCellRect(1, 3, cell);
  SendMessageW(grid->Handle(), WM_MOUSEMOVE, 0, At(cell.left + 4, cell.top + 6));
  EXPECT_TRUE(log.lines.empty()) << "a read-only grid keeps moves from the element";
}

TEST_F(CellPlay, ElementStaysOutWhereEditingIsBarred) {
  struct Case {
    const char* name;
    void (*bar)(TDataGrid*);
  };
  const Case cases[] = {
      {"read-only grid", [](TDataGrid* g) { g->SetReadOnly(true); }},
      {"column without editing",
       [](TDataGrid* g) {
         static_cast<TPlayColumn*>(g->Columns()->Item(1))->playable = false;
       }},
      {"OnBeforeEdit refuses",
       [](TDataGrid* g) {
         g->OnBeforeEdit = [](TObject*, int, int, bool& accept) { accept = false; };
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    log.lines.clear();
    TDataGrid* grid = PlayGrid();
    c.bar(grid);
    RECT cell{};
    grid->GetCellRect(1, 1, cell);
    Press(grid, cell.left + 3, cell.top + 3);
    EXPECT_TRUE(log.lines.empty());
  }
}

// Shows a wide word in its cell as soon as the mouse is over it.
class TShowingPlay : public TColumnPlay {
 public:
  void MouseMove(TShiftState, POINT) override {
    AsString = L"WWWW";
    Paint();
  }
};

class TShowingColumn : public TNxTextColumn {
 public:
  std::unique_ptr<TColumnPlay> CreatePlay() override { return std::make_unique<TShowingPlay>(); }
};

// Left and right end of the red ink that the display shows in the rectangle (client points).
std::pair<int, int> RedInk(TDataGrid* grid, RECT area) {
  MapWindowPoints(grid->Handle(), nullptr, reinterpret_cast<POINT*>(&area), 2);
  const efir::test::Image shown = efir::test::captureScreen(area);
  int left = shown.width, right = -1;
  for (int y = 0; y < shown.height; ++y)
    for (int x = 0; x < shown.width; ++x) {
      const COLORREF c = shown.at(x, y);
      if (GetRValue(c) > 160 && GetGValue(c) < 100 && GetBValue(c) < 100) {
        left = std::min(left, x);
        right = std::max(right, x);
      }
    }
  return {left, right};
}

TEST_F(CellPlay, ElementDrawsItsValueIntoTheCellInTheColumnsFont) {
  TDataGrid* grid = WindowGrid(260, 120);
  grid->SetRowSize(28);
  auto* column = grid->Columns()->Add(std::make_unique<TShowingColumn>());
  column->SetWidth(220);
  column->Font()->SetName("Arial");
  column->Font()->SetHeight(-20);
  column->Font()->SetStyle(fsBold);
  column->Font()->SetColor(clRed);
  AddNamedRows(grid, 3);
  grid->SetCellText(0, 1, L"i");
  RECT cell{};
  grid->GetCellRect(0, 1, cell);
  ASSERT_TRUE(efir::test::pumpUntil(
      [&] { return efir::test::shareNotOnScreen(grid->Handle()) < 0.01; }, 3000));
  const auto [iLeft, iRight] = RedInk(grid, cell);
  ASSERT_GE(iRight, iLeft) << "the grid shows the cell's own text in the column's colour";
  ASSERT_LT(iRight - iLeft, 8);

  SendMessageW(grid->Handle(), WM_MOUSEMOVE, 0, At(cell.left + 30, cell.top + 5));
  efir::gdi::WindowDC screen;
  TCanvas measure(screen.get());
  measure.Font().Assign(*column->Font());
  const int wide = measure.TextWidth(L"WWWW");
  TCanvas plain(screen.get());
  plain.Font().Assign(grid->Font());
  ASSERT_GT(wide - plain.TextWidth(L"WWWW"), 10) << "the two fonts tell apart";
  int inkWidth = 0;
  efir::test::pumpUntil(
      [&] {
        const auto [left, right] = RedInk(grid, cell);
        inkWidth = right - left + 1;
        return inkWidth > wide / 2;
      },
      3000);
  EXPECT_NEAR(inkWidth, wide, 4);
  EXPECT_NEAR(RedInk(grid, cell).first, iLeft, 3) << "from the cell's own text place";
}

}  // namespace
