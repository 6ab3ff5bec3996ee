// Steps the painting adapters share: the window's font taken into a canvas, the
// WM_PAINT/WM_PRINT frame that paints through the adapter's cache, and the disabled look.
//
//   PaintThroughCache(*this, message, [&](TBitmap& cache) { ...draw the whole window... });
//
// Painting never lets an exception out: a broken paint must not become a message box per
// repaint.
#pragma once

#include <windows.h>

#include <functional>

#include "framework/messages.h"

class TBitmap;
class TCanvas;
class TFont;
class TacMainWnd;
class TsSkinManager;
struct CacheSourceInfo;

// The font behind a font handle copied into `font`.
void AssignFontHandle(TFont& font, HFONT handle);
// The font the window answers to WM_GETFONT (the system font when none), copied into `font`.
void AssignWindowFont(TFont& font, HWND wnd);
// The system's caption font copied into the canvas.
void UseCaptionFont(TCanvas& canvas);
// The adapter's cache sized to its window (24 bits).
TBitmap& SizedCache(TacMainWnd& adapter);
// BeginPaint/EndPaint around `draw` (skipped while the adapter's skin data waits for its
// parent), then the cache copied to the DC in WParam, else to the window's client DC; the
// columns left of `firstColumn` keep what the window drew there.
void PaintThroughCache(TacMainWnd& adapter, const TMessage& message, const std::function<void(TBitmap&)>& draw,
                       int firstColumn = 0);
// Runs `paint`, swallowing what it throws.
void PaintGuarded(const std::function<void()>& paint);
// A disabled window: 60 % of its background over 40 % of its own picture.
void ApplyDisabledWindowLook(TBitmap& cache, const CacheSourceInfo& behind, POINT at);
// The parent window paints what lies behind `wnd` (the window's place `at` in its parent's
// client area) straight into the whole bitmap.
void PaintParentBackground(HWND wnd, TBitmap& bitmap, POINT at);
// What `behind` shows at `at` copied into rect of the bitmap; its colour when it has no picture.
void CopyBackgroundBehind(TBitmap& bitmap, const RECT& rect, const CacheSourceInfo& behind, POINT at);
// The bitmap as the background of what is painted over it.
CacheSourceInfo BitmapSource(TBitmap& bitmap);
// One state picture of the skin picture `maskIndex`, its top-left corner at `at`, over the
// bitmap's own pixels; false when the skin has no such picture.
bool PaintSkinGlyph(TBitmap& bitmap, TsSkinManager* manager, int maskIndex, POINT at, int state);
