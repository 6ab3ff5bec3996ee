// What the painting tests share: a grid painted into a memory bitmap through its own paint
// message (the same path as the screen, without depending on what the virtual display shows),
// and small questions about the pixels that come out.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/gdi.h"
#include "grid/tests/control_fixture.h"
#include "tests/support/capture.h"

namespace gridtest {

using efir::test::Image;

// The grid's client area as its Paint draws it.
inline Image Render(TDataGrid* grid) {
  const RECT client = grid->ClientRect();
  efir::gdi::WindowDC screen;
  efir::gdi::Object<HBITMAP> bitmap(CreateCompatibleBitmap(screen, client.right, client.bottom));
  {
    efir::gdi::MemoryDC dc(screen);
    efir::gdi::Selection keep(dc, bitmap.get());
    SendMessageW(grid->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(dc.get()), 0);
  }
  return efir::test::captureBitmap(bitmap.get());
}

inline COLORREF Rgb(TColor color) { return ColorToRGB(color); }

// "left,top,right,bottom", for comparing rectangles with readable failures.
inline std::string Str(const RECT& rect) {
  return std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
         std::to_string(rect.right) + "," + std::to_string(rect.bottom);
}

// How many pixels of Rect hold Color.
inline int CountColor(const Image& image, const RECT& rect, COLORREF color) {
  int count = 0;
  for (int y = rect.top; y < rect.bottom; ++y)
    for (int x = rect.left; x < rect.right; ++x) count += image.at(x, y) == color;
  return count;
}

// The smallest rectangle holding every pixel of Rect that is not Background (empty when none).
inline RECT InkBounds(const Image& image, const RECT& rect, COLORREF background) {
  RECT ink{rect.right, rect.bottom, rect.left, rect.top};
  for (int y = rect.top; y < rect.bottom; ++y)
    for (int x = rect.left; x < rect.right; ++x) {
      if (image.at(x, y) == background) continue;
      ink = {std::min<LONG>(ink.left, x), std::min<LONG>(ink.top, y),
             std::max<LONG>(ink.right, x + 1), std::max<LONG>(ink.bottom, y + 1)};
    }
  if (ink.left >= ink.right) return {0, 0, 0, 0};
  return ink;
}

// The process's GDI objects: what the system reports, or, where it reports nothing (Wine),
// the handle slots that answer with an object type.
inline int GdiObjectCount() {
  if (DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS))
    return static_cast<int>(count);
  int count = 0;
  for (uintptr_t slot = 1; slot < 0x10000; ++slot)
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(slot)) != 0) ++count;
  return count;
}

// The pixels of Rect, row by row, for comparing two pictures of the same part.
inline std::vector<uint32_t> Crop(const Image& image, const RECT& rect) {
  std::vector<uint32_t> part;
  for (int y = rect.top; y < rect.bottom; ++y)
    for (int x = rect.left; x < rect.right; ++x) part.push_back(image.at(x, y));
  return part;
}

}  // namespace gridtest
