// The process-wide format settings, read from the user's locale.
#include "framework/convert.h"

#include <windows.h>

#include "framework/text_encoding.h"

namespace efir {
namespace {

std::string localeText(LCTYPE item) {
  wchar_t buffer[100];
  int n = GetLocaleInfoW(LOCALE_USER_DEFAULT, item, buffer, static_cast<int>(std::size(buffer)));
  return n > 1 ? text::toAnsi(std::wstring_view(buffer, static_cast<size_t>(n - 1))) : std::string();
}

char localeChar(LCTYPE item, char fallback) {
  std::string text = localeText(item);
  return text.size() == 1 ? text[0] : fallback;
}

// A locale picture in our format language: the locale's separator becomes the placeholder
// that follows the settings, "tt" becomes "ampm", and quoted text stays literal.
std::string fromLocalePicture(const std::string& picture, char separator, char placeholder) {
  std::string out;
  for (size_t i = 0; i < picture.size(); ++i) {
    char c = picture[i];
    if (c == '\'') {
      size_t end = picture.find('\'', i + 1);
      if (end == std::string::npos) end = picture.size() - 1;
      out += picture.substr(i, end - i + 1);
      i = end;
    } else if (c == separator) {
      out += placeholder;
    } else if (c == 't') {
      if (i + 1 < picture.size() && picture[i + 1] == 't') ++i;
      out += "ampm";
    } else {
      out += c;
    }
  }
  return out;
}

TFormatSettings fromUserLocale() {
  TFormatSettings s;
  s.DecimalSeparator = localeChar(LOCALE_SDECIMAL, s.DecimalSeparator);
  s.ThousandSeparator = localeChar(LOCALE_STHOUSAND, s.ThousandSeparator);
  s.DateSeparator = localeChar(LOCALE_SDATE, s.DateSeparator);
  s.TimeSeparator = localeChar(LOCALE_STIME, s.TimeSeparator);
  std::string shortDate = localeText(LOCALE_SSHORTDATE);
  if (!shortDate.empty()) s.ShortDateFormat = fromLocalePicture(shortDate, s.DateSeparator, '/');
  std::string longTime = localeText(LOCALE_STIMEFORMAT);
  if (!longTime.empty()) s.LongTimeFormat = fromLocalePicture(longTime, s.TimeSeparator, ':');
  s.TimeAMString = localeText(LOCALE_S1159);
  s.TimePMString = localeText(LOCALE_S2359);
  return s;
}

}  // namespace

TFormatSettings& FormatSettings() {
  static TFormatSettings settings = fromUserLocale();
  return settings;
}

void LoadLocaleFormatSettings() { FormatSettings() = fromUserLocale(); }

}  // namespace efir
