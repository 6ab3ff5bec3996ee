#include <gtest/gtest.h>

#include "skin/engine/background_answers.h"
#include "skin/engine/skin_broadcast.h"
#include "skin/engine/tests/state_fixture.h"

namespace efir::test {
namespace {

using Box = Skinned<TCustomControl>;

class TSkinProbe : public Box {
 public:
  using Box::Box;
};

TEST_F(SkinStateTest, TheControlKindNamesTheSection) {
  const struct {
    int Kind;
    const char* Section;
  } kinds[] = {
      {ckEdit, "EDIT"}, {ckButton, "BUTTON"}, {ckBitBtn, "BUTTON"}, {ckCheckBox, "CHECKBOX"},
      {ckTrackBar, "TRACKBAR"}, {ckAdapted, "EDIT"}, {14, "COMBOBOX"}, {52, "PANEL_LOW"},
      {0, "TSKINPROBE"}, {ckScrollBar, "TSKINPROBE"},  // no default: the class name
  };
  for (const auto& k : kinds) {
    SCOPED_TRACE(k.Kind);
    auto* c = Place<TSkinProbe>(form, nullptr, {0, 0, 10, 10}, k.Kind);
    c->SkinData->ApplySkinColors();
    EXPECT_EQ(c->SkinData->SkinSection(), k.Section);
    EXPECT_EQ(c->SkinData->SectionIndex, Section(k.Section));
  }
}

TEST_F(SkinStateTest, WritingTheSectionFindsItsIndexesAndTellsTheOwner) {
  auto* c = Place(form, "button");
  EXPECT_EQ(c->SkinData->SkinSection(), "BUTTON");
  EXPECT_EQ(c->SkinData->SectionIndex, Section("BUTTON"));
  EXPECT_EQ(c->SkinData->BorderMaskIndex, MaskIndexExact(&manager, "BUTTON", "BORDERSMASK"));

  c->SkinData->BackgroundChanged = false;
  c->SkinData->SetSkinSection("button");  // differs from the stored "BUTTON": found again
  EXPECT_TRUE(c->SkinData->BackgroundChanged);
  EXPECT_EQ(c->Commands, std::vector<WORD>{SKC_REFRESH});

  c->Commands.clear();
  c->SkinData->SetSkinSection("");
  EXPECT_EQ(c->SkinData->SkinSection(), "UNKNOWN");
  EXPECT_EQ(c->SkinData->SectionIndex, -1);
  EXPECT_EQ(c->SkinData->BorderMaskIndex, -1);
  EXPECT_EQ(c->Commands, std::vector<WORD>{SKC_REMOVESKIN});
  EXPECT_TRUE(c->SkinData->Updating);  // the owner's handler took the removal

  // The default manager is never kept as the control's own.
  c->SkinData->SetSkinManager(&manager);
  EXPECT_EQ(c->SkinData->OwnSkinManager, nullptr);
  EXPECT_EQ(c->SkinData->SkinManager(), &manager);
}

TEST_F(SkinStateTest, EditsTakeTheSectionColoursUnlessKeptCustom) {
  auto* edit = Place<Skinned<TEdit>>(form, nullptr, {10, 10, 100, 30}, ckEdit);
  edit->SkinData->ApplySkinColors();
  EXPECT_EQ(edit->Color(), 0x0A0B0C);
  EXPECT_EQ(edit->Font().Color(), 0xF0E0D0);

  edit->SkinData->SetCustomColor(true);
  edit->SetColor(clWhite);
  TMessage remove{SM_ALPHACMD, MakeSkinWParam(SKC_REMOVESKIN), reinterpret_cast<LPARAM>(&manager)};
  edit->WndProc(remove);
  EXPECT_EQ(edit->Color(), clWhite);          // custom colour kept
  EXPECT_EQ(edit->Font().Color(), clWindowText);
}

TEST_F(SkinStateTest, ThePanelCacheModeFollowsItsBorderAndTransparency) {
  const struct {
    const char* Section;
    bool OwnCache;
  } cases[] = {
      {"PANEL", false}, {"THIN30", false}, {"THICK31", true}, {"GRAD", true}, {"HALF", true},
      {"GLASS", true},  // see-through, on a parent that keeps a cache of its own
  };
  auto* parent = Place<Skinned<TPanel>>(form, "GRAD", {0, 0, 200, 150});
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Section);
    auto* panel = Place<Skinned<TPanel>>(parent, c.Section);
    EXPECT_EQ(panel->SkinData->NeedsOwnCache(), c.OwnCache);
    EXPECT_EQ(panel->SkinData->SkinState & 1, c.OwnCache ? 0 : 1);
  }
  auto* plain = Place<Skinned<TPanel>>(form, "PANEL", {0, 0, 200, 150});
  EXPECT_FALSE(Place<Skinned<TPanel>>(plain, "GLASS")->SkinData->NeedsOwnCache());
  EXPECT_FALSE(plain->SkinData->CacheReusable()) << "a plain container that is not hot";
  SkinChangeAnimating = true;
  EXPECT_TRUE(plain->SkinData->CacheReusable()) << "a skin change animates: every image counts";
  SkinChangeAnimating = false;
  // A plain control is never a cacheless container.
  EXPECT_EQ(Place(parent, "PANEL")->SkinData->SkinState, 0);
}

