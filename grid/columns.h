// The grid's columns: `TNxCustomColumn` (the base of the text, number and picture columns in
// grid/column_kinds.h) and the collection `TNxColumns`, which lists them by index (creation
// order: the ACol of every cell operation) and by position (display order).
//
// Every property change of a column goes to its grid as a numbered notice through
// IColumnsGrid, which the grid control implements; the collection also keeps each column's
// Left and VisibleIndex and shares the free room among the auto-size columns.
//
//   TNxColumns columns(&grid);                      // the grid: an IColumnsGrid
//   auto* name = columns.Add(std::make_unique<TNxTextColumn>());
//   name->SetWidth(120);                            // notice 10 with the change in pixels
//   name->SetSorted(true);                          // notice 9 to the old sorted column, then 5
//
// The collection owns its columns; deleting a column takes it out of its collection.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "grid/column_display.h"
#include "grid/column_play.h"
#include "grid/grid_types.h"

class TCanvas;
class TColumnFooter;
class TColumnHeader;
class TNxColumns;
class TNxCustomColumn;
class TComponent;
class TNxCustomEdit;
class TNxSlideBounds;
class TGraphic;
class TObject;

// Column notice kinds (the grid's column-changed link).
enum TColumnNotice {
  cnInputValue = 1,
  cnPosition = 2,      // Value: the old position
  cnSlide = 4,
  cnSortedOn = 5,
  cnSortChanged = 6,
  cnAppearance = 7,
  cnVisible = 8,
  cnSortedOff = 9,
  cnWidth = 10         // Value: the change in pixels
};

// Column parts to refresh (the grid's RefreshColumn).
enum TColumnPartKind { cpWhole = 0, cpBody = 1, cpFooter = 2, cpHeader = 3, cpInput = 4 };

// What the columns tell their grid and ask of it. The grid implements it and binds itself
// with TNxColumns::SetGrid; a collection without a grid (or one whose grid is going away)
// tells nobody.
class IColumnsGrid {
 public:
  // The three links: a column's notice, the cell store's data notices (0 add, 1 delete,
  // 2 clear, 3 insert, 4 move), and the collection's own changes.
  virtual void ColumnChanged(TNxCustomColumn* Column, int Kind, int Value) = 0;
  virtual void ColumnsDataChanged(int Kind, int Index, int Extra) = 0;
  virtual void ColumnsCollectionChanged(int Kind, int Index, int Extra) = 0;
  virtual void RefreshColumn(TNxCustomColumn* Column, int Part) = 0;

  virtual bool ColumnsLoading() const = 0;        // the grid's layout is being read
  virtual int ColumnsLeft() const = 0;            // left of the body rectangle
  virtual int AvailableColumnsWidth() const = 0;  // client width less the indicator
  virtual bool IndicatorShown() const = 0;
  virtual int HorzScrollPos() const = 0;
  virtual const TFont& GridFont() const = 0;
  // The footer (0), header (1) or input (4) band of the grid.
  virtual RECT BandRect(int Part) const = 0;
  virtual int SelectedColumn() const = 0;
  virtual const TNxCustomColumn* HeaderDownColumn() const = 0;
  virtual const TNxCustomColumn* HeaderHotColumn() const = 0;

 protected:
  ~IColumnsGrid() = default;
};

enum TColumnOption : uint16_t {
  coAutoSize = 1 << 0,
  coCanClick = 1 << 1,
  coCanInput = 1 << 2,
  coCanSort = 1 << 3,
  coDisableMoving = 1 << 4,
  coDontHighlight = 1 << 5,
  coEditing = 1 << 6,
  coEditorAutoSelect = 1 << 7,
  coFixedSize = 1 << 8,
  coImageForIcon = 1 << 9,
  coPublicUsing = 1 << 10,
  coFullResort = 1 << 11,
  coSearchColumn = 1 << 12,
  coShowTextFitHint = 1 << 13,
  coTextForCaption = 1 << 14
};
using TColumnOptions = uint16_t;

// Capability flags a column class answers with GetCapabilities.
enum TColumnCapability : uint8_t {
  ccPlayWithoutEditing = 1,
  ccEditable = 2,
  ccNeverSorted = 4,
  ccFitOnGripClick = 8,
  ccEditorRedraws = 16,
  ccTextKind = 32,
  ccEditorTakesEnter = 64
};

enum TEditKind : uint8_t { ekCell = 1, ekInput = 2 };
using TEditKinds = uint8_t;
constexpr uint8_t doMultiLine = 1;  // GetDisplayOptions: the cell text may span lines

