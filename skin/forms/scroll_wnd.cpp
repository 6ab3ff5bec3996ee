#include "skin/forms/scroll_wnd.h"

#include "framework/controls.h"
#include "skin/engine/alpha_blend.h"
#include "skin/engine/background_queries.h"
#include "skin/engine/common_data.h"
#include "skin/engine/skin_broadcast.h"
#include "skin/engine/skin_command.h"
#include "skin/forms/scroll_engine.h"
#include "skin/forms/scroll_paint.h"

namespace {

RECT ToWindow(const RECT& screen, const RECT& window) {
  return {screen.left - window.left, screen.top - window.top, screen.right - window.left, screen.bottom - window.top};
}

// The window's background behind its own non-client area.
CacheSourceInfo WindowBackground(HWND wnd, std::optional<POINT> origin) {
  BackgroundInfo info;
  QueryParentWindowBackground(info, wnd, false);
  CacheSourceInfo source;
  BackgroundInfoToCacheInfo(info, source);
  if (origin && source.Bitmap) {
    source.X = origin->x;
    source.Y = origin->y;
  }
  return source;
}

// A window DC taken when the caller gave none, released with the holder.
class WindowDC {
 public:
  WindowDC(HWND wnd, HDC given) : wnd_(wnd), dc_(given ? given : GetWindowDC(wnd)), own_(!given) {}
  ~WindowDC() {
    if (own_ && dc_) ReleaseDC(wnd_, dc_);
  }
  WindowDC(const WindowDC&) = delete;
  WindowDC& operator=(const WindowDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND wnd_;
  HDC dc_;
  bool own_;
};

}  // namespace

TacScrollWnd::TacScrollWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section)
    : TacMainWnd(wnd, skinData, manager, section) {}

TacScrollWnd::~TacScrollWnd() {
  if (ScrollState.HotWnd == Wnd) ScrollState = {};
}

