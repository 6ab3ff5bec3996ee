// The clock's daily alarm, driven by a time the test sets, and its digital text.
#include "widgets/rx_clock.h"

#include "framework/convert.h"
#include "framework/exceptions.h"
#include "framework/tests/ui_fixture.h"
#include "tests/support/capture.h"
#include "tests/support/window.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using efir::test::pumpFor;
using efir::test::pumpUntil;

double At(int h, int m, int s, int ms = 0) { return efir::EncodeTime(h, m, s, ms); }

class RxClock : public efir::test::UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    clock = new TRxClock(nullptr);
    clock->OnGetTime = [this](TObject*, double& time) { time = now; };
    clock->OnAlarm = [this](TObject* sender) {
      EXPECT_EQ(sender, clock);
      ++alarms;
    };
  }
  void TearDown() override {
    if (clock) clock->Free();
    UiTest::TearDown();
  }

  void SetAlarm(int h, int m, int s) {
    clock->SetAlarmHour(static_cast<uint8_t>(h));
    clock->SetAlarmMinute(static_cast<uint8_t>(m));
    clock->SetAlarmSecond(static_cast<uint8_t>(s));
  }

  TRxClock* clock = nullptr;
  double now = 0;
  int alarms = 0;
};

TEST_F(RxClock, TheAlarmFiresOnceADayAtTheFirstTickInItsMinute) {
  struct Tick {
    double time;
    int alarmsSoFar;
  };
  struct Case {
    const char* name;
    int alarm[3];
    double setAt;
    std::vector<Tick> ticks;
  };
  const Case cases[] = {
      {"set just before", {10, 30, 0}, At(10, 29, 59),
       {{At(10, 29, 59, 500), 0}, {At(10, 30, 0, 200), 1}, {At(10, 30, 0, 650), 1},
        {At(10, 30, 59), 1}, {At(10, 31, 0), 1}}},
      {"second already past when set: tomorrow", {10, 30, 20}, At(10, 30, 40),
       {{At(10, 30, 41), 0}, {At(10, 30, 59), 0}, {At(23, 59, 59), 0}, {At(0, 0, 1), 0},
        {At(10, 30, 19), 0}, {At(10, 30, 20), 1}}},
      {"second still ahead in the minute", {10, 30, 50}, At(10, 30, 40),
       {{At(10, 30, 45), 0}, {At(10, 30, 50, 100), 1}, {At(10, 30, 51), 1}}},
      {"hour already past when set: tomorrow", {9, 0, 0}, At(15, 0, 0),
       {{At(15, 0, 1), 0}, {At(8, 59, 59), 0}, {At(9, 0, 0, 300), 1}, {At(9, 0, 30), 1}}},
      {"midnight always waits outside its minute", {0, 0, 0}, At(12, 0, 0),
       {{At(23, 59, 59), 0}, {At(0, 0, 0, 200), 1}, {At(0, 0, 40), 1}}},
  };
  for (const Case& c : cases) {
    alarms = 0;
    clock->SetAlarmEnabled(false);
    now = c.setAt;
    SetAlarm(c.alarm[0], c.alarm[1], c.alarm[2]);
    clock->SetAlarmEnabled(true);
    for (const Tick& tick : c.ticks) {
      now = tick.time;
      clock->CheckAlarm();
      EXPECT_EQ(alarms, tick.alarmsSoFar) << c.name << " at " << efir::TimeToStr(tick.time);
    }
  }
}

TEST_F(RxClock, SwitchingTheAlarmOffAndOnInItsMinuteDoesNotFireItAgain) {
  now = At(7, 0, 0);
  SetAlarm(7, 15, 0);
  clock->SetAlarmEnabled(true);
  now = At(7, 15, 1);
  clock->CheckAlarm();
  clock->SetAlarmEnabled(false);
  now = At(7, 15, 10);
  clock->CheckAlarm();
  clock->SetAlarmEnabled(true);
  now = At(7, 15, 20);
  clock->CheckAlarm();
  EXPECT_EQ(alarms, 1);
}

TEST_F(RxClock, AnAlarmPartOutOfRangeRaisesAndKeepsTheAlarm) {
  SetAlarm(7, 30, 15);
  efir::FormatSettings().TimeSeparator = '.';
  try {
    clock->SetAlarmHour(24);
    ADD_FAILURE() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'24.30.15' is not a valid time");
  }
  efir::FormatSettings().TimeSeparator = ':';
  EXPECT_THROW(clock->SetAlarmSecond(60), EConvertError);
  clock->SetAlarmPart(4, 5);
  EXPECT_EQ(clock->AlarmHour(), 7);
  EXPECT_EQ(clock->AlarmMinute(), 30);
  EXPECT_EQ(clock->AlarmSecond(), 15);
  EXPECT_EQ(clock->AlarmPart(4), 0);
}

