// The adapter of a popup-menu window ("#32768"). The window-skinning hook attaches one to
// every popup window as it is created and keeps it in PopupAdapters. The skinned menus draw
// the items; this adapter paints the rest of the window (background and border) from the
// same MAINMENU picture, and tells the item painter whether the window's region is set up.
// It acts only while the popup shown is one the skinned menus measured; for any other popup
// it is a plain scrolling-window adapter.
//
//   PopupAdapters.push_back(AttachAdapter<TacMnuWnd>(wnd, nullptr, manager, "MAINMENU", false));
//   ...the menu closes: the adapter empties its slot and frees itself in its own WM_DESTROY...
//
// Two procedures may sit on one popup window: this adapter's, taken at creation, and the
// item painter's region procedure, put on top of it at the first item drawn (it swallows
// WM_ERASEBKGND and WM_NCPAINT from then on). Each gives its procedure back only while it is
// still the current one. Nothing may touch an adapter after its window's WM_DESTROY.
// GUI thread only.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "skin/forms/scroll_wnd.h"

class TacMnuWnd : public TacScrollWnd {
 public:
  TacMnuWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section);

  void AdapterWndProc(TMessage& message) override;
  // Renders the MAINMENU item as large as the window into the cache, when it changed.
  void PrepareCache();

  // The window's region and border were set up by the skinned menus (0 or 1); cleared by
  // every background paint, so that the next request sets the region again.
  int BorderDrawn = 0;

 private:
  // Frees this adapter: no member may be used after the call.
  void WindowDestroyed(TMessage& message);
  void AnswerSkinCommand(TMessage& message);
  // The popup is one whose items the skinned menus measured; a left-over flag of an earlier
  // popup is cleared when this window's items are not theirs.
  bool PaintsSkinned();
  void EraseBackground(HDC given);
  void PaintBorder();

  int itemsOurs_ = -1;  // -1: not known yet (the window has no menu until it is created)
};

// The adapters of popup windows, appended by the hook; slots are emptied, never reused,
// while menus are open. Cleared when the last popup window goes.
extern std::vector<std::unique_ptr<TacMnuWnd>> PopupAdapters;
// Frees every adapter left and empties the array.
void ClearPopupAdapters();
// The number of adapters alive.
size_t LivePopupAdapterCount();
// The hook's part for a window just created: a popup window gets its adapter when the default
// manager skins popups and the window is not skinned yet.
void AdaptPopupWindow(HWND wnd, TsSkinManager* manager);
