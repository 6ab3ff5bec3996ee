// The skinned check box: without a skin it behaves as the framework's check box; with our
// skin it paints itself, and its look (read back from the pixels it prints) follows the
// check state, the mouse and the enabled state.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "framework/tests/ui_fixture.h"
#include "skin/engine/alpha_blend.h"
#include "skin/engine/s_check_box.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/tests/control_fixtures.h"
#include "skin/engine/tests/png_fixtures.h"
#include "tests/support/window.h"

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
    box->SetAutoSize(false);
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
  EXPECT_EQ(SendSkinCommandToWindow(box->Handle(), SKC_ISSKINNED), 1) << "ours, skinned or not: never adapted";
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
  EXPECT_EQ(SendSkinCommandToWindow(box->Handle(), SKC_ISSKINNED), 1) << "ours, skinned or not: never adapted";
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

// A glyph of three 10 x 10 frames side by side, red, green and blue (normal, hot, pressed):
// 24-bit above an all-opaque mask, or 32-bit with alpha.
std::unique_ptr<TBitmap> Frames(TPixelFormat format) {
  const int rows = format == pf32bit ? 10 : 20;
  auto glyph = Solid(30, rows, format, clBlack, 255);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 30; ++x) {
      const TColor c = x < 10 ? clRed : x < 20 ? clLime : clBlue;
      uint8_t* p = PixelAddress(*glyph, x, y);
      p[0] = GetBValue(c), p[1] = GetGValue(c), p[2] = GetRValue(c);
    }
  return glyph;
}

// The frame that shows follows the look; image-list entries and the box's own bitmaps alike.
TEST_F(SkinnedCheckBoxTest, OwnGlyphsShowTheFrameOfTheLook) {
  TsAlphaImageList images(nullptr, 30, 20);
  {
    auto entry = Frames(pf32bit);
    entry->SetSize(30, 20);
    TMemoryStream png;
    std::vector<Rgba> pixels;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 30; ++x) {
        const TColor c = y >= 10 ? clWhite : At(*entry, x, y);
        pixels.push_back({GetRValue(c), GetGValue(c), GetBValue(c), 255});
      }
    images.AddItem(ifPNG, EncodePng(30, 20, pixels));
  }
  struct Mode {
    const char* Name;
    void (*Use)(TsCheckBox*, TsAlphaImageList*);
  };
  const Mode modes[] = {
      {"image list", [](TsCheckBox* b, TsAlphaImageList* list) { b->SetImages(list); }},
      {"own bitmaps",
       [](TsCheckBox* b, TsAlphaImageList*) {
         b->GlyphChecked().Assign(*Frames(pf24bit));
         b->GlyphsChanged();
       }},
  };
  struct Look {
    const char* Name;
    void (*Arrange)(TsCheckBox*);
    TColor Shown;
  };
  const Look looks[] = {
      {"normal", [](TsCheckBox*) {}, clRed},
      {"hot", [](TsCheckBox* b) { SendMessageW(b->Handle(), CM_MOUSEENTER, 0, 0); }, clLime},
      {"pressed", [](TsCheckBox* b) { SendMessageW(b->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(4, 4)); }, clBlue},
  };
  for (const Mode& mode : modes)
    for (const Look& look : looks) {
      SCOPED_TRACE(std::string(mode.Name) + " " + look.Name);
      TsCheckBox* box = NewBox();
      box->SetChecked(true);
      mode.Use(box, &images);
      const RECT glyph = box->GlyphRect();
      EXPECT_EQ(glyph.right - glyph.left, 10);
      EXPECT_EQ(glyph.bottom - glyph.top, 10);
      EXPECT_EQ(glyph.left, box->Margin());
      look.Arrange(box);
      auto picture = Printed(box);
      // Blending an opaque pixel may round a step down.
      const TColor shown = At(*picture, glyph.left + 5, glyph.top + 5);
      for (int shift : {0, 8, 16}) EXPECT_NEAR(shown >> shift & 0xFF, look.Shown >> shift & 0xFF, 1) << std::hex << shown;
    }

  // Unchecked, the box's own bitmaps show nothing without an unchecked glyph.
  TsCheckBox* box = NewBox();
  box->GlyphChecked().Assign(*Frames(pf24bit));
  box->GlyphsChanged();
  const RECT glyph = box->GlyphRect();
  auto unchecked = Printed(box);
  for (TColor frame : {clRed, clLime, clBlue})
    EXPECT_NE(At(*unchecked, glyph.left + 5, glyph.top + 5) & 0xF0F0F0, frame & 0xF0F0F0);
}

