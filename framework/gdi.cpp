#include "framework/gdi.h"

COLORREF ColorToRGB(TColor color) {
  const uint32_t value = static_cast<uint32_t>(color);
  if ((value & 0xFF000000u) == 0xFF000000u) return GetSysColor(static_cast<int>(value & 0xFF));
  if (color == clNone || color == clDefault) return RGB(0, 0, 0);
  return value & 0x00FFFFFFu;
}
