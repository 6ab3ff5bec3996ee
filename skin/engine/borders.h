// Borders drawn from skin images: a control's (or a form frame's) border painted into its
// cache with the parent's background behind transparent parts and a solid band up to a
// requested width, and a whole button image covered with one state of a skin image whose
// transparent corner pixels are cut out of a window region at the same time, so that shaped
// buttons get a matching window shape.
//
//   RECT client;
//   PaintControlBorder(dc, {0, 0, w, h}, 2, *SkinData, hot ? 1 : 0, client);
//   efir::gdi::Object<HRGN> shape(CreateRectRgn(0, 0, w, h));
//   PaintMaskOverBitmap(cache, shape.get(), true, manager->Masks[border], state);
//   SetWindowRgn(hwnd, shape.release(), TRUE);
#pragma once

#include <windows.h>

#include "framework/bitmap.h"
#include "skin/engine/skin_data.h"

class TsCommonData;

// Paints the border of rect (cache coordinates) into the skin data's cache and, when dc is
// another context and borderWidth is not 0, copies the band borderWidth wide to dc. Without a
// border image only that band is filled, straight into dc. clientRect receives the inside.
void PaintControlBorder(HDC dc, const RECT& rect, int borderWidth, TsCommonData& skinData, int state,
                        RECT& clientRect);
// Covers the whole 24-bit bitmap with the state frame of mask as nine parts; transparent
// corner pixels are left as they were and removed from region (0: no region).
void PaintMaskOverBitmap(TBitmap* bitmap, HRGN region, bool fillCentre, const TsMaskData& mask, int state);
// Only the region part of PaintMaskOverBitmap: the key-colour pixels of the four corners
// (WL x WT, WR x WT, WL x WB, WR x WB of the state frame; halved where two would overlap) are
// removed from region, placed at the corners of a bitmap of this size. Nothing for a bitmap
// of a pixel or less either way.
void CutMaskCornersFromRegion(const TBitmap* bitmap, HRGN region, int state, const TsMaskData& mask);
// The cell copy of PaintMaskOverBitmap; all coordinates inclusive. With trackRegion, magenta
// pixels are skipped and cut out of region.
void CopyMaskCellToBitmap(int destLeft, int destTop, int destRight, int destBottom, int sourceLeft, int sourceTop,
                          int sourceRight, int sourceBottom, TBitmap* dest, HRGN region, const TsMaskData& mask,
                          bool trackRegion);
