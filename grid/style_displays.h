// The painters of the grid's parts that are not cells: header cells (caption, glyph, sort
// arrow), footer cells, input-row cells, the indicator column, the corners and bands between
// them, and the header strip right of the last column. The grid owns one display per header
// style and paints through the one its HeaderStyle selects; each look is a subclass.
//
//   TStyleDisplay& display = grid->ActiveStyleDisplay();
//   display.Canvas = &canvas;                       // given before every paint
//   display.Themed = grid::ThemesActive();
//   display.PaintHeaderCell(column, headerRect);
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "grid/grid_types.h"

class TCanvas;
class TColumnPart;
class TNxCustomColumn;
class TWinControl;

// GetDisplayFlags: headers follow the mouse (the hot header is repainted); the pressed
// header is drawn inverted; the look draws no separate sort arrow.
enum TDisplayFlag : uint8_t { dfHotTracking = 1, dfInvertPressed = 2, dfNoSortArrow = 4 };

class TStyleDisplay {
 public:
  // Control: the grid, whose colour fills the empty parts and whose window themes are for.
  explicit TStyleDisplay(TWinControl* Control) : FControl(Control) {}
  virtual ~TStyleDisplay() = default;
  TStyleDisplay(const TStyleDisplay&) = delete;
  TStyleDisplay& operator=(const TStyleDisplay&) = delete;

  TCanvas* Canvas = nullptr;
  bool ShowSortArrows = true;
  bool HeaderBackground = true;  // PaintHeaderCell paints the background
  bool Themed = false;  // visual styles enabled and available
  // Called after a header or footer cell with the column's index and the cell.
  std::function<void(int Index, const RECT& Rect)> HeaderCallback;
  std::function<void(int Index, const RECT& Rect)> FooterCallback;

  TWinControl* Control() const { return FControl; }

  virtual int GetSortArrowMargin(TNxCustomColumn* Column);
  virtual uint8_t GetDisplayFlags() { return 0; }
  virtual void AdjustHeaderTextRect(RECT&) {}
  virtual void PaintSortArrow(int X, int Y, bool Ascending);
  virtual void PaintFooterContent(TNxCustomColumn* Column, const RECT& Rect);
  virtual void PaintHeaderContent(TNxCustomColumn* Column, const RECT& Rect);
  virtual void PaintBand(const RECT& Rect) { PaintCorner(Rect, 0); }
  // Kind 0 looks like a header cell, 1 like a footer cell.
  virtual void PaintCorner(const RECT& Rect, int Kind);
  virtual void PaintFooterCell(TNxCustomColumn* Column, const RECT& Rect, bool GridLines);
  virtual void PaintHeaderCell(TNxCustomColumn* Column, const RECT& Rect);
  virtual void PaintHeaderBackground(TNxCustomColumn*, const RECT&) {}
  virtual void PaintIndicatorCell(const RECT& Rect, int Row, bool Selected, bool Highlighted);
  virtual void PaintIndicatorContent(const RECT& Rect, bool Selected, bool Highlighted);
  virtual void PaintInputCell(TNxCustomColumn* Column, const RECT& Rect, bool Focused,
                              bool InputSelected, bool GridLines);
  virtual void PaintEmptyHeader(const RECT& Rect);

  // The width the header's caption and glyph need (its height for a vertical caption).
  int MeasureHeader(TNxCustomColumn* Column);

 protected:
  TColor ControlColor() const;
  void Fill(const RECT& Rect, TColor Color);
  void Line(int X1, int Y1, int X2, int Y2, TColor Color);
  // Header, footer and input texts: clear brush, vertically centred, ellipsis at the end.
  void DrawPartText(RECT Rect, const std::wstring& Text, UINT Flags);
  void Triangle(const POINT (&Points)[3], TColor Outline, TColor FillColor);
  // A filled triangle of the sort arrow's size (8 by 4), apex up for Ascending.
  void PaintArrowTriangle(int X, int Y, bool Ascending, TColor Outline, TColor FillColor);
  void Invert(const RECT& Rect);

 private:
  int PlaceCaption(TColumnPart& Part, const RECT& Rect, TAlignment Alignment, int Width,
                   int TextGap, int GlyphGap);

  TWinControl* FControl;
};

