// The main menu: the menu bar a form shows under its caption.
//
//   MainMenu1 = new TMainMenu(this);
//   N1 = new TMenuItem(this);
//   N1->SetCaption("&Файл");
//   MainMenu1->Items()->Add(N1);            // a top-level item; its own items open below it
//   SetMenu(MainMenu1);                      // on the form: the bar shows from now on
//   MainMenu1->SetImages(imageList);         // N1->SetImageIndex(0) picks an image; the list
//                                            // shows where the bar is owner-drawn
//
// An MDI parent shows the top-level items of its active child's menu in its own bar, merged
// by GroupIndex (MergedBarItems); the child shows no bar of its own.
//
// The bar is built anew from the items whenever the menu changes, so items may be added,
// hidden or restyled at any time. Choosing an item runs its OnClick from the form's window
// procedure. Owner-drawn (OwnerDraw), every item of the bar and of its popups is measured
// and drawn by its OnMeasureItem and OnAdvancedDrawItem, as popup menus are.
#pragma once

#include "framework/menus.h"

#include <vector>

class TForm;

class TMainMenu : public TMenu {
 public:
  explicit TMainMenu(TComponent* AOwner);
  ~TMainMenu() override;

  // The form that shows the menu (nullptr: none) and the bar it shows now (nullptr while
  // the form has no window).
  TForm* Form() const { return form_; }
  HMENU Handle() const;
  // Builds the bar again, as a change of the items does.
  void Refresh() { Changed(nullptr, true); }

 protected:
  void Changed(TMenuItem* source, bool rebuild) override;

 private:
  friend class TForm;
  TForm* form_ = nullptr;
};

namespace efir {

// The visible top-level items of a bar `own` shows with `merged` (an active MDI child's items,
// or nullptr) merged in: taken in order, each child item goes before the first item of `own`
// of a higher group, and the items of `own` whose group a child item has are left out.
std::vector<TMenuItem*> MergedBarItems(const TMenuItem& own, const TMenuItem* merged);

}  // namespace efir
