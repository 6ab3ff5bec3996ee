// The skinned push button: without a skin it is the framework's button, to the click and the
// pixel; with the synthetic skin each look shows the section's colours on the screen, and the
// mouse and the space key, posted as the user's, press and click it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/tests/ui_fixture.h"
#include "skin/engine/s_bit_btn.h"
#include "skin/engine/s_button.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/tests/control_fixtures.h"
#include "tests/support/capture.h"
#include "tests/support/window.h"

namespace {

using namespace efir::test;

class ButtonTest : public UiTest {
 protected:
  template <class Button>
  Button* NewButton(const char* caption = "Найти") {
    form = NewForm(160, 60);
    auto* button = new Button(form);
    button->SetParent(form);
    button->SetBounds(10, 10, 100, 30);
    button->SetCaption(caption);
    button->SetModalResult(mrOk);
    button->OnClick = [this](TObject*) { ++clicks; };
    button->OnMouseEnter = [this](TObject*) { events.push_back("enter"); };
    button->OnMouseLeave = [this](TObject*) { events.push_back("leave"); };
    pumpFor(30);
    return button;
  }

  // The mouse moves onto (or off) the button as the user's would: the cursor, then the move.
  static void MouseTo(TButton* button, int x, int y) {
    const POINT p = button->ClientToScreen({x, y});
    SetCursorPos(p.x, p.y);
    PostMessageW(button->Handle(), WM_MOUSEMOVE, 0, At(x, y));
    pumpFor(30);
  }
  // The cursor leaves the button for its form's corner; the system tells the button.
  static void MouseAway(TButton* button) {
    const POINT p = button->Parent()->ClientToScreen({2, 2});
    SetCursorPos(p.x, p.y);
  }
  static void Post(TButton* button, UINT msg, WPARAM wParam, LPARAM lParam) {
    PostMessageW(button->Handle(), msg, wParam, lParam);
    pumpFor(30);
  }
  static void PostClick(TButton* button) {
    MouseTo(button, 20, 15);
    Post(button, WM_LBUTTONDOWN, MK_LBUTTON, At(20, 15));
    Post(button, WM_LBUTTONUP, 0, At(20, 15));
  }
  static void PostSpace(TButton* button) {
    button->SetFocus();
    Post(button, WM_KEYDOWN, VK_SPACE, 0x00390001);
    Post(button, WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0390001u));
  }

  TForm* form = nullptr;
  int clicks = 0;
  std::vector<std::string> events;
};

TEST_F(ButtonTest, UnskinnedItIsTheFrameworksButton) {
  ASSERT_EQ(TsSkinManager::DefaultManager(), nullptr);
  struct Way {
    const char* Name;
    void (*Apply)(TButton*);
  };
  const Way ways[] = {{"posted mouse", PostClick},
                      {"posted space", PostSpace},
                      {"BM_CLICK", [](TButton* b) { SendMessageW(b->Handle(), BM_CLICK, 0, 0); }},
                      {"code", [](TButton* b) { b->Click(); }}};
  for (const Way& way : ways)
    for (bool enabled : {true, false}) {
      SCOPED_TRACE(std::string(way.Name) + (enabled ? " enabled" : " disabled"));
      int outcome[2][2];
      TButton* buttons[] = {NewButton<TButton>(), NewButton<TsButton>()};
      for (int i = 0; i < 2; ++i) {
        clicks = 0;
        form = static_cast<TForm*>(buttons[i]->Owner());
        buttons[i]->SetEnabled(enabled);
        way.Apply(buttons[i]);
        outcome[i][0] = clicks;
        outcome[i][1] = form->ModalResult();
      }
      EXPECT_EQ(outcome[1][0], outcome[0][0]);
      EXPECT_EQ(outcome[1][1], outcome[0][1]);
    }

  // Each captured while its form is the topmost window.
  TsButton* skinnable = NewButton<TsButton>();
  const Image ours = captureWindow(skinnable->Handle());
  const Image plain = captureWindow(NewButton<TButton>()->Handle());
  EXPECT_EQ(ours.pixels, plain.pixels) << "drawn by the system as the framework's";
  EXPECT_EQ(SendSkinCommandToWindow(skinnable->Handle(), SKC_ISSKINNED), 1) << "ours, skinned or not: never adapted";

  // Only this button's events: the cursor also passes over the other forms' buttons.
  std::vector<std::string> own;
  skinnable->OnMouseEnter = [&](TObject*) { own.push_back("enter"); };
  skinnable->OnMouseLeave = [&](TObject*) { own.push_back("leave"); };
  MouseTo(skinnable, 20, 15);
  MouseAway(skinnable);
  EXPECT_TRUE(pumpUntil([&] { return own.size() >= 2; }, 1000));
  EXPECT_EQ(own, (std::vector<std::string>{"enter", "leave"}));
}

