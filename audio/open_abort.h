// A switch another thread flips to abort the opening of a stream: an open that waits for a
// server which accepts and never answers would otherwise hold its thread for the whole
// network time-out.
//
//   auto abort = std::make_shared<audio::OpenAbort>();
//   DWORD stream = audio::streamCreateUrl(url, flags, proc, user, *abort);   // one thread
//   abort->trigger();   // another thread: that call fails at once with Error::Ended
//
// A switch flipped before the call makes it fail at its start; once flipped it stays so,
// so it serves one open (or one connect's opens).
#pragma once

#include <functional>
#include <mutex>

namespace audio {

class OpenAbort {
 public:
  // Any thread, any number of times.
  void trigger();
  bool triggered() const;

  // The library's side. `stop` ends the open under way, on the triggering thread; false (and
  // nothing kept) when the switch is already flipped.
  bool watch(std::function<void()> stop);
  // The open has ended: nothing is left to stop.
  void unwatch();

 private:
  mutable std::mutex m_;
  bool triggered_ = false;
  std::function<void()> stop_;
};

}  // namespace audio
