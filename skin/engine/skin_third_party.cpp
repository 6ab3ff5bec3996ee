#include "skin/engine/skin_third_party.h"

#include "skin/engine/skin_manager.h"

namespace {
bool InRange(int index) { return index >= 0 && index < ThirdPartyCount; }
}  // namespace

ThirdPartyList::ThirdPartyList() {
  for (int i = 0; i < ThirdPartyCount; ++i) texts_[static_cast<size_t>(i)] = DefaultOf(i);
}

std::string ThirdPartyList::Third(int index) const {
  return InRange(index) ? texts_[static_cast<size_t>(index)] : std::string();
}

void ThirdPartyList::SetThird(int index, const std::string& value) {
  if (InRange(index)) texts_[static_cast<size_t>(index)] = value;
}

std::string ThirdPartyList::DefaultOf(int index) { return index == ThirdButtons ? "TButton" : " "; }

void UpdateThirdLists(TsSkinManager& manager, bool reset) {
  for (int i = 0; i < ThirdPartyCount; ++i) {
    if (reset || manager.ThirdParty.Third(i).empty()) manager.ThirdParty.SetThird(i, ThirdPartyList::DefaultOf(i));
    manager.ThirdLists[static_cast<size_t>(i)].SetText(manager.ThirdParty.Third(i));
  }
}

void StoreThirdLists(TsSkinManager& manager) {
  for (int i = 0; i < ThirdPartyCount; ++i) {
    std::string text = manager.ThirdLists[static_cast<size_t>(i)].Text();
    // The list's text ends every line with a line break; the property holds the lines.
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    manager.ThirdParty.SetThird(i, text);
  }
}
