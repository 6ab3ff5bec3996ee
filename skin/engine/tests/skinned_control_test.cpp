// What every skinned control does through the shared base: it follows only its own manager's
// news of a skin coming, going or changing, and it gives back the pictures it painted with.
#include <gtest/gtest.h>

#include <functional>

#include "framework/tests/ui_fixture.h"
#include "skin/engine/s_bit_btn.h"
#include "skin/engine/s_button.h"
#include "skin/engine/s_check_box.h"
#include "skin/engine/s_edit.h"
#include "skin/engine/skin_broadcast.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/tests/control_fixtures.h"
#include "tests/support/capture.h"
#include "tests/support/window.h"

namespace {

using namespace efir::test;

// A skinned control made on a form, seen through what the tests read of it.
struct Made {
  TWinControl* Control;
  TsCommonData* SkinData;
  const int* Rebuilds;
  std::function<bool()> Skinned;
};

template <class Control>
Made Make(TForm* form) {
  auto* control = new Watched<Control>(form);
  control->SetParent(form);
  control->SetBounds(10, 10, 120, 30);
  control->SetCaption("Звук");
  control->HandleNeeded();
  return {control, control->SkinData.get(), &control->Rebuilds,
          [control] { return SkinActiveFor(control->SkinData.get(), true); }};
}

struct Kind {
  const char* Name;
  Made (*New)(TForm*);
};
const Kind kKinds[] = {{"check box", Make<TsCheckBox>}, {"bit button", Make<TsBitBtn>}, {"button", Make<TsButton>}};

class SkinnedControlTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    for (TsSkinManager* m : {&own, &other}) {
      UseSkin(*m, SkinsFolder(), "EfirNight");
    }
    ASSERT_EQ(TsSkinManager::DefaultManager(), &own);
  }
  static void Tell(const Made& made, WORD subCommand, TsSkinManager& from) {
    SendMessageW(made.Control->Handle(), SM_ALPHACMD, MakeSkinWParam(subCommand), reinterpret_cast<LPARAM>(&from));
  }

  TsSkinManager own{nullptr};
  TsSkinManager other{nullptr};
};

TEST_F(SkinnedControlTest, AnotherManagersSkinNewsLeavesTheControlAlone) {
  for (const Kind& kind : kKinds)
    for (WORD subCommand : {SKC_NEWSKIN, SKC_REMOVESKIN, SKC_REFRESH}) {
      SCOPED_TRACE(testing::Message() << kind.Name << " sub-command " << subCommand);
      Made made = kind.New(NewForm(160, 60));
      made.Control->Repaint();
      const int rebuilds = *made.Rebuilds;
      Tell(made, subCommand, other);
      EXPECT_EQ(*made.Rebuilds, rebuilds) << "not repainted";
      EXPECT_FALSE(GetUpdateRect(made.Control->Handle(), nullptr, FALSE)) << "nor marked for painting";
      EXPECT_FALSE(made.SkinData->BackgroundChanged);
      EXPECT_TRUE(made.Skinned());
    }
}

TEST_F(SkinnedControlTest, ItsOwnManagersSkinNewsRepaintsIt) {
  struct Row {
    WORD SubCommand;
    bool SkinnedAfter;
  };
  const Row rows[] = {{SKC_NEWSKIN, true}, {SKC_REFRESH, true}, {SKC_REMOVESKIN, false}};
  for (const Kind& kind : kKinds)
    for (const Row& row : rows) {
      SCOPED_TRACE(testing::Message() << kind.Name << " sub-command " << row.SubCommand);
      Made made = kind.New(NewForm(160, 60));
      made.Control->Repaint();
      const int rebuilds = *made.Rebuilds;
      Tell(made, row.SubCommand, own);
      EXPECT_EQ(made.Skinned(), row.SkinnedAfter);
      if (row.SkinnedAfter)
        EXPECT_GT(*made.Rebuilds, rebuilds) << "repainted";
      else
        EXPECT_EQ(*made.Rebuilds, rebuilds) << "left to the system control";
    }
}

