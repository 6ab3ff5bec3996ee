#include "grid/style_displays.h"

#include <algorithm>

#include "framework/bitmap.h"
#include "framework/canvas.h"
#include "framework/controls.h"
#include "framework/convert.h"
#include "framework/edit_mask.h"
#include "framework/text_encoding.h"
#include "grid/column_kinds.h"
#include "grid/column_parts.h"
#include "grid/columns.h"
#include "grid/grid_text.h"
#include "grid/paint_clip.h"
#include "grid/theme_draw.h"

namespace {

constexpr int kSortedReserve = 31;  // room a sorted column's right-aligned caption leaves
constexpr TColor kVistaFace = 0xF0F0F0;
constexpr TColor kVistaSortedTint = 0xF0DCAF;  // RGB(175, 220, 240)
constexpr TColor kOffice2010Arrow = 0xB5ADA5;  // RGB(165, 173, 181)

// A caption's extent in the direction it runs: its width, or its height when vertical.
int CaptionMeasure(TCanvas& Canvas, const TColumnHeader& Header) {
  const std::wstring& caption = Header.Caption();
  if (Header.Orientation() == hoVertical) return grid::WideTextHeight(Canvas, caption);
  if (!Header.MultiLine()) return grid::WideTextWidth(Canvas, caption);
  RECT r{0, 0, 0, 0};
  Canvas.TextRect(r, caption, DT_CALCRECT | DT_NOPREFIX | DT_EXTERNALLEADING);
  return r.right - r.left;
}

bool HasGlyph(const TColumnPart& Part) {
  return !Part.Glyph()->Empty() && Part.DisplayMode() != dmTextOnly;
}

}  // namespace

// ---------------------------------------------------------------------------- base

TColor TStyleDisplay::ControlColor() const { return FControl ? FControl->Color() : clWindow; }

void TStyleDisplay::Fill(const RECT& Rect, TColor Color) {
  Canvas->Brush().SetStyle(bsSolid);
  Canvas->Brush().SetColor(Color);
  Canvas->FillRect(Rect);
}

// From (X1, Y1) up to, not including, (X2, Y2).
void TStyleDisplay::Line(int X1, int Y1, int X2, int Y2, TColor Color) {
  Canvas->Pen().SetColor(Color);
  Canvas->MoveTo(X1, Y1);
  Canvas->LineTo(X2, Y2);
}

void TStyleDisplay::DrawPartText(RECT Rect, const std::wstring& Text, UINT Flags) {
  Canvas->Brush().SetStyle(bsClear);
  Canvas->TextRect(Rect, Text,
                   DT_NOPREFIX | DT_END_ELLIPSIS | DT_EXTERNALLEADING | DT_VCENTER | Flags);
  Canvas->Brush().SetStyle(bsSolid);
}

void TStyleDisplay::Triangle(const POINT (&Points)[3], TColor Outline, TColor FillColor) {
  Canvas->Pen().SetColor(Outline);
  Canvas->Brush().SetStyle(bsSolid);
  Canvas->Brush().SetColor(FillColor);
  Canvas->Polygon(Points);
}

void TStyleDisplay::PaintArrowTriangle(int X, int Y, bool Ascending, TColor Outline,
                                       TColor FillColor) {
  if (Ascending) Triangle({{X, Y + 4}, {X + 4, Y}, {X + 8, Y + 4}}, Outline, FillColor);
  else Triangle({{X, Y}, {X + 4, Y + 4}, {X + 8, Y}}, Outline, FillColor);
}

void TStyleDisplay::Invert(const RECT& Rect) {
  PatBlt(Canvas->Handle(), Rect.left, Rect.top, Rect.right - Rect.left, Rect.bottom - Rect.top,
         DSTINVERT);
}

int TStyleDisplay::GetSortArrowMargin(TNxCustomColumn* Column) {
  if (!ShowSortArrows || !HeaderBackground) return 0;
  return Themed && Column->Header()->DisplayMode() == dmTextOnly ? 11 : 2;
}

