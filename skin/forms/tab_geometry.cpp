#include "skin/forms/tab_geometry.h"

#include <commctrl.h>

TabPosition TabPositionOfStyle(LONG_PTR style) {
  if (style & TCS_VERTICAL) return style & TCS_RIGHT ? TabPosition::Right : TabPosition::Left;
  return style & TCS_BOTTOM ? TabPosition::Bottom : TabPosition::Top;
}

TabKind TabKindOfStyle(LONG_PTR style) {
  if (style & TCS_FLATBUTTONS) return TabKind::FlatButtons;
  return style & TCS_BUTTONS ? TabKind::Buttons : TabKind::Tabs;
}

RECT SkinnedTabRect(RECT r, TabPosition side, TabKind kind, bool selected) {
  if (kind != TabKind::Tabs || r.right <= r.left) return r;
  const int s = selected ? 1 : 0;
  if (selected) {
    r.bottom -= 1;
  } else {
    r.bottom += 3;
    r.right -= 1;
  }
  switch (side) {
    case TabPosition::Top:
      InflateRect(&r, 2 * s, 2 * s);
      r.bottom += 1;
      break;
    case TabPosition::Bottom:
      InflateRect(&r, 2 * s, s);
      r.top -= 2;
      r.bottom += selected ? 1 : -3;
      break;
    case TabPosition::Left:
      InflateRect(&r, 0, 1);
      r.right += 2;
      if (selected) {
        InflateRect(&r, 1, 1);
      } else {
        r.bottom -= 4;
        r.right += 2;
      }
      break;
    case TabPosition::Right:
      InflateRect(&r, 1, 0);
      OffsetRect(&r, -1, -1);
      if (selected) {
        InflateRect(&r, 1, 1);
        r.bottom += 3;
      } else {
        r.bottom -= 2;
      }
      break;
  }
  return r;
}

int TabRow(const RECT& item, TabPosition side, int rows, const RECT& area) {
  if (rows < 2) rows = 1;
  const int w = item.right - item.left, h = item.bottom - item.top;
  if (w <= 0 || h <= 0) return 1;
  switch (side) {
    case TabPosition::Top: return (item.bottom + h / 2) / h;
    case TabPosition::Left: return (item.right + w / 2) / w;
    case TabPosition::Right: return rows - (item.right - area.left + w / 2) / w + 1;
    case TabPosition::Bottom: return rows - (item.bottom - area.top + h / 2) / h + 1;
  }
  return 1;
}

RECT PageFrameRect(SIZE control, const RECT& page, TabPosition side, bool hasTabs) {
  RECT r{0, 0, control.cx, control.cy};
  if (!hasTabs) return r;
  switch (side) {
    case TabPosition::Top: r.top = page.top - 4; break;
    case TabPosition::Bottom: r.bottom = page.bottom + 1; break;
    case TabPosition::Left: r.left = page.left - 1; break;
    case TabPosition::Right: r.right = page.right + 1; break;
  }
  return r;
}

RECT TabStripRect(SIZE control, const RECT& page, TabPosition side, bool hasTabs) {
  RECT r{0, 0, control.cx, control.cy};
  if (!hasTabs) return r;
  switch (side) {
    case TabPosition::Top: r.bottom = page.top - 4; break;
    case TabPosition::Bottom: r.top = page.bottom + 1; break;
    case TabPosition::Left: r.right = page.left - 1; break;
    case TabPosition::Right: r.left = page.right + 1; break;
  }
  return r;
}
