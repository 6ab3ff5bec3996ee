// What the track bar and scroll bar tests share: a synthetic skin "Ranges" whose track bar
// and scroll bar pictures are flat colours a test can expect at its probe points, and the
// user's mouse and keys posted to a control's window.
//
// Every frame (BORDERSMASK) is the strip of control_fixtures.h: for look s a rim of
// synth::Rim[s] round a face of synth::Face[s]. The track bar's channel is Channel[s] and its
// thumb Thumb[s], one flat picture per look; its section glows (GLOW0).
#pragma once

#include <windows.h>

#include <string>

#include "framework/controls.h"
#include "framework/files.h"
#include "framework/tests/ui_fixture.h"
#include "skin/engine/tests/control_fixtures.h"
#include "tests/support/window.h"

namespace efir::test {

namespace ranges {
constexpr TColor Channel[3] = {0x505000, 0x507000, 0x509000};
constexpr TColor Thumb[3] = {0x0000C0, 0x00C000, 0xC00000};
constexpr int ThumbAcross = 23, ThumbAlong = 11;
// With large arrows: each arrow's frame is 30 pixels along the bar, one flat colour per look.
constexpr TColor BigArrow[3] = {0x0060C0, 0x00C060, 0xC06000};
constexpr int BigArrowLength = 30;
}  // namespace ranges

// A picture of `cells` flat cells side by side, cell i in colours[i].
inline std::string FlatStrip(int cellWidth, int height, const TColor* colours, int cells) {
  return BmpBytes(cellWidth * cells, height,
                  [&](int x, int) { return static_cast<uint32_t>(colours[x / cellWidth % cells]); });
}

// Writes "Ranges" under the current folder and gives the skin directory to load it from.
// With `bigArrows` the scroll bar's arrows ask for their frame's own, larger size.
inline std::string WriteRangeSkin(bool bigArrows = false) {
  const std::string frame = "BORDERSMASK=!FRAME.BMP!3!0!0!3!3!3!3\r\n";
  std::string options = "[GLOBALINFO]\r\nCOLOR=0x202020\r\nFONTCOLOR=0xF0F0F0\r\n";
  options += "[TRACKBAR]\r\nCOLOR=0x303030\r\nHOTCOLOR=0x404040\r\nFADINGENABLED=TRUE\r\n" + frame +
             "SLIDERCHANNEL=!CHANNEL.BMP!3!0!2!2!2!2!2\r\nSLIDERMASK=!THUMBH.BMP!3!0!2\r\n"
             "SLIDERVMASK=!THUMBV.BMP!3!0!2\r\nGLOW=1\r\nGLOWMARGIN=0\r\nGLOW0=!GLOW.BMP!1!0!3!4!4!4!4\r\n";
  for (const char* section : {"SCROLLBAR1V", "SCROLLBAR2V", "SCROLLBAR1H", "SCROLLBAR2H", "SCROLLBTNTOP",
                              "SCROLLBTNBOTTOM", "SCROLLBTNLEFT", "SCROLLBTNRIGHT", "SCROLLSLIDERV", "SCROLLSLIDERH"}) {
    const bool arrow = std::string(section).rfind("SCROLLBTN", 0) == 0;
    options += std::string("[") + section + "]\r\nCOLOR=0x303030\r\n" +
               (bigArrows && arrow ? "RESERVEDBOOLEAN=TRUE\r\nBORDERSMASK=!ARROW.BMP!3!0!0!3!3!3!3\r\n" : frame);
  }
  const TColor glow[1] = {0xFFFFFF};
  const std::string dir = efir::GetCurrentDir() + "\\range_skins";
  ScratchFolder scratch("range_skins");
  WriteSkinFolder(dir + "\\Ranges",
                  {{"Options.dat", options},
                   {"FRAME.BMP", FrameStrip(synth::Rim, synth::Face)},
                   {"CHANNEL.BMP", FlatStrip(8, 12, ranges::Channel, 3)},
                   {"THUMBH.BMP", FlatStrip(ranges::ThumbAlong, ranges::ThumbAcross, ranges::Thumb, 3)},
                   {"THUMBV.BMP", FlatStrip(ranges::ThumbAcross, ranges::ThumbAlong, ranges::Thumb, 3)},
                   {"GLOW.BMP", FlatStrip(12, 12, glow, 1)},
                   // 3 looks side by side, 2 rows: one look is 30 × 30.
                   {"ARROW.BMP", FlatStrip(ranges::BigArrowLength, 2 * ranges::BigArrowLength, ranges::BigArrow, 3)}});
  return dir;
}

// The user's input, posted to the control's window and given time to arrive.
inline void PostAndPump(TWinControl* control, UINT msg, WPARAM wParam, LPARAM lParam) {
  PostMessageW(control->Handle(), msg, wParam, lParam);
  pumpFor(30);
}
// The cursor over the control's point, then the move the system would send.
inline void MouseTo(TWinControl* control, POINT p, WPARAM keys = 0) {
  const POINT screen = control->ClientToScreen(p);
  SetCursorPos(screen.x, screen.y);
  PostAndPump(control, WM_MOUSEMOVE, keys, At(p.x, p.y));
}
// The cursor on the form's corner, far from the control.
inline void MouseAway(TWinControl* control) {
  const POINT p = control->Parent()->ClientToScreen({1, 1});
  SetCursorPos(p.x, p.y);
  pumpFor(60);
}
inline void PressKey(TWinControl* control, WORD key) {
  const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
  PostAndPump(control, WM_KEYDOWN, key, static_cast<LPARAM>(1 | scan << 16));
  PostAndPump(control, WM_KEYUP, key, static_cast<LPARAM>(1 | scan << 16 | 0xC0000000u));
}
inline POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

}  // namespace efir::test
