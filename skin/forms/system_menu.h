// The window menu of a skinned standard dialog: the dialog draws its own caption, so the
// system's menu is replaced by a popup menu of six fixed items (Restore, Move, Size,
// Minimize, Maximize, Close), shown and enabled by the dialog's frame kind and state. Each
// item sends its WM_SYSCOMMAND to the dialog.
//
//   SystemMenu = std::make_unique<TacSystemMenu>(this);
//   SystemMenu->UpdateItems();
//   SystemMenu->Popup(x, y);
#pragma once

#include <windows.h>

#include "framework/menus.h"

class TacDialogWnd;

class TacSystemMenu : public TPopupMenu {
 public:
  explicit TacSystemMenu(TacDialogWnd* owner);

  // Visibility and enabled state of the items from the dialog's tests.
  void UpdateItems();

  TacDialogWnd* Owner;
  TMenuItem *miRestore, *miMove, *miSize, *miMinimize, *miMaximize, *miClose;

 private:
  TMenuItem* AddItem(const char* caption, const char* name, WPARAM command, bool updateAfter);
};