void TStyleDisplay::PaintSortArrow(int X, int Y, bool Ascending) {
  if (Themed) {
    PaintArrowTriangle(X, Y, Ascending, clGrayText, clGrayText);
    return;
  }
  // The classic raised arrow: a shadowed and a lit edge, climbing in steps of two rows.
  const int d = Ascending ? 1 : -1, base = Ascending ? Y + 6 : Y;
  auto at = [&](int dx, int rows) { return POINT{X + dx, base - d * rows}; };
  Canvas->Pen().SetColor(clBtnShadow);
  const POINT shadow[9] = {at(7, 0), at(0, 0), at(0, 1), at(1, 1), at(1, 3),
                           at(2, 3), at(2, 5), at(3, 5), at(3, 7)};
  Canvas->Polyline(shadow);
  Canvas->Pen().SetColor(clBtnHighlight);
  const POINT light[7] = {at(7, 1), at(6, 1), at(6, 3), at(5, 3), at(5, 5), at(4, 5), at(4, 7)};
  Canvas->Polyline(light);
}

// Draws the part's glyph where its alignment puts it and answers where the caption starts.
// Right alignment keeps TextGap (caption only) or GlyphGap (with a glyph) from the right.
int TStyleDisplay::PlaceCaption(TColumnPart& Part, const RECT& Rect, TAlignment Alignment,
                                int Width, int TextGap, int GlyphGap) {
  const int room = Rect.right - Rect.left;
  if (!HasGlyph(Part)) {
    switch (Alignment) {
      case taLeftJustify: return Rect.left + 2;
      case taRightJustify: return Rect.right - Width - TextGap;
      default: return Width < room ? Rect.left + (room - Width) / 2 : Rect.left + 2;
    }
  }
  const TBitmap& glyph = *Part.Glyph();
  int x;
  switch (Alignment) {
    case taLeftJustify: x = Rect.left + 3; break;
    case taRightJustify: x = Rect.right - glyph.Width() - Width - GlyphGap; break;
    default: x = Rect.left + (room - (glyph.Width() + 2 + Width)) / 2; break;
  }
  Canvas->Draw(x, Rect.top + (Rect.bottom - Rect.top - glyph.Height()) / 2, glyph);
  return x + glyph.Width() + 2;
}

void TStyleDisplay::PaintHeaderContent(TNxCustomColumn* Column, const RECT& Rect) {
  TColumnHeader& header = *Column->Header();
  const bool imageOnly = header.DisplayMode() == dmImageOnly;
  const int w = imageOnly ? 0 : CaptionMeasure(*Canvas, header) + 2;
  const int gap = 2 + (Column->Sorted() ? kSortedReserve : 0);
  const int x = PlaceCaption(header, Rect, header.Alignment(), w, gap, gap);
  if (!imageOnly) {
    RECT text{x, Rect.top, Rect.right, Rect.bottom};
    AdjustHeaderTextRect(text);
    if (header.Orientation() == hoVertical)
      grid::DrawVerticalText(*Canvas, text, header.Caption(), header.MultiLine());
    else
      DrawPartText(text, header.Caption(), header.MultiLine() ? 0 : DT_SINGLELINE);
  }
  if (ShowSortArrows && Column->Sorted()) {
    const int ax = x + w + 19, ay = Rect.top + (Rect.bottom - Rect.top) / 2 - 4;
    if ((ax + 8 < Rect.right || !header.HideArrow()) && !(GetDisplayFlags() & dfNoSortArrow))
      PaintSortArrow(ax, ay, Column->SortKind() == skAscending);
  }
  if (Column->IsHeaderDown() && (GetDisplayFlags() & dfInvertPressed)) {
    if (Column->IsOnlyVisible())
      Invert({Rect.left - 1, Rect.top - 1, Rect.right, Rect.bottom});
    else
      Invert({Rect.left, Rect.top, Rect.right - 1, Rect.bottom});
  }
}

void TStyleDisplay::PaintHeaderCell(TNxCustomColumn* Column, const RECT& Rect) {
  const TDrawingOptions drawing = Column->Header()->DrawingOptions();
  if (HeaderBackground && drawing != doCustomOnly) PaintHeaderBackground(Column, Rect);
  if (drawing == doNormal || drawing == doCustom) PaintHeaderContent(Column, Rect);
  if (HeaderCallback) HeaderCallback(Column->Index(), Rect);
}

