#include "skin/engine/skin_lookups.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "framework/bitmap.h"
#include "framework/files.h"
#include "framework/tests/core_test_files.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/tests/skin_fixtures.h"
#include "tests/support/paths.h"

namespace {

std::string SkinsFolder() {
  std::string path = efir::test::sourceDir() + "/assets/skins";
  std::replace(path.begin(), path.end(), '/', '\\');
  return path[0] == '\\' ? "Z:" + path : path;
}

void AddSection(TsSkinManager& m, const std::string& name, const std::string& parent = "") {
  TsGeneralData& s = m.GeneralData.emplace_back();
  s.SectionName = name;
  s.ParentClass = parent;
}

TsMaskData& AddMask(TsSkinManager& m, const std::string& section, const std::string& key, TacImgType type = itisaBorder) {
  TsMaskData& mask = m.Masks.emplace_back();
  mask.SectionName = section;
  mask.PropertyName = key;
  mask.ImgType = type;
  mask.Manager = &m;
  return mask;
}

// A definition small enough to read at a glance: inheritance one and two levels deep, a
// section naming itself, a two-section cycle and a parent the skin lacks.
class LookupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AddSection(m, "GLOBALINFO");
    AddSection(m, "EDIT");
    AddSection(m, "MYEDIT", "EDIT");
    AddSection(m, "DEEP", "MYEDIT");
    AddSection(m, "SELF", "SELF");
    AddSection(m, "CYCA", "CYCB");
    AddSection(m, "CYCB", "CYCA");
    AddSection(m, "ORPHAN", "NOSUCH");
    AddMask(m, "EDIT", "BORDERSMASK");                 // 0
    AddMask(m, "MYEDIT", "GLYPHMASK");                 // 1
    AddMask(m, "EDIT", "PATTERN", itisaTexture);       // 2
    AddMask(m, "DEEP", "BORDERSMASK", itisaTexture);   // 3: a texture, not a border, but still a mask
    m.Patterns.emplace_back().SectionName = "EDIT";
    m.Patterns.back().PropertyName = "BACK";
  }
  int Index(const char* section) { return SectionIndexByName(&m, section); }

  TsSkinManager m{nullptr};
};

TEST_F(LookupTest, MasksFollowTheParentChain) {
  const struct {
    const char* Section;
    const char* Key;
    int Mask, Texture, Pattern;
  } cases[] = {
      {"EDIT", "BORDERSMASK", 0, -1, -1},
      {"MYEDIT", "BORDERSMASK", 0, -1, -1},   // from its parent
      {"DEEP", "BORDERSMASK", 3, 3, -1},      // its own comes first
      {"MYEDIT", "GLYPHMASK", 1, -1, -1},
      {"EDIT", "GLYPHMASK", -1, -1, -1},      // a parent never inherits from its child
      {"DEEP", "PATTERN", 2, 2, -1},          // from the grandparent
      {"MYEDIT", "BACK", -1, -1, 0},
      {"SELF", "BORDERSMASK", -1, -1, -1},
      {"CYCA", "BORDERSMASK", -1, -1, -1},    // the cycle ends
      {"ORPHAN", "BORDERSMASK", -1, -1, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.Section) + "/" + c.Key);
    int s = Index(c.Section);
    ASSERT_GE(s, 0);
    EXPECT_EQ(MaskIndexByName(&m, s, c.Section, c.Key), c.Mask);
    EXPECT_EQ(TextureIndex(&m, s, c.Section, c.Key), c.Texture);
    EXPECT_EQ(PatternIndex(&m, s, c.Section, c.Key), c.Pattern);
  }
}