TEST_F(SkinStateTest, TheCacheIsRebuiltOnlyWhenTheBackgroundChanged) {
  auto* box = Place<CachedBox>(form, "BUTTON", {10, 10, 60, 40});
  box->Repaint();
  box->Repaint();
  EXPECT_EQ(box->Rebuilds, 1);
  EXPECT_EQ(box->SkinData->CacheBitmap->Width(), 50);
  EXPECT_EQ(box->SkinData->CacheBitmap->PixelFormat(), pf24bit);

  SendSkinCommandToControl(box, SKC_SETBGCHANGED);
  box->Repaint();
  EXPECT_EQ(box->Rebuilds, 2);

  box->SetBounds(10, 10, 80, 40);  // WM_SIZE marks it
  box->Repaint();
  EXPECT_EQ(box->Rebuilds, 3);
  EXPECT_EQ(box->SkinData->CacheBitmap->Width(), 80);

  box->Hide();
  EXPECT_EQ(box->SkinData->CacheBitmap->Width(), 0);  // a hidden control keeps no image
  box->Show();
  EXPECT_TRUE(box->SkinData->BackgroundChanged);
}

TEST_F(SkinStateTest, UpdatingWaitsForTheParent) {
  auto* panel = Place<Skinned<TPanel>>(form, "GRAD", {0, 0, 200, 150});
  auto* child = Place(panel, "BUTTON");
  auto* orphan = new Box(form, 0);
  orphan->SkinData->SetSkinSection("BUTTON");

  EXPECT_TRUE(orphan->SkinData->IsUpdating());  // nothing to ask: wait
  EXPECT_TRUE(child->SkinData->IsUpdating());   // the panel has not painted yet
  panel->SkinData->BackgroundChanged = false;
  EXPECT_FALSE(child->SkinData->IsUpdating());
  SendSkinCommandToControl(child, SKC_SETUPDATING, 0);
  TMessage set{SM_ALPHACMD, MakeSkinWParam(SKC_SETUPDATING, 1), 0};
  child->WndProc(set);
  EXPECT_TRUE(child->SkinData->IsUpdating());
  child->SkinData->FinishUpdate();
  EXPECT_FALSE(child->SkinData->IsUpdating());
  EXPECT_EQ(child->Commands.back(), SKC_UPDATEFINISHED);
  orphan->Free();
}

TEST_F(SkinStateTest, HotStateFromFocusAndMouse) {
  auto* button = Place(form, "BUTTON", {10, 10, 60, 40}, ckButton);
  auto* panel = Place(form, "PANEL", {70, 10, 120, 40}, 51);  // a kind the mouse never makes hot
  for (Box* c : {button, panel}) {
    c->SetTabStop(true);
    c->Perform(CM_MOUSEENTER);
  }
  EXPECT_TRUE(button->SkinData->MouseOver);
  EXPECT_TRUE(button->SkinData->HotState());
  EXPECT_FALSE(panel->SkinData->MouseOver);
  EXPECT_FALSE(panel->SkinData->HotState());

  panel->SetFocus();
  EXPECT_TRUE(panel->SkinData->HasFocus);
  EXPECT_TRUE(panel->SkinData->HotState());  // focus counts whatever the kind
  button->SetFocus();
  EXPECT_FALSE(panel->SkinData->HasFocus);

  button->SetEnabled(false);
  EXPECT_FALSE(button->SkinData->MouseOver);
  EXPECT_FALSE(button->SkinData->HasFocus);
  EXPECT_FALSE(button->SkinData->HotState());

  auto* untabbed = Place(form, "BUTTON", {130, 10, 180, 40}, ckButton);
  untabbed->Perform(WM_SETFOCUS);
  EXPECT_FALSE(untabbed->SkinData->HasFocus);  // cannot take focus this way
}

}  // namespace
}  // namespace efir::test
