// The menu painter of a skin manager: while a skin is active it becomes the owner-draw
// handler of the program's popup menus and draws every item from the skin. Each open popup
// gets one background picture, as large as its window (the MAINMENU item with its border,
// the icon column and an optional extra line down the left), cached until a popup window
// closes; items copy their part of it, paint MENUITEM over it for their state and add the
// check mark, glyph, text and shortcut. The popup window gets a region without the
// transparent corners of the MAINMENU border.
//
//   TsSkinableMenus menus(manager);
//   menus.HookMenuOwnerDraw(PopupMenu1, true);   // items keep handlers the program set
//   PopupMenu1->Popup(x, y);                     // measured and drawn by the painter
//   menus.HookMenuOwnerDraw(PopupMenu1, false);  // only the painter's handlers go
//
// Item kinds by caption: "-" is a 2-pixel divider (DIVIDERV); "-Word-" a title line in
// CaptionFont on TOOLBAR; a caption starting with #8 is right-aligned. A popup's items are
// measured and drawn by the system in their window's coordinates; the offset from those to
// the window's picture is measured from the window, not assumed, since the system may draw
// its own border inside the client area.
//
// The painter's state is process-wide, as menus are: PopupItemsMeasured, the background
// cache (one entry a popup), the extra-line data. GUI thread only.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/bitmap.h"
#include "framework/graphics_objects.h"
#include "framework/menus.h"
#include "framework/stdctrls.h"
#include "skin/engine/colour_utils.h"
#include "skin/engine/skin_command.h"

class TsSkinManager;
class TCanvas;
class TMainMenu;

enum TsMenuItemType { smCaption, smDivider, smNormal, smTopLine };

using TsMenuManagerDrawItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, const RECT& ARect,
                                                      TOwnerDrawState State, TsMenuItemType ItemType)>;

// One open popup's background picture.
struct MenuCacheEntry {
  TMenuItem* FirstItem = nullptr;  // the first item of the popup: its key
  std::unique_ptr<TBitmap> Bitmap;
  HWND Wnd = nullptr;              // the popup window when known at build time
  bool ExtraLineVisible = false;
};

// Set whenever the painter measures an item; cleared when a popup window closes and before a
// popup the painter does not draw. The popup window's adapter paints only while it is set.
extern bool PopupItemsMeasured;
// The kind of the item being measured or drawn, for OnDrawItem handlers.
extern TsMenuItemType CurrentMenuItemType;
// Width of the icon column of the last built background.
extern int IconLineWidth;

// Frees every background picture.
void ClearMenuCache();
// The number of cached popup backgrounds.
size_t MenuCacheCount();

// Where a popup window's client area lies in its window picture (the system's own border
// width, when it has one outside the client area); zero without a window.
POINT PopupClientOffset(HWND popup);

class TsSkinableMenus {
 public:
  explicit TsSkinableMenus(TsSkinManager* owner);
  ~TsSkinableMenus();
  TsSkinableMenus(const TsSkinableMenus&) = delete;
  TsSkinableMenus& operator=(const TsSkinableMenus&) = delete;

  int Margin = 2;
  TAlignment Alignment = taLeftJustify;
  int BevelWidth = 0;   // stored only
  int BorderWidth = 3;  // the popup border the items copy from the background
  int Spacing = 6;      // between the icon column and the text
  TFont CaptionFont;
  TsMenuManagerDrawItemEvent OnDrawItem;

  TsSkinManager* Owner() const { return owner_; }
  bool Active() const { return active_; }
  // Width of the MAINMENU border: its BORDERSMASK's, 3 when that is not positive, 0 without
  // one; computed once after ResetSkinBorderWidth (0 before the first reset).
  int SkinBorderWidth();
  void ResetSkinBorderWidth() { skinBorderWidth_ = -1; }

  // Installed as items' OnMeasureItem and OnAdvancedDrawItem.
  void MeasurePopupItem(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height);
  void DrawPopupItem(TObject* Sender, TCanvas* ACanvas, const RECT& ARect, TOwnerDrawState State);

  // Item geometry.
  SIZE GlyphSize(const TMenuItem* item) const;
  int ItemHeight(TCanvas& canvas, const TMenuItem* item);
  int PopupWidth(TCanvas& canvas, TMenuItem* item);
  int PopupHeight(TCanvas& canvas, TMenuItem* item);

