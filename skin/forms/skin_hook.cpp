#include "skin/forms/skin_hook.h"

#include "framework/forms.h"

#include "skin/engine/common_data.h"
#include "skin/engine/skin_broadcast.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_manager.h"
#include "skin/forms/combo_wnd.h"
#include "skin/forms/dialog_children.h"
#include "skin/forms/dialog_wnd.h"
#include "skin/forms/form_animation.h"
#include "skin/forms/button_adapters.h"
#include "skin/forms/menu_wnd.h"
#include "skin/forms/skinnable_menus.h"
#include "skin/forms/window_relays.h"
#include "skin/engine/engine_routines.h"
#include "skin/engine/extended_borders.h"
#include "skin/forms/skin_provider.h"

namespace {

HHOOK hook = nullptr;
// Slots are emptied, never compacted while the hook runs: a provider may be freed while a
// walk over the list is under way.
std::vector<std::unique_ptr<TacProvider>> providers;

TsSkinManager* ActiveDefaultManager() {
  TsSkinManager* manager = TsSkinManager::DefaultManager();
  return manager && manager->Active() ? manager : nullptr;
}

// A flag set for one scope, cleared also when a constructor throws.
class AdaptModeScope {
 public:
  AdaptModeScope() { DialogAdaptMode = true; }
  ~AdaptModeScope() { DialogAdaptMode = false; }
  AdaptModeScope(const AdaptModeScope&) = delete;
  AdaptModeScope& operator=(const AdaptModeScope&) = delete;
};

LRESULT CALLBACK SkinCbtHookProc(int code, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = CallNextHookEx(hook, code, wParam, lParam);
  try {
    if (code == HCBT_CREATEWND) AdaptPopupWindow(reinterpret_cast<HWND>(wParam), ActiveDefaultManager());
    else if (code == HCBT_DESTROYWND) ReleaseClosedProviders();
    else if (code == HCBT_ACTIVATE) SkinActivatedWindow(reinterpret_cast<HWND>(wParam));
  } catch (...) {
    // A window that cannot be skinned keeps its standard look.
  }
  return result;
}

// What the engine's broadcasts reach through: the hook and its providers.
class HookSkinning : public TacWindowSkinning {
 public:
  void InstallHook(TsSkinManager& manager) override { InstallWindowSkinningHook(manager); }
  void RemoveHook(TsSkinManager&) override { RemoveWindowSkinningHook(); }
  void SendToProviders(WORD subCommand, LPARAM lParam) override {
    for (TacProvider* provider : HookProviders())
      if (provider->DialogAdapter && IsWindowVisible(provider->Wnd))
        SendSkinCommandToWindow(provider->Wnd, subCommand, lParam);
  }
  TsSkinManager* ProviderManager(TForm* form) override {
    TsSkinProvider* provider = ProviderOfForm(form);
    return provider ? provider->Manager() : nullptr;
  }
  void ResetMenuBorderWidth() override {
    if (TsSkinableMenus* menus = DefaultMenus()) menus->ResetSkinBorderWidth();
  }
  void UpdateMenusActive() override {
    if (TsSkinableMenus* menus = DefaultMenus()) menus->UpdateActive();
  }
  void HookMenuOwnerDraw(TPopupMenu* menu, bool active) override {
    if (TsSkinableMenus* menus = DefaultMenus()) menus->HookMenuOwnerDraw(menu, active);
  }
  void PopupMenuShown(LPARAM item) override {
    if (TsSkinableMenus* menus = DefaultMenus()) menus->PopupItemShown(reinterpret_cast<TMenuItem*>(item));
  }
  void PopupWindowShown(HWND window) override {
    if (TsSkinableMenus* menus = DefaultMenus()) menus->PopupWindowShown(window);
  }
  void UnlockForm(TForm* form, bool repaint) override { UnlockAfterSkinChange(form, repaint); }

 private:
  static TsSkinableMenus* DefaultMenus() {
    TsSkinManager* manager = TsSkinManager::DefaultManager();
    return manager ? &SkinableMenusOf(*manager) : nullptr;
  }
};

}  // namespace

TacProvider::TacProvider() = default;

TacProvider::~TacProvider() {
  // A form provider stays with its form: it hears the skin's removal, gives the form its own
  // look back, and skins it again when a skin comes.
  FormProvider = nullptr;
  // Children first: they ask the dialog for their background while they let go.
  for (auto& child : ChildAdapters)
    if (child) child->Detach(false);
  ChildAdapters.clear();
  if (DialogAdapter) DialogAdapter->Detach(false);
  DialogAdapter.reset();
}

bool TacProvider::AdaptDialog(HWND wnd) {
  Wnd = wnd;
  TsSkinManager* manager = ActiveDefaultManager();
  if (DialogAdapter || !manager) return true;
  CurrentButtonStyle = static_cast<DWORD>(GetWindowLongPtrW(wnd, GWL_STYLE));
  DialogAdapter = AttachAdapter<TacDialogWnd>(wnd, nullptr, manager, "DIALOG", false);
  DialogAdapter->Provider = this;
  if (DialogPosX != -1 || DialogPosY != -1)
    SetWindowPos(wnd, HWND_TOP, DialogPosX, DialogPosY, 0, 0, SWP_NOSIZE | SWP_NOREDRAW | SWP_NOOWNERZORDER);
  if (!AdaptChildren(wnd)) return false;
  DialogAdapter->InitFromWindow();
  SendSkinCommandToWindow(wnd, SKC_NEWSKIN, reinterpret_cast<LPARAM>(manager));
  return true;
}

