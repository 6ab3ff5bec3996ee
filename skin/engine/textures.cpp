#include "skin/engine/textures.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "framework/exceptions.h"
#include "framework/picture_jpeg.h"
#include "framework/text_encoding.h"
#include "skin/engine/alpha_blend.h"
#include "skin/engine/fast_pixels.h"
#include "skin/engine/fills.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_painters.h"

namespace {

constexpr RECT kAllCovered{-1, -1, -1, -1};

// Copies w × h tiles from (sx, sy) of the source DC over area, from the area's top-left
// corner, the last row and column cut at the area's edges.
void TileBlt(HDC dest, const RECT& area, HDC source, int sx, int sy, int w, int h) {
  if (w <= 0 || h <= 0) return;
  for (int y = area.top; y < area.bottom; y += h)
    for (int x = area.left; x < area.right; x += w)
      BitBlt(dest, x, y, std::min<int>(w, area.right - x), std::min<int>(h, area.bottom - y), source, sx, sy, SRCCOPY);
}

}  // namespace

void TileGraphic(TCanvas& canvas, const RECT& rect, const TGraphic* graphic) {
  if (!graphic || graphic->Empty() || !canvas.HandleAllocated()) return;
  if (!dynamic_cast<const TBitmap*>(graphic) && !dynamic_cast<const TJPEGImage*>(graphic)) return;
  HDC dc = canvas.Handle();
  efir::gdi::SavedState saved(dc);
  IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
  const int w = graphic->Width(), h = graphic->Height();
  for (int y = rect.top; y < rect.bottom; y += h)
    for (int x = rect.left; x < rect.right; x += w) canvas.Draw(x, y, *graphic);
}

void TileTexture(TCanvas& canvas, RECT& rect, const TGraphic* texture, const TsMaskData& mask, int layout) {
  if (texture && !texture->Empty()) {
    TileGraphic(canvas, rect, texture);
    rect = kAllCovered;
    return;
  }
  if (!mask.Manager || !RowsOf(mask.Manager->MasterBitmap.get()) || !canvas.HandleAllocated()) return;
  HDC dc = canvas.Handle();
  HDC source = mask.Manager->MasterBitmap->Canvas().Handle();
  const int sx = mask.R.left, sy = mask.R.top, w = mask.R.right - mask.R.left, h = mask.R.bottom - mask.R.top;
  if (w <= 0 || h <= 0) return;
  const RECT r = rect;
  const int rw = r.right - r.left, rh = r.bottom - r.top;
  auto stretch = [&](int x, int y, int cw, int ch) { StretchBlt(dc, x, y, cw, ch, source, sx, sy, w, h, SRCCOPY); };
  switch (layout) {
    case 1:
      stretch(r.left, r.top, rw, rh);
      rect = kAllCovered;
      return;
    case 4:
      stretch(r.left, r.top, rw, h);
      rect = {r.left, r.top + h, r.right, r.bottom};
      return;
    case 5:
      stretch(r.left, r.top, w, rh);
      rect = {r.left + w, r.top, r.right, r.bottom};
      return;
    case 10: {
      // Full tiles only; the last column is cut at the right edge, and a row is laid only
      // where it starts above Bottom - h, so the strip below stays for the caller's colour.
      for (int x = r.left; x < r.right; x += w) {
        for (int y = r.top; y < r.bottom - h; y += h) BitBlt(dc, x, y, std::min<int>(w, r.right - x), h, source, sx, sy, SRCCOPY);
        if (x >= r.right - w) break;
      }
      rect = kAllCovered;
      return;
    }
    case 0:
      TileBlt(dc, r, source, sx, sy, w, h);
      rect = kAllCovered;
      return;
    case 2:
      TileBlt(dc, {r.left, r.top, r.right, std::min<LONG>(r.top + h, r.bottom)}, source, sx, sy, w, h);
      rect = {r.left, r.top + h, r.right, r.bottom};
      return;
    case 3:
      TileBlt(dc, {r.left, r.top, std::min<LONG>(r.left + w, r.right), r.bottom}, source, sx, sy, w, h);
      rect = {r.left + w, r.top, r.right, r.bottom};
      return;
    case 6:
      TileBlt(dc, {r.left, std::max<LONG>(r.bottom - h, r.top), r.right, r.bottom}, source, sx, sy, w, h);
      rect = {r.left, r.top, r.right, r.bottom - h};
      return;
    default:
      TileBlt(dc, {std::max<LONG>(r.right - w, r.left), r.top, r.right, r.bottom}, source, sx, sy, w, h);
      if (layout == 7)
        rect = {r.left, r.top, r.right - w, r.bottom};
      else
        rect.left = r.right - w;
      return;
  }
}

