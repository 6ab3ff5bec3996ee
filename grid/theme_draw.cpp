#include "grid/theme_draw.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "framework/bitmap.h"
#include "framework/canvas.h"
#include "framework/convert.h"
#include "framework/exceptions.h"

namespace grid {
namespace {

// --- Themes ---

struct ThemeLibrary {
  HMODULE module = nullptr;
  bool tried = false;
  TThemeFunctions functions;
};

ThemeLibrary& Library() {
  static ThemeLibrary library;
  return library;
}

template <class F>
void Find(HMODULE module, F& entry, const char* name) {
  entry = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// --- Scheme colours ---

constexpr int kCurrentScheme = 2;
constexpr TColor kSchemeColors[6][24] = {
    {0, 0x0A0A0A, 0x5C534C, 0xF2F1F0, 0xE1D6D2, 0x3C8CFB, 0xFFFFFF, 0xC9C2BD, 0xEBEBEB, 0x74706F, 0xA49991, 0xC9C2BD, 0xF2F1F0, 0xB6ADA7, 0xC9B0A7, 0, 0, 0, 0xA0A09E, 0xA2E7FF, 0x69BDFF, 0x3C8CFB, 0xF2F1F0, 0xCEC8C4},  // scheme 1
    {0, 0xCE9266, 0xCF9365, 0xFFEFE3, 0xF0D9C2, 0, 0xFFFFFF, 0xFFD2AF, 0xEEE7DD, 0x8B4215, 0xFFC69A, 0xFFD2AF, 0xFFEFE3, 0xCF9365, 0xC9B0A7, 0, 0, 0, 0xE9CFB8, 0xA2E7FF, 0x69BDFF, 0x3C8CFB, 0xFFEFE3, 0xFFD6B6},  // scheme 2
    {0, 0xA69F9B, 0x74706F, 0xF2F1F0, 0xE1D6D2, 0, 0xFFFFFF, 0xE7DFDA, 0xEBEBEB, 0x8B4215, 0x8F6D6E, 0xE7DFDA, 0xF8F7F6, 0x74706F, 0xC9B0A7, 0, 0, 0, 0xC2B7B2, 0xC2EEFF, 0x6FC0FF, 0x3E80FE, 0xBFA7A8, 0x977778},  // scheme 3
    {0, 0xCE9266, 0xBD9D84, 0xE5D0BF, 0xF0D9C2, 0, 0xFBF5EF, 0xFAECE1, 0xF5F2F0, 0x8B4215, 0xBD9D84, 0xE7DFDA, 0xF8F7F6, 0xBD9D84, 0xF0CDA7, 0, 0, 0, 0xC2B7B2, 0xC2EEFF, 0x6FC0FF, 0x3E80FE, 0xBFA7A8, 0x977778},  // scheme 4
    {0, 0xA69F9B, 0xB5ACA5, 0xE0DBD6, 0xE1D6D2, 0, 0xF9F7F5, 0xF6F2EF, 0xEBEBEB, 0x8B4215, 0xB5ACA5, 0xE7DFDA, 0xF8F7F6, 0xB5ACA5, 0xF0CDA7, 0, 0, 0, 0xC2B7B2, 0xC2EEFF, 0x6FC0FF, 0x3E80FE, 0xBFA7A8, 0x977778},  // scheme 5
    {0, 0xA69F9B, 0x3B3B3B, 0x858585, 0xE1D6D2, 0, 0xF9F7F5, 0xF6F2EF, 0xF5F2F0, 0x8B4215, 0xB5ACA5, 0xE7DFDA, 0xF8F7F6, 0x3B3B3B, 0xF0CDA7, 0, 0, 0, 0xC2B7B2, 0xC2EEFF, 0x6FC0FF, 0x3E80FE, 0xBFA7A8, 0x977778},  // scheme 6
};

// --- Pixels ---

struct Rgb {
  int r, g, b;
};

Rgb Channels(TColor color) {
  const COLORREF rgb = ColorToRGB(color);
  return {GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)};
}

TColor FromChannels(int r, int g, int b) { return static_cast<TColor>(RGB(r, g, b)); }

// A copy of what the canvas shows under a Width x Height box at (X, Y).
std::unique_ptr<TBitmap> Background(TCanvas& canvas, int x, int y, int width, int height,
                                    TPixelFormat format) {
  auto copy = std::make_unique<TBitmap>(width, height, format);
  BitBlt(copy->Canvas().Handle(), 0, 0, width, height, canvas.Handle(), x, y, SRCCOPY);
  GdiFlush();  // the rows are read directly next
  return copy;
}

// Calls blend(picture pixel, background pixel) for every pixel of the picture, row by row;
// pixels are blue, green, red (and alpha) bytes.
template <class Blend>
void ForEachPixel(const TBitmap& picture, TBitmap& background, Blend blend) {
  const int step = background.PixelFormat() == pf32bit ? 4 : 3;
  for (int y = 0; y < picture.Height(); ++y) {
    auto* from = static_cast<const uint8_t*>(picture.ScanLine(y));
    auto* to = static_cast<uint8_t*>(background.ScanLine(y));
    for (int x = 0; x < picture.Width(); ++x) blend(from + x * 4, to + x * step);
  }
}

}  // namespace

void LoadThemeLibrary(const wchar_t* Library) {
  ThemeLibrary& library = grid::Library();
  if (library.module) return;
  library.tried = true;
  library.module = LoadLibraryW(Library);
  if (!library.module) return;
  TThemeFunctions& f = library.functions;
  Find(library.module, f.OpenThemeData, "OpenThemeData");
  Find(library.module, f.CloseThemeData, "CloseThemeData");
  Find(library.module, f.DrawThemeBackground, "DrawThemeBackground");
  Find(library.module, f.DrawThemeEdge, "DrawThemeEdge");
  Find(library.module, f.GetThemeSysSize, "GetThemeSysSize");
  Find(library.module, f.IsThemeActive, "IsThemeActive");
  Find(library.module, f.IsAppThemed, "IsAppThemed");
}

void UnloadThemeLibrary() {
  ThemeLibrary& library = grid::Library();
  if (library.module) FreeLibrary(library.module);
  library = ThemeLibrary{};
}

const TThemeFunctions& ThemeFunctions() {
  if (!Library().tried) LoadThemeLibrary();
  return Library().functions;
}

bool ThemesActive() {
  const TThemeFunctions& f = ThemeFunctions();
  return f.IsAppThemed && f.IsThemeActive && f.IsAppThemed() && f.IsThemeActive();
}

bool DrawThemePart(HWND Window, HDC DC, const RECT& Rect, int State, int Part,
                   const wchar_t* ClassName) {
  const TThemeFunctions& f = ThemeFunctions();
  if (!f.OpenThemeData || !f.CloseThemeData || !f.DrawThemeBackground) return false;
  HTHEME theme = f.OpenThemeData(Window, ClassName);
  if (!theme) return false;
  f.DrawThemeBackground(theme, DC, Part, State, &Rect, &Rect);
  f.CloseThemeData(theme);
  return true;
}

TColor GetSchemeColor(int Element, int Scheme) {
  if (Scheme == 0) Scheme = kCurrentScheme;
  if (Scheme < 1 || Scheme > 6 || Element < 0 || Element > 23) return 0;
  return kSchemeColors[Scheme - 1][Element];
}

// --- Geometry ---

bool RectsIntersect(const RECT& A, const RECT& B) {
  return !(A.right < B.left || B.right < A.left || A.bottom < B.top || B.bottom < A.top);
}

POINT PlaceBox(int Width, int Height, int HorzKind, int VertKind, const RECT& Rect, int Margin) {
  POINT p{Rect.left + Margin, Rect.top + Margin};
  if (HorzKind == 1) p.x = Rect.right - Width - Margin;
  if (HorzKind == 2) p.x = (Rect.left + Rect.right) / 2 - Width / 2;
  if (VertKind == 1) p.y = Rect.bottom - Height - Margin;
  if (VertKind == 2) p.y = (Rect.top + Rect.bottom) / 2 - Height / 2;
  return p;
}

RECT ResizeRect(const RECT& Rect, int DLeft, int DTop, int DRight, int DBottom) {
  return {Rect.left + DLeft, Rect.top + DTop, Rect.right + DRight, Rect.bottom + DBottom};
}

bool PointsDiffer(POINT P, POINT Q, int Tolerance) {
  return P.x < Q.x - Tolerance || P.x > Q.x + Tolerance || P.y < Q.y - Tolerance ||
         P.y > Q.y + Tolerance;
}

// --- Colours ---

TColor BlendColor(TColor Color1, TColor Color2, int Alpha) {
  if (Alpha < 0 || Alpha > 255) throw Exception("Assertion failure");
  const Rgb a = Channels(Color1), b = Channels(Color2);
  auto mix = [Alpha](int c1, int c2) { return (c1 * Alpha + c2 * (255 - Alpha)) >> 8; };
  return FromChannels(mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b));
}