TEST_F(RxClock, TheClocksOwnTicksRaiseTheAlarmOnTheGuiThreadOnce) {
  now = At(6, 59, 0);
  SetAlarm(7, 0, 0);
  clock->SetAlarmEnabled(true);
  DWORD thread = 0;
  clock->OnAlarm = [&](TObject*) {
    thread = GetCurrentThreadId();
    ++alarms;
  };
  now = At(7, 0, 0);
  ASSERT_TRUE(pumpUntil([&] { return alarms > 0; }, 3000));
  pumpFor(1000);  // two more ticks in the same minute
  EXPECT_EQ(alarms, 1);
  EXPECT_EQ(thread, GetCurrentThreadId());
}

TEST_F(RxClock, AChangeOfTheSystemTimeTestsTheAlarmAtOnce) {
  TForm* form = NewForm(200, 60);
  clock->SetParent(form);
  now = At(18, 0, 0);
  SetAlarm(18, 30, 0);
  clock->SetAlarmEnabled(true);
  now = At(18, 30, 5);
  SendMessageW(clock->Handle(), WM_TIMECHANGE, 0, 0);  // no tick can run meanwhile
  EXPECT_EQ(alarms, 1);
}

TEST_F(RxClock, DigitalTextFollowsTheFormatSettings) {
  efir::TFormatSettings saved = efir::FormatSettings();
  efir::FormatSettings().TimeSeparator = '.';
  efir::FormatSettings().TimeAMString = "ДП";
  efir::FormatSettings().TimePMString = "ПП";
  struct Case {
    double time;
    bool leadingZero, showSeconds, twelveHour;
    const char* text;
    int cells;
  };
  const Case cases[] = {
      {At(9, 5, 7), false, true, false, "9.05.07", 7},
      {At(9, 5, 7), true, true, false, "09.05.07", 8},
      {At(21, 5, 7), true, false, false, "21.05", 5},
      {At(0, 30, 0), false, false, true, "12.30 ДП", 5},
      {At(13, 5, 0), false, false, true, "1.05 ПП", 4},
  };
  for (const Case& c : cases) {
    efir::clock::DigitalText digital =
        efir::clock::FormatDigital(c.time, c.leadingZero, c.showSeconds, c.twelveHour);
    EXPECT_EQ(digital.text, c.text);
    EXPECT_EQ(digital.cells, c.cells) << c.text;
  }
  efir::FormatSettings() = saved;
}

TEST_F(RxClock, TheDialAndItsDots) {
  const int quarter[16] = {0,    836,  1663, 2472, 3253, 3999, 4702, 5353,
                           5945, 6472, 6928, 7308, 7608, 7825, 7956, 8000};
  for (int i = 0; i <= 15; ++i) EXPECT_EQ(efir::clock::DialPoint(i).x, quarter[i]) << i;
  EXPECT_EQ(efir::clock::DialPoint(0).x, 0);
  EXPECT_EQ(efir::clock::DialPoint(15).y, 0);
  EXPECT_EQ(efir::clock::DialPoint(45).x, -8000);
  EXPECT_EQ(efir::clock::LighterColor(clTeal), static_cast<TColor>(RGB(0, 255, 255)));
  EXPECT_EQ(efir::clock::LighterColor(0x0000FF), clBtnHighlight);
  EXPECT_EQ(efir::clock::LighterColor(RGB(192, 64, 0)), static_cast<TColor>(RGB(255, 191, 0)));
}

// AutoSize: the font fills 4/5 of the height of a wide clock; a narrow one is held by its
// width, less 30 pixels, and a clock too small for either keeps its font.
TEST_F(RxClock, AutoSizeFitsTheFontToTheClock) {
  TForm* form = NewForm(600, 200);
  clock->SetParent(form);
  clock->Font().SetHeight(-12);
  clock->SetBounds(0, 0, 590, 60);
  clock->SetAutoSize(true);
  const int client = clock->ClientHeight();
  EXPECT_EQ(clock->Font().Height(), -MulDiv(client - 4, 4, 5));
  clock->Font().SetHeight(-12);  // a new font is refitted at once
  EXPECT_EQ(clock->Font().Height(), -MulDiv(client - 4, 4, 5));
  clock->SetBounds(0, 0, 100, 150);
  const int narrow = -clock->Font().Height();
  EXPECT_GT(narrow, 0);
  EXPECT_LT(narrow, MulDiv(clock->ClientHeight() - 4, 4, 5));
  clock->SetShowSeconds(false);  // a shorter sample: a larger font in the same width
  EXPECT_GT(-clock->Font().Height(), narrow);
  clock->SetBounds(0, 0, 25, 150);
  EXPECT_GT(-clock->Font().Height(), narrow) << "no width left: the font stays";
}