// Painted, a control knows whether it sticks out of its parent's client area, and tells a
// child that asks.
TEST_F(SkinnedControlTest, APaintedControlTellsWhetherItSticksOutOfItsParent) {
  for (const Kind& kind : kKinds) {
    SCOPED_TRACE(kind.Name);
    Made made = kind.New(NewForm(160, 60));
    made.Control->Repaint();
    EXPECT_EQ(SendSkinCommandToWindow(made.Control->Handle(), SKC_ISPARENTPENDING), 0);
    made.Control->SetLeft(150);
    made.Control->Repaint();
    EXPECT_EQ(SendSkinCommandToWindow(made.Control->Handle(), SKC_ISPARENTPENDING), 1);
  }
}

TEST_F(SkinnedControlTest, FreeingAControlGivesBackItsImage) {
  for (const Kind& kind : kKinds) {
    SCOPED_TRACE(kind.Name);
    Made made = kind.New(NewForm(160, 60));
    made.Control->Repaint();
    const HBITMAP cache = made.SkinData->CacheBitmap->Handle();
    ASSERT_EQ(GetObjectType(cache), static_cast<DWORD>(OBJ_BITMAP));
    made.Control->Free();
    EXPECT_EQ(GetObjectType(cache), 0u);
  }
}

// While a skin change animates, the screen keeps the old picture until the animation hands
// over: a control whose look changed meanwhile paints only into the picture the animation
// renders, and the screen shows the new look once the animation is over.
TEST_F(SkinnedControlTest, WhileASkinChangeAnimatesAControlPaintsOnlyIntoTheAnimationsPicture) {
  struct Row {
    Kind Control;
    bool HeldFromOtherPictures;  // an edit prints into any picture, as its client area does
  };
  const Row rows[] = {{kKinds[0], true}, {kKinds[1], true}, {kKinds[2], true}, {{"edit", Make<TsEdit>}, false}};
  constexpr TColor kUntouched = 0xFF00FF;
  auto differing = [](const Image& a, const Image& b) {
    int count = 0;
    for (size_t i = 0; i < a.pixels.size() && i < b.pixels.size(); ++i) count += a.pixels[i] != b.pixels[i];
    return count;
  };
  auto differingFrom = [](const Image& screen, TBitmap& picture) {
    int count = 0;
    for (int y = 0; y < screen.height; ++y)
      for (int x = 0; x < screen.width; ++x) count += static_cast<TColor>(screen.at(x, y)) != At(picture, x, y);
    return count;
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.Control.Name);
    Made made = row.Control.New(NewForm(160, 60));
    TWinControl* control = made.Control;
    pumpFor(50);
    const Image before = captureScreenOf(control->Handle());

    SkinChangeAnimating = true;
    control->SetEnabled(false);  // the disabled look differs all over
    RedrawWindow(control->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    pumpFor(50);
    EXPECT_EQ(differing(before, captureScreenOf(control->Handle())), 0) << "the screen keeps the old picture";

    const int area = control->Width() * control->Height();
    auto other = Solid(control->Width(), control->Height(), pf24bit, kUntouched);
    SendMessageW(control->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(other->Canvas().Handle()), PRF_CLIENT);
    if (row.HeldFromOtherPictures)
      EXPECT_EQ(differingFrom(Image{before.width, before.height, std::vector<uint32_t>(before.pixels.size(), 0xFF00FF)},
                              *other),
                0)
          << "nothing painted outside the animation's picture";
    auto target = Solid(control->Width(), control->Height(), pf24bit, kUntouched);
    AnimationTargetDC = target->Canvas().Handle();
    SendMessageW(control->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(AnimationTargetDC), PRF_CLIENT);
    AnimationTargetDC = nullptr;
    SkinChangeAnimating = false;
    EXPECT_GT(differingFrom(before, *target), area / 4) << "the animation's picture holds the new look";

    RedrawWindow(control->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    pumpFor(50);
    const Image after = captureScreenOf(control->Handle());
    EXPECT_GT(differing(before, after), area / 4) << "the new look shows";
    EXPECT_LT(differingFrom(after, *target), area / 20) << "as rendered";
  }
}

}  // namespace
