// The grid's keyboard: navigation keys, characters that start an edit or search the search
// column, the wheel and the dialog codes that decide which keys reach the grid.
#include <algorithm>

#include "framework/text_encoding.h"
#include "grid/custom_grid.h"
#include "grid/inplace_edit.h"

namespace {

// Text starts with Prefix, in any case (the user's locale decides what "case" means).
bool StartsWithNoCase(const std::wstring& Text, const std::wstring& Prefix) {
  if (Prefix.empty() || Text.size() < Prefix.size()) return false;
  const int length = static_cast<int>(Prefix.size());
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, Text.c_str(), length,
                        Prefix.c_str(), length) == CSTR_EQUAL;
}

bool IsCaretKey(WORD Key) {
  return Key == VK_END || Key == VK_HOME || Key == VK_LEFT || Key == VK_UP || Key == VK_RIGHT ||
         Key == VK_DOWN;
}

}  // namespace

// ---------------------------------------------------------------------------- keys

void TNxCustomGrid::KeyDown(WORD& Key, TShiftState Shift) {
  TNxCustomGridControl::KeyDown(Key, Shift);
  if (Key) KeyToAction(Key, Shift);
}

void TNxCustomGrid::KeyToAction(WORD& Key, TShiftState Shift) {
  if (Options() & goDisableKeys) return;
  if (IsEditingAny() && IsCaretKey(Key)) return;  // the editor's
  const bool cellMoves = InputSelected() || !(Options() & goSelectFullRow) ||
                         (AppearanceOptions() & aoIndicateSelectedCell);
  switch (Key) {
    case VK_TAB:
      if (Shift & ssShift) TabBackward(true);
      else TabForward(true);
      break;
    case VK_PRIOR:
      PageUp();
      break;
    case VK_NEXT:
      PageDown();
      break;
    case VK_END:
      MarkRowRange(SelectedRow(), GetLastShownRow());
      if (HomeEndBehaviour() == hebLeftRight) SelectLastColumn();
      else if (Columns()->ValidIndex(SelectedColumn())) SelectLastRow(Shift);
      break;
    case VK_HOME:
      MarkRowRange(GetFirstShownRow(), SelectedRow());
      if (HomeEndBehaviour() == hebLeftRight) SelectFirstColumn();
      else if (Columns()->ValidIndex(SelectedColumn())) SelectFirstRow(Shift);
      break;
    case VK_LEFT:
      if (cellMoves) MoveSelectionLeft(mkArrows);
      else HorzScrollBar().StepBack();
      break;
    case VK_RIGHT:
      if (cellMoves) MoveSelectionRight(mkArrows);
      else HorzScrollBar().StepForward();
      break;
    case VK_UP:
      MoveSelectionUp(Shift);
      break;
    case VK_DOWN:
      MoveSelectionDown(Shift, false, false);
      break;
    case 'A':
      if (Shift & ssCtrl) SelectAllRows();
      break;
  }
}

// At the top: the first row. Below the view's first row: that row. Else a page up.
void TNxCustomGrid::PageUp() {
  if (VertScrollBar().Position() == 0) {
    SelectFirstRow(0);
  } else if (SelectedRow() > TopRow()) {
    SelectRow(TopRow());
  } else {
    MoveSelectionBy(-GetRowsInView(false));
    ScrollToRow(SelectedRow());
  }
}

// With the last page in view, nothing. Above the page's last row: that row. Else a page
// down, or the last row when less than a page is left.
void TNxCustomGrid::PageDown() {
  if (VertScrollBar().AtEnd()) return;
  const int page = GetRowsInView(false);
  const int last = LastRowInView();
  if (SelectedRow() < last) {
    SelectRow(last);
  } else if (SelectedRow() + page > RowCount()) {
    SelectLastRow(0);
  } else {
    MoveSelectionBy(page);
    ScrollToRow(SelectedRow());
  }
}

// Marks the shown rows between From and To (either order) selected, for Home and End in a
// multi-selection; the select that follows keeps them only with Shift or Ctrl held.
void TNxCustomGrid::MarkRowRange(int From, int To) {
  if (From == To || !IsMultiSelect()) return;
  FState |= kMultiSelected;
  for (int row = std::max(std::min(From, To), 0); row <= std::max(From, To) && row < RowCount();
       ++row) {
    if (GetRowShown(row)) SetRowSelected(row, true);
  }
}

// ---------------------------------------------------------------------------- characters

