// A skin's INI text held in memory, and the number rules of skin values.
//
//   TMemIniFile ini;
//   ini.SetText(text);                                       // "[SECTION]" lines, "KEY=VALUE" lines
//   std::string v = ini.ReadString("BUTTON", "COLOR", "?");  // names blind to case
//   for (const auto& [key, value] : ini.SectionValues("BUTTON")) ...   // as written, text order
//
// Lines are trimmed; lines starting with ";" and lines without "=" are skipped. A section
// named twice continues the first; of a key named twice the first counts. Names match blind
// to the case of Latin and Cyrillic letters. Sections and keys are indexed by name, so that
// reading a skin of any size costs time in proportion to it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

class TMemIniFile {
 public:
  void SetText(std::string_view text);

  // The sections' names in text order; a section's place here is its index below.
  std::vector<std::string> Sections() const;
  int SectionCount() const { return static_cast<int>(sections_.size()); }
  // -1 when there is no such section.
  int SectionIndex(std::string_view section) const;
  // The value of a key of the section at that index; nullptr when either is missing.
  const std::string* Value(int section, std::string_view key) const;
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
    std::unordered_map<std::string, size_t> Keys;  // folded name -> first value with it
  };
  const Section* Find(std::string_view section) const;

  std::vector<Section> sections_;
  std::unordered_map<std::string, size_t> index_;  // folded name -> section
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
