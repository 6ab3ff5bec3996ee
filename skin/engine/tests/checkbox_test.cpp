// The skinned check box: without a skin it behaves as the framework's check box; with our
// skin it paints itself, and its look (read back from the pixels it prints) follows the
// check state, the mouse and the enabled state.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "framework/tests/ui_fixture.h"
#include "skin/engine/alpha_blend.h"
#include "skin/engine/s_check_box.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/tests/control_fixtures.h"

namespace {

using namespace efir::test;

void MouseClick(TsCheckBox* box) {
  box->SetFocus();
  SendMessageW(box->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(8, 10));
  SendMessageW(box->Handle(), WM_LBUTTONUP, 0, At(8, 10));
}

void Space(TsCheckBox* box) {
  box->SetFocus();
  SendMessageW(box->Handle(), WM_KEYDOWN, VK_SPACE, 0x00390001);
  SendMessageW(box->Handle(), WM_CHAR, ' ', 0x00390001);
  SendMessageW(box->Handle(), WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0390001u));
}

void Setter(TsCheckBox* box) { box->SetChecked(!box->Checked()); }

// How the program or the user changes the box; a read-only box refuses the user's changes.
struct Change {
  const char* Name;
  void (*Apply)(TsCheckBox*);
  bool UserMade;
};
const Change kChanges[] = {{"setter", Setter, false}, {"mouse", MouseClick, true}, {"space", Space, true}};

class CheckBoxTest : public UiTest {
 protected:
  TsCheckBox* NewBox(const char* caption = "Звук") {
    TForm* form = NewForm(200, 60);
    auto* box = new TsCheckBox(form);
    box->SetParent(form);
    box->SetBounds(10, 10, 120, 21);
    box->SetCaption(caption);
    box->OnClick = [this](TObject*) { ++clicks; };
    return box;
  }

  // Each change toggles once and raises OnClick once (none for a read-only box's user).
  void ExpectChanges(bool readOnly) {
    for (const Change& change : kChanges) {
      SCOPED_TRACE(change.Name);
      TsCheckBox* box = NewBox();
      box->SetReadOnly(readOnly);
      clicks = 0;
      change.Apply(box);
      const bool toggles = !(readOnly && change.UserMade);
      EXPECT_EQ(box->Checked(), toggles);
      EXPECT_EQ(clicks, toggles ? 1 : 0);
      EXPECT_FALSE(box->IsDown());
      change.Apply(box);
      EXPECT_FALSE(box->Checked());
    }
  }

  int clicks = 0;
};

TEST_F(CheckBoxTest, UnskinnedItBehavesAsTheFrameworksBox) {
  ASSERT_EQ(TsSkinManager::DefaultManager(), nullptr);
  ExpectChanges(false);
  TsCheckBox* box = NewBox();
  box->SetChecked(true);
  EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendSkinCommandToWindow(box->Handle(), SKC_ISSKINNED), 0);
}

TEST_F(CheckBoxTest, UnskinnedReadOnlyRefusesOnlyTheUser) { ExpectChanges(true); }

class SkinnedCheckBoxTest : public CheckBoxTest {
 protected:
  void SetUp() override {
    CheckBoxTest::SetUp();
    UseSkin(manager, SkinsFolder(), "EfirNight");
    ASSERT_EQ(TsSkinManager::DefaultManager(), &manager);
  }
  // What the manager sends its controls when it loads or removes a skin.
  void Tell(TsCheckBox* box, WORD subCommand) {
    SendMessageW(box->Handle(), SM_ALPHACMD, MakeSkinWParam(subCommand), reinterpret_cast<LPARAM>(&manager));
  }
  TsSkinManager manager{nullptr};
};

TEST_F(SkinnedCheckBoxTest, ChangesAsTheFrameworksBox) { ExpectChanges(false); }

TEST_F(SkinnedCheckBoxTest, ReadOnlyRefusesOnlyTheUser) { ExpectChanges(true); }

