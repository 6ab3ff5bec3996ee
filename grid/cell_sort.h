// The row order of a sort by one column: a quicksort with random pivots over row numbers, so
// a comparison that raises leaves the rows untouched, and a comparison that is not
// consistent (a custom handler, say) still ends within the rows.
//
//   auto order = grid::SortOrder(rows, compare, descending, random);
//   // order[k] is the old index of the row that goes to position k
#pragma once

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "grid/grid_types.h"

class TCells;

namespace grid {

// Three-way comparison of two rows by their old indexes: negative when Pivot belongs before X
// in ascending order, positive when after, 0 when equal.
using TRowCompare = std::function<int(int Pivot, int X)>;

std::vector<int> SortOrder(int Count, const TRowCompare& Compare, bool Descending,
                           std::minstd_rand& Random);

// The comparison of SortType over the cells of column ACol. Values are read once, up front,
// so a text that does not convert raises before any row moves.
TRowCompare CellCompare(TCells& Cells, int ACol, TSortType SortType);

// Dotted numbers ("192.168.0.1"): up to four numbers, digits only, empty or missing groups 0.
struct TDottedNumber {
  uint32_t Parts[4] = {0, 0, 0, 0};
};
TDottedNumber ParseDottedNumber(const std::string& Text);

}  // namespace grid
