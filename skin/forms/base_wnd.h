// The adapter of a scrollable window whose frame and non-client scroll bars are skinned: it
// keeps the skinned bars in step with the window, repainting them after whatever may have
// moved them (a size change, a scroll message, enabling), since the window's own scroll
// calls draw the system's bars at their place. Edits, list boxes, list views, trees and tool
// bars derive from it.
//
//   class TacListViewWnd : public TacBaseWnd {
//     void AdapterWndProc(TMessage& m) override { ...own messages...; TacBaseWnd::AdapterWndProc(m); }
//   };
#pragma once

#include "skin/forms/scroll_wnd.h"

class TacBaseWnd : public TacScrollWnd {
 public:
  using TacScrollWnd::TacScrollWnd;
  void AdapterWndProc(TMessage& message) override;

 protected:
  // The skin is usable for this adapter: attached, with a manager and a valid section.
  bool Skinned() const;
};
