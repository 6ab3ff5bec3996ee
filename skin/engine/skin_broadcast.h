// How news of a skin reaches every window of the program: the list of forms that carry a
// form skin provider (the skinned-forms registry), the two senders that walk the
// application's forms and that list, and the three announcements a manager makes.
//
//   RegisterSkinnedForm(form);              // a provider attaching to its form
//   BroadcastNewSkin(manager, true);        // after reading a skin: SKC_NEWSKIN, then a refresh
//   BroadcastSkinRemoved(manager);          // SKC_REMOVESKIN; the records are emptied
//   UnregisterSkinnedForm(form);            // the provider detaching
//
// Every sender sends the skin command with lParam = the manager to each form's window and
// relays it to the form's controls; the answers are ignored. GUI thread only. Receivers may
// free forms while a broadcast runs.
//
// Window skinning (skin/forms) plugs in through TacWindowSkinning: the hook that skins every
// window, its providers, the skinned menus. Without it the broadcasts reach forms and
// controls only.
#pragma once

#include <windows.h>

#include <vector>

#include "framework/messages.h"

class TForm;
class TPopupMenu;
class TWinControl;
class TsSkinManager;

// What window skinning offers the broadcasts. The engine decides when (the default manager,
// once, at run time); the implementation does the window work.
class TacWindowSkinning {
 public:
  virtual ~TacWindowSkinning() = default;
  // Sets the WH_CBT hook of the GUI thread / removes it with its providers.
  virtual void InstallHook(TsSkinManager& manager) = 0;
  virtual void RemoveHook(TsSkinManager& manager) = 0;
  // Sends the skin command to every visible window the hook's providers adapted.
  virtual void SendToProviders(WORD subCommand, LPARAM lParam) = 0;
  // The manager of the form skin provider a form carries; nullptr when none.
  virtual TsSkinManager* ProviderManager(TForm* form) = 0;
  // The skinned menus compute their border width again with the next menu.
  virtual void ResetMenuBorderWidth() = 0;
  // The skinned menus check again whether they are on (SkinnedPopups was turned on).
  virtual void UpdateMenusActive() = 0;
  // A control is about to show its popup menu: the skinned menus draw it while `active`.
  virtual void HookMenuOwnerDraw(TPopupMenu* menu, bool active) = 0;
  // A popup menu was shown: `item` is an item whose submenu opened (may be nullptr), or the
  // popup menu's window; give the window its region from the menu cache.
  virtual void PopupMenuShown(LPARAM item) = 0;
  virtual void PopupWindowShown(HWND window) = 0;
  // Gives a form that a skin change locked its redraw back. With `repaint` the form's new
  // look comes up (animated when its manager's SkinChanging is on) and its frame, window
  // region and extended-border window are rebuilt.
  virtual void UnlockForm(TForm* form, bool repaint) = 0;
};

// Plugs window skinning in (nullptr: none). The caller keeps the object alive while set.
void SetWindowSkinning(TacWindowSkinning* skinning);
TacWindowSkinning* WindowSkinning();

// The program's own small and large shell icons (nullptr when unavailable), loaded by
// StartSkinEngine and freed by StopSkinEngine.
extern HICON AppIconSmall, AppIconLarge;
void LoadAppIcons();
void FreeAppIcons();

// Messages the skinned menus post to the application's window: a menu item whose submenu
// was just shown, a popup menu window that was just shown.
constexpr UINT WM_ACPOPUPITEMSHOWN = 0xBCB3, WM_ACPOPUPWINDOWSHOWN = 0xBCB4;

// The default manager's hook on the application's window (installed while it is default, at
// run time on Windows NT); true when it handled the message. With SkinnedPopups off it
// handles nothing. It swallows WM_THEMECHANGED, lets all forms repaint their windowless
// skinned controls on CM_ACTIVATE, and hands shown popup menus to the skinned menus.
bool MainWindowHook(TsSkinManager& manager, TMessage& message);

// The default manager sets the window-skinning hook once, at run time; HookInstalled tells.
void InstallSkinHook(TsSkinManager& manager);
void RemoveSkinHook(TsSkinManager& manager);

// Set while a skin-change animation of the default manager is pending or running: controls
// skip painting.
extern bool SkinChangeAnimating;
// The device context of the picture being rendered for an animation, else nullptr: while
// SkinChangeAnimating is set, skinned controls paint into it only.
extern HDC AnimationTargetDC;
// Set while SKC_NEWSKIN is being sent.
extern bool BroadcastingNewSkin;
// Set while SKC_REMOVESKIN is being sent: adapters being destroyed read it.
extern bool BroadcastingRemoval;

// Forms carrying a provider, in order of registration (a form is registered once). A form
// that is freed leaves the list by itself.
const std::vector<TForm*>& SkinnedForms();
void RegisterSkinnedForm(TForm* form);
// The last entry takes the form's slot; the order of the others is not kept.
void UnregisterSkinnedForm(TForm* form);

// Sends the skin command to every live control inside `parent`, at every depth; a control
// whose window carries a window adapter hears it once and relays it to its own children.
void RelaySkinMessageToControls(TWinControl* parent, WORD subCommand, LPARAM lParam);
// To the application's forms that are not skinned (they do not answer SKC_ISSKINNED), last
// first, then BroadcastToSkinnedForms.
void BroadcastToAppForms(WORD subCommand, LPARAM lParam);
// To the registered forms that are not being destroyed, in order.
void BroadcastToSkinnedForms(WORD subCommand, LPARAM lParam);

// Redraw of the manager's visible top-level skinned forms off around a change; nothing while
// the application is minimized.
void LockSkinnedForms(TsSkinManager& manager);
void UnlockSkinnedForms(TsSkinManager& manager, bool repaint);

// Nothing while the manager is loaded from a layout. `animate`: forms locked around the
// change and a refresh after it.
void BroadcastNewSkin(TsSkinManager& manager, bool animate);
void BroadcastSkinRemoved(TsSkinManager& manager);
// SKC_STOPANIMATION, then SKC_REFRESH between a lock and an unlock with repaint.
void BroadcastRefresh(TsSkinManager& manager);

// Makes `wnd` the manager's mouse-over window: the previous one gets SKC_MOUSELEAVE, the new
// one SKC_MOUSEENTER; nothing when it already is.
void SetHotWindow(TsSkinManager& manager, HWND wnd);
