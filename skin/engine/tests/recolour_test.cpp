#include "skin/engine/skin_recolour.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "framework/files.h"
#include "framework/tests/core_test_files.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/tests/pixels_fixtures.h"
#include "skin/engine/tests/skin_fixtures.h"

namespace efir::test {
namespace {

constexpr TColor kKey = 0xFF00FF;

// A small skin held in memory: a master bitmap of one row, one picture of its own in 32 bits
// and one in 24 bits, and a section with every kind of record colour.
struct SmallSkin {
  TsSkinManager Manager{nullptr};

  explicit SmallSkin(const std::vector<TColor>& masterRow) {
    Manager.MasterBitmap = std::make_unique<TBitmap>(static_cast<int>(masterRow.size()), 1, pf24bit);
    for (size_t x = 0; x < masterRow.size(); ++x) Put(*Manager.MasterBitmap, static_cast<int>(x), 0, masterRow[x]);
  }
  // A picture of the master bitmap: the piece from column x, one pixel.
  void AddMasterPiece(const std::string& section, const std::string& key, int x) {
    TsMaskData& m = Manager.Masks.emplace_back();
    m.SectionName = section, m.PropertyName = key, m.R = {x, 0, x + 1, 1}, m.ImageCount = 1, m.Manager = &Manager;
  }
  // A picture of its own, 2 x 1 pixels.
  TBitmap& AddPicture(const std::string& section, const std::string& key, TPixelFormat format, TColor a, TColor b,
                      uint8_t alpha = 0) {
    TsMaskData& m = Manager.Masks.emplace_back();
    m.SectionName = section, m.PropertyName = key, m.ImageCount = 1, m.Manager = &Manager;
    m.Image = std::make_unique<TBitmap>(2, 1, format);
    Put(*m.Image, 0, 0, a, alpha);
    Put(*m.Image, 1, 0, b, alpha);
    return *m.Image;
  }
  TColor Master(int x) { return At(*Manager.MasterBitmap, x, 0); }
};

TEST(recolour_Pixels, HueAndSaturationTable) {
  struct Case {
    const char* name;
    int hue, saturation;
    TColor before, after;
  };
  const Case cases[] = {
      {"red +120 is green", 120, 0, clRed, clLime},
      {"green +120 is blue", 120, 0, clLime, clBlue},
      {"red -120 is blue", -120, 0, clRed, clBlue},
      {"red +480 is green", 480, 0, clRed, clLime},
      {"grey keeps its hue", 120, 0, 0x808080, 0x808080},
      {"key colour stays", 120, 0, kKey, kKey},
      {"red to its grey", 0, -100, clRed, Grey(85)},
      {"key colour stays unsaturated", 0, -100, kKey, kKey},
      {"saturation 40 moves away from grey", 0, 40, 0x6496C8, 0x5096DC},
      {"saturation 150 counts as 49", 0, 150, 0x6496C8, 0x4C96E0},
      {"hue then saturation", 120, -100, clRed, Grey(85)},
      {"nothing for 0 and 0", 0, 0, 0x123456, 0x123456},
      {"a full turn changes nothing", 360, 0, 0x123456, 0x123456},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SmallSkin skin({c.before});
    TBitmap& own32 = skin.AddPicture("BUTTON", "BORDERSMASK", pf32bit, c.before, kKey, 77);
    TBitmap& own24 = skin.AddPicture("EDIT", "BORDERSMASK", pf24bit, c.before, kKey);
    ChangeSkinHue(skin.Manager, c.hue);
    ChangeSkinSaturation(skin.Manager, c.saturation);
    EXPECT_EQ(skin.Master(0), c.after);
    EXPECT_EQ(At(own32, 0, 0), c.after);
    EXPECT_EQ(AlphaAt(own32, 0, 0), 77);
    EXPECT_EQ(At(own32, 1, 0), kKey);
    EXPECT_EQ(At(own24, 0, 0), c.after);
    EXPECT_EQ(At(own24, 1, 0), kKey);
  }
}

TEST(recolour_Records, SectionAndSkinColoursChangeButNoneStays) {
  SmallSkin skin({clRed});
  TsGeneralData& s = skin.Manager.GeneralData.emplace_back();
  s.SectionName = "BUTTON";
  s.Color = clRed, s.HotColor = clLime;
  s.FontColor = {clRed, -1, clLime, -1, -1};
  s.HotFontColor = {clLime, clRed, -1, -1, -1};
  s.GradientArray = {{clRed, clLime, 50, 0}};
  s.HotGradientArray = {{clLime, clRed, 50, 0}, {clRed, clRed, 50, 0}};
  skin.Manager.LoadedSkin.Shadow1Color = clRed;
  skin.Manager.LoadedSkin.BorderColor = clLime;
  ChangeSkinHue(skin.Manager, 120);
  EXPECT_EQ(s.Color, clLime);
  EXPECT_EQ(s.HotColor, clBlue);
  EXPECT_EQ(s.FontColor[0], clLime);
  EXPECT_EQ(s.FontColor[1], -1);
  EXPECT_EQ(s.FontColor[2], clBlue);
  EXPECT_EQ(s.HotFontColor[1], clLime);
  EXPECT_EQ(s.HotFontColor[2], -1);
  EXPECT_EQ(s.GradientArray[0].Color1, clLime);
  EXPECT_EQ(s.GradientArray[0].Color2, clBlue);
  EXPECT_EQ(s.HotGradientArray[1].Color2, clLime);
  EXPECT_EQ(skin.Manager.LoadedSkin.Shadow1Color, clLime);
  EXPECT_EQ(skin.Manager.LoadedSkin.BorderColor, clBlue);

  // A system colour is saturated as the colour it stands for, never as its index byte.
  s.Color = clHighlight;
  s.FontColor[1] = -1;
  ChangeSkinSaturation(skin.Manager, -100);
  const COLORREF highlight = ColorToRGB(clHighlight);
  const int grey = static_cast<int>(std::nearbyint((GetRValue(highlight) + GetGValue(highlight) + GetBValue(highlight)) / 3.0));
  EXPECT_NEAR(s.Color & 0xFF, grey, 1);
  EXPECT_EQ(s.Color & 0xFF, (s.Color >> 16) & 0xFF);
  EXPECT_EQ(s.FontColor[1], -1);
}

TEST(recolour_KeepHue, TitleGlyphsKeepTheirColoursAsTheSkinAsks) {
  // Columns: close glyph, maximize glyph, the rest of the master bitmap.
  struct Case {
    int keepHue;
    bool closeKept, maxKept;
  };
  for (const Case& c : {Case{0, false, false}, Case{1, true, true}, Case{2, true, false}}) {
    SCOPED_TRACE(c.keepHue);
    SmallSkin skin({clRed, clRed, clRed});
    skin.Manager.LoadedSkin.BIKeepHue = c.keepHue;
    skin.AddMasterPiece("GLOBALINFO", "BICONCLOSE", 0);
    skin.AddMasterPiece("GLOBALINFO", "BICONMAX", 1);
    TBitmap& smallClose = skin.AddPicture("GLOBALINFO", "SICONCLOSE", pf24bit, clRed, clRed);
    TBitmap& closeGlow = skin.AddPicture("GLOBALINFO", "BICONCLOSEGLOW0", pf32bit, clRed, clRed, 255);
    ChangeSkinHue(skin.Manager, 120);
    EXPECT_EQ(skin.Master(0), c.closeKept ? clRed : clLime);
    EXPECT_EQ(skin.Master(1), c.maxKept ? clRed : clLime);
    EXPECT_EQ(skin.Master(2), clLime);
    EXPECT_EQ(At(smallClose, 0, 0), c.closeKept ? clRed : clLime);
    EXPECT_EQ(At(closeGlow, 1, 0), c.closeKept ? clRed : clLime);
  }
}

TEST(recolour_Manager, SkinIsRecolouredWhenReadAndReadAfreshOnEachChange) {
  ScratchFolder scratch("recolour");
  const std::string dir = efir::GetCurrentDir() + "\\recolour";
  WriteSkinFolder(dir + "\\S", {{"Options.dat", "[BUTTON]\r\nCOLOR=0x0000FF\r\nHOTCOLOR=0x808080\r\n"}});
  TsSkinManager manager(nullptr);
  manager.SetSkinDirectory(dir);
  manager.SetHueOffset(60);
  manager.SetSkinName("S");
  manager.SetHueOffset(120);  // from the skin's red, not from the red already turned by 60
  EXPECT_EQ(manager.GeneralData.at(0).Color, clLime);
  EXPECT_EQ(manager.GeneralData.at(0).HotColor, 0x808080);
  manager.SetSaturation(-100);
  EXPECT_EQ(manager.GeneralData.at(0).Color, Grey(85));
  manager.SetHueOffset(0);
  manager.SetSaturation(0);
  EXPECT_EQ(manager.GeneralData.at(0).Color, clRed);
}

}  // namespace
}  // namespace efir::test
