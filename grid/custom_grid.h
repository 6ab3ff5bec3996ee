// The layer between the grid engine (grid/grid_control.h) and TDataGrid: how the grid answers
// the user. The mouse (grid_mouse.cpp): what lies under a point, a press on a cell selects it,
// a click on a sortable header sorts, double clicks, hover cursors. Hints (grid_mouse.cpp):
// header, footer, cell and text-fit hints in the grid's own hint window, and ShowHintAt for
// callers. Drags (grid_drag.cpp): a column's width by its header edge, a column's place by
// its header, a row's height by its indicator border, a row's place by a cell; Escape or
// the loss of the focus or of the mouse gives a drag up. The grid itself can be dragged onto
// other controls (framework/drag_drop.h): a press on a row of a multi-selection while the
// grid is dragged keeps the other rows selected until the drag is cancelled. The keyboard
// (grid_keys.cpp): navigation keys, type-ahead search over the search column, the wheel and
// the dialog codes. Focus, activation and size messages live here.
//
//   grid->OnCellHint = [](TObject*, int ACol, int ARow, std::wstring& Value) { Value = ...; };
//   grid->ShowHintAt(0, 0, L"Радио Дача - Добавлено в избранное");
//
// The events raised from a mouse press or release follow the framework's OnMouseDown or
// OnMouseUp; a handler that fails ends the press at that step (the application's handler
// reports it) and leaves the grid ready for the next one.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "framework/drag_drop.h"
#include "framework/timer.h"
#include "grid/drag_box.h"
#include "grid/grid_control.h"
#include "grid/grid_hints.h"

// What lies under a client point.
enum TGridZone { gzNone, gzCells, gzFooter, gzHeader, gzIndicator, gzInput };

// What the hint window shows now.
enum THintKind { hkNone, hkFooter, hkHeader, hkTextFit, hkCell };

// The drag that runs (one at a time).
enum TGridDrag { gdNone, gdColumnResize, gdColumnMove, gdRowResize, gdRowMove };

using TAfterRowMoveEvent = std::function<void(TObject* Sender, int FromPos, int ToPos)>;

// The grid's own cursors, registered with the screen by every grid.
constexpr TCursor crHeaderSplit = 3000, crColumnNoDrag = 3001, crRowSplit = 3003,
                  crIndicatorSelect = 3006;

class TNxCustomGrid : public TNxCustomGridControl, public TDragControl {
 public:
  explicit TNxCustomGrid(TComponent* AOwner);
  ~TNxCustomGrid() override;

  // Shows Text in the grid's hint window with its top-left corner at the client point
  // (X, Y), when the grid's form is the active one. It stays until the grid's next hint, the
  // mouse leaving the grid, the grid losing the focus, or a move over a place without hint.
  virtual void ShowHintAt(int X, int Y, const std::wstring& Text);
  void HideHint();
  THintKind HintKind() const { return FHintKind; }

  // --- what lies under a client point ---
  TGridZone GetGridZone(POINT P);
  // The creation index of the visible column over X (a shared edge belongs to the left
  // column), or -1.
  int ColumnAtX(int X);
  int RowAtY(int X, int Y);
  POINT CellAtPoint(POINT P);
  // The column whose right edge is within 3 pixels left to 2 right of X, or -1.
  int ResizeGripColumn(int X);
  // The row whose bottom border in the indicator is at Y, or -1.
  int RowResizeLine(int X, int Y);

  // --- drags ---
  TGridDrag Drag() const { return FDrag; }
  // Ends the running drag without applying it.
  void CancelDrag();
  // The position at which Column would land when dropped at the client point P.
  int DropPosition(TNxCustomColumn* Column, POINT P);
  // Shows the arrows at the column in position ToPos where the one in FromPos would land.
  void ShowDropArrows(int FromPos, int ToPos, bool ShowAtSame);
  // The row before which a row dropped at Y would land (RowCount after the last), or -1.
  int RowDropPosition(int Y);
  // The drag box's reports of a column move, screen points.
  void ColumnDragMove(TObject* Sender, int X, int Y);
  void ColumnDragDrop(TObject* Sender, int X, int Y);

  // --- keyboard ---
  // Selects the first shown row, below the selected one and wrapping (or from the top with
  // FromStart), whose text in column ACol starts with Text in any case.
  bool TypeAhead(int ACol, const std::wstring& Text, bool FromStart);
  // What the search timer does 700 ms after the last typed character.
  void ClearSearchBuffer();
  const std::wstring& SearchBuffer() const { return FSearchBuffer; }

  TCellEvent OnCellClick;
  TCellEvent OnCellDblClick;
  TColumnEvent OnHeaderClick;
  TColumnEvent OnHeaderDblClick;
  TColumnEvent OnFooterClick;
  TAfterRowMoveEvent OnAfterRowMove;

  void WndProc(TMessage& Message) override;

