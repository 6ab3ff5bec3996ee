#include "framework/tab_controls.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/text_encoding.h"

namespace {

void InsertTabItem(HWND wnd, int index, const std::string& caption, int image) {
  std::wstring text = efir::text::fromAnsi(caption);
  TCITEMW item{};
  item.mask = TCIF_TEXT | TCIF_IMAGE;
  item.pszText = text.data();
  item.iImage = image;
  SendMessageW(wnd, TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

}  // namespace

// ---------------------------------------------------------------------------- TTabControl

TTabControl::TTabControl(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 289, 193);
  SetTabStop(true);
}

void TTabControl::CreateParams(TCreateParams& Params) {
  efir::InitCommonControlClasses();
  TWinControl::CreateParams(Params);
  Params.SystemClass = WC_TABCONTROLW;
  Params.Style |= WS_CLIPCHILDREN | tabStyle_;
}

void TTabControl::CreateWnd() {
  TWinControl::CreateWnd();
  if (images_) SendMessageW(Handle(), TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_));
  for (int i = 0; i < TabCount(); ++i)
    InsertTabItem(Handle(), i, tabs_[static_cast<size_t>(i)], tabImages_[static_cast<size_t>(i)]);
  SendMessageW(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(tabIndex_), 0);
  // Only the window knows the display area: the pages are placed again now that it exists.
  AlignControls();
}

void TTabControl::AddTab(const std::string& caption) {
  tabs_.push_back(caption);
  tabImages_.push_back(-1);
  if (HandleAllocated()) InsertTabItem(Handle(), TabCount() - 1, caption, -1);
  if (tabIndex_ < 0) SetTabIndex(0);
  AlignControls();
}

void TTabControl::SetTabCaption(int index, const std::string& caption) {
  tabs_.at(static_cast<size_t>(index)) = caption;
  if (!HandleAllocated()) return;
  std::wstring text = efir::text::fromAnsi(caption);
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text.data();
  SendMessageW(Handle(), TCM_SETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void TTabControl::SetTabImageIndex(int index, int image) {
  tabImages_.at(static_cast<size_t>(index)) = image;
  if (!HandleAllocated()) return;
  TCITEMW item{};
  item.mask = TCIF_IMAGE;
  item.iImage = image;
  SendMessageW(Handle(), TCM_SETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

void TTabControl::SetImages(HIMAGELIST images) {
  if (images == images_) return;
  images_ = images;
  if (!HandleAllocated()) return;
  SendMessageW(Handle(), TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
  // The tabs' sizes follow the images: the pages' display area may have moved.
  AlignControls();
}

void TTabControl::DeleteTab(int index) {
  if (index < 0 || index >= TabCount()) return;
  tabs_.erase(tabs_.begin() + index);
  tabImages_.erase(tabImages_.begin() + index);
  if (HandleAllocated()) SendMessageW(Handle(), TCM_DELETEITEM, static_cast<WPARAM>(index), 0);
  if (tabIndex_ >= TabCount()) tabIndex_ = TabCount() - 1;
  if (HandleAllocated()) SendMessageW(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(tabIndex_), 0);
  TabChanged();
}

void TTabControl::SetTabIndex(int index) {
  if (index < -1 || index >= TabCount()) return;
  tabIndex_ = index;
  if (HandleAllocated()) SendMessageW(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
  TabChanged();
}

void TTabControl::SetTabStyle(DWORD style) {
  if (style == tabStyle_) return;
  tabStyle_ = style;
  if (HandleAllocated()) RecreateWnd();
}

void TTabControl::TabChanged() {}

void TTabControl::AdjustClientRect(RECT& rect) {
  if (HandleAllocated()) SendMessageW(Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rect));
}

void TTabControl::WndProc(TMessage& Message) {
  if (Message.Msg == CN_NOTIFY && reinterpret_cast<NMHDR*>(Message.LParam)->code == static_cast<UINT>(TCN_SELCHANGE)) {
    tabIndex_ = static_cast<int>(SendMessageW(Handle(), TCM_GETCURSEL, 0, 0));
    TabChanged();
    if (OnChange) OnChange(this);
    return;
  }
  TWinControl::WndProc(Message);
}

// ---------------------------------------------------------------------------- TTabSheet

TTabSheet::TTabSheet(TComponent* AOwner) : TWinControl(AOwner) {
  SetAlign(alClient);
  SetVisible(false);
}

TTabSheet::~TTabSheet() { SetPageControl(nullptr); }

void TTabSheet::SetPageControl(TPageControl* control) {
  if (control == pageControl_) return;
  if (pageControl_) pageControl_->RemovePage(this);
  pageControl_ = control;
  SetParent(control);
  if (control) control->InsertPage(this);
}

void TTabSheet::TextChanged() {
  TWinControl::TextChanged();
  if (!pageControl_) return;
  const auto& pages = pageControl_->pages_;
  const auto at = std::find(pages.begin(), pages.end(), this);
  if (at != pages.end()) pageControl_->SetTabCaption(static_cast<int>(at - pages.begin()), Caption());
}

// ---------------------------------------------------------------------------- TPageControl

TPageControl::TPageControl(TComponent* AOwner) : TTabControl(AOwner) {}

TTabSheet* TPageControl::ActivePage() const {
  return TabIndex() >= 0 && TabIndex() < PageCount() ? Pages(TabIndex()) : nullptr;
}

void TPageControl::SetActivePage(TTabSheet* page) {
  const auto at = std::find(pages_.begin(), pages_.end(), page);
  if (at != pages_.end()) SetTabIndex(static_cast<int>(at - pages_.begin()));
}

void TPageControl::InsertPage(TTabSheet* page) {
  pages_.push_back(page);
  AddTab(page->Caption());
  ShowActivePage();
}

void TPageControl::RemovePage(TTabSheet* page) {
  const auto at = std::find(pages_.begin(), pages_.end(), page);
  if (at == pages_.end()) return;
  const int index = static_cast<int>(at - pages_.begin());
  pages_.erase(at);
  DeleteTab(index);
  ShowActivePage();
}

void TPageControl::TabChanged() { ShowActivePage(); }

void TPageControl::ShowActivePage() {
  TTabSheet* active = ActivePage();
  for (TTabSheet* page : pages_) page->SetVisible(page == active);
}
