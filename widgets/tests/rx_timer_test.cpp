// The timer with a worker thread: ticks on the GUI thread (or on the worker), stopping, and
// freeing it in every state the worker can be in.
#include "widgets/rx_timer.h"

#include "framework/exceptions.h"
#include "framework/tests/ui_fixture.h"
#include "tests/support/window.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace {

using efir::test::pumpFor;
using efir::test::pumpUntil;

class RxTimer : public efir::test::UiTest {
 protected:
  void TearDown() override {
    if (timer) timer->Free();
    UiTest::TearDown();
  }

  // A 5 ms timer counting its ticks.
  void StartCounting() {
    timer = new TRxTimer(nullptr);
    timer->SetInterval(5);
    timer->SetOnTimer([this](TObject*) { ++ticks; });
  }

  void FreeTimer() {
    timer->Free();
    timer = nullptr;
  }

  TRxTimer* timer = nullptr;
  std::atomic<int> ticks{0};
};

TEST_F(RxTimer, TicksReachTheGuiThreadUntilDisabledOrFreed) {
  timer = new TRxTimer(nullptr);
  timer->SetInterval(5);
  std::vector<DWORD> threads;
  timer->SetOnTimer([&](TObject* sender) {
    EXPECT_EQ(sender, timer);
    threads.push_back(GetCurrentThreadId());
  });
  ASSERT_TRUE(pumpUntil([&] { return threads.size() >= 3; }, 3000));
  for (DWORD thread : threads) EXPECT_EQ(thread, GetCurrentThreadId());

  timer->SetEnabled(false);
  size_t before = threads.size();
  pumpFor(100);
  EXPECT_EQ(threads.size(), before) << "a tick waiting for the GUI thread finds it disabled";

  timer->SetEnabled(true);
  ASSERT_TRUE(pumpUntil([&] { return threads.size() > before; }, 3000));
  FreeTimer();
  before = threads.size();
  pumpFor(100);
  EXPECT_EQ(threads.size(), before);
}

TEST_F(RxTimer, NothingTicksWithoutIntervalEnabledOrHandler) {
  struct Case {
    const char* name;
    std::function<void(TRxTimer&)> setUp;
  };
  const Case cases[] = {
      {"interval 0", [](TRxTimer& t) { t.SetInterval(0); }},
      {"disabled", [](TRxTimer& t) { t.SetEnabled(false); }},
      {"handler cleared", [](TRxTimer& t) { t.SetOnTimer(nullptr); }},
      {"window timer, interval 0", [](TRxTimer& t) { t.SetThreaded(false); t.SetInterval(0); }},
      {"window timer, disabled", [](TRxTimer& t) { t.SetThreaded(false); t.SetEnabled(false); }},
  };
  for (const Case& c : cases) {
    StartCounting();
    c.setUp(*timer);
    int before = ticks;
    pumpFor(60);
    EXPECT_EQ(ticks, before) << c.name;
    FreeTimer();
  }
}

TEST_F(RxTimer, AWindowTimerTicksWhenNotThreaded) {
  StartCounting();
  timer->SetThreaded(false);
  DWORD thread = 0;
  timer->SetOnTimer([&](TObject*) {
    thread = GetCurrentThreadId();
    ++ticks;
  });
  ASSERT_TRUE(pumpUntil([&] { return ticks >= 2; }, 3000));
  EXPECT_EQ(thread, GetCurrentThreadId());
  timer->SetThreaded(true);
  ASSERT_TRUE(pumpUntil([&] { return ticks >= 4; }, 3000)) << "back on the worker";
}

// The GUI thread busy while the worker waits to hand over a tick: freeing the timer serves
// that tick (finding the timer gone) instead of deadlocking, and no handler runs afterwards.
TEST_F(RxTimer, FreeingWhileATickWaitsForTheGuiThreadRunsNoHandler) {
  StartCounting();
  ASSERT_TRUE(pumpUntil([&] { return ticks >= 1; }, 3000));
  Sleep(50);  // the worker is now blocked handing over its next tick
  int before = ticks;
  FreeTimer();
  EXPECT_EQ(ticks, before);
  pumpFor(60);
  EXPECT_EQ(ticks, before);
}

TEST_F(RxTimer, AHandlerMayFreeItsOwnTimer) {
  StartCounting();
  timer->SetOnTimer([this](TObject*) {
    ++ticks;
    FreeTimer();
  });
  ASSERT_TRUE(pumpUntil([&] { return ticks == 1; }, 3000));
  pumpFor(60);
  EXPECT_EQ(ticks, 1);
  EXPECT_EQ(timer, nullptr);
}

TEST_F(RxTimer, WithoutSyncEventTheHandlerRunsOnTheWorkerWhichEndsWithTheTimer) {
  StartCounting();
  std::atomic<DWORD> worker{0};
  timer->SetSyncEvent(false);
  timer->SetOnTimer([&](TObject*) {
    worker = GetCurrentThreadId();
    ++ticks;
  });
  ASSERT_TRUE(pumpUntil([&] { return ticks >= 2; }, 3000));
  EXPECT_NE(worker, GetCurrentThreadId());
  FreeTimer();
  HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, worker);
  if (thread) {  // gone entirely, or at least ended
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0);
    CloseHandle(thread);
  }
}

TEST_F(RxTimer, AFailingHandlerIsReportedAndTheTicksGoOn) {
  for (bool sync : {true, false}) {
    shown.clear();
    StartCounting();
    timer->SetSyncEvent(sync);
    timer->SetOnTimer([this](TObject*) {
      if (++ticks == 1) throw Exception("Сбой таймера");
    });
    ASSERT_TRUE(pumpUntil([&] { return ticks >= 3 && !shown.empty(); }, 3000)) << sync;
    EXPECT_EQ(shown.front(), "Сбой таймера");
    FreeTimer();
    ticks = 0;
  }
}

}  // namespace

namespace {

// The box the test shows, once the system has made it.
HWND ModalBox() { return FindWindowW(L"#32770", L"RxTimer modal"); }

}  // namespace

// While the GUI thread sits in the system's own modal loop (a message box the user must
// answer), the ticks still arrive on it: the fifth one answers the box.
TEST_F(RxTimer, TicksGoOnWhileAMessageBoxWaitsForTheUser) {
  StartCounting();
  const DWORD gui = GetCurrentThreadId();
  std::atomic<bool> answeredByTick{false}, done{false};
  timer->SetOnTimer([&](TObject*) {
    EXPECT_EQ(GetCurrentThreadId(), gui);
    if (++ticks == 5 && ModalBox()) {
      answeredByTick = true;
      PostMessageW(ModalBox(), WM_COMMAND, IDOK, 0);
    }
  });
  // Should the ticks never come, the box is answered after a while all the same.
  std::thread watchdog([&] {
    for (int i = 0; i < 500 && !done; ++i) Sleep(10);
    if (!done && ModalBox()) PostMessageW(ModalBox(), WM_COMMAND, IDCANCEL, 0);
  });
  ticks = 0;
  MessageBoxW(nullptr, L"ticks", L"RxTimer modal", MB_OK);
  done = true;
  watchdog.join();
  EXPECT_TRUE(answeredByTick) << ticks;
}