void TileMaskedTexture(TBitmap* bitmap, RECT& rect, const CacheSourceInfo& cacheInfo, const TsMaskData& mask,
                       int layout) {
  if (!mask.Manager || mask.ImageCount <= 0 || !RowsOf(bitmap) || (layout != 0 && layout != 10)) return;
  const int fw = (mask.R.right - mask.R.left) / mask.ImageCount, hh = (mask.R.bottom - mask.R.top) / 2;
  if (fw <= 0 || hh <= 0) return;
  const RECT r = rect;
  int rowsEnd = r.top, fullColumnsEnd = r.left;
  for (int x = r.left; x < r.right; x += fw) {
    const int cw = std::min<int>(fw, r.right - x);
    for (int y = r.top; y < r.bottom - hh; y += hh) {
      CopyMaskedMasterCell({x, y, x + cw, y + hh}, {mask.R.left, mask.R.top, mask.R.left + cw, mask.R.top + hh}, bitmap,
                           cacheInfo, mask);
      rowsEnd = y + hh;
    }
    if (cw == fw) fullColumnsEnd = x + fw;
    if (x >= r.right - fw) break;
  }
  rect = kAllCovered;
  if (layout != 10) return;
  // What full tiles leave: the strip below the rows and the strip right of the full columns.
  const RECT strips[] = {{r.left, rowsEnd, r.right, r.bottom}, {fullColumnsEnd, r.top, r.right, rowsEnd}};
  HDC dc = bitmap->Canvas().Handle();
  for (const RECT& s : strips) {
    if (s.right <= s.left || s.bottom <= s.top) continue;
    if (cacheInfo.Ready && RowsOf(cacheInfo.Bitmap))
      BitBlt(dc, s.left, s.top, s.right - s.left, s.bottom - s.top, cacheInfo.Bitmap->Canvas().Handle(),
             s.left + cacheInfo.X, s.top + cacheInfo.Y, SRCCOPY);
    else if (bitmap->PixelFormat() == pf32bit)
      FillRect32(bitmap, s, cacheInfo.FillColor);
    else
      FillRectSolid(dc, s, cacheInfo.FillColor);
  }
}

void DrawColorFrame(HDC dc, RECT& rect, TColor color, TColor color2, int& width) {
  efir::gdi::Object<HPEN> light(CreatePen(PS_SOLID, 1, ColorToRGB(color)));
  efir::gdi::Object<HPEN> dark(CreatePen(PS_SOLID, 1, static_cast<COLORREF>(color2)));
  efir::gdi::Selection brush(dc, GetStockObject(NULL_BRUSH));
  efir::gdi::Selection pen(dc, light.get());
  for (; width > 0; --width) {
    const POINT topLeft[] = {{rect.left, rect.bottom - 1}, {rect.left, rect.top}, {rect.right, rect.top}};
    const POINT bottomRight[] = {{rect.right - 1, rect.top + 1}, {rect.right - 1, rect.bottom - 1},
                                 {rect.left, rect.bottom - 1}};
    SelectObject(dc, light.get());
    Polyline(dc, topLeft, 3);
    SelectObject(dc, dark.get());
    Polyline(dc, bottomRight, 3);
    InflateRect(&rect, -1, -1);
  }
}

void DrawDottedFocusRect(TCanvas& canvas, const RECT& rect) {
  const int w = rect.right - rect.left, h = rect.bottom - rect.top;
  for (int i = 0; i <= w / 3; ++i) {
    const int x = rect.left + 3 * i;
    canvas.SetPixels(x, rect.top, clBlack);
    canvas.SetPixels(x, rect.bottom, clBlack);
    canvas.SetPixels(x - 1, rect.top - 1, clWhite);
    canvas.SetPixels(x - 1, rect.bottom - 1, clWhite);
  }
  for (int j = 0; j <= h / 3; ++j) {
    const int y = rect.top + 3 * j;
    canvas.SetPixels(rect.left, y, clBlack);
    canvas.SetPixels(rect.right, y, clBlack);
    canvas.SetPixels(rect.left - 1, y - 1, clWhite);
    canvas.SetPixels(rect.right - 1, y - 1, clWhite);
  }
}