class SkinnedButtonTest : public ButtonTest {
 protected:
  void SetUp() override {
    ButtonTest::SetUp();
    UseSkin(manager, WriteSyntheticSkin(), "Synth");
  }
  TsSkinManager manager{nullptr};
};

// The rim at the left edge and the face beside it, as the screen shows them, for each look.
TEST_F(SkinnedButtonTest, EachLookShowsItsSectionColours) {
  struct Row {
    const char* Look;
    void (*Arrange)(TsButton*);
    int State;
  };
  const Row rows[] = {
      {"normal", [](TsButton*) {}, 0},
      {"hot", [](TsButton* b) { MouseTo(b, 20, 15); }, 1},
      {"pressed",
       [](TsButton* b) {
         MouseTo(b, 20, 15);
         Post(b, WM_LBUTTONDOWN, MK_LBUTTON, At(20, 15));
       },
       2},
      {"down", [](TsButton* b) { b->SetDown(true); }, 2},
      {"focused", [](TsButton* b) { b->SetFocus(); }, 1},
      {"default", [](TsButton* b) { b->SetDefault(true); }, 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Look);
    TsButton* button = NewButton<TsButton>();
    ASSERT_EQ(SendSkinCommandToWindow(button->Handle(), SKC_ISSKINNED), 1);
    row.Arrange(button);
    pumpFor(30);
    EXPECT_EQ(button->CurrentState(), row.State);
    const Image screen = captureWindow(button->Handle());
    EXPECT_EQ(screen.at(1, 15), synth::Rim[row.State]);
    EXPECT_EQ(screen.at(6, 15), synth::Face[row.State]);
    EXPECT_EQ(screen.at(50, 4), synth::Face[row.State]);
    int ink = 0;
    for (int y = 8; y < 24; ++y)
      for (int x = 30; x < 70; ++x) ink += static_cast<TColor>(screen.at(x, y)) == (row.State ? synth::HotInk : synth::ButtonInk);
    EXPECT_GT(ink, 5) << "the caption in the look's font colour";
    Post(button, WM_LBUTTONUP, 0, At(20, 15));
  }
}

// The Default button looks hot only while no other button has the focus, as Enter presses
// the focused button then.
TEST_F(SkinnedButtonTest, TheDefaultButtonGivesItsLookToAFocusedButton) {
  SetCursorPos(700, 560);  // not over the buttons
  TsButton* byDefault = NewButton<TsButton>();
  byDefault->SetDefault(true);
  auto* other = new TsButton(form);
  other->SetParent(form);
  other->SetBounds(10, 40, 60, 16);
  auto* edit = new TEdit(form);
  edit->SetParent(form);
  edit->SetBounds(80, 40, 60, 16);
  pumpFor(30);
  const struct {
    const char* Focus;
    TWinControl* Focused;
    int Look;
  } rows[] = {{"another button", other, 0}, {"an edit", edit, 1}, {"itself", byDefault, 1}, {"another button again", other, 0}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Focus);
    row.Focused->SetFocus();
    pumpFor(30);
    EXPECT_EQ(byDefault->CurrentState(), row.Look);
    EXPECT_EQ(captureWindow(byDefault->Handle()).at(1, 15), synth::Rim[row.Look]);
  }
}

TEST_F(SkinnedButtonTest, FocusRectangleOnlyRoundACaption) {
  for (const char* caption : {"Найти", ""}) {
    SCOPED_TRACE(caption);
    TsButton* button = NewButton<TsButton>(caption);
    button->SetFocus();
    pumpFor(30);
    const Image focused = captureWindow(button->Handle());
    const RECT r = button->CaptionRect(1);
    int dots = 0;
    for (int x = r.left - 1; x <= r.right; ++x)
      if (focused.at(x, r.top - 1) != synth::Face[1]) ++dots;
    if (*caption)
      EXPECT_GT(dots, 4);
    else
      EXPECT_EQ(dots, 0);
  }
}

TEST_F(SkinnedButtonTest, DisabledLooksFaded) {
  TsButton* button = NewButton<TsButton>();
  button->SetEnabled(false);
  pumpFor(30);
  const TColor face = captureWindow(button->Handle()).at(6, 15);
  EXPECT_NE(face, synth::Face[0]);
  EXPECT_EQ(button->CurrentState(), 0);
}

