// The typed cells' conversions under the locale's decimal separator, with the framework's
// conversion errors: a bad text raises, leaves the old value and reports no change.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "framework/exceptions.h"
#include "grid/cells.h"
#include "grid/tests/pinned_locale.h"

namespace {

struct Store {
  TCells cells{nullptr, nullptr};
  int changes = 0;
  Store() {
    cells.OnCellChange = [this](TCells*, int, int) { ++changes; };
  }
};

template <class T>
std::function<std::unique_ptr<TCell>(TCells*)> Make(std::function<void(TCell&)> preset = {}) {
  return [preset](TCells* cells) {
    std::unique_ptr<TCell> cell = std::make_unique<T>(cells);
    if (preset) preset(*cell);
    return cell;
  };
}

std::function<void(TCell&)> Text(const wchar_t* text) {
  return [text](TCell& c) { c.SetAsString(text); };
}

}  // namespace

TEST(Cells, WritersConvertOrRaise) {
  struct Case {
    const char* name;
    char separator;
    std::function<std::unique_ptr<TCell>(TCells*)> make;  // the cell, with its old value
    std::function<void(TCell&)> write;
    const wchar_t* text;  // GetAsString afterwards
    const char* error;    // the conversion error's message, or nullptr
  };
  const Case cases[] = {
      {"float 12", '.', Make<TFloatCell>(), Text(L"12"), L"12", nullptr},
      {"float 12,5 comma", ',', Make<TFloatCell>(), Text(L"12,5"), L"12,5", nullptr},
      {"float 12.5 point", '.', Make<TFloatCell>(), Text(L"12.5"), L"12.5", nullptr},
      {"float 12.5 comma", ',', Make<TFloatCell>(Text(L"3")), Text(L"12.5"), L"3",
       "'12.5' is not a valid floating point value"},
      {"float abc", '.', Make<TFloatCell>(Text(L"7")), Text(L"abc"), L"7",
       "'abc' is not a valid floating point value"},
      {"float empty", '.', Make<TFloatCell>(Text(L"7")), Text(L""), L"7",
       "'' is not a valid floating point value"},
      {"float from boolean", '.', Make<TFloatCell>(Text(L"7")), [](TCell& c) { c.SetAsBoolean(true); },
       L"0", nullptr},
      {"integer empty", '.', Make<TIntegerCell>(Text(L"7")), Text(L""), L"0", nullptr},
      {"integer 4x", '.', Make<TIntegerCell>(Text(L"7")), Text(L"4x"), L"7",
       "'4x' is not a valid integer value"},
      {"integer from 2.5", '.', Make<TIntegerCell>(), [](TCell& c) { c.SetAsFloat(2.5); }, L"2", nullptr},
      {"integer from 3.5", '.', Make<TIntegerCell>(), [](TCell& c) { c.SetAsFloat(3.5); }, L"4", nullptr},
      {"integer from date", '.', Make<TIntegerCell>(Text(L"7")), [](TCell& c) { c.SetAsDateTime(9); },
       L"0", nullptr},
      {"boolean TRUE", '.', Make<TBooleanCell>(), Text(L"TRUE"), L"True", nullptr},
      {"boolean 1", '.', Make<TBooleanCell>(), Text(L"1"), L"True", nullptr},
      {"boolean yes", '.', Make<TBooleanCell>(Text(L"true")), Text(L"yes"), L"False", nullptr},
      {"boolean from 0.1", '.', Make<TBooleanCell>(), [](TCell& c) { c.SetAsFloat(0.1); }, L"True", nullptr},
      {"date unreadable", '.', Make<TDateTimeCell>([](TCell& c) { c.SetAsFloat(5); }), Text(L"garbage"),
       nullptr, nullptr},
      {"string from float comma", ',', Make<TStringCell>(), [](TCell& c) { c.SetAsFloat(12.5); }, L"12,5",
       nullptr},
      {"string from integer", '.', Make<TStringCell>(), [](TCell& c) { c.SetAsInteger(-3); }, L"-3", nullptr},
      {"string from boolean", '.', Make<TStringCell>(), [](TCell& c) { c.SetAsBoolean(false); }, L"False",
       nullptr},
      {"guid from integer", '.', Make<TGuidCell>(Text(L"{00000000-0000-0000-0000-000000000001}")),
       [](TCell& c) { c.SetAsInteger(5); }, L"{00000000-0000-0000-0000-000000000001}",
       "'5' is not a valid GUID value"},
      {"guid text", '.', Make<TGuidCell>(), Text(L"{0A1B2C3D-0000-1111-2222-333344445555}"),
       L"{0A1B2C3D-0000-1111-2222-333344445555}", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    gridtest::PinnedSeparators pin(c.separator);
    Store store;
    auto cell = c.make(&store.cells);
    store.changes = 0;
    if (c.error) {
      try {
        c.write(*cell);
        ADD_FAILURE() << "no conversion error";
      } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), c.error);
      }
      EXPECT_EQ(store.changes, 0);
    } else {
      c.write(*cell);
      EXPECT_EQ(store.changes, 1);
    }
    if (c.text) {
      EXPECT_EQ(cell->GetAsString(), c.text);
    }
  }
}

