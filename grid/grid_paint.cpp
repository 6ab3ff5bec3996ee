// How the grid paints itself: rows of cells (or one box a row in slides style) from TopRow
// down, the header, input row, footer and indicator through the active style display, the
// caption of a grid without rows, and the control's border. Each cell is painted inside a clip
// of its own, so nothing a cell draws reaches its neighbours, and the clip the paint found is
// given back at the end.
#include <algorithm>

#include "framework/canvas.h"
#include "framework/text_encoding.h"
#include "grid/column_display.h"
#include "grid/grid_control.h"
#include "grid/grid_text.h"
#include "grid/paint_clip.h"
#include "grid/style_displays.h"
#include "grid/theme_draw.h"

namespace {

// 10/256 of black blended in: the sorted column's tint.
TColor Darker(TColor Color) { return grid::BlendColor(clBlack, Color, 10); }

std::unique_ptr<TStyleDisplay> NewStyleDisplay(THeaderStyle Style, TWinControl* Control) {
  switch (Style) {
    case hsFlatBorders: return std::make_unique<TFlatStyleDisplay>(Control);
    case hsOffice2007: return std::make_unique<TOffice2007StyleDisplay>(Control);
    case hsOffice2010: return std::make_unique<TOffice2010StyleDisplay>(Control);
    case hsOldStyle: return std::make_unique<TOldStyleDisplay>(Control);
    case hsOutlook: return std::make_unique<TOutlookStyleDisplay>(Control);
    case hsVista: return std::make_unique<TVistaStyleDisplay>(Control);
    default: return std::make_unique<TDefaultStyleDisplay>(Control);
  }
}

// The device context of a whole window, frame included.
class WindowFrameDC {
 public:
  explicit WindowFrameDC(HWND Window) : FWindow(Window), FDC(GetWindowDC(Window)) {}
  ~WindowFrameDC() { ReleaseDC(FWindow, FDC); }
  WindowFrameDC(const WindowFrameDC&) = delete;
  WindowFrameDC& operator=(const WindowFrameDC&) = delete;
  HDC get() const { return FDC; }

 private:
  HWND FWindow;
  HDC FDC;
};

}  // namespace

// ---------------------------------------------------------------------------- displays

TStyleDisplay& TNxCustomGridControl::StyleDisplay(THeaderStyle Style) {
  std::unique_ptr<TStyleDisplay>& display = FStyleDisplays[Style];
  if (!display) {
    display = NewStyleDisplay(Style, this);
    display->Canvas = &Canvas();
    display->HeaderCallback = [this](int Index, const RECT& Rect) {
      DoCustomDrawHeader(Index, Rect);
    };
    display->FooterCallback = [this](int Index, const RECT& Rect) {
      DoCustomDrawFooter(Index, Rect);
    };
  }
  return *display;
}

TStyleDisplay& TNxCustomGridControl::ActiveStyleDisplay() { return StyleDisplay(FHeaderStyle); }

void TNxCustomGridControl::DoCustomDrawHeader(int Index, const RECT& Rect) {
  if (OnCustomDrawHeader) OnCustomDrawHeader(this, Index, Rect);
}

void TNxCustomGridControl::DoCustomDrawFooter(int Index, const RECT& Rect) {
  if (OnCustomDrawFooter) OnCustomDrawFooter(this, Index, Rect);
}

void TNxCustomGridControl::SetIndicatorDrawingOptions(TDrawingOptions Value) {
  if (grid::StoreChanged(FIndicatorDrawingOptions, Value)) RefreshPart(gpIndicator);
}

void TNxCustomGridControl::SetSlideCaptionColor(TColor Value) {
  if (grid::StoreChanged(FSlideCaptionColor, Value)) Invalidate();
}

// ---------------------------------------------------------------------------- frame

void TNxCustomGridControl::Paint() {
  TCanvas& canvas = Canvas();
  grid::ClipKeeper clip(canvas.Handle());
  FPaintClip = &clip;
  struct Forget {
    grid::ClipKeeper*& clip;
    ~Forget() { clip = nullptr; }
  } forget{FPaintClip};

  TStyleDisplay& display = ActiveStyleDisplay();
  display.Canvas = &canvas;
  display.Themed = FEnableVisualStyles && grid::ThemesActive();
  if (FGridStyle == gsReport) {
    PaintReport();
    PaintRightOfColumns();
  } else {
    PaintSlideView();
  }
  if (GetShownRowCount() == 0) PaintCaption();
  if (OnPostDraw) OnPostDraw(this);
}

