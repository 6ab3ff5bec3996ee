// The rest of the form skinning on real windows: an MDI parent whose client shows the skin's
// MDIAREA round its children, a main menu whose bar items are drawn from MENUITEM over the
// MENULINE band, and the frame adapter that only reports it was misplaced.
#include "framework/main_menu.h"
#include "framework/tests/ui_fixture.h"
#include "skin/engine/common_data.h"
#include "skin/engine/engine_routines.h"
#include "skin/engine/skin_manager.h"
#include "skin/forms/frame_adapter.h"
#include "skin/forms/mdi_client.h"
#include "skin/forms/skin_hook.h"
#include "skin/forms/skin_provider.h"
#include "skin/forms/skinnable_menus.h"
#include "skin/forms/title_buttons.h"
#include "skin/forms/tests/dialog_fixtures.h"
#include "tests/support/capture.h"
#include "tests/support/window.h"

#include <gtest/gtest.h>

namespace {

using efir::test::Hex;
using efir::test::ScratchFolder;
using efir::test::WriteSkinFolder;

constexpr TColor kGlobal = 0x303030, kForm = 0x00A0C0, kMdiArea = 0x804020, kMenuLine = 0x206020,
                 kMenuItem = 0x602080, kHotItem = 0x2080A0, kInk = 0x00FFFF, kImage = 0x10D0F0;

std::string Section(const char* name, TColor colour, TColor hot) {
  return std::string("[") + name + "]\r\nCOLOR=" + Hex(colour) + "\r\nHOTCOLOR=" + Hex(hot) + "\r\nFONTCOLOR=" +
         Hex(kInk) + "\r\nHOTFONTCOLOR=" + Hex(kInk) + "\r\n";
}

std::string WriteMdiSkin() {
  const std::string options = Section("GLOBALINFO", kGlobal, kGlobal) + Section("FORM", kForm, kForm) +
                              Section("MDIAREA", kMdiArea, kMdiArea) + Section("MENULINE", kMenuLine, kMenuLine) +
                              Section("MENUITEM", kMenuItem, kHotItem);
  const std::string dir = efir::GetCurrentDir() + "\\mdi_skins";
  ScratchFolder scratch("mdi_skins");
  WriteSkinFolder(dir + "\\Mdi", {{"Options.dat", options}});
  return dir;
}

class MdiAndMenuLine : public efir::test::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    StartWindowSkinning();
    manager = std::make_unique<TsSkinManager>(nullptr);
    manager->SetSkinDirectory(WriteMdiSkin());
    manager->SetSkinName("Mdi");
    ASSERT_TRUE(manager->Active());
  }
  void TearDown() override {
    for (auto it = made.rbegin(); it != made.rend(); ++it) (*it)->Free();
    if (manager) manager->SetActive(false);
    manager.reset();
    UiTest::TearDown();
  }

  TForm* NewForm(TFormStyle style, TComponent* owner, RECT bounds) {
    auto* form = efir::Construct<TForm>(owner);
    if (!owner) made.push_back(form);
    form->SetFormStyle(style);
    form->SetBounds(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
    return form;
  }

  static RECT ScreenRectOf(HWND wnd) {
    RECT r;
    GetWindowRect(wnd, &r);
    return r;
  }

  std::unique_ptr<TsSkinManager> manager;
  std::vector<TForm*> made;
};

