// An owned manual-reset event, made unset; closed when it goes.
#pragma once

#include <windows.h>

namespace efir {

class ManualEvent {
 public:
  ManualEvent() : handle_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~ManualEvent() {
    if (handle_) CloseHandle(handle_);
  }
  ManualEvent(const ManualEvent&) = delete;
  ManualEvent& operator=(const ManualEvent&) = delete;

  HANDLE handle() const { return handle_; }
  void Set() { SetEvent(handle_); }
  void Reset() { ResetEvent(handle_); }

 private:
  HANDLE handle_;
};

}  // namespace efir