void TacScrollWnd::Attach(bool repaintFrame) {
  const LONG_PTR style = GetWindowLongPtrW(Wnd, GWL_STYLE);
  for (int kind : {SB_HORZ, SB_VERT}) {
    auto bar = std::make_unique<TacScrollBar>();
    bar->Owner = this;
    bar->Kind = kind;
    bar->Flags = (style & (kind == SB_HORZ ? WS_HSCROLL : WS_VSCROLL)) ? 8 : 0;
    bar->ReadInfo(Wnd);
    (kind == SB_HORZ ? HorzBar : VertBar) = std::move(bar);
  }
  LeftScrollBar = (GetWindowLongPtrW(Wnd, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
  StyleMasked = false;
  TacMainWnd::Attach(repaintFrame);
  SetMinThumbSize(Wnd, 3, DefaultMinThumbSize);
  if (repaintFrame && !Detached) RefreshWindowFrame(Wnd, true);
}

void TacScrollWnd::Detach(bool frameChanged) {
  if (!Detached && ScrollState.HotWnd == Wnd) {
    for (UINT_PTR id : {kScrollHoverTimer, kScrollFirstRepeatTimer, kScrollRepeatTimer}) KillTimer(Wnd, id);
    if (GetCapture() == Wnd) ReleaseCapture();  // the window hears the end of the scroll
    ScrollState = {};
  }
  TacMainWnd::Detach(frameChanged);
}

TacScrollBar* TacScrollWnd::Bar(int kind) const {
  return kind == SB_HORZ ? HorzBar.get() : kind == SB_VERT ? VertBar.get() : nullptr;
}

RECT TacScrollWnd::BarRect(const TacScrollBar& bar) const {
  RECT window;
  GetWindowRect(Wnd, &window);
  return bar.Horizontal() ? HorzScrollBarRect(window, Frame(), *HorzBar, *VertBar)
                          : VertScrollBarRect(window, Frame(), *HorzBar, *VertBar);
}

bool TacScrollWnd::BarEnabled(const TacScrollBar& bar) const {
  if (auto* control = dynamic_cast<TControl*>(SkinData->OwnerControl); control && !control->Enabled()) return false;
  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  if (GetScrollBarInfo(Wnd, bar.Horizontal() ? OBJID_HSCROLL : OBJID_VSCROLL, &info))
    return !(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE);
  return GetWindowLongPtrW(Wnd, GWL_STYLE) & (bar.Horizontal() ? WS_HSCROLL : WS_VSCROLL);
}

bool TacScrollWnd::SizeGripAllowed(const RECT& corner) const {
  HWND parent = GetParent(Wnd);
  if (!parent) return true;
  if (GetParent(parent)) return false;
  RECT client;
  GetClientRect(parent, &client);
  MapWindowPoints(parent, nullptr, reinterpret_cast<POINT*>(&client), 2);
  const bool sideFits = LeftScrollBar ? corner.left - LeftEdge == client.left : corner.right + RightEdge == client.right;
  return sideFits && corner.bottom + BottomEdge == client.bottom;
}

void TacScrollWnd::LayoutScrollBars(TMessage& message) {
  auto* r = reinterpret_cast<RECT*>(message.LParam);
  const RECT before = *r;
  const LONG_PTR style = GetWindowLongPtrW(Wnd, GWL_STYLE);
  const LONG_PTR bars = WS_HSCROLL | WS_VSCROLL;
  if (style & bars) {
    // Without the bits the window reserves no room for standard bars; ours take it below.
    StyleMasked = true;
    SetWindowLongPtrW(Wnd, GWL_STYLE, style & ~bars);
    ForwardToReplacedWndProc(message);
    SetWindowLongPtrW(Wnd, GWL_STYLE, style);
    StyleMasked = false;
  } else {
    ForwardToReplacedWndProc(message);
  }
  LeftEdge = r->left - before.left;
  RightEdge = before.right - r->right;
  TopEdge = r->top - before.top;
  BottomEdge = before.bottom - r->bottom;
  if (!HorzBar || !VertBar) return;
  HorzBar->Flags = style & WS_HSCROLL ? 8 : 0;
  const int horzThickness = BarThickness(*HorzBar);
  HorzBar->Visible = HorzBar->Flags && r->bottom - r->top >= horzThickness;
  if (HorzBar->Visible) r->bottom -= horzThickness;
  VertBar->Flags = style & WS_VSCROLL ? 8 : 0;
  const int vertThickness = BarThickness(*VertBar);
  VertBar->Visible = VertBar->Flags && r->right - r->left >= vertThickness;
  if (VertBar->Visible) (LeftScrollBar ? r->left += vertThickness : r->right -= vertThickness);
}

int TacScrollWnd::PaintScrollBar(TacScrollBar& bar, HDC dc, int thumbPos, ScrollPart pressed) {
  TsSkinManager* manager = Manager();
  // A dragged thumb is drawn by the drag alone, at the place it holds.
  if ((ThumbTracking && thumbPos == -1) || !bar.Visible || !manager) return 0;
  if (!bar.Horizontal() && Scrolling) return 0;
  bar.ReadInfo(Wnd);
  RECT window;
  GetWindowRect(Wnd, &window);
  const RECT r = ToWindow(BarRect(bar), window);
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return 0;
  const bool hot = ScrollState.HotWnd == Wnd;
  if (!hot) pressed = spNone;
  const bool hovered = hot && ScrollState.HoverBar == bar.Kind;
  ScrollBarLook look;
  look.Enabled = BarEnabled(bar);
  look.FirstArrow = pressed == spFirstArrow ? 2 : hovered && ScrollState.HoverPart == spFirstArrow && look.Enabled;
  look.SecondArrow = pressed == spSecondArrow ? 2 : hovered && ScrollState.HoverPart == spSecondArrow && look.Enabled;
  look.Thumb = pressed == spThumb ? 2 : hovered && ScrollState.HoverPart == spThumb && look.Enabled;
  look.Pressed = pressed;
  look.ThumbStart = thumbPos;
  auto image = NewBitmap24(w, h);
  if (!PaintScrollBarImage(*image, bar, look, manager, BarBackground(), {r.left, r.top})) return 0;
  WindowDC target(Wnd, dc);
  BitBlt(target.Get(), r.left, r.top, w, h, image->Canvas().Handle(), 0, 0, SRCCOPY);
  return 1;
}

int TacScrollWnd::PaintScrollBars(HDC dc, int thumbPos) {
  if (!HorzBar || !VertBar || Detached || !IsWindowVisible(Wnd)) return 0;
  TsCommonData& d = *SkinData;
  d.Updating = d.IsUpdating();
  if (d.Updating) return 0;
  if (d.BackgroundChanged) SendSkinCommandToWindow(Wnd, SKC_PREPARECACHE);
  WindowDC target(Wnd, dc);
  auto pressedOn = [](const TacScrollBar& bar) {
    return ScrollState.TrackedBar == bar.Kind ? ScrollState.ShownPart : spNone;
  };
  int result = 0;
  if (HorzBar->Visible) result |= PaintScrollBar(*HorzBar, target.Get(), thumbPos, pressedOn(*HorzBar));
  if (VertBar->Visible) result |= PaintScrollBar(*VertBar, target.Get(), thumbPos, pressedOn(*VertBar));
  if (HorzBar->Visible && VertBar->Visible) {
    RECT window;
    GetWindowRect(Wnd, &window);
    const RECT screen = ScrollCornerRect(window, Frame(), *HorzBar, *VertBar);
    const RECT corner = ToWindow(screen, window);
    const int w = corner.right - corner.left, h = corner.bottom - corner.top;
    if (w > 0 && h > 0) {
      auto image = NewBitmap24(w, h);
      PaintScrollCornerImage(*image, Manager(), BarBackground(), {corner.left, corner.top},
                             SizeGripAllowed(screen));
      BitBlt(target.Get(), corner.left, corner.top, w, h, image->Canvas().Handle(), 0, 0, SRCCOPY);
    }
  }
  return result;
}

CacheSourceInfo TacScrollWnd::BarBackground() const { return WindowBackground(Wnd, BarBackgroundOrigin()); }

void TacScrollWnd::RefreshScrollBars(bool repaint) {
  if (!HorzBar || !VertBar || SkinData->Updating) return;
  HorzBar->ReadInfo(Wnd);
  VertBar->ReadInfo(Wnd);
  if (repaint && !SkinChangeAnimating) PaintScrollBars(nullptr, -1);
}

void TacScrollWnd::Scroll(int code, int pos) {
  Scrolling = true;
  SendScrollMessage(Wnd, ScrollState.Msg, code, pos);
  Scrolling = false;
}

bool TacScrollWnd::HandleScrollSkinCommand(TMessage& message) {
  switch (SkinSubCommand(message.WParam)) {
    case SKC_SETUPDATING:
      SkinData->SetUpdating(message.LParam == 1);
      return false;
    case SKC_GETBGINFO: {
      // The window's own answer comes first: a form's provider knows its client offset and
      // frame, which the bars' skin data alone does not.
      auto& info = *reinterpret_cast<BackgroundInfo*>(message.LParam);
      ForwardToReplacedWndProc(message);
      if (info.Kind == BG_NONE) SkinData->FillBackgroundInfo(info, false, Wnd);
      return true;
    }
    default:
      return false;
  }
}

void TacScrollWnd::HandleTimer(TMessage& message) {
  switch (message.WParam) {
    case kScrollHoverTimer: HoverTick(); break;
    case kScrollFirstRepeatTimer: RepeatTick(true); break;
    case kScrollRepeatTimer: RepeatTick(false); break;
    default: ForwardToReplacedWndProc(message);  // the window's own timer, once
  }
  if (!Scrolling && !ThumbTracking) RefreshScrollBars(true);
}

bool TacScrollWnd::HandleScrollMessage(TMessage& message) {
  const bool onBar = message.WParam == HTHSCROLL || message.WParam == HTVSCROLL;
  switch (message.Msg) {
    case WM_NCCALCSIZE:
      LayoutScrollBars(message);
      return true;
    case WM_NCHITTEST: {
      const LRESULT code = ScrollHitTest(PointOfLParam(message.LParam));
      if (code < 0) return false;
      message.Result = code;
      return true;
    }
    case WM_NCPAINT:
      if (!IsWindowVisible(Wnd)) return false;
      // The system's own bars would be drawn over ours by the window's handler: ours come last.
      ForwardToReplacedWndProc(message);
      SkinData->Updating = SkinData->IsUpdating();
      if (!SkinData->Updating && !Scrolling) PaintScrollBars(nullptr, -1);
      return true;
    case WM_NCMOUSEMOVE:
      HoverBars(static_cast<int>(message.WParam));
      return false;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (!onBar) return false;
      PressBar(message);
      return true;
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONUP:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONUP:
      message.Result = 0;
      return onBar;
    case WM_MOUSEMOVE: {
      POINT p = PointOfLParam(message.LParam);
      ClientToScreen(Wnd, &p);
      if (!TrackPress(p)) return false;
      message.Result = 0;
      return true;
    }
    case WM_LBUTTONUP:
      return ReleasePress(message);
    case WM_CAPTURECHANGED:
      // A press whose capture another window took ends here, or its repeat would run on.
      if (ScrollState.HotWnd == Wnd && ScrollState.PressedPart != spNone &&
          reinterpret_cast<HWND>(message.LParam) != Wnd && !KeepsCaptureOnRelease()) {
        TMessage up{WM_LBUTTONUP, 0, 0, 0};
        ReleasePress(up);
      }
      return false;
    case WM_TIMER:
      HandleTimer(message);
      return true;
    case WM_STYLECHANGED:
      if (StyleMasked) {
        message.Result = 0;
        return true;
      }
      if (message.WParam == static_cast<WPARAM>(GWL_EXSTYLE))
        LeftScrollBar = reinterpret_cast<const STYLESTRUCT*>(message.LParam)->styleNew & WS_EX_LEFTSCROLLBAR;
      return false;
    case WM_SYSCOMMAND:
      return (message.WParam & 0xFFF0) == SC_VSCROLL && (message.WParam & 0xF) == HTVSCROLL;
    case CM_REAPPLYWINDOWSIZE:
      if (!WindowSize.cx) return false;
      ForwardToReplacedWndProc(message);
      SetWindowPos(Wnd, nullptr, 0, 0, WindowSize.cx, WindowSize.cy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_NOCOPYBITS | SWP_NOOWNERZORDER |
                       SWP_NOSENDCHANGING);
      return true;
    case WM_MOUSEWHEEL:
    case CM_MOUSEWHEEL:
    case CM_FOCUSCHANGED:
      ForwardToReplacedWndProc(message);
      if (!Scrolling) RefreshScrollBars(true);
      return true;
    default:
      return false;
  }
}

void TacScrollWnd::AdapterWndProc(TMessage& message) {
  if (Detached || message.Msg == WM_DESTROY || message.Msg == WM_NCDESTROY || !SkinActive() ||
      !SkinActiveFor(SkinData, false)) {
    TacMainWnd::AdapterWndProc(message);
    return;
  }
  const bool handled = message.Msg == SM_ALPHACMD ? HandleScrollSkinCommand(message) : HandleScrollMessage(message);
  if (!handled) TacMainWnd::AdapterWndProc(message);
}

TacScrollBar* ScrollBarOfWindow(HWND wnd, int kind) {
  auto* adapter = dynamic_cast<TacScrollWnd*>(AdapterOfWindow(wnd));
  return adapter ? adapter->Bar(kind) : nullptr;
}

bool SetMinThumbSize(HWND wnd, int which, int size) {
  auto* adapter = dynamic_cast<TacScrollWnd*>(AdapterOfWindow(wnd));
  if (!adapter) return false;
  if ((which == 0 || which == 3) && adapter->HorzBar) adapter->HorzBar->MinThumbSize = size;
  if ((which == 1 || which == 3) && adapter->VertBar) adapter->VertBar->MinThumbSize = size;
  return true;
}

void UnhookScrollWndAdapter(bool freeIt, bool frameChanged, std::unique_ptr<TacScrollWnd>& adapter) {
  if (!adapter) return;
  if (adapter->SkinData->OwnerControl) {
    adapter->Detach(frameChanged);
    adapter->HorzBar.reset();
    adapter->VertBar.reset();
  }
  if (freeIt) adapter.reset();
}
