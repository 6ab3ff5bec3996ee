// A framework popup menu drawn by the skinned menus, read while the system's menu loop runs.
#include <gtest/gtest.h>

#include <commctrl.h>

#include "framework/application.h"
#include "framework/canvas.h"
#include "framework/tests/ui_fixture.h"
#include "skin/engine/skin_broadcast.h"
#include "skin/forms/menu_wnd.h"
#include "skin/forms/skin_hook.h"
#include "skin/forms/skinnable_menus.h"
#include "skin/forms/dialog_wnd.h"
#include "skin/forms/system_menu.h"
#include "skin/forms/tests/menu_fixtures.h"

namespace efir::test {
namespace {

using namespace menuskin;

constexpr TColor OwnLook = 0x00FF00;  // what the item with the program's own painter shows

// The skinned menus work alone, and with the window-skinning hook that gives every popup
// window its adapter (the default manager sets it when window skinning is plugged in).
class SkinnedPopup : public UiTest, public ::testing::WithParamInterface<bool> {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    if (WithHook()) StartWindowSkinning();
    else SetWindowSkinning(nullptr);
    skins_ = WriteMenuSkin();
    manager_ = new TsSkinManager(nullptr);
    manager_->SetSkinDirectory(skins_);
    manager_->SetSkinName("Menus");
    ASSERT_TRUE(manager_->LoadedSkin.Active);
    ASSERT_EQ(SkinHookInstalled(), WithHook());
    painter_ = &SkinableMenusOf(*manager_);
    painter_->ResetSkinBorderWidth();
    form_ = NewForm();
    SetActiveWindow(form_->Handle());
  }
  void TearDown() override {
    manager_->SetActive(false);
    manager_->Free();
    StartWindowSkinning();
    UiTest::TearDown();
  }
  bool WithHook() const { return GetParam(); }

  TMenuItem* Add(TPopupMenu& menu, const std::string& caption) {
    auto* item = new TMenuItem(&menu);
    item->SetCaption(caption);
    menu.Items()->Add(item);
    return item;
  }

