// The skinned labels and the bound label: the text colour and background each case shows on
// the screen under the synthetic skin, the framework's label without a skin, and where a
// bound label puts its caption.
#include <gtest/gtest.h>

#include <string>

#include "framework/tests/ui_fixture.h"
#include "skin/engine/alpha_blend.h"
#include "skin/engine/bound_label.h"
#include "skin/engine/common_data.h"
#include "skin/engine/s_label.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/tests/control_fixtures.h"
#include "tests/support/capture.h"
#include "tests/support/window.h"

namespace {

using namespace efir::test;

constexpr TColor kFormColor = 0x303030;

class LabelTest : public UiTest {
 protected:
  template <class Label>
  Label* NewLabel() {
    form = NewForm(200, 60);
    form->SetColor(kFormColor);
    auto* label = new Label(form);
    label->SetParent(form);
    label->SetBounds(10, 10, 150, 30);
    label->Font().SetSize(16);
    label->Font().SetStyle(fsBold);
    label->SetCaption("ЖЖЖ");
    pumpFor(30);
    return label;
  }
  // How many pixels of the label's area show `color` on the screen.
  int PixelsOf(TControl* label, TColor color) {
    const Image screen = captureWindow(form->Handle());
    int count = 0;
    for (int y = label->Top(); y < label->Top() + label->Height(); ++y)
      for (int x = label->Left(); x < label->Left() + label->Width(); ++x)
        if (static_cast<TColor>(screen.at(x, y)) == color) ++count;
    return count;
  }
  TForm* form = nullptr;
};

TEST_F(LabelTest, UnskinnedItPaintsAsTheFrameworksLabel) {
  ASSERT_EQ(TsSkinManager::DefaultManager(), nullptr);
  for (bool enabled : {true, false}) {
    SCOPED_TRACE(enabled);
    TsLabel* ours = NewLabel<TsLabel>();
    ours->SetEnabled(enabled);
    pumpFor(30);
    const Image a = captureWindow(form->Handle());
    NewLabel<TLabel>()->SetEnabled(enabled);
    pumpFor(30);
    EXPECT_EQ(a.pixels, captureWindow(form->Handle()).pixels);
  }
}

class SkinnedLabelTest : public LabelTest {
 protected:
  void SetUp() override {
    LabelTest::SetUp();
    UseSkin(manager, WriteSyntheticSkin(), "Synth");
  }
  TsSkinManager manager{nullptr};
};

// Text colour and background for each case, read from the screen.
TEST_F(SkinnedLabelTest, EachCaseShowsItsColours) {
  struct Row {
    const char* Case;
    void (*Arrange)(TsLabel*);
    TColor Text;
    TColor Background;  // inside a section's frame
  };
  const Row rows[] = {
      {"on an unskinned form: GLOBALINFO's font", [](TsLabel*) {}, synth::Ink, kFormColor},
      {"section behind", [](TsLabel* l) { l->SetSkinSection("BUTTON"); }, synth::ButtonInk, synth::Face[0]},
      {"disabled", [](TsLabel* l) { l->SetEnabled(false); }, MixColors(synth::Ink, kFormColor, 0.4), kFormColor},
      {"own colour kept",
       [](TsLabel* l) {
         l->SetUseSkinColor(false);
         l->Font().SetColor(0x0000FF);
       },
       0x0000FF, kFormColor},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Case);
    TsLabel* label = NewLabel<TsLabel>();
    row.Arrange(label);
    label->Invalidate();
    pumpFor(30);
    EXPECT_GT(PixelsOf(label, row.Text), 10);
    EXPECT_EQ(captureWindow(form->Handle()).at(label->Left() + 4, label->Top() + 4), row.Background);
  }
}

