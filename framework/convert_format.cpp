// Numbers to text: the float forms and the Format routine, with the settings' separators.
#include "framework/convert.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "framework/exceptions.h"

namespace efir {
namespace {

// The decimal digits of a finite value: value = 0.d1d2d3... * 10^(exponent + 1), with d1 not
// zero unless the value is zero.
struct Digits {
  bool negative = false;
  std::string digits;
  int exponent = 0;
};

// Forty decimals show any exact half within a double's seventeen digits, so that rounding
// below decides halves correctly.
Digits exactDigits(double value) {
  char text[80];
  std::snprintf(text, sizeof text, "%.40e", value);
  Digits d;
  const char* p = text;
  if (*p == '-') d.negative = true, ++p;
  for (; *p && *p != 'e'; ++p)
    if (*p != '.') d.digits += *p;
  if (*p == 'e') d.exponent = std::atoi(p + 1);
  return d;
}

// Keeps `keep` significant digits, rounding halves away from zero as people expect of
// shown numbers; keep <= 0 leaves 0 or a single 1 at the next higher place.
void roundDigits(Digits& d, int keep) {
  if (keep < 0 || (keep == 0 && d.digits[0] < '5')) {
    d.digits = "0";
    d.exponent = 0;
    return;
  }
  if (keep == 0) {
    d.digits = "1";
    d.exponent += 1;
    return;
  }
  if (d.digits.size() <= static_cast<size_t>(keep)) return;
  bool up = d.digits[static_cast<size_t>(keep)] >= '5';
  d.digits.resize(static_cast<size_t>(keep));
  for (size_t i = d.digits.size(); up && i-- > 0;) {
    if (d.digits[i] == '9') {
      d.digits[i] = '0';
    } else {
      ++d.digits[i];
      up = false;
    }
  }
  if (up) {
    d.digits.insert(0, 1, '1');
    d.digits.pop_back();
    d.exponent += 1;
  }
}

std::string nonFinite(double value) {
  if (std::isnan(value)) return "NAN";
  return value < 0 ? "-INF" : "INF";
}

// The shortest of fixed and scientific notation, as with %G.
std::string generalForm(double value, int precision) {
  if (!std::isfinite(value)) return nonFinite(value);
  if (value == 0) return "0";
  Digits d = exactDigits(value);
  roundDigits(d, precision);
  while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
  const char point = FormatSettings().DecimalSeparator;
  std::string out = d.negative ? "-" : "";
  if (d.exponent < -4 || d.exponent >= precision) {
    out += d.digits[0];
    if (d.digits.size() > 1) out += point + d.digits.substr(1);
    out += 'E' + std::to_string(d.exponent);
  } else if (d.exponent < 0) {
    out += '0';
    out += point;
    out += std::string(static_cast<size_t>(-d.exponent - 1), '0') + d.digits;
  } else {
    size_t whole = static_cast<size_t>(d.exponent) + 1;
    if (d.digits.size() < whole) d.digits.append(whole - d.digits.size(), '0');
    out += d.digits.substr(0, whole);
    if (d.digits.size() > whole) out += point + d.digits.substr(whole);
  }
  return out;
}

// Fixed notation with '.' as the point; the caller puts in the settings' separators.
std::string fixedForm(double value, int decimals, int precision) {
  if (!std::isfinite(value)) return nonFinite(value);
  decimals = std::clamp(decimals, 0, 40);
  precision = std::clamp(precision, 1, 17);
  Digits d = exactDigits(value);
  // One rounding, at whichever comes first: the last significant digit or the last decimal.
  roundDigits(d, std::min(precision, d.exponent + 1 + decimals));
  std::string whole, fraction;
  if (d.exponent < 0) {
    whole = "0";
    fraction = std::string(static_cast<size_t>(-d.exponent - 1), '0') + d.digits;
  } else {
    whole = d.digits.substr(0, std::min(d.digits.size(), static_cast<size_t>(d.exponent) + 1));
    whole.append(static_cast<size_t>(d.exponent) + 1 - whole.size(), '0');
    if (d.digits.size() > whole.size()) fraction = d.digits.substr(whole.size());
  }
  fraction.resize(static_cast<size_t>(decimals), '0');
  bool zero = (whole + fraction).find_first_not_of('0') == std::string::npos;
  // A value that rounds to zero shows no sign.
  return (d.negative && !zero ? "-" : "") + whole + (decimals > 0 ? "." + fraction : "");
}

// Puts in the settings' decimal separator and, when asked, the thousands separator.
std::string localise(std::string fixed, bool groupThousands) {
  const TFormatSettings& settings = FormatSettings();
  size_t point = fixed.find('.');
  if (point != std::string::npos) fixed[point] = settings.DecimalSeparator;
  if (groupThousands && settings.ThousandSeparator != '\0') {
    size_t end = point == std::string::npos ? fixed.size() : point;
    size_t begin = fixed[0] == '-' ? 1 : 0;
    for (size_t i = end; i > begin + 3; i -= 3) fixed.insert(i - 3, 1, settings.ThousandSeparator);
  }
  return fixed;
}

std::string hexForm(uint64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "%llX", static_cast<unsigned long long>(value));
  return text;
}

// Reads one %-conversion and produces its text.
class Formatter {
 public:
  Formatter(std::string_view format, std::span<const FormatArg> args) : format_(format), args_(args) {}

