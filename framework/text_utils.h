// Text helpers over Windows-1251 bytes: the player's shared replace, extract and Cyrillic
// upper-casing routines, and the locale's case mapping and case-blind comparison.
//
//   std::string id = efir::ExtractBetween("/stream/", ".mp3@", address);
//   std::string key = efir::UpperCaseCyr(filter);        // fixed byte rule, as stored texts expect
//   std::string shown = efir::AnsiUpperCase(text);       // the user's locale
#pragma once

#include <string>
#include <string_view>

namespace efir {

// Every non-overlapping occurrence of `sub`, searched left to right, replaced by `with`
// (an empty `with` deletes; an empty `sub` changes nothing).
std::string ReplaceAll(std::string_view text, std::string_view sub, std::string_view with);

// The text after the first `start` up to the next `stop`; empty when either is missing.
std::string ExtractBetween(std::string_view start, std::string_view stop, std::string_view text);

// Bytes 97..122 ("a".."z") and 224..255 ("а".."я") lowered by 32; every other byte, "ё"
// included, stays.
std::string UpperCaseCyr(std::string_view text);

// Case mapping and comparison by the user's locale (all Cyrillic letters included).
std::string AnsiUpperCase(std::string_view text);
std::string AnsiLowerCase(std::string_view text);
int AnsiCompareText(std::string_view a, std::string_view b);  // blind to case; <0, 0 or >0
int AnsiCompareStr(std::string_view a, std::string_view b);   // with case; <0, 0 or >0

}  // namespace efir
