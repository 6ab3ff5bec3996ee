#include <gtest/gtest.h>

#include "framework/text_utils.h"

namespace efir {
namespace {

TEST(TextUtilsTest, ReplaceAllReplacesLeftToRightWithoutOverlap) {
  struct Case {
    const char *text, *sub, *with, *expected;
  };
  const Case cases[] = {
      {"a\\/b\\/c", "\\/", "/", "a/b/c"},
      {"aaa", "aa", "b", "ba"},
      {"&laquo;Радио&raquo;", "&laquo;", "", "Радио&raquo;"},
      {"abc", "", "x", "abc"},
      {"abc", "x", "y", "abc"},
      {"xx", "x", "xx", "xxxx"},
  };
  for (const Case& c : cases) EXPECT_EQ(ReplaceAll(c.text, c.sub, c.with), c.expected) << c.text;
}

TEST(TextUtilsTest, ExtractBetweenTakesTheFirstStartAndTheNextStop) {
  struct Case {
    const char *start, *stop, *text, *expected;
  };
  const Case cases[] = {
      {"/stream/", ".mp3@", "http://h/stream/42.mp3@x.mp3@", "42"},
      {"'", "'", "servertime: '123' and '456'", "123"},
      {"<a>", "</a>", "<a>no end", ""},
      {"<a>", "</a>", "no start</a>", ""},
      {"a", "a", "aa", ""},
      {"", "|", "name|rest", "name"},
  };
  for (const Case& c : cases) EXPECT_EQ(ExtractBetween(c.start, c.stop, c.text), c.expected) << c.text;
}

TEST(TextUtilsTest, UpperCaseCyrMovesOnlyTheTwoLetterRanges) {
  EXPECT_EQ(UpperCaseCyr("abz Радио-1 ёЁ{}`"), "ABZ РАДИО-1 ёЁ{}`");
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  std::string upper = UpperCaseCyr(all);
  for (int b = 0; b < 256; ++b) {
    bool lowered = (b >= 97 && b <= 122) || b >= 224;
    EXPECT_EQ(static_cast<unsigned char>(upper[static_cast<size_t>(b)]), lowered ? b - 32 : b) << b;
  }
}

TEST(TextUtilsTest, LocaleCaseCoversEveryCyrillicLetter) {
  EXPECT_EQ(AnsiUpperCase("ёлка abc"), "ЁЛКА ABC");
  EXPECT_EQ(AnsiLowerCase("ЁЛКА ABC"), "ёлка abc");
  EXPECT_EQ(AnsiCompareText("ёлка", "ЁЛКА"), 0);
  EXPECT_LT(AnsiCompareText("абв", "Бег"), 0);
  EXPECT_NE(AnsiCompareStr("абв", "АБВ"), 0);
  EXPECT_EQ(AnsiCompareStr("абв", "абв"), 0);
}

}  // namespace
}  // namespace efir
