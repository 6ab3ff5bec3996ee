// The complete painting of one skinned item into a bitmap: its background from the section
// (item_background.h), the section's border image stretched or tiled around it, and the
// section's four optional corner images.
//
//   RenderSectionItem(section, "TITLEBAR", background, true, 0, {0, 0, w, 24}, {0, 0}, frame, nullptr, -1, -1);
//   RenderControlItem(*SkinData, parentBackground, true, hot, {0, 0, w, h}, {Left(), Top()}, cache, true);
//   int used = RenderItemBySectionName(b, "MYBUTTON", "BUTTON", 0, nullptr, r, clBtnFace, 0);
//
// A rectangle that does not lie inside the bitmap paints nothing at all (no clipping); so do
// nil bitmaps, empty rectangles and invalid section indexes. offset as in item_background.h.
#pragma once

#include <windows.h>

#include <string>

#include "framework/bitmap.h"
#include "skin/engine/paint_types.h"

class TsCommonData;

void RenderSectionItem(int sectionIndex, const std::string& sectionName, const CacheSourceInfo& cacheInfo,
                       bool fillCentre, int state, const RECT& rect, POINT offset, TBitmap* bitmap,
                       TsSkinManager* manager, int textureIndex, int hotTextureIndex);
// With the border image maskIndex instead of the section's own, no corner images.
void RenderSectionItemWithMask(int sectionIndex, int maskIndex, int textureIndex, int hotTextureIndex,
                               const std::string& sectionName, const CacheSourceInfo& cacheInfo, bool fillCentre,
                               int state, const RECT& rect, POINT offset, TBitmap* bitmap, TsSkinManager* manager);
// Paints the whole bitmap with the named section (or the fallback); the background is what
// sourceDC shows at rect's corner, else fallbackColor. Returns the section index used (-1
// or another invalid index when neither name is in the skin).
int RenderItemBySectionName(TBitmap* bitmap, const std::string& sectionName, const std::string& fallbackSectionName,
                            int state, TsSkinManager* manager, const RECT& rect, TColor fallbackColor, HDC sourceDC);
// A control's item: its section, textures, custom colour, border image and corner images.
void RenderControlItem(TsCommonData& skinData, const CacheSourceInfo& cacheInfo, bool fillCentre, int state,
                       const RECT& rect, POINT offset, TBitmap* bitmap, bool fillCorners);
// Paints through a temporary bitmap straight into dc at rect.
void RenderSectionItemToDC(int sectionIndex, const std::string& sectionName, const CacheSourceInfo& cacheInfo,
                           bool fillCentre, int state, const RECT& rect, POINT offset, HDC dc, TsSkinManager* manager);
// Copies a form frame image in nine parts: corners kept (a corner higher than its limit is
// completed by a narrower second piece), sides tiled (side mode 0) or stretched (1), the centre
// (with fillCentre) tiled (0) or stretched (1). borders are the source's border widths, limits
// the largest widths the destination takes; each TRect holds left, top, right, bottom.
void CopyNineSliceStretched(TBitmap* dest, TBitmap* source, const RECT& destRect, const RECT& sourceRect,
                            const RECT& borders, const RECT& limits, const RECT& sideModes, int centreMode,
                            bool fillCentre);
// Draws a glyph of numGlyphs state frames side by side at destRect's corner: transparent where
// the frame's (or the glyph's) bottom-left colour is; disabled glyphs take frame 0, greyed
// (effects bit 1) and half blended (bit 0); blendPercent fades a single-frame glyph at rest.
// State 1 is the hot frame, state 2 frame stateFrame + 2 when the glyph has it. A glyph read
// from a 16-colour file has no hot frame (its frames are up, disabled, clicked, down): it
// shows frame 0 when hot, and when pressed without its own frame.
void DrawGlyphEffects(TBitmap* glyph, TBitmap* dest, const RECT& destRect, int numGlyphs, bool enabled, int effects,
                      int state, int blendPercent, int stateFrame);
// Copies byte `channel` (0 blue, 1 green, 2 red, 3 alpha) of every pixel of a 32-bit bitmap
// into an 8-bit one at least as large (toSingle), or back.
void CopyChannel(TBitmap* bitmap32, TBitmap* bitmap8, int channel, bool toSingle);
