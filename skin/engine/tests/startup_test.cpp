#include <gtest/gtest.h>

#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_startup.h"

namespace {

TEST(StartupTest, ANewManagersAnimationSettings) {
  TsSkinManager manager(nullptr);
  const TacAnimEffects& a = manager.AnimEffects;
  const struct {
    const char* What;
    const TacFormAnimation& Animation;
    uint16_t Time;
  } rows[] = {
      {"skin changing", a.SkinChanging, 100},
      {"form show", a.FormShow, 0},
      {"dialog show", a.DialogShow, 0},
      {"page change", a.PageChange, 0},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.What);
    EXPECT_TRUE(r.Animation.Active);
    EXPECT_EQ(r.Animation.Time, r.Time);
  }
  for (TacBtnEvent e : {beMouseEnter, beMouseLeave, beMouseDown, beMouseUp}) EXPECT_TRUE(a.Buttons.Events.Has(e));
  EXPECT_FALSE((TacBtnEvents{beMouseUp}.Has(beMouseDown)));
}

TEST(StartupTest, ThirdPartyListsTakeTheirDefaultsWhenEmpty) {
  TsSkinManager manager(nullptr);
  EXPECT_EQ(manager.ThirdLists[ThirdButtons].Count(), 1);
  EXPECT_EQ(manager.ThirdLists[ThirdButtons][0], "TButton");
  EXPECT_EQ(manager.ThirdParty.Third(ThirdEdits), " ");

  manager.ThirdParty.SetThird(ThirdButtons, "");               // a layout that empties it
  manager.ThirdParty.SetThird(ThirdPanels, "TPanel\r\nTMyPanel");
  UpdateThirdLists(manager, false);
  EXPECT_EQ(manager.ThirdParty.Third(ThirdButtons), "TButton");
  EXPECT_EQ(manager.ThirdLists[ThirdPanels].Count(), 2);
  EXPECT_EQ(manager.ThirdLists[ThirdPanels][1], "TMyPanel");

  manager.ThirdLists[ThirdGrids].SetText("TGridA\nTGridB");
  StoreThirdLists(manager);
  EXPECT_EQ(manager.ThirdParty.Third(ThirdGrids), "TGridA\r\nTGridB");
  UpdateThirdLists(manager, true);
  EXPECT_EQ(manager.ThirdParty.Third(ThirdPanels), " ");

  for (int outside : {-1, ThirdPartyCount}) {
    manager.ThirdParty.SetThird(outside, "TWhatever");
    EXPECT_EQ(manager.ThirdParty.Third(outside), "");
  }
}

TEST(StartupTest, TheVersionBannerShowsOnceWhenAskedInAnyCase) {
  const struct {
    std::vector<std::string> Params;
    int Shown;
  } rows[] = {
      {{}, 0},
      {{"/skin", "skinver"}, 0},
      {{"/SKINVER"}, 1},
      {{"x", "/SkinVer", "/skinver"}, 1},
  };
  for (const auto& r : rows) {
    std::vector<std::string> shown;
    bool result = ShowVersionBannerIfAsked(r.Params, [&](const std::string& text) { shown.push_back(text); });
    EXPECT_EQ(static_cast<int>(shown.size()), r.Shown);
    EXPECT_EQ(result, r.Shown == 1);
    if (!shown.empty()) {
      EXPECT_EQ(shown[0], "Skin engine v6.48");
    }
  }
}

}  // namespace
