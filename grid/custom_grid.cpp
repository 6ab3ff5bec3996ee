#include "grid/custom_grid.h"

#include <algorithm>
#include <utility>

#include "framework/application.h"
#include "grid/grid_text.h"

namespace {

void RegisterGridCursors() {
  Screen.RegisterCursor(crHeaderSplit, L"HORZSPLIT", IDC_SIZEWE);
  Screen.RegisterCursor(crColumnNoDrag, L"COLUMNNODRAG", IDC_NO);
  Screen.RegisterCursor(crRowSplit, L"VERTSPLIT", IDC_SIZENS);
  Screen.RegisterCursor(crIndicatorSelect, L"INDICATORSELECT", IDC_ARROW);
}

}  // namespace

TNxCustomGrid::TNxCustomGrid(TComponent* AOwner)
    : TNxCustomGridControl(AOwner),
      TDragControl(static_cast<TControl&>(*this)),
      FSearchTimer(new TTimer(this)) {
  SetParentColor(false);
  SetColor(clWindow);
  SetControlStyle(ControlStyle() | csDoubleClicks);
  FSearchTimer->SetEnabled(false);
  FSearchTimer->SetInterval(700);
  FSearchTimer->OnTimer = [this](TObject*) { ClearSearchBuffer(); };
  RegisterGridCursors();
  CreateDragWindows();
}

TNxCustomGrid::~TNxCustomGrid() { FreeDragWindows(); }

void TNxCustomGrid::CreateWnd() {
  TNxCustomGridControl::CreateWnd();
  HorzScrollBar().SetLargeChange(10);
  HorzScrollBar().SetSmallChange(5);
  VertScrollBar().SetLargeChange(10);
  UpdateHorzScrollBar();
  UpdateVertScrollBar();
}

TNxCustomColumn* TNxCustomGrid::ColumnOrNull(int ACol) const {
  return Columns()->ValidIndex(ACol) ? Columns()->Item(ACol) : nullptr;
}

// ---------------------------------------------------------------------------- hints

void TNxCustomGrid::RecreateHintWindow() {
  if (!FHintWindow) FHintWindow = std::make_unique<TGridHintWindow>();
}

void TNxCustomGrid::HideHint() { grid::HideHintWindow(FHintWindow.get()); }

// Shows Text in Rect (measured at (0, 0)) with its top-left corner at the client point At.
void TNxCustomGrid::ShowHintRect(RECT Rect, POINT At, const std::wstring& Text) {
  POINT screen = ClientToScreen(At);
  OffsetRect(&Rect, screen.x, screen.y);
  grid::ShowHintWindow(FHintWindow.get(), Rect, Text);
}

void TNxCustomGrid::ShowHintAt(int X, int Y, const std::wstring& Text) {
  if (!grid::IsParentFormActive(this) || !Application.ShowHint()) return;
  RecreateHintWindow();
  RECT rect = grid::CalcHintWindowRect(FHintWindow.get(), ClientWidth(), Text);
  ShowHintRect(rect, {X, Y}, Text);
}

// ---------------------------------------------------------------------------- messages

