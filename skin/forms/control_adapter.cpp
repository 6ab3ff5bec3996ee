#include "skin/forms/control_adapter.h"

#include "framework/controls.h"
#include "framework/flag_scope.h"
#include "framework/stdctrls.h"
#include "skin/engine/common_data.h"
#include "skin/engine/s_label.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/forms/button_adapters.h"
#include "skin/forms/combo_wnd.h"
#include "skin/forms/edit_wnd.h"
#include "skin/forms/framework_toolbar_adapter.h"
#include "skin/forms/list_view_adapters.h"
#include "skin/forms/status_bar_adapter.h"
#include "skin/forms/tab_adapters.h"
#include "skin/forms/skin_provider.h"
#include "skin/forms/speed_button_handler.h"
#include "skin/forms/third_party_adapters.h"

bool AdaptingControls = false;

namespace {

bool ClearingAdapterItems = false;

bool Alive(const TacAdapterItem& item) { return item.WndAdapter && !item.WndAdapter->Detached; }

// The index of the first ThirdParty list that names the class; -1 when none does.
int ThirdListOfClass(const TsSkinManager& manager, const std::string& name) {
  for (int list = 0; list < ThirdPartyCount; ++list) {
    const TStringList& names = manager.ThirdLists[static_cast<size_t>(list)];
    for (int i = 0; i < names.Count(); ++i)
      if (names.Strings(i) == name) return list;
  }
  return -1;
}

// The section the item was given; `fallback` (empty: the adapter's own default) when none.
std::string OwnSection(const TsCommonData& data, const std::string& fallback = {}) {
  return data.SkinSection().empty() || data.SkinSection() == "UNKNOWN" ? fallback : data.SkinSection();
}

// The window adapter of a ThirdParty list (the speed-button list names graphic controls, which
// have no window: none).
std::unique_ptr<TacMainWnd> MakeListAdapter(int list, HWND wnd, TsCommonData* data, TsSkinManager* manager) {
  switch (list) {
    case ThirdEdits: return AttachAdapter<TacEditWnd>(wnd, data, manager, OwnSection(*data), true);
    case ThirdBitBtns: return AttachAdapter<TacBitBtnWnd>(wnd, data, manager, "BUTTON", true);
    case ThirdComboBoxes: return AttachAdapter<TacComboBoxWnd>(wnd, data, manager, OwnSection(*data, "COMBOBOX"), true);
    case ThirdListViews: return AttachAdapter<TacListViewWnd>(wnd, data, manager, OwnSection(*data), true);
    case ThirdTreeViews: return AttachAdapter<TacTreeViewWnd>(wnd, data, manager, OwnSection(*data), true);
    case ThirdButtons: return AttachAdapter<TacBtnWnd>(wnd, data, manager, "BUTTON", true);
    case ThirdCheckBoxes: return AttachAdapter<TacCheckBoxWnd>(wnd, data, manager, "CHECKBOX", true);
    case ThirdGroupBoxes: return AttachAdapter<TacGroupBoxWnd>(wnd, data, manager, "GROUPBOX", true);
    case ThirdPageControl: return AttachAdapter<TacPageControlWnd>(wnd, data, manager, OwnSection(*data), true);
    case ThirdTabControl: return AttachAdapter<TacTabControlWnd>(wnd, data, manager, OwnSection(*data), true);
    case ThirdToolBar: return AttachAdapter<TacToolBarVCLWnd>(wnd, data, manager, OwnSection(*data), true);
    case ThirdStatusBar: return AttachAdapter<TacStatusBarWnd>(wnd, data, manager, OwnSection(*data), true);
    default: return MakeThirdPartyAdapter(list, wnd, data, manager);
  }
}

bool Unskinnable(TControl* control) {
  if (!control || control->Tag() == -98 || !control->Parent()) return true;
  auto* windowed = dynamic_cast<TWinControl*>(control);
  return windowed && windowed->HandleAllocated() && AskControlSkinCommand(control, SKC_ISSKINNED) == 1;
}

}  // namespace

TacAdapterItem::TacAdapterItem() : SkinData(std::make_unique<TsCommonData>(nullptr, true)) {
  SkinData->ControlKind = ckAdapted;
}

TacAdapterItem::~TacAdapterItem() {
  // The adapter first: it paints from the skin data while it lets go.
  WndAdapter.reset();
}

TacCtrlAdapter::TacCtrlAdapter(TsSkinProvider* provider) : Provider(provider) {}

TacCtrlAdapter::~TacCtrlAdapter() {
  RemoveDeadItems();
  ClearItems();
}

