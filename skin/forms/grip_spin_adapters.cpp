#include "skin/forms/grip_spin_adapters.h"

#include <algorithm>

#include "framework/bitmap.h"
#include "skin/engine/background_answers.h"
#include "skin/engine/common_data.h"
#include "skin/engine/item_paint.h"
#include "skin/engine/skin_broadcast.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/forms/adapter_paint.h"

namespace {

void Swallow(TMessage& message) { message.Result = 1; }

// The default manager when it may track the mouse over an enabled window.
TsSkinManager* HotTrackingManager(HWND wnd) {
  TsSkinManager* manager = TsSkinManager::DefaultManager();
  return manager && IsWindowEnabled(wnd) ? manager : nullptr;
}

}  // namespace

// ---- size grip

void TacSizerWnd::PaintGrip(TBitmap& cache) {
  PaintParentBackground(Wnd, cache, WindowPos);
  TsSkinManager* manager = TsSkinManager::DefaultManager();
  const int global = SectionIndexByName(manager, "GLOBALINFO");
  const int grip = MaskIndexByName(manager, global, "GLOBALINFO", "GRIPIMAGE");
  if (!MaskIndexValid(manager, grip)) return;
  const TsMaskData& mask = manager->Masks[static_cast<size_t>(grip)];
  const POINT corner{std::max<LONG>(0, WindowSize.cx - MaskStateWidth(mask)),
                     std::max<LONG>(0, WindowSize.cy - MaskStateHeight(mask))};
  PaintSkinGlyph(cache, manager, grip, corner, 0);
}

void TacSizerWnd::AdapterWndProc(TMessage& message) {
  if (!SkinActive()) return TacMainWnd::AdapterWndProc(message);
  switch (message.Msg) {
    case WM_PAINT:
      PaintThroughCache(*this, message, [this](TBitmap& cache) { PaintGrip(cache); });
      return;
    case WM_ERASEBKGND:
    case WM_NCPAINT:
      return Swallow(message);
  }
  TacMainWnd::AdapterWndProc(message);
  if (message.Msg == WM_NCHITTEST) {
    if (TsSkinManager* manager = HotTrackingManager(Wnd)) SetHotWindow(*manager, nullptr);
    message.Result = HTBOTTOMRIGHT;
  }
}

// ---- up-down control

bool TacSpinWnd::VerticalArrows() const { return !(GetWindowLongPtrW(Wnd, GWL_STYLE) & UDS_HORZ); }

void TacSpinWnd::ButtonRects(RECT& first, RECT& second) const {
  const int w = WindowSize.cx, h = WindowSize.cy;
  if (VerticalArrows()) {
    first = {ButtonInset, 0, w, h / 2 + h % 2};
    second = {ButtonInset, h / 2, w, h};
  } else {
    first = {0, 0, w / 2 + w % 2, h};
    second = {w / 2, 0, w, h};
  }
}

void TacSpinWnd::ReadStates() {
  ReadWindowPlacement();
  UpState = DownState = 0;
  POINT cursor;
  if (!GetCursorPos(&cursor) || !PtInRect(&WindowRect, cursor)) return;
  RECT first = WindowRect;
  if (VerticalArrows()) first.bottom -= WindowSize.cy / 2;
  else first.right -= WindowSize.cx / 2;
  (PtInRect(&first, cursor) ? UpState : DownState) = MouseDown ? 2 : 1;
}

void TacSpinWnd::PaintButtons(TBitmap& cache) {
  TsCommonData& d = *SkinData;
  TsSkinManager* manager = Manager();
  if (!SectionIndexValid(manager, d.SectionIndex)) d.SetSkinSection("BUTTON");
  RECT halves[2];
  ButtonRects(halves[0], halves[1]);
  CacheSourceInfo behind;
  WindowParentCacheInfo(Wnd, behind);
  const TsFixedIndexes& fixed = manager->FixedIndexes;
  const bool vertical = VerticalArrows();
  const int glyphs[2] = {vertical ? fixed.GlyphScrollBtnTop : fixed.GlyphScrollBtnLeft,
                         vertical ? fixed.GlyphScrollBtnBottom : fixed.GlyphScrollBtnRight};
  const int states[2] = {UpState, DownState};
  for (int i = 0; i < 2; ++i) {
    const RECT& r = halves[i];
    RenderControlItem(d, behind, true, states[i], r, {WindowPos.x + r.left, WindowPos.y + r.top}, &cache, true);
    if (!MaskIndexValid(manager, glyphs[i])) continue;
    const TsMaskData& mask = manager->Masks[static_cast<size_t>(glyphs[i])];
    const POINT at{r.left + (r.right - r.left - MaskStateWidth(mask)) / 2,
                   r.top + (r.bottom - r.top - MaskStateHeight(mask)) / 2};
    PaintSkinGlyph(cache, manager, glyphs[i], at, states[i]);
  }
}

void TacSpinWnd::AdapterWndProc(TMessage& message) {
  if (!SkinActive()) return TacMainWnd::AdapterWndProc(message);
  switch (message.Msg) {
    case WM_PAINT:
      ReadStates();
      SkinData->BackgroundChanged = true;
      PaintThroughCache(*this, message, [this](TBitmap& cache) { PaintButtons(cache); }, ButtonInset);
      return;
    case WM_ERASEBKGND:
    case WM_NCPAINT:
      return Swallow(message);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      MouseDown = message.Msg == WM_LBUTTONDOWN;
      TacMainWnd::AdapterWndProc(message);
      SendMessageW(Wnd, WM_PAINT, 0, 0);
      return;
    case WM_MOUSELEAVE:
      InvalidateRect(Wnd, nullptr, FALSE);
      break;
  }
  TacMainWnd::AdapterWndProc(message);
  if (message.Msg != WM_MOUSEMOVE) return;
  TsSkinManager* manager = HotTrackingManager(Wnd);
  if (!manager) return;
  ReadWindowPlacement();
  POINT cursor;
  const bool inside = GetCursorPos(&cursor) && PtInRect(&WindowRect, cursor);
  if (inside && manager->HotWindow != Wnd) SetHotWindow(*manager, Wnd);
  else if (inside) SendMessageW(Wnd, WM_PAINT, 0, 0);
  else if (manager->HotWindow == Wnd) SetHotWindow(*manager, nullptr);
}
