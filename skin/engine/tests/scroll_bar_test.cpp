// The skinned scroll bar: without a skin the system's bar with the framework's events; with
// the synthetic skin a plain window that paints its parts from the skin in each look and
// answers the user's presses on the arrows, the track and the thumb (posted as the user's)
// with the scroll messages a system bar sends.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "skin/engine/s_scroll_bar.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/tests/range_fixtures.h"
#include "tests/support/capture.h"
#include "tests/support/window.h"

namespace {

using namespace efir::test;

using Step = std::pair<TScrollCode, int>;  // OnScroll's code and position
using Part = TsScrollBar::TPart;

class ScrollBarTest : public UiTest {
 protected:
  // A vertical bar of 0..100 with a page of 10 at 45, shown and painted, logging OnScroll.
  template <class Bar>
  Bar* NewBar(bool vertical = true) {
    TForm* form = NewForm(240, 240);
    auto* bar = new Bar(form);
    bar->SetParent(form);
    bar->SetKind(vertical ? sbVertical : sbHorizontal);
    if (vertical)
      bar->SetBounds(10, 10, 17, 200);
    else
      bar->SetBounds(10, 10, 200, 17);
    bar->SetPageSize(10);
    bar->SetLargeChange(10);
    bar->SetParams(45, 0, 100);
    bar->OnScroll = [this](TObject*, TScrollCode code, int& pos) { steps.emplace_back(code, pos); };
    bar->OnChange = [this](TObject*) { ++changes; };
    pumpFor(40);
    return bar;
  }
  // A click: the button down and up at p, as the user's.
  static void Click(TWinControl* bar, POINT p) {
    MouseTo(bar, p);
    PostMessageW(bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(p.x, p.y));
    PostMessageW(bar->Handle(), WM_LBUTTONUP, 0, At(p.x, p.y));
    pumpFor(60);
  }

