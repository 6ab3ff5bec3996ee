// The picture round a frame that an extended-border window shows: the skin's shadow picture
// stretched over the margins of a 32-bit frame image, the frame itself opaque, and the frame's
// see-through corners showing the shadow. Shared by skinned forms and standard dialogs.
//
//   ExtendedFrame frame;                     // the measures and masks of the window
//   frame.Manager = manager; frame.Active = active; frame.Shadow = manager->ExtBorderMargins;
//   PaintExtendedFrame(image, frame);        // after the frame and caption are in the image
//
// With the skin's BORDERMODE 1 the caption is painted over the picture by `PaintCaption`,
// and only what it changed becomes opaque.
#pragma once

#include <windows.h>

#include <functional>

class TBitmap;
class TsSkinManager;

struct ExtendedFrame {
  TsSkinManager* Manager = nullptr;
  bool Active = true;
  RECT Shadow{};        // the shadow margins round the frame
  int SideWidth = 0;    // the frame's side width, extended measure
  int TitleMask = -1;   // BORDERSMASK of the title section, -1 when none
  int BorderMask = -1;  // BORDERSMASK of the window's own section, -1 when none
  int CaptionBottom = 0;
  std::function<void()> PaintCaption;  // BORDERMODE 1: the caption band and text
};

// The image must be 32-bit and as large as the border window.
void PaintExtendedFrame(TBitmap& image, const ExtendedFrame& frame);