TEST_F(SkinnedCheckBoxTest, AGrayedBoxShowsItsOwnGlyphAndTheClicksGoRound) {
  TsCheckBox* box = NewBox();
  box->SetAllowGrayed(true);
  const RECT glyph = box->GlyphRect();
  auto unchecked = Printed(box);
  std::vector<TCheckBoxState> states;
  for (int click = 0; click < 3; ++click) {
    MouseClick(box);
    states.push_back(box->State());
    if (click == 0) {
      auto grayed = Printed(box);
      SendMessageW(box->Handle(), CM_MOUSELEAVE, 0, 0);
      EXPECT_FALSE(SamePixels(*unchecked, *grayed, glyph));
    }
  }
  EXPECT_EQ(states, (std::vector<TCheckBoxState>{cbGrayed, cbChecked, cbUnchecked}));
  EXPECT_EQ(clicks, 3);
  box->SetState(cbGrayed);
  manager.SetActive(false);
  Tell(box, SKC_REMOVESKIN);
  EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_INDETERMINATE);
}

// The size follows glyph and caption: the skin's glyph with margins, or the system's box.
TEST_F(CheckBoxTest, AutoSizeFitsGlyphAndCaption) {
  TsSkinManager manager{nullptr};
  for (bool skinned : {false, true}) {
    if (skinned) UseSkin(manager, SkinsFolder(), "EfirNight");
    for (const char* caption : {"", "Автоматически проверять обновления"}) {
      SCOPED_TRACE(std::string(skinned ? "skinned " : "plain ") + caption);
      TsCheckBox* box = NewBox(caption);
      box->SetAutoSize(true);
      TBitmap measure(1, 1);
      measure.Canvas().Font().Assign(box->Font());
      const SIZE text = *caption ? measure.Canvas().TextExtent(caption) : SIZE{0, 0};
      const RECT glyph = box->GlyphRect();
      const int gw = glyph.right - glyph.left, gh = glyph.bottom - glyph.top;
      if (skinned) {
        EXPECT_EQ(box->Width(), gw + 4 + (*caption ? text.cx + 8 : 0));
        EXPECT_EQ(box->Height(), std::max<int>(gh, text.cy + 4) + 2);
        box->SetMargin(5);
        EXPECT_EQ(box->Width(), gw + 10 + (*caption ? text.cx + 8 : 0));
      } else {
        EXPECT_EQ(box->Width(), text.cx + 20);
        EXPECT_EQ(box->Height(), std::max<int>(text.cy + 4, 20));
      }
    }
  }
}

// A read-only box never toggles by the mouse. Skinned it is a display that raises none of the
// mouse's events; plain, only the system box's own toggle and the double click are refused.
TEST_F(CheckBoxTest, AReadOnlyBoxRefusesTheMousesToggle) {
  TsSkinManager manager{nullptr};
  for (bool skinned : {false, true}) {
    if (skinned) UseSkin(manager, SkinsFolder(), "EfirNight");
    SCOPED_TRACE(skinned ? "skinned" : "plain");
    TsCheckBox* box = NewBox();
    box->SetReadOnly(true);
    int downs = 0, ups = 0, doubles = 0;
    box->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++downs; };
    box->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { ++ups; };
    box->OnDblClick = [&](TObject*) { ++doubles; };
    for (UINT msg : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
      PostMessageW(box->Handle(), msg, msg == WM_LBUTTONUP ? 0 : MK_LBUTTON, At(8, 10));
      pumpFor(20);
    }
    EXPECT_EQ(downs, skinned ? 0 : 1);
    EXPECT_EQ(ups, skinned ? 0 : 2);
    EXPECT_EQ(doubles, 0);
    EXPECT_FALSE(box->Checked());
    EXPECT_EQ(SendMessageW(box->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED) << "the window shows it unchecked";
    EXPECT_EQ(clicks, 0);
  }
}

// Tiny boxes paint, and a freed box gives its image back.
TEST_F(SkinnedCheckBoxTest, TinyBoxesPaintAndFreedOnesGiveTheirImageBack) {
  for (SIZE size : {SIZE{1, 1}, SIZE{3, 2}, SIZE{0, 0}}) {
    TsCheckBox* box = NewBox();
    box->GlyphChecked().Assign(*Frames(pf24bit));
    box->SetChecked(true);
    box->SetBounds(10, 10, size.cx, size.cy);
    SendMessageW(box->Handle(), WM_PAINT, 0, 0);
    box->Repaint();
  }
  TsCheckBox* box = NewBox();
  Printed(box);
  const HBITMAP image = box->SkinData->CacheBitmap->Handle();
  ASSERT_EQ(GetObjectType(image), static_cast<DWORD>(OBJ_BITMAP));
  box->Free();
  EXPECT_EQ(GetObjectType(image), 0u);
}

}  // namespace
