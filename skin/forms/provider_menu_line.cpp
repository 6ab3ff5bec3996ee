// The menu line of a skinned form: its main menu's bar drawn from the skin. The frame image
// holds the MENULINE band; MenuLineBmp keeps that band alone, so that an item can be drawn
// again over its own background whenever the system asks (the item painters are the skinned
// menus', installed on the bar's top-level items).
#include "framework/bitmap.h"
#include "framework/flag_scope.h"
#include "framework/canvas.h"
#include "framework/gdi.h"
#include "framework/main_menu.h"
#include "skin/engine/alpha_blend.h"
#include "skin/engine/common_data.h"
#include "skin/engine/engine_routines.h"
#include "skin/engine/extended_borders.h"
#include "skin/engine/item_paint.h"
#include "skin/engine/skin_constants.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/forms/frame_metrics.h"
#include "skin/forms/mdi_client.h"
#include "skin/forms/skin_provider.h"
#include "skin/forms/skinnable_menus.h"

namespace {

bool HasBarHandlers(const TMenuItem* item) { return item->OnMeasureItem && item->OnAdvancedDrawItem; }

RECT MenuItemScreenRect(HWND wnd, int position) {
  RECT r{};
  if (!GetMenuItemRect(wnd, GetMenu(wnd), static_cast<UINT>(position), &r)) SetRectEmpty(&r);
  return r;
}

// Calls each(item, screen rectangle, row) for the top-level items the menu line draws, in
// order, wrapping rows where the next item no longer fits the form's width. Every item of
// the bar holds a position, drawn by the line or not; a maximized MDI child's icon holds the
// first.
template <class Each>
int WalkMenuLine(TsSkinProvider& provider, Each each) {
  TForm* form = provider.Form;
  TMainMenu* menu = form ? form->Menu() : nullptr;
  if (!menu || !form->HandleAllocated()) return 1;
  const HWND wnd = form->Handle();
  const int start = provider.FrameBorderWidth(true);
  const int room = form->Width() - 2 * start;
  int rows = 1, x = start, position = 0;
  if (&provider == MDISkinProvider && MDIChildIconOnMenuLine()) {
    const RECT icon = MenuItemScreenRect(wnd, 0);
    x += icon.right - icon.left;
    position = 1;
  }
  // An MDI parent's bar holds its active child's items merged in, in the bar's order.
  TForm* child = form->FormStyle() == fsMDIForm ? form->ActiveMDIChild() : nullptr;
  for (TMenuItem* item : efir::MergedBarItems(*menu->Items(), child && child->Menu() ? child->Menu()->Items() : nullptr)) {
    const int at = position++;
    if (!HasBarHandlers(item)) continue;
    const RECT r = MenuItemScreenRect(wnd, at);
    const int w = r.right - r.left;
    if (room < x + w) {
      ++rows;
      x = start;
    }
    x += w;
    each(item, r, rows);
  }
  return rows;
}

// Whether the form's bar holds the item's menu: its own, or an MDI parent's active child's.
bool BarHoldsMenuOf(const TForm& form, const TMenuItem* item) {
  const TMenu* menu = item->GetParentMenu();
  if (!menu) return false;
  if (menu == form.Menu()) return true;
  const TForm* child = form.FormStyle() == fsMDIForm ? form.ActiveMDIChild() : nullptr;
  return child && menu == child->Menu();
}

}  // namespace

int TsSkinProvider::MenuHeight() const { return Form && Form->Menu() ? GetSystemMetrics(SM_CYMENU) - 1 : 0; }

bool TsSkinProvider::MenuLineVisible() const {
  if (!Form || Form->BorderStyle() == bsDialog || Form->FormStyle() == fsMDIChild) return false;
  auto hasVisibleItem = [](const TMainMenu* menu) {
    if (!menu) return false;
    for (int i = 0; i < menu->Items()->Count(); ++i)
      if (menu->Items()->Items(i)->Visible()) return true;
    return false;
  };
  if (!Form->Menu()) return false;
  if (hasVisibleItem(Form->Menu())) return true;
  TForm* child = Form->FormStyle() == fsMDIForm ? Form->ActiveMDIChild() : nullptr;
  return child && hasVisibleItem(child->Menu());
}

int TsSkinProvider::MenuLineRows() {
  if (MenuLineCount < 0) MenuLineCount = WalkMenuLine(*this, [](TMenuItem*, const RECT&, int) {});
  return MenuLineCount;
}

// The shared byte is held while the bar is rebuilt: the rebuild asking for it again (or one
// asked for during a button's pressed repaint) is skipped.
bool TsSkinProvider::RefreshMainMenu() {
  if (ButtonPressedPaint) return false;
  TMainMenu* menu = Form ? Form->Menu() : nullptr;
  if (!menu || menu->Items()->Count() == 0) return false;
  FlagScope held(ButtonPressedPaint);
  menu->Refresh();
  return true;
}

void TsSkinProvider::RefreshMainMenuOnce() {
  if (!MainMenuRefreshed && RefreshMainMenu()) MainMenuRefreshed = true;
}

// An item rectangle in window coordinates lies in the frame image where the window does.
POINT TsSkinProvider::MenuLinePlace(const RECT& rect, bool onFrameImage) {
  const POINT origin = onFrameImage ? POINT{0, 0} : WindowInFrame();
  const int top = ClientOffsetY() - MenuLineRows() * MenuHeight() - 1;
  return {rect.left + origin.x - ClientOffsetX(), rect.top + origin.y - top};
}