TEST_F(SkinnedCheckBoxTest, ItsGlyphFollowsStateMouseAndEnabled) {
  TsCheckBox* box = NewBox();
  EXPECT_EQ(SendSkinCommandToWindow(box->Handle(), SKC_ISSKINNED), 1);
  const RECT glyph = box->GlyphRect();
  ASSERT_GT(glyph.right - glyph.left, 4) << "our skin has BOXCHECKED";
  auto unchecked = Printed(box);
  box->SetChecked(true);
  auto checked = Printed(box);
  SendMessageW(box->Handle(), CM_MOUSEENTER, 0, 0);
  auto hot = Printed(box);
  SendMessageW(box->Handle(), CM_MOUSELEAVE, 0, 0);
  box->SetEnabled(false);
  auto disabled = Printed(box);
  EXPECT_FALSE(SamePixels(*unchecked, *checked, glyph));
  EXPECT_FALSE(SamePixels(*checked, *hot, glyph));
  EXPECT_FALSE(SamePixels(*checked, *disabled, glyph));
  EXPECT_FALSE(SamePixels(*hot, *disabled, glyph));
}

bool Blank(TBitmap& b, const RECT& r) {
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (At(b, x, y) != At(b, r.left, r.top)) return false;
  return true;
}

// The glyph and the caption sit on the sides the alignment names.
TEST_F(SkinnedCheckBoxTest, AlignmentPlacesGlyphAndCaption) {
  struct Row {
    TAlignment Alignment;
    RECT CaptionSide, OtherSide;  // where the caption shows, and an area it leaves alone
  };
  const Row rows[] = {{taRightJustify, {30, 0, 60, 21}, {70, 0, 120, 21}},
                      {taLeftJustify, {2, 0, 32, 21}, {60, 0, 100, 21}}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Alignment);
    TsCheckBox* box = NewBox("Звук");
    box->SetAlignment(row.Alignment);
    const RECT glyph = box->GlyphRect();
    EXPECT_EQ(row.Alignment == taRightJustify ? glyph.left : 120 - glyph.right, box->Margin());
    auto picture = Printed(box);
    EXPECT_FALSE(Blank(*picture, row.CaptionSide));
    EXPECT_TRUE(Blank(*picture, row.OtherSide));
    EXPECT_FALSE(Blank(*picture, glyph));
  }
}

TEST_F(SkinnedCheckBoxTest, ARemovedSkinLeavesTheSystemBoxInTheRightState) {
  TsCheckBox* box = NewBox();
  box->SetChecked(true);
  box->SetFocus();  // as after the click below: a focused box looks hot
  auto skinned = Printed(box);
  manager.SetActive(false);
  Tell(box, SKC_REMOVESKIN);
  EXPECT_EQ(SendSkinCommandToWindow(box->Handle(), SKC_ISSKINNED), 0);
  EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
  MouseClick(box);
  EXPECT_FALSE(box->Checked());
  EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);

  manager.SetActive(true);
  Tell(box, SKC_NEWSKIN);
  EXPECT_EQ(SendSkinCommandToWindow(box->Handle(), SKC_ISSKINNED), 1);
  box->SetChecked(true);
  auto again = Printed(box);
  EXPECT_TRUE(SamePixels(*skinned, *again, box->GlyphRect()));
}

TEST_F(SkinnedCheckBoxTest, ABoxThatWaitedForItsParentPaintsWhenToldTheParentIsDone) {
  TsCheckBox* box = NewBox();
  auto painted = Printed(box);
  box->SkinData->SetUpdating(true);
  auto blank = NewBitmap24(box->Width(), box->Height());
  SendMessageW(box->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(blank->Canvas().Handle()), 0);
  EXPECT_TRUE(Blank(*blank, {0, 0, box->Width(), box->Height()}));
  EXPECT_TRUE(box->SkinData->Updating);

  SendMessageW(box->Handle(), SM_ALPHACMD, MakeSkinWParam(SKC_PARENTUPDATED), 0);
  EXPECT_FALSE(box->SkinData->Updating);
  SendMessageW(box->Handle(), WM_PAINT, reinterpret_cast<WPARAM>(blank->Canvas().Handle()), 0);
  EXPECT_TRUE(SamePixels(*painted, *blank, {0, 0, box->Width(), box->Height()}));
}

TEST_F(SkinnedCheckBoxTest, ASkinWithoutTheCheckedPictureLeavesA16PixelGlyphArea) {
  TsCheckBox* box = NewBox();
  auto it = std::find_if(manager.Masks.begin(), manager.Masks.end(),
                         [](const TsMaskData& m) { return m.PropertyName == "BOXCHECKED"; });
  ASSERT_NE(it, manager.Masks.end());
  it->PropertyName = "GONE";
  const RECT r = box->GlyphRect();
  EXPECT_EQ(r.right - r.left, 16);
  EXPECT_EQ(r.bottom - r.top, 16);
  box->SetChecked(true);
  Printed(box);  // paints without a glyph
}

}  // namespace
