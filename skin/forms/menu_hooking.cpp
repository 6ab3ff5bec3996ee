// How the painter becomes the owner-draw handler of the program's menus, and leaves again.
#include <map>
#include <memory>

#include "framework/application.h"
#include "framework/main_menu.h"
#include "skin/engine/skin_manager.h"
#include "skin/forms/skinnable_menus.h"

namespace {

// The painter's handlers are these types, so that it recognises its own among the program's.
struct PopupMeasure {
  TsSkinableMenus* menus;
  void operator()(TObject* sender, TCanvas* canvas, int& width, int& height) const {
    menus->MeasurePopupItem(sender, canvas, width, height);
  }
};

struct PopupDraw {
  TsSkinableMenus* menus;
  void operator()(TObject* sender, TCanvas* canvas, const RECT& rect, TOwnerDrawState state) const {
    menus->DrawPopupItem(sender, canvas, rect, state);
  }
};

struct MenuLineMeasure {
  TsSkinableMenus* menus;
  void operator()(TObject* sender, TCanvas* canvas, int& width, int& height) const {
    menus->MeasureMenuLineItem(sender, canvas, width, height);
  }
};

struct MenuLineDraw {
  TsSkinableMenus* menus;
  void operator()(TObject* sender, TCanvas* canvas, const RECT& rect, TOwnerDrawState state) const {
    menus->DrawMenuLineItem(sender, canvas, rect, state);
  }
};

template <class Each>
void ForEachComponent(TComponent* owner, Each each) {
  for (int i = 0; i < owner->ComponentCount(); ++i) {
    TComponent* component = owner->Components(i);
    each(component);
    ForEachComponent(component, each);
  }
}

// Frees a manager's painter with the manager.
class PainterRegistry : public TComponent {
 public:
  PainterRegistry() : TComponent(nullptr) {}
  TsSkinableMenus& Of(TsSkinManager& manager) {
    auto& painter = painters_[&manager];
    if (!painter) {
      painter = std::make_unique<TsSkinableMenus>(&manager);
      FreeNotification(&manager);
    }
    return *painter;
  }

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation == opRemove)
      std::erase_if(painters_, [&](const auto& entry) { return static_cast<TComponent*>(entry.first) == component; });
  }

 private:
  std::map<TsSkinManager*, std::unique_ptr<TsSkinableMenus>> painters_;
};

}  // namespace

TsSkinableMenus& SkinableMenusOf(TsSkinManager& manager) {
  static PainterRegistry* registry = new PainterRegistry;  // lives to the program's end
  return registry->Of(manager);
}

TsSkinableMenus::TsSkinableMenus(TsSkinManager* owner) : owner_(owner) {}

TsSkinableMenus::~TsSkinableMenus() = default;

bool MeasuredBySkinnedMenus(const TMenuItem* item) { return item->OnMeasureItem.target<PopupMeasure>() != nullptr; }

bool TsSkinableMenus::IsOwnMeasure(const TMenuItem* item) const {
  const PopupMeasure* own = item->OnMeasureItem.target<PopupMeasure>();
  return own && own->menus == this;
}

bool TsSkinableMenus::IsOwnDraw(const TMenuItem* item) const {
  const PopupDraw* own = item->OnAdvancedDrawItem.target<PopupDraw>();
  return own && own->menus == this;
}

bool TsSkinableMenus::IsOwnMenuLineHandler(const TMenuItem* item) const {
  const MenuLineDraw* draw = item->OnAdvancedDrawItem.target<MenuLineDraw>();
  return draw && draw->menus == this;
}

void TsSkinableMenus::SetMenuLineHandlers(TMenuItem* item) {
  item->OnAdvancedDrawItem = MenuLineDraw{this};
  item->OnMeasureItem = MenuLineMeasure{this};
}

void TsSkinableMenus::ClearMenuLineHandlers(TMenuItem* item) {
  const MenuLineDraw* draw = item->OnAdvancedDrawItem.target<MenuLineDraw>();
  if (draw && draw->menus == this) item->OnAdvancedDrawItem = nullptr;
  const MenuLineMeasure* measure = item->OnMeasureItem.target<MenuLineMeasure>();
  if (measure && measure->menus == this) item->OnMeasureItem = nullptr;
}