  std::string skins_;
  TsSkinManager* manager_ = nullptr;
  TsSkinableMenus* painter_ = nullptr;
  TForm* form_ = nullptr;
};

TEST_P(SkinnedPopup, EveryKindOfItemIsDrawnFromTheSkinAtItsRectangle) {
  TPopupMenu menu(nullptr);
  Add(menu, "Обычный");
  TMenuItem* radio = Add(menu, "Радио");
  radio->SetRadioItem(true);
  radio->SetChecked(true);
  TMenuItem* check = Add(menu, "Флажок");
  check->SetChecked(true);
  Add(menu, "-");
  Add(menu, "-Заголовок-");
  TMenuItem* disabled = Add(menu, "Недоступный");
  disabled->SetEnabled(false);
  TMenuItem* shortCut = Add(menu, "Выход");
  shortCut->SetShortCut(ShortCut(VK_F4, scAlt));
  TMenuItem* own = Add(menu, "Свой");
  own->OnAdvancedDrawItem = [](TObject*, TCanvas* canvas, const RECT& r, TOwnerDrawState) {
    canvas->Brush().SetColor(OwnLook);
    canvas->FillRect(r);
  };
  painter_->HookMenuOwnerDraw(&menu, true);
  ASSERT_TRUE(menu.OwnerDraw());
  EXPECT_TRUE(menu.MenuAnimation() & maNone);
  EXPECT_TRUE(painter_->IsOwnMeasure(own)) << "the painter measures the program's item";
  EXPECT_FALSE(painter_->IsOwnDraw(own)) << "but keeps its painter";

  OpenPopup normal, hot;
  bool adapted = false;
  LRESULT borderSet = -1;
  PopupWithSteps(menu, {[&] {
                          normal = ReadOpenPopup();
                          adapted = dynamic_cast<TacMnuWnd*>(AdapterOfWindow(normal.wnd)) != nullptr;
                          borderSet = SendSkinCommandToWindow(normal.wnd, SKC_SETUPDATING, 0);
                          saveScreenshot(normal.wnd, WithHook() ? "skinned_popup_adapted" : "skinned_popup");
                        },
                        [&] { PostMessageW(normal.wnd, WM_KEYDOWN, VK_DOWN, 0); },
                        [&] { hot = ReadOpenPopup(); }});
  ASSERT_TRUE(normal.wnd);
  ASSERT_EQ(normal.items.size(), 8u);
  // Probes: a little inside each item's left end, where no glyph or text is drawn.
  auto probe = [](const OpenPopup& p, size_t i, int dx = 0) {
    const RECT& r = p.items[i];
    return p.at(r.left + 1 + dx, r.top + 1);
  };
  const RECT& first = normal.items[0];
  // Measured, not assumed: the system may draw its own border inside the client area.
  EXPECT_GT(first.left, 0);
  EXPECT_GT(first.top, 0);
  EXPECT_TRUE(Near(probe(normal, 0), Item)) << std::hex << probe(normal, 0);
  EXPECT_TRUE(Near(probe(hot, 0), HotItem)) << "the first item is hot after a key";
  EXPECT_TRUE(Near(probe(hot, 1), Item)) << "the others stay as they were";

  // The checked radio item shows the radio glyph at the margin, vertically centred.
  const RECT& r = normal.items[1];
  const int glyphTop = r.top + (r.bottom - r.top - CheckSize) / 2;
  EXPECT_TRUE(Near(normal.at(r.left + painter_->Margin + 1, glyphTop + 1), Radio));
  const RECT& c = normal.items[2];
  EXPECT_TRUE(Near(normal.at(c.left + painter_->Margin + 1, c.top + (c.bottom - c.top) / 2), Check));

  const RECT& divider = normal.items[3];
  EXPECT_EQ(divider.bottom - divider.top, 2);
  EXPECT_TRUE(Near(normal.at(divider.right - painter_->Margin - 2, divider.top), Divider));

  EXPECT_TRUE(Near(probe(normal, 4), Title)) << "a title line on TOOLBAR";
  EXPECT_TRUE(Near(probe(normal, 5), Blend(Item, Menu, 0.4))) << "disabled: 40 % item over the background";
  EXPECT_TRUE(Near(probe(normal, 6), Item));
  EXPECT_TRUE(Near(probe(normal, 7), OwnLook)) << "the program's own painter was kept";

  // The region lacks the magenta corners of the MAINMENU frame.
  ASSERT_TRUE(normal.hasRegion);
  EXPECT_FALSE(PtInRegion(normal.region, 0, 0));
  EXPECT_TRUE(PtInRegion(normal.region, 1, 0));
  const int w = normal.pixels.width, h = normal.pixels.height;
  EXPECT_FALSE(PtInRegion(normal.region, w - 1, 0));
  EXPECT_FALSE(PtInRegion(normal.region, 0, h - 1));
  EXPECT_FALSE(PtInRegion(normal.region, w - 1, h - 1));
  EXPECT_TRUE(PtInRegion(normal.region, w / 2, h / 2));
  DeleteObject(normal.region);
  DeleteObject(hot.region);

  // With the hook the window had its adapter, which knew the region was set up.
  EXPECT_EQ(adapted, WithHook());
  EXPECT_EQ(borderSet, WithHook() ? 1 : 0);

  // Nothing of the popup outlives it.
  EXPECT_EQ(MenuCacheCount(), 0u);
  EXPECT_FALSE(PopupItemsMeasured);
  EXPECT_TRUE(PopupAdapters.empty());
}

// Items of a menu with an image list show their pictures centred in the item's height; a
// checked one shows its picture instead of a check mark.
TEST_P(SkinnedPopup, ImageListItemsShowTheirPicturesAndNoCheckMark) {
  constexpr int kImage = 6;
  constexpr TColor Picture = 0x20A0F0;
  HIMAGELIST images = SolidImageList(kImage, Picture);
  TPopupMenu menu(nullptr);
  menu.SetImages(images);
  TMenuItem* plain = Add(menu, "Картинка");
  plain->SetImageIndex(0);
  TMenuItem* checked = Add(menu, "Отмечено");
  checked->SetImageIndex(0);
  checked->SetChecked(true);
  TMenuItem* markOnly = Add(menu, "Флажок");
  markOnly->SetChecked(true);
  painter_->HookMenuOwnerDraw(&menu, true);
  EXPECT_EQ(painter_->GlyphSize(plain).cx, kImage) << "the glyph column is as wide as the list's pictures";

  OpenPopup shown;
  PopupWithSteps(menu, {[&] { shown = ReadOpenPopup(); }});
  ImageList_Destroy(images);
  ASSERT_EQ(shown.items.size(), 3u);
  for (size_t i : {0u, 1u}) {
    SCOPED_TRACE(i);
    const RECT& r = shown.items[i];
    const int margin = (r.bottom - r.top - kImage) / 2;
    EXPECT_TRUE(Near(shown.at(r.left + margin + kImage / 2, r.top + margin + kImage / 2), Picture));
  }
  auto markArea = [&](size_t i) {
    const RECT& r = shown.items[i];
    return shown.at(r.left + painter_->Margin + 1, r.top + (r.bottom - r.top - CheckSize) / 2 + 1);
  };
  EXPECT_TRUE(Near(markArea(2), Check)) << "a checked item without a picture has its check mark";
  EXPECT_FALSE(Near(markArea(1), Check)) << "a checked item with a picture has none";
  DeleteObject(shown.region);
}

TEST_P(SkinnedPopup, AnUnskinnedPopupAfterASkinnedOneIsLeftAlone) {
  TPopupMenu skinned(nullptr), plain(nullptr);
  Add(skinned, "Один");
  Add(plain, "Два");
  painter_->HookMenuOwnerDraw(&skinned, true);
  PopupWithSteps(skinned, {[] {}});
  bool measured = true;
  OpenPopup shown;
  PopupWithSteps(plain, {[&] {
    measured = PopupItemsMeasured;
    shown = ReadOpenPopup();
  }});
  EXPECT_FALSE(measured);
  EXPECT_FALSE(shown.hasRegion);
  DeleteObject(shown.region);
  EXPECT_FALSE(plain.OwnerDraw());
  if (!WithHook()) return;

  // Items measured for a popup that never opened leave the flag set; the plain popup's
  // adapter sees that its items are not the skinned menus' and clears it.
  HDC dc = CreateCompatibleDC(nullptr);
  {
    TCanvas canvas(dc);
    painter_->PopupWidth(canvas, skinned.Items()->Items(0));
  }
  DeleteDC(dc);
  ASSERT_TRUE(PopupItemsMeasured);
  measured = true;
  PopupWithSteps(plain, {[&] {
    measured = PopupItemsMeasured;
    shown = ReadOpenPopup();
  }});
  EXPECT_FALSE(measured);
  ASSERT_EQ(shown.items.size(), 1u);
  EXPECT_FALSE(Near(shown.at(shown.items[0].left + 1, shown.items[0].top + 1), Item));
  EXPECT_FALSE(Near(shown.at(shown.pixels.width / 2, shown.pixels.height - 2), Menu)) << "no skinned background";
  DeleteObject(shown.region);
}

TEST_P(SkinnedPopup, UnhookingRemovesOnlyThePaintersHandlers) {
  TPopupMenu menu(nullptr);
  TMenuItem* parent = Add(menu, "Меню");
  auto* sub = new TMenuItem(&menu);
  parent->Add(sub);
  TMenuItem* own = Add(menu, "Свой");
  bool ownMeasured = false;
  own->OnMeasureItem = [&](TObject*, TCanvas*, int&, int&) { ownMeasured = true; };
  painter_->HookMenuOwnerDraw(&menu, true);
  EXPECT_TRUE(painter_->IsOwnDraw(sub)) << "sub-items too";
  EXPECT_FALSE(painter_->IsOwnMeasure(own));
  painter_->HookMenuOwnerDraw(&menu, false);
  EXPECT_FALSE(menu.OwnerDraw());
  EXPECT_FALSE(menu.MenuAnimation() & maNone);
  EXPECT_FALSE(sub->OnAdvancedDrawItem);
  EXPECT_FALSE(own->OnAdvancedDrawItem);
  ASSERT_TRUE(own->OnMeasureItem);
  int w = 0, h = 0;
  own->OnMeasureItem(own, nullptr, w, h);
  EXPECT_TRUE(ownMeasured);
}

INSTANTIATE_TEST_SUITE_P(HookOnAndOff, SkinnedPopup, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "WithHook" : "Alone"; });

