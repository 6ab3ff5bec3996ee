// What the skin painters share beyond the skin command's records (CacheSourceInfo: where an
// item's background comes from): the transparent key colour of skin images, the kinds of
// disabled look, and the manager a painter uses when given none.
//
//   CacheSourceInfo info;
//   MakeCacheSourceInfo(parentCache, control.Left(), control.Top(), info);
//   PaintSkinSlices(cache, rect, false, info, mask, state, true, nullptr);
#pragma once

#include <cstdint>

#include "framework/gdi.h"
#include "skin/engine/engine_routines.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"

// A skin-image pixel of this colour (blue, green and red bytes compared) is transparent.
constexpr TColor TransparentKeyColor = 0xFF00FF;

// How a disabled control is drawn: blended with its background, grey, or both (a set).
enum TsDisabledKindItem : uint8_t { dkBlended = 1, dkGrayed = 2 };
using TsDisabledKind = uint8_t;
// The same choice for a disabled button's glyph.
enum TsDisabledGlyphKindItem : uint8_t { dgBlended = 1, dgGrayed = 2 };
using TsDisabledGlyphKind = uint8_t;

// The manager to paint with: the given one, else the default one (nullptr when none exists).
inline TsSkinManager* ManagerOrDefault(TsSkinManager* manager) {
  return manager ? manager : TsSkinManager::DefaultManager();
}
