#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "framework/convert.h"
#include "framework/edit_mask.h"
#include "framework/exceptions.h"

namespace efir {
namespace {

// Pins the process-wide settings for a test and puts the previous ones back afterwards.
class SettingsTest : public testing::Test {
 protected:
  void SetUp() override {
    saved_ = FormatSettings();
    TFormatSettings& s = FormatSettings();
    s.DecimalSeparator = '.';
    s.ThousandSeparator = ',';
    s.DateSeparator = '.';
    s.TimeSeparator = ':';
    s.ShortDateFormat = "dd/mm/yyyy";
    s.LongTimeFormat = "hh:nn:ss";
    s.TimeAMString = "AM";
    s.TimePMString = "PM";
  }
  void TearDown() override { FormatSettings() = saved_; }
  void useSeparator(char c) { FormatSettings().DecimalSeparator = c; }

 private:
  TFormatSettings saved_;
};

std::string messageOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const EConvertError& e) {
    return e.Message();
  }
  return "(no error)";
}

using ConvertTest = SettingsTest;

TEST_F(ConvertTest, BadTextRaisesTheExactMessage) {
  struct Case {
    char separator;
    std::function<void()> call;
    const char* message;
  };
  const Case cases[] = {
      {'.', [] { StrToInt("4x"); }, "'4x' is not a valid integer value"},
      {'.', [] { StrToInt(""); }, "'' is not a valid integer value"},
      {'.', [] { StrToInt("2147483648"); }, "'2147483648' is not a valid integer value"},
      {'.', [] { StrToInt("1.5"); }, "'1.5' is not a valid integer value"},
      {'.', [] { StrToInt64("9223372036854775808"); }, "'9223372036854775808' is not a valid integer value"},
      {'.', [] { StrToFloat("12,5"); }, "'12,5' is not a valid floating point value"},
      {',', [] { StrToFloat("12.5"); }, "'12.5' is not a valid floating point value"},
      {',', [] { StrToFloat(","); }, "',' is not a valid floating point value"},
      {'.', [] { StrToFloat(""); }, "'' is not a valid floating point value"},
      {'.', [] { StrToFloat("abc"); }, "'abc' is not a valid floating point value"},
      {'.', [] { StrToFloat("1e"); }, "'1e' is not a valid floating point value"},
      {'.', [] { StrToFloat("0x10"); }, "'0x10' is not a valid floating point value"},
      {'.', [] { StrToFloat("inf"); }, "'inf' is not a valid floating point value"},
      {'.', [] { StrToBool("yes"); }, "'yes' is not a valid boolean value"},
      {'.', [] { StrToDateTime("31.02.2024"); }, "'31.02.2024' is not a valid date and time"},
      {'.', [] { StrToDateTime("25:00"); }, "'25:00' is not a valid date and time"},
      {'.', [] { StrToDateTime("x"); }, "'x' is not a valid date and time"},
      {'.', [] { StringToGUID("5"); }, "'5' is not a valid GUID value"},
      {'.', [] { StringToGUID("{01234567-89AB-CDEF-0123-456789ABCDEG}"); },
       "'{01234567-89AB-CDEF-0123-456789ABCDEG}' is not a valid GUID value"},
  };
  for (const Case& c : cases) {
    useSeparator(c.separator);
    EXPECT_EQ(messageOf(c.call), c.message);
  }
}

