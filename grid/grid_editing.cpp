// In-place editing and the input row: the grid lays a column's editor over the edited cell
// (or over an input cell under the header), follows what the user types, takes the text into
// the cell through the cell's own conversion, and adds a row from the input values.
//
// The editor is never the grid's: a column owns its own editor, a form owns an InplaceEdit.
// The grid binds the editor's events only while it shows the editor, and forgets an editor
// that is freed under it, so no editor calls into a grid that has closed it or is gone.
#include <algorithm>

#include "grid/grid_control.h"
#include "grid/inplace_edit.h"

// ---------------------------------------------------------------------------- the editor

void TNxCustomGridControl::SetEditor(TNxCustomEdit* Editor) {
  if (FEditor && FEditor != Editor) {
    if (FEditorEventsBound) {
      FEditor->OnChange = nullptr;
      FEditor->OnEnter = FEditor->OnExit = nullptr;
      FEditor->OnKeyDown = FEditor->OnKeyUp = nullptr;
      FEditor->OnKeyPress = nullptr;
    }
    RemoveFreeNotification(FEditor);
  }
  FEditorEventsBound = false;
  FEditor = Editor;
  if (!Editor) return;
  FreeNotification(Editor);
  Editor->SetParent(this);
  Editor->SetAsString(std::wstring());
  Editor->SetWantTabs(WantTabs());
  Editor->SetBiDiMode(FBiDiMode);
}

// The grid is going: the editor must not reach it any more.
void TNxCustomGridControl::ForgetEditor() {
  SetEditor(nullptr);
  FState &= static_cast<uint16_t>(~(kEditingCell | kEditingInput));
  FEditingCell = {-1, -1};
  if (FColumns && FColumns->ValidIndex(FInputColumn))
    FColumns->Item(FInputColumn)->SetInputEditing(false);
  FInputColumn = -1;
}

void TNxCustomGridControl::Notification(TComponent* Component, TOperation Operation) {
  if (Operation == opRemove && Component == FEditor) {
    FEditor = nullptr;
    FEditorEventsBound = false;
    ForgetEditor();
  }
  TNxScrollControl::Notification(Component, Operation);
}

void TNxCustomGridControl::AttachEditorEvents() {
  if (!FEditor) return;
  FEditor->OnChange = [this](TObject*) { EditorChange(); };
  FEditor->OnEnter = [this](TObject*) { EditorFocusChanged(false); };
  FEditor->OnExit = [this](TObject*) { EditorFocusChanged(true); };
  FEditor->OnKeyDown = [this](TObject*, WORD& Key, TShiftState Shift) { EditorKeyDown(Key, Shift); };
  FEditor->OnKeyPress = [this](TObject*, char& Key) { KeyPress(Key); };
  FEditor->OnKeyUp = [this](TObject*, WORD& Key, TShiftState Shift) { KeyUp(Key, Shift); };
  FEditorEventsBound = true;
}

bool TNxCustomGridControl::EditorHasFocus() {
  return FEditor && FEditor->HandleAllocated() && GetFocus() == FEditor->Handle();
}

// The editor's focus changes repaint the grid's selection; the focus leaving for a window
// outside the grid ends the edit with the text kept, as leaving the grid itself does.
void TNxCustomGridControl::EditorFocusChanged(bool Lost) {
  if (!Focused()) Invalidate();
  if (!Lost || !(FState & (kEditingCell | kEditingInput)) || !HandleAllocated()) return;
  HWND to = GetFocus();
  if (to == Handle() || IsChild(Handle(), to)) return;
  ApplyEdit();
  EndEdit();
}

// ---------------------------------------------------------------------------- opening

// Applies and closes an open editor; false when it stays open (OnEndEditing refused).
bool TNxCustomGridControl::CloseEditing() {
  if (!(FState & (kEditingCell | kEditingInput))) return true;
  ApplyEdit();
  EndEdit();
  return !(FState & (kEditingCell | kEditingInput));
}

