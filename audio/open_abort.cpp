#include "audio/open_abort.h"

namespace audio {

void OpenAbort::trigger() {
  std::function<void()> stop;
  {
    std::lock_guard lock(m_);
    triggered_ = true;
    stop = std::move(stop_);
    stop_ = nullptr;
  }
  // Outside the lock: stopping wakes the opening thread, which then unwatches.
  if (stop) stop();
}

bool OpenAbort::triggered() const {
  std::lock_guard lock(m_);
  return triggered_;
}

bool OpenAbort::watch(std::function<void()> stop) {
  std::lock_guard lock(m_);
  if (triggered_) return false;
  stop_ = std::move(stop);
  return true;
}

void OpenAbort::unwatch() {
  std::lock_guard lock(m_);
  stop_ = nullptr;
}

}  // namespace audio
