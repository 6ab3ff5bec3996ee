// What the skinned-control tests share: our skin's folder, a synthetic skin of known colours,
// a control's look printed into a bitmap, a fade clock turned by hand, and a control that
// counts its rebuilds and shows the fade frames it is offered.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/bitmap.h"
#include "skin/engine/alpha_blend.h"
#include "skin/engine/fade.h"
#include "skin/engine/glow.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_manager.h"
#include "framework/files.h"
#include "framework/tests/core_test_files.h"
#include "skin/engine/tests/pixels_fixtures.h"
#include "skin/engine/tests/png_fixtures.h"
#include "skin/engine/tests/skin_fixtures.h"
#include "tests/support/paths.h"

namespace efir::test {

// assets/skins as the skin manager takes it (a Wine path).
inline std::string SkinsFolder() {
  std::string path = sourceDir() + "/assets/skins";
  std::replace(path.begin(), path.end(), '/', '\\');
  return path[0] == '\\' ? "Z:" + path : path;
}

// The synthetic skin "Synth": flat colours a test can expect at its probe points. A frame
// (BORDERSMASK) is a strip of three 9-pixel cells, one per look (normal, hot, pressed): a
// 3-pixel rim round a face, each in the look's own colour; the frame covers the whole control.
namespace synth {
constexpr TColor Global = 0x202020, Ink = 0xF0F0F0, HotInk = 0xC0FFFF;
constexpr TColor Button = 0x000090, HotButton = 0x009000, ButtonInk = 0x00FFFF;
constexpr TColor Edit = 0x301010, HotEdit = 0x103010, EditInk = 0xFFFF80, HotEditInk = 0x80FFFF;
constexpr TColor Glow = 0x30C0FF;
constexpr TColor Rim[3] = {0x900000, 0x909000, 0x009090};
constexpr TColor Face[3] = {0x400000, 0x004000, 0x000040};
constexpr int RimWidth = 3;
}  // namespace synth

inline std::string FrameStrip(const TColor (&rims)[3], const TColor (&faces)[3]) {
  constexpr int cell = 9;
  return BmpBytes(cell * 3, cell, [&](int x, int y) -> uint32_t {
    const int cx = x % cell;
    const bool rim = cx < synth::RimWidth || cx >= cell - synth::RimWidth || y < synth::RimWidth ||
                     y >= cell - synth::RimWidth;
    return static_cast<uint32_t>(rim ? rims[x / cell] : faces[x / cell]);
  });
}

// A 12-pixel glow picture (PNG, GLOW.PNG in the skins): a 4-pixel opaque band of `colour`
// round a see-through middle.
inline std::string GlowPicture(TColor colour) {
  std::vector<Rgba> pixels;
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) {
      const bool band = x < 4 || x >= 8 || y < 4 || y >= 8;
      pixels.push_back({static_cast<uint8_t>(colour), static_cast<uint8_t>(colour >> 8),
                        static_cast<uint8_t>(colour >> 16), static_cast<uint8_t>(band ? 255 : 0)});
    }
  const std::vector<uint8_t> png = EncodePng(12, 12, pixels);
  return std::string(png.begin(), png.end());
}
// The glow windows of this thread that show.
inline int GlowWindowsShown() {
  int count = 0;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND wnd, LPARAM counter) -> BOOL {
        wchar_t name[64] = {};
        GetClassNameW(wnd, name, 64);
        if (std::wstring(name) == GlowWindowClass && IsWindowVisible(wnd)) ++*reinterpret_cast<int*>(counter);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  return count;
}

