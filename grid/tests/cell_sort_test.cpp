// Sorting the rows by one column: the comparisons per sort type, the reverse-only shortcut
// and what forces a full sort, custom comparisons that are inconsistent or raise, and the
// program's shared random generator left alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "framework/convert.h"
#include "framework/exceptions.h"
#include "framework/text_encoding.h"
#include "grid/cell_sort.h"
#include "grid/column_kinds.h"
#include "grid/tests/fake_grid.h"
#include "grid/tests/pinned_locale.h"

using gridtest::FakeGrid;

namespace {

// A grid with a text column "a" holding the given texts and a second text column "b" that
// holds each row's original number, to check that rows move whole.
struct SortGrid : FakeGrid {
  explicit SortGrid(const std::vector<std::wstring>& texts) {
    Add<TNxTextColumn>("a");
    Add<TNxTextColumn>("b");
    cells.AddRows(static_cast<int>(texts.size()));
    for (size_t r = 0; r < texts.size(); ++r) {
      cells.GetCell(0, static_cast<int>(r))->SetAsString(texts[r]);
      cells.GetCell(1, static_cast<int>(r))->SetAsString(std::to_wstring(r));
    }
  }
  std::vector<std::wstring> Column(int col) {
    std::vector<std::wstring> out;
    for (int r = 0; r < cells.RowCount(); ++r) out.push_back(cells.GetCell(col, r)->GetAsString());
    return out;
  }
  std::string Texts() {
    std::string out;
    for (auto& t : Column(0)) out += (out.empty() ? "" : " ") + efir::text::toAnsi(t);
    return out;
  }
};

}  // namespace

TEST(CellSort, EachSortTypeOrdersItsValues) {
  struct Case {
    const char* name;
    TSortType type;
    bool descending;
    std::vector<std::wstring> texts;
    const char* sorted;
  };
  const Case cases[] = {
      {"alphabetic", stAlphabetic, false, {L"b", L"abc", L"B", L"ab"}, "B ab abc b"},
      {"alphabetic down", stAlphabetic, true, {L"b", L"abc", L"B", L"ab"}, "b abc ab B"},
      {"numbers as text", stAlphabetic, false, {L"9", L"10", L"2"}, "10 2 9"},
      {"numeric", stNumeric, false, {L"9", L"10", L"2", L"-1.5"}, "-1.5 2 9 10"},
      {"numeric down", stNumeric, true, {L"9", L"10", L"2"}, "10 9 2"},
      {"case-insensitive", stCaseInsensitive, false, {L"b", L"C", L"a"}, "a b C"},
      {"dotted numbers", stIP, false, {L"10.0.0.2", L"9.255.1.1", L"10.0.0.10", L"10.0"},
       "9.255.1.1 10.0 10.0.0.2 10.0.0.10"},
      {"unicode", stUnicodeAlphabetic, false, {L"Б", L"а", L"В"}, "а Б В"},
  };
  gridtest::PinnedSeparators point('.');
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SortGrid g(c.texts);
    g.cells.Sort(0, c.type, false, c.descending);
    EXPECT_EQ(g.Texts(), c.sorted);
    EXPECT_TRUE(g.cells.SortValid());
    EXPECT_EQ(g.cells.SortedColumn(), 0);
    EXPECT_EQ(g.cells.SortDescending(), c.descending);
    // Whole rows moved: column b still names each text's original row.
    for (int r = 0; r < g.cells.RowCount(); ++r)
      EXPECT_EQ(g.Column(0)[r], c.texts[std::stoul(g.Column(1)[r])]);
  }
}

// The sort is not stable: where keys tie, only the places of the keys are checked.
TEST(CellSort, TiesKeepTheirKeysTogether) {
  SortGrid booleans({L"true", L"false", L"1", L"0"});
  booleans.cells.Sort(0, stBoolean, false, false);
  for (int r = 0; r < 4; ++r)
    EXPECT_EQ(booleans.cells.GetCell(0, r)->GetAsBoolean(), r >= 2) << "row " << r;
  SortGrid dotted({L"1.2.3.4.9", L"1..3", L"x", L"1.2.3.4"});
  dotted.cells.Sort(0, stIP, false, false);
  auto d = dotted.Column(0);
  EXPECT_EQ(d[0], L"x");
  EXPECT_EQ(d[1], L"1..3");  // an empty group counts 0, and a fifth number is ignored
}

TEST(CellSort, NumberColumnPutsTenAfterNine) {
  SortGrid g({});
  auto* number = g.Add<TNxNumberColumn>("#");
  g.cells.AddRows(3);
  for (int r = 0; r < 3; ++r) g.cells.GetCell(2, r)->SetAsString(std::to_wstring(std::vector{10, 9, 7}[r]));
  g.cells.Sort(2, number->SortType(), false, false);
  EXPECT_EQ(g.Column(2), (std::vector<std::wstring>{L"7", L"9", L"10"}));
}

