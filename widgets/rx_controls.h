// The small controls the player's main window places: a see-through label, a spin button, a
// clock with an alarm time and a tray icon. They behave like the framework's matching control
// and carry the members the player uses; each grows into its full self with its own work.
//
//   RxLabel6 = new TRxLabel(this);                  // a TLabel: Caption, Font, PopupMenu, ...
//   RxSpinButton1->OnTopClick = [this](TObject* s) { RxSpinButton1TopClick(s); };
//   RxClock1->SetAlarmTime(7, 30, 0);
//   RxClock1->SetAlarmEnabled(true);
//   RxTrayIcon1->SetHint("Эфирушка Плюс");
#pragma once

#include "framework/menus.h"
#include "framework/stdctrls.h"

// A label drawn on its parent's surface (the shadow of the full widget comes later).
class TRxLabel : public TLabel {
 public:
  using TLabel::TLabel;
};

// Two arrow buttons stacked in one control: a press on the upper half raises OnTopClick, on
// the lower half OnBottomClick.
class TRxSpinButton : public TGraphicControl {
 public:
  explicit TRxSpinButton(TComponent* AOwner);

  TNotifyEvent OnTopClick;
  TNotifyEvent OnBottomClick;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
};

// A clock with an alarm time. Until its timer thread arrives it keeps the alarm settings; the
// thread's ticks will raise OnAlarm.
class TRxClock : public TLabel {
 public:
  explicit TRxClock(TComponent* AOwner);

  int AlarmHour() const { return alarmHour_; }
  int AlarmMinute() const { return alarmMinute_; }
  int AlarmSecond() const { return alarmSecond_; }
  void SetAlarmTime(int hour, int minute, int second);
  bool AlarmEnabled() const { return alarmEnabled_; }
  void SetAlarmEnabled(bool value) { alarmEnabled_ = value; }

  TNotifyEvent OnAlarm;

 private:
  int alarmHour_ = 0, alarmMinute_ = 0, alarmSecond_ = 0;
  bool alarmEnabled_ = false;
};

// The program's icon in the notification area. It keeps its hint, menu and state; the icon
// itself is placed there with the tray's own work.
class TRxTrayIcon : public TComponent {
 public:
  using TComponent::TComponent;

  const std::string& Hint() const { return hint_; }
  void SetHint(const std::string& value) { hint_ = value; }
  bool Active() const { return active_; }
  void SetActive(bool value) { active_ = value; }
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* menu) { popupMenu_ = menu; }

  TNotifyEvent OnClick;
  TMouseMoveEvent OnMouseMove;

 private:
  std::string hint_;
  bool active_ = true;
  TPopupMenu* popupMenu_ = nullptr;
};
