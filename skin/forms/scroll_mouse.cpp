// The skinned bars' mouse: hover, presses with auto-repeat, the thumb drag and the release.
// One bar in the program is hovered or pressed at a time (ScrollState).
#include "skin/forms/scroll_engine.h"
#include "skin/forms/scroll_wnd.h"

namespace {

bool PressablePart(ScrollPart part) {
  return part == spFirstArrow || part == spSecondArrow || part == spTrackBefore || part == spTrackAfter;
}

}  // namespace

LRESULT TacScrollWnd::ScrollHitTest(POINT screen) const {
  if (!HorzBar || !VertBar) return -1;
  for (const TacScrollBar* bar : {HorzBar.get(), VertBar.get()}) {
    if (!bar->Visible) continue;
    const RECT r = BarRect(*bar);
    if (PtInRect(&r, screen)) return BarEnabled(*bar) ? (bar->Horizontal() ? HTHSCROLL : HTVSCROLL) : HTNOWHERE;
  }
  if (HorzBar->Visible && VertBar->Visible) {
    RECT window;
    GetWindowRect(Wnd, &window);
    const RECT corner = ScrollCornerRect(window, Frame(), *HorzBar, *VertBar);
    if (PtInRect(&corner, screen) && SizeGripAllowed(corner)) return HTBOTTOMRIGHT;
  }
  return -1;
}

void TacScrollWnd::HoverBars(int hitCode) {
  // A press elsewhere keeps the one state until its release.
  if (ScrollState.PressedPart != spNone && ScrollState.HotWnd != Wnd) return;
  ScrollState.HotWnd = Wnd;
  if (hitCode != HTHSCROLL && hitCode != HTVSCROLL) return;
  const int kind = hitCode == HTHSCROLL ? SB_HORZ : SB_VERT;
  if (ScrollState.HoverBar == kind) return;
  ScrollState.LastHoverPart = ScrollState.HoverPart = spNone;
  ScrollState.HoverRect = BarRect(*Bar(kind));
  ScrollState.HoverBar = kind;
  ScrollState.HoverTimer = SetTimer(Wnd, kScrollHoverTimer, kScrollHoverMs, nullptr);
  PaintScrollBars(nullptr, -1);
}

void TacScrollWnd::HoverTick() {
  if (ThumbTracking) return;
  POINT cursor;
  GetCursorPos(&cursor);
  TacScrollBar* bar = Bar(ScrollState.HoverBar);
  if (bar && ScrollState.HotWnd == Wnd && PtInRect(&ScrollState.HoverRect, cursor)) {
    bar->ReadInfo(Wnd);
    ScrollState.HoverPart = HitTestScrollPart(*bar, ScrollState.HoverRect, cursor);
    if (ScrollState.HoverPart != ScrollState.LastHoverPart) {
      const bool pressedHere = ScrollState.TrackedBar == bar->Kind;
      PaintScrollBar(*bar, nullptr, -1, pressedHere ? ScrollState.ShownPart : spNone);
    }
    ScrollState.LastHoverPart = ScrollState.HoverPart;
    return;
  }
  KillTimer(Wnd, kScrollHoverTimer);
  ScrollState.HoverTimer = 0;
  ScrollState.HoverBar = -1;
  ScrollState.HoverPart = ScrollState.LastHoverPart = spNone;
  PaintScrollBars(nullptr, -1);
}

void TacScrollWnd::PressBar(TMessage& message) {
  const POINT point = PointOfLParam(message.LParam);
  const int kind = message.WParam == HTHSCROLL ? SB_HORZ : SB_VERT;
  TacScrollBar& bar = *Bar(kind);
  bar.ReadInfo(Wnd);
  const RECT barRect = BarRect(bar);
  ScrollState.HotWnd = Wnd;
  ScrollState.Msg = kind == SB_HORZ ? WM_HSCROLL : WM_VSCROLL;
  ScrollState.TrackedBar = kind;
  ScrollState.PressedPart = HitTestScrollPart(bar, barRect, point);
  const bool enabled = BarEnabled(bar);
  if (PressablePart(ScrollState.PressedPart) && enabled) {
    ScrollState.ShownPart = ScrollState.PressedPart;
    PaintScrollBar(bar, nullptr, -1, ScrollState.PressedPart);
    SendScrollMessage(Wnd, ScrollState.Msg, ScrollState.PressedPart, 0);
    ScrollState.ShownPart = ScrollState.PressedPart;
    ScrollState.RepeatTimer = SetTimer(Wnd, kScrollFirstRepeatTimer, kScrollFirstRepeatMs, nullptr);
  } else if (ScrollState.PressedPart == spThumb && enabled) {
    const ThumbSpan thumb = ThumbGeometry(bar, barRect);
    ScrollState.DragThumbSize = thumb.Size;
    ScrollState.DragThumbStart = thumb.Start;
    ScrollState.DragTrackRect = barRect;
    ThumbTracking = true;
    bar.Info.nTrackPos = bar.Info.nPos;
    ScrollState.DragGrabOffset = AlongBar(bar, point) - thumb.Start;
    ScrollState.ThumbTrackPos = bar.Info.nPos;
    ScrollState.ShownPart = spThumb;
    PaintScrollBar(bar, nullptr, thumb.Start - BarStart(bar, barRect), spThumb);
  } else if (ScrollState.PressedPart == spNone) {
    message.Msg = WM_NCLBUTTONDOWN;
    ForwardToReplacedWndProc(message);
  }
  if (ScrollState.PressedPart != spNone) SetCapture(Wnd);
  message.Result = 0;
}

