#include "tests/support/window.h"
#include <cwchar>

namespace efir::test {
namespace {
constexpr wchar_t kClass[] = L"EfirTestWindow";
}

bool pumpUntil(const std::function<bool()>& done, int timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (done()) return true;
    if (static_cast<int>(GetTickCount() - start) >= timeoutMs) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

void pumpFor(int ms) {
  pumpUntil([] { return false; }, ms);
}

HWND shownThreadWindow(const wchar_t* className) {
  struct Search {
    const wchar_t* className;
    HWND found;
  } search{className, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND hwnd, LPARAM param) -> BOOL {
        auto& s = *reinterpret_cast<Search*>(param);
        wchar_t name[64] = {};
        GetClassNameW(hwnd, name, 64);
        if (wcscmp(name, s.className) != 0 || !IsWindowVisible(hwnd)) return TRUE;
        s.found = hwnd;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

namespace {

// One mouse event at the screen point `at`.
void mouseInput(POINT at, DWORD flags) {
  const int width = GetSystemMetrics(SM_CXSCREEN) - 1, height = GetSystemMetrics(SM_CYSCREEN) - 1;
  INPUT event{};
  event.type = INPUT_MOUSE;
  event.mi.dx = at.x * 65535 / width;
  event.mi.dy = at.y * 65535 / height;
  event.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &event, sizeof(event));
}

void keyInput(WORD key, bool up) {
  INPUT event{};
  event.type = INPUT_KEYBOARD;
  event.ki.wVk = key;
  event.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &event, sizeof(event));
}

}  // namespace

void moveMouse(POINT to) { mouseInput(to, 0); }

void clickMouse(POINT at, bool right) {
  mouseInput(at, 0);
  mouseInput(at, right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
  mouseInput(at, right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
}

void pressKey(WORD key, bool shift, bool alt) {
  if (shift) keyInput(VK_SHIFT, false);
  if (alt) keyInput(VK_MENU, false);
  keyInput(key, false);
  keyInput(key, true);
  if (alt) keyInput(VK_MENU, true);
  if (shift) keyInput(VK_SHIFT, true);
}

void dragMouse(POINT from, POINT to, int steps) {
  mouseInput(from, 0);
  mouseInput(from, MOUSEEVENTF_LEFTDOWN);
  for (int i = 1; i <= steps; ++i)
    mouseInput({from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps}, 0);
  mouseInput(to, MOUSEEVENTF_LEFTUP);
}

TestWindow::TestWindow(int width, int height, Painter paint, const wchar_t* caption)
    : paint_(std::move(paint)) {
  static bool registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = &TestWindow::proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kClass;
    return RegisterClassW(&wc) != 0;
  }();
  (void)registered;
  hwnd_ = CreateWindowExW(0, kClass, caption, WS_POPUP | WS_VISIBLE, 40, 40, width, height,
                          nullptr, nullptr, GetModuleHandleW(nullptr), this);
  UpdateWindow(hwnd_);
}

TestWindow::~TestWindow() {
  if (hwnd_) DestroyWindow(hwnd_);
}

LRESULT CALLBACK TestWindow::proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
  }
  auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self && (msg == WM_PAINT || msg == WM_PRINTCLIENT)) {
    PAINTSTRUCT ps{};
    HDC dc = msg == WM_PAINT ? BeginPaint(hwnd, &ps) : reinterpret_cast<HDC>(wp);
    RECT r;
    GetClientRect(hwnd, &r);
    if (self->paint_) self->paint_(dc, r);
    if (msg == WM_PAINT) EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace efir::test
