// An auto-scrolling skinned form: its own window's scroll bars and the square between them
// come from the skin on the screen, a click on an arrow scrolls the form's controls, the
// provider still hears the skin commands the bars' adapter sees first, and without the skin
// the system's bars are back.
#include <gtest/gtest.h>

#include "framework/tests/ui_fixture.h"
#include "skin/engine/common_data.h"
#include "skin/engine/skin_broadcast.h"
#include "skin/engine/skin_command.h"
#include "skin/forms/scroll_engine.h"
#include "skin/forms/scroll_paint.h"
#include "skin/forms/skin_hook.h"
#include "skin/forms/skin_provider.h"
#include "skin/forms/tests/scroll_skin_fixture.h"
#include "tests/support/capture.h"
#include "tests/support/window.h"

namespace efir::test {
namespace {

namespace ss = scrollskin;

constexpr TColor kForm = 0x5080A0, kShape = 0xC00000;

POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

class FormScroll : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    StartWindowSkinning();
    manager = std::make_unique<TsSkinManager>(nullptr);
    manager->SetSkinDirectory(ss::WriteScrollSkin(ss::Section("FORM", kForm, kForm)));
    manager->SetSkinName("Scrolls");
    ASSERT_TRUE(manager->Active());
    form = efir::Construct<TForm>(nullptr);
    form->SetBorderStyle(bsNone);
    form->SetBounds(100, 100, 220, 160);
    shape = efir::Place(new TColourShape(form, kShape), form, 20, 40, 40, 30);
    efir::Place(new TColourShape(form, kShape), form, 400, 300, 10, 10);  // beyond the client both ways
    form->SetAutoScroll(true);
    form->Show();
    SetForegroundWindow(form->Handle());
    pumpFor(80);
    provider = ProviderOfForm(form);
    ASSERT_NE(provider, nullptr);
  }
  void TearDown() override {
    if (GetCapture()) ReleaseCapture();
    form->Free();
    manager->SetActive(false);
    manager.reset();
    UiTest::TearDown();
  }

  TacScrollWnd* Adapter() const { return dynamic_cast<TacScrollWnd*>(AdapterOfWindow(form->Handle())); }
  POINT ShapeOnScreen() const {
    POINT p{shape->Left(), shape->Top()};
    ClientToScreen(form->Handle(), &p);
    return p;
  }

  std::unique_ptr<TsSkinManager> manager;
  TForm* form = nullptr;
  TColourShape* shape = nullptr;
  TsSkinProvider* provider = nullptr;
};

TEST_F(FormScroll, ShowsSkinnedBarsAndTheGripSquareAndScrollsWithAClickOnAnArrow) {
  TacScrollWnd* adapter = Adapter();
  ASSERT_NE(adapter, nullptr);
  EXPECT_EQ(adapter, provider->ScrollWnd.get());
  ASSERT_TRUE(adapter->HorzBar->Visible && adapter->VertBar->Visible);
  const RECT vert = adapter->BarRect(*adapter->VertBar), horz = adapter->BarRect(*adapter->HorzBar);
  const int arrow = PlainArrowLength(*adapter->VertBar);
  const RECT corner{horz.right, horz.top, vert.right, horz.bottom};

  RECT window;
  GetWindowRect(form->Handle(), &window);
  const Image screen = captureScreen(window);
  saveScreenshot(form->Handle(), "skinned_form_scroll_bars");
  auto at = [&](int x, int y) { return screen.at(x - window.left, y - window.top); };
  EXPECT_EQ(at(vert.left, vert.top), ss::Rim[0]) << "the vertical bar's first arrow";
  EXPECT_EQ(at((vert.left + vert.right) / 2, vert.bottom - 1 - arrow / 2), ss::Glyph[0]) << "its second arrow";
  EXPECT_EQ(at(horz.left, horz.top), ss::Rim[0]) << "the horizontal bar's first arrow";
  EXPECT_EQ(at(corner.right - 1, corner.bottom - 1), ss::Grip) << "the grip in the square between them";
  EXPECT_EQ(at(window.left + 5, window.top + 5), kForm) << "the form's skinned background";

  // The square answers as the size grip, from the bars' adapter and from the provider's own test.
  EXPECT_EQ(SendMessageW(form->Handle(), WM_NCHITTEST, 0, MAKELPARAM(corner.right - 2, corner.bottom - 2)), HTBOTTOMRIGHT);
  const POINT inFrame = provider->ScreenToFrame({corner.right - 2, corner.bottom - 2});
  EXPECT_TRUE(provider->InScrollCorner(inFrame));
  EXPECT_FALSE(provider->InScrollCorner(provider->ScreenToFrame(Centre(vert))));

  // A real click on the down arrow moves the form's controls one step up, on the screen too.
  const POINT before = ShapeOnScreen();
  const POINT onArrow{(vert.left + vert.right) / 2, vert.bottom - arrow / 2};
  dragMouse(onArrow, onArrow, 1);
  ASSERT_TRUE(pumpUntil([&] { return ShapeOnScreen().y < before.y; }, 2000));
  pumpFor(50);
  const POINT after = ShapeOnScreen();
  EXPECT_EQ(after.x, before.x);
  EXPECT_EQ(GetScrollPos(form->Handle(), SB_VERT), before.y - after.y);
  RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  const Image moved = captureScreen({after.x, after.y - 2, after.x + 40, after.y + 30});
  EXPECT_EQ(moved.at(5, 2), kShape) << "the shape drawn where it moved";
  EXPECT_EQ(moved.at(5, 0), kForm) << "the form above it";
  EXPECT_EQ(ScrollState.PressedPart, spNone) << "the press ended with the release";
  EXPECT_TRUE(shown.empty());
}

