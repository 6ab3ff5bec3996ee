// A plain picture of the grid: header captions, cell backgrounds, texts and pictures, and
// the grid lines, until the styled header looks and the column cell painters take over; the
// order of the steps (rows from TopRow down, OnPostDraw last) stays.
#include <algorithm>

#include "framework/graphics.h"
#include "grid/column_parts.h"
#include "grid/grid_control.h"

namespace {

UINT AlignmentFlags(TAlignment alignment) {
  switch (alignment) {
    case taRightJustify: return DT_RIGHT;
    case taCenter: return DT_CENTER;
    default: return DT_LEFT;
  }
}

}  // namespace

void TNxCustomGridControl::Paint() {
  TCanvas& canvas = Canvas();
  RECT client = ClientRect();
  canvas.Brush().SetColor(Color());
  canvas.FillRect(client);

  if (FOptions & goHeader && FHeaderSize > 0) {
    for (int p = 0; p < FColumns->Count(); ++p) {
      TNxCustomColumn* column = FColumns->PositionItem(p);
      if (!column->Visible()) continue;
      RECT r{column->ScreenLeft(), 0, column->ScreenLeft() + column->Width(), FHeaderSize};
      canvas.Brush().SetColor(clBtnFace);
      canvas.FillRect(r);
      DrawEdge(canvas.Handle(), &r, BDR_RAISEDINNER, BF_RECT);
      canvas.Font().Assign(Font());
      canvas.Brush().SetStyle(bsClear);
      RECT text{r.left + 4, r.top, r.right - 4, r.bottom};
      canvas.TextRect(text, column->Header()->Caption(),
                      DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS |
                          AlignmentFlags(column->Header()->Alignment()));
      canvas.Brush().SetStyle(bsSolid);
    }
  }

  RECT body = GetBodyRect();
  int top = body.top + FLineWidth[lkTop3D];
  FLastPaintedRow = FTopRow;
  for (int row = FTopRow; row < RowCount() && top < body.bottom; ++row) {
    if (!GetRowShown(row)) continue;
    int height = RowExtent(row);
    for (int col = 0; col < FColumns->Count(); ++col) {
      TNxCustomColumn* column = FColumns->Item(col);
      if (!column->Visible()) continue;
      RECT cell{column->ScreenLeft(), top, column->ScreenLeft() + column->Width(), top + height};
      PaintCell(col, row, cell);
    }
    top += height + FLineWidth[lkRowExtra];
    FLastPaintedRow = row;
  }

  if (GetShownRowCount() == 0 && !FCaption.empty()) {
    canvas.Font().Assign(Font());
    canvas.Font().SetColor(clGrayText);
    canvas.Brush().SetStyle(bsClear);
    RECT r{body.left, body.top + 8, client.right, body.top + 40};
    canvas.TextRect(r, FCaption, DT_CENTER | DT_SINGLELINE | DT_NOPREFIX);
    canvas.Brush().SetStyle(bsSolid);
  }
  if (OnPostDraw) OnPostDraw(this);
}

void TNxCustomGridControl::PaintCell(int ACol, int ARow, const RECT& CellRect) {
  TCanvas& canvas = Canvas();
  TCellState state = CellStateOf(ACol, ARow);
  TColor cellColor = GetCellDrawColor(ACol, ARow);
  TColor gridColor = FGridLinesColor;
  if (OnCellColoring) OnCellColoring(this, ACol, ARow, cellColor, gridColor, state);
  canvas.Brush().SetColor(cellColor);
  canvas.FillRect(CellRect);

  if (!IsCellHidden(ACol, ARow)) {
    TCellInfo info;
    GetCellInfo(ACol, ARow, info);
    if (info.ObjectReference && !info.ObjectReference->Empty()) {
      RECT inner = CellRect;
      InflateRect(&inner, -4, -4);
      if (inner.right > inner.left && inner.bottom > inner.top)
        canvas.StretchDraw(inner, *info.ObjectReference);
    } else {
      PrepareCellCanvas(ACol, ARow, state);
      std::wstring text;
      GetDrawText(ACol, ARow, text);
      canvas.Brush().SetStyle(bsClear);
      RECT r{CellRect.left + 2, CellRect.top, CellRect.right - 2, CellRect.bottom};
      canvas.TextRect(r, text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS |
                                   AlignmentFlags(FColumns->Item(ACol)->Alignment()));
      canvas.Brush().SetStyle(bsSolid);
    }
  }

  if (FLineWidth[lkRight] > 0 || FLineWidth[lkBottom] > 0) {
    canvas.Pen().SetColor(gridColor);
    if (FLineWidth[lkRight] > 0) {
      canvas.MoveTo(CellRect.right - 1, CellRect.top);
      canvas.LineTo(CellRect.right - 1, CellRect.bottom + FLineWidth[lkBottom]);
    }
    if (FLineWidth[lkBottom] > 0) {
      canvas.MoveTo(CellRect.left, CellRect.bottom);
      canvas.LineTo(CellRect.right, CellRect.bottom);
    }
  }
}
