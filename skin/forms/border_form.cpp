#include "skin/forms/border_form.h"

#include <algorithm>

#include "framework/application.h"
#include "framework/bitmap.h"
#include "framework/flag_scope.h"
#include "framework/gdi.h"
#include "skin/engine/colour_utils.h"
#include "skin/engine/common_data.h"
#include "skin/engine/skin_manager.h"
#include "skin/forms/frame_metrics.h"

namespace {

constexpr wchar_t kBorderClass[] = L"TacBorderForm";
// The hit code that makes every click on the frame arrive as a non-client message.
constexpr LRESULT kFrameHit = 19;

void RegisterBorderClass() {
  static const bool registered = [] {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kBorderClass;
    return RegisterClassExW(&wc) != 0;
  }();
  (void)registered;
}

bool IsClientMouse(UINT msg) { return msg >= WM_MOUSEMOVE && msg <= WM_MBUTTONDBLCLK; }

POINT PointOf(LPARAM lParam) {
  return {static_cast<short>(LOWORD(static_cast<DWORD>(lParam))), static_cast<short>(HIWORD(static_cast<DWORD>(lParam)))};
}

LPARAM PackPoint(POINT p) { return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y)); }

SIZE WindowSize(HWND wnd) {
  RECT r{};
  GetWindowRect(wnd, &r);
  return {r.right - r.left, r.bottom - r.top};
}

bool Between(int v, int low, int high) { return low <= v && v <= high; }

// The cursor shown over a sizing or caption code; nullptr for the others.
LPCWSTR CursorOfHit(LRESULT code) {
  switch (code) {
    case HTCAPTION:
    case HTMENU: return IDC_ARROW;
    case HTLEFT:
    case HTRIGHT: return IDC_SIZEWE;
    case HTTOP:
    case HTBOTTOM: return IDC_SIZENS;
    case HTTOPLEFT:
    case HTBOTTOMRIGHT: return IDC_SIZENWSE;
    case HTTOPRIGHT:
    case HTBOTTOMLEFT: return IDC_SIZENESW;
    default: return nullptr;
  }
}

}  // namespace

TacBorderForm::TacBorderForm(std::unique_ptr<TacBorderOwner> owner) : owner_(std::move(owner)) {
  RegisterBorderClass();
  wnd_ = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kBorderClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
  if (!wnd_) return;
  SetWindowLongPtrW(wnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetWindowLongPtrW(wnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StaticWndProc));
}

TacBorderForm::~TacBorderForm() {
  owner_->StopOwnerGlows();
  if (wnd_) {
    SetWindowLongPtrW(wnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DefWindowProcW));
    DestroyWindow(wnd_);
  }
}

TsSkinManager* TacBorderForm::Manager() const {
  TsCommonData* data = owner_->OwnerSkinData();
  return data ? data->SkinManager() : nullptr;
}

RECT TacBorderForm::ShadowMargins() const {
  TsSkinManager* manager = Manager();
  return manager ? manager->ExtBorderMargins : RECT{};
}

bool TacBorderForm::OwnerMaximized() const { return IsZoomed(owner_->OwnerWnd()) != 0; }

int TacBorderForm::TopOffset() const {
  HWND owner = owner_->OwnerWnd();
  TsSkinManager* manager = Manager();
  if (const std::optional<int> shortTop = owner_->OwnerShortTitleTop())
    return FrameBorderWidth(owner, nullptr, false) + ShadowMargins().top + *shortTop;
  const int title = manager ? manager->LoadedSkin.TitleHeight : 0;
  const int caption = owner_->OwnerCaptionHeight(false);
  return ShadowMargins().top + (caption != 0 ? title : 0) - FrameBorderWidth(owner, nullptr, false) - caption;
}

