#include "grid/grid_error.h"

#include <string>

namespace grid {

void RaiseCellOutOfBounds(int ACol, int ARow) {
  throw EGridError("Cell out of bounds (" + std::to_string(ACol) + ", " + std::to_string(ARow) +
                   ")");
}

}  // namespace grid
