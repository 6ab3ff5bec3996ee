#include "framework/menus.h"

#include "framework/application.h"
#include "framework/canvas.h"
#include "framework/graphics_objects.h"
#include "framework/text_encoding.h"

#include <algorithm>
#include <map>
#include <set>

namespace {

std::map<UINT, TMenuItem*>& Commands() {
  static std::map<UINT, TMenuItem*> commands;
  return commands;
}

std::set<const TMenuItem*>& LiveItems() {
  static std::set<const TMenuItem*> items;
  return items;
}

UINT NextCommand() {
  static UINT last = 0x100;
  return ++last;
}

UINT TypeOf(const TMenuItem& item, bool ownerDraw) {
  static constexpr UINT kBreaks[] = {0, MFT_MENUBREAK, MFT_MENUBARBREAK};
  UINT type = kBreaks[item.Break()];
  if (item.IsLine()) type |= MFT_SEPARATOR;
  else if (!ownerDraw) type |= MFT_STRING;
  if (item.RadioItem()) type |= MFT_RADIOCHECK;
  if (ownerDraw) type |= MFT_OWNERDRAW;
  return type;
}

// The text a plain item shows: the caption, and its shortcut after a tab.
std::wstring PlainText(const TMenuItem& item) {
  std::string text = item.Caption();
  std::string shortCut = ShortCutToText(item.ShortCut());
  if (!shortCut.empty()) text += "\t" + shortCut;
  return efir::text::fromAnsi(text);
}

// The default look of owner-drawn items without handlers of their own: the system's colours
// and font, a check column as wide as the item is high.
constexpr int kTextGap = 8;

void MeasureDefault(const TMenuItem& item, TCanvas& canvas, int& width, int& height) {
  if (item.IsLine()) {
    width = 0;
    height = GetSystemMetrics(SM_CYMENU) / 2;
    return;
  }
  SIZE text = canvas.TextExtent(item.Caption());
  height = std::max<int>(text.cy + 4, GetSystemMetrics(SM_CYMENUCHECK));
  width = height + text.cx + kTextGap;
  std::string shortCut = ShortCutToText(item.ShortCut());
  if (!shortCut.empty()) width += canvas.TextWidth(shortCut) + 2 * kTextGap;
}

void DrawDefault(const TMenuItem& item, TCanvas& canvas, RECT rect, TOwnerDrawState state) {
  bool selected = (state & odSelected) && !item.IsLine();
  canvas.Brush().SetColor(selected ? clHighlight : clMenu);
  canvas.FillRect(rect);
  if (item.IsLine()) {
    RECT line{rect.left + 2, (rect.top + rect.bottom) / 2 - 1, rect.right - 2, (rect.top + rect.bottom) / 2 + 1};
    DrawEdge(canvas.Handle(), &line, EDGE_ETCHED, BF_TOP);
    return;
  }
  TColor text = !item.Enabled() ? clGrayText : selected ? clHighlightText : clMenuText;
  canvas.Font().SetColor(text);
  canvas.Brush().SetStyle(bsClear);
  int check = rect.bottom - rect.top;
  if (state & odChecked) {
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(text);
    RECT mark{rect.left + check / 3, rect.top + check / 3, rect.left + check - check / 3, rect.bottom - check / 3};
    if (item.RadioItem()) Ellipse(canvas.Handle(), mark.left, mark.top, mark.right, mark.bottom);
    else canvas.FillRect(mark);
    canvas.Brush().SetStyle(bsClear);
  }
  RECT textRect{rect.left + check, rect.top, rect.right - kTextGap, rect.bottom};
  UINT flags = DT_SINGLELINE | DT_VCENTER | (state & odNoAccel ? DT_HIDEPREFIX : 0);
  canvas.TextRect(textRect, item.Caption(), flags);
  std::string shortCut = ShortCutToText(item.ShortCut());
  if (!shortCut.empty()) canvas.TextRect(textRect, shortCut, flags | DT_RIGHT);
}

TOwnerDrawState StateOf(const DRAWITEMSTRUCT& draw) {
  static constexpr std::pair<UINT, TOwnerDrawState> kStates[] = {
      {ODS_SELECTED, odSelected}, {ODS_GRAYED, odGrayed},     {ODS_DISABLED, odDisabled},
      {ODS_CHECKED, odChecked},   {ODS_FOCUS, odFocused},     {ODS_DEFAULT, odDefault},
      {ODS_HOTLIGHT, odHotLight}, {ODS_INACTIVE, odInactive}, {ODS_NOACCEL, odNoAccel},
      {ODS_NOFOCUSRECT, odNoFocusRect}};
  TOwnerDrawState state = 0;
  for (auto [ods, od] : kStates)
    if (draw.itemState & ods) state |= od;
  return state;
}

// While an owner-drawn popup is open, its owner window's measure and draw requests for menu
// items go to the items; everything else reaches the window's own procedure unchanged. The
// owner is the active form or the application's window, so the routing rides on a subclass
// for the length of the menu. Others may subclass the owner meanwhile: the procedure is only
// given back while ours is still the current one, and otherwise stays to pass messages on.
constexpr wchar_t kRoutedProc[] = L"EfirMenuOwnerProc";

bool RouteOwnerDraw(UINT msg, LPARAM lp) {
  if (msg == WM_MEASUREITEM) {
    auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
    TMenuItem* item = measure->CtlType == ODT_MENU ? TMenuItem::FromItemData(measure->itemData) : nullptr;
    if (!item) return false;
    efir::Guarded([&] {
      HDC dc = CreateCompatibleDC(nullptr);
      {
        TCanvas canvas(dc);
        efir::AssignMenuFont(canvas.Font());
        int width = static_cast<int>(measure->itemWidth), height = static_cast<int>(measure->itemHeight);
        item->MeasureItem(&canvas, width, height);
        measure->itemWidth = static_cast<UINT>(std::max(width, 0));
        measure->itemHeight = static_cast<UINT>(std::max(height, 0));
      }
      DeleteDC(dc);
    });
    return true;
  }
  if (msg == WM_DRAWITEM) {
    auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
    TMenuItem* item = draw->CtlType == ODT_MENU ? TMenuItem::FromItemData(draw->itemData) : nullptr;
    if (!item) return false;
    efir::Guarded([&] {
      int saved = SaveDC(draw->hDC);
      {
        TCanvas canvas(draw->hDC);
        efir::AssignMenuFont(canvas.Font());
        item->AdvancedDrawItem(&canvas, draw->rcItem, StateOf(*draw));
      }
      RestoreDC(draw->hDC, saved);
    });
    return true;
  }
  return false;
}

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto previous = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kRoutedProc));
  if ((msg == WM_MEASUREITEM || msg == WM_DRAWITEM) && RouteOwnerDraw(msg, lp)) return TRUE;
  if (msg == WM_NCDESTROY) {
    RemovePropW(hwnd, kRoutedProc);
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)) == OwnerProc)
      SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
  }
  return previous ? CallWindowProcW(previous, hwnd, msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
}

