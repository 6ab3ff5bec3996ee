// The grid's drawing services: the system's visual-style functions when the theme library
// is there (looked up at run time, so the classic look is drawn without it), the fixed scheme
// colours of the Office-like header looks, colour blends, gradients, alpha drawing of 32-bit
// pictures, and a few geometry and text routines.
//
//   if (grid::ThemesActive()) grid::DrawThemePart(hwnd, dc, rect, 1, 1, L"header");
//   else grid::DrawButtonFace(canvas, rect, false);
//   grid::DrawGradient(canvas, band, grid::GetSchemeColor(6), grid::GetSchemeColor(7));
#pragma once

#include <windows.h>
#include <uxtheme.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "grid/grid_types.h"

class TBitmap;
class TCanvas;
class TGraphic;

namespace grid {

// --- Themes ---

// The theme library's entry points; each is nullptr while the library is not loaded.
struct TThemeFunctions {
  HTHEME(WINAPI* OpenThemeData)(HWND, LPCWSTR) = nullptr;
  HRESULT(WINAPI* CloseThemeData)(HTHEME) = nullptr;
  HRESULT(WINAPI* DrawThemeBackground)(HTHEME, HDC, int, int, const RECT*, const RECT*) = nullptr;
  HRESULT(WINAPI* DrawThemeEdge)(HTHEME, HDC, int, int, const RECT*, UINT, UINT, RECT*) = nullptr;
  int(WINAPI* GetThemeSysSize)(HTHEME, int) = nullptr;
  BOOL(WINAPI* IsThemeActive)() = nullptr;
  BOOL(WINAPI* IsAppThemed)() = nullptr;
};

// Loads the library (by name: "uxtheme.dll" unless told otherwise) and looks up its entry
// points; does nothing when it is loaded already. A missing library leaves every entry empty.
void LoadThemeLibrary(const wchar_t* Library = L"uxtheme.dll");
void UnloadThemeLibrary();
const TThemeFunctions& ThemeFunctions();
// The library is loaded and the application and the system both use visual styles.
bool ThemesActive();
// Draws Part in State of the theme class into Rect (clipped to it); false when the class
// has no theme data. Callers ask ThemesActive first.
bool DrawThemePart(HWND Window, HDC DC, const RECT& Rect, int State, int Part,
                   const wchar_t* ClassName);

// Element 0..23 of scheme 1..6 (0: the current scheme, 2); 0 outside the table.
TColor GetSchemeColor(int Element, int Scheme = 0);

// --- Geometry ---

// Edges that touch count as intersecting.
bool RectsIntersect(const RECT& A, const RECT& B);
// The top-left of a Width x Height box in Rect: horizontally 0 left, 1 right, 2 centred;
// vertically 0 top, 1 bottom, 2 centred; Margin from the chosen edge.
POINT PlaceBox(int Width, int Height, int HorzKind, int VertKind, const RECT& Rect, int Margin);
RECT ResizeRect(const RECT& Rect, int DLeft, int DTop, int DRight, int DBottom);
// P lies outside the square of half-width Tolerance around Q.
bool PointsDiffer(POINT P, POINT Q, int Tolerance);

// --- Colours ---

// Per channel (c1 x Alpha + c2 x (255 - Alpha)) shr 8, system colours resolved first.
// Alpha outside 0..255 raises the assertion failure.
TColor BlendColor(TColor Color1, TColor Color2, int Alpha);
// Per channel Ratio x c2 + (1 - Ratio) x c1, rounded.
TColor BlendColorsFloat(TColor Color1, TColor Color2, double Ratio);
// Alpha x A / 255 + (1 - Alpha / 255) x B, each part rounded, limited to a byte.
uint8_t BlendByte(int A, int B, int Alpha);

// --- Drawing ---

void SetClipRect(TCanvas& Canvas, const RECT& Rect);
void DrawButtonFace(TCanvas& Canvas, const RECT& Rect, bool Dark);
void DrawFocus(TCanvas& Canvas, const RECT& Rect, bool Solid);
// One line, vertically centred, end ellipsis, no prefix processing.
void DrawTextRect(TCanvas& Canvas, const RECT& Rect, bool RightToLeft, std::wstring_view Text,
                  TAlignment Alignment);
// Text turned by 90 degrees, read from bottom to top; with MultiLine each line of Text
// (split at carriage returns) goes beside the one before.
void DrawVerticalText(TCanvas& Canvas, RECT Rect, std::wstring_view Text, bool MultiLine);
// A vertical gradient, FromColor in the top line.
void DrawGradient(TCanvas& Canvas, const RECT& Rect, TColor FromColor, TColor ToColor);

// A 32-bit bitmap with its per-pixel alpha over what the canvas shows (BlendByte per
// channel), any other picture as it draws itself.
void DrawGraphic(TCanvas& Canvas, int X, int Y, const TGraphic& Graphic);
void AlphaDraw24(TCanvas& Canvas, int X, int Y, const TBitmap& Picture);
// The same with BlendColor's rule, for the editors' glyphs.
void AlphaDrawBlend(TCanvas& Canvas, int X, int Y, const TBitmap& Picture);

}  // namespace grid