// The extended side border is as much wider than the window's own frame as the frame image
// has it left of the window: a skin without BORDERWIDTH draws the window's own frame width.
int TacBorderForm::LeftOffset() const {
  HWND owner = owner_->OwnerWnd();
  const TacBorderFormInfo info{Manager()};
  return ShadowMargins().left + FrameBorderWidth(owner, &info, true) - FrameBorderWidth(owner, nullptr, false);
}

// ---------------------------------------------------------------------------- geometry

void TacBorderForm::UpdateBorderForm(bool repaint, int alpha) {
  HWND owner = owner_->OwnerWnd();
  RECT r{};
  if (!wnd_ || Application.Terminated() || Updating || !owner || !GetWindowRect(owner, &r)) return;
  switch (owner_->OwnerUpdateState()) {
    case TacBorderOwner::UpdateState::Wait: return;
    case TacBorderOwner::UpdateState::Hide: ShowWindow(wnd_, SW_HIDE); return;
    case TacBorderOwner::UpdateState::Go: break;
  }
  FlagScope updating(Updating);
  TsCommonData* data = owner_->OwnerSkinData();
  if (data && data->BackgroundChanged) {
    owner_->RebuildOwnerImage();
    repaint = true;
  }
  TBitmap* image = data ? data->CacheBitmap.get() : nullptr;
  if (!image) return;
  const int w = image->Width(), h = image->Height();
  const SIZE now = WindowSize(wnd_);
  const bool changed = repaint || w != now.cx || h != now.cy;
  if (GetWindowLongPtrW(owner, GWL_EXSTYLE) & WS_EX_TOPMOST)
    SetWindowPos(wnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  const UINT flags = SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING | (repaint ? 0 : SWP_NOREDRAW);
  SetWindowPos(wnd_, owner, r.left - LeftOffset(), r.top - TopOffset(), w, h, flags);
  if (!LayeredWindowsAvailable() || !changed || MouseForwarding) return;
  SetWindowLongPtrW(wnd_, GWL_EXSTYLE, GetWindowLongPtrW(wnd_, GWL_EXSTYLE) | WS_EX_LAYERED | WS_EX_NOACTIVATE);
  SetWindowRgn(wnd_, MakeRegion(), FALSE);
  BYTE own = 255;
  PushImage(owner_->OwnerAlphaBlend(own) ? own : alpha, owner);
}

// One push of the frame image; a maximized owner shows it without its bottom margin (the
// image itself stays whole for the owner's own painting).
void TacBorderForm::PushImage(int alpha, HWND owner) {
  TBitmap& image = *owner_->OwnerSkinData()->CacheBitmap;
  SIZE size{image.Width(), image.Height()};
  if (OwnerMaximized()) {
    const TacBorderFormInfo info{Manager()};
    size.cy = std::max<LONG>(size.cy - ShadowMargins().bottom - FrameBorderWidth(owner, &info, true), 0);
    SetWindowPos(wnd_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING);
  }
  POINT origin{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(std::clamp(alpha, 0, 255)), AC_SRC_ALPHA};
  efir::gdi::WindowDC screen;
  UpdateLayeredWindow(wnd_, screen, nullptr, &size, image.Canvas().Handle(), &origin, 0, &blend, ULW_ALPHA);
  LastAlpha = blend.SourceConstantAlpha;
  LastSize = size;
  // An invisible owner must not be shown along with its border window.
  const LONG_PTR style = GetWindowLongPtrW(owner, GWL_STYLE);
  if (alpha == 0) SetWindowLongPtrW(owner, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_VISIBLE));
  ShowWindow(wnd_, SW_SHOWNOACTIVATE);
  if (alpha == 0) SetWindowLongPtrW(owner, GWL_STYLE, style);
}

