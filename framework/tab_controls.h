// Tab controls: a strip of tabs (TTabControl) and a stack of pages switched by tabs
// (TPageControl with TTabSheet pages), on the system's tab control.
//
//   auto* tabs = efir::Place(new TTabControl(this), this, 8, 8, 300, 200);
//   tabs->AddTab("Общие");
//   tabs->OnChange = [](TObject*) { ... tabs->TabIndex() ... };
//   tabs->SetImages(imageList);            // the caller's list; a tab shows none until
//   tabs->SetTabImageIndex(0, 2);          // it is given an index
//
//   auto* pages = efir::Place(new TPageControl(this), this, 8, 8, 300, 200);
//   auto* sheet = new TTabSheet(this);
//   sheet->SetPageControl(pages);          // a tab with the sheet's caption; the sheet fills
//   sheet->SetCaption("Звук");             // the display area and shows while it is active
//
// The tabs live in the control, not only in its window: a window made anew gets them back.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "framework/controls.h"

class TTabControl : public TWinControl {
 public:
  explicit TTabControl(TComponent* AOwner);
  int TabCount() const { return static_cast<int>(tabs_.size()); }
  const std::string& TabCaption(int index) const { return tabs_.at(static_cast<size_t>(index)); }
  void AddTab(const std::string& caption);
  void SetTabCaption(int index, const std::string& caption);
  void DeleteTab(int index);
  // The image of a tab in Images; -1: none.
  int TabImageIndex(int index) const { return tabImages_.at(static_cast<size_t>(index)); }
  void SetTabImageIndex(int index, int image);
  // The tabs' image list (nullptr: none); the caller keeps it.
  HIMAGELIST Images() const { return images_; }
  void SetImages(HIMAGELIST images);
  // -1 when there are no tabs.
  int TabIndex() const { return tabIndex_; }
  void SetTabIndex(int index);
  // Tabs at the bottom, left or right instead of the top (style bits of the system control).
  DWORD TabStyle() const { return tabStyle_; }
  void SetTabStyle(DWORD style);

  // Raised when the user picks another tab.
  TNotifyEvent OnChange;

  void WndProc(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void AdjustClientRect(RECT& rect) override;
  virtual void TabChanged();

 private:
  std::vector<std::string> tabs_;
  std::vector<int> tabImages_;
  HIMAGELIST images_ = nullptr;
  int tabIndex_ = -1;
  DWORD tabStyle_ = 0;
};

class TPageControl;

class TTabSheet : public TWinControl {
 public:
  explicit TTabSheet(TComponent* AOwner);
  ~TTabSheet() override;
  TPageControl* PageControl() const { return pageControl_; }
  void SetPageControl(TPageControl* control);

 protected:
  void TextChanged() override;

 private:
  TPageControl* pageControl_ = nullptr;
};

class TPageControl : public TTabControl {
 public:
  explicit TPageControl(TComponent* AOwner);
  int PageCount() const { return static_cast<int>(pages_.size()); }
  TTabSheet* Pages(int index) const { return pages_.at(static_cast<size_t>(index)); }
  TTabSheet* ActivePage() const;
  void SetActivePage(TTabSheet* page);

 protected:
  void TabChanged() override;

 private:
  friend class TTabSheet;
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  void ShowActivePage();

  std::vector<TTabSheet*> pages_;
};
