// The window-skinning hook: a WH_CBT hook on the GUI thread that the default skin manager
// sets while its skin is active (InstallSkinHook, skin_broadcast.h). Every standard dialog
// that becomes active ("#32770": message boxes, file dialogs) gets a provider that adapts it
// and its child windows; the provider is freed at the first window destruction after its
// dialog went away. Every popup-menu window ("#32768") gets its adapter as it is created,
// while the default manager skins popups (menu_wnd.h).
//
//   StartWindowSkinning();          // once, at program start: plugs the hook into the engine
//   ...a default manager loads a skin: the hook is set; MessageBoxW(...) now shows skinned...
//
// While one adapted dialog is visible, a second plain dialog stays unskinned unless it
// contains a tool bar (as the file dialogs do). Framework forms are not skinned here yet.
// GUI thread only.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

class TacDialogWnd;
class TacMainWnd;
class TsSkinManager;

// The hook's object for one adapted dialog: the dialog's adapter and those of its children.
class TacProvider {
 public:
  TacProvider();
  ~TacProvider();
  TacProvider(const TacProvider&) = delete;
  TacProvider& operator=(const TacProvider&) = delete;

  // Adapts the dialog and its children; false when that failed.
  bool AdaptDialog(HWND wnd);
  // Adapts every not yet skinned descendant of `parent` (may run again at any time).
  bool AdaptChildren(HWND parent);
  // Wraps one child window in the adapter of its class and style.
  bool AdaptDialogControl(HWND wnd);

  HWND Wnd = nullptr;
  std::unique_ptr<TacDialogWnd> DialogAdapter;
  std::vector<std::unique_ptr<TacMainWnd>> ChildAdapters;
};

// Plugs window skinning into the skin engine (idempotent).
void StartWindowSkinning();

// The hook is set / removed with every provider.
bool SkinHookInstalled();
void InstallWindowSkinningHook(TsSkinManager& manager);
void RemoveWindowSkinningHook();

// Skins an activated window when it should be; true when a provider was made for it.
bool SkinActivatedWindow(HWND wnd);
// Frees the providers whose dialog went away.
void ReleaseClosedProviders();
// The providers alive now (freed slots are skipped).
std::vector<TacProvider*> HookProviders();
TacProvider* FindProviderOfWindow(HWND wnd);
int VisibleSkinnedDialogCount();