TEST_F(SkinnedLabelTest, ARemovedSkinGivesTheTextTheWindowColourUnlessItKeptItsOwn) {
  for (bool useSkinColor : {true, false}) {
    SCOPED_TRACE(useSkinColor);
    TsLabel* label = NewLabel<TsLabel>();
    label->SetUseSkinColor(useSkinColor);
    label->Font().SetColor(0x0000FF);
    label->Repaint();
    label->Perform(SM_ALPHACMD, MakeSkinWParam(SKC_REMOVESKIN), reinterpret_cast<LPARAM>(&manager));
    EXPECT_EQ(label->Font().Color(), useSkinColor ? clWindowText : static_cast<TColor>(0x0000FF));
  }
}

class BoundLabelTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    TForm* form = NewForm(300, 200);
    edit = efir::Place(new TEdit(form), form, 120, 100, 100, 21);
    edit->SetName("Edit1");
    data = std::make_unique<TsCommonData>(edit, false);
    bound = std::make_unique<TsBoundLabel>(*data);
  }
  TEdit* edit = nullptr;
  std::unique_ptr<TsCommonData> data;
  std::unique_ptr<TsBoundLabel> bound;
};

TEST_F(BoundLabelTest, ANamelessCaptionShowsTheControlsName) {
  bound->SetActive(true);
  TsEditLabel* label = bound->TheLabel();
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->Name(), "Edit1Label");
  EXPECT_EQ(label->Caption(), "Edit1");
  EXPECT_EQ(label->Parent(), edit->Parent());
}

TEST_F(BoundLabelTest, EachLayoutPlacesTheLabel) {
  bound->SetCaption("Адрес");
  bound->SetActive(true);
  TsEditLabel* l = bound->TheLabel();
  struct Row {
    TsCaptionLayout Layout;
    int Indent;
  };
  for (const Row& row : {Row{sclLeft, 0}, Row{sclLeft, 5}, Row{sclTopLeft, 2}, Row{sclTopCenter, 0}, Row{sclTopRight, 0}}) {
    SCOPED_TRACE(testing::Message() << row.Layout << " indent " << row.Indent);
    bound->SetLayout(row.Layout);
    bound->SetIndent(row.Indent);
    bound->AlignLabel();
    if (row.Layout == sclLeft) {
      EXPECT_EQ(l->Left() + l->Width(), edit->Left() - 4 - row.Indent);
      EXPECT_EQ(l->Top(), edit->Top() + (edit->Height() - l->Height()) / 2 - 1);
      continue;
    }
    EXPECT_EQ(l->Top() + l->Height(), edit->Top() - row.Indent);
    const int expectedLeft = row.Layout == sclTopLeft     ? edit->Left()
                             : row.Layout == sclTopCenter ? edit->Left() + (edit->Width() - l->Width()) / 2
                                                          : edit->Left() + edit->Width() - l->Width();
    EXPECT_EQ(l->Left(), expectedLeft);
  }
}

TEST_F(BoundLabelTest, MaxWidthWrapsAndIsAtLeastAsHighAsTheControl) {
  bound->SetCaption("Очень длинная подпись поля");
  bound->SetMaxWidth(50);
  bound->SetActive(true);
  TsEditLabel* l = bound->TheLabel();
  EXPECT_EQ(l->Width(), 50);
  EXPECT_TRUE(l->WordWrap());
  EXPECT_GE(l->Height(), edit->Height());
}

TEST_F(BoundLabelTest, UseSkinColorReachesOnlyALabelThatExists) {
  bound->SetUseSkinColor(false);
  EXPECT_TRUE(bound->UseSkinColor());
  bound->SetActive(true);
  bound->SetUseSkinColor(false);
  EXPECT_FALSE(bound->UseSkinColor());
}

TEST_F(BoundLabelTest, ALabelFreedElsewhereLeavesTheBoundLabelInactive) {
  bound->SetActive(true);
  bound->TheLabel()->Free();
  EXPECT_FALSE(bound->Active());
  EXPECT_EQ(bound->TheLabel(), nullptr);
  bound->SetActive(true);  // made anew
  EXPECT_NE(bound->TheLabel(), nullptr);
  bound.reset();  // frees its label once
}

}  // namespace
