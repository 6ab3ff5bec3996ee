// Keyboard shortcuts as menus show them: a virtual-key code in the low byte and the
// modifier bits above it, written "Ctrl+S", "Shift+Ctrl+F1", "Alt+F4".
//
//   item->SetShortCut(ShortCut('S', scCtrl));
//   ShortCutToText(0x8073);              // "Alt+F4"
//   TextToShortCut("Alt+F4");            // 0x8073; 0 for a text that names no key
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

using TShortCut = uint16_t;
constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0;

constexpr TShortCut ShortCut(uint8_t key, TShortCut modifiers) { return static_cast<TShortCut>(key | modifiers); }

// Empty for 0 and for a key without a name.
std::string ShortCutToText(TShortCut shortCut);
// Modifiers in any order, then one key name, compared blind to case.
TShortCut TextToShortCut(std::string_view text);
