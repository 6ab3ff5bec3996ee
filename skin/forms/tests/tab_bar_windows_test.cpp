// Tab controls, tool bars and status bars under a synthetic skin, read back from the screen:
// a tab control of a dialog template with its page frame and tabs, one without tabs, and a
// framework tool bar and status bar adapted on a form through the ThirdParty lists.
#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>

#include "framework/forms.h"
#include "framework/speed_button.h"
#include "framework/status_bar.h"
#include "framework/tab_controls.h"
#include "framework/tests/ui_fixture.h"
#include "framework/tool_bar.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_third_party.h"
#include "skin/forms/control_adapter.h"
#include "skin/forms/framework_toolbar_adapter.h"
#include "skin/forms/speed_button_handler.h"
#include "skin/forms/skin_provider.h"
#include "skin/forms/status_bar_adapter.h"
#include "skin/forms/tab_adapters.h"
#include "skin/forms/tests/template_dialog.h"
#include "skin/forms/window_relays.h"
#include "tests/support/capture.h"
#include "tests/support/window.h"

namespace efir::test {
namespace {

constexpr TColor kPageRim = 0x2080F0, kPageFace = 0x503010;
constexpr TColor kTab[3] = {0x10A0A0, 0xA010A0, 0xA0A010};  // normal, hot, selected
constexpr TColor kBar = 0x406080, kStatus = 0x804020, kDivider = 0x00F0F0;
constexpr TColor kSpeed[3] = {0x602000, 0x206000, 0x002060}, kGlyph = 0x00C0FF;

COLORREF Rgb(TColor c) { return static_cast<COLORREF>(c); }

SkinExtras TabBarSkinExtras() {
  SkinExtras extras = ControlSkinExtras();
  auto colours = [](TColor fill) {
    return "COLOR=" + Hex(fill) + "\r\nHOTCOLOR=" + Hex(fill) + "\r\nFONTCOLOR=" + Hex(dlg::Ink) +
           "\r\nHOTFONTCOLOR=" + Hex(dlg::Ink) + "\r\n";
  };
  const TColor pageRims[3] = {kPageRim, kPageRim, kPageRim}, pageFaces[3] = {kPageFace, kPageFace, kPageFace};
  extras.Files.push_back({"PAGE.BMP", FrameStrip(pageRims, pageFaces)});
  extras.Files.push_back({"TAB.BMP", FrameStrip(ctl::Rim, kTab)});
  extras.Files.push_back({"DIVIDER.BMP", BmpBytes(9, 9, kDivider)});
  extras.Files.push_back({"SPEED.BMP", FrameStrip(ctl::Rim, kSpeed)});
  extras.Sections += "[FORM]\r\n" + colours(dlg::Face) + "[PAGECONTROL]\r\n" + colours(kPageFace) + "BORDERSMASK=!PAGE.BMP!3!0!0!3!3!3!3\r\n" +
                     "[TABTOP]\r\n" + colours(kTab[0]) + "BORDERSMASK=!TAB.BMP!3!0!0!3!3!3!3\r\n" +
                     "[TOOLBAR]\r\n" + colours(kBar) + "[STATUSBAR]\r\n" + colours(kStatus) +
                     "[DIVIDER]\r\n" + colours(kDivider) + "BORDERSMASK=!DIVIDER.BMP!1!0!0!1!1!1!1\r\n" +
                     "[SPEEDBUTTON]\r\n" + colours(kSpeed[0]) + "BORDERSMASK=!SPEED.BMP!3!0!0!3!3!3!3\r\n";
  return extras;
}

// The pixel the screen shows at a point of the window.
COLORREF OnScreen(HWND wnd, POINT inWindow) {
  RECT r;
  GetWindowRect(wnd, &r);
  return captureScreen({r.left + inWindow.x, r.top + inWindow.y, r.left + inWindow.x + 1, r.top + inWindow.y + 1}).at(0, 0);
}

void Redraw(HWND wnd) {
  RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
  pumpFor(50);
}

enum : WORD { kTabs = 10, kNoTabs = 11 };

void AddTabs(HWND tabs) {
  for (const wchar_t* caption : {L"One", L"Two", L"Three"}) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<wchar_t*>(caption);
    SendMessageW(tabs, TCM_INSERTITEMW, SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), reinterpret_cast<LPARAM>(&item));
  }
  SendMessageW(tabs, TCM_SETCURSEL, 1, 0);
}

