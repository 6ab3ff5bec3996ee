#include "framework/edit_mask.h"

#include <windows.h>

namespace efir {
namespace {

bool IsPlaceholder(char c) { return std::string_view("09#LlAaCc").find(c) != std::string_view::npos; }

struct MaskFields {
  std::string_view pattern;
  bool saveLiterals = true;
  char blank = '_';
};

MaskFields SplitMask(std::string_view mask) {
  MaskFields fields;
  // The pattern's own ";" may be escaped: split at the last two unescaped ones.
  size_t cuts[2];
  int found = 0;
  for (size_t i = mask.size(); i-- > 0 && found < 2;)
    if (mask[i] == ';' && (i == 0 || mask[i - 1] != '\\')) cuts[found++] = i;
  if (found < 2) {
    fields.pattern = mask;
    return fields;
  }
  fields.pattern = mask.substr(0, cuts[1]);
  std::string_view save = mask.substr(cuts[1] + 1, cuts[0] - cuts[1] - 1);
  fields.saveLiterals = save != "0";
  if (cuts[0] + 1 < mask.size()) fields.blank = mask[cuts[0] + 1];
  return fields;
}

// In 1251, as the programs' texts are.
char ChangeCase(char c, int mode) {
  if (mode == 0) return c;
  char buffer[2] = {c, 0};
  if (mode > 0) CharUpperBuffA(buffer, 1);
  else CharLowerBuffA(buffer, 1);
  return buffer[0];
}

}  // namespace

std::string FormatMaskText(std::string_view mask, std::string_view value) {
  const MaskFields fields = SplitMask(mask);
  std::string result;
  size_t next = 0;  // the value's next character
  int caseMode = 0;
  const std::string_view pattern = fields.pattern;
  for (size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (c == '!') continue;
    if (c == '<' && i + 1 < pattern.size() && pattern[i + 1] == '>') {
      caseMode = 0;
      ++i;
      continue;
    }
    if (c == '>' || c == '<') {
      caseMode = c == '>' ? 1 : -1;
      continue;
    }
    if (c == '\\' && i + 1 < pattern.size()) {
      result += pattern[++i];
      if (fields.saveLiterals && next < value.size()) ++next;
      continue;
    }
    if (!IsPlaceholder(c)) {
      result += c;
      if (fields.saveLiterals && next < value.size()) ++next;
      continue;
    }
    result += next < value.size() ? ChangeCase(value[next++], caseMode) : fields.blank;
  }
  return result;
}

}  // namespace efir
