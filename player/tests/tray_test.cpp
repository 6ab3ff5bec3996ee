// Hiding the main window to the notification area and bringing it back: the picture, Esc,
// the hot key, the icon's click, its menu and tool tip, and no icon left after the end.
#include <gtest/gtest.h>

#include <windows.h>

#include "framework/menus.h"
#include "player/hotkeys.h"
#include "player/tests/hotkeys_fixture.h"
#include "skin/engine/skin_broadcast.h"
#include "skin/forms/menu_wnd.h"
#include "skin/forms/skin_hook.h"
#include "skin/forms/skinnable_menus.h"
#include "tests/support/capture.h"
#include "widgets/rx_tray_icon.h"

namespace {

using player_test::LinksTest;
using player_test::MenuWatcher;

class Tray : public LinksTest {
 protected:
  void SetUp() override {
    // As the program starts: window skinning plugged in before the windows are made.
    StartWindowSkinning();
    LinksTest::SetUp();
    StartWithHotKeys(false);
    ShowChosenStation(4, "Тёплый Лаунж", "http://example.org/listen/chill");
  }
  void TearDown() override {
    LinksTest::TearDown();
    SetWindowSkinning(nullptr);
  }

  bool WindowShown() { return IsWindowVisible(Form1->Handle()) != FALSE; }

  // Whether the shell holds an icon of this window now (it modifies only icons it has).
  static bool InShell(HWND window) {
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V1_SIZE;
    data.hWnd = window;
    data.uFlags = NIF_TIP;
    return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
  }

