// A synthetic skin for the window-adapter tests: every scroll-bar part, the edit, combo box
// and column-header sections in colours of their own, so that a pixel tells which part and
// which look (normal, hot, pressed) is drawn there. Scroll parts have a 3-pixel rim whose
// colour is the look's (Rim[state]) round a face in the section's COLOR (HOTCOLOR when hot or
// pressed); arrows carry a 5 × 5 glyph in the look's Glyph colour.
#pragma once

#include <cstdio>
#include <string>

#include "framework/files.h"
#include "framework/gdi.h"
#include "framework/tests/core_test_files.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/tests/control_fixtures.h"
#include "skin/engine/tests/skin_fixtures.h"

namespace efir::test::scrollskin {

constexpr TColor Global = 0x303030, Ink = 0xE0E0E0;
constexpr TColor Arrow = 0x00A0A0, HotArrow = 0x00F0F0;
constexpr TColor Thumb = 0xA000A0, HotThumb = 0xF060F0;
constexpr TColor Track1 = 0x006000, Track2 = 0x600000;
constexpr TColor Edit = 0x102040, HotEdit = 0x104020, EditInk = 0x80FFFF;
constexpr TColor ComboBtn = 0x4080C0, HotComboBtn = 0x60A0E0;
constexpr TColor Header = 0x205080, HotHeader = 0x3070A0;
constexpr TColor Rim[3] = {0x101090, 0x109090, 0x901010};
constexpr TColor Glyph[3] = {0xFFFFFF, 0x00FFFF, 0x0000FF};
constexpr TColor Grip = 0x40C040;
constexpr int RimWidth = 3, GlyphSize = 5, GripSize = 6;

inline std::string Hex(TColor c) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%06X", static_cast<unsigned>(c));
  return text;
}

inline std::string Section(const char* name, TColor color, TColor hot, const std::string& extra = "") {
  return std::string("[") + name + "]\r\nCOLOR=" + Hex(color) + "\r\nHOTCOLOR=" + Hex(hot) +
         "\r\nFONTCOLOR=" + Hex(Ink) + "\r\nHOTFONTCOLOR=" + Hex(Ink) + "\r\n" + extra;
}

// Writes the skin "Scrolls" under the current folder and gives the directory to load it from;
// `moreSections` are added to its options as they stand.
inline std::string WriteScrollSkin(const std::string& moreSections = "") {
  SkinFiles files;
  std::string options = Section("GLOBALINFO", Global, Global, "GRIPIMAGE=!GRIP.BMP!1!0!0\r\n") + moreSections;
  // Each section's frame picture has its own face colours: normal, then hot for hot and pressed.
  auto part = [&](const char* name, TColor color, TColor hot, bool glyph) {
    const std::string frame = std::string(name) + ".BMP";
    files.push_back({frame, FrameStrip(Rim, {color, hot, hot})});
    options += Section(name, color, hot,
                       "BORDERSMASK=!" + frame + "!3!0!0!3!3!3!3\r\n" +
                           (glyph ? "GLYPHMASK=!ARROW.BMP!3!0!0\r\n" : ""));
  };
  for (const char* arrow : {"SCROLLBTNLEFT", "SCROLLBTNRIGHT", "SCROLLBTNTOP", "SCROLLBTNBOTTOM"})
    part(arrow, Arrow, HotArrow, true);
  part("SCROLLSLIDERH", Thumb, HotThumb, false);
  part("SCROLLSLIDERV", Thumb, HotThumb, false);
  part("SCROLLBAR1H", Track1, Track1, false);
  part("SCROLLBAR2H", Track2, Track2, false);
  part("SCROLLBAR1V", Track1, Track1, false);
  part("SCROLLBAR2V", Track2, Track2, false);
  part("EDIT", Edit, HotEdit, false);
  part("COMBOBOX", Edit, HotEdit, true);
  part("COMBOBTN", ComboBtn, HotComboBtn, false);
  part("COLHEADER", Header, HotHeader, false);
  part("BUTTON", Header, HotHeader, false);
  part("TOOLBUTTON", Header, HotHeader, false);
  files.push_back({"Options.dat", options});
  files.push_back({"ARROW.BMP", BmpBytes(GlyphSize * 3, GlyphSize, [](int x, int) {
                     return static_cast<uint32_t>(Glyph[x / GlyphSize]);
                   })});
  files.push_back({"GRIP.BMP", BmpBytes(GripSize, GripSize, Grip)});
  const std::string dir = efir::GetCurrentDir() + "\\scroll_skins";
  ScratchFolder parent("scroll_skins");
  WriteSkinFolder(dir + "\\Scrolls", files);
  return dir;
}

}  // namespace efir::test::scrollskin
