#include "framework/controls.h"

#include "framework/application.h"
#include "framework/exceptions.h"
#include "framework/forms.h"
#include "framework/menus.h"
#include "framework/text_encoding.h"

#include <windowsx.h>

#include <algorithm>
#include <map>

namespace efir {
namespace {

constexpr wchar_t kOwnClass[] = L"EfirControl";
constexpr wchar_t kControlProp[] = L"EfirControl";

// The control whose window is being made: the first messages of a new window (before
// CreateWindowEx returns) find their control here.
thread_local TWinControl* creating = nullptr;

// The window classes registered so far: ours, and one for each system class we build on,
// with the system class's own procedure.
struct ClassInfo {
  std::wstring name;
  WNDPROC systemProc;
};

const ClassInfo& RegisteredClass(const std::wstring& systemClass, UINT style) {
  static std::map<std::pair<std::wstring, UINT>, ClassInfo> classes;
  auto key = std::make_pair(systemClass, style);
  auto found = classes.find(key);
  if (found != classes.end()) return found->second;
  WNDCLASSEXW wc{sizeof(wc)};
  ClassInfo info;
  if (systemClass.empty()) {
    wc.style = style;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = nullptr;  // the control erases with its own Color
    info.systemProc = DefWindowProcW;
  } else {
    if (!GetClassInfoExW(nullptr, systemClass.c_str(), &wc))
      throw Exception("Unknown window class " + text::toAnsi(systemClass));
    info.systemProc = wc.lpfnWndProc;
  }
  info.name = std::wstring(kOwnClass) + L"." + (systemClass.empty() ? L"Window" : systemClass) +
              L"." + std::to_wstring(style);
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = ControlWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = info.name.c_str();
  if (!RegisterClassExW(&wc)) throw Exception("Cannot register a window class");
  return classes.emplace(key, info).first->second;
}

HCURSOR CursorHandle(TCursor cursor) {
  static const std::map<TCursor, LPCWSTR> system = {
      {crArrow, IDC_ARROW},   {crCross, IDC_CROSS},     {crIBeam, IDC_IBEAM},
      {crSizeNESW, IDC_SIZENESW}, {crSizeNS, IDC_SIZENS}, {crSizeNWSE, IDC_SIZENWSE},
      {crSizeWE, IDC_SIZEWE}, {crUpArrow, IDC_UPARROW}, {crHourGlass, IDC_WAIT},
      {crDrag, IDC_ARROW},    {crNoDrop, IDC_NO},       {crHSplit, IDC_SIZEWE},
      {crVSplit, IDC_SIZENS}, {crNo, IDC_NO},           {crAppStart, IDC_APPSTARTING},
      {crHelp, IDC_HELP},     {crHandPoint, IDC_HAND},  {crSizeAll, IDC_SIZEALL}};
  if (cursor == crNone) return nullptr;
  auto found = system.find(cursor);
  if (found != system.end()) return LoadCursorW(nullptr, found->second);
  HCURSOR own = Screen.Cursors(cursor);
  return own ? own : LoadCursorW(nullptr, IDC_ARROW);
}

POINT MessagePoint(LPARAM lp) { return {GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}; }

LPARAM PointParam(POINT p) {
  return MAKELPARAM(static_cast<WORD>(static_cast<short>(p.x)), static_cast<WORD>(static_cast<short>(p.y)));
}

TShiftState MouseShiftState(WPARAM keys) {
  TShiftState shift = 0;
  if (keys & MK_SHIFT) shift |= ssShift;
  if (keys & MK_CONTROL) shift |= ssCtrl;
  if (keys & MK_LBUTTON) shift |= ssLeft;
  if (keys & MK_RBUTTON) shift |= ssRight;
  if (keys & MK_MBUTTON) shift |= ssMiddle;
  if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
  return shift;
}

// The one hint window of the program; it follows the control under the mouse.
class HintWindow {
 public:
  void Follow(TControl* control, HWND window, RECT area) {
    if (!tip_) {
      tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                             WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
      SendMessageW(tip_, TTM_SETMAXTIPWIDTH, 0, 400);
    }
    Clear();
    if (!control || !control->ShowHint() || control->Hint().empty()) return;
    text_ = text::fromAnsi(control->Hint());
    tool_ = TTTOOLINFOW{sizeof(TTTOOLINFOW)};
    tool_.uFlags = 0;
    tool_.hwnd = window;
    tool_.uId = 1;
    tool_.rect = area;
    tool_.lpszText = text_.data();
    SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool_));
    active_ = true;
  }
  void Relay(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
    if (!active_ || window != tool_.hwnd) return;
    MSG m{window, msg, wp, lp};
    SendMessageW(tip_, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
  }
  void Forget(HWND window) {
    if (active_ && tool_.hwnd == window) Clear();
  }

 private:
  void Clear() {
    if (!active_) return;
    SendMessageW(tip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool_));
    active_ = false;
  }