TEST_F(ConvertTest, GoodTextConverts) {
  EXPECT_EQ(StrToInt(" -42 "), -42);
  EXPECT_EQ(StrToInt("+7"), 7);
  EXPECT_EQ(StrToInt("-2147483648"), INT_MIN);
  EXPECT_EQ(StrToInt64("-9223372036854775808"), INT64_MIN);
  EXPECT_EQ(StrToIntDef("x", 9), 9);
  EXPECT_EQ(StrToIntDef("12", 9), 12);
  int parsed = 5;
  EXPECT_FALSE(TryStrToInt("", parsed));
  EXPECT_FALSE(TryStrToInt("4x", parsed));
  EXPECT_EQ(parsed, 5);
  EXPECT_TRUE(TryStrToInt(" 12 ", parsed));
  EXPECT_EQ(parsed, 12);
  EXPECT_DOUBLE_EQ(StrToFloat(" 12.5 "), 12.5);
  EXPECT_DOUBLE_EQ(StrToFloat("-.5e2"), -50);
  useSeparator(',');
  EXPECT_DOUBLE_EQ(StrToFloat("12,5"), 12.5);
  EXPECT_DOUBLE_EQ(StrToFloat("3"), 3);
  EXPECT_TRUE(StrToBool("TRUE"));
  EXPECT_FALSE(StrToBool("false"));
  EXPECT_TRUE(StrToBool("1"));
  EXPECT_FALSE(StrToBool("0"));
}

TEST_F(ConvertTest, FloatTextUsesTheSettingsAndFifteenDigits) {
  struct Case {
    double value;
    const char* dot;
    const char* comma;
  };
  const Case cases[] = {
      {12.5, "12.5", "12,5"},
      {12, "12", "12"},
      {0.1 + 0.2, "0.3", "0,3"},
      {-0.0001, "-0.0001", "-0,0001"},
      {0.00001, "1E-5", "1E-5"},
      {1e15, "1E15", "1E15"},
      {123456789012345.0, "123456789012345", "123456789012345"},
      {1.0 / 3, "0.333333333333333", "0,333333333333333"},
      {-0.0, "0", "0"},
      {0.9999999999999999, "1", "1"},
      {999999999999999.9, "1E15", "1E15"},
  };
  for (const Case& c : cases) {
    useSeparator('.');
    EXPECT_EQ(FloatToStr(c.value), c.dot);
    useSeparator(',');
    EXPECT_EQ(FloatToStr(c.value), c.comma);
  }
}

TEST_F(ConvertTest, FixedTextRoundsToPrecisionThenPadsDecimals) {
  EXPECT_EQ(FloatToStrFixed(2.5, 2), "2.50");
  EXPECT_EQ(FloatToStrFixed(0.123456789012345, 15, 10), "0.123456789000000");
  EXPECT_EQ(FloatToStrFixed(-0.0004, 2), "0.00");
  EXPECT_EQ(FloatToStrFixed(1234.5678, 0), "1235");
  EXPECT_EQ(FloatToStrFixed(2.5, 0), "3");          // halves away from zero
  EXPECT_EQ(FloatToStrFixed(-0.125, 2), "-0.13");
  EXPECT_EQ(FloatToStrFixed(0.005, 2), "0.01");
  EXPECT_EQ(FloatToStrFixed(9.996, 2), "10.00");
  EXPECT_EQ(FloatToStrFixed(0.1449999999999999, 2), "0.14");  // rounded once, not twice
  EXPECT_EQ(FloatToStrFixed(1e20, 1), "100000000000000000000.0");
  useSeparator(',');
  EXPECT_EQ(FloatToStrFixed(3, 2), "3,00");
}

TEST_F(ConvertTest, FormatFollowsTheSettings) {
  EXPECT_EQ(Format("%d%%", 25), "25%");
  EXPECT_EQ(Format("%2.2d:%2.2d:%2.2d", 1, 1, 1), "01:01:01");
  EXPECT_EQ(Format("%.1f %%", 12.34), "12.3 %");
  EXPECT_EQ(Format("%f", 1.0), "1.00");
  EXPECT_EQ(Format("%.2n b", 1023.0), "1,023.00 b");
  EXPECT_EQ(Format("%.2n", -1234567.0), "-1,234,567.00");
  EXPECT_EQ(Format("%s=%5s|%-3d|%03d", std::string("a"), "b", 7, -7), "a=    b|7  |-07");
  EXPECT_EQ(Format("%x %X", 255, -1), "FF FFFFFFFF");
  EXPECT_EQ(Format("%u", -1), "4294967295");
  EXPECT_EQ(Format("%*d", 4, 5), "   5");
  useSeparator(',');
  EXPECT_EQ(Format("%.1f", 0.25), "0,3");
  FormatSettings().ThousandSeparator = ' ';
  EXPECT_EQ(Format("%.2n Kb", 2048.5), "2 048,50 Kb");
}

