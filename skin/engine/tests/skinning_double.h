// Window skinning as the engine's tests see it: a stand-in for skin/forms plugged into the
// broadcasts' seam for its lifetime, recording what the engine asks of it.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "framework/forms.h"
#include "skin/engine/skin_broadcast.h"

namespace efir::test {

// Window skinning as the tests see it: it records what the engine asks of it.
class RecordingSkinning : public TacWindowSkinning {
 public:
  RecordingSkinning() { SetWindowSkinning(this); }
  ~RecordingSkinning() override { SetWindowSkinning(nullptr); }
  void InstallHook(TsSkinManager& m) override { Calls.push_back("install"), Hooked = &m; }
  void RemoveHook(TsSkinManager&) override { Calls.push_back("remove"), Hooked = nullptr; }
  void SendToProviders(WORD, LPARAM) override { ++ProviderSends; }
  TsSkinManager* ProviderManager(TForm* form) override { return form == ProviderForm ? ProviderOf : nullptr; }
  void ResetMenuBorderWidth() override { Calls.push_back("menu border"); }
  void UpdateMenusActive() override { Calls.push_back("menus active"); }
  void HookMenuOwnerDraw(TPopupMenu* menu, bool active) override {
    Calls.push_back("menu hook");
    Menu = menu, MenuActive = active;
  }
  void PopupMenuShown(LPARAM item) override { Calls.push_back("item shown"), ItemShown = item; }
  void PopupWindowShown(HWND) override { Calls.push_back("window shown"); }
  // Gives the redraw back, which is all the engine's tests look at.
  void UnlockForm(TForm* form, bool repaint) override {
    Calls.push_back(repaint ? "unlock, repaint" : "unlock");
    SendMessageW(form->Handle(), WM_SETREDRAW, 1, 0);
  }

  int Count(const std::string& call) const { return static_cast<int>(std::count(Calls.begin(), Calls.end(), call)); }

  std::vector<std::string> Calls;
  TsSkinManager* Hooked = nullptr;
  int ProviderSends = 0;
  TForm* ProviderForm = nullptr;
  TsSkinManager* ProviderOf = nullptr;
  TPopupMenu* Menu = nullptr;
  bool MenuActive = false;
  LPARAM ItemShown = 0;
};

}  // namespace efir::test
