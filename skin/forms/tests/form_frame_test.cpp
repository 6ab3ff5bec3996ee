// The frame of a bordered skinned form: the title-button layout as tables of numbers, and a
// sizeable form on a synthetic skin whose frame, caption band and title buttons are read
// from the screen, also after a new caption and after deactivation, which the system would
// otherwise repaint in its own look.
#include "skin/forms/skin_provider.h"

#include "framework/bitmap.h"
#include "framework/main_menu.h"

#include "framework/tests/ui_fixture.h"
#include "skin/engine/common_data.h"
#include "skin/engine/skin_broadcast.h"
#include "skin/engine/skin_manager.h"
#include "skin/forms/form_animation.h"
#include "skin/forms/skinnable_menus.h"
#include "skin/forms/tests/dialog_fixtures.h"
#include "skin/forms/title_layout.h"
#include "tests/support/capture.h"
#include "tests/support/window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using efir::test::UiTest;
namespace dlg = efir::test::dlg;

TEST(TitleLayout, ButtonsRunFromTheRightWithGapsAndUserButtonsEightFurther) {
  struct Case {
    const char* name;
    TitleRowInput input;
    std::vector<TitleSpan> system, user;
  };
  const Case cases[] = {
      {"normal caption: BIRIGHT, frame, BISPACE between",
       {300, 3, 0, 4, 2, {20, 18, 18, 0}, {}},
       {{273, 293}, {253, 271}, {233, 251}, {}},
       {}},
      {"small caption: no gaps",
       {300, 3, 0, 4, 0, {16, 0, 16, 0}, {}},
       {{277, 293}, {}, {261, 277}, {}},
       {}},
      {"no system buttons: user buttons start 8 left of BIRIGHT",
       {300, 3, 0, 4, 2, {}, {21, 0, 21}},
       {},
       {{264, 285}, {}, {241, 262}}},
      {"shadow margin moves the row in",
       {300, 0, 10, 4, 0, {20}, {21}},
       {{266, 286}},
       {{237, 258}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TitleRow row = LayoutTitleRow(c.input);
    ASSERT_EQ(row.System.size(), c.system.size());
    ASSERT_EQ(row.User.size(), c.user.size());
    for (size_t i = 0; i < c.system.size(); ++i) {
      EXPECT_EQ(row.System[i].Left, c.system[i].Left) << "system " << i;
      EXPECT_EQ(row.System[i].Right, c.system[i].Right) << "system " << i;
    }
    for (size_t i = 0; i < c.user.size(); ++i) {
      EXPECT_EQ(row.User[i].Left, c.user[i].Left) << "user " << i;
      EXPECT_EQ(row.User[i].Right, c.user[i].Right) << "user " << i;
    }
  }
  // An invisible user button still takes room from the caption text.
  EXPECT_EQ(TitleButtonsWidth(3, 2, {20, 18}, {21, 21}), 3 + 20 + 18 + 2 + 8 + 2 * (21 + 2));
  EXPECT_EQ(TitleButtonsWidth(5, 2, {}, {}), 5);
}

TEST(TitleLayout, ButtonsAreCentredUnlessBigOnesHangAtTheTop) {
  struct Case {
    const char* name;
    TitleButtonTopMeasures m;
    int top;
  };
  auto measures = [](bool big, int vAlign, bool normal, int height) {
    TitleButtonTopMeasures m;
    m.BigIcon = big;
    m.BIVAlign = vAlign;
    m.HasNormalCaption = normal;
    m.FrameTopBorderWidth = 4;
    m.CaptionHeight = 20;
    m.ButtonHeight = height;
    m.FrameBorderWidth = 4;
    return m;
  };
  TitleButtonTopMeasures maximizedTop = measures(true, 1, true, 18);
  maximizedTop.Maximized = true;
  TitleButtonTopMeasures shadowed = measures(false, 0, false, 14);
  shadowed.ShadowTop = 7;
  const Case cases[] = {
      {"centred", measures(false, 0, false, 14), 5},
      {"centred, low picture on a normal caption", measures(true, 0, true, 14), 7},
      {"big and BIVALIGN 1: at the top", measures(true, 1, true, 18), 0},
      {"small pictures ignore BIVALIGN", measures(false, 1, false, 14), 5},
      {"maximized, hanging: below the frame", maximizedTop, 3},
      {"shadow margin", shadowed, 12},
  };
  for (const Case& c : cases) EXPECT_EQ(TitleButtonTop(c.m), c.top) << c.name;
}

TEST(TitleHint, FadesOnlyAShortHintAndOnlyWhereTheSystemFadesTooltips) {
  struct Case {
    size_t length;
    bool animation, fade, fades;
  };
  const Case cases[] = {{10, true, true, true},   {99, true, true, true},   {100, true, true, false},
                        {10, false, true, false}, {10, true, false, false}, {0, true, true, true}};
  for (const Case& c : cases)
    EXPECT_EQ(TitleHintFades(c.length, c.animation, c.fade), c.fades)
        << c.length << " characters, animation " << c.animation << ", fade " << c.fade;
}

constexpr TColor kAltTitle = 0x8000A0, kMenuLine = 0x206020, kAltLine = 0x606000;

// The dialog skin with a FORM section and big title-button pictures.
efir::test::SkinExtras FormFrameSkin() {
  efir::test::SkinExtras extras;
  extras.Global = "BICONCLOSE=!CLOSE.BMP!3!1!2\r\nBICONMAX=!CLOSE.BMP!3!1!2\r\nBICONMIN=!CLOSE.BMP!3!1!2\r\n"
                  "BISPACE=2\r\nBIRIGHT=3\r\n";
  extras.Sections = "[FORM]\r\nCOLOR=" + efir::test::Hex(dlg::Face) + "\r\nHOTCOLOR=" + efir::test::Hex(dlg::Face) +
                    "\r\nFONTCOLOR=0xFFFFFF\r\nHOTFONTCOLOR=0xFFFFFF\r\nBORDERSMASK=!DLGFRAME.BMP!1!0!0!4!4!4!4\r\n";
  // Sections a form may name for its title and its menu line.
  auto plain = [](const char* name, TColor colour) {
    const std::string c = efir::test::Hex(colour), ink = efir::test::Hex(dlg::Ink);
    return std::string("[") + name + "]\r\nCOLOR=" + c + "\r\nHOTCOLOR=" + c + "\r\nFONTCOLOR=" + ink +
           "\r\nHOTFONTCOLOR=" + ink + "\r\n";
  };
  extras.Sections += plain("ALTTITLE", kAltTitle) + plain("MENULINE", kMenuLine) + plain("ALTLINE", kAltLine);
  return extras;
}

constexpr TColor kBackdrop = 0x00C000;

class FormFrame : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    skin = std::make_unique<efir::test::DialogSkin>(FormFrameSkin());
    ASSERT_TRUE(skin->manager->Active());
    backdrop = Made(-98, bsNone, 60, 60, 520, 400, kBackdrop);
    form = Made(0, bsSizeable, 100, 100, 400, 260, clWhite);
    form->SetCaption("Frame");
    provider = ProviderOfForm(form);
  }
  void TearDown() override {
    AnimationFrameShown = nullptr;
    for (auto it = made.rbegin(); it != made.rend(); ++it) (*it)->Free();
    skin.reset();
    UiTest::TearDown();
  }

  TForm* Made(intptr_t tag, TFormBorderStyle border, int x, int y, int w, int h, TColor color) {
    auto* f = efir::Construct<TForm>(nullptr);
    f->SetTag(tag);
    f->SetBorderStyle(border);
    f->SetBounds(x, y, w, h);
    f->SetColor(color);
    made.push_back(f);
    f->Show();
    SetForegroundWindow(f->Handle());
    efir::test::pumpFor(80);
    return f;
  }

  static POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

  // The caption band between the text and the buttons, in window coordinates.
  POINT CaptionProbe() const { return {form->Width() / 2, GetSystemMetrics(SM_CYFRAME) + 3}; }

  std::unique_ptr<efir::test::DialogSkin> skin;
  std::vector<TForm*> made;
  TForm* backdrop = nullptr;
  TForm* form = nullptr;
  TsSkinProvider* provider = nullptr;
};

