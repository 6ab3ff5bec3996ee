#include "grid/column_parts.h"

#include "grid/columns.h"

// --- TColumnPart ---

TColumnPart::TColumnPart(TNxCustomColumn* Column)
    : FColumn(Column), FGlyph(std::make_unique<TBitmap>()) {
  FGlyph->OnChange = [this] { GlyphChanged(); };
}

TColumnPart::~TColumnPart() { FGlyph->OnChange = nullptr; }

void TColumnPart::SetGlyph(const TBitmap& Value) {
  FGlyph->Assign(Value);
  Changed();
}

void TColumnPart::GlyphChanged() {
  if (FTakingGlyph) return;
  FTakingGlyph = true;
  // An empty glyph has no bottom-left pixel to take.
  if (!FGlyph->Empty()) {
    FGlyph->SetTransparentColor(clDefault);
    FGlyph->SetTransparentColor(FGlyph->TransparentColor());
    FGlyph->SetTransparent(true);
  }
  FTakingGlyph = false;
  Changed();
}

void TColumnPart::Changed() {
  if (OnChange) OnChange(this);
}

void TColumnPart::Refresh(int Part) {
  if (FColumn) FColumn->Refresh(Part);
}

void TColumnPart::SetCaption(const std::wstring& Value) {
  if (grid::StoreChanged(FCaption, Value)) Refresh(cpWhole);
}
void TColumnPart::SetColor(TColor Value) {
  if (grid::StoreChanged(FColor, Value)) Refresh(cpWhole);
}
void TColumnPart::SetDisplayMode(TDisplayMode Value) {
  if (grid::StoreChanged(FDisplayMode, Value)) Changed();
}
void TColumnPart::SetDrawingOptions(TDrawingOptions Value) {
  if (grid::StoreChanged(FDrawingOptions, Value)) Changed();
}

void TColumnPart::Assign(const TColumnPart& Source) {
  SetCaption(Source.Caption());
  SetColor(Source.Color());
  SetDisplayMode(Source.DisplayMode());
  SetGlyph(*Source.Glyph());
}

// --- TColumnFooter ---

TColumnFooter::TColumnFooter(TNxCustomColumn* Column) : TColumnPart(Column) {
  SetColor(clWindow);
}

void TColumnFooter::SetAlignment(TAlignment Value) {
  if (grid::StoreChanged(FAlignment, Value)) Refresh(cpFooter);
}
void TColumnFooter::SetFormulaKind(TFormulaKind Value) {
  if (grid::StoreChanged(FFormulaKind, Value)) Changed();
}
void TColumnFooter::SetFormulaValue(double Value) {
  if (grid::StoreChanged(FFormulaValue, Value)) Changed();
}
void TColumnFooter::SetFormatMask(const std::string& Value) {
  if (grid::StoreChanged(FFormatMask, Value)) Changed();
}
void TColumnFooter::SetTextAfter(const std::wstring& Value) {
  if (grid::StoreChanged(FTextAfter, Value)) Changed();
}
void TColumnFooter::SetTextBefore(const std::wstring& Value) {
  if (grid::StoreChanged(FTextBefore, Value)) Changed();
}
void TColumnFooter::SetFormatMaskKind(TFormatMaskKind Value) {
  if (grid::StoreChanged(FFormatMaskKind, Value)) Changed();
}

void TColumnFooter::Assign(const TColumnPart& Source) {
  auto* footer = dynamic_cast<const TColumnFooter*>(&Source);
  if (!footer) return TColumnPart::Assign(Source);
  SetAlignment(footer->Alignment());
  SetDrawingOptions(footer->DrawingOptions());
  SetFormulaKind(footer->FormulaKind());
  SetFormatMask(footer->FormatMask());
  SetTextAfter(footer->TextAfter());
  SetTextBefore(footer->TextBefore());
}

// --- TColumnHeader ---

TColumnHeader::TColumnHeader(TNxCustomColumn* Column) : TColumnPart(Column) {
  SetColor(clBtnFace);
}

void TColumnHeader::SetOrientation(THeaderOrientation Value) {
  if (grid::StoreChanged(FOrientation, Value)) Refresh(cpHeader);
}
void TColumnHeader::SetAlignment(TAlignment Value) {
  if (grid::StoreChanged(FAlignment, Value)) Refresh(cpHeader);
}
void TColumnHeader::SetMultiLine(bool Value) {
  if (grid::StoreChanged(FMultiLine, Value)) Refresh(cpHeader);
}
void TColumnHeader::SetHideArrow(bool Value) {
  if (grid::StoreChanged(FHideArrow, Value)) Refresh(cpHeader);
}

void TColumnHeader::Assign(const TColumnPart& Source) {
  TColumnPart::Assign(Source);
  auto* header = dynamic_cast<const TColumnHeader*>(&Source);
  if (!header) return;
  SetAlignment(header->Alignment());
  SetHint(header->Hint());
  SetMultiLine(header->MultiLine());
  SetOrientation(header->Orientation());
}

// --- TNxSlideBounds ---

void TNxSlideBounds::SetLeft(int Value) {
  FLeft = Value;
  if (FColumn) FColumn->Notify(cnSlide);
}
void TNxSlideBounds::SetTop(int Value) {
  FTop = Value;
  if (FColumn) FColumn->Notify(cnSlide);
}
void TNxSlideBounds::SetWidth(int Value) {
  if (grid::StoreChanged(FWidth, Value) && FColumn) FColumn->Notify(cnSlide);
}
void TNxSlideBounds::SetHeight(int Value) {
  if (grid::StoreChanged(FHeight, Value) && FColumn) FColumn->Notify(cnSlide);
}

void TNxSlideBounds::Assign(const TNxSlideBounds& Source) {
  SetHeight(Source.Height());
  SetLeft(Source.Left());
  SetTop(Source.Top());
  SetWidth(Source.Width());
}
