// A grid's columns as a stored window layout keeps them: written as text, and read back the
// way a layout is read: each column made by its class name and attached to the collection
// in stored order, its properties set while the grid reads (so nothing moves or sizes in
// between), then placed by its Position; a column whose Name is already there gives that
// column its properties instead of being added twice.
//
//   std::string text = grid::WriteColumnLayout(*grid->Columns());
//   grid::ReadColumnLayout(*other, text);   // other shows the same columns
//
// The text, UTF-8, one column after another:
//   column TNxTextColumn Station
//     Position 0
//     Header.Caption "Станция"
//     Header.Glyph {424D3A...}
//   end
// A property at its class's default is left out, except Position, SortType and the header,
// footer and slide-bounds parts, which are always there; the font only when ParentFont is
// off. A part's glyph is its .bmp file in hexadecimal, {} for none; a layout written before
// glyphs were kept has no Glyph lines and reads with empty glyphs. A damaged text (an
// unknown class or property, a value that does not read, a glyph that is no bitmap, a column
// without its end) raises EGridLayoutError naming the line, and the columns read before it
// stay.
#pragma once

#include <string>

#include "grid/grid_error.h"

class TNxColumns;
class TNxCustomGridControl;

class EGridLayoutError : public EGridError {
  using EGridError::EGridError;
};

namespace grid {

std::string WriteColumnLayout(const TNxColumns& Columns);
void ReadColumnLayout(TNxCustomGridControl& Grid, const std::string& Text);

}  // namespace grid