  std::string run() {
    std::string out;
    for (size_t i = 0; i < format_.size();) {
      char c = format_[i++];
      if (c != '%') {
        out += c;
        continue;
      }
      pos_ = i;
      out += conversion();
      i = pos_;
    }
    return out;
  }

 private:
  [[noreturn]] void fail() const {
    throw EConvertError("Format '" + std::string(format_) + "' invalid or incompatible with argument");
  }

  const FormatArg& next() {
    if (argIndex_ >= args_.size()) fail();
    return args_[argIndex_++];
  }

  char peek() const { return pos_ < format_.size() ? format_[pos_] : '\0'; }

  // A number, or '*' taking it from the arguments; -1 when absent.
  int count() {
    if (peek() == '*') {
      ++pos_;
      const FormatArg& arg = next();
      if (arg.kind() != FormatArg::Kind::Integer && arg.kind() != FormatArg::Kind::Unsigned) fail();
      return static_cast<int>(std::clamp<int64_t>(arg.integer(), -1, 1000));
    }
    if (peek() < '0' || peek() > '9') return -1;
    int n = 0;
    while (peek() >= '0' && peek() <= '9') n = std::min(n * 10 + (format_[pos_++] - '0'), 1000);
    return n;
  }

  std::string conversion() {
    if (peek() == '%') {
      ++pos_;
      return "%";
    }
    bool left = false, zero = false;
    for (;; ++pos_) {
      if (peek() == '-') left = true;
      else if (peek() == '0') zero = true;
      else break;
    }
    int width = count();
    int precision = -1;
    if (peek() == '.') {
      ++pos_;
      precision = std::max(count(), 0);
    }
    if (pos_ >= format_.size()) fail();
    char type = format_[pos_++];
    if (type >= 'A' && type <= 'Z') type = static_cast<char>(type + 32);
    std::string text = convert(type, precision);
    if (width > static_cast<int>(text.size())) {
      size_t pad = static_cast<size_t>(width) - text.size();
      if (left) text.append(pad, ' ');
      else if (zero && type != 's' && type != 'p') text.insert(text[0] == '-' ? 1 : 0, pad, '0');
      else text.insert(0, pad, ' ');
    }
    return text;
  }

  std::string convert(char type, int precision) {
    const FormatArg& arg = next();
    const bool integral = arg.kind() == FormatArg::Kind::Integer || arg.kind() == FormatArg::Kind::Unsigned;
    const bool numeric = integral || arg.kind() == FormatArg::Kind::Float;
    switch (type) {
      case 'd':
      case 'u':
      case 'x': {
        if (!integral) fail();
        std::string digits;
        bool negative = false;
        if (arg.kind() == FormatArg::Kind::Unsigned) {
          uint64_t u = static_cast<uint64_t>(arg.integer());
          digits = type == 'x' ? hexForm(u) : std::to_string(u);
        } else if (type == 'd') {
          int64_t v = arg.integer();
          negative = v < 0;
          digits = std::to_string(v);
          if (negative) digits.erase(0, 1);
        } else {
          // A negative 32-bit number shows as its unsigned 32-bit pattern.
          int64_t v = arg.integer();
          uint64_t u = v < 0 && v >= INT32_MIN ? static_cast<uint32_t>(v) : static_cast<uint64_t>(v);
          digits = type == 'x' ? hexForm(u) : std::to_string(u);
        }
        if (precision > static_cast<int>(digits.size()))
          digits.insert(0, static_cast<size_t>(precision) - digits.size(), '0');
        return (negative ? "-" : "") + digits;
      }
      case 'f':
      case 'n':
        if (!numeric) fail();
        return localise(fixedForm(arg.number(), precision < 0 ? 2 : precision, 17), type == 'n');
      case 'g':
        if (!numeric) fail();
        return generalForm(arg.number(), precision <= 0 ? 15 : std::min(precision, 17));
      case 'e': {
        if (!numeric) fail();
        double v = arg.number();
        if (!std::isfinite(v)) return nonFinite(v);
        char text[64];
        std::snprintf(text, sizeof text, "%.*E", std::clamp(precision < 0 ? 15 : precision, 1, 17) - 1, v);
        return localise(text, false);
      }
      case 's': {
        if (arg.kind() != FormatArg::Kind::Text) fail();
        std::string_view s = arg.text();
        if (precision >= 0 && static_cast<size_t>(precision) < s.size()) s = s.substr(0, static_cast<size_t>(precision));
        return std::string(s);
      }
      case 'p': {
        if (arg.kind() != FormatArg::Kind::Pointer) fail();
        std::string digits = hexForm(reinterpret_cast<uintptr_t>(arg.pointer()));
        return std::string(2 * sizeof(void*) - digits.size(), '0') + digits;
      }
      default:
        fail();
    }
  }

  std::string_view format_;
  std::span<const FormatArg> args_;
  size_t argIndex_ = 0;
  size_t pos_ = 0;
};

}  // namespace

std::string FloatToStr(double value) { return generalForm(value, 15); }

std::string FloatToStrFixed(double value, int digits, int precision) {
  return localise(fixedForm(value, digits, precision), false);
}

std::string FormatList(std::string_view format, std::span<const FormatArg> args) {
  return Formatter(format, args).run();
}

}  // namespace efir