TEST_F(FormFrame, FrameCaptionAndButtonsComeFromTheSkinAndTheCornersAreCut) {
  ASSERT_NE(provider, nullptr);
  ASSERT_TRUE(provider->HasBorder());
  EXPECT_FALSE(GetWindowLongPtrW(form->Handle(), GWL_STYLE) & WS_SYSMENU) << "the system draws no buttons";
  const int w = form->Width(), h = form->Height(), frame = GetSystemMetrics(SM_CXFRAME);
  // Close, maximize, minimize from the right: BIRIGHT 3 and the frame, then 14 wide, 2 apart.
  const RECT close = provider->ButtonClose.Rect, max = provider->ButtonMax.Rect, min = provider->ButtonMin.Rect;
  EXPECT_EQ(close.right, w - 3 - frame);
  EXPECT_EQ(close.right - close.left, 14);
  EXPECT_EQ(max.right, close.left - 2);
  EXPECT_EQ(min.right, max.left - 2);
  EXPECT_EQ(close.top, (frame + GetSystemMetrics(SM_CYCAPTION) - 14) / 2 + 2) << "low pictures sit 2 lower";
  EXPECT_EQ(close.bottom - close.top, 14);

  form->Repaint();
  efir::test::pumpFor(80);
  for (const efir::test::Image& image : {efir::test::captureWindow(form->Handle()), efir::test::captureScreenOf(form->Handle())}) {
    EXPECT_EQ(image.at(1, h / 2), dlg::Rim) << "left band";
    EXPECT_EQ(image.at(w - 2, h / 2), dlg::Rim) << "right band";
    EXPECT_EQ(image.at(w / 2, h - 2), dlg::Rim) << "bottom band";
    EXPECT_EQ(image.at(w / 2, h / 2), dlg::Face) << "client";
    const POINT probe = CaptionProbe();
    EXPECT_EQ(image.at(probe.x, probe.y), dlg::TitleActive) << "caption band";
    for (const RECT& button : {close, max, min}) {
      const POINT c = Centre(button);
      EXPECT_EQ(image.at(c.x, c.y), dlg::Close[0]) << "button at " << button.left;
    }
  }
  const efir::test::Image screen = efir::test::captureScreenOf(form->Handle());
  EXPECT_EQ(screen.at(0, 0), kBackdrop) << "the top-left corner is cut away";
  EXPECT_EQ(screen.at(w - 1, h - 1), kBackdrop) << "the bottom-right corner is cut away";
  EXPECT_EQ(screen.at(2, h / 2), dlg::Rim);
  efir::test::saveScreenshot(form->Handle(), "form_frame_sizeable");
}

