// A window timer: raises OnTimer every Interval milliseconds on the GUI thread, from whatever
// message loop runs (modal ones included). It runs while Enabled and Interval > 0; a handler
// may switch its own timer off, or free it. Switching it off and on again starts the interval
// anew.
//
//   Timer3 = new TTimer(this);
//   Timer3->SetInterval(1000);
//   Timer3->OnTimer = [this](TObject* s) { Timer3Timer(s); };
#pragma once

#include "framework/component.h"

#include <windows.h>

class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned value);

  TNotifyEvent OnTimer;

 protected:
  virtual void Timer();

 private:
  static void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD);
  void UpdateTimer();

  bool enabled_ = true;
  unsigned interval_ = 1000;
  UINT_PTR id_ = 0;  // non-zero while the system timer runs
};
