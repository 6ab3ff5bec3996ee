// The player starts skinned with no call of its own: the main window's four managers carry
// their built-in skins, the first is the default one with EfirNight, and the skinned bit
// buttons and check boxes paint from it on the screen.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>

#include "player/main_window.h"
#include "player/settings_dialog.h"
#include "player/tests/player_fixture.h"
#include "skin/engine/skin_lookups.h"
#include "tests/support/capture.h"
#include "tests/support/paths.h"

namespace {

using player_test::ConfigLines;
using player_test::PlayerTest;
using player_test::PumpUntil;
using player_test::WriteLines;

// Within a few steps of each channel: the screen may round a blend.
bool Near(COLORREF a, COLORREF b, int tolerance = 12) {
  for (int shift : {0, 8, 16})
    if (std::abs(static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF)) > tolerance) return false;
  return true;
}

std::string SaveForLooking(const efir::test::Image& image, const std::string& name) {
  std::string path = efir::test::screenshotPath(name);
  efir::test::savePng(image, path);
  return path;
}

void Settle() {
  PumpUntil([] { return false; }, 200);
}

class SkinnedStart : public PlayerTest {
 protected:
  void StartPlayer() {
    // The settings dialog opens to the left of the window: room for it on the screen.
    WriteLines(Config(), ConfigLines(0, 0, 40, -1, 400, 80));
    Start();
    ASSERT_TRUE(shown.empty()) << shown.front();
  }
};

TEST_F(SkinnedStart, TheFirstOfFourManagersIsTheDefaultWithEfirNight) {
  StartPlayer();
  EXPECT_EQ(TsSkinManager::DefaultManager(), Form1->sSkinManager1);
  const std::pair<TsSkinManager*, const char*> managers[] = {{Form1->sSkinManager1, "EfirNight"},
                                                             {Form1->sSkinManager2, "EfirDusk"},
                                                             {Form1->sSkinManager3, "EfirForest"},
                                                             {Form1->sSkinManager4, "EfirGraphite"}};
  for (const auto& [manager, name] : managers) {
    EXPECT_EQ(manager->InternalSkins().Count(), 1) << name;
    EXPECT_EQ(manager->SkinName(), name);
    EXPECT_TRUE(manager->LoadedSkin.Active) << name;
    EXPECT_GE(manager->FixedIndexes.IdxGlobalInfo, 0) << name;
  }
  EXPECT_EQ(Form2->sSkinManager1->InternalSkins().Count(), 0) << "it names a skin of the skin directory";
  EXPECT_EQ(Form2->sSkinManager1->SkinName(), "EfirNight");
  for (TsCheckBox* box : {Form1->sCheckBox2, Form2->sCheckBox2, Form2->sCheckBox4})
    EXPECT_TRUE(SkinActiveFor(box->SkinData.get(), true));
  for (TsBitBtn* button : {Form1->sBitBtn1, Form1->sBitBtn2, Form2->sBitBtn1})
    EXPECT_TRUE(SkinActiveFor(button->SkinData.get(), true));
}

TEST_F(SkinnedStart, BitButtonsAndCheckBoxesPaintFromTheSkinOnTheScreen) {
  StartPlayer();
  Form1->sBitBtn2->SetEnabled(true);
  Form1->Repaint();
  Settle();
  // Left of the play glyph lies the skin's button face (its section colour) and, at the
  // very edge, its frame's outline.
  const TsGeneralData& button = Form1->sSkinManager1->GeneralData[static_cast<size_t>(
      SectionIndexByName(Form1->sSkinManager1, "BUTTON"))];
  efir::test::Image play = efir::test::captureWindow(Form1->sBitBtn2->Handle());
  EXPECT_TRUE(Near(play.at(6, 14), static_cast<COLORREF>(button.Color))) << std::hex << play.at(6, 14);
  EXPECT_FALSE(Near(play.at(6, 14), GetSysColor(COLOR_BTNFACE)));

  Form1->Image7->OnClick(Form1->Image7);  // the settings dialog, where the boxes show
  ASSERT_TRUE(PumpUntil([] { return IsWindowVisible(Form2->Handle()) != 0; }));
  Form2->Repaint();
  Settle();
  TsCheckBox* box = Form2->sCheckBox2;
  box->SetChecked(true);
  Settle();
  efir::test::Image pixels = efir::test::captureWindow(box->Handle());
  RECT glyph = box->GlyphRect();
  bool tick = false;  // the skin's teal tick inside the glyph
  for (int y = glyph.top; y < glyph.bottom; ++y)
    for (int x = glyph.left; x < glyph.right; ++x) tick = tick || Near(pixels.at(x, y), RGB(40, 196, 180), 30);
  EXPECT_TRUE(tick) << "saved as " << SaveForLooking(pixels, "player-skinned-check-box");
  // Beyond the caption the box shows what its parent paints there, not a flat colour.
  efir::test::Image dialog = efir::test::captureWindow(Form2->Handle());
  POINT inBox{box->Width() - 3, box->Height() / 2};
  POINT inDialog = inBox;
  MapWindowPoints(box->Handle(), Form2->Handle(), &inDialog, 1);
  const int right = box->Left() + box->Width();
  EXPECT_TRUE(Near(pixels.at(inBox.x, inBox.y), dialog.at(right + 3, inDialog.y), 16))
      << std::hex << pixels.at(inBox.x, inBox.y) << " beside " << dialog.at(right + 3, inDialog.y);
}

TEST_F(SkinnedStart, AHueChangeRepaintsTheSkinnedControls) {
  StartPlayer();
  Form1->sBitBtn2->SetEnabled(true);
  Form1->Repaint();
  Settle();
  COLORREF before = efir::test::captureWindow(Form1->sBitBtn2->Handle()).at(6, 14);
  Form1->sSkinManager1->SetHueOffset(180);
  Settle();
  COLORREF after = efir::test::captureWindow(Form1->sBitBtn2->Handle()).at(6, 14);
  EXPECT_FALSE(Near(before, after, 20)) << std::hex << before << " stayed " << after;
  // Blue turned half way round is orange-brown: red now leads.
  EXPECT_GT(GetRValue(after), GetBValue(after));
}

}  // namespace