TColor BlendColorsFloat(TColor Color1, TColor Color2, double Ratio) {
  const Rgb a = Channels(Color1), b = Channels(Color2);
  auto mix = [Ratio](int c1, int c2) {
    return std::clamp(efir::Round(Ratio * c2 + (1 - Ratio) * c1), 0, 255);
  };
  return FromChannels(mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b));
}

uint8_t BlendByte(int A, int B, int Alpha) {
  const int value = efir::Round(Alpha * A / 255.0) + efir::Round((1 - Alpha / 255.0) * B);
  return static_cast<uint8_t>(std::clamp(value, 0, 255));
}

// --- Drawing ---

void SetClipRect(TCanvas& Canvas, const RECT& Rect) {
  efir::gdi::Object<HRGN> region(CreateRectRgnIndirect(&Rect));
  SelectClipRgn(Canvas.Handle(), region.get());
}

void DrawButtonFace(TCanvas& Canvas, const RECT& Rect, bool Dark) {
  Canvas.Brush().SetStyle(bsSolid);
  Canvas.Brush().SetColor(clBtnFace);
  Canvas.FillRect({Rect.left + 1, Rect.top + 1, Rect.right - 1, Rect.bottom - 1});
  Canvas.Pen().SetColor(clBtnHighlight);
  Canvas.MoveTo(Rect.left, Rect.bottom - 1);
  Canvas.LineTo(Rect.left, Rect.top);
  Canvas.LineTo(Rect.right - 1, Rect.top);
  Canvas.Pen().SetColor(Dark ? clWindowFrame : clBtnShadow);
  Canvas.LineTo(Rect.right - 1, Rect.bottom - 1);
  Canvas.LineTo(Rect.left - 1, Rect.bottom - 1);
}

