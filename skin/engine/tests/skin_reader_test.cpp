#include "skin/engine/skin_reader.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "framework/exceptions.h"
#include "framework/files.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/tests/skin_fixtures.h"

namespace {

using efir::test::BmpBytes;
using efir::test::JpegBytes;
using efir::test::WriteSkinFolder;

// Reads a definition with the readers in the manager's order; pictures lie in `folder`.
void ReadDefinition(TsSkinManager& manager, const std::string& text, const std::string& folder) {
  TSkinSource source;
  source.Ini.SetText(text);
  source.SkinPath = folder + "\\";
  efir::skin::ReadSkinMasks(manager, source);
  efir::skin::ReadSkinPatterns(manager, source);
  efir::skin::ReadGlobalInfo(manager.LoadedSkin, source);
  efir::skin::ReadSkinSections(manager.GeneralData, source.Ini);
}

const TsGeneralData& Section(const TsSkinManager& m, const std::string& name) {
  auto it = std::find_if(m.GeneralData.begin(), m.GeneralData.end(),
                         [&](const TsGeneralData& g) { return g.SectionName == name; });
  if (it == m.GeneralData.end()) throw std::runtime_error("no section " + name);
  return *it;
}

const char* const kDefinition =
    "; a comment line\r\n"
    "[GLOBALINFO]\r\n"
    "VERSION=7.2\r\n"
    "BORDERWIDTH=wide\r\n"
    "TITLEHEIGHT=24\r\n"
    "MAXHEIGHT=0\r\n"
    "SHADOW1COLOR=$FF\r\n"
    "COLOR=0xFF00000F\r\n"
    "HOTCOLOR=0xFF00000F\r\n"
    "MASTERBITMAP=MASTER.BMP\r\n"
    "BICON=@0000,0000,0030,0010,3,1\r\n"
    "[BASE]\r\n"
    "COLOR=0x102030\r\n"
    "TCLEFT=5\r\n"
    "FONTCOLOR=-1\r\n"
    "GRADIENTDATA=255;16711680;100;0;0\r\n"
    "BORDERSMASK=!FRAME.BMP!3!0!0\r\n"
    "[Child]\r\n"
    "PARENTCLASS=BASE\r\n"
    "SHOWFOCUS=true\r\n"
    "FADINGITERATIONS=9\r\n"
    "[GRANDCHILD]\r\n"
    "PARENTCLASS=Child\r\n"
    "COLOR=-1\r\n"
    "HOTGRADIENTDATA=?\r\n"
    "[SELF]\r\n"
    "PARENTCLASS=SELF\r\n"
    "[LOOPA]\r\n"
    "PARENTCLASS=LOOPB\r\n"
    "[LOOPB]\r\n"
    "PARENTCLASS=loopa\r\n"
    "[MASKS]\r\n"
    "FRAME2=^0000,0000,0090,0040,0000,0000,0000,0000,3,1,1,3\r\n"
    "FRAME3=^0000,0000,0090,0040,0000,0000,0000,0000,3,1,1,0\r\n"
    "TEX=~0000,0040,0010,0050,02\r\n"
    "OLD=# (0,0,90,30) (3,1,2,1)\r\n"
    "whole=frame.bmp\r\n"
    "NOSTATES=!FRAME.BMP!0!-1!0\r\n"
    "WIDTHS=!FRAME.BMP!3!0!7!1!2!3!4\r\n"
    "NOTAPICTURE=!FRAME.GIF!3!1!2\r\n"
    "MISSING=!NONE.BMP!3!1!2\r\n"
    "BARE=#\r\n"
    "[pats]\r\n"
    "small=SMALL.JPG\r\n"
    "big=BIG.JPEG\r\n";

class SkinDefinition : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteSkinFolder("definition", {{"MASTER.BMP", BmpBytes(100, 60, 0x336699)},
                                   {"FRAME.BMP", BmpBytes(90, 40, 0x123456)},
                                   {"SMALL.JPG", JpegBytes(299, 300)},
                                   {"BIG.JPEG", JpegBytes(300, 300)}});
    ReadDefinition(manager, kDefinition, "definition");
  }
  TsSkinManager manager{nullptr};
};

TEST_F(SkinDefinition, GlobalValues) {
  const TsSkinData& s = manager.LoadedSkin;
  EXPECT_DOUBLE_EQ(s.Version, 7.2);
  EXPECT_EQ(s.BorderWidth, 4);  // no number: the default
  EXPECT_EQ(s.TitleHeight, 24);
  EXPECT_EQ(s.MaxHeight, 24);   // 0 means the title height
  EXPECT_EQ(s.Shadow1Color, 0xFF);
  EXPECT_EQ(s.Shadow1Blur, -1);
  ASSERT_TRUE(manager.MasterBitmap);
  EXPECT_EQ(manager.MasterBitmap->Width(), 100);
  EXPECT_EQ(manager.MasterBitmap->PixelFormat(), pf24bit);
}