TEST_F(ConvertTest, FormatRaisesOnMissingOrUnsuitableArguments) {
  const char* kMessage = "Format '%d %d' invalid or incompatible with argument";
  EXPECT_EQ(messageOf([] { Format("%d %d", 1); }), kMessage);
  EXPECT_EQ(messageOf([] { Format("%d", "x"); }), "Format '%d' invalid or incompatible with argument");
  EXPECT_EQ(messageOf([] { Format("%s", 3); }), "Format '%s' invalid or incompatible with argument");
  EXPECT_EQ(messageOf([] { Format("%q", 3); }), "Format '%q' invalid or incompatible with argument");
}

TEST_F(ConvertTest, RoundsHalvesToEvenAndClamps) {
  const std::pair<double, int> cases[] = {
      {2.5, 2}, {3.5, 4}, {-2.5, -2}, {0.5, 0}, {1.5000001, 2}, {-0.4, 0},
      {3e9, INT_MAX}, {-3e9, INT_MIN}, {NAN, 0},
  };
  for (auto [value, expected] : cases) EXPECT_EQ(Round(value), expected) << value;
  EXPECT_EQ(Trunc(2.9), 2);
  EXPECT_EQ(Trunc(-2.9), -2);
  EXPECT_EQ(Trunc(1e12), INT_MAX);
}

TEST_F(ConvertTest, DayNumbersEncodeAndDecode) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDate(1970, 1, 1), 25569);
  EXPECT_EQ(EncodeDate(2000, 2, 29), 36585);
  EXPECT_THROW(EncodeDate(2023, 2, 29), EConvertError);
  int y, m, d, h, n, s, z;
  DecodeDate(45657.75, y, m, d);
  EXPECT_EQ(y * 10000 + m * 100 + d, 20241231);
  DecodeTime(45657.75 + 1.5 / 86400, h, n, s, z);
  EXPECT_EQ(h * 10000000 + n * 100000 + s * 1000 + z, 180001500);
  DecodeDate(-1.25, y, m, d);
  EXPECT_EQ(y * 10000 + m * 100 + d, 18991229);
  // A fraction a hair below midnight stays in its day.
  DecodeTime(1 - 1e-12, h, n, s, z);
  EXPECT_EQ(h, 23);
  double now = Now();
  EXPECT_GT(now, EncodeDate(2020, 1, 1));
  EXPECT_EQ(Date(), std::trunc(Now()));
}

TEST_F(ConvertTest, DateTimeTextFollowsTheSettings) {
  double t = EncodeDate(2024, 3, 7) + EncodeTime(9, 5, 3, 42);
  EXPECT_EQ(DateTimeToStr(t), "07.03.2024 09:05:03");
  EXPECT_EQ(DateTimeToStr(EncodeDate(2024, 3, 7)), "07.03.2024");
  EXPECT_EQ(FormatDateTime("d/m/yy h:mm 'at' hh", t), "7.3.24 9:05 at 09");
  FormatSettings().TimeSeparator = '_';
  EXPECT_EQ(FormatDateTime("mm:ss.zzz", t), "05_03.042");
  FormatSettings().LongTimeFormat = "h:nn:ss ampm";
  EXPECT_EQ(TimeToStr(EncodeTime(0, 30, 0, 0)), "12_30_00 AM");
  EXPECT_EQ(TimeToStr(EncodeTime(13, 5, 0, 0)), "1_05_00 PM");
}