bool TsSkinableMenus::IsMainMenuTopItem(const TMenuItem* item) {
  auto* menu = item ? dynamic_cast<TMainMenu*>(item->GetParentMenu()) : nullptr;
  return menu && item->Parent() == menu->Items();
}

void TsSkinableMenus::SetPopupHandlers(TMenuItem* item) {
  if (!item->OnAdvancedDrawItem) item->OnAdvancedDrawItem = PopupDraw{this};
  if (!item->OnMeasureItem) item->OnMeasureItem = PopupMeasure{this};
}

void TsSkinableMenus::ClearOwnHandlers(TMenuItem* item) {
  if (IsOwnDraw(item)) item->OnAdvancedDrawItem = nullptr;
  if (IsOwnMeasure(item)) item->OnMeasureItem = nullptr;
}

void TsSkinableMenus::HookItemTree(TMenuItem* item, bool value) {
  for (int i = 0; i < item->Count(); ++i) {
    TMenuItem* sub = item->Items(i);
    if (!value) ClearOwnHandlers(sub);
    else if (!IsMainMenuTopItem(sub)) SetPopupHandlers(sub);
    HookItemTree(sub, value);
  }
}

void TsSkinableMenus::UpdateActive() { SetActive(owner_ && owner_->LoadedSkin.Active); }

void TsSkinableMenus::SetActive(bool value) {
  if (value != active_) HookAllMenus(value);
}

void TsSkinableMenus::HookAllMenus(bool value) {
  active_ = value;
  if (!owner_ || owner_->Loading()) return;
  const bool popups = value && owner_->SkinnedPopups();
  ForEachComponent(&Application, [&](TComponent* component) {
    if (auto* mainMenu = dynamic_cast<TMainMenu*>(component)) {
      HookMainMenu(mainMenu, value);
      for (int i = 0; i < mainMenu->Items()->Count(); ++i) HookMenuItems(mainMenu->Items()->Items(i), popups);
    } else if (auto* menu = dynamic_cast<TPopupMenu*>(component)) {
      HookMenuOwnerDraw(menu, popups);
    } else if (auto* item = dynamic_cast<TMenuItem*>(component)) {
      if (!dynamic_cast<TMainMenu*>(item->GetParentMenu())) HookMenuItems(item, popups);
    }
  });
}

void TsSkinableMenus::HookMainMenu(TMainMenu* menu, bool value) {
  if (!menu) return;
  TMenuItem* items = menu->Items();
  for (int i = 0; i < items->Count(); ++i) {
    TMenuItem* item = items->Items(i);
    if (!value) {
      ClearMenuLineHandlers(item);
    } else if (owner_ && owner_->LoadedSkin.Active) {
      // Without skinned popups the bar stays the system's, untouched.
      if (!owner_->SkinnedPopups()) return;
      SetMenuLineHandlers(item);
    }
  }
  if (!(menu->ComponentState() & csDestroying)) menu->SetOwnerDraw(value);
}

void TsSkinableMenus::HookMenuOwnerDraw(TPopupMenu* menu, bool value) {
  if (!menu) return;
  menu->SetOwnerDraw(value && owner_ && owner_->SkinnedPopups());
  TMenuAnimation animation = menu->MenuAnimation();
  menu->SetMenuAnimation(value ? animation | maNone : animation & ~maNone);
  HookItemTree(menu->Items(), value);
}

void TsSkinableMenus::HookMenuItems(TMenuItem* item, bool value) {
  if (item) HookItemTree(item, value);
}

void TsSkinableMenus::InstallItemPainters(TMenuItem* item, bool value) {
  if (!item) return;
  if (TMenu* menu = item->GetParentMenu()) menu->SetOwnerDraw(value);
  if (!value) ClearOwnHandlers(item);
  else if (IsMainMenuTopItem(item)) SetMenuLineHandlers(item);
  else if (owner_ && owner_->SkinnedPopups()) SetPopupHandlers(item);
}