void TacCtrlAdapter::AdaptControls(TWinControl* parent) {
  TsSkinManager* manager = Provider->Manager();
  if (AdaptingControls || !manager || !(manager->SkinningRules() & srThirdParty)) return;
  TWinControl* root = parent ? parent : Provider->Form;
  if (!root) return;
  {
    FlagScope walking(AdaptingControls);
    RemoveDeadItems();
  }
  for (int i = 0; i < root->ComponentCount(); ++i) AdaptOne(root->Components(i), false);
  for (int i = 0; i < root->ControlCount(); ++i) AdaptOne(root->Controls(i), true);
}

// One component of the walk: adapted or recoloured, then walked into when it is a window.
void TacCtrlAdapter::AdaptOne(TComponent* component, bool childPass) {
  auto* control = dynamic_cast<TControl*>(component);
  if (control && AcceptControl(control)) {
    if (control->IsWindowed()) {
      FlagScope walking(AdaptingControls);
      AddControlWithSection(control, {});
    } else if (auto* label = dynamic_cast<TLabel*>(control);
               label && !dynamic_cast<TsCustomLabel*>(label) && (childPass || label->Tag() != 98)) {
      label->SetTransparent(true);
      label->Font().SetColor(GlobalInfoFontColor(TsSkinManager::DefaultManager()));
    }
  }
  auto* windowed = dynamic_cast<TWinControl*>(component);
  if (windowed && windowed != Provider->Form && windowed->HandleAllocated() && windowed->Parent())
    AdaptControls(windowed);
}

bool TacCtrlAdapter::AcceptControl(TControl* control) {
  if (!control || control->Tag() == -98) return false;
  auto* windowed = dynamic_cast<TWinControl*>(control);
  if (windowed) {
    if (!windowed->HandleAllocated() || AskControlSkinCommand(control, SKC_ISSKINNED) == 1) return false;
    TsSkinManager* manager = Provider->Manager();
    return manager && ThirdListOfClass(*manager, ClassName(control)) >= 0;
  }
  if (!dynamic_cast<TLabel*>(control)) return false;
  bool canBeAdded = true;
  std::string section;
  if (Provider->OnSkinItem) Provider->OnSkinItem(control, canBeAdded, section);
  return canBeAdded;
}

void TacCtrlAdapter::AddControlWithSection(TComponent* component, std::string section) {
  auto* control = dynamic_cast<TWinControl*>(component);
  if (!control || Unskinnable(control)) return;
  bool canBeAdded = true;
  if (Provider->OnSkinItem) Provider->OnSkinItem(control, canBeAdded, section);
  if (!canBeAdded) return;
  TacAdapterItem* item = ItemOf(control);
  const bool fresh = item == nullptr;
  if (fresh) {
    Items.push_back(std::make_unique<TacAdapterItem>());
    item = Items.back().get();
    item->Ctrl = control;
  }
  if (!section.empty()) item->SkinData->SetSkinSection(section);
  if (!fresh) {
    if (item->WndAdapter && item->WndAdapter->Detached) {
      item->WndAdapter.reset();
      HookControlAdapter(*item, control);
    }
    return;
  }
  HookControlAdapter(*item, control);
  if (!item->WndAdapter) Items.pop_back();
}

void TacCtrlAdapter::HookControlAdapter(TacAdapterItem& item, TWinControl* control) {
  if (Unskinnable(control) || !control->HandleAllocated()) return;
  TsSkinManager* manager = Provider->Manager();
  if (!manager) return;
  item.Ctrl = control;
  item.SkinData->OwnerControl = control;
  item.SkinData->SetSkinManager(manager);
  const int list = ThirdListOfClass(*manager, ClassName(control));
  if (list >= 0) item.WndAdapter = MakeListAdapter(list, control->Handle(), item.SkinData.get(), manager);
}

void TacCtrlAdapter::RemoveDeadItems() {
  std::erase_if(Items, [](const std::unique_ptr<TacAdapterItem>& item) { return !item || !Alive(*item); });
}

void TacCtrlAdapter::ClearItems() {
  if (ClearingAdapterItems) return;
  FlagScope clearing(ClearingAdapterItems);
  while (!Items.empty()) Items.pop_back();
}

void TacCtrlAdapter::BroadcastMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  for (size_t i = 0; i < Items.size(); ++i) {
    TacAdapterItem* item = Items[i].get();
    if (item && Alive(*item) && item->Ctrl->Parent()) SendMessageW(item->Ctrl->Handle(), msg, wParam, lParam);
  }
}

TacAdapterItem* TacCtrlAdapter::ItemOf(const TControl* control) {
  for (auto& item : Items)
    if (item && item->Ctrl == control) return item.get();
  return nullptr;
}
