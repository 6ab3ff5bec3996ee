// The grid under real key, character and wheel messages: navigation keys move the selection
// and stop at the ends, type-ahead finds a row by its first letters (Cyrillic too), the wheel
// steps the rows or, with no rows to scroll, the columns.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "grid/tests/control_fixture.h"

using namespace gridtest;

namespace {

// Holds a key down in this thread's keyboard state, as the grid reads it with the key.
class HeldKey {
 public:
  explicit HeldKey(int key) {
    GetKeyboardState(saved_);
    BYTE held[256];
    std::copy(std::begin(saved_), std::end(saved_), held);
    held[key] = 0x80;
    SetKeyboardState(held);
  }
  ~HeldKey() { SetKeyboardState(saved_); }
  HeldKey(const HeldKey&) = delete;
  HeldKey& operator=(const HeldKey&) = delete;

 private:
  BYTE saved_[256];
};

class Keys : public GridTest {
 protected:
  static void Press(TDataGrid* grid, WORD key) {
    SendMessageW(grid->Handle(), WM_KEYDOWN, key, 0);
    SendMessageW(grid->Handle(), WM_KEYUP, key, 0);
  }
  static void Type(TDataGrid* grid, const std::wstring& text) {
    for (wchar_t c : text) SendMessageW(grid->Handle(), WM_CHAR, c, 0);
  }
  static void Wheel(TDataGrid* grid, int delta) {
    SendMessageW(grid->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, delta), MAKELPARAM(10, 10));
  }
};

}  // namespace

TEST_F(Keys, NavigationKeysMoveTheSelectionAndStopAtTheEnds) {
  TDataGrid* grid = WindowGrid(200, 160);  // ten 16-pixel rows in view
  for (int i = 0; i < 3; ++i) AddTextColumn(grid, {}, 60);
  AddNamedRows(grid, 30);
  grid->SelectCell(0, 0);
  struct Step {
    WORD key;
    int col, row, top;
  };
  const Step steps[] = {
      {VK_DOWN, 0, 1, 0},   {VK_UP, 0, 0, 0},     {VK_UP, 0, 0, 0},
      {VK_RIGHT, 1, 0, 0},  {VK_RIGHT, 2, 0, 0},  {VK_RIGHT, 2, 0, 0},
      {VK_LEFT, 1, 0, 0},
      {VK_NEXT, 1, 9, 0},   // to the last row in view
      {VK_NEXT, 1, 19, 10}, // a page on
      {VK_NEXT, 1, 29, 20},
      {VK_NEXT, 1, 29, 20}, // the last page is in view
      {VK_DOWN, 1, 29, 20},
      {VK_PRIOR, 1, 20, 20},  // to the first row in view
      {VK_PRIOR, 1, 10, 10},  // a page back
      {VK_HOME, 1, 0, 0},   {VK_END, 1, 29, 20},  {VK_HOME, 1, 0, 0},
      {VK_PRIOR, 1, 0, 0},  // at the top
  };
  for (const Step& s : steps) {
    Press(grid, s.key);
    EXPECT_EQ(grid->SelectedColumn(), s.col) << "key " << s.key;
    EXPECT_EQ(grid->SelectedRow(), s.row) << "key " << s.key;
    EXPECT_EQ(grid->TopRow(), s.top) << "key " << s.key;
  }

  // With whole rows selected, Left and Right scroll the columns instead.
  grid->SetOptions(goSelectFullRow);
  grid->Columns()->Item(2)->SetWidth(200);
  Press(grid, VK_RIGHT);
  EXPECT_EQ(grid->SelectedColumn(), 1);
  EXPECT_EQ(grid->HorzScrollBar().Position(), 5);

  grid->SetOptions(goSelectFullRow | goDisableKeys);
  Press(grid, VK_DOWN);
  Press(grid, VK_END);
  EXPECT_EQ(grid->SelectedRow(), 0);
}

TEST_F(Keys, ShiftAndCtrlExtendAMultiSelection) {
  TDataGrid* grid = WindowGrid(200, 160);
  AddTextColumn(grid);
  AddNamedRows(grid, 8);
  grid->SetOptions(goSelectFullRow | goMultiSelect);
  grid->SelectRow(5);
  {
    HeldKey shift(VK_SHIFT);
    Press(grid, VK_END);
  }
  EXPECT_EQ(grid->SelectedRow(), 7);
  EXPECT_EQ(grid->GetSelectedCount(), 3);  // rows 5 to 7
  Press(grid, VK_HOME);  // a plain Home starts again
  EXPECT_EQ(grid->SelectedRow(), 0);
  EXPECT_EQ(grid->GetSelectedCount(), 1);
  {
    HeldKey ctrl(VK_CONTROL);
    Press(grid, 'A');
  }
  EXPECT_EQ(grid->GetSelectedCount(), 8);
}

