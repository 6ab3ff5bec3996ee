#include "grid/column_display.h"

#include "framework/canvas.h"
#include "framework/convert.h"
#include "grid/columns.h"

namespace {

int DrawText(TCanvas& canvas, const std::wstring& text, RECT& rect, UINT flags) {
  std::wstring buffer(text);  // DrawTextExW may write into it (with ellipses)
  return DrawTextExW(canvas.Handle(), buffer.data(), static_cast<int>(buffer.size()), &rect, flags,
                     nullptr);
}

}  // namespace

void TColumnDisplay::GetTextRect(RECT& TextRect) {
  TextRect = Rect;
  TextRect.left += 2;
  TextRect.right -= 2;
}

UINT TColumnDisplay::GetTextFlags(const std::wstring& Text, RECT& TextRect, bool Drawing) {
  const TNxCustomColumn& column = *FColumn;
  UINT flags = DT_NOPREFIX;
  if (column.BiDiMode() != bdLeftToRight) flags |= DT_RTLREADING;
  if (column.Alignment() == taRightJustify) flags |= DT_RIGHT;
  if (column.Alignment() == taCenter) flags |= DT_CENTER;
  if (column.VerticalAlignment() == taAlignBottom) flags |= DT_BOTTOM;
  if (column.VerticalAlignment() == taVerticalCenter) flags |= DT_VCENTER;
  switch (column.WrapKind()) {
    case wkEllipsis: flags |= Drawing ? DT_END_ELLIPSIS : 0; break;
    case wkPathEllipsis: flags |= Drawing ? DT_PATH_ELLIPSIS : 0; break;
    case wkWordWrap: flags |= DT_WORDBREAK | DT_EDITCONTROL; break;
    case wkNone: break;
  }
  if (column.WrapKind() != wkWordWrap && !(column.GetDisplayOptions() & doMultiLine))
    return flags | DT_SINGLELINE;
  if (column.VerticalAlignment() == taAlignTop || !Canvas) return flags;
  RECT measured = TextRect;
  const int height = DrawText(*Canvas, Text, measured, flags | DT_CALCRECT);
  if (column.VerticalAlignment() == taAlignBottom)
    TextRect.top = TextRect.bottom - height;
  else
    TextRect.top += efir::Round((TextRect.bottom - (TextRect.top + height)) / 2.0);
  return flags;
}

void TColumnDisplay::DrawCellText(const std::wstring& Text, RECT TextRect) {
  if (!Canvas) return;
  Canvas->Brush().SetStyle(bsClear);
  const UINT flags = GetTextFlags(Text, TextRect, true);
  DrawText(*Canvas, Text, TextRect, flags);
  Canvas->Brush().SetStyle(bsSolid);
}

void TColumnDisplay::MeasureText(SIZE& Size) {
  Size = {0, 0};
  if (!Canvas) return;
  RECT rect;
  GetTextRect(rect);
  const UINT flags = GetTextFlags(AsString, rect, false) | DT_CALCRECT | DT_NOCLIP;
  DrawText(*Canvas, AsString, rect, flags);
  Size = {rect.right - rect.left, rect.bottom - rect.top};
}

int TColumnDisplay::GetTextWidth() {
  SIZE size;
  MeasureText(size);
  return size.cx;
}

void TColumnDisplay::DrawHintMark() {
  if (!Canvas) return;
  Canvas->Pen().SetColor(clRed);
  Canvas->Brush().SetColor(clRed);
  const POINT corner[3] = {{Rect.right - 5, Rect.top}, {Rect.right - 1, Rect.top},
                           {Rect.right - 1, Rect.top + 4}};
  Canvas->Polygon(corner);
}