HRGN TacBorderForm::MakeRegion() const {
  const SIZE size = WindowSize(wnd_);
  const RECT m = ShadowMargins();
  BYTE alpha = 255;
  const bool blended = owner_->OwnerAlphaBlend(alpha);
  HRGN region = nullptr;
  if (OwnerMaximized()) {
    const TacBorderFormInfo info{Manager()};
    // The window's own frame and the extended part beyond it.
    const int side = FrameBorderWidth(owner_->OwnerWnd(), &info, true);
    region = CreateRectRgn(side + m.left, m.top + 4, size.cx - side - m.right, size.cy - side - m.bottom);
    if (!blended) return region;
  } else {
    if (!blended) return nullptr;
    region = CreateRectRgn(0, 0, size.cx, size.cy);
  }
  // The translucent client must not show the border picture behind it.
  const RECT c = owner_->OwnerClientInImage();
  efir::gdi::Object<HRGN> client(CreateRectRgn(c.left, c.top, c.right, c.bottom));
  CombineRgn(region, region, client.get(), RGN_XOR);
  return region;
}

// ---------------------------------------------------------------------------- hit test

bool TacBorderForm::InShadowZone(UINT msg, LPARAM lParam) {
  if (OwnerMaximized()) return false;
  POINT p = PointOf(lParam);
  if (!IsClientMouse(msg)) {
    RECT r{};
    GetWindowRect(wnd_, &r);
    p.x -= r.left;
    p.y -= r.top;
  }
  const SIZE size = WindowSize(wnd_);
  const RECT m = ShadowMargins();
  if (Between(p.x, m.left, size.cx - m.right) && Between(p.y, m.top, size.cy - m.bottom)) return false;
  owner_->SetOwnerHotButton(-1);
  return true;
}

LRESULT TacBorderForm::HitTest(POINT screen) {
  LRESULT own = 0;
  if (owner_->OwnerExtHitTest(screen, own) && own != 0) return own;
  HWND owner = owner_->OwnerWnd();
  if (!IsWindowEnabled(owner)) return HTTRANSPARENT;
  RECT r{};
  GetWindowRect(wnd_, &r);
  const POINT p{screen.x - r.left, screen.y - r.top};
  if (const int button = owner_->OwnerButtonAt(p); button > 0) {
    owner_->SetOwnerHotButton(button);
    return button;
  }
  const RECT m = ShadowMargins();
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (!OwnerMaximized() && (GetWindowLongPtrW(owner, GWL_STYLE) & WS_THICKFRAME)) {
    const int f = FrameBorderWidth(owner, nullptr, false);
    LRESULT code = 0;
    if (Between(p.y, m.top, m.top + f)) code = HTTOP;
    if (Between(p.y, h - f - m.bottom, h - m.bottom)) code = HTBOTTOM;
    if (Between(p.x, m.left, m.left + f)) code = code == HTTOP ? HTTOPLEFT : code == HTBOTTOM ? HTBOTTOMLEFT : HTLEFT;
    else if (Between(p.x, w - f - m.right, w - m.right))
      code = code == HTTOP ? HTTOPRIGHT : code == HTBOTTOM ? HTBOTTOMRIGHT : HTRIGHT;
    if (code != 0) {
      owner_->SetOwnerHotButton(-1);
      return code;
    }
  }
  owner_->SetOwnerHotButton(-1);
  const int plain = owner_->OwnerCaptionHeight(false), menu = owner_->OwnerMenuHeight();
  const int band = owner_->OwnerCaptionHeight(true) + m.top;
  if (Between(p.y, 0, band)) {
    // The menu line answers as the menu, as it does on a form without a border window.
    if (menu > 0 && Between(p.y, plain, plain + menu)) return HTMENU;
    const RECT icon = owner_->OwnerIconRect();
    return PtInRect(&icon, p) ? HTSYSMENU : HTCAPTION;
  }
  if (p.y <= band + menu) return HTMENU;
  if (owner_->OwnerGripAt(p)) return HTBOTTOMRIGHT;
  owner_->SetOwnerHotButton(0);
  return HTTRANSPARENT;
}

