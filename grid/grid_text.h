// Text helpers of the grid: measuring wide text on a canvas (so Cyrillic and other
// non-ANSI text measures as it is drawn), a few small tests, and the locale's decimal
// separator as a wide character.
//
//   int w = grid::WideTextWidth(canvas, L"Радио");     // same width DrawTextExW lays out
//   if (grid::IsNoCell(col, row)) return;
#pragma once

#include <windows.h>

#include <string_view>

class TCanvas;
class TControl;

namespace grid {

SIZE WideTextExtent(TCanvas& Canvas, std::wstring_view Text);
int WideTextWidth(TCanvas& Canvas, std::wstring_view Text);
int WideTextHeight(TCanvas& Canvas, std::wstring_view Text);
// The width DrawTextEx lays the text out in (one line, prefixes processed as it does).
int TextRectWidth(TCanvas& Canvas, std::wstring_view Text);

// The control has a parent form and that form is the active one: hints show only then.
bool IsParentFormActive(TControl* Control);
// No cell: the column or the row is -1.
inline bool IsNoCell(int ACol, int ARow) { return ACol == -1 || ARow == -1; }

// The locale's current decimal separator.
wchar_t DecimalSeparator();

}  // namespace grid
