// The adapters of other component sets' controls: the grid adapter reaches a grid it does
// not know by class through the grid's published properties (it takes the skin's colours for
// the ones the grid has, leaves the rest, and writes the grid's own colours back when it
// goes); a panel's bevels choose its section.
#include "skin/forms/grid_adapters.h"
#include "skin/forms/pane_adapters.h"

#include "framework/tests/ui_fixture.h"
#include "skin/engine/common_data.h"
#include "skin/engine/published_props.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/forms/tests/dialog_fixtures.h"
#include "tests/support/window.h"

#include <gtest/gtest.h>

namespace {

using efir::test::Hex;

constexpr TColor kGlobal = 0x203040, kGlobalInk = 0x00E0E0, kEditInk = 0x0000C0;

// A grid of another component set: it publishes some colours, and no ControlLook.
struct GridColours {
  TColor Fixed = 0x00C0C0C0, TitleInk = 0x00101010, Footer = 0x00F0F0F0, Selection = 0x00FF0000;
};

class TForeignGrid : public TCustomControl, public GridColours {
 public:
  using TCustomControl::TCustomControl;
};

void RegisterForeignGrid() {
  static bool done = false;
  if (done) return;
  done = true;
  auto colour = [](const char* name, TColor GridColours::*field) {
    RegisterPublishedProp(OrdinalProp<TForeignGrid>(
        name, [field](TForeignGrid& g) { return g.*field; },
        [field](TForeignGrid& g, int64_t v) { g.*field = static_cast<TColor>(v); }));
  };
  colour("FixedColor", &GridColours::Fixed);
  colour("TitleFont.Color", &GridColours::TitleInk);
  colour("FooterColor", &GridColours::Footer);
  colour("SelectionColor", &GridColours::Selection);
}

std::string WriteGridSkin() {
  const std::string options = "[GLOBALINFO]\r\nCOLOR=" + Hex(kGlobal) + "\r\nHOTCOLOR=" + Hex(kGlobal) +
                              "\r\nFONTCOLOR=" + Hex(kGlobalInk) + "\r\n[EDIT]\r\nCOLOR=" + Hex(clWhite) +
                              "\r\nFONTCOLOR=" + Hex(kEditInk) + "\r\n";
  const std::string dir = efir::GetCurrentDir() + "\\grid_skins";
  efir::test::ScratchFolder scratch("grid_skins");
  efir::test::WriteSkinFolder(dir + "\\Grid", {{"Options.dat", options}});
  return dir;
}

class GridAdapter : public efir::test::UiTest {};

TEST_F(GridAdapter, TakesTheSkinColoursItsGridPublishesAndGivesThemBack) {
  RegisterForeignGrid();
  TsSkinManager manager(nullptr);
  manager.SetSkinDirectory(WriteGridSkin());
  manager.SetSkinName("Grid");
  ASSERT_TRUE(manager.Active());
  TForm* form = NewForm();
  auto* grid = new TForeignGrid(form);
  grid->SetParent(form);
  grid->SetBounds(10, 10, 200, 120);
  grid->HandleNeeded();
  TsCommonData data(grid, true);
  data.SetSkinManager(&manager);
  data.SetSkinSection("EDIT");
  const GridColours before = *grid;

  auto adapter = AttachAdapter<TacGridWnd>(grid->Handle(), &data, &manager, "EDIT", false);
  adapter->ApplySkinLook();
  EXPECT_EQ(grid->Fixed, GlobalInfoColor(&manager));
  EXPECT_EQ(grid->TitleInk, GlobalInfoFontColor(&manager));
  EXPECT_EQ(grid->Footer, GlobalInfoColor(&manager));
  EXPECT_EQ(grid->Selection, before.Selection) << "without ControlLook the selection colours are the grid's";

  adapter->Detach(false);
  EXPECT_EQ(grid->Fixed, before.Fixed);
  EXPECT_EQ(grid->TitleInk, before.TitleInk);
  EXPECT_EQ(grid->Footer, before.Footer);
  adapter.reset();
  manager.SetActive(false);
}

TEST(PanelAdapter, BevelsChooseTheSection) {
  const struct {
    TBevelCut outer, inner;
    bool bordered;
    const char* section;
  } cases[] = {{bvLowered, bvRaised, false, "GROUPBOX"}, {bvLowered, bvNone, false, "PANEL_LOW"},
               {bvLowered, bvLowered, false, "PANEL_LOW"}, {bvRaised, bvLowered, false, "GROUPBOX"},
               {bvRaised, bvNone, false, "PANEL"},        {bvRaised, bvRaised, false, "PANEL"},
               {bvNone, bvRaised, true, "PANEL_LOW"},     {bvNone, bvRaised, false, "CHECKBOX"}};
  for (const auto& c : cases)
    EXPECT_EQ(PanelSectionForBevels(c.outer, c.inner, c.bordered), c.section) << c.outer << "/" << c.inner;
}

}  // namespace
