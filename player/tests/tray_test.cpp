// Hiding the main window to the notification area and bringing it back: the picture, Esc,
// the hot key, the icon's click, its menu and tool tip, and no icon left after the end.
#include <gtest/gtest.h>

#include <windows.h>

#include "framework/menus.h"
#include "player/hotkeys.h"
#include "player/tests/hotkeys_fixture.h"
#include "widgets/rx_tray_icon.h"

namespace {

using player_test::LinksTest;
using player_test::MenuWatcher;

class Tray : public LinksTest {
 protected:
  void SetUp() override {
    LinksTest::SetUp();
    StartWithHotKeys(false);
    ShowChosenStation(4, "Тёплый Лаунж", "http://example.org/listen/chill");
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