TEST_F(LookupTest, ExactLookupsAndMissingArguments) {
  EXPECT_EQ(MaskIndexByName(&m, -1, "EDIT", "BORDERSMASK"), -1);
  EXPECT_EQ(MaskIndexExact(&m, "EDIT", "BORDERSMASK"), 0);
  EXPECT_EQ(MaskIndexExact(&m, "MYEDIT", "BORDERSMASK"), -1);
  EXPECT_EQ(MaskIndexExact(&m, "", "BORDERSMASK"), -1);
  EXPECT_EQ(MaskIndexByName(&m, Index("EDIT"), "", "BORDERSMASK"), -1);
  EXPECT_EQ(SectionIndexByName(&m, "edit"), -1);  // names are case-sensitive
  EXPECT_EQ(SectionIndexByName(nullptr, "EDIT"), -1);
  EXPECT_EQ(MaskIndexByName(nullptr, 1, "EDIT", "BORDERSMASK"), -1);
  EXPECT_TRUE(SectionIndexValid(&m, 7));
  EXPECT_FALSE(SectionIndexValid(&m, 8));
  EXPECT_FALSE(SectionIndexValid(nullptr, 0));
  EXPECT_FALSE(MaskIndexValid(&m, -1));
  EXPECT_FALSE(MaskIndexValid(&m, 4));
}

TEST_F(LookupTest, BorderWidthsAndGlyphCells) {
  const struct {
    const char* Name;
    int WL, WT, BorderWidth, ImageCount, MaskType, Width, Height;
    int Left, Right, Top, Bottom;
  } cases[] = {
      {"three states, no widths", 0, 0, 0, 3, 1, 90, 40, 30, 30, 20, 20},
      {"no state count", 0, 0, 0, 0, 1, 90, 40, 90, 0, 20, 20},
      {"own widths", 5, 6, 7, 3, 1, 90, 40, 5, 7, 6, 7},
      {"border width", 0, 0, 7, 3, -1, 90, 40, 7, 7, 7, 7},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    m.Masks.clear();
    TsMaskData& mask = AddMask(m, "EDIT", "BORDERSMASK");
    mask.WL = c.WL, mask.WT = c.WT, mask.BorderWidth = c.BorderWidth;
    mask.ImageCount = c.ImageCount, mask.MaskType = c.MaskType;
    mask.R = {10, 0, 10 + c.Width, c.Height};
    EXPECT_EQ(MaskBorderLeft(&m, 0), c.Left);
    EXPECT_EQ(MaskBorderRight(&m, 0), c.Right);
    EXPECT_EQ(MaskBorderTop(&m, 0), c.Top);
    EXPECT_EQ(MaskBorderBottom(&m, 0), c.Bottom);
    EXPECT_EQ(mask.ImageCount, c.ImageCount);  // asking changes nothing
  }
  EXPECT_EQ(MaskBorderLeft(&m, 5), 0);

  TsMaskData& own = AddMask(m, "EDIT", "GLYPHMASK");
  own.Image = std::make_unique<TBitmap>(31, 21, pf24bit);
  own.R = {0, 0, 31, 21};
  own.ImageCount = 1;
  SIZE cell = GlyphCellSize(&m, 1);
  EXPECT_EQ(cell.cx, 10);
  EXPECT_EQ(cell.cy, 10);
  m.Masks[0].MaskType = 1;
  cell = GlyphCellSize(&m, 0);  // a picture of the master bitmap: one state
  EXPECT_EQ(cell.cx, 30);
  EXPECT_EQ(cell.cy, 20);
}

TEST_F(LookupTest, ColourGettersWithAndWithoutSections) {
  TsSkinManager empty(nullptr);
  const TsSkinManager* managers[] = {nullptr, &empty};
  for (const TsSkinManager* manager : managers) {
    EXPECT_EQ(GlobalInfoColor(manager), static_cast<TColor>(ColorToRGB(clBtnFace)));
    EXPECT_EQ(GlobalInfoFontColor(manager), 0xFF00FF);
    EXPECT_EQ(GlobalInfoHotColor(manager), static_cast<TColor>(ColorToRGB(clWindow)));
    EXPECT_EQ(EditHotFontColor(manager), 0xFF00FF);
    EXPECT_EQ(MenuHighlightColor(manager), clHighlight);
    EXPECT_EQ(MenuHighlightTextColor(manager), clHighlightText);
  }

  CacheFixedIndexes(m);
  m.GeneralData[0].Color = clBtnShadow;  // a system colour comes back resolved
  m.GeneralData[0].FontColor[0] = 0x010203;
  m.GeneralData[1].HotFontColor[0] = 0x040506;
  EXPECT_EQ(GlobalInfoColor(&m), static_cast<TColor>(ColorToRGB(clBtnShadow)));
  EXPECT_EQ(GlobalInfoFontColor(&m), 0x010203);
  EXPECT_EQ(EditHotFontColor(&m), 0x040506);

  AddSection(m, "MENUITEM");
  const struct {
    TColor Hot, HotFont, Highlight, HighlightText;
  } menus[] = {
      {0x102030, 0x405060, 0x102030, 0x405060},
      {0xFFFFFF, 0x405060, clHighlight, clHighlightText},
      {0x102030, 0, 0x102030, clHighlightText},
      {0x102030, 0xFF00FF, 0x102030, clHighlightText},
  };
  for (const auto& c : menus) {
    m.GeneralData.back().HotColor = c.Hot;
    m.GeneralData.back().HotFontColor[0] = c.HotFont;
    EXPECT_EQ(MenuHighlightColor(&m), c.Highlight);
    EXPECT_EQ(MenuHighlightTextColor(&m), c.HighlightText);
  }
}

