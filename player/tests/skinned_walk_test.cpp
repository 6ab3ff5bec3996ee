// Every control of a skinned class on every window of the player paints from a section of
// the active skin: no plain grey control shows on the dark windows.
#include <gtest/gtest.h>

#include "player/about_box.h"
#include "player/main_window.h"
#include "player/qr_dialog.h"
#include "player/search_dialog.h"
#include "player/settings_dialog.h"
#include "player/station_dialog.h"
#include "player/tests/player_fixture.h"
#include "player/update_notice.h"
#include "skin/engine/tests/skinned_walk.h"
#include "tests/support/capture.h"

namespace {

using player_test::ConfigLines;
using player_test::PlayerTest;
using player_test::PumpUntil;
using player_test::WriteLines;

using SkinnedPlayer = PlayerTest;

TEST_F(SkinnedPlayer, EveryControlOfASkinnedClassPaintsFromASkinSection) {
  WriteLines(Config(), ConfigLines(0, 0, 40, -1, 400, 80));
  Start();
  ASSERT_TRUE(shown.empty()) << shown.front();
  // A scroll bar made before the skin came makes its window again once its queue runs.
  PumpUntil([] { return Form1->sScrollBar1->PlainWindow(); });
  efir::test::SkinnedWalk walk;
  for (TWinControl* window : std::initializer_list<TWinControl*>{Form1, Form2, Form3, Form4, Form5, Form6, Form7})
    if (window) walk.Visit(window);
  EXPECT_TRUE(walk.Plain.empty()) << walk.Plain.size() << " plain, the first " << walk.Plain.front();
  // The windows hold every skinned class the player uses.
  for (const char* used : {"TsCheckBox", "TsBitBtn", "TsButton", "TsEdit", "TsComboBox", "TsLabel", "TsTrackBar",
                           "TsScrollBar"})
    EXPECT_GT(walk.Seen[used], 0) << used;

  // The settings dialog as the user sees it: check boxes, sliders and the preset box.
  Form1->Image7->OnClick(Form1->Image7);
  ASSERT_TRUE(PumpUntil([] { return IsWindowVisible(Form2->Handle()) != 0; }));
  PumpUntil([] { return false; }, 200);
  efir::test::saveScreenshot(Form2->Handle(), "player-settings-skinned");
}

}  // namespace
