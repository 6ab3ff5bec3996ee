// The title buttons and the mouse of a skinned sizeable form, driven by the messages the
// system sends: a button turns hot and pressed in the skin's colours and acts only when
// released on it, the caption's double click maximizes and restores, the icon's closes, and
// a right click on the caption opens the skinned system menu. Glowing is off: the buttons
// change at once. The buttons lie where the test puts them; the frame image's strip behind
// them is saved as the caption painting saves it.
#include <gtest/gtest.h>

#include "framework/bitmap.h"
#include "framework/tests/ui_fixture.h"
#include "skin/engine/common_data.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/tests/skin_fixtures.h"
#include "skin/forms/frame_metrics.h"
#include "skin/forms/skin_hook.h"
#include "skin/forms/skin_provider.h"
#include "skin/forms/system_menu.h"
#include "skin/forms/tests/dialog_fixtures.h"
#include "skin/forms/tests/menu_fixtures.h"
#include "tests/support/capture.h"
#include "tests/support/window.h"

namespace {

using efir::test::UiTest;

constexpr TColor kForm = 0x406040, kFormActive = 0x00A0C0, kGlobal = 0x303030, kInk = 0x00FFFF;
constexpr int kCell = 14;
// Normal, hot, pressed.
constexpr TColor kClose[3] = {0x0000FF, 0x00FF00, 0xFF0000};
constexpr TColor kMax[3] = {0x000080, 0x008000, 0x800000};
constexpr TColor kMin[3] = {0x008080, 0x808000, 0x800080};

std::string ButtonPicture(const TColor (&cells)[3]) {
  return efir::test::BmpBytes(3 * kCell, 2 * kCell, [&](int x, int y) -> uint32_t {
    return y < kCell ? static_cast<uint32_t>(cells[x / kCell]) : 0;
  });
}

std::string WriteTitleSkin() {
  auto colours = [](TColor fill, TColor hot) {
    return "COLOR=" + efir::test::Hex(fill) + "\r\nHOTCOLOR=" + efir::test::Hex(hot) +
           "\r\nFONTCOLOR=" + efir::test::Hex(kInk) + "\r\nHOTFONTCOLOR=" + efir::test::Hex(kInk) + "\r\n";
  };
  const std::string options = "[GLOBALINFO]\r\n" + colours(kGlobal, kGlobal) +
                              "BICONCLOSE=!CLOSE.BMP!3!1!2\r\nBICONMAX=!MAX.BMP!3!1!2\r\nBICONMIN=!MIN.BMP!3!1!2\r\n" +
                              "[FORM]\r\n" + colours(kForm, kFormActive) + "[MENUITEM]\r\n" +
                              colours(0x303030, 0x006000);
  const std::string dir = efir::GetCurrentDir() + "\\title_skins";
  efir::test::ScratchFolder scratch("title_skins");
  efir::test::WriteSkinFolder(dir + "\\Titles", {{"Options.dat", options},
                                                 {"CLOSE.BMP", ButtonPicture(kClose)},
                                                 {"MAX.BMP", ButtonPicture(kMax)},
                                                 {"MIN.BMP", ButtonPicture(kMin)}});
  return dir;
}

POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

class TitleButtons : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    StartWindowSkinning();
    manager = std::make_unique<TsSkinManager>(nullptr);
    manager->SetSkinDirectory(WriteTitleSkin());
    manager->SetSkinName("Titles");
    manager->SetAllowGlowing(false);
    ASSERT_TRUE(manager->Active());
    form = efir::Construct<TForm>(nullptr);
    form->SetBorderStyle(bsSizeable);
    form->SetBounds(120, 120, 320, 240);
    form->OnClose = [this](TObject*, TCloseAction& action) {
      ++closes;
      action = caNone;
    };
    form->Show();
    SetForegroundWindow(form->Handle());
    efir::test::pumpFor(50);
    provider = ProviderOfForm(form);
    ASSERT_NE(provider, nullptr);
    LayOutButtons();
  }
  void TearDown() override {
    if (form) form->Free();
    if (manager) manager->SetActive(false);
    manager.reset();
    UiTest::TearDown();
  }

  // Close, maximize and minimize from the right of the caption band, painted normal on the
  // strip saved behind them.
  void LayOutButtons() {
    provider->SkinData->BackgroundChanged = true;
    provider->BuildFormFrameImage();
    const int b = FrameBorderWidth(form->Handle(), nullptr, true);
    int right = provider->SkinData->CacheBitmap->Width() - b - 2;
    for (TitleButtonData* button : {&provider->ButtonClose, &provider->ButtonMax, &provider->ButtonMin}) {
      button->Rect = {right - kCell, b + 1, right, b + 1 + kCell};
      right -= kCell + 2;
    }
    SaveStrip();
    for (int code : {HTCLOSE, HTMAXBUTTON, HTMINBUTTON}) provider->PaintTitleButton(code);
  }
  // The strip behind the buttons, saved as the caption painting saves it: from one column
  // left of its width from the image's right edge.
  void SaveStrip() {
    TBitmap& image = *provider->SkinData->CacheBitmap;
    const int b = FrameBorderWidth(form->Handle(), nullptr, true);
    const int bgWidth = image.Width() - provider->ButtonMin.Rect.left + 60, bgHeight = b + GetSystemMetrics(SM_CYCAPTION);
    provider->TitleButtonsBg = std::make_unique<TBitmap>(bgWidth, bgHeight, pf24bit);
    BitBlt(provider->TitleButtonsBg->Canvas().Handle(), 0, 0, bgWidth, bgHeight, image.Canvas().Handle(),
           image.Width() - bgWidth - 1, 0, SRCCOPY);
  }

  POINT OnScreen(POINT framePoint) const {
    RECT r;
    GetWindowRect(form->Handle(), &r);
    return {r.left + framePoint.x, r.top + framePoint.y};
  }
  LRESULT Send(UINT msg, WPARAM wParam, POINT framePoint) const {
    const POINT p = OnScreen(framePoint);
    return SendMessageW(form->Handle(), msg, wParam, MAKELPARAM(p.x, p.y));
  }
  // What the window shows at the button's centre.
  COLORREF Shown(const TitleButtonData& button) const {
    const POINT c = Centre(button.Rect);
    return efir::test::captureWindow(form->Handle()).at(c.x, c.y);
  }
  POINT CaptionPoint() const { return {form->Width() / 2, provider->ButtonClose.Rect.top + 4}; }

  std::unique_ptr<TsSkinManager> manager;
  TForm* form = nullptr;
  TsSkinProvider* provider = nullptr;
  int closes = 0;
};

