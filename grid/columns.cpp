#include "grid/columns.h"

#include <algorithm>
#include <functional>
#include <string>
#include <utility>

#include "framework/canvas.h"
#include "framework/component.h"
#include "framework/exceptions.h"
#include "grid/column_display.h"
#include "grid/column_parts.h"
#include "grid/inplace_edit.h"

namespace {

[[noreturn]] void RaiseListIndex(int index) {
  throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

}  // namespace

// --- TNxCustomColumn: life ---

TNxCustomColumn::TNxCustomColumn()
    : FFont(std::make_unique<TFont>()),
      FFooter(std::make_unique<TColumnFooter>(this)),
      FHeader(std::make_unique<TColumnHeader>(this)),
      FSlideBounds(std::make_unique<TNxSlideBounds>(this)) {
  FFont->OnChange = [this] { FontChanged(); };
  FFooter->OnChange = [this](TColumnPart*) { Notify(cnAppearance); };
  FHeader->OnChange = [this](TColumnPart*) { Notify(cnAppearance); };
}

TNxCustomColumn::~TNxCustomColumn() {
  if (FColumns) FColumns->Remove(this).release();  // the caller is deleting us already
}

namespace {

// Runs a call when the component it watches is freed.
class TFreeLink : public TComponent {
 public:
  explicit TFreeLink(std::function<void()> Freed) : TComponent(nullptr), FFreed(std::move(Freed)) {}

 protected:
  void Notification(TComponent* Component, TOperation Operation) override {
    TComponent::Notification(Component, Operation);
    if (Operation == opRemove) FFreed();
  }

