// The rest of the form skinning on real windows: an MDI parent whose client shows the skin's
// MDIAREA round its children, a main menu whose bar items are drawn from MENUITEM over the
// MENULINE band, and the frame adapter that only reports it was misplaced.
#include "framework/main_menu.h"
#include "framework/tests/ui_fixture.h"
#include "skin/engine/common_data.h"
#include "skin/engine/engine_routines.h"
#include "skin/engine/skin_constants.h"
#include "skin/engine/skin_manager.h"
#include "skin/forms/frame_adapter.h"
#include "skin/forms/mdi_client.h"
#include "skin/forms/skin_hook.h"
#include "skin/forms/skin_provider.h"
#include "skin/forms/skinnable_menus.h"
#include "skin/forms/system_menu.h"
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

// The small title-button pictures of the MDI child buttons: three 12-pixel cells (normal, hot,
// pressed) over a mask row that shows them whole.
constexpr int kPic = 12;
constexpr TColor kMinPic[3] = {0x0000C0, 0x0040C0, 0x0080C0}, kNormPic[3] = {0xC00000, 0xC04000, 0xC08000},
                 kClosePic[3] = {0x00C000, 0x40C000, 0x80C000}, kMaxPic[3] = {0x909090, 0xA0A0A0, 0xB0B0B0};

std::string Picture(const TColor (&cells)[3]) {
  return efir::test::BmpBytes(3 * kPic, 2 * kPic, [&](int x, int y) -> uint32_t {
    return y < kPic ? static_cast<uint32_t>(cells[x / kPic]) : 0;
  });
}

std::string WriteMdiSkin() {
  const std::string options = Section("GLOBALINFO", kGlobal, kGlobal) +
                              "SICONMIN=!MIN.BMP!3!1!2\r\nSICONNORM=!NORM.BMP!3!1!2\r\n"
                              "SICONCLOSE=!CLOSE.BMP!3!1!2\r\nSICONMAX=!MAX.BMP!3!1!2\r\n" +
                              Section("FORM", kForm, kForm) + Section("MDIAREA", kMdiArea, kMdiArea) +
                              Section("MENULINE", kMenuLine, kMenuLine) + Section("MENUITEM", kMenuItem, kHotItem);
  const std::string dir = efir::GetCurrentDir() + "\\mdi_skins";
  ScratchFolder scratch("mdi_skins");
  WriteSkinFolder(dir + "\\Mdi2", {{"Options.dat", options}});
  WriteSkinFolder(dir + "\\Mdi", {{"Options.dat", options},
                                   {"MIN.BMP", Picture(kMinPic)},
                                   {"NORM.BMP", Picture(kNormPic)},
                                   {"CLOSE.BMP", Picture(kClosePic)},
                                   {"MAX.BMP", Picture(kMaxPic)}});
  return dir;
}