TEST(CellSort, ReversesOnlyWhenNothingChangedSinceTheLastSort) {
  struct Case {
    const char* name;
    std::function<void(TCells&)> between;
    int col;
    bool descending;
    bool full;
    bool reverseOnly;
  };
  const Case cases[] = {
      {"other direction", [](TCells&) {}, 0, true, false, true},
      {"same direction", [](TCells&) {}, 0, false, false, false},
      {"full resort asked", [](TCells&) {}, 0, true, true, false},
      {"other column", [](TCells&) {}, 1, true, false, false},
      {"cell changed", [](TCells& c) { c.GetCell(0, 1)->SetAsString(L"e"); }, 0, true, false, false},
      {"no rows added", [](TCells& c) { c.AddRows(0); }, 0, true, false, false},
      {"rows exchanged", [](TCells& c) { c.ExchangeRows(0, 1); }, 0, true, false, false},
      {"row deleted", [](TCells& c) { c.DeleteRow(0); }, 0, true, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SortGrid g({L"c", L"a", L"d", L"b"});
    int comparisons = 0;
    g.cells.OnCompareCells = [&](TCells*, TCell* a, TCell* b, int& compare) {
      ++comparisons;
      compare = a->GetAsString().compare(b->GetAsString());
    };
    g.cells.Sort(0, stCustom, false, false);
    c.between(g.cells);
    comparisons = 0;
    g.cells.Sort(c.col, stCustom, c.full, c.descending);
    EXPECT_EQ(comparisons == 0, c.reverseOnly);
    auto values = g.Column(c.col);
    auto expected = values;
    std::sort(expected.begin(), expected.end());
    if (c.descending) std::reverse(expected.begin(), expected.end());
    EXPECT_EQ(values, expected);
  }
}

TEST(CellSort, CustomSortWithoutHandlerTreatsAllAsEqualAndStillMoves) {
  SortGrid two({L"a", L"b"});
  two.cells.Sort(0, stCustom, false, false);
  EXPECT_EQ(two.Texts(), "b a");
  SortGrid three({L"a", L"b", L"c"});
  three.cells.Sort(0, stCustom, false, false);
  EXPECT_EQ(three.Texts(), "c a b");
}

TEST(CellSort, InconsistentComparisonsStayWithinTheRows) {
  const std::function<int(TCell*, TCell*)> handlers[] = {
      [](TCell*, TCell*) { return -1; },  // not even equal to itself
      [](TCell*, TCell*) { return 1; },
      [](TCell* a, TCell*) { return a->GetAsString() == L"3" ? 1 : -1; },
      [n = 0](TCell*, TCell*) mutable { return (n++ % 3) - 1; },
  };
  for (size_t h = 0; h < std::size(handlers); ++h) {
    for (int rows : {2, 3, 7, 40}) {
      SCOPED_TRACE("handler " + std::to_string(h) + ", rows " + std::to_string(rows));
      std::vector<std::wstring> texts;
      for (int r = 0; r < rows; ++r) texts.push_back(std::to_wstring(r));
      SortGrid g(texts);
      auto handler = handlers[h];
      g.cells.OnCompareCells = [&](TCells*, TCell* a, TCell* b, int& c) { c = handler(a, b); };
      for (bool descending : {false, true}) EXPECT_NO_THROW(g.cells.Sort(0, stCustom, true, descending));
      auto a = g.Column(0), b = g.Column(1);
      EXPECT_EQ(a, b);  // whole rows
      std::sort(a.begin(), a.end());
      std::sort(texts.begin(), texts.end());
      EXPECT_EQ(a, texts);  // every row once
    }
  }
}

TEST(CellSort, AComparisonThatRaisesMovesNothing) {
  SortGrid g({L"c", L"a", L"b"});
  int calls = 0;
  g.cells.OnCompareCells = [&](TCells*, TCell*, TCell*, int&) {
    if (++calls == 3) throw Exception("handler failed");
  };
  EXPECT_THROW(g.cells.Sort(0, stCustom, false, false), Exception);
  EXPECT_EQ(g.Texts(), "c a b");

  SortGrid numbers({L"3", L"abc", L"1"});
  try {
    numbers.cells.Sort(0, stNumeric, false, false);
    ADD_FAILURE() << "no conversion error";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'abc' is not a valid floating point value");
  }
  EXPECT_EQ(numbers.Texts(), "3 abc 1");
  EXPECT_FALSE(numbers.cells.SortValid());
}

TEST(CellSort, LeavesTheProgramsRandomGeneratorAlone) {
  efir::RandSeed(4242);
  const int expected[3] = {efir::Random(1000), efir::Random(1000), efir::Random(1000)};
  efir::RandSeed(4242);
  std::vector<std::wstring> texts;
  for (int r = 0; r < 50; ++r) texts.push_back(std::to_wstring((r * 37) % 50));
  SortGrid g(texts);
  g.cells.Sort(0, stNumeric, false, false);
  EXPECT_EQ(efir::Random(1000), expected[0]);
  EXPECT_EQ(efir::Random(1000), expected[1]);
  EXPECT_EQ(efir::Random(1000), expected[2]);
}

TEST(CellSort, DottedNumbersParse) {
  struct Case {
    const char* text;
    uint32_t parts[4];
  };
  for (const Case& c : {Case{"192.168.0.1", {192, 168, 0, 1}}, Case{"1..3", {1, 0, 3, 0}},
                        Case{"a1b.2", {1, 2, 0, 0}}, Case{"1.2.3.4.5.6", {1, 2, 3, 4}},
                        Case{"99999999999", {UINT32_MAX, 0, 0, 0}}, Case{"", {0, 0, 0, 0}}}) {
    auto n = grid::ParseDottedNumber(c.text);
    EXPECT_EQ(std::to_array(n.Parts), std::to_array(c.parts)) << c.text;
  }
}