TEST_F(MdiAndMenuLine, MdiParentShowsTheMdiAreaAroundTwoChildren) {
  TForm* parent = NewForm(fsMDIForm, nullptr, {60, 60, 520, 420});
  parent->HandleNeeded();
  ASSERT_NE(parent->ClientHandle(), nullptr);
  TForm* first = NewForm(fsMDIChild, parent, {0, 0, 150, 120});
  TForm* second = NewForm(fsMDIChild, parent, {200, 0, 350, 120});
  first->Show();
  second->Show();
  EXPECT_EQ(parent->MDIChildCount(), 2);
  EXPECT_EQ(parent->ActiveMDIChild(), second);
  EXPECT_EQ(GetParent(first->Handle()), parent->ClientHandle());

  // Activating the parent skins it and, with it, its children.
  parent->Show();
  SetForegroundWindow(parent->Handle());
  efir::test::pumpFor(100);
  TsSkinProvider* provider = ProviderOfForm(parent);
  ASSERT_NE(provider, nullptr);
  for (TForm* child : {first, second}) EXPECT_NE(ProviderOfForm(child), nullptr);
  ASSERT_NE(provider->MDIForm, nullptr) << "the provider keeps the MDI companion";
  EXPECT_EQ(MDISkinProvider, provider);
  TacMDIWnd* adapter = provider->MDIForm->ClientAdapter.get();
  ASSERT_NE(adapter, nullptr);
  EXPECT_EQ(AdapterOfWindow(parent->ClientHandle()), adapter);
  provider->MDIForm->ConnectToClient();
  EXPECT_EQ(provider->MDIForm->ClientAdapter.get(), adapter) << "a second connection makes no second adapter";

  RedrawWindow(parent->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  efir::test::pumpFor(100);
  const RECT client = ScreenRectOf(parent->ClientHandle());
  const efir::test::Image screen = efir::test::captureScreen(client);
  const int w = client.right - client.left, h = client.bottom - client.top;
  EXPECT_EQ(screen.at(w - 20, h - 20), kMdiArea) << "the free client area is the skin's MDIAREA";
  EXPECT_EQ(screen.at(20, h - 20), kMdiArea);
  EXPECT_EQ(screen.at(175, 60), kMdiArea) << "between the children";
  for (TForm* child : {first, second}) {
    RECT inside;
    GetClientRect(child->Handle(), &inside);
    MapWindowPoints(child->Handle(), nullptr, reinterpret_cast<POINT*>(&inside), 2);
    const efir::test::Image pixels = efir::test::captureScreen(inside);
    EXPECT_EQ(pixels.at(pixels.width / 2, pixels.height / 2), kForm) << "a skinned child over the area";
  }
  efir::test::saveScreenshot(parent->Handle(), "mdi_parent_two_children");

  // Erasing the client paints the area, unless a maximized child covers it all.
  TBitmap probe(8, 8, pf24bit);
  for (bool maximized : {false, true}) {
    if (maximized) SendMessageW(parent->ClientHandle(), WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(second->Handle()), 0);
    probe.Canvas().Brush().SetColor(clWhite);
    probe.Canvas().FillRect({0, 0, 8, 8});
    EXPECT_EQ(SendMessageW(parent->ClientHandle(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(probe.Canvas().Handle()), 0), 1);
    EXPECT_EQ(GetPixel(probe.Canvas().Handle(), 4, 4), maximized ? clWhite : kMdiArea) << maximized;
  }
}

TEST_F(MdiAndMenuLine, MenuLineItemsAreDrawnFromTheSkin) {
  TForm* form = NewForm(fsNormal, nullptr, {80, 80, 480, 300});
  auto* menu = new TMainMenu(form);
  for (const char* caption : {"&Файл", "&Правка", "&Скрытый"}) {
    auto* item = new TMenuItem(form);
    item->SetCaption(caption);
    auto* sub = new TMenuItem(form);
    sub->SetCaption("Пункт");
    item->Add(sub);
    menu->Items()->Add(item);
  }
  menu->Items()->Items(2)->SetVisible(false);
  form->SetMenu(menu);
  form->Show();
  SetForegroundWindow(form->Handle());
  efir::test::pumpFor(100);
  TsSkinProvider* provider = ProviderOfForm(form);
  ASSERT_NE(provider, nullptr);
  EXPECT_TRUE(menu->OwnerDraw());
  TsSkinableMenus& menus = SkinableMenusOf(*manager);
  EXPECT_TRUE(menus.IsOwnMenuLineHandler(menu->Items()->Items(0)));
  EXPECT_FALSE(menus.IsOwnDraw(menu->Items()->Items(0))) << "top-level items never get the popup painters";
  EXPECT_TRUE(menus.IsOwnDraw(menu->Items()->Items(0)->Items(0)));
  EXPECT_TRUE(provider->MenuLineVisible());
  EXPECT_EQ(provider->MenuHeight(), GetSystemMetrics(SM_CYMENU) - 1);
  EXPECT_EQ(provider->MenuLineRows(), 1);

  form->Invalidate();
  efir::test::pumpFor(150);
  ASSERT_NE(provider->MenuLineBmp, nullptr);
  TBitmap& band = *provider->MenuLineBmp;
  ASSERT_GT(band.Width(), 0);
  EXPECT_EQ(GetPixel(band.Canvas().Handle(), band.Width() / 2, band.Height() / 2), kMenuLine)
      << "the band behind the items is MENULINE";
  for (int position : {0, 1}) {
    RECT item;
    ASSERT_TRUE(GetMenuItemRect(form->Handle(), GetMenu(form->Handle()), position, &item));
    const efir::test::Image pixels = efir::test::captureScreen(item);
    EXPECT_EQ(pixels.at(pixels.width / 2, 1), kMenuItem) << "item " << position << " is MENUITEM on screen";
  }
  efir::test::saveScreenshot(form->Handle(), "menu_line");

  // An item with an image of the menu's list: wider by the image and a gap, the image at its left.
  RECT plain;
  ASSERT_TRUE(GetMenuItemRect(form->Handle(), GetMenu(form->Handle()), 0, &plain));
  HIMAGELIST images = efir::test::SolidImageList(16, kImage);
  menu->Items()->Items(0)->SetImageIndex(0);
  menu->SetImages(images);
  provider->RefreshNonClient();
  efir::test::pumpFor(150);
  RECT pictured;
  ASSERT_TRUE(GetMenuItemRect(form->Handle(), GetMenu(form->Handle()), 0, &pictured));
  EXPECT_EQ(pictured.right - pictured.left, plain.right - plain.left + 16 + 6);
  const efir::test::Image withImage = efir::test::captureScreen(pictured);
  EXPECT_EQ(withImage.at(3 + 8, withImage.height / 2), kImage) << "the image 3 pixels from the item's left";
  efir::test::saveScreenshot(form->Handle(), "menu_line_with_image");
  menu->SetImages(nullptr);
  ImageList_Destroy(images);

  menu->Items()->Items(0)->SetVisible(false);
  menu->Items()->Items(1)->SetVisible(false);
  EXPECT_FALSE(provider->MenuLineVisible()) << "only invisible items: no menu line";
  EXPECT_NE(provider->MenuHeight(), 0);

  manager->SetActive(false);
  EXPECT_FALSE(menu->OwnerDraw()) << "the bar is the system's again";
  EXPECT_FALSE(menus.IsOwnMenuLineHandler(menu->Items()->Items(0)));
}

TEST_F(MdiAndMenuLine, TheActiveChildsItemsAreDrawnInTheParentsMenuLine) {
  TForm* parent = NewForm(fsMDIForm, nullptr, {60, 60, 520, 420});
  auto* menu = new TMainMenu(parent);
  for (int group : {0, 9}) {
    auto* item = new TMenuItem(parent);
    item->SetCaption(group ? "&Окно" : "&Файл");
    item->SetGroupIndex(group);
    menu->Items()->Add(item);
  }
  parent->SetMenu(menu);
  parent->HandleNeeded();
  TForm* child = NewForm(fsMDIChild, parent, {0, 0, 200, 150});
  auto* childMenu = new TMainMenu(child);
  auto* edit = new TMenuItem(child);
  edit->SetCaption("&Правка");
  edit->SetGroupIndex(1);
  childMenu->Items()->Add(edit);
  child->SetMenu(childMenu);
  child->Show();
  parent->Show();
  SetForegroundWindow(parent->Handle());
  efir::test::pumpFor(100);
  TsSkinProvider* provider = ProviderOfForm(parent);
  ASSERT_NE(provider, nullptr);
  ASSERT_EQ(GetMenuItemCount(GetMenu(parent->Handle())), 3) << "the child's item sits between the parent's";
  parent->Invalidate();
  efir::test::pumpFor(150);
  EXPECT_TRUE(SkinableMenusOf(*manager).IsOwnMenuLineHandler(edit)) << "the merged item is painted by the skin";
  EXPECT_EQ(provider->MenuLineRows(), 1);
  RECT item;
  ASSERT_TRUE(GetMenuItemRect(parent->Handle(), GetMenu(parent->Handle()), 1, &item));
  const efir::test::Image pixels = efir::test::captureScreen(item);
  EXPECT_EQ(pixels.at(pixels.width / 2, 1), kMenuItem) << "the child's item is MENUITEM on screen";
  efir::test::saveScreenshot(parent->Handle(), "mdi_merged_menu_line");
}

TEST_F(MdiAndMenuLine, HookMainMenuChangesNothingWithoutSkinnedPopups) {
  TForm* form = NewForm(fsNormal, nullptr, {80, 80, 400, 300});
  auto* menu = new TMainMenu(form);
  auto* item = new TMenuItem(form);
  item->SetCaption("&Вид");
  menu->Items()->Add(item);
  manager->SetSkinnedPopups(false);
  SkinableMenusOf(*manager).HookMainMenu(menu, true);
  EXPECT_FALSE(menu->OwnerDraw());
  EXPECT_FALSE(item->OnAdvancedDrawItem);
  EXPECT_FALSE(item->OnMeasureItem);
}

TEST_F(MdiAndMenuLine, FrameAdapterReportsOnceThatItIsMisplaced) {
  std::vector<std::string> texts;
  auto saved = ShowMessageBoxCall;
  ShowMessageBoxCall = [&](HWND, const std::string& text, const std::string&, UINT) {
    texts.push_back(text);
    return IDOK;
  };
  TForm* form = NewForm(fsNormal, nullptr, {80, 80, 300, 200});
  const TColor colour = form->Color();
  const int components = form->ComponentCount();
  auto* adapter = new TsFrameAdapter(form);
  ShowMessageBoxCall = saved;
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0], "TsFrameAdapter adapter must be placed on the handled frame");
  EXPECT_EQ(adapter->SkinData()->SkinSection(), "GROUPBOX");
  EXPECT_EQ(adapter->SkinData()->ControlKind, ckFrame);
  EXPECT_EQ(form->Color(), colour);
  EXPECT_EQ(form->ComponentCount(), components + 1) << "only the adapter itself joined the owner";
}