class OwnerDrawRouting {
 public:
  explicit OwnerDrawRouting(HWND owner) : owner_(owner) {
    if (GetPropW(owner, kRoutedProc)) return;  // routed already (an earlier menu left it on)
    auto previous = SetWindowLongPtrW(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OwnerProc));
    SetPropW(owner, kRoutedProc, reinterpret_cast<HANDLE>(previous));
    installed_ = true;
  }
  ~OwnerDrawRouting() {
    if (!installed_ || !IsWindow(owner_)) return;
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(owner_, GWLP_WNDPROC)) != OwnerProc) return;
    SetWindowLongPtrW(owner_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GetPropW(owner_, kRoutedProc)));
    RemovePropW(owner_, kRoutedProc);
  }
  OwnerDrawRouting(const OwnerDrawRouting&) = delete;
  OwnerDrawRouting& operator=(const OwnerDrawRouting&) = delete;

 private:
  HWND owner_;
  bool installed_ = false;
};

UINT AnimationFlags(TMenuAnimation animation) {
  if (animation & maNone) return TPM_NOANIMATION;
  UINT flags = 0;
  if (animation & maLeftToRight) flags |= TPM_HORPOSANIMATION;
  if (animation & maRightToLeft) flags |= TPM_HORNEGANIMATION;
  if (animation & maTopToBottom) flags |= TPM_VERPOSANIMATION;
  if (animation & maBottomToTop) flags |= TPM_VERNEGANIMATION;
  return flags;
}

}  // namespace

