// The manager's settings for what window skinning will use (glows, extended borders, menus,
// the hook's rules) and how its changes reach the windows: a hue change repaints, turning it
// off empties the cached indexes, a layout's manager announces once without animating, and
// the default manager sets the window-skinning hook through its seam.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "framework/application.h"
#include "skin/engine/colour_utils.h"
#include "skin/engine/embedded_data.h"
#include "skin/engine/extended_borders.h"
#include "skin/engine/skin_broadcast.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_startup.h"
#include "skin/engine/tests/pixels_fixtures.h"
#include "skin/engine/tests/skinning_double.h"
#include "skin/engine/tests/state_fixture.h"

namespace efir::test {
namespace {

// A manager of its own carrying the built-in skin, found nowhere else.
void LoadBuiltIn(TsSkinManager& manager, const char* name = "EfirNight") {
  manager.SetSkinDirectory("Z:\\no\\skins\\here");
  AddEmbeddedSkin(manager.InternalSkins(), name);
  manager.SetSkinName(name);
}

TEST(SkinManagerSettings, ANewManagerHasTheDefaultsOfItsSettings) {
  TsSkinManager manager(nullptr);
  EXPECT_EQ(manager.AllowGlowing(), LayeredWindowsAvailable());
  EXPECT_FALSE(manager.ExtendedBorders());
  EXPECT_TRUE(manager.SkinnedPopups());
  EXPECT_EQ(manager.SkinningRules(), srStdForms | srStdDialogs | srThirdParty);
  EXPECT_TRUE(manager.MenuSupport.IcoLineSkin.empty());
  EXPECT_FALSE(manager.MenuSupport.UseExtraLine);
  EXPECT_EQ(manager.MenuSupport.ExtraLineWidth, 32);
  manager.SetAllowGlowing(false);
  EXPECT_FALSE(manager.AllowGlowing());
}

TEST(SkinManagerSettings, ExtendedBordersTakeTheBuiltInShadowsWithTheirMargins) {
  ASSERT_TRUE(LayeredWindowsAvailable()) << "extended borders need layered windows";
  StartSkinEngine();
  {
    TsSkinManager manager(nullptr);
    LoadBuiltIn(manager);
    EXPECT_EQ(manager.ExtBorderMargins.left, 0);
    manager.SetExtendedBorders(true);
    EXPECT_TRUE(manager.LoadedSkin.Active);
    const RECT& m = manager.ExtBorderMargins;
    EXPECT_EQ((std::vector<LONG>{m.left, m.top, m.right, m.bottom}), (std::vector<LONG>{11, 7, 11, 11}));
    ASSERT_TRUE(manager.ShadowActive && manager.ShadowInactive);
    EXPECT_EQ(manager.ShadowActive->Width(), 64);
    EXPECT_EQ(manager.ShadowActive->PixelFormat(), pf32bit);
    EXPECT_GT(AlphaAt(*manager.ShadowActive, 5, 32), AlphaAt(*manager.ShadowInactive, 5, 32)) << "active is darker";
    PrepareExtendedBorders(manager, true);
    EXPECT_EQ((std::vector<LONG>{m.left, m.top, m.right, m.bottom}), (std::vector<LONG>{12, 8, 12, 12}));
    manager.SetExtendedBorders(false);
    EXPECT_EQ((std::vector<LONG>{m.left, m.top, m.right, m.bottom}), (std::vector<LONG>(4, 0)));
  }
  StopSkinEngine();
}

TEST(SkinManagerSettings, AnExBorderPictureGivesTheShadowsItsStatesAndItsOwnMargins) {
  TsSkinManager manager(nullptr);
  LoadBuiltIn(manager);
  manager.SetExtendedBorders(true);
  TsMaskData& mask = manager.Masks.emplace_back();
  mask.SectionName = "GLOBALINFO", mask.PropertyName = "EXBORDER", mask.Manager = &manager;
  mask.Image = Solid(40, 20, pf24bit, clRed);  // two states of 20 x 20: red, then blue
  for (int y = 0; y < 20; ++y)
    for (int x = 20; x < 40; ++x) Put(*mask.Image, x, y, clBlue);
  mask.R = {0, 0, 40, 20}, mask.ImageCount = 2, mask.MaskType = 0;
  mask.WL = 9, mask.WT = 7, mask.WR = 9, mask.WB = 10;
  manager.FixedIndexes.MaskExBorder = static_cast<int>(manager.Masks.size()) - 1;
  for (int mode : {0, 1}) {
    manager.LoadedSkin.BorderMode = mode;
    manager.LoadedSkin.FormOffset = 4;
    PrepareExtendedBorders(manager, false);
    const RECT& m = manager.ExtBorderMargins;
    std::vector<LONG> expected = mode == 0 ? std::vector<LONG>{5, 3, 5, 6} : std::vector<LONG>(4, 4);
    EXPECT_EQ((std::vector<LONG>{m.left, m.top, m.right, m.bottom}), expected) << "BorderMode " << mode;
    ASSERT_EQ(manager.ShadowActive->Width(), 20);
    EXPECT_EQ(At(*manager.ShadowInactive, 3, 3) & 0xFFFFFF, clRed);
    EXPECT_EQ(At(*manager.ShadowActive, 3, 3) & 0xFFFFFF, clBlue);
  }
}

// A form of the test that counts the skin commands its controls hear; the test's forms are
// not the application's, so the form is reached through the skinned-forms registry.
class ManagerBroadcastTest : public SkinStateTest {
 protected:
  void SetUp() override {
    SkinStateTest::SetUp();
    RegisterSkinnedForm(form);
  }
  void TearDown() override {
    UnregisterSkinnedForm(form);
    SkinStateTest::TearDown();
  }
  std::vector<WORD> Heard(Skinned<TCustomControl>* c, WORD sub) {
    std::vector<WORD> out;
    std::copy_if(c->Commands.begin(), c->Commands.end(), std::back_inserter(out), [&](WORD w) { return w == sub; });
    return out;
  }
};

TEST_F(ManagerBroadcastTest, AHueChangeRepaintsAndTurningOffEmptiesTheIndexes) {
  auto* box = Place(form, "PANEL");
  TsSkinManager own(nullptr);
  LoadBuiltIn(own);
  box->SkinData->SetSkinManager(&own);
  box->Commands.clear();
  own.SetHueOffset(120);
  EXPECT_EQ(Heard(box, SKC_REFRESH).size(), 1u) << "a hue change refreshes every window";
  EXPECT_GE(own.FixedIndexes.IdxGlobalInfo, 0);
  own.SetActive(false);
  EXPECT_EQ(own.FixedIndexes.IdxGlobalInfo, -1);
  EXPECT_EQ(own.FixedIndexes.MaskBoxChecked, -1);
  box->SkinData->SetSkinManager(nullptr);
}

// A window layout whose manager is read with it and announced once it is complete.
class LayoutWithManager : public TComponent {
 public:
  LayoutWithManager() : TComponent(nullptr) {
    SetLoading();
    Manager = new TsSkinManager(this);
    LoadBuiltIn(*Manager);
  }
  TsSkinManager* Manager;
};

TEST_F(ManagerBroadcastTest, ALayoutsManagerAnnouncesItsSkinOnceWithoutAnimating) {
  auto* box = Place(form, "PANEL");
  LayoutWithManager* layout = efir::Construct<LayoutWithManager>();
  EXPECT_EQ(Heard(box, SKC_NEWSKIN).size(), 1u);
  EXPECT_TRUE(Heard(box, SKC_STOPANIMATION).empty());
  EXPECT_TRUE(Heard(box, SKC_REFRESH).empty());
  EXPECT_EQ(layout->Manager->MenuSupport.IcoLineSkin, "ICOLINE");
  layout->Free();
}

TEST_F(ManagerBroadcastTest, OnlyTheDefaultManagerSetsTheHookOnceAndRemovesItWithItsSkin) {
  RecordingSkinning skinning;
  TsSkinManager other(nullptr);
  LoadBuiltIn(other);
  EXPECT_EQ(skinning.Count("install"), 0) << "not the default manager";
  EXPECT_FALSE(other.HookInstalled);
  manager.SetSkinDirectory("Z:\\no\\skins\\here");
  AddEmbeddedSkin(manager.InternalSkins(), "EfirNight");
  manager.SetSkinName("EfirNight");
  manager.SetSkinName("EfirNight");
  EXPECT_EQ(skinning.Count("install"), 1);
  EXPECT_EQ(skinning.Hooked, &manager);
  EXPECT_TRUE(manager.HookInstalled);
  EXPECT_GE(skinning.Count("menu border"), 2) << "each new skin resets the menus' border width";
  EXPECT_GT(skinning.ProviderSends, 0) << "the hook's windows hear the broadcasts";
  manager.SetActive(false);
  EXPECT_EQ(skinning.Count("remove"), 1);
  EXPECT_FALSE(manager.HookInstalled);
}

TEST_F(ManagerBroadcastTest, TheMainWindowHookHandlesThemesAndPopupsOnlyWithSkinnedPopups) {
  RecordingSkinning skinning;
  TMessage theme{WM_THEMECHANGED, 0, 0, 0};
  EXPECT_TRUE(MainWindowHook(manager, theme));
  TMessage item{WM_ACPOPUPITEMSHOWN, 0, 1234, 0}, none{WM_ACPOPUPITEMSHOWN, 0, 0, 0};
  EXPECT_TRUE(MainWindowHook(manager, item));
  EXPECT_EQ(skinning.ItemShown, 1234);
  EXPECT_TRUE(MainWindowHook(manager, none)) << "handled also without an item";
  EXPECT_EQ(skinning.Count("item shown"), 1);
  TMessage popup{WM_ACPOPUPWINDOWSHOWN, 0, 0, 0};
  EXPECT_TRUE(MainWindowHook(manager, popup));
  TMessage activate{CM_ACTIVATE, 0, 0, 0}, other{WM_USER, 0, 0, 0};
  EXPECT_FALSE(MainWindowHook(manager, activate)) << "the application goes on";
  EXPECT_FALSE(MainWindowHook(manager, other));
  manager.SetSkinnedPopups(false);
  EXPECT_FALSE(MainWindowHook(manager, theme));
  EXPECT_FALSE(MainWindowHook(manager, item));
  manager.SetSkinnedPopups(true);
  EXPECT_EQ(skinning.Count("menus active"), 1);
}

TEST_F(ManagerBroadcastTest, LockingStopsRedrawOnlyOnFormsWhoseProviderBelongsToTheManager) {
  RecordingSkinning skinning;
  LockSkinnedForms(manager);
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  EXPECT_NE(GetWindowLongPtrW(form->Handle(), GWL_STYLE) & WS_VISIBLE, 0) << "not this manager's form: untouched";
  skinning.ProviderForm = form, skinning.ProviderOf = &manager;
  LockSkinnedForms(manager);
  EXPECT_EQ(GetWindowLongPtrW(form->Handle(), GWL_STYLE) & WS_VISIBLE, 0) << "WM_SETREDRAW 0 hides the style bit";
  UnlockSkinnedForms(manager, true);
  EXPECT_NE(GetWindowLongPtrW(form->Handle(), GWL_STYLE) & WS_VISIBLE, 0);
  EXPECT_EQ(skinning.Count("unlock, repaint"), 1) << "window skinning unlocks the provider's form";
}

// A form that counts the graphic repaints it is asked for.
class RepaintCountingForm : public TForm {
 public:
  using TForm::TForm;
  void WndProc(TMessage& Message) override {
    if (Message.Msg == SM_ALPHACMD && SkinSubCommand(Message.WParam) == SKC_REPAINTGRAPHICS) ++Repaints;
    TForm::WndProc(Message);
  }
  int Repaints = 0;
};

TEST_F(ManagerBroadcastTest, TheActivatedProgramRepaintsTheGraphicsOfEveryForm) {
  // One form of the application's and one another form owns: both are the screen's.
  auto* own = efir::Construct<RepaintCountingForm>(&Application);
  auto* owned = efir::Construct<RepaintCountingForm>(own);
  own->HandleNeeded();
  owned->HandleNeeded();
  TMessage activate{CM_ACTIVATE, 0, 0, 0};
  EXPECT_FALSE(MainWindowHook(manager, activate));
  EXPECT_EQ(own->Repaints, 1);
  EXPECT_EQ(owned->Repaints, 1);
  own->Free();
}

// A receiver that fails in the middle of a skin change.
class FailingReceiver : public TGraphicControl {
 public:
  FailingReceiver(TComponent* owner, WORD failOn) : TGraphicControl(owner), failOn_(failOn) {}
  void WndProc(TMessage& Message) override {
    if (Message.Msg == SM_ALPHACMD && SkinSubCommand(Message.WParam) == failOn_) throw std::runtime_error("receiver");
    TGraphicControl::WndProc(Message);
  }

