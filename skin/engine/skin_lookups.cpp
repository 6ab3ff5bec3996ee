#include "skin/engine/skin_lookups.h"

#include <algorithm>
#include <map>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "skin/engine/parent_chain.h"
#include "skin/engine/extended_borders.h"
#include "skin/engine/skin_manager.h"

namespace {

TColor Rgb(TColor color) { return static_cast<TColor>(ColorToRGB(color)); }

const TsGeneralData* Section(const TsSkinManager* manager, int index) {
  return SectionIndexValid(manager, index) ? &manager->GeneralData[static_cast<size_t>(index)] : nullptr;
}

const TsMaskData* Mask(const TsSkinManager* manager, int index) {
  return MaskIndexValid(manager, index) ? &manager->Masks[static_cast<size_t>(index)] : nullptr;
}

int64_t entriesScanned = 0;

template <class Entries, class Accept>
int FindEntry(const Entries& entries, std::string_view section, std::string_view key, Accept accept) {
  entriesScanned += static_cast<int64_t>(entries.size());
  for (size_t i = 0; i < entries.size(); ++i)
    if (entries[i].SectionName == section && entries[i].PropertyName == key && accept(entries[i])) return static_cast<int>(i);
  return -1;
}

// Asks findHere(section) in the section, then along its PARENTCLASS chain, where
// indexOf(name) gives a parent's index. The chain ends at a section without parent, at a
// parent the skin lacks, and after as many steps as there are sections, so that a cycle
// cannot run forever.
template <class FindHere, class IndexOf>
int WalkParents(const TsSkinManager* manager, int sectionIndex, std::string_view section, FindHere findHere,
                IndexOf indexOf) {
  if (!manager || sectionIndex < 0 || section.empty()) return -1;
  for (size_t step = 0; step <= manager->GeneralData.size(); ++step) {
    int found = findHere(section);
    if (found >= 0) return found;
    const TsGeneralData* data = Section(manager, sectionIndex);
    if (!data || data->ParentClass.empty() || data->ParentClass == section) return -1;
    sectionIndex = indexOf(data->ParentClass);
    if (sectionIndex < 0) return -1;
    section = manager->GeneralData[static_cast<size_t>(sectionIndex)].SectionName;
  }
  return -1;
}

// Looks the key up in the section, then along its PARENTCLASS chain.
template <class Entries, class Accept>
int FindWithParents(const TsSkinManager* manager, const Entries& entries, int sectionIndex, std::string_view section,
                    std::string_view key, Accept accept) {
  return WalkParents(
      manager, sectionIndex, section, [&](std::string_view here) { return FindEntry(entries, here, key, accept); },
      [&](std::string_view name) { return SectionIndexByName(manager, name); });
}

bool Any(const TsMaskData&) { return true; }

bool UsableColor(TColor color) { return color != -1 && color != 0xFF00FF && color != 0xFFFFFF; }

// The border width when the picture gives one, else `whole` (one state picture's extent).
int BorderOr(const TsMaskData& mask, int own, int whole) {
  if (own > 0) return own;
  if (mask.BorderWidth > 0) return mask.BorderWidth;
  return whole;
}

}  // namespace

int64_t LookupEntriesScanned() { return entriesScanned; }

int SectionIndexByName(const TsSkinManager* manager, std::string_view section) {
  if (!manager) return -1;
  const TsGeneralDataArray& sections = manager->GeneralData;
  entriesScanned += static_cast<int64_t>(sections.size());
  for (size_t i = 0; i < sections.size(); ++i)
    if (sections[i].SectionName == section) return static_cast<int>(i);
  return -1;
}

bool SectionIndexValid(const TsSkinManager* manager, int index) {
  return manager && index >= 0 && static_cast<size_t>(index) < manager->GeneralData.size();
}

bool MaskIndexValid(const TsSkinManager* manager, int index) {
  return manager && index >= 0 && static_cast<size_t>(index) < manager->Masks.size();
}