void TsSkinProvider::PaintMenuLine(TBitmap& image) {
  if (!Form || !Form->Menu() || !MenuLineVisible() || MenuHeight() <= 0) return;
  MenuLineCount = -1;  // the width may have changed the wrapping
  TsSkinManager* manager = Manager();
  int section = MenuLineSkin().empty() ? -1 : SectionIndexByName(manager, MenuLineSkin());
  const std::string name = SectionIndexValid(manager, section) ? MenuLineSkin() : "MENULINE";
  if (!SectionIndexValid(manager, section)) section = SectionIndexByName(manager, "MENULINE");
  const int bandHeight = MenuLineRows() * MenuHeight();
  const int top = ClientOffsetY() - bandHeight - 1;
  const RECT band{0, top, image.Width(), top + bandHeight};
  CacheSourceInfo behind;
  MakeCacheSourceInfo(&image, 0, 0, behind);
  if (SectionIndexValid(manager, section))
    RenderSectionItemToDC(section, name, behind, true, 0, band, {band.left, band.top}, image.Canvas().Handle(),
                          manager);
  if (!MenuLineBmp) MenuLineBmp = NewBitmap24(0, 0);
  MenuLineBmp->SetSize(image.Width(), bandHeight);
  BitBlt(MenuLineBmp->Canvas().Handle(), 0, 0, image.Width(), bandHeight, image.Canvas().Handle(), ClientOffsetX(),
         top, SRCCOPY);
  PaintMenuLineItems(image);
  PaintMDIChildButtons(image);
  // Where the system draws the frame it draws the bar too, asking the items again: they now
  // find the new band. Only the band is repainted (client coordinates reach the frame).
  const RECT inClient{-ClientOffsetX(), top - ClientOffsetY(), image.Width() - ClientOffsetX(), -1};
  RedrawWindow(Form->Handle(), &inClient, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TsSkinProvider::PaintMenuLineItems(TBitmap& image) {
  TForm* form = Form;
  if (this == MDISkinProvider && MDIChildIconOnMenuLine()) {
    TForm* child = form->ActiveMDIChild();
    const int size = MenuHeight() - 2;
    DrawIconEx(image.Canvas().Handle(), FrameBorderWidth(true) + 1,
               ClientOffsetY() - MenuLineRows() * MenuHeight(), child->Icon().Handle(), size, size, 0, nullptr,
               DI_NORMAL);
  }
  if (DwmCompositionEnabled() && Manager()) SkinableMenusOf(*Manager()).HookMainMenu(form->Menu(), DrawNonClientArea);
  RECT window;
  GetWindowRect(form->Handle(), &window);
  const POINT origin = WindowInFrame();
  WalkMenuLine(*this, [&](TMenuItem* item, RECT r, int) {
    OffsetRect(&r, origin.x - window.left, origin.y - window.top);
    item->OnAdvancedDrawItem(item, &image.Canvas(), r, odNoAccel | 0x400);
  });
}

void TsSkinProvider::RepaintMenuLineItem(TMenuItem* item, const RECT& rect, TOwnerDrawState state) {
  TBitmap* image = SkinData->CacheBitmap.get();
  if (!item || !image || !MenuLineVisible() || !BarHoldsMenuOf(*Form, item) || !item->OnAdvancedDrawItem)
    return;
  item->OnAdvancedDrawItem(item, &image->Canvas(), rect, state);
  const POINT origin = WindowInFrame();
  HDC dc = GetWindowDC(Form->Handle());
  {
    efir::gdi::SavedState saved(dc);
    BitBlt(dc, rect.left - origin.x, rect.top - origin.y, rect.right - rect.left, rect.bottom - rect.top,
           image->Canvas().Handle(), rect.left, rect.top, SRCCOPY);
  }
  ReleaseDC(Form->Handle(), dc);
}

void TsSkinProvider::MeasureMenuBarItem(const TMessage& message) {
  if (Form && Form->FormStyle() == fsMDIForm) MDISkinProvider = this;
  const auto* measure = reinterpret_cast<const MEASUREITEMSTRUCT*>(message.LParam);
  TsSkinManager* manager = Manager();
  if (!Form || Form->FormStyle() == fsMDIChild || !Form->Menu() || !manager || !measure || measure->CtlType != ODT_MENU)
    return;
  TMenuItem* item = TMenuItem::FromItemData(measure->itemData);
  if (item && BarHoldsMenuOf(*Form, item)) SkinableMenusOf(*manager).InstallItemPainters(item, true);
}

// A menu opened on an MDI parent whose maximized child's buttons sit on the menu line: the
// region is held while the loop runs, and the line, which the system draws in its own look
// as it tracks the menu, is painted from the skin again when the loop ends.
void TsSkinProvider::MenuLoopMessage(TMessage& message) {
  if (message.Msg == WM_ENTERMENULOOP) {
    if (Form->FormStyle() == fsMDIForm && ShowMDIChildButtons()) InMenuLoop = true;
    return Prev(message);
  }
  const bool held = InMenuLoop;
  InMenuLoop = false;
  Prev(message);
  if (!held || FormDestroying() || !Form->HandleAllocated()) return;
  MenuLineCount = -1;
  SendMessageW(Form->Handle(), WM_NCPAINT, 0, 0);
}
