// Day numbers: encoding, decoding, formatting and parsing under the format settings.
#include "framework/convert.h"

#include <windows.h>

#include <cmath>
#include <cstdio>

#include "framework/exceptions.h"

namespace efir {
namespace {

constexpr int64_t kMsecPerDay = 86400000;
// Days from 0000-03-01 (proleptic Gregorian) to 1899-12-30, the day numbers' origin.
constexpr int64_t kOriginShift = 693899;

bool isLeapYear(int year) { return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0); }

int daysInMonth(int year, int month) {
  static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

bool validDate(int year, int month, int day) {
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= daysInMonth(year, month);
}

bool validTime(int hour, int minute, int second, int msec) {
  return hour >= 0 && hour < 24 && minute >= 0 && minute < 60 && second >= 0 && second < 60 &&
         msec >= 0 && msec < 1000;
}

// Days counted in eras of 400 years from 0000-03-01, so that leap days fall at the end.
int64_t dayNumberOf(int year, int month, int day) {
  int y = month <= 2 ? year - 1 : year;
  int era = y / 400;
  int yearOfEra = y - era * 400;
  int dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return static_cast<int64_t>(era) * 146097 + dayOfEra - kOriginShift;
}

// Milliseconds of the day; a fraction that rounds up to midnight stays in its own day.
int64_t msecOfDay(double dayNumber) {
  double fraction = std::fabs(dayNumber - std::trunc(dayNumber));
  return std::min<int64_t>(std::llround(fraction * kMsecPerDay), kMsecPerDay - 1);
}

char lowerLatin(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool startsWithIgnoreCase(std::string_view text, size_t at, std::string_view word) {
  if (word.empty() || at + word.size() > text.size()) return false;
  for (size_t i = 0; i < word.size(); ++i)
    if (lowerLatin(text[at + i]) != lowerLatin(word[i])) return false;
  return true;
}

std::string padded(int value, int width) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*d", width, value);
  return text;
}

// Writes one date-time format. `depth` stops formats that name themselves through "c".
class DateTimeWriter {
 public:
  explicit DateTimeWriter(double value) : value_(value) {
    DecodeDate(value, year_, month_, day_);
    DecodeTime(value, hour_, minute_, second_, msec_);
  }

  std::string write(std::string_view format, int depth = 0) {
    const TFormatSettings& settings = FormatSettings();
    const bool twelveHour = hasAmPm(format);
    std::string out;
    char lastToken = 0;
    for (size_t i = 0; i < format.size();) {
      char c = lowerLatin(format[i]);
      if (c == '"' || c == '\'') {
        size_t end = format.find(format[i], i + 1);
        if (end == std::string_view::npos) end = format.size();
        out += format.substr(i + 1, end - i - 1);
        i = std::min(end + 1, format.size());
        continue;
      }
      if (startsWithIgnoreCase(format, i, "ampm")) {
        out += hour_ < 12 ? settings.TimeAMString : settings.TimePMString;
        i += 4;
        continue;
      }
      if (startsWithIgnoreCase(format, i, "am/pm")) {
        std::string_view word = format.substr(hour_ < 12 ? i : i + 3, 2);
        out += word;
        i += 5;
        continue;
      }
      size_t run = 1;
      while (i + run < format.size() && lowerLatin(format[i + run]) == c) ++run;
      switch (c) {
        case 'c':
          if (depth == 0) {
            out += write(settings.ShortDateFormat, 1);
            if (msecOfDay(value_) != 0) out += ' ' + write(settings.LongTimeFormat, 1);
          }
          break;
        case 'd': out += padded(day_, run >= 2 ? 2 : 1); break;
        case 'y': out += run <= 2 ? padded(year_ % 100, 2) : padded(year_, 4); break;
        case 'm':
          if (lastToken == 'h' || nextTokenIsSecond(format, i + run))
            out += padded(minute_, run >= 2 ? 2 : 1);
          else
            out += padded(month_, run >= 2 ? 2 : 1);
          break;
        case 'h': {
          int hour = hour_;
          if (twelveHour) hour = hour % 12 == 0 ? 12 : hour % 12;
          out += padded(hour, run >= 2 ? 2 : 1);
          break;
        }
        case 'n': out += padded(minute_, run >= 2 ? 2 : 1); break;
        case 's': out += padded(second_, run >= 2 ? 2 : 1); break;
        case 'z': out += padded(msec_, run >= 3 ? 3 : 1); break;
        case '/': out.append(run, settings.DateSeparator); break;
        case ':': out.append(run, settings.TimeSeparator); break;
        default: out.append(format.substr(i, run)); break;
      }
      if (c == 'd' || c == 'y' || c == 'm' || c == 'h' || c == 'n' || c == 's' || c == 'z')
        lastToken = c;
      i += run;
    }
    return out;
  }

 private:
  static bool hasAmPm(std::string_view format) {
    for (size_t i = 0; i < format.size(); ++i)
      if (startsWithIgnoreCase(format, i, "ampm") || startsWithIgnoreCase(format, i, "am/pm"))
        return true;
    return false;
  }

  // "mm:ss" means minutes: the next letter token is a second.
  static bool nextTokenIsSecond(std::string_view format, size_t from) {
    for (size_t i = from; i < format.size(); ++i) {
      char c = lowerLatin(format[i]);
      if (c >= 'a' && c <= 'z') return c == 's';
    }
    return false;
  }

  double value_;
  int year_, month_, day_, hour_, minute_, second_, msec_;
};

// Reads dates and times as the settings write them.
class DateTimeReader {
 public:
  explicit DateTimeReader(std::string_view text) : text_(text) {}

  bool read(double& value) {
    skipBlanks();
    size_t start = pos_;
    double date = 0, time = 0;
    bool haveDate = readDate(date);
    if (!haveDate) pos_ = start;
    skipBlanks();
    bool haveTime = false;
    if (pos_ < text_.size()) {
      haveTime = readTime(time);
      skipBlanks();
    }
    if (pos_ != text_.size() || (!haveDate && !haveTime)) return false;
    value = date < 0 ? date - time : date + time;
    return true;
  }

 private:
  void skipBlanks() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
  }

  bool number(int& value, int& digits) {
    value = 0;
    digits = 0;
    while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9' && digits < 9)
      value = value * 10 + (text_[pos_++] - '0'), ++digits;
    return digits > 0;
  }

  bool separator(char c) {
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }

  // The order of day, month and year in the short date format, as "dmy", "mdy" or "ymd".
  static std::string dateOrder() {
    std::string order;
    for (char c : FormatSettings().ShortDateFormat) {
      c = lowerLatin(c);
      if ((c == 'd' || c == 'm' || c == 'y') && order.find(c) == std::string::npos) order += c;
    }
    return order.size() == 3 ? order : "dmy";
  }

  bool readDate(double& date) {
    const char sep = FormatSettings().DateSeparator;
    int parts[3], digits[3];
    int count = 0;
    if (!number(parts[0], digits[0]) || !separator(sep) || !number(parts[1], digits[1])) return false;
    count = 2;
    size_t beforeThird = pos_;
    if (separator(sep)) {
      if (number(parts[2], digits[2])) count = 3;
      else pos_ = beforeThird;
    }
    std::string order = dateOrder();
    if (count == 2) order.erase(order.find('y'), 1);
    SYSTEMTIME now;
    GetLocalTime(&now);
    int year = now.wYear, month = 0, day = 0, yearDigits = 4;
    for (int i = 0; i < count; ++i) {
      if (order[static_cast<size_t>(i)] == 'y') year = parts[i], yearDigits = digits[i];
      else if (order[static_cast<size_t>(i)] == 'm') month = parts[i];
      else day = parts[i];
    }
    if (yearDigits <= 2) {
      // Two-digit years fall within the 50 years either side of today.
      int century = now.wYear - 50;
      year += century / 100 * 100;
      if (year < century) year += 100;
    }
    if (!validDate(year, month, day)) return false;
    date = EncodeDate(year, month, day);
    return true;
  }

  bool readTime(double& time) {
    const TFormatSettings& settings = FormatSettings();
    int hour, minute = 0, second = 0, msec = 0, digits;
    if (!number(hour, digits) || !separator(settings.TimeSeparator) || !number(minute, digits))
      return false;
    if (separator(settings.TimeSeparator)) {
      if (!number(second, digits)) return false;
      if (separator(settings.DecimalSeparator)) {
        if (!number(msec, digits) || digits > 3) return false;
        while (digits++ < 3) msec *= 10;
      }
    }
    skipBlanks();
    int half = -1;
    if (acceptWord(settings.TimeAMString) || acceptWord("AM")) half = 0;
    else if (acceptWord(settings.TimePMString) || acceptWord("PM")) half = 1;
    if (half >= 0) {
      if (hour > 12) return false;
      hour = hour % 12 + 12 * half;
    }
    if (!validTime(hour, minute, second, msec)) return false;
    time = EncodeTime(hour, minute, second, msec);
    return true;
  }

  bool acceptWord(std::string_view word) {
    if (!startsWithIgnoreCase(text_, pos_, word)) return false;
    pos_ += word.size();
    return true;
  }

  std::string_view text_;
  size_t pos_ = 0;
};

}  // namespace