TEST_F(ConvertTest, DateTimeTextReadsBack) {
  EXPECT_DOUBLE_EQ(StrToDateTime("07.03.2024 09:05:03"),
                   EncodeDate(2024, 3, 7) + EncodeTime(9, 5, 3, 0));
  EXPECT_DOUBLE_EQ(StrToDateTime("7.3.2024"), EncodeDate(2024, 3, 7));
  EXPECT_DOUBLE_EQ(StrToDateTime("13:30"), EncodeTime(13, 30, 0, 0));
  EXPECT_DOUBLE_EQ(StrToDateTime("1:30 PM"), EncodeTime(13, 30, 0, 0));
  FormatSettings().ShortDateFormat = "yyyy/mm/dd";
  FormatSettings().DateSeparator = '-';
  EXPECT_DOUBLE_EQ(StrToDateTime("2024-03-07"), EncodeDate(2024, 3, 7));
  double t = EncodeDate(1999, 12, 31) + EncodeTime(23, 59, 58, 0);
  EXPECT_DOUBLE_EQ(StrToDateTime(DateTimeToStr(t)), t);
}

TEST_F(ConvertTest, GuidTextRoundTrips) {
  const char* text = "{01234567-89AB-CDEF-0123-456789ABCDEF}";
  GUID g = StringToGUID(text);
  EXPECT_EQ(g.Data1, 0x01234567u);
  EXPECT_EQ(g.Data4[7], 0xEF);
  EXPECT_EQ(GUIDToString(g), text);
  EXPECT_EQ(GUIDToString(StringToGUID("{01234567-89ab-cdef-0123-456789abcdef}")), text);
}

TEST_F(ConvertTest, RandomRepeatsForASeedAndStaysInRange) {
  RandSeed(1234);
  std::vector<int> first;
  for (int i = 0; i < 50; ++i) first.push_back(Random(1000));
  RandSeed(1234);
  for (int i = 0; i < 50; ++i) EXPECT_EQ(Random(1000), first[static_cast<size_t>(i)]);
  for (int v : first) EXPECT_TRUE(v >= 0 && v < 1000);
  EXPECT_NE(std::count(first.begin(), first.end(), first[0]), 50);
  Randomize();
  for (int i = 0; i < 1000; ++i) {
    int v = Random(3);
    EXPECT_TRUE(v >= 0 && v < 3);
  }
  EXPECT_EQ(Random(0), 0);
}

TEST(FormatSettingsTest, LoadsTheUserLocale) {
  // The test rig runs under a Russian user locale.
  TFormatSettings saved = FormatSettings();
  LoadLocaleFormatSettings();
  const TFormatSettings& s = FormatSettings();
  EXPECT_EQ(s.DecimalSeparator, ',');
  EXPECT_EQ(s.DateSeparator, '.');
  EXPECT_EQ(s.TimeSeparator, ':');
  // The hour's leading zero differs between systems.
  std::string text = DateTimeToStr(EncodeDate(2024, 3, 7) + EncodeTime(9, 5, 3, 0));
  EXPECT_EQ(text.substr(0, 11), "07.03.2024 ");
  EXPECT_EQ(text.substr(text.size() - 6), ":05:03");
  FormatSettings() = saved;
}

}  // namespace
}  // namespace efir

TEST(EditMask, ValuesAreLaidOutByThePattern) {
  struct Case {
    const char* mask;
    const char* value;
    const char* shown;
  } cases[] = {
      {"(999) 000-00-00;0;_", "4951234567", "(495) 123-45-67"},
      {"(999) 000-00-00;0;_", "49512", "(495) 12_-__-__"},
      {"!99/99/0000;1;_", "01.02.2024", "01/02/2024"},
      {">LL-000;0; ", "ab12", "AB-12 "},
      {"\\N 000;0;*", "7", "N 7**"},
      {"000", "12", "12_"},  // no fields: literals saved, "_" for a missing character
  };
  for (const Case& c : cases)
    EXPECT_EQ(efir::FormatMaskText(c.mask, c.value), c.shown) << c.mask << " " << c.value;
}