// What only the popup windows' adapters do.
class AdaptedPopup : public SkinnedPopup {};

TEST_P(AdaptedPopup, ClosingASubmenuKeepsTheParentsAdapterAndItsSkinnedItems) {
  TPopupMenu menu(nullptr);
  Add(menu, "Первый");
  TMenuItem* parent = Add(menu, "Ещё");
  auto* sub = new TMenuItem(&menu);
  sub->SetCaption("Вложенный");
  parent->Add(sub);
  painter_->HookMenuOwnerDraw(&menu, true);
  size_t bothOpen = 0, afterClose = 0, slots = 0, backgrounds = 0;
  OpenPopup parentShown;
  auto key = [](WPARAM vk) { return [vk] { PostMessageW(VisiblePopupWindow(), WM_KEYDOWN, vk, 0); }; };
  PopupWithSteps(menu, {key(VK_DOWN), key(VK_DOWN), key(VK_RIGHT), [&] { bothOpen = LivePopupAdapterCount(); },
                        key(VK_LEFT), [&] {
                          afterClose = LivePopupAdapterCount();
                          slots = PopupAdapters.size();
                          backgrounds = MenuCacheCount();
                          parentShown = ReadOpenPopup();
                        }});
  EXPECT_EQ(bothOpen, 2u);
  EXPECT_EQ(afterClose, 1u) << "the parent's adapter stays";
  EXPECT_EQ(slots, 2u) << "slots are emptied, not reused";
  ASSERT_EQ(parentShown.items.size(), 2u);
  const RECT& first = parentShown.items[0];
  // The submenu's going cleared every background; the parent was redrawn and built its own.
  EXPECT_EQ(backgrounds, 1u);
  EXPECT_TRUE(Near(parentShown.at(first.left + 1, first.top + 1), Item));
  DeleteObject(parentShown.region);
  EXPECT_TRUE(PopupAdapters.empty());
  EXPECT_EQ(MenuCacheCount(), 0u);
}

