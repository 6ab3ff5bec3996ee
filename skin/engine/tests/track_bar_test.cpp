// The skinned track bar: without a skin it is the framework's track bar, to the pixel and the
// event; with the synthetic skin each look shows its pictures on the screen, the keys and the
// mouse posted as the user's move it, its changes of look fade frame by frame, and a hot bar
// glows.
#include <gtest/gtest.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "skin/engine/glow.h"
#include "skin/engine/s_track_bar.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/tests/range_fixtures.h"
#include "tests/support/capture.h"
#include "tests/support/window.h"

namespace {

using namespace efir::test;

using WatchedBar = Watched<TsTrackBar>;

class TrackBarTest : public UiTest {
 protected:
  // A bar of 0..10 at `position`, shown and painted, counting its events.
  template <class Bar>
  Bar* NewBar(bool vertical = false, int position = 0) {
    TForm* form = NewForm(200, 140);
    auto* bar = new Bar(form);
    if (vertical) bar->SetOrientation(trVertical);
    bar->SetParent(form);
    if (vertical)
      bar->SetBounds(10, 10, 40, 120);
    else
      bar->SetBounds(10, 10, 160, 40);
    bar->SetThumbLength(23);
    bar->SetParams(position, 0, 10);
    bar->OnChange = [this](TObject*) { ++changes; };
    pumpFor(40);
    return bar;
  }
  static bool AGlowShows() { return FindWindowW(GlowWindowClass, nullptr) != nullptr; }

  int changes = 0;
};

// The keys a user presses on a focused bar, and where each leaves it.
std::vector<int> KeyWalk(TTrackBar* bar) {
  std::vector<int> positions;
  bar->SetFocus();
  for (WORD key : {VK_RIGHT, VK_RIGHT, VK_NEXT, VK_END, VK_RIGHT, VK_LEFT, VK_PRIOR, VK_HOME, VK_LEFT}) {
    PressKey(bar, key);
    positions.push_back(bar->Position());
  }
  return positions;
}

TEST_F(TrackBarTest, UnskinnedItIsTheFrameworksTrackBar) {
  ASSERT_EQ(TsSkinManager::DefaultManager(), nullptr);
  for (bool vertical : {false, true}) {
    SCOPED_TRACE(vertical ? "vertical" : "horizontal");
    auto* plain = NewBar<TTrackBar>(vertical, 3);
    const Image plainLook = captureScreenOf(plain->Handle());
    changes = 0;
    const std::vector<int> plainWalk = KeyWalk(plain);
    const int plainChanges = changes;

    auto* ours = NewBar<TsTrackBar>(vertical, 3);
    EXPECT_EQ(captureScreenOf(ours->Handle()).pixels, plainLook.pixels) << "drawn by the system";
    EXPECT_EQ(SendSkinCommandToWindow(ours->Handle(), SKC_ISSKINNED), 1) << "ours, skinned or not: never adapted";
    int userChanges = 0;
    ours->OnUserChange = [&](TObject*) { ++userChanges; };
    changes = 0;
    EXPECT_EQ(KeyWalk(ours), plainWalk);
    EXPECT_EQ(changes, plainChanges);
    EXPECT_GE(userChanges, 9) << "every key the user pressed, moving or not";

    userChanges = changes = 0;
    ours->SetPosition(50);
    EXPECT_EQ(ours->Position(), 10) << "clamped";
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(userChanges, 0) << "code is not the user";
  }
}

class SkinnedTrackBarTest : public TrackBarTest {
 protected:
  void SetUp() override {
    TrackBarTest::SetUp();
    UseSkin(manager, WriteRangeSkin(), "Ranges");
  }
  void TearDown() override {
    ReleaseAllGlows();
    TrackBarTest::TearDown();
  }
  // The bar with every fade run to its end.
  void Settle() {
    clocks.TickToEnd();
    pumpFor(30);
  }
  // A point of the channel's painted strip, away from the thumb at 0.
  static POINT ChannelProbe(TsTrackBar* bar) {
    const RECT c = bar->ChannelRect();
    const POINT centre = Centre(c);
    return bar->Orientation() == trVertical ? POINT{centre.x, c.bottom - 6} : POINT{c.right - 6, centre.y};
  }

