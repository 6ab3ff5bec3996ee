// The tray icon: what it hands to the shell, and the shell's mouse notifications turned into
// events (sent to its hidden window as the shell would).
#include "widgets/rx_tray_icon.h"

#include "framework/menus.h"
#include "framework/tests/ui_fixture.h"
#include "tests/support/window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records every record handed to the shell (and still hands it on).
class RecordingTray : public TRxTrayIcon {
 public:
  using TRxTrayIcon::TRxTrayIcon;

  struct Call {
    DWORD message;
    std::wstring tip;
    bool accepted;
  };
  std::vector<Call> calls;
  NOTIFYICONDATAW last{};

 protected:
  bool Notify(DWORD message, NOTIFYICONDATAW& data) override {
    bool accepted = TRxTrayIcon::Notify(message, data);
    calls.push_back({message, data.szTip, accepted});
    last = data;
    return accepted;
  }
};

// A menu that records where it would open instead of opening.
class RecordingMenu : public TPopupMenu {
 public:
  using TPopupMenu::TPopupMenu;
  int shown = 0;
  void Popup(int, int) override { ++shown; }
};

class RxTrayIcon : public efir::test::UiTest {
 protected:
  void TearDown() override {
    delete tray;
    delete menu;
    UiTest::TearDown();
  }

  // A tray icon with the system's application icon and every event recorded in `events`.
  void MakeTray() {
    tray = new RecordingTray(nullptr);
    tray->Icon().SetHandle(CopyIcon(LoadIconW(nullptr, IDI_APPLICATION)));
    auto button = [](TMouseButton b) { return b == mbLeft ? "L" : b == mbRight ? "R" : "M"; };
    tray->OnMouseDown = [=, this](TObject*, TMouseButton b, TShiftState s, int, int) {
      events.push_back(std::string("down ") + button(b) + (s & ssDouble ? " double" : ""));
    };
    tray->OnMouseUp = [=, this](TObject*, TMouseButton b, TShiftState, int, int) {
      events.push_back(std::string("up ") + button(b));
    };
    tray->OnClick = [=, this](TObject*, TMouseButton b, TShiftState, int, int) {
      events.push_back(std::string("click ") + button(b));
    };
    tray->OnDblClick = [this](TObject*) { events.push_back("dblclick"); };
    tray->OnMouseMove = [this](TObject*, TShiftState, int, int) { events.push_back("move"); };
  }

  void Send(std::initializer_list<UINT> mouseMessages) {
    for (UINT m : mouseMessages) SendMessageW(tray->Handle(), WM_TRAYNOTIFY, 0, m);
  }

  // Whether the shell holds our icon now (it modifies only icons it has).
  bool InShell() {
    NOTIFYICONDATAW data = tray->last;
    data.uFlags = NIF_TIP;
    return Shell_NotifyIconW(NIM_MODIFY, &data);
  }

  RecordingTray* tray = nullptr;
  RecordingMenu* menu = nullptr;
  std::vector<std::string> events;
};

