#include "skin/engine/colour_utils.h"

#include <algorithm>
#include <cmath>

#include "skin/engine/fast_pixels.h"
#include "skin/engine/skin_manager.h"

namespace {

using UpdateLayeredWindowFunction = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF, BLENDFUNCTION*, DWORD);

// user32 stays loaded for the whole run; the extra reference is given back at exit.
class LayeredWindowsLibrary {
 public:
  LayeredWindowsLibrary() : library_(LoadLibraryA("user32.dll")) {
    if (library_)
      function_ = reinterpret_cast<UpdateLayeredWindowFunction>(
          reinterpret_cast<void*>(GetProcAddress(library_, "UpdateLayeredWindow")));
  }
  ~LayeredWindowsLibrary() {
    if (library_) FreeLibrary(library_);
  }
  bool Available() const { return function_ != nullptr; }

 private:
  HMODULE library_;
  UpdateLayeredWindowFunction function_ = nullptr;
};

uint8_t RoundChannel(double v) { return static_cast<uint8_t>(std::clamp(std::nearbyint(v), 0.0, 255.0)); }

TColor Rgb(double r, double g, double b) { return RoundChannel(r) | RoundChannel(g) << 8 | RoundChannel(b) << 16; }

}  // namespace

bool LayeredWindowsAvailable() {
  static const LayeredWindowsLibrary library;
  return library.Available();
}

TColor ChangeColorSaturation(TColor color, int amount) {
  if (amount == 0) return color;
  const int c[3] = {color & 0xFF, color >> 8 & 0xFF, color >> 16 & 0xFF};
  const double average = (c[0] + c[1] + c[2]) / 3.0;
  TColor result = 0;
  for (int i = 0; i < 3; ++i) {
    const double step = (average - c[i]) / 100;
    result |= RoundChannel(c[i] + amount * step) << (8 * i);
  }
  return result;
}

TColor ChangeColorHue(int amount, TColor color) {
  const COLORREF c = ColorToRGB(color) & 0xFFFFFF;
  const double r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
  const double v = std::max({r, g, b}), delta = v - std::min({r, g, b});
  const double s = v == 0 ? 0 : delta / v;
  if (s == 0) return static_cast<TColor>(c);
  const double f = 60 / delta;
  double hue = r == v ? (g - b) * f : g == v ? 120 + (b - r) * f : 240 + (r - g) * f;
  if (hue < 0) hue += 360;
  // A truncating remainder, as the skins were made with: a negative sum stays negative.
  const int turned = static_cast<int>(std::nearbyint(amount + hue)) % 360;
  const double h = turned / 60.0;
  const int sector = static_cast<int>(h);
  const double fraction = h - sector;
  const double p = std::clamp(v * (1 - s), 0.0, 255.0);
  const double q = std::clamp(v * (1 - s * fraction), 0.0, 255.0);
  const double t = std::clamp(v * (1 - (1 - fraction) * s), 0.0, 255.0);
  switch (sector) {
    case 0: return Rgb(v, t, p);
    case 1: return Rgb(q, v, p);
    case 2: return Rgb(p, v, t);
    case 3: return Rgb(p, q, v);
    case 4: return Rgb(t, p, v);
    default: return Rgb(v, p, q);
  }
}

namespace {

// Appends the magenta runs of `columns` pixels from (x, y) of the image, one row.
void CollectRuns(TAOR& rects, const PixelRows& image, int x, int y, int columns, int placeX, int placeY) {
  int start = -1;
  for (int i = 0; i <= columns; ++i) {
    const bool transparent = i < columns && PixelIs(image.At(x + i, y), TransparentKeyColor);
    if (transparent && start < 0) start = i;
    if (!transparent && start >= 0) {
      rects.push_back({placeX + start, placeY, placeX + i, placeY + 1});
      start = -1;
    }
  }
}

}  // namespace

void CollectTransparentCornerRects(TAOR& rects, int width, const TsMaskData& mask, int y, bool bottomEdge) {
  if (!mask.Manager || mask.ImageCount <= 0 || mask.MaskType < 0) return;
  TBitmap* bitmap = mask.Image ? mask.Image.get() : mask.Manager->MasterBitmap.get();
  const PixelRows image = RowsOf(bitmap);
  if (!image) return;
  const int n = bottomEdge ? mask.WB : mask.WT;
  int y0 = mask.R.top;
  if (bottomEdge) y0 += (mask.R.bottom - mask.R.top) / (mask.MaskType + 1) - mask.WB;
  const int fw = (mask.R.right - mask.R.left) / mask.ImageCount;
  // Only rows and columns the image holds are read.
  if (y0 < 0 || y0 + n > image.Height || mask.R.left < 0 || mask.R.left + std::max(fw, mask.WL) > image.Width) return;
  for (int row = 0; row < n; ++row) {
    CollectRuns(rects, image, mask.R.left, y0 + row, mask.WL, 0, y + row);
    if (mask.WR > 0 && mask.WR <= fw)
      CollectRuns(rects, image, mask.R.left + fw - mask.WR, y0 + row, mask.WR, width - mask.WR, y + row);
  }
}