void TacProvider::AttachFormProvider(TForm* form) {
  auto* provider = new TsSkinProvider(form);
  FormProvider = provider;
  provider->AfterConstruction();
  // With composition on the form may be drawn before it ever paints its frame: it gets its
  // skin and adapted controls now, and is shown redrawn whole.
  if (DwmCompositionEnabled() && form->HandleAllocated()) {
    if (!provider->CtrlAdapter) provider->Loaded();
    HWND wnd = form->Handle();
    SetWindowLongPtrW(wnd, GWL_STYLE, GetWindowLongPtrW(wnd, GWL_STYLE) | WS_VISIBLE);
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
  }
  provider->MakeSkinMenu = false;
}

bool TacProvider::AdaptChildren(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = GetTopWindow(parent); child; child = GetWindow(child, GW_HWNDNEXT)) children.push_back(child);
  for (HWND child : children) {
    if (!IsWindow(child)) continue;
    if (!AdaptChildren(child)) return false;
    if ((GetWindowLongPtrW(child, GWL_STYLE) & WS_CHILD) && !AdaptDialogControl(child)) return false;
  }
  return true;
}

bool TacProvider::AdaptDialogControl(HWND wnd) {
  if (WindowAcknowledgesSkinCommand(wnd, SKC_ISSKINNED) || AdapterOfWindow(wnd)) return true;
  AdaptModeScope mode;
  const DialogChildChoice choice = ClassifyDialogChild(WindowClassLower(wnd),
                                                       static_cast<DWORD>(GetWindowLongPtrW(wnd, GWL_STYLE)),
                                                       IsWindowVisible(wnd));
  if (choice.NeedsDialogPaint && DialogAdapter) DialogAdapter->ValidateOnPaint = false;
  TsSkinManager* manager = DialogAdapter ? DialogAdapter->Manager() : ActiveDefaultManager();
  std::unique_ptr<TacMainWnd> adapter = CreateDialogChildAdapter(choice, wnd, manager);
  if (!adapter) return true;
  if (choice.Kind != DialogChildKind::DlgPanel) adapter->ReadWindowPlacement();
  ChildAdapters.push_back(std::move(adapter));
  return true;
}

void StartWindowSkinning() {
  static HookSkinning skinning;
  SetWindowSkinning(&skinning);
  RegisterComboListAdapters();
}

bool SkinHookInstalled() { return hook != nullptr; }

void InstallWindowSkinningHook(TsSkinManager&) {
  if (hook) return;
  hook = SetWindowsHookExW(WH_CBT, SkinCbtHookProc, nullptr, GetCurrentThreadId());
}

void RemoveWindowSkinningHook() {
  ClearPopupAdapters();
  if (hook) UnhookWindowsHookEx(hook);
  hook = nullptr;
  // Moved out first: freeing a provider may destroy nothing, but the list must not change
  // under the loop.
  auto gone = std::move(providers);
  providers.clear();
  gone.clear();
}

std::vector<TacProvider*> HookProviders() {
  std::vector<TacProvider*> alive;
  for (auto& provider : providers)
    if (provider) alive.push_back(provider.get());
  return alive;
}

TacProvider* FindProviderOfWindow(HWND wnd) {
  for (TacProvider* provider : HookProviders())
    if (provider->Wnd == wnd) return provider;
  return nullptr;
}

int VisibleSkinnedDialogCount() {
  int count = 0;
  for (TacProvider* provider : HookProviders())
    if (provider->DialogAdapter && IsWindowVisible(provider->Wnd)) ++count;
  return count;
}

namespace {

// MDI children are never activated as windows of their own: they are skinned with their parent.
void SkinMDIChildren(TForm& parent) {
  for (int i = 0; i < parent.MDIChildCount(); ++i) {
    TForm* child = parent.MDIChildren(i);
    if (WindowAcknowledgesSkinCommand(child->Handle(), SKC_ISSKINNED)) continue;
    auto provider = std::make_unique<TacProvider>();
    provider->AttachFormProvider(child);
    providers.push_back(std::move(provider));
  }
}

}  // namespace

bool SkinActivatedWindow(HWND wnd) {
  TsSkinManager* manager = ActiveDefaultManager();
  if (!manager || WindowAcknowledgesSkinCommand(wnd, SKC_ISSKINNED) || FindProviderOfWindow(wnd)) return false;
  if (auto* form = dynamic_cast<TForm*>(efir::FindControl(wnd))) {
    if (form->Tag() == -98) return false;
    const std::string kind = ClassName(form);
    if (kind == "TApplication" || kind == "TQRStandardPreview" || kind == "TfcPopup") return false;
    // Message boxes built as forms count as standard dialogs.
    if (!(manager->SkinningRules() & (kind == "TMessageForm" ? srStdDialogs : srStdForms))) return false;
    auto provider = std::make_unique<TacProvider>();
    provider->AttachFormProvider(form);
    providers.push_back(std::move(provider));
    if (form->FormStyle() == fsMDIForm) SkinMDIChildren(*form);
    return true;
  }
  if (WindowClassLower(wnd) != "#32770" || !(manager->SkinningRules() & srStdDialogs)) return false;
  if (VisibleSkinnedDialogCount() > 0 && !HasDescendantOfClass(wnd, "toolbarwindow32")) return false;
  auto provider = std::make_unique<TacProvider>();
  TacProvider* made = provider.get();
  providers.push_back(std::move(provider));
  if (!made->AdaptDialog(wnd)) {
    for (auto& slot : providers)
      if (slot.get() == made) slot.reset();
  }
  return true;
}

void ReleaseClosedProviders() {
  for (auto& provider : providers)
    if (provider && provider->DialogAdapter && provider->DialogAdapter->Detached) provider.reset();
}

void ForgetFormProvider(TsSkinProvider* gone) {
  for (auto& provider : providers)
    if (provider && provider->FormProvider == gone) {
      provider->FormProvider = nullptr;
      provider.reset();
    }
}