void TStyleDisplay::PaintFooterContent(TNxCustomColumn* Column, const RECT& Rect) {
  TColumnFooter& footer = *Column->Footer();
  std::wstring text = footer.Caption();
  if (!footer.FormatMask().empty() && footer.FormatMaskKind() == mkText) {
    text = efir::text::fromAnsi(efir::FormatMaskText(footer.FormatMask(), efir::text::toAnsi(text)));
  } else if (!footer.FormatMask().empty() && footer.FormatMaskKind() == mkFloat) {
    double value = 0;
    if (!efir::TryStrToFloat(efir::text::toAnsi(text), value)) value = 0;
    text = efir::text::fromAnsi(grid::FormatFloat(footer.FormatMask(), value));
  }
  text = footer.TextBefore() + text + footer.TextAfter();
  const bool imageOnly = footer.DisplayMode() == dmImageOnly;
  const int w = imageOnly ? 0 : grid::WideTextWidth(*Canvas, text);
  const int padding = Column->Padding();
  const int glyphGap = padding + 2 + (Column->Sorted() ? kSortedReserve : 0);
  const int x = std::max<int>(
      PlaceCaption(footer, Rect, footer.Alignment(), w, padding, glyphGap), Rect.left);
  if (!imageOnly) DrawPartText({x, Rect.top, Rect.right, Rect.bottom}, text, DT_SINGLELINE);
}

void TStyleDisplay::PaintFooterCell(TNxCustomColumn* Column, const RECT& Rect, bool GridLines) {
  RECT inner = Rect;
  if (GridLines) --inner.right, --inner.bottom;
  const TDrawingOptions drawing = Column->Footer()->DrawingOptions();
  if (drawing != doCustomOnly) {
    Canvas->Font().Assign(*Column->Font());
    Fill(inner, Column->Footer()->Color());
  }
  if (GridLines) {
    Line(Rect.left, Rect.bottom - 1, Rect.right, Rect.bottom - 1, clBtnFace);
    Line(Rect.right - 1, Rect.top, Rect.right - 1, Rect.bottom, clBtnFace);
  }
  grid::ClipKeeper clip(Canvas->Handle());
  clip.ClipTo(inner);
  if (drawing == doNormal || drawing == doCustom) PaintFooterContent(Column, inner);
  if (FooterCallback) FooterCallback(Column->Index(), inner);
}

void TStyleDisplay::PaintInputCell(TNxCustomColumn* Column, const RECT& Rect, bool Focused,
                                   bool InputSelected, bool GridLines) {
  TColor face = Column->Color(), text = clGrayText;
  const bool editing = Column->InputEditing();
  if (InputSelected && !editing && !Column->IsSelectedColumn()) {
    text = clHighlightText;
    face = Focused ? clHighlight : clBtnFace;
  } else {
    Canvas->Font().SetStyle(0);
  }
  RECT cell = Rect;
  if (GridLines && InputSelected) --cell.right, --cell.bottom;
  // While edited the editor covers the cell: only its frame shows around it.
  if (editing) {
    Canvas->Brush().SetColor(face);
    Canvas->FrameRect(cell);
  } else {
    Fill(cell, face);
  }
  if (GridLines && InputSelected) {
    Line(Rect.left, Rect.bottom - 1, Rect.right, Rect.bottom - 1, clHighlight);
    Line(Rect.right - 1, Rect.top, Rect.right - 1, Rect.bottom, clHighlight);
  }
  Canvas->Font().SetColor(text);
  const RECT textRect{Rect.left + 2, Rect.top, Rect.right - 1, Rect.bottom - 1};
  if (Column->InputValue().empty()) {
    DrawPartText(textRect, Column->InputCaption(), DT_SINGLELINE | DT_CENTER);
    return;
  }
  std::wstring value;
  Column->GetInputText(value);
  const TAlignment alignment = Column->Alignment();
  const UINT align = alignment == taRightJustify ? DT_RIGHT : alignment == taCenter ? DT_CENTER : 0;
  DrawPartText(textRect, value, DT_SINGLELINE | align);
}

