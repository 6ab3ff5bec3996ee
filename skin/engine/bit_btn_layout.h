// Where a glyph button puts its glyph: the glyph frame's rectangle from the button's size, the
// glyph and caption sizes and the button's Layout, Alignment, Margin and Spacing. Pure
// arithmetic, so that every placement can be checked without a window.
//
//   BitBtnMeasures m{120, 46, 16, 16, 60, 13, blGlyphLeft, taCenter, -1, 4, true};
//   RECT glyph = BitBtnGlyphRect(m, button->CurrentState(), button->Reflected());
//
// Margin below 0 puts no margin at the edge (the free space is shared out); a glyph without a
// shown caption takes no spacing. Every division truncates toward zero, so odd sizes round
// the same way on both sides of zero.
#pragma once

#include <windows.h>

#include "framework/stdctrls.h"

struct BitBtnMeasures {
  int Width = 0, Height = 0;            // the button
  int GlyphWidth = 0, GlyphHeight = 0;  // one glyph frame
  int TextWidth = 0, TextHeight = 0;    // the caption as it is drawn; 0 without one
  TButtonLayout Layout = blGlyphLeft;
  TAlignment Alignment = taCenter;      // of the glyph-and-caption block (left and right layouts)
  int Margin = -1;
  int Spacing = 4;
  bool CaptionShown = false;            // a caption is painted beside a glyph
};

// The glyph frame's rectangle; state 2 (pressed) moves it by a pixel right and down, a
// reflected glyph is raised by a sixth of its width.
RECT BitBtnGlyphRect(const BitBtnMeasures& m, int state, bool reflected);
// DrawText's DT_LEFT, DT_RIGHT or DT_CENTER for the alignment.
UINT AlignmentDrawTextFlags(TAlignment alignment);