TEST_F(SkinDefinition, SectionsInheritThroughParentClass) {
  ASSERT_EQ(manager.GeneralData.size(), 9u);
  EXPECT_EQ(manager.GeneralData[2].SectionName, "Child");  // as written, in text order

  const TsGeneralData& global = Section(manager, "GLOBALINFO");
  EXPECT_EQ(global.Color, static_cast<TColor>(ColorToRGB(SystemColor(COLOR_BTNFACE))));
  EXPECT_EQ(global.HotColor, SystemColor(COLOR_BTNFACE));  // stored as written

  const struct {
    const char* Section;
    TColor Color, FontColor, TcLeft;
    bool ShowFocus;
    int FadingIterations;
    size_t Bands, HotBands;
  } rows[] = {
      // section      colour    font  tcleft focus  fading bands hot
      {"BASE", 0x102030, 0, 5, false, 5, 1, 0},
      {"Child", 0x102030, 0, 5, true, 9, 1, 0},
      {"GRANDCHILD", 0x102030, 0, 5, true, 9, 1, 0},
      {"SELF", 0xFFFFFF, 0, -1, false, 5, 0, 0},
      {"LOOPA", 0xFFFFFF, 0, -1, false, 5, 0, 0},
      {"LOOPB", 0xFFFFFF, 0, -1, false, 5, 0, 0},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.Section);
    const TsGeneralData& g = Section(manager, r.Section);
    EXPECT_EQ(g.Color, r.Color);
    EXPECT_EQ(g.FontColor[0], r.FontColor);
    EXPECT_EQ(g.FontColor[1], r.TcLeft);
    EXPECT_EQ(g.FontColor[2], -1);
    EXPECT_EQ(g.ShowFocus, r.ShowFocus);
    EXPECT_EQ(g.FadingIterations, r.FadingIterations);
    EXPECT_EQ(g.GradientArray.size(), r.Bands);
    EXPECT_EQ(g.HotGradientArray.size(), r.HotBands);
  }
  EXPECT_EQ(Section(manager, "GRANDCHILD").ParentClass, "Child");
  EXPECT_EQ(Section(manager, "SELF").GradientData, " ");
  EXPECT_EQ(Section(manager, "GRANDCHILD").HotGradientData, "");  // "?" counts as missing
}

TEST_F(SkinDefinition, PictureSyntaxes) {
  const struct {
    const char* Section;
    const char* Key;
    RECT R;
    int ImageCount, MaskType, BorderWidth, StretchMode;
    TacImgType Type;
    int WL, WT, WR, WB;
    bool OwnImage;
  } rows[] = {
      {"GLOBALINFO", "BICON", {0, 0, 30, 10}, 3, 1, 0, 0, itisaGlyph, 0, 0, 0, 0, false},
      {"BASE", "BORDERSMASK", {0, 0, 90, 40}, 3, 0, 0, 4, itisaBorder, 10, 13, 10, 13, true},
      {"MASKS", "FRAME2", {0, 0, 90, 40}, 3, 1, 3, 1, itisaBorder, 3, 3, 3, 3, false},
      {"MASKS", "FRAME3", {0, 0, 90, 40}, 3, 1, 0, 1, itisaBorder, 10, 6, 10, 6, false},
      {"MASKS", "TEX", {0, 40, 10, 50}, 1, 0, 0, 2, itisaTexture, 0, 0, 0, 0, false},
      {"MASKS", "OLD", {0, 0, 90, 30}, 3, 1, 2, 1, itisaBorder, 2, 2, 2, 2, false},
      {"MASKS", "WHOLE", {0, 0, 90, 40}, 3, 1, 0, 0, itisaBorder, 10, 6, 10, 6, true},
      {"MASKS", "NOSTATES", {0, 0, 90, 40}, 0, -1, 0, 4, itisaBorder, 0, 0, 0, 0, true},
      {"MASKS", "WIDTHS", {0, 0, 90, 40}, 3, 0, 0, 4, itisaPngGlyph, 1, 2, 3, 4, true},
      {"PATS", "SMALL", {0, 0, 0, 0}, 1, 0, 0, 0, itisaTexture, 0, 0, 0, 0, true},
  };
  ASSERT_EQ(manager.Masks.size(), std::size(rows));
  for (size_t i = 0; i < std::size(rows); ++i) {
    const auto& r = rows[i];
    const TsMaskData& m = manager.Masks[i];
    SCOPED_TRACE(std::string(r.Section) + "/" + r.Key);
    EXPECT_EQ(m.SectionName, r.Section);
    EXPECT_EQ(m.PropertyName, r.Key);
    EXPECT_EQ(m.R.left, r.R.left);
    EXPECT_EQ(m.R.top, r.R.top);
    EXPECT_EQ(m.R.right, r.R.right);
    EXPECT_EQ(m.R.bottom, r.R.bottom);
    EXPECT_EQ(m.ImageCount, r.ImageCount);
    EXPECT_EQ(m.MaskType, r.MaskType);
    EXPECT_EQ(m.BorderWidth, r.BorderWidth);
    EXPECT_EQ(m.StretchMode, r.StretchMode);
    EXPECT_EQ(m.ImgType, r.Type);
    EXPECT_EQ(m.WL, r.WL);
    EXPECT_EQ(m.WT, r.WT);
    EXPECT_EQ(m.WR, r.WR);
    EXPECT_EQ(m.WB, r.WB);
    EXPECT_EQ(m.Image != nullptr, r.OwnImage);
    EXPECT_EQ(m.Manager, &manager);
  }
  EXPECT_EQ(manager.Masks[1].Image->PixelFormat(), pf24bit);
  EXPECT_EQ(manager.Masks.back().Image->Width(), 299);

  ASSERT_EQ(manager.Patterns.size(), 1u);  // only the large JPEG stays a pattern
  EXPECT_EQ(manager.Patterns[0].SectionName, "PATS");
  EXPECT_EQ(manager.Patterns[0].PropertyName, "BIG");
  EXPECT_EQ(manager.Patterns[0].Image->Width(), 300);
}