double EncodeDate(int year, int month, int day) {
  if (!validDate(year, month, day)) throw EConvertError("Invalid argument to date encode");
  return static_cast<double>(dayNumberOf(year, month, day));
}

double EncodeTime(int hour, int minute, int second, int msec) {
  if (!validTime(hour, minute, second, msec)) throw EConvertError("Invalid argument to time encode");
  return static_cast<double>(((hour * 60 + minute) * 60 + second) * 1000 + msec) / kMsecPerDay;
}

void DecodeDate(double dayNumber, int& year, int& month, int& day) {
  int64_t days = static_cast<int64_t>(std::trunc(dayNumber)) + kOriginShift;
  int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  int dayOfEra = static_cast<int>(days - era * 146097);
  int yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  int dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  int m = (5 * dayOfYear + 2) / 153;
  day = dayOfYear - (153 * m + 2) / 5 + 1;
  month = m < 10 ? m + 3 : m - 9;
  year = static_cast<int>(yearOfEra + era * 400) + (month <= 2 ? 1 : 0);
}

void DecodeTime(double dayNumber, int& hour, int& minute, int& second, int& msec) {
  int64_t ms = msecOfDay(dayNumber);
  msec = static_cast<int>(ms % 1000);
  second = static_cast<int>(ms / 1000 % 60);
  minute = static_cast<int>(ms / 60000 % 60);
  hour = static_cast<int>(ms / 3600000);
}

std::string FormatDateTime(std::string_view format, double dayNumber) {
  return DateTimeWriter(dayNumber).write(format);
}

std::string DateTimeToStr(double dayNumber) { return FormatDateTime("c", dayNumber); }

std::string TimeToStr(double dayNumber) {
  return FormatDateTime(FormatSettings().LongTimeFormat, dayNumber);
}

double StrToDateTime(std::string_view text) {
  double value;
  if (!DateTimeReader(text).read(value))
    throw EConvertError("'" + std::string(text) + "' is not a valid date and time");
  return value;
}

double Now() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return EncodeDate(t.wYear, t.wMonth, t.wDay) + EncodeTime(t.wHour, t.wMinute, t.wSecond, t.wMilliseconds);
}

double Date() { return std::trunc(Now()); }

}  // namespace efir
