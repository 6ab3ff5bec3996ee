// The editor's entry. Until the main window is built this shows a plain window with the
// program's title, so that the run command has something to start.
#include <windows.h>

#include "framework/text_encoding.h"

namespace {

LRESULT CALLBACK placeholderProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = placeholderProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = L"EfirEditorPlaceholder";
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowW(wc.lpszClassName, efir::text::fromAnsi("ЭфРедактор").c_str(),
                            WS_OVERLAPPEDWINDOW, 100, 100, 520, 420, nullptr, nullptr, instance,
                            nullptr);
  ShowWindow(hwnd, show);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