TEST_F(FormFrame, NewCaptionAndDeactivationKeepTheSkinnedCaption) {
  ASSERT_NE(provider, nullptr);
  const POINT probe = CaptionProbe();
  form->SetCaption("Another caption");
  efir::test::pumpFor(80);
  EXPECT_EQ(efir::test::captureScreenOf(form->Handle()).at(probe.x, probe.y), dlg::TitleActive);
  // The text is written in the skin's ink.
  const efir::test::Image image = efir::test::captureScreenOf(form->Handle());
  int ink = 0;
  for (int x = 0; x < form->Width() / 2; ++x)
    for (int y = 0; y < GetSystemMetrics(SM_CYCAPTION); ++y) ink += image.at(x, y) == dlg::Ink;
  EXPECT_GT(ink, 10) << "the caption text is drawn";

  // Another window takes the activation without covering the form.
  TForm* other = Made(-98, bsNone, form->Left() + form->Width() + 20, form->Top(), 80, 80, clWhite);
  SetForegroundWindow(other->Handle());
  efir::test::pumpFor(80);
  EXPECT_FALSE(provider->FormActive);
  EXPECT_EQ(efir::test::captureScreenOf(form->Handle()).at(probe.x, probe.y), dlg::TitleInactive);
  form->SetCaption("While inactive");
  efir::test::pumpFor(80);
  EXPECT_EQ(efir::test::captureScreenOf(form->Handle()).at(probe.x, probe.y), dlg::TitleInactive);
  SetForegroundWindow(form->Handle());
  efir::test::pumpFor(80);
  EXPECT_EQ(efir::test::captureScreenOf(form->Handle()).at(probe.x, probe.y), dlg::TitleActive);
}

