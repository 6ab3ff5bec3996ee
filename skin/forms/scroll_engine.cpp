#include "skin/forms/scroll_engine.h"

#include <algorithm>

#include "skin/engine/skin_command.h"

ScrollEngineState ScrollState;

void SendScrollMessage(HWND wnd, UINT msg, int code, int pos) {
  const LPARAM what = MAKELONG(code, msg);
  if (SendSkinCommandToWindow(wnd, SKC_BEFORESCROLL, what) == 1) {
    SendMessageW(wnd, msg, MAKELONG(code, LOWORD(pos)), pos);
  } else {
    if (code == SB_THUMBTRACK) {
      // Code that reads GetScrollPos while the thumb moves sees where it is dragged.
      SCROLLINFO si{sizeof si, SIF_POS, 0, 0, 0, pos, 0};
      SetScrollInfo(wnd, msg == WM_HSCROLL ? SB_HORZ : SB_VERT, &si, FALSE);
    }
    const unsigned capped = std::min(0xFFFFu, static_cast<unsigned>(pos));
    SendMessageW(wnd, msg, MAKELONG(code, capped), 0);
  }
  SendSkinCommandToWindow(wnd, SKC_AFTERSCROLL, what);
}