 protected:
  void CreateWnd() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  // A drag of the grid that ended without a drop: a press that kept the multi-selection for
  // it selects its row alone now.
  void DragCanceled() override;
  // One small step (a page with Ctrl) per wheel message: down or up while there is a vertical
  // range, else left or right when only the horizontal bar has one.
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, POINT MousePos) override;
  // A left or right press outside every zone, after any edit has ended.
  virtual void MouseDownOutside() {}
  // The navigation keys.
  virtual void KeyToAction(WORD& Key, TShiftState Shift);
  // Makes the hint window on the first hint.
  virtual void RecreateHintWindow();

  const TNxCustomColumn* HeaderDownColumn() const override { return ColumnOrNull(FClickedHeaderColumn); }
  const TNxCustomColumn* HeaderHotColumn() const override { return ColumnOrNull(FHotHeaderColumn); }

  void DoCellClick(int ACol, int ARow);
  void DoCellDblClick(int ACol, int ARow);
  void DoHeaderClick(int ACol);
  void DoHeaderDblClick(int ACol);
  void DoFooterClick(int ACol);

 private:
  TNxCustomColumn* ColumnOrNull(int ACol) const;
  bool IsEditingAny() const { return (FState & (kEditingCell | kEditingInput)) != 0; }
  int VisibleLeft(const TNxCustomColumn* Column);
  void ShowHintRect(RECT Rect, POINT At, const std::wstring& Text);
  void HeightChanged();
  void ScrollRowsBackIn();
  void WidthChanged();

  // grid_mouse.cpp
  // A column's click element readied for one cell; False when OnBeforeEdit refuses.
  bool PrepareCellPlay(int ACol, int ARow, bool FireBeforeEdit, const RECT& CellRect);
  // The column's click element when it may take a press or a key in its cells, else nullptr.
  TColumnPlay* EditablePlay(int ACol, int ARow);
  // Readies the element for the cell and, when agreed, runs React with the cell's top-left
  // corner, the grid's canvas drawing on the window meanwhile.
  void RunCellPlay(POINT Cell, bool FireBeforeEdit,
                   const std::function<void(TColumnPlay& Play, POINT CellOrigin)>& React);
  virtual void FillCellPlay(TColumnPlay*) {}
  virtual void PlayValueChanged(TColumnPlay*) {}
  virtual void PlayRowToggled(TColumnPlay*) {}
  void DoubleClick(int X, int Y);
  void CellPress(TMouseButton Button, TShiftState Shift);
  void PlayPress(TMouseButton Button, TShiftState Shift, int X, int Y);
  void PlayRelease(TMouseButton Button, TShiftState Shift, int X, int Y);
  void PlayHover(TShiftState Shift, int X, int Y);
  void PlayLeave(POINT Cell);
  void PlayKey(char& Key);
  bool ResetsMultiSelection(TMouseButton Button, int ARow);
  void HeaderPress(int X);
  void IndicatorPress(TMouseButton Button, int X, int Y);
  void CellRelease(TMouseButton Button, TShiftState Shift, int X, int Y);
  void HeaderSort(int PressedColumn, int X);
  void HeaderHover(TShiftState Shift, int X, int Y);
  void FooterHover(int X);
  void CellHover(TShiftState Shift, int X, int Y);
  void IndicatorHover(int X, int Y);
  void SetHotHeaderColumn(int ACol);
  bool TextFits(int ACol, int ARow);
  void ShowTextFitHint(int ACol, int ARow);
  void ShowCellHint(int ACol, int ARow, const std::wstring& Text);
  void ForgetPress();

  // grid_drag.cpp
  void CreateDragWindows();
  void FreeDragWindows();
  bool FinishDrag();
  bool TrackResize(int X, int Y);
  bool StartColumnResize(int X);
  void InvertColumnLine(int X);
  void TrackColumnResize(int X);
  void FinishColumnResize();
  bool ColumnMayMove(TShiftState Shift);
  void TryStartColumnMove(int X, int Y);
  bool InHeaderStrip(POINT P);
  bool MoveAllowed(const TNxCustomColumn* Column, int ToPos);
  bool StartRowResize(int X, int Y);
  void InvertRowLine(int Y);
  void TrackRowResize(int Y);
  void FinishRowResize();
  void TrackRowMove(TShiftState Shift, int X, int Y);
  int RowDropMarkerY();
  void ShowRowDropMarker();
  void HideRowDropMarker();
  void FinishRowMove();

  // grid_keys.cpp
  void PageUp();
  void PageDown();
  void MarkRowRange(int From, int To);
  void EnterKey();
  int SearchColumn() const;
  LRESULT DialogCode(LRESULT Inherited);

  POINT FDownPoint{-1, -1};
  POINT FDownCell{-1, -1};
  POINT FHoverCell{-1, -1};
  POINT FPrevHoverCell{-1, -1};
  bool FPressedCellWasSelected = false;
  bool FDeferredSelect = false;  // the last press left its select to a drag's cancel
  // Columns by creation index (-1: none), checked against the collection before each use.
  int FPressedHeaderColumn = -1;
  int FClickedHeaderColumn = -1;
  int FGripColumn = -1;
  TMouseButton FRowResizeButton = mbLeft;
  int FHotHeaderColumn = -1;
  int FHintedHeaderColumn = -1;
  int FHintedFooterColumn = -1;
  THintKind FHintKind = hkNone;
  int FLastClientHeight = 0;
  int FLastClientWidth = 0;
  std::wstring FSearchBuffer;
  TTimer* FSearchTimer;
  std::unique_ptr<TGridHintWindow> FHintWindow;

  TGridDrag FDrag = gdNone;
  bool FReleasingButton = false;  // a left release is being handled
  int FResizeColumn = -1;
  int FResizeDelta = 0;
  int FResizeLines[2] = {0, 0};  // x of the left and the right marker
  int FRowResizeRow = -1;
  int FRowResizeLine = -1;
  int FRowMoveSource = -1;
  int FDropRow = -1;
  TColumnDragBox* FDragBox = nullptr;
  TDragArrow* FUpperArrow = nullptr;  // points down at the drop place
  TDragArrow* FLowerArrow = nullptr;
};
