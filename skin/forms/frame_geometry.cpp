#include "skin/forms/frame_geometry.h"

#include <algorithm>
#include <cstdlib>

int CaptionHeight(const CaptionMeasures& form, bool useExt) {
  bool caption = (form.Style & WS_CAPTION) == WS_CAPTION;
  if (!form.Iconic && !(form.HasBorder && caption)) return 0;
  int base = useExt ? form.ExtTitleHeight : 0;
  bool tool = form.BorderStyle == bsToolWindow || form.BorderStyle == bsSizeToolWin;
  int system = GetSystemMetrics(tool ? SM_CYSMCAPTION : SM_CYCAPTION);
  if (form.ZoomedShortTitle) return std::max(base, system + 4);
  return base != 0 ? base : system;
}

int TitleIconSize(int h) {
  if (h >= -100 && h <= 8) return 1;
  if (h <= 16) return 8;
  return 16;
}

void SnapCoordinate(int& pos, int edge, int buffer, int size) {
  if (std::abs(pos + size - edge) < buffer) pos = edge - size;
}

void SnapToWorkArea(int& x, int& y, int w, int h, const RECT& area, int buffer, int sideMargin, int topMargin) {
  SnapCoordinate(x, area.right, buffer, w + sideMargin);
  SnapCoordinate(y, area.bottom, buffer, h + sideMargin);
  SnapCoordinate(x, area.left, buffer, -sideMargin);
  SnapCoordinate(y, area.top, buffer, -topMargin);
}

std::optional<RECT> PlainWindowRegion(const RegionMeasures& form) {
  const int a = form.FrameWidth;
  if (form.HasBorderForm) {
    int top = form.ZoomedShortTitle ? a + form.CaptionHeight - 4
                                    : form.FrameTopWidth + form.CaptionHeight + a;
    return RECT{a, top, form.Width - a, form.Height - a};
  }
  if (form.Maximized && form.Constraints.MaxWidth == 0 && form.Constraints.MaxHeight == 0 &&
      !form.MdiChild)
    return RECT{a, form.FrameTopWidth, form.Width - a, form.Height - form.FrameTopWidth};
  return std::nullopt;
}

HRGN MakeRegion(int x, int y, int frameWidth, int height, const TAOR& corners) {
  HRGN region = CreateRectRgn(x, y, x + frameWidth, y + height);
  for (const RECT& corner : corners) {
    HRGN hole = CreateRectRgn(corner.left + x, corner.top + y, corner.right + x, corner.bottom + y);
    CombineRgn(region, region, hole, RGN_DIFF);
    DeleteObject(hole);
  }
  return region;
}
