// The animated show on real windows: the frames through the test's window on them (Wine does
// not blend layered windows, so what the overlay holds is read, not the screen's blend), the
// form visible at the end of every path, and a colour-keyed form never showing its key.
#include "skin/forms/form_animation.h"

#include "framework/stdctrls.h"
#include "framework/tests/ui_fixture.h"
#include "skin/engine/skin_broadcast.h"
#include "skin/forms/border_form.h"
#include "skin/forms/skin_provider.h"
#include "skin/forms/tests/dialog_fixtures.h"
#include "skin/forms/window_relays.h"
#include "tests/support/capture.h"
#include "tests/support/window.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

using efir::test::UiTest;

class FormAnimation : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    // Something known behind the animated form: blue.
    behind = NewForm(300, 200);
    behind->SetColor(clBlue);
    behind->Repaint();
  }
  void TearDown() override {
    AnimationFrameShown = nullptr;
    LayeredFrameShown = nullptr;
    UiTest::TearDown();
  }

  // A red form over the blue one, hidden for its animation the way a provider shows it.
  TForm* FormHiddenForItsShow() {
    auto* form = efir::Construct<TForm>(nullptr);
    form->SetBorderStyle(bsNone);
    form->SetBounds(60, 60, 120, 80);
    form->SetColor(clRed);
    form->HandleNeeded();
    EXPECT_TRUE(SetLayeredHidden(form, true));
    form->Show();
    SetLayeredHidden(form, false);
    animated.push_back(form);
    return form;
  }

  void ExpectShownAndCleanedUp(TForm* form) {
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_FALSE(GetWindowLongPtrW(form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_FALSE(SkinChangeAnimating);
    EXPECT_EQ(AnimationTargetDC, nullptr);
    EXPECT_EQ(FindWindowW(nullptr, L"acOutputWindow"), nullptr);
    efir::test::pumpFor(50);
    efir::test::Image screen = efir::test::captureScreenOf(form->Handle());
    EXPECT_EQ(screen.at(60, 40), RGB(255, 0, 0));
  }

  void TearDownForms() {
    for (TForm* form : animated) form->Free();
    animated.clear();
  }

  TForm* behind = nullptr;
  std::vector<TForm*> animated;
  std::vector<int> weights;
};

TEST(FormAnimationSteps, CrossFadeWeightsPerTime) {
  struct Case {
    uint16_t time;
    std::vector<int> weights;
  };
  const Case cases[] = {
      {0, {}},
      {7, {}},
      {8, {255, 0}},
      {16, {255, 128, 1}},
      {40, {255, 204, 153, 102, 51, 0}},
  };
  for (const Case& c : cases) EXPECT_EQ(CrossFadeWeights(c.time), c.weights) << c.time;
  std::vector<int> eighty = CrossFadeWeights(80);
  ASSERT_EQ(eighty.size(), 11u);
  EXPECT_EQ(eighty.front(), 255);
  EXPECT_EQ(eighty.back(), 5);
}

TEST_F(FormAnimation, SetLayeredHiddenLeavesLayeredFormsAlone) {
  TForm* form = FormHiddenForItsShow();
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
  EXPECT_FALSE(GetWindowLongPtrW(form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);

  TForm* keyed = NewForm();
  keyed->SetTransparentColorValue(clLime);
  keyed->SetTransparentColor(true);
  EXPECT_FALSE(SetLayeredHidden(keyed, true));
  EXPECT_TRUE(GetWindowLongPtrW(keyed->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
  TearDownForms();
}

TEST_F(FormAnimation, BelowEightMillisecondsThereIsNoAnimationButTheFormShows) {
  for (uint16_t time : {0, 7}) {
    TForm* form = FormHiddenForItsShow();
    int frames = 0;
    AnimationFrameShown = [&](HWND, int) { ++frames; };
    AnimateFormAppearance(form, time);
    EXPECT_EQ(frames, 0) << time;
    ExpectShownAndCleanedUp(form);
    EXPECT_TRUE(shown.empty());
    TearDownForms();
  }
}

TEST_F(FormAnimation, EightyMillisecondsFadeInElevenFramesFromTheOldPictureToTheForm) {
  TForm* form = FormHiddenForItsShow();
  std::vector<COLORREF> overlayPixels;
  AnimationFrameShown = [&](HWND overlay, int weight) {
    weights.push_back(weight);
    EXPECT_TRUE(SkinChangeAnimating);
    EXPECT_TRUE(IsWindowVisible(overlay));
    overlayPixels.push_back(efir::test::captureWindow(overlay).at(60, 40));
  };
  AnimateFormAppearance(form, 80);
  EXPECT_EQ(weights, CrossFadeWeights(80));
  ASSERT_EQ(overlayPixels.size(), 11u);
  // What the screen showed, the blue form (the blend at full weight keeps 255/256 of it).
  EXPECT_GE(GetBValue(overlayPixels.front()), 250);
  EXPECT_LE(GetRValue(overlayPixels.front()), 5);
  // Half way the red of the form and the blue behind it are mixed; the red grows.
  COLORREF middle = overlayPixels[5];
  EXPECT_GT(GetRValue(middle), 80);
  EXPECT_GT(GetBValue(middle), 80);
  EXPECT_GT(GetRValue(overlayPixels[9]), GetRValue(overlayPixels[2]));
  ExpectShownAndCleanedUp(form);
  TearDownForms();
}

// A form inside another one is covered by an overlay among its parent's children, right
// above it, in its place.
TEST_F(FormAnimation, AFormInsideAnotherFadesUnderASiblingOverlay) {
  auto* form = efir::Construct<TForm>(nullptr);
  form->SetBorderStyle(bsNone);
  form->SetParent(behind);
  form->SetBounds(30, 20, 120, 80);
  form->SetColor(clRed);
  form->Show();
  animated.push_back(form);
  efir::test::pumpFor(50);
  HWND overlayParent = nullptr, overlayAbove = nullptr;
  RECT overlayRect{}, formRect{};
  bool child = false;
  AnimationFrameShown = [&](HWND overlay, int) {
    overlayParent = GetParent(overlay);
    child = GetWindowLongPtrW(overlay, GWL_STYLE) & WS_CHILD;
    overlayAbove = GetWindow(form->Handle(), GW_HWNDPREV);
    overlayAbove = overlayAbove == overlay ? overlay : nullptr;
    GetWindowRect(overlay, &overlayRect);
    GetWindowRect(form->Handle(), &formRect);
  };
  AnimateFormAppearance(form, 16);
  EXPECT_EQ(overlayParent, behind->Handle());
  EXPECT_TRUE(child);
  EXPECT_NE(overlayAbove, nullptr) << "right above the form";
  EXPECT_TRUE(EqualRect(&overlayRect, &formRect));
  EXPECT_EQ(FindWindowExW(behind->Handle(), nullptr, nullptr, L"acOutputWindow"), nullptr) << "gone at the end";
  TearDownForms();
}

// A skinned form with an extended-border window fades in, frame and shadow included, through
// a layered overlay where its border window lies, up to its own opacity; the border window
// then takes the picture over, behind the form. (Wine shows layered windows unblended: the
// opacities are read through the test's window on the frames.)
TEST_F(FormAnimation, AFormWithABorderWindowFadesInWholeToItsOwnOpacity) {
  struct Case {
    bool Blended;
    int Opacity;
    std::vector<int> Alphas;  // 40 ms: five steps, six pushes after the first
  };
  const Case cases[] = {{false, 255, {0, 51, 102, 153, 204, 255, 255}}, {true, 200, {0, 40, 80, 120, 160, 200, 200}}};
  efir::test::DialogSkin skin;
  skin.manager->SetExtendedBorders(true);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Opacity);
    auto* form = efir::Construct<TForm>(nullptr);
    animated.push_back(form);
    form->SetBounds(150, 150, 300, 200);
    form->SetAlphaBlend(c.Blended);
    form->SetAlphaBlendValue(static_cast<BYTE>(c.Opacity));
    form->Show();
    efir::test::pumpFor(100);
    TsSkinProvider* provider = ProviderOfForm(form);
    ASSERT_NE(provider, nullptr);
    ASSERT_NE(provider->BorderForm, nullptr);
    HWND border = provider->BorderForm->Window();
    ASSERT_EQ(GetWindow(form->Handle(), GW_HWNDNEXT), border);
    RECT borderRect;
    GetWindowRect(border, &borderRect);

    std::vector<int> alphas;
    RECT overlayRect{};
    bool layered = false, abovePreviousFormPlace = false;
    LayeredFrameShown = [&](HWND overlay, int alpha) {
      alphas.push_back(alpha);
      EXPECT_TRUE(SkinChangeAnimating);
      GetWindowRect(overlay, &overlayRect);
      layered = GetWindowLongPtrW(overlay, GWL_EXSTYLE) & WS_EX_LAYERED;
      abovePreviousFormPlace = GetWindow(form->Handle(), GW_HWNDPREV) == overlay;
      EXPECT_EQ(form->AlphaBlendValue(), c.Blended ? 1 : c.Opacity) << "the form itself shows nothing meanwhile";
    };
    int crossFades = 0;
    AnimationFrameShown = [&](HWND, int) { ++crossFades; };
    SendMessageW(form->Handle(), WM_SETREDRAW, FALSE, 0);
    AnimateFormAppearance(form, 40);
    EXPECT_EQ(alphas, c.Alphas);
    EXPECT_EQ(crossFades, 0) << "no cross-fade overlay";
    EXPECT_TRUE(layered);
    EXPECT_TRUE(abovePreviousFormPlace) << "right above the form";
    EXPECT_TRUE(EqualRect(&overlayRect, &borderRect)) << "where the border window lies, its size";

    EXPECT_FALSE(SkinChangeAnimating);
    EXPECT_EQ(form->AlphaBlendValue(), c.Opacity) << "its opacity back";
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_TRUE(IsWindowVisible(border));
    EXPECT_EQ(GetWindow(form->Handle(), GW_HWNDNEXT), border) << "the border window behind the form again";
    EXPECT_EQ(FindWindowW(nullptr, L"acOutputWindow"), nullptr) << "the overlay is gone";
    LayeredFrameShown = nullptr;
    AnimationFrameShown = nullptr;
  }
  TearDownForms();
}

TEST_F(FormAnimation, AColourKeyedFormNeverShowsItsKeyColour) {
  auto* form = efir::Construct<TForm>(nullptr);
  form->SetBorderStyle(bsNone);
  form->SetBounds(60, 60, 120, 80);
  form->SetTransparentColorValue(clLime);
  form->SetTransparentColor(true);
  form->SetColor(clLime);
  auto* panel = efir::Place(new TPanel(form), form, 0, 0, 60, 80);  // the left half is solid
  panel->SetColor(clRed);
  panel->SetBevelOuter(bvNone);
  animated.push_back(form);
  form->Show();
  efir::test::pumpFor(50);  // its old look is on the screen when the skin changes
  SendMessageW(form->Handle(), WM_SETREDRAW, FALSE, 0);

  std::vector<COLORREF> keyArea, solidArea;
  AnimationFrameShown = [&](HWND, int) {
    efir::test::pumpFor(30);  // lets the frame reach the display
    efir::test::Image screen = efir::test::captureScreen({60, 60, 180, 140});
    keyArea.push_back(screen.at(100, 40));
    solidArea.push_back(screen.at(20, 40));
  };
  AnimateFormAppearance(form, 40);
  ASSERT_EQ(keyArea.size(), 6u);
  for (size_t i = 0; i < keyArea.size(); ++i) {
    EXPECT_EQ(keyArea[i], RGB(0, 0, 255)) << "frame " << i;  // the blue behind, never lime
    EXPECT_NE(solidArea[i], RGB(0, 255, 0)) << "frame " << i;
  }
  EXPECT_TRUE(IsWindowVisible(form->Handle()));
  efir::test::pumpFor(50);
  EXPECT_EQ(efir::test::captureScreen({60, 60, 180, 140}).at(100, 40), RGB(0, 0, 255));
  EXPECT_EQ(efir::test::captureScreen({60, 60, 180, 140}).at(20, 40), RGB(255, 0, 0));
  TearDownForms();
}

// A windowed control that paints itself red, whichever way it is asked to.
class TRedWindow : public TWinControl {
 public:
  using TWinControl::TWinControl;

 protected:
  void WndProc(TMessage& message) override {
    if ((message.Msg == WM_ERASEBKGND || message.Msg == WM_PAINT) && message.WParam) {
      const RECT r{0, 0, Width(), Height()};
      HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
      FillRect(reinterpret_cast<HDC>(message.WParam), &r, red);
      DeleteObject(red);
      message.Result = 1;
      return;
    }
    TWinControl::WndProc(message);
  }
};

// A skinned form prints its frame round its client area: its windowed children fade in where
// they lie in the window, below the title, not from the frame's corner.
TEST_F(FormAnimation, AFramedSkinnedFormsChildrenFadeInAtTheirPlaces) {
  efir::test::DialogSkin skin;
  auto* form = efir::Construct<TForm>(nullptr);
  animated.push_back(form);
  form->SetBounds(150, 150, 300, 200);
  efir::Place(new TRedWindow(form), form, 0, 0, 60, 40);
  form->Show();
  efir::test::pumpFor(100);
  ASSERT_NE(ProviderOfForm(form), nullptr);
  RECT client;
  ClientRectInWindowCoords(form->Handle(), client);
  ASSERT_GT(client.top, 10) << "a title above the client area";
  const POINT nearChildsEnd{client.left + 50, client.top + 32};
  COLORREF last = 0;
  AnimationFrameShown = [&](HWND overlay, int) { last = efir::test::captureWindow(overlay).at(nearChildsEnd.x, nearChildsEnd.y); };
  SendMessageW(form->Handle(), WM_SETREDRAW, FALSE, 0);
  AnimateFormAppearance(form, 16);
  EXPECT_GE(GetRValue(last), 250);
  EXPECT_LE(GetGValue(last), 5);
  EXPECT_LE(GetBValue(last), 5);
  efir::test::pumpFor(50);
  EXPECT_EQ(efir::test::captureWindow(form->Handle()).at(nearChildsEnd.x, nearChildsEnd.y), RGB(255, 0, 0))
      << "the form shows it there too";
  TearDownForms();
}

TEST_F(FormAnimation, AFailureMidwayStillShowsTheFormAndRemovesTheOverlay) {
  TForm* form = FormHiddenForItsShow();
  AnimationFrameShown = [&](HWND, int weight) {
    weights.push_back(weight);
    if (weights.size() == 3) throw std::runtime_error("frame lost");
  };
  EXPECT_THROW(AnimateFormAppearance(form, 80), std::runtime_error);
  EXPECT_EQ(weights.size(), 3u);
  ExpectShownAndCleanedUp(form);
  TearDownForms();
}

}  // namespace
