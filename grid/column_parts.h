// The three small settings objects every column owns: its header, its footer (both
// TColumnPart) and its slide rectangle (the place of its value inside a slide). They hold
// settings only; every change reaches the grid through the column, so the right band of the
// column is repainted.
//
//   column->Header()->SetCaption(L"Станция");     // the column's whole height is repainted
//   column->Footer()->SetFormulaKind(fkSum);      // OnChange: the column's notice 7
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "framework/bitmap.h"

#include "grid/grid_types.h"

class TNxCustomColumn;

enum TDisplayMode { dmImageOnly, dmTextAndImage, dmTextOnly };
enum TFormulaKind { fkNone, fkAverage, fkCount, fkDistinct, fkMaximum, fkMinimum, fkSum, fkCustom };
enum TFormatMaskKind { mkText, mkFloat };
enum THeaderOrientation { hoHorizontal, hoVertical };

class TColumnPart {
 public:
  explicit TColumnPart(TNxCustomColumn* Column);
  virtual ~TColumnPart();
  TColumnPart(const TColumnPart&) = delete;
  TColumnPart& operator=(const TColumnPart&) = delete;

  // Bound by the column to its notice 7 (repaint the column).
  std::function<void(TColumnPart* Sender)> OnChange;

  TNxCustomColumn* Column() const { return FColumn; }
  const std::wstring& Caption() const { return FCaption; }
  void SetCaption(const std::wstring& Value);
  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  TDisplayMode DisplayMode() const { return FDisplayMode; }
  void SetDisplayMode(TDisplayMode Value);
  TDrawingOptions DrawingOptions() const { return FDrawingOptions; }
  void SetDrawingOptions(TDrawingOptions Value);
  // The part's picture, drawn with its bottom-left pixel's colour transparent.
  TBitmap* Glyph() const { return FGlyph.get(); }
  void SetGlyph(const TBitmap& Value);
  const std::wstring& Hint() const { return FHint; }
  void SetHint(const std::wstring& Value) { FHint = Value; }

  // Caption, colour, display mode and glyph of another part.
  virtual void Assign(const TColumnPart& Source);

 protected:
  void Changed();
  void Refresh(int Part);

 private:
  void GlyphChanged();

  TNxCustomColumn* FColumn;
  std::wstring FCaption;
  TColor FColor = clWindow;
  TDisplayMode FDisplayMode = dmTextOnly;
  TDrawingOptions FDrawingOptions = doNormal;
  std::unique_ptr<TBitmap> FGlyph;
  bool FTakingGlyph = false;  // setting the glyph's transparency changes it again
  std::wstring FHint;
};

class TColumnFooter : public TColumnPart {
 public:
  explicit TColumnFooter(TNxCustomColumn* Column);

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TFormulaKind FormulaKind() const { return FFormulaKind; }
  void SetFormulaKind(TFormulaKind Value);
  double FormulaValue() const { return FFormulaValue; }
  void SetFormulaValue(double Value);
  const std::string& FormatMask() const { return FFormatMask; }
  void SetFormatMask(const std::string& Value);
  const std::wstring& TextAfter() const { return FTextAfter; }
  void SetTextAfter(const std::wstring& Value);
  const std::wstring& TextBefore() const { return FTextBefore; }
  void SetTextBefore(const std::wstring& Value);
  TFormatMaskKind FormatMaskKind() const { return FFormatMaskKind; }
  void SetFormatMaskKind(TFormatMaskKind Value);

  // From another footer: its alignment, drawing options, formula and texts; the caption and
  // colour stay this footer's own.
  void Assign(const TColumnPart& Source) override;

 private:
  TAlignment FAlignment = taLeftJustify;
  TFormulaKind FFormulaKind = fkNone;
  double FFormulaValue = 0;
  std::string FFormatMask;
  std::wstring FTextAfter;
  std::wstring FTextBefore;
  TFormatMaskKind FFormatMaskKind = mkText;
};

class TColumnHeader : public TColumnPart {
 public:
  explicit TColumnHeader(TNxCustomColumn* Column);

  THeaderOrientation Orientation() const { return FOrientation; }
  void SetOrientation(THeaderOrientation Value);
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  bool MultiLine() const { return FMultiLine; }
  void SetMultiLine(bool Value);
  bool HideArrow() const { return FHideArrow; }
  void SetHideArrow(bool Value);

  void Assign(const TColumnPart& Source) override;

 private:
  THeaderOrientation FOrientation = hoHorizontal;
  TAlignment FAlignment = taLeftJustify;
  bool FMultiLine = false;
  bool FHideArrow = true;
};

class TNxSlideBounds {
 public:
  explicit TNxSlideBounds(TNxCustomColumn* Column) : FColumn(Column) {}
  TNxSlideBounds(const TNxSlideBounds&) = delete;
  TNxSlideBounds& operator=(const TNxSlideBounds&) = delete;

  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  int Right() const { return FLeft + FWidth; }
  int Bottom() const { return FTop + FHeight; }
  // Left and Top report a slide change even when unchanged; Width and Height only on change.
  void SetLeft(int Value);
  void SetTop(int Value);
  void SetWidth(int Value);
  void SetHeight(int Value);

  void Assign(const TNxSlideBounds& Source);

 private:
  TNxCustomColumn* FColumn;
  int FLeft = 8;
  int FTop = 8;
  int FWidth = 80;
  int FHeight = 16;
};