// The checks and the first steps shared by both ways of opening a cell editor.
bool TNxCustomGridControl::OpenCellEditor(int ACol, int ARow) {
  if (IsEditing() && FEditingCell.x == ACol && FEditingCell.y == ARow) return false;
  if (!FColumns->ValidIndex(ACol) || ARow < 0 || ARow >= RowCount()) return false;
  TNxCustomColumn* column = FColumns->Item(ACol);
  if (!(column->GetEditKinds() & ekCell) || FReadOnly || !CanEdit()) return false;
  if (!column->InplaceEdit() && !column->Editor()) return false;
  bool accept = true;
  if (OnBeforeEdit) OnBeforeEdit(this, ACol, ARow, accept);
  if (!accept || !CloseEditing()) return false;
  FState |= kEditingCell;
  FEditingCell = {ACol, ARow};
  AttachColumnEditor(column, ARow);
  return true;
}

// Binds the column's editor: an outside one as it is (keeping its own handlers with
// goInplaceEditEvents), the column's own one readied in the cell's (or input cell's) colours.
void TNxCustomGridControl::AttachColumnEditor(TNxCustomColumn* Column, int ARow) {
  if (TNxCustomEdit* outside = Column->InplaceEdit()) {
    SetEditor(outside);
    if (!(FOptions & goInplaceEditEvents)) AttachEditorEvents();
    return;
  }
  SetEditor(Column->Editor());
  AttachEditorEvents();
  Column->PrepareEditor();
  if (ARow >= 0) {
    FEditor->SetColor(GetCellColor(Column->Index(), ARow));
    FEditor->Font().Assign(*Column->Font());
  } else {
    FEditor->SetColor(Column->Color());
    FEditor->SetAutoSelect(false);
    FEditor->Font().SetColor(Column->Font()->Color());
  }
  FEditor->EditingStarted();
}

void TNxCustomGridControl::PlaceCaret(TNxCustomColumn* Column) {
  if (!FEditor || !FEditor->HandleAllocated()) return;
  if (Column->Options() & coEditorAutoSelect) FEditor->SelectAll();
  else FEditor->SetSelStart(GetWindowTextLengthW(FEditor->Handle()));
}

void TNxCustomGridControl::StartEdit(int ACol, int ARow, const std::wstring& Text) {
  if (!OpenCellEditor(ACol, ARow)) return;
  TNxCustomColumn* column = FColumns->Item(ACol);
  std::wstring text = Text.empty() ? GetCellText(ACol, ARow) : Text;
  if (Text.empty()) FSuppressEditorChange = true;
  if (OnApplyEditText) OnApplyEditText(this, ACol, ARow, text);
  FEditor->SetAsString(text);
  EditorShown();
  ShowEditor();
  column->EditorTextSet();
  FSuppressEditorChange = false;
  PlaceCaret(column);
  if (OnEditEnter) OnEditEnter(this);
}

void TNxCustomGridControl::StartEditWithKey(int ACol, int ARow, wchar_t Key) {
  if (!OpenCellEditor(ACol, ARow)) return;
  ShowEditor();
  FEditor->SetAutoSelect(false);
  SendMessageW(FEditor->Handle(), WM_CHAR, Key, 0);
  if (!FEditor) return;  // a handler of the typed key freed it
  FEditor->SetAutoSelect(true);
  EditorShown();
  FSuppressEditorChange = false;
  FEditor->SetSelStart(GetWindowTextLengthW(FEditor->Handle()));
  if (OnEditEnter) OnEditEnter(this);
}

void TNxCustomGridControl::StartInputEdit(int ACol, const std::wstring& Text) {
  if (!FColumns->ValidIndex(ACol)) return;
  SetInputSelected(true);
  SelectColumn(ACol);
  if (!CloseEditing()) return;
  TNxCustomColumn* column = FColumns->Item(ACol);
  if ((!column->InplaceEdit() && !column->Editor()) || !(column->GetEditKinds() & ekInput) ||
      FReadOnly)
    return;
  FState |= kEditingInput;
  AttachColumnEditor(column, -1);
  FInputColumn = ACol;
  column->SetInputEditing(true);
  FSuppressEditorChange = true;
  FEditor->SetAsString(Text.empty() ? column->InputValue() : Text);
  column->EditorTextSet();
  FSuppressEditorChange = false;
  FEditingCell = {ACol, -1};
  ShowEditor();
  PlaceCaret(column);
  if (OnInputSelectCell) OnInputSelectCell(this, ACol);
}