void GetFontTextExtent(HFONT font, std::string_view text, SIZE& size) {
  efir::gdi::WindowDC screen;
  efir::gdi::Selection selected(screen, font);
  const std::wstring wide = efir::text::fromAnsi(text);
  if (!GetTextExtentPoint32W(screen, wide.c_str(), static_cast<int>(wide.size()), &size)) size = {0, 0};
}

void CalcGlyphTextLayout(const RECT& client, POINT glyphSize, POINT textSize, int layout, int alignment, int margin,
                         int spacing, POINT& glyphPos, RECT& textBounds, int biDiFlags) {
  if (biDiFlags & 2) {
    if (layout == 0)
      layout = 1;
    else if (layout == 1)
      layout = 0;
  }
  const int cw = client.right - client.left, ch = client.bottom - client.top;
  const bool across = layout == 0 || layout == 1;
  POINT text{0, 0};
  glyphPos = {0, 0};
  if (across) {
    glyphPos.y = (ch - glyphSize.y + 1) / 2;
    text.y = (ch - textSize.y + 1) / 2;
  } else {
    glyphPos.x = (cw - glyphSize.x + 1) / 2;
    text.x = (cw - textSize.x + 1) / 2;
  }
  if (textSize.x == 0 || glyphSize.x == 0) spacing = 0;
  const int freeSpace = across ? cw - glyphSize.x - textSize.x : ch - glyphSize.y - textSize.y;
  if (margin == -1) {
    if (spacing < 0) {
      margin = freeSpace / 3;
      spacing = margin;
    } else {
      margin = alignment == 2 ? (freeSpace - spacing + 1) / 2 : 2;
    }
  } else if (spacing < 0) {
    spacing = (freeSpace - margin) / 2;
  }
  switch (layout) {
    case 0:
      if (alignment == 0) {
        glyphPos.x = margin, text.x = margin + glyphSize.x + spacing;
      } else if (alignment == 2) {
        margin = (cw - textSize.x - spacing - glyphSize.x) / 2;
        glyphPos.x = margin, text.x = margin + spacing + glyphSize.x;
      } else if (alignment == 1) {
        text.x = cw - margin - textSize.x, glyphPos.x = text.x - spacing - glyphSize.x;
      }
      break;
    case 1:
      if (alignment == 0) {
        glyphPos.x = margin + textSize.x + spacing, text.x = margin;
      } else if (alignment == 2) {
        margin = (cw - textSize.x - spacing - glyphSize.x) / 2;
        text.x = margin, glyphPos.x = margin + spacing + textSize.x;
      } else if (alignment == 1) {
        glyphPos.x = cw - margin - glyphSize.x, text.x = glyphPos.x - spacing - textSize.x;
      }
      break;
    case 2:
      glyphPos.y = (ch - glyphSize.y - spacing - textSize.y) / 2;
      text.y = glyphPos.y + glyphSize.y + spacing;
      break;
    case 3:
      glyphPos.y = ch - glyphSize.y - (ch - glyphSize.y - spacing - textSize.y) / 2;
      text.y = glyphPos.y - spacing - textSize.y;
      break;
    default:
      break;
  }
  glyphPos.x += client.left, glyphPos.y += client.top;
  textBounds = {client.left + text.x, client.top + text.y, client.left + text.x + textSize.x,
                client.top + text.y + textSize.y};
}

