// Conversions between text and numbers, under the process-wide format settings, raising
// EConvertError with the messages the programs show:
//   "'%s' is not a valid integer value", "'%s' is not a valid floating point value",
//   "'%s' is not a valid date and time", "'%s' is not a valid GUID value",
//   "'%s' is not a valid boolean value".
// Text is Windows-1251 bytes. Strict means: surrounding blanks are allowed, nothing else is.
//
//   int n = efir::StrToInt("42");                       // throws EConvertError on "4x"
//   efir::FormatSettings().DecimalSeparator = ',';
//   std::string s = efir::FloatToStr(12.5);             // "12,5"
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include <guiddef.h>

namespace efir {

// The locale settings every text conversion uses. One object for the whole process: some
// parts change it (the download component sets the time separator), others rely on it.
struct TFormatSettings {
  char DecimalSeparator = '.';
  char ThousandSeparator = ',';
  char DateSeparator = '.';
  char TimeSeparator = ':';
  std::string ShortDateFormat = "dd.MM.yyyy";
  std::string LongTimeFormat = "hh:mm:ss";
};

// The process-wide settings; initialised from the user's locale at start-up.
TFormatSettings& FormatSettings();
// Re-reads the user's locale into FormatSettings() (tests pin values instead).
void LoadLocaleFormatSettings();

int StrToInt(std::string_view text);
int64_t StrToInt64(std::string_view text);
int StrToIntDef(std::string_view text, int fallback);
double StrToFloat(std::string_view text);
bool StrToBool(std::string_view text);           // "0"/"1", "true"/"false" in any case
double StrToDateTime(std::string_view text);     // day number, 1899-12-30 is day 0
GUID StringToGUID(std::string_view text);        // "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}"

std::string IntToStr(int64_t value);
std::string FloatToStr(double value);            // shortest form, up to 15 significant digits
std::string FloatToStrFixed(double value, int digits);  // fixed point, `digits` decimals
std::string BoolToStr(bool value);               // "True" / "False"
std::string DateTimeToStr(double dayNumber);
std::string GUIDToString(const GUID& guid);

// printf-style formatting into a std::string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Rounding as the programs expect: halves to even; values outside the 32-bit range clamp.
int Round(double value);
int Trunc(double value);

// The current local date and time as a day number (1899-12-30 is day 0, 25569 is 1970-01-01).
double Now();
double Date();

// The program's shared pseudo-random generator.
void Randomize();
void RandSeed(uint32_t seed);
int Random(int range);                           // 0 <= result < range

}  // namespace efir
