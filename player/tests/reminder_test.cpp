// The reminder panel: opening and closing it, the time fields' first values and their spin
// buttons, arming and disarming, and the alarm raised by the window's clock with its message
// and sound.
#include <gtest/gtest.h>

#include <windows.h>

#include <mmsystem.h>

#include "framework/convert.h"
#include "framework/exceptions.h"
#include "player/main_window.h"
#include "player/reminder.h"
#include "player/tests/history_fixture.h"
#include "player/tests/player_fixture.h"
#include "tests/support/caption_ink.h"
#include "tests/support/capture.h"
#include "tests/support/window.h"

namespace {

using player_test::AnsweringMessageBoxes;
using player_test::PumpUntil;

struct SoundCall {
  std::string sound;
  HMODULE module;
  DWORD flags;
  bool operator==(const SoundCall&) const = default;
};
std::vector<SoundCall> sounds;

BOOL WINAPI HearSound(LPCSTR sound, HMODULE module, DWORD flags) {
  sounds.push_back({sound, module, flags});
  return TRUE;
}

class Reminder : public player_test::PlayerTest {
 protected:
  void SetUp() override {
    PlayerTest::SetUp();
    sounds.clear();
    SetPlaySoundForTests(&HearSound);
  }
  void TearDown() override {
    PlayerTest::TearDown();
    SetPlaySoundForTests(nullptr);
  }

  // The player with its clock at `now`.
  void StartAt(int hour, int minute, int second) {
    SetTime(hour, minute, second);
    Start();
    Form1->RxClock1->OnGetTime = [this](TObject*, double& time) { time = now; };
  }
  void SetTime(int hour, int minute, int second) {
    now = efir::EncodeTime(hour, minute, second, 0);
  }

  static std::vector<std::string> Fields() {
    return {Form1->sEdit2->Text(), Form1->sEdit3->Text(), Form1->sEdit4->Text()};
  }
  static std::vector<int> Alarm() {
    TRxClock* clock = Form1->RxClock1;
    return {clock->AlarmHour(), clock->AlarmMinute(), clock->AlarmSecond()};
  }

