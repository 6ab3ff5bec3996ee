// The window adapter of windows whose scroll bars live in their non-client area (edits,
// list boxes, list views, standard dialogs, popup menus): it takes the room of the standard
// bars, paints its own from the skin, and makes them behave like scroll bars (hover, pressed
// arrows with auto-repeat, thumb drag), scrolling the window with the messages a standard bar
// sends. Every such adapter derives from it.
//
//   class TacEditWnd : public TacBaseWnd { ... AdapterWndProc(...) { ...; TacBaseWnd::AdapterWndProc(m); } };
//   auto edit = AttachAdapter<TacEditWnd>(wnd, nullptr, manager, "EDIT", true);
//   TacScrollBar* bar = ScrollBarOfWindow(wnd, SB_VERT);
//
// The window keeps its bar styles; around its own WM_NCCALCSIZE they are taken out for a
// moment so that it reserves no room for standard bars (the WM_STYLECHANGED this causes is
// not passed on). The adapter owns both bar records. The mouse handling lives in
// scroll_mouse.cpp; its state is the program's one ScrollState (scroll_engine.h).
#pragma once

#include <windows.h>

#include <memory>
#include <optional>

#include "skin/engine/skin_command.h"
#include "skin/forms/scroll_geometry.h"
#include "skin/forms/window_adapter.h"

// Sent to an adapted scrolling window to make it recompute its frame at the size it last read
// (after something changed the frame's widths behind the window's back).
constexpr UINT CM_REAPPLYWINDOWSIZE = 0xB029;

class TacScrollWnd : public TacMainWnd {
 public:
  TacScrollWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section);
  ~TacScrollWnd() override;

  // Both bars made and read from the window, then the procedure taken; `repaintFrame`: the
  // window recomputes its non-client area through the adapter.
  void Attach(bool repaintFrame) override;
  // A press or hover of this window ends with it: its timers would tick on for nobody.
  void Detach(bool frameChanged) override;
  void AdapterWndProc(TMessage& message) override;

  // The bar of SB_HORZ or SB_VERT (nullptr for another kind), and its screen rectangle.
  TacScrollBar* Bar(int kind) const;
  RECT BarRect(const TacScrollBar& bar) const;
  ScrollFrame Frame() const { return {LeftEdge, RightEdge, TopEdge, BottomEdge, LeftScrollBar}; }
  // The bar can be pressed: the system counts it available and the owner control is enabled.
  bool BarEnabled(const TacScrollBar& bar) const;
  // The corner square (screen) may show a size grip: it lies in the bottom-right corner of a
  // top-level parent's client area.
  bool SizeGripAllowed(const RECT& corner) const;

  // WM_NCCALCSIZE: the window's own edges, then room for the skinned bars.
  void LayoutScrollBars(TMessage& message);
  // Both bars and their corner into dc (nullptr: the window DC); 1 when a bar was painted.
  int PaintScrollBars(HDC dc, int thumbPos);
  // One bar into dc at its place (window coordinates); `pressed` drawn pressed.
  int PaintScrollBar(TacScrollBar& bar, HDC dc, int thumbPos, ScrollPart pressed);
  // Both bars re-read from the window and, with `repaint`, painted.
  void RefreshScrollBars(bool repaint);

  // Mouse handling (scroll_mouse.cpp).
  // HTHSCROLL, HTVSCROLL, HTBOTTOMRIGHT over the grip square, HTNOWHERE over a disabled bar;
  // -1 elsewhere (the window answers).
  LRESULT ScrollHitTest(POINT screen) const;
  void HoverBars(int hitCode);
  void HoverTick();
  // A press on a bar (hit code HTHSCROLL or HTVSCROLL) at a screen point.
  void PressBar(TMessage& message);
  void RepeatTick(bool first);
  // WM_MOUSEMOVE while pressed; false when nothing is pressed.
  bool TrackPress(POINT screen);
  void DragThumbTo(POINT screen);
  // WM_LBUTTONUP; false when nothing was pressed.
  bool ReleasePress(TMessage& message);
  // The press ends: the capture stays with a combo box's open list.
  virtual bool KeepsCaptureOnRelease() const { return false; }
  // Where the window's corner lies in the background picture the window answers with, when
  // the answer's own offsets are not for the non-client area (a form's answer is for its
  // client); nullopt: the answer's own.
  virtual std::optional<POINT> BarBackgroundOrigin() const { return std::nullopt; }
  // What lies behind the bars, with the window's corner at (X, Y) in its picture: by default
  // the window's own answer to the background question, placed by BarBackgroundOrigin.
  virtual CacheSourceInfo BarBackground() const;

  std::unique_ptr<TacScrollBar> HorzBar, VertBar;
  bool ThumbTracking = false;   // a thumb of this window is being dragged
  bool LeftScrollBar = false;   // WS_EX_LEFTSCROLLBAR: the vertical bar is on the left
  int LeftEdge = 0, RightEdge = 0, TopEdge = 0, BottomEdge = 0;
  bool StyleMasked = false;     // the bar style bits are out around a forwarded WM_NCCALCSIZE

 protected:
  // SKC_* handling; true when the message is answered.
  bool HandleScrollSkinCommand(TMessage& message);
  // Window messages; true when the message is answered.
  bool HandleScrollMessage(TMessage& message);
  void HandleTimer(TMessage& message);
  // Sends a scroll message with Scrolling set around it.
  void Scroll(int code, int pos);
};

// The adapter's horizontal (SB_HORZ) or vertical (SB_VERT) bar; nullptr for another kind or
// a window without a scroll adapter.
TacScrollBar* ScrollBarOfWindow(HWND wnd, int kind);
// Sets the minimum thumb length of the horizontal (0), vertical (1) or both (3) bars; false
// when the window has no scroll adapter.
bool SetMinThumbSize(HWND wnd, int which, int size);
// Detaches a scroll adapter of a framework control (one whose skin data has an owner
// control) and, with freeIt, frees it.
void UnhookScrollWndAdapter(bool freeIt, bool frameChanged, std::unique_ptr<TacScrollWnd>& adapter);
