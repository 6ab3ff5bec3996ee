// Worker threads reaching the GUI thread, and window timers.
#include "framework/dialogs.h"
#include "framework/exceptions.h"
#include "framework/files.h"
#include "framework/forms.h"
#include "framework/tests/ui_fixture.h"
#include "framework/text_encoding.h"
#include "framework/thread.h"
#include "framework/timer.h"
#include "tests/support/window.h"

#include <gtest/gtest.h>

#include <dlgs.h>

#include <functional>

namespace {

using efir::test::UiTest;
using UiThreads = UiTest;

// A worker that runs the given body.
class Worker : public TThread {
 public:
  explicit Worker(std::function<void(Worker&)> body) : body_(std::move(body)) {}

 protected:
  void Execute() override { body_(*this); }

 private:
  std::function<void(Worker&)> body_;
};

TEST_F(UiThreads, SynchronizeCompletesWhileAModalFormRuns) {
  TForm* owner = NewForm();
  auto* dialog = efir::Construct<TForm>(owner);
  dialog->SetBorderStyle(bsNone);
  dialog->SetBounds(60, 60, 100, 60);
  DWORD gui = GetCurrentThreadId();
  DWORD ranOn = 0;
  bool returned = false;
  Worker worker([&](Worker&) {
    TThread::Synchronize([&] { ranOn = GetCurrentThreadId(); });
    returned = true;  // Synchronize returns only after the GUI thread ran the call
    TThread::Synchronize([&] { dialog->SetModalResult(mrOk); });
  });
  // Start the worker from inside the modal loop.
  Application.QueueCall([&] { worker.Start(); });
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  worker.WaitFor();
  EXPECT_EQ(ranOn, gui);
  EXPECT_TRUE(returned);
  EXPECT_TRUE(IsWindowEnabled(owner->Handle())) << "the modal loop gives the other windows back";
}

TEST_F(UiThreads, WaitForOnTheGuiThreadServesSynchronizeAndOnTerminate) {
  int synced = 0;
  DWORD terminatedOn = 0;
  Worker worker([&](Worker& self) {
    for (int i = 0; i < 3 && !self.Terminated(); ++i) TThread::Synchronize([&] { ++synced; });
  });
  worker.OnTerminate = [&](TObject*) { terminatedOn = GetCurrentThreadId(); };
  worker.Start();
  worker.WaitFor();
  EXPECT_EQ(synced, 3);
  EXPECT_EQ(terminatedOn, GetCurrentThreadId());
  EXPECT_TRUE(worker.Finished());
}

TEST_F(UiThreads, WhatTheSynchronizedCallRaisesIsRaisedInTheWorker) {
  std::string caught;
  Worker worker([&](Worker&) {
    try {
      TThread::Synchronize([] { throw EInOutError("Cannot write radiolog.txt"); });
    } catch (const Exception& e) {
      caught = e.Message();
    }
  });
  worker.Start();
  worker.WaitFor();
  EXPECT_EQ(caught, "Cannot write radiolog.txt");
  EXPECT_TRUE(shown.empty());
}

TEST_F(UiThreads, AThreadThatFreesItselfEndsOnItsOwn) {
  bool done = false;
  auto* worker = new Worker([&](Worker&) { TThread::Synchronize([&] { done = true; }); });
  worker->SetFreeOnTerminate(true);
  worker->Start();
  EXPECT_TRUE(efir::test::pumpUntil([&] { return done; }, 3000));
}

TEST_F(UiThreads, ATimerFiresAndItsHandlerCanSwitchItOff) {
  TTimer timer(nullptr);
  int ticks = 0;
  timer.SetInterval(5);
  timer.OnTimer = [&](TObject*) {
    if (++ticks == 3) timer.SetEnabled(false);
  };
  ASSERT_TRUE(efir::test::pumpUntil([&] { return ticks == 3; }, 3000));
  EXPECT_FALSE(timer.Enabled());
  efir::test::pumpFor(100);
  EXPECT_EQ(ticks, 3);
}

TEST_F(UiThreads, ATimerFiresInsideAModalLoop) {
  TForm* owner = NewForm();
  auto* dialog = efir::Construct<TForm>(owner);
  dialog->SetBorderStyle(bsNone);
  dialog->SetBounds(60, 60, 100, 60);
  TTimer timer(nullptr);
  timer.SetInterval(5);
  timer.OnTimer = [&](TObject*) { dialog->SetModalResult(mrCancel); };
  EXPECT_EQ(dialog->ShowModal(), mrCancel);
}

}  // namespace

namespace {

HWND FindFileDialog() {
  return efir::test::shownThreadWindow(L"#32770");
}

// The system's own loops (here a file dialog's) serve Synchronize too: the worker finds the
// dialog from the GUI thread and answers it.
TEST_F(UiThreads, SynchronizeRunsInsideASystemDialogsLoop) {
  std::string target = efir::GetCurrentDir() + "\\record.mp3";
  TSaveDialog dialog(nullptr);
  dialog.SetFilter("Записи (*.mp3)|*.mp3|Все файлы|*.*");
  bool answered = false;
  Worker worker([&](Worker&) {
    for (int attempt = 0; attempt < 250 && !answered; ++attempt) {
      TThread::Synchronize([&] {
        HWND box = FindFileDialog();
        if (!box) return;
        SetDlgItemTextW(box, cmb13, efir::text::fromAnsi(target).c_str());
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        answered = true;
      });
      Sleep(20);
    }
  });
  worker.Start();
  ASSERT_TRUE(dialog.Execute());
  worker.WaitFor();
  EXPECT_TRUE(answered);
  EXPECT_EQ(dialog.FileName(), target);
  EXPECT_EQ(dialog.FilterIndex(), 1);
}

}  // namespace
