#include "skin/engine/skin_broadcast.h"

#include <shellapi.h>

#include <algorithm>

#include "framework/application.h"
#include "framework/flag_scope.h"
#include "framework/forms.h"
#include "skin/engine/glow.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_third_party.h"

bool SkinChangeAnimating = false;
HDC AnimationTargetDC = nullptr;
bool BroadcastingNewSkin = false;
bool BroadcastingRemoval = false;
HICON AppIconSmall = nullptr, AppIconLarge = nullptr;

namespace {

TacWindowSkinning* windowSkinning = nullptr;

std::vector<TForm*>& Registry() {
  static std::vector<TForm*> forms;
  return forms;
}

void Unregister(TComponent* form) {
  std::vector<TForm*>& forms = Registry();
  auto it = std::find(forms.begin(), forms.end(), form);
  if (it == forms.end()) return;
  *it = forms.back();
  forms.pop_back();
}

// Told when a registered form is freed, so that the registry never holds a freed form even
// when its provider did not unregister it.
class RegistryWatcher : public TComponent {
 public:
  RegistryWatcher() : TComponent(nullptr) {}

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation == opRemove) Unregister(component);
  }
};

// Never freed: forms may outlive the engine's static objects at exit.
RegistryWatcher& Watcher() {
  static RegistryWatcher* watcher = new RegistryWatcher;
  return *watcher;
}

bool Destroying(const TComponent* c) { return (c->ComponentState() & csDestroying) != 0; }

void SendToForm(TForm* form, WORD subCommand, LPARAM lParam) {
  SendSkinCommandToControl(form, subCommand, lParam);
  RelaySkinMessageToControls(form, subCommand, lParam);
  // An MDI frame's client window is no control of the form: it hears of the skin apart.
  if (form->FormStyle() == fsMDIForm && form->ClientHandle()) SendSkinCommandToWindow(form->ClientHandle(), subCommand, lParam);
}

bool ApplicationMinimized() {
  TForm* main = Application.MainForm();
  return main && main->HandleAllocated() && IsIconic(main->Handle());
}

TsSkinManager* ProviderManagerOf(TForm* form) { return windowSkinning ? windowSkinning->ProviderManager(form) : nullptr; }

template <class Each>
void ForEachLockableForm(TsSkinManager& manager, Each each) {
  // The animation of an unlock runs other code: walk a copy, skipping forms gone meanwhile.
  const std::vector<TForm*> forms = Registry();
  for (TForm* form : forms) {
    if (std::find(Registry().begin(), Registry().end(), form) == Registry().end()) continue;
    if (Destroying(form) || !form->Visible() || form->Parent() || !form->HandleAllocated()) continue;
    if (IsIconic(form->Handle()) || ProviderManagerOf(form) != &manager) continue;
    each(form);
  }
}

void SendToHookProviders(WORD subCommand, LPARAM lParam) {
  if (windowSkinning) windowSkinning->SendToProviders(subCommand, lParam);
}

void ResetMenuBorderWidth() {
  if (windowSkinning) windowSkinning->ResetMenuBorderWidth();
}

// Run time: not while a layout is read into the manager.
bool AtRunTime(const TsSkinManager& manager) { return !manager.Loading(); }

HICON ShellIcon(UINT size) {
  wchar_t program[MAX_PATH];
  if (!GetModuleFileNameW(nullptr, program, MAX_PATH)) return nullptr;
  // The program's own first icon is what the shell shows for it; reading it directly spares
  // the start-up the shell's whole icon cache. The shell answers for a program without one.
  HICON own = nullptr;
  if (size == SHGFI_SMALLICON ? ExtractIconExW(program, 0, nullptr, &own, 1)
                              : ExtractIconExW(program, 0, &own, nullptr, 1))
    if (own) return own;
  SHFILEINFOW info{};
  if (!SHGetFileInfoW(program, 0, &info, sizeof info, SHGFI_ICON | size)) return nullptr;
  return info.hIcon;
}

