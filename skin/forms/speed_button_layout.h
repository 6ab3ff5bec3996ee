// Where a skinned speed button puts its glyph and its caption: the glyph by Layout, Margin
// (-1 centres glyph and caption together) and Spacing, the caption beside, above or below it;
// a pressed button shows both one pixel right and down.
//
//   SpeedButtonMetrics m{{w, h}, glyphSize, textSize, blGlyphLeft, -1, 4, !caption.empty(), pressed};
//   RECT glyph = SpeedButtonGlyphRect(m);
//   RECT text = SpeedButtonCaptionRect(m, glyph);
#pragma once

#include <windows.h>

#include "framework/stdctrls.h"

struct SpeedButtonMetrics {
  SIZE Button{};
  SIZE Glyph{};   // 0 x 0 without a glyph
  SIZE Text{};    // 0 x 0 without a caption
  TButtonLayout Layout = blGlyphLeft;
  int Margin = -1;
  int Spacing = 4;
  bool HasCaption = false;
  bool Pressed = false;
};

RECT SpeedButtonGlyphRect(const SpeedButtonMetrics& m);
// `glyph` is SpeedButtonGlyphRect's answer (its size is ignored when the button has no glyph).
RECT SpeedButtonCaptionRect(const SpeedButtonMetrics& m, const RECT& glyph);