  std::vector<Step> steps;
  int changes = 0;
};

// The points the user clicks, in a vertical bar 17 × 200.
constexpr POINT kArrowDown{8, 195}, kArrowUp{8, 4}, kTrackBelow{8, 170}, kTrackAbove{8, 30};

TEST_F(ScrollBarTest, UnskinnedItIsTheFrameworksScrollBar) {
  ASSERT_EQ(TsSkinManager::DefaultManager(), nullptr);
  std::vector<Step> plainSteps;
  Image plainLook;
  for (int i = 0; i < 2; ++i) {
    TScrollBar* bar = i == 0 ? NewBar<TScrollBar>() : NewBar<TsScrollBar>();
    const Image look = captureScreenOf(bar->Handle());
    steps.clear();
    for (POINT p : {kArrowDown, kArrowUp, kTrackBelow, kTrackAbove}) Click(bar, p);
    bar->SetPosition(20);
    EXPECT_EQ(bar->Position(), 20);
    if (i == 0) {
      plainSteps = steps;
      plainLook = look;
      continue;
    }
    EXPECT_EQ(look.pixels, plainLook.pixels) << "drawn by the system";
    EXPECT_EQ(steps, plainSteps) << "the same steps, none from code";
    EXPECT_FALSE(static_cast<TsScrollBar*>(bar)->PlainWindow());
    EXPECT_EQ(SendSkinCommandToWindow(bar->Handle(), SKC_ISSKINNED), 1) << "ours, skinned or not: never adapted";
  }
  EXPECT_FALSE(plainSteps.empty());
}

class SkinnedScrollBarTest : public ScrollBarTest {
 protected:
  void SetUp() override {
    ScrollBarTest::SetUp();
    UseSkin(manager, WriteRangeSkin(), "Ranges");
  }
  TsSkinManager manager{nullptr};
};

TEST_F(SkinnedScrollBarTest, EachPartShowsItsLookOnTheScreen) {
  enum Action { Rest, Hover, Hold, Disable };
  constexpr POINT kThumb{-1, -1};
  struct Row {
    const char* Look;
    Action Do;
    POINT Where;  // on the upright bar; kThumb: the thumb's centre
    int Looks[5];  // arrow 1, arrow 2, track 1, track 2, thumb; -1: the disabled look
  };
  const Row rows[] = {
      {"at rest", Rest, {}, {0, 0, 0, 0, 0}},
      {"thumb hot", Hover, kThumb, {0, 0, 1, 1, 1}},
      {"arrow hot", Hover, kArrowUp, {1, 0, 1, 1, 0}},
      {"arrow held", Hold, kArrowDown, {0, 2, 1, 1, 0}},
      {"track held", Hold, kTrackBelow, {0, 0, 1, 2, 0}},
      {"disabled", Disable, {}, {-1, -1, -1, -1, -1}},
  };
  for (bool vertical : {true, false})
    for (const Row& row : rows) {
      SCOPED_TRACE(std::string(row.Look) + (vertical ? " vertical" : " horizontal"));
      SetCursorPos(700, 500);  // far from where the bar comes
      pumpFor(30);
      auto* bar = NewBar<TsScrollBar>(vertical);
      ASSERT_TRUE(bar->PlainWindow());
      ASSERT_EQ(SendSkinCommandToWindow(bar->Handle(), SKC_ISSKINNED), 1);
      auto turned = [&](POINT p) { return vertical ? p : POINT{p.y, p.x}; };
      const POINT where =
          row.Where.x == kThumb.x ? Centre(bar->PartRect(TsScrollBar::spThumb)) : turned(row.Where);
      if (row.Do == Hover || row.Do == Hold) MouseTo(bar, where);
      if (row.Do == Hold) PostAndPump(bar, WM_LBUTTONDOWN, MK_LBUTTON, At(where.x, where.y));
      if (row.Do == Disable) bar->SetEnabled(false);
      pumpFor(30);
      const Image screen = captureScreenOf(bar->Handle());
      // The face of each part, away from its rim; the tracks between the arrows and the thumb.
      const RECT thumb = bar->PartRect(TsScrollBar::spThumb);
      const int thumbStart = vertical ? thumb.top : thumb.left, thumbEnd = vertical ? thumb.bottom : thumb.right;
      const POINT probes[] = {Centre(bar->PartRect(TsScrollBar::spArrow1)),
                              Centre(bar->PartRect(TsScrollBar::spArrow2)), turned({8, (thumbStart + 17) / 2}),
                              turned({8, (thumbEnd + 183) / 2}), Centre(thumb)};
      for (int part = 0; part < 5; ++part) {
        SCOPED_TRACE(part);
        const TColor face = screen.at(probes[part].x, probes[part].y);
        if (row.Looks[part] < 0)
          for (TColor look : synth::Face) EXPECT_NE(face, look);
        else if (row.Looks[part] == 0 && (part == 2 || part == 3) && bar->Focused())
          EXPECT_EQ(face, synth::Face[1]) << "a track at rest shows the focused bar hot";
        else
          EXPECT_EQ(face, synth::Face[row.Looks[part]]);
      }
      if (row.Do == Hold) PostAndPump(bar, WM_LBUTTONUP, 0, At(where.x, where.y));
    }
}

TEST_F(SkinnedScrollBarTest, ArrowAndTrackClicksStepAndPageAsTheSystemsBar) {
  auto* bar = NewBar<TsScrollBar>();
  for (POINT p : {kArrowDown, kArrowUp, kTrackBelow, kTrackAbove}) Click(bar, p);
  EXPECT_EQ(steps, (std::vector<Step>{{scLineDown, 46}, {scEndScroll, 46}, {scLineUp, 45}, {scEndScroll, 45},
                                      {scPageDown, 55}, {scEndScroll, 55}, {scPageUp, 45}, {scEndScroll, 45}}));
  EXPECT_EQ(bar->ThumbPos(), 45);
  EXPECT_EQ(changes, 4);

  steps.clear();
  bar->SetPosition(95);
  EXPECT_TRUE(steps.empty()) << "code is not the user";
  Click(bar, kArrowDown);
  EXPECT_EQ(bar->ThumbPos(), 91) << "the thumb's last position leaves room for the page";
}

TEST_F(SkinnedScrollBarTest, HoldingAnArrowRepeatsAndHoldingTheTrackPagesToTheCursor) {
  auto* bar = NewBar<TsScrollBar>();
  bar->SetPosition(0);
  MouseTo(bar, kArrowDown);
  PostAndPump(bar, WM_LBUTTONDOWN, MK_LBUTTON, At(kArrowDown.x, kArrowDown.y));
  EXPECT_EQ(bar->Position(), 1) << "one at once";
  EXPECT_FALSE(Application.ShowHint()) << "no hints while a part is held";
  pumpFor(800);
  PostAndPump(bar, WM_LBUTTONUP, 0, At(kArrowDown.x, kArrowDown.y));
  EXPECT_GE(bar->Position(), 3) << "again after the delay, then faster";
  EXPECT_TRUE(Application.ShowHint());
  EXPECT_EQ(steps.back().first, scEndScroll);

  bar->SetPosition(0);
  MouseTo(bar, kTrackBelow);
  PostAndPump(bar, WM_LBUTTONDOWN, MK_LBUTTON, At(kTrackBelow.x, kTrackBelow.y));
  pumpFor(1500);
  PostAndPump(bar, WM_LBUTTONUP, 0, At(kTrackBelow.x, kTrackBelow.y));
  const RECT thumb = bar->PartRect(TsScrollBar::spThumb);
  // The cursor stands over position 87: paging stops at the first page that reaches it.
  EXPECT_EQ(bar->Position(), 90) << "it stops at the cursor";
  EXPECT_GE(thumb.bottom, kTrackBelow.y - 20) << "the thumb reached the cursor";
}

TEST_F(SkinnedScrollBarTest, ADraggedThumbTracksNewPositionsAndEndsWithPositionAndEnd) {
  auto* bar = NewBar<TsScrollBar>();
  const POINT from = Centre(bar->PartRect(TsScrollBar::spThumb));
  MouseTo(bar, from);
  PostAndPump(bar, WM_LBUTTONDOWN, MK_LBUTTON, At(from.x, from.y));
  EXPECT_EQ(bar->PartState(TsScrollBar::spThumb), 2);
  for (int dy : {0, 30, 30, 60}) MouseTo(bar, {from.x, from.y + dy}, MK_LBUTTON);
  // Far beside the bar, the thumb still follows the mouse along it.
  MouseTo(bar, {from.x + 150, from.y + 80}, MK_LBUTTON);
  PostAndPump(bar, WM_LBUTTONUP, 0, At(from.x + 150, from.y + 80));
  ASSERT_GE(steps.size(), 5u);
  EXPECT_EQ(steps[0], Step(scTrack, 45)) << "the first track even unchanged";
  std::vector<int> tracked;
  for (size_t i = 0; i + 2 < steps.size(); ++i) {
    EXPECT_EQ(steps[i].first, scTrack);
    tracked.push_back(steps[i].second);
  }
  for (size_t i = 1; i < tracked.size(); ++i) EXPECT_NE(tracked[i], tracked[i - 1]) << "only new positions";
  EXPECT_EQ(steps[steps.size() - 2], Step(scPosition, tracked.back()));
  EXPECT_EQ(steps.back(), Step(scEndScroll, tracked.back()));
  EXPECT_EQ(bar->Position(), tracked.back());
  EXPECT_GT(bar->Position(), 45);
  EXPECT_EQ(bar->PartState(TsScrollBar::spThumb), 0) << "let go beside the bar";
  EXPECT_EQ(GetCapture(), nullptr);
}

// A skin whose arrows are larger than the system's paints them at their own size; the
// buttons the user clicks keep the system's size.
TEST_F(ScrollBarTest, ASkinsLargerArrowsShowAtTheirOwnSize) {
  const int system = GetSystemMetrics(SM_CYVSCROLL);
  ASSERT_LT(system + 2, ranges::BigArrowLength);
  const int beyond = (system + ranges::BigArrowLength) / 2;  // past the system's arrow, inside the skin's
  for (bool big : {false, true}) {
    TsSkinManager manager{nullptr};
    UseSkin(manager, WriteRangeSkin(big), "Ranges");
    for (bool vertical : {true, false}) {
      SCOPED_TRACE(std::string(big ? "large arrows" : "frame arrows") + (vertical ? " vertical" : " horizontal"));
      SetCursorPos(700, 500);
      auto* bar = NewBar<TsScrollBar>(vertical);
      ASSERT_TRUE(bar->PlainWindow());
      auto turned = [&](POINT p) { return vertical ? p : POINT{p.y, p.x}; };
      const Image screen = captureScreenOf(bar->Handle());
      const POINT first = turned({8, beyond}), second = turned({8, 199 - beyond});
      if (big) {
        EXPECT_EQ(screen.at(first.x, first.y), ranges::BigArrow[0]);
        EXPECT_EQ(screen.at(second.x, second.y), ranges::BigArrow[0]);
      } else {
        EXPECT_NE(screen.at(first.x, first.y), ranges::BigArrow[0]);
        EXPECT_NE(screen.at(second.x, second.y), ranges::BigArrow[0]);
      }
      steps.clear();
      Click(bar, first);
      ASSERT_FALSE(steps.empty());
      EXPECT_EQ(steps.front().first, scPageUp) << "still the track under the mouse";
    }
  }
}

// Range, page and position set on the window (SetScrollInfo) become the framework's values,
// so that its Position is not held to the range it had before.
TEST_F(SkinnedScrollBarTest, ValuesSetOnTheWindowBecomeTheFrameworks) {
  auto* bar = NewBar<TsScrollBar>();
  ASSERT_TRUE(bar->PlainWindow());
  SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 300, 20, 150, 0};
  SetScrollInfo(bar->Handle(), SB_CTL, &info, TRUE);
  EXPECT_EQ(bar->Min(), 0);
  EXPECT_EQ(bar->Max(), 300);
  EXPECT_EQ(bar->PageSize(), 20);
  bar->SetPosition(250);
  EXPECT_EQ(bar->Position(), 250);
  SCROLLINFO back{sizeof(back), SIF_ALL};
  GetScrollInfo(bar->Handle(), SB_CTL, &back);
  EXPECT_EQ(back.nMax, 300);
  EXPECT_EQ(back.nPage, 20u);
  EXPECT_EQ(back.nPos, 250);
  pumpFor(30);
  const RECT thumb = bar->PartRect(TsScrollBar::spThumb);
  EXPECT_GT(thumb.top, 100) << "the thumb shows the position in the new range";
  const POINT middle = Centre(thumb);
  EXPECT_EQ(captureScreenOf(bar->Handle()).at(middle.x, middle.y), synth::Face[0]);
}

