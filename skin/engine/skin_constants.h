// Values the whole skin engine shares, fixed when the program starts: the system's scroll-bar
// size as the skinned scroll bars take it, the disabled look the background painters agree
// on, and where a bound label sits beside its control.
//
//   int arrow = SysScrollArrowWidth;              // the system's, read at start-up
//   SharedDisabledKind = dkBlended;               // before asking for SKC_GETDISABLEDKIND
#pragma once

#include <cstdint>

#include "skin/engine/paint_types.h"

// SM_CXHSCROLL as the program found it at start-up; not refreshed when the system changes.
extern int DefaultScrollBarWidth;
// The skinned scroll bars' default arrow length: 16 until start-up, then SM_CXHSCROLL.
extern int SysScrollArrowWidth;
// Set to dkBlended before the window-background painter sends SKC_GETDISABLEDKIND; a
// receiver may change it (none does, so disabled looks are always blended).
extern TsDisabledKind SharedDisabledKind;
// Set while a released button repaints at once: it shows its pressed look for that paint.
extern bool ButtonPressedPaint;
// The application's ShowHint while a skinned button's press repaints with hints off, and
// whether it is being kept (a release restores it only then).
extern bool StoredShowHint;
extern bool ShowHintSaved;

// Where a bound label stands: left of its control and vertically centred, or above it at
// its left, centre or right.
enum TsCaptionLayout : uint8_t { sclLeft, sclTopLeft, sclTopCenter, sclTopRight };