  void TrayMouse(std::initializer_list<UINT> messages) {
    for (UINT m : messages) SendMessageW(Form1->RxTrayIcon1->Handle(), WM_TRAYNOTIFY, 0, m);
  }
};

TEST_F(Tray, NoIconWhileTheWindowShows) {
  EXPECT_FALSE(Form1->RxTrayIcon1->Active());
  EXPECT_FALSE(InShell(Form1->RxTrayIcon1->Handle()));
}

TEST_F(Tray, ThePictureHidesTheWindowAndTheMenuItemBringsItBack) {
  TRxTrayIcon* tray = Form1->RxTrayIcon1;
  Form1->Image5->Click();
  EXPECT_FALSE(WindowShown());
  EXPECT_TRUE(tray->Active());
  EXPECT_TRUE(InShell(tray->Handle())) << "the icon is in the notification area";
  EXPECT_EQ(tray->Hint(), "Тёплый Лаунж");

  Form1->N1->Click();
  EXPECT_TRUE(WindowShown());
  EXPECT_FALSE(tray->Active());
  EXPECT_FALSE(InShell(tray->Handle()));
}

TEST_F(Tray, EscapeHidesEvenFromTheListFilter) {
  SendMessageW(Form1->sEdit1->Handle(), WM_CHAR, VK_ESCAPE, 0);
  EXPECT_FALSE(WindowShown());
  EXPECT_TRUE(Form1->RxTrayIcon1->Active());
}

TEST_F(Tray, TheHotKeyTogglesBetweenTrayAndWindow) {
  for (bool hidden : {true, false, true}) {
    SendHotKey(hkTray);
    EXPECT_EQ(WindowShown(), !hidden);
    EXPECT_EQ(Form1->RxTrayIcon1->Active(), hidden);
  }
}

TEST_F(Tray, AClickOnTheIconShowsTheWindowAndTheIconStays) {
  Form1->Image5Click(Form1->Image5);
  TrayMouse({WM_LBUTTONDOWN, WM_LBUTTONUP});
  EXPECT_TRUE(WindowShown());
  EXPECT_TRUE(Form1->RxTrayIcon1->Active());
  // With the icon still there, the hot key takes the window's side: it shows it and the
  // icon goes.
  SendHotKey(hkTray);
  EXPECT_TRUE(WindowShown());
  EXPECT_FALSE(Form1->RxTrayIcon1->Active());
}

TEST_F(Tray, TheToolTipOverTheIconAddsTheTitle) {
  Form1->Image5Click(Form1->Image5);
  Form1->RxLabel7->SetCaption("Ночной джаз");
  TrayMouse({WM_MOUSEMOVE});
  EXPECT_EQ(Form1->RxTrayIcon1->Hint(), "Тёплый Лаунж\nНочной джаз");
}

TEST_F(Tray, ARightClickOpensTheStationMenu) {
  Form1->Image5Click(Form1->Image5);
  Form1->RxLabel7->SetCaption("Ночной джаз");
  {
    MenuWatcher watcher;
    TrayMouse({WM_RBUTTONDOWN, WM_RBUTTONUP});
    EXPECT_TRUE(watcher.seen);
  }
  EXPECT_EQ(Form1->PopupMenu1->PopupComponent(), Form1->RxTrayIcon1);
  EXPECT_EQ(Form1->N17->Caption(), "Ночной джаз") << "the menu was prepared";
  EXPECT_FALSE(WindowShown());
}

TEST_F(Tray, TheStationMenuIsDrawnFromTheSkin) {
  // The program's skin made its popup menus owner-drawn by the skinned menus.
  for (TPopupMenu* menu : {Form1->PopupMenu1, Form1->PopupMenu2, Form1->PopupMenu4}) {
    EXPECT_TRUE(menu->OwnerDraw());
    EXPECT_TRUE(SkinableMenusOf(*Form1->sSkinManager1).IsOwnDraw(menu->Items()->Items(0)));
  }
  Form1->Image5Click(Form1->Image5);
  Form1->RxLabel7->SetCaption("Ночной джаз");
  static efir::test::Image shown;
  static RECT first;
  static bool region, adapted;
  shown = {};
  adapted = false;
  UINT_PTR timer = SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR, DWORD) {
    HWND popup = FindWindowW(L"#32768", nullptr);
    while (popup && !IsWindowVisible(popup)) popup = FindWindowExW(nullptr, popup, L"#32768", nullptr);
    if (popup) {
      shown = efir::test::captureWindow(popup);
      efir::test::saveScreenshot(popup, "player_tray_menu");
      RECT window;
      GetWindowRect(popup, &window);
      GetMenuItemRect(nullptr, reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0)), 0, &first);
      OffsetRect(&first, -window.left, -window.top);
      HRGN rgn = CreateRectRgn(0, 0, 0, 0);
      region = GetWindowRgn(popup, rgn) != ERROR;
      adapted = dynamic_cast<TacMnuWnd*>(AdapterOfWindow(popup)) != nullptr;
      DeleteObject(rgn);
    }
    EndMenu();
  });
  TrayMouse({WM_RBUTTONDOWN, WM_RBUTTONUP});
  KillTimer(nullptr, timer);
  ASSERT_GT(shown.width, 0);
  // EfirNight's MENUITEM colour at the left end of the first item, a region from MAINMENU.
  EXPECT_EQ(shown.at(first.left + 1, first.top + 1), 0x33210Fu);
  EXPECT_TRUE(region);
  EXPECT_TRUE(adapted) << "the popup window had its adapter";
  EXPECT_TRUE(PopupAdapters.empty());
  EXPECT_FALSE(PopupItemsMeasured);
  EXPECT_EQ(MenuCacheCount(), 0u);
}

TEST_F(Tray, TheIconIsGoneWhenTheProgramEndsFromItsMenu) {
  Form1->Image5Click(Form1->Image5);
  HWND trayWindow = Form1->RxTrayIcon1->Handle();
  ASSERT_TRUE(InShell(trayWindow));
  Form1->N4->Click();
  RunToEnd();
  EXPECT_EQ(Application.MainForm(), nullptr);
  EXPECT_FALSE(InShell(trayWindow));
}

}  // namespace