// The frame image's pixels, row by row.
std::vector<uint8_t> FramePixels(const TBitmap& image) {
  const size_t bytes = static_cast<size_t>(image.Width()) * (image.PixelFormat() == pf32bit ? 4 : 3);
  std::vector<uint8_t> pixels;
  for (int y = 0; y < image.Height(); ++y) {
    const auto* row = static_cast<const uint8_t*>(image.ScanLine(y));
    pixels.insert(pixels.end(), row, row + bytes);
  }
  return pixels;
}

// An activation change repaints only the caption over the kept top of the frame image, and
// the picture comes out as a full build of the same state would make it.
TEST_F(FormFrame, AnActivationChangeRepaintsTheCaptionOverTheKeptImageAsAFullBuildDoes) {
  ASSERT_NE(provider, nullptr);
  provider->TitleButtons.Add();  // the buttons' strip is saved again from the new caption
  provider->RefreshNonClient();
  efir::test::pumpFor(50);
  ASSERT_NE(provider->TitleBmp, nullptr);
  const POINT probe = CaptionProbe();
  TForm* other = Made(-98, bsNone, form->Left() + form->Width() + 20, form->Top(), 80, 80, clWhite);
  SetForegroundWindow(form->Handle());
  efir::test::pumpFor(80);
  for (const bool active : {false, true}) {
    SCOPED_TRACE(active ? "activated again" : "deactivated");
    const int before = provider->TitleCacheRepaints;
    SetForegroundWindow(active ? form->Handle() : other->Handle());
    efir::test::pumpFor(80);
    ASSERT_EQ(provider->FormActive, active);
    EXPECT_GE(provider->TitleCacheRepaints, before + 1) << "the caption came from the kept image";
    EXPECT_EQ(efir::test::captureScreenOf(form->Handle()).at(probe.x, probe.y),
              active ? dlg::TitleActive : dlg::TitleInactive);
    const std::vector<uint8_t> cached = FramePixels(*provider->SkinData->CacheBitmap);
    provider->RebuildTitle = true;
    provider->SkinData->BackgroundChanged = true;
    const int repaints = provider->TitleCacheRepaints;
    provider->BuildFormFrameImage();
    EXPECT_EQ(provider->TitleCacheRepaints, repaints) << "a rebuild of the title builds everything";
    EXPECT_TRUE(cached == FramePixels(*provider->SkinData->CacheBitmap)) << "the same pixels as a full build";
  }
  // A new section for the form may draw another frame: the kept image goes with the old one.
  provider->SkinData->SetSkinSection("DIALOG");
  EXPECT_EQ(provider->TitleBmp, nullptr);
  EXPECT_TRUE(provider->SkinData->BackgroundChanged);
  provider->SkinData->SetSkinSection("FORM");
  provider->BuildFormFrameImage();
  ASSERT_NE(provider->TitleBmp, nullptr) << "kept again at the next full build";
  SendMessageW(form->Handle(), WM_SETTINGCHANGE, 0, 0);
  EXPECT_EQ(provider->TitleBmp, nullptr) << "the system's measures may have changed";
}

