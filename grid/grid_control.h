// The engine of the data grid: appearance settings, row geometry, the selection, the scroll
// ranges and the column notices. Every question about rows and cells (how many rows, a row's
// height, a cell's text) is a virtual operation; the engine answers the neutral ones and
// leaves the data ones to TDataGrid (grid/data_grid.h), the class the programs create.
//
// Painting, the mouse, the keyboard and in-place editing build on the hooks declared here
// (Paint, PaintCell, StartEdit, EndEdit, ...), which do the least until those layers land.
//
// The columns are bound to the grid by its constructor (nothing can notify before it returns)
// and unbound in BeforeDestruction, while the whole grid still lives, so no column notice
// ever reaches a half-destroyed grid or a freed cell store.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "framework/forms.h"
#include "grid/columns.h"
#include "grid/cell_store.h"
#include "grid/scroll_control.h"

enum TGridStyle { gsReport, gsSlides };
enum TGridLinesStyle {
  lsNormal, lsActiveHorzOnly, lsActiveRows, lsFramed, lsHorizontalOnly, lsVerticalOnly
};
enum THeaderStyle {
  hsAuto, hsFlatBorders, hsOffice2007, hsOffice2010, hsOldStyle, hsOutlook, hsVista
};
enum TSortedStyle { soDefault, soDarker, soWhite };
enum TSelectionMoveDirection { mdNone, mdUp, mdDown, mdLeft, mdRight };
enum TInputEnterMode { imAllways, imEditing };
enum THomeEndBehaviour { hebTopBottom, hebLeftRight };
enum TDataChange {
  dcAddColumn, dcAddChildRow, dcAddRow, dcInsertColumn, dcInsertRow, dcDeleteColumn,
  dcDeleteRow, dcClearRows
};
enum TMoveSelectionKey { mkUndefined, mkArrows, mkTab, mkEnter };

enum TGridOption : uint32_t {
  goCanHideColumn = 1u << 0,
  goDisableColumnMoving = 1u << 1,
  goDisableKeys = 1u << 2,
  goEscClearEdit = 1u << 3,
  goFooter = 1u << 4,
  goGrid = 1u << 5,
  goHeader = 1u << 6,
  goIndicator = 1u << 7,
  goInput = 1u << 8,
  goLockFixedCols = 1u << 9,
  goMultiSelect = 1u << 10,
  goRowResizing = 1u << 11,
  goRowMoving = 1u << 12,
  goSecondClickEdit = 1u << 13,
  goSelectFullRow = 1u << 14,
  goUseDefaultValues = 1u << 15,
  goInplaceEditEvents = 1u << 16
};
using TGridOptions = uint32_t;

enum TAppearanceOption : uint16_t {
  ao3DGridLines = 1 << 0,
  aoAlphaBlendedSelection = 1 << 1,
  aoBoldTextSelection = 1 << 2,
  aoDontFillCells = 1 << 3,
  aoHideFocus = 1 << 4,
  aoHideSelection = 1 << 5,
  aoHighlightSlideCells = 1 << 6,
  aoHintMarks = 1 << 7,
  aoIndicateSelectedCell = 1 << 8,
  aoIndicateSortedColumn = 1 << 9
};
using TAppearanceOptions = uint16_t;

// The grid's slide options (a set of its own, beside the columns' slide options).
enum TGridSlideOption : uint8_t { soFrame = 1, soHideSelection = 2 };
using TGridSlideOptions = uint8_t;

enum TCellStateFlag : uint8_t {
  csBoldTextSelection = 1, csEmpty = 2, csFocused = 4, csSelected = 8
};
using TCellState = uint8_t;

// The grid's border: none or the sunken client edge.
using TBorderStyle = TFormBorderStyle;  // bsNone or bsSingle

// The grid's parts, for refreshing and geometry.
enum TGridPart { gpBody = 1, gpFooter = 2, gpHeader = 3, gpIndicator = 4, gpInput = 5 };