  HWND tip_ = nullptr;
  bool active_ = false;
  TTTOOLINFOW tool_{};
  std::wstring text_;
};

HintWindow& Hints() {
  static HintWindow hints;
  return hints;
}

// A ControlState flag for the length of a scope; a flag that was set already stays set.
class ControlStateScope {
 public:
  ControlStateScope(TControl* control, TControlState flag)
      : control_(control), added_(flag & ~control->ControlState()) {
    control_->SetControlState(control_->ControlState() | added_);
  }
  ~ControlStateScope() { control_->SetControlState(control_->ControlState() & ~added_); }
  ControlStateScope(const ControlStateScope&) = delete;
  ControlStateScope& operator=(const ControlStateScope&) = delete;

 private:
  TControl* control_;
  TControlState added_;
};

}  // namespace

TWinControl* FindControl(HWND hwnd) {
  return hwnd ? static_cast<TWinControl*>(GetPropW(hwnd, kControlProp)) : nullptr;
}

void InitCommonControlClasses() {
  static const bool done = [] {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    return InitCommonControlsEx(&controls) != FALSE;
  }();
  (void)done;
}

TShiftState KeyboardShiftState() {
  TShiftState shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) shift |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
  return shift;
}

LRESULT CALLBACK ControlWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWinControl* control = FindControl(hwnd);
  if (!control && creating) {
    control = creating;
    creating = nullptr;
    control->Attach(hwnd);
  }
  if (!control) return DefWindowProcW(hwnd, msg, wParam, lParam);
  LRESULT result = 0;
  try {
    result = control->Perform(msg, wParam, lParam);
  } catch (...) {
    Application.HandleException(control);
  }
  if (msg == WM_NCDESTROY) control->Detach();
  return result;
}

}  // namespace efir

// ---------------------------------------------------------------------------- TControl

TControl::TControl(TComponent* AOwner) : TComponent(AOwner) {
  font_.OnChange = [this] { FontChanged(); };
  SetWindowProc(nullptr);
}

TControl::~TControl() {
  if (parent_) parent_->RemoveControl(this);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  if (parent == this) throw Exception("A control cannot be its own parent");
  if (parent_) parent_->RemoveControl(this);
  if (parent) parent->InsertControl(this);
}

TForm* TControl::GetParentForm() {
  TControl* control = this;
  while (control->parent_) control = control->parent_;
  return dynamic_cast<TForm*>(control);
}

void TControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (ALeft == left_ && ATop == top_ && AWidth == width_ && AHeight == height_) return;
  bool resized = AWidth != width_ || AHeight != height_;
  Invalidate();
  left_ = ALeft;
  top_ = ATop;
  width_ = AWidth;
  height_ = AHeight;
  Invalidate();
  if (resized) Resize();
  if (parent_ && align_ != alNone) parent_->AlignControls();
}

RECT TControl::ClientRect() {
  return {0, 0, width_, height_};
}

void TControl::SetAlign(TAlign value) {
  if (value == align_) return;
  align_ = value;
  if (parent_) parent_->AlignControls();
}

POINT TControl::ClientToScreen(POINT point) {
  if (IsWindowed()) {
    ::ClientToScreen(static_cast<TWinControl*>(this)->Handle(), &point);
    return point;
  }
  if (!parent_) throw Exception("Control '" + Name() + "' has no parent window");
  return parent_->ClientToScreen({point.x + left_, point.y + top_});
}

POINT TControl::ScreenToClient(POINT point) {
  if (IsWindowed()) {
    ::ScreenToClient(static_cast<TWinControl*>(this)->Handle(), &point);
    return point;
  }
  if (!parent_) throw Exception("Control '" + Name() + "' has no parent window");
  POINT p = parent_->ScreenToClient(point);
  return {p.x - left_, p.y - top_};
}

void TControl::SetVisible(bool value) {
  if (value == visible_) return;
  if (!value) Invalidate();
  visible_ = value;
  if (value) Invalidate();
  Perform(CM_VISIBLECHANGED, value);
  if (parent_ && align_ != alNone) parent_->AlignControls();
}

void TControl::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  Perform(CM_ENABLEDCHANGED);
}

void TControl::SetText(const std::string& value) {
  if (value == GetText()) return;
  text_ = value;
  TextChanged();
  Perform(CM_TEXTCHANGED);
}

void TControl::SetParentFont(bool value) {
  parentFont_ = value;
  if (value && parent_) ParentFontChanged();
}

void TControl::SetColor(TColor value) {
  parentColor_ = false;
  if (value == color_) return;
  color_ = value;
  Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool value) {
  parentColor_ = value;
  if (value && parent_) ParentColorChanged();
}

bool TControl::ShowHint() const {
  if (parentShowHint_ && parent_) return parent_->ShowHint();
  return showHint_;
}