TEST_F(RxTrayIcon, ActiveAddsTheIconAndRemovesIt) {
  MakeTray();
  tray->SetHint("Эфирушка Плюс");
  ASSERT_TRUE(tray->Added());
  EXPECT_EQ(tray->calls.front().message, static_cast<DWORD>(NIM_ADD));
  EXPECT_TRUE(tray->calls.front().accepted);
  EXPECT_EQ(tray->last.hWnd, tray->Handle());
  EXPECT_EQ(tray->last.uCallbackMessage, WM_TRAYNOTIFY);
  EXPECT_EQ(tray->last.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(tray->last.hIcon, tray->Icon().Handle());
  EXPECT_EQ(tray->last.cbSize, static_cast<DWORD>(NOTIFYICONDATAW_V1_SIZE));
  EXPECT_EQ(std::wstring(tray->last.szTip), L"Эфирушка Плюс");
  EXPECT_TRUE(InShell());

  tray->SetActive(false);
  EXPECT_EQ(tray->calls.back().message, static_cast<DWORD>(NIM_DELETE));
  EXPECT_FALSE(tray->Added());
  EXPECT_FALSE(InShell());

  tray->SetHint("Радио Джаз");
  EXPECT_FALSE(tray->Added()) << "inactive: a new hint shows nothing";
  tray->SetActive(true);
  EXPECT_EQ(tray->calls.back().message, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(tray->calls.back().tip, L"Радио Джаз");
  EXPECT_TRUE(InShell());

  tray->Icon().SetHandle(nullptr);
  EXPECT_FALSE(tray->Added()) << "an empty icon leaves the notification area";
  EXPECT_FALSE(InShell());
}

TEST_F(RxTrayIcon, TheToolTipIsTheShortHint) {
  struct Case {
    std::string hint;
    std::wstring tip;
    std::vector<DWORD> messages;  // from showing the icon on
  };
  const Case cases[] = {
      {"Эфирушка Плюс|Радио Джаз", L"Эфирушка Плюс", {NIM_ADD}},
      {std::string(70, 'a'), std::wstring(63, L'a'), {NIM_ADD}},
      {"|only the long part", std::wstring(), {NIM_ADD, NIM_MODIFY}},
  };
  for (const Case& c : cases) {
    MakeTray();
    tray->SetActive(false);
    tray->SetHint(c.hint);
    tray->calls.clear();
    tray->SetActive(true);
    ASSERT_EQ(tray->calls.size(), c.messages.size()) << c.hint;
    for (size_t i = 0; i < c.messages.size(); ++i) {
      EXPECT_EQ(tray->calls[i].message, c.messages[i]) << c.hint;
      EXPECT_EQ(tray->calls[i].tip, c.tip) << c.hint;
    }
    delete tray;
    tray = nullptr;
  }
}

TEST_F(RxTrayIcon, WithoutAnIconNothingIsAdded) {
  tray = new RecordingTray(nullptr);
  tray->SetHint("Эфирушка Плюс");
  tray->SetActive(false);
  tray->SetActive(true);
  EXPECT_TRUE(tray->calls.empty());
  EXPECT_FALSE(tray->Added());
}

TEST_F(RxTrayIcon, MouseNotificationsBecomeEvents) {
  struct Case {
    const char* name;
    std::vector<UINT> messages;
    std::vector<std::string> events;
  };
  const Case cases[] = {
      {"left click", {WM_LBUTTONDOWN, WM_LBUTTONUP}, {"down L", "click L", "up L"}},
      {"release without press", {WM_LBUTTONUP}, {"up L"}},
      {"double click", {WM_LBUTTONDBLCLK, WM_LBUTTONUP}, {"dblclick", "down L double", "up L"}},
      {"right click without menu", {WM_RBUTTONDOWN, WM_RBUTTONUP}, {"down R", "click R", "up R"}},
      {"right double click", {WM_RBUTTONDBLCLK}, {"down R double"}},
      {"middle", {WM_MBUTTONDOWN, WM_MBUTTONUP, WM_MBUTTONDBLCLK}, {"down M", "up M", "down M double"}},
      {"move", {WM_MOUSEMOVE}, {"move"}},
  };
  MakeTray();
  for (const Case& c : cases) {
    events.clear();
    for (UINT m : c.messages) Send({m});
    EXPECT_EQ(events, c.events) << c.name;
  }
  tray->SetEnabled(false);
  events.clear();
  Send({WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MOUSEMOVE});
  EXPECT_TRUE(events.empty()) << "disabled";
}

TEST_F(RxTrayIcon, TheMenuTakesRightClicksAndDoubleClicks) {
  MakeTray();
  menu = new RecordingMenu(nullptr);
  auto* open = new TMenuItem(menu);
  auto* other = new TMenuItem(menu);
  menu->Items()->Add(other);
  menu->Items()->Add(open);
  int opened = 0;
  open->OnClick = [&](TObject*) { ++opened; };
  other->OnClick = [&](TObject*) { ADD_FAILURE() << "not the default item"; };
  tray->SetPopupMenu(menu);

  Send({WM_RBUTTONDOWN, WM_RBUTTONUP});
  EXPECT_EQ(menu->shown, 1);
  EXPECT_EQ(menu->PopupComponent(), tray);
  EXPECT_EQ(events, (std::vector<std::string>{"down R", "up R"})) << "the menu took the click";

  events.clear();
  Send({WM_LBUTTONDBLCLK});
  EXPECT_EQ(events, (std::vector<std::string>{"dblclick", "down L double"})) << "no default item";
  open->SetDefault(true);
  open->SetEnabled(false);
  events.clear();
  Send({WM_LBUTTONDBLCLK});
  EXPECT_EQ(events.front(), "dblclick") << "a disabled default item is not clicked";
  open->SetEnabled(true);
  events.clear();
  Send({WM_LBUTTONDBLCLK});
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(events, (std::vector<std::string>{"down L double"}));

  delete menu;
  menu = nullptr;
  EXPECT_EQ(tray->PopupMenu(), nullptr) << "a freed menu is forgotten";
}

TEST_F(RxTrayIcon, AnimationCyclesThroughTheIcons) {
  MakeTray();
  tray->SetAnimated(true);
  EXPECT_FALSE(tray->Animated()) << "no icons to cycle";
  TIcon frame;
  for (LPCWSTR id : {IDI_APPLICATION, IDI_WARNING}) {
    frame.SetHandle(CopyIcon(LoadIconW(nullptr, id)));
    tray->Icons().Add(frame);
  }
  tray->SetInterval(5);
  tray->SetAnimated(true);
  ASSERT_TRUE(tray->Animated());
  std::vector<HICON> shown;
  ASSERT_TRUE(efir::test::pumpUntil(
      [&] {
        if (shown.empty() || shown.back() != tray->last.hIcon) shown.push_back(tray->last.hIcon);
        return shown.size() >= 3;
      },
      3000));
  // The timer may have moved on before the first look: the frames alternate from wherever
  // the cycle was, and only the two icons ever show.
  const HICON first = tray->Icons().Icons(0)->Handle(), second = tray->Icons().Icons(1)->Handle();
  for (HICON icon : shown) EXPECT_TRUE(icon == first || icon == second);
  EXPECT_NE(shown[0], shown[1]);
  EXPECT_EQ(shown[2], shown[0]);
  tray->Icons().Clear();
  EXPECT_FALSE(tray->Animated());
  EXPECT_EQ(tray->last.hIcon, tray->Icon().Handle());
}

}  // namespace
