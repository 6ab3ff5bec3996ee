// Fades between a skinned control's looks, with the frames turned by hand: how many frames a
// fade shows and what each one puts on the screen, when no fade starts at all, and that a fade
// ends with its control and gives back every picture it made.
#include <gtest/gtest.h>

#include "framework/tests/ui_fixture.h"
#include "skin/engine/s_bit_btn.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/tests/control_fixtures.h"
#include "tests/support/capture.h"
#include "tests/support/window.h"

namespace {

using namespace efir::test;

class FadeButton : public Watched<TsBitBtn> {
 public:
  using Watched::Watched;
  using Watched::RepaintFaded;
};

TEST(FadeEventAllowed, TheControlsEventsElseTheManagersButtonEvents) {
  TsSkinManager manager(nullptr);
  struct Row {
    TacAnimatEvent Event;
    TacAnimatEvents Control;
    TacBtnEvents Manager;
    bool Allowed;
  };
  const Row rows[] = {
      {aeMouseEnter, {aeMouseEnter}, {}, true},
      {aeMouseEnter, {aeMouseLeave}, {beMouseEnter}, false},
      {aeMouseEnter, {aeGlobalDef}, {beMouseEnter}, true},
      {aeMouseEnter, {aeGlobalDef}, {beMouseLeave, beMouseDown, beMouseUp}, false},
      {aeMouseDown, {aeGlobalDef}, {beMouseDown}, true},
      {aeMouseUp, {aeGlobalDef}, {beMouseUp}, true},
      {aeGlobalDef, {aeGlobalDef}, {}, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << "event " << int(row.Event) << " manager wants up "
                                    << row.Manager.Has(beMouseUp));
    manager.AnimEffects.Buttons.Events = row.Manager;
    EXPECT_EQ(FadeEventAllowed(row.Event, row.Control, nullptr), row.Allowed);
    EXPECT_EQ(FadeEventAllowed(row.Event, row.Control, &manager), row.Allowed);
  }
}

TEST(FadeEventAllowed, WithoutAnyManagerOnlyTheControlsOwnEvents) {
  EXPECT_FALSE(FadeEventAllowed(aeMouseEnter, {aeGlobalDef}, nullptr));
  EXPECT_TRUE(FadeEventAllowed(aeMouseEnter, {aeMouseEnter}, nullptr));
}

class FadeTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    UseSkin(manager, SkinsFolder(), "EfirNight");
  }

  // A button without caption, shown and painted: its image is current.
  FadeButton* NewButton() {
    TForm* form = NewForm(160, 80);
    auto* button = new FadeButton(form);
    button->SetParent(form);
    button->SetBounds(10, 10, 120, 46);
    pumpFor(50);
    Printed(button);
    EXPECT_FALSE(button->SkinData->BackgroundChanged);
    return button;
  }
  TsGeneralData& Section(FadeButton* button) {
    return manager.GeneralData[static_cast<size_t>(button->SkinData->SectionIndex)];
  }
  // The middle of the button as the screen shows it.
  static TColor OnScreen(FadeButton* button) { return captureWindow(button->Handle()).at(60, 23); }
  static TColor Middle(TBitmap& b) { return At(b, 60, 23); }

  // A button made hot with a fade; `normal` and `hot` get its two looks.
  FadeButton* FadingToHot(std::unique_ptr<TBitmap>& normal, std::unique_ptr<TBitmap>& hot) {
    FadeButton* button = NewButton();
    normal = Printed(button);
    button->SkinData->MouseOver = true;
    button->RepaintFaded(aeMouseEnter, false);
    EXPECT_TRUE(button->FadeRunning());
    hot = Printed(button);  // a running fade shows the new image, already built
    return button;
  }

  TsSkinManager manager{nullptr};
  HandClocks clocks;
};

// A window paint in the middle of a fade (the window uncovered, say) leaves the fade's frame
// on the screen: the finished look does not flash in between.
TEST_F(FadeTest, APaintDuringAFadeKeepsTheFadesFrame) {
  std::unique_ptr<TBitmap> normal, hot;
  FadeButton* button = FadingToHot(normal, hot);
  ASSERT_EQ(clocks.Tick(), 1);
  const TColor frame = OnScreen(button);
  ASSERT_NE(frame, Middle(*hot));
  InvalidateRect(button->Handle(), nullptr, FALSE);
  UpdateWindow(button->Handle());
  EXPECT_EQ(OnScreen(button), frame);
  while (clocks.Tick() > 0) {
  }
  EXPECT_EQ(OnScreen(button), Middle(*hot)) << "the fade ends on the new look";
}

