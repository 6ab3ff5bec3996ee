#include "framework/shortcuts.h"

#include <windows.h>

#include <array>
#include <utility>

namespace {

struct KeyName {
  uint8_t key;
  const char* name;
};

constexpr std::array<KeyName, 17> kNamedKeys{{
    {VK_BACK, "BkSp"}, {VK_TAB, "Tab"},   {VK_RETURN, "Enter"}, {VK_ESCAPE, "Esc"},   {VK_SPACE, "Space"},
    {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"}, {VK_END, "End"},      {VK_HOME, "Home"},    {VK_LEFT, "Left"},
    {VK_UP, "Up"},      {VK_RIGHT, "Right"}, {VK_DOWN, "Down"},  {VK_INSERT, "Ins"},   {VK_DELETE, "Del"},
    {VK_ADD, "Num +"},  {VK_SUBTRACT, "Num -"},
}};

constexpr std::array<std::pair<TShortCut, const char*>, 3> kModifiers{{
    {scShift, "Shift+"}, {scCtrl, "Ctrl+"}, {scAlt, "Alt+"}}};

std::string KeyText(uint8_t key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
  if (key >= VK_F1 && key <= VK_F24) return "F" + std::to_string(key - VK_F1 + 1);
  for (const KeyName& named : kNamedKeys)
    if (named.key == key) return named.name;
  return {};
}

// Key names are ASCII.
bool SameText(std::string_view a, std::string_view b) {
  auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (upper(a[i]) != upper(b[i])) return false;
  return true;
}

}  // namespace

std::string ShortCutToText(TShortCut shortCut) {
  std::string key = KeyText(static_cast<uint8_t>(shortCut & 0xFF));
  if (key.empty()) return {};
  std::string text;
  for (const auto& [bit, prefix] : kModifiers)
    if (shortCut & bit) text += prefix;
  return text + key;
}

TShortCut TextToShortCut(std::string_view text) {
  TShortCut modifiers = 0;
  for (bool found = true; found;) {
    found = false;
    for (const auto& [bit, prefix] : kModifiers) {
      std::string_view word(prefix);
      if (text.size() > word.size() && SameText(text.substr(0, word.size()), word)) {
        modifiers |= bit;
        text.remove_prefix(word.size());
        found = true;
      }
    }
  }
  for (int key = 1; key < 256; ++key) {
    std::string name = KeyText(static_cast<uint8_t>(key));
    if (!name.empty() && SameText(name, text)) return ShortCut(static_cast<uint8_t>(key), modifiers);
  }
  return 0;
}
