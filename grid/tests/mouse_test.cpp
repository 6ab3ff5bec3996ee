// The grid under real mouse messages: a press selects the cell under it after OnMouseDown, a
// disabled column refuses silently, a header click sorts and flips, a failing handler ends in
// the application's handler and the next click works; the grid's hints.
#include <gtest/gtest.h>

#include "framework/exceptions.h"
#include "grid/tests/control_fixture.h"
#include "tests/support/window.h"

using namespace gridtest;
using efir::test::At;

namespace {

// Three 60-pixel text columns over 16-pixel rows "r0", "r1", ... (no header): the cell
// (c, r) spans x 60c..60c+60 and y 16r..16r+16.
class Mouse : public GridTest {
 protected:
  TDataGrid* ListGrid(int rows = 20) {
    TDataGrid* grid = WindowGrid(200, 160);
    for (int i = 0; i < 3; ++i) AddTextColumn(grid, L"c" + std::to_wstring(i), 60);
    AddNamedRows(grid, rows);
    log.Attach(grid);
    grid->OnMouseDown = [this](TObject*, TMouseButton button, TShiftState, int x, int y) {
      log.lines.push_back((button == mbLeft ? "down " : "rdown ") + std::to_string(x) + "," +
                          std::to_string(y));
    };
    grid->OnMouseUp = [this](TObject*, TMouseButton, TShiftState, int, int) {
      log.lines.push_back("up");
    };
    grid->OnCellClick = [this](TObject*, int c, int r) {
      log.lines.push_back("click " + std::to_string(c) + "," + std::to_string(r));
    };
    grid->OnHeaderClick = [this](TObject*, int c) {
      log.lines.push_back("header " + std::to_string(c));
    };
    return grid;
  }

  static void Click(TDataGrid* grid, int x, int y, bool right = false) {
    HWND window = grid->Handle();
    SendMessageW(window, WM_MOUSEMOVE, 0, At(x, y));
    SendMessageW(window, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN,
                 right ? MK_RBUTTON : MK_LBUTTON, At(x, y));
    SendMessageW(window, right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, At(x, y));
  }

  static void Move(TDataGrid* grid, int x, int y) {
    SendMessageW(grid->Handle(), WM_MOUSEMOVE, 0, At(x, y));
  }

  // The grid's hint window on the screen and its text ("" when none shows).
  static std::wstring ShownHint() {
    HWND hint = FindWindowW(kGridHintClass, nullptr);
    if (!hint || !IsWindowVisible(hint)) return {};
    std::wstring text(256, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hint, text.data(), 256)));
    return text;
  }

  static POINT HintCorner() {
    RECT r{};
    GetWindowRect(FindWindowW(kGridHintClass, nullptr), &r);
    return {r.left, r.top};
  }

  static void Activate(TDataGrid* grid) {
    SetActiveWindow(grid->GetParentForm()->Handle());
    ASSERT_TRUE(grid->GetParentForm()->Active());
  }

  EventLog log;
};

}  // namespace

TEST_F(Mouse, APressSelectsTheCellUnderItAfterOnMouseDown) {
  TDataGrid* grid = ListGrid();
  struct Case {
    int x, y;
    bool right;
    Lines events;
  };
  const Case cases[] = {
      {70, 40, false, {"down 70,40", "before 1,2", "select 1,2", "up", "click 1,2"}},
      {130, 5, true, {"rdown 130,5", "before 2,0", "deselect 1,2", "select 2,0", "up"}},
      // A shared edge belongs to the left column; a row's bottom line to that row.
      {60, 16, false, {"down 60,16", "before 0,1", "deselect 2,0", "select 0,1", "up", "click 0,1"}},
      {10, 2, false, {"down 10,2", "before 0,0", "deselect 0,1", "select 0,0", "up", "click 0,0"}},
      // Right of the last column: outside every zone.
      {190, 40, false, {"down 190,40", "up"}},
  };
  for (const Case& c : cases) {
    Click(grid, c.x, c.y, c.right);
    EXPECT_EQ(log.Take(), c.events) << c.x << "," << c.y;
  }
  EXPECT_EQ(grid->GetSelectedCell().x, 0);
  EXPECT_EQ(grid->GetSelectedCell().y, 0);
  EXPECT_TRUE(grid->Focused());

  // Posted, as the system delivers them.
  HWND window = grid->Handle();
  PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(100, 120));
  PostMessageW(window, WM_LBUTTONUP, 0, At(100, 120));
  EXPECT_TRUE(efir::test::pumpUntil([&] { return grid->SelectedRow() == 7; }, 2000));
  efir::test::pumpFor(20);
  EXPECT_EQ(log.Take(), (Lines{"down 100,120", "before 1,7", "deselect 0,0", "select 1,7", "up",
                               "click 1,7"}));

  Lines doubles;
  grid->OnCellDblClick = [&](TObject*, int c, int r) {
    doubles.push_back(std::to_string(c) + "," + std::to_string(r));
  };
  SendMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, At(130, 20));
  SendMessageW(window, WM_LBUTTONUP, 0, At(130, 20));
  EXPECT_EQ(doubles, (Lines{"2,1"}));
}