void TacScrollWnd::RepeatTick(bool first) {
  if (first) {
    KillTimer(Wnd, kScrollFirstRepeatTimer);
    ScrollState.RepeatTimer = SetTimer(Wnd, kScrollRepeatTimer, kScrollRepeatMs, nullptr);
  }
  POINT cursor;
  GetCursorPos(&cursor);
  TrackPress(cursor);
  if (ScrollState.HotWnd == Wnd && ScrollState.ShownPart != spNone) Scroll(ScrollState.ShownPart, 0);
}

bool TacScrollWnd::TrackPress(POINT screen) {
  if (ScrollState.HotWnd != Wnd) return false;
  if (ThumbTracking) {
    DragThumbTo(screen);
    return true;
  }
  if (ScrollState.PressedPart == spNone) return false;
  TacScrollBar* bar = Bar(ScrollState.TrackedBar);
  if (!bar) return false;
  bar->ReadInfo(Wnd);
  const ScrollPart under = HitTestScrollPart(*bar, BarRect(*bar), screen);
  const ScrollPart shown = under == ScrollState.PressedPart ? ScrollState.PressedPart : spNone;
  if (shown != ScrollState.ShownPart) {
    ScrollState.ShownPart = shown;
    PaintScrollBar(*bar, nullptr, -1, shown);
  }
  return true;
}

void TacScrollWnd::DragThumbTo(POINT screen) {
  TacScrollBar* bar = Bar(ScrollState.TrackedBar);
  if (!bar) return;
  const RECT& whole = ScrollState.DragTrackRect;
  const int arrow = PlainArrowLength(*bar);
  const RECT track = bar->Horizontal() ? RECT{whole.left + arrow, whole.top, whole.right - arrow, whole.bottom}
                                       : RECT{whole.left, whole.top + arrow, whole.right, whole.bottom - arrow};
  const int start =
      DraggedThumbStart(*bar, track, ScrollState.DragThumbSize, AlongBar(*bar, screen), ScrollState.DragGrabOffset);
  bar->ReadInfo(Wnd);
  const int position = ThumbDragPosition(*bar, track, ScrollState.DragThumbSize, start);
  if (position != ScrollState.ThumbTrackPos) {
    bar->Info.nTrackPos = position;
    Scroll(SB_THUMBTRACK, position);
    ScrollState.ThumbTrackPos = position;
  }
  // After the window scrolled: its own bar, drawn as the position changed, goes under ours.
  PaintScrollBar(*bar, nullptr, start - BarStart(*bar, whole), spThumb);
}

bool TacScrollWnd::ReleasePress(TMessage& message) {
  if (ScrollState.HotWnd != Wnd || ScrollState.PressedPart == spNone) return false;
  const ScrollPart part = ScrollState.PressedPart;
  // Cleared first: giving the capture back comes here again through WM_CAPTURECHANGED.
  ScrollState.PressedPart = ScrollState.ShownPart = spNone;
  const bool keepCapture = KeepsCaptureOnRelease();
  if (!keepCapture && GetCapture() == Wnd) ReleaseCapture();
  if (PressablePart(part)) {
    KillTimer(Wnd, kScrollFirstRepeatTimer);
    KillTimer(Wnd, kScrollRepeatTimer);
  }
  const bool wasDrag = ThumbTracking;
  if (ThumbTracking) {
    Scroll(SB_THUMBPOSITION, ScrollState.ThumbTrackPos);
    ThumbTracking = false;
  }
  if (PressablePart(part) || part == spThumb) Scroll(SB_ENDSCROLL, wasDrag ? ScrollState.ThumbTrackPos : 0);
  const int kind = ScrollState.TrackedBar;
  ScrollState.TrackedBar = -1;
  ScrollState.RepeatTimer = 0;
  ScrollState.Msg = 0;
  if (TacScrollBar* bar = Bar(kind)) PaintScrollBar(*bar, nullptr, -1, spNone);
  if (!keepCapture) ForwardToReplacedWndProc(message);
  return true;
}
