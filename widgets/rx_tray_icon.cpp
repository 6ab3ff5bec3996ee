#include "widgets/rx_tray_icon.h"

#include "framework/application.h"
#include "framework/exceptions.h"
#include "framework/forms.h"
#include "framework/menus.h"
#include "framework/text_encoding.h"
#include "framework/timer.h"

#include <algorithm>

// ---------------------------------------------------------------------------- TRxTrayIcon

namespace {

const wchar_t kWindowClass[] = L"EfirTrayIconWindow";

void RegisterWindowClass(WNDPROC proc) {
  static bool registered = false;
  if (registered) return;
  WNDCLASSW cls{};
  cls.lpfnWndProc = proc;
  cls.hInstance = GetModuleHandleW(nullptr);
  cls.lpszClassName = kWindowClass;
  if (!RegisterClassW(&cls)) throw Exception("Cannot register the tray icon's window class");
  registered = true;
}

// The tool tip: the text before the first "|", at most 63 characters.
std::wstring ShortHint(const std::string& hint) {
  std::wstring text = efir::text::fromAnsi(hint.substr(0, hint.find('|')));
  if (text.size() > 63) text.resize(63);
  return text;
}

}  // namespace

TRxTrayIcon::TRxTrayIcon(TComponent* AOwner) : TComponent(AOwner) {
  RegisterWindowClass(&TRxTrayIcon::WindowProc);
  window_ = CreateWindowExW(0, kWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  if (!window_) throw Exception("Cannot create the tray icon's window");
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  icon_.OnChange = [this] { UpdateTrayIcon(); };
  icons_.OnChange = [this] { UpdateTrayIcon(); };
}

TRxTrayIcon::~TRxTrayIcon() {
  destroying_ = true;
  enabled_ = false;
  icon_.OnChange = nullptr;
  icons_.OnChange = nullptr;
  SetAnimated(false);
  HideTrayIcon();
  SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
  DestroyWindow(window_);
}

void TRxTrayIcon::SetActive(bool value) {
  if (value == active_) return;
  active_ = value;
  if (value) ShowTrayIcon();
  else HideTrayIcon();
}

void TRxTrayIcon::SetHint(const std::string& value) {
  if (value == hint_) return;
  hint_ = value;
  UpdateTrayIcon();
}

void TRxTrayIcon::SetAnimated(bool value) {
  bool effective = value && icons_.Count() > 0;
  if (effective == animated_) return;
  animated_ = effective;
  if (effective) {
    // Frames advance on the GUI thread, which owns the icons and the record.
    animation_ = std::make_unique<TTimer>(nullptr);
    animation_->SetInterval(interval_);
    animation_->OnTimer = [this](TObject*) { AdvanceFrame(); };
    animation_->SetEnabled(added_);
  } else {
    animation_.reset();
  }
  iconIndex_ = 0;
  UpdateTrayIcon();
}

void TRxTrayIcon::SetInterval(unsigned value) {
  interval_ = value;
  if (animation_) animation_->SetInterval(value);
}

void TRxTrayIcon::SetPopupMenu(TPopupMenu* menu) {
  if (menu == popupMenu_) return;
  if (popupMenu_) RemoveFreeNotification(popupMenu_);
  popupMenu_ = menu;
  if (menu) FreeNotification(menu);
}

void TRxTrayIcon::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == popupMenu_) popupMenu_ = nullptr;
}

void TRxTrayIcon::Loaded() {
  TComponent::Loaded();
  if (active_) ShowTrayIcon();
}

TIcon* TRxTrayIcon::CurrentIcon() {
  if (icons_.Count() > 0 && animated_)
    return icons_.Icons(std::clamp(iconIndex_, 0, icons_.Count() - 1));
  return &icon_;
}

void TRxTrayIcon::FillNotifyData(NOTIFYICONDATAW& data) {
  data = {};
  data.cbSize = NOTIFYICONDATAW_V1_SIZE;
  data.hWnd = window_;
  data.uID = 0;
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = WM_TRAYNOTIFY;
  TIcon* icon = CurrentIcon();
  data.hIcon = icon ? icon->Handle() : nullptr;
  std::wstring tip = ShortHint(hint_);
  std::copy(tip.begin(), tip.end(), data.szTip);
}

bool TRxTrayIcon::Notify(DWORD message, NOTIFYICONDATAW& data) {
  return Shell_NotifyIconW(message, &data);
}

void TRxTrayIcon::ShowTrayIcon() {
  HideTrayIcon();
  TIcon* icon = CurrentIcon();
  if (!icon || icon->Empty()) return;
  leftPressed_ = rightPressed_ = false;
  FillNotifyData(notifyData_);
  added_ = Notify(NIM_ADD, notifyData_);
  if (added_ && ShortHint(hint_).empty()) Notify(NIM_MODIFY, notifyData_);
  if (animation_) animation_->SetEnabled(true);
}