void DrawFocus(TCanvas& Canvas, const RECT& Rect, bool Solid) {
  if (Solid) {
    Canvas.Brush().SetStyle(bsSolid);
    Canvas.Brush().SetColor(clHighlight);
    Canvas.FrameRect(Rect);
    return;
  }
  // The dotted focus rectangle inverts black and white: pin them for a visible frame.
  const HDC dc = Canvas.Handle();
  const COLORREF background = SetBkColor(dc, RGB(0, 0, 0));
  const COLORREF text = SetTextColor(dc, RGB(255, 255, 255));
  Canvas.DrawFocusRect(Rect);
  SetBkColor(dc, background);
  SetTextColor(dc, text);
}

void DrawTextRect(TCanvas& Canvas, const RECT& Rect, bool RightToLeft, std::wstring_view Text,
                  TAlignment Alignment) {
  UINT format = DT_END_ELLIPSIS | DT_NOPREFIX | DT_EXTERNALLEADING | DT_SINGLELINE | DT_VCENTER;
  if (Alignment == taRightJustify) format |= DT_RIGHT;
  if (Alignment == taCenter) format |= DT_CENTER;
  if (RightToLeft) format |= DT_RTLREADING;
  RECT rect = Rect;
  Canvas.Brush().SetStyle(bsClear);
  Canvas.TextRect(rect, Text, format);
  Canvas.Brush().SetStyle(bsSolid);
}

