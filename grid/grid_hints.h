// The grid's hint window: a small top-most popup that shows one wide text at a screen
// rectangle, so Cyrillic (and any other) cell text shows as it is whatever the system's ANSI
// code page. The grid makes one on its first hint and reuses it; hiding a hint destroys the
// window and keeps the object for the next one.
//
//   TGridHintWindow hint;
//   RECT r = grid::CalcHintWindowRect(&hint, 250, L"Радио Дача");   // at (0, 0)
//   OffsetRect(&r, screen.x, screen.y);
//   grid::ShowHintWindow(&hint, r, L"Радио Дача");
//   grid::HideHintWindow(&hint);
//
// The window's text is the hint's text, and its class is kGridHintClass.
#pragma once

#include <windows.h>

#include <string>

#include "framework/gdi.h"

constexpr wchar_t kGridHintClass[] = L"EfirGridHint";

class TGridHintWindow {
 public:
  TGridHintWindow() = default;
  ~TGridHintWindow() { ReleaseHandle(); }
  TGridHintWindow(const TGridHintWindow&) = delete;
  TGridHintWindow& operator=(const TGridHintWindow&) = delete;

  // The rectangle at (0, 0) that shows Text wrapped within MaxWidth pixels, frame included.
  RECT CalcHintRect(int MaxWidth, const std::wstring& Text);
  // Shows Text in Rect (screen coordinates), making the window when it has none.
  void ActivateHint(const RECT& Rect, const std::wstring& Text);
  // The window goes; the object stays.
  void ReleaseHandle();

  HWND Handle() const { return handle_; }
  const std::wstring& Text() const { return text_; }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  HFONT Font();
  void Paint(HDC dc);

  HWND handle_ = nullptr;
  std::wstring text_;
  efir::gdi::Object<HFONT> font_;
};

namespace grid {

// The hint window's own operations, each doing nothing (or answering an empty rectangle)
// when there is no window.
void ShowHintWindow(TGridHintWindow* Window, const RECT& Rect, const std::wstring& Text);
RECT CalcHintWindowRect(TGridHintWindow* Window, int MaxWidth, const std::wstring& Text);
void HideHintWindow(TGridHintWindow* Window);

}  // namespace grid