TEST_F(SkinnedButtonTest, PostedMouseAndSpaceClickOnceAndShowThePress) {
  TsButton* button = NewButton<TsButton>();
  MouseTo(button, 20, 15);
  Post(button, WM_LBUTTONDOWN, MK_LBUTTON, At(20, 15));
  EXPECT_EQ(captureWindow(button->Handle()).at(1, 15), synth::Rim[2]);
  Post(button, WM_LBUTTONUP, 0, At(20, 15));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(form->ModalResult(), mrOk);
  EXPECT_EQ(captureWindow(button->Handle()).at(1, 15), synth::Rim[1]);

  Post(button, WM_KEYDOWN, VK_SPACE, 0x00390001);
  EXPECT_EQ(captureWindow(button->Handle()).at(1, 15), synth::Rim[2]);
  Post(button, WM_KEYUP, VK_SPACE, static_cast<LPARAM>(0xC0390001u));
  EXPECT_EQ(clicks, 2);

  events.clear();
  MouseAway(button);
  EXPECT_TRUE(pumpUntil([&] { return !events.empty(); }, 1000));
  EXPECT_EQ(events, (std::vector<std::string>{"leave"}));
}

TEST_F(SkinnedButtonTest, ARemovedSkinGivesBackTheSystemButton) {
  TsButton* button = NewButton<TsButton>();
  EXPECT_EQ(GetWindowLongW(button->Handle(), GWL_STYLE) & 0x0F, BS_OWNERDRAW);
  manager.SetActive(false);
  SendMessageW(button->Handle(), SM_ALPHACMD, MakeSkinWParam(SKC_REMOVESKIN), reinterpret_cast<LPARAM>(&manager));
  EXPECT_EQ(SendSkinCommandToWindow(button->Handle(), SKC_ISSKINNED), 1) << "ours, skinned or not: never adapted";
  EXPECT_EQ(GetWindowLongW(button->Handle(), GWL_STYLE) & 0x0F, BS_PUSHBUTTON);
  PostClick(button);
  EXPECT_EQ(clicks, 1);
}

class GlowingButtonTest : public ButtonTest {
 protected:
  void SetUp() override {
    ButtonTest::SetUp();
    UseSkin(manager, WriteSyntheticSkin(synth::Glow), "Synth");
  }
  void TearDown() override {
    ReleaseAllGlows();
    ButtonTest::TearDown();
  }
  // What the screen shows two pixels left of the button, halfway down: inside the halo's band.
  static TColor BesideTheButton(TButton* button) {
    const POINT p = button->ClientToScreen({-2, button->Height() / 2});
    return captureScreen({p.x, p.y, p.x + 1, p.y + 1}).at(0, 0);
  }
  TsSkinManager manager{nullptr};
};

// The halo of a section that glows comes with the mouse, goes while the button is held down
// and when the mouse leaves, and is never doubled.
TEST_F(GlowingButtonTest, AHoveredButtonShowsItsSectionsGlowOnTheScreen) {
  ASSERT_TRUE(manager.AllowGlowing());
  TButton* buttons[] = {NewButton<TsButton>(), NewButton<TsBitBtn>()};
  for (TButton* button : buttons) {
    SCOPED_TRACE(button == buttons[0] ? "push button" : "glyph button");
    BringWindowToTop(button->Parent()->Handle());
    MouseAway(button);
    pumpFor(60);
    const TColor bare = BesideTheButton(button);
    ASSERT_NE(bare, synth::Glow);

    MouseTo(button, 20, 15);
    EXPECT_EQ(GlowWindowsShown(), 1);
    EXPECT_EQ(BesideTheButton(button), synth::Glow);
    MouseTo(button, 30, 15);
    EXPECT_EQ(GlowWindowsShown(), 1) << "moving over the button makes no second halo";

    Post(button, WM_LBUTTONDOWN, MK_LBUTTON, At(30, 15));
    EXPECT_EQ(GlowWindowsShown(), 0) << "no halo while held";
    EXPECT_EQ(BesideTheButton(button), bare);
    Post(button, WM_LBUTTONUP, 0, At(30, 15));
    EXPECT_EQ(GlowWindowsShown(), 1) << "back once let go";

    button->SetWidth(90);
    pumpFor(30);
    EXPECT_EQ(GlowWindowsShown(), 0) << "a resized button drops the halo of its old size";

    MouseTo(button, 20, 15);
    MouseAway(button);
    EXPECT_TRUE(pumpUntil([] { return GlowWindowsShown() == 0; }, 1000));
    EXPECT_EQ(BesideTheButton(button), bare);
  }

  manager.SetAllowGlowing(false);
  MouseTo(buttons[0], 20, 15);
  EXPECT_EQ(GlowWindowsShown(), 0) << "the manager allows no glowing";
}

}  // namespace
