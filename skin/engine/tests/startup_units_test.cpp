// What the skin engine's start-up leaves behind: OLE initialised for the run, the state-button
// pictures, the desktop's shell node, the library strings, and the built-in shadows.
#include <gtest/gtest.h>

#include <ole2.h>

#include "framework/bitmap.h"
#include "skin/engine/alpha_image_list.h"
#include "skin/engine/embedded_data.h"
#include "skin/engine/skin_startup.h"
#include "skin/engine/startup_units.h"

namespace {

TEST(StartupUnits, TheYearHasFourDigitsOnlyWhenTheFormatSaysSoInAnyCase) {
  const struct {
    const char* Format;
    bool FourDigits;
  } cases[] = {{"dd.MM.yyyy", true}, {"dd/mm/YYYY", true}, {"yYyY-mm-dd", true}, {"dd.MM.yy", false}, {"yyy", false}};
  for (const auto& c : cases) EXPECT_EQ(HasFourDigitYear(c.Format), c.FourDigits) << c.Format;
}

TEST(StartupUnits, ALibraryThatCannotBeLoadedLeavesItsStringEmpty) {
  EXPECT_TRUE(LoadLibraryString(L"NoSuchLibraryAnywhere", 900).empty());
  EXPECT_TRUE(LoadLibraryString(L"User32", 65000).empty());
}

TEST(StartupUnits, StartingKeepsOleForTheRunAndBuildsTheStateButtonsAndTheDesktopNode) {
  StartSkinEngine();
  EXPECT_EQ(OleInitialize(nullptr), S_FALSE) << "OLE was not initialised by the start-up";
  OleUninitialize();
  ASSERT_NE(StateButtonImages, nullptr);
  EXPECT_EQ(StateButtonImages->Count(), 5);
  EXPECT_EQ(StateButtonImages->Width(), 48);
  EXPECT_EQ(StateButtonImages->Height(), 16);
  ASSERT_NE(DesktopFolderNode, nullptr);
  EXPECT_EQ(DesktopFolderNode->Level(), 0);
  EXPECT_EQ(ItemIdListSize(DesktopFolderNode->FullList()), ItemIdListSize(DesktopFolderNode->OwnList()));
  ASSERT_TRUE(ShadowPngActive && ShadowPngInactive);
  EXPECT_EQ(ShadowPngActive->PixelFormat(), pf32bit);
  EXPECT_EQ(ShadowPngActive->Width(), 64);
  StopSkinEngine();
  EXPECT_EQ(StateButtonImages, nullptr);
  EXPECT_EQ(DesktopFolderNode, nullptr);
  EXPECT_FALSE(ShadowPngActive);
}

TEST(EmbeddedData, EverySkinAndPictureTheLayoutsNameIsBuiltIn) {
  for (const char* name : {"EfirNight", "EfirDusk", "EfirForest", "EfirGraphite", "acSHDA", "acSHDI", "SF", "SR", "SD",
                           "SE", "SC"}) {
    auto bytes = efir::skin::FindEmbeddedData(name);
    ASSERT_TRUE(bytes) << name;
    EXPECT_GT(bytes->size(), 100u) << name;
  }
  EXPECT_FALSE(efir::skin::FindEmbeddedData("efirnight")) << "names are exact";
}

}  // namespace