TEST_F(TitleButtons, CloseTurnsHotThenPressedAndClosesWhenReleasedOnIt) {
  const POINT close = Centre(provider->ButtonClose.Rect);
  EXPECT_EQ(Send(WM_NCHITTEST, 0, close), HTCLOSE);
  EXPECT_EQ(provider->HotButton, HTCLOSE);
  EXPECT_EQ(Shown(provider->ButtonClose), kClose[1]);
  EXPECT_EQ(Shown(provider->ButtonMax), kMax[0]);

  Send(WM_NCLBUTTONDOWN, HTCLOSE, close);
  EXPECT_EQ(Shown(provider->ButtonClose), kClose[2]);
  EXPECT_EQ(closes, 0);

  Send(WM_NCLBUTTONUP, HTCLOSE, close);
  EXPECT_EQ(closes, 1);
  EXPECT_EQ(Shown(provider->ButtonClose), kClose[0]);
  EXPECT_EQ(Send(WM_NCHITTEST, 0, close), HTCLOSE) << "the button turns hot again";
  EXPECT_EQ(Shown(provider->ButtonClose), kClose[1]);
  efir::test::saveScreenshot(form->Handle(), "title_buttons_hot_close");
}

TEST_F(TitleButtons, PressLeaveAndReleaseDoesNothing) {
  const POINT close = Centre(provider->ButtonClose.Rect);
  for (WPARAM releasedOn : {static_cast<WPARAM>(HTCAPTION), static_cast<WPARAM>(HTCLOSE)}) {
    Send(WM_NCHITTEST, 0, close);
    Send(WM_NCLBUTTONDOWN, HTCLOSE, close);
    EXPECT_EQ(Send(WM_NCHITTEST, 0, CaptionPoint()), HTCAPTION);
    EXPECT_EQ(Shown(provider->ButtonClose), kClose[0]) << "leaving makes it normal";
    Send(WM_NCLBUTTONUP, releasedOn, CaptionPoint());
    EXPECT_EQ(closes, 0) << releasedOn;
  }
  // A release without a press does nothing either.
  Send(WM_NCHITTEST, 0, close);
  Send(WM_NCLBUTTONUP, HTCLOSE, close);
  EXPECT_EQ(closes, 0);
}

