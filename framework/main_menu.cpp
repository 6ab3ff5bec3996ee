#include "framework/main_menu.h"

#include "framework/forms.h"

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
  // An MDI child has no bar of its own; the system frees the bar a window holds with it.
  if (!HandleAllocated() || formStyle_ == fsMDIChild) return;
  HMENU old = GetMenu(Handle());
  HMENU bar = menu_ ? menu_->Items()->BuildMenuBar(menu_->OwnerDraw()) : nullptr;
  ::SetMenu(Handle(), bar);
  if (old) DestroyMenu(old);
  DrawMenuBar(Handle());
}