// Widths of the grid lines (LineWidth): left 3D line, top 3D line, right line, bottom line,
// and the extra height every row takes.
enum TLineKind { lkLeft3D, lkTop3D, lkRight, lkBottom, lkRowExtra };

constexpr int kIndicatorWidth = 12;

// Events. Answers come back through the reference parameters, preset to the default answer.
using TCellEvent = std::function<void(TObject* Sender, int ACol, int ARow)>;
using TColumnEvent = std::function<void(TObject* Sender, int ACol)>;
using TChangeEvent = TCellEvent;
using TColumnResizeEvent = TColumnEvent;
using TBeforeEditEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool& Accept)>;
using TCellHintEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, std::wstring& Value)>;
using TCellShowingEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, bool& Showing)>;
using TCellColoringEvent = std::function<void(TObject* Sender, int ACol, int ARow,
                                              TColor& CellColor, TColor& GridColor,
                                              TCellState CellState)>;
using TSortColumnEvent = std::function<void(TObject* Sender, int ACol, bool Ascending)>;
using TDataChangeEvent =
    std::function<void(TObject* Sender, TDataChange AChangeType, int AIndex)>;
using TColumnMoveEvent =
    std::function<void(TObject* Sender, int ACol, int FromPos, int ToPos)>;
using TRowMoveEvent =
    std::function<void(TObject* Sender, int FromPos, int ToPos, bool& Accept)>;
using TCalculateRowEvent = std::function<void(TObject* Sender, int Index, bool& Accept)>;
using TColumnFooterValueEvent = std::function<void(TObject* Sender, int ACol, double& Value)>;
using TFooterCalculateEvent = TColumnFooterValueEvent;
using TLoadProgressEvent = TCellEvent;
using TMeasuringRowHeightEvent =
    std::function<void(TObject* Sender, int Index, int& RowHeight)>;
using TChangeRowHeightEvent = std::function<void(TObject* Sender, int Index, int Height)>;
using TApplyCellEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, std::wstring& Value)>;
using TSelectionMoveEvent = std::function<void(TObject* Sender, int& ACol, int ARow,
                                               TMoveSelectionKey Key)>;
using TEditEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, const std::wstring& Value)>;
using TEditAcceptEvent = std::function<void(TObject* Sender, int ACol, int ARow,
                                            const std::wstring& Value, bool& Accept)>;
using TEditTextEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, std::wstring& Value)>;
using TApplyEditText = TEditTextEvent;
using TEndEditingEvent = std::function<void(TObject* Sender, int ACol, int ARow,
                                            std::wstring& Value, bool& Accept)>;
using TInputAcceptEvent = std::function<void(TObject* Sender, bool& Accept)>;

class TNxCustomEdit;

// --- painting ---
enum TSlideStateFlag : uint8_t { stFocused = 1, stSelected = 2 };
using TSlideState = uint8_t;
using TCustomDrawCellEvent = std::function<void(TObject* Sender, int ACol, int ARow,
                                                const RECT& CellRect, TCellState CellState)>;
using TCustomDrawHeaderEvent =
    std::function<void(TObject* Sender, int Index, const RECT& HeaderRect)>;
using TCustomDrawFooterEvent =
    std::function<void(TObject* Sender, int Index, const RECT& FooterRect)>;
using TCustomDrawIndicatorEvent =
    std::function<void(TObject* Sender, int Index, const RECT& IndicatorRect, bool Selected,
                       bool Highlighted)>;
using TDrawCellBackgroundEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, const RECT& CellRect,
                       TCellState CellState, bool& DefaultDrawing)>;
using TSlideColoringEvent = std::function<void(TObject* Sender, int Index, TColor& SlideColor,
                                               TColor& GridColor, TSlideState SlideState)>;

class TStyleDisplay;
class TColumnDisplay;
namespace grid {
class ClipKeeper;
}

