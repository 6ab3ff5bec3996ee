// What the skinned scroll bars of the whole program share: only one bar is hovered or pressed
// at a time, so its state is kept once (which window, which bar, which part, the timers and a
// thumb drag's measures), and the one way the engine scrolls a window.
//
//   ScrollState.PressedPart = spFirstArrow;                     // set by the button-down handling
//   SendScrollMessage(wnd, WM_VSCROLL, SB_LINEDOWN, 0);          // framed by SKC_BEFORE/AFTERSCROLL
//
// GUI thread only.
#pragma once

#include <windows.h>

#include "skin/forms/scroll_geometry.h"

// The timers of a pressed or hovered bar, window timers of the adapted window.
constexpr UINT_PTR kScrollHoverTimer = 0xFFF2;        // every 20 ms while a bar is hovered
constexpr UINT_PTR kScrollFirstRepeatTimer = 0xFFFD;  // 300 ms after an arrow or track press
constexpr UINT_PTR kScrollRepeatTimer = 0xFFFE;       // then every 55 ms
constexpr UINT kScrollHoverMs = 20, kScrollFirstRepeatMs = 300, kScrollRepeatMs = 55;

struct ScrollEngineState {
  HWND HotWnd = nullptr;          // window whose bars were last hovered or pressed
  UINT Msg = 0;                   // WM_HSCROLL or WM_VSCROLL of the pressed bar
  int TrackedBar = -1;            // Kind of the pressed bar
  ScrollPart PressedPart = spNone;
  ScrollPart ShownPart = spNone;  // PressedPart while the mouse is over it: drawn pressed
  UINT_PTR RepeatTimer = 0;
  UINT_PTR HoverTimer = 0;
  int HoverBar = -1;              // Kind of the hovered bar
  ScrollPart HoverPart = spNone;
  ScrollPart LastHoverPart = spNone;
  RECT HoverRect{};               // screen rectangle of the hovered bar
  int ThumbTrackPos = -1;         // last position sent while a thumb is dragged
  int DragThumbSize = 0, DragThumbStart = 0, DragGrabOffset = 0;
  RECT DragTrackRect{};           // the bar's screen rectangle when the drag began
};
extern ScrollEngineState ScrollState;

// Tells the window a scroll message comes (SKC_BEFORESCROLL), sends it and tells it that it
// came (SKC_AFTERSCROLL). A window that answers 1 takes the full position from lParam; any
// other gets it in the high word, capped at 0xFFFF, and, while a thumb is tracked, finds it as
// the bar's position too.
void SendScrollMessage(HWND wnd, UINT msg, int code, int pos);