int MaskIndexExact(const TsSkinManager* manager, std::string_view section, std::string_view key) {
  if (!manager || section.empty()) return -1;
  return FindEntry(manager->Masks, section, key, Any);
}

int MaskIndexByName(const TsSkinManager* manager, int sectionIndex, std::string_view section, std::string_view key) {
  return manager ? FindWithParents(manager, manager->Masks, sectionIndex, section, key, Any) : -1;
}

int TextureIndex(const TsSkinManager* manager, int sectionIndex, std::string_view section, std::string_view key) {
  if (!manager || manager->Masks.empty()) return -1;
  return FindWithParents(manager, manager->Masks, sectionIndex, section, key,
                         [](const TsMaskData& m) { return m.ImgType == itisaTexture; });
}

int PatternIndex(const TsSkinManager* manager, int sectionIndex, std::string_view section, std::string_view key) {
  if (!manager || manager->Patterns.empty()) return -1;
  return FindWithParents(manager, manager->Patterns, sectionIndex, section, key, [](const TsPatternData&) { return true; });
}

// A picture without a state count counts as one state. The count is not written back: the
// border widths are questions, and the painters read ImageCount as the skin gave it.
int MaskBorderLeft(const TsSkinManager* manager, int maskIndex) {
  const TsMaskData* m = Mask(manager, maskIndex);
  if (!m) return 0;
  return BorderOr(*m, m->WL, m->ImageCount == 0 ? m->R.right - m->R.left : MaskStateWidth(*m));
}

int MaskBorderRight(const TsSkinManager* manager, int maskIndex) {
  const TsMaskData* m = Mask(manager, maskIndex);
  return m ? BorderOr(*m, m->WR, MaskStateWidth(*m)) : 0;
}

int MaskBorderTop(const TsSkinManager* manager, int maskIndex) {
  const TsMaskData* m = Mask(manager, maskIndex);
  return m ? BorderOr(*m, m->WT, MaskStateHeight(*m)) : 0;
}

int MaskBorderBottom(const TsSkinManager* manager, int maskIndex) {
  const TsMaskData* m = Mask(manager, maskIndex);
  return m ? BorderOr(*m, m->WB, MaskStateHeight(*m)) : 0;
}

SIZE GlyphCellSize(const TsSkinManager* manager, int maskIndex) {
  const TsMaskData* m = Mask(manager, maskIndex);
  if (!m) return {0, 0};
  if (m->Image) return {m->Image->Width() / 3, m->Image->Height() / 2};
  return {MaskStateWidth(*m), MaskStateHeight(*m)};
}

TColor GlobalInfoColor(const TsSkinManager* manager) {
  const TsGeneralData* g = manager ? Section(manager, manager->FixedIndexes.IdxGlobalInfo) : nullptr;
  return Rgb(g ? g->Color : clBtnFace);
}

TColor GlobalInfoFontColor(const TsSkinManager* manager) {
  const TsGeneralData* g = manager ? Section(manager, manager->FixedIndexes.IdxGlobalInfo) : nullptr;
  return g ? Rgb(g->FontColor[0]) : 0xFF00FF;
}

TColor GlobalInfoHotColor(const TsSkinManager* manager) {
  const TsGeneralData* g = manager ? Section(manager, manager->FixedIndexes.IdxGlobalInfo) : nullptr;
  return Rgb(g ? g->HotColor : clWindow);
}

TColor EditHotFontColor(const TsSkinManager* manager) {
  const TsGeneralData* edit = Section(manager, SectionIndexByName(manager, "EDIT"));
  return edit ? Rgb(edit->HotFontColor[0]) : 0xFF00FF;
}

TColor MenuHighlightColor(const TsSkinManager* manager) {
  const TsGeneralData* item = Section(manager, SectionIndexByName(manager, "MENUITEM"));
  return item && UsableColor(item->HotColor) ? Rgb(item->HotColor) : clHighlight;
}