bool TacBorderForm::UpdateCursor() {
  POINT cursor{};
  GetCursorPos(&cursor);
  if (InShadowZone(WM_NCHITTEST, PackPoint(cursor))) return false;
  const LPCWSTR shape = CursorOfHit(HitTest(cursor));
  if (!shape) return false;
  SetCursor(LoadCursorW(nullptr, shape));
  return true;
}

// ---------------------------------------------------------------------------- messages

LRESULT CALLBACK TacBorderForm::StaticWndProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<TacBorderForm*>(GetWindowLongPtrW(wnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(wnd, msg, wParam, lParam);
  try {
    return self->BorderWndProc(msg, wParam, lParam);
  } catch (...) {
    Application.HandleException();
    return 0;
  }
}

// A click on the shadow goes to the window below it, in that window's coordinates; the pixel
// under it is holed in the region, so the next click there passes through on its own.
void TacBorderForm::ForwardToWindowBelow(UINT msg, WPARAM wParam, LPARAM lParam) {
  FlagScope forwarding(MouseForwarding);
  POINT screen = PointOf(lParam);
  ClientToScreen(wnd_, &screen);
  if (!owner_->OwnerModal()) {
    HRGN region = MakeRegion();
    if (!region) {
      const SIZE size = WindowSize(wnd_);
      region = CreateRectRgn(0, 0, size.cx, size.cy);
    }
    const POINT p = PointOf(lParam);
    efir::gdi::Object<HRGN> hole(CreateRectRgn(p.x, p.y, p.x + 1, p.y + 1));
    CombineRgn(region, region, hole.get(), RGN_XOR);
    SetWindowRgn(wnd_, region, FALSE);
  }
  HWND below = WindowFromPoint(screen);
  if (!below || below == wnd_ || below == owner_->OwnerWnd()) return;
  POINT local = screen;
  ScreenToClient(below, &local);
  SendMessageW(below, msg, wParam, PackPoint(local));
}

LRESULT TacBorderForm::BorderWndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND owner = owner_->OwnerWnd();
  if (IsClientMouse(msg)) {
    if (!InShadowZone(msg, lParam)) return DefWindowProcW(wnd_, msg, wParam, lParam);
    ForwardToWindowBelow(msg, wParam, lParam);
    return 0;
  }
  switch (msg) {
    case WM_ERASEBKGND:
    case WM_NCPAINT: return 0;
    case WM_SETCURSOR:
      if (UpdateCursor()) return TRUE;
      break;
    case WM_MOUSEACTIVATE:
      SetForegroundWindow(owner);
      return MA_NOACTIVATE;
    case WM_WINDOWPOSCHANGED: {
      owner_->StopOwnerGlows();
      const LRESULT result = DefWindowProcW(wnd_, msg, wParam, lParam);
      if (!MouseForwarding) UpdateBorderForm(false, 255);
      return result;
    }
    case WM_NCHITTEST:
      // The shadow takes the mouse as client messages and hands them on to the window below
      // (which may belong to another thread, where no hit code could pass them).
      if (InShadowZone(msg, lParam)) return DefWindowProcW(wnd_, msg, wParam, lParam);
      return kFrameHit;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
    case WM_NCRBUTTONUP:
      if (!InShadowZone(msg, lParam)) return SendMessageW(owner, msg, static_cast<WPARAM>(-1), lParam);
      return 0;
    case WM_NCLBUTTONDBLCLK: {
      owner_->OwnerEndDrag(PointOf(lParam));
      const LRESULT code = HitTest(PointOf(lParam));
      if (code == HTCAPTION) owner_->OwnerCaptionDoubleClick();
      else if (code == HTSYSMENU) SendMessageW(owner, WM_SYSCOMMAND, SC_CLOSE, 0);
      return 0;
    }
    case WM_NCRBUTTONDOWN:
      if (!InShadowZone(msg, lParam)) return SendMessageW(owner, msg, static_cast<WPARAM>(HitTest(PointOf(lParam))), lParam);
      return 0;
  }
  return DefWindowProcW(wnd_, msg, wParam, lParam);
}
