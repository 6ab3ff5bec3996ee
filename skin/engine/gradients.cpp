#include "skin/engine/gradients.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "skin/engine/skin_ini.h"

namespace {

std::vector<std::string_view> Words(std::string_view text, char separator) {
  std::vector<std::string_view> words;
  while (!text.empty()) {
    size_t end = text.find(separator);
    std::string_view word = text.substr(0, end);
    if (!word.empty()) words.push_back(word);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
  }
  return words;
}

struct Rgb {
  double R, G, B;
};

Rgb Channels(TColor c) {
  return {double(c & 0xFF), double((c >> 8) & 0xFF), double((c >> 16) & 0xFF)};
}

// Rounds halves to the even neighbour (the default rounding mode).
uint8_t Channel(double v) { return static_cast<uint8_t>(std::clamp(std::nearbyint(v), 0.0, 255.0)); }

// Walks colour 1 to colour 2 in `steps` equal steps, one per pixel from `first` to `last`.
class ColourRun {
 public:
  ColourRun(const TsGradBand& band, int steps)
      : c_(Channels(band.Color1)), to_(Channels(band.Color2)), steps_(steps) {
    step_ = {(to_.R - c_.R) / steps_, (to_.G - c_.G) / steps_, (to_.B - c_.B) / steps_};
  }
  Rgb Current() const { return c_; }
  void Next() { c_ = {c_.R + step_.R, c_.G + step_.G, c_.B + step_.B}; }

 private:
  Rgb c_, to_, step_{};
  int steps_;
};

class PixelWriter {
 public:
  explicit PixelWriter(TBitmap& bitmap)
      : bitmap_(bitmap), bytes_(bitmap.PixelFormat() == pf32bit ? 4 : 3) {}
  void Put(int x, int y, Rgb c) {
    if (x < 0 || y < 0 || x >= bitmap_.Width() || y >= bitmap_.Height()) return;
    uint8_t* p = static_cast<uint8_t*>(bitmap_.ScanLine(y)) + x * bytes_;
    p[0] = Channel(c.B);
    p[1] = Channel(c.G);
    p[2] = Channel(c.R);
    if (bytes_ == 4) p[3] = 255;
  }

 private:
  TBitmap& bitmap_;
  int bytes_;
};

void PaintVertical(TBitmap& bitmap, const RECT& r, const TsGradArray& bands, int offset) {
  PixelWriter out(bitmap);
  int last = std::min<int>(r.bottom, bitmap.Height()) - 1;
  int right = std::min<int>(r.right, bitmap.Width()) - 1;
  int height = r.bottom - r.top;
  int y = r.top + offset;
  for (size_t i = 0; i < bands.size(); ++i) {
    int y0 = y;
    y = i + 1 == bands.size() ? last : std::min(last, y0 + (height + offset) * bands[i].Percent / 100);
    if (y - y0 <= 0) continue;
    ColourRun run(bands[i], y - y0);
    for (int row = y0; row <= y; ++row, run.Next())
      for (int x = r.left; x <= right; ++x) out.Put(x, row, run.Current());
  }
}

void PaintHorizontal(TBitmap& bitmap, const RECT& r, const TsGradArray& bands) {
  PixelWriter out(bitmap);
  int lastColumn = std::min<int>(r.right, bitmap.Width()) - 1;
  double width = r.right - r.left;
  for (int row = r.top; row < r.bottom; ++row) {
    int x = r.left;
    for (size_t i = 0; i < bands.size(); ++i) {
      int x0 = x;
      int end = i + 1 == bands.size()
                    ? lastColumn
                    : std::min(static_cast<int>(std::nearbyint(bands[i].Percent * width / 100 + x0)), lastColumn);
      x = end;
      if (end - x0 <= 0) continue;
      ColourRun run(bands[i], end - x0);
      for (int col = x0; col <= end; ++col, run.Next()) out.Put(col, row, run.Current());
    }
  }
}

using GradientFillFn = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

// msimg32's GradientFill, looked up once; null when the system lacks it.
GradientFillFn GradientFillProc() {
  static GradientFillFn proc = [] {
    HMODULE lib = LoadLibraryA("msimg32.dll");
    return lib ? reinterpret_cast<GradientFillFn>(reinterpret_cast<void*>(GetProcAddress(lib, "GradientFill")))
               : nullptr;
  }();
  return proc;
}

void PaintMesh(TBitmap& bitmap, const RECT& r, const TsGradArray& bands) {
  GradientFillFn fill = GradientFillProc();
  if (!fill) return;
  const POINT corners[5] = {{r.left, r.top},
                            {r.left + (r.right - r.left) / 2, r.top + (r.bottom - r.top) / 2},
                            {r.right, r.top},
                            {r.right, r.bottom},
                            {r.left, r.bottom}};
  TRIVERTEX v[5];
  TColor colour = bands[0].Color1;
  for (size_t i = 0; i < 5; ++i) {
    if (i < bands.size()) colour = bands[i].Color1;
    v[i] = {corners[i].x, corners[i].y, static_cast<COLOR16>((colour & 0xFF) << 8),
            static_cast<COLOR16>(((colour >> 8) & 0xFF) << 8), static_cast<COLOR16>(((colour >> 16) & 0xFF) << 8), 0};
  }
  GRADIENT_TRIANGLE triangles[4] = {{0, 1, 2}, {1, 2, 3}, {0, 1, 4}, {4, 1, 3}};
  fill(bitmap.Canvas().Handle(), v, 5, triangles, 4, GRADIENT_FILL_TRIANGLE);
}

}  // namespace

void ParseGradientData(std::string_view text, TsGradArray& bands) {
  bands.clear();
  std::vector<std::string_view> words = Words(text, ';');
  for (size_t i = 0; i + 5 <= words.size(); i += 5) {
    TsGradBand band;
    band.Color1 = std::max(0, efir::skin::StrictInteger(words[i]));
    band.Color2 = std::max(0, efir::skin::StrictInteger(words[i + 1]));
    band.Percent = static_cast<uint8_t>(std::clamp(efir::skin::StrictInteger(words[i + 2]), 0, 100));
    band.Mode = efir::skin::StrictInteger(words[i + 3]);
    bands.push_back(band);
  }
}

void PaintGradient(TBitmap& bitmap, RECT rect, const TsGradArray& bands, int offset) {
  if (bands.empty()) return;
  rect.right = std::min<LONG>(rect.right, bitmap.Width());
  rect.bottom = std::min<LONG>(rect.bottom, bitmap.Height());
  rect.left = std::max<LONG>(rect.left, 0);
  rect.top = std::max<LONG>(rect.top, 0);
  if (rect.right <= rect.left || rect.bottom <= rect.top) return;
  bool direct = bitmap.PixelFormat() == pf24bit || bitmap.PixelFormat() == pf32bit;
  switch (bands[0].Mode) {
    case 0:
      if (direct) PaintVertical(bitmap, rect, bands, offset);
      break;
    case 1:
      if (direct) PaintHorizontal(bitmap, rect, bands);
      break;
    case 2:
      PaintMesh(bitmap, rect, bands);
      break;
    default:
      break;
  }
}
