#include "skin/forms/system_menu.h"

#include "skin/forms/dialog_wnd.h"

TacSystemMenu::TacSystemMenu(TacDialogWnd* owner) : TPopupMenu(nullptr), Owner(owner) {
  miRestore = AddItem("Restore", "miRestore", SC_RESTORE, true);
  miMove = AddItem("Move", "miMove", SC_MOVE, false);
  miSize = AddItem("Size", "miSize", SC_SIZE, false);
  miMinimize = AddItem("Minimize", "miMinimize", SC_MINIMIZE, false);
  miMaximize = AddItem("Maximize", "miMaximize", SC_MAXIMIZE, true);
  auto* separator = new TMenuItem(this);
  separator->SetCaption("-");
  Items()->Add(separator);
  miClose = AddItem("Close\tAlt+F4", "miClose", SC_CLOSE, false);
}

TMenuItem* TacSystemMenu::AddItem(const char* caption, const char* name, WPARAM command, bool updateAfter) {
  auto* item = new TMenuItem(this);
  item->SetCaption(caption);
  item->SetName(name);
  item->SetTag(static_cast<intptr_t>(command));
  item->OnClick = [this, command, updateAfter](TObject*) {
    if (!Owner || !IsWindow(Owner->Wnd)) return;
    SendMessageW(Owner->Wnd, WM_SYSCOMMAND, command, 0);
    if (updateAfter) UpdateItems();
  };
  Items()->Add(item);
  return item;
}

void TacSystemMenu::UpdateItems() {
  if (!Owner) return;
  const TacDialogWnd& d = *Owner;
  const bool zoomed = IsZoomed(d.Wnd), iconic = IsIconic(d.Wnd);
  miRestore->SetVisible(d.RestoreVisible());
  miRestore->SetEnabled(d.RestoreEnabled());
  miMove->SetEnabled(!zoomed);
  miSize->SetVisible(d.FrameKind != 0 && d.FrameKind != 2 && d.FrameKind != 4);
  miSize->SetEnabled(d.FrameKind != 1 && !iconic);
  miMinimize->SetVisible(d.MinVisible());
  miMinimize->SetEnabled(d.MinEnabled());
  miMaximize->SetVisible(d.MaxVisible());
  miMaximize->SetEnabled(d.MaxEnabled());
  miClose->SetVisible(d.CloseVisible());
}
