// Conversions between text and numbers, dates and GUIDs, under the process-wide format
// settings, raising EConvertError with the messages the programs show:
//   "'%s' is not a valid integer value", "'%s' is not a valid floating point value",
//   "'%s' is not a valid date and time", "'%s' is not a valid GUID value",
//   "'%s' is not a valid boolean value".
// Text is Windows-1251 bytes. Strict means: surrounding blanks are allowed around numbers,
// nothing else is.
//
//   int n = efir::StrToInt("42");                       // throws EConvertError on "4x"
//   efir::FormatSettings().DecimalSeparator = ',';
//   std::string s = efir::FloatToStr(12.5);             // "12,5"
//   std::string p = efir::Format("%.1f %%", 12.34);     // "12,3 %"
//
// Date and time values are day numbers (double): 1899-12-30 is day 0, the fraction is the
// time of day. Date and time formats use these tokens, in any letter case:
//   d dd (day), m mm (month; minutes right after an hour or before a second token),
//   yy yyyy, h hh, n nn (minutes), s ss, z zzz (milliseconds), ampm (AM/PM text, makes the
//   hour 12-hour), am/pm, c (short date, then long time unless midnight);
//   '/' is the date separator and ':' the time separator; '...' and "..." are literal.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

#include <guiddef.h>

namespace efir {

// The locale settings every text conversion uses. One object for the whole process: some
// parts change it (the download component sets the time separator), others rely on it.
struct TFormatSettings {
  char DecimalSeparator = '.';
  char ThousandSeparator = ',';
  char DateSeparator = '.';
  char TimeSeparator = ':';
  std::string ShortDateFormat = "dd/mm/yyyy";
  std::string LongTimeFormat = "hh:nn:ss";
  std::string TimeAMString = "AM";
  std::string TimePMString = "PM";
};

// The process-wide settings; loaded from the user's locale on first use.
TFormatSettings& FormatSettings();
// Re-reads the user's locale into FormatSettings() (tests pin values instead).
void LoadLocaleFormatSettings();

int StrToInt(std::string_view text);
int64_t StrToInt64(std::string_view text);
int StrToIntDef(std::string_view text, int fallback);
bool TryStrToInt(std::string_view text, int& value);
double StrToFloat(std::string_view text);        // decimal separator of the settings, E exponent
bool TryStrToFloat(std::string_view text, double& value);
bool StrToBool(std::string_view text);           // "true"/"false" in any case, or a number (0 is false)
double StrToDateTime(std::string_view text);     // date, time, or date and time per the settings
GUID StringToGUID(std::string_view text);        // "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}"

std::string IntToStr(int64_t value);
std::string FloatToStr(double value);            // shortest form, up to 15 significant digits
// Fixed point with `digits` decimals, rounded at the last decimal or at `precision`
// significant digits (at most 17; further decimals are zeros), whichever comes first.
// Shown numbers round halves away from zero (2.5 shows as 3), unlike Round.
std::string FloatToStrFixed(double value, int digits, int precision = 15);
std::string BoolToStr(bool value);               // "True" / "False"
std::string DateTimeToStr(double dayNumber);     // format "c"
std::string TimeToStr(double dayNumber);         // the long time format
std::string FormatDateTime(std::string_view format, double dayNumber);
std::string GUIDToString(const GUID& guid);      // braced, upper-case hexadecimal

double EncodeDate(int year, int month, int day);          // raises EConvertError when invalid
double EncodeTime(int hour, int minute, int second, int msec);
void DecodeDate(double dayNumber, int& year, int& month, int& day);
void DecodeTime(double dayNumber, int& hour, int& minute, int& second, int& msec);

// One argument of Format: a number, a text or a pointer, kept by reference for the call.
class FormatArg {
 public:
  enum class Kind { Integer, Unsigned, Float, Text, Pointer };

  template <class T>
    requires(std::is_integral_v<T> && !std::is_same_v<T, char> && !std::is_same_v<T, bool>)
  FormatArg(T value)
      : kind_(std::is_signed_v<T> ? Kind::Integer : Kind::Unsigned),
        integer_(static_cast<int64_t>(value)) {}
  FormatArg(double value) : kind_(Kind::Float), float_(value) {}
  FormatArg(const char* text) : kind_(Kind::Text), text_(text ? text : "") {}
  FormatArg(const std::string& text) : kind_(Kind::Text), text_(text) {}
  FormatArg(std::string_view text) : kind_(Kind::Text), text_(text) {}
  FormatArg(const void* pointer) : kind_(Kind::Pointer), pointer_(pointer) {}

  Kind kind() const { return kind_; }
  int64_t integer() const { return integer_; }
  double number() const { return kind_ == Kind::Float ? float_ : static_cast<double>(integer_); }
  std::string_view text() const { return text_; }
  const void* pointer() const { return pointer_; }

 private:
  Kind kind_;
  int64_t integer_ = 0;
  double float_ = 0;
  std::string_view text_;
  const void* pointer_ = nullptr;
};

// Formatting in the programs' style: %[-][0][width][.precision]type with the types
// d u x (upper-case hexadecimal) s f e g n (fixed with thousands separators) p and %%;
// '*' takes a width or precision from the arguments. f and n default to 2 decimals; floats
// use the settings' decimal separator. A missing or unsuitable argument raises
// EConvertError "Format '%s' invalid or incompatible with argument".
std::string FormatList(std::string_view format, std::span<const FormatArg> args);

template <class... Args>
std::string Format(std::string_view format, const Args&... args) {
  const FormatArg list[sizeof...(Args) + 1] = {FormatArg(args)..., FormatArg(0)};
  return FormatList(format, std::span<const FormatArg>(list, sizeof...(Args)));
}

// Rounding as the programs expect: halves to even; values outside the 32-bit range clamp
// (NaN gives 0).
int Round(double value);
int Trunc(double value);

// The current local date and time as a day number (1899-12-30 is day 0, 25569 is 1970-01-01).
double Now();
double Date();

// The program's shared pseudo-random generator: the same seed gives the same sequence.
void Randomize();
void RandSeed(uint32_t seed);
int Random(int range);                           // 0 <= result < range; 0 when range <= 0

}  // namespace efir