TColor MenuHighlightTextColor(const TsSkinManager* manager) {
  const TsGeneralData* item = Section(manager, SectionIndexByName(manager, "MENUITEM"));
  if (item && UsableColor(item->HotColor) && UsableColor(item->HotFontColor[0]) && item->HotFontColor[0] != 0)
    return Rgb(item->HotFontColor[0]);
  return clHighlightText;
}

namespace {

// Each section's PARENTCLASS as a section index, -1 where the chain ends, as MaskIndexByName
// follows it.
std::vector<int> ParentIndexes(const TsSkinManager& manager) {
  const TsGeneralDataArray& sections = manager.GeneralData;
  std::unordered_map<std::string_view, int> byName;
  for (size_t i = 0; i < sections.size(); ++i) byName.try_emplace(sections[i].SectionName, static_cast<int>(i));
  std::vector<int> parents(sections.size(), -1);
  for (size_t i = 0; i < sections.size(); ++i) {
    const TsGeneralData& s = sections[i];
    if (s.ParentClass.empty() || s.ParentClass == s.SectionName) continue;
    auto parent = byName.find(s.ParentClass);
    if (parent != byName.end()) parents[i] = parent->second;
  }
  return parents;
}

}  // namespace

// Each of the five keys is resolved for all sections in one pass, so a skin of many sections
// or long PARENTCLASS chains costs time in proportion to its size.
void CacheSectionBorderIndexes(TsSkinManager& manager) {
  std::map<std::pair<std::string_view, std::string_view>, int> masks;
  for (size_t i = 0; i < manager.Masks.size(); ++i)
    masks.try_emplace({manager.Masks[i].SectionName, manager.Masks[i].PropertyName}, static_cast<int>(i));
  const std::vector<int> parents = ParentIndexes(manager);
  auto resolve = [&](std::string_view key) {
    return efir::skin::ResolveAlongParents<int>(parents, [&](int s) -> std::optional<int> {
      auto found = masks.find({manager.GeneralData[static_cast<size_t>(s)].SectionName, key});
      return found == masks.end() ? std::nullopt : std::optional<int>(found->second);
    });
  };
  const auto border = resolve("BORDERSMASK"), topLeft = resolve("IMGTOPLEFT"), topRight = resolve("IMGTOPRIGHT"),
             bottomLeft = resolve("IMGBTMLEFT"), bottomRight = resolve("IMGBTMRIGHT");
  // GLOBALINFO is looked up here, not taken from FixedIndexes: those still describe the
  // previous skin until this load refills them.
  const int globalInfo = SectionIndexByName(&manager, "GLOBALINFO");
  for (size_t i = 0; i < manager.GeneralData.size(); ++i) {
    if (static_cast<int>(i) == globalInfo) continue;
    TsGeneralData& s = manager.GeneralData[i];
    if (s.SectionName.empty()) {  // no look-up answers for a section without a name
      s.BorderIndex = s.ImgTL = s.ImgTR = s.ImgBL = s.ImgBR = -1;
      continue;
    }
    s.BorderIndex = border[i].value_or(-1);
    s.ImgTL = topLeft[i].value_or(-1);
    s.ImgTR = topRight[i].value_or(-1);
    s.ImgBL = bottomLeft[i].value_or(-1);
    s.ImgBR = bottomRight[i].value_or(-1);
  }
}

