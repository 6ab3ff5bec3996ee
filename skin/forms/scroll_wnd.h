// The window adapter of windows whose scroll bars live in their non-client area (edits,
// list boxes, list views, standard dialogs, popup menus): it takes the room of the standard
// bars and paints its own from the skin. This is the base every such adapter derives from;
// the bars' geometry, painting and mouse handling grow inside it.
//
//   class TacEditWnd : public TacScrollWnd { ... AdapterWndProc(...) { ...; TacScrollWnd::AdapterWndProc(m); } };
//   auto edit = AttachAdapter<TacEditWnd>(wnd, nullptr, manager, "EDIT", true);
//   TacScrollBar* bar = ScrollBarOfWindow(wnd, SB_VERT);
//
// The adapter owns both bar records; detaching keeps them, freeing the adapter frees them.
#pragma once

#include <windows.h>

#include <memory>

#include "skin/forms/window_adapter.h"

class TacScrollWnd;

// One skinned bar of a TacScrollWnd.
struct TacScrollBar {
  uint16_t Flags = 0;         // 8 while the window's style has the bar's style bit
  bool Visible = false;       // the bar takes room in the non-client area
  SCROLLINFO Info{};          // the window's scroll values as last read
  int ArrowLength = -1;       // pixels when >= 0; -n: n times the default arrow length
  int Thickness = -1;         // pixels when >= 0; -n: n times the system size
  uint16_t Kind = SB_HORZ;    // SB_HORZ or SB_VERT
  int MinThumbSize = 10;
  TacScrollWnd* Owner = nullptr;

  // Reads Info from the owner's window.
  void ReadInfo();
};

// The smallest thumb length a bar starts with.
constexpr int DefaultMinThumbSize = 10;

class TacScrollWnd : public TacMainWnd {
 public:
  TacScrollWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section);

  // Both bars made and read from the window, then the procedure taken; `repaintFrame`: the
  // window recomputes its non-client area through the adapter.
  void Attach(bool repaintFrame) override;
  void AdapterWndProc(TMessage& message) override;

  std::unique_ptr<TacScrollBar> HorzBar, VertBar;
  bool ThumbTracking = false;   // a thumb of this window is being dragged
  bool LeftScrollBar = false;   // WS_EX_LEFTSCROLLBAR: the vertical bar is on the left
  int LeftEdge = 0, RightEdge = 0, TopEdge = 0, BottomEdge = 0;
  bool StyleMasked = false;     // the bar style bits are out around a forwarded WM_NCCALCSIZE
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
