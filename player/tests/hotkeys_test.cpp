// The global hot keys: which keys the player holds and when, what a taken key does to the
// start, and the command each key's WM_HOTKEY runs.
#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <utility>

#include "grid/data_grid.h"
#include "player/hotkeys.h"
#include "player/tests/hotkeys_fixture.h"
#include "player/tests/views_fixture.h"
#include "widgets/rus_clipboard.h"

namespace {

using player_test::AnsweringMessageBoxes;
using player_test::LinksTest;
using player_test::PumpUntil;

constexpr UINT kCtrlShift = MOD_CONTROL | MOD_SHIFT;
const std::pair<WPARAM, UINT> kKeys[] = {
    {hkPlay, VK_F10},       {hkRecord, VK_F11},      {hkStop, VK_F12},
    {hkVolumeDown, VK_F8},  {hkVolumeUp, VK_F9},     {hkTray, VK_F5},
    {hkCopyTitle, VK_F1},   {hkShareTitle, VK_F2},   {hkNothing, VK_F3},
    {hkRandomStation, VK_F4}};

// Whether another owner could have Ctrl+Shift with the key now (tried, then given back).
bool KeyFree(UINT key) {
  if (!RegisterHotKey(nullptr, 0xBF00, kCtrlShift, key)) return false;
  UnregisterHotKey(nullptr, 0xBF00);
  return true;
}

using HotKeys = LinksTest;

TEST_F(HotKeys, HeldFromTheStartWhenOnAndReleasedAtTheClose) {
  StartWithHotKeys(true);
  EXPECT_TRUE(shown.empty()) << shown.front();
  for (auto [id, key] : kKeys) EXPECT_FALSE(KeyFree(key)) << "hot key " << id;
  Form1->Close();
  RunToEnd();
  for (auto [id, key] : kKeys) EXPECT_TRUE(KeyFree(key)) << "hot key " << id;

  StartWithHotKeys(false);
  for (auto [id, key] : kKeys) EXPECT_TRUE(KeyFree(key)) << "hot key " << id;
}

TEST_F(HotKeys, AKeyAnotherProgramHoldsIsReportedAndTheStartGoesOn) {
  ASSERT_TRUE(RegisterHotKey(nullptr, 1, kCtrlShift, VK_F10));
  ASSERT_TRUE(RegisterHotKey(nullptr, 7, kCtrlShift, VK_F1));
  auto messages = AnsweringMessageBoxes([this] { StartWithHotKeys(true); });
  UnregisterHotKey(nullptr, 1);
  UnregisterHotKey(nullptr, 7);
  EXPECT_EQ(messages, (std::vector<std::string>{"Unable to assign Ctrl-Shift-F10 as hotkey.",
                                                "Unable to assign Ctrl-Shift-F1 as hotkey."}));
  EXPECT_FALSE(KeyFree(VK_F11));
  EXPECT_FALSE(KeyFree(VK_F4));
  EXPECT_GT(Form1->DataGrid3->RowCount(), 0);  // the last step of the start ran
}

TEST_F(HotKeys, PlayAndRecordClickTheirButtonsOnlyWhileEnabledAndStopAlways) {
  StartWithHotKeys(false);
  std::vector<std::string> clicks;
  const std::pair<WPARAM, TControl*> buttons[] = {
      {hkPlay, Form1->sBitBtn2}, {hkRecord, Form1->sBitBtn1}, {hkStop, Form1->sBitBtn3}};
  for (auto [id, button] : buttons)
    button->OnClick = [&clicks, id](TObject*) { clicks.push_back(std::to_string(id)); };

  // Disabled until a station is chosen, and while one connects or records: stop still ends
  // what runs.
  for (auto [id, button] : buttons) SendHotKey(id);
  EXPECT_EQ(clicks, std::vector<std::string>{"3"});

  clicks.clear();
  for (auto [id, button] : buttons) button->SetEnabled(true);
  for (auto [id, button] : buttons) SendHotKey(id);
  EXPECT_EQ(clicks, (std::vector<std::string>{"1", "2", "3"}));
}

TEST_F(HotKeys, VolumeKeysStepByOneWithinTheSlider) {
  StartWithHotKeys(false);
  TsTrackBar* slider = Form1->sTrackBar1;
  const struct {
    int from;
    WPARAM id;
    int to;
  } cases[] = {{40, hkVolumeDown, 39}, {40, hkVolumeUp, 41}, {0, hkVolumeDown, 0},
               {100, hkVolumeUp, 100},  {1, hkVolumeDown, 0}, {99, hkVolumeUp, 100}};
  for (const auto& c : cases) {
    slider->SetPosition(c.from);
    SendHotKey(c.id);
    EXPECT_EQ(slider->Position(), c.to) << c.from << " key " << c.id;
    EXPECT_EQ(Form1->RxLabel5->Caption(), std::to_string(c.to)) << "the change handler ran";
  }
}

TEST_F(HotKeys, APressOfTheKeysReachesThePlayer) {
  StartWithHotKeys(true);
  Form1->sTrackBar1->SetPosition(40);
  INPUT keys[6] = {};
  const WORD sequence[6] = {VK_CONTROL, VK_SHIFT, VK_F9, VK_F9, VK_SHIFT, VK_CONTROL};
  for (int i = 0; i < 6; ++i) {
    keys[i].type = INPUT_KEYBOARD;
    keys[i].ki.wVk = sequence[i];
    keys[i].ki.dwFlags = i < 3 ? 0 : KEYEVENTF_KEYUP;
  }
  ASSERT_EQ(SendInput(6, keys, sizeof(INPUT)), 6u);
  EXPECT_TRUE(PumpUntil([] { return Form1->sTrackBar1->Position() == 41; }));
}

TEST_F(HotKeys, CopyShareAndTheStationPageTakeTheTitleAndTheStation) {
  StartWithHotKeys(false);
  ShowChosenStation(2, "Радио Один", "http://one.example/live");
  Form1->RxLabel7->SetCaption("Идёт запись: Кино - Группа крови - 0:00");

  SendHotKey(hkCopyTitle);
  EXPECT_EQ(Clipboard().AsText(), "Кино - Группа крови");

  SendHotKey(hkShareTitle);
  SendHotKey(hkStationOffline);
  ASSERT_EQ(pages.size(), 2u);
  EXPECT_EQ(pages[0].rfind("https://vk.com/share.php?url=", 0), 0u) << pages[0];
  EXPECT_NE(pages[0].find("&title=%D0%9A%D0%B8%D0%BD%D0%BE+-+"), std::string::npos)
      << pages[0];
  EXPECT_EQ(pages[1], "http://efirushka.example/off/radiofffline2.html");
}

TEST_F(HotKeys, F3AndUnknownNumbersDoNothing) {
  StartWithHotKeys(false);
  Form1->RxLabel7->SetCaption("Песня");
  Clipboard().SetAsText("до");
  for (WPARAM id : {WPARAM{hkNothing}, WPARAM{0}, WPARAM{12}, WPARAM{99}}) SendHotKey(id);
  EXPECT_TRUE(pages.empty());
  EXPECT_EQ(Clipboard().AsText(), "до");
  EXPECT_EQ(Form1->sTrackBar1->Position(), 40);
  EXPECT_TRUE(IsWindowVisible(Form1->Handle()));
}

TEST_F(HotKeys, TheStationPageNeedsAChosenStation) {
  StartWithHotKeys(false);
  for (int none : {0, -1}) {
    Settings.LastStation = none;
    SendHotKey(hkStationOffline);
  }
  EXPECT_TRUE(pages.empty());
}

// The random key with the tiles behind it; the stations play through the fake media-player
// control, so that the test reads which one played.
class RandomStation : public views_test::ViewsTest {
 protected:
  // The stations the presses played, one a press (0 for a press that played nothing).
  std::vector<int> Press(int times) {
    std::vector<int> played;
    for (int i = 0; i < times; ++i) {
      mediaPlayer->ClearCalls();
      SendMessageW(Form1->Handle(), WM_HOTKEY, hkRandomStation, 0);
      played.push_back(PlayedStation());
      if (played.back() != 0) {
        EXPECT_EQ(Settings.LastStation, played.back());
        EXPECT_EQ(Form1->RxLabel6->Caption(), views_test::Name(played.back()));
      }
    }
    return played;
  }