void TNxCustomGrid::KeyPress(char& Key) {
  TNxCustomGridControl::KeyPress(Key);
  if (!Key || IsEditingAny() || (Options() & goDisableKeys) || Key == 27) return;
  if (Key == 13) {
    if (WantReturns()) EnterKey();
    return;
  }
  if (!Columns()->ValidIndex(SelectedColumn())) return;
  if (!InputSelected() && !IsValidRow(SelectedRow())) return;
  if (!InputSelected()) PlayKey(Key);
  if (Key == 9) return;
  const std::wstring typed = efir::text::fromAnsi(std::string(1, Key));
  if (typed.empty()) return;
  TNxCustomColumn* column = Columns()->Item(SelectedColumn());
  if (column->IsValidInputChar(typed[0])) {
    if (InputSelected()) StartInputEditWithKey(SelectedColumn(), typed[0]);
    else StartEditWithKey(SelectedColumn(), SelectedRow(), typed[0]);
  }
  const int search = SearchColumn();
  if (InputSelected() || (column->Options() & coEditing) || search < 0 || RowCount() == 0)
    return;
  FSearchTimer->SetEnabled(false);
  FSearchTimer->SetEnabled(true);
  FSearchBuffer += typed;
  TypeAhead(search, FSearchBuffer, false);
}

// Enter commits the input line, or moves the selection the way SelectionMoveDirection says.
void TNxCustomGrid::EnterKey() {
  if (InputSelected()) {
    if (InputEnterMode() == imAllways) {
      ApplyEdit();
      if (Editor()) Editor()->SetAsString({});
      CommitInputLine();
      if (Editor() && Columns()->ValidIndex(InputColumn())) {
        Editor()->SetAsString(Columns()->Item(InputColumn())->InputValue());
        Editor()->SelectAll();
      }
    }
    return;
  }
  switch (SelectionMoveDirection()) {
    case mdUp: MoveSelectionUp(0); break;
    case mdDown: MoveSelectionDown(0, false, false); break;
    case mdLeft: MoveSelectionLeft(mkEnter); break;
    case mdRight: MoveSelectionRight(mkEnter); break;
    case mdNone: break;
  }
}

int TNxCustomGrid::SearchColumn() const {
  for (int col = 0; col < Columns()->Count(); ++col)
    if (Columns()->Item(col)->Options() & coSearchColumn) return col;
  return -1;
}

void TNxCustomGrid::ClearSearchBuffer() {
  FSearchBuffer.clear();
  FSearchTimer->SetEnabled(false);
}

bool TNxCustomGrid::TypeAhead(int ACol, const std::wstring& Text, bool FromStart) {
  if (RowCount() == 0 || !Columns()->ValidIndex(ACol)) return false;
  auto search = [&](int from, int to) {
    for (int row = from; row <= to; ++row) {
      if (!GetRowShown(row) || !StartsWithNoCase(GetCellText(ACol, row), Text)) continue;
      SelectRow(row);
      if (!IsUpdating()) ScrollToRow(row);
      return true;
    }
    return false;
  };
  const int last = RowCount() - 1;
  if (FromStart) return search(0, last);
  return search(SelectedRow() + 1, last) || search(0, std::min(SelectedRow(), last));
}

// ---------------------------------------------------------------------------- wheel and dialogs

bool TNxCustomGrid::DoMouseWheel(TShiftState Shift, int WheelDelta, POINT MousePos) {
  if (!TNxCustomGridControl::DoMouseWheel(Shift, WheelDelta, MousePos) || IsEditing()) return false;
  TNxScrollBar& vert = VertScrollBar();
  TNxScrollBar& horz = HorzScrollBar();
  const bool page = (Shift & ssCtrl) != 0;
  if (WheelDelta < 0) {
    if (vert.Max() > 0 && vert.Position() < vert.Max()) {
      page ? vert.PageForward() : vert.StepForward();
    } else if (GridStyle() == gsReport && horz.Max() > 0 && !vert.Visible()) {
      page ? horz.PageForward() : horz.StepForward();
    }
  } else if (vert.Max() > 0) {
    page ? vert.PageBack() : vert.StepBack();
  } else if (GridStyle() == gsReport && horz.Max() > 0) {
    page ? horz.PageBack() : horz.StepBack();
  }
  return true;
}

// Arrows and characters always; Tab only when the grid has somewhere to move it.
LRESULT TNxCustomGrid::DialogCode(LRESULT Inherited) {
  LRESULT code = Inherited | DLGC_WANTARROWS | DLGC_WANTCHARS;
  const bool tabs = WantTabs() && Columns()->VisibleCount() > 0 &&
                    (RowCount() > 0 || InputSelected());
  return tabs ? code | DLGC_WANTTAB : code & ~static_cast<LRESULT>(DLGC_WANTTAB);
}