  // The popup's background: by item (built when missing and width is not 0), or by window.
  MenuCacheEntry* FindMenuCacheEntry(TMenuItem* item, int width, int height, HWND wnd);
  int ExtraLineWidth(const MenuCacheEntry* entry) const;
  // Gives the popup window its region from the background (once between background paints).
  void SetPopupMenuRegion(HWND wnd, TBitmap* bitmap);
  // The application's window heard that a popup was shown (its item's submenu, or the popup
  // window itself): the window gets its region from the cached background.
  void PopupItemShown(TMenuItem* item);
  void PopupWindowShown(HWND wnd);

  // Hooking (see the file comment): on or off for the whole program, one popup menu, the
  // sub-items of one item, one item being measured.
  void UpdateActive();
  void SetActive(bool value);
  void HookAllMenus(bool value);
  void HookMenuOwnerDraw(TPopupMenu* menu, bool value);
  void HookMenuItems(TMenuItem* item, bool value);
  void InstallItemPainters(TMenuItem* item, bool value);
  // The top-level items of a main menu get the menu-line painters (replacing the program's),
  // or lose them; the menu becomes owner-drawn or not. With an active skin but no skinned
  // popups nothing changes at all.
  void HookMainMenu(TMainMenu* menu, bool value);
  static bool IsMainMenuTopItem(const TMenuItem* item);
  bool IsOwnMenuLineHandler(const TMenuItem* item) const;
  // Installed on the top-level items of main menus: an item of a skinned form's menu bar,
  // drawn over the form's menu-line picture (menu_items.cpp).
  void MeasureMenuLineItem(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height);
  void DrawMenuLineItem(TObject* Sender, TCanvas* ACanvas, const RECT& R, TOwnerDrawState State);
  // Whether an item's handlers are the painter's own.
  bool IsOwnMeasure(const TMenuItem* item) const;
  bool IsOwnDraw(const TMenuItem* item) const;

  // Transparent corner runs of the last built background.
  TAOR RegionRects;

 private:
  void AssignMenuFont(TCanvas& canvas, const TMenuItem* item, bool bold) const;
  void AskExtraLine(TMenuItem* firstItem, bool& lineVisible);
  void BuildPopupBackground(TMenuItem* item, int width, int height, HWND wnd);
  void PaintExtraLine(TBitmap& background, int sbw, const CacheSourceInfo& source);
  void PaintDivider(TCanvas& canvas, RECT r, const MenuCacheEntry& entry, TBitmap* bg, POINT inset);
  void PaintCaptionItem(TCanvas& canvas, RECT r, const MenuCacheEntry& entry, TBitmap* bg, POINT inset,
                        const TMenuItem* item);
  void PaintOrdinaryItem(TCanvas& canvas, RECT r, TOwnerDrawState state, TMenuItem* item, const MenuCacheEntry& entry,
                         int extraX, POINT inset);
  void PaintItemGlyph(TBitmap& b, const TMenuItem* item, TOwnerDrawState state);
  // The pressed SPEEDBUTTON_SMALL look one pixel round a checked item's picture.
  void PaintPressedFrame(TBitmap& b, const RECT& glyph);
  void CopyBorderBands(HWND wnd, TBitmap& bg, const TMenuItem* item, RECT r, int extraX, POINT inset);
  void HookItemTree(TMenuItem* item, bool value);
  void SetPopupHandlers(TMenuItem* item);
  void SetMenuLineHandlers(TMenuItem* item);
  void ClearMenuLineHandlers(TMenuItem* item);
  void ClearOwnHandlers(TMenuItem* item);

  TsSkinManager* owner_;
  bool active_ = false;
  int skinBorderWidth_ = 0;
  bool settingRegion_ = false;
  bool askingExtraLine_ = false;
};

// Whether a painter (of any manager) measures the item.
bool MeasuredBySkinnedMenus(const TMenuItem* item);

// The maximized active child of the application's MDI parent shows its icon at the start
// of the parent's menu line (it has a system menu and an icon).
bool MDIChildIconOnMenuLine();
// The painter of a manager, made on first need and freed with the manager.
TsSkinableMenus& SkinableMenusOf(TsSkinManager& manager);

// Item kinds and look-ups shared by measuring and drawing.
namespace efir::menus {

bool IsCaptionItem(const TMenuItem* item);
// The text of a caption item: its first word between "-" characters.
std::string CaptionWord(const std::string& caption);
// True when an item of the item's parent, from the first to this one, starts a column.
bool ItemInBrokenColumn(const TMenuItem* item);
bool IsFirstVisibleItem(const TMenuItem* item);
bool IsLastVisibleItem(const TMenuItem* item);
// The visible item after this one in its parent, or nullptr.
const TMenuItem* NextVisibleItem(const TMenuItem* item);

}  // namespace efir::menus
