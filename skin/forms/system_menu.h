// The window menus of skinned windows. A skinned window draws its own caption, so the
// system's window menu is replaced by a popup menu the skinned menus can draw (named
// "SysMenu": its Minimize, Maximize, Close and Restore items show the Webdings symbols).
// Every item sends its WM_SYSCOMMAND to the window, whose own handling carries it out.
//
//   TsSystemMenu     the menu of a skinned form: the captions and shortcuts of the form's
//                    own window menu, the items the program added to it (between Maximize
//                    and Close), and an optional submenu that lists the skins.
//   TacSystemMenu    the menu of a skinned standard dialog: six fixed items.
//
//   auto menu = std::make_unique<TsSystemMenu>(owner, form);   // items made from the window
//   menu->UpdateItems(true);                                   // rebuilt, shown and enabled
//   menu->Popup(x, y);
#pragma once

#include <windows.h>

#include "framework/menus.h"

class TacDialogWnd;
class TForm;
class TsSkinManager;

// What a caption's painter asks of the window a system menu belongs to.
class TsCustomSysMenu : public TPopupMenu {
 public:
  explicit TsCustomSysMenu(TComponent* owner) : TPopupMenu(owner) { SetName("SysMenu"); }

  virtual bool VisibleClose() = 0;
  virtual bool VisibleMax() = 0;
  virtual bool VisibleMin() = 0;
  virtual bool EnabledMax() = 0;
  virtual bool EnabledMin() = 0;
  virtual bool EnabledRestore() = 0;
};

class TsSystemMenu : public TsCustomSysMenu {
 public:
  // `owner` frees the menu; the items come from `form`'s window menu.
  TsSystemMenu(TComponent* owner, TForm* form);

  // Rebuilds the items from the form's window menu (none when it has no window menu).
  void MakeItems();
  // Puts the "Available skins" submenu first: one radio item a skin, a new column every 20.
  void AddSkinItems();
  // A skin item's click: the skin its caption names, cut after the internal skins' marker.
  void SkinItemClick(TMenuItem* item);
  // Visibility and enabled state of the standard items; with `rebuild` MakeItems first.
  void UpdateItems(bool rebuild);
  // Called when the form is prepared for a skin and after skin changes; nothing to do.
  void SkinChanged() {}

  bool VisibleClose() override;
  bool VisibleMax() override;
  bool VisibleMin() override;
  bool EnabledMax() override;
  bool EnabledMin() override;
  bool EnabledRestore() override;

  int ExtraItemCount = 0;  // items copied from the window menu by the last MakeItems
  TForm* Form;
  // The form's system menu is managed by its skinning (the window's own is hidden); the
  // skinning sets it. Without it there is no Close, Restore, Minimize or Maximize.
  bool SysMenuStyleRemoved = true;
  // The manager whose skins the skin submenu lists; the default one when nullptr.
  TsSkinManager* SkinManager = nullptr;
  TMenuItem *acIR = nullptr, *acIM = nullptr, *acIS = nullptr, *acIN = nullptr, *acIX = nullptr, *acIC = nullptr;

 private:
  TMenuItem* AddCommandItem(HMENU windowMenu, UINT command, const char* fallback, const char* name, bool updateAfter);
  void AddSeparator();
  TsSkinManager* Manager() const;
  void Send(WPARAM command) const;
};

class TacSystemMenu : public TsCustomSysMenu {
 public:
  explicit TacSystemMenu(TacDialogWnd* owner);

  // Visibility and enabled state of the items from the dialog's tests.
  void UpdateItems();

  bool VisibleClose() override;
  bool VisibleMax() override { return false; }
  bool VisibleMin() override { return false; }
  bool EnabledMax() override { return false; }
  bool EnabledMin() override { return false; }
  bool EnabledRestore() override { return false; }

  TacDialogWnd* Owner;
  TMenuItem *miRestore, *miMove, *miSize, *miMinimize, *miMaximize, *miClose;

 private:
  TMenuItem* AddItem(const char* caption, const char* name, WPARAM command, bool updateAfter);
};

// The text of a menu item of a system menu split at its tab: the caption and the shortcut.
struct SystemMenuText {
  std::string Caption, ShortCut;
  bool Found = false;
};
SystemMenuText ReadSystemMenuText(HMENU menu, UINT item, UINT byFlag);