void TNxCustomGridControl::StartInputEditWithKey(int ACol, wchar_t Key) {
  StartInputEdit(ACol, std::wstring());
  if (!IsEditingInput() || FInputColumn != ACol || !FEditor) return;
  FSuppressEditorChange = true;
  FEditor->SetAsString(std::wstring());
  SendMessageW(FEditor->Handle(), WM_CHAR, Key, 0);
  FSuppressEditorChange = false;
  if (FEditor) FEditor->SetSelStart(GetWindowTextLengthW(FEditor->Handle()));
}

// ---------------------------------------------------------------------------- placing

void TNxCustomGridControl::ShowEditor() {
  if (!FEditor || !HandleAllocated()) return;
  const RECT body = GetBodyRect();
  RECT rect{};
  if (IsEditing()) {
    if (!IsValidCell(FEditingCell.x, FEditingCell.y)) return;
    TNxCustomColumn* column = FColumns->Item(FEditingCell.x);
    GetCellRect(FEditingCell.x, FEditingCell.y, rect);
    column->AdjustEditorRect(GetRowLevel(FEditingCell.y), rect);
    rect.left += FLineWidth[lkLeft3D];
    rect.right -= FLineWidth[lkRight];
    if (!(FOptions & goGrid)) --rect.right;
    // A cell scrolled out of the rows area keeps its editor, hidden until it comes back.
    // (A row above the first one in view measures as if it were the first.)
    if (FEditingCell.y < FTopRow || rect.top < body.top || rect.top >= body.bottom) {
      FEditor->SetVisible(false);
      return;
    }
    rect.left = std::max(rect.left, body.left);
  } else if (IsEditingInput() && FColumns->ValidIndex(FInputColumn)) {
    rect = GetInputCellRect(FInputColumn);
  } else {
    return;
  }
  InflateRect(&rect, -1, -1);
  rect.left = std::max<LONG>(rect.left, 0);
  if (rect.left < body.left) rect.right = body.left;
  FEditor->SetVisible(false);
  FEditor->SetBounds(rect.left, rect.top, std::max<LONG>(rect.right - rect.left, 0),
                     std::max<LONG>(rect.bottom - rect.top, 0));
  FEditor->SetVisible(true);
  if (FEditor->CanFocus()) FEditor->SetFocus();
  InvalidateRect(FEditor->Handle(), nullptr, TRUE);
}

void TNxCustomGridControl::AfterScroll(TScrollBarKind Kind) {
  TNxScrollControl::AfterScroll(Kind);
  if (IsEditing()) ShowEditor();
}

// ---------------------------------------------------------------------------- typing

void TNxCustomGridControl::EditorChange() {
  if (FSuppressEditorChange || !FEditor) return;
  if (OnEdit) OnEdit(this, FEditingCell.x, FEditingCell.y, FEditor->GetAsString());
}

void TNxCustomGridControl::EditorKeyDown(WORD& Key, TShiftState Shift) {
  switch (Key) {
    case VK_TAB:
      ApplyEdit();
      EndEdit();
      break;
    case VK_RETURN:
      if (Shift & ssCtrl) break;
      if (IsEditing() && !(FColumns->Item(FEditingCell.x)->GetCapabilities() & ccEditorTakesEnter)) {
        ApplyEdit();
        EndEdit();
        if (!IsEditing() && CanFocus()) SetFocus();
      } else if (IsEditingInput()) {
        ApplyEdit();
        CommitInputLine();
        if (FEditor && FColumns->ValidIndex(FInputColumn)) {
          std::wstring text;
          FColumns->Item(FInputColumn)->GetInputEditText(text);
          FEditor->SetAsString(text);
        }
      }
      break;
    case VK_ESCAPE:
      if ((FOptions & goEscClearEdit) && FEditor) {
        FEditor->SetAsString(std::wstring());
      } else {
        EndEdit();
        if (!IsEditing() && CanFocus()) SetFocus();
      }
      break;
  }
  KeyDown(Key, Shift);
}

