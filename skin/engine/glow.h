// The soft halo a skin may draw around a hot control or title button: a borderless layered
// tool window around the control, painted from the section's glow picture (the picture whose
// key is the glow name followed by "0"). It never takes the focus or the mouse, and it is
// never moved or repainted: callers release it when the control moves, stops being hot or
// goes away, and attach a new one.
//
//   int glow = AttachGlow(screenRect, {0, 0, w, h}, "BUTTON", "GLOW", margin, 255, hwnd, nullptr);
//   ...
//   ReleaseGlow(glow);           // -1 and ids already released are ignored
//   ReleaseAllGlows();           // around skin changes
//
// Ids keep counting across ReleaseAllGlows, so an id a control still holds from before can
// never name somebody else's glow. GUI thread only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string_view>

#include "framework/bitmap.h"

class TsSkinManager;

// The window class of glow windows.
inline constexpr wchar_t GlowWindowClass[] = L"TacGlowEffect";
// Registers (once) a window class whose windows let clicks through to what lies below them.
void RegisterClickThroughClass(const wchar_t* name);

class TacGlowEffect {
 public:
  TacGlowEffect() = default;
  virtual ~TacGlowEffect();
  TacGlowEffect(const TacGlowEffect&) = delete;
  TacGlowEffect& operator=(const TacGlowEffect&) = delete;

  TsSkinManager* Manager = nullptr;
  int GlowMask = -1;  // index of the glow picture in the manager's image entries
  int Inset = 0;      // pixels the glow is pulled in from the picture's border widths
  HWND GlowForm = nullptr;
  // The glow picture while it is being shown (32-bit, straight alpha).
  std::unique_ptr<TBitmap> AlphaImage;

  // rect: the target in screen coordinates; clipRect: its visible part in its own
  // coordinates; wnd: the target, whose stay-on-top style the glow takes. Nothing when the
  // glow window exists already or when nothing of the glow would be left to show.
  void Show(const RECT& rect, const RECT& clipRect, uint8_t alpha, HWND wnd);
  // A new transparent picture of this size with the glow picture's state 0 painted over it.
  virtual void RebuildAlphaImage(int width, int height);
};

// -1 when layered windows cannot be made or the section has no picture maskName + "0"
// (exactly that section, no parent class); else the glow's id. alpha is not applied.
int AttachGlow(const RECT& rect, const RECT& clipRect, std::string_view section, std::string_view maskName, int margin,
               uint8_t alpha, HWND wnd, TsSkinManager* manager);
void ReleaseGlow(int id);
void ReleaseAllGlows();
