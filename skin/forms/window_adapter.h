// A window adapter skins one window that the skin engine did not create (a child of a
// standard dialog, a message box, a popup menu, a framework control named in a ThirdParty
// list): it takes over the window's procedure, keeps a TsCommonData for it, answers the skin
// command, and gives the procedure back when the window goes or the adapter is detached.
// TacMainWnd is the base of the whole family; TacScrollWnd (scroll_wnd.h) adds skinned
// scroll bars.
//
//   auto adapter = AttachAdapter<TacBtnWnd>(button, nullptr, manager, "BUTTON", true);
//   ...                                      // the window now paints from the skin
//   AdapterOfWindow(button);                 // the adapter, found through "ACSBSC"
//   adapter->Detach(false);                  // standard look and procedure back
//   adapter.reset();                         // (freeing detaches too, without the look)
//
// A framework control (the skin data's OwnerControl owns the window) is adapted through its
// WindowProc rather than its window procedure, so that the framework's own notices (mouse
// enter and leave, font, enabled, focus, wheel, control-list changes) reach the adapter as
// well as the window's messages. A raw window is subclassed.
//
// The one rule every path keeps: the window's old procedure is put back only while ours is
// still the window's procedure, so a subclass installed after ours is never clobbered; ours
// then stays in the chain and passes everything on. Subclassing uses the wide calls, so a
// Unicode window (a file-name edit) stays Unicode.
//
// A window that is destroyed detaches its adapter itself (WM_NCDESTROY); the adapter object
// lives on, Detached, until its owner frees it. GUI thread only.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "framework/gdi.h"
#include "framework/messages.h"

class TControl;
class TsCommonData;
class TsSkinManager;

// The window property that holds a window's adapter while it is attached.
inline constexpr wchar_t kAdapterProperty[] = L"ACSBSC";

// True while the dialog skinning adapts the children of a standard dialog: adapters created
// meanwhile take DialogMode.
extern bool DialogAdaptMode;

class TacMainWnd {
 public:
  // Takes the manager, or skinData's when nullptr; without skinData the adapter makes its own
  // with a cache bitmap and section `section`. Attach() completes the work (two phases, so
  // that descendants' SaveStdLook runs).
  TacMainWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section);
  virtual ~TacMainWnd();
  TacMainWnd(const TacMainWnd&) = delete;
  TacMainWnd& operator=(const TacMainWnd&) = delete;

  // Visual styles off (except for "DIALOG"), the standard look saved, the procedure taken.
  // `repaintFrame`: the frame is recomputed through the adapter at once.
  virtual void Attach(bool repaintFrame);
  // The procedure and property given back (when still ours), the standard look restored, the
  // frame redrawn when visible. Nothing once detached.
  virtual void Detach(bool frameChanged);

  // Keep / give back / apply the window's standard colours and font. Empty in the base.
  virtual void SaveStdLook() {}
  virtual void RestoreStdLook() {}
  virtual void ApplySkinLook() { LookApplied = true; }

  // The replacement window procedure: descendants handle their messages and pass the rest
  // to their base's AdapterWndProc.
  virtual void AdapterWndProc(TMessage& message);
  // The replaced procedure's answer (0 when none), LParam written back.
  LRESULT ForwardToReplacedWndProc(TMessage& message);
  LRESULT Forward(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

  // Refreshes WindowRect, WindowSize, WindowPos, ParentRect and ParentWnd.
  void ReadWindowPlacement();
  // The manager that paints the adapter (nullptr when none).
  TsSkinManager* Manager() const;
  // A manager with an active skin paints this adapter.
  bool SkinActive() const;
  TsCommonData& Data() const { return *SkinData; }

  bool DialogMode = false;
  std::string WindowText;  // Windows-1251
  RECT WindowRect{};
  SIZE WindowSize{};
  POINT WindowPos{};
  RECT ParentRect{};
  HWND ParentWnd = nullptr;
  WNDPROC PrevWndProc = nullptr;
  HWND Wnd = nullptr;
  TsSkinManager* SkinManager = nullptr;
  TsCommonData* SkinData = nullptr;
  bool Scrolling = false;
  bool LookApplied = false;
  TColor SavedColor = 0;
  TColor SavedFontColor = 0;
  bool Detached = false;
  bool OwnsSkinData = false;

 protected:
  // Reads WindowText from the window.
  void ReadWindowText();
  // Installs the procedure (the control's WindowProc, or the window's) and the property.
  void HookWindow();

 private:
  struct FrameworkLink;
  class FrameworkProcedure;
  // The framework control whose WindowProc is ours; nullptr for a raw window.
  TControl* FrameworkTarget() const;
  // The procedure, the property and the visual styles given back while the window lives.
  void GiveWindowBack();

  std::unique_ptr<TsCommonData> ownSkinData_;
  std::shared_ptr<FrameworkLink> link_;
  TControl* hookedControl_ = nullptr;
};

// Constructs and attaches an adapter of kind Adapter.
template <class Adapter, class... Extra>
std::unique_ptr<Adapter> AttachAdapter(HWND wnd, TsCommonData* skinData, TsSkinManager* manager,
                                       const std::string& section, bool repaintFrame, Extra&&... extra) {
  auto adapter = std::make_unique<Adapter>(wnd, skinData, manager, section, std::forward<Extra>(extra)...);
  adapter->Attach(repaintFrame);
  return adapter;
}

// The adapter attached to the window; nullptr when none.
TacMainWnd* AdapterOfWindow(HWND wnd);
// Detaches the adapter (when any) and, with freeIt, frees it.
void UnhookWindowAdapter(bool freeIt, bool frameChanged, std::unique_ptr<TacMainWnd>& adapter);
// SWP_FRAMECHANGED (the non-client area is recomputed), else WM_NCPAINT.
void RefreshWindowFrame(HWND wnd, bool frameChanged);
// Sends SKC_CONTROLCHANGED to the outermost ancestor; its answer.
LRESULT NotifyTopWindowOfChange(HWND wnd);
// The border picture of the section has more than one state picture.
bool BorderHasStateImages(const TsCommonData& skinData);

// Rebuilds the adapter's cache when its background changed: the section's item painted over
// the parent's background at the window's place (hot while focused or hovered; a flat one is
// a window-coloured face in GLOBALINFO's border colour).
void RenderWindowBackgroundCache(TsCommonData& skinData, HWND wnd, bool flat);
// Lets the parent's background show through the key-coloured corners of the cache's border.
void RestoreAdapterCorners(TsCommonData& skinData, int state, const TacMainWnd& adapter);

// The point a mouse message packs into lParam, with signed coordinates.
inline POINT PointOfLParam(LPARAM lParam) {
  return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}
