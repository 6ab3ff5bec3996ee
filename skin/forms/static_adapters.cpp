#include "skin/forms/static_adapters.h"

#include "framework/bitmap.h"
#include "skin/engine/common_data.h"
#include "skin/engine/fills.h"
#include "skin/forms/adapter_paint.h"

namespace {

LONG_PTR Style(HWND wnd) { return GetWindowLongPtrW(wnd, GWL_STYLE); }
LONG_PTR ExStyle(HWND wnd) { return GetWindowLongPtrW(wnd, GWL_EXSTYLE); }

void ReplaceAll(std::string& text, const std::string& what) {
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at)) text.erase(at, what.size());
}

}  // namespace

std::string LinkTextWithoutAnchors(std::string text) {
  ReplaceAll(text, "<A>");
  ReplaceAll(text, "</A>");
  return text;
}

void TacStaticWnd::Paint(HDC given) {
  PaintGuarded([&] {
    ReadWindowPlacement();
    if (WindowSize.cx <= 0 || WindowSize.cy <= 0) return;
    HDC dc = given ? given : GetDC(Wnd);
    efir::gdi::SavedState saved(dc);
    SkinData->BackgroundChanged = true;
    TBitmap& cache = SizedCache(*this);
    RenderWindowBackgroundCache(*SkinData, Wnd, false);
    PaintContent(cache);
    BitBlt(dc, 0, 0, WindowSize.cx, WindowSize.cy, cache.Canvas().Handle(), 0, 0, SRCCOPY);
    if (!given) ReleaseDC(Wnd, dc);
  });
}

bool TacStaticWnd::HandleStaticMessage(TMessage& message) {
  switch (message.Msg) {
    case WM_ERASEBKGND:
      if (!IsWindowVisible(Wnd)) return false;
      Paint(reinterpret_cast<HDC>(message.WParam));
      message.Result = 1;
      return true;
    case WM_MOVE:
    case WM_ENABLE:
    case WM_SETTEXT:
      SkinData->BackgroundChanged = true;
      ForwardToReplacedWndProc(message);
      if (message.Msg == WM_SETTEXT) ReadWindowText();
      RedrawWindow(Wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
      return true;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(Wnd, &ps);
      EndPaint(Wnd, &ps);
      return true;
    }
    case WM_NCPAINT:
      return true;
    default:
      return false;
  }
}

void TacStaticWnd::AdapterWndProc(TMessage& message) {
  const bool ownLook = (Style(Wnd) & WS_TABSTOP) || (ExStyle(Wnd) & WS_EX_STATICEDGE);
  if (ownLook || !SkinActive() || !HandleStaticMessage(message)) TacMainWnd::AdapterWndProc(message);
}

void TacStaticWnd::PaintContent(TBitmap& cache) {
  TCanvas& canvas = cache.Canvas();
  AssignWindowFont(canvas.Font(), Wnd);
  UINT format = DT_WORDBREAK | DT_EXPANDTABS | DT_NOCLIP;
  // The text keeps the alignment its window asks for.
  const LONG_PTR type = Style(Wnd) & SS_TYPEMASK;
  if ((ExStyle(Wnd) & WS_EX_RIGHT) || type == SS_RIGHT) format |= DT_RIGHT;
  else if (type == SS_CENTER) format |= DT_CENTER;
  if (Style(Wnd) & SS_NOPREFIX) format |= DT_NOPREFIX;
  if (type == SS_LEFTNOWORDWRAP) format &= ~static_cast<UINT>(DT_WORDBREAK);
  WriteSkinText(canvas, WindowText, true, {0, 0, WindowSize.cx, WindowSize.cy}, format, *SkinData, false);
}

void TacLinkWnd::AdapterWndProc(TMessage& message) {
  if (!(ExStyle(Wnd) & WS_EX_STATICEDGE) && SkinActive() && message.Msg != WM_ENABLE && HandleStaticMessage(message))
    return;
  TacStaticWnd::AdapterWndProc(message);
}

void TacLinkWnd::PaintContent(TBitmap& cache) {
  TCanvas& canvas = cache.Canvas();
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    // The font is described, not created: the canvas owns the one it makes.
    AssignWindowFont(canvas.Font(), Wnd);
    canvas.Font().SetHeight(metrics.lfMessageFont.lfHeight);
  }
  canvas.Font().SetStyle(canvas.Font().Style() | fsUnderline);
  WriteSkinText(canvas, LinkTextWithoutAnchors(WindowText), true, {0, 0, WindowSize.cx + 4, WindowSize.cy},
                DT_WORDBREAK | DT_EXPANDTABS | DT_NOCLIP, *SkinData, false);
}

TacIconWnd::TacIconWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section)
    : TacStaticWnd(wnd, skinData, manager, section), IsBitmap((Style(wnd) & SS_TYPEMASK) != SS_ICON) {}

void TacIconWnd::PaintContent(TBitmap& cache) {
  HDC dc = cache.Canvas().Handle();
  if (!IsBitmap) {
    if (auto icon = reinterpret_cast<HICON>(SendMessageW(Wnd, STM_GETICON, 0, 0)))
      DrawIconEx(dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
    return;
  }
  // The bitmap stays the window's: it is only drawn from.
  auto bitmap = reinterpret_cast<HBITMAP>(SendMessageW(Wnd, STM_GETIMAGE, IMAGE_BITMAP, 0));
  BITMAP info{};
  if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return;
  efir::gdi::MemoryDC source(dc);
  efir::gdi::Selection selected(source, bitmap);
  BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
}
