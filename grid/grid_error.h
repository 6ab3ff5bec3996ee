// The grid's own error: a cell address outside the grid. Raised by every cell look-up with a
// bad column or row, so a caller's mistake never reads or writes past the cell lists.
//
//   if (!valid) grid::RaiseCellOutOfBounds(ACol, ARow);   // "Cell out of bounds (0, 5)"
#pragma once

#include "framework/exceptions.h"

class EGridError : public Exception {
  using Exception::Exception;
};

namespace grid {

[[noreturn]] void RaiseCellOutOfBounds(int ACol, int ARow);

}  // namespace grid
