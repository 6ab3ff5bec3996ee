#include "grid/grid_hints.h"

#include <utility>

#include "framework/application.h"

namespace {

constexpr UINT kTextFlags = DT_WORDBREAK | DT_NOPREFIX;
// Frame and inner margins: the text area is the window less these on each side.
constexpr int kMarginX = 3, kMarginY = 2;

void RegisterHintClass(WNDPROC proc) {
  static bool registered = false;
  if (registered) return;
  WNDCLASSEXW wc{sizeof(wc)};
  wc.style = CS_SAVEBITS;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kGridHintClass;
  registered = RegisterClassExW(&wc) != 0;
}

}  // namespace

HFONT TGridHintWindow::Font() {
  if (!font_) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    font_.reset(CreateFontIndirectW(&metrics.lfStatusFont));
  }
  return font_.get();
}

RECT TGridHintWindow::CalcHintRect(int MaxWidth, const std::wstring& Text) {
  efir::gdi::WindowDC screen;
  efir::gdi::Selection font(screen, Font());
  RECT rect{0, 0, MaxWidth, 0};
  DrawTextW(screen, Text.c_str(), static_cast<int>(Text.size()), &rect, kTextFlags | DT_CALCRECT);
  rect.right += 2 * kMarginX;
  rect.bottom += 2 * kMarginY;
  return rect;
}

void TGridHintWindow::ActivateHint(const RECT& Rect, const std::wstring& Text) {
  text_ = Text;
  if (!handle_) {
    RegisterHintClass(&WindowProc);
    handle_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kGridHintClass,
                              Text.c_str(), WS_POPUP | WS_BORDER, Rect.left, Rect.top,
                              Rect.right - Rect.left, Rect.bottom - Rect.top, nullptr, nullptr,
                              GetModuleHandleW(nullptr), this);
    if (!handle_) return;
  } else {
    SetWindowTextW(handle_, Text.c_str());
  }
  SetWindowPos(handle_, HWND_TOPMOST, Rect.left, Rect.top, Rect.right - Rect.left,
               Rect.bottom - Rect.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(handle_, nullptr, TRUE);
}

void TGridHintWindow::ReleaseHandle() {
  if (!handle_) return;
  DestroyWindow(std::exchange(handle_, nullptr));
}

void TGridHintWindow::Paint(HDC dc) {
  RECT client;
  GetClientRect(handle_, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_INFOBK));
  efir::gdi::Selection font(dc, Font());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
  // The frame takes one pixel of each margin.
  RECT text{kMarginX - 1, kMarginY - 1, client.right - (kMarginX - 1), client.bottom - (kMarginY - 1)};
  DrawTextW(dc, text_.c_str(), static_cast<int>(text_.size()), &text, kTextFlags);
}

LRESULT CALLBACK TGridHintWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<TGridHintWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      if (self) efir::Guarded([&] { self->Paint(dc); });
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_NCHITTEST:
      return HTTRANSPARENT;  // the mouse goes on to the grid under the hint
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

namespace grid {

void ShowHintWindow(TGridHintWindow* Window, const RECT& Rect, const std::wstring& Text) {
  if (Window) Window->ActivateHint(Rect, Text);
}

RECT CalcHintWindowRect(TGridHintWindow* Window, int MaxWidth, const std::wstring& Text) {
  return Window ? Window->CalcHintRect(MaxWidth, Text) : RECT{0, 0, 0, 0};
}

void HideHintWindow(TGridHintWindow* Window) {
  if (Window) Window->ReleaseHandle();
}

}  // namespace grid