void TStyleDisplay::PaintCorner(const RECT& Rect, int) { Fill(Rect, ControlColor()); }

void TStyleDisplay::PaintEmptyHeader(const RECT& Rect) { Fill(Rect, ControlColor()); }

void TStyleDisplay::PaintIndicatorCell(const RECT& Rect, int Row, bool, bool) {
  // A raised cell whose corner pixels (and, below the first row, the ends of the top line)
  // stay in the face colour, so that rows look apart.
  Fill(Rect, clBtnFace);
  const int inset = Row > 0 ? 2 : 0;
  Line(Rect.left, Rect.top + 1, Rect.left, Rect.bottom - 1, clBtnHighlight);
  Line(Rect.left + inset, Rect.top, Rect.right - 1 - inset, Rect.top, clBtnHighlight);
  Line(Rect.right - 1, Rect.top + 1, Rect.right - 1, Rect.bottom - 1, clBtnShadow);
  Line(Rect.left + 1, Rect.bottom - 1, Rect.right - 1, Rect.bottom - 1, clBtnShadow);
}

void TStyleDisplay::PaintIndicatorContent(const RECT& Rect, bool Selected, bool Highlighted) {
  if (Selected) {
    const int x = Rect.left + (Rect.right - Rect.left - 6) / 2;
    const int y = Rect.top + (Rect.bottom - Rect.top - 11) / 2;
    Triangle({{x, y}, {x + 5, y + 5}, {x, y + 10}}, clWindowText, clWindowText);
  }
  if (Highlighted) Invert(Rect);
}

int TStyleDisplay::MeasureHeader(TNxCustomColumn* Column) {
  const TColumnHeader& header = *Column->Header();
  const int glyph = header.Glyph()->Empty() ? 0 : header.Glyph()->Width();
  switch (header.DisplayMode()) {
    case dmImageOnly: return glyph;
    case dmTextAndImage: return glyph + CaptionMeasure(*Canvas, header) + 2;
    default: return CaptionMeasure(*Canvas, header);
  }
}

// ---------------------------------------------------------------------------- default

bool TDefaultStyleDisplay::ThemedPart(const RECT& Rect, int Part, int State) {
  if (!Themed) return false;
  TWinControl* control = Control();
  HWND window = control && control->HandleAllocated() ? control->Handle() : nullptr;
  return grid::DrawThemePart(window, Canvas->Handle(), Rect, State, Part, L"header");
}

void TDefaultStyleDisplay::PaintCorner(const RECT& Rect, int Kind) {
  if (Kind == 1) {  // a raised panel like the footer's
    Fill(Rect, clBtnFace);
    Line(Rect.left, Rect.top, Rect.left, Rect.bottom, clBtnHighlight);
    Line(Rect.right - 1, Rect.top, Rect.right - 1, Rect.bottom, clBtnShadow);
    Line(Rect.left, Rect.bottom - 1, Rect.right, Rect.bottom - 1, clBtnShadow);
    return;
  }
  if (!ThemedPart(Rect, 1, 1)) grid::DrawButtonFace(*Canvas, Rect, false);
}

void TDefaultStyleDisplay::PaintHeaderBackground(TNxCustomColumn* Column, const RECT& Rect) {
  if (Themed) PaintThemedHeader(Column, Rect);
  else PaintClassicHeader(Column, Rect);
}

void TDefaultStyleDisplay::PaintThemedHeader(TNxCustomColumn* Column, const RECT& Rect) {
  const int state = Column->IsHeaderDown() ? 3 : Column->IsHeaderHot() ? 2 : 1;
  if (!ThemedPart(Rect, 1, state)) PaintClassicHeader(Column, Rect);
}

