#include "skin/engine/skin_ini.h"

#include <algorithm>
#include <charconv>

#include "framework/convert.h"
#include "framework/exceptions.h"
#include "framework/text_utils.h"

namespace {

std::string_view Trim(std::string_view s) {
  size_t b = s.find_first_not_of(" \t");
  if (b == std::string_view::npos) return {};
  size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

// The form names are indexed by: a fixed byte rule, cheap enough to run for every look-up.
std::string Fold(std::string_view name) { return efir::UpperCaseCyr(name); }

}  // namespace

void TMemIniFile::SetText(std::string_view text) {
  sections_.clear();
  index_.clear();
  Section* current = nullptr;
  while (!text.empty()) {
    size_t end = text.find_first_of("\r\n");
    std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (line.empty() || line[0] == ';') continue;
    if (line.front() == '[' && line.back() == ']') {
      std::string_view name = line.substr(1, line.size() - 2);
      auto [known, added] = index_.try_emplace(Fold(name), sections_.size());
      if (added) sections_.push_back(Section{std::string(name), {}, {}});
      current = &sections_[known->second];
      continue;
    }
    size_t eq = line.find('=');
    if (!current || eq == std::string_view::npos) continue;
    std::string key(Trim(line.substr(0, eq)));
    current->Keys.try_emplace(Fold(key), current->Values.size());
    current->Values.emplace_back(std::move(key), std::string(Trim(line.substr(eq + 1))));
  }
}

int TMemIniFile::SectionIndex(std::string_view section) const {
  auto found = index_.find(Fold(section));
  return found == index_.end() ? -1 : static_cast<int>(found->second);
}

const TMemIniFile::Section* TMemIniFile::Find(std::string_view section) const {
  int index = SectionIndex(section);
  return index < 0 ? nullptr : &sections_[static_cast<size_t>(index)];
}

const std::string* TMemIniFile::Value(int section, std::string_view key) const {
  if (section < 0 || section >= SectionCount()) return nullptr;
  const Section& s = sections_[static_cast<size_t>(section)];
  auto found = s.Keys.find(Fold(key));
  return found == s.Keys.end() ? nullptr : &s.Values[found->second].second;
}

std::vector<std::string> TMemIniFile::Sections() const {
  std::vector<std::string> names;
  for (const Section& s : sections_) names.push_back(s.Name);
  return names;
}

std::vector<std::pair<std::string, std::string>> TMemIniFile::SectionValues(std::string_view section) const {
  const Section* s = Find(section);
  return s ? s->Values : std::vector<std::pair<std::string, std::string>>{};
}

std::string TMemIniFile::ReadString(std::string_view section, std::string_view key,
                                    const std::string& fallback) const {
  const std::string* value = Value(SectionIndex(section), key);
  return value ? *value : fallback;
}

int TMemIniFile::ReadInteger(std::string_view section, std::string_view key, int fallback) const {
  std::string text = ReadString(section, key, "");
  return efir::skin::ParseInteger(text).value_or(fallback);
}

namespace efir::skin {

std::optional<int32_t> ParseInteger(std::string_view text) {
  text = Trim(text);
  bool negative = !text.empty() && text[0] == '-';
  if (negative || (!text.empty() && text[0] == '+')) text.remove_prefix(1);
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  } else if (!text.empty() && text[0] == '$') {
    base = 16;
    text.remove_prefix(1);
  }
  uint64_t value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value > UINT32_MAX)
    return std::nullopt;
  uint32_t bits = static_cast<uint32_t>(value);
  if (negative) bits = 0u - bits;
  return static_cast<int32_t>(bits);
}

int32_t StrictInteger(std::string_view text) {
  if (auto value = ParseInteger(text)) return *value;
  throw EConvertError(Format("'%s' is not a valid integer value", std::string(text)));
}

bool IsTrue(std::string_view text) { return Fold(text) == "TRUE"; }

}  // namespace efir::skin
