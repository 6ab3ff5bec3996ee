#include "skin/engine/glow.h"

#include <string>
#include <vector>

#include "framework/gdi.h"
#include "skin/engine/alpha_blend.h"
#include "skin/engine/colour_utils.h"
#include "skin/engine/fast_pixels.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_painters.h"

namespace {

// Every glow attached since the last ReleaseAllGlows; a released one leaves an empty slot.
// The id of slot i is firstGlowId + i.
std::vector<std::unique_ptr<TacGlowEffect>> glowList;
int firstGlowId = 0;


// Where the glow window goes and which part of the glow picture it shows.
struct GlowPlacement {
  int X = 0, Y = 0;          // screen position of the window
  int Width = 0, Height = 0; // of the window
  int CutLeft = 0, CutTop = 0;
};

// The full glow is the target grown by the picture's borders less the inset on each side; a
// target partly hidden (clipRect smaller than rect) loses the glow on its hidden sides.
GlowPlacement PlaceGlow(const RECT& rect, const RECT& clipRect, int bl, int bt, int br, int bb, int m, int fullWidth,
                        int fullHeight) {
  const int rectWidth = rect.right - rect.left, rectHeight = rect.bottom - rect.top;
  const int clipWidth = clipRect.right - clipRect.left, clipHeight = clipRect.bottom - clipRect.top;
  GlowPlacement p;
  p.Width = fullWidth, p.Height = fullHeight;
  if (clipWidth != rectWidth || clipHeight != rectHeight) {
    const int g = clipRect.left != 0 ? bl + clipRect.left - m : 0;
    const int t = clipRect.top != 0 ? bt + clipRect.top - m : 0;
    const int r = rectWidth == clipRect.right ? 0 : g != 0 ? fullWidth - g - clipWidth : rectWidth + br - clipWidth - m;
    const int b = rectHeight == clipRect.bottom ? 0
                  : t != 0                      ? fullHeight - t - clipHeight
                                                : rectHeight + bb - clipHeight - m;
    p.Width -= g + r, p.Height -= t + b;
    p.CutLeft = g, p.CutTop = t;
  }
  p.X = rect.left + m - bl + p.CutLeft;
  p.Y = rect.top + m - bt + p.CutTop;
  return p;
}

// Layered windows take colours already multiplied by their alpha.
void Premultiply(TBitmap& bitmap) {
  const PixelRows rows = RowsOf(&bitmap);
  for (int y = 0; y < rows.Height; ++y)
    for (int x = 0; x < rows.Width; ++x) {
      uint8_t* p = rows.At(x, y);
      for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>((p[c] * p[3] + 127) / 255);
    }
}

std::unique_ptr<TBitmap> CopyPart(TBitmap& source, int left, int top, int width, int height) {
  auto part = NewBitmap32(width, height);
  BitBlt(part->Canvas().Handle(), 0, 0, width, height, source.Canvas().Handle(), left, top, SRCCOPY);
  GdiFlush();
  return part;
}

TacGlowEffect* GlowAt(int id) {
  const long long slot = static_cast<long long>(id) - firstGlowId;
  if (id < 0 || slot < 0 || slot >= static_cast<long long>(glowList.size())) return nullptr;
  return glowList[static_cast<size_t>(slot)].get();
}

}  // namespace

TacGlowEffect::~TacGlowEffect() {
  if (GlowForm) DestroyWindow(GlowForm);
}

void TacGlowEffect::RebuildAlphaImage(int width, int height) {
  AlphaImage = NewBitmap32(width, height);
  for (int y = 0; y < height; ++y)
    FillPixels32(static_cast<uint8_t*>(AlphaImage->ScanLine(y)), width, 0);
  if (GlowMask >= 0 && MaskIndexValid(Manager, GlowMask))
    PaintSkinSlices(AlphaImage.get(), {0, 0, width, height}, true, EmptyCacheSourceInfo, Manager->Masks[GlowMask], 0,
                    false, Manager);
}

void TacGlowEffect::Show(const RECT& rect, const RECT& clipRect, uint8_t /*alpha*/, HWND wnd) {
  if (GlowForm) return;
  const int bl = MaskBorderLeft(Manager, GlowMask), br = MaskBorderRight(Manager, GlowMask);
  const int bt = MaskBorderTop(Manager, GlowMask), bb = MaskBorderBottom(Manager, GlowMask);
  const int fullWidth = rect.right - rect.left + bl + br - 2 * Inset;
  const int fullHeight = rect.bottom - rect.top + bt + bb - 2 * Inset;
  const GlowPlacement p = PlaceGlow(rect, clipRect, bl, bt, br, bb, Inset, fullWidth, fullHeight);
  if (p.Width <= 0 || p.Height <= 0 || p.CutLeft < 0 || p.CutTop < 0 || p.CutLeft + p.Width > fullWidth ||
      p.CutTop + p.Height > fullHeight)
    return;
  RebuildAlphaImage(fullWidth, fullHeight);
  if (p.CutLeft != 0 || p.CutTop != 0) AlphaImage = CopyPart(*AlphaImage, p.CutLeft, p.CutTop, p.Width, p.Height);
  Premultiply(*AlphaImage);

  RegisterClickThroughClass(GlowWindowClass);
  const bool onTop = wnd && (GetWindowLongPtrW(wnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  GlowForm = CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | (onTop ? WS_EX_TOPMOST : 0),
                             GlowWindowClass, L"", WS_POPUP, p.X, p.Y, p.Width, p.Height, nullptr, nullptr,
                             GetModuleHandleW(nullptr), nullptr);
  if (GlowForm) {
    SetWindowPos(GlowForm, nullptr, p.X, p.Y, p.Width, p.Height, SWP_NOACTIVATE | SWP_NOZORDER);
    efir::gdi::WindowDC screen;
    SIZE size{p.Width, p.Height};
    POINT origin{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    UpdateLayeredWindow(GlowForm, screen, nullptr, &size, AlphaImage->Canvas().Handle(), &origin, 0, &blend, ULW_ALPHA);
    ShowWindow(GlowForm, SW_SHOWNOACTIVATE);
  }
  AlphaImage.reset();
}

int AttachGlow(const RECT& rect, const RECT& clipRect, std::string_view section, std::string_view maskName, int margin,
               uint8_t alpha, HWND wnd, TsSkinManager* manager) {
  if (!LayeredWindowsAvailable()) return -1;
  if (!manager) manager = TsSkinManager::DefaultManager();
  const int mask = MaskIndexExact(manager, section, std::string(maskName) + "0");
  if (mask < 0) return -1;
  auto effect = std::make_unique<TacGlowEffect>();
  effect->Manager = manager;
  effect->Inset = margin;
  effect->GlowMask = mask;
  effect->Show(rect, clipRect, alpha, wnd);
  glowList.push_back(std::move(effect));
  return firstGlowId + static_cast<int>(glowList.size()) - 1;
}

void ReleaseGlow(int id) {
  if (!GlowAt(id)) return;
  glowList[static_cast<size_t>(id - firstGlowId)].reset();
}

void ReleaseAllGlows() {
  firstGlowId += static_cast<int>(glowList.size());
  glowList.clear();
}

namespace {

LRESULT CALLBACK ClickThroughWindowProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam) {
  // Clicks go through to whatever lies below the halo.
  if (message == WM_NCHITTEST) return HTTRANSPARENT;
  return DefWindowProcW(wnd, message, wParam, lParam);
}

}  // namespace

void RegisterClickThroughClass(const wchar_t* name) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExW(GetModuleHandleW(nullptr), name, &wc)) return;
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = ClickThroughWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = name;
  RegisterClassExW(&wc);
}
