#include "framework/forms.h"

#include "framework/application.h"
#include "framework/exceptions.h"
#include "framework/text_encoding.h"

#include <set>

TScreen Screen;

namespace {

// Forms alive now: a release queued for later frees only a form that still exists.
std::set<TForm*>& LiveForms() {
  static std::set<TForm*> forms;
  return forms;
}

void FrameStyles(TFormBorderStyle border, DWORD& style, DWORD& exStyle) {
  switch (border) {
    case bsNone: style = WS_POPUP; exStyle = 0; break;
    case bsSingle: style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX; exStyle = 0; break;
    case bsSizeable: style = WS_OVERLAPPEDWINDOW; exStyle = 0; break;
    case bsDialog:
      style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
      exStyle = WS_EX_DLGMODALFRAME;
      break;
    case bsToolWindow: style = WS_POPUP | WS_CAPTION | WS_SYSMENU; exStyle = WS_EX_TOOLWINDOW; break;
    case bsSizeToolWin:
      style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
      exStyle = WS_EX_TOOLWINDOW;
      break;
  }
}

struct WindowList {
  HWND except;
  std::vector<HWND> windows;
};

BOOL CALLBACK CollectEnabledWindow(HWND hwnd, LPARAM param) {
  auto* list = reinterpret_cast<WindowList*>(param);
  if (hwnd != list->except && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd))
    list->windows.push_back(hwnd);
  return TRUE;
}

}  // namespace

TForm::TForm(TComponent* AOwner) : TCustomControl(AOwner) {
  SetLoading();
  TControl::SetVisible(false);
  SetDoubleBuffered(true);
  SetParentFont(false);
  SetControlStyle(ControlStyle() & ~static_cast<TControlStyle>(csCaptureMouse | csClickEvents));
  LiveForms().insert(this);
}

TForm::~TForm() {
  LiveForms().erase(this);
}

void TForm::AfterConstruction() {
  TCustomControl::AfterConstruction();
  Raise(OnCreate);
  if (Visible()) SetVisible(true);
}

void TForm::BeforeDestruction() {
  if (!(ComponentState() & csDestroying)) {
    TComponent::BeforeDestruction();  // csDestroying: handlers can tell
    Raise(OnDestroy);
  }
  TCustomControl::BeforeDestruction();
}

void TForm::Raise(const TNotifyEvent& event) {
  if (!event) return;
  try {
    event(this);
  } catch (...) {
    Application.HandleException(this);
  }
}

void TForm::SetBorderStyle(TFormBorderStyle value) {
  if (value == borderStyle_) return;
  borderStyle_ = value;
  RecreateWnd();
}

void TForm::SetTransparentColor(bool value) {
  if (value == transparentColor_) return;
  transparentColor_ = value;
  RecreateWnd();
}

void TForm::SetTransparentColorValue(TColor value) {
  transparentColorValue_ = value;
  if (HandleAllocated()) ApplyLayering();
}

void TForm::SetClientWidth(int value) {
  DWORD style, exStyle;
  FrameStyles(borderStyle_, style, exStyle);
  RECT r{0, 0, value, 100};
  AdjustWindowRectEx(&r, style, FALSE, exStyle);
  SetWidth(r.right - r.left);
}

void TForm::SetClientHeight(int value) {
  DWORD style, exStyle;
  FrameStyles(borderStyle_, style, exStyle);
  RECT r{0, 0, 100, value};
  AdjustWindowRectEx(&r, style, FALSE, exStyle);
  SetHeight(r.bottom - r.top);
}

void TForm::SetVisible(bool value) {
  TControl::SetVisible(value);
  if (ComponentState() & csLoading) return;
  if (value) {
    HandleNeeded();
    PlaceOnScreen();
    if (!IsWindowVisible(Handle())) ShowWindow(Handle(), SW_SHOW);
  } else if (HandleAllocated()) {
    ShowWindow(Handle(), SW_HIDE);
  }
}

