// The editor's options on the grid's own in-place editor, opened by typing into a cell:
// masked text, the reading direction taken from the grid, the letter case, the margins; and
// the bevels around a standalone editor, read back from the screen.
#include <gtest/gtest.h>

#include "grid/inplace_edit.h"
#include "grid/tests/control_fixture.h"
#include "grid/tests/editor_fixture.h"
#include "tests/support/capture.h"

using namespace gridtest;

namespace {

std::wstring WindowText(HWND window) {
  wchar_t text[64] = {};
  GetWindowTextW(window, text, 64);
  return text;
}

class EditOptions : public GridTest {
 protected:
  // A masked, editable text column in a right-to-left grid, its editor opened on row 1.
  TNxCustomEdit* OpenEditor() {
    TDataGrid* grid = WindowGrid(240, 160);
    TNxTextColumn* column = AddTextColumn(grid, {}, 120);
    column->SetOptions(column->Options() | coEditing);
    column->SetPasswordChar(L'*');
    AddNamedRows(grid, 3);
    grid->SetBiDiMode(bdRightToLeft);
    grid->SetFocus();
    grid->SelectCell(0, 1);
    SendMessageW(grid->Handle(), WM_CHAR, L'к', 0);
    EXPECT_TRUE(grid->IsEditing());
    return grid->Editor();
  }
};

TEST_F(EditOptions, TheCellEditorTakesTheColumnsMaskAndTheGridsReadingDirection) {
  TNxCustomEdit* editor = OpenEditor();
  ASSERT_NE(editor, nullptr);
  HWND window = editor->Handle();
  EXPECT_EQ(SendMessageW(window, EM_GETPASSWORDCHAR, 0, 0), L'*');
  const LONG_PTR ex = GetWindowLongPtrW(window, GWL_EXSTYLE);
  EXPECT_TRUE(ex & WS_EX_RTLREADING);
  EXPECT_TRUE(ex & WS_EX_LEFTSCROLLBAR);
  EXPECT_TRUE(GetWindowLongPtrW(window, GWL_STYLE) & ES_RIGHT)
      << "a left-justified column reads from the right";
  EXPECT_EQ(LOWORD(SendMessageW(window, EM_GETMARGINS, 0, 0)), 1) << "the column's margin";
  EXPECT_EQ(WindowText(window), L"к");

  editor->SetBiDiMode(bdRightToLeftReadingOnly);
  window = editor->Handle();
  EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_RTLREADING);
  EXPECT_FALSE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR);
  EXPECT_FALSE(GetWindowLongPtrW(window, GWL_STYLE) & ES_RIGHT);
}

TEST_F(EditOptions, CharCaseAndMarginsRemakeTheOpenEditorKeepingItsText) {
  TNxCustomEdit* editor = OpenEditor();
  ASSERT_NE(editor, nullptr);
  editor->SetPasswordChar(0);
  EXPECT_EQ(SendMessageW(editor->Handle(), EM_GETPASSWORDCHAR, 0, 0), 0);

  editor->SetCharCase(ecUpperCase);
  EXPECT_EQ(WindowText(editor->Handle()), L"К") << "the text there is";
  editor->SetSelStart(1);
  SendMessageW(editor->Handle(), WM_CHAR, L'ф', 0);
  SendMessageW(editor->Handle(), WM_CHAR, L'm', 0);
  EXPECT_EQ(editor->GetAsString(), L"КФM") << "and what is typed";
  editor->SetCharCase(ecLowerCase);
  EXPECT_EQ(editor->GetAsString(), L"кфm");

  editor->EditMargins().SetRight(7);
  editor->EditMargins().SetLeft(4);
  const LRESULT margins = SendMessageW(editor->Handle(), EM_GETMARGINS, 0, 0);
  EXPECT_EQ(LOWORD(margins), 4);
  EXPECT_EQ(HIWORD(margins), 7);
  EXPECT_EQ(editor->GetAsString(), L"кфm");
}

class EditBevels : public EditorTest {};

TEST_F(EditBevels, BevelsRingTheBorderOnTheChosenEdges) {
  auto* edit = Editor<TNxEdit>();
  RECT plain;
  GetClientRect(edit->Handle(), &plain);
  RedrawWindow(edit->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  const COLORREF border = efir::test::captureScreenOf(edit->Handle()).at(0, 10);
  struct Case {
    TEditBevels bevels;
    int left, top, right, bottom;  // client rectangle less the plain one
  } cases[] = {
      {{beLeft | beTop | beRight | beBottom, bvRaised, bvLowered, bkNone}, 0, 0, 0, 0},
      {{beLeft | beTop | beRight | beBottom, bvRaised, bvLowered, bkTile}, 2, 2, 2, 2},
      {{beLeft | beTop, bvNone, bvLowered, bkFlat}, 1, 1, 0, 0},
      {{beBottom, bvSpace, bvRaised, bkSoft}, 0, 0, 0, 2},
  };
  for (const Case& c : cases) {
    edit->SetBevels(c.bevels);
    RECT client;
    GetClientRect(edit->Handle(), &client);
    EXPECT_EQ(plain.right - client.right, c.left + c.right) << c.bevels.Kind;
    EXPECT_EQ(plain.bottom - client.bottom, c.top + c.bottom) << c.bevels.Kind;
  }

  edit->SetBevels({beLeft | beTop | beRight | beBottom, bvRaised, bvLowered, bkTile});
  RedrawWindow(edit->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  efir::test::saveScreenshot(edit->Handle(), "grid-editor-bevels");
  efir::test::Image shown = efir::test::captureScreenOf(edit->Handle());
  EXPECT_EQ(shown.at(0, 10), ColorToRGB(clBtnShadow)) << "the lowered outer ring, left";
  EXPECT_EQ(shown.at(149, 10), ColorToRGB(clBtnHighlight)) << "the lowered outer ring, right";
  EXPECT_EQ(shown.at(2, 10), border) << "the border, inside the rings";
}

}  // namespace