TEST(LookupCache, LoadingOurSkinFillsTheIndexesAndTheNextSkinRefillsThem) {
  TsSkinManager m(nullptr);
  m.SetSkinDirectory(SkinsFolder());
  m.SetSkinName("EfirNight");
  ASSERT_TRUE(m.LoadedSkin.Active);
  auto index = [&](const char* name) { return SectionIndexByName(&m, name); };
  auto exact = [&](const char* section, const char* key) { return MaskIndexExact(&m, section, key); };

  for (size_t i = 0; i < m.GeneralData.size(); ++i) {
    const TsGeneralData& s = m.GeneralData[i];
    if (s.SectionName == "GLOBALINFO") continue;
    EXPECT_EQ(s.BorderIndex, MaskIndexByName(&m, static_cast<int>(i), s.SectionName, "BORDERSMASK")) << s.SectionName;
  }
  EXPECT_EQ(m.GeneralData[index("DIALOG")].BorderIndex, exact("FORM", "BORDERSMASK"));
  EXPECT_GE(m.GeneralData[index("BUTTON")].BorderIndex, 0);

  const TsFixedIndexes& f = m.FixedIndexes;
  EXPECT_EQ(f.IdxGlobalInfo, index("GLOBALINFO"));
  EXPECT_EQ(f.MaskBoxChecked, exact("GLOBALINFO", "BOXCHECKED"));
  EXPECT_GE(f.MaskBoxChecked, 0);
  EXPECT_EQ(f.MaskSmallChecked, -1);
  EXPECT_EQ(f.IdxTabTop, -1);
  EXPECT_EQ(f.IdxScrollBtnTop, index("SCROLLBTNTOP"));
  EXPECT_EQ(f.GlyphScrollBtnTop, exact("SCROLLBTNTOP", "GLYPHMASK"));
  EXPECT_EQ(f.MaskScrollBtnTop, exact("BUTTON", "BORDERSMASK"));
  EXPECT_EQ(f.MaskScrollBar2V, exact("SCROLLBAR1V", "BORDERSMASK"));
  EXPECT_EQ(f.MaskSliderH, exact("BUTTON", "BORDERSMASK"));
  EXPECT_EQ(f.IdxComboBtn, index("COMBOBTN"));
  EXPECT_EQ(f.MaskComboBtn, exact("COMBOBTN", "BORDERSMASK"));
  EXPECT_EQ(f.GlyphComboBox, exact("COMBOBOX", "GLYPHMASK"));
  EXPECT_GE(f.GlyphComboBox, 0);

  const std::string dir = efir::GetCurrentDir() + "\\lookup_skins";
  efir::test::ScratchFolder scratch("lookup_skins");
  efir::test::WriteSkinFolder(dir + "\\Bare", {{"Options.dat", "[BUTTON]\r\nCOLOR=0x010203\r\n"}});
  m.SetSkinDirectory(dir);
  m.SetSkinName("Bare");
  ASSERT_TRUE(m.LoadedSkin.Active);
  EXPECT_EQ(m.FixedIndexes.IdxGlobalInfo, -1);
  EXPECT_EQ(m.FixedIndexes.IdxScrollBtnTop, -1);
  EXPECT_EQ(m.FixedIndexes.GlyphScrollBtnTop, -1);
  EXPECT_EQ(m.FixedIndexes.MaskBoxChecked, -1);
  EXPECT_EQ(m.GeneralData.at(0).BorderIndex, -1);
}

}  // namespace