TEST_F(FormScroll, TheProviderHearsTheCommandsTheBarsSeeFirst) {
  ASSERT_NE(Adapter(), nullptr);
  // The refresh reaches the provider, which gives the form its skin colour again.
  form->SetColor(clRed);
  SendSkinCommandToWindow(form->Handle(), SKC_REFRESH, reinterpret_cast<LPARAM>(manager.get()));
  EXPECT_NE(form->Color(), clRed) << "the provider refreshed the form";
  EXPECT_EQ(Adapter(), provider->ScrollWnd.get()) << "the refresh keeps the adapter";
  // The provider answers whether the form is updating: not while an animated show runs.
  provider->SkinData->Updating = true;
  provider->ShowAnimating = true;
  EXPECT_EQ(SendSkinCommandToWindow(form->Handle(), SKC_ISUPDATING, 0), 0);
  provider->ShowAnimating = false;
  provider->SkinData->Updating = false;
}

TEST_F(FormScroll, WithoutTheSkinTheSystemsBarsComeBackAndStillScroll) {
  ASSERT_NE(Adapter(), nullptr);
  // Removal through the form's window: the adapter in front hands it on and is freed by it.
  SendSkinCommandToWindow(form->Handle(), SKC_REMOVESKIN, reinterpret_cast<LPARAM>(manager.get()));
  EXPECT_EQ(Adapter(), nullptr);
  EXPECT_EQ(provider->ScrollWnd, nullptr);
  manager->SetActive(false);
  pumpFor(50);
  EXPECT_EQ(Adapter(), nullptr);

  SCROLLBARINFO info{};
  info.cbSize = sizeof info;
  ASSERT_TRUE(GetScrollBarInfo(form->Handle(), OBJID_VSCROLL, &info));
  EXPECT_FALSE(info.rgstate[0] & STATE_SYSTEM_INVISIBLE) << "the system's vertical bar shows";
  const RECT vert = info.rcScrollBar;
  EXPECT_GT(vert.right - vert.left, 0);
  RECT client;
  GetClientRect(form->Handle(), &client);
  EXPECT_EQ(client.right, 220 - (vert.right - vert.left)) << "the system's bar takes its room";
  RedrawWindow(form->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  const Image screen = captureScreen(vert);
  const int h = vert.bottom - vert.top, w = vert.right - vert.left;
  for (auto [x, y] : {std::pair{0, 0}, {w / 2, h / 2}, {w / 2, 4}, {1, h - 2}})
    for (TColor skinned : {ss::Rim[0], ss::Arrow, ss::Thumb, ss::Track1, ss::Track2})
      EXPECT_NE(screen.at(x, y), skinned) << "no skinned part at " << x << "," << y;

  const POINT before = ShapeOnScreen();
  const POINT onArrow{(vert.left + vert.right) / 2, vert.bottom - w / 2};
  dragMouse(onArrow, onArrow, 1);
  EXPECT_TRUE(pumpUntil([&] { return ShapeOnScreen().y < before.y; }, 2000)) << "the system's bar scrolls the form";
  EXPECT_TRUE(shown.empty());
}

}  // namespace
}  // namespace efir::test