TEST_F(SkinnedScrollBarTest, ScrollValuesSizesAndTheSkinComingAndGoing) {
  auto* bar = NewBar<TsScrollBar>();
  // No page: the thumb is 14 pixels long; a range below its start is 0..0.
  bar->SetPageSize(0);
  EXPECT_EQ(bar->PartRect(TsScrollBar::spThumb).bottom - bar->PartRect(TsScrollBar::spThumb).top, 14);
  SCROLLINFO info{sizeof(info), SIF_RANGE, 10, 5, 0, 0, 0};
  SendMessageW(bar->Handle(), SBM_SETSCROLLINFO, FALSE, reinterpret_cast<LPARAM>(&info));
  SCROLLINFO back{sizeof(back), SIF_RANGE | SIF_POS};
  SendMessageW(bar->Handle(), SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(&back));
  EXPECT_EQ(back.nMin, 0);
  EXPECT_EQ(back.nMax, 0);
  EXPECT_EQ(back.nPos, 0);

  // Too short for the thumb, and no room at all: painted without failing.
  for (int length : {40, 20, 3, 1}) {
    bar->SetBounds(10, 10, 17, length);
    pumpFor(20);
    Printed(bar);
  }

  manager.SetActive(false);
  SendMessageW(bar->Handle(), SM_ALPHACMD, MakeSkinWParam(SKC_REMOVESKIN), reinterpret_cast<LPARAM>(&manager));
  pumpFor(50);
  EXPECT_FALSE(bar->PlainWindow());
  wchar_t className[32]{};
  GetClassNameW(bar->Handle(), className, 32);
  EXPECT_NE(std::wstring(className).find(L"SCROLLBAR"), std::wstring::npos) << "the system's bar again";
  manager.SetActive(true);
  SendMessageW(bar->Handle(), SM_ALPHACMD, MakeSkinWParam(SKC_NEWSKIN), reinterpret_cast<LPARAM>(&manager));
  pumpFor(50);
  EXPECT_TRUE(bar->PlainWindow());
  EXPECT_EQ(SendSkinCommandToWindow(bar->Handle(), SKC_ISSKINNED), 1);
}

}  // namespace