void TControl::SetShowHint(bool value) {
  showHint_ = value;
  parentShowHint_ = false;
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
  if (menu == popupMenu_) return;
  if (popupMenu_) RemoveFreeNotification(popupMenu_);
  popupMenu_ = menu;
  if (menu) FreeNotification(menu);
}

void TControl::SetCursor(TCursor value) {
  if (value == cursor_) return;
  cursor_ = value;
  Perform(CM_CURSORCHANGED);
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage message{msg, wParam, lParam, 0};
  std::shared_ptr<const TWndMethod> running = windowProc_;
  (*running)(message);
  return message.Result;
}

void TControl::SetWindowProc(TWndMethod proc) {
  if (!proc) proc = [this](TMessage& Message) { WndProc(Message); };
  windowProc_ = std::make_shared<const TWndMethod>(std::move(proc));
}

void TControl::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK:
      MouseButtonMessage(Message);
      return;
    case WM_MOUSEMOVE: {
      POINT p = efir::MessagePoint(Message.LParam);
      MouseMove(efir::MouseShiftState(Message.WParam), p.x, p.y);
      break;
    }
    case CM_MOUSEENTER:
      if (OnMouseEnter) OnMouseEnter(this);
      break;
    case CM_MOUSELEAVE:
      if (OnMouseLeave) OnMouseLeave(this);
      break;
    case CM_ENABLEDCHANGED:
    case CM_COLORCHANGED:
    case CM_FONTCHANGED:
      Invalidate();
      break;
  }
  DefaultHandler(Message);
}

// A press or release: the events first, then the window's own handling.
void TControl::MouseButtonMessage(TMessage& Message) {
  UINT msg = Message.Msg;
  POINT p = efir::MessagePoint(Message.LParam);
  TShiftState shift = efir::MouseShiftState(Message.WParam);
  TMouseButton button = mbLeft;
  if (msg >= WM_RBUTTONDOWN && msg <= WM_RBUTTONDBLCLK) button = mbRight;
  if (msg >= WM_MBUTTONDOWN) button = mbMiddle;
  bool down = msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MBUTTONDOWN;
  bool dbl = msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
  if (down || dbl) {
    if (button == mbLeft && (controlStyle_ & csCaptureMouse)) SetMouseCapture(true);
    if (button == mbLeft && (controlStyle_ & csClickEvents)) clicked_ = !dbl;
    if (dbl && button == mbLeft && (controlStyle_ & csDoubleClicks)) DblClick();
    MouseDown(button, dbl ? static_cast<TShiftState>(shift | ssDouble) : shift, p.x, p.y);
  } else {
    if (button == mbLeft) {
      if (controlStyle_ & csCaptureMouse) SetMouseCapture(false);
      bool wasClicked = clicked_;
      clicked_ = false;
      RECT r = ClientRect();
      if (wasClicked && PtInRect(&r, p)) Click();
    }
    MouseUp(button, shift, p.x, p.y);
  }
  DefaultHandler(Message);
}

void TControl::DefaultHandler(TMessage&) {}

void TControl::Invalidate() {
  if (!visible_ || !parent_ || !parent_->HandleAllocated()) return;
  RECT r = BoundsRect();
  InvalidateRect(parent_->Handle(), &r, !(controlStyle_ & csOpaque));
}

void TControl::Repaint() {
  Invalidate();
  if (parent_ && parent_->HandleAllocated()) UpdateWindow(parent_->Handle());
}

void TControl::BringToFront() {
  if (!parent_) return;
  auto& list = parent_->controls_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  list.push_back(this);
  if (IsWindowed() && static_cast<TWinControl*>(this)->HandleAllocated())
    SetWindowPos(static_cast<TWinControl*>(this)->Handle(), HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Invalidate();
}

void TControl::SendToBack() {
  if (!parent_) return;
  auto& list = parent_->controls_;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  list.insert(list.begin(), this);
  if (IsWindowed() && static_cast<TWinControl*>(this)->HandleAllocated())
    SetWindowPos(static_cast<TWinControl*>(this)->Handle(), HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Invalidate();
}

bool TControl::MouseCapture() {
  if (IsWindowed()) {
    auto* self = static_cast<TWinControl*>(this);
    return self->HandleAllocated() && GetCapture() == self->Handle();
  }
  return parent_ && parent_->captureControl_ == this && GetCapture() == parent_->Handle();
}

void TControl::SetMouseCapture(bool value) {
  if (value == MouseCapture()) return;
  if (!value) {
    ReleaseCapture();
    return;
  }
  if (IsWindowed()) {
    ::SetCapture(static_cast<TWinControl*>(this)->Handle());
  } else if (parent_) {
    ::SetCapture(parent_->Handle());
    parent_->captureControl_ = this;
  }
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseDown) OnMouseDown(this, Button, Shift, X, Y);
}

void TControl::MouseMove(TShiftState Shift, int X, int Y) {
  if (OnMouseMove) OnMouseMove(this, Shift, X, Y);
}

void TControl::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (OnMouseUp) OnMouseUp(this, Button, Shift, X, Y);
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

void TControl::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == popupMenu_) popupMenu_ = nullptr;
}

