#include "framework/timer.h"

#include "framework/application.h"
#include "framework/exceptions.h"

#include <map>

namespace {

// Running timers by their id on the application's window.
std::map<UINT_PTR, TTimer*>& Running() {
  static std::map<UINT_PTR, TTimer*> timers;
  return timers;
}

UINT_PTR NextId() {
  static UINT_PTR last = 0x7000;
  return ++last;
}

}  // namespace

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {
  UpdateTimer();
}

TTimer::~TTimer() {
  enabled_ = false;
  UpdateTimer();
}

void TTimer::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned value) {
  if (value == interval_) return;
  interval_ = value;
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  if (id_) {
    KillTimer(Application.Handle(), id_);
    Running().erase(id_);
    id_ = 0;
  }
  if (!enabled_ || interval_ == 0) return;
  UINT_PTR id = NextId();
  if (!SetTimer(Application.Handle(), id, interval_, &TTimer::TimerProc))
    throw Exception("Not enough timers available");
  id_ = id;
  Running()[id] = this;
}

void TTimer::Timer() {
  // A copy: the handler may free its own timer.
  TNotifyEvent handler = OnTimer;
  if (handler) handler(this);
}

void CALLBACK TTimer::TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
  efir::Guarded([id] {
    auto found = Running().find(id);
    if (found != Running().end()) found->second->Timer();
  });
}