  void RemoveStation(int N) {
    DeleteFileA(folder_.file("Stations\\play" + std::to_string(N) + ".txt").c_str());
  }
};

TEST_F(RandomStation, EveryStationComesUpAndNeverTheOnePlaying) {
  StartWithStations(7);
  Form1->DataGrid1SelectCell(Form1->DataGrid1, 2, 0);
  ASSERT_EQ(PlayedStation(), 3);
  std::vector<int> played = Press(200);
  int before = 3;
  for (int N : played) {
    EXPECT_NE(N, before);
    before = N;
  }
  EXPECT_EQ(std::set<int>(played.begin(), played.end()), (std::set<int>{1, 2, 3, 4, 5, 6, 7}));
}

TEST_F(RandomStation, OnlyStationsWhoseFileIsThere) {
  StartWithStations(7);
  for (int gone : {2, 4, 5, 6, 7}) RemoveStation(gone);
  std::vector<int> played = Press(20);
  EXPECT_EQ(std::set<int>(played.begin(), played.end()), (std::set<int>{1, 3}));

  RemoveStation(played.back() == 1 ? 3 : 1);
  const int last = played.back();
  EXPECT_EQ(Press(2), (std::vector<int>{last, last})) << "the only station plays again";

  RemoveStation(last);
  EXPECT_EQ(Press(2), (std::vector<int>{0, 0}));
}

}  // namespace
