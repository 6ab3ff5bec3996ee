// The user's part in a window test, played while the program runs loops of its own (a popup
// menu, a window's move, an open drop-down list): one step a tick of a timer, which every
// loop of the program serves, so input can follow input whatever loop reads it.
//
//   UserScript script({Act([&] { efir::test::clickMouse(at, true); }),
//                      [&] { return PopupMenuShown(); },  // waits until the menu shows
//                      Act([] { efir::test::pressKey(VK_ESCAPE); })});
//   ASSERT_TRUE(script.RunToEnd());
//
// A step answering false is tried again at the next tick, for at most a second; then the
// script goes on, and `Waited()` says so.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "framework/timer.h"
#include "player/tests/player_fixture.h"
#include "tests/support/window.h"

namespace player_test {

class UserScript {
 public:
  using Step = std::function<bool()>;

  explicit UserScript(std::vector<Step> steps, int intervalMs = 80)
      : steps_(std::move(steps)), timer_(nullptr) {
    timer_.SetInterval(intervalMs);
    tickLimit_ = 1000 / intervalMs;
    timer_.OnTimer = [this](TObject*) { Tick(); };
  }

  bool Finished() const { return next_ >= steps_.size(); }
  // A waiting step gave up.
  bool Waited() const { return waited_; }
  // Pumps the program's loop until every step ran; false when the time ran out first.
  bool RunToEnd(int timeoutMs = 8000) {
    return PumpUntil([this] { return Finished(); }, timeoutMs);
  }

 private:
  void Tick() {
    if (Finished() || running_) return;
    running_ = true;  // a step that enters a loop of its own must not be run again from it
    const bool done = steps_[next_]();
    running_ = false;
    if (!done && ++ticks_ < tickLimit_) return;
    if (!done) waited_ = true;
    ticks_ = 0;
    ++next_;
  }

  std::vector<Step> steps_;
  TTimer timer_;
  size_t next_ = 0;
  int ticks_ = 0;
  int tickLimit_ = 0;
  bool running_ = false;
  bool waited_ = false;
};

// A step that only acts.
inline UserScript::Step Act(std::function<void()> action) {
  return [action = std::move(action)] {
    action();
    return true;
  };
}

// A popup menu of this thread is on the screen.
inline bool PopupMenuShown() {
  return efir::test::shownThreadWindow(L"#32768") != nullptr;
}

}  // namespace player_test