enum TSlideCatpionLocation { clLeft, clTop };
enum TSlideOption : uint8_t { soAutoSize = 1 };
using TSlideOptions = uint8_t;

// What the grid reads of one cell for its column: the typed values and the attached object.
struct TCellInfo {
  bool AsBoolean = false;
  double AsDateTime = 0;
  double AsFloat = 0;
  int AsInteger = 0;
  std::wstring AsString;
  TGraphic* ObjectReference = nullptr;  // the cell's picture
};

class TNxCustomColumn {
 public:
  TNxCustomColumn();
  virtual ~TNxCustomColumn();
  TNxCustomColumn(const TNxCustomColumn&) = delete;
  TNxCustomColumn& operator=(const TNxCustomColumn&) = delete;

  std::string Name;
  intptr_t Tag = 0;
  std::string StyleClass;
  TObject* ObjectReference = nullptr;

  TNxColumns* Columns() const { return FColumns; }
  int Index() const;

  // --- properties ---
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  bool AutoEdit() const { return FAutoEdit; }
  void SetAutoEdit(bool Value) { FAutoEdit = Value; }
  TBiDiMode BiDiMode() const { return FBiDiMode; }
  void SetBiDiMode(TBiDiMode Value);
  TColor Color() const { return FColor; }
  // Repaints the column; cells made earlier keep the colour they copied.
  void SetColor(TColor Value);
  uint8_t ColumnKind() const { return FColumnKind; }
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  const std::wstring& DefaultValue() const { return FDefaultValue; }
  void SetDefaultValue(const std::wstring& Value) { FDefaultValue = Value; }
  int DefaultWidth() const { return FDefaultWidth; }
  void SetDefaultWidth(int Value) { FDefaultWidth = Value; }
  TDrawingOptions DrawingOptions() const { return FDrawingOptions; }
  void SetDrawingOptions(TDrawingOptions Value);
  bool Enabled() const { return FEnabled; }
  // No notice: the grid reads the flag when a cell is selected or edited.
  void SetEnabled(bool Value) { FEnabled = Value; }
  TFont* Font() const { return FFont.get(); }
  void SetFont(const TFont* Value);
  TColumnFooter* Footer() const { return FFooter.get(); }
  void SetFooter(const TColumnFooter& Value);
  TColumnHeader* Header() const { return FHeader.get(); }
  void SetHeader(const TColumnHeader& Value);
  // An outside editor (a form's) the column edits with instead of its own; forgotten when
  // that editor is freed.
  TNxCustomEdit* InplaceEdit() const { return FInplaceEdit; }
  void SetInplaceEdit(TNxCustomEdit* Value);
  const std::wstring& InputCaption() const { return FInputCaption; }
  void SetInputCaption(const std::wstring& Value);
  const std::wstring& InputValue() const { return FInputValue; }
  // Set by the grid while this column's input cell is edited.
  bool InputEditing() const { return FInputEditing; }
  void SetInputEditing(bool Value) { FInputEditing = Value; }
  void SetInputValue(const std::wstring& Value);
  int Left() const { return FLeft; }
  TColumnOptions Options() const { return FOptions; }
  void SetOptions(TColumnOptions Value);
  bool ParentCellColor() const { return FParentCellColor; }
  void SetParentCellColor(bool Value);
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool Value);
  int Position() const { return FPosition; }
  void SetPosition(int Value);
  TNxSlideBounds* SlideBounds() const { return FSlideBounds.get(); }
  void SetSlideBounds(const TNxSlideBounds& Value);
  const std::string& SlideCaption() const { return FSlideCaption; }
  void SetSlideCaption(const std::string& Value);
  TSlideCatpionLocation SlideCaptionLocation() const { return FSlideCaptionLocation; }
  void SetSlideCaptionLocation(TSlideCatpionLocation Value);
  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  TSortKind SortKind() const { return FSortKind; }
  void SetSortKind(TSortKind Value);
  TSortType SortType() const { return FSortType; }
  void SetSortType(TSortType Value);
  TVerticalAlignment VerticalAlignment() const { return FVerticalAlignment; }
  void SetVerticalAlignment(TVerticalAlignment Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  int VisibleIndex() const { return FVisibleIndex; }
  int Width() const { return FWidth; }
  void SetWidth(int Value);
  TWrapKind WrapKind() const { return FWrapKind; }
  void SetWrapKind(TWrapKind Value);
  int MinWidth() const { return FMinWidth; }
  // The current Width is left as it is; the bound applies to the next width set.
  void SetMinWidth(int Value) { FMinWidth = Value; }
  int Padding() const { return FPadding; }
  void SetPadding(int Value);
  TSlideOptions SlideOptions() const { return FSlideOptions; }
  void SetSlideOptions(TSlideOptions Value);
  TAnchors SlideAnchors() const { return FSlideAnchors; }
  void SetSlideAnchors(TAnchors Value) { FSlideAnchors = Value; }

  // --- queries ---
  int ScreenLeft() const;
  // Footer (0), header (1) or input (4) band of this column; other parts leave Rect alone.
  void GetPartRect(int Part, RECT& Rect) const;
  RECT SlideRect() const;
  int SlideWidth() const;
  bool IsFirstEnabled() const;
  bool IsLastEnabled() const;
  TNxCustomColumn* NextEnabled();
  TNxCustomColumn* PrevEnabled();
  int HeaderPlace() const;  // 0 only visible, 1 first, 2 middle, 3 last
  bool IsOnlyVisible() const;
  bool IsSelectedColumn() const;
  bool IsHeaderDown() const;
  bool IsHeaderHot() const;

  // --- behaviour of the column class ---
  // The column's cell painter, made by CreateDisplay the first time it is asked for.
  TColumnDisplay* Display();
  virtual std::unique_ptr<TColumnDisplay> CreateDisplay() { return nullptr; }
  // The column's click element, made by CreatePlay the first time it is asked for; nullptr
  // for a class without one.
  TColumnPlay* Play();
  virtual std::unique_ptr<TColumnPlay> CreatePlay() { return nullptr; }
  // The column's own in-place editor (hidden until the grid shows it), made by CreateEditor
  // the first time it is asked for; nullptr for a class that edits nothing.
  TNxCustomEdit* Editor();
  virtual std::unique_ptr<TNxCustomEdit> CreateEditor();
  // Readies the own editor for an edit of this column; EditorTextSet runs once the grid has
  // put the text in.
  virtual void PrepareEditor();
  virtual void EditorTextSet() {}
  // The width a cell needs for Text on the canvas, margins included.
  virtual int MeasureTextWidth(TCanvas& Canvas, const std::wstring& Text) const;
  virtual TEditKinds GetEditKinds() const;
  virtual uint8_t GetCapabilities() const { return 0; }
  virtual uint8_t GetDisplayOptions() const { return 0; }
  virtual void GetDrawText(const TCellInfo& Info, std::wstring& Text) const;
  virtual void GetHintText(const TCellInfo& Info, std::wstring& Text) const;
  virtual void GetInputText(std::wstring& Text) const { Text = FInputValue; }
  virtual void GetInputEditText(std::wstring& Text) const { Text = FInputValue; }
  virtual bool IsValidInputChar(wchar_t) const { return false; }
  virtual void AdjustEditorRect(int, RECT&) const {}
  virtual void AdjustEditText(std::wstring&) const {}
  // The two requests a virtual cell (kind 11) makes of its column; no column class here
  // keeps values outside the store.
  virtual void GetVirtualText(int, int, std::wstring&) const {}
  virtual void SetVirtualText(int, int, const std::wstring&) {}

  // Copies the settings another column's owner would see (not its place, bounds or kind).
  virtual void Assign(const TNxCustomColumn& Source);

  // --- for the parts and the collection ---
  void Notify(int Kind, int Value = -1);
  void Refresh(int Part);
  // Width without the auto-size pass: clamped to MinWidth, layout kept, notice 10.
  void SetWidthRaw(int Value);

 protected:
  void SetColumnKind(uint8_t Value) { FColumnKind = Value; }
  IColumnsGrid* Grid() const;
  bool Loading() const;

 private:
  friend class TNxColumns;
  void StoreAndNotify(auto& Field, const auto& Value, int Kind);
  void FontChanged();

  TNxColumns* FColumns = nullptr;
  TAlignment FAlignment = taLeftJustify;
  bool FAutoEdit = false;
  TBiDiMode FBiDiMode = bdLeftToRight;
  TColor FColor = clWindow;
  uint8_t FColumnKind = 8;
  TCursor FCursor = crDefault;
  std::wstring FDefaultValue;
  int FDefaultWidth = 80;
  TDrawingOptions FDrawingOptions = doNormal;
  bool FEnabled = true;
  std::unique_ptr<TColumnDisplay> FDisplay;
  std::unique_ptr<TColumnPlay> FPlay;
  std::unique_ptr<TNxCustomEdit> FEditor;
  std::unique_ptr<TFont> FFont;
  std::unique_ptr<TColumnFooter> FFooter;
  std::unique_ptr<TColumnHeader> FHeader;
  TNxCustomEdit* FInplaceEdit = nullptr;
  std::unique_ptr<TComponent> FInplaceEditLink;  // told when FInplaceEdit is freed
  std::wstring FInputCaption;
  std::wstring FInputValue;
  bool FInputEditing = false;
  int FLeft = 0;
  TColumnOptions FOptions = coCanClick | coCanInput | coCanSort | coPublicUsing;
  bool FParentCellColor = false;
  bool FParentFont = true;
  bool FCopyingFont = false;  // the grid's font is being copied in: ParentFont stays
  int FPosition = -1;
  std::unique_ptr<TNxSlideBounds> FSlideBounds;
  std::string FSlideCaption;
  TSlideCatpionLocation FSlideCaptionLocation = clTop;
  bool FSorted = false;
  TSortKind FSortKind = skAscending;
  TSortType FSortType = stAlphabetic;
  TVerticalAlignment FVerticalAlignment = taVerticalCenter;
  bool FVisible = true;
  int FVisibleIndex = -1;
  int FWidth = 80;
  TWrapKind FWrapKind = wkEllipsis;
  int FMinWidth = 8;
  int FPadding = 0;
  TSlideOptions FSlideOptions = 0;
  TAnchors FSlideAnchors = akLeft | akTop;
};

