#include "widgets/rx_controls.h"

TRxSpinButton::TRxSpinButton(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 20, 25);
}

void TRxSpinButton::Paint() {
  RECT r = ClientRect();
  int middle = r.bottom / 2;
  RECT halves[2] = {{0, 0, r.right, middle}, {0, middle, r.right, r.bottom}};
  for (int i = 0; i < 2; ++i) {
    DrawFrameControl(Canvas().Handle(), &halves[i], DFC_SCROLL,
                     i == 0 ? DFCS_SCROLLUP : DFCS_SCROLLDOWN);
  }
}

void TRxSpinButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TGraphicControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  const TNotifyEvent& event = Y < Height() / 2 ? OnTopClick : OnBottomClick;
  if (event) event(this);
}

TRxClock::TRxClock(TComponent* AOwner) : TLabel(AOwner) {}

void TRxClock::SetAlarmTime(int hour, int minute, int second) {
  alarmHour_ = hour;
  alarmMinute_ = minute;
  alarmSecond_ = second;
}