TEST_F(Keys, TypeAheadFindsTheNextRowByItsFirstLetters) {
  TDataGrid* grid = WindowGrid(200, 160);
  TNxTextColumn* names = AddTextColumn(grid, L"Радиостанция", 120);
  AddTextColumn(grid, L"#", 40);
  names->SetOptions(names->Options() | coSearchColumn);
  const wchar_t* rows[] = {L"Джаз", L"Радио Дача", L"Рок", L"радио Рекорд", L"Ретро", L"Блюз",
                           L"Jazz FM"};
  for (const wchar_t* name : rows) grid->SetCellText(0, grid->AddRow(), name);
  grid->SelectCell(1, 0);  // the search runs over the search column whatever is selected
  EventLog log;
  log.Attach(grid);

  Type(grid, L"р");
  EXPECT_EQ(grid->SelectedRow(), 1);
  Type(grid, L"А");  // the same prefix, any case, searched below the selected row first
  EXPECT_EQ(grid->SelectedRow(), 3);
  EXPECT_EQ(grid->SearchBuffer(), L"рА");
  EXPECT_EQ(log.Take(), (Lines{"before 1,1", "deselect 1,0", "select 1,1", "before 1,3",
                               "deselect 1,1", "select 1,3"}));

  grid->ClearSearchBuffer();  // what the timer does 700 ms after the last character
  Type(grid, L"ро");          // nothing below row 3 starts so: the search wraps
  EXPECT_EQ(grid->SelectedRow(), 2);
  grid->ClearSearchBuffer();
  grid->SetRowVisible(4, false);  // a hidden "Ретро" is passed over
  Type(grid, L"ре");
  EXPECT_EQ(grid->SelectedRow(), 3);
  grid->ClearSearchBuffer();
  Type(grid, L"j");
  EXPECT_EQ(grid->SelectedRow(), 6);
  grid->ClearSearchBuffer();
  Type(grid, L"ж");  // no name starts so: the selection stays
  EXPECT_EQ(grid->SelectedRow(), 6);

  EXPECT_TRUE(grid->TypeAhead(0, L"РАДИО", true));  // from the top
  EXPECT_EQ(grid->SelectedRow(), 1);

  grid->ClearSearchBuffer();
  grid->SetOptions(goDisableKeys);
  Type(grid, L"б");
  EXPECT_EQ(grid->SelectedRow(), 1);
  EXPECT_EQ(grid->SearchBuffer(), L"");
}

TEST_F(Keys, TheWheelScrollsTheColumnsOnlyWithoutRowsToScroll) {
  TDataGrid* grid = WindowGrid(200, 160);
  for (int i = 0; i < 3; ++i) AddTextColumn(grid, {}, 150);
  AddNamedRows(grid, 3);
  Wheel(grid, -WHEEL_DELTA);  // no rows to scroll: the columns move one small step
  Wheel(grid, -WHEEL_DELTA);
  EXPECT_EQ(grid->HorzScrollBar().Position(), 10);
  Wheel(grid, WHEEL_DELTA);
  EXPECT_EQ(grid->HorzScrollBar().Position(), 5);

  AddNamedRows(grid, 30);
  ASSERT_TRUE(grid->VertScrollBar().Visible());
  grid->ScrollToRow(32);
  const int bottom = grid->TopRow();
  Wheel(grid, -WHEEL_DELTA);  // at the bottom with a vertical bar: nothing moves
  EXPECT_EQ(grid->TopRow(), bottom);
  EXPECT_EQ(grid->HorzScrollBar().Position(), 5);
  Wheel(grid, WHEEL_DELTA);
  EXPECT_EQ(grid->TopRow(), bottom - 1);
}

TEST_F(Keys, TheGridAsksForArrowsAndCharactersAndForTabOnlyWithSomewhereToGo) {
  TDataGrid* grid = WindowGrid();
  AddTextColumn(grid);
  auto code = [&] { return SendMessageW(grid->Handle(), WM_GETDLGCODE, 0, 0); };
  EXPECT_EQ(code(), DLGC_WANTARROWS | DLGC_WANTCHARS);
  grid->SetWantTabs(true);
  EXPECT_EQ(code(), DLGC_WANTARROWS | DLGC_WANTCHARS);  // no rows yet
  AddNamedRows(grid, 2);
  EXPECT_EQ(code(), DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB);
}