// The manager's forms with redraw off for the span of a skin change. They get it back however
// the change ends: a receiver that throws must not leave a form invisible.
class FormsLock {
 public:
  FormsLock(TsSkinManager& manager, bool lock) : manager_(manager), locked_(lock) {
    if (lock) LockSkinnedForms(manager);
  }
  ~FormsLock() {
    if (!locked_) return;
    try {
      UnlockSkinnedForms(manager_, true);
    } catch (...) {
      SkinChangeAnimating = false;
    }
  }
  FormsLock(const FormsLock&) = delete;
  FormsLock& operator=(const FormsLock&) = delete;

  void Unlock(bool repaint) {
    if (!locked_) return;
    locked_ = false;
    UnlockSkinnedForms(manager_, repaint);
  }
  // Someone else unlocks the forms from here on.
  void HandOver() { locked_ = false; }

 private:
  TsSkinManager& manager_;
  bool locked_;
};

}  // namespace

void SetWindowSkinning(TacWindowSkinning* skinning) { windowSkinning = skinning; }
TacWindowSkinning* WindowSkinning() { return windowSkinning; }

void LoadAppIcons() {
  FreeAppIcons();
  AppIconSmall = ShellIcon(SHGFI_SMALLICON);
  AppIconLarge = ShellIcon(SHGFI_LARGEICON);
}

void FreeAppIcons() {
  for (HICON* icon : {&AppIconSmall, &AppIconLarge}) {
    if (*icon) DestroyIcon(*icon);
    *icon = nullptr;
  }
}

void InstallSkinHook(TsSkinManager& manager) {
  if (!AtRunTime(manager) || !manager.IsDefault() || manager.HookInstalled) return;
  manager.HookInstalled = true;
  if (windowSkinning) windowSkinning->InstallHook(manager);
}

void RemoveSkinHook(TsSkinManager& manager) {
  if (!AtRunTime(manager) || !manager.IsDefault() || !manager.HookInstalled) return;
  if (windowSkinning) windowSkinning->RemoveHook(manager);
  manager.HookInstalled = false;
}

bool MainWindowHook(TsSkinManager& manager, TMessage& message) {
  if (!manager.SkinnedPopups()) return false;
  switch (message.Msg) {
    case WM_THEMECHANGED:
      return true;
    case CM_ACTIVATE:
      // Every form of the program, also those another form owns.
      for (int i = Screen.CustomFormCount() - 1; i >= 0; --i) {
        if (i >= Screen.CustomFormCount()) continue;
        TForm* form = Screen.CustomForms(i);
        if (form && form->HandleAllocated()) SendSkinCommandToWindow(form->Handle(), SKC_REPAINTGRAPHICS, 0);
      }
      return false;
    case WM_ACPOPUPITEMSHOWN:
      if (windowSkinning && message.LParam) windowSkinning->PopupMenuShown(message.LParam);
      return true;
    case WM_ACPOPUPWINDOWSHOWN:
      if (windowSkinning) windowSkinning->PopupWindowShown(reinterpret_cast<HWND>(message.LParam));
      return true;
    default:
      return false;
  }
}

const std::vector<TForm*>& SkinnedForms() { return Registry(); }

void RegisterSkinnedForm(TForm* form) {
  std::vector<TForm*>& forms = Registry();
  if (!form || std::find(forms.begin(), forms.end(), form) != forms.end()) return;
  forms.push_back(form);
  Watcher().FreeNotification(form);
}

void UnregisterSkinnedForm(TForm* form) {
  if (!form) return;
  Watcher().RemoveFreeNotification(form);
  Unregister(form);
}

void RelaySkinMessageToControls(TWinControl* parent, WORD subCommand, LPARAM lParam) {
  // Receivers may free controls: the count is read again at every step.
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* control = parent->Controls(i);
    if (Destroying(control)) continue;
    auto* windowed = control->IsWindowed() ? static_cast<TWinControl*>(control) : nullptr;
    if (windowed && !windowed->HandleAllocated()) {
      control->Perform(SM_ALPHACMD, MakeSkinWParam(subCommand), lParam);
      continue;
    }
    SendSkinCommandToControl(control, subCommand, lParam);
    // A window adapter hands the message on to its own children.
    if (windowed && i < parent->ControlCount() && parent->Controls(i) == control &&
        !WindowRelaysSkinCommands(windowed->Handle()))
      RelaySkinMessageToControls(windowed, subCommand, lParam);
  }
}

