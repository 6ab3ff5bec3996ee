// The background every skinned item (a control, a title bar, a menu line, a scroll-bar part)
// gets from its skin section before its border is added: the section's colour, its texture
// or JPEG pattern mixed in by ImagePercent, its gradient mixed in by GradientPercent, and
// the parent's background showing through by Transparency.
//
//   RenderControlBackground(*SkinData, parentBackground, hot ? 1 : 0, {0, 0, w, h}, {Left(), Top()}, cache);
//
// offset: where the rectangle's top-left corner lies in the background bitmap, less the
// background's own offsets: the background behind (rect.left, rect.top) is the pixel at
// (X + offset.x, Y + offset.y). State 0 paints the normal values, any other the hot ones.
// Nothing is painted without a default manager or for a section index the manager lacks.
#pragma once

#include <windows.h>

#include <string>

#include "framework/bitmap.h"
#include "skin/engine/paint_types.h"

class TsCommonData;

// Looks the texture up by name (PATTERN / HOTPATTERN, else a JPEG pattern) when the given
// index is -1. customColor other than 0xFF00FF paints that colour alone.
void RenderItemBackground(int sectionIndex, const std::string& sectionName, const CacheSourceInfo& cacheInfo, int state,
                          const RECT& rect, POINT offset, TBitmap* bitmap, TsSkinManager* manager, int textureIndex,
                          int hotTextureIndex, TColor customColor);
// Takes the texture index as given (no look-up, no JPEG pattern).
void RenderMaskItemBackground(int sectionIndex, int textureIndex, int hotTextureIndex, const std::string& sectionName,
                              const CacheSourceInfo& cacheInfo, int state, const RECT& rect, POINT offset,
                              TBitmap* bitmap, TsSkinManager* manager);
// A control's own background from its skin state (its colour alone when CustomColor is set).
void RenderControlBackground(TsCommonData& skinData, const CacheSourceInfo& cacheInfo, int state, const RECT& rect,
                             POINT offset, TBitmap* bitmap);