// An MDI parent with the items "Файл" and "Окно", shown, and a child whose item "Правка" is
// merged between them.
struct MergedMenus {
  TForm* Parent;
  TForm* Child;
  TMenuItem* ChildItem;
};

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

  MergedMenus ParentWithMergedChild() {
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
    return {parent, child, edit};
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

// The client shows the form's picture of the MDI area, and its scroll bars lie over that
// picture where the client is, with and without the extended border round the form: what
// lies under its bars is the area, not the frame.
TEST_F(MdiAndMenuLine, TheMdiClientAndItsBarsShowTheFormsPictureOfTheArea) {
  for (bool extended : {false, true}) {
    SCOPED_TRACE(extended);
    manager->SetExtendedBorders(extended);
    TForm* parent = NewForm(fsMDIForm, nullptr, {60, 60, 520, 420});
    parent->HandleNeeded();
    NewForm(fsMDIChild, parent, {0, 0, 150, 120})->Show();
    parent->Show();
    SetForegroundWindow(parent->Handle());
    efir::test::pumpFor(100);
    TsSkinProvider* provider = ProviderOfForm(parent);
    ASSERT_NE(provider, nullptr);
    EXPECT_EQ(provider->BorderForm != nullptr, extended);
    ASSERT_NE(provider->MDIForm, nullptr);
    TacMDIWnd* adapter = provider->MDIForm->ClientAdapter.get();
    ASSERT_NE(adapter, nullptr);

    RedrawWindow(parent->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    efir::test::pumpFor(100);
    const RECT client = ScreenRectOf(parent->ClientHandle());
    const int w = client.right - client.left, h = client.bottom - client.top;
    // With the extended border Wine shows the layered border window unblended round the form:
    // only the plain frame is read from the screen.
    if (!extended) {
      const efir::test::Image shown = efir::test::captureScreen(client);
      EXPECT_EQ(shown.at(w - 4, 4), kMdiArea) << "the client's top right corner";
      EXPECT_EQ(shown.at(4, h - 4), kMdiArea) << "its bottom left corner";
    }

    const CacheSourceInfo behind = adapter->BarBackground();
    ASSERT_EQ(behind.Bitmap, provider->SkinData->CacheBitmap.get()) << "the form's picture";
    const RECT place = adapter->ClientRectInImage();
    EXPECT_EQ(behind.X, place.left);
    EXPECT_EQ(behind.Y, place.top);
    HDC picture = behind.Bitmap->Canvas().Handle();
    EXPECT_EQ(GetPixel(picture, behind.X + w - 8, behind.Y + h / 2), kMdiArea) << "under the vertical bar";
    EXPECT_EQ(GetPixel(picture, behind.X + w / 2, behind.Y + h - 8), kMdiArea) << "under the horizontal bar";
    made.back()->Free();
    made.pop_back();
    efir::test::pumpFor(30);
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

// Menu-bar items measured by the system for the forms, counted in front of the provider.
int barItemsMeasured = 0;

TEST_F(MdiAndMenuLine, BarItemsAreMeasuredAgainAfterASkinChange) {
  TForm* form = NewForm(fsNormal, nullptr, {80, 80, 480, 300});
  auto* menu = new TMainMenu(form);
  for (const char* caption : {"&Файл", "&Правка"}) {
    auto* item = new TMenuItem(form);
    item->SetCaption(caption);
    menu->Items()->Add(item);
  }
  form->SetMenu(menu);
  form->Show();
  SetForegroundWindow(form->Handle());
  efir::test::pumpFor(100);
  TsSkinProvider* provider = ProviderOfForm(form);
  ASSERT_NE(provider, nullptr);
  EXPECT_TRUE(provider->MainMenuRefreshed);
  TWndMethod previous = form->WindowProc();
  form->SetWindowProc([previous](TMessage& m) {
    if (m.Msg == WM_MEASUREITEM && reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam)->CtlType == ODT_MENU)
      ++barItemsMeasured;
    previous(m);
  });
  barItemsMeasured = 0;
  manager->SetSkinName("Mdi2");
  efir::test::pumpFor(150);
  EXPECT_GE(barItemsMeasured, 2) << "each bar item measured for the new skin";
  form->SetWindowProc(previous);
}

TEST_F(MdiAndMenuLine, TheActiveChildsItemsAreDrawnInTheParentsMenuLine) {
  const MergedMenus merged = ParentWithMergedChild();
  TForm* parent = merged.Parent;
  TMenuItem* edit = merged.ChildItem;
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

// The child's own menu leaves the parent's line with the child's provider: the parent's frame
// is painted anew.
TEST_F(MdiAndMenuLine, FreeingAChildsProviderRepaintsTheParentsFrame) {
  const MergedMenus merged = ParentWithMergedChild();
  TsSkinProvider* childProvider = ProviderOfForm(merged.Child);
  ASSERT_NE(childProvider, nullptr);
  int framePaints = 0;
  TWndMethod previous = merged.Parent->WindowProc();
  merged.Parent->SetWindowProc([&framePaints, previous](TMessage& m) {
    if (m.Msg == WM_NCPAINT) ++framePaints;
    previous(m);
  });
  childProvider->Free();
  EXPECT_GT(framePaints, 0);
  merged.Parent->SetWindowProc(previous);
}

// The main menu's rebuild holds the byte a button's pressed repaint holds, and is skipped while
// that byte is held.
TEST_F(MdiAndMenuLine, TheMainMenuRebuildHoldsTheSharedPressedPaintByte) {
  TForm* form = NewForm(fsNormal, nullptr, {80, 80, 400, 300});
  auto* menu = new TMainMenu(form);
  auto* item = new TMenuItem(form);
  item->SetCaption("&Вид");
  menu->Items()->Add(item);
  form->SetMenu(menu);
  form->Show();
  SetForegroundWindow(form->Handle());
  efir::test::pumpFor(100);
  TsSkinProvider* provider = ProviderOfForm(form);
  ASSERT_NE(provider, nullptr);
  int heard = 0, heardHeld = 0;
  TWndMethod previous = form->WindowProc();
  form->SetWindowProc([&heard, &heardHeld, previous](TMessage& m) {
    ++heard;
    if (ButtonPressedPaint) ++heardHeld;
    previous(m);
  });
  ButtonPressedPaint = true;
  EXPECT_FALSE(provider->RefreshMainMenu()) << "skipped while held";
  ButtonPressedPaint = false;
  heard = heardHeld = 0;
  EXPECT_TRUE(provider->RefreshMainMenu());
  EXPECT_GT(heard, 0) << "the bar was rebuilt";
  EXPECT_EQ(heardHeld, heard) << "held all through";
  EXPECT_FALSE(ButtonPressedPaint) << "given back";
  form->SetWindowProc(previous);
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

// An MDI parent with a main menu and two children on the picture skin, the second one
// maximized by its own command, as its maximize button sends it.
class MdiChildButtons : public MdiAndMenuLine {
 protected:
  void SetUp() override {
    MdiAndMenuLine::SetUp();
    parent = NewForm(fsMDIForm, nullptr, {60, 60, 560, 420});
    auto* menu = new TMainMenu(parent);
    auto* item = new TMenuItem(parent);
    item->SetCaption("&Файл");
    menu->Items()->Add(item);
    parent->SetMenu(menu);
    parent->HandleNeeded();
    first = NewForm(fsMDIChild, parent, {0, 0, 150, 120});
    second = NewForm(fsMDIChild, parent, {200, 0, 350, 120});
  }

  // Shows everything, skins it and maximizes the second child.
  void ShowMaximized() {
    first->Show();
    second->Show();
    parent->Show();
    SetForegroundWindow(parent->Handle());
    efir::test::pumpFor(100);
    provider = ProviderOfForm(parent);
    ASSERT_NE(provider, nullptr);
    ASSERT_NE(ProviderOfForm(second), nullptr);
    SendMessageW(second->Handle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    efir::test::pumpFor(150);
    ASSERT_TRUE(IsZoomed(second->Handle()));
    ASSERT_EQ(ActiveMDIChildProvider, ProviderOfForm(second));
    ASSERT_TRUE(provider->ShowMDIChildButtons());
  }

  POINT ScreenPoint(POINT inWindow) const {
    RECT r;
    GetWindowRect(parent->Handle(), &r);
    return {r.left + inWindow.x, r.top + inWindow.y};
  }
  static POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
  TColor OnScreen(POINT inWindow) const { return efir::test::captureScreenOf(parent->Handle()).at(inWindow.x, inWindow.y); }
  LRESULT HitAt(POINT inWindow) const {
    const POINT p = ScreenPoint(inWindow);
    return SendMessageW(parent->Handle(), WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
  }
  void ClickAt(POINT inWindow) {
    const POINT p = ScreenPoint(inWindow);
    efir::test::dragMouse(p, p, 1);
    efir::test::pumpFor(150);
  }

  TForm* parent = nullptr;
  TForm* first = nullptr;
  TForm* second = nullptr;
  TsSkinProvider* provider = nullptr;
};

TEST_F(MdiChildButtons, AMaximizedChildsButtonsAreDrawnAndHitTestedOnTheParentsMenuLine) {
  ShowMaximized();
  const RECT min = provider->ButtonMDIMin.Rect, restore = provider->ButtonMDIRestore.Rect,
             close = provider->ButtonMDIClose.Rect;
  EXPECT_EQ(provider->MDIButtonWidth(), kPic);
  EXPECT_EQ(provider->MDIButtonHeight(), kPic);
  // From the line's right end inwards, one pixel apart.
  EXPECT_EQ(close.right, parent->Width() - GetSystemMetrics(SM_CXFRAME) - 1);
  EXPECT_EQ(close.right - close.left, kPic);
  EXPECT_EQ(restore.right, close.left - 1);
  EXPECT_EQ(min.right, restore.left - 1);
  RECT item;
  ASSERT_TRUE(GetMenuItemRect(parent->Handle(), GetMenu(parent->Handle()), 1, &item));
  const RECT frame = ScreenRectOf(parent->Handle());
  EXPECT_GE(close.top, item.top - frame.top) << "on the menu line";
  EXPECT_LE(close.bottom, item.bottom - frame.top);

  struct Place {
    const char* name;
    POINT at;
    LRESULT code;
    TColor normal;
  };
  const Place places[] = {
      {"minimize", Centre(min), 103, kMinPic[0]},
      {"restore (the normal picture)", Centre(restore), 102, kNormPic[0]},
      {"close", Centre(close), 101, kClosePic[0]},
      {"the line left of the buttons", {min.left - 40, Centre(min).y}, HTMENU, kMenuLine},
      {"between restore and close", {restore.right, Centre(close).y}, HTMENU, kMenuLine},
  };
  for (const Place& place : places) EXPECT_EQ(OnScreen(place.at), place.normal) << place.name;
  efir::test::saveScreenshot(parent->Handle(), "mdi_child_buttons");
  for (const Place& place : places) {
    EXPECT_EQ(HitAt(place.at), place.code) << place.name;
    efir::test::pumpFor(30);
    if (place.code == HTMENU) {
      EXPECT_EQ(provider->HotButton, 0) << place.name << ": no button stays hot";
      continue;
    }
    EXPECT_EQ(provider->HotButton, place.code) << place.name;
    const TColor hot = place.code == 103 ? kMinPic[1] : place.code == 102 ? kNormPic[1] : kClosePic[1];
    EXPECT_EQ(OnScreen(place.at), hot) << place.name << " turns hot";
  }
  // Without the maximized child the line has no buttons.
  SendMessageW(second->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
  efir::test::pumpFor(150);
  EXPECT_FALSE(IsZoomed(second->Handle()));
  EXPECT_FALSE(provider->ShowMDIChildButtons());
  EXPECT_EQ(HitAt(Centre(close)), HTMENU);
  EXPECT_EQ(OnScreen(Centre(close)), kMenuLine);
}

TEST_F(MdiChildButtons, ClicksOnTheButtonsActOnTheActiveChild) {
  ShowMaximized();
  HWND wnd = second->Handle();
  ClickAt(Centre(provider->ButtonMDIRestore.Rect));
  EXPECT_FALSE(IsZoomed(wnd)) << "restore";
  EXPECT_EQ(provider->HotButton, 0);

  SendMessageW(wnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  efir::test::pumpFor(150);
  ASSERT_TRUE(provider->ShowMDIChildButtons());
  ClickAt(Centre(provider->ButtonMDIMin.Rect));
  EXPECT_TRUE(IsIconic(wnd)) << "minimize";

  SendMessageW(wnd, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  efir::test::pumpFor(150);
  ASSERT_TRUE(provider->ShowMDIChildButtons());
  bool closed = false;
  second->OnClose = [&](TObject*, TCloseAction&) { closed = true; };
  ClickAt(Centre(provider->ButtonMDIClose.Rect));
  EXPECT_TRUE(closed) << "close";
  EXPECT_FALSE(IsZoomed(first->Handle())) << "the other child is left alone";
}

// A child that may not be minimized (or restored) shows that button pale and ignores it.
TEST_F(MdiChildButtons, AButtonTheChildMayNotUseIsPaleAndDoesNothing) {
  struct Case {
    const char* name;
    TBorderIcons icons;
    int code;
  };
  const Case cases[] = {
      {"no minimize", TBorderIcons(biSystemMenu | biMaximize), 103},
      {"no restore", TBorderIcons(biSystemMenu | biMinimize), 102},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    second->SetBorderIcons(c.icons);
    if (!provider) ShowMaximized();
    else {
      SendMessageW(second->Handle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
      efir::test::pumpFor(150);
    }
    if (HasFatalFailure()) return;
    ASSERT_TRUE(IsZoomed(second->Handle()));
    provider->SkinData->BackgroundChanged = true;
    RedrawWindow(parent->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    efir::test::pumpFor(100);
    const RECT r = c.code == 103 ? provider->ButtonMDIMin.Rect : provider->ButtonMDIRestore.Rect;
    const TColor normal = c.code == 103 ? kMinPic[0] : kNormPic[0];
    const TColor pale = OnScreen(Centre(r));
    EXPECT_NE(pale, normal) << "drawn disabled";
    EXPECT_NE(pale, kMenuLine) << "but drawn";
    ClickAt(Centre(r));
    EXPECT_TRUE(IsZoomed(second->Handle())) << "the click does nothing";
    EXPECT_FALSE(IsIconic(second->Handle()));
    if (c.code == 103) {
      EXPECT_EQ(OnScreen(Centre(r)), pale) << "the disabled minimize button never turns hot";
    }
    second->SetBorderIcons(TBorderIcons(biSystemMenu | biMinimize | biMaximize));
    SendMessageW(second->Handle(), WM_SYSCOMMAND, SC_RESTORE, 0);
    efir::test::pumpFor(100);
  }
}

TEST_F(MdiChildButtons, AChildMadeBesideAMaximizedOneComesUpMaximized) {
  ShowMaximized();
  TForm* third = NewForm(fsMDIChild, parent, {20, 20, 180, 140});
  third->Show();
  efir::test::pumpFor(200);
  EXPECT_TRUE(IsZoomed(third->Handle()));
  EXPECT_EQ(parent->ActiveMDIChild(), third);
  EXPECT_FALSE(MaximizePending) << "done once the child is up";
  EXPECT_TRUE(provider->ShowMDIChildButtons());
  // Its buttons act on it.
  ClickAt(Centre(provider->ButtonMDIRestore.Rect));
  EXPECT_FALSE(IsZoomed(third->Handle()));
}

// The provider of a child that goes leaves nothing behind.
TEST_F(MdiChildButtons, TheActiveChildsProviderIsForgottenWithIt) {
  ShowMaximized();
  TsSkinProvider* childProvider = ProviderOfForm(second);
  ASSERT_EQ(ActiveMDIChildProvider, childProvider);
  childProvider->Free();
  EXPECT_EQ(ActiveMDIChildProvider, nullptr);
  EXPECT_FALSE(provider->ShowMDIChildButtons());
}

// The last child going takes its buttons off the parent's menu line, and the client shows
// the skin's MDI area where the child was.
TEST_F(MdiChildButtons, TheLastChildClosingLeavesTheParentsMenuLineAndClientClean) {
  ShowMaximized();
  first->Free();
  efir::test::pumpFor(100);
  const RECT close = provider->ButtonMDIClose.Rect;
  ASSERT_EQ(OnScreen(Centre(close)), kClosePic[0]);
  second->Free();
  second = nullptr;
  efir::test::pumpFor(150);
  EXPECT_EQ(parent->ActiveMDIChild(), nullptr);
  EXPECT_FALSE(provider->ShowMDIChildButtons());
  EXPECT_EQ(OnScreen(Centre(close)), kMenuLine) << "the close button is gone from the line";
  RECT client;
  GetWindowRect(parent->ClientHandle(), &client);
  const RECT frame = ScreenRectOf(parent->Handle());
  const POINT middle{(client.left + client.right) / 2 - frame.left, (client.top + client.bottom) / 2 - frame.top};
  EXPECT_EQ(OnScreen(middle), kMdiArea) << "the client shows no child any more";
}


// What the display showed of the maximized child's buttons while the parent's menu was open:
// read by a timer inside the menu loop, which then closes the menu.
struct InsideMenuLoop {
  TsSkinProvider* provider = nullptr;
  POINT min{}, close{};
  bool ran = false, held = false, inMenu = false;
  TColor minShown = 0, closeShown = 0;
};
InsideMenuLoop* g_insideMenuLoop = nullptr;

void CALLBACK LookInsideMenuLoop(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  InsideMenuLoop& look = *g_insideMenuLoop;
  look.ran = true;
  look.held = look.provider->InMenuLoop;
  GUITHREADINFO info{sizeof(info)};
  look.inMenu = GetGUIThreadInfo(GetCurrentThreadId(), &info) && (info.flags & GUI_INMENUMODE);
  const efir::test::Image screen = efir::test::captureScreenOf(look.provider->Form->Handle());
  look.minShown = screen.at(look.min.x, look.min.y);
  look.closeShown = screen.at(look.close.x, look.close.y);
  EndMenu();
}

TEST_F(MdiChildButtons, OpeningTheParentsMenuKeepsTheChildsButtonsDrawnFromTheSkin) {
  // The bar item opens a list below it, so the menu stays open after the click.
  auto* open = new TMenuItem(parent);
  open->SetCaption("&Открыть");
  parent->Menu()->Items()->Items(0)->Add(open);
  ShowMaximized();
  RECT item;
  ASSERT_TRUE(GetMenuItemRect(parent->Handle(), GetMenu(parent->Handle()), 1, &item));
  const RECT frame = ScreenRectOf(parent->Handle());
  InsideMenuLoop look{provider, Centre(provider->ButtonMDIMin.Rect), Centre(provider->ButtonMDIClose.Rect)};
  g_insideMenuLoop = &look;
  SetTimer(nullptr, 0, 300, &LookInsideMenuLoop);
  ClickAt({(item.left + item.right) / 2 - frame.left, (item.top + item.bottom) / 2 - frame.top});
  efir::test::pumpFor(400);
  g_insideMenuLoop = nullptr;
  ASSERT_TRUE(look.ran);
  ASSERT_TRUE(look.inMenu) << "the click opened the menu";
  EXPECT_TRUE(look.held) << "the region waits while the menu is open";
  EXPECT_EQ(look.minShown, kMinPic[0]) << "while the menu is open";
  EXPECT_EQ(look.closeShown, kClosePic[0]) << "while the menu is open";
  EXPECT_FALSE(provider->InMenuLoop);
  EXPECT_EQ(OnScreen(look.min), kMinPic[0]) << "after the menu closed";
  EXPECT_EQ(OnScreen(look.close), kClosePic[0]) << "after the menu closed";
}

// The maximized child closed by its system command: the parent's frame on the screen is what
// it draws afresh, with no buttons left on the menu line.
TEST_F(MdiChildButtons, ClosingTheMaximizedChildLeavesTheParentsFrameRight) {
  ShowMaximized();
  const POINT close = Centre(provider->ButtonMDIClose.Rect);
  ASSERT_EQ(OnScreen(close), kClosePic[0]);
  bool regionHeld = false;
  second->OnClose = [&](TObject*, TCloseAction& action) {
    regionHeld = provider->InMenuLoop;
    action = caFree;
  };
  SendMessageW(second->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  second = nullptr;
  efir::test::pumpFor(200);
  EXPECT_TRUE(regionHeld) << "the parent's region waits while the child closes";
  EXPECT_FALSE(provider->InMenuLoop);
  ASSERT_EQ(parent->ActiveMDIChild(), first);
  // The system hands the maximized state on to the child that comes to the front.
  EXPECT_EQ(OnScreen(close), provider->ShowMDIChildButtons() ? kClosePic[0] : kMenuLine)
      << "the line shows the buttons of the child now in front, or none";
  const efir::test::Image after = efir::test::captureScreenOf(parent->Handle());
  provider->SkinData->BackgroundChanged = true;
  RedrawWindow(parent->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  efir::test::pumpFor(150);
  const efir::test::Image fresh = efir::test::captureScreenOf(parent->Handle());
  ASSERT_EQ(after.width, fresh.width);
  ASSERT_EQ(after.height, fresh.height);
  RECT client;
  GetWindowRect(parent->ClientHandle(), &client);
  const RECT frame = ScreenRectOf(parent->Handle());
  OffsetRect(&client, -frame.left, -frame.top);
  int differing = 0;
  for (int y = 0; y < after.height; ++y)
    for (int x = 0; x < after.width; ++x)
      if (!PtInRect(&client, POINT{x, y}) && after.at(x, y) != fresh.at(x, y)) ++differing;
  EXPECT_EQ(differing, 0) << "frame pixels that differ from a fresh paint";
}

}  // namespace