// Writes "Synth" under the current folder and gives the skin directory to load it from.
// With `buttonGlow`, a hot button's section glows in that colour (GLOW0, 4-pixel borders).
inline std::string WriteSyntheticSkin(TColor buttonGlow = clNone) {
  auto colours = [](TColor fill, TColor hotFill, TColor ink, TColor hotInk) {
    auto hex = [](TColor c) {
      char text[16];
      std::snprintf(text, sizeof text, "0x%06X", static_cast<unsigned>(c));
      return std::string(text);
    };
    return "COLOR=" + hex(fill) + "\r\nHOTCOLOR=" + hex(hotFill) + "\r\nFONTCOLOR=" + hex(ink) +
           "\r\nHOTFONTCOLOR=" + hex(hotInk) + "\r\n";
  };
  const std::string options =
      "[GLOBALINFO]\r\n" + colours(synth::Global, synth::Global, synth::Ink, synth::Ink) +
      "[BUTTON]\r\n" + colours(synth::Button, synth::HotButton, synth::ButtonInk, synth::HotInk) +
      "SHOWFOCUS=TRUE\r\nBORDERSMASK=!FRAME.BMP!3!0!0!3!3!3!3\r\n" +
      (buttonGlow == clNone ? "" : "GLOW=1\r\nGLOWMARGIN=0\r\nGLOW0=!GLOW.PNG!1!0!3!4!4!4!4\r\n") +
      "[EDIT]\r\n" + colours(synth::Edit, synth::HotEdit, synth::EditInk, synth::HotEditInk) +
      "BORDERSMASK=!FRAME.BMP!3!0!0!3!3!3!3\r\n";
  const std::string dir = efir::GetCurrentDir() + "\\synthetic_skins";
  ScratchFolder scratch("synthetic_skins");
  SkinFiles files{{"Options.dat", options}, {"FRAME.BMP", FrameStrip(synth::Rim, synth::Face)}};
  if (buttonGlow != clNone) files.emplace_back("GLOW.PNG", GlowPicture(buttonGlow));
  WriteSkinFolder(dir + "\\Synth", files);
  return dir;
}

// Loads the skin `name` from `directory` into the manager; the test fails when it is not active.
inline void UseSkin(TsSkinManager& manager, const std::string& directory, const char* name) {
  manager.SetSkinDirectory(directory);
  manager.SetSkinName(name);
  ASSERT_TRUE(manager.LoadedSkin.Active) << name;
}

// The control printed into a bitmap of its size, as its window shows it.
template <class Control>
std::unique_ptr<TBitmap> Printed(Control* control) {
  auto picture = NewBitmap24(control->Width(), control->Height());
  SendMessageW(control->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(picture->Canvas().Handle()), PRF_CLIENT);
  return picture;
}

inline bool SamePixels(TBitmap& a, TBitmap& b, const RECT& r) {
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (At(a, x, y) != At(b, x, y)) return false;
  return true;
}
inline bool SamePixels(TBitmap& a, TBitmap& b) { return SamePixels(a, b, {0, 0, a.Width(), a.Height()}); }

// Fade clocks that tick only when the test says so. While one of these lives, every fade
// started takes a clock from it.
class HandClocks {
 public:
  HandClocks() {
    SetFadeClockFactory([this] { return std::make_unique<Clock>(*this); });
  }
  ~HandClocks() { SetFadeClockFactory(nullptr); }

  // Clocks of fades that exist (running or stopped).
  int Count() const { return static_cast<int>(clocks_.size()); }
  // Ticks every running clock once; how many ran.
  int Tick() {
    std::vector<std::function<void()>> ticks;
    for (Clock* c : clocks_)
      if (c->tick) ticks.push_back(c->tick);
    for (auto& tick : ticks) tick();
    return static_cast<int>(ticks.size());
  }
  // Ticks until no clock runs (at most `limit` times); the number of ticks that ran.
  int TickToEnd(int limit = 100) {
    int ticks = 0;
    while (ticks < limit && Tick() > 0) ++ticks;
    return ticks;
  }

 private:
  struct Clock : TsFadeClock {
    explicit Clock(HandClocks& owner) : owner(owner) { owner.clocks_.push_back(this); }
    ~Clock() override { std::erase(owner.clocks_, this); }
    void Start(unsigned, std::function<void()> t) override { tick = std::move(t); }
    void Stop() override { tick = nullptr; }
    HandClocks& owner;
    std::function<void()> tick;
  };
  std::vector<Clock*> clocks_;
};

// A skinned control that counts how often it rebuilds its image and keeps the handles of
// the fade frames it is offered (it lets each go on to the window).
template <class Control>
class Watched : public Control {
 public:
  using Control::Control;
  void PrepareCache() override {
    ++Rebuilds;
    Control::PrepareCache();
  }
  void WndProc(TMessage& Message) override {
    if (Message.Msg == SM_ALPHACMD && SkinSubCommand(Message.WParam) == SKC_PAINTTOBITMAP) {
      auto* frame = reinterpret_cast<TBitmap*>(Message.LParam);
      Frames.push_back(frame->Handle());
    }
    Control::WndProc(Message);
  }
  int Rebuilds = 0;
  std::vector<HBITMAP> Frames;
};

}  // namespace efir::test
