#include "framework/forms.h"

#include "framework/application.h"
#include "framework/exceptions.h"
#include "framework/main_menu.h"
#include "framework/text_encoding.h"

#include <algorithm>
#include <vector>

TScreen Screen;

namespace {

// Forms alive now, in the order they were made: a release queued for later frees only a
// form that still exists.
std::vector<TForm*>& LiveForms() {
  static std::vector<TForm*> forms;
  return forms;
}

bool IsLive(TForm* form) {
  return std::find(LiveForms().begin(), LiveForms().end(), form) != LiveForms().end();
}

void FrameStyles(TFormBorderStyle border, TBorderIcons icons, DWORD& style, DWORD& exStyle) {
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
  if (border == bsSingle || border == bsSizeable) {
    style &= ~static_cast<DWORD>(WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    if (icons & biMinimize) style |= WS_MINIMIZEBOX;
    if (icons & biMaximize) style |= WS_MAXIMIZEBOX;
  }
  if (!(icons & biSystemMenu)) style &= ~static_cast<DWORD>(WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
  // The system shows the help button only on a caption without minimize and maximize boxes.
  if ((icons & biHelp) && (style & WS_SYSMENU) && !(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)))
    exStyle |= WS_EX_CONTEXTHELP;
}

// One of the fonts the system's non-client metrics name (the default font when they fail).
std::unique_ptr<TFont> SystemFont(LOGFONTW NONCLIENTMETRICSW::*which) {
  auto font = std::make_unique<TFont>();
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return font;
  const LOGFONTW& system = metrics.*which;
  font->SetName(efir::text::toAnsi(system.lfFaceName));
  font->SetHeight(system.lfHeight);
  font->SetCharset(system.lfCharSet);
  TFontStyles style = 0;
  if (system.lfWeight >= FW_BOLD) style |= fsBold;
  if (system.lfItalic) style |= fsItalic;
  font->SetStyle(style);
  return font;
}

int ShowCommand(TWindowState state) {
  switch (state) {
    case wsMinimized: return SW_SHOWMINIMIZED;
    case wsMaximized: return SW_SHOWMAXIMIZED;
    default: return SW_SHOW;
  }
}

// A size within [min, max], where 0 means no limit.
int Constrained(int size, int min, int max) {
  if (max > 0 && size > max) size = max;
  if (min > 0 && size < min) size = min;
  return size;
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
  LiveForms().push_back(this);
}

TForm::~TForm() {
  SetMenu(nullptr);
  LiveForms().erase(std::find(LiveForms().begin(), LiveForms().end(), this));
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

void TForm::SetBorderIcons(TBorderIcons value) {
  if (value == borderIcons_) return;
  borderIcons_ = value;
  RecreateWnd();
}

void TForm::SetFormStyle(TFormStyle value) {
  if (value == formStyle_) return;
  const bool mdi = value == fsMDIChild || value == fsMDIForm || formStyle_ == fsMDIChild || formStyle_ == fsMDIForm;
  if (mdi && HandleAllocated()) throw Exception("Cannot change the MDI style of a form that has a window");
  formStyle_ = value;
  if (HandleAllocated())
    SetWindowPos(Handle(), value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TForm::SetWindowState(TWindowState value) {
  if (value == windowState_) return;
  windowState_ = value;
  if (WindowShown()) ShowWindow(Handle(), ShowCommand(value));
}

void TForm::SetAlphaBlend(bool value) {
  if (value == alphaBlend_) return;
  alphaBlend_ = value;
  if (HandleAllocated()) ApplyLayering();
}

void TForm::SetAlphaBlendValue(BYTE value) {
  if (value == alphaBlendValue_) return;
  alphaBlendValue_ = value;
  if (HandleAllocated()) ApplyLayering();
}

void TForm::SetIcon(const TIcon& value) {
  icon_.Assign(value);
  if (HandleAllocated()) ApplyIcon();
}

void TForm::ApplyIcon() {
  LPARAM icon = reinterpret_cast<LPARAM>(icon_.Handle());
  SendMessageW(Handle(), WM_SETICON, ICON_BIG, icon);
  SendMessageW(Handle(), WM_SETICON, ICON_SMALL, icon);
}

RECT TForm::MonitorWorkArea() {
  RECT bounds = BoundsRect();
  HMONITOR monitor = HandleAllocated() ? MonitorFromWindow(Handle(), MONITOR_DEFAULTTONEAREST)
                                       : MonitorFromRect(&bounds, MONITOR_DEFAULTTONEAREST);
  MONITORINFO info{sizeof(info)};
  if (!GetMonitorInfoW(monitor, &info)) {
    RECT screen{0, 0, Screen.Width(), Screen.Height()};
    return screen;
  }
  return info.rcWork;
}

void TForm::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TCustomControl::SetBounds(ALeft, ATop,
                            Constrained(AWidth, constraints_.MinWidth, constraints_.MaxWidth),
                            Constrained(AHeight, constraints_.MinHeight, constraints_.MaxHeight));
}

void TForm::ApplyConstraints(MINMAXINFO& info) const {
  if (constraints_.MinWidth > 0) info.ptMinTrackSize.x = constraints_.MinWidth;
  if (constraints_.MinHeight > 0) info.ptMinTrackSize.y = constraints_.MinHeight;
  if (constraints_.MaxWidth > 0) {
    info.ptMaxTrackSize.x = constraints_.MaxWidth;
    info.ptMaxSize.x = std::min<LONG>(info.ptMaxSize.x, constraints_.MaxWidth);
  }
  if (constraints_.MaxHeight > 0) {
    info.ptMaxTrackSize.y = constraints_.MaxHeight;
    info.ptMaxSize.y = std::min<LONG>(info.ptMaxSize.y, constraints_.MaxHeight);
  }
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
  FrameStyles(borderStyle_, borderIcons_, style, exStyle);
  RECT r{0, 0, value, 100};
  AdjustWindowRectEx(&r, style, FALSE, exStyle);
  SetWidth(r.right - r.left);
}

void TForm::SetClientHeight(int value) {
  DWORD style, exStyle;
  FrameStyles(borderStyle_, borderIcons_, style, exStyle);
  RECT r{0, 0, 100, value};
  AdjustWindowRectEx(&r, style, FALSE, exStyle);
  SetHeight(r.bottom - r.top);
}

void TForm::SetVisible(bool value) {
  TControl::SetVisible(value);
  if (ComponentState() & csLoading) return;
  if (value) HandleNeeded();
  if (HandleAllocated() && value != WindowShown()) Perform(CM_SHOWINGCHANGED, value);
}

// The form's own answer to CM_SHOWINGCHANGED.
void TForm::ShowWindowInState(bool show) {
  if (!show) {
    ShowWindow(Handle(), SW_HIDE);
    return;
  }
  PlaceOnScreen();
  ShowWindow(Handle(), ShowCommand(windowState_));
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
    if (IsLive(this)) Free();
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
  FrameStyles(borderStyle_, borderIcons_, Params.Style, Params.ExStyle);
  Params.Style |= WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  if (!Enabled()) Params.Style |= WS_DISABLED;
  if (transparentColor_ || alphaBlend_) Params.ExStyle |= WS_EX_LAYERED;
  if (formStyle_ == fsStayOnTop) Params.ExStyle |= WS_EX_TOPMOST;
  Params.X = left_;
  Params.Y = top_;
  Params.Width = width_;
  Params.Height = height_;
  TForm* main = Application.MainForm();
  if (main && main != this && main->HandleAllocated()) Params.WndParent = main->Handle();
  if (formStyle_ == fsMDIChild) MDIChildParams(Params);
}

void TForm::CreateWindowHandle(const TCreateParams& Params) {
  TCustomControl::CreateWindowHandle(Params);
  if (!HandleAllocated()) return;
  if (formStyle_ == fsMDIForm) CreateMDIClient();
  if (menu_) UpdateMenuBar();
  ApplyLayering();
  if (icon_.Handle()) ApplyIcon();
}

void TForm::ApplyLayering() {
  LONG_PTR exStyle = GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
  if (!transparentColor_ && !alphaBlend_) {
    if (exStyle & WS_EX_LAYERED) SetWindowLongPtrW(Handle(), GWL_EXSTYLE, exStyle & ~WS_EX_LAYERED);
    return;
  }
  if (!(exStyle & WS_EX_LAYERED)) SetWindowLongPtrW(Handle(), GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
  DWORD flags = (transparentColor_ ? LWA_COLORKEY : 0) | (alphaBlend_ ? LWA_ALPHA : 0);
  SetLayeredWindowAttributes(Handle(), ColorToRGB(transparentColorValue_),
                             alphaBlend_ ? alphaBlendValue_ : 255, flags);
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
    case WM_MDIACTIVATE:
      // The parent's bar shows the active child's items: a child with a menu brings them in
      // and takes them away again.
      if (menu_)
        if (TForm* parent = MDIParent())
          parent->ShowMenuBarWith(dynamic_cast<TForm*>(efir::FindControl(reinterpret_cast<HWND>(Message.LParam))));
      break;
    case WM_SHOWWINDOW:
      if (Message.WParam) {
        if (OnShow) OnShow(this);
      } else if (OnHide) {
        OnHide(this);
      }
      break;
    case WM_SIZE:
      if (Message.WParam == SIZE_MAXIMIZED) windowState_ = wsMaximized;
      else if (Message.WParam == SIZE_MINIMIZED) windowState_ = wsMinimized;
      else if (Message.WParam == SIZE_RESTORED) windowState_ = wsNormal;
      if (autoScroll_ && Message.WParam != SIZE_MINIMIZED) UpdateScrollRange();
      break;
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (autoScroll_ && !Message.LParam) {
        ScrollMessage(Message.Msg == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(Message.WParam), HIWORD(Message.WParam));
        Message.Result = 0;
        return;
      }
      break;
    case WM_COMMAND:
      // A choice from the menu bar (the MDI frame's own commands go on to its procedure).
      if (Message.LParam == 0 && HIWORD(Message.WParam) == 0) {
        if (TMenuItem* item = TMenuItem::FindCommand(LOWORD(Message.WParam))) {
          item->Click();
          return;
        }
        if (formStyle_ == fsMDIForm) {
          DefaultHandler(Message);
          return;
        }
      }
      break;
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
      if (efir::RouteMenuOwnerDraw(Message.Msg, Message.LParam)) {
        Message.Result = TRUE;
        return;
      }
      break;
    case WM_GETMINMAXINFO:
      ApplyConstraints(*reinterpret_cast<MINMAXINFO*>(Message.LParam));
      Message.Result = 0;
      return;
    case CM_SHOWINGCHANGED:
      if (!Parent()) {
        ShowWindowInState(Message.WParam != 0);
        return;
      }
      break;
  }
  TCustomControl::WndProc(Message);
}

// ---------------------------------------------------------------------------- TScreen

TForm* TScreen::ActiveForm() const {
  return dynamic_cast<TForm*>(efir::FindControl(GetActiveWindow()));
}

int TScreen::CustomFormCount() const {
  return static_cast<int>(LiveForms().size());
}

TForm* TScreen::CustomForms(int index) const {
  return LiveForms().at(static_cast<size_t>(index));
}

TFont& TScreen::MenuFont() {
  if (!menuFont_) menuFont_ = SystemFont(&NONCLIENTMETRICSW::lfMenuFont);
  return *menuFont_;
}

TFont& TScreen::HintFont() {
  if (!hintFont_) hintFont_ = SystemFont(&NONCLIENTMETRICSW::lfStatusFont);
  return *hintFont_;
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