 private:
  WORD failOn_;
};

TEST_F(ManagerBroadcastTest, AFailingReceiverLeavesNoFormWithRedrawOff) {
  RecordingSkinning skinning;
  skinning.ProviderForm = form, skinning.ProviderOf = &manager;
  manager.AnimEffects.SkinChanging.Active = true;
  const struct {
    const char* Change;
    WORD FailOn;
    void (*Run)(TsSkinManager&);
  } changes[] = {
      {"refresh", SKC_REFRESH, [](TsSkinManager& m) { BroadcastRefresh(m); }},
      {"new skin", SKC_NEWSKIN, [](TsSkinManager& m) { BroadcastNewSkin(m, true); }},
      {"new skin's refresh", SKC_REFRESH, [](TsSkinManager& m) { BroadcastNewSkin(m, true); }},
  };
  for (const auto& change : changes) {
    SCOPED_TRACE(change.Change);
    auto* receiver = new FailingReceiver(form, change.FailOn);
    receiver->SetParent(form);
    skinning.Calls.clear();
    EXPECT_THROW(change.Run(manager), std::runtime_error);
    EXPECT_NE(GetWindowLongPtrW(form->Handle(), GWL_STYLE) & WS_VISIBLE, 0) << "redraw is back on";
    EXPECT_FALSE(SkinChangeAnimating);
    EXPECT_GE(skinning.Count("unlock, repaint"), 1);
    receiver->Free();
  }
}

}  // namespace
}  // namespace efir::test
