// What the common window procedure does with the mouse, menus and themes: the hovered
// control becomes the manager's mouse-over window and shows its section's glow, leaving
// releases the glows, a control that goes takes its glow with it, a context menu goes to the
// skinned menus, and an unskinned control lets the theme message through.
#include <gtest/gtest.h>

#include "framework/menus.h"
#include "skin/engine/colour_utils.h"
#include "skin/engine/glow.h"
#include "skin/engine/tests/pixels_fixtures.h"
#include "skin/engine/tests/skinning_double.h"
#include "skin/engine/tests/state_fixture.h"

namespace efir::test {
namespace {

using Box = Skinned<TCustomControl>;

class ControlMouseTest : public SkinStateTest {
 protected:
  void SetUp() override {
    SkinStateTest::SetUp();
    TsGeneralData& s = manager.GeneralData.emplace_back();
    s.SectionName = "GLOWING";
    s.GlowCount = 1;
    TsMaskData& m = manager.Masks.emplace_back();
    m.SectionName = "GLOWING", m.PropertyName = "GLOW0", m.ImgType = itisaGlow, m.Manager = &manager;
    m.R = {0, 0, 12, 12}, m.ImageCount = 1, m.WL = m.WT = m.WR = m.WB = 4, m.StretchMode = 4;
    m.Image = Solid(12, 12, pf32bit, clBlue, 255);
  }
  void TearDown() override {
    ReleaseAllGlows();
    SkinStateTest::TearDown();
  }
  static bool AGlowShows() { return FindWindowW(GlowWindowClass, nullptr) != nullptr; }
};

TEST_F(ControlMouseTest, TheHoveredControlBecomesTheMouseOverWindowAndShowsItsGlowUntilTheMouseLeaves) {
  ASSERT_TRUE(LayeredWindowsAvailable());
  auto* first = Place(form, "PANEL", {10, 10, 60, 40});
  auto* second = Place(form, "GLOWING", {80, 10, 140, 40});
  first->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(manager.HotWindow, first->Handle());
  EXPECT_FALSE(AGlowShows()) << "its section has no glow";
  first->Commands.clear();
  second->Perform(CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(manager.HotWindow, second->Handle());
  EXPECT_EQ(first->Commands, std::vector<WORD>{SKC_MOUSELEAVE});
  EXPECT_NE(second->SkinData->GlowIndex, -1);
  EXPECT_TRUE(AGlowShows());
  second->Perform(CM_MOUSELEAVE, 0, 0);
  EXPECT_FALSE(AGlowShows());

  second->Perform(CM_MOUSEENTER, 0, 0);
  ASSERT_TRUE(AGlowShows());
  manager.SetAllowGlowing(false);
  second->SkinData->UpdateGlow(true, nullptr);
  EXPECT_TRUE(AGlowShows()) << "not allowed: nothing changes";
  manager.SetAllowGlowing(true);
  second->SkinData->UpdateGlow(true, nullptr);
  EXPECT_FALSE(AGlowShows()) << "toggled off";
  EXPECT_EQ(second->SkinData->GlowIndex, -1);
}

TEST_F(ControlMouseTest, AControlThatGoesOrMovesTakesItsGlowWithIt) {
  auto* box = Place(form, "GLOWING", {80, 10, 140, 40});
  box->Perform(CM_MOUSEENTER, 0, 0);
  ASSERT_TRUE(AGlowShows());
  box->SetEnabled(false);
  EXPECT_FALSE(AGlowShows()) << "disabled";
  box->SetEnabled(true);
  box->Perform(CM_MOUSEENTER, 0, 0);
  ASSERT_TRUE(AGlowShows());
  box->Free();
  EXPECT_FALSE(AGlowShows()) << "freed";
}

TEST_F(ControlMouseTest, AContextMenuGoesToTheSkinnedMenusAndThemesPassUnskinnedControls) {
  RecordingSkinning skinning;
  auto* box = Place(form, "PANEL");
  auto* menu = new TPopupMenu(form);
  box->SetPopupMenu(menu);
  box->Perform(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(box->Handle()), MAKELPARAM(-1, -1));
  EXPECT_EQ(skinning.Menu, menu);
  EXPECT_TRUE(skinning.MenuActive);

  box->Reached.clear();
  SendMessageW(box->Handle(), WM_UPDATEUISTATE, 0, 0);
  EXPECT_FALSE(box->ReachedOwnHandling(WM_UPDATEUISTATE)) << "skinned: consumed";
  auto* plain = Place(form, "NO SUCH SECTION");
  SendMessageW(plain->Handle(), WM_UPDATEUISTATE, 0, 0);
  EXPECT_TRUE(plain->ReachedOwnHandling(WM_UPDATEUISTATE));
}

}  // namespace
}  // namespace efir::test
