#include "framework/menus.h"

#include "framework/application.h"
#include "framework/text_encoding.h"

#include <algorithm>
#include <map>

namespace {

std::map<UINT, TMenuItem*>& Commands() {
  static std::map<UINT, TMenuItem*> commands;
  return commands;
}

UINT NextCommand() {
  static UINT last = 0x100;
  return ++last;
}

}  // namespace

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), command_(NextCommand()) {
  Commands()[command_] = this;
}

TMenuItem::~TMenuItem() {
  Commands().erase(command_);
  while (!items_.empty()) items_.back()->Free();
  if (parent_) parent_->Remove(this);
}

void TMenuItem::Add(TMenuItem* item) {
  Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (item->parent_) item->parent_->Remove(item);
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
}

void TMenuItem::Remove(TMenuItem* item) {
  items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
  item->parent_ = nullptr;
}

void TMenuItem::Click() {
  if (OnClick) OnClick(this);
}

TMenuItem* TMenuItem::FindCommand(UINT command) {
  auto found = Commands().find(command);
  return found == Commands().end() ? nullptr : found->second;
}

HMENU TMenuItem::BuildMenu() const {
  HMENU menu = CreatePopupMenu();
  for (const TMenuItem* item : items_)
    if (item->visible_) item->AppendTo(menu);
  return menu;
}

void TMenuItem::AppendTo(HMENU menu) const {
  if (caption_ == "-") {
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    return;
  }
  UINT flags = MF_STRING | (checked_ ? MF_CHECKED : 0) | (enabled_ ? 0 : MF_GRAYED);
  std::wstring text = efir::text::fromAnsi(caption_);
  if (items_.empty()) {
    AppendMenuW(menu, flags, command_, text.c_str());
  } else {
    AppendMenuW(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(BuildMenu()), text.c_str());
  }
  if (default_) SetMenuDefaultItem(menu, command_, FALSE);
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TComponent(AOwner), items_(new TMenuItem(nullptr)) {}

TPopupMenu::~TPopupMenu() {
  items_->Free();
}

void TPopupMenu::Popup(int X, int Y) {
  if (OnPopup) OnPopup(this);
  HMENU menu = items_->BuildMenu();
  // The menu closes on a click elsewhere only when its owner is the foreground window: the
  // active form, or the application's window for a menu opened from outside (the tray).
  HWND owner = GetActiveWindow();
  if (!owner) {
    owner = Application.Handle();
    SetForegroundWindow(owner);
  }
  UINT command = static_cast<UINT>(TrackPopupMenuEx(
      menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, X, Y, owner, nullptr));
  PostMessageW(owner, WM_NULL, 0, 0);
  DestroyMenu(menu);
  if (!command) return;
  Application.QueueCall([command] {
    if (TMenuItem* item = TMenuItem::FindCommand(command)) item->Click();
  });
}