void TNxCustomGridControl::PaintReport() {
  PaintRows();
  PaintColumnParts();
}

// The empty space right of the last column; with the themed header the header strip there
// continues the header's look.
void TNxCustomGridControl::PaintRightOfColumns() {
  const int right = ColumnsLeft() + FColumns->TotalWidth() - HorzScrollPos();
  const int width = ClientWidth(), height = ClientHeight();
  if (right >= width) return;
  int top = 0;
  if ((FOptions & goHeader) && grid::ThemesActive() && FHeaderStyle == hsAuto) {
    ActiveStyleDisplay().PaintEmptyHeader({right, 0, width, FHeaderSize});
    top = FHeaderSize;
  }
  Canvas().Brush().SetStyle(bsSolid);
  Canvas().Brush().SetColor(Color());
  Canvas().FillRect({right, top, width, height});
}

RECT TNxCustomGridControl::GetCaptionRect() {
  const RECT body = GetBodyRect();
  const int hpos = HorzScrollPos(), top = body.top + 4;
  const int height = grid::WideTextHeight(Canvas(), FCaption);
  return {body.left - hpos, top, ClientWidth() - hpos, top + height};
}

void TNxCustomGridControl::PaintCaption() {
  if (FCaption.empty()) return;
  TCanvas& canvas = Canvas();
  canvas.Font().Assign(Font());
  if (!Enabled()) canvas.Font().SetColor(clGrayText);
  RECT rect = GetCaptionRect();
  canvas.Brush().SetStyle(bsClear);
  canvas.TextRect(rect, FCaption,
                  DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
  canvas.Brush().SetStyle(bsSolid);
}

// ---------------------------------------------------------------------------- clipping

void TNxCustomGridControl::ClipTo(const RECT& Rect) {
  if (FPaintClip) FPaintClip->ClipTo(Rect);
}

void TNxCustomGridControl::ResetClip() {
  if (FPaintClip) FPaintClip->Restore();
}

void TNxCustomGridControl::ClipToBody(const RECT& Rect) {
  RECT clip{Rect.left - FLineWidth[lkLeft3D], Rect.top - FLineWidth[lkTop3D],
            Rect.right + FLineWidth[lkRight], Rect.bottom + FLineWidth[lkBottom]};
  clip.bottom = std::min<int>(clip.bottom, GetBodyRect().bottom);
  ClipTo(clip);
}

// A cell's clip: a scrolled column never paints over the fixed ones.
void TNxCustomGridControl::ClipCell(RECT Rect, const TNxCustomColumn* Column) {
  if (Column->Position() >= FFixedCols)
    Rect.left = std::max<int>(Rect.left, GetScrollingRect().left);
  ClipToBody(Rect);
}

bool TNxCustomGridControl::IsColumnInView(const TNxCustomColumn* Column) {
  if (!Column->Visible()) return false;
  const int left = Column->ScreenLeft(), right = left + Column->Width();
  if (Column->Position() >= FFixedCols && right < GetScrollingRect().left) return false;
  return right >= 0 && left <= ClientWidth();
}

// ---------------------------------------------------------------------------- rows

void TNxCustomGridControl::PaintRows() {
  const RECT body = GetBodyRect();
  const int rows = RowCount();
  FLastPaintedRow = FTopRow;
  for (int row = FTopRow, top = body.top; top < body.bottom; ++row, ++FLastPaintedRow) {
    const bool exists = row < rows;
    if (exists && !GetRowShown(row)) continue;
    // A handler may answer a negative height: such a row takes no room.
    const int height = exists ? std::max(GetRowHeight(row), 0) : FRowSize;
    const bool cut = exists && GetClipPartialRows() &&
                     top + FLineWidth[lkTop3D] + height + FLineWidth[lkBottom] > body.bottom;
    for (int p = 0; p < FColumns->Count(); ++p) {
      TNxCustomColumn* column = FColumns->PositionItem(p);
      if (!IsColumnInView(column)) continue;
      if (exists && !cut) PaintCell(column->Index(), row);
      else PaintCellBackgroundOnly(column->Index(), row);
    }
    if (FOptions & goIndicator) {
      const bool selected = exists && row == FSelectedRow && !FInputSelected;
      const bool highlighted =
          exists && !FInputSelected && (GetRowSelected(row) || row == FSelectedRow);
      PaintIndicatorCell(row, selected, highlighted);
    }
    top += height + FLineWidth[lkRowExtra];
  }
  if (FOptions & goSelectFullRow) PaintFocusRect();
}

void TNxCustomGridControl::PaintCell(int ACol, int ARow) {
  TNxCustomColumn* column = FColumns->Item(ACol);
  if (!column->Visible()) return;
  TCanvas& canvas = Canvas();
  RECT rect{};
  GetCellRect(ACol, ARow, rect);
  RECT clipBox;
  GetClipBox(canvas.Handle(), &clipBox);
  if (!grid::RectsIntersect(rect, clipBox)) return;

  canvas.Font().Assign(*column->Font());
  TColor color = GetCellDrawColor(ACol, ARow);
  const bool highlighted = IsCellHighlighted(ACol, ARow);
  const TCellState state = CellStateOf(ACol, ARow);
  TColor gridColor = FGridLinesColor;
  if (OnCellColoring) OnCellColoring(this, ACol, ARow, color, gridColor, state);
  if (column->Sorted() && !highlighted) {
    if (FSortedStyle == soDarker) color = Darker(color);
    if (FSortedStyle == soWhite) color = clWhite;
  }

  ClipCell(rect, column);
  if ((FOptions & goGrid) && FGridStyle == gsReport) PaintGridLines(ACol, ARow, gridColor, rect);
  rect.left += FLineWidth[lkLeft3D];
  rect.right -= FLineWidth[lkRight];
  const TDrawingOptions drawing = column->DrawingOptions();
  bool defaultDrawing = !(FAppearanceOptions & aoDontFillCells) && drawing != doCustomOnly;
  if (OnDrawCellBackground) OnDrawCellBackground(this, ACol, ARow, rect, state, defaultDrawing);

  TColumnDisplay* display = column->Display();
  if (display) {
    display->Canvas = &canvas;
    display->Rect = rect;
    display->Highlighted = highlighted;
    PrepareColumnDisplay(ACol, ARow, display);
  }
  if (defaultDrawing) {
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(color);
    canvas.FillRect(rect);
  }
  const bool selectedCell = ACol == FSelectedColumn && ARow == FSelectedRow;
  if (display) {
    display->Selected = selectedCell;
    display->Rect.left += column->Padding();
    display->Rect.right -= column->Padding();
    if ((drawing == doNormal || drawing == doCustom) && !IsCellHidden(ACol, ARow) &&
        PrepareCellCanvas(ACol, ARow, state))
      display->PaintContent();
    if (FAppearanceOptions & aoHintMarks) {
      std::wstring hint;
      GetCellHint(ACol, ARow, hint);
      if (!hint.empty()) display->DrawHintMark();
    }
  }
  if (drawing != doNormal && OnCustomDrawCell) OnCustomDrawCell(this, ACol, ARow, rect, state);
  if (!(FOptions & goSelectFullRow) && selectedCell) PaintFocusRect();
  ResetClip();
}

void TNxCustomGridControl::PaintCellBackgroundOnly(int ACol, int ARow) {
  TNxCustomColumn* column = FColumns->Item(ACol);
  if (!column->Visible()) return;
  RECT rect{};
  GetCellRect(ACol, ARow, rect);
  TColor color = Color();
  if ((FAppearanceOptions & aoIndicateSortedColumn) && column->Sorted()) color = Darker(color);
  // Under the active-row styles the lines end with the rows.
  TColor gridColor = FGridLinesStyle == lsActiveRows || FGridLinesStyle == lsActiveHorzOnly
                         ? color
                         : FGridLinesColor;
  ClipCell(rect, column);
  if (OnCellColoring) OnCellColoring(this, ACol, ARow, color, gridColor, csEmpty);
  if (FOptions & goGrid) PaintGridLines(ACol, ARow, gridColor, rect);
  rect.left += FLineWidth[lkLeft3D];
  rect.right -= FLineWidth[lkRight];
  bool defaultDrawing = true;
  if (OnDrawCellBackground) OnDrawCellBackground(this, ACol, ARow, rect, csEmpty, defaultDrawing);
  if (defaultDrawing) {
    Canvas().Brush().SetStyle(bsSolid);
    Canvas().Brush().SetColor(color);
    Canvas().FillRect(rect);
  }
  ResetClip();
}

// Lines run from point to point, the first point included and the last left out.
void TNxCustomGridControl::PaintGridLines(int ACol, int ARow, TColor Color, const RECT& Rect) {
  TCanvas& canvas = Canvas();
  auto line = [&](int x1, int y1, int x2, int y2, TColor color) {
    canvas.Pen().SetColor(color);
    canvas.MoveTo(x1, y1);
    canvas.LineTo(x2, y2);
  };
  const bool framed = FGridLinesStyle == lsFramed;
  const int l = Rect.left, t = Rect.top, r = Rect.right, b = Rect.bottom;
  if (FLineWidth[lkBottom] > 0)
    line(l, b, r + 1, b, framed && ARow == RowCount() - 1 ? clBlack : Color);
  if (FLineWidth[lkTop3D] > 0) line(l, t - 1, r + 1, t - 1, clBtnHighlight);
  if (FLineWidth[lkLeft3D] > 0) line(l, t - 1, l, b + 1, clBtnHighlight);
  if (FLineWidth[lkRight] > 0) {
    TNxCustomColumn* column = FColumns->Item(ACol);
    const bool lastColumn = column->VisibleIndex() == FColumns->VisibleCount() - 1;
    const bool black = framed && lastColumn && ARow < RowCount();
    line(r - 1, t - 1, r - 1, b + 1, black ? clBlack : Color);
  }
}

void TNxCustomGridControl::PaintFocusRect() {
  if (!FColumns->ValidIndex(FSelectedColumn) || !IsValidRow(FSelectedRow) ||
      FSelectedRow < FTopRow)
    return;
  if (FInputSelected || !Focused() || (FAppearanceOptions & aoHideFocus)) return;
  RECT rect{};
  GetCellRect(FSelectedColumn, FSelectedRow, rect);
  const RECT body = GetBodyRect();
  if (FOptions & goSelectFullRow) {
    const int left = ColumnsLeft() - HorzScrollPos();
    rect.left = std::max<int>(left, body.left);
    rect.right = left + FColumns->TotalWidth();
    ClipToBody(rect);
  }
  rect.left += FLineWidth[lkLeft3D];
  rect.right -= FLineWidth[lkRight];
  if (!grid::RectsIntersect(rect, body)) return;
  grid::DrawFocus(Canvas(), rect, (FAppearanceOptions & aoAlphaBlendedSelection) != 0);
  if (FOptions & goSelectFullRow) ResetClip();
}

void TNxCustomGridControl::PaintIndicatorCell(int Row, bool Selected, bool Highlighted) {
  const int top = GetRowTop(Row);
  const int height = Row < RowCount() ? std::max(GetRowHeight(Row), 0) : FRowSize;
  const RECT rect{0, top - FLineWidth[lkTop3D], kIndicatorWidth,
                  top + height + FLineWidth[lkBottom]};
  ClipTo({rect.left, rect.top, rect.right, std::min<int>(rect.bottom, GetBodyRect().bottom)});
  TStyleDisplay& display = ActiveStyleDisplay();
  const TDrawingOptions drawing = FIndicatorDrawingOptions;
  if (drawing == doNormal || drawing == doBackgroundOnly)
    display.PaintIndicatorCell(rect, Row, Selected, Highlighted);
  if (drawing == doNormal || drawing == doCustom)
    display.PaintIndicatorContent(rect, Selected, Highlighted);
  if (drawing != doNormal && OnCustomDrawIndicator)
    OnCustomDrawIndicator(this, Row, rect, Selected, Highlighted);
  ResetClip();
}

// ---------------------------------------------------------------------------- column parts

void TNxCustomGridControl::PaintColumnParts() {
  TCanvas& canvas = Canvas();
  TStyleDisplay& display = ActiveStyleDisplay();
  const RECT client = ClientRect(), scrolling = GetScrollingRect();
  const bool lines = (FOptions & goGrid) != 0;
  auto clipPart = [&](RECT part, bool scrolled) {
    if (scrolled) part.left = std::max(part.left, scrolling.left);
    ClipTo(part);
  };
  for (int p = 0; p < FColumns->Count(); ++p) {
    TNxCustomColumn* column = FColumns->PositionItem(p);
    if (column->Visible() && column->ScreenLeft() > client.right) break;
    if (!IsColumnInView(column)) continue;
    const bool scrolled = column->Position() >= FFixedCols;
    RECT part{};
    if (FOptions & goHeader) {
      column->GetPartRect(1, part);
      clipPart(part, scrolled);
      canvas.Font().Assign(Font());
      display.PaintHeaderCell(column, part);
    }
    if (FOptions & goInput) {
      column->GetPartRect(4, part);
      clipPart(part, scrolled);
      canvas.Font().Assign(Font());
      display.PaintInputCell(column, part, Focused(), FInputSelected, lines);
    }
    if (FOptions & goFooter) {
      column->GetPartRect(0, part);
      clipPart(part, scrolled);
      canvas.Font().Assign(Font());
      display.PaintFooterCell(column, part, lines);
    }
    ResetClip();
  }

  const int bandLeft = ColumnsLeft() - HorzScrollPos();
  if (FOptions & goInput) {
    const RECT input = GetInputRect();
    display.PaintBand({bandLeft, input.bottom - 6, input.right, input.bottom});
    if (FOptions & goIndicator)
      display.PaintCorner({0, input.top, kIndicatorWidth, input.bottom}, 0);
  }
  if (FOptions & goFooter) {
    const RECT footer = GetFooterRect();
    display.PaintBand({bandLeft, footer.top, footer.right, footer.top + 4});
    if (FOptions & goIndicator)
      display.PaintCorner({0, footer.top, kIndicatorWidth, footer.bottom}, 1);
  }
  if ((FOptions & goHeader) && (FOptions & goIndicator))
    display.PaintCorner({0, 0, kIndicatorWidth, FHeaderSize}, 0);
}

// ---------------------------------------------------------------------------- slides

void TNxCustomGridControl::PaintSlideView() {
  PaintSlideHeader();
  PaintSlides();
}

void TNxCustomGridControl::PaintSlideHeader() {
  if (!(FOptions & goHeader)) return;
  const int right = PaintHeaders(), width = ClientWidth();
  if (right < width) {
    const RECT rest{right, 0, width, FHeaderSize};
    if (grid::ThemesActive() && FHeaderStyle == hsAuto) {
      ActiveStyleDisplay().PaintEmptyHeader(rest);
    } else {
      Canvas().Brush().SetStyle(bsSolid);
      Canvas().Brush().SetColor(Color());
      Canvas().FillRect(rest);
    }
  }
  if (FOptions & goIndicator)
    ActiveStyleDisplay().PaintCorner({0, 0, kIndicatorWidth, FHeaderSize}, 0);
}

int TNxCustomGridControl::PaintHeaders() {
  TStyleDisplay& display = ActiveStyleDisplay();
  const int width = ClientWidth();
  int x = GetBodyRect().left - HorzScrollPos();
  for (int p = 0; p < FColumns->Count() && x < width; ++p) {
    TNxCustomColumn* column = FColumns->PositionItem(p);
    if (!column->Visible()) continue;
    const RECT rect{x, 0, x + column->Width(), FHeaderSize};
    ClipTo(rect);
    Canvas().Font().Assign(Font());
    display.PaintHeaderCell(column, rect);
    x = rect.right;
  }
  ResetClip();
  return x;
}

void TNxCustomGridControl::PaintSlides() {
  TCanvas& canvas = Canvas();
  const RECT body = GetBodyRect();
  const int width = ClientWidth(), height = ClientHeight(), rows = RowCount();
  auto line = [&](int y, TColor color) {
    canvas.Pen().SetColor(color);
    canvas.MoveTo(0, y);
    canvas.LineTo(width, y);
  };
  const bool focused = Focused();
  FLastPaintedRow = FTopRow;
  int top = body.top;
  for (int row = FTopRow; row < rows && top <= height; ++row, ++FLastPaintedRow) {
    if (!GetRowShown(row)) continue;
    top += FLineWidth[lkTop3D];
    const RECT slide{0, top, width, top + FSlideSize + FLineWidth[lkBottom]};
    if (GetClipPartialRows() && slide.bottom > body.bottom) break;
    if (FAppearanceOptions & ao3DGridLines) line(top - 1, Color());
    TColor color = Color(), gridColor = FGridLinesColor;
    if (GetRowSelected(row) && !(FSlidesOptions & soHideSelection))
      color = focused ? FSlideSelectionColor : clBtnFace;
    TSlideState state = 0;
    if (row == FSelectedRow) state = stSelected | ((FSlidesOptions & soFrame) ? stFocused : 0);
    if (OnSlideColoring) OnSlideColoring(this, row, color, gridColor, state);
    ClipTo({slide.left, slide.top, slide.right, std::min(slide.bottom, body.bottom)});
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(color);
    canvas.FillRect(slide);
    ResetClip();
    for (int col = 0; col < FColumns->Count(); ++col) {
      if (!FColumns->Item(col)->Visible()) continue;
      PaintCell(col, row);
      PaintSlideCaption(col, row);
    }
    if (state & stFocused) {
      canvas.Brush().SetColor(focused ? FSelectionColor : FInactiveSelectionColor);
      canvas.FrameRect({slide.left + 1, slide.top + 1, slide.right - 1, slide.bottom - 2});
      canvas.FrameRect({slide.left + 2, slide.top + 2, slide.right - 2, slide.bottom - 3});
    }
    top += FLineWidth[lkBottom] + FSlideSize;
    if (FOptions & goGrid) line(top - 1, gridColor);
  }
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(Color());
  canvas.FillRect({0, top, width, height});
}

void TNxCustomGridControl::PaintSlideCaption(int ACol, int Row) {
  TNxCustomColumn* column = FColumns->Item(ACol);
  if (column->SlideCaption().empty()) return;
  RECT box{};
  GetCellRect(ACol, Row, box);
  TCanvas& canvas = Canvas();
  canvas.Font().Assign(*column->Font());
  canvas.Font().SetStyle(0);
  canvas.Font().SetColor(FSlideCaptionColor);
  const std::wstring caption = efir::text::fromAnsi(column->SlideCaption());
  RECT rect;
  if (column->SlideCaptionLocation() == clLeft) {
    rect = {0, box.top, box.left - 2, box.bottom};
  } else {
    const int height = grid::WideTextHeight(canvas, caption);
    rect = {box.left + 2, box.top - 2 - height, ClientWidth(), box.top - 2};
  }
  ClipToBody(rect);
  canvas.Brush().SetStyle(bsClear);
  canvas.TextRect(rect, caption, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  canvas.Brush().SetStyle(bsSolid);
  ResetClip();
}

// ---------------------------------------------------------------------------- border

void TNxCustomGridControl::UpdateBorder() {
  if (!HandleAllocated() || FBorderStyle != bsSingle) return;
  RECT window;
  GetWindowRect(Handle(), &window);
  OffsetRect(&window, -window.left, -window.top);
  if (FHeaderStyle == hsOffice2007 || FHeaderStyle == hsOffice2010) {
    WindowFrameDC dc(Handle());
    efir::gdi::Object<HBRUSH> brush(CreateSolidBrush(ColorToRGB(grid::GetSchemeColor(2))));
    FrameRect(dc.get(), &window, brush.get());
    return;
  }
  if (!grid::ThemesActive() || !FEnableVisualStyles) return;  // the plain client edge stays
  WindowFrameDC dc(Handle());
  ExcludeClipRect(dc.get(), window.left + 1, window.top + 1, window.right - 1, window.bottom - 1);
  grid::DrawThemePart(Handle(), dc.get(), window, 0, 1, L"listview");
}