void TRxTrayIcon::HideTrayIcon() {
  if (added_) Notify(NIM_DELETE, notifyData_);
  added_ = false;
  leftPressed_ = rightPressed_ = false;
  if (animation_) animation_->SetEnabled(false);
}

void TRxTrayIcon::UpdateTrayIcon() {
  if (icons_.Count() == 0) SetAnimated(false);
  if (added_) {
    TIcon* icon = CurrentIcon();
    if (!icon || icon->Empty()) {
      HideTrayIcon();
      return;
    }
    FillNotifyData(notifyData_);
    Notify(NIM_MODIFY, notifyData_);
  } else if (active_ && !destroying_) {
    ShowTrayIcon();
  }
}

void TRxTrayIcon::AdvanceFrame() {
  if (destroying_ || !animated_) return;
  ++iconIndex_;
  if (iconIndex_ >= icons_.Count()) iconIndex_ = 0;
  UpdateTrayIcon();
}

LRESULT CALLBACK TRxTrayIcon::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<TRxTrayIcon*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (msg != WM_TRAYNOTIFY || !self || !self->enabled_)
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  efir::Guarded([&] { self->TrayNotify(static_cast<UINT>(lParam)); });
  return 0;
}

void TRxTrayIcon::TrayNotify(UINT mouseMessage) {
  POINT p;
  GetCursorPos(&p);
  TShiftState shift = efir::KeyboardShiftState() & (ssShift | ssCtrl | ssAlt);
  auto down = [&](const TMouseEvent& event, TMouseButton button, TShiftState extra) {
    if (event) event(this, button, static_cast<TShiftState>(shift | extra), p.x, p.y);
  };
  switch (mouseMessage) {
    case WM_MOUSEMOVE:
      if (OnMouseMove) OnMouseMove(this, shift, p.x, p.y);
      break;
    case WM_LBUTTONDOWN:
      down(OnMouseDown, mbLeft, ssLeft);
      leftPressed_ = true;
      break;
    case WM_LBUTTONUP:
      shift |= ssLeft;
      if (std::exchange(leftPressed_, false)) Click(mbLeft, shift, p.x, p.y);
      down(OnMouseUp, mbLeft, 0);
      break;
    case WM_LBUTTONDBLCLK:
      DblClick();
      down(OnMouseDown, mbLeft, ssDouble);
      break;
    case WM_RBUTTONDOWN:
      down(OnMouseDown, mbRight, ssRight);
      rightPressed_ = true;
      break;
    case WM_RBUTTONUP:
      shift |= ssRight;
      if (std::exchange(rightPressed_, false)) Click(mbRight, shift, p.x, p.y);
      down(OnMouseUp, mbRight, 0);
      break;
    case WM_RBUTTONDBLCLK:
      down(OnMouseDown, mbRight, ssDouble);
      break;
    case WM_MBUTTONDOWN:
      down(OnMouseDown, mbMiddle, ssMiddle);
      break;
    case WM_MBUTTONUP:
      down(OnMouseUp, mbMiddle, ssMiddle);
      break;
    case WM_MBUTTONDBLCLK:
      down(OnMouseDown, mbMiddle, ssDouble);
      break;
  }
}

void TRxTrayIcon::Click(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbRight && ShowPopupMenu(X, Y)) return;
  if (OnClick) OnClick(this, Button, Shift, X, Y);
}

void TRxTrayIcon::DblClick() {
  if (!ClickDefaultItem() && OnDblClick) OnDblClick(this);
}

bool TRxTrayIcon::ShowPopupMenu(int X, int Y) {
  if (!active_ || !popupMenu_ || !popupMenu_->AutoPopup()) return false;
  popupMenu_->SetPopupComponent(this);
  if (!destroying_) {
    TForm* form = Screen.ActiveForm() ? Screen.ActiveForm() : Application.MainForm();
    if (form && form->HandleAllocated()) SendMessageW(form->Handle(), WM_CANCELMODE, 0, 0);
  }
  // The menu closes on a click elsewhere only while its window is in the foreground.
  if (IsWindowEnabled(window_)) SetForegroundWindow(window_);
  Application.ProcessMessages();
  struct Foreground {
    HWND window;
    ~Foreground() {
      if (IsWindowEnabled(window)) SetForegroundWindow(window);
    }
  } again{window_};
  popupMenu_->Popup(X, Y);
  return true;
}

bool TRxTrayIcon::ClickDefaultItem() {
  if (!active_ || !popupMenu_) return false;
  TMenuItem* items = popupMenu_->Items();
  for (int i = 0; i < items->Count(); ++i) {
    TMenuItem* item = items->Items(i);
    if (item->Default() && item->Enabled()) {
      item->Click();
      return true;
    }
  }
  return false;
}
