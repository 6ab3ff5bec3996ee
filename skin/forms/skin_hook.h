// The window-skinning hook: a WH_CBT hook on the GUI thread that the default skin manager
// sets while its skin is active (InstallSkinHook, skin_broadcast.h). Every framework form
// that becomes active gets a form skin provider (skin_provider.h), owned by the form; every
// standard dialog that becomes active ("#32770": message boxes, file dialogs) gets a provider
// that adapts it and its child windows, freed at the first window destruction after its
// dialog went away. Every popup-menu window ("#32768") gets its adapter as it is created,
// while the default manager skins popups (menu_wnd.h).
//
//   StartWindowSkinning();          // once, at program start: plugs the hook into the engine
//   ...a default manager loads a skin: the hook is set; MessageBoxW(...) now shows skinned...
//
// While one adapted dialog is visible, a second plain dialog stays unskinned unless it
// contains a tool bar (as the file dialogs do). A form whose Tag is -98 stays unskinned.
// Removing the hook leaves each form its skin provider: the provider gives the form its own
// look back when the skin goes and skins it again when one comes. GUI thread only.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

class TacDialogWnd;
class TacMainWnd;
class TForm;
class TsSkinManager;
class TsSkinProvider;

// The hook's object for one adapted dialog (the dialog's adapter and those of its children),
// or for one skinned form (its form skin provider, which the form owns).
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
  // Gives the form its skin provider.
  void AttachFormProvider(TForm* form);

  HWND Wnd = nullptr;
  std::unique_ptr<TacDialogWnd> DialogAdapter;
  std::vector<std::unique_ptr<TacMainWnd>> ChildAdapters;
  TsSkinProvider* FormProvider = nullptr;
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
// A form skin provider is going: the hook's record of it is dropped.
void ForgetFormProvider(TsSkinProvider* provider);
// The providers alive now (freed slots are skipped).
std::vector<TacProvider*> HookProviders();
TacProvider* FindProviderOfWindow(HWND wnd);
int VisibleSkinnedDialogCount();
