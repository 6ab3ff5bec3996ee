#include "skin/engine/colour_utils.h"

#include <algorithm>
#include <cmath>

#include "framework/controls.h"
#include "skin/engine/fast_pixels.h"
#include "skin/engine/fills.h"
#include "skin/engine/skin_manager.h"

namespace {

// Seam: the skin command message and its background question, until that work lands.
constexpr UINT SM_ALPHACMD = 0xA100;
constexpr WORD SKC_GETBGCOLOR = 21;
constexpr WORD SKC_GETBGINFO = 34;
WPARAM SkinCommand(WORD sub) { return MAKEWPARAM(0, sub); }

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

// Makes the parent paint itself into the record's target context at the record's place.
template <class Send>
void PaintParentInto(BackgroundInfo& info, Send send) {
  efir::gdi::SavedState saved(info.TargetDC);
  POINT old;
  OffsetViewportOrgEx(info.TargetDC, -info.OffsetX, -info.OffsetY, &old);
  OffsetRect(&info.Area, info.OffsetX, info.OffsetY);
  IntersectClipRect(info.TargetDC, info.Area.left, info.Area.top, info.Area.right, info.Area.bottom);
  send(WM_ERASEBKGND, reinterpret_cast<WPARAM>(info.TargetDC));
  send(WM_PAINT, reinterpret_cast<WPARAM>(info.TargetDC));
}

// The common course of both questions; `send` delivers a message to the parent.
template <class Send>
bool AskForBackground(BackgroundInfo& info, bool paintNow, Send send) {
  const bool paintIfUnanswered = info.PaintNow;
  info.Kind = 0;
  info.PaintNow = paintNow;
  send(SM_ALPHACMD, SkinCommand(SKC_GETBGINFO), reinterpret_cast<LPARAM>(&info));
  if (info.Kind != 0) return true;
  if (paintIfUnanswered && info.TargetDC) {
    PaintParentInto(info, [&](UINT msg, WPARAM wParam) { send(msg, wParam, 0); });
    return false;
  }
  return false;
}

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

bool QueryParentWindowBackground(BackgroundInfo& info, HWND parentWnd, bool paintNow) {
  const bool painting = info.PaintNow && info.TargetDC;
  if (AskForBackground(info, paintNow, [&](UINT msg, WPARAM wParam, LPARAM lParam) {
        return SendMessage(parentWnd, msg, wParam, lParam);
      }))
    return true;
  if (painting) return false;
  TsSkinManager* manager = TsSkinManager::DefaultManager();
  info.Color = manager ? GlobalInfoColor(*manager) : clBtnFace;
  info.Kind = 1;
  return false;
}

bool QueryParentBackground(BackgroundInfo& info, TControl* parent, bool paintNow) {
  if (!parent) return false;
  auto* windowed = dynamic_cast<TWinControl*>(parent);
  const bool painting = info.PaintNow && info.TargetDC;
  auto send = [&](UINT msg, WPARAM wParam, LPARAM lParam) {
    if (windowed && windowed->HandleAllocated()) return SendMessage(windowed->Handle(), msg, wParam, lParam);
    return parent->Perform(msg, wParam, lParam);
  };
  if (AskForBackground(info, paintNow, send)) return true;
  if (painting) return false;
  info.Kind = 1;
  const LRESULT answer = send(SM_ALPHACMD, SkinCommand(SKC_GETBGCOLOR), 0);
  info.Color = answer != 0 ? static_cast<TColor>(answer) : static_cast<TColor>(ColorToRGB(parent->Color()));
  if (info.PaintNow && info.Bitmap && info.TargetDC) FillRectSolid(info.TargetDC, info.Area, info.Color);
  return false;
}

void BackgroundInfoToCacheInfo(const BackgroundInfo& info, CacheSourceInfo& cacheInfo) {
  if (info.Kind == 2)
    MakeCacheSourceInfo(info.Bitmap, info.OffsetX, info.OffsetY, cacheInfo);
  else
    cacheInfo = {nullptr, 0, 0, static_cast<TColor>(ColorToRGB(info.Color)), false};
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
