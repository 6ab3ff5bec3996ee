#include "skin/engine/published_props.h"

#include <algorithm>
#include <cctype>

#include "framework/controls.h"
#include "framework/menus.h"
#include "skin/engine/skin_manager.h"

namespace {

bool SameBlind(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

std::vector<TPublishedProp> BuiltInProps() {
  std::vector<TPublishedProp> props = {
      OrdinalProp<TComponent>("Tag", [](TComponent& c) { return c.Tag(); },
                              [](TComponent& c, int64_t v) { c.SetTag(static_cast<intptr_t>(v)); }),
      OrdinalProp<TControl>("Left", [](TControl& c) { return c.Left(); },
                            [](TControl& c, int64_t v) { c.SetLeft(static_cast<int>(v)); }),
      OrdinalProp<TControl>("Top", [](TControl& c) { return c.Top(); },
                            [](TControl& c, int64_t v) { c.SetTop(static_cast<int>(v)); }),
      OrdinalProp<TControl>("Width", [](TControl& c) { return c.Width(); },
                            [](TControl& c, int64_t v) { c.SetWidth(static_cast<int>(v)); }),
      OrdinalProp<TControl>("Height", [](TControl& c) { return c.Height(); },
                            [](TControl& c, int64_t v) { c.SetHeight(static_cast<int>(v)); }),
      OrdinalProp<TControl>("Visible", [](TControl& c) { return c.Visible(); },
                            [](TControl& c, int64_t v) { c.SetVisible(v != 0); }),
      OrdinalProp<TControl>("Enabled", [](TControl& c) { return c.Enabled(); },
                            [](TControl& c, int64_t v) { c.SetEnabled(v != 0); }),
      OrdinalProp<TControl>("Color", [](TControl& c) { return c.Color(); },
                            [](TControl& c, int64_t v) { c.SetColor(static_cast<TColor>(v)); }),
      OrdinalProp<TWinControl>("TabStop", [](TWinControl& c) { return c.TabStop(); },
                               [](TWinControl& c, int64_t v) { c.SetTabStop(v != 0); }),
      OrdinalProp<TsSkinManager>("Active", [](TsSkinManager& m) { return m.Active(); },
                                 [](TsSkinManager& m, int64_t v) { m.SetActive(v != 0); }),
      OrdinalProp<TsSkinManager>("SkinnedPopups", [](TsSkinManager& m) { return m.SkinnedPopups(); },
                                 [](TsSkinManager& m, int64_t v) { m.SetSkinnedPopups(v != 0); }),
  };
  TPublishedProp rules = OrdinalProp<TsSkinManager>(
      "SkinningRules", [](TsSkinManager& m) { return m.SkinningRules(); },
      [](TsSkinManager& m, int64_t v) { m.SetSkinningRules(static_cast<TacSkinningRules>(v)); });
  rules.Kind = TPropKind::Set;
  rules.ElementNames = {"srStdForms", "srStdDialogs", "srThirdParty"};
  props.push_back(std::move(rules));
  props.push_back({"PopupMenu", TPropKind::Object, [](TObject* o) { return dynamic_cast<TControl*>(o) != nullptr; },
                   nullptr, nullptr, [](TObject* o) -> TObject* { return dynamic_cast<TControl*>(o)->PopupMenu(); }, {}});
  return props;
}

std::vector<TPublishedProp>& Registry() {
  static std::vector<TPublishedProp> props = BuiltInProps();
  return props;
}

// The property of that name the instance's class publishes; the latest registered wins.
const TPublishedProp* Find(TObject* instance, std::string_view name) {
  if (!instance) return nullptr;
  std::vector<TPublishedProp>& props = Registry();
  for (auto it = props.rbegin(); it != props.rend(); ++it)
    if (SameBlind(it->Name, name) && it->Applies(instance)) return &*it;
  return nullptr;
}

std::string SetText(const TPublishedProp& prop, int64_t bits) {
  std::string text;
  for (size_t i = 0; i < prop.ElementNames.size(); ++i)
    if (bits >> i & 1) text += (text.empty() ? "" : ",") + prop.ElementNames[i];
  return text;
}

// Names not of the set are skipped, as are empty ones (the text may start with a comma).
int64_t SetBits(const TPublishedProp& prop, std::string_view text) {
  int64_t bits = 0;
  while (!text.empty()) {
    size_t comma = text.find(',');
    std::string_view word = text.substr(0, comma);
    auto it = std::find(prop.ElementNames.begin(), prop.ElementNames.end(), word);
    if (it != prop.ElementNames.end()) bits |= int64_t{1} << (it - prop.ElementNames.begin());
    text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
  }
  return bits;
}

}  // namespace

void RegisterPublishedProp(TPublishedProp prop) { Registry().push_back(std::move(prop)); }

bool HasPublishedProp(TObject* instance, std::string_view name) { return Find(instance, name) != nullptr; }

TObject* GetObjectPropByName(TObject* instance, std::string_view name) {
  const TPublishedProp* prop = Find(instance, name);
  return prop && prop->Kind == TPropKind::Object ? prop->GetObject(instance) : nullptr;
}

int64_t GetOrdPropByName(TObject* instance, std::string_view name) {
  const TPublishedProp* prop = Find(instance, name);
  return prop && prop->GetOrd ? prop->GetOrd(instance) : -1;
}

void SetOrdPropByName(TObject* instance, std::string_view name, int64_t value) {
  const TPublishedProp* prop = Find(instance, name);
  if (prop && prop->SetOrd) prop->SetOrd(instance, value);
}

bool SetPropHasValue(TObject* instance, std::string_view name, std::string_view element) {
  const TPublishedProp* prop = Find(instance, name);
  if (!prop || prop->Kind != TPropKind::Set) return false;
  auto it = std::find(prop->ElementNames.begin(), prop->ElementNames.end(), element);
  return it != prop->ElementNames.end() && it - prop->ElementNames.begin() < 32 &&
         (prop->GetOrd(instance) >> (it - prop->ElementNames.begin()) & 1) != 0;
}

bool ChangeSetPropValue(TObject* instance, std::string_view name, std::string_view element, bool add) {
  const TPublishedProp* prop = Find(instance, name);
  if (!prop || prop->Kind != TPropKind::Set) return false;
  std::string text = SetText(*prop, prop->GetOrd(instance));
  std::string el(element);
  if (add) {
    if (text.find(el) != std::string::npos) return false;
    text += "," + el;
  } else {
    size_t at;
    if ((at = text.find("," + el)) != std::string::npos)
      text.erase(at, el.size() + 1);
    else if ((at = text.find(el + ",")) != std::string::npos)
      text.erase(at, el.size() + 1);
    else if ((at = text.find(el)) != std::string::npos)
      text.erase(at, el.size());
    else
      return false;
  }
  prop->SetOrd(instance, SetBits(*prop, text));
  return false;
}

std::string GetStrPropByName(TObject* instance, std::string_view name) {
  const TPublishedProp* prop = Find(instance, name);
  return prop && prop->Kind == TPropKind::String && prop->GetStr ? prop->GetStr(instance) : std::string();
}

void* EventSlotByName(TObject* instance, std::string_view name, const std::type_info& type) {
  const TPublishedProp* prop = Find(instance, name);
  return prop && prop->Kind == TPropKind::Method && prop->SlotType && *prop->SlotType == type ? prop->Slot(instance)
                                                                                                : nullptr;
}