// Each frame is (old × W + new × (255 − W) + 127) / 256 with W = 255 − step × 256 / N, the
// last one the new look alone; then the fade ends and its clock is gone.
TEST_F(FadeTest, AFullFadeShowsItsFramesFromOldToNewLook) {
  std::unique_ptr<TBitmap> normal, hot;
  FadeButton* button = FadingToHot(normal, hot);
  ASSERT_NE(Middle(*normal), Middle(*hot));
  const int n = Section(button).FadingIterations;
  ASSERT_EQ(n, 5);
  for (int step = 1; step <= n; ++step) {
    SCOPED_TRACE(step);
    ASSERT_EQ(clocks.Tick(), 1);
    const int w = std::max(0, 255 - step * 256 / n);
    TColor expected = 0;
    for (int shift : {0, 8, 16}) {
      const int o = Middle(*normal) >> shift & 0xFF, h = Middle(*hot) >> shift & 0xFF;
      expected |= static_cast<TColor>((o * w + h * (255 - w) + 127) >> 8) << shift;
    }
    EXPECT_EQ(OnScreen(button), expected);
  }
  EXPECT_EQ(OnScreen(button), Middle(*hot));
  EXPECT_EQ(clocks.Tick(), 1);  // the tick that ends it
  EXPECT_EQ(clocks.Count(), 0);
  EXPECT_FALSE(button->FadeRunning());
  ASSERT_EQ(button->Frames.size(), static_cast<size_t>(n));
  for (HBITMAP frame : button->Frames) EXPECT_EQ(GetObjectType(frame), 0u) << "each frame is freed";
}

// When a state change fades, and in how many frames; with no fade the new look shows at once.
TEST_F(FadeTest, FramesByCase) {
  struct Row {
    const char* Name;
    bool HalfSteps;
    void (*Arrange)(FadeButton*, TsGeneralData&);
    int Frames;
  };
  const Row rows[] = {
      {"full", false, [](FadeButton*, TsGeneralData&) {}, 5},
      {"press or release", true, [](FadeButton*, TsGeneralData&) {}, 2},
      {"three iterations", false, [](FadeButton*, TsGeneralData& s) { s.FadingIterations = 3; }, 3},
      {"section does not fade", false, [](FadeButton*, TsGeneralData& s) { s.FadingEnabled = false; }, 0},
      {"control refuses the event", false, [](FadeButton* b, TsGeneralData&) { b->SetAnimatEvents({aeMouseLeave}); },
       0},
      {"skin loading", false, [](FadeButton*, TsGeneralData&) { SkinLoading = true; }, 0},
      {"image already stale", false, [](FadeButton* b, TsGeneralData&) { b->SkinData->BackgroundChanged = true; },
       0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Name);
    FadeButton* button = NewButton();
    TsGeneralData saved = Section(button);
    row.Arrange(button, Section(button));
    const int rebuilds = button->Rebuilds;
    button->SkinData->MouseOver = true;
    button->RepaintFaded(aeMouseEnter, row.HalfSteps);
    SkinLoading = false;
    if (row.Frames == 0) {
      EXPECT_EQ(clocks.Count(), 0) << "no fade is made";
      EXPECT_EQ(button->Rebuilds, rebuilds + 1) << "the new look is built and shown at once";
    } else {
      EXPECT_EQ(clocks.TickToEnd(), row.Frames + 1);
      EXPECT_EQ(button->Frames.size(), static_cast<size_t>(row.Frames));
    }
    EXPECT_EQ(OnScreen(button), Middle(*Printed(button)));
    Section(button) = saved;
  }
}

TEST_F(FadeTest, DisablingDuringAFadeStopsItAndShowsTheDisabledLook) {
  std::unique_ptr<TBitmap> normal, hot;
  FadeButton* button = FadingToHot(normal, hot);
  ASSERT_EQ(clocks.Tick(), 1);
  button->SetEnabled(false);
  clocks.Tick();
  EXPECT_EQ(clocks.Tick(), 0) << "the fade stopped";
  EXPECT_FALSE(button->FadeRunning());
  pumpFor(50);
  EXPECT_EQ(OnScreen(button), Middle(*Printed(button)));
  EXPECT_NE(OnScreen(button), Middle(*hot));
}

TEST_F(FadeTest, AFadeEndsWithItsControlAndGivesBackItsPictures) {
  std::unique_ptr<TBitmap> normal, hot;
  FadeButton* button = FadingToHot(normal, hot);
  ASSERT_EQ(clocks.Tick(), 1);
  const HBITMAP cache = button->SkinData->CacheBitmap->Handle();
  const HBITMAP frame = button->Frames.at(0);
  button->Free();
  EXPECT_EQ(clocks.Count(), 0);
  EXPECT_EQ(clocks.Tick(), 0);
  EXPECT_EQ(GetObjectType(cache), 0u);
  EXPECT_EQ(GetObjectType(frame), 0u);
}

TEST_F(FadeTest, TheOwnManagersSkinChangeStopsAFade) {
  for (WORD subCommand : {SKC_NEWSKIN, SKC_REFRESH, SKC_REMOVESKIN}) {
    SCOPED_TRACE(subCommand);
    std::unique_ptr<TBitmap> normal, hot;
    FadeButton* button = FadingToHot(normal, hot);
    ASSERT_EQ(clocks.Tick(), 1);
    SendMessageW(button->Handle(), SM_ALPHACMD, MakeSkinWParam(subCommand), reinterpret_cast<LPARAM>(&manager));
    EXPECT_EQ(clocks.Count(), 0);
    EXPECT_FALSE(button->FadeRunning());
  }
}

}  // namespace
