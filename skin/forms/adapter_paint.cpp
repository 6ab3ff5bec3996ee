#include "skin/forms/adapter_paint.h"

#include "framework/bitmap.h"
#include "framework/canvas.h"
#include "framework/gdi.h"
#include "framework/text_encoding.h"
#include "skin/engine/alpha_blend.h"
#include "skin/engine/background_queries.h"
#include "skin/engine/common_data.h"
#include "skin/engine/engine_routines.h"
#include "skin/engine/fills.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_painters.h"
#include "skin/forms/window_adapter.h"

void AssignWindowFont(TFont& font, HWND wnd) {
  auto handle = reinterpret_cast<HFONT>(SendMessageW(wnd, WM_GETFONT, 0, 0));
  AssignFontHandle(font, handle ? handle : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
}

void AssignFontHandle(TFont& font, HFONT handle) {
  LOGFONTW lf{};
  if (!GetObjectW(handle, sizeof lf, &lf)) return;
  font.SetName(efir::text::toAnsi(lf.lfFaceName));
  font.SetHeight(lf.lfHeight);
  TFontStyles style = 0;
  if (lf.lfWeight >= FW_BOLD) style |= fsBold;
  if (lf.lfItalic) style |= fsItalic;
  if (lf.lfUnderline) style |= fsUnderline;
  font.SetStyle(style);
  font.SetCharset(lf.lfCharSet);
}

TBitmap& SizedCache(TacMainWnd& adapter) {
  TsCommonData& d = *adapter.SkinData;
  if (!d.CacheBitmap) d.CacheBitmap = NewBitmap24(1, 1);
  if (d.CacheBitmap->PixelFormat() != pf24bit) d.CacheBitmap->SetPixelFormat(pf24bit);
  d.CacheBitmap->SetSize(adapter.WindowSize.cx, adapter.WindowSize.cy);
  return *d.CacheBitmap;
}

void PaintGuarded(const std::function<void()>& paint) {
  try {
    paint();
  } catch (...) {
    // A paint that fails leaves the old picture; the next change paints again.
  }
}

void PaintThroughCache(TacMainWnd& adapter, const TMessage& message, const std::function<void(TBitmap&)>& draw,
                       int firstColumn) {
  adapter.ReadWindowPlacement();
  PAINTSTRUCT ps;
  const bool ownPaint = message.Msg == WM_PAINT;
  if (ownPaint) BeginPaint(adapter.Wnd, &ps);
  TsCommonData& d = *adapter.SkinData;
  d.Updating = d.IsUpdating();
  if (!d.Updating && adapter.WindowSize.cx > 0 && adapter.WindowSize.cy > 0) {
    PaintGuarded([&] {
      TBitmap& cache = SizedCache(adapter);
      draw(cache);
      HDC dc = message.WParam ? reinterpret_cast<HDC>(message.WParam) : GetDC(adapter.Wnd);
      BitBlt(dc, firstColumn, 0, adapter.WindowSize.cx - firstColumn, adapter.WindowSize.cy, cache.Canvas().Handle(),
             firstColumn, 0, SRCCOPY);
      if (!message.WParam) ReleaseDC(adapter.Wnd, dc);
    });
  }
  if (ownPaint) EndPaint(adapter.Wnd, &ps);
}

void ApplyDisabledWindowLook(TBitmap& cache, const CacheSourceInfo& behind, POINT at) {
  if (behind.Ready && behind.Bitmap) {
    const int x = at.x + behind.X, y = at.y + behind.Y;
    const RECT source{x, y, x + cache.Width() - 1, y + cache.Height() - 1};  // inclusive
    CopyBlendedRect(&cache, 0, 0, behind.Bitmap, source, 0.4, static_cast<TColor>(0xFF000000));
  } else {
    TintBitmap(&cache, behind.FillColor, 0xFF00FF, 0.4);
  }
}

void PaintParentBackground(HWND wnd, TBitmap& bitmap, POINT at) {
  BackgroundInfo info;
  info.DC = bitmap.Canvas().Handle();
  info.Rect = {0, 0, bitmap.Width(), bitmap.Height()};
  info.OffsetX = at.x;
  info.OffsetY = at.y;
  info.PaintNow = true;
  QueryParentWindowBackground(info, GetParent(wnd), true);
}

void CopyBackgroundBehind(TBitmap& bitmap, const RECT& rect, const CacheSourceInfo& behind, POINT at) {
  HDC dc = bitmap.Canvas().Handle();
  if (behind.Ready && behind.Bitmap)
    BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, behind.Bitmap->Canvas().Handle(),
           at.x + behind.X, at.y + behind.Y, SRCCOPY);
  else
    FillRectSolid(dc, rect, behind.FillColor);
}

CacheSourceInfo BitmapSource(TBitmap& bitmap) {
  CacheSourceInfo info;
  MakeCacheSourceInfo(&bitmap, 0, 0, info);
  return info;
}

bool PaintSkinGlyph(TBitmap& bitmap, TsSkinManager* manager, int maskIndex, POINT at, int state) {
  if (!MaskIndexValid(manager, maskIndex)) return false;
  PaintMaskFrame(&bitmap, at, state, 1, manager->Masks[static_cast<size_t>(maskIndex)], BitmapSource(bitmap));
  return true;
}

void UseCaptionFont(TCanvas& canvas) {
  efir::gdi::Object<HFONT> caption(efir::skin::CreateCaptionFont());
  LOGFONTW lf{};
  if (!caption || !GetObjectW(caption.get(), sizeof lf, &lf)) return;
  canvas.Font().SetName(efir::text::toAnsi(lf.lfFaceName));
  canvas.Font().SetHeight(lf.lfHeight);
  canvas.Font().SetStyle(lf.lfWeight >= FW_BOLD ? fsBold : 0);
  canvas.Font().SetCharset(lf.lfCharSet);
}