// ---------------------------------------------------------------------------- applying

void TNxCustomGridControl::SetEditCellText(const std::wstring& Value) {
  SetCellText(FEditingCell.x, FEditingCell.y, Value);
}

bool TNxCustomGridControl::ApplyEdit() {
  if (!FEditor) return false;
  if (IsEditing()) {
    const POINT cell = FEditingCell;
    // A row that went while its cell was edited takes nothing.
    if (cell.x < 0 || cell.y < 0 || cell.y >= RowCount()) return false;
    FEditor->BeforeApply();
    std::wstring text = FEditor->GetAsString();
    FColumns->Item(cell.x)->AdjustEditText(text);
    bool accept = true;
    if (OnEditAccept) OnEditAccept(this, cell.x, cell.y, text, accept);
    if (!accept) return false;
    if (OnEditText) OnEditText(this, cell.x, cell.y, text);
    // A handler that ended the edit (by sorting, or by moving rows) left no cell to store in.
    if (!IsEditing() || FEditingCell.x != cell.x || FEditingCell.y != cell.y) return false;
    SetEditCellText(text);
    if (OnAfterEdit) OnAfterEdit(this, cell.x, cell.y, text);
    return true;
  }
  if (IsEditingInput() && FColumns->ValidIndex(FInputColumn)) {
    FEditor->BeforeApply();
    std::wstring text = FEditor->GetAsString();
    TNxCustomColumn* column = FColumns->Item(FInputColumn);
    column->AdjustEditText(text);
    column->SetInputValue(text);
    return true;
  }
  return false;
}

void TNxCustomGridControl::EndEdit() {
  bool accept = true;
  if (IsEditing() && FEditor) {
    std::wstring text = FEditor->GetAsString();
    if (OnEndEditing) OnEndEditing(this, FEditingCell.x, FEditingCell.y, text, accept);
    if (FEditor) FEditor->SetAsString(text);
  }
  if (!accept) return;
  const bool cell = IsEditing();
  const POINT edited = FEditingCell;
  const int input = FInputColumn;
  // Cleared first: hiding the editor moves the focus, whose handlers must find it closed.
  FState &= static_cast<uint16_t>(~(kEditingCell | kEditingInput));
  FEditingCell = {-1, -1};
  FInputColumn = -1;
  if (FColumns->ValidIndex(input)) FColumns->Item(input)->SetInputEditing(false);
  if (TNxCustomEdit* editor = FEditor) {
    const bool focused = EditorHasFocus();
    SetEditor(nullptr);  // unbinds first: the hidden editor no longer speaks to the grid
    editor->SetVisible(false);
    if (focused && HandleAllocated() && CanFocus()) SetFocus();
    if (cell) RefreshCell(edited.x, edited.y);
    else if (FColumns->ValidIndex(input)) RefreshColumn(FColumns->Item(input), gpInput);
  }
  if (cell && OnEditExit) OnEditExit(this);
}

void TNxCustomGridControl::CommitInputLine() {
  bool accept = true;
  if (OnInputAccept) OnInputAccept(this, accept);
  if (!accept) return;
  AddRow(1);
  const int row = RowCount() - 1;
  try {
    for (int col = 0; col < FColumns->Count(); ++col) {
      TNxCustomColumn* column = FColumns->Item(col);
      const std::wstring& value =
          column->InputValue().empty() ? column->DefaultValue() : column->InputValue();
      if (!value.empty()) SetCellText(col, row, value);
    }
  } catch (...) {
    // A value its cell cannot take: no half-made row, and the input values stay to be mended.
    DeleteRow(row);
    throw;
  }
  for (int col = 0; col < FColumns->Count(); ++col) FColumns->Item(col)->SetInputValue({});
  if (OnInputAdded) OnInputAdded(this);
}
