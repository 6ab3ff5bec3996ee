// The animated show of a skinned form and its repaint after a skin change: the form is
// rendered once, with all its children, into an off-screen picture, and an overlay window
// cross-fades from what the screen showed there to that picture; only then is the form
// itself allowed to paint. A form with an extended-border window fades in instead, frame
// and shadow included, through a layered overlay where the border window lies; the border
// window takes the last picture over.
//
//   bool hidden = SetLayeredHidden(form, true);    // shown, but with nothing on the screen
//   ShowWindow(...);                               // children and frame are prepared
//   if (hidden) SetLayeredHidden(form, false);     // takes WS_VISIBLE away, silently
//   AnimateFormAppearance(form, manager->AnimEffects.FormShow.Time);
//
// The rule every path keeps: AnimateFormAppearance ends with WM_SETREDRAW(TRUE) to the form,
// which gives its window WS_VISIBLE back, and a full redraw; below 8 ms (the default time is
// 0) that is all it does, and a failure midway does the same before the exception goes on.
// So call it only for a form that is to be showing. A colour-keyed form's overlay is keyed
// in the same colour and its frames keep the key pixels exact, so the key colour is never
// seen; what lies behind the form shows there throughout.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "framework/bitmap.h"
#include "framework/controls.h"
#include "framework/forms.h"
#include "skin/engine/skin_broadcast.h"

// A test's window on the frames: called after each frame reached the overlay, with the
// old picture's weight in it (255 all old, 0 all new). Empty in the programs.
extern std::function<void(HWND overlay, int weight)> AnimationFrameShown;
// The same for a form with an extended-border window, whose whole picture fades in through a
// layered overlay: called with the overlay's opacity after each push (0 first, then up to
// the form's own opacity). Wine shows layered windows unblended, so tests read these.
extern std::function<void(HWND overlay, int alpha)> LayeredFrameShown;

// Hide true: makes a form that is not layered yet layered with an empty picture, so it shows
// nothing while it is made visible; true when it did. A layered form (a colour-keyed one)
// is left alone: false. Hide false: takes WS_VISIBLE and WS_EX_LAYERED off its window without
// any message (the animation shows it); always false.
bool SetLayeredHidden(TWinControl* form, bool hide);

// The old picture's weight in each frame of a cross-fade of `time` ms: one frame each 8 ms
// plus one, from 255 down; none below 8 ms.
std::vector<int> CrossFadeWeights(uint16_t time);

// Paints `control` and its visible windowed children, at every depth, into `bitmap` with the
// control's top left corner at the DC's origin: skinned windows through WM_PRINT, the others
// through PaintTo.
void RenderControlTreeToBitmap(TBitmap& bitmap, TWinControl* control);

// Plays the show (or skin change) of a form over `time` ms; see above. A form inside another
// window is covered by an overlay among its parent's children, right above it.
void AnimateFormAppearance(TWinControl* form, uint16_t time);

// The end of a skin change for a form whose redraw the change turned off: the redraw back.
// With `repaint`, and when the form has a skin provider: its new look cross-fades in when
// its manager's SkinChanging is on (only a provider that draws the frame takes the time;
// others come up at once), then its window region is cut anew to the new skin's corners,
// the whole window with its frame is repainted and its extended-border window refreshed.
void UnlockAfterSkinChange(TForm* form, bool repaint);