void DrawVerticalText(TCanvas& Canvas, RECT Rect, std::wstring_view Text, bool MultiLine) {
  const HDC dc = Canvas.Handle();
  LOGFONTW font{};
  GetObjectW(Canvas.Font().Handle(), sizeof font, &font);
  font.lfEscapement = font.lfOrientation = 900;
  font.lfOutPrecision = OUT_TT_ONLY_PRECIS;
  efir::gdi::Object<HFONT> rotated(CreateFontIndirectW(&font));
  Canvas.Brush().SetStyle(bsClear);
  const int oldMode = SetBkMode(Canvas.Handle(), TRANSPARENT);
  {
    efir::gdi::Selection selected(dc, rotated.get());
    constexpr UINT format = DT_NOPREFIX | DT_EXTERNALLEADING | DT_SINGLELINE | DT_BOTTOM;
    auto draw = [&](std::wstring_view line) {
      std::wstring text(line);
      DrawTextW(dc, text.data(), static_cast<int>(text.size()), &Rect, format | DT_NOCLIP);
    };
    if (!MultiLine || Text.find(L'\r') == std::wstring_view::npos) {
      draw(Text);
    } else {
      SIZE size{};
      GetTextExtentPoint32W(dc, L"Wg", 2, &size);
      for (size_t start = 0; start <= Text.size();) {
        size_t end = Text.find(L'\r', start);
        if (end == std::wstring_view::npos) end = Text.size();
        std::wstring_view line = Text.substr(start, end - start);
        if (!line.empty() && line.front() == L'\n') line.remove_prefix(1);
        draw(line);
        Rect.left += size.cy;
        start = end + 1;
      }
    }
  }
  SetBkMode(dc, oldMode);
}

void DrawGradient(TCanvas& Canvas, const RECT& Rect, TColor FromColor, TColor ToColor) {
  if (Rect.bottom <= Rect.top) return;
  const double height = Rect.bottom - Rect.top;
  for (int y = Rect.top; y < Rect.bottom; ++y) {
    Canvas.Pen().SetColor(BlendColorsFloat(FromColor, ToColor, (y - Rect.top) / height));
    Canvas.MoveTo(Rect.left, y);
    Canvas.LineTo(Rect.right, y);
  }
}

void DrawGraphic(TCanvas& Canvas, int X, int Y, const TGraphic& Graphic) {
  auto* bitmap = dynamic_cast<const TBitmap*>(&Graphic);
  if (bitmap && bitmap->PixelFormat() == pf32bit)
    AlphaDraw24(Canvas, X, Y, *bitmap);
  else
    Canvas.Draw(X, Y, Graphic);
}

void AlphaDraw24(TCanvas& Canvas, int X, int Y, const TBitmap& Picture) {
  if (Picture.Empty() || Picture.PixelFormat() != pf32bit) return;
  auto work = Background(Canvas, X, Y, Picture.Width(), Picture.Height(), pf24bit);
  ForEachPixel(Picture, *work, [](const uint8_t* from, uint8_t* to) {
    for (int c = 0; c < 3; ++c) to[c] = BlendByte(from[c], to[c], from[3]);
  });
  Canvas.Draw(X, Y, *work);
}

void AlphaDrawBlend(TCanvas& Canvas, int X, int Y, const TBitmap& Picture) {
  if (Picture.Empty() || Picture.PixelFormat() != pf32bit) return;
  auto blended = Background(Canvas, X, Y, Picture.Width(), Picture.Height(), pf32bit);
  ForEachPixel(Picture, *blended, [](const uint8_t* from, uint8_t* to) {
    const TColor mixed = BlendColor(FromChannels(from[2], from[1], from[0]),
                                    FromChannels(to[2], to[1], to[0]), from[3]);
    to[0] = GetBValue(mixed);
    to[1] = GetGValue(mixed);
    to[2] = GetRValue(mixed);
    to[3] = from[3];
  });
  Canvas.Draw(X, Y, *blended);
}

}  // namespace grid