namespace {

// The loaded skin's sections by name and pictures by section and key, indexed once, so that
// the many look-ups made after a load cost one step per section of a chain, not a search of
// the whole skin per step. Answers as SectionIndexByName, MaskIndexByName and TextureIndex.
class LoadedSkinIndex {
 public:
  explicit LoadedSkinIndex(const TsSkinManager& manager) : manager_(manager) {
    for (size_t i = 0; i < manager.GeneralData.size(); ++i)
      sections_.try_emplace(manager.GeneralData[i].SectionName, static_cast<int>(i));
    for (size_t i = 0; i < manager.Masks.size(); ++i) {
      const TsMaskData& m = manager.Masks[i];
      masks_.try_emplace({m.SectionName, m.PropertyName}, static_cast<int>(i));
      if (m.ImgType == itisaTexture) textures_.try_emplace({m.SectionName, m.PropertyName}, static_cast<int>(i));
    }
  }

  int Section(std::string_view name) const {
    auto found = sections_.find(name);
    return found == sections_.end() ? -1 : found->second;
  }
  int Mask(int sectionIndex, std::string_view section, std::string_view key) const {
    return Walk(masks_, sectionIndex, section, key);
  }
  int Texture(int sectionIndex, std::string_view section, std::string_view key) const {
    return Walk(textures_, sectionIndex, section, key);
  }

 private:
  using Entries = std::map<std::pair<std::string_view, std::string_view>, int>;

  int Walk(const Entries& entries, int sectionIndex, std::string_view section, std::string_view key) const {
    return WalkParents(
        &manager_, sectionIndex, section,
        [&](std::string_view here) {
          auto found = entries.find({here, key});
          return found == entries.end() ? -1 : found->second;
        },
        [&](std::string_view name) { return Section(name); });
  }

  const TsSkinManager& manager_;
  std::unordered_map<std::string_view, int> sections_;
  Entries masks_, textures_;
};

// A section's index and, through `mask`, one of its pictures.
struct SectionLookup {
  const LoadedSkinIndex* skin;
  const char* name;
  int index;
  int Mask(const char* key) const { return skin->Mask(index, name, key); }
};

}  // namespace

