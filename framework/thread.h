// Worker threads and their one road to the GUI thread.
//
//   class TFetch : public TThread {
//    protected:
//     void Execute() override {
//       while (!Terminated()) {
//         ...                                         // worker work
//         Synchronize([&] { Form1->Label1->SetCaption(text); });  // runs on the GUI thread
//       }
//     }
//   };
//   auto* t = new TFetch;         // made suspended: a constructor cannot start Execute
//   t->SetFreeOnTerminate(true);
//   t->Start();
//
// Synchronize blocks the worker until the GUI thread has run the function, and raises in the
// worker what the function raised. The GUI thread runs such requests from any message loop,
// nested and modal ones included, and while it waits in WaitFor. Create the first thread (or
// call Application.Initialize) on the GUI thread: that thread becomes the GUI thread.
#pragma once

#include "framework/component.h"

#include <windows.h>

#include <atomic>
#include <exception>
#include <functional>

enum TThreadPriority { tpIdle, tpLowest, tpLower, tpNormal, tpHigher, tpHighest, tpTimeCritical };

class TThread : public TObject {
 public:
  // Made suspended: it starts only with Start, since Execute cannot run before the derived
  // class is constructed.
  TThread();
  // Waits for a started thread that does not free itself: terminate it first.
  ~TThread() override;
  TThread(const TThread&) = delete;
  TThread& operator=(const TThread&) = delete;

  // Starts Execute on the worker; Resume is the same call.
  void Start();
  void Resume() { Start(); }
  // Asks Execute to end; it tests Terminated().
  void Terminate() { terminated_ = true; }
  bool Terminated() const { return terminated_; }
  // Waits until Execute has ended and returns ReturnValue. On the GUI thread the wait keeps
  // serving Synchronize requests. Not for a thread that frees itself.
  DWORD WaitFor();
  bool Finished() const { return finished_; }

  // When set, the thread frees itself after Execute and OnTerminate.
  bool FreeOnTerminate() const { return freeOnTerminate_; }
  void SetFreeOnTerminate(bool value) { freeOnTerminate_ = value; }
  TThreadPriority Priority() const { return priority_; }
  void SetPriority(TThreadPriority priority);
  HANDLE Handle() const { return handle_; }
  DWORD ThreadID() const { return threadId_; }
  DWORD ReturnValue() const { return returnValue_; }
  // What Execute raised and did not catch (empty when nothing); the thread ends with it.
  std::exception_ptr FatalException() const { return fatal_; }

  // Raised on the GUI thread after Execute ends.
  TNotifyEvent OnTerminate;

  // Runs `method` on the GUI thread and returns when it has run; on the GUI thread it runs at
  // once. An exception of `method` is raised again in the calling thread.
  static void Synchronize(const std::function<void()>& method);

 protected:
  virtual void Execute() = 0;
  void SetReturnValue(DWORD value) { returnValue_ = value; }

 private:
  static DWORD WINAPI ThreadProc(void* self);

  HANDLE handle_ = nullptr;
  DWORD threadId_ = 0;
  std::atomic<bool> terminated_{false};
  std::atomic<bool> finished_{false};
  bool started_ = false;
  bool freeOnTerminate_ = false;
  TThreadPriority priority_ = tpNormal;
  DWORD returnValue_ = 0;
  std::exception_ptr fatal_;
};

namespace efir {

// Runs the Synchronize requests waiting for the GUI thread; true when it ran any. Every
// message loop calls it; the application's window calls it when a request arrives.
bool CheckSynchronize();
// The thread that runs the GUI (the one that made the application's window).
bool IsGuiThread();

}  // namespace efir