 private:
  std::function<void()> FFreed;
};

}  // namespace

void TNxCustomColumn::SetInplaceEdit(TNxCustomEdit* Value) {
  if (!FInplaceEditLink)
    FInplaceEditLink = std::make_unique<TFreeLink>([this] { FInplaceEdit = nullptr; });
  if (FInplaceEdit) FInplaceEditLink->RemoveFreeNotification(FInplaceEdit);
  FInplaceEdit = Value;
  if (Value) FInplaceEditLink->FreeNotification(Value);
}

int TNxCustomColumn::Index() const {
  if (!FColumns) return -1;
  auto& items = FColumns->FItems;
  auto it = std::find(items.begin(), items.end(), this);
  return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

IColumnsGrid* TNxCustomColumn::Grid() const { return FColumns ? FColumns->Grid() : nullptr; }
bool TNxCustomColumn::Loading() const { return FColumns && FColumns->IsLoading(); }

void TNxCustomColumn::Notify(int Kind, int Value) {
  if (IColumnsGrid* grid = Grid()) grid->ColumnChanged(this, Kind, Value);
}

void TNxCustomColumn::Refresh(int Part) {
  if (IColumnsGrid* grid = Grid()) grid->RefreshColumn(this, Part);
}

void TNxCustomColumn::StoreAndNotify(auto& Field, const auto& Value, int Kind) {
  if (grid::StoreChanged(Field, Value)) Notify(Kind);
}

void TNxCustomColumn::FontChanged() {
  if (FCopyingFont) return;
  FParentFont = false;
  Notify(cnAppearance);
}

// --- TNxCustomColumn: writers ---

void TNxCustomColumn::SetAlignment(TAlignment Value) { StoreAndNotify(FAlignment, Value, cnAppearance); }
void TNxCustomColumn::SetBiDiMode(TBiDiMode Value) { StoreAndNotify(FBiDiMode, Value, cnAppearance); }
void TNxCustomColumn::SetColor(TColor Value) { StoreAndNotify(FColor, Value, cnAppearance); }
void TNxCustomColumn::SetCursor(TCursor Value) { StoreAndNotify(FCursor, Value, cnAppearance); }
void TNxCustomColumn::SetDrawingOptions(TDrawingOptions Value) {
  StoreAndNotify(FDrawingOptions, Value, cnAppearance);
}
void TNxCustomColumn::SetInputCaption(const std::wstring& Value) {
  StoreAndNotify(FInputCaption, Value, cnAppearance);
}
void TNxCustomColumn::SetInputValue(const std::wstring& Value) {
  StoreAndNotify(FInputValue, Value, cnInputValue);
}
void TNxCustomColumn::SetSlideCaptionLocation(TSlideCatpionLocation Value) {
  StoreAndNotify(FSlideCaptionLocation, Value, cnAppearance);
}
void TNxCustomColumn::SetVerticalAlignment(TVerticalAlignment Value) {
  StoreAndNotify(FVerticalAlignment, Value, cnAppearance);
}
void TNxCustomColumn::SetSlideOptions(TSlideOptions Value) { StoreAndNotify(FSlideOptions, Value, cnSlide); }
void TNxCustomColumn::SetSortKind(TSortKind Value) { StoreAndNotify(FSortKind, Value, cnSortChanged); }
void TNxCustomColumn::SetSortType(TSortType Value) { StoreAndNotify(FSortType, Value, cnSortChanged); }

void TNxCustomColumn::SetParentCellColor(bool Value) {
  if (grid::StoreChanged(FParentCellColor, Value)) Refresh(cpBody);
}
void TNxCustomColumn::SetPadding(int Value) {
  if (grid::StoreChanged(FPadding, Value)) Refresh(cpBody);
}
void TNxCustomColumn::SetWrapKind(TWrapKind Value) {
  if (grid::StoreChanged(FWrapKind, Value)) Refresh(cpBody);
}
void TNxCustomColumn::SetSlideCaption(const std::string& Value) {
  if (grid::StoreChanged(FSlideCaption, Value)) Refresh(cpWhole);
}

void TNxCustomColumn::SetFont(const TFont* Value) {
  if (!Value) return;
  FFont->Assign(*Value);  // runs FontChanged when anything differs
  Notify(cnAppearance);
}

void TNxCustomColumn::SetFooter(const TColumnFooter& Value) {
  FFooter->Assign(Value);
  Notify(cnAppearance);
}
void TNxCustomColumn::SetHeader(const TColumnHeader& Value) {
  FHeader->Assign(Value);
  Notify(cnAppearance);
}
void TNxCustomColumn::SetSlideBounds(const TNxSlideBounds& Value) {
  FSlideBounds->Assign(Value);
  Notify(cnAppearance);
}

void TNxCustomColumn::SetOptions(TColumnOptions Value) {
  if (Value == FOptions) return;
  if ((Value & coSearchColumn) && !(FOptions & coSearchColumn) && FColumns)
    for (TNxCustomColumn* other : FColumns->FItems)
      if (other != this) other->FOptions &= static_cast<TColumnOptions>(~coSearchColumn);
  const bool wasAutoSize = FOptions & coAutoSize;
  FOptions = Value;
  if (!FColumns || Loading()) return;
  if (!(wasAutoSize && (Value & coAutoSize))) FColumns->AutoSizeColumns(this, true);
  Notify(cnAppearance);
}

void TNxCustomColumn::SetParentFont(bool Value) {
  FParentFont = Value;
  IColumnsGrid* grid = Grid();
  if (!Value || !grid) return;
  FCopyingFont = true;
  FFont->Assign(grid->GridFont());
  FCopyingFont = false;
}

void TNxCustomColumn::SetPosition(int Value) {
  if (FColumns && !Loading() && Value != FPosition) {
    // One move, one notice: the collection reports it with the old position.
    FColumns->MovePosition(FPosition, Value);
  }
  FPosition = Value;
}

void TNxCustomColumn::SetSorted(bool Value) {
  if (GetCapabilities() & ccNeverSorted) return;
  if (Value == FSorted) return;
  if (Value && FColumns)
    for (TNxCustomColumn* other : FColumns->FItems)
      if (other != this && other->Sorted()) other->SetSorted(false);
  FSorted = Value;
  Notify(Value ? cnSortedOn : cnSortedOff);
}

void TNxCustomColumn::SetVisible(bool Value) {
  if (!grid::StoreChanged(FVisible, Value)) return;
  Notify(cnVisible);
  if (!FColumns || Loading()) return;
  FColumns->UpdateLayout(false);
  FColumns->AutoSizeColumns(nullptr, false);
}

void TNxCustomColumn::SetWidth(int Value) {
  SetWidthRaw(Value);
  if (FColumns) FColumns->AutoSizeColumns(this, false);
}

void TNxCustomColumn::SetWidthRaw(int Value) {
  const int width = std::max(Value, FMinWidth);
  const int old = FWidth;
  if (width == old) return;
  FWidth = width;
  if (FColumns && !Loading()) FColumns->UpdateLayout(false);
  Notify(cnWidth, width - old);
}

// --- TNxCustomColumn: queries ---

int TNxCustomColumn::ScreenLeft() const {
  IColumnsGrid* grid = Grid();
  if (!grid || FPosition < FColumns->FixedCols()) return FLeft;
  return FLeft - grid->HorzScrollPos();
}

void TNxCustomColumn::GetPartRect(int Part, RECT& Rect) const {
  IColumnsGrid* grid = Grid();
  if (!grid || (Part != 0 && Part != 1 && Part != 4)) return;
  RECT band = grid->BandRect(Part);
  if (Part == 0) band.top += 4;
  if (Part == 4) band.bottom -= 6;
  Rect = {ScreenLeft(), band.top, ScreenLeft() + FWidth, band.bottom};
}

RECT TNxCustomColumn::SlideRect() const {
  return {FSlideBounds->Left(), FSlideBounds->Top(), FSlideBounds->Right(), FSlideBounds->Bottom()};
}

int TNxCustomColumn::SlideWidth() const { return FSlideBounds->Width(); }

bool TNxCustomColumn::IsFirstEnabled() const { return FColumns && FColumns->FirstEnabled() == this; }
bool TNxCustomColumn::IsLastEnabled() const { return FColumns && FColumns->LastEnabled() == this; }

TNxCustomColumn* TNxCustomColumn::NextEnabled() {
  auto* next = FColumns ? FColumns->EnabledNeighbour(this, +1) : nullptr;
  return next ? const_cast<TNxCustomColumn*>(next) : this;
}
TNxCustomColumn* TNxCustomColumn::PrevEnabled() {
  auto* prev = FColumns ? FColumns->EnabledNeighbour(this, -1) : nullptr;
  return prev ? const_cast<TNxCustomColumn*>(prev) : this;
}

int TNxCustomColumn::HeaderPlace() const {
  if (!FColumns || FColumns->VisibleCount() <= 1) return 0;
  if (FVisibleIndex == 0) return 1;
  if (FVisibleIndex == FColumns->VisibleCount() - 1) return 3;
  return 2;
}

bool TNxCustomColumn::IsOnlyVisible() const {
  return FVisible && FColumns && FColumns->VisibleCount() == 1;
}
bool TNxCustomColumn::IsSelectedColumn() const {
  IColumnsGrid* grid = Grid();
  return grid && grid->SelectedColumn() == Index();
}
bool TNxCustomColumn::IsHeaderDown() const {
  IColumnsGrid* grid = Grid();
  return grid && grid->HeaderDownColumn() == this;
}
bool TNxCustomColumn::IsHeaderHot() const {
  IColumnsGrid* grid = Grid();
  return grid && grid->HeaderHotColumn() == this;
}

// --- TNxCustomColumn: behaviour ---

TColumnDisplay* TNxCustomColumn::Display() {
  if (!FDisplay) FDisplay = CreateDisplay();
  return FDisplay.get();
}

TColumnPlay* TNxCustomColumn::Play() {
  if (!FPlay) {
    FPlay = CreatePlay();
    if (FPlay) FPlay->Column = this;
  }
  return FPlay.get();
}

TNxCustomEdit* TNxCustomColumn::Editor() {
  if (!FEditor) {
    FEditor = CreateEditor();
    if (FEditor) FEditor->SetVisible(false);
  }
  return FEditor.get();
}

std::unique_ptr<TNxCustomEdit> TNxCustomColumn::CreateEditor() { return nullptr; }

void TNxCustomColumn::PrepareEditor() {
  TNxCustomEdit* editor = Editor();
  if (!editor) return;
  editor->SetAlignment(FAlignment);
  editor->SetBorderStyle(bsNone);
  editor->SetBorderWidth(0);
  editor->EditMargins().SetLeft(1);
}

int TNxCustomColumn::MeasureTextWidth(TCanvas& Canvas, const std::wstring& Text) const {
  const int width = Canvas.TextWidth(Text);
  return width < 2 ? 8 : width + 6;
}

TEditKinds TNxCustomColumn::GetEditKinds() const {
  if (!FEnabled || (!(GetCapabilities() & ccEditable) && !FInplaceEdit)) return 0;
  TEditKinds kinds = 0;
  if (FOptions & coEditing) kinds |= ekCell;
  if (FOptions & coCanInput) kinds |= ekInput;
  return kinds;
}

void TNxCustomColumn::GetDrawText(const TCellInfo& Info, std::wstring& Text) const {
  Text = Info.AsString;
}

void TNxCustomColumn::GetHintText(const TCellInfo& Info, std::wstring& Text) const {
  GetDrawText(Info, Text);
}

void TNxCustomColumn::Assign(const TNxCustomColumn& Source) {
  SetAlignment(Source.Alignment());
  FAutoEdit = Source.AutoEdit();
  SetColor(Source.Color());
  SetCursor(Source.Cursor());
  SetDefaultValue(Source.DefaultValue());
  SetDrawingOptions(Source.DrawingOptions());
  SetFont(Source.Font());
  FFooter->Assign(*Source.Footer());
  FHeader->Assign(*Source.Header());
  SetInputCaption(Source.InputCaption());
  SetInputValue(Source.InputValue());
  SetOptions(Source.Options());
  SetParentFont(Source.ParentFont());
  SetPosition(Source.Position());
  FSlideBounds->Assign(*Source.SlideBounds());
  SetSorted(Source.Sorted());
  SetSortKind(Source.SortKind());
  SetVerticalAlignment(Source.VerticalAlignment());
  SetVisible(Source.Visible());
  SetWidth(Source.Width());
  SetWrapKind(Source.WrapKind());
}

// --- TNxColumns ---

TNxColumns::TNxColumns(IColumnsGrid* Grid) : FGrid(Grid) {}

TNxColumns::~TNxColumns() {
  FGrid = nullptr;
  while (!FItems.empty()) delete FItems.back();  // each one takes itself out
}

TNxCustomColumn* TNxColumns::Item(int Index) const {
  if (!ValidIndex(Index)) RaiseListIndex(Index);
  return FItems[static_cast<size_t>(Index)];
}

TNxCustomColumn* TNxColumns::PositionItem(int Position) const {
  if (Position < 0 || Position >= static_cast<int>(FPositionItems.size())) RaiseListIndex(Position);
  return FPositionItems[static_cast<size_t>(Position)];
}

int TNxColumns::PositionOf(const TNxCustomColumn* Column) const {
  auto it = std::find(FPositionItems.begin(), FPositionItems.end(), Column);
  return it == FPositionItems.end() ? -1 : static_cast<int>(it - FPositionItems.begin());
}

void TNxColumns::AddColumn(TNxCustomColumn* Column) {
  Column->FColumns = this;
  FItems.push_back(Column);
  FPositionItems.push_back(Column);
  Column->FPosition = static_cast<int>(FPositionItems.size()) - 1;
  UpdateLayout(false);
  AutoSizeColumns(nullptr, false);
  FLastAdded = Column;
  if (FGrid) FGrid->ColumnsDataChanged(0, -1, -1);
  if (FGrid) FGrid->ColumnsCollectionChanged(0, -1, -1);
}

TNxCustomColumn* TNxColumns::AttachRead(std::unique_ptr<TNxCustomColumn> Column) {
  TNxCustomColumn* column = Column.release();
  column->FColumns = this;
  FItems.push_back(column);
  if (FGrid) FGrid->ColumnsDataChanged(0, -1, -1);
  return column;
}

// A second column of the same name would be listed by index and never shown: the one placed
// takes its properties and it goes.
TNxCustomColumn* TNxColumns::InsertByPosition(TNxCustomColumn* Column) {
  if (!Column->Name.empty()) {
    for (TNxCustomColumn* placed : FPositionItems) {
      if (placed == Column || placed->Name != Column->Name) continue;
      placed->Assign(*Column);
      Remove(Column);
      return placed;
    }
  }
  auto after = std::find_if(FPositionItems.begin(), FPositionItems.end(),
                            [&](TNxCustomColumn* c) { return c->FPosition > Column->FPosition; });
  FPositionItems.insert(after, Column);
  FLastAdded = Column;
  return Column;
}

std::unique_ptr<TNxCustomColumn> TNxColumns::Remove(TNxCustomColumn* Column) {
  if (!Column || Column->FColumns != this) return nullptr;  // not ours to hand out
  int index = Column->Index();
  if (index >= 0) {
    FItems.erase(FItems.begin() + index);
    if (FGrid) FGrid->ColumnsDataChanged(1, index, -1);
  }
  int position = PositionOf(Column);
  if (position >= 0) FPositionItems.erase(FPositionItems.begin() + position);
  Column->FColumns = nullptr;
  if (FLastAdded == Column) FLastAdded = nullptr;
  if (FGrid) {
    UpdateLayout(true);
    AutoSizeColumns(nullptr, false);
    FGrid->ColumnsCollectionChanged(1, index, -1);
  }
  return std::unique_ptr<TNxCustomColumn>(Column);
}

void TNxColumns::MovePosition(int FromPos, int ToPos) {
  if (FromPos == ToPos) return;
  const int count = static_cast<int>(FPositionItems.size());
  if (FromPos < 0 || FromPos >= count) RaiseListIndex(FromPos);
  if (ToPos < 0 || ToPos >= count) RaiseListIndex(ToPos);
  TNxCustomColumn* column = FPositionItems[static_cast<size_t>(FromPos)];
  FPositionItems.erase(FPositionItems.begin() + FromPos);
  FPositionItems.insert(FPositionItems.begin() + ToPos, column);
  UpdateLayout(true);
  if (FGrid) FGrid->ColumnChanged(column, cnPosition, FromPos);
}

int TNxColumns::VisibleCount() const {
  return static_cast<int>(std::count_if(FItems.begin(), FItems.end(),
                                        [](auto* c) { return c->Visible(); }));
}

int TNxColumns::TotalWidth() const {
  int total = 0;
  for (auto* column : FItems)
    if (column->Visible()) total += column->Width();
  return total;
}

TNxCustomColumn* TNxColumns::FirstEnabled() const {
  for (auto* column : FPositionItems)
    if (column->Visible() && column->Enabled()) return column;
  return nullptr;
}

TNxCustomColumn* TNxColumns::LastEnabled() const {
  for (auto it = FPositionItems.rbegin(); it != FPositionItems.rend(); ++it)
    if ((*it)->Visible() && (*it)->Enabled()) return *it;
  return nullptr;
}

const TNxCustomColumn* TNxColumns::EnabledNeighbour(const TNxCustomColumn* Column, int Step) const {
  const int count = static_cast<int>(FPositionItems.size());
  for (int p = PositionOf(Column) + Step; p >= 0 && p < count; p += Step) {
    auto* column = FPositionItems[static_cast<size_t>(p)];
    if (column->Visible() && column->Enabled()) return column;
  }
  return nullptr;
}

void TNxColumns::SetFixedCols(int Value) {
  FFixedCols = Value;
  UpdateLayout(false);
}

void TNxColumns::ApplySlideAnchors(int OldSize, int NewSize) {
  for (auto* column : FItems) {
    const TAnchors anchors = column->SlideAnchors();
    if (!(anchors & akRight)) continue;
    TNxSlideBounds* slide = column->SlideBounds();
    if (anchors & akLeft)
      slide->SetWidth(slide->Width() + NewSize - OldSize);
    else
      slide->SetLeft(slide->Left() + NewSize - OldSize);
  }
}

void TNxColumns::UpdateLayout(bool Renumber) {
  FFixedWidth = 0;
  int x = FGrid ? FGrid->ColumnsLeft() : 0;
  int visible = 0;
  for (size_t p = 0; p < FPositionItems.size(); ++p) {
    TNxCustomColumn* column = FPositionItems[p];
    if (column->Visible()) {
      if (static_cast<int>(p) < FFixedCols) FFixedWidth += column->Width();
      column->FLeft = x;
      column->FVisibleIndex = visible++;
      x += column->Width();
    } else {
      column->FVisibleIndex = -1;
    }
    if (Renumber) column->FPosition = static_cast<int>(p);
  }
}

void TNxColumns::AutoSizeColumns(TNxCustomColumn* Column, bool Flag) {
  if (!FGrid || IsLoading()) return;
  size_t start = 0;
  int reserved = 0;
  if (Column) {
    const int position = PositionOf(Column);
    if (position < 0) return;
    start = static_cast<size_t>(position) + (Flag ? 0 : 1);
    reserved = Column->Left() + (Flag || !Column->Visible() ? 0 : Column->Width());
  }
  if (FGrid->IndicatorShown()) reserved -= 12;
  const int avail = FGrid->AvailableColumnsWidth();

  int fixedSum = 0, autoSum = 0;
  for (size_t p = start; p < FPositionItems.size(); ++p) {
    TNxCustomColumn* column = FPositionItems[p];
    if (!column->Visible()) continue;
    (column->Options() & coAutoSize ? autoSum : fixedSum) += column->Width();
  }

  // Shares are fractions of a pixel; the fractions carry over, so the widths add up.
  double carry = 0;
  TNxCustomColumn* last = nullptr;
  for (size_t p = start; p < FPositionItems.size(); ++p) {
    TNxCustomColumn* column = FPositionItems[p];
    if (!column->Visible() || !(column->Options() & coAutoSize)) continue;
    const double share =
        autoSum == 0 ? 0 : double(column->Width()) / autoSum * (avail - reserved - fixedSum);
    const int whole = static_cast<int>(share);
    carry += share - whole;
    if (carry >= 1) {
      column->SetWidthRaw(whole + 1);
      carry -= 1;
    } else {
      column->SetWidthRaw(whole);
      last = column;
    }
  }
  if (carry > 0.001 && last) last->SetWidthRaw(last->Width() + 1);
}
