// The base of a column's cell painter: where the text of a cell goes, with which DrawTextEx
// flags (from the column's alignment, wrapping and reading order), drawing and measuring it,
// and the small red mark of a cell that has a hint. The painters of the text, number and
// picture columns derive from it and draw the cell in PaintContent.
//
//   display.Canvas = &canvas; display.Rect = cellRect; display.AsString = text;
//   display.PaintContent();
#pragma once

#include <windows.h>

#include <string>

class TCanvas;
class TGraphic;
class TNxCustomColumn;

class TColumnDisplay {
 public:
  explicit TColumnDisplay(TNxCustomColumn* Column) : FColumn(Column) {}
  virtual ~TColumnDisplay() = default;
  TColumnDisplay(const TColumnDisplay&) = delete;
  TColumnDisplay& operator=(const TColumnDisplay&) = delete;

  // What the grid fills before painting or measuring a cell.
  bool AsBoolean = false;
  double AsDateTime = 0;
  double AsFloat = 0;
  int AsInteger = 0;
  std::wstring AsString;  // the text to draw
  TCanvas* Canvas = nullptr;
  RECT Rect{};  // the cell
  TGraphic* ObjectReference = nullptr;
  bool Highlighted = false;  // drawn in the selection's colours
  bool Selected = false;     // the selected cell itself

  TNxCustomColumn* Column() const { return FColumn; }

  // Rect, 2 pixels narrower at each side.
  virtual void GetTextRect(RECT& TextRect);
  virtual void DrawCellText(const std::wstring& Text, RECT TextRect);
  virtual void DrawHintMark();
  virtual int GetTextWidth();
  // The size AsString takes in the text rectangle, laid out as drawn but never cut short.
  virtual void MeasureText(SIZE& Size);
  virtual void PaintContent() = 0;

  // The DrawTextEx flags of the cell text. Text that may take several lines is placed
  // vertically by moving TextRect.Top (DT_VCENTER and DT_BOTTOM work on single lines only).
  UINT GetTextFlags(const std::wstring& Text, RECT& TextRect, bool Drawing);

 private:
  TNxCustomColumn* FColumn;
};