class TNxCustomGridControl : public TNxScrollControl, public IColumnsGrid, public ICellColors {
 public:
  explicit TNxCustomGridControl(TComponent* AOwner);
  ~TNxCustomGridControl() override;
  void BeforeDestruction() override;

  TNxColumns* Columns() const { return FColumns.get(); }

  // --- settings ---
  TAppearanceOptions AppearanceOptions() const { return FAppearanceOptions; }
  void SetAppearanceOptions(TAppearanceOptions Value);
  bool AutoScroll() const { return FAutoScroll; }
  void SetAutoScroll(bool Value) { FAutoScroll = Value; }
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  const std::wstring& Caption() const { return FCaption; }
  void SetCaption(const std::wstring& Value);
  bool EnableVisualStyles() const { return FEnableVisualStyles; }
  void SetEnableVisualStyles(bool Value);
  int FixedCols() const { return FFixedCols; }
  void SetFixedCols(int Value);
  int FooterSize() const { return FFooterSize; }
  void SetFooterSize(int Value);
  TColor GridLinesColor() const { return FGridLinesColor; }
  void SetGridLinesColor(TColor Value);
  TGridLinesStyle GridLinesStyle() const { return FGridLinesStyle; }
  void SetGridLinesStyle(TGridLinesStyle Value);
  TGridStyle GridStyle() const { return FGridStyle; }
  void SetGridStyle(TGridStyle Value);
  int HeaderSize() const { return FHeaderSize; }
  void SetHeaderSize(int Value);
  THeaderStyle HeaderStyle() const { return FHeaderStyle; }
  void SetHeaderStyle(THeaderStyle Value);
  bool HideScrollBar() const { return FHideScrollBar; }
  void SetHideScrollBar(bool Value);
  TColor HighlightedTextColor() const { return FHighlightedTextColor; }
  void SetHighlightedTextColor(TColor Value);
  TColor InactiveSelectionColor() const { return FInactiveSelectionColor; }
  void SetInactiveSelectionColor(TColor Value);
  int InputSize() const { return FInputSize; }
  void SetInputSize(int Value);
  TGridOptions Options() const { return FOptions; }
  void SetOptions(TGridOptions Value);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value) { FReadOnly = Value; }
  int RowSize() const { return FRowSize; }
  TColor SelectionColor() const { return FSelectionColor; }
  void SetSelectionColor(TColor Value) { FSelectionColor = Value; }
  TSelectionMoveDirection SelectionMoveDirection() const { return FSelectionMoveDirection; }
  void SetSelectionMoveDirection(TSelectionMoveDirection Value) { FSelectionMoveDirection = Value; }
  TGridSlideOptions SlidesOptions() const { return FSlidesOptions; }
  void SetSlidesOptions(TGridSlideOptions Value);
  TColor SlideSelectionColor() const { return FSlideSelectionColor; }
  void SetSlideSelectionColor(TColor Value);
  int SlideSize() const { return FSlideSize; }
  void SetSlideSize(int Value);
  TSortedStyle SortedStyle() const { return FSortedStyle; }
  void SetSortedStyle(TSortedStyle Value);
  const std::string& Version() const { return FVersion; }
  bool WantReturns() const { return FWantReturns; }
  void SetWantReturns(bool Value) { FWantReturns = Value; }
  bool WantTabs() const { return FWantTabs; }
  void SetWantTabs(bool Value) { FWantTabs = Value; }
  // Set while a stored column layout is read (column_layout.h): column writers only store.
  void SetLayoutReading(bool Value) { FLayoutReading = Value; }
  // The reading direction a cell editor takes when it opens.
  TBiDiMode BiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TBiDiMode Value) { FBiDiMode = Value; }
  TInputEnterMode InputEnterMode() const { return FInputEnterMode; }
  void SetInputEnterMode(TInputEnterMode Value) { FInputEnterMode = Value; }
  THomeEndBehaviour HomeEndBehaviour() const { return FHomeEndBehaviour; }
  void SetHomeEndBehaviour(THomeEndBehaviour Value) { FHomeEndBehaviour = Value; }
  bool TabLeaveControl() const { return FTabLeaveControl; }
  void SetTabLeaveControl(bool Value) { FTabLeaveControl = Value; }

  // --- state ---
  int TopRow() const { return FTopRow; }
  int FirstShownRow() const { return FFirstShownRow; }
  int LastShownRow() const { return FLastShownRow; }
  int SelectedColumn() const override { return FSelectedColumn; }
  int SelectedRow() const { return FSelectedRow; }
  bool InputSelected() const { return FInputSelected; }
  int InputColumn() const { return FInputColumn; }
  POINT EditingCell() const { return FEditingCell; }
  TNxCustomColumn* LastSortedColumn() const { return FLastSortedColumn; }
  int UpdateCount() const { return FUpdateCount; }
  int LastPaintedRow() const { return FLastPaintedRow; }
  // The grid's window or its in-place editor has the keyboard focus.
  bool Focused();

  // --- questions about rows and cells (TDataGrid answers the data ones) ---
  virtual bool CanEdit() { return true; }
  virtual bool CanSelectCell(int ACol, int ARow);
  virtual TColor GetCellColor(int ACol, int ARow);
  virtual void GetCellHint(int ACol, int ARow, std::wstring& Hint);
  virtual void GetCellInfo(int ACol, int ARow, TCellInfo& Info) = 0;
  virtual std::wstring GetCellText(int ACol, int ARow) = 0;
  virtual void GetDrawText(int ACol, int ARow, std::wstring& Text) = 0;
  virtual int GetFirstShownRow() = 0;
  virtual void GetHintText(int ACol, int ARow, std::wstring& Text) = 0;
  virtual int GetHorzScrollExtent();
  virtual int GetLastShownRow() = 0;
  virtual int RowCount() = 0;
  virtual int GetRowHeight(int Index);
  virtual int GetRowParent(int) { return -1; }
  virtual int GetRowLevel(int) { return 0; }
  virtual bool GetRowShown(int) { return true; }
  virtual bool GetRowSelected(int Index) = 0;
  virtual int GetSelectedCount();
  virtual int GetSelectedRow() { return FSelectedRow; }
  virtual int GetVisibleRowCount();
  virtual int GetShownRowCount() = 0;
  virtual bool GetClipPartialRows() { return false; }
  // Every cell's text, Delimiter-separated, a row a line (CR LF inside a cell as "%" CR LF),
  // in the ANSI code page.
  virtual void ExportToBuffer(char Delimiter, std::string& Buffer);
  virtual bool IsCellHidden(int ACol, int ARow);
  virtual void SetCellText(int ACol, int ARow, const std::wstring& Value) = 0;
  TColor GetCellDrawColor(int ACol, int ARow) override;
  TColor GetCellTextColor(int ACol, int ARow) override;
  virtual void GetCellRect(int ACol, int ARow, RECT& Rect);

  // --- rows ---
  virtual int AddRow(int Count = 1) = 0;
  virtual void CalculateFooter(bool ShownOnly) = 0;
  virtual void ClearRows();
  virtual void DeleteRow(int Index);
  virtual void InsertRow(int Index);
  virtual void MoveRow(int FromPos, int ToPos);
  virtual void ExchangeRows(int Index1, int Index2) = 0;
  virtual void DeselectAllRows();
  virtual void SetRowVisible(int Index, bool Visible);
  bool RowVisible(int Index) { return GetRowShown(Index); }
  virtual void SetRowSelected(int Index, bool Value) = 0;
  virtual void SelectRowRange(int FromRow, int ToRow, bool Value) = 0;
  virtual void SetRowSize(int Value);
  virtual void DoChangeRowHeight(int Index, int Height);
  virtual void SortColumn(TNxCustomColumn* Column, bool Ascending);
  virtual void ApplyColumnStyle(int) {}
  bool AcceptRowMove(int FromPos, int ToPos);
  bool AcceptCalculateRow(int Index);

  // --- selection ---
  virtual void SelectCell(int ACol, int ARow, TShiftState Shift = 0,
                          bool ResetMultiSelect = true, bool StartEditing = false);
  virtual void SelectRow(int Index);
  virtual void SelectFirstRow(TShiftState Shift);
  virtual void SelectLastRow(TShiftState Shift);
  virtual void MoveSelectionDown(TShiftState Shift, bool LeaveAtEnd, bool WrapAtEnd);
  virtual void MoveSelectionUp(TShiftState Shift);
  void SelectColumn(int ACol);
  void SelectFirstColumn();
  void SelectLastColumn();
  void MoveSelectionLeft(TMoveSelectionKey Key);
  void MoveSelectionRight(TMoveSelectionKey Key);
  void MoveSelectionBy(int Delta);
  void TabForward(bool FromKey);
  void TabBackward(bool FromKey);
  void SelectAllRows();
  void ClearSelection();
  bool IsMultiSelect() const;
  bool IsCellHighlighted(int ACol, int ARow);
  POINT GetSelectedCell() const { return {FSelectedColumn, FSelectedRow}; }
  void SetSelectedCellRaw(int ACol, int ARow);
  void SetInputSelected(bool Value);
  bool IsValidCell(int ACol, int ARow);
  bool IsValidRow(int Row);

  // --- scrolling ---
  void ScrollToRow(int ARow);
  void ScrollToColumn(TNxCustomColumn* Column);
  void ScrollAfterColumnResize(TNxCustomColumn* Column, int Delta, bool HeaderOnly);
  virtual void UpdateHorzScrollBar();
  virtual void UpdateVertScrollBar();
  int HorzScrollDelta(int OldPos, int NewPos) override;
  int VertScrollDelta(int OldPos, int NewPos) override;

  // --- geometry ---
  int GetRowAtViewOffset(int N);
  int GetCellTop(int ACol, int ARow);
  RECT GetBodyRect();
  RECT GetHeaderRect();
  RECT GetFooterRect();
  RECT GetIndicatorRect();
  RECT GetInputRect();
  RECT GetInputCellRect(int ACol);
  RECT GetRowRect(int Row);
  int GetRowTop(int Row);
  // Whether nothing of the row shows because it starts below the rows' area; costs the rows
  // in view however far down the row is.
  bool RowBelowBody(int Row);
  RECT GetSlideRect(int Row);
  int GetSlideTop(int Row);
  RECT GetScrollingRect();
  int GetFixedColumnsWidth();
  int LineWidth(TLineKind Kind) const { return FLineWidth[Kind]; }
  int LastRowInView();
  int GetRowsInView(bool IncludeAbove);
  int CountShownRows(int From, int To);
  int AvailableColumnsWidth() const override;

  // --- sizing ---
  int MeasureCellHeight(int ACol, int ARow);
  int MeasureCellWidth(int ACol, int ARow);  // the text's width, as its painter lays it out
  void AutoSizeRowHeight(int ARow);
  // Part 1: the cells only; 2: the header only; else both.
  void AutoSizeColumn(int ACol, int Part, bool ShownOnly);

  // --- invalidation ---
  void RefreshRect(const RECT& Rect);
  void BeginUpdate();
  void EndUpdate();
  bool IsUpdating() const { return FUpdateCount > 0; }
  void RefreshPart(TGridPart Part);
  void RefreshRows(int From, int To);
  void RefreshRow(int Row, bool FrameOnly);
  void RefreshRowLine(int Row);
  void RefreshRowsFrom(int From, int To);
  void RefreshIndicator(int Row);
  void RefreshSlide(int Row, bool FrameOnly);
  void RefreshCell(int ACol, int ARow);
  void RefreshColumn(TNxCustomColumn* Column, int Part) override;
  void RefreshColumnAll(TNxCustomColumn* Column);
  void RefreshSelection();

  // --- in-place editing and the input row (grid_editing.cpp) ---
  // Opens the column's editor on the cell; a non-empty Text replaces the cell's text as the
  // text the editor starts with.
  virtual void StartEdit(int ACol, int ARow, const std::wstring& Text);
  // Opens the editor on the cell because the user typed Key: it starts with Key alone.
  void StartEditWithKey(int ACol, int ARow, wchar_t Key);
  // The same for the input row's cell of a column.
  void StartInputEdit(int ACol, const std::wstring& Text);
  void StartInputEditWithKey(int ACol, wchar_t Key);
  // Closes the editor (unless OnEndEditing refuses); the text goes nowhere.
  virtual void EndEdit();
  // Takes the editor's text into the cell (through the cell's conversion, which may raise)
  // or into the column's InputValue; false when nothing was stored.
  virtual bool ApplyEdit();
  // Places, shows and focuses the open editor over its cell; hides it while the cell lies
  // outside the rows area.
  virtual void ShowEditor();
  // Adds a row from the columns' input values (DefaultValue where one is empty).
  virtual void CommitInputLine();
  virtual void SetEditCellText(const std::wstring& Value);
  bool IsEditing() const { return (FState & kEditingCell) != 0; }
  bool IsEditingInput() const { return (FState & kEditingInput) != 0; }
  TNxCustomEdit* Editor() const { return FEditor; }

  // --- events ---
  TEditEvent OnAfterEdit;
  TColumnEvent OnAfterSort;
  TApplyEditText OnApplyEditText;
  TBeforeEditEvent OnBeforeEdit;
  TEditEvent OnEdit;
  TEditAcceptEvent OnEditAccept;
  TNotifyEvent OnEditEnter;
  TNotifyEvent OnEditExit;
  TEditTextEvent OnEditText;
  TEndEditingEvent OnEndEditing;
  TInputAcceptEvent OnInputAccept;
  TNotifyEvent OnInputAdded;
  TApplyCellEvent OnApplyCell;
  TBeforeEditEvent OnBeforeSelect;
  TCalculateRowEvent OnCalculateRow;
  TCellColoringEvent OnCellColoring;
  TCellHintEvent OnCellHint;
  TCellShowingEvent OnCellShowing;
  TChangeEvent OnChange;
  TChangeRowHeightEvent OnChangeRowHeight;
  TColumnFooterValueEvent OnColumnFooterValue;
  TColumnMoveEvent OnColumnMove;
  TColumnResizeEvent OnColumnResize;
  TDataChangeEvent OnDataChange;
  TCellEvent OnDeselectCell;
  TFooterCalculateEvent OnFooterCalculate;
  TColumnEvent OnInputSelectCell;
  TLoadProgressEvent OnLoadProgress;  // kept for the layouts that bind it; never raised
  TMeasuringRowHeightEvent OnMeasuringRowHeight;
  TNotifyEvent OnPostDraw;
  TRowMoveEvent OnRowMove;
  TCellEvent OnSelectCell;
  TSelectionMoveEvent OnSelectionMove;
  TColumnEvent OnSlideChange;
  TSortColumnEvent OnSortColumn;


  void WndProc(TMessage& Message) override;

  // --- painting (grid/grid_paint.cpp) ---
  // The painter of header, footer, input and indicator cells that HeaderStyle selects.
  TStyleDisplay& ActiveStyleDisplay();
  TStyleDisplay& StyleDisplay(THeaderStyle Style);
  TDrawingOptions IndicatorDrawingOptions() const { return FIndicatorDrawingOptions; }
  void SetIndicatorDrawingOptions(TDrawingOptions Value);
  TColor SlideCaptionColor() const { return FSlideCaptionColor; }
  void SetSlideCaptionColor(TColor Value);
  // Draws the control's border in the window's frame: the look of the header style.
  void UpdateBorder();
  TCustomDrawCellEvent OnCustomDrawCell;
  TCustomDrawFooterEvent OnCustomDrawFooter;
  TCustomDrawHeaderEvent OnCustomDrawHeader;
  TCustomDrawIndicatorEvent OnCustomDrawIndicator;
  TDrawCellBackgroundEvent OnDrawCellBackground;
  TSlideColoringEvent OnSlideColoring;

 protected:
  virtual void PaintReport();
  virtual void PaintRows();
  virtual void PaintColumnParts();
  virtual void PaintSlideView();
  virtual void PaintSlideHeader();
  virtual void PaintSlides();
  virtual void PaintCell(int ACol, int ARow);
  virtual void PaintIndicatorCell(int Row, bool Selected, bool Highlighted);
  virtual void PrepareColumnDisplay(int, int, TColumnDisplay*) {}
  virtual void DoCustomDrawHeader(int Index, const RECT& Rect);
  virtual void DoCustomDrawFooter(int Index, const RECT& Rect);

 protected:
  static constexpr uint16_t kEditingCell = 8;
  static constexpr uint16_t kEditingInput = 64;
  static constexpr uint16_t kMultiSelected = 128;

  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
  virtual void FormatCellText(int, int, TCellState, const std::wstring&) {}
  virtual bool PrepareCellCanvas(int ACol, int ARow, TCellState CellState);
  virtual void GridStyleChanged() {}
  // The editor's events: its text changed, focus, keys (which go on to the grid's own).
  virtual void AttachEditorEvents();
  virtual void EditorShown() {}
  void EditorChange();
  void EditorKeyDown(WORD& Key, TShiftState Shift);
  void AfterScroll(TScrollBarKind Kind) override;
  void Notification(TComponent* Component, TOperation Operation) override;
  RECT VertScrollArea() override;
  RECT HorzScrollArea() override;

  // Column notices and the collection's links.
  void ColumnChanged(TNxCustomColumn* Column, int Kind, int Value) override;
  void ColumnsDataChanged(int Kind, int Index, int Extra) override;
  void ColumnsCollectionChanged(int Kind, int Index, int Extra) override;
  virtual void ColumnsDataChange(int Kind, int Index, int Extra);
  bool ColumnsLoading() const override { return FLayoutReading; }
  int ColumnsLeft() const override;
  bool IndicatorShown() const override { return (FOptions & goIndicator) != 0; }
  int HorzScrollPos() const override;
  const TFont& GridFont() const override;
  RECT BandRect(int Part) const override;
  const TNxCustomColumn* HeaderDownColumn() const override { return nullptr; }
  const TNxCustomColumn* HeaderHotColumn() const override { return nullptr; }

  // Event dispatch: each does nothing when no handler is set.
  void DoBeforeSelect(int ACol, int ARow, bool& Accept);
  void DoSelectCell(int ACol, int ARow);
  void DoDeselectCell(int ACol, int ARow);
  void DoChange(int ACol, int ARow);
  void DoDataChange(TDataChange Kind, int Index);
  void DoSortColumn(int ACol, bool Ascending);
  void DoAfterSort(int ACol);
  void DoCellHint(int ACol, int ARow, std::wstring& Value);
  void DoMeasuringRowHeight(int Index, int& Height);

  void UpdateLineWidths();
  int RowExtent(int Row);  // height a shown row takes in the current style, lines excluded
  // The first shown row at or after Index (Index when none); the last at or before it.
  int FirstShownFrom(int Index);
  int LastShownUpTo(int Index);
  TCellState CellStateOf(int ACol, int ARow);

  std::unique_ptr<TNxColumns> FColumns;
  int FTopRow = 0;
  int FFirstShownRow = 0;
  int FLastShownRow = 0;
  int FSelectedColumn = 0;
  int FSelectedRow = -1;
  int FSelectionAnchor = -1;
  int FLastPaintedRow = 0;
  int FUpdateCount = 0;
  uint16_t FState = 0;
  bool FInputSelected = false;
  int FInputColumn = -1;
  POINT FEditingCell{-1, -1};
  TNxCustomColumn* FLastSortedColumn = nullptr;

 private:
  int RowTopUpTo(int Row, int Limit);
  int RowsFitFrom(int From, int Height);
  void MoveSelectionTo(TNxCustomColumn* Column, TMoveSelectionKey Key);
  bool ColumnAutoEdit(int ACol);  // a selection moved by key opens the editor
  void MarkMultiSelection(int ARow, int OldRow, TShiftState Shift);
  void MarkSelection(int ACol, int ARow, int OldCol, int OldRow);
  void RefreshRowOrSlide(int Row);
  SIZE MeasureCell(int ACol, int ARow);

  // grid_editing.cpp
  void SetEditor(TNxCustomEdit* Editor);
  void ForgetEditor();
  bool CloseEditing();
  bool OpenCellEditor(int ACol, int ARow);
  void AttachColumnEditor(TNxCustomColumn* Column, int ARow);
  void PlaceCaret(TNxCustomColumn* Column);
  void EditorFocusChanged(bool Lost);
  bool EditorHasFocus();

  TNxCustomEdit* FEditor = nullptr;
  bool FEditorEventsBound = false;
  bool FSuppressEditorChange = false;

  // --- painting ---
  void ClipTo(const RECT& Rect);  // the paint's own clip narrowed to Rect
  void ResetClip();
  // Rect widened by the line widths, cut at the body's bottom.
  void ClipToBody(const RECT& Rect);
  void ClipCell(RECT Rect, const TNxCustomColumn* Column);
  bool IsColumnInView(const TNxCustomColumn* Column);
  void PaintCellBackgroundOnly(int ACol, int ARow);
  void PaintGridLines(int ACol, int ARow, TColor Color, const RECT& Rect);
  void PaintFocusRect();
  int PaintHeaders();  // the slides' header cells; answers where they end
  void PaintSlideCaption(int ACol, int Row);
  void PaintRightOfColumns();
  void PaintCaption();
  RECT GetCaptionRect();
  std::unique_ptr<TStyleDisplay> FStyleDisplays[7];
  grid::ClipKeeper* FPaintClip = nullptr;  // while Paint runs
  TDrawingOptions FIndicatorDrawingOptions = doNormal;

  TAppearanceOptions FAppearanceOptions = aoHideSelection | aoHighlightSlideCells;
  bool FAutoScroll = false;
  TBorderStyle FBorderStyle = bsSingle;
  std::wstring FCaption;
  bool FEnableVisualStyles = true;
  int FFixedCols = 0;
  int FFooterSize = 18;
  TColor FGridLinesColor = clBtnFace;
  TGridLinesStyle FGridLinesStyle = lsNormal;
  int FLineWidth[5] = {0, 0, 0, 0, 0};
  TGridStyle FGridStyle = gsReport;
  int FHeaderSize = 18;
  THeaderStyle FHeaderStyle = hsAuto;
  bool FHideScrollBar = true;
  TColor FHighlightedTextColor = clHighlightText;
  TColor FInactiveSelectionColor = clBtnFace;
  int FInputSize = 16;
  TGridOptions FOptions = goHeader;
  bool FReadOnly = false;
  int FRowSize = 16;
  TColor FSelectionColor = clHighlight;
  TSelectionMoveDirection FSelectionMoveDirection = mdDown;
  TGridSlideOptions FSlidesOptions = soFrame | soHideSelection;
  TColor FSlideSelectionColor = clWindow;
  int FSlideSize = 80;
  TSortedStyle FSortedStyle = soDefault;
  std::string FVersion = "5.7.5";
  bool FWantReturns = false;
  bool FWantTabs = false;
  TBiDiMode FBiDiMode = bdLeftToRight;
  bool FLayoutReading = false;
  TColor FSlideCaptionColor = clGrayText;
  TInputEnterMode FInputEnterMode = imEditing;
  THomeEndBehaviour FHomeEndBehaviour = hebTopBottom;
  bool FTabLeaveControl = true;
};