TEST_F(TitleButtons, MaximizeButtonAndCaptionDoubleClickToggleTheWindow) {
  const POINT max = Centre(provider->ButtonMax.Rect);
  EXPECT_EQ(Send(WM_NCHITTEST, 0, max), HTMAXBUTTON);
  EXPECT_EQ(Shown(provider->ButtonMax), kMax[1]);
  Send(WM_NCLBUTTONDOWN, HTMAXBUTTON, max);
  EXPECT_EQ(Shown(provider->ButtonMax), kMax[2]);
  Send(WM_NCLBUTTONUP, HTMAXBUTTON, max);
  EXPECT_TRUE(IsZoomed(form->Handle()));
  EXPECT_EQ(provider->HotButton, 0);

  Send(WM_NCLBUTTONDBLCLK, HTCAPTION, {100, 8});
  EXPECT_FALSE(IsZoomed(form->Handle())) << "a double click restores";
  Send(WM_NCLBUTTONDBLCLK, HTCAPTION, CaptionPoint());
  EXPECT_TRUE(IsZoomed(form->Handle())) << "and maximizes";
  Send(WM_NCLBUTTONDBLCLK, HTCAPTION, {100, 8});
  EXPECT_FALSE(IsZoomed(form->Handle()));
  Send(WM_NCLBUTTONDBLCLK, HTBOTTOM, {100, form->Height() - 1});
  EXPECT_FALSE(IsZoomed(form->Handle())) << "elsewhere on the frame nothing happens";
  EXPECT_EQ(closes, 0);
  Send(WM_NCLBUTTONDBLCLK, HTSYSMENU, {8, 8});
  EXPECT_EQ(closes, 1) << "a double click on the icon closes";
}

TEST_F(TitleButtons, RightClickOnTheCaptionOpensTheSkinnedSystemMenu) {
  static HWND popup;
  static bool ownerDrawn;
  static int items, ticks;
  popup = nullptr;
  ownerDrawn = false;
  items = ticks = 0;
  UINT_PTR timer = SetTimer(nullptr, 0, 60, [](HWND, UINT, UINT_PTR, DWORD) {
    popup = efir::test::VisiblePopupWindow();
    if (!popup) {
      if (++ticks > 30) EndMenu();
      return;
    }
    auto menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
    items = menu ? GetMenuItemCount(menu) : 0;
    MENUITEMINFOW info{sizeof info, MIIM_FTYPE};
    ownerDrawn = menu && GetMenuItemInfoW(menu, 0, TRUE, &info) && (info.fType & MFT_OWNERDRAW);
    EndMenu();
  });
  EXPECT_EQ(Send(WM_NCRBUTTONDOWN, HTCAPTION, CaptionPoint()), 0);
  Send(WM_NCRBUTTONUP, HTCAPTION, CaptionPoint());
  KillTimer(nullptr, timer);
  ASSERT_NE(popup, nullptr) << "a popup menu appeared";
  EXPECT_TRUE(ownerDrawn) << "its items are drawn by the skin";
  ASSERT_NE(provider->SystemMenu, nullptr);
  int shown = 0;
  for (int i = 0; i < provider->SystemMenu->Items()->Count(); ++i) shown += provider->SystemMenu->Items()->Items(i)->Visible();
  EXPECT_EQ(items, shown);
  EXPECT_EQ(closes, 0);
}

