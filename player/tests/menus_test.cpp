// The station-label and tray menu, the status label's menus, and the commands behind their
// items: the title on the clipboard, the share page, the product site's pages.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>

#include "framework/menus.h"
#include "player/tests/hotkeys_fixture.h"
#include "player/tests/user_script.h"
#include "player/tests/views_fixture.h"
#include "tests/support/window.h"
#include "widgets/rus_clipboard.h"

namespace {

using player_test::LinksTest;
using player_test::MenuWatcher;

class Menus : public LinksTest {
 protected:
  void SetUp() override {
    LinksTest::SetUp();
    StartWithHotKeys(false);
  }

  void ChooseStation() { ShowChosenStation(2, "Лунный Джаз", "http://stream.example.com:8000/moonjazz"); }

  // The bytes and locale the clipboard holds as text.
  static std::pair<std::string, LCID> ClipboardText() {
    std::pair<std::string, LCID> held{"", 0};
    if (!OpenClipboard(nullptr)) return held;
    if (HANDLE text = GetClipboardData(CF_TEXT)) {
      held.first = static_cast<const char*>(GlobalLock(text));
      GlobalUnlock(text);
    }
    if (HANDLE locale = GetClipboardData(CF_LOCALE)) {
      held.second = *static_cast<const LCID*>(GlobalLock(locale));
      GlobalUnlock(locale);
    }
    CloseClipboard();
    return held;
  }

  POINT LabelPoint(TControl* label, int x, int y) {
    return {label->Left() + x, label->Top() + y};
  }

