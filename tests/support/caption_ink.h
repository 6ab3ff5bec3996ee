// Whether a control's caption shows whole on the screen: the columns the caption's ink takes
// (where the screen changes when the caption goes). A caption its box cuts inks up to the
// box's edge; one that shows whole keeps clear of it.
//
//   const RECT box = Form3->sLabel1->BoundsRect();               // before: reading may resize it
//   const CaptionInk ink = efir::test::ReadCaptionInk(Form3->sLabel1, pump);
//   EXPECT_LT(ink.Last, box.right - 2);       // in the control's parent's coordinates
//   EXPECT_LT(ink.Last, closeButtonLeft);
//
// For the test programs of the framework's users (header only: the support library itself
// knows no framework).
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "framework/controls.h"
#include "tests/support/capture.h"

namespace efir::test {

struct CaptionInk {
  // The first and last column with ink, in the coordinates of the control's parent; -1 when
  // the caption shows nothing.
  int First = -1;
  int Last = -1;
  int Width() const { return First < 0 ? 0 : Last - First + 1; }
};

// Reads the screen over the control with its caption and without it (`settle` pumps until the
// control has painted); the caption is put back.
inline CaptionInk ReadCaptionInk(TControl* control, const std::function<void()>& settle) {
  const std::string caption = control->Caption();
  const RECT bounds = control->BoundsRect();
  const POINT origin = control->ClientToScreen({0, 0});
  const RECT area{origin.x, origin.y, origin.x + (bounds.right - bounds.left),
                  origin.y + (bounds.bottom - bounds.top)};
  auto shot = [&] {
    control->Invalidate();
    settle();
    return captureScreen(area);
  };
  const Image with = shot();
  control->SetCaption("");
  const Image without = shot();
  control->SetCaption(caption);
  shot();

  CaptionInk ink;
  for (int x = 0; x < with.width; ++x)
    for (int y = 0; y < with.height; ++y) {
      if (with.at(x, y) == without.at(x, y)) continue;
      if (ink.First < 0) ink.First = bounds.left + x;
      ink.Last = bounds.left + x;
      break;
    }
  return ink;
}

}  // namespace efir::test
