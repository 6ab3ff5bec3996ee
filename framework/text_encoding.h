// Conversions between the programs' text (Windows-1251 bytes in std::string), UTF-16 (the
// wide Win32 calls and the grid) and UTF-8 (network answers, track titles).
// The code page is always named: the programs never depend on the system's ANSI code page.
#pragma once

#include <string>
#include <string_view>

namespace efir::text {

std::wstring fromAnsi(std::string_view cp1251);
std::string toAnsi(std::wstring_view wide);        // unmappable characters become '?'
std::wstring fromUtf8(std::string_view utf8);
std::string toUtf8(std::wstring_view wide);
std::string utf8ToAnsi(std::string_view utf8);
std::string ansiToUtf8(std::string_view cp1251);

}  // namespace efir::text