void TDefaultStyleDisplay::PaintClassicHeader(TNxCustomColumn* Column, const RECT& Rect) {
  Fill(Rect, Column->Header()->Color());
  // Inner ends stop short of the corners, so that neighbouring headers look apart.
  const int place = Column->HeaderPlace();  // 0 only, 1 first, 2 middle, 3 last
  const int leftInset = place <= 1 ? 0 : 2, rightInset = place == 0 || place == 3 ? 0 : 2;
  const int l = Rect.left, t = Rect.top, r = Rect.right - 1, b = Rect.bottom - 1;
  Line(l, t, r + 1, t, clBtnHighlight);
  Line(l, t + leftInset, l, b + 1 - leftInset, clBtnHighlight);
  Line(l, b, r + 1, b, clBtnShadow);
  Line(r, t + rightInset, r, b + 1 - rightInset, clBtnShadow);
}

void TDefaultStyleDisplay::PaintEmptyHeader(const RECT& Rect) {
  if (!ThemedPart(Rect, 2, 1)) TStyleDisplay::PaintEmptyHeader(Rect);
}

// ---------------------------------------------------------------------------- flat

void TFlatStyleDisplay::PaintBand(const RECT& Rect) { Fill(Rect, clBtnFace); }

void TFlatStyleDisplay::PaintCorner(const RECT& Rect, int) {
  Fill(Rect, clBtnFace);
  Line(Rect.right - 1, Rect.top, Rect.right - 1, Rect.bottom, clGrayText);
  Line(Rect.left, Rect.bottom - 1, Rect.right, Rect.bottom - 1, clGrayText);
}

void TFlatStyleDisplay::PaintHeaderBackground(TNxCustomColumn* Column, const RECT& Rect) {
  Fill(Rect, Column->Header()->Color());
  Line(Rect.right - 1, Rect.top, Rect.right - 1, Rect.bottom, clGrayText);
  Line(Rect.left, Rect.bottom - 1, Rect.right, Rect.bottom - 1, clGrayText);
}

void TFlatStyleDisplay::PaintIndicatorCell(const RECT& Rect, int, bool, bool) {
  PaintCorner(Rect, 0);
}

// ---------------------------------------------------------------------------- office

TOfficeStyleDisplay::TOfficeStyleDisplay(TWinControl* Control, TColor From, TColor To)
    : TStyleDisplay(Control), FFrom(From), FTo(To) {}

TOffice2007StyleDisplay::TOffice2007StyleDisplay(TWinControl* Control)
    : TOfficeStyleDisplay(Control, clWhite, grid::GetSchemeColor(11)) {}

TOffice2010StyleDisplay::TOffice2010StyleDisplay(TWinControl* Control)
    : TOfficeStyleDisplay(Control, grid::GetSchemeColor(6), grid::GetSchemeColor(7)) {}

void TOffice2010StyleDisplay::PaintSortArrow(int X, int Y, bool Ascending) {
  PaintArrowTriangle(X, Y, Ascending, clBlack, kOffice2010Arrow);
}

void TOfficeStyleDisplay::PaintBand(const RECT& Rect) { Fill(Rect, grid::GetSchemeColor(11)); }

void TOfficeStyleDisplay::PaintCorner(const RECT& Rect, int) {
  grid::DrawGradient(*Canvas, Rect, FFrom, FTo);
  Line(Rect.right - 1, Rect.top, Rect.right - 1, Rect.bottom, grid::GetSchemeColor(2));
  Line(Rect.left, Rect.bottom - 1, Rect.right, Rect.bottom - 1, grid::GetSchemeColor(2));
}

void TOfficeStyleDisplay::PaintHeaderBackground(TNxCustomColumn* Column, const RECT& Rect) {
  const bool pressed = Column->IsHeaderDown();
  grid::DrawGradient(*Canvas, Rect, pressed ? FTo : FFrom, pressed ? FFrom : FTo);
  const int place = Column->HeaderPlace();
  if (place == 0 || place == 3)
    Line(Rect.right - 1, Rect.top, Rect.right - 1, Rect.bottom, grid::GetSchemeColor(2));
  else
    Line(Rect.right - 1, Rect.top + 2, Rect.right - 1, Rect.bottom - 3, grid::GetSchemeColor(10));
  Line(Rect.left, Rect.bottom - 1, Rect.right, Rect.bottom - 1, grid::GetSchemeColor(2));
}

