// The asking side of the background question: a control asks its parent what lies behind
// it (SKC_GETBGINFO) and gets a bitmap, a colour, or the background painted straight into
// its DC; the answer then becomes the CacheSourceInfo the painters read.
//
//   BackgroundInfo info;
//   QueryParentBackground(info, control->Parent(), false);
//   CacheSourceInfo source;
//   BackgroundInfoToCacheInfo(info, source);
//
// A parent that does not answer yields a colour (its SKC_GETBGCOLOR answer or its Color),
// or, when the record asked for painting before, has painted itself into the DC.
#pragma once

#include <windows.h>

#include "skin/engine/skin_command.h"

class TControl;
class TBitmap;

// True when the parent answered.
bool QueryParentBackground(BackgroundInfo& Info, TControl* Parent, bool PaintNow);
// The same for a window; unanswered, the colour is the default manager's GLOBALINFO colour.
bool QueryParentWindowBackground(BackgroundInfo& Info, HWND ParentWnd, bool PaintNow);
void BackgroundInfoToCacheInfo(const BackgroundInfo& Info, CacheSourceInfo& CacheInfo);
// Paints the parent's background under control into cache (sized to the control) and
// describes it as the source of the control's transparent parts.
void QueryCacheBackground(TControl* control, TBitmap* cache, CacheSourceInfo& behind);
