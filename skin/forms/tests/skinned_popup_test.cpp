// A framework popup menu drawn by the skinned menus, read while the system's menu loop runs.
#include <gtest/gtest.h>

#include "framework/application.h"
#include "framework/tests/ui_fixture.h"
#include "skin/forms/skinnable_menus.h"
#include "skin/forms/tests/menu_fixtures.h"

namespace efir::test {
namespace {

using namespace menuskin;

constexpr TColor OwnLook = 0x00FF00;  // what the item with the program's own painter shows

class SkinnedPopup : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    skins_ = WriteMenuSkin();
    manager_ = new TsSkinManager(nullptr);
    manager_->SetSkinDirectory(skins_);
    manager_->SetSkinName("Menus");
    ASSERT_TRUE(manager_->LoadedSkin.Active);
    painter_ = std::make_unique<TsSkinableMenus>(manager_);
    painter_->ResetSkinBorderWidth();
    form_ = NewForm();
    SetActiveWindow(form_->Handle());
  }
  void TearDown() override {
    painter_.reset();
    manager_->Free();
    UiTest::TearDown();
  }

  TMenuItem* Add(TPopupMenu& menu, const std::string& caption) {
    auto* item = new TMenuItem(&menu);
    item->SetCaption(caption);
    menu.Items()->Add(item);
    return item;
  }

  std::string skins_;
  TsSkinManager* manager_ = nullptr;
  std::unique_ptr<TsSkinableMenus> painter_;
  TForm* form_ = nullptr;
};

TEST_F(SkinnedPopup, EveryKindOfItemIsDrawnFromTheSkinAtItsRectangle) {
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
  PopupWithSteps(menu, {[&] {
                          normal = ReadOpenPopup();
                          saveScreenshot(normal.wnd, "skinned_popup");
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

  // Nothing of the popup outlives it.
  EXPECT_EQ(MenuCacheCount(), 0u);
  EXPECT_FALSE(PopupItemsMeasured);
}

TEST_F(SkinnedPopup, AnUnskinnedPopupAfterASkinnedOneIsLeftAlone) {
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
}

TEST_F(SkinnedPopup, UnhookingRemovesOnlyThePaintersHandlers) {
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

}  // namespace
}  // namespace efir::test