TEST(Cells, ReadersConvertOrRaise) {
  gridtest::PinnedSeparators pin('.');
  Store store;
  TFloatCell f(&store.cells);
  TDateTimeCell d(&store.cells);
  TIntegerCell i(&store.cells);
  TStringCell s(&store.cells);
  struct Case {
    const char* name;
    std::function<double()> read;
    double value;
  };
  const Case cases[] = {
      {"float 2.5 as integer", [&] { f.SetAsFloat(2.5); return f.GetAsInteger(); }, 2},
      {"float 3.5 as integer", [&] { f.SetAsFloat(3.5); return f.GetAsInteger(); }, 4},
      {"float -2.5 as integer", [&] { f.SetAsFloat(-2.5); return f.GetAsInteger(); }, -2},
      {"huge float as integer", [&] { f.SetAsFloat(1e20); return f.GetAsInteger(); }, INT32_MAX},
      {"float as boolean", [&] { f.SetAsFloat(1); return f.GetAsBoolean(); }, 0},
      {"date 2.9 as integer", [&] { d.SetAsFloat(2.9); return d.GetAsInteger(); }, 2},
      {"date unreadable is day 0", [&] { d.SetAsString(L"32.13.2020"); return d.GetAsDateTime(); }, 0},
      {"integer -1 as boolean", [&] { i.SetAsInteger(-1); return i.GetAsBoolean(); }, 0},
      {"integer 5 as boolean", [&] { i.SetAsInteger(5); return i.GetAsBoolean(); }, 1},
      {"integer as date", [&] { i.SetAsInteger(5); return i.GetAsDateTime(); }, 0},
      {"string 7 as integer", [&] { s.SetAsString(L" 7 "); return s.GetAsInteger(); }, 7},
      {"string 7.25 as float", [&] { s.SetAsString(L"7.25"); return s.GetAsFloat(); }, 7.25},
      {"empty string as date", [&] { s.Clear(); return s.GetAsDateTime(); }, 0},
      {"string true as boolean", [&] { s.SetAsString(L"true"); return s.GetAsBoolean(); }, 1},
  };
  for (const Case& c : cases) EXPECT_EQ(c.read(), c.value) << c.name;

  struct Bad {
    std::function<void()> read;
    const char* error;
  };
  const Bad bad[] = {
      {[&] { s.Clear(); s.GetAsFloat(); }, "'' is not a valid floating point value"},
      {[&] { s.Clear(); s.GetAsInteger(); }, "'' is not a valid integer value"},
      {[&] { s.SetAsString(L"maybe"); s.GetAsBoolean(); }, "'maybe' is not a valid boolean value"},
      {[&] { s.SetAsString(L"x"); s.GetAsDateTime(); }, "'x' is not a valid date and time"},
  };
  for (const Bad& b : bad) {
    try {
      b.read();
      ADD_FAILURE() << b.error;
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(), b.error);
    }
  }
}

TEST(Cells, NewGuidCellsHoldFreshGuidsInBracedForm) {
  Store store;
  TGuidCell a(&store.cells), b(&store.cells);
  const std::wstring text = a.GetAsString();
  ASSERT_EQ(text.size(), 38u);
  EXPECT_EQ(text.front(), L'{');
  EXPECT_EQ(text.back(), L'}');
  for (size_t dash : {9u, 14u, 19u, 24u}) EXPECT_EQ(text[dash], L'-');
  EXPECT_NE(text, b.GetAsString());
}

TEST(Cells, IncrementCellReadsItsRowAndIgnoresWrites) {
  Store store;
  TIncrementCell cell(&store.cells);
  EXPECT_EQ(cell.GetAsString(), L"1");  // row 0
  EXPECT_EQ(cell.GetAsFloat(), 1.0);
  cell.Clear();
  EXPECT_EQ(store.changes, 0);  // nothing to clear, nothing reported
  cell.SetAsString(L"40");
  EXPECT_EQ(store.changes, 1);
  EXPECT_EQ(cell.GetAsString(), L"1");
}

TEST(Cells, ClearResetsTheValueAndReportsIt) {
  gridtest::PinnedSeparators pin('.');
  Store store;
  TFloatCell f(&store.cells);
  TStringCell s(&store.cells);
  TBooleanCell b(&store.cells);
  f.SetAsFloat(4.5);
  s.SetAsString(L"x");
  b.SetAsBoolean(true);
  store.changes = 0;
  f.Clear();
  s.Clear();
  b.Clear();
  EXPECT_EQ(store.changes, 3);
  EXPECT_EQ(f.GetAsString() + L"|" + s.GetAsString() + L"|" + b.GetAsString(), L"0||False");
}
