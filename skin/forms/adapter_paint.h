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
class TFont;
class TacMainWnd;
struct CacheSourceInfo;

// The font the window answers to WM_GETFONT (the system font when none), copied into `font`.
void AssignWindowFont(TFont& font, HWND wnd);
// The adapter's cache sized to its window (24 bits).
TBitmap& SizedCache(TacMainWnd& adapter);
// BeginPaint/EndPaint around `draw` (skipped while the adapter's skin data waits for its
// parent), then the cache copied to the DC in WParam, else to the window's client DC.
void PaintThroughCache(TacMainWnd& adapter, const TMessage& message, const std::function<void(TBitmap&)>& draw);
// Runs `paint`, swallowing what it throws.
void PaintGuarded(const std::function<void()>& paint);
// A disabled window: 60 % of its background over 40 % of its own picture.
void ApplyDisabledWindowLook(TBitmap& cache, const CacheSourceInfo& behind, POINT at);
