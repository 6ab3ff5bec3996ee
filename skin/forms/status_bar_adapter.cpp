#include "skin/forms/status_bar_adapter.h"

#include <commctrl.h>

#include <algorithm>

#include "framework/bitmap.h"
#include "framework/status_bar.h"
#include "framework/text_encoding.h"
#include "skin/engine/alpha_blend.h"
#include "skin/engine/background_answers.h"
#include "skin/engine/bit_btn_layout.h"
#include "skin/engine/common_data.h"
#include "skin/engine/fills.h"
#include "skin/engine/item_paint.h"
#include "skin/engine/skin_broadcast.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_painters.h"
#include "skin/forms/adapter_paint.h"
#include "skin/forms/window_relays.h"

TacStatusBarWnd::TacStatusBarWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section)
    : TacMainWnd(wnd, skinData, manager, section.empty() ? std::string("STATUSBAR") : section) {
  StatusBar = dynamic_cast<TStatusBar*>(SkinData->OwnerControl);
}

bool TacStatusBarWnd::Simple() const { return SendMessageW(Wnd, SB_ISSIMPLE, 0, 0) == TRUE; }

std::string TacStatusBarWnd::PanelText(int index) {
  if (SendMessageW(Wnd, SB_GETPARTS, 0, 0) == 0) return {};
  if (Simple()) return efir::text::toAnsi(WindowTextWide(Wnd));
  if (!StatusBar) return {};
  if (StatusBar->PanelCount() == 0) return StatusBar->SimpleText();
  return index >= 0 && index < StatusBar->PanelCount() ? StatusBar->Panels(index).Text : std::string();
}

void TacStatusBarWnd::PaintDivider(const RECT& r, TBitmap& cache) {
  TsSkinManager* manager = Manager();
  const int section = SectionIndexByName(manager, "DIVIDER");
  const int mask = MaskIndexByName(manager, section, "DIVIDER", "BORDERSMASK");
  if (!SectionIndexValid(manager, section) || !MaskIndexValid(manager, mask)) return;
  const int w = MaskStateWidth(manager->Masks[static_cast<size_t>(mask)]) - 1, h = WindowSize.cy - 2;
  if (w <= 0 || h <= 0) return;
  auto under = NewBitmap24(w, h);
  auto face = NewBitmap24(w, h);
  const int x = r.right - w;
  BitBlt(under->Canvas().Handle(), 0, 0, w, h, cache.Canvas().Handle(), x, r.top, SRCCOPY);
  RenderSectionItem(section, "DIVIDER", BitmapSource(*under), true, 0, {0, 0, w, h}, {0, 0}, face.get(), manager, -1, -1);
  BitBlt(cache.Canvas().Handle(), x, 1, w, h, face->Canvas().Handle(), 0, 0, SRCCOPY);
}

void TacStatusBarWnd::PaintPanel(int index, RECT r, TBitmap& cache) {
  TsCommonData& d = *SkinData;
  TsSkinManager* manager = Manager();
  const bool simple = Simple();
  RECT t = r;
  InflateRect(&t, -1, -1);
  if (SectionIndexValid(manager, d.SectionIndex)) {
    const int panelMask = MaskIndexByName(manager, d.SectionIndex, d.SkinSection(), "STATUSPANELMASK");
    if (MaskIndexValid(manager, panelMask)) {
      const RECT area = simple ? RECT{0, 0, WindowSize.cx, WindowSize.cy} : r;
      PaintSkinSlices(&cache, area, true, BitmapSource(cache), manager->Masks[static_cast<size_t>(panelMask)], 0, true,
                      manager);
    } else if (!simple && index < static_cast<int>(SendMessageW(Wnd, SB_GETPARTS, 0, 0)) - 1) {
      PaintDivider(r, cache);
    }
  }
  t.bottom -= 1;
  t.left += 2;
  t.right -= 4;
  TCanvas& canvas = cache.Canvas();
  AssignWindowFont(canvas.Font(), Wnd);
  const std::string text = CutTextWithEllipsis(canvas, PanelText(index), t.right - t.left);
  const TAlignment alignment = !simple && StatusBar && index >= 0 && index < StatusBar->PanelCount()
                                   ? StatusBar->Panels(index).Alignment
                                   : taLeftJustify;
  WriteSkinText(canvas, text, true, t, AlignmentDrawTextFlags(alignment) | DT_SINGLELINE | DT_VCENTER, d, false);
}

void TacStatusBarWnd::RebuildCache() {
  TsCommonData& d = *SkinData;
  ReadWindowPlacement();
  if (WindowSize.cx <= 0 || WindowSize.cy <= 0) return;
  TBitmap& cache = SizedCache(*this);
  d.BackgroundChanged = true;
  RenderWindowBackgroundCache(d, Wnd, false);
  if (Simple()) {
    PaintPanel(-1, {0, 1, WindowSize.cx - 1, WindowSize.cy - 1}, cache);
  } else {
    const int parts = static_cast<int>(SendMessageW(Wnd, SB_GETPARTS, 0, 0));
    for (int i = 0; i < parts; ++i) {
      RECT r{};
      SendMessageW(Wnd, SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&r));
      InflateRect(&r, -1, -1);
      PaintPanel(i, r, cache);
    }
  }
  d.BackgroundChanged = false;
}

void TacStatusBarWnd::CopyCacheTo(HDC given) {
  HDC dc = given ? given : GetWindowDC(Wnd);
  BitBlt(dc, 0, 0, WindowSize.cx, WindowSize.cy, SkinData->CacheBitmap->Canvas().Handle(), 0, 0, SRCCOPY);
  if (!given) ReleaseDC(Wnd, dc);
}

void TacStatusBarWnd::AdapterWndProc(TMessage& message) {
  if (!SkinActive()) return TacMainWnd::AdapterWndProc(message);
  TsCommonData& d = *SkinData;
  switch (message.Msg) {
    case WM_PAINT: {
      InvalidateRect(Wnd, nullptr, TRUE);
      PAINTSTRUCT ps;
      BeginPaint(Wnd, &ps);
      EndPaint(Wnd, &ps);
      return;
    }
    case WM_ERASEBKGND:
    case WM_PRINT:
      PaintGuarded([&] {
        RebuildCache();
        if (d.CacheBitmap) CopyCacheTo(reinterpret_cast<HDC>(message.WParam));
      });
      message.Result = 1;
      return;
    case WM_NCPAINT:
      if (SkinChangeAnimating || !StatusBar) return;
      PaintGuarded([&] {
        if (d.BackgroundChanged || !d.CacheBitmap) RebuildCache();
        if (!d.CacheBitmap) return;
        HDC dc = GetWindowDC(Wnd);
        CopyBorderFrame(dc, 0, 0, WindowSize.cx, WindowSize.cy, d.CacheBitmap->Canvas().Handle(), 0, 0,
                        StatusBar->BorderWidth());
        ReleaseDC(Wnd, dc);
      });
      return;
  }
  TacMainWnd::AdapterWndProc(message);
  if (message.Msg == WM_SIZE) RedrawWindow(Wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
}