class TNxColumns {
 public:
  explicit TNxColumns(IColumnsGrid* Grid = nullptr);
  // Frees every column, last index first, telling the grid nothing: it is going away.
  virtual ~TNxColumns();
  TNxColumns(const TNxColumns&) = delete;
  TNxColumns& operator=(const TNxColumns&) = delete;

  IColumnsGrid* Grid() const { return FGrid; }
  // The grid binds itself after creating the collection and unbinds itself (nullptr) before
  // it tears down its cell store.
  void SetGrid(IColumnsGrid* Grid) { FGrid = Grid; }

  int Count() const { return static_cast<int>(FItems.size()); }
  virtual TNxCustomColumn* Item(int Index) const;
  TNxCustomColumn* PositionItem(int Position) const;
  bool ValidIndex(int Index) const { return Index >= 0 && Index < Count(); }
  TNxCustomColumn* LastAdded() const { return FLastAdded; }
  int FixedCols() const { return FFixedCols; }
  int FixedWidth() const { return FFixedWidth; }
  bool IsLoading() const { return FGrid && FGrid->ColumnsLoading(); }

  // Takes the column over: appended by index and by position.
  template <class T>
  T* Add(std::unique_ptr<T> Column) {
    T* column = Column.release();
    AddColumn(column);
    return column;
  }
  // Reading a stored layout (column_layout.h): a column is attached by index first, its
  // properties are set, then it is placed among the others by its Position. A column whose
  // Name is already placed hands that one its properties and is freed instead.
  TNxCustomColumn* AttachRead(std::unique_ptr<TNxCustomColumn> Column);
  TNxCustomColumn* InsertByPosition(TNxCustomColumn* Column);
  // Takes the column out of both lists and hands it back to the caller.
  std::unique_ptr<TNxCustomColumn> Remove(TNxCustomColumn* Column);
  void MovePosition(int FromPos, int ToPos);

  int VisibleCount() const;
  int TotalWidth() const;
  TNxCustomColumn* FirstEnabled() const;
  TNxCustomColumn* LastEnabled() const;
  void SetFixedCols(int Value);
  void ApplySlideAnchors(int OldSize, int NewSize);

  void UpdateLayout(bool Renumber);
  // Shares the room left of the grid's width among the visible auto-size columns, from
  // Column's position (Flag) or the one after it (not Flag), from the first with no Column.
  void AutoSizeColumns(TNxCustomColumn* Column, bool Flag);

 protected:
  virtual void AddColumn(TNxCustomColumn* Column);

 private:
  friend class TNxCustomColumn;
  int PositionOf(const TNxCustomColumn* Column) const;
  const TNxCustomColumn* EnabledNeighbour(const TNxCustomColumn* Column, int Step) const;

  IColumnsGrid* FGrid;
  std::vector<TNxCustomColumn*> FItems;  // owned
  std::vector<TNxCustomColumn*> FPositionItems;
  TNxCustomColumn* FLastAdded = nullptr;
  int FFixedCols = 0;
  int FFixedWidth = 0;
};