  void SendMouse(UINT message, POINT at) {
    SendMessageW(Form1->Handle(), message, message == WM_MOUSEMOVE ? 0 : MK_LBUTTON,
                 MAKELPARAM(at.x, at.y));
  }
};

TEST_F(Menus, TheStationMenuShowsTheMuteStateAndTheTitle) {
  const struct {
    const char* title;
    bool muted;
    const char* titleItem;
    const char* muteItem;
  } cases[] = {{"", false, "Название композиции", "Выключить звук"},
               {"Ночной джаз", true, "Ночной джаз", "Включить звук"}};
  for (const auto& c : cases) {
    Form1->RxLabel7->SetCaption(c.title);
    if (c.muted != Muted) Form1->N3->Click();
    MenuWatcher watcher;
    Form1->PopupMenu1->Popup(10, 10);
    EXPECT_TRUE(watcher.seen);
    EXPECT_EQ(Form1->N17->Caption(), c.titleItem);
    EXPECT_EQ(Form1->N3->Caption(), c.muteItem);
  }
}

TEST_F(Menus, APressOnTheStatusLabelOpensItsMenuWhereThePressWas) {
  for (UINT press : {WM_LBUTTONDOWN, WM_RBUTTONDOWN}) {
    POINT at = LabelPoint(Form1->RxLabel7, 30, 6);
    POINT screen = Form1->ClientToScreen(at);
    MenuWatcher watcher;
    SendMouse(press, at);
    SendMouse(press == WM_LBUTTONDOWN ? WM_LBUTTONUP : WM_RBUTTONUP, at);
    ASSERT_TRUE(watcher.seen) << press;
    EXPECT_LE(std::abs(watcher.where.left - screen.x), 2) << press;
    EXPECT_LE(std::abs(watcher.where.top - screen.y), 2) << press;
  }
}

TEST_F(Menus, TheStatusLabelIsUnderlinedWhileTheMouseIsOverIt) {
  SendMouse(WM_MOUSEMOVE, LabelPoint(Form1->RxLabel7, 30, 6));
  EXPECT_TRUE(Form1->RxLabel7->Font().Style() & fsUnderline);
  SendMouse(WM_MOUSEMOVE, {Form1->RxLabel7->Left() + 30, 200});
  EXPECT_FALSE(Form1->RxLabel7->Font().Style() & fsUnderline);
}

// The label's menu holds the mouse while it is open; once it closes the label must still
// learn that the mouse went away, with the user's own mouse and keys.
TEST_F(Menus, TheStatusLabelLosesItsUnderlineWhenTheMouseLeavesAfterItsMenu) {
  using efir::test::clickMouse;
  using efir::test::moveMouse;
  using efir::test::pressKey;
  using player_test::Act;
  POINT mouse;
  GetCursorPos(&mouse);
  Form1->RxLabel7->SetCaption("Ночной джаз");
  SetForegroundWindow(Form1->Handle());
  const POINT label = Form1->RxLabel7->ClientToScreen({30, 8});
  const POINT away = Form1->ClientToScreen({Form1->RxLabel7->Left() + 30, 200});
  moveMouse(away);
  player_test::PumpUntil([] { return false; }, 100);
  const efir::test::Image plain = player_test::OnScreen(Form1->RxLabel7);
  for (bool right : {true, false}) {
    bool menuSeen = false;
    player_test::UserScript script({Act([&] { moveMouse(label); }),
                                    Act([&] { clickMouse(label, right); }),
                                    [&] { return menuSeen = player_test::PopupMenuShown(); },
                                    Act([] { pressKey(VK_ESCAPE); }),
                                    Act([] {}),
                                    // A second menu may follow the first (the context menu).
                                    [] {
                                      if (!player_test::PopupMenuShown()) return true;
                                      pressKey(VK_ESCAPE);
                                      return false;
                                    },
                                    Act([&] { moveMouse({label.x + 5, label.y + 1}); }),
                                    Act([&] { moveMouse(away); })});
    ASSERT_TRUE(script.RunToEnd()) << right;
    EXPECT_TRUE(menuSeen) << right;
    player_test::PumpUntil([] { return false; }, 300);
    EXPECT_FALSE(Form1->RxLabel7->Font().Style() & fsUnderline) << right;
    EXPECT_TRUE(player_test::OnScreen(Form1->RxLabel7).pixels == plain.pixels) << right;
  }
  SetCursorPos(mouse.x, mouse.y);
}

TEST_F(Menus, TheContextMenuNamesTheCurrentStation) {
  AddFavouriteMode = true;
  Form1->PopupMenu4->OnPopup(Form1->PopupMenu4);
  EXPECT_FALSE(AddFavouriteMode);
  EXPECT_EQ(Form1->N25->Caption(), "");
  EXPECT_FALSE(Form1->N24->Enabled()) << "no station to add";
  EXPECT_TRUE(shown.empty()) << shown.front();

  ChooseStation();
  Form1->PopupMenu4->OnPopup(Form1->PopupMenu4);
  EXPECT_EQ(Form1->N25->Caption(), "Лунный Джаз");
  EXPECT_TRUE(Form1->N24->Enabled());
}

TEST_F(Menus, CopyPutsTheCleanTitleOnTheClipboardAsRussianText) {
  const std::pair<const char*, const char*> cases[] = {
      {"Идёт запись: Ария - Штиль - 0:00", "Ария - Штиль"},
      {"Rock_&_Roll && Blues", "RockRoll  Blues"},
      {"Сплин - Романс", "Сплин - Романс"},
  };
  for (TMenuItem* item : {Form1->N16, Form1->N19}) {
    for (const auto& [caption, copied] : cases) {
      Clipboard().SetAsText("до");
      Form1->RxLabel7->SetCaption(caption);
      item->Click();
      EXPECT_EQ(ClipboardText(), std::make_pair(std::string(copied), LCID{0x419})) << caption;
    }
  }
}

TEST_F(Menus, AnEmptyTitleLeavesTheClipboardAlone) {
  Clipboard().SetAsText("до");
  for (const char* caption : {"", "_&&_", " - 0:00"}) {
    Form1->RxLabel7->SetCaption(caption);
    Form1->N16->Click();
    Form1->N21->Click();
  }
  EXPECT_EQ(Clipboard().AsText(), "до");
  EXPECT_TRUE(pages.empty()) << "nothing to share";
}

TEST_F(Menus, ShareOpensTheSharePageWithEveryValueEncoded) {
  ChooseStation();
  Form1->RxLabel7->SetCaption("Ы?#1 + 2=3 - 0:00");
  for (TMenuItem* item : {Form1->N21, Form1->N22}) item->Click();
  const std::string expected =
      "https://vk.com/share.php"
      "?url=https%3A%2F%2Fvk.com%2Faudio.php%3Fq%3D%25D0%25AB%253F%25231%2B%252B%2B2%253D3"
      "&title=%D0%AB%3F%231+%2B+2%3D3"
      "&description=%D0%9B%D1%83%D0%BD%D0%BD%D1%8B%D0%B9+%D0%94%D0%B6%D0%B0%D0%B7+%7C+"
      "efirushka.example"
      "&image=http%3A%2F%2Fefirushka.example%2Fplayvk.gif"
      "&noparse=true";
  EXPECT_EQ(pages, (std::vector<std::string>{expected, expected}));
}

TEST_F(Menus, SiteLinksOpenTheirPages) {
  const std::string site = "http://efirushka.example";
  const std::string qr = site +
      "/radioqr.php?name=%D0%9B%D1%83%D0%BD%D0%BD%D1%8B%D0%B9+%D0%94%D0%B6%D0%B0%D0%B7"
      "&station=http%3A%2F%2Fstream.example.com%3A8000%2Fmoonjazz";
  const std::string faq = site + "/radio_15_FAQ_vopros-otvet.html";

  // Without a station the QR commands stay quiet, but the plain command opens the home page.
  Form1->QR2->Click();
  Form1->Image14->Click();
  Form1->N7->Click();
  Form1->QR1Click(Form1);
  Form1->N27->Click();
  EXPECT_EQ(pages, (std::vector<std::string>{faq, site + "/"}));

  pages.clear();
  ChooseStation();
  Form1->QR2->Click();
  Form1->Image14->Click();
  Form1->N27->Click();
  Form1->N15->Click();
  EXPECT_EQ(pages, (std::vector<std::string>{qr, qr, site + "/off/radiofffline2.html"}));
}

// Adding the current station to the favourites from the status label's context menu.
using FavouriteMenu = views_test::ViewsTest;

TEST_F(FavouriteMenu, AddsTheCurrentStationOnceAndSaysSo) {
  StartWithStations(3);
  Form1->DataGrid1SelectCell(Form1->DataGrid1, 2, 0);
  Activate();
  Form1->PopupMenu4->OnPopup(Form1->PopupMenu4);
  EXPECT_EQ(Form1->N25->Caption(), views_test::Name(3));
  for (int click = 0; click < 2; ++click) {
    Form1->N24->Click();
    EXPECT_EQ(FavsLines(), (std::vector<std::string>{"3"})) << click;
    EXPECT_EQ(ShownHint(), "Добавлено в избранное");
    EXPECT_EQ(Form1->Image3->Hint(), "Убрать из избранного") << "the star shows it";
  }
}

}  // namespace
