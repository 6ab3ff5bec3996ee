// The application object: task-bar title, creation of the program's forms, the message loop,
// and the default exception handler.
//
//   int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
//     Application.Initialize();
//     Application.SetTitle("Эфирушка Плюс");
//     Application.CreateForm(Form1);     // the first form created becomes MainForm
//     Application.CreateForm(Form2);
//     Application.Run();                 // until the main form closes or Terminate
//   }
//
// Failures end the current command, never the program: the window procedures and callbacks
// of the framework catch every exception and hand it to HandleException, which shows its
// message in a message box captioned with the title. Code that runs a Win32 callback of its
// own wraps its body in efir::Guarded.
//
// Threads reach the GUI thread through TThread::Synchronize, which every loop services: the
// main loop, modal forms, ProcessMessages, and also the loops of message boxes, menus and
// common dialogs, since the request arrives as a posted message to the application's window.
#pragma once

#include "framework/component.h"
#include "framework/messages.h"

#include <windows.h>

#include <exception>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "framework/messages.h"

class TForm;

using TMessageEvent = std::function<void(MSG& Msg, bool& Handled)>;

class TApplication : public TComponent {
 public:
  TApplication();
  ~TApplication() override;

  // Creates the application's hidden window on the GUI thread (also done on first need).
  void Initialize();
  // The application's hidden window: the owner of the forms, carrier of the title, receiver
  // of timers and thread requests. Created on first use.
  HWND Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }

  // The task-bar text. The main form's task-bar button carries it: the main form's window
  // text is the title while one is set (its Caption stays what the layout gave it).
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title);

  // The program-wide hint switch: while off, controls show no hints of their own (a grid's
  // text-fit hint excepted, which shows text the cell cuts off). On by default.
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool value) { showHint_ = value; }

  // Creates a form owned by the application and stores it in `reference` before its second
  // phase runs (so its OnCreate may already use the variable). The first becomes MainForm.
  template <class T>
  void CreateForm(T*& reference) {
    reference = new T(this);
    Adopt(reference);
  }
  TForm* MainForm() const { return mainForm_; }

  // Runs the message loop until Terminate or the main form closes; then frees the forms.
  void Run();
  // Handles every message waiting in the queue, then returns.
  void ProcessMessages();
  // Waits for one message and handles it (or returns at once when terminated).
  void HandleMessage();
  // Ends the message loop (posts WM_QUIT).
  void Terminate();
  bool Terminated() const { return terminated_; }

  // Sees every message of the loops before it is dispatched; Handled drops it.
  TMessageEvent OnMessage;

  // Hooks on the application's window: each sees its messages first, in the order hooked
  // (system-wide notices such as WM_WININICHANGE reach it, as every top-level window); one
  // that returns true has handled the message. The window also hears CM_ACTIVATE when the
  // program becomes the active one.
  using TWindowHook = std::function<bool(TMessage& Message)>;
  int HookMainWindow(TWindowHook hook);  // the id to unhook with
  void UnhookMainWindow(int id);

  // The default exception handler: shows the message of the exception in flight (call it
  // inside a catch block) and returns; it never raises.
  void HandleException(TObject* Sender = nullptr);
  void ShowException(const std::string& message);
  // For tests: when set, receives the message instead of the message box.
  std::function<void(const std::string& message)> ExceptionHook;

  // For start-up work that must finish (its window shown, its sound started) before anyone is
  // asked to press OK: while held, ShowException gathers its messages (each text once);
  // ShowHeldExceptions stops holding and tells them all in one box from the next loop.
  void HoldExceptions() { holding_ = true; }
  void ShowHeldExceptions();

  // Runs `call` later on the GUI thread, from whatever loop dispatches messages next (a menu
  // item's click after its menu has closed, a form that frees itself). GUI thread only.
  void QueueCall(std::function<void()> call);

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void Adopt(TForm* form);
  bool ProcessMessage(MSG& msg);
  void RunQueuedCall();
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

  HWND handle_ = nullptr;
  std::string title_;
  TForm* mainForm_ = nullptr;
  bool terminated_ = false;
  bool running_ = false;
  bool showHint_ = true;
  bool holding_ = false;
  std::vector<std::string> held_;
  std::vector<std::pair<int, TWindowHook>> hooks_;
  int nextHookId_ = 1;
};

extern TApplication Application;

namespace efir {

// Runs `body` and hands any exception to the application's handler: the body of every Win32
// callback the framework and the programs install.
template <class F>
void Guarded(F&& body) noexcept {
  try {
    body();
  } catch (...) {
    Application.HandleException();
  }
}

// The text of an exception in flight: the message of Exception and std::exception kinds.
std::string CurrentExceptionMessage();

}  // namespace efir
