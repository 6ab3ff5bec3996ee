#include "framework/text_utils.h"

#include <windows.h>

#include "framework/text_encoding.h"

namespace efir {
namespace {

std::string mapCase(std::string_view text, DWORD flags) {
  std::wstring wide = text::fromAnsi(text);
  if (wide.empty()) return {};
  std::wstring mapped(wide.size(), L'\0');
  int n = LCMapStringW(LOCALE_USER_DEFAULT, flags, wide.data(), static_cast<int>(wide.size()),
                       mapped.data(), static_cast<int>(mapped.size()));
  mapped.resize(static_cast<size_t>(std::max(n, 0)));
  return text::toAnsi(mapped);
}

int compare(std::string_view a, std::string_view b, DWORD flags) {
  std::wstring wa = text::fromAnsi(a), wb = text::fromAnsi(b);
  return CompareStringW(LOCALE_USER_DEFAULT, flags, wa.data(), static_cast<int>(wa.size()), wb.data(),
                        static_cast<int>(wb.size())) - CSTR_EQUAL;
}

}  // namespace

std::string ReplaceAll(std::string_view text, std::string_view sub, std::string_view with) {
  if (sub.empty()) return std::string(text);
  std::string out;
  size_t from = 0;
  for (size_t at; (at = text.find(sub, from)) != std::string_view::npos; from = at + sub.size()) {
    out += text.substr(from, at - from);
    out += with;
  }
  out += text.substr(from);
  return out;
}

std::string ExtractBetween(std::string_view start, std::string_view stop, std::string_view text) {
  size_t at = text.find(start);
  if (at == std::string_view::npos) return {};
  std::string_view rest = text.substr(at + start.size());
  size_t end = rest.find(stop);
  return end == std::string_view::npos ? std::string() : std::string(rest.substr(0, end));
}

std::string UpperCaseCyr(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    unsigned char b = static_cast<unsigned char>(c);
    if ((b >= 97 && b <= 122) || b >= 224) c = static_cast<char>(b - 32);
  }
  return out;
}

std::string AnsiUpperCase(std::string_view text) { return mapCase(text, LCMAP_UPPERCASE); }
std::string AnsiLowerCase(std::string_view text) { return mapCase(text, LCMAP_LOWERCASE); }
int AnsiCompareText(std::string_view a, std::string_view b) { return compare(a, b, NORM_IGNORECASE); }
int AnsiCompareStr(std::string_view a, std::string_view b) { return compare(a, b, 0); }

}  // namespace efir