  history_test::UserTimeFormat format_;
  double now = 0;
};

TEST_F(Reminder, FirstOpeningTakesTheTimeNowAndClosingKeepsIt) {
  StartAt(7, 5, 30);
  EXPECT_EQ(Form1->Height(), 391);
  Form1->Image9->OnClick(Form1->Image9);
  EXPECT_EQ(Form1->Height(), 520);
  EXPECT_EQ(Fields(), (std::vector<std::string>{"7", "5", "00"}));
  EXPECT_EQ(Alarm(), (std::vector<int>{7, 5, 0}));

  Form1->RxSpinButton1->OnTopClick(Form1->RxSpinButton1);
  EXPECT_EQ(Fields(), (std::vector<std::string>{"08", "5", "00"}));
  Form1->Image13->OnClick(Form1->Image13);
  SetTime(9, 0, 0);
  Form1->Image9Click(Form1->Image9);
  EXPECT_EQ(Form1->Height(), 391);
  Form1->Image9Click(Form1->Image9);
  EXPECT_EQ(Fields(), (std::vector<std::string>{"08", "5", "00"}));
  EXPECT_EQ(Alarm(), (std::vector<int>{8, 5, 0}));
  EXPECT_TRUE(Form1->RxClock1->AlarmEnabled());
  EXPECT_TRUE(shown.empty()) << shown.front();
}

TEST_F(Reminder, SpinButtonsStepTheFieldsWithWrapAndSetTheAlarm) {
  StartAt(12, 0, 0);
  Form1->Image9Click(Form1->Image9);
  struct Case {
    TRxSpinButton* button;
    bool up;
    const char* before;
    const char* after;
  };
  TRxSpinButton* hours = Form1->RxSpinButton1;
  TRxSpinButton* minutes = Form1->RxSpinButton2;
  TRxSpinButton* seconds = Form1->RxSpinButton3;
  const Case cases[] = {
      {hours, true, "7", "08"},     {hours, false, "00", "23"},  {hours, true, "23", "00"},
      {hours, true, "9", "10"},     {hours, false, "10", "09"},  {hours, false, "0", "23"},
      {hours, false, "1", "00"},    {minutes, true, "59", "00"}, {minutes, false, "00", "59"},
      {minutes, true, "09", "10"},  {minutes, false, "30", "29"}, {seconds, true, "00", "01"},
      {seconds, false, "00", "59"}, {seconds, true, "59", "00"},
  };
  for (const Case& c : cases) {
    TsEdit* field = c.button == hours ? Form1->sEdit2 : c.button == minutes ? Form1->sEdit3
                                                                            : Form1->sEdit4;
    field->SetText(c.before);
    if (c.up)
      c.button->OnTopClick(c.button);
    else
      c.button->OnBottomClick(c.button);
    EXPECT_EQ(field->Text(), c.after) << c.before << (c.up ? " up" : " down");
    std::vector<int> fields;
    for (const std::string& text : Fields()) fields.push_back(efir::StrToInt(text));
    EXPECT_EQ(Alarm(), fields) << c.before << (c.up ? " up" : " down");
  }
}

TEST_F(Reminder, ATimeThatIsNoTimeOfDayIsRefusedWhole) {
  StartAt(7, 5, 0);
  Form1->Image9Click(Form1->Image9);
  Form1->sEdit3->SetText("61");
  try {
    Form1->RxSpinButton1TopClick(Form1->RxSpinButton1);
    FAIL() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'8:61:0' is not a valid time");
  }
  EXPECT_EQ(Alarm(), (std::vector<int>{7, 5, 0}));
}

TEST_F(Reminder, ArmingAndDisarming) {
  StartAt(7, 5, 0);
  Form1->Image9Click(Form1->Image9);
  Form1->Image13Click(Form1->Image13);
  EXPECT_TRUE(ReminderArmed);
  EXPECT_TRUE(Form1->RxClock1->AlarmEnabled());
  EXPECT_TRUE(Form1->sCheckBox1->Checked());

  Form1->Image13Click(Form1->Image13);
  EXPECT_FALSE(ReminderArmed);
  EXPECT_FALSE(Form1->RxClock1->AlarmEnabled());
  EXPECT_FALSE(Form1->sCheckBox1->Checked());
  // Disarmed, the panel takes the time now again when it next opens or closes.
  SetTime(10, 20, 0);
  Form1->Image9Click(Form1->Image9);
  EXPECT_EQ(Fields(), (std::vector<std::string>{"10", "20", "00"}));
  EXPECT_TRUE(shown.empty()) << shown.front();
}

TEST_F(Reminder, TheClockRaisesTheAlarmOnceWithTheTextAndTheSound) {
  StartAt(7, 4, 50);
  Form1->Image9Click(Form1->Image9);
  Form1->RxSpinButton2TopClick(Form1->RxSpinButton2);  // 07:05:00
  Form1->sEdit5->SetText("Проверить почту");
  Form1->Image13Click(Form1->Image13);
  EXPECT_TRUE(AnsweringMessageBoxes([] { Form1->RxClock1->CheckAlarm(); }).empty());

  // The clock's own ticks find the time.
  SetTime(7, 5, 0);
  const auto texts =
      AnsweringMessageBoxes([] { PumpUntil([] { return !sounds.empty(); }, 5000); });
  const std::string text =
      "!" + std::string(27, ' ') + "Проверить почту" + std::string(26, ' ') + "!";
  EXPECT_EQ(texts, std::vector<std::string>{text});
  EXPECT_EQ(sounds, (std::vector<SoundCall>{{"systemexclamation", nullptr, SND_ASYNC}}));

  // Later in the same minute, and once it has passed: nothing more.
  const auto later = AnsweringMessageBoxes([this] {
    for (int second : {1, 30, 59}) {
      SetTime(7, 5, second);
      Form1->RxClock1->CheckAlarm();
    }
    SetTime(7, 6, 0);
    Form1->RxClock1->CheckAlarm();
  });
  EXPECT_TRUE(later.empty());
  EXPECT_EQ(sounds.size(), 1u);
  EXPECT_TRUE(ReminderArmed);
}

TEST_F(Reminder, WithoutSoundOnlyTheMessageShows) {
  StartAt(7, 4, 30);
  Form1->Image9Click(Form1->Image9);
  Form1->RxSpinButton2TopClick(Form1->RxSpinButton2);  // 07:05:00
  Form1->sCheckBox2->SetChecked(false);
  Form1->Image13Click(Form1->Image13);
  SetTime(7, 5, 0);
  EXPECT_EQ(AnsweringMessageBoxes([] { Form1->RxClock1->CheckAlarm(); }).size(), 1u);
  EXPECT_TRUE(sounds.empty());
}

// The panel opened with a click on its picture shows the sound box's caption whole.
TEST_F(Reminder, TheSoundBoxShowsItsWholeCaption) {
  StartAt(7, 5, 0);
  SetForegroundWindow(Form1->Handle());
  efir::test::clickMouse(Form1->Image9->ClientToScreen({12, 12}));
  ASSERT_TRUE(PumpUntil([] { return Form1->Height() == 520; }));
  const RECT box = Form1->sCheckBox2->BoundsRect();
  const efir::test::CaptionInk ink =
      efir::test::ReadCaptionInk(Form1->sCheckBox2, [] { PumpUntil([] { return false; }, 100); });
  EXPECT_GT(ink.Width(), 0);
  EXPECT_LT(ink.Last, box.right - 2) << ink.First << ".." << ink.Last;
}

// The spin buttons are graphic controls the skin engine does not adapt: they take the skin's
// look from the player, and the user's clicks still step the time.
TEST_F(Reminder, SpinButtonsShowTheSkinAndStepTheTimeOnAClick) {
  StartAt(7, 5, 0);
  SetForegroundWindow(Form1->Handle());
  efir::test::clickMouse(Form1->Image9->ClientToScreen({12, 12}));
  ASSERT_TRUE(PumpUntil([] { return Form1->Height() == 520; }));
  PumpUntil([] { return false; }, 200);
  const COLORREF system = GetSysColor(COLOR_BTNFACE);
  for (TRxSpinButton* spin : {Form1->RxSpinButton1, Form1->RxSpinButton2, Form1->RxSpinButton3}) {
    const POINT corner = Form1->ClientToScreen({spin->Left(), spin->Top()});
    const efir::test::Image face =
        efir::test::captureScreen({corner.x, corner.y, corner.x + spin->Width(), corner.y + spin->Height()});
    int plain = 0;
    for (int y = 0; y < face.height; ++y)
      for (int x = 0; x < face.width; ++x) plain += face.at(x, y) == system;
    EXPECT_LT(plain, face.width * face.height / 10) << spin->Name();
  }

  const std::string minutes = Form1->sEdit3->Text();
  efir::test::clickMouse(Form1->RxSpinButton2->ClientToScreen({3, 3}));
  ASSERT_TRUE(PumpUntil([&] { return Form1->sEdit3->Text() != minutes; }));
  EXPECT_EQ(efir::StrToInt(Form1->sEdit3->Text()), 6);
  efir::test::clickMouse(Form1->RxSpinButton2->ClientToScreen({12, 21}));
  ASSERT_TRUE(PumpUntil([] { return efir::StrToInt(Form1->sEdit3->Text()) == 5; }));
}

TEST_F(Reminder, OpenPanelScreenshot) {
  StartAt(7, 5, 0);
  Form1->Timer3Timer(Form1->Timer3);
  Form1->Image9Click(Form1->Image9);
  Form1->sEdit5->SetText("Проверить почту");
  Form1->RxSpinButton2TopClick(Form1->RxSpinButton2);
  Form1->Image13Click(Form1->Image13);
  Form1->Repaint();
  efir::test::saveScreenshot(Form1->Handle(), "player-reminder-panel");
}

}  // namespace
