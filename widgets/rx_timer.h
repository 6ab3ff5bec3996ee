// A timer whose ticks come from a worker thread of its own, so that they keep their pace
// while the GUI thread sits in a modal loop. The worker sleeps for the interval and then
// hands OnTimer to the GUI thread (SyncEvent on, the default), or runs it itself (SyncEvent
// off: the handler must then be safe on a worker). With Threaded off it is a plain window
// timer. Events flow only while Enabled, Interval > 0 and OnTimer is set.
//
//   timer_ = new TRxTimer(this);
//   timer_->SetInterval(450);
//   timer_->SetOnTimer([this](TObject*) { TickClock(); });
//
// Freeing the timer ends its worker and waits for it; a tick that is waiting for the GUI
// thread then runs no handler. A handler may free its own timer.
#pragma once

#include "framework/component.h"
#include "framework/thread.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

class TTimer;
class TTimerThread;

class TRxTimer : public TComponent {
 public:
  explicit TRxTimer(TComponent* AOwner);
  ~TRxTimer() override;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned value);
  // Read by the worker before every tick; changing it restarts nothing.
  bool SyncEvent() const { return syncEvent_; }
  void SetSyncEvent(bool value) { syncEvent_ = value; }
  bool Threaded() const { return threaded_; }
  void SetThreaded(bool value);
  TThreadPriority ThreadPriority() const { return priority_; }
  void SetThreadPriority(TThreadPriority value);

  TNotifyEvent OnTimer() const;
  // Assigning a handler where there was none (or clearing it) starts (or stops) the ticks.
  void SetOnTimer(TNotifyEvent value);

 protected:
  // Raises OnTimer while enabled and not being freed; on the GUI thread or the worker.
  virtual void RaiseTimerEvent();

 private:
  friend class TTimerThread;
  void RestartTimer();
  // What the worker does after each sleep (on the worker).
  void WorkerTick();
  // Runs `method` on the GUI thread; any exception goes to the application's handler.
  void RunInGuiThread(const std::function<void()>& method);

  std::atomic<bool> enabled_{true};
  unsigned interval_ = 1000;
  std::atomic<bool> syncEvent_{true};
  bool threaded_ = true;
  TThreadPriority priority_ = tpNormal;
  std::atomic<bool> destroying_{false};
  bool* freedByTick_ = nullptr;  // set while a synchronised tick runs (GUI thread only)

  mutable std::mutex handlerLock_;  // the worker copies OnTimer while the GUI thread sets it
  TNotifyEvent onTimer_;

  TTimerThread* thread_;
  std::unique_ptr<TTimer> windowTimer_;  // only while Threaded is off
};