// A settings change reaches the clock through the application's window.
TEST_F(RxClock, ASettingsChangeRepaintsTheClock) {
  TForm* form = NewForm(200, 80);
  clock->SetParent(form);
  clock->SetBounds(0, 0, 180, 60);
  clock->HandleNeeded();
  ValidateRect(clock->Handle(), nullptr);
  SendMessageW(Application.Handle(), WM_WININICHANGE, 0, 0);
  RECT update{};
  EXPECT_TRUE(GetUpdateRect(clock->Handle(), &update, FALSE));
  clock->Free();  // unhooks: a later change reaches no freed clock
  clock = nullptr;
  SendMessageW(Application.Handle(), WM_WININICHANGE, 0, 0);
}

// The caption holds the time the clock was made at, though the face never shows it.
TEST_F(RxClock, TheCaptionIsTheTimeOfMaking) {
  const double made = efir::StrToDateTime(clock->Caption());
  const double dayNow = efir::Now() - std::floor(efir::Now());
  EXPECT_NEAR(made, dayNow, 5.0 / 86400);
}

// What a user sees of a running analog clock: the hands in the font colour, the hour dots,
// and after the minute moves the old minute hand gone from the screen.
TEST_F(RxClock, TheAnalogFaceMovesItsHandsOnTheScreen) {
  TForm* form = NewForm(140, 140);
  now = At(10, 8, 30);
  clock->SetShowMode(scAnalog);
  clock->SetParent(form);
  clock->Font().SetColor(clNavy);
  clock->SetBounds(10, 10, 120, 120);
  form->Repaint();
  pumpFor(600);
  // Navy pixels at a distance from the centre within [near, far), in the quadrant whose
  // signs are (sx, sy): the hands reach at most 80 % of the radius, the dots lie on it.
  auto count = [&](int sx, int sy, int nearest, int farthest) {
    efir::test::Image shot = efir::test::captureScreenOf(clock->Handle());
    int n = 0;
    for (int y = 0; y < 120; ++y)
      for (int x = 0; x < 120; ++x) {
        const int dx = x - 60, dy = y - 60, d2 = dx * dx + dy * dy;
        if (dx * sx > 0 && dy * sy > 0 && d2 >= nearest * nearest && d2 < farthest * farthest)
          n += shot.at(x, y) == ColorToRGB(clNavy);
      }
    return n;
  };
  auto hands = [&](int sx, int sy) { return count(sx, sy, 10, 40); };
  EXPECT_GT(hands(1, -1), 0) << "the minute hand at 8";
  EXPECT_GT(hands(-1, -1), 0) << "the hour hand at 10";
  EXPECT_EQ(hands(1, 1), 0);
  EXPECT_GT(count(1, 1, 50, 62), 0) << "the dots";
  now = At(10, 22, 30);
  pumpFor(600);
  EXPECT_EQ(hands(1, -1), 0) << "the old minute hand is erased";
  EXPECT_GT(hands(1, 1), 0) << "the minute hand at 22";
}

// For people: a digital and an analog clock at 10:08:30.
TEST_F(RxClock, Screenshot) {
  TForm* form = NewForm(330, 130);
  now = At(10, 8, 30);
  TRxClock* analog = new TRxClock(form);
  analog->OnGetTime = clock->OnGetTime;
  analog->SetShowMode(scAnalog);
  for (TRxClock* c : {clock, analog}) {
    c->SetParent(form);
    c->Font().SetHeight(-28);
    c->Font().SetColor(clNavy);
  }
  clock->SetBounds(10, 10, 180, 60);
  analog->SetBounds(200, 10, 110, 110);
  form->Repaint();
  pumpFor(600);
  efir::test::saveScreenshot(form->Handle(), "widgets-clock");
  efir::test::Image shot = efir::test::captureWindow(form->Handle());
  EXPECT_EQ(shot.at(100, 12), ColorToRGB(clBtnFace)) << "the clock's face";
}

}  // namespace
