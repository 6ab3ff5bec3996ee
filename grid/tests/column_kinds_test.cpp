// What the text, number and picture columns show for a cell, which typed keys they take,
// and the number masks.
#include <gtest/gtest.h>

#include <string>

#include "grid/column_kinds.h"
#include "grid/tests/fake_grid.h"
#include "grid/tests/pinned_locale.h"

using gridtest::FakeGrid;

TEST(ColumnKinds, DisplayTextRules) {
  gridtest::PinnedSeparators comma(',');
  struct Case {
    const char* name;
    std::function<TNxCustomColumn*(FakeGrid&)> make;
    std::wstring text;  // the cell's text; its float value for the number column
    double value;
    std::wstring shown;
  };
  auto text = [](auto setup) {
    return [setup](FakeGrid& g) {
      auto* c = g.Add<TNxTextColumn>("t");
      setup(*c);
      return c;
    };
  };
  auto number = [](auto setup) {
    return [setup](FakeGrid& g) {
      auto* c = g.Add<TNxNumberColumn>("n");
      setup(*c);
      return c;
    };
  };
  const Case cases[] = {
      {"plain text", text([](auto&) {}), L"Радио", 0, L"Радио"},
      {"prefix and suffix", text([](TNxTextColumn& c) { c.SetTextBefore(L"<"); c.SetTextAfter(L">"); }),
       L"ab", 0, L"<ab>"},
      {"password over prefix", text([](TNxTextColumn& c) { c.SetTextBefore(L"№ "); c.SetPasswordChar(L'*'); }),
       L"abc", 0, L"*****"},
      {"number 7", number([](auto&) {}), {}, 7, L"7"},
      {"number 12,5", number([](auto&) {}), {}, 12.5, L"12,5"},
      {"number with texts", number([](TNxNumberColumn& c) { c.SetTextBefore(L"~"); c.SetTextAfter(L" кбит"); }),
       {}, 128, L"~128 кбит"},
      {"empty hidden", number([](TNxNumberColumn& c) { c.SetHideWhenEmpty(true); c.SetEmptyCaption(L"нет");
                                                      c.SetTextBefore(L"~"); }),
       {}, 0, L"нет"},
      {"not empty", number([](TNxNumberColumn& c) { c.SetHideWhenEmpty(true); c.SetEmptyValue(-1); }),
       {}, 0, L"0"},
      {"mask", number([](TNxNumberColumn& c) { c.SetFormatMask("#,##0.00"); c.SetTextAfter(L" р."); }),
       {}, 1234.5, L"1 234,50 р."},
      {"picture", [](FakeGrid& g) -> TNxCustomColumn* { return g.Add<TNxGraphicColumn>("p"); }, L"logo", 0,
       L"logo"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeGrid g;
    TNxCustomColumn* column = c.make(g);
    TCellInfo info;
    info.AsString = c.text;
    info.AsFloat = c.value;
    std::wstring shown;
    column->GetDrawText(info, shown);
    EXPECT_EQ(shown, c.shown);
    std::wstring hint;
    column->GetHintText(info, hint);
    EXPECT_EQ(hint, shown);
  }
}

TEST(ColumnKinds, NewNumberCellShowsTheEmptyCaption) {
  FakeGrid g;
  auto* number = g.Add<TNxNumberColumn>("n");
  number->SetHideWhenEmpty(true);
  number->SetEmptyCaption(L"-");
  g.cells.AddRows(1);
  TCellInfo info;
  info.AsFloat = g.cells.GetCell(0, 0)->GetAsFloat();
  std::wstring shown;
  number->GetDrawText(info, shown);
  EXPECT_EQ(shown, L"-");
}

TEST(ColumnKinds, TypedKeys) {
  gridtest::PinnedSeparators comma(',');
  TNxTextColumn text;
  TNxNumberColumn number;
  TNxGraphicColumn picture;
  struct Case {
    wchar_t key;
    bool text, number, signedNumber, picture;
  };
  for (const Case& c : {Case{L'a', true, false, false, false}, Case{L' ', false, false, false, false},
                        Case{L'5', true, true, true, false}, Case{L'-', true, false, true, false},
                        Case{L'+', true, false, true, false}, Case{L',', true, true, true, false},
                        Case{L'.', true, false, false, false}, Case{L'Ж', true, false, false, false}}) {
    SCOPED_TRACE(std::string(1, char(c.key)));
    number.EditOptions = eoAllowFloat;
    EXPECT_EQ(text.IsValidInputChar(c.key), c.text);
    EXPECT_EQ(number.IsValidInputChar(c.key), c.number);
    number.EditOptions = eoAllowFloat | eoAllowSigns;
    EXPECT_EQ(number.IsValidInputChar(c.key), c.signedNumber);
    EXPECT_EQ(picture.IsValidInputChar(c.key), c.picture);
  }
}

TEST(ColumnKinds, ClassSettings) {
  TNxTextColumn text;
  TNxNumberColumn number;
  TNxGraphicColumn picture;
  EXPECT_EQ(text.Options(), 9230);
  EXPECT_EQ(text.ColumnKind(), 8);
  EXPECT_EQ(number.ColumnKind(), 4);
  EXPECT_EQ(picture.ColumnKind(), 5);
  EXPECT_EQ(text.GetCapabilities(), 42);
  EXPECT_EQ(number.GetCapabilities(), 42);
  EXPECT_EQ(picture.GetCapabilities(), 0);
  EXPECT_EQ(number.SortType(), stNumeric);
  EXPECT_EQ(number.DefaultValue(), L"0");
  EXPECT_EQ(number.Alignment(), taRightJustify);
  EXPECT_EQ(picture.Margin(), 4);
  text.SetMultiLine(true);
  EXPECT_EQ(text.GetDisplayOptions(), doMultiLine);
}

TEST(ColumnKinds, PictureSettingsRepaintTheWholeColumn) {
  FakeGrid g;
  auto* picture = g.Add<TNxGraphicColumn>("p");
  picture->SetMargin(6);
  picture->SetStretch(true);
  picture->SetBorderWidth(1);  // unchanged
  ASSERT_EQ(g.refreshes.size(), 2u);
  EXPECT_EQ(g.refreshes[0].kind, cpWhole);
}

TEST(ColumnKinds, NumberButtonReachesItsHandler) {
  TNxNumberColumn number;
  number.DoButtonClick();  // no handler: nothing
  TNxNumberColumn* sender = nullptr;
  number.OnButtonClick = [&](TNxNumberColumn* s) { sender = s; };
  number.DoButtonClick();
  EXPECT_EQ(sender, &number);
}

TEST(ColumnKinds, NumberMasks) {
  gridtest::PinnedSeparators point('.', ',');
  struct Case {
    const char* mask;
    double value;
    const char* text;
  };
  for (const Case& c : {Case{"0", 2.5, "2"}, Case{"0", 3.5, "4"}, Case{"0.00", 3, "3.00"},
                        Case{"#.##", 0.5, ".5"}, Case{"#,##0", 1234567, "1,234,567"},
                        Case{"0.0#", -1.256, "-1.26"}, Case{"000", 7, "007"}, Case{"0 kbit", 64, "64 kbit"},
                        Case{"0.0", -0.01, "0.0"}}) {
    EXPECT_EQ(grid::FormatFloat(c.mask, c.value), c.text) << c.mask << " " << c.value;
  }
}