// The buttons of a maximized child on the parent's menu line act on the active child when
// released after a press, and not on a bare release.
TEST_F(MdiAndMenuLine, TheMaximizedChildsMenuLineButtonsActOnTheActiveChild) {
  TForm* parent = NewForm(fsMDIForm, nullptr, {60, 60, 520, 420});
  parent->HandleNeeded();
  TForm* child = NewForm(fsMDIChild, parent, {0, 0, 150, 120});
  child->Show();
  parent->Show();
  SetForegroundWindow(parent->Handle());
  efir::test::pumpFor(100);
  TsSkinProvider* provider = ProviderOfForm(parent);
  ASSERT_NE(provider, nullptr);
  HWND wnd = child->Handle();
  auto release = [&](int code, bool pressed) {
    TitleButtonDown = pressed;
    SendMessageW(parent->Handle(), WM_NCLBUTTONUP, code, 0);
    TitleButtonDown = false;
    efir::test::pumpFor(50);
  };
  ShowWindow(wnd, SW_MAXIMIZE);
  release(102, false);
  EXPECT_TRUE(IsZoomed(wnd)) << "a release without its press does nothing";
  release(102, true);
  EXPECT_FALSE(IsZoomed(wnd)) << "restore";
  release(103, true);
  EXPECT_TRUE(IsIconic(wnd)) << "minimize";
  ShowWindow(wnd, SW_RESTORE);
  bool asked = false;
  child->OnClose = [&](TObject*, TCloseAction&) { asked = true; };
  release(101, true);
  EXPECT_TRUE(asked) << "close";
}

}  // namespace
