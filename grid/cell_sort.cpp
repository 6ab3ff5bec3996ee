#include "grid/cell_sort.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <numeric>

#include "framework/text_encoding.h"
#include "grid/cell_store.h"

namespace grid {
namespace {

template <class T>
int ThreeWay(const T& a, const T& b) {
  if (a < b) return -1;
  if (b < a) return 1;
  return 0;
}

int UnicodeCompare(const std::wstring& a, const std::wstring& b) {
  int result = CompareStringW(LOCALE_USER_DEFAULT, 0, a.data(), static_cast<int>(a.size()),
                              b.data(), static_cast<int>(b.size()));
  return result == 0 ? ThreeWay(a, b) : result - CSTR_EQUAL;
}

std::string LowerAnsi(const std::wstring& text) {
  std::string bytes = efir::text::toAnsi(text);
  for (char& c : bytes)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return bytes;
}

// Reads every row's value first (each through GetCell, so cells that answer for the current
// row read their own), then compares the stored values.
template <class Read, class Compare>
TRowCompare Keyed(TCells& cells, int col, Read read, Compare compare) {
  using Key = decltype(read(static_cast<TCell*>(nullptr)));
  auto keys = std::make_shared<std::vector<Key>>();
  keys->reserve(static_cast<size_t>(cells.RowCount()));
  for (int row = 0; row < cells.RowCount(); ++row) keys->push_back(read(cells.GetCell(col, row)));
  return [keys, compare](int a, int b) { return compare((*keys)[a], (*keys)[b]); };
}

template <class Read>
TRowCompare Keyed(TCells& cells, int col, Read read) {
  using Key = decltype(read(static_cast<TCell*>(nullptr)));
  return Keyed(cells, col, read, ThreeWay<Key>);
}

int Partition(std::vector<int>& rows, int lo, int hi, const TRowCompare& compare,
              bool descending, std::minstd_rand& random) {
  const int pivot = rows[std::uniform_int_distribution<int>(lo + 1, hi)(random)];
  auto before = [&](int x) {  // x may not stay left of the pivot
    int c = compare(pivot, x);
    return descending ? c >= 0 : c <= 0;
  };
  auto after = [&](int x) {
    int c = compare(pivot, x);
    return descending ? c <= 0 : c >= 0;
  };
  int i = lo - 1, j = hi + 1;
  for (;;) {
    // Bounded scans: a comparison that is not reflexive would otherwise run off the rows.
    do ++i; while (i < hi && !before(rows[i]));
    do --j; while (j > lo && !after(rows[j]));
    if (i >= j) break;
    std::swap(rows[i], rows[j]);
  }
  // Both halves must shrink, whatever the comparison answered.
  return std::clamp(i, lo + 1, hi);
}

void QuickSort(std::vector<int>& rows, int lo, int hi, const TRowCompare& compare,
               bool descending, std::minstd_rand& random) {
  while (lo < hi) {
    int p = Partition(rows, lo, hi, compare, descending, random);
    // Recurse into the smaller half, loop over the larger: the stack stays shallow.
    if (p - lo < hi - p + 1) {
      QuickSort(rows, lo, p - 1, compare, descending, random);
      lo = p;
    } else {
      QuickSort(rows, p, hi, compare, descending, random);
      hi = p - 1;
    }
  }
}

}  // namespace

std::vector<int> SortOrder(int Count, const TRowCompare& Compare, bool Descending,
                           std::minstd_rand& Random) {
  std::vector<int> rows(static_cast<size_t>(std::max(Count, 0)));
  std::iota(rows.begin(), rows.end(), 0);
  QuickSort(rows, 0, static_cast<int>(rows.size()) - 1, Compare, Descending, Random);
  return rows;
}

TDottedNumber ParseDottedNumber(const std::string& Text) {
  TDottedNumber result;
  int part = 0;
  for (char c : Text) {
    if (c == '.') {
      if (++part == 4) break;
    } else if (c >= '0' && c <= '9') {
      uint64_t next = uint64_t{result.Parts[part]} * 10 + static_cast<unsigned>(c - '0');
      result.Parts[part] = static_cast<uint32_t>(std::min<uint64_t>(next, UINT32_MAX));
    }
  }
  return result;
}

TRowCompare CellCompare(TCells& Cells, int ACol, TSortType SortType) {
  switch (SortType) {
    case stBoolean:
      return Keyed(Cells, ACol, [](TCell* c) { return c->GetAsBoolean(); });
    case stCaseInsensitive:
      return Keyed(Cells, ACol, [](TCell* c) { return LowerAnsi(c->GetAsString()); },
                   [](const std::string& a, const std::string& b) {
                     // bytes compare unsigned, as the code page orders them
                     return ThreeWay(std::basic_string_view<unsigned char>(
                                         reinterpret_cast<const unsigned char*>(a.data()), a.size()),
                                     std::basic_string_view<unsigned char>(
                                         reinterpret_cast<const unsigned char*>(b.data()), b.size()));
                   });
    case stCustom:
      return [&Cells, ACol](int a, int b) {
        int compare = 0;
        TCell* pivot = Cells.GetCell(ACol, a);
        Cells.DoCompare(pivot, Cells.GetCell(ACol, b), compare);
        return compare;
      };
    case stNumeric:
      return Keyed(Cells, ACol, [](TCell* c) { return c->GetAsFloat(); });
    case stDate:
      return Keyed(Cells, ACol, [](TCell* c) { return c->GetAsDateTime(); });
    case stIP:
      return Keyed(Cells, ACol,
                   [](TCell* c) { return ParseDottedNumber(efir::text::toAnsi(c->GetAsString())); },
                   [](const TDottedNumber& a, const TDottedNumber& b) {
                     return ThreeWay(std::to_array(a.Parts), std::to_array(b.Parts));
                   });
    case stUnicodeAlphabetic:
      return Keyed(Cells, ACol, [](TCell* c) { return c->GetAsString(); }, UnicodeCompare);
    case stAlphabetic:
      break;
  }
  // UTF-16 code units compare unsigned; a proper prefix comes first.
  return Keyed(Cells, ACol, [](TCell* c) { return c->GetAsString(); });
}

}  // namespace grid