namespace {

struct Filter {
  double Support;
  double (*Value)(double);  // of the distance (signed for Box, else not negative)
};

double Box(double d) { return d > -0.5 && d <= 0.5 ? 1 : 0; }
double Triangle(double x) { return x < 1 ? 1 - x : 0; }
double Hermite(double x) { return x < 1 ? (2 * x - 3) * x * x + 1 : 0; }
double Bell(double x) { return x < 0.5 ? 0.75 - x * x : x < 1.5 ? (x - 1.5) * (x - 1.5) / 2 : 0; }
double BSpline(double x) { return x < 1 ? x * x * (x / 2 - 1) + 2.0 / 3 : x < 2 ? (2 - x) * (2 - x) * (2 - x) / 6 : 0; }
double Sinc(double x) { return x == 0 ? 1 : std::sin(std::numbers::pi * x) / (std::numbers::pi * x); }
double Lanczos3(double x) { return x < 3 ? Sinc(x) * Sinc(x / 3) : 0; }
double Mitchell(double x) {
  if (x < 1) return x * x * (7 * x / 6 - 2) + 8.0 / 9;
  if (x < 2) return x * x * (-7 * x / 18 + 2) - 10 * x / 3 + 16.0 / 9;
  return 0;
}

constexpr Filter kFilters[] = {{0.51, Box},   {1.0, Triangle}, {1.0, Hermite}, {1.5, Bell},
                               {2.0, BSpline}, {3.0, Lanczos3}, {2.0, Mitchell}};

struct Contributor {
  ptrdiff_t Offset;  // bytes from the first source pixel of the line
  int Weight;        // 16.16 fixed point
};
using Contributors = std::vector<std::vector<Contributor>>;

Contributors MakeContributors(int newSize, int oldSize, ptrdiff_t step, const Filter& filter, bool signedBox) {
  Contributors list(static_cast<size_t>(newSize));
  const double scale = newSize < oldSize ? static_cast<double>(newSize) / oldSize : 1.0;
  const double width = filter.Support / scale;
  for (int i = 0; i < newSize; ++i) {
    const double centre = static_cast<double>(oldSize) * i / newSize;
    for (int j = static_cast<int>(std::floor(centre - width)); j <= static_cast<int>(std::ceil(centre + width)); ++j) {
      const double x = std::abs(centre - j) * scale;
      if (x >= filter.Support) continue;
      const double f = filter.Value(signedBox ? (centre - j) * scale : x);
      if (f == 0) continue;
      // Mirrored at the edges, and kept inside however wide the filter reaches.
      int k = j < 0 ? -j : j >= oldSize ? 2 * oldSize - j - 1 : j;
      k = std::clamp(k, 0, oldSize - 1);
      list[static_cast<size_t>(i)].push_back({k * step, static_cast<int>(std::nearbyint(f * scale * 65536))});
    }
  }
  return list;
}

uint8_t Convolve(const uint8_t* line, const std::vector<Contributor>& contributors) {
  int64_t sum = 0;
  for (const Contributor& c : contributors) sum += static_cast<int64_t>(c.Weight) * line[c.Offset];
  return sum < 0 ? 0 : sum >= 0xFF0001 ? 255 : static_cast<uint8_t>(sum >> 16);
}

}  // namespace

void ResampleBitmap(TBitmap* source, TBitmap* dest, int newWidth, int newHeight, int filter) {
  if (!source || !dest) return;
  if (source->Width() < 2 || source->Height() < 2) throw Exception("Source bitmap is too small");
  if (newWidth == source->Width() && newHeight == source->Height()) {
    if (dest != source) dest->Assign(*source);
    return;
  }
  const TPixelFormat format = source->PixelFormat() == pf32bit ? pf32bit : pf24bit;
  // The caller's picture stays as it is: other formats, or a source that is also the
  // destination, are read from a converted copy.
  std::unique_ptr<TBitmap> converted;
  if (source->PixelFormat() != format || source == dest) {
    converted = NewBitmap24(0, 0);
    converted->Assign(*source);
    converted->SetPixelFormat(format);
    source = converted.get();
  }
  dest->SetPixelFormat(format);
  if (newWidth < 1 || newHeight < 1) {
    dest->SetSize(0, 0);
    return;
  }
  const Filter& kind = kFilters[std::clamp(filter, 0, 6)];
  const bool signedBox = filter == 0;
  const int bytes = format == pf32bit ? 4 : 3;
  const PixelRows s = RowsOf(source);
  auto temporary = format == pf32bit ? NewBitmap32(newWidth, s.Height) : NewBitmap24(newWidth, s.Height);
  const PixelRows t = RowsOf(temporary.get());
  const Contributors across = MakeContributors(newWidth, s.Width, bytes, kind, signedBox);
  for (int y = 0; y < s.Height; ++y)
    for (int x = 0; x < newWidth; ++x)
      for (int b = 0; b < bytes; ++b) t.At(x, y)[b] = Convolve(s.At(0, y) + b, across[static_cast<size_t>(x)]);
  dest->SetSize(newWidth, newHeight);
  const PixelRows d = RowsOf(dest);
  const Contributors down = MakeContributors(newHeight, s.Height, t.Stride, kind, signedBox);
  for (int x = 0; x < newWidth; ++x)
    for (int y = 0; y < newHeight; ++y)
      for (int b = 0; b < bytes; ++b) d.At(x, y)[b] = Convolve(t.At(x, 0) + b, down[static_cast<size_t>(y)]);
}
