#include "framework/text_encoding.h"

#include <windows.h>

namespace efir::text {
namespace {

constexpr UINT kAnsi = 1251;

std::wstring widen(UINT codePage, std::string_view bytes) {
  if (bytes.empty()) return {};
  int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
  return out;
}

std::string narrow(UINT codePage, std::wstring_view wide) {
  if (wide.empty()) return {};
  int n = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                      nullptr, nullptr);
  return out;
}

}  // namespace

std::wstring fromAnsi(std::string_view cp1251) { return widen(kAnsi, cp1251); }
std::string toAnsi(std::wstring_view wide) { return narrow(kAnsi, wide); }
std::wstring fromUtf8(std::string_view utf8) { return widen(CP_UTF8, utf8); }
std::string toUtf8(std::wstring_view wide) { return narrow(CP_UTF8, wide); }
std::string utf8ToAnsi(std::string_view utf8) { return toAnsi(fromUtf8(utf8)); }
std::string ansiToUtf8(std::string_view cp1251) { return toUtf8(fromAnsi(cp1251)); }

}  // namespace efir::text