TEST_F(FormFrame, ADisabledFormShowsItsCaptionPaleUntilEnabledAgain) {
  ASSERT_NE(provider, nullptr);
  // Pixels of the skin's ink in the caption's left half, read from the screen.
  auto captionInk = [&] {
    const efir::test::Image image = efir::test::captureScreenOf(form->Handle());
    int ink = 0;
    for (int x = 0; x < form->Width() / 2; ++x)
      for (int y = 0; y < GetSystemMetrics(SM_CYCAPTION); ++y) ink += image.at(x, y) == dlg::Ink;
    return ink;
  };
  form->SetCaption("A disabled caption");
  efir::test::pumpFor(80);
  const int enabled = captionInk();
  ASSERT_GT(enabled, 10);
  form->SetEnabled(false);
  efir::test::pumpFor(80);
  EXPECT_LT(captionInk(), enabled / 4) << "the frame is painted again with the text pale";
  form->SetEnabled(true);
  efir::test::pumpFor(80);
  EXPECT_EQ(captionInk(), enabled);
}

TEST_F(FormFrame, TheWindowMenuOffersSizeOnlyToASizeableFormAndOtherPopupsAreMeasuredAgain) {
  TForm* fixed = Made(0, bsSingle, 120, 120, 300, 200, clWhite);
  ASSERT_NE(ProviderOfForm(fixed), nullptr);
  const struct {
    const char* name;
    TForm* form;
    bool sizeOffered;
  } cases[] = {{"sizeable", form, true}, {"single border", fixed, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HWND wnd = c.form->Handle();
    HMENU windowMenu = GetSystemMenu(wnd, FALSE);
    ASSERT_NE(windowMenu, nullptr);
    EnableMenuItem(windowMenu, SC_SIZE, MF_BYCOMMAND | MF_ENABLED);
    SendMessageW(wnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(windowMenu), MAKELPARAM(0, TRUE));
    EXPECT_EQ((GetMenuState(windowMenu, SC_SIZE, MF_BYCOMMAND) & MF_GRAYED) == 0, c.sizeOffered);
  }
  HMENU other = CreatePopupMenu();
  AppendMenuW(other, MF_STRING, 1, L"Item");
  PopupItemsMeasured = true;
  SendMessageW(fixed->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(other), 0);
  EXPECT_FALSE(PopupItemsMeasured) << "another popup is measured afresh";
  DestroyMenu(other);
}

TEST_F(FormFrame, UserButtonsLieLeftOfTheSystemButtonsWithTheirGlyphsAndHints) {
  ASSERT_NE(provider, nullptr);
  constexpr TColor kGlyph = 0x20E0E0;
  TsTitleButton& pin = provider->TitleButtons.Add();
  EXPECT_EQ(pin.GetDisplayName(), "TsTitleButton");
  pin.Glyph.SetPixelFormat(pf24bit);
  pin.Glyph.SetSize(9, 9);
  RECT all{0, 0, 9, 9};
  pin.Glyph.Canvas().Brush().SetColor(kGlyph);
  pin.Glyph.Canvas().FillRect(all);
  SetPixel(pin.Glyph.Canvas().Handle(), 0, 8, 0xFF00FF);  // the bottom-left pixel is the key
  pin.Hint = "Pin the window";
  TsTitleButton& hidden = provider->TitleButtons.Add();
  hidden.SetVisible(false);
  TsTitleButton copy;
  copy.SetVisible(false);
  pin.AssignTo(copy);
  EXPECT_EQ(copy.Hint, pin.Hint);
  EXPECT_FALSE(copy.Visible()) << "Visible is not assigned";

  provider->RefreshNonClient();
  efir::test::pumpFor(50);
  // Without a TITLEBUTTON picture a user button is 21 wide, 8 left of the minimize button.
  EXPECT_EQ(pin.Data.Rect.right, provider->ButtonMin.Rect.left - 2 - 8);
  EXPECT_EQ(pin.Data.Rect.right - pin.Data.Rect.left, 21);
  EXPECT_EQ(pin.Data.HitCode, 1000);
  EXPECT_EQ(hidden.Data.HitCode, 0) << "an invisible button is not laid out";
  const efir::test::Image screen = efir::test::captureScreenOf(form->Handle());
  const int glyphLeft = pin.Data.Rect.left + (21 - 9) / 2, glyphTop = pin.Data.Rect.top + (14 - 9) / 2;
  EXPECT_EQ(screen.at(glyphLeft + 4, glyphTop + 4), kGlyph);
  EXPECT_EQ(screen.at(glyphLeft, glyphTop + 8), dlg::TitleActive) << "the key colour shows the caption";

  // A hint near the screen's right edge ends at the work area's edge.
  const RECT area = form->MonitorWorkArea();
  SetCursorPos(area.right - 5, area.top + 100);
  provider->ShowTitleButtonHint(pin);
  ASSERT_TRUE(pin.HintWindow);
  RECT hint;
  GetWindowRect(pin.HintWindow->Handle(), &hint);
  EXPECT_EQ(hint.right, area.right);
  EXPECT_TRUE(IsWindowVisible(pin.HintWindow->Handle()));
  provider->HideTitleButtonHint(pin);
  EXPECT_FALSE(pin.HintWindow);
}

TEST_F(FormFrame, AUserButtonIsHitPressedAndReleasedLikeTheSystemButtons) {
  ASSERT_NE(provider, nullptr);
  TsTitleButton& pin = provider->TitleButtons.Add();
  TsTitleButton& off = provider->TitleButtons.Add();
  off.Enabled = false;
  std::vector<std::string> events;
  pin.OnMouseDown = [&](TObject* sender, TMouseButton, TShiftState, int, int) {
    events.push_back(sender == &pin ? "down" : "down from another");
  };
  pin.OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { events.push_back("up"); };
  provider->RefreshNonClient();
  efir::test::pumpFor(50);
  RECT window;
  GetWindowRect(form->Handle(), &window);
  auto send = [&](UINT msg, WPARAM code, const RECT& at) {
    const POINT c{window.left + (at.left + at.right) / 2, window.top + (at.top + at.bottom) / 2};
    return SendMessageW(form->Handle(), msg, code, MAKELPARAM(c.x, c.y));
  };
  EXPECT_EQ(send(WM_NCHITTEST, 0, off.Data.Rect), HTCAPTION) << "a disabled user button is only caption";
  ASSERT_EQ(send(WM_NCHITTEST, 0, pin.Data.Rect), 1000);
  EXPECT_EQ(pin.Data.State, 1) << "hot under the mouse";
  send(WM_NCLBUTTONDOWN, 1000, pin.Data.Rect);
  EXPECT_EQ(pin.Data.State, 2);
  send(WM_NCLBUTTONUP, 1000, pin.Data.Rect);
  EXPECT_EQ(events, (std::vector<std::string>{"down", "up"}));
  EXPECT_EQ(pin.Data.State, 0);
  EXPECT_EQ(provider->HotButton, 0);
  EXPECT_TRUE(IsWindow(form->Handle())) << "a user button is no close button";

  // Another button pressed while the user button is hot takes its hot look and its hint.
  pin.Hint = "Pin";
  ASSERT_EQ(send(WM_NCHITTEST, 0, pin.Data.Rect), 1000);
  ASSERT_TRUE(pin.HintWindow);
  send(WM_NCLBUTTONDOWN, HTMINBUTTON, provider->ButtonMin.Rect);
  EXPECT_EQ(pin.Data.State, 0);
  EXPECT_FALSE(pin.HintWindow) << "the hint went with the hot look";
  send(WM_NCLBUTTONUP, HTCAPTION, {CaptionProbe().x, CaptionProbe().y, CaptionProbe().x, CaptionProbe().y});
}

// A skin change fades the form's new look in (not at time 0) and leaves the form visible
// with its frame painted again and its corners cut again, whatever the screen held before.
TEST_F(FormFrame, ASkinChangeFadesTheNewLookInAndRebuildsFrameAndRegion) {
  ASSERT_NE(provider, nullptr);
  ASSERT_TRUE(skin->manager->AnimEffects.SkinChanging.Active);
  const int w = form->Width(), h = form->Height();
  struct Case {
    uint16_t time;
    size_t frames;
  };
  const Case cases[] = {{80, CrossFadeWeights(80).size()}, {0, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.time);
    skin->manager->AnimEffects.SkinChanging.Time = c.time;
    // No region and a black left band: only the unlock's rebuild puts these right.
    SetWindowRgn(form->Handle(), nullptr, TRUE);
    efir::test::pumpFor(50);
    provider->RegionChanged = false;
    HDC dc = GetWindowDC(form->Handle());
    RECT band{0, 0, 4, h};
    FillRect(dc, &band, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ReleaseDC(form->Handle(), dc);
    efir::test::pumpFor(30);  // lets the band reach the display
    ASSERT_NE(efir::test::captureScreenOf(form->Handle()).at(1, h / 2), dlg::Rim);

    size_t frames = 0;
    AnimationFrameShown = [&](HWND overlay, int) {
      ++frames;
      EXPECT_TRUE(SkinChangeAnimating);
      EXPECT_TRUE(IsWindowVisible(overlay));
    };
    skin->manager->SetSkinName("Dialogs");
    AnimationFrameShown = nullptr;
    EXPECT_EQ(frames, c.frames);
    EXPECT_FALSE(SkinChangeAnimating);
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
    EXPECT_FALSE(GetWindowLongPtrW(form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_EQ(FindWindowW(nullptr, L"acOutputWindow"), nullptr);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(GetWindowRgn(form->Handle(), region), ERROR) << "the region is cut again";
    DeleteObject(region);
    efir::test::pumpFor(80);
    const efir::test::Image screen = efir::test::captureScreenOf(form->Handle());
    EXPECT_EQ(screen.at(1, h / 2), dlg::Rim) << "left band painted again";
    EXPECT_EQ(screen.at(w / 2, h - 2), dlg::Rim) << "bottom band";
    EXPECT_EQ(screen.at(CaptionProbe().x, CaptionProbe().y), dlg::TitleActive) << "caption band";
    EXPECT_EQ(screen.at(w / 2, h / 2), dlg::Face) << "client";
    EXPECT_EQ(screen.at(0, 0), kBackdrop) << "the top-left corner is cut away";
  }
}

// Where the caption's ink lies in the caption row of a screen picture of the form.
struct InkSpan {
  int Left = INT_MAX, Right = -1;
};
InkSpan CaptionInk(const efir::test::Image& image, int rowTop, int rows, int left, int right) {
  InkSpan span;
  for (int y = rowTop; y < rowTop + rows; ++y)
    for (int x = left; x < right; ++x)
      if (image.at(x, y) == dlg::Ink) {
        span.Left = std::min(span.Left, x);
        span.Right = std::max(span.Right, x);
      }
  return span;
}

// Pixels of the rectangle that are neither the colour nor the ink: what else is drawn there.
int ForeignPixels(const efir::test::Image& image, const RECT& r, TColor colour) {
  int foreign = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) {
      const COLORREF pixel = image.at(x, y);
      foreign += pixel != static_cast<COLORREF>(colour) && pixel != static_cast<COLORREF>(dlg::Ink);
    }
  return foreign;
}

// The title's section, the caption's alignment, the icon and the menu line's section, changed
// on a shown form, are on the screen at once.
TEST_F(FormFrame, ChangedTitleAndMenuLinePropertiesShowAtOnce) {
  ASSERT_NE(provider, nullptr);
  auto screen = [&] {
    efir::test::pumpFor(80);
    return efir::test::captureScreenOf(form->Handle());
  };
  const POINT probe = CaptionProbe();
  provider->SetTitleSkin("ALTTITLE");
  EXPECT_EQ(screen().at(probe.x, probe.y), kAltTitle) << "the named title section";
  provider->SetTitleSkin("NOSUCHTITLE");
  EXPECT_EQ(screen().at(probe.x, probe.y), dlg::TitleActive) << "a name the skin lacks gives FORMTITLE";
  provider->SetTitleSkin("");

  // The text lies between the icon (which may hold the ink's colour too) and the buttons.
  ASSERT_TRUE(provider->TitleIconVisible());
  const RECT icon = provider->TitleIconRect();
  const int rowTop = GetSystemMetrics(SM_CYFRAME), rows = GetSystemMetrics(SM_CYCAPTION) - 2;
  const int right = provider->ButtonMin.Rect.left;
  const InkSpan left = CaptionInk(screen(), rowTop, rows, icon.right, right);
  ASSERT_LT(left.Left, form->Width() / 3) << "left-justified text";
  provider->SetCaptionAlignment(taRightJustify);
  EXPECT_EQ(provider->CaptionAlignment(), taRightJustify);
  const InkSpan atRight = CaptionInk(screen(), rowTop, rows, icon.right, right);
  EXPECT_GT(atRight.Left, form->Width() / 2) << "right-justified text";
  EXPECT_EQ(atRight.Right - atRight.Left, left.Right - left.Left) << "the same text";
  provider->SetCaptionAlignment(taLeftJustify);
  EXPECT_EQ(CaptionInk(screen(), rowTop, rows, icon.right, right).Left, left.Left);

  EXPECT_GT(ForeignPixels(screen(), icon, dlg::TitleActive), 0) << "the icon is drawn";
  provider->SetShowAppIcon(false);
  EXPECT_FALSE(provider->TitleIconVisible());
  EXPECT_LT(CaptionInk(screen(), rowTop, rows, 0, right).Left, left.Left) << "the text moves into the icon's place";
  EXPECT_EQ(ForeignPixels(screen(), icon, dlg::TitleActive), 0) << "no icon";
  provider->SetShowAppIcon(true);
  EXPECT_GT(ForeignPixels(screen(), icon, dlg::TitleActive), 0) << "the icon is back";

  auto* menu = new TMainMenu(form);
  auto* item = new TMenuItem(form);
  item->SetCaption("Файл");
  menu->Items()->Add(item);
  form->SetMenu(menu);
  provider->RefreshNonClient();
  RECT itemRect;
  ASSERT_TRUE(GetMenuItemRect(form->Handle(), GetMenu(form->Handle()), 0, &itemRect));
  RECT window;
  GetWindowRect(form->Handle(), &window);
  const POINT pastItem{itemRect.right + 20 - window.left, (itemRect.top + itemRect.bottom) / 2 - window.top};
  EXPECT_EQ(screen().at(pastItem.x, pastItem.y), kMenuLine);
  provider->SetMenuLineSkin("ALTLINE");
  EXPECT_EQ(screen().at(pastItem.x, pastItem.y), kAltLine) << "the named menu-line section";
  provider->SetMenuLineSkin("");
  EXPECT_EQ(screen().at(pastItem.x, pastItem.y), kMenuLine);
  form->SetMenu(nullptr);
}

TEST_F(FormFrame, RemovingTheSkinGivesTheSystemFrameBack) {
  ASSERT_NE(provider, nullptr);
  skin->manager->SetActive(false);
  efir::test::pumpFor(80);
  EXPECT_TRUE(GetWindowLongPtrW(form->Handle(), GWL_STYLE) & WS_SYSMENU);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetWindowRgn(form->Handle(), region), ERROR) << "no region";
  DeleteObject(region);
  EXPECT_NE(efir::test::captureScreenOf(form->Handle()).at(CaptionProbe().x, CaptionProbe().y), dlg::TitleActive);
}

}  // namespace
