// The skinned bit button: without a skin it clicks as the framework's bit button does; with our
// skin it paints itself, and its look (read back from the pixels it prints) follows the mouse,
// the pressed state and the enabled state.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "framework/tests/ui_fixture.h"
#include "skin/engine/alpha_blend.h"
#include "skin/engine/s_bit_btn.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/tests/control_fixtures.h"

namespace {

using namespace efir::test;

void MouseClick(TButton* button) {
  SendMessageW(button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(8, 10));
  SendMessageW(button->Handle(), WM_LBUTTONUP, 0, At(8, 10));
}
void SystemClick(TButton* button) { SendMessageW(button->Handle(), BM_CLICK, 0, 0); }
void CodeClick(TButton* button) { button->Click(); }

// How a button gets clicked; code clicks even a disabled button, as the framework's does.
struct Way {
  const char* Name;
  void (*Apply)(TButton*);
};
const Way kWays[] = {{"mouse", MouseClick}, {"system", SystemClick}, {"code", CodeClick}};

class BitBtnTest : public UiTest {
 protected:
  template <class Button>
  Button* NewButton(const char* caption = "Добавить\nРадиостанцию") {
    form = NewForm(200, 80);
    auto* button = new Button(form);
    button->SetParent(form);
    button->SetBounds(10, 10, 120, 46);
    button->SetCaption(caption);
    button->SetModalResult(mrOk);
    button->OnClick = [this](TObject*) { ++clicks; };
    return button;
  }

  struct Outcome {
    int Clicks;
    int ModalResult;
    bool operator==(const Outcome&) const = default;
  };
  Outcome Run(TButton* button, const Way& way, bool enabled) {
    clicks = 0;
    form->SetModalResult(mrNone);
    button->SetEnabled(enabled);
    way.Apply(button);
    return {clicks, form->ModalResult()};
  }

  // Every way, enabled and disabled, gives what the framework's bit button gives.
  void ExpectAsTheFrameworksButton() {
    for (const Way& way : kWays)
      for (bool enabled : {true, false}) {
        SCOPED_TRACE(std::string(way.Name) + (enabled ? " enabled" : " disabled"));
        const Outcome framework = Run(NewButton<TBitBtn>(), way, enabled);
        const Outcome skinned = Run(NewButton<TsBitBtn>(), way, enabled);
        EXPECT_EQ(skinned, framework);
        if (enabled) {
          EXPECT_EQ(skinned, (Outcome{1, mrOk}));
        }
      }
  }

  TForm* form = nullptr;
  int clicks = 0;
};

TEST_F(BitBtnTest, UnskinnedItClicksAsTheFrameworksButton) {
  ASSERT_EQ(TsSkinManager::DefaultManager(), nullptr);
  ExpectAsTheFrameworksButton();
  EXPECT_EQ(SendSkinCommandToWindow(NewButton<TsBitBtn>()->Handle(), SKC_ISSKINNED), 0);
}

class SkinnedBitBtnTest : public BitBtnTest {
 protected:
  void SetUp() override {
    BitBtnTest::SetUp();
    UseSkin(manager, SkinsFolder(), "EfirNight");
  }
  void Tell(TsBitBtn* button, WORD subCommand) {
    SendMessageW(button->Handle(), SM_ALPHACMD, MakeSkinWParam(subCommand), reinterpret_cast<LPARAM>(&manager));
  }
  TsSkinManager manager{nullptr};
};

TEST_F(SkinnedBitBtnTest, ClicksAsTheFrameworksButton) { ExpectAsTheFrameworksButton(); }

TEST_F(SkinnedBitBtnTest, NormalHotPressedAndDisabledLookDifferent) {
  TsBitBtn* button = NewButton<TsBitBtn>();
  EXPECT_EQ(SendSkinCommandToWindow(button->Handle(), SKC_ISSKINNED), 1);
  auto normal = Printed(button);
  SendMessageW(button->Handle(), CM_MOUSEENTER, 0, 0);
  EXPECT_EQ(button->CurrentState(), 1);
  auto hot = Printed(button);
  button->SetDown(true);
  EXPECT_EQ(button->CurrentState(), 2);
  auto pressed = Printed(button);
  button->SetDown(false);
  SendMessageW(button->Handle(), CM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(button->CurrentState(), 0);
  EXPECT_TRUE(SamePixels(*normal, *Printed(button)));
  button->SetEnabled(false);
  auto disabled = Printed(button);
  const TBitmap* looks[] = {normal.get(), hot.get(), pressed.get(), disabled.get()};
  for (size_t i = 0; i < 4; ++i)
    for (size_t j = i + 1; j < 4; ++j)
      EXPECT_FALSE(SamePixels(*const_cast<TBitmap*>(looks[i]), *const_cast<TBitmap*>(looks[j]))) << i << " " << j;
}

TEST_F(SkinnedBitBtnTest, RemovedAndNewSkin) {
  TsBitBtn* button = NewButton<TsBitBtn>();
  button->SetFocus();  // as after the click below: a focused button looks hot
  auto skinned = Printed(button);
  manager.SetActive(false);
  Tell(button, SKC_REMOVESKIN);
  EXPECT_EQ(SendSkinCommandToWindow(button->Handle(), SKC_ISSKINNED), 0);
  EXPECT_EQ(Run(button, kWays[0], true), (Outcome{1, mrOk}));

  manager.SetActive(true);
  Tell(button, SKC_NEWSKIN);
  EXPECT_EQ(SendSkinCommandToWindow(button->Handle(), SKC_ISSKINNED), 1);
  EXPECT_TRUE(SamePixels(*skinned, *Printed(button)));
}

}  // namespace
