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

bool SameName(std::string_view a, std::string_view b) { return efir::AnsiCompareText(a, b) == 0; }

}  // namespace

void TMemIniFile::SetText(std::string_view text) {
  sections_.clear();
  Section* current = nullptr;
  while (!text.empty()) {
    size_t end = text.find_first_of("\r\n");
    std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    if (line.empty() || line[0] == ';') continue;
    if (line.front() == '[' && line.back() == ']') {
      std::string_view name = line.substr(1, line.size() - 2);
      auto known = std::find_if(sections_.begin(), sections_.end(), [&](const Section& s) { return SameName(s.Name, name); });
      current = known != sections_.end() ? &*known : &sections_.emplace_back(Section{std::string(name), {}});
      continue;
    }
    size_t eq = line.find('=');
    if (!current || eq == std::string_view::npos) continue;
    current->Values.emplace_back(std::string(Trim(line.substr(0, eq))), std::string(Trim(line.substr(eq + 1))));
  }
}

const TMemIniFile::Section* TMemIniFile::Find(std::string_view section) const {
  for (const Section& s : sections_)
    if (SameName(s.Name, section)) return &s;
  return nullptr;
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
  if (const Section* s = Find(section))
    for (const auto& [k, value] : s->Values)
      if (SameName(k, key)) return value;
  return fallback;
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

bool IsTrue(std::string_view text) { return SameName(text, "TRUE"); }

}  // namespace efir::skin
