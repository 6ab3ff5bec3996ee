// The arithmetic of skinned tab controls, apart from any window: where a tab's picture goes
// (the selected tab stands out over its neighbours and the page frame), which row a tab sits
// in, and how the page frame and the tab strip share the control.
//
//   const TabPosition side = TabPositionOfStyle(style);
//   RECT r = SkinnedTabRect(itemRect, side, selected);   // the rectangle TCM_GETITEMRECT gave
//   int row = TabRow(itemRect, side, rows, tabArea);      // 1 = the row farthest from the page
//
// Rows count from the outside in, so painting rows 1..n lays the row next to the page last.
#pragma once

#include <windows.h>

enum class TabPosition { Top = 0, Bottom = 1, Left = 2, Right = 3 };
enum class TabKind { Tabs = 0, Buttons = 1, FlatButtons = 2 };

// From the tab control's style (TCS_VERTICAL, TCS_BOTTOM / TCS_RIGHT).
TabPosition TabPositionOfStyle(LONG_PTR style);
// From the tab control's style (TCS_FLATBUTTONS, TCS_BUTTONS).
TabKind TabKindOfStyle(LONG_PTR style);

// The rectangle the skin paints a tab of the tabs kind in, from its item rectangle; button
// kinds and empty rectangles stay as they are.
RECT SkinnedTabRect(RECT item, TabPosition side, TabKind kind, bool selected);
// The row (1-based, outermost first) of the tab with item rectangle `item` among `rows` rows;
// `area` is the tab strip.
int TabRow(const RECT& item, TabPosition side, int rows, const RECT& area);
// The page frame: the whole control, its side toward the tabs moved to the page area `page`
// (when the control has tabs).
RECT PageFrameRect(SIZE control, const RECT& page, TabPosition side, bool hasTabs);
// The tab strip: the rest of the control beyond the page frame.
RECT TabStripRect(SIZE control, const RECT& page, TabPosition side, bool hasTabs);