TEST_F(Mouse, APressBelowTheRowsOrOnADisabledColumnSelectsNothing) {
  TDataGrid* grid = ListGrid(3);
  grid->SelectCell(0, 1);
  log.Take();
  grid->Columns()->Item(1)->SetEnabled(false);  // the player's tiles while it connects
  Click(grid, 70, 40);
  EXPECT_EQ(log.Take(), (Lines{"down 70,40", "before 1,2", "up", "click 1,2"}));
  Click(grid, 10, 100);  // below the last row
  EXPECT_EQ(log.Take(), (Lines{"down 10,100", "up"}));
  EXPECT_EQ(grid->SelectedColumn(), 0);
  EXPECT_EQ(grid->SelectedRow(), 1);
  EXPECT_TRUE(shown.empty());
}

TEST_F(Mouse, APressScrollsAPartlyShownRowIntoView) {
  TDataGrid* grid = ListGrid(30);
  Click(grid, 10, 155);  // row 9 ends at 160; it fits
  EXPECT_EQ(grid->TopRow(), 0);
  grid->SetBounds(0, 0, 200, 150);
  Click(grid, 10, 148);  // row 9 is cut at 150
  EXPECT_EQ(grid->SelectedRow(), 9);
  EXPECT_EQ(grid->LastRowInView(), 9);
  EXPECT_EQ(grid->TopRow(), 1);
}

TEST_F(Mouse, AHeaderClickSortsAndEachNextClickFlips) {
  TDataGrid* grid = ListGrid(0);
  grid->SetOptions(goHeader | goSelectFullRow);
  const wchar_t* names[] = {L"Рок", L"Джаз", L"Блюз"};
  for (const wchar_t* name : names) grid->SetCellText(1, grid->AddRow(), name);
  log.Take();
  auto column1 = [&] {
    std::string text;
    for (int r = 0; r < 3; ++r) text += efir::text::toAnsi(grid->GetCellText(1, r)) + " ";
    return text;
  };

  Click(grid, 90, 5);
  EXPECT_EQ(log.Take(), (Lines{"down 90,5", "up", "header 1", "sort 1 asc", "aftersort 1"}));
  EXPECT_EQ(column1(), "Блюз Джаз Рок ");
  EXPECT_TRUE(grid->Columns()->Item(1)->Sorted());
  Click(grid, 90, 5);
  EXPECT_EQ(log.Take(), (Lines{"down 90,5", "up", "header 1", "sort 1 desc", "aftersort 1"}));
  EXPECT_EQ(column1(), "Рок Джаз Блюз ");
  Click(grid, 90, 5);
  EXPECT_EQ(log.Take(), (Lines{"down 90,5", "up", "header 1", "sort 1 asc", "aftersort 1"}));

  // Released over another header: the pressed one is clicked, nothing sorts.
  HWND window = grid->Handle();
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(150, 5));
  SendMessageW(window, WM_LBUTTONUP, 0, At(90, 5));
  EXPECT_EQ(log.Take(), (Lines{"down 150,5", "up", "header 2"}));

  // A column that cannot sort is still clicked; one that cannot be clicked is neither.
  TNxCustomColumn* first = grid->Columns()->Item(0);
  first->SetOptions(first->Options() & ~coCanSort);
  Click(grid, 30, 5);
  EXPECT_EQ(log.Take(), (Lines{"down 30,5", "up", "header 0"}));
  first->SetOptions(first->Options() & ~coCanClick);
  Click(grid, 30, 5);
  EXPECT_EQ(log.Take(), (Lines{"down 30,5", "up"}));
  EXPECT_FALSE(first->Sorted());
}

TEST_F(Mouse, AFailingSelectHandlerReachesTheApplicationAndTheNextClickWorks) {
  TDataGrid* grid = ListGrid();
  grid->OnSelectCell = [](TObject*, int, int) { throw EInOutError("Файл не найден"); };
  Click(grid, 70, 40);
  ASSERT_EQ(shown, (std::vector<std::string>{"Файл не найден"}));
  EXPECT_EQ(grid->SelectedRow(), 2);  // the grid's own state is complete
  EXPECT_EQ(GetCapture(), nullptr);

  Lines selected;
  grid->OnSelectCell = [&](TObject*, int c, int r) {
    selected.push_back(std::to_string(c) + "," + std::to_string(r));
  };
  Click(grid, 130, 56);
  EXPECT_EQ(selected, (Lines{"2,3"}));
  EXPECT_EQ(shown.size(), 1u);
}

