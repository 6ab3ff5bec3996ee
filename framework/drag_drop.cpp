#include "framework/drag_drop.h"

#include "framework/forms.h"

#include <windowsx.h>

#include <cstdlib>
#include <memory>
#include <utility>

// The one drag that runs: its source, where it began, and the control that the cursor is over.
class TDragSession {
 public:
  TDragSession(TDragControl& source, POINT start, int threshold)
      : source_(source), start_(start), threshold_(threshold), screenCursor_(Screen.Cursor()) {}

  TDragControl& Source() const { return source_; }
  ~TDragSession() { ShowCursor(screenCursor_); }

  // A target going away is no target any more.
  void Forget(const TDragControl* control) {
    if (target_ != control) return;
    target_ = nullptr;
    accepted_ = false;
  }

  // The cursor at a screen point; start makes a pending drag run here.
  void Move(POINT screen, bool start = false) {
    if (!active_) {
      if (!start && std::abs(screen.x - start_.x) <= threshold_ &&
          std::abs(screen.y - start_.y) <= threshold_)
        return;
      Activate();
    }
    TDragControl* target = TargetAt(screen);
    if (target != target_) {
      Ask(dsDragLeave, screen);
      target_ = target;
      Ask(dsDragEnter, screen);
    } else {
      Ask(dsDragMove, screen);
    }
    ShowCursor(accepted_ ? source_.DragCursor() : crNoDrop);
  }

  bool Active() const { return active_; }

  // Where the drop lands: the target that took it, or nullptr.
  TDragControl* Finish(bool drop, POINT screen) {
    if (drop && active_) Move(screen);
    if (drop && active_ && accepted_) return target_;
    if (active_) Ask(dsDragLeave, screen);
    return nullptr;
  }

 private:
  void Activate() {
    active_ = true;
    if (source_.OnStartDrag) source_.OnStartDrag(&source_.self_);
  }

  // Only a change: setting the screen's cursor makes the system move the mouse where it is,
  // and that move comes back here.
  static void ShowCursor(TCursor cursor) {
    if (Screen.Cursor() != cursor) Screen.SetCursor(cursor);
  }

  static TDragControl* TargetAt(POINT screen) {
    TWinControl* window = efir::FindControl(WindowFromPoint(screen));
    if (!window) return nullptr;
    TControl* control = window;
    if (TControl* child = window->ControlAtPos(window->ScreenToClient(screen))) control = child;
    return dynamic_cast<TDragControl*>(control);
  }

  void Ask(TDragState state, POINT screen) {
    if (state != dsDragLeave) accepted_ = false;
    if (!target_ || !target_->OnDragOver) return;
    POINT p = target_->self_.ScreenToClient(screen);
    bool accept = false;
    target_->OnDragOver(&target_->self_, &source_.self_, p.x, p.y, state, accept);
    if (state != dsDragLeave) accepted_ = accept;
  }

  TDragControl& source_;
  POINT start_;
  int threshold_;
  TCursor screenCursor_;
  bool active_ = false;
  TDragControl* target_ = nullptr;
  bool accepted_ = false;
};

namespace {
TDragSession* session = nullptr;
}  // namespace

TDragControl::~TDragControl() {
  if (!session) return;
  // A source going away ends its drag without telling anyone.
  if (&session->Source() == this) delete std::exchange(session, nullptr);
  else session->Forget(this);
}

void TDragControl::BeginDrag(bool Immediate, int Threshold) {
  if (session) return;
  if (!sawMouse_) GetCursorPos(&mouse_);
  self_.SetMouseCapture(true);
  session = new TDragSession(*this, mouse_, Threshold);
  if (Immediate) session->Move(mouse_, true);
}

bool TDragControl::Dragging() const { return session && &session->Source() == this; }

void TDragControl::EndDrag(bool Drop) {
  if (!Dragging()) return;
  if (!sawMouse_) GetCursorPos(&mouse_);
  const POINT screen = mouse_;
  // The session ends first: a handler may start another drag.
  std::unique_ptr<TDragSession> ended(std::exchange(session, nullptr));
  TDragControl* target = ended->Finish(Drop, screen);
  const bool cancelled = !Drop || !ended->Active();
  ended.reset();
  POINT at{};
  if (target) {
    at = target->self_.ScreenToClient(screen);
    if (target->OnDragDrop) target->OnDragDrop(&target->self_, &self_, at.x, at.y);
  }
  if (cancelled) DragCanceled();
  if (OnEndDrag) OnEndDrag(&self_, target ? &target->self_ : nullptr, at.x, at.y);
}

bool TDragControl::DragMessage(TMessage& Message) {
  const UINT msg = Message.Msg;
  if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST && msg != WM_MOUSEWHEEL &&
      msg != WM_MOUSEHWHEEL) {
    mouse_ = self_.ClientToScreen({GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)});
    sawMouse_ = true;
  }
  switch (msg) {
    case WM_LBUTTONDOWN:
      if (dragMode_ == dmAutomatic && !session) BeginDrag(false);
      return false;
    case WM_MOUSEMOVE:
      if (!Dragging()) return false;
      session->Move(mouse_);
      // Once the drag runs, the moves are its own.
      return session->Active();
    case WM_LBUTTONUP: {
      // A drag that ran takes its release; one still pending leaves the click to the control.
      const bool ran = Dragging() && session->Active();
      EndDrag(true);
      if (ran) self_.SetMouseCapture(false);
      return ran;
    }
    case WM_KEYDOWN:
      if (!Dragging() || Message.WParam != VK_ESCAPE) return false;
      EndDrag(false);
      return true;
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
      EndDrag(false);
      return false;
    default:
      return false;
  }
}
