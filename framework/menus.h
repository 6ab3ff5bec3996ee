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
#pragma once

#include "framework/component.h"

#include <windows.h>

#include <string>
#include <vector>

class TMenuItem : public TComponent {
 public:
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& value) { caption_ = value; }
  bool Checked() const { return checked_; }
  void SetChecked(bool value) { checked_ = value; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value) { enabled_ = value; }
  bool Visible() const { return visible_; }
  void SetVisible(bool value) { visible_ = value; }
  bool Default() const { return default_; }
  void SetDefault(bool value) { default_ = value; }

  // Sub-items.
  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int index) const { return items_.at(static_cast<size_t>(index)); }
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  void Remove(TMenuItem* item);
  TMenuItem* Parent() const { return parent_; }

  // Raises OnClick (what choosing the item does).
  virtual void Click();
  TNotifyEvent OnClick;

  // Builds the system menu of the visible sub-items; the caller destroys it.
  HMENU BuildMenu() const;
  // The item with that command number in the whole program, or nullptr.
  static TMenuItem* FindCommand(UINT command);

 private:
  void AppendTo(HMENU menu) const;

  std::string caption_;
  bool checked_ = false;
  bool enabled_ = true;
  bool visible_ = true;
  bool default_ = false;
  UINT command_;
  TMenuItem* parent_ = nullptr;
  std::vector<TMenuItem*> items_;
};

class TPopupMenu : public TComponent {
 public:
  explicit TPopupMenu(TComponent* AOwner);
  ~TPopupMenu() override;

  TMenuItem* Items() const { return items_; }
  // Shows the menu at screen coordinates and returns when it has closed.
  virtual void Popup(int X, int Y);
  // Whether a right click on a control whose PopupMenu this is opens it.
  bool AutoPopup() const { return autoPopup_; }
  void SetAutoPopup(bool value) { autoPopup_ = value; }
  // The control the menu was last opened for.
  TComponent* PopupComponent() const { return popupComponent_; }
  void SetPopupComponent(TComponent* value) { popupComponent_ = value; }

  TNotifyEvent OnPopup;

 private:
  TMenuItem* items_;
  bool autoPopup_ = true;
  TComponent* popupComponent_ = nullptr;
};
