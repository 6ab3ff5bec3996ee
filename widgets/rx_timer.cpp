#include "widgets/rx_timer.h"

#include "framework/application.h"
#include "framework/timer.h"

#include <chrono>
#include <condition_variable>

// The worker: waits while paused, sleeps one interval, ticks, and so on until stopped. Pausing
// takes effect at the end of the sleep in progress, which keeps its length, as a change of
// the interval does; only stopping cuts it short.
class TTimerThread : public TThread {
 public:
  explicit TTimerThread(TRxTimer* owner) : owner_(owner) {}

  // Runs (or pauses, when `run` is off) with that interval from the next sleep on.
  void Configure(bool run, unsigned interval, TThreadPriority priority) {
    {
      std::lock_guard<std::mutex> hold(lock_);
      running_ = run;
      interval_ = interval;
    }
    if (!run) return;
    SetPriority(priority);
    wake_.notify_all();
    Start();
  }

  void Stop() {
    {
      std::lock_guard<std::mutex> hold(lock_);
      stopped_ = true;
    }
    Terminate();
    wake_.notify_all();
  }

 protected:
  void Execute() override {
    std::unique_lock<std::mutex> hold(lock_);
    for (;;) {
      wake_.wait(hold, [this] { return running_ || stopped_; });
      if (stopped_) return;
      auto sleep = std::chrono::milliseconds(interval_);
      if (wake_.wait_for(hold, sleep, [this] { return stopped_; })) return;
      if (!running_) continue;
      hold.unlock();
      // Nothing of the owner is touched after this returns but through the stop flag: a
      // handler may have freed the owner meanwhile.
      owner_->WorkerTick();
      hold.lock();
    }
  }

 private:
  TRxTimer* owner_;
  std::mutex lock_;
  std::condition_variable wake_;
  bool running_ = false;
  bool stopped_ = false;
  unsigned interval_ = 1000;
};

TRxTimer::TRxTimer(TComponent* AOwner) : TComponent(AOwner), thread_(new TTimerThread(this)) {}

TRxTimer::~TRxTimer() {
  destroying_ = true;
  enabled_ = false;
  {
    std::lock_guard<std::mutex> hold(handlerLock_);
    onTimer_ = nullptr;
  }
  windowTimer_.reset();
  thread_->Stop();
  if (freedByTick_) {
    *freedByTick_ = true;
    // Freed by its own synchronised handler: the worker waits for this very call to return,
    // so it cannot be waited for here. It ends on its own once the call returns.
    thread_->SetFreeOnTerminate(true);
    return;
  }
  // A tick waiting for the GUI thread is served by WaitFor and finds the timer disabled.
  thread_->WaitFor();
  delete thread_;
}

void TRxTimer::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  RestartTimer();
}

void TRxTimer::SetInterval(unsigned value) {
  if (value == interval_) return;
  interval_ = value;
  RestartTimer();
}

void TRxTimer::SetThreaded(bool value) {
  if (value == threaded_) return;
  threaded_ = value;
  RestartTimer();
}

void TRxTimer::SetThreadPriority(TThreadPriority value) {
  if (value == priority_) return;
  priority_ = value;
  if (threaded_) RestartTimer();
}

TNotifyEvent TRxTimer::OnTimer() const {
  std::lock_guard<std::mutex> hold(handlerLock_);
  return onTimer_;
}

void TRxTimer::SetOnTimer(TNotifyEvent value) {
  bool assignedBefore;
  {
    std::lock_guard<std::mutex> hold(handlerLock_);
    assignedBefore = static_cast<bool>(onTimer_);
    onTimer_ = std::move(value);
  }
  if (assignedBefore != static_cast<bool>(OnTimer())) RestartTimer();
}

void TRxTimer::RaiseTimerEvent() {
  if (!enabled_ || destroying_) return;
  // A copy: the handler may free this timer, and with it the stored handler.
  TNotifyEvent handler = OnTimer();
  if (handler) handler(this);
}

void TRxTimer::RestartTimer() {
  bool runs = interval_ != 0 && enabled_ && static_cast<bool>(OnTimer());
  if (threaded_) {
    windowTimer_.reset();
    thread_->Configure(runs, interval_, priority_);
    return;
  }
  thread_->Configure(false, interval_, priority_);
  if (!windowTimer_) {
    windowTimer_ = std::make_unique<TTimer>(nullptr);
    windowTimer_->SetEnabled(false);
    windowTimer_->OnTimer = [this](TObject*) { RaiseTimerEvent(); };
  }
  windowTimer_->SetEnabled(false);
  windowTimer_->SetInterval(interval_);
  windowTimer_->SetEnabled(runs);
}

void TRxTimer::WorkerTick() {
  if (!enabled_) return;
  if (syncEvent_) {
    RunInGuiThread([this] { RaiseTimerEvent(); });
    return;
  }
  try {
    RaiseTimerEvent();
  } catch (...) {
    // Shown by the GUI thread; the worker goes on with the next interval.
    std::string message = efir::CurrentExceptionMessage();
    try {
      TThread::Synchronize([&message] { Application.ShowException(message); });
    } catch (...) {
    }
  }
}

void TRxTimer::RunInGuiThread(const std::function<void()>& method) {
  TRxTimer* self = this;
  try {
    TThread::Synchronize([self, &method] {
      bool freed = false;  // set by the destructor when the handler frees the timer
      self->freedByTick_ = &freed;
      efir::Guarded(method);
      if (!freed) self->freedByTick_ = nullptr;
    });
  } catch (...) {
    // No GUI thread to reach: nothing to tick.
  }
}
