// Small types shared by the grid's cells, columns and painters: the sort kinds and the
// direction of a column's sort, text layout, and the framework's colour, font and alignment types.
#pragma once

#include <cstdint>

#include "framework/controls.h"
#include "framework/gdi.h"
#include "framework/graphics_objects.h"
#include "framework/stdctrls.h"

// Bidirectional text and the anchors of a slide rectangle, which the framework's controls
// do not have.
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
enum TAnchorKind : uint8_t { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = uint8_t;  // a set of TAnchorKind bits

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