void TControl::FontChanged() {
  if (!followingParent_) parentFont_ = false;
  Perform(CM_FONTCHANGED);
}

void TControl::ParentFontChanged() {
  if (!parentFont_ || !parent_) return;
  followingParent_ = true;
  font_.Assign(parent_->Font());
  followingParent_ = false;
}

void TControl::ParentColorChanged() {
  if (!parentColor_ || !parent_) return;
  if (color_ != parent_->Color()) {
    color_ = parent_->Color();
    Perform(CM_COLORCHANGED);
  }
  // Controls that paint around themselves in the parent's colour follow it too.
  Perform(CM_PARENTCOLORCHANGED);
}

// ---------------------------------------------------------------------------- TGraphicControl

TGraphicControl::TGraphicControl(TComponent* AOwner) : TControl(AOwner) {}
TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::WndProc(TMessage& Message) {
  if (Message.Msg == WM_PAINT && Message.WParam) {
    HDC dc = reinterpret_cast<HDC>(Message.WParam);
    canvas_.Font().Assign(Font());
    canvas_.Brush().SetColor(Color());
    efir::CanvasBinding bound(canvas_, dc);
    Paint();
    return;
  }
  TControl::WndProc(Message);
}

// ---------------------------------------------------------------------------- TWinControl

TWinControl::TWinControl(TComponent* AOwner) : TControl(AOwner) {
  SetControlStyle(ControlStyle() | csAcceptsControls);
}

TWinControl::~TWinControl() {
  DestroyHandle();
  while (!controls_.empty()) controls_.back()->Free();
}

void TWinControl::BeforeDestruction() {
  TControl::BeforeDestruction();
  DestroyHandle();
}

HWND TWinControl::Handle() {
  if (!handle_) CreateHandle();
  return handle_;
}

void TWinControl::CreateHandle() {
  if (handle_) return;
  if (ComponentState() & csDestroying) throw Exception("Control '" + Name() + "' is being freed");
  efir::ControlStateScope creating(this, csCreating);
  CreateWnd();
  // Children get their windows with their parent's, in their order (their z-order).
  std::vector<TControl*> children = controls_;
  for (TControl* child : children)
    if (child->IsWindowed()) static_cast<TWinControl*>(child)->CreateHandle();
}

void TWinControl::CreateParams(TCreateParams& Params) {
  Params.Caption = efir::text::fromAnsi(text_);
  Params.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (Visible()) Params.Style |= WS_VISIBLE;
  if (!Enabled()) Params.Style |= WS_DISABLED;
  if (tabStop_) Params.Style |= WS_TABSTOP;
  Params.X = left_;
  Params.Y = top_;
  Params.Width = width_;
  Params.Height = height_;
  if (Parent()) {
    Params.WndParent = Parent()->Handle();
  } else if (Params.Style & WS_CHILD) {
    throw Exception("Control '" + Name() + "' has no parent window");
  }
}

void TWinControl::CreateWnd() {
  TCreateParams params;
  CreateParams(params);
  CreateWindowHandle(params);
  if (!handle_) throw Exception("Cannot create a window: error " + std::to_string(GetLastError()));
  SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), FALSE);
}

void TWinControl::CreateWindowHandle(const TCreateParams& Params) {
  const auto& cls = efir::RegisteredClass(Params.SystemClass, Params.ClassStyle);
  defaultProc_ = cls.systemProc;
  efir::creating = this;
  HWND hwnd = CreateWindowExW(Params.ExStyle, cls.name.c_str(), Params.Caption.c_str(), Params.Style,
                              Params.X, Params.Y, Params.Width, Params.Height, Params.WndParent,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
  efir::creating = nullptr;
  if (!hwnd) handle_ = nullptr;
}

void TWinControl::Attach(HWND hwnd) {
  handle_ = hwnd;
  SetPropW(hwnd, efir::kControlProp, this);
}

void TWinControl::Detach() {
  if (!handle_) return;
  RemovePropW(handle_, efir::kControlProp);
  efir::Hints().Forget(handle_);
  handle_ = nullptr;
  captureControl_ = nullptr;
  hoverControl_ = nullptr;
  tracking_ = false;
}

void TWinControl::DestroyWnd() {
  SaveWindowState();
  DestroyWindow(handle_);
}

void TWinControl::SaveWindowState() {
  if (TextInWindow()) text_ = GetText();
  for (TControl* child : controls_)
    if (child->IsWindowed() && static_cast<TWinControl*>(child)->HandleAllocated())
      static_cast<TWinControl*>(child)->SaveWindowState();
}

void TWinControl::DestroyHandle() {
  if (handle_) DestroyWnd();
}

void TWinControl::RecreateWnd() {
  if (!handle_) return;
  bool focused = Focused();
  DestroyHandle();
  CreateHandle();
  if (focused) SetFocus();
}

void TWinControl::InsertControl(TControl* control) {
  controls_.push_back(control);
  control->parent_ = this;
  control->ParentFontChanged();
  control->ParentColorChanged();
  if (control->IsWindowed()) {
    auto* child = static_cast<TWinControl*>(control);
    if (handle_) {
      if (child->handle_) ::SetParent(child->handle_, handle_);
      else child->CreateHandle();
    }
  } else {
    control->Invalidate();
  }
  if (control->Align() != alNone) AlignControls();
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), 1);
}

