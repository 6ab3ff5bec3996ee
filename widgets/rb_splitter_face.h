// The look of a styled splitter bar: two pictures of the bar (normal, and under the pointer),
// each a gradient in its colour set's colours with a column of grip dots at the middle.
// The library draws them; a splitter control that shows them is not part of this system.
//
//   TRbSplitterFace face;
//   face.width = 6; face.height = 200;        // the bar's size
//   TRbSplitterColors colors(&face);           // every colour change redraws the face
//   colors.SetDefaultTo(0xD1BEAF);             // face.normal and face.hot drawn anew
#pragma once

#include "framework/bitmap.h"
#include "framework/controls.h"
#include "widgets/rb_panel.h"

struct TRbSplitterFace {
  TBitmap normal{0, 0, pf24bit};
  TBitmap hot{0, 0, pf24bit};
  int width = 0, height = 0;
  // Off: a vertical bar (dots run down it); on: a horizontal bar (dots run across).
  bool horizontal = false;
  TGradientType gradientType = gtVertical;
  // Off: the gradient covers only 40 pixels either side of the middle.
  bool fullLength = false;
  bool grip = true;
  TColor color = clBtnFace;
  // Repainted after a redraw (nullptr: none).
  TControl* control = nullptr;
};

class TRbSplitterColors;

namespace efir::rb {

// Both pictures anew from the colour set's Default and Over colours.
void RedrawSplitter(TRbSplitterFace& face, const TRbSplitterColors& colors);
// 27 dots, 3 pixels apart, from 40 before to 40 after (x, y), down or across.
void DrawGripDots(TCanvas& canvas, int x, int y, bool across);
// One raised dot, 3 x 3 pixels from (x, y).
void DrawGripDot(TCanvas& canvas, int x, int y);

}  // namespace efir::rb
