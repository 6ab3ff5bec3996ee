// In-place editing under real key and character messages: a typed character opens the
// column's editor over the cell, Enter stores the text through the cell's conversion, Escape
// and the refusals leave the cell alone, the input row adds rows, and the editor keeps to its
// cell while rows scroll, move or go.
#include <gtest/gtest.h>

#include "grid/inplace_edit.h"
#include "grid/number_editors.h"
#include "grid/tests/control_fixture.h"
#include "grid/tests/pinned_locale.h"

using namespace gridtest;

namespace {

class Editing : public GridTest {
 protected:
  // A text column and a number column, both editable, over rows "r0".."r19" and 0..19.
  TDataGrid* EditGrid() {
    TDataGrid* grid = WindowGrid(240, 160);
    text_ = AddTextColumn(grid, {}, 100);
    text_->SetOptions(text_->Options() | coEditing);
    number_ = grid->Columns()->Add(std::make_unique<TNxNumberColumn>());
    number_->SetWidth(100);
    number_->SetOptions(number_->Options() | coEditing);
    AddNamedRows(grid, 20);
    for (int row = 0; row < 20; ++row) grid->SetCellText(1, row, std::to_wstring(row));
    grid->SetFocus();
    log_.clear();
    grid->OnBeforeEdit = [this](TObject*, int c, int r, bool&) { Log("before", c, r); };
    grid->OnEditEnter = [this](TObject*) { log_.push_back("enter"); };
    grid->OnEdit = [this](TObject*, int c, int r, const std::wstring&) { Log("edit", c, r); };
    grid->OnAfterEdit = [this](TObject*, int c, int r, const std::wstring&) { Log("after", c, r); };
    grid->OnEditExit = [this](TObject*) { log_.push_back("exit"); };
    return grid;
  }

  void Log(const char* what, int c, int r) {
    log_.push_back(std::string(what) + " " + std::to_string(c) + "," + std::to_string(r));
  }
  Lines TakeLog() { return std::exchange(log_, {}); }