TMenuItem::TMenuItem(TComponent* AOwner) : TComponent(AOwner), command_(NextCommand()) {
  Commands()[command_] = this;
  LiveItems().insert(this);
}

TMenuItem::~TMenuItem() {
  Commands().erase(command_);
  LiveItems().erase(this);
  while (!items_.empty()) items_.back()->Free();
  if (parent_) parent_->Remove(this);
}

void TMenuItem::SetCaption(const std::string& value) {
  if (caption_ == value) return;
  caption_ = value;
  MenuChanged(false);
}

void TMenuItem::SetChecked(bool value) {
  if (checked_ == value) return;
  checked_ = value;
  MenuChanged(false);
}

void TMenuItem::SetEnabled(bool value) {
  if (enabled_ == value) return;
  enabled_ = value;
  MenuChanged(false);
}

void TMenuItem::SetVisible(bool value) {
  if (visible_ == value) return;
  visible_ = value;
  MenuChanged(true);
}

void TMenuItem::SetDefault(bool value) {
  if (default_ == value) return;
  default_ = value;
  MenuChanged(false);
}

void TMenuItem::SetRadioItem(bool value) {
  if (radioItem_ == value) return;
  radioItem_ = value;
  MenuChanged(false);
}

void TMenuItem::SetBreak(TMenuBreak value) {
  if (break_ == value) return;
  break_ = value;
  MenuChanged(true);
}

void TMenuItem::SetShortCut(TShortCut value) {
  if (shortCut_ == value) return;
  shortCut_ = value;
  MenuChanged(false);
}

void TMenuItem::SetGroupIndex(int value) {
  if (groupIndex_ == value) return;
  groupIndex_ = value;
  MenuChanged(true);
}

void TMenuItem::SetImageIndex(int value) {
  if (imageIndex_ == value) return;
  imageIndex_ = value;
  MenuChanged(false);
}

TBitmap* TMenuItem::Bitmap() {
  if (!bitmap_) bitmap_ = std::make_unique<TBitmap>();
  return bitmap_.get();
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
  auto found = std::find(items_.begin(), items_.end(), item);
  return found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
}

void TMenuItem::Add(TMenuItem* item) {
  Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item) {
  if (item->parent_) item->parent_->Remove(item);
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
  MenuChanged(true);
}

void TMenuItem::Remove(TMenuItem* item) {
  items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
  item->parent_ = nullptr;
  MenuChanged(true);
}

void TMenuItem::Clear() {
  while (!items_.empty()) items_.back()->Free();
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* root = this;
  while (root->parent_) root = root->parent_;
  return root->menu_;
}

void TMenuItem::MenuChanged(bool rebuild) {
  if (TMenu* menu = GetParentMenu()) menu->Changed(menu_ ? nullptr : this, rebuild);
}

void TMenuItem::Click() {
  if (OnClick) OnClick(this);
}

void TMenuItem::MeasureItem(TCanvas* canvas, int& width, int& height) {
  MeasureDefault(*this, *canvas, width, height);
  if (OnMeasureItem) OnMeasureItem(this, canvas, width, height);
}

void TMenuItem::AdvancedDrawItem(TCanvas* canvas, const RECT& rect, TOwnerDrawState state) {
  if (OnAdvancedDrawItem) OnAdvancedDrawItem(this, canvas, rect, state);
  else DrawDefault(*this, *canvas, rect, state);
}

TMenuItem* TMenuItem::FindCommand(UINT command) {
  auto found = Commands().find(command);
  return found == Commands().end() ? nullptr : found->second;
}

TMenuItem* TMenuItem::FromItemData(ULONG_PTR data) {
  auto* item = reinterpret_cast<TMenuItem*>(data);
  return LiveItems().count(item) ? item : nullptr;
}

HMENU TMenuItem::BuildMenu(bool ownerDraw) const { return FillMenu(CreatePopupMenu(), ownerDraw); }