// hsAuto: the platform's "header" theme when it is on, the classic raised look otherwise.
class TDefaultStyleDisplay : public TStyleDisplay {
 public:
  using TStyleDisplay::TStyleDisplay;
  uint8_t GetDisplayFlags() override { return Themed ? dfHotTracking : dfInvertPressed; }
  void PaintCorner(const RECT& Rect, int Kind) override;
  void PaintHeaderBackground(TNxCustomColumn* Column, const RECT& Rect) override;
  void PaintEmptyHeader(const RECT& Rect) override;
  void PaintClassicHeader(TNxCustomColumn* Column, const RECT& Rect);
  void PaintThemedHeader(TNxCustomColumn* Column, const RECT& Rect);

 private:
  bool ThemedPart(const RECT& Rect, int Part, int State);
};

// hsFlatBorders: flat cells with grey lines at the right and bottom.
class TFlatStyleDisplay : public TStyleDisplay {
 public:
  using TStyleDisplay::TStyleDisplay;
  void PaintBand(const RECT& Rect) override;
  void PaintCorner(const RECT& Rect, int Kind) override;
  void PaintHeaderBackground(TNxCustomColumn* Column, const RECT& Rect) override;
  void PaintIndicatorCell(const RECT& Rect, int Row, bool Selected, bool Highlighted) override;
};

// hsOffice2007 and hsOffice2010: gradient headers in colours of the current scheme.
class TOfficeStyleDisplay : public TStyleDisplay {
 public:
  // The header gradient's two scheme colours.
  TOfficeStyleDisplay(TWinControl* Control, int FromElement, int ToElement);
  void AdjustHeaderTextRect(RECT& Rect) override { OffsetRect(&Rect, 2, 0); }
  void PaintBand(const RECT& Rect) override;
  void PaintCorner(const RECT& Rect, int Kind) override;
  void PaintHeaderBackground(TNxCustomColumn* Column, const RECT& Rect) override;
  void PaintIndicatorCell(const RECT& Rect, int Row, bool Selected, bool Highlighted) override;

 private:
  TColor FFrom, FTo;
};

class TOffice2007StyleDisplay : public TOfficeStyleDisplay {
 public:
  explicit TOffice2007StyleDisplay(TWinControl* Control);
};

class TOffice2010StyleDisplay : public TOfficeStyleDisplay {
 public:
  explicit TOffice2010StyleDisplay(TWinControl* Control);
  void PaintSortArrow(int X, int Y, bool Ascending) override;
};

// hsOldStyle: raised button faces with a dark outer edge.
class TOldStyleDisplay : public TStyleDisplay {
 public:
  using TStyleDisplay::TStyleDisplay;
  uint8_t GetDisplayFlags() override { return dfInvertPressed; }
  void PaintCorner(const RECT& Rect, int Kind) override;
  void PaintHeaderBackground(TNxCustomColumn* Column, const RECT& Rect) override;
  void PaintIndicatorCell(const RECT& Rect, int Row, bool Selected, bool Highlighted) override;
};

// hsOutlook: flat headers with separators and a soft shadow along the bottom.
class TOutlookStyleDisplay : public TStyleDisplay {
 public:
  using TStyleDisplay::TStyleDisplay;
  uint8_t GetDisplayFlags() override { return dfInvertPressed; }
  void AdjustHeaderTextRect(RECT& Rect) override { Rect.bottom -= 3; }
  void PaintBand(const RECT& Rect) override;
  void PaintCorner(const RECT& Rect, int Kind) override;
  void PaintHeaderBackground(TNxCustomColumn* Column, const RECT& Rect) override;

 private:
  void SoftBottomEdge(const RECT& Rect, TColor Color);
};

// hsVista: light headers; a sorted one is tinted at the top and shows a small white arrow.
class TVistaStyleDisplay : public TStyleDisplay {
 public:
  using TStyleDisplay::TStyleDisplay;
  uint8_t GetDisplayFlags() override { return dfNoSortArrow; }
  void AdjustHeaderTextRect(RECT& Rect) override { OffsetRect(&Rect, 2, 0); }
  void PaintHeaderBackground(TNxCustomColumn* Column, const RECT& Rect) override;
  void PaintIndicatorCell(const RECT& Rect, int Row, bool Selected, bool Highlighted) override;
};
