// Text to numbers, booleans and GUIDs; rounding; the shared random generator.
#include "framework/convert.h"

#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "framework/exceptions.h"

namespace efir {
namespace {

[[noreturn]] void raiseInvalid(std::string_view text, const char* what) {
  throw EConvertError("'" + std::string(text) + "' is not a valid " + what);
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool sameLatinText(std::string_view text, std::string_view word) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
  return std::equal(text.begin(), text.end(), word.begin(), word.end(),
                    [&](char a, char b) { return lower(a) == lower(b); });
}

// A decimal integer with an optional sign, within [low, high].
bool parseInteger(std::string_view text, int64_t low, int64_t high, int64_t& value) {
  text = trimBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return false;
  // Accumulated as a negative number, so that the lowest value has room.
  int64_t n = 0;
  for (char c : text) {
    if (!isDigit(c)) return false;
    int digit = c - '0';
    if (n < (INT64_MIN + digit) / 10) return false;
    n = n * 10 - digit;
  }
  if (!negative) {
    if (n == INT64_MIN) return false;
    n = -n;
  }
  if (n < low || n > high) return false;
  value = n;
  return true;
}

// The generator's state; one for the process, as the programs expect.
uint32_t randomState = 1;

}  // namespace

int StrToInt(std::string_view text) {
  int64_t value;
  if (!parseInteger(text, INT_MIN, INT_MAX, value)) raiseInvalid(text, "integer value");
  return static_cast<int>(value);
}

int64_t StrToInt64(std::string_view text) {
  int64_t value;
  if (!parseInteger(text, INT64_MIN, INT64_MAX, value)) raiseInvalid(text, "integer value");
  return value;
}

int StrToIntDef(std::string_view text, int fallback) {
  int64_t value;
  return parseInteger(text, INT_MIN, INT_MAX, value) ? static_cast<int>(value) : fallback;
}

bool TryStrToInt(std::string_view text, int& value) {
  int64_t parsed;
  if (!parseInteger(text, INT_MIN, INT_MAX, parsed)) return false;
  value = static_cast<int>(parsed);
  return true;
}

bool TryStrToFloat(std::string_view text, double& value) {
  // Checked against the grammar first: strtod alone would take hexadecimal, "inf", "nan"
  // and the C locale's point.
  text = trimBlanks(text);
  const char separator = FormatSettings().DecimalSeparator;
  std::string plain;
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) plain += text[i++];
  size_t digits = 0;
  while (i < text.size() && isDigit(text[i])) plain += text[i++], ++digits;
  if (i < text.size() && text[i] == separator) {
    plain += '.';
    ++i;
    while (i < text.size() && isDigit(text[i])) plain += text[i++], ++digits;
  }
  if (digits == 0) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    plain += 'e';
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) plain += text[i++];
    size_t exponentDigits = 0;
    while (i < text.size() && isDigit(text[i])) plain += text[i++], ++exponentDigits;
    if (exponentDigits == 0) return false;
  }
  if (i != text.size()) return false;
  errno = 0;
  double result = std::strtod(plain.c_str(), nullptr);
  if (errno == ERANGE && std::isinf(result)) return false;
  value = result;
  return true;
}

double StrToFloat(std::string_view text) {
  double value;
  if (!TryStrToFloat(text, value)) raiseInvalid(text, "floating point value");
  return value;
}

bool StrToBool(std::string_view text) {
  if (sameLatinText(text, "true")) return true;
  if (sameLatinText(text, "false")) return false;
  double number;
  if (TryStrToFloat(text, number)) return number != 0;
  raiseInvalid(text, "boolean value");
}

GUID StringToGUID(std::string_view text) {
  // Exactly {8-4-4-4-12} hexadecimal digits; no blanks.
  static constexpr std::string_view kShape = "{........-....-....-....-............}";
  auto hex = [](char c) -> int {
    if (isDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  if (text.size() != kShape.size()) raiseInvalid(text, "GUID value");
  uint8_t nibbles[32];
  size_t n = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (kShape[i] != '.') {
      if (text[i] != kShape[i]) raiseInvalid(text, "GUID value");
      continue;
    }
    int v = hex(text[i]);
    if (v < 0) raiseInvalid(text, "GUID value");
    nibbles[n++] = static_cast<uint8_t>(v);
  }
  auto take = [&](size_t first, size_t count) {
    uint32_t v = 0;
    for (size_t i = first; i < first + count; ++i) v = v << 4 | nibbles[i];
    return v;
  };
  GUID guid;
  guid.Data1 = take(0, 8);
  guid.Data2 = static_cast<uint16_t>(take(8, 4));
  guid.Data3 = static_cast<uint16_t>(take(12, 4));
  for (size_t i = 0; i < 8; ++i) guid.Data4[i] = static_cast<uint8_t>(take(16 + 2 * i, 2));
  return guid;
}

std::string GUIDToString(const GUID& guid) {
  char text[40];
  std::snprintf(text, sizeof text, "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                static_cast<unsigned long>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0],
                guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5],
                guid.Data4[6], guid.Data4[7]);
  return text;
}

std::string IntToStr(int64_t value) { return std::to_string(value); }

std::string BoolToStr(bool value) { return value ? "True" : "False"; }

int Round(double value) {
  if (std::isnan(value)) return 0;
  // nearbyint rounds halves to even in the default rounding mode.
  double r = std::nearbyint(value);
  if (r >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (r <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(r);
}

int Trunc(double value) {
  if (std::isnan(value)) return 0;
  double t = std::trunc(value);
  if (t >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (t <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(t);
}

void RandSeed(uint32_t seed) { randomState = seed; }

void Randomize() {
  LARGE_INTEGER counter;
  QueryPerformanceCounter(&counter);
  RandSeed(static_cast<uint32_t>(counter.QuadPart ^ (counter.QuadPart >> 32)) ^ GetTickCount());
}

int Random(int range) {
  if (range <= 0) return 0;
  // A linear congruential step; the high bits scaled to the range are evenly spread.
  randomState = randomState * 1664525u + 1013904223u;
  return static_cast<int>((static_cast<uint64_t>(randomState) * static_cast<uint32_t>(range)) >> 32);
}

}  // namespace efir