TEST(SkinnedTabControl, PageFrameTabsAndTheSelectedTabOverTheOthers) {
  DialogSkin skin(TabBarSkinExtras());
  TemplateDialog dialog({{L"SysTabControl32", 0, 4, 4, 150, 80, kTabs}, {L"SysTabControl32", 0, 160, 4, 36, 30, kNoTabs}},
                        200, 120, [](HWND wnd) { AddTabs(GetDlgItem(wnd, kTabs)); });
  pumpFor(100);
  HWND tabs = dialog.Item(kTabs);
  auto* adapter = dynamic_cast<TacTabControlWnd*>(AdapterOfWindow(tabs));
  ASSERT_NE(adapter, nullptr);
  ASSERT_NE(dynamic_cast<TacTabControlWnd*>(AdapterOfWindow(dialog.Item(kNoTabs))), nullptr);
  Redraw(dialog.Wnd());
  saveScreenshot(dialog.Wnd(), "skinned_tab_control");

  adapter->ReadWindowPlacement();
  const RECT selected = adapter->TabRect(1), other = adapter->TabRect(0), frame = adapter->PageFrameBounds();
  const int rim = 3;
  EXPECT_EQ(OnScreen(tabs, {selected.left + rim + 1, selected.top + rim + 1}), Rgb(kTab[2])) << "the selected tab";
  EXPECT_EQ(OnScreen(tabs, {selected.left, selected.top + 6}), Rgb(ctl::Rim[2]));
  EXPECT_EQ(OnScreen(tabs, {other.left + rim + 1, other.top + rim + 1}), Rgb(kTab[0])) << "an unselected tab";
  EXPECT_EQ(OnScreen(tabs, {frame.left + 1, frame.bottom - 2}), Rgb(kPageRim)) << "the page frame";
  EXPECT_EQ(OnScreen(tabs, {(frame.left + frame.right) / 2, frame.bottom - 10}), Rgb(kPageFace));
  EXPECT_EQ(OnScreen(tabs, {selected.left + rim + 1, frame.top + 1}), Rgb(ctl::Rim[2]))
      << "the selected tab's edge covers the page frame's";
  EXPECT_EQ(OnScreen(tabs, {other.right - 4, frame.top + 1}), Rgb(kPageRim)) << "the page frame covers other tabs";
  EXPECT_EQ(OnScreen(dialog.Item(kNoTabs), {18, 15}), Rgb(dlg::Face)) << "no tabs: the see-through CHECKBOX section";

  SendMessageW(tabs, TCM_SETCURSEL, 0, 0);
  Redraw(tabs);
  const RECT now = adapter->TabRect(0);
  EXPECT_EQ(OnScreen(tabs, {now.left + rim + 1, now.top + rim + 1}), Rgb(kTab[2])) << "the selection moved";
}

class SkinnedBars : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    skin = std::make_unique<DialogSkin>(TabBarSkinExtras());
    TsSkinManager& manager = *skin->manager;
    manager.ThirdParty.SetThird(ThirdToolBar, "TToolBar");
    manager.ThirdParty.SetThird(ThirdStatusBar, "TStatusBar");
    manager.ThirdParty.SetThird(ThirdPageControl, "TPageControl");
    UpdateThirdLists(manager, false);
    form = efir::Construct<TForm>(nullptr);
    form->SetBorderStyle(bsNone);
    form->SetBounds(100, 100, 300, 150);
    toolBar = new TToolBar(form);
    toolBar->SetParent(form);
    toolBar->SetButtonSize(40, 26);
    toolBar->SetHeight(30);
    down = toolBar->AddButton("", -1, tbsCheck);
    plain = toolBar->AddButton("", -1);
    toolBar->AddButton("", -1, tbsSeparator);
    disabled = toolBar->AddButton("", -1);
    statusBar = new TStatusBar(form);
    statusBar->SetParent(form);
    statusBar->SetHeight(22);
    statusBar->AddPanel("", 100);
    statusBar->AddPanel("", 100);
    pages = efir::Place(new TPageControl(form), form, 4, 36, 180, 86);
    for (const char* caption : {"First", "Second"}) {
      auto* sheet = new TTabSheet(form);
      sheet->SetPageControl(pages);
      sheet->SetCaption(caption);
    }
    speed = efir::Place(new TSpeedButton(form), form, 200, 60, 40, 40);
    speed->Glyph().SetPixelFormat(pf24bit);
    speed->Glyph().SetSize(16, 16);
    speed->Glyph().Canvas().Brush().SetColor(kGlyph);
    speed->Glyph().Canvas().FillRect({0, 0, 16, 16});
    SetPixel(speed->Glyph().Canvas().Handle(), 0, 15, RGB(255, 0, 255));  // the transparent colour
    form->HandleNeeded();
    down->SetDown(true);
    disabled->SetEnabled(false);
    provider = new TsSkinProvider(form);
    provider->AfterConstruction();
    provider->CreateControlAdapter();
    form->Show();
    SetForegroundWindow(form->Handle());
    pumpFor(100);
  }
  void TearDown() override {
    form->Free();
    skin.reset();
    UiTest::TearDown();
  }
  RECT ButtonRect(int index) {
    RECT r{};
    SendMessageW(toolBar->Handle(), TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r));
    return r;
  }
  // A point of the bar's client area, as a point of its window.
  POINT InBar(POINT client) {
    RECT c;
    ClientRectInWindowCoords(toolBar->Handle(), c);
    return {client.x + c.left, client.y + c.top};
  }

  std::unique_ptr<DialogSkin> skin;
  TForm* form = nullptr;
  TsSkinProvider* provider = nullptr;
  TSpeedButton* speed = nullptr;
  TPageControl* pages = nullptr;
  TToolBar* toolBar = nullptr;
  TStatusBar* statusBar = nullptr;
  TToolButton *down = nullptr, *plain = nullptr, *disabled = nullptr;
};