void CacheFixedIndexes(TsSkinManager& manager) {
  TsFixedIndexes& f = manager.FixedIndexes;
  f = TsFixedIndexes{};
  const LoadedSkinIndex skin(manager);
  auto Find = [&](const char* name) { return SectionLookup{&skin, name, skin.Section(name)}; };
  const SectionLookup global = Find("GLOBALINFO");
  f.IdxGlobalInfo = global.index;
  f.MaskExBorder = global.Mask("EXBORDER");

  const SectionLookup tabs[] = {Find("TABTOP"), Find("TABBOTTOM"), Find("TABLEFT"),
                                Find("TABRIGHT")};
  int* tabIdx[] = {&f.IdxTabTop, &f.IdxTabBottom, &f.IdxTabLeft, &f.IdxTabRight};
  int* tabMask[] = {&f.MaskTabTop, &f.MaskTabBottom, &f.MaskTabLeft, &f.MaskTabRight};
  for (int i = 0; i < 4; ++i) {
    *tabIdx[i] = tabs[i].index;
    *tabMask[i] = tabs[i].Mask("BORDERSMASK");
  }

  const SectionLookup buttons[] = {Find("SCROLLBTNTOP"), Find("SCROLLBTNBOTTOM"),
                                   Find("SCROLLBTNLEFT"), Find("SCROLLBTNRIGHT")};
  int* btnIdx[] = {&f.IdxScrollBtnTop, &f.IdxScrollBtnBottom, &f.IdxScrollBtnLeft, &f.IdxScrollBtnRight};
  int* btnMask[] = {&f.MaskScrollBtnTop, &f.MaskScrollBtnBottom, &f.MaskScrollBtnLeft, &f.MaskScrollBtnRight};
  int* btnTex[] = {&f.TexScrollBtnTop, &f.TexScrollBtnBottom, &f.TexScrollBtnLeft, &f.TexScrollBtnRight};
  int* btnHot[] = {&f.HotTexScrollBtnTop, &f.HotTexScrollBtnBottom, &f.HotTexScrollBtnLeft, &f.HotTexScrollBtnRight};
  int* btnGlyph[] = {&f.GlyphScrollBtnTop, &f.GlyphScrollBtnBottom, &f.GlyphScrollBtnLeft, &f.GlyphScrollBtnRight};
  for (int i = 0; i < 4; ++i) {
    *btnIdx[i] = buttons[i].index;
    *btnMask[i] = buttons[i].Mask("BORDERSMASK");
    *btnTex[i] = buttons[i].Mask("PATTERN");
    *btnHot[i] = buttons[i].Mask("HOTPATTERN");
    *btnGlyph[i] = buttons[i].Mask("GLYPHMASK");
  }

  const SectionLookup sliderV = Find("SCROLLSLIDERV"), sliderH = Find("SCROLLSLIDERH");
  f.IdxSliderV = sliderV.index;
  f.IdxSliderH = sliderH.index;
  f.MaskSliderV = sliderV.Mask("BORDERSMASK");
  f.MaskSliderH = sliderH.Mask("BORDERSMASK");
  f.GlyphSliderV = sliderV.Mask("GLYPHMASK");
  f.GlyphSliderH = sliderH.Mask("GLYPHMASK");
  f.TexSliderH = sliderH.Mask("PATTERN");
  f.HotTexSliderH = sliderH.Mask("HOTPATTERN");
  f.TexSliderV = sliderV.Mask("PATTERN");
  f.HotTexSliderV = sliderV.Mask("HOTPATTERN");

  const SectionLookup bars[] = {Find("SCROLLBAR1H"), Find("SCROLLBAR1V"), Find("SCROLLBAR2H"),
                                Find("SCROLLBAR2V")};
  int* barIdx[] = {&f.IdxScrollBar1H, &f.IdxScrollBar1V, &f.IdxScrollBar2H, &f.IdxScrollBar2V};
  int* barMask[] = {&f.MaskScrollBar1H, &f.MaskScrollBar1V, &f.MaskScrollBar2H, &f.MaskScrollBar2V};
  int* barTex[] = {&f.TexScrollBar1H, &f.TexScrollBar1V, &f.TexScrollBar2H, &f.TexScrollBar2V};
  int* barHot[] = {&f.HotTexScrollBar1H, &f.HotTexScrollBar1V, &f.HotTexScrollBar2H, &f.HotTexScrollBar2V};
  for (int i = 0; i < 4; ++i) {
    *barIdx[i] = bars[i].index;
    *barMask[i] = bars[i].Mask("BORDERSMASK");
    *barTex[i] = bars[i].Mask("PATTERN");
    *barHot[i] = bars[i].Mask("HOTPATTERN");
  }

  f.MaskBoxChecked = global.Mask("BOXCHECKED");
  f.MaskBoxUnchecked = global.Mask("BOXUNCHECKED");
  f.MaskBoxGrayed = global.Mask("BOXGRAYED");
  f.MaskRadioChecked = global.Mask("RADIOCHECKED");
  f.MaskRadioUnchecked = global.Mask("RADIOUNCHECKED");
  f.MaskRadioGrayed = global.Mask("RADIOGRAYED");
  f.MaskSmallChecked = global.Mask("SMALLCHECKED");
  f.MaskSmallUnchecked = global.Mask("SMALLUNCHECKED");
  f.MaskSmallGrayed = global.Mask("SMALLGRAYED");

  f.IdxComboBtn = skin.Section("COMBOBTN");
  f.MaskComboBtn = MaskIndexExact(&manager, "COMBOBTN", "BORDERSMASK");
  f.TexComboBtn = skin.Texture(f.IdxComboBtn, "COMBOBTN", "PATTERN");
  f.HotTexComboBtn = skin.Texture(f.IdxComboBtn, "COMBOBTN", "HOTPATTERN");
  f.GlyphComboBox = MaskIndexExact(&manager, "COMBOBOX", "GLYPHMASK");
  PrepareExtendedBorders(manager);
}
