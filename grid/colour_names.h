// Names of colours that ship with the grid library, for callers that show or read colours
// by name: the framework's colour identifiers with their values, and the HTML colour names
// with their "#RRGGBB" values. Also the library's two words for a date cell's buttons.
//
//   for (const auto& c : grid::FrameworkColourNames()) list.Add(c.name);
//   grid::HtmlColourNames()[0]   // {"transparent", "#FFFFFF"}
//
// Nothing in the two programs reads them.
#pragma once

#include <span>

#include "grid/grid_types.h"

namespace grid {

struct TColourIdentifier {
  const char* name;
  TColor value;
};

struct THtmlColour {
  const char* name;
  const char* value;
};

inline constexpr const wchar_t* kTodayText = L"Today";
inline constexpr const wchar_t* kNoneText = L"None";

// The 52 identifiers, clBlack first, clWindowText last.
std::span<const TColourIdentifier> FrameworkColourNames();
// "transparent", then the 140 HTML colour keywords from aliceblue to yellowgreen.
std::span<const THtmlColour> HtmlColourNames();

}  // namespace grid
