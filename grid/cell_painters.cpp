#include "grid/cell_painters.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "framework/canvas.h"
#include "framework/graphics.h"
#include "grid/column_kinds.h"

// ---------------------------------------------------------------------------- columns

std::unique_ptr<TColumnDisplay> TNxTextColumn::CreateDisplay() {
  return std::make_unique<TTextColumnDisplay>(this);
}

std::unique_ptr<TColumnDisplay> TNxCustomNumberColumn::CreateDisplay() {
  return std::make_unique<TNumberColumnDisplay>(this);
}

std::unique_ptr<TColumnDisplay> TNxGraphicColumn::CreateDisplay() {
  return std::make_unique<TGraphicColumnDisplay>(this);
}

// ---------------------------------------------------------------------------- text

void TTextColumnDisplay::GetCellInfo(TCellInfo& Info) const { Info.AsString = AsString; }

void TTextColumnDisplay::PaintContent() {
  TCellInfo info;
  GetCellInfo(info);
  std::wstring text;
  Column()->GetDrawText(info, text);
  RECT rect;
  GetTextRect(rect);
  DrawCellText(text, rect);
}

void TNumberColumnDisplay::GetCellInfo(TCellInfo& Info) const {
  TTextColumnDisplay::GetCellInfo(Info);
  Info.AsFloat = AsFloat;
}

// ---------------------------------------------------------------------------- picture

namespace grid {

RECT ProportionalRect(const RECT& Area, int Width, int Height) {
  const int areaWidth = Area.right - Area.left, areaHeight = Area.bottom - Area.top;
  const double widthRatio = static_cast<double>(areaWidth) / Width;
  const double heightRatio = static_cast<double>(areaHeight) / Height;
  RECT drawn = Area;
  if (widthRatio > heightRatio) {
    const int width = static_cast<int>(std::lround(Width * heightRatio));
    drawn.left = Area.left + areaWidth / 2 - width / 2;
    drawn.right = drawn.left + width;
  } else {
    const int height = static_cast<int>(std::lround(Height * widthRatio));
    drawn.top = Area.top + areaHeight / 2 - height / 2;
    drawn.bottom = drawn.top + height;
  }
  return drawn;
}

}  // namespace grid

void TGraphicColumnDisplay::DrawBorder(RECT& Rect, int Count) {
  Canvas->Brush().SetStyle(bsSolid);
  Canvas->Brush().SetColor(Highlighted ? clHighlightText : clBtnFace);
  for (int i = 0; i < Count && !IsRectEmpty(&Rect); ++i) {
    Canvas->FrameRect(Rect);
    InflateRect(&Rect, -1, -1);
  }
}

void TGraphicColumnDisplay::DrawProportional(const RECT& Rect) {
  Canvas->StretchDraw(
      grid::ProportionalRect(Rect, ObjectReference->Width(), ObjectReference->Height()),
      *ObjectReference);
}

void TGraphicColumnDisplay::PaintContent() {
  if (!Canvas) return;
  auto& column = static_cast<TNxGraphicColumn&>(*Column());
  RECT rect = Rect;
  InflateRect(&rect, -column.Margin(), -column.Margin());
  if (IsRectEmpty(&rect)) return;  // a cell too small for its margins shows its background
  DrawBorder(rect, column.BorderWidth());
  if (!ObjectReference || ObjectReference->Empty() || IsRectEmpty(&rect)) return;
  if (column.Stretch()) Canvas->StretchDraw(rect, *ObjectReference);
  else DrawProportional(rect);
}