void TNxCustomGrid::WndProc(TMessage& Message) {
  if (DragMessage(Message)) return;
  switch (Message.Msg) {
    case WM_VSCROLL:
      // The range must be the one the user sees before the step is taken.
      if (Message.LParam == 0) {
        EndEdit();
        UpdateVertScrollBar();
      }
      break;
    case WM_HSCROLL:
      if (Message.LParam == 0) {
        // The selected cell's frame is drawn where the cell is: off the moved pixels.
        EndEdit();
        const bool frame = !(AppearanceOptions() & aoAlphaBlendedSelection);
        if (frame) RefreshCell(SelectedColumn(), SelectedRow());
        TNxCustomGridControl::WndProc(Message);
        if (frame) RefreshCell(SelectedColumn(), SelectedRow());
        return;
      }
      break;
    case WM_SIZE:
      TNxCustomGridControl::WndProc(Message);
      HeightChanged();
      WidthChanged();
      EndEdit();
      return;
    case WM_SETFOCUS:
      TNxCustomGridControl::WndProc(Message);
      if (RowCount() > 0) {
        RefreshSelection();
      } else if (Options() & goInput) {
        SetInputSelected(true);
      }
      return;
    case WM_KILLFOCUS:
      CancelDrag();
      HideHint();
      ForgetPress();
      SetHotHeaderColumn(-1);
      FGripColumn = -1;
      RefreshSelection();
      break;
    case WM_ACTIVATEAPP:
      TNxCustomGridControl::WndProc(Message);
      if (!Message.WParam) {
        CancelDrag();
        ForgetPress();
        FDownCell = {-1, -1};
        SetCursor(crDefault);
      }
      RefreshSelection();
      return;
    case CM_MOUSELEAVE:
      HideRowDropMarker();
      FDropRow = -1;
      FHintKind = hkNone;
      HideHint();
      FHintedHeaderColumn = -1;
      SetHotHeaderColumn(-1);
      break;  // then OnMouseLeave
    case CM_FONTCHANGED:
      for (int col = 0; col < Columns()->Count(); ++col) {
        TNxCustomColumn* column = Columns()->Item(col);
        if (column->ParentFont()) column->SetParentFont(true);
      }
      break;
    case WM_LBUTTONUP: {
      // The framework lets the mouse go before the release reaches MouseUp: that is the
      // end of the drag, not the loss of the mouse.
      const bool releasing = std::exchange(FReleasingButton, true);
      try {
        TNxCustomGridControl::WndProc(Message);
      } catch (...) {
        FReleasingButton = releasing;
        throw;
      }
      FReleasingButton = releasing;
      return;
    }
    case WM_CAPTURECHANGED:
      // The drag box takes the mouse over for a column move; anyone else ends a drag.
      if (!FReleasingButton && FDrag != gdColumnMove) CancelDrag();
      break;
    case WM_KEYDOWN:
      if (Message.WParam == VK_ESCAPE && FDrag != gdNone) {
        CancelDrag();
        return;
      }
      break;
    case WM_GETDLGCODE:
      TNxCustomGridControl::WndProc(Message);
      Message.Result = DialogCode(Message.Result);
      return;
  }
  TNxCustomGridControl::WndProc(Message);
}

// ---------------------------------------------------------------------------- size

void TNxCustomGrid::HeightChanged() {
  const int height = ClientHeight();
  const int old = std::exchange(FLastClientHeight, height);
  if (height == old) return;
  const int width = ClientWidth();
  if (GridStyle() == gsSlides) {
    RefreshRect({0, std::min(old, height), width, std::max(old, height)});
  } else if (Options() & goFooter) {
    // The footer and the indicator beside it move with the bottom edge.
    const int top = GetFooterRect().top;
    RefreshRect({0, top - std::max(height - old, 0), width, height});
  }
  if (height > old) ScrollRowsBackIn();
  UpdateVertScrollBar();
}

// Rows above the view come back while the room below the last row holds them whole, so a
// grid made taller shows no empty space under its last row.
void TNxCustomGrid::ScrollRowsBackIn() {
  const int bodyBottom = GetBodyRect().bottom;
  for (;;) {
    int above = TopRow() - 1;
    while (above >= 0 && !GetRowShown(above)) --above;
    if (above < 0 || RowCount() == 0) return;
    const int last = LastRowInView();
    const int used = GetRowTop(last) + GetRowHeight(last) + LineWidth(lkBottom);
    if (bodyBottom - used < GetRowHeight(above) + LineWidth(lkRowExtra)) return;
    const int top = TopRow();
    VertScrollBar().StepBack();
    if (TopRow() == top) return;
  }
}

void TNxCustomGrid::WidthChanged() {
  const int width = ClientWidth();
  const int old = std::exchange(FLastClientWidth, width);
  if (width == old) return;
  if (HorzScrollBar().Position() < 1) {
    RefreshRect({std::min(old, width), 0, std::max(old, width), ClientHeight()});
  } else {
    Invalidate();
  }
  Columns()->AutoSizeColumns(nullptr, false);
  UpdateHorzScrollBar();
  if (!Caption().empty() && GetShownRowCount() == 0) RefreshPart(gpBody);
}

// ---------------------------------------------------------------------------- events

void TNxCustomGrid::DoCellClick(int ACol, int ARow) {
  if (OnCellClick) OnCellClick(this, ACol, ARow);
}

void TNxCustomGrid::DoCellDblClick(int ACol, int ARow) {
  if (OnCellDblClick) OnCellDblClick(this, ACol, ARow);
}

void TNxCustomGrid::DoHeaderClick(int ACol) {
  if (OnHeaderClick) OnHeaderClick(this, ACol);
}

void TNxCustomGrid::DoHeaderDblClick(int ACol) {
  if (OnHeaderDblClick) OnHeaderDblClick(this, ACol);
}

void TNxCustomGrid::DoFooterClick(int ACol) {
  if (OnFooterClick) OnFooterClick(this, ACol);
}
