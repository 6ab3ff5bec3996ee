// The fading close button of a skinned message box: the alpha steps of a hot button and of its
// return to normal, read through the seam (the system here shows layered windows unblended),
// the pressed look at once, and no fade left once the box moves, hides or goes away.
#include "skin/forms/title_button_glow.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/bitmap.h"
#include "skin/forms/dialog_wnd.h"
#include "skin/forms/tests/dialog_fixtures.h"
#include "skin/forms/window_adapter.h"
#include "tests/support/window.h"

namespace efir::test {
namespace {

TacDialogWnd* DialogAdapterOf(HWND box) { return dynamic_cast<TacDialogWnd*>(AdapterOfWindow(box)); }

RECT OnScreen(HWND box, const RECT& inWindow) {
  RECT w;
  GetWindowRect(box, &w);
  return {w.left + inWindow.left, w.top + inWindow.top, w.left + inWindow.right, w.top + inWindow.bottom};
}

int GlowWindowsOfThisThread() {
  int count = 0;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM count) -> BOOL {
        wchar_t kind[32] = {};
        GetClassNameW(window, kind, 32);
        if (std::wstring(kind) == L"TacSBAnimationGlow") ++*reinterpret_cast<int*>(count);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&count));
  return count;
}

TColor CentrePixel(const TBitmap& frame) {
  return GetPixel(const_cast<TBitmap&>(frame).Canvas().Handle(), frame.Width() / 2, frame.Height() / 2) & 0xFFFFFF;
}

class TitleButtonGlow : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(skin.manager->AllowGlowing()) << "layered windows exist, so title buttons fade";
    GlowSeam.FrameShown = [this](const TacSBAnimation&, int alpha) { alphas.push_back(alpha); };
  }
  void TearDown() override { GlowSeam = {}; }

  // Makes the close button hot with the cursor resting on it, as the user's mouse does.
  static TacDialogWnd* HotClose(HWND box) {
    TacDialogWnd* dialog = DialogAdapterOf(box);
    if (!dialog) return nullptr;
    const RECT r = OnScreen(box, dialog->ButtonClose.Rect);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    pumpFor(50);
    dialog->SetHotButton(HTCLOSE, true);
    return dialog;
  }

  DialogSkin skin;
  std::vector<int> alphas;
};

TEST_F(TitleButtonGlow, AHotButtonFadesInByTwentyFiveStepsAndBackOutToZero) {
  GlowSeam.ManualSteps = true;
  WithMessageBox(L"Текст", MB_OKCANCEL, [&](HWND box) {
    TacDialogWnd* dialog = HotClose(box);
    ASSERT_NE(dialog, nullptr);
    TacSBAnimation* fade = dialog->ButtonClose.GlowTimer.get();
    ASSERT_NE(fade, nullptr);
    for (int i = 0; i < 12; ++i) StepGlowAnimations();
    EXPECT_EQ(alphas, (std::vector<int>{25, 50, 75, 100, 125, 150, 175, 200, 225, 255}))
        << "lit fully; then it only watches the cursor";
    ASSERT_NE(fade->GlowWindow, nullptr);
    EXPECT_TRUE(IsWindowVisible(fade->GlowWindow));
    EXPECT_TRUE(GetWindowLongPtrW(fade->GlowWindow, GWL_EXSTYLE) & WS_EX_TRANSPARENT) << "clicks pass through";
    RECT shown;
    GetWindowRect(fade->GlowWindow, &shown);
    const RECT button = OnScreen(box, dialog->ButtonClose.Rect);
    EXPECT_TRUE(EqualRect(&shown, &button)) << "without a glow picture the button's own hot picture lies over it";
    ASSERT_NE(fade->Frame, nullptr);
    EXPECT_EQ(CentrePixel(*fade->Frame), dlg::Close[1]) << "the hot picture";

    alphas.clear();
    dialog->SetHotButton(0, true);
    for (int i = 0; i < 12; ++i) StepGlowAnimations();
    EXPECT_EQ(alphas, (std::vector<int>{250, 225, 200, 175, 150, 125, 100, 75, 50, 25, 0}));
    EXPECT_EQ(fade->GlowWindow, nullptr) << "the window and picture go once faded out";
    EXPECT_EQ(fade->Frame, nullptr);
    EXPECT_FALSE(fade->Running());

    alphas.clear();
    dialog->PressButton(HTCLOSE);
    StepGlowAnimations();
    EXPECT_EQ(alphas, (std::vector<int>{255})) << "pressed shows at once, without steps";
    ASSERT_NE(fade->Frame, nullptr);
    EXPECT_EQ(CentrePixel(*fade->Frame), dlg::Close[2]) << "the pressed picture";
    dialog->SetHotButton(0, true);
  });
}

TEST_F(TitleButtonGlow, LeavingAFullyLitButtonTellsTheOwnerWhichFadesItOut) {
  GlowSeam.ManualSteps = true;
  WithMessageBox(L"Текст", MB_OKCANCEL, [&](HWND box) {
    TacDialogWnd* dialog = HotClose(box);
    ASSERT_NE(dialog, nullptr);
    for (int i = 0; i < 11; ++i) StepGlowAnimations();
    RECT w;
    GetWindowRect(box, &w);
    SetCursorPos(w.left + w.right / 2 - w.left / 2, w.bottom - 5);
    alphas.clear();
    StepGlowAnimations();  // the held button notices the cursor is gone
    EXPECT_EQ(dialog->HotButton, 0) << "the owner heard WM_MOUSELEAVE";
    ASSERT_NE(dialog->ButtonClose.GlowTimer, nullptr);
    EXPECT_TRUE(dialog->ButtonClose.GlowTimer->Running()) << "fading out";
  });
}

// Whatever ends the fade early, no animation, timer or glow window stays behind.
TEST_F(TitleButtonGlow, FadesStopWhenTheBoxMovesHidesOrGoes) {
  const struct {
    const char* Name;
    std::function<void(HWND)> Act;
  } endings[] = {
      {"move", [](HWND box) { SetWindowPos(box, nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE); }},
      {"hide", [](HWND box) { ShowWindow(box, SW_HIDE); }},
      {"destroy", [](HWND box) { SendMessageW(box, WM_COMMAND, IDCANCEL, 0); }},
  };
  for (const auto& ending : endings) {
    SCOPED_TRACE(ending.Name);
    WithMessageBox(L"Текст", MB_OKCANCEL, [&](HWND box) {
      TacDialogWnd* dialog = HotClose(box);
      ASSERT_NE(dialog, nullptr);
      pumpFor(40);  // the real 12 ms timer runs
      ASSERT_EQ(LiveGlowAnimations(), 1);
      ASSERT_EQ(GlowWindowsOfThisThread(), 1);
      ending.Act(box);
      EXPECT_EQ(LiveGlowAnimations(), 0);
      EXPECT_EQ(GlowWindowsOfThisThread(), 0);
      if (IsWindow(box)) ShowWindow(box, SW_SHOW);
    });
    pumpFor(30);
    EXPECT_EQ(LiveGlowAnimations(), 0);
    EXPECT_EQ(GlowWindowsOfThisThread(), 0);
  }
}

}  // namespace
}  // namespace efir::test
