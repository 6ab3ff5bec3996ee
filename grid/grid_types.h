// Small types shared by the grid's cells, columns and painters: colours and font styles as the
// grid stores them, the sort kinds, and the column's direction of sort.
#pragma once

#include <cstdint>
#include <functional>

// --- Seam: these come from the framework's drawing layer once it lands (TColor, font styles,
// the alignment of text). Kept here, plainly, so the grid's data model builds and is tested
// before that; the definitions follow the framework's colour layout (0x00BBGGRR, a high byte
// 0xFF marks a system colour).
using TColor = int32_t;
enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = uint8_t;  // a set of TFontStyle bits
enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
enum TAnchorKind : uint8_t { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = uint8_t;  // a set of TAnchorKind bits
using TCursor = int16_t;
constexpr TCursor crDefault = 0;

// The part of the framework's font the columns use: style, colour and the change event.
class TFont {
 public:
  std::function<void()> OnChange;
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles style) { Store(style_, style); }
  TColor Color() const { return color_; }
  void SetColor(TColor color) { Store(color_, color); }
  void Assign(const TFont& source) {
    if (style_ == source.style_ && color_ == source.color_) return;
    style_ = source.style_;
    color_ = source.color_;
    if (OnChange) OnChange();
  }

 private:
  template <class T>
  void Store(T& field, T value) {
    if (field == value) return;
    field = value;
    if (OnChange) OnChange();
  }
  TFontStyles style_ = 0;
  TColor color_ = static_cast<TColor>(0xFF000008);  // clWindowText
};
// --- end of seam

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clWindow = static_cast<TColor>(0xFF000005);
constexpr TColor clBtnFace = static_cast<TColor>(0xFF00000F);

// How a column compares its cells when the rows are sorted by it.
enum TSortType {
  stAlphabetic,
  stBoolean,
  stCaseInsensitive,
  stCustom,
  stNumeric,
  stDate,
  stIP,
  stUnicodeAlphabetic
};

enum TSortKind { skAscending, skDescending };

// How cells, headers and footers are drawn, and how their text is laid out.
enum TDrawingOptions { doNormal, doBackgroundOnly, doCustom, doCustomOnly };
enum TVerticalAlignment { taAlignTop, taAlignBottom, taVerticalCenter };
enum TWrapKind { wkNone, wkEllipsis, wkPathEllipsis, wkWordWrap };

namespace grid {

// The property writers' first step: an unchanged value is ignored (no notice, no repaint).
template <class T>
bool StoreChanged(T& Field, const T& Value) {
  if (Field == Value) return false;
  Field = Value;
  return true;
}

}  // namespace grid