  static void Type(HWND window, const std::wstring& text) {
    for (wchar_t c : text) SendMessageW(window, WM_CHAR, c, 0);
  }
  static void Press(HWND window, WORD key) {
    SendMessageW(window, WM_KEYDOWN, key, 0);
    SendMessageW(window, WM_KEYUP, key, 0);
  }
  static HWND EditorWindow(TDataGrid* grid) {
    return grid->Editor() ? grid->Editor()->Handle() : nullptr;
  }
  // Selects the cell and types its first character to the grid, as a user does.
  static void TypeInto(TDataGrid* grid, int col, int row, const std::wstring& text) {
    grid->SelectCell(col, row);
    Type(grid->Handle(), text.substr(0, 1));
    if (HWND editor = EditorWindow(grid)) Type(editor, text.substr(1));
  }
  static RECT EditorRect(TDataGrid* grid, TNxCustomEdit* editor) {
    RECT r{};
    GetWindowRect(editor->Handle(), &r);
    MapWindowPoints(nullptr, grid->Handle(), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }

  TNxTextColumn* text_ = nullptr;
  TNxNumberColumn* number_ = nullptr;
  Lines log_;
};

}  // namespace

TEST_F(Editing, ATypedCharacterOpensTheEditorOverTheCellAndEnterStoresTheText) {
  TDataGrid* grid = EditGrid();
  grid->SelectCell(0, 2);
  TakeLog();
  Type(grid->Handle(), L"Ж");
  ASSERT_TRUE(grid->IsEditing());
  TNxCustomEdit* editor = grid->Editor();
  ASSERT_EQ(editor, text_->Editor());
  EXPECT_EQ(editor->GetAsString(), L"Ж");  // the typed character only, not "r2"
  EXPECT_TRUE(IsWindowVisible(editor->Handle()));
  EXPECT_EQ(GetFocus(), editor->Handle());
  RECT cell{};
  grid->GetCellRect(0, 2, cell);
  RECT placed = EditorRect(grid, editor);
  EXPECT_EQ(placed.top, cell.top + 1);
  EXPECT_EQ(placed.left, cell.left + 1);

  Type(editor->Handle(), L"ук и Ёж");
  Press(editor->Handle(), VK_RETURN);
  EXPECT_EQ(grid->GetCellText(0, 2), L"Жук и Ёж");
  EXPECT_FALSE(grid->IsEditing());
  EXPECT_FALSE(IsWindowVisible(editor->Handle()));
  EXPECT_EQ(GetFocus(), grid->Handle());
  Lines expected{"before 0,2", "edit 0,2", "enter"};
  expected.insert(expected.end(), 7, "edit 0,2");  // a change for each typed character
  expected.insert(expected.end(), {"after 0,2", "exit"});
  EXPECT_EQ(TakeLog(), expected);

  // A click's edit starts with the cell's text, and reports no change for it.
  grid->StartEdit(0, 3, {});
  EXPECT_EQ(grid->Editor()->GetAsString(), L"r3");
  EXPECT_EQ(TakeLog(), (Lines{"before 0,3", "enter"}));

  // Text beyond the programs' code page goes through an edit unchanged.
  const std::wstring foreign = L"\u03A9\u03BC\u03AD\u03B3\u03B1 \u65E5\u672C";
  grid->SetCellText(0, 5, foreign);
  grid->StartEdit(0, 5, {});
  EXPECT_EQ(grid->Editor()->GetAsString(), foreign);
  Press(EditorWindow(grid), VK_RETURN);
  EXPECT_EQ(grid->GetCellText(0, 5), foreign);
}

TEST_F(Editing, TabStoresTheTextAndMovesOn) {
  TDataGrid* grid = EditGrid();
  TypeInto(grid, 0, 4, L"дальше");
  Press(EditorWindow(grid), VK_TAB);
  EXPECT_EQ(grid->GetCellText(0, 4), L"дальше");
  EXPECT_FALSE(grid->IsEditing());
  EXPECT_EQ(grid->SelectedColumn(), 1);
}

TEST_F(Editing, EscapeClosesTheEditorAndLeavesTheCellAlone) {
  TDataGrid* grid = EditGrid();
  TypeInto(grid, 0, 4, L"новое");
  ASSERT_TRUE(grid->IsEditing());
  Press(EditorWindow(grid), VK_ESCAPE);
  EXPECT_FALSE(grid->IsEditing());
  EXPECT_EQ(grid->GetCellText(0, 4), L"r4");
  EXPECT_FALSE(IsWindowVisible(text_->Editor()->Handle()));
  EXPECT_EQ(GetFocus(), grid->Handle());

  // With goEscClearEdit, Escape empties the editor and keeps it open.
  grid->SetOptions(grid->Options() | goEscClearEdit);
  TypeInto(grid, 0, 4, L"новое");
  Press(EditorWindow(grid), VK_ESCAPE);
  ASSERT_TRUE(grid->IsEditing());
  EXPECT_EQ(grid->Editor()->GetAsString(), L"");
  EXPECT_EQ(grid->GetCellText(0, 4), L"r4");
}

TEST_F(Editing, RefusedEditsOpenNothingAndRaiseNothing) {
  TDataGrid* grid = EditGrid();
  auto* plain = AddTextColumn(grid);  // no coEditing
  grid->StartEdit(plain->Index(), 0, {});
  grid->StartEdit(0, 99, {});
  grid->StartEdit(7, 0, {});
  grid->SetReadOnly(true);
  grid->StartEdit(0, 0, {});
  grid->SetReadOnly(false);
  EXPECT_FALSE(grid->IsEditing());
  EXPECT_TRUE(TakeLog().empty());

  grid->OnBeforeEdit = [](TObject*, int, int, bool& accept) { accept = false; };
  grid->StartEdit(0, 0, {});
  EXPECT_FALSE(grid->IsEditing());
}

TEST_F(Editing, AnEditorThatMayNotCloseKeepsItsCellAndARefusedValueIsNotStored) {
  TDataGrid* grid = EditGrid();
  bool mayClose = false;
  grid->OnEndEditing = [&](TObject*, int, int, std::wstring&, bool& accept) { accept = mayClose; };
  grid->OnEditAccept = [](TObject*, int, int, const std::wstring& value, bool& accept) {
    accept = value != L"нет";
  };
  TypeInto(grid, 0, 1, L"нет");
  Press(EditorWindow(grid), VK_RETURN);
  EXPECT_TRUE(grid->IsEditing());
  EXPECT_EQ(grid->EditingCell().y, 1);
  EXPECT_EQ(grid->GetCellText(0, 1), L"r1");
  mayClose = true;
  grid->EndEdit();
  EXPECT_FALSE(grid->IsEditing());
  EXPECT_EQ(grid->GetCellText(0, 1), L"r1");
}

TEST_F(Editing, AnOutsideEditorKeepsItsOwnHandlersWithInplaceEditEvents) {
  TDataGrid* grid = EditGrid();
  auto* outside = new TNxEdit(grid->Owner());
  int changes = 0;
  outside->OnChange = [&](TObject*) { ++changes; };
  text_->SetInplaceEdit(outside);
  grid->SetOptions(grid->Options() | goInplaceEditEvents);
  grid->StartEdit(0, 0, {});
  ASSERT_EQ(grid->Editor(), outside);
  Type(outside->Handle(), L"x");
  EXPECT_GT(changes, 0);
  EXPECT_TRUE(TakeLog() == (Lines{"before 0,0", "enter"})) << "no OnEdit: the grid is not bound";
  grid->EndEdit();

  // Freed while it edits: the grid forgets it rather than reach a freed editor.
  grid->SetOptions(grid->Options() & ~goInplaceEditEvents);
  grid->StartEdit(0, 1, {});
  ASSERT_EQ(grid->Editor(), outside);
  text_->SetInplaceEdit(nullptr);
  outside->Free();
  EXPECT_EQ(grid->Editor(), nullptr);
  EXPECT_FALSE(grid->IsEditing());
  grid->EndEdit();
  grid->ApplyEdit();
}

TEST_F(Editing, NumberCellsTakeOnlyNumbersWrittenWithTheLocalesSeparator) {
  struct Case {
    char separator;
    std::wstring typed, editor, cell;
    double value;
  };
  const Case cases[] = {
      {'.', L"1a2.5.7x", L"12.57", L"12.57", 12.57},
      {',', L"1a2,5,7x", L"12,57", L"12,57", 12.57},
      {',', L"3.5", L"35", L"35", 35},  // the other separator is no separator
      {'.', L"4-1", L"41", L"41", 41},  // no signs without eoAllowSigns
  };
  for (const Case& c : cases) {
    PinnedSeparators pinned(c.separator);
    TDataGrid* grid = EditGrid();
    TypeInto(grid, 1, 5, c.typed);
    ASSERT_TRUE(grid->IsEditing()) << c.separator;
    EXPECT_EQ(grid->Editor()->GetAsString(), c.editor);
    Press(EditorWindow(grid), VK_RETURN);
    EXPECT_EQ(grid->GetCellText(1, 5), c.cell);
    EXPECT_DOUBLE_EQ(grid->GetCell(1, 5)->GetAsFloat(), c.value);
  }
}

TEST_F(Editing, TheSpinEditorStepsTheCellsNumberWithKeysAndWheel) {
  TDataGrid* grid = EditGrid();
  number_->Increment = 5;
  number_->SetMax(30);
  grid->SelectCell(1, 2);
  grid->StartEdit(1, 2, {});
  HWND editor = EditorWindow(grid);
  ASSERT_TRUE(editor);
  Press(editor, VK_UP);
  EXPECT_EQ(grid->Editor()->GetAsString(), L"7");
  Press(editor, VK_UP);
  Press(editor, VK_DOWN);
  EXPECT_EQ(grid->Editor()->GetAsString(), L"7");
  SendMessageW(editor, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(5, 5));
  EXPECT_EQ(grid->Editor()->GetAsString(), L"12");
  EXPECT_EQ(grid->SelectedRow(), 2) << "the keys spin, they move no selection";
  Press(editor, VK_RETURN);
  EXPECT_EQ(grid->GetCellText(1, 2), L"12");
}

TEST_F(Editing, InvalidTextRaisesTheConversionMessageAndKeepsTheOldValue) {
  PinnedSeparators pinned('.');
  TDataGrid* grid = EditGrid();
  number_->EditOptions = eoAllowAll;  // the editor takes any text
  TypeInto(grid, 1, 3, L"12x");
  Press(EditorWindow(grid), VK_RETURN);
  ASSERT_EQ(shown, (std::vector<std::string>{"'12x' is not a valid floating point value"}));
  EXPECT_EQ(grid->GetCellText(1, 3), L"3");
  EXPECT_TRUE(grid->IsEditing()) << "the text stays to be mended";
  EXPECT_TRUE(TakeLog().back() != "after 1,3");
}

TEST_F(Editing, EnterInTheInputRowAddsARowWithDefaultsForEmptyColumns) {
  TDataGrid* grid = EditGrid();
  grid->SetOptions(grid->Options() | goInput);
  number_->SetDefaultValue(L"7");
  int added = 0;
  grid->OnInputAdded = [&](TObject*) { ++added; };
  bool accept = true;
  grid->OnInputAccept = [&](TObject*, bool& a) { a = accept; };

  RECT input = grid->GetInputCellRect(0);
  SendMessageW(grid->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, efir::test::At(input.left + 5, input.top + 5));
  SendMessageW(grid->Handle(), WM_LBUTTONUP, 0, efir::test::At(input.left + 5, input.top + 5));
  ASSERT_TRUE(grid->IsEditingInput());
  EXPECT_EQ(grid->InputColumn(), 0);
  HWND editor = EditorWindow(grid);
  EXPECT_EQ(EditorRect(grid, grid->Editor()).top, input.top + 1);
  Type(editor, L"Новая");
  Press(editor, VK_RETURN);
  ASSERT_EQ(grid->RowCount(), 21);
  EXPECT_EQ(grid->GetCellText(0, 20), L"Новая");
  EXPECT_EQ(grid->GetCellText(1, 20), L"7");
  EXPECT_EQ(added, 1);
  EXPECT_EQ(text_->InputValue(), L"");
  EXPECT_TRUE(grid->IsEditingInput()) << "the input row stays open for the next row";
  EXPECT_EQ(grid->Editor()->GetAsString(), L"");

  // Refused: no row, the typed value stays.
  accept = false;
  Type(editor, L"ещё");
  Press(editor, VK_RETURN);
  EXPECT_EQ(grid->RowCount(), 21);
  EXPECT_EQ(text_->InputValue(), L"ещё");

  // A value its cell cannot take: the message, no half-made row, the values kept.
  accept = true;
  grid->EndEdit();
  number_->SetInputValue(L"abc");
  grid->StartInputEdit(0, {});
  Press(EditorWindow(grid), VK_RETURN);
  EXPECT_EQ(shown.size(), 1u);
  EXPECT_EQ(grid->RowCount(), 21);
  EXPECT_EQ(text_->InputValue(), L"ещё");
  EXPECT_EQ(number_->InputValue(), L"abc");
}

TEST_F(Editing, ATypedCharacterInTheInputRowStartsItsEditor) {
  TDataGrid* grid = EditGrid();
  grid->SetOptions(grid->Options() | goInput);
  grid->SetInputSelected(true);
  grid->SelectColumn(0);
  Type(grid->Handle(), L"Я");
  ASSERT_TRUE(grid->IsEditingInput());
  EXPECT_EQ(grid->Editor()->GetAsString(), L"Я");
}

TEST_F(Editing, TheEditorFollowsScrollingAndClosesWhenItsRowGoes) {
  TDataGrid* grid = EditGrid();  // ten rows in view
  grid->StartEdit(0, 3, {});
  TNxCustomEdit* editor = grid->Editor();
  const int top = EditorRect(grid, editor).top;
  grid->VertScrollBar().SetPosition(2);
  EXPECT_EQ(EditorRect(grid, editor).top, top - 2 * grid->GetRowHeight(0));
  EXPECT_TRUE(IsWindowVisible(editor->Handle()));
  grid->VertScrollBar().SetPosition(5);  // the row is above the view
  EXPECT_FALSE(IsWindowVisible(editor->Handle()));
  EXPECT_TRUE(grid->IsEditing());
  grid->VertScrollBar().SetPosition(0);
  EXPECT_TRUE(IsWindowVisible(editor->Handle()));
  EXPECT_EQ(EditorRect(grid, editor).top, top);

  Type(editor->Handle(), L"!");
  grid->DeleteRow(3);
  EXPECT_FALSE(grid->IsEditing());
  EXPECT_FALSE(IsWindowVisible(editor->Handle()));
  EXPECT_NE(GetFocus(), editor->Handle()) << "no keys for a hidden editor";
  EXPECT_EQ(grid->GetCellText(0, 3), L"r4");
}

TEST_F(Editing, AHandlerThatSortsTheRowsAwayStoresNothing) {
  TDataGrid* grid = EditGrid();
  grid->OnEditText = [&](TObject*, int, int, std::wstring&) {
    grid->SortColumn(grid->Columns()->Item(1), false);  // row 0 goes to the bottom
  };
  TypeInto(grid, 0, 0, L"zz");
  Press(EditorWindow(grid), VK_RETURN);
  EXPECT_FALSE(grid->IsEditing());
  for (int row = 0; row < grid->RowCount(); ++row)
    EXPECT_NE(grid->GetCellText(0, row), L"zz") << row;

  // Rows exchanged under an open editor end the edit too.
  grid->OnEditText = nullptr;
  grid->StartEdit(0, 2, {});
  grid->ExchangeRows(2, 7);
  EXPECT_FALSE(grid->IsEditing());
}

TEST_F(Editing, FocusLeavingForAnotherControlAppliesTheEdit) {
  TDataGrid* grid = EditGrid();
  auto* other = new TEdit(grid->Owner());
  other->SetParent(static_cast<TWinControl*>(grid->Owner()));
  other->SetBounds(0, 0, 50, 20);
  TypeInto(grid, 0, 6, L"ушло");
  other->SetFocus();
  EXPECT_FALSE(grid->IsEditing());
  EXPECT_EQ(grid->GetCellText(0, 6), L"ушло");
}

TEST_F(Editing, AGridFreedWhileEditingTakesItsEditorsWindowAlong) {
  TDataGrid* grid = EditGrid();
  grid->StartEdit(0, 1, {});
  HWND editor = EditorWindow(grid);
  ASSERT_TRUE(IsWindow(editor));
  grid->Free();
  EXPECT_FALSE(IsWindow(editor));
}
