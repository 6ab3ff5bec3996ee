// A skin's INI text held in memory, and the number rules of skin values.
//
//   TMemIniFile ini;
//   ini.SetText(text);                                       // "[SECTION]" lines, "KEY=VALUE" lines
//   std::string v = ini.ReadString("BUTTON", "COLOR", "?");  // names blind to case
//   for (const auto& [key, value] : ini.SectionValues("BUTTON")) ...   // as written, text order
//
// Lines are trimmed; lines starting with ";" and lines without "=" are skipped. A section
// named twice continues the first; of a key named twice the first counts.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class TMemIniFile {
 public:
  void SetText(std::string_view text);

  std::vector<std::string> Sections() const;
  // Every key with its value, as written and in text order (a key named twice twice).
  std::vector<std::pair<std::string, std::string>> SectionValues(std::string_view section) const;
  bool SectionExists(std::string_view section) const { return Find(section) != nullptr; }
  // The default when the section or the key is missing.
  std::string ReadString(std::string_view section, std::string_view key, const std::string& fallback) const;
  // The default also when the value is no number (efir::skin::ParseInteger).
  int ReadInteger(std::string_view section, std::string_view key, int fallback) const;

 private:
  struct Section {
    std::string Name;
    std::vector<std::pair<std::string, std::string>> Values;
  };
  const Section* Find(std::string_view section) const;

  std::vector<Section> sections_;
};

namespace efir::skin {

// Decimal, or hexadecimal after "0x" or "$", blanks around allowed. Values up to 32 bits
// wrap into the signed range, so "0xFFFFFFFF" is -1 and system colours keep their high byte.
std::optional<int32_t> ParseInteger(std::string_view text);
// ParseInteger or EConvertError "'%s' is not a valid integer value".
int32_t StrictInteger(std::string_view text);
// "TRUE" in any letter case.
bool IsTrue(std::string_view text);

}  // namespace efir::skin