void TOfficeStyleDisplay::PaintIndicatorCell(const RECT& Rect, int, bool, bool) {
  PaintCorner(Rect, 0);
}

// ---------------------------------------------------------------------------- old style

void TOldStyleDisplay::PaintCorner(const RECT& Rect, int) {
  grid::DrawButtonFace(*Canvas, Rect, true);
}

void TOldStyleDisplay::PaintHeaderBackground(TNxCustomColumn*, const RECT& Rect) {
  grid::DrawButtonFace(*Canvas, Rect, true);
}

void TOldStyleDisplay::PaintIndicatorCell(const RECT& Rect, int, bool, bool) {
  grid::DrawButtonFace(*Canvas, Rect, true);
}

// ---------------------------------------------------------------------------- outlook

// The three bottom rows: the shadow blended into Color, darkest at the bottom.
void TOutlookStyleDisplay::SoftBottomEdge(const RECT& Rect, TColor Color) {
  const int weights[3] = {50, 100, 150};
  for (int i = 0; i < 3; ++i) {
    const int y = Rect.bottom - 3 + i;
    Line(Rect.left, y, Rect.right, y, grid::BlendColor(clBtnShadow, Color, weights[i]));
  }
}

void TOutlookStyleDisplay::PaintBand(const RECT& Rect) {
  grid::DrawButtonFace(*Canvas, Rect, false);
}

void TOutlookStyleDisplay::PaintCorner(const RECT& Rect, int) {
  Fill({Rect.left, Rect.top, Rect.right, Rect.bottom - 3}, clBtnFace);
  Line(Rect.right - 1, Rect.top, Rect.right - 1, Rect.bottom, clBtnShadow);
  SoftBottomEdge(Rect, clBtnFace);
}

void TOutlookStyleDisplay::PaintHeaderBackground(TNxCustomColumn* Column, const RECT& Rect) {
  const TColor color = Column->Header()->Color();
  Fill({Rect.left, Rect.top, Rect.right, Rect.bottom - 3}, color);
  const int place = Column->HeaderPlace();  // 0 only, 1 first, 2 middle, 3 last
  const int l = Rect.left, r = Rect.right - 1, t = Rect.top, b = Rect.bottom;
  if (place <= 1) Line(l, t, l, b - 3, clBtnHighlight);
  else Line(l, t + 2, l, b - 4, clBtnHighlight);
  if (place == 0 || place == 3) Line(r, t, r, b - 1, clBtnShadow);
  else Line(r, t + 2, r, b - 4, clBtnShadow);
  SoftBottomEdge(Rect, color);
}

// ---------------------------------------------------------------------------- vista

void TVistaStyleDisplay::PaintHeaderBackground(TNxCustomColumn* Column, const RECT& Rect) {
  const int l = Rect.left, t = Rect.top, r = Rect.right, b = Rect.bottom;
  if (!Column->Sorted()) {
    Fill(Rect, kVistaFace);
  } else {
    grid::DrawGradient(*Canvas, {l, t, r, t + 6}, kVistaSortedTint, clWhite);
    Fill({l, t + 6, r, b}, clWhite);
    const int x = l + (r - l) / 2 - 3;
    if (Column->SortKind() == skAscending)
      Triangle({{x, t + 3}, {x + 3, t}, {x + 6, t + 3}}, clWhite, clWhite);
    else
      Triangle({{x, t}, {x + 3, t + 3}, {x + 6, t}}, clWhite, clWhite);
  }
  Line(l, t, l, b, clWhite);
  Line(r - 1, t, r - 1, b, clBtnFace);
}

void TVistaStyleDisplay::PaintIndicatorCell(const RECT& Rect, int, bool, bool) {
  Fill(Rect, kVistaFace);
  Line(Rect.left, Rect.top, Rect.left, Rect.bottom, clWhite);
  Line(Rect.right - 1, Rect.top, Rect.right - 1, Rect.bottom, clBtnFace);
}