HMENU TMenuItem::BuildMenuBar(bool ownerDraw) const { return FillMenu(CreateMenu(), ownerDraw); }

HMENU TMenuItem::BuildMenuBar(const std::vector<TMenuItem*>& items, bool ownerDraw) {
  HMENU bar = CreateMenu();
  for (const TMenuItem* item : items) item->AppendTo(bar, ownerDraw);
  return bar;
}

HMENU TMenuItem::FillMenu(HMENU menu, bool ownerDraw) const {
  for (const TMenuItem* item : items_)
    if (item->visible_) item->AppendTo(menu, ownerDraw);
  return menu;
}

void TMenuItem::AppendTo(HMENU menu, bool ownerDraw) const {
  MENUITEMINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA;
  info.fType = TypeOf(*this, ownerDraw);
  info.fState = (checked_ ? MFS_CHECKED : 0) | (enabled_ ? 0 : MFS_GRAYED) | (default_ ? MFS_DEFAULT : 0);
  info.wID = command_;
  info.dwItemData = reinterpret_cast<ULONG_PTR>(this);
  std::wstring text = PlainText(*this);
  if (!IsLine()) {
    // Owner-drawn items keep their text too: the system finds mnemonics in it.
    info.fMask |= MIIM_STRING;
    info.dwTypeData = text.data();
  }
  if (!items_.empty()) {
    info.fMask |= MIIM_SUBMENU;
    info.hSubMenu = BuildMenu(ownerDraw);
  }
  InsertMenuItemW(menu, GetMenuItemCount(menu), TRUE, &info);
}

TMenu::TMenu(TComponent* AOwner) : TComponent(AOwner), items_(new TMenuItem(nullptr)) {
  items_->menu_ = this;
}

TMenu::~TMenu() {
  items_->menu_ = nullptr;  // the items' departures are no news any more
  items_->Free();
}

void TMenu::SetOwnerDraw(bool value) {
  if (ownerDraw_ == value) return;
  ownerDraw_ = value;
  Changed(nullptr, false);
}

void TMenu::SetImages(HIMAGELIST value) {
  if (images_ == value) return;
  images_ = value;
  // Owner-drawn items measure their images: the sizes change.
  Changed(nullptr, true);
}

void TMenu::Changed(TMenuItem* source, bool rebuild) {
  if ((ComponentState() & csDestroying) || !OnChange) return;
  OnChange(this, source, rebuild);
}

TPopupMenu::TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}

void TPopupMenu::Popup(int X, int Y) {
  if (OnPopup) OnPopup(this);
  HMENU menu = Items()->BuildMenu(OwnerDraw());
  // The menu closes on a click elsewhere only when its owner is the foreground window: the
  // active form, or the application's window for a menu opened from outside (the tray).
  HWND owner = GetActiveWindow();
  if (!owner) {
    owner = Application.Handle();
    SetForegroundWindow(owner);
  }
  UINT command = 0;
  {
    std::unique_ptr<OwnerDrawRouting> routing;
    if (OwnerDraw()) routing = std::make_unique<OwnerDrawRouting>(owner);
    command = static_cast<UINT>(TrackPopupMenuEx(
        menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY | AnimationFlags(menuAnimation_), X, Y, owner, nullptr));
  }
  PostMessageW(owner, WM_NULL, 0, 0);
  DestroyMenu(menu);
  if (!command) return;
  Application.QueueCall([command] {
    if (TMenuItem* item = TMenuItem::FindCommand(command)) item->Click();
  });
}

namespace efir {

bool RouteMenuOwnerDraw(UINT msg, LPARAM lParam) { return RouteOwnerDraw(msg, lParam); }

void AssignMenuFont(TFont& font) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return;
  const LOGFONTW& log = metrics.lfMenuFont;
  font.SetName(text::toAnsi(log.lfFaceName));
  font.SetHeight(log.lfHeight);
  font.SetCharset(log.lfCharSet);
  TFontStyles style = 0;
  if (log.lfWeight >= FW_BOLD) style |= fsBold;
  if (log.lfItalic) style |= fsItalic;
  font.SetStyle(style);
}

}  // namespace efir
