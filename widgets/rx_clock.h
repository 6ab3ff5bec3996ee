// A panel that shows the time of day, as digits or as a dial, and carries a daily alarm: an
// alarm time, a switch and OnAlarm, which fires once when the alarm minute is reached (at the
// first tick at or after the alarm second). Its own timer ticks every 450 ms and, on the GUI
// thread, redraws what changed and tests the alarm.
//
//   RxClock1->SetAlarmHour(7);            // EConvertError for 24 and more; the alarm is kept
//   RxClock1->SetAlarmMinute(30);
//   RxClock1->SetAlarmEnabled(true);
//   RxClock1->OnAlarm = [this](TObject* s) { RxClock1Alarm(s); };
//
// Times are day fractions (0.5 is noon). OnGetTime may replace the current time.
#pragma once

#include "framework/stdctrls.h"

#include <cstdint>
#include <functional>
#include <string>

class TRxTimer;

enum TShowClock { scDigital, scAnalog };

using TRxGetTimeEvent = std::function<void(TObject* Sender, double& Time)>;

class TRxClock : public TPanel {
 public:
  explicit TRxClock(TComponent* AOwner);
  ~TRxClock() override;
  void BeforeDestruction() override;

  bool AlarmEnabled() const { return alarmEnabled_; }
  void SetAlarmEnabled(bool value) { alarmEnabled_ = value; }
  uint8_t AlarmHour() const { return AlarmPart(1); }
  uint8_t AlarmMinute() const { return AlarmPart(2); }
  uint8_t AlarmSecond() const { return AlarmPart(3); }
  void SetAlarmHour(uint8_t value) { SetAlarmPart(1, value); }
  void SetAlarmMinute(uint8_t value) { SetAlarmPart(2, value); }
  void SetAlarmSecond(uint8_t value) { SetAlarmPart(3, value); }
  // Index 1 hour, 2 minute, 3 second; any other index changes nothing (and reads 0).
  uint8_t AlarmPart(int index) const;
  void SetAlarmPart(int index, uint8_t value);

  TShowClock ShowMode() const { return showMode_; }
  void SetShowMode(TShowClock value);
  bool ShowSeconds() const { return showSeconds_; }
  void SetShowSeconds(bool value);
  bool TwelveHour() const { return twelveHour_; }
  void SetTwelveHour(bool value);
  bool LeadingZero() const { return leadingZero_; }
  void SetLeadingZero(bool value);
  TColor DotsColor() const { return dotsColor_; }
  void SetDotsColor(TColor value);
  // Fits the font to the control: the digital time at its widest fills the height (4/5 of
  // it) or the width (less 30 pixels), whichever allows less.
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);

  // The time of day now, or what OnGetTime makes of it.
  virtual double CurrentTime();
  // Tests the alarm against CurrentTime (every tick, and when the system time changes).
  void CheckAlarm();

  TNotifyEvent OnAlarm;
  TRxGetTimeEvent OnGetTime;

  void WndProc(TMessage& Message) override;

 protected:
  virtual void RaiseAlarm();
  void Loaded() override;
  void Paint() override;
  void Resize() override;
  // Watches the application's window for settings changes (the time format may change).
  void CreateWnd() override;
  void DestroyWnd() override;

 private:
  struct ShownTime {
    int hour = 0, minute = 0, second = 0;  // hour modulo 12
  };

  void UpdateAlarmWait();
  bool IsAlarmTime(double now) const;
  void TickClock();
  ShownTime Decode(double time) const;
  RECT FaceRect();
  void PaintFrame(RECT& rect);
  void PaintDigital(TCanvas& canvas, RECT rect, bool full);
  void PaintAnalog(TCanvas& canvas, bool full);
  void FitDialRect();
  void Realign();
  void FitClockFont(const RECT& rect);
  void Unhook();
  void DrawDialDots(TCanvas& canvas);
  void DrawHand(TCanvas& canvas, int position, bool hour);
  void DrawSecondHand(TCanvas& canvas, int position);

  bool alarmEnabled_ = false;
  double alarm_ = 0;
  bool alarmWait_ = true;
  TShowClock showMode_ = scDigital;
  bool showSeconds_ = true;
  bool twelveHour_ = false;
  bool leadingZero_ = true;
  TColor dotsColor_ = clTeal;
  bool autoSize_ = false;
  int hook_ = 0;  // the application window's hook, 0 while none
  ShownTime displayTime_;
  RECT clockRect_{};
  int clockRadius_ = 0;
  POINT clockCenter_{};
  TRxTimer* timer_;
};

namespace efir::clock {

// The dial position i (0 at 12 o'clock, clockwise, 6° apart) scaled by 8000, y already
// corrected for the screen's aspect.
POINT DialPoint(int i);
// The digital display of a time: the text as the format settings give it, and how many of
// its first characters are digit cells (the rest is the AM/PM text).
struct DigitalText {
  std::string text;
  int cells;
};
DigitalText FormatDigital(double time, bool leadingZero, bool showSeconds, bool twelveHour);
// A lighter shade of a colour for the dial dots' raised edge.
TColor LighterColor(TColor color);

}  // namespace efir::clock
