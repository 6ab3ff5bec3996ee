// Popup menus and their items.
//
//   PopupMenu1 = new TPopupMenu(this);
//   N4 = new TMenuItem(this);
//   N4->SetCaption("&Выход");
//   N4->OnClick = [this](TObject* s) { N4Click(s); };
//   PopupMenu1->Items()->Add(N4);
//   RxLabel6->SetPopupMenu(PopupMenu1);     // shown on a right click of the label
//   PopupMenu1->Popup(x, y);                // or from code, at screen coordinates
//
// OnPopup runs before the menu opens, so it may change the items. An item's OnClick runs
// after the menu has closed, from the message loop, as a command from a window menu would.
// A caption of "-" is a separator. An item frees its sub-items; the owner frees the items.
//
// Owner-drawn menus (OwnerDraw): every item, separators included, is measured and drawn
// by its OnMeasureItem and OnAdvancedDrawItem, or by the plain default look where one is
// not set. While the menu is open its owner window's WM_MEASUREITEM and WM_DRAWITEM for
// menu items reach the items, whichever window that is (the active form, or the
// application's window for a menu opened from the tray).
#pragma once

#include "framework/bitmap.h"
#include "framework/component.h"
#include "framework/shortcuts.h"

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TCanvas;
class TFont;
class TMenu;

// What an owner-drawn item is to look like.
enum TOwnerDrawStateFlag : uint16_t {
  odSelected = 0x1, odGrayed = 0x2, odDisabled = 0x4, odChecked = 0x8, odFocused = 0x10,
  odDefault = 0x20, odHotLight = 0x40, odInactive = 0x80, odNoAccel = 0x100, odNoFocusRect = 0x200,
};
using TOwnerDrawState = uint16_t;  // an or-combination of TOwnerDrawStateFlag

// mbBreak starts a new column; mbBarBreak also draws a line between the columns.
enum TMenuBreak { mbNone, mbBreak, mbBarBreak };

using TMenuMeasureItemEvent = std::function<void(TObject* Sender, TCanvas* ACanvas, int& Width, int& Height)>;
using TAdvancedMenuDrawItemEvent =
    std::function<void(TObject* Sender, TCanvas* ACanvas, const RECT& ARect, TOwnerDrawState State)>;
// Source: the item that changed (nullptr: the menu's list itself); Rebuild: the menu's items
// were added, removed or reordered rather than only restyled.
using TMenuChangeEvent = std::function<void(TObject* Sender, class TMenuItem* Source, bool Rebuild)>;