TEST_F(SkinnedBars, ToolButtonsTakeTheirLooksAndFollowTheMouse) {
  auto* adapter = dynamic_cast<TacToolBarVCLWnd*>(AdapterOfWindow(toolBar->Handle()));
  ASSERT_NE(adapter, nullptr);
  EXPECT_EQ(adapter->ToolBar, toolBar);
  SetCursorPos(0, 0);
  pumpFor(50);
  Redraw(form->Handle());
  saveScreenshot(form->Handle(), "skinned_tool_and_status_bar");
  HWND bar = toolBar->Handle();
  const RECT first = ButtonRect(0), second = ButtonRect(1), separator = ButtonRect(2);
  EXPECT_EQ(OnScreen(bar, InBar({first.left + 5, first.top + 5})), Rgb(ctl::Tool[2])) << "a down button is pressed";
  EXPECT_EQ(OnScreen(bar, InBar({second.left + 5, second.top + 5})), Rgb(ctl::Tool[0]));
  EXPECT_EQ(OnScreen(bar, InBar({second.left, second.top})), Rgb(ctl::Rim[0]));
  EXPECT_EQ(OnScreen(bar, InBar({(separator.left + separator.right) / 2, separator.top + 2})), Rgb(kBar))
      << "a separator shows the bar";
  EXPECT_EQ(adapter->ButtonAt({(separator.left + separator.right) / 2, separator.top + 2}), -1)
      << "a separator is never the hot button";

  RECT window;
  GetWindowRect(bar, &window);
  const POINT middle = InBar({(second.left + second.right) / 2, (second.top + second.bottom) / 2});
  SetCursorPos(window.left + middle.x, window.top + middle.y);
  pumpFor(100);
  EXPECT_EQ(adapter->HotIndex, 1);
  EXPECT_EQ(OnScreen(bar, InBar({second.left + 5, second.top + 5})), Rgb(ctl::Tool[1])) << "hot under the mouse";
  const RECT off = ButtonRect(3);
  SetCursorPos(window.left + InBar({off.left + 5, 0}).x, window.top + middle.y);
  pumpFor(100);
  EXPECT_EQ(adapter->HotIndex, 1) << "a disabled button does not become hot";
}

TEST_F(SkinnedBars, StatusPanelsShowTheSectionWithADividerBetweenThem) {
  auto* adapter = dynamic_cast<TacStatusBarWnd*>(AdapterOfWindow(statusBar->Handle()));
  ASSERT_NE(adapter, nullptr);
  EXPECT_EQ(adapter->StatusBar, statusBar);
  Redraw(form->Handle());
  HWND bar = statusBar->Handle();
  RECT first{}, last{};
  SendMessageW(bar, SB_GETRECT, 0, reinterpret_cast<LPARAM>(&first));
  SendMessageW(bar, SB_GETRECT, 1, reinterpret_cast<LPARAM>(&last));
  const int middle = (first.top + first.bottom) / 2;
  EXPECT_EQ(OnScreen(bar, {first.left + 30, middle}), Rgb(kStatus));
  EXPECT_EQ(OnScreen(bar, {first.right - 3, middle}), Rgb(kDivider)) << "a divider after the first panel";
  EXPECT_EQ(OnScreen(bar, {last.right - 8, middle}), Rgb(kStatus)) << "none after the last";

  statusBar->SetSimpleText("Simple");
  statusBar->SetSimplePanel(true);
  EXPECT_EQ(adapter->PanelText(-1), "Simple") << "the simple panel shows the window text";
  Redraw(bar);
  EXPECT_EQ(OnScreen(bar, {first.right - 3, middle}), Rgb(kStatus)) << "one panel over the whole bar";
}