// The window menu of a skinned message box, opened as the dialog opens it.
TEST_P(AdaptedPopup, ADialogsWindowMenuIsDrawnFromTheSkinWithItsSymbols) {
  OpenPopup shown;
  TacSystemMenu* menu = nullptr;
  WithMessageBox(L"Текст", MB_OK, [&](HWND box) {
    auto* dialog = dynamic_cast<TacDialogWnd*>(AdapterOfWindow(box));
    ASSERT_NE(dialog, nullptr);
    menu = dialog->SystemMenu.get();
    EXPECT_TRUE(menu->OwnerDraw());
    EXPECT_TRUE(painter_->IsOwnDraw(menu->miClose));
    PopupWithSteps(*menu, {[&] { shown = ReadOpenPopup(); }});
  });
  ASSERT_TRUE(shown.wnd);
  // A message box shows Move and, after the separator, Close.
  ASSERT_EQ(shown.items.size(), 3u);
  const RECT& move = shown.items[0];
  const RECT& close = shown.items[2];
  EXPECT_TRUE(Near(shown.at(move.left + 1, move.top + 1), Item));
  EXPECT_EQ(shown.items[1].bottom - shown.items[1].top, 2);
  // The symbol column: Close has the Webdings cross in the item's ink, Move has no symbol.
  auto inked = [&](const RECT& r) {
    int count = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left + 4; x < r.left + 4 + (r.bottom - r.top); ++x)
        if (Near(shown.at(x, y), Ink, 40)) ++count;
    return count;
  };
  EXPECT_GT(inked(close), 3);
  EXPECT_EQ(inked(move), 0);
  EXPECT_TRUE(shown.hasRegion);
  DeleteObject(shown.region);
  EXPECT_TRUE(PopupAdapters.empty());
}

INSTANTIATE_TEST_SUITE_P(HookOn, AdaptedPopup, ::testing::Values(true),
                         [](const auto&) { return "WithHook"; });

}  // namespace
}  // namespace efir::test