void TWinControl::RemoveControl(TControl* control) {
  if (control == captureControl_) {
    captureControl_ = nullptr;
    if (handle_ && GetCapture() == handle_) ReleaseCapture();
  }
  if (control == hoverControl_) hoverControl_ = nullptr;
  control->Invalidate();
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
  control->parent_ = nullptr;
  if (control->IsWindowed()) static_cast<TWinControl*>(control)->DestroyHandle();
  if (control->Align() != alNone) AlignControls();
  Perform(CM_CONTROLLISTCHANGE, reinterpret_cast<WPARAM>(control), 0);
}

void TWinControl::SetChildOrder(TControl* child, int order) {
  auto found = std::find(controls_.begin(), controls_.end(), child);
  if (found == controls_.end()) return;
  controls_.erase(found);
  order = std::clamp(order, 0, static_cast<int>(controls_.size()));
  auto placed = controls_.insert(controls_.begin() + order, child);
  if (child->IsWindowed() && static_cast<TWinControl*>(child)->HandleAllocated()) {
    // Stacked just below the next windowed child that has a window, or on top of them all.
    HWND above = HWND_TOP;
    for (auto next = placed + 1; next != controls_.end(); ++next)
      if ((*next)->IsWindowed() && static_cast<TWinControl*>(*next)->HandleAllocated()) {
        above = static_cast<TWinControl*>(*next)->handle_;
        break;
      }
    SetWindowPos(static_cast<TWinControl*>(child)->handle_, above, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  child->Invalidate();
}

void TWinControl::PaintTo(HDC dc, int X, int Y) {
  efir::ControlStateScope copying(this, csPaintCopy);
  efir::gdi::SavedState saved(dc);
  OffsetViewportOrgEx(dc, X, Y, nullptr);
  RECT client = ClientRect();
  IntersectClipRect(dc, 0, 0, client.right, client.bottom);
  Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc));
  Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc));
  std::vector<TControl*> children = controls_;
  for (TControl* c : children)
    if (c->IsWindowed() && c->Visible())
      static_cast<TWinControl*>(c)->PaintTo(dc, c->Left(), c->Top());
}

TControl* TWinControl::ControlAtPos(POINT point, bool allowDisabled) {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    if (c->IsWindowed() || !c->Visible() || (!c->Enabled() && !allowDisabled)) continue;
    RECT r = c->BoundsRect();
    if (PtInRect(&r, point)) return c;
  }
  return nullptr;
}

void TWinControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  if (ALeft == left_ && ATop == top_ && AWidth == width_ && AHeight == height_) return;
  bool resized = AWidth != width_ || AHeight != height_;
  if (handle_) {
    // The window reports its new place back (WM_WINDOWPOSCHANGED), which stores it.
    SetWindowPos(handle_, nullptr, ALeft, ATop, AWidth, AHeight, SWP_NOZORDER | SWP_NOACTIVATE);
  } else {
    left_ = ALeft;
    top_ = ATop;
    width_ = AWidth;
    height_ = AHeight;
    if (resized) {
      Resize();
      AlignControls();
    }
  }
  if (Parent() && Align() != alNone) Parent()->AlignControls();
}

RECT TWinControl::ClientRect() {
  if (!handle_) return TControl::ClientRect();
  RECT r;
  GetClientRect(handle_, &r);
  return r;
}

void TWinControl::SetVisible(bool value) {
  if (value == Visible()) return;
  TControl::SetVisible(value);
  if (handle_ && value != WindowShown()) Perform(CM_SHOWINGCHANGED, value);
}

bool TWinControl::WindowShown() const {
  return handle_ && (GetWindowLongPtrW(handle_, GWL_STYLE) & WS_VISIBLE);
}

void TWinControl::SetEnabled(bool value) {
  if (value == Enabled()) return;
  TControl::SetEnabled(value);
  if (handle_) EnableWindow(handle_, value);
}

void TWinControl::Invalidate() {
  Perform(CM_INVALIDATE);
}

void TWinControl::Repaint() {
  Invalidate();
  if (handle_) UpdateWindow(handle_);
}