TEST(SkinDefinitionErrors, MalformedValuesFailTheRead) {
  WriteSkinFolder("malformed", {{"F.BMP", BmpBytes(30, 10, 0)}});
  const struct {
    const char* What;
    const char* Text;
  } cases[] = {
      {"strict global", "[GLOBALINFO]\nSHADOW1BLUR=soft\n"},
      {"glyph column", "[X]\nA=@00x0,0000,0030,0010,3,1\n"},
      {"frame too short", "[X]\nA=^0000,0000,0090\n"},
      {"texture column", "[X]\nA=~0000,0000,0010,0010,zz\n"},
      {"picture word", "[X]\nA=!F.BMP!three!0!0\n"},
      {"picture words missing", "[X]\nA=!F.BMP\n"},
      {"older syntax", "[X]\nA=# (0,0,a,b) (3,1)\n"},
      {"text with a hash", "[GLOBALINFO]\nDESCRIPTION=Skin #1\n"},
      {"gradient word", "[X]\nGRADIENTDATA=1;2;x;0;0\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    TsSkinManager manager(nullptr);
    EXPECT_THROW(ReadDefinition(manager, c.Text, "malformed"), EConvertError);
  }
}

TEST(SkinDefinitionOverlay, AddsOnlyWhatTheSkinLacks) {
  WriteSkinFolder("overlay_skin", {{"Options.dat", "[BUTTON]\r\nCOLOR=0x112233\r\nHOTCOLOR=0x445566\r\n"},
                                   {"EXTRA.BMP", BmpBytes(30, 20, 0xFF00FF)}});
  TsSkinManager manager(nullptr);
  manager.SetSkinDirectory(efir::GetCurrentDir());
  manager.SetSkinName("overlay_skin");
  ASSERT_EQ(manager.GeneralData.size(), 1u);

  TStringList overlay;
  overlay.SetText(
      "[BUTTON]\r\nCOLOR = 0x0000FF\r\n"
      "[MYBUTTON]\r\nPARENTCLASS = button\r\nFONTCOLOR = 0x0000FF\r\nHOTCOLOR=-1\r\n"
      "[MYEDIT]\r\nCOLOR=0xFF00000F\r\nGLYPH=extra.bmp\r\nGRADIENTDATA=1;2;50;0;0\r\n");
  manager.SetCommonSections(overlay);  // read again with the overlay

  EXPECT_EQ(manager.CommonSections()[1], "COLOR=0x0000FF");
  ASSERT_EQ(manager.GeneralData.size(), 3u);
  EXPECT_EQ(Section(manager, "BUTTON").Color, 0x112233);
  const TsGeneralData& mine = Section(manager, "MYBUTTON");
  EXPECT_EQ(mine.ParentClass, "BUTTON");
  EXPECT_EQ(mine.Color, 0x112233);       // from the parent record
  EXPECT_EQ(mine.HotColor, 0x445566);    // -1 counts as absent
  EXPECT_EQ(mine.FontColor[0], 0xFF);
  const TsGeneralData& edit = Section(manager, "MYEDIT");
  EXPECT_EQ(edit.ParentClass, "-1");
  EXPECT_EQ(edit.Color, SystemColor(COLOR_BTNFACE));  // stored as written
  EXPECT_EQ(edit.GradientArray.size(), 1u);
  ASSERT_EQ(manager.Masks.size(), 1u);
  EXPECT_EQ(manager.Masks[0].SectionName, "MYEDIT");
  EXPECT_EQ(manager.Masks[0].PropertyName, "GLYPH");
  EXPECT_EQ(manager.Masks[0].ImageCount, 3);
}

TEST(SkinRecords, StateSizes) {
  const struct {
    RECT R;
    int ImageCount, MaskType, Width, Height;
  } rows[] = {
      {{0, 0, 300, 60}, 3, 1, 100, 30},
      {{0, 0, 300, 60}, 0, 0, 0, 60},
      {{0, 0, 300, 60}, 3, -1, 100, 0},
      {{10, 0, 0, 7}, 3, 1, -3, 3},  // truncated toward zero
  };
  for (const auto& r : rows) {
    TsMaskData m;
    m.R = r.R;
    m.ImageCount = r.ImageCount;
    m.MaskType = r.MaskType;
    EXPECT_EQ(MaskStateWidth(m), r.Width);
    EXPECT_EQ(MaskStateHeight(m), r.Height);
  }
}

}  // namespace