void BroadcastToAppForms(WORD subCommand, LPARAM lParam) {
  for (int i = Application.ComponentCount() - 1; i >= 0; --i) {
    // A receiver may have freed forms: continue from what is left.
    i = std::min(i, Application.ComponentCount() - 1);
    if (i < 0) break;
    auto* form = dynamic_cast<TForm*>(Application.Components(i));
    // An MDI child is reached through its provider (the registry or the hook's providers).
    if (!form || form->FormStyle() == fsMDIChild || (form->ComponentState() & (csDestroying | csLoading))) continue;
    if (SendSkinCommandToControl(form, SKC_ISSKINNED) == 1) continue;  // reached through the registry
    SendToForm(form, subCommand, lParam);
  }
  BroadcastToSkinnedForms(subCommand, lParam);
}

void BroadcastToSkinnedForms(WORD subCommand, LPARAM lParam) {
  std::vector<TForm*>& forms = Registry();
  for (size_t i = 0; i < forms.size(); ++i)
    if (!Destroying(forms[i])) SendToForm(forms[i], subCommand, lParam);
  SendToHookProviders(subCommand, lParam);
}

void LockSkinnedForms(TsSkinManager& manager) {
  if (ApplicationMinimized()) return;
  if (manager.IsDefault() && manager.AnimEffects.SkinChanging.Active) SkinChangeAnimating = true;
  ForEachLockableForm(manager, [](TForm* form) { SendMessageW(form->Handle(), WM_SETREDRAW, 0, 0); });
}

void UnlockSkinnedForms(TsSkinManager& manager, bool repaint) {
  if (ApplicationMinimized()) return;
  if (manager.IsDefault()) SkinChangeAnimating = false;
  // Only forms with a provider are lockable, so window skinning is there to unlock them.
  ForEachLockableForm(manager, [repaint](TForm* form) { windowSkinning->UnlockForm(form, repaint); });
}

void BroadcastNewSkin(TsSkinManager& manager, bool animate) {
  if (manager.Loading()) return;
  ReleaseAllGlows();
  FormsLock lock(manager, animate);
  ResetMenuBorderWidth();
  manager.LoadedSkin.Active = false;
  {
    FlagScope broadcasting(BroadcastingNewSkin);
    CacheFixedIndexes(manager);
    BroadcastToAppForms(SKC_NEWSKIN, reinterpret_cast<LPARAM>(&manager));
  }
  manager.LoadedSkin.Active = true;
  if (manager.IsDefault()) InstallSkinHook(manager);
  // The form providers that would tell the skinned menus are not there: they follow the
  // default manager's skin from here.
  if (manager.IsDefault() && windowSkinning) windowSkinning->UpdateMenusActive();
  ExternalSkinChangeHook(manager);
  if (!animate) return;
  // The refresh locks and unlocks the forms again; until it has, this lock holds them.
  BroadcastRefresh(manager);
  lock.HandOver();
}

void BroadcastSkinRemoved(TsSkinManager& manager) {
  FlagScope removing(BroadcastingRemoval);
  ReleaseAllGlows();
  RemoveSkinHook(manager);
  manager.LoadedSkin.Active = false;
  if (manager.IsDefault() && windowSkinning) windowSkinning->UpdateMenusActive();
  BroadcastToAppForms(SKC_REMOVESKIN, reinterpret_cast<LPARAM>(&manager));
  ExternalSkinChangeHook(manager);
  manager.Masks.clear();
  manager.Patterns.clear();
  manager.GeneralData.clear();
}

void BroadcastRefresh(TsSkinManager& manager) {
  LPARAM lParam = reinterpret_cast<LPARAM>(&manager);
  BroadcastToAppForms(SKC_STOPANIMATION, lParam);
  FormsLock lock(manager, !manager.Loading());
  BroadcastToAppForms(SKC_REFRESH, lParam);
  lock.Unlock(true);
}

void SetHotWindow(TsSkinManager& manager, HWND wnd) {
  if (wnd == manager.HotWindow) return;
  HWND previous = manager.HotWindow;
  manager.HotWindow = wnd;
  LPARAM lParam = reinterpret_cast<LPARAM>(&manager);
  if (previous) SendSkinCommandToWindow(previous, SKC_MOUSELEAVE, lParam);
  if (wnd) SendSkinCommandToWindow(wnd, SKC_MOUSEENTER, lParam);
}
