#include "framework/main_menu.h"

#include "framework/forms.h"

#include <climits>

TMainMenu::TMainMenu(TComponent* AOwner) : TMenu(AOwner) {}

TMainMenu::~TMainMenu() {
  if (form_) form_->SetMenu(nullptr);
}

HMENU TMainMenu::Handle() const {
  return form_ && form_->HandleAllocated() ? GetMenu(form_->Handle()) : nullptr;
}

void TMainMenu::Changed(TMenuItem* source, bool rebuild) {
  if (form_ && !(ComponentState() & csDestroying)) form_->UpdateMenuBar();
  TMenu::Changed(source, rebuild);
}

std::vector<TMenuItem*> efir::MergedBarItems(const TMenuItem& own, const TMenuItem* merged) {
  std::vector<TMenuItem*> items;
  int next = 0, lastMergedGroup = INT_MIN;
  auto takeMergedUpTo = [&](int group) {
    for (; merged && next < merged->Count() && merged->Items(next)->GroupIndex() <= group; ++next) {
      TMenuItem* item = merged->Items(next);
      if (!item->Visible()) continue;
      items.push_back(item);
      lastMergedGroup = item->GroupIndex();
    }
  };
  for (int i = 0; i < own.Count(); ++i) {
    TMenuItem* item = own.Items(i);
    if (!item->Visible()) continue;
    takeMergedUpTo(item->GroupIndex());
    if (item->GroupIndex() != lastMergedGroup) items.push_back(item);
  }
  takeMergedUpTo(INT_MAX);
  return items;
}

// ---------------------------------------------------------------------------- the form's side

void TForm::SetMenu(TMainMenu* value) {
  if (value == menu_) return;
  if (menu_) menu_->form_ = nullptr;
  if (value && value->form_) value->form_->SetMenu(nullptr);
  menu_ = value;
  if (menu_) menu_->form_ = this;
  if (HandleAllocated() && !(ComponentState() & csDestroying)) UpdateMenuBar();
}

void TForm::UpdateMenuBar() {
  if (!HandleAllocated()) return;
  // An MDI child has no bar of its own: its items show in its parent's.
  if (formStyle_ == fsMDIChild) {
    if (TForm* parent = MDIParent()) parent->UpdateMenuBar();
    return;
  }
  ShowMenuBarWith(formStyle_ == fsMDIForm ? ActiveMDIChild() : nullptr);
}

void TForm::ShowMenuBarWith(const TForm* child) {
  const TMenuItem* merged = child && child->menu_ ? child->menu_->Items() : nullptr;
  HMENU old = GetMenu(Handle());
  HMENU bar = menu_ ? TMenuItem::BuildMenuBar(efir::MergedBarItems(*menu_->Items(), merged), menu_->OwnerDraw())
                    : nullptr;
  // Through the client, an MDI parent's new bar gets a maximized child's icon and buttons
  // again, and the old one loses them before it goes.
  if (clientHandle_) SendMessageW(clientHandle_, WM_MDISETMENU, reinterpret_cast<WPARAM>(bar), 0);
  else ::SetMenu(Handle(), bar);
  if (old) DestroyMenu(old);
  DrawMenuBar(Handle());
}
