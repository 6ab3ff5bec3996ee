// The measures every skinned frame shares (border widths from the window style or from the
// skin's extended borders, the extended caption height) and the optional binding of the
// desktop window manager, which is loaded at first use and may be missing.
//
//   int b = FrameBorderWidth(dialog, nullptr, true);   // the left, right and bottom frame
//   if (DwmCompositionEnabled()) ...                  // glass frames: other rules apply
//   SetDwmTransitions(dialog, true);                  // no system show/hide animation
//
// `borderForm` is the window of the extended borders (nullptr while there is none); without
// one the extended measures are 0 and the plain ones come from the window's style.
#pragma once

#include <windows.h>

class TsSkinManager;

// What the measures need to know of an extended-border window.
struct TacBorderFormInfo {
  TsSkinManager* Manager = nullptr;
};

// Width of the left, right and bottom frame: the skin's extended border width when `useExt`
// and it is not 0, else SM_CXFRAME for WS_THICKFRAME, SM_CXDLGFRAME for WS_BORDER, else 0.
int FrameBorderWidth(HWND window, const TacBorderFormInfo* borderForm, bool useExt);
// 0 with a border window, else the style's width.
int FrameTopBorderWidth(HWND window, const TacBorderFormInfo* borderForm, bool useExt);
// The skin's TITLEHEIGHT / BORDERWIDTH with a border window, else 0.
int ExtTitleHeight(const TacBorderFormInfo* borderForm);
int ExtBorderWidth(const TacBorderFormInfo* borderForm);

// The mask is missing (index below 0) or shows one state: a frame drawn with it looks the same
// whether its window is active or not.
bool MaskMissingOrSingle(int index, const TsSkinManager* manager);

// DwmSetWindowAttribute when the system has it; E_NOTIMPL otherwise.
HRESULT DwmSetWindowAttributeBound(HWND window, DWORD attribute, const void* value, DWORD size);
// (DwmCompositionEnabled is the engine's: extended_borders.h.)
// Turns the system's show and hide transitions of the window off (or back on) while
// composition is on.
void SetDwmTransitions(HWND window, bool disabled);