void TForm::Show() {
  SetVisible(true);
  SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

TModalResult TForm::ShowModal() {
  if (modal_ || (HandleAllocated() && IsWindowVisible(Handle())))
    throw Exception("Cannot make a visible window modal");
  HandleNeeded();
  HWND active = GetActiveWindow();
  WindowList others{Handle(), {}};
  EnumThreadWindows(GetCurrentThreadId(), CollectEnabledWindow, reinterpret_cast<LPARAM>(&others));
  for (HWND w : others.windows) EnableWindow(w, FALSE);
  modal_ = true;
  modalResult_ = mrNone;
  auto restore = [&] {
    for (HWND w : others.windows) EnableWindow(w, TRUE);
    modal_ = false;
    Hide();
    if (active && IsWindow(active)) SetActiveWindow(active);
  };
  try {
    Show();
    do {
      Application.HandleMessage();
      if (Application.Terminated()) {
        modalResult_ = mrCancel;
      } else if (modalResult_ != mrNone) {
        TCloseAction action = caHide;
        if (OnClose) OnClose(this, action);
        if (action == caNone) modalResult_ = mrNone;
      }
    } while (modalResult_ == mrNone);
  } catch (...) {
    restore();
    throw;
  }
  restore();
  return modalResult_;
}

void TForm::Close() {
  if (modal_) {
    modalResult_ = mrCancel;
    return;
  }
  TCloseAction action = caHide;
  if (OnClose) OnClose(this, action);
  if (action == caNone) return;
  if (Application.MainForm() == this) {
    Application.Terminate();
    return;
  }
  switch (action) {
    case caHide: Hide(); break;
    case caMinimize: ShowWindow(Handle(), SW_MINIMIZE); break;
    case caFree: Release(); break;
    case caNone: break;
  }
}

void TForm::Release() {
  Application.QueueCall([this] {
    if (LiveForms().count(this)) Free();
  });
}

bool TForm::Active() {
  return HandleAllocated() && GetActiveWindow() == Handle();
}

std::wstring TForm::WindowText() {
  // The task bar shows the main form's button: it carries the application's title.
  if (Application.MainForm() == this && !Application.Title().empty())
    return efir::text::fromAnsi(Application.Title());
  return efir::text::fromAnsi(text_);
}

void TForm::CreateParams(TCreateParams& Params) {
  if (Parent()) {
    TCustomControl::CreateParams(Params);
    Params.Style |= WS_CLIPCHILDREN;
    return;
  }
  Params.Caption = WindowText();
  FrameStyles(borderStyle_, Params.Style, Params.ExStyle);
  Params.Style |= WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  if (!Enabled()) Params.Style |= WS_DISABLED;
  if (transparentColor_) Params.ExStyle |= WS_EX_LAYERED;
  Params.X = left_;
  Params.Y = top_;
  Params.Width = width_;
  Params.Height = height_;
  TForm* main = Application.MainForm();
  if (main && main != this && main->HandleAllocated()) Params.WndParent = main->Handle();
}

void TForm::CreateWindowHandle(const TCreateParams& Params) {
  TCustomControl::CreateWindowHandle(Params);
  if (HandleAllocated()) ApplyLayering();
}

void TForm::ApplyLayering() {
  if (transparentColor_)
    SetLayeredWindowAttributes(Handle(), ColorToRGB(transparentColorValue_), 255, LWA_COLORKEY);
}

void TForm::PlaceOnScreen() {
  if (placed_) return;
  placed_ = true;
  RECT area{0, 0, Screen.Width(), Screen.Height()};
  TForm* over = nullptr;
  if (position_ == poMainFormCenter) over = Application.MainForm();
  if (position_ == poOwnerFormCenter) over = dynamic_cast<TForm*>(Owner());
  if (over == this) over = nullptr;
  if (over) area = over->BoundsRect();
  if (position_ == poScreenCenter || over)
    SetBounds(area.left + (area.right - area.left - Width()) / 2,
              area.top + (area.bottom - area.top - Height()) / 2, Width(), Height());
}

void TForm::TextChanged() {
  if (HandleAllocated()) SetWindowTextW(Handle(), WindowText().c_str());
}

void TForm::Paint() {
  if (OnPaint) OnPaint(this);
}

void TForm::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_CLOSE:
      Close();
      return;
    case WM_ACTIVATE:
      if (LOWORD(Message.WParam) != WA_INACTIVE) {
        if (OnActivate) OnActivate(this);
      } else if (OnDeactivate) {
        OnDeactivate(this);
      }
      break;
    case WM_SHOWWINDOW:
      if (Message.WParam) {
        if (OnShow) OnShow(this);
      } else if (OnHide) {
        OnHide(this);
      }
      break;
  }
  TCustomControl::WndProc(Message);
}

// ---------------------------------------------------------------------------- TScreen

TForm* TScreen::ActiveForm() const {
  return dynamic_cast<TForm*>(efir::FindControl(GetActiveWindow()));
}

HCURSOR TScreen::Cursors(TCursor id) const {
  auto found = cursors_.find(id);
  return found == cursors_.end() ? nullptr : found->second;
}

void TScreen::SetCursors(TCursor id, HCURSOR cursor) {
  cursors_[id] = cursor;
}

void TScreen::RegisterCursor(TCursor id, const wchar_t* resource, const wchar_t* fallback) {
  HCURSOR cursor = LoadCursorW(GetModuleHandleW(nullptr), resource);
  if (!cursor && fallback) cursor = LoadCursorW(nullptr, fallback);
  if (cursor) SetCursors(id, cursor);
}

void TScreen::SetCursor(TCursor value) {
  cursor_ = value;
  POINT p;
  GetCursorPos(&p);
  SetCursorPos(p.x, p.y);  // makes the window under the mouse set its cursor again
}

namespace efir {

void StartMoving(TControl* pressed) {
  TForm* form = pressed ? pressed->GetParentForm() : nullptr;
  if (!form) return;
  ReleaseCapture();
  SendMessageW(form->Handle(), WM_SYSCOMMAND, 0xF012, 0);
}

}  // namespace efir