TEST_F(SkinnedBars, APageControlsActivePageContinuesThePageFrame) {
  ASSERT_NE(dynamic_cast<TacPageControlWnd*>(AdapterOfWindow(pages->Handle())), nullptr);
  TTabSheet* sheet = pages->ActivePage();
  ASSERT_NE(sheet, nullptr);
  EXPECT_NE(dynamic_cast<TacPageWnd*>(AdapterOfWindow(sheet->Handle())), nullptr) << "its pages are adapted";
  Redraw(form->Handle());
  EXPECT_EQ(OnScreen(sheet->Handle(), {sheet->Width() / 2, sheet->Height() / 2}), Rgb(kPageFace));
}

TEST_F(SkinnedBars, ATabShowsItsImageFromTheControlsImageList) {
  constexpr TColor kImage = 0x20C0F0;
  constexpr int kSize = 16;
  HIMAGELIST images = SolidImageList(kSize, kImage);
  pages->SetImages(images);
  pages->SetTabImageIndex(0, 0);
  auto* adapter = dynamic_cast<TacPageControlWnd*>(AdapterOfWindow(pages->Handle()));
  ASSERT_NE(adapter, nullptr);
  Redraw(form->Handle());
  saveScreenshot(form->Handle(), "skinned_tab_with_image");
  adapter->ReadWindowPlacement();
  RECT window;
  GetWindowRect(pages->Handle(), &window);
  auto imagePixels = [&](int tab) {
    RECT r = adapter->TabRect(tab);
    OffsetRect(&r, window.left, window.top);
    const Image shot = captureScreen(r);
    return std::count(shot.pixels.begin(), shot.pixels.end(), (kImage & 0xFF) << 16 | (kImage & 0xFF00) | kImage >> 16);
  };
  EXPECT_EQ(imagePixels(0), kSize * kSize) << "the whole picture on the tab";
  EXPECT_EQ(imagePixels(1), 0) << "a tab without an image";
  pages->SetImages(nullptr);
  ImageList_Destroy(images);
}

TEST_F(SkinnedBars, ASpeedButtonGivenToTheControlAdapterPaintsFromTheSkin) {
  ASSERT_NE(provider->CtrlAdapter, nullptr);
  EXPECT_TRUE(provider->CtrlAdapter->GraphItems.empty()) << "nothing adds speed buttons by itself";
  provider->CtrlAdapter->AddGraphicControl(speed);
  ASSERT_EQ(provider->CtrlAdapter->GraphItems.size(), 1u);
  EXPECT_EQ(SendSkinCommandToControl(speed, SKC_ISSKINNED), 1);
  Redraw(form->Handle());
  HWND wnd = form->Handle();
  auto at = [&](int x, int y) { return OnScreen(wnd, {speed->Left() + x, speed->Top() + y}); };
  EXPECT_EQ(at(5, 5), Rgb(kSpeed[0]));
  EXPECT_EQ(at(12, 12), Rgb(kGlyph)) << "the glyph centred";
  EXPECT_EQ(at(27, 27), Rgb(kGlyph));
  EXPECT_EQ(at(28, 28), Rgb(kSpeed[0]));

  speed->SetDown(true);
  Redraw(wnd);
  EXPECT_EQ(at(5, 5), Rgb(kSpeed[2])) << "down is pressed";
  EXPECT_EQ(at(12, 12), Rgb(kSpeed[2])) << "the glyph moved one pixel right and down";
  EXPECT_EQ(at(28, 28), Rgb(kGlyph));

  provider->CtrlAdapter->GraphItems.clear();
  EXPECT_NE(SendSkinCommandToControl(speed, SKC_ISSKINNED), 1) << "the button's own procedure is back";
}

}  // namespace
}  // namespace efir::test
