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
#pragma once

#include <windows.h>

#include <vector>

class TForm;
class TWinControl;
class TsSkinManager;

// Set while a skin-change animation of the default manager is pending or running: controls
// skip painting.
extern bool SkinChangeAnimating;
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

// Sends the skin command to every live control inside `parent`, at every depth.
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
