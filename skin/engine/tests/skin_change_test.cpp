// One manager going from skin to skin: nothing of the previous skin may leak into the next.
#include "skin/engine/skin_manager.h"

#include <gtest/gtest.h>

#include "framework/files.h"
#include "framework/tests/core_test_files.h"
#include "skin/engine/item_paint.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/tests/pixels_fixtures.h"
#include "skin/engine/tests/skin_fixtures.h"

namespace {

using efir::test::BmpBytes;
using efir::test::WriteSkinFolder;

constexpr TColor kFrame = 0x3050A0;  // the master bitmap's colour: every frame is drawn in it

// The same sections in two orders: GLOBALINFO first in one skin, a framed section first in
// the other.
std::string Definition(bool globalFirst) {
  const std::string frame = "BORDERSMASK=^0000,0000,0030,0010,0002,0002,0002,0002,3,0,0,0\r\n";
  const std::string global = "[GLOBALINFO]\r\nMASTERBITMAP=M.BMP\r\n";
  const std::string framed = "[BUTTON]\r\n" + frame + "[EDIT]\r\n" + frame + "[PANEL]\r\nPARENTCLASS=EDIT\r\n";
  return globalFirst ? global + framed : framed + global;
}

TEST(SkinChange, ASecondSkinLoadedByNameKeepsEverySectionsFrame) {
  efir::test::ScratchFolder scratch("skin_change");
  const std::string dir = efir::GetCurrentDir() + "\\skin_change";
  WriteSkinFolder(dir + "\\Framed", {{"Options.dat", Definition(false)}, {"M.BMP", BmpBytes(30, 10, kFrame)}});
  WriteSkinFolder(dir + "\\Global", {{"Options.dat", Definition(true)}, {"M.BMP", BmpBytes(30, 10, kFrame)}});
  TsSkinManager manager(nullptr);
  manager.SetSkinDirectory(dir);
  for (const char* name : {"Framed", "Global", "Framed", "Global"}) {
    SCOPED_TRACE(name);
    manager.SetSkinName(name);
    for (const char* section : {"BUTTON", "EDIT", "PANEL"}) {
      SCOPED_TRACE(section);
      const int index = SectionIndexByName(&manager, section);
      ASSERT_GE(index, 0);
      EXPECT_EQ(manager.GeneralData[static_cast<size_t>(index)].BorderIndex,
                MaskIndexByName(&manager, index, section, "BORDERSMASK"));
      auto painted = efir::test::Solid(20, 20, pf24bit, 0xFFFFFF);
      RenderSectionItem(index, section, EmptyCacheSourceInfo, true, 0, {0, 0, 20, 20}, {0, 0}, painted.get(),
                        &manager, -1, -1);
      EXPECT_EQ(efir::test::At(*painted, 0, 0), kFrame);
      EXPECT_EQ(efir::test::At(*painted, 19, 19), kFrame);
    }
  }
}

}  // namespace
