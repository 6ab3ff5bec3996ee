// The answering side of the background question, for things that are not a TsCommonData
// member: a window's parent background, whether a control's parent background varies, and
// which section gives a see-through control its font colours. TsCommonData's own answers
// (FillBackgroundInfo, BackgroundColor, ParentCacheInfo, BackgroundFollowsParent) are
// declared with it and built in background_answers.cpp too.
#pragma once

#include <windows.h>

#include "skin/engine/common_data.h"

class TsSkinManager;

// The background behind a window, from its parent window; EmptyCacheSourceInfo without one.
void WindowParentCacheInfo(HWND Wnd, CacheSourceInfo& Info);
// The owner's parent answers SKC_ISBGVARYING with 1.
bool IsParentBackgroundVarying(TsCommonData& SkinData);
// The section whose font colours `control` uses: the nearest parent section that gives its
// font (GIVEOWNFONT), passing over parents more than half transparent; else `fallback`.
int ParentFontSectionIndex(TControl* control, int fallback, TsSkinManager* manager);

// Copies the ClipRect-sized part of a container's cache from (SourceRect.left, top) to
// ClipRect's corner of `dc`, leaving out what its children cover: graphic and opaque child
// controls (moved by dx, dy), or the visible child windows of `wnd`, of which a group box
// leaves out only its frame so that the cache shows through its inside. Restoring the cache's
// transparent corners first is the caller's part.
void CopyCacheExceptControls(TWinControl* parent, TsCommonData& SkinData, const RECT& SourceRect, int dy, int dx,
                             HDC dc, const RECT& ClipRect);
void CopyCacheExceptWindows(HWND wnd, TsCommonData& SkinData, const RECT& SourceRect, int dy, int dx, HDC dc,
                            const RECT& ClipRect);