TEST_F(TitleButtons, ARepaintedButtonStandsOnTheSavedStripColumnForColumn) {
  // Every column of the frame image's top a colour of its own, saved as the strip.
  TBitmap& image = *provider->SkinData->CacheBitmap;
  HDC dc = image.Canvas().Handle();
  for (int x = 0; x < image.Width(); ++x)
    for (int y = 0; y < 40; ++y) SetPixel(dc, x, y, RGB(x & 0xFF, (x * 7) & 0xFF, 0x40));
  SaveStrip();
  // A button without a picture: only its background is restored.
  TitleButtonData& help = provider->ButtonHelp;
  help.Rect = provider->ButtonMin.Rect;
  OffsetRect(&help.Rect, -30, 0);
  help.ImageIndex = -1;
  const RECT r = help.Rect;
  for (int x = r.left; x < r.left + 21; ++x)
    for (int y = r.top; y < r.bottom; ++y) SetPixel(dc, x, y, 0);
  provider->PaintTitleButton(HTHELP);
  for (int x = r.left; x < r.left + 21; ++x)
    ASSERT_EQ(GetPixel(dc, x, r.top + 2), RGB(x & 0xFF, (x * 7) & 0xFF, 0x40)) << "column " << x;
}

}  // namespace

namespace {

// The rmBorder drag driven by the messages of a press, moves and a release.
class BorderDrag : public TitleButtons {
 protected:
  void SetUp() override {
    TitleButtons::SetUp();
    provider->ResizeMode = rmBorder;
    form->Constraints().MinWidth = 200;
  }
  void TearDown() override {
    ReleaseCapture();
    TitleButtons::TearDown();
  }
  void MoveTo(POINT screen) const {
    POINT p = screen;
    ScreenToClient(form->Handle(), &p);
    SendMessageW(form->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  }
  void ReleaseAt(POINT screen) const {
    POINT p = screen;
    ScreenToClient(form->Handle(), &p);
    SendMessageW(form->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
  }
  RECT Bounds() const {
    RECT r;
    GetWindowRect(form->Handle(), &r);
    return r;
  }
};

TEST_F(BorderDrag, TheLeftBorderSizesTheFormButNeverBelowItsMinimumWidth) {
  const RECT before = Bounds();
  const POINT press = OnScreen({1, 100});
  EXPECT_EQ(Send(WM_NCHITTEST, 0, {1, 100}), HTLEFT);
  Send(WM_NCLBUTTONDOWN, HTLEFT, {1, 100});
  EXPECT_EQ(GetCapture(), form->Handle()) << "the drag takes the mouse";
  MoveTo(press);
  MoveTo({press.x - 30, press.y});
  MoveTo({press.x + 250, press.y});
  ReleaseAt({press.x + 250, press.y});
  const RECT after = Bounds();
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(after.right, before.right);
  EXPECT_EQ(after.right - after.left, 200);
  EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
}

TEST_F(BorderDrag, TheCaptionMovesTheFormAndTheSizeCommandWithoutAMoveKeepsIt) {
  const RECT before = Bounds();
  const POINT press = OnScreen(CaptionPoint());
  Send(WM_NCLBUTTONDOWN, HTCAPTION, CaptionPoint());
  MoveTo({press.x + 10, press.y + 5});
  MoveTo({press.x + 30, press.y + 20});
  ReleaseAt({press.x + 30, press.y + 20});
  RECT after = Bounds();
  EXPECT_EQ(after.left, before.left + 30);
  EXPECT_EQ(after.top, before.top + 20);
  EXPECT_EQ(after.right - after.left, before.right - before.left);

  SendMessageW(form->Handle(), WM_SYSCOMMAND, SC_SIZE, 0);
  ReleaseAt(press);
  const RECT same = Bounds();
  EXPECT_TRUE(EqualRect(&same, &after)) << "released without a move";
  EXPECT_EQ(GetCapture(), nullptr);
}

}  // namespace
