#include "framework/thread.h"

#include "framework/application.h"
#include "framework/exceptions.h"

#include <deque>
#include <mutex>

namespace {

struct Request {
  const std::function<void()>* method;
  HANDLE done;
  std::exception_ptr error;
};

std::mutex queueLock;
std::deque<Request*> queue;

// Set whenever a request is queued, so that a GUI thread waiting in WaitFor wakes for it.
HANDLE RequestSignal() {
  static HANDLE signal = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  return signal;
}

}  // namespace

namespace efir {

UINT SynchronizeMessage() {
  static const UINT message = RegisterWindowMessageW(L"EfirSynchronize");
  return message;
}

bool CheckSynchronize() {
  if (!IsGuiThread()) return false;
  bool ran = false;
  for (;;) {
    Request* request;
    {
      std::lock_guard<std::mutex> hold(queueLock);
      if (queue.empty()) return ran;
      request = queue.front();
      queue.pop_front();
    }
    try {
      (*request->method)();
    } catch (...) {
      request->error = std::current_exception();
    }
    ran = true;
    SetEvent(request->done);
  }
}

}  // namespace efir

TThread::TThread() {
  Application.Initialize();  // the creating thread is the GUI thread when nothing is yet
  handle_ = CreateThread(nullptr, 0, &TThread::ThreadProc, this, CREATE_SUSPENDED, &threadId_);
  if (!handle_) throw Exception("Thread creation error: " + std::to_string(GetLastError()));
}

TThread::~TThread() {
  if (started_ && !finished_ && GetCurrentThreadId() != threadId_) {
    Terminate();
    WaitFor();
  }
  if (!started_) {
    // Never started: let the suspended thread run to its end without calling Execute.
    terminated_ = true;
    finished_ = true;
    ResumeThread(handle_);
    WaitForSingleObject(handle_, INFINITE);
  }
  CloseHandle(handle_);
}

void TThread::Start() {
  if (started_) return;
  started_ = true;
  ResumeThread(handle_);
}

DWORD TThread::WaitFor() {
  if (!started_) return returnValue_;
  HANDLE handles[2] = {handle_, RequestSignal()};
  if (efir::IsGuiThread()) {
    while (WaitForMultipleObjects(2, handles, FALSE, INFINITE) != WAIT_OBJECT_0)
      efir::CheckSynchronize();
  } else {
    WaitForSingleObject(handle_, INFINITE);
  }
  return returnValue_;
}

void TThread::SetPriority(TThreadPriority priority) {
  static const int levels[] = {THREAD_PRIORITY_IDLE, THREAD_PRIORITY_LOWEST,
                               THREAD_PRIORITY_BELOW_NORMAL, THREAD_PRIORITY_NORMAL,
                               THREAD_PRIORITY_ABOVE_NORMAL, THREAD_PRIORITY_HIGHEST,
                               THREAD_PRIORITY_TIME_CRITICAL};
  priority_ = priority;
  SetThreadPriority(handle_, levels[priority]);
}

void TThread::Synchronize(const std::function<void()>& method) {
  if (efir::IsGuiThread()) {
    method();
    return;
  }
  // The application's window exists once the GUI thread made a thread or called Initialize;
  // a worker must not make it (it would become the GUI thread).
  if (!Application.HandleAllocated()) throw Exception("No GUI thread to synchronize with");
  HWND target = Application.Handle();
  Request request{&method, CreateEventW(nullptr, TRUE, FALSE, nullptr), nullptr};
  {
    std::lock_guard<std::mutex> hold(queueLock);
    queue.push_back(&request);
  }
  SetEvent(RequestSignal());
  PostMessageW(target, efir::SynchronizeMessage(), 0, 0);
  WaitForSingleObject(request.done, INFINITE);
  CloseHandle(request.done);
  if (request.error) std::rethrow_exception(request.error);
}

DWORD WINAPI TThread::ThreadProc(void* param) {
  auto* self = static_cast<TThread*>(param);
  if (self->finished_) return 0;  // freed before it was started
  try {
    self->Execute();
  } catch (...) {
    self->fatal_ = std::current_exception();
  }
  DWORD result = self->returnValue_;
  bool freeSelf = self->freeOnTerminate_;
  if (self->OnTerminate) {
    try {
      Synchronize([self] { self->OnTerminate(self); });
    } catch (...) {
      if (!self->fatal_) self->fatal_ = std::current_exception();
    }
  }
  self->finished_ = true;
  if (freeSelf) delete self;
  return result;
}