bool TWinControl::CanFocus() {
  for (TControl* c = this; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

bool TWinControl::Focused() {
  return handle_ && GetFocus() == handle_;
}

void TWinControl::SetFocus() {
  ::SetFocus(Handle());
}

std::string TWinControl::GetText() {
  if (!handle_ || !TextInWindow()) return text_;
  int length = GetWindowTextLengthW(handle_);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  length = GetWindowTextW(handle_, text.data(), length + 1);
  text.resize(static_cast<size_t>(length));
  return efir::text::toAnsi(text);
}

void TWinControl::TextChanged() {
  if (handle_) SetWindowTextW(handle_, efir::text::fromAnsi(text_).c_str());
  else Invalidate();
}

LRESULT TWinControl::Broadcast(UINT msg, WPARAM wParam, LPARAM lParam) {
  for (TControl* c : controls_)
    if (LRESULT answer = c->Perform(msg, wParam, lParam)) return answer;
  for (TControl* c : controls_)
    if (auto* windowed = dynamic_cast<TWinControl*>(c))
      if (LRESULT answer = windowed->Broadcast(msg, wParam, lParam)) return answer;
  return 0;
}

void TWinControl::AlignControls() {
  if (aligning_) return;
  aligning_ = true;
  RECT area = ClientRect();
  AdjustClientRect(area);
  for (TAlign pass : {alTop, alBottom, alLeft, alRight, alClient}) {
    for (TControl* c : controls_) {
      if (c->Align() != pass || !c->Visible()) continue;
      int w = c->Width(), h = c->Height();
      switch (pass) {
        case alTop: c->SetBounds(area.left, area.top, area.right - area.left, h); area.top += h; break;
        case alBottom: area.bottom -= h; c->SetBounds(area.left, area.bottom, area.right - area.left, h); break;
        case alLeft: c->SetBounds(area.left, area.top, w, area.bottom - area.top); area.left += w; break;
        case alRight: area.right -= w; c->SetBounds(area.right, area.top, w, area.bottom - area.top); break;
        default: c->SetBounds(area.left, area.top, area.right - area.left, area.bottom - area.top); break;
      }
    }
  }
  aligning_ = false;
}

bool TWinControl::PaintsItself() const {
  return defaultProc_ == DefWindowProcW || defaultProc_ == nullptr;
}

TBrush& TWinControl::BackgroundBrush() {
  brush_.SetColor(Color());
  return brush_;
}

void TWinControl::EraseBackground(HDC dc) {
  if (ControlStyle() & csOpaque) return;
  RECT r = ClientRect();
  FillRect(dc, &r, BackgroundBrush().Handle());
}

void TWinControl::PaintWindow(HDC) {}

void TWinControl::PaintControls(HDC dc) {
  RECT clip;
  GetClipBox(dc, &clip);
  std::vector<TControl*> children = controls_;
  for (TControl* c : children) {
    if (c->IsWindowed() || !c->Visible()) continue;
    RECT bounds = c->BoundsRect(), common;
    if (!IntersectRect(&common, &bounds, &clip)) continue;
    efir::gdi::SavedState saved(dc);
    OffsetViewportOrgEx(dc, c->Left(), c->Top(), nullptr);
    IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  }
}

void TWinControl::PaintHandler(TMessage& Message) {
  PAINTSTRUCT ps{};
  HDC given = reinterpret_cast<HDC>(Message.WParam);
  HDC dc = given ? given : BeginPaint(handle_, &ps);
  if (doubleBuffered_ && !given) {
    RECT r = ClientRect();
    efir::gdi::MemoryDC memory(dc);
    efir::gdi::Object<HBITMAP> bitmap(CreateCompatibleBitmap(dc, r.right, r.bottom));
    efir::gdi::Selection keep(memory, bitmap.get());
    IntersectClipRect(memory, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom);
    EraseBackground(memory);
    PaintWindow(memory);
    PaintControls(memory);
    BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
           ps.rcPaint.bottom - ps.rcPaint.top, memory, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
  } else {
    if (given) EraseBackground(dc);
    PaintWindow(dc);
    PaintControls(dc);
  }
  if (!given) EndPaint(handle_, &ps);
}

void TWinControl::KeyDown(WORD& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}

void TWinControl::KeyPress(char& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}

void TWinControl::KeyUp(WORD& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

// Key messages: the form first when it previews keys, then this control; a key set to 0
// goes no further.
bool TWinControl::HandleKey(TMessage& Message) {
  TForm* form = GetParentForm();
  TWinControl* preview = form && form != this && form->KeyPreview() ? form : nullptr;
  TShiftState shift = efir::KeyboardShiftState();
  if (Message.Msg == WM_CHAR) {
    std::string key = efir::text::toAnsi(std::wstring(1, static_cast<wchar_t>(Message.WParam)));
    char c = key.empty() ? '\0' : key[0];
    char before = c;
    if (preview) preview->KeyPress(c);
    if (c) KeyPress(c);
    if (!c) return true;
    if (c != before) {
      std::wstring wide = efir::text::fromAnsi(std::string(1, c));
      Message.WParam = wide.empty() ? 0 : wide[0];
    }
    return false;
  }
  WORD key = static_cast<WORD>(Message.WParam);
  bool down = Message.Msg == WM_KEYDOWN || Message.Msg == WM_SYSKEYDOWN;
  if (preview) down ? preview->KeyDown(key, shift) : preview->KeyUp(key, shift);
  if (key) down ? KeyDown(key, shift) : KeyUp(key, shift);
  if (!key) return true;
  Message.WParam = key;
  return false;
}

// Mouse messages over a graphic child (or while one has the mouse) go to that child.
bool TWinControl::RouteMouse(TMessage& Message) {
  POINT p = efir::MessagePoint(Message.LParam);
  TControl* target = captureControl_;
  if (!target && GetCapture() != handle_) target = ControlAtPos(p);
  if (!target) return false;
  Message.Result = target->Perform(Message.Msg, Message.WParam,
                                   efir::PointParam({p.x - target->Left(), p.y - target->Top()}));
  return true;
}

// Mouse enter and leave, for this window and for the graphic children under the mouse.
void TWinControl::TrackMouse(POINT point) {
  if (!tracking_) {
    TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, handle_, 0};
    TrackMouseEvent(&track);
    tracking_ = true;
    Perform(CM_MOUSEENTER);
    efir::Hints().Follow(this, handle_, ClientRect());
  }
  TControl* under = ControlAtPos(point);
  if (under == hoverControl_) return;
  TControl* left = hoverControl_;
  hoverControl_ = under;
  if (left) left->Perform(CM_MOUSELEAVE);
  if (under) under->Perform(CM_MOUSEENTER);
  if (!handle_) return;
  if (under) efir::Hints().Follow(under, handle_, under->BoundsRect());
  else efir::Hints().Follow(this, handle_, ClientRect());
}

bool TWinControl::ShowContextMenu(TMessage& Message) {
  POINT screen = efir::MessagePoint(Message.LParam);
  if (screen.x == -1 && screen.y == -1) GetCursorPos(&screen);
  POINT local = screen;
  ::ScreenToClient(handle_, &local);
  TControl* owner = ControlAtPos(local);
  TPopupMenu* menu = owner ? owner->PopupMenu() : nullptr;
  if (!menu) {
    owner = this;
    menu = PopupMenu();
  }
  if (!menu || !menu->AutoPopup()) return false;
  menu->SetPopupComponent(owner);
  menu->Popup(screen.x, screen.y);
  return true;
}

bool TWinControl::SetCursorFor(TMessage& Message) {
  if (reinterpret_cast<HWND>(Message.WParam) != handle_ || LOWORD(Message.LParam) != HTCLIENT)
    return false;
  POINT p;
  GetCursorPos(&p);
  ::ScreenToClient(handle_, &p);
  TControl* under = captureControl_ ? captureControl_ : ControlAtPos(p);
  TCursor cursor = under && under->Cursor() != crDefault ? under->Cursor() : Cursor();
  if (Screen.Cursor() != crDefault) cursor = Screen.Cursor();
  if (cursor == crDefault) return false;
  ::SetCursor(efir::CursorHandle(cursor));
  Message.Result = TRUE;
  return true;
}

// Notifications a standard control sends its parent go back to that control (CN_*).
void TWinControl::Reflect(TMessage& Message, HWND child) {
  TWinControl* control = efir::FindControl(child);
  if (control && control != this) {
    Message.Result = control->Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
    return;
  }
  DefaultHandler(Message);
}

void TWinControl::UpdateBoundsFromWindow() {
  RECT r;
  GetWindowRect(handle_, &r);
  HWND parent = GetParent(handle_);
  if (parent && (GetWindowLongPtrW(handle_, GWL_STYLE) & WS_CHILD))
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  bool resized = r.right - r.left != width_ || r.bottom - r.top != height_;
  left_ = r.left;
  top_ = r.top;
  width_ = r.right - r.left;
  height_ = r.bottom - r.top;
  if (resized) {
    AlignControls();
    Resize();
  }
}

void TWinControl::WndProc(TMessage& Message) {
  UINT msg = Message.Msg;
  if (msg >= WM_MOUSEFIRST && msg <= WM_MBUTTONDBLCLK)
    efir::Hints().Relay(handle_, msg, Message.WParam, Message.LParam);
  switch (msg) {
    case WM_PAINT:
      if (PaintsItself()) {
        PaintHandler(Message);
        return;
      }
      break;
    case WM_ERASEBKGND:
      if (PaintsItself()) {
        if (!doubleBuffered_) EraseBackground(reinterpret_cast<HDC>(Message.WParam));
        Message.Result = 1;
        return;
      }
      break;
    case WM_MOUSEMOVE:
      TrackMouse(efir::MessagePoint(Message.LParam));
      if (RouteMouse(Message)) return;
      break;
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK:
      if (RouteMouse(Message)) {
        // The window still turns a right click into WM_CONTEXTMENU, for the child's menu.
        if (msg == WM_RBUTTONUP) DefaultHandler(Message);
        return;
      }
      break;
    case WM_MOUSELEAVE:
      tracking_ = false;
      if (hoverControl_) std::exchange(hoverControl_, nullptr)->Perform(CM_MOUSELEAVE);
      Perform(CM_MOUSELEAVE);
      break;
    case WM_CAPTURECHANGED:
      captureControl_ = nullptr;
      break;
    case WM_KEYDOWN: case WM_SYSKEYDOWN: case WM_KEYUP: case WM_SYSKEYUP: case WM_CHAR:
      if (HandleKey(Message)) return;
      break;
    case WM_SETFOCUS:
      if (OnEnter) OnEnter(this);
      if (TForm* form = GetParentForm())
        form->Broadcast(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(this));
      break;
    case WM_SYSCHAR:
      // Alt and a letter: the form's control whose accelerator it is acts on it.
      if (TForm* form = GetParentForm(); form && form->Broadcast(CM_DIALOGCHAR, Message.WParam)) {
        Message.Result = 0;
        return;
      }
      break;
    case WM_KILLFOCUS:
      if (OnExit) OnExit(this);
      break;
    case WM_SETCURSOR:
      if (SetCursorFor(Message)) return;
      break;
    case WM_CONTEXTMENU:
      if (ShowContextMenu(Message)) return;
      break;
    case WM_WINDOWPOSCHANGED:
      UpdateBoundsFromWindow();
      break;
    case WM_COMMAND:
      Reflect(Message, reinterpret_cast<HWND>(Message.LParam));
      return;
    case WM_NOTIFY:
      Reflect(Message, reinterpret_cast<NMHDR*>(Message.LParam)->hwndFrom);
      return;
    case WM_DRAWITEM:
      if (reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam)->CtlType != ODT_MENU) {
        Reflect(Message, reinterpret_cast<DRAWITEMSTRUCT*>(Message.LParam)->hwndItem);
        return;
      }
      break;
    case WM_HSCROLL: case WM_VSCROLL:
    case WM_CTLCOLOREDIT: case WM_CTLCOLORSTATIC: case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX: case WM_CTLCOLORSCROLLBAR:
      if (Message.LParam) {
        Reflect(Message, reinterpret_cast<HWND>(Message.LParam));
        return;
      }
      break;
    case CN_CTLCOLOREDIT: case CN_CTLCOLORSTATIC: case CN_CTLCOLORBTN: case CN_CTLCOLORLISTBOX: {
      HDC dc = reinterpret_cast<HDC>(Message.WParam);
      SetTextColor(dc, ColorToRGB(Font().Color()));
      SetBkColor(dc, ColorToRGB(Color()));
      Message.Result = reinterpret_cast<LRESULT>(BackgroundBrush().Handle());
      return;
    }
    case CM_FONTCHANGED:
      if (handle_) SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font().Handle()), TRUE);
      for (TControl* c : controls_) c->ParentFontChanged();
      break;
    case CM_COLORCHANGED:
      for (TControl* c : controls_) c->ParentColorChanged();
      break;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      // Only this window's own enter and leave: the children's come from TrackMouse.
      break;
    case WM_MOUSEWHEEL:
      if ((Message.Result = Perform(CM_MOUSEWHEEL, Message.WParam, Message.LParam)) != 0) return;
      break;
    case CM_SHOWINGCHANGED:
      if (handle_) ShowWindow(handle_, Message.WParam ? SW_SHOWNA : SW_HIDE);
      return;
    case CM_INVALIDATE:
      if (handle_) InvalidateRect(handle_, nullptr, !(ControlStyle() & csOpaque));
      return;
    case CM_CONTROLLISTCHANGE:
      if (Parent()) Parent()->Perform(Message.Msg, Message.WParam, Message.LParam);
      return;
  }
  TControl::WndProc(Message);
}

void TWinControl::DefaultHandler(TMessage& Message) {
  if (!handle_ || (Message.Msg >= CM_BASE && Message.Msg < CN_BASE + 0x400)) return;
  Message.Result = CallWindowProcW(defaultProc_, handle_, Message.Msg, Message.WParam, Message.LParam);
}

// ---------------------------------------------------------------------------- TCustomControl

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner) {}
TCustomControl::~TCustomControl() = default;

void TCustomControl::PaintWindow(HDC dc) {
  canvas_.Font().Assign(Font());
  canvas_.Brush().SetColor(Color());
  efir::CanvasBinding bound(canvas_, dc);
  Paint();
}