  TsSkinManager manager{nullptr};
  HandClocks clocks;
};

TEST_F(SkinnedTrackBarTest, EachLookShowsItsPicturesOnTheScreen) {
  struct Row {
    const char* Look;
    void (*Arrange)(TsTrackBar*);
    int Body, Thumb;  // the looks of the frame and of the thumb; -1: the disabled look
  };
  const Row rows[] = {
      // The real cursor may be wherever an earlier test left it: away from the bar.
      {"normal", [](TsTrackBar* b) { MouseAway(b); }, 0, 0},
      {"hot", [](TsTrackBar* b) { MouseTo(b, {2, 2}); }, 1, 1},
      {"pressed",
       [](TsTrackBar* b) {
         const POINT p = Centre(b->ThumbRect());
         MouseTo(b, p);
         PostAndPump(b, WM_LBUTTONDOWN, MK_LBUTTON, At(p.x, p.y));
       },
       1, 2},
      {"focused", [](TsTrackBar* b) { b->SetFocus(); }, 1, 1},
      {"disabled", [](TsTrackBar* b) { b->SetEnabled(false); }, -1, -1},
  };
  for (bool vertical : {false, true})
    for (const Row& row : rows) {
      SCOPED_TRACE(std::string(row.Look) + (vertical ? " vertical" : " horizontal"));
      auto* bar = NewBar<TsTrackBar>(vertical);
      ASSERT_EQ(SendSkinCommandToWindow(bar->Handle(), SKC_ISSKINNED), 1);
      row.Arrange(bar);
      Settle();
      EXPECT_EQ(bar->ThumbState(), std::max(row.Thumb, 0));
      const Image screen = captureScreenOf(bar->Handle());
      const POINT thumb = Centre(bar->ThumbRect());
      const POINT channel = ChannelProbe(bar);
      const TColor rim = screen.at(1, bar->Height() / 2), thumbInk = screen.at(thumb.x, thumb.y);
      const TColor channelInk = screen.at(channel.x, channel.y);
      if (row.Body < 0) {
        for (int look = 0; look < 3; ++look) {
          EXPECT_NE(rim, synth::Rim[look]);
          EXPECT_NE(thumbInk, ranges::Thumb[look]);
          EXPECT_NE(channelInk, ranges::Channel[look]);
        }
      } else {
        EXPECT_EQ(rim, synth::Rim[row.Body]);
        EXPECT_EQ(thumbInk, ranges::Thumb[row.Thumb]);
        EXPECT_EQ(channelInk, ranges::Channel[row.Body]) << "the channel follows the bar's hot state";
      }
      PostAndPump(bar, WM_LBUTTONUP, 0, At(thumb.x, thumb.y));
      MouseAway(bar);
    }
}

TEST_F(SkinnedTrackBarTest, PostedKeysAndAThumbDragMoveItAsTheFrameworksBar) {
  auto* bar = NewBar<TsTrackBar>();
  int userChanges = 0;
  bar->OnUserChange = [&](TObject*) { ++userChanges; };
  const std::vector<int> walk = KeyWalk(bar);
  ASSERT_EQ(TsSkinManager::DefaultManager(), &manager);
  EXPECT_EQ(walk, (std::vector<int>{1, 2, 4, 10, 10, 9, 7, 0, 0}));
  EXPECT_GE(userChanges, 9);

  // The thumb taken and pulled right by half the bar, as a user drags it.
  userChanges = changes = 0;
  const POINT from = Centre(bar->ThumbRect());
  MouseTo(bar, from);
  PostAndPump(bar, WM_LBUTTONDOWN, MK_LBUTTON, At(from.x, from.y));
  EXPECT_FALSE(Application.ShowHint()) << "no hints while the thumb is held";
  for (int dx : {20, 40, 70}) MouseTo(bar, {from.x + dx, from.y}, MK_LBUTTON);
  PostAndPump(bar, WM_LBUTTONUP, 0, At(from.x + 70, from.y));
  Settle();
  EXPECT_TRUE(Application.ShowHint());
  EXPECT_GE(bar->Position(), 4);
  EXPECT_LE(bar->Position(), 7);
  EXPECT_GT(changes, 0);
  EXPECT_GT(userChanges, 0);
  const POINT now = Centre(bar->ThumbRect());
  EXPECT_GT(now.x, from.x + 40);
  EXPECT_EQ(bar->ThumbState(), 1) << "released under the mouse";
  EXPECT_EQ(captureScreenOf(bar->Handle()).at(now.x, now.y), ranges::Thumb[1]) << "drawn where it went";
}

// Hover fades in the section's five frames, a press in half of them; a fade never outlives
// its bar and gives back every frame it made.
TEST_F(SkinnedTrackBarTest, ChangesOfLookFadeFrameByFrame) {
  SetCursorPos(700, 500);  // far from where the bar comes: the hover below is its first
  pumpFor(30);
  auto* bar = NewBar<WatchedBar>();
  Settle();
  bar->Frames.clear();
  MouseTo(bar, {2, 2});
  EXPECT_TRUE(bar->FadeRunning());
  EXPECT_EQ(clocks.TickToEnd(), 6) << "five frames and the tick that ends the fade";
  EXPECT_EQ(bar->Frames.size(), 5u);
  for (HBITMAP frame : bar->Frames) EXPECT_EQ(GetObjectType(frame), 0u) << "each frame is freed";

  bar->Frames.clear();
  const POINT thumb = Centre(bar->ThumbRect());
  MouseTo(bar, thumb);
  Settle();
  bar->Frames.clear();
  PostAndPump(bar, WM_LBUTTONDOWN, MK_LBUTTON, At(thumb.x, thumb.y));
  clocks.TickToEnd();
  EXPECT_EQ(bar->Frames.size(), 2u) << "a press fades in half the frames";
  PostAndPump(bar, WM_LBUTTONUP, 0, At(thumb.x, thumb.y));
  Settle();

  // A key moves the thumb at once: a running fade gives way.
  bar->SetFocus();
  MouseAway(bar);
  ASSERT_TRUE(bar->FadeRunning());
  PressKey(bar, VK_RIGHT);
  EXPECT_FALSE(bar->FadeRunning());

  MouseTo(bar, {2, 2});
  ASSERT_TRUE(bar->FadeRunning());
  bar->Free();
  EXPECT_EQ(clocks.Count(), 0) << "the fade went with its bar";
  EXPECT_EQ(clocks.Tick(), 0);
}

TEST_F(SkinnedTrackBarTest, AHotBarGlowsWhereItsSectionHasAGlowAndTheManagerAllows) {
  auto* bar = NewBar<TsTrackBar>();
  MouseTo(bar, {2, 2});
  EXPECT_TRUE(AGlowShows());
  EXPECT_NE(bar->SkinData->GlowIndex, -1);
  const POINT thumb = Centre(bar->ThumbRect());
  MouseTo(bar, thumb);
  PostAndPump(bar, WM_LBUTTONDOWN, MK_LBUTTON, At(thumb.x, thumb.y));
  EXPECT_EQ(bar->SkinData->GlowIndex, -1) << "no glow while the thumb is held";
  PostAndPump(bar, WM_LBUTTONUP, 0, At(thumb.x, thumb.y));
  EXPECT_NE(bar->SkinData->GlowIndex, -1) << "back once it is let go";
  MouseAway(bar);
  EXPECT_TRUE(pumpUntil([] { return !AGlowShows(); }, 1000));

  manager.SetAllowGlowing(false);
  MouseTo(bar, {2, 2});
  EXPECT_FALSE(AGlowShows());
  MouseAway(bar);
}

// Ticks, selection markers and a thumb of another size, on bars from roomy to nothing.
TEST_F(SkinnedTrackBarTest, EveryLayoutPaintsAndTinyBarsDoNotFail) {
  struct Row {
    const char* Name;
    TTickStyle Ticks;
    TTickMark Marks;
    int ThumbLength;
    bool Selection;
  };
  const Row rows[] = {
      {"auto ticks below", tsAuto, tmBottomRight, 23, false},
      {"ticks on both sides with a selection", tsAuto, tmBoth, 23, true},
      {"ends only, above, mirrored thumb", tsManual, tmTopLeft, 23, false},
      {"no ticks, scaled thumb", tsNone, tmBottomRight, 17, false},
  };
  const SIZE sizes[] = {{160, 44}, {12, 8}, {2, 2}, {1, 0}, {0, 0}};
  for (bool vertical : {false, true})
    for (const Row& row : rows) {
      SCOPED_TRACE(std::string(row.Name) + (vertical ? " vertical" : " horizontal"));
      auto* bar = NewBar<TsTrackBar>(vertical);
      bar->SetTickStyle(row.Ticks);
      bar->SetTickMarks(row.Marks);
      bar->SetThumbLength(row.ThumbLength);
      if (row.Selection) {
        bar->SetSelStart(2);
        bar->SetSelEnd(5);
      }
      for (SIZE size : sizes) {
        bar->SetBounds(10, 10, vertical ? size.cy : size.cx, vertical ? size.cx : size.cy);
        pumpFor(20);
        if (bar->Width() < 40 && bar->Height() < 40) {
          if (bar->Width() > 0 && bar->Height() > 0) Printed(bar);
          continue;
        }
        const auto look = Printed(bar);
        const POINT thumb = Centre(bar->ThumbRect());
        // A scaled thumb is resampled: its colour may move by a step or two.
        const TColor ink = At(*look, thumb.x, thumb.y);
        for (int shift : {0, 8, 16})
          EXPECT_NEAR(ink >> shift & 0xFF, ranges::Thumb[0] >> shift & 0xFF, 3) << "the thumb, scaled or mirrored";
        int markers = 0, ticks = 0;
        for (int y = 0; y < look->Height(); ++y)
          for (int x = 0; x < look->Width(); ++x) {
            markers += At(*look, x, y) == 0xF0F0F0;
            ticks += At(*look, x, y) == static_cast<TColor>(ColorToRGB(clBtnShadow));
          }
        EXPECT_EQ(markers > 0, row.Selection) << "markers in the skin's font colour";
        EXPECT_EQ(ticks > 0, row.Ticks != tsNone) << "plain ticks without tick pictures";
      }
    }
}

}  // namespace