class TMenuItem : public TComponent {
 public:
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value);
  bool Checked() const { return checked_; }
  void SetChecked(bool value);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  bool Default() const { return default_; }
  void SetDefault(bool value);
  // A checked radio item shows a dot instead of a check mark.
  bool RadioItem() const { return radioItem_; }
  void SetRadioItem(bool value);
  TMenuBreak Break() const { return break_; }
  void SetBreak(TMenuBreak value);
  // Shown after the caption; choosing by the key is the owner's business.
  TShortCut ShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut value);
  // The item's picture, created on first use; empty means none.
  TBitmap* Bitmap();
  const TBitmap* Bitmap() const { return bitmap_.get(); }
  bool HasBitmap() const { return bitmap_ && !bitmap_->Empty(); }
  // An image of the menu's image list; -1: none.
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int value);
  bool IsLine() const { return caption_ == "-"; }
  // Merging an MDI child's bar into its parent's: a child's top-level item replaces the
  // parent's items of its group and goes between the groups around it otherwise.
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int value);

  // Sub-items.
  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int index) const { return items_.at(static_cast<size_t>(index)); }
  int IndexOf(const TMenuItem* item) const;
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  void Remove(TMenuItem* item);
  void Clear();  // frees every sub-item
  TMenuItem* Parent() const { return parent_; }
  // The menu whose tree holds this item, or nullptr.
  TMenu* GetParentMenu() const;

  // Raises OnClick (what choosing the item does).
  virtual void Click();
  TNotifyEvent OnClick;
  // Owner drawing: the width and height arrive preset to the default look's size.
  TMenuMeasureItemEvent OnMeasureItem;
  TAdvancedMenuDrawItemEvent OnAdvancedDrawItem;
  // The size and look an owner-drawn item gets: its events, else the default look.
  void MeasureItem(TCanvas* canvas, int& width, int& height);
  void AdvancedDrawItem(TCanvas* canvas, const RECT& rect, TOwnerDrawState state);

  // Builds the system menu of the visible sub-items (owner-drawn when `ownerDraw`); the
  // caller destroys it.
  HMENU BuildMenu(bool ownerDraw = false) const;
  // The same as a menu bar: the visible sub-items side by side, each opening its own items.
  HMENU BuildMenuBar(bool ownerDraw = false) const;
  // A menu bar of exactly these items (see MergedBarItems), in this order.
  static HMENU BuildMenuBar(const std::vector<TMenuItem*>& items, bool ownerDraw);
  // The item with that command number in the whole program, or nullptr.
  static TMenuItem* FindCommand(UINT command);
  // `item` when it is a live menu item (an owner-drawn item's data), else nullptr.
  static TMenuItem* FromItemData(ULONG_PTR data);

 protected:
  // Tells the menu that holds the item about a change.
  void MenuChanged(bool rebuild);

 private:
  HMENU FillMenu(HMENU menu, bool ownerDraw) const;
  friend class TMenu;
  void AppendTo(HMENU menu, bool ownerDraw) const;

  std::string caption_;
  bool checked_ = false;
  bool enabled_ = true;
  bool visible_ = true;
  bool default_ = false;
  bool radioItem_ = false;
  TMenuBreak break_ = mbNone;
  TShortCut shortCut_ = 0;
  int imageIndex_ = -1;
  int groupIndex_ = 0;
  std::unique_ptr<TBitmap> bitmap_;
  UINT command_;
  TMenuItem* parent_ = nullptr;
  TMenu* menu_ = nullptr;  // set on a menu's root item only
  std::vector<TMenuItem*> items_;
};

// What the popup and main menus share: the root item and owner drawing.
class TMenu : public TComponent {
 public:
  explicit TMenu(TComponent* AOwner);
  ~TMenu() override;

  TMenuItem* Items() const { return items_; }
  bool OwnerDraw() const { return ownerDraw_; }
  void SetOwnerDraw(bool value);
  // The image list the items' ImageIndex refers to (nullptr: none); the caller keeps it.
  HIMAGELIST Images() const { return images_; }
  void SetImages(HIMAGELIST value);

  // Raised for every change of an item in the menu's tree.
  TMenuChangeEvent OnChange;

 protected:
  friend class TMenuItem;
  virtual void Changed(TMenuItem* source, bool rebuild);

 private:
  TMenuItem* items_;
  bool ownerDraw_ = false;
  HIMAGELIST images_ = nullptr;
};

// How a popup menu appears; maNone: at once, without the system's animation.
enum TMenuAnimationFlag : uint8_t { maLeftToRight = 1, maRightToLeft = 2, maTopToBottom = 4, maBottomToTop = 8, maNone = 16 };
using TMenuAnimation = uint8_t;  // an or-combination of TMenuAnimationFlag

class TPopupMenu : public TMenu {
 public:
  explicit TPopupMenu(TComponent* AOwner);

  // Shows the menu at screen coordinates and returns when it has closed.
  virtual void Popup(int X, int Y);
  // Whether a right click on a control whose PopupMenu this is opens it.
  bool AutoPopup() const { return autoPopup_; }
  void SetAutoPopup(bool value) { autoPopup_ = value; }
  // The control the menu was last opened for.
  TComponent* PopupComponent() const { return popupComponent_; }
  void SetPopupComponent(TComponent* value) { popupComponent_ = value; }
  TMenuAnimation MenuAnimation() const { return menuAnimation_; }
  void SetMenuAnimation(TMenuAnimation value) { menuAnimation_ = value; }

  TNotifyEvent OnPopup;

 private:
  bool autoPopup_ = true;
  TComponent* popupComponent_ = nullptr;
  TMenuAnimation menuAnimation_ = 0;
};

namespace efir {

// The system's menu font.
void AssignMenuFont(TFont& font);
// Hands a window's WM_MEASUREITEM or WM_DRAWITEM for a live menu item (lParam as the window
// got it) to the item; false when it is not about one.
bool RouteMenuOwnerDraw(UINT msg, LPARAM lParam);

}  // namespace efir
