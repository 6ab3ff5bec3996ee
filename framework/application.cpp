#include "framework/application.h"

#include "framework/exceptions.h"
#include "framework/forms.h"
#include "framework/text_encoding.h"
#include "framework/thread.h"

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <deque>

TApplication Application;

namespace efir {

UINT SynchronizeMessage();  // thread.cpp

namespace {

// The caption of the program's message boxes: its title, or while it has none its file name
// without the extension.
std::wstring MessageCaption(const std::string& title) {
  if (!title.empty()) return efir::text::fromAnsi(title);
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring name(path, length);
  name.erase(0, name.find_last_of(L"\\/") + 1);
  const size_t dot = name.find_last_of(L'.');
  return dot == std::wstring::npos ? name : name.substr(0, dot);
}

constexpr wchar_t kClassName[] = L"EfirApplication";
constexpr UINT kQueuedCall = WM_APP + 0x3F00;

std::atomic<DWORD> guiThread{0};
std::deque<std::function<void()>> queuedCalls;

}  // namespace

bool IsGuiThread() {
  return guiThread != 0 && guiThread == GetCurrentThreadId();
}

std::string CurrentExceptionMessage() {
  try {
    throw;
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "Unknown exception";
  }
}

}  // namespace efir

TApplication::TApplication() : TComponent(nullptr) {}

TApplication::~TApplication() {
  // Forms still alive at process exit are left to the system: their windows and the
  // libraries they would call may already be gone.
  if (handle_) DestroyWindow(handle_);
}

void TApplication::Initialize() {
  Handle();
}

HWND TApplication::Handle() {
  if (handle_) return handle_;
  if (efir::guiThread == 0) efir::guiThread = GetCurrentThreadId();
  efir::InitCommonControlClasses();
  static const bool registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &TApplication::WndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = efir::kClassName;
    return RegisterClassW(&wc) != 0;
  }();
  (void)registered;
  handle_ = CreateWindowExW(WS_EX_TOOLWINDOW, efir::kClassName, efir::text::fromAnsi(title_).c_str(),
                            WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr),
                            nullptr);
  return handle_;
}

void TApplication::SetTitle(const std::string& title) {
  if (title == title_) return;
  title_ = title;
  if (handle_) SetWindowTextW(handle_, efir::text::fromAnsi(title_).c_str());
  // The task bar shows the main form's button: it carries the title.
  if (mainForm_ && mainForm_->HandleAllocated())
    SetWindowTextW(mainForm_->Handle(), efir::text::fromAnsi(title_).c_str());
}

void TApplication::Adopt(TForm* form) {
  Initialize();
  if (!mainForm_) mainForm_ = form;
  form->AfterConstruction();
}

void TApplication::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == mainForm_) mainForm_ = nullptr;
}

void TApplication::Run() {
  Initialize();
  running_ = true;
  if (mainForm_ && !terminated_) {
    try {
      mainForm_->Show();
    } catch (...) {
      HandleException(mainForm_);
    }
  }
  while (!terminated_) HandleMessage();
  running_ = false;
  DestroyComponents();
  mainForm_ = nullptr;
  terminated_ = false;
}

void TApplication::HandleMessage() {
  MSG msg;
  if (ProcessMessage(msg)) return;
  if (efir::CheckSynchronize()) return;
  if (!terminated_) WaitMessage();
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (ProcessMessage(msg)) {
  }
  efir::CheckSynchronize();
}

bool TApplication::ProcessMessage(MSG& msg) {
  if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  bool handled = false;
  if (OnMessage) {
    try {
      OnMessage(msg, handled);
    } catch (...) {
      HandleException();
      handled = true;
    }
  }
  if (!handled) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

void TApplication::Terminate() {
  PostQuitMessage(0);
}

void TApplication::HandleException(TObject*) {
  // Called inside catch blocks of callbacks: nothing may leave it.
  try {
    ShowException(efir::CurrentExceptionMessage());
  } catch (...) {
  }
}

void TApplication::ShowException(const std::string& message) {
  if (holding_) {
    if (std::find(held_.begin(), held_.end(), message) == held_.end()) held_.push_back(message);
    return;
  }
  if (ExceptionHook) {
    ExceptionHook(message);
    return;
  }
  HWND owner = GetActiveWindow();
  MessageBoxW(owner, efir::text::fromAnsi(message).c_str(), efir::MessageCaption(title_).c_str(),
              MB_OK | MB_ICONSTOP);
}

void TApplication::ShowHeldExceptions() {
  holding_ = false;
  if (held_.empty()) return;
  std::string text;
  for (const std::string& message : held_) text += (text.empty() ? "" : "\n\n") + message;
  held_.clear();
  QueueCall([this, text] { ShowException(text); });
}

void TApplication::QueueCall(std::function<void()> call) {
  efir::queuedCalls.push_back(std::move(call));
  PostMessageW(Handle(), efir::kQueuedCall, 0, 0);
}

void TApplication::RunQueuedCall() {
  if (efir::queuedCalls.empty()) return;
  std::function<void()> call = std::move(efir::queuedCalls.front());
  efir::queuedCalls.pop_front();
  call();
}

LRESULT CALLBACK TApplication::WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == efir::SynchronizeMessage()) {
    efir::CheckSynchronize();
    return 0;
  }
  if (msg == efir::kQueuedCall) {
    efir::Guarded([] { Application.RunQueuedCall(); });
    return 0;
  }
  if (msg == WM_ACTIVATEAPP && wp) SendMessageW(hwnd, CM_ACTIVATE, 0, 0);
  TMessage message{msg, wp, lp, 0};
  bool handled = false;
  efir::Guarded([&] {
    // A hook may unhook itself or others: walk a copy.
    std::vector<std::pair<int, TWindowHook>> hooks = Application.hooks_;
    for (auto& entry : hooks)
      if (entry.second(message)) {
        handled = true;
        break;
      }
  });
  return handled ? message.Result : DefWindowProcW(hwnd, msg, wp, lp);
}

int TApplication::HookMainWindow(TWindowHook hook) {
  hooks_.emplace_back(nextHookId_, std::move(hook));
  return nextHookId_++;
}

void TApplication::UnhookMainWindow(int id) {
  std::erase_if(hooks_, [id](const auto& entry) { return entry.first == id; });
}
