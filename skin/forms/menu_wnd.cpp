#include "skin/forms/menu_wnd.h"

#include "framework/application.h"
#include "skin/engine/alpha_blend.h"
#include "skin/engine/common_data.h"
#include "skin/engine/extended_borders.h"
#include "skin/engine/fills.h"
#include "skin/engine/item_paint.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_manager.h"
#include "skin/forms/skinnable_menus.h"
#include "skin/forms/window_relays.h"

std::vector<std::unique_ptr<TacMnuWnd>> PopupAdapters;

namespace {

// Whether an item of the window's menu is measured by the skinned menus; -1 while the
// window has no menu yet.
int MenuItemsOfPainter(HWND wnd) {
  auto menu = reinterpret_cast<HMENU>(SendMessageW(wnd, MN_GETHMENU, 0, 0));
  if (!menu) return -1;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info) || !(info.fType & MFT_OWNERDRAW)) continue;
    const TMenuItem* item = TMenuItem::FromItemData(info.dwItemData);
    if (item && MeasuredBySkinnedMenus(item)) return 1;
  }
  return 0;
}

}  // namespace

TacMnuWnd::TacMnuWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section)
    : TacScrollWnd(wnd, skinData, manager, section) {
  UpdateSkinIndexes(*SkinData);
}

void TacMnuWnd::AdapterWndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_DESTROY:
    case WM_NCDESTROY:
      WindowDestroyed(message);
      return;
    case SM_ALPHACMD:
      AnswerSkinCommand(message);
      return;
    case WM_ERASEBKGND:
      if (!PaintsSkinned()) break;
      EraseBackground(reinterpret_cast<HDC>(message.WParam));
      return;
    case WM_NCPAINT:
      if (!PaintsSkinned()) break;
      PaintBorder();
      return;
  }
  TacScrollWnd::AdapterWndProc(message);
}

void TacMnuWnd::WindowDestroyed(TMessage& message) {
  BorderDrawn = 0;
  std::unique_ptr<TacMnuWnd> self;
  for (auto& slot : PopupAdapters) {
    if (!slot || slot->Wnd != Wnd) continue;
    if (slot.get() == this) self = std::move(slot);
    else slot.reset();
  }
  ForwardToReplacedWndProc(message);
  if (!Detached) Detach(false);
  // Freed here when the array held it: from now on only what the popups share.
  self.reset();
  ClearMenuCache();
  bool anyLeft = false;
  for (auto& slot : PopupAdapters) {
    if (!slot) continue;
    anyLeft = true;
    RedrawWindow(slot->Wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_FRAME);
  }
  if (!anyLeft) ClearPopupAdapters();
  PopupItemsMeasured = false;
}

void TacMnuWnd::AnswerSkinCommand(TMessage& message) {
  switch (SkinSubCommand(message.WParam)) {
    case SKC_ISSKINNED:
      message.Result = 1;
      return;
    case SKC_SETUPDATING:  // for a popup window: are its region and border set up?
      message.Result = BorderDrawn;
      return;
    case SKC_SETBORDERDRAWN:
      if (IsWindowVisible(Wnd)) BorderDrawn = 1;
      return;
    case SKC_GETAPPLICATION:
      message.Result = reinterpret_cast<LRESULT>(&Application);
      return;
    default:
      return;
  }
}

bool TacMnuWnd::PaintsSkinned() {
  if (!PopupItemsMeasured || !SkinActive()) return false;
  if (itemsOurs_ < 0) itemsOurs_ = MenuItemsOfPainter(Wnd);
  if (itemsOurs_ == 0) PopupItemsMeasured = false;
  return itemsOurs_ > 0;
}

void TacMnuWnd::PrepareCache() {
  ReadWindowPlacement();
  TsCommonData& d = *SkinData;
  if (!d.BackgroundChanged) return;
  if (!d.CacheBitmap) d.CacheBitmap = NewBitmap24(WindowSize.cx, WindowSize.cy);
  d.CacheBitmap->SetSize(WindowSize.cx, WindowSize.cy);
  const POINT at{WindowRect.left - ParentRect.left, WindowRect.top - ParentRect.top};
  RenderControlItem(d, EmptyCacheSourceInfo, true, 0, {0, 0, WindowSize.cx, WindowSize.cy}, at, d.CacheBitmap.get(),
                    true);
  RestoreAdapterCorners(d, 0, *this);
  d.BackgroundChanged = false;
}

void TacMnuWnd::EraseBackground(HDC given) {
  PrepareCache();
  HDC dc = given ? given : GetDC(Wnd);
  // The window's picture is larger than the client area by the system's border outside it
  // (none where the system draws its border inside).
  const POINT inset = PopupClientOffset(Wnd);
  TBitmap& cache = *SkinData->CacheBitmap;
  BitBlt(dc, 0, 0, cache.Width(), cache.Height(), cache.Canvas().Handle(), inset.x, inset.y, SRCCOPY);
  if (!given) ReleaseDC(Wnd, dc);
  BorderDrawn = 0;
}

void TacMnuWnd::PaintBorder() {
  TsSkinManager* manager = Manager();
  if (!manager) return;
  TsSkinableMenus& painter = SkinableMenusOf(*manager);
  MenuCacheEntry* entry = painter.FindMenuCacheEntry(nullptr, 0, 0, Wnd);
  ReadWindowPlacement();
  HDC dc = GetWindowDC(Wnd);
  if (!dc) return;
  TBitmap* source = entry && entry->Bitmap ? entry->Bitmap.get() : nullptr;
  // A picture of another size belongs to a menu whose size changed: the border comes from a
  // fresh MAINMENU picture instead.
  if (!source || source->Width() != WindowSize.cx || source->Height() != WindowSize.cy) {
    PrepareCache();
    source = SkinData->CacheBitmap.get();
  }
  CopyBorderFrame(dc, 0, 0, source->Width(), source->Height(), source->Canvas().Handle(), 0, 0, painter.BorderWidth);
  ReleaseDC(Wnd, dc);
}

void ClearPopupAdapters() {
  // Moved out first: freeing an adapter gives a procedure back, which must not reach a list
  // that is being emptied.
  auto gone = std::move(PopupAdapters);
  PopupAdapters.clear();
  gone.clear();
}

size_t LivePopupAdapterCount() {
  size_t count = 0;
  for (auto& slot : PopupAdapters)
    if (slot) ++count;
  return count;
}

void AdaptPopupWindow(HWND wnd, TsSkinManager* manager) {
  if (!wnd || !manager || !manager->SkinnedPopups() || WindowClassLower(wnd) != "#32768") return;
  if (DwmCompositionEnabled() || WindowAcknowledgesSkinCommand(wnd, SKC_ISSKINNED)) return;
  auto adapter = AttachAdapter<TacMnuWnd>(wnd, nullptr, manager, "MAINMENU", false);
  if (adapter->Detached) return;  // the window already had an adapter
  adapter->Wnd = wnd;
  PopupAdapters.push_back(std::move(adapter));
}