TEST_F(Mouse, CellHintsShowTheHandlersTextAndGoAgain) {
  TDataGrid* grid = ListGrid();
  Activate(grid);
  grid->OnCellHint = [](TObject*, int c, int r, std::wstring& value) {
    if (c == 1) value = L"Радио Дача №" + std::to_wstring(r);
  };
  Move(grid, 70, 40);
  EXPECT_EQ(ShownHint(), L"Радио Дача №2");
  EXPECT_EQ(grid->HintKind(), hkCell);
  POINT corner = grid->ClientToScreen({120, 32 - 20});  // above the cell's right edge
  EXPECT_EQ(HintCorner().x, corner.x);
  EXPECT_EQ(HintCorner().y, corner.y);
  Move(grid, 75, 42);  // the same cell: the same hint
  EXPECT_EQ(ShownHint(), L"Радио Дача №2");
  Move(grid, 75, 58);
  EXPECT_EQ(ShownHint(), L"Радио Дача №3");
  Move(grid, 10, 58);  // no hint for that cell
  EXPECT_EQ(ShownHint(), L"");

  Move(grid, 70, 40);
  SendMessageW(grid->Handle(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(ShownHint(), L"");
  EXPECT_EQ(grid->HintKind(), hkNone);

  // Header hints below the header, under the column's left edge.
  grid->SetOptions(goHeader);
  grid->Columns()->Item(2)->Header()->SetHint(L"Слушать");
  Move(grid, 150, 5);
  EXPECT_EQ(ShownHint(), L"Слушать");
  corner = grid->ClientToScreen({120, grid->HeaderSize() + 2});
  EXPECT_EQ(HintCorner().x, corner.x);
  EXPECT_EQ(HintCorner().y, corner.y);
  Move(grid, 30, 5);
  EXPECT_EQ(ShownHint(), L"");
}

TEST_F(Mouse, ShowHintAtShowsOnlyWhileTheFormIsActive) {
  TDataGrid* grid = ListGrid();
  Activate(grid);
  grid->ShowHintAt(0, 0, L"Эфир - Добавлено в избранное");
  EXPECT_EQ(ShownHint(), L"Эфир - Добавлено в избранное");
  POINT corner = grid->ClientToScreen({0, 0});
  EXPECT_EQ(HintCorner().x, corner.x);
  EXPECT_EQ(HintCorner().y, corner.y);
  SendMessageW(grid->Handle(), WM_KILLFOCUS, 0, 0);
  EXPECT_EQ(ShownHint(), L"");

  TForm* other = NewForm(50, 50);
  SetActiveWindow(other->Handle());
  ASSERT_FALSE(grid->GetParentForm()->Active());
  grid->ShowHintAt(0, 0, L"Эфир - Уже в избранном");
  EXPECT_EQ(ShownHint(), L"");
}

namespace {

// A text column measured by the base painter, whatever painter text columns get.
class MeasuredColumn : public TNxTextColumn {
  struct Display : TColumnDisplay {
    using TColumnDisplay::TColumnDisplay;
    void PaintContent() override {}
  };
  std::unique_ptr<TColumnDisplay> CreateDisplay() override {
    return std::make_unique<Display>(this);
  }
};

}  // namespace

TEST_F(Mouse, ATextFitHintShowsTheWholeTextOverACutCell) {
  TDataGrid* grid = WindowGrid(200, 160);
  auto* column = grid->Columns()->Add(std::make_unique<MeasuredColumn>());
  column->SetOptions(column->Options() | coShowTextFitHint);
  AddTextColumn(grid, {}, 60);
  AddNamedRows(grid, 3);
  Activate(grid);
  grid->SetCellText(0, 1, L"Радио Дача");
  const int needed = grid->MeasureCellWidth(0, 1) + 5;
  grid->OnCellHint = [](TObject*, int c, int, std::wstring& value) {
    if (c == 1) value = L"подсказка";
  };

  column->SetWidth(needed - 1);  // 4 pixels to spare: cut
  Move(grid, 5, 20);
  EXPECT_EQ(ShownHint(), L"Радио Дача");
  EXPECT_EQ(grid->HintKind(), hkTextFit);
  POINT corner = grid->ClientToScreen({0, 16});
  EXPECT_EQ(HintCorner().x, corner.x);
  EXPECT_EQ(HintCorner().y, corner.y);

  // Onto a column without text-fit hints: the hint goes and no cell hint follows until the
  // kind of hint changes.
  Move(grid, needed + 10, 20);
  EXPECT_EQ(ShownHint(), L"");
  SendMessageW(grid->Handle(), WM_MOUSELEAVE, 0, 0);
  Move(grid, needed + 10, 36);
  EXPECT_EQ(ShownHint(), L"подсказка");

  column->SetWidth(needed);  // 5 pixels to spare: fits
  Move(grid, 5, 20);
  EXPECT_EQ(ShownHint(), L"");
}

// The program-wide hint switch silences the grid's own hints, but not the text-fit hint.
TEST_F(Mouse, TheApplicationsHintSwitchSilencesCellHintsAndShowHintAt) {
  TDataGrid* grid = ListGrid();
  Activate(grid);
  grid->OnCellHint = [](TObject*, int, int, std::wstring& value) { value = L"Подсказка"; };
  Application.SetShowHint(false);
  grid->ShowHintAt(0, 0, L"Эфир - Добавлено в избранное");
  EXPECT_EQ(ShownHint(), L"");
  Move(grid, 70, 40);
  EXPECT_EQ(ShownHint(), L"");
  Application.SetShowHint(true);
  Move(grid, 75, 58);
  EXPECT_EQ(ShownHint(), L"Подсказка");
}

// Each column's right edge (60, 120, 180 here) has a grip from 3 pixels left of it to 2
// right; a fixed-size or hidden column has none.
TEST_F(Mouse, AResizeGripReachesFromThreeLeftToTwoRightOfTheEdge) {
  TDataGrid* grid = ListGrid();
  grid->SetOptions(goHeader);
  struct Case {
    int x;
    int column;
  } cases[] = {{56, -1}, {57, 0}, {60, 0}, {62, 0}, {63, -1}, {117, 1}, {122, 1}};
  for (const Case& c : cases) {
    EXPECT_EQ(grid->ResizeGripColumn(c.x), c.column) << c.x;
    HWND window = grid->Handle();
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(c.x, 5));
    EXPECT_EQ(grid->Drag() == gdColumnResize, c.column >= 0) << c.x;
    SendMessageW(window, WM_LBUTTONUP, 0, At(c.x, 5));
  }
  TNxCustomColumn* first = grid->Columns()->Item(0);
  first->SetOptions(first->Options() | coFixedSize);
  EXPECT_EQ(grid->ResizeGripColumn(60), -1);
  grid->Columns()->Item(1)->SetVisible(false);  // the third column now ends at 120
  EXPECT_EQ(grid->ResizeGripColumn(120), 2);
  EXPECT_EQ(grid->ResizeGripColumn(180), -1);
}

TEST_F(Mouse, TheFooterIsClickedAndHintedByColumn) {
  TDataGrid* grid = ListGrid(3);
  Activate(grid);
  grid->SetOptions(goFooter);
  grid->OnFooterClick = [this](TObject*, int c) { log.lines.push_back("footer " + std::to_string(c)); };
  grid->Columns()->Item(1)->Footer()->SetHint(L"Итого станций");
  const int footerY = grid->ClientHeight() - 5;
  log.Take();
  Click(grid, 70, footerY);
  EXPECT_EQ(log.Take(), (Lines{"down 70," + std::to_string(footerY), "up", "footer 1"}));
  Click(grid, 190, footerY);  // right of the last column: no column, no event
  EXPECT_EQ(log.Take(), (Lines{"down 190," + std::to_string(footerY), "up"}));
  Move(grid, 70, footerY);
  EXPECT_EQ(ShownHint(), L"Итого станций");
  EXPECT_EQ(grid->HintKind(), hkFooter);
  POINT corner = grid->ClientToScreen({60, grid->ClientHeight() + 2});
  EXPECT_EQ(HintCorner().x, corner.x);
  EXPECT_EQ(HintCorner().y, corner.y);
  Move(grid, 10, footerY);  // a footer without a hint
  EXPECT_EQ(ShownHint(), L"");
}

TEST_F(Mouse, AHeaderDoubleClickNamesTheColumnUnderIt) {
  TDataGrid* grid = ListGrid();
  grid->SetOptions(goHeader);
  Lines clicks;
  grid->OnHeaderDblClick = [&](TObject*, int c) { clicks.push_back("dbl " + std::to_string(c)); };
  HWND window = grid->Handle();
  for (int x : {90, 190}) {
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, At(x, 5));
    SendMessageW(window, WM_LBUTTONUP, 0, At(x, 5));
    SendMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, At(x, 5));
    SendMessageW(window, WM_LBUTTONUP, 0, At(x, 5));
  }
  EXPECT_EQ(clicks, (Lines{"dbl 1"}));
}
