// The pictures of a skinned scroll bar: arrows, the two track halves, the thumb, and the
// corner square with the size grip, composed off screen from the skin's scroll sections so
// that a bar reaches the window in one copy and never flickers part by part.
//
//   ScrollBarLook look;  look.SecondArrow = 2;                 // second arrow drawn pressed
//   auto image = NewBitmap24(width, height);                  // the bar's rectangle
//   PaintScrollBarImage(*image, bar, look, manager, background, barPlace);
//
// Sections: SCROLLBTNLEFT/RIGHT/TOP/BOTTOM (arrows), SCROLLSLIDERH/V (thumbs), SCROLLBAR1H/2H
// and 1V/2V (the track before and after the thumb), each with its BORDERSMASK, PATTERN,
// HOTPATTERN and, for arrows and thumbs, GLYPHMASK; GLOBALINFO's GRIPIMAGE for the grip. A
// skin without SCROLLBAR1H paints nothing: the caller keeps what is there.
#pragma once

#include <windows.h>

#include "framework/bitmap.h"
#include "skin/engine/skin_command.h"
#include "skin/forms/scroll_geometry.h"

class TsSkinManager;

// How the parts of one bar look at this moment: 0 normal, 1 hot, 2 pressed.
struct ScrollBarLook {
  int FirstArrow = 0;
  int SecondArrow = 0;
  int Thumb = 0;
  ScrollPart Pressed = spNone;  // a pressed track half is drawn pressed
  bool Enabled = true;
  int ThumbStart = -1;          // along the image; -1: where the position puts it
};

// Paints the bar over the whole image (its rectangle's size). background is what lies behind
// the window, and place is where the image's corner lies in it. False when the skin has no
// scroll sections or the bar is too short to paint.
bool PaintScrollBarImage(TBitmap& image, const TacScrollBar& bar, const ScrollBarLook& look, TsSkinManager* manager,
                         const CacheSourceInfo& background, POINT place);

// The corner square where two bars meet: the background, and with a grip the first picture
// of GLOBALINFO's GRIPIMAGE in its bottom-right corner.
void PaintScrollCornerImage(TBitmap& image, TsSkinManager* manager, const CacheSourceInfo& background, POINT place,
                            bool withGrip);

// The first picture of GLOBALINFO's GRIPIMAGE in the bitmap's bottom-right corner; false
// when the skin has none.
bool PaintGripImage(TBitmap& image, TsSkinManager* manager);
