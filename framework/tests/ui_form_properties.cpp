// The form properties that reach the window (caption buttons, stay-on-top, window state,
// opacity, size limits, icon), the screen's list of forms and fonts, and the hint window.
#include "framework/exceptions.h"
#include "framework/hint_window.h"
#include "framework/tests/ui_fixture.h"
#include "tests/support/capture.h"
#include "tests/support/window.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using efir::test::UiTest;
using UiFormProperties = UiTest;

TForm* NewHiddenForm(TFormBorderStyle border) {
  auto* form = efir::Construct<TForm>(nullptr);
  form->SetBorderStyle(border);
  form->SetBounds(40, 40, 200, 150);
  return form;
}

TEST_F(UiFormProperties, BorderIconsChooseTheCaptionButtons) {
  struct Case {
    TFormBorderStyle border;
    TBorderIcons icons;
    LONG_PTR style;     // these bits set
    LONG_PTR missing;   // these bits clear
    bool help;
  };
  const Case cases[] = {
      {bsSizeable, biSystemMenu | biMinimize | biMaximize, WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, 0, false},
      {bsSizeable, biSystemMenu | biMinimize, WS_SYSMENU | WS_MINIMIZEBOX, WS_MAXIMIZEBOX, false},
      {bsSingle, biSystemMenu | biMaximize, WS_SYSMENU | WS_MAXIMIZEBOX, WS_MINIMIZEBOX, false},
      {bsSizeable, biMinimize | biMaximize, 0, WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX, false},
      {bsDialog, biSystemMenu | biMinimize | biMaximize | biHelp, WS_SYSMENU, WS_MINIMIZEBOX | WS_MAXIMIZEBOX, true},
      {bsSizeable, biSystemMenu | biMinimize | biHelp, WS_MINIMIZEBOX, 0, false},
      {bsSizeToolWin, biSystemMenu | biMaximize, WS_SYSMENU | WS_THICKFRAME, WS_MAXIMIZEBOX, false},
  };
  for (const Case& c : cases) {
    TForm* form = NewHiddenForm(c.border);
    form->SetBorderIcons(c.icons);
    LONG_PTR style = GetWindowLongPtrW(form->Handle(), GWL_STYLE);
    LONG_PTR exStyle = GetWindowLongPtrW(form->Handle(), GWL_EXSTYLE);
    EXPECT_EQ(style & c.style, c.style) << c.border << " " << int(c.icons);
    EXPECT_EQ(style & c.missing, 0) << c.border << " " << int(c.icons);
    EXPECT_EQ((exStyle & WS_EX_CONTEXTHELP) != 0, c.help) << c.border << " " << int(c.icons);
    form->Free();
  }
}

TEST_F(UiFormProperties, StayOnTopAndWindowStateReachTheWindow) {
  TForm* form = NewHiddenForm(bsSizeable);
  form->SetFormStyle(fsStayOnTop);
  form->SetWindowState(wsMaximized);
  form->Show();
  EXPECT_TRUE(GetWindowLongPtrW(form->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_TRUE(IsZoomed(form->Handle()));
  EXPECT_EQ(form->WindowState(), wsMaximized);

  ShowWindow(form->Handle(), SW_RESTORE);  // the user's doing: the property follows
  EXPECT_EQ(form->WindowState(), wsNormal);
  form->SetWindowState(wsMinimized);
  EXPECT_TRUE(IsIconic(form->Handle()));
  form->SetFormStyle(fsNormal);
  EXPECT_FALSE(GetWindowLongPtrW(form->Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_THROW(form->SetFormStyle(fsMDIChild), Exception);
  form->Free();
}

TEST_F(UiFormProperties, AlphaBlendLayersTheWindowAndCombinesWithTheColourKey) {
  TForm* form = NewForm();
  auto layered = [&] { return (GetWindowLongPtrW(form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED) != 0; };
  EXPECT_FALSE(layered());
  form->SetAlphaBlendValue(128);
  form->SetAlphaBlend(true);
  ASSERT_TRUE(layered());
  COLORREF key = 0;
  BYTE alpha = 0;
  DWORD flags = 0;
  ASSERT_TRUE(GetLayeredWindowAttributes(form->Handle(), &key, &alpha, &flags));
  EXPECT_EQ(alpha, 128);
  EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));

  form->SetTransparentColorValue(clLime);
  form->SetTransparentColor(true);  // remakes the window: both settings come back
  ASSERT_TRUE(GetLayeredWindowAttributes(form->Handle(), &key, &alpha, &flags));
  EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA | LWA_COLORKEY));
  EXPECT_EQ(key, RGB(0, 255, 0));
  EXPECT_EQ(alpha, 128);

  form->SetAlphaBlend(false);
  ASSERT_TRUE(GetLayeredWindowAttributes(form->Handle(), &key, &alpha, &flags));
  EXPECT_EQ(flags, static_cast<DWORD>(LWA_COLORKEY));
  form->SetTransparentColor(false);
  EXPECT_FALSE(layered());
}

TEST_F(UiFormProperties, ConstraintsLimitCodeAndUser) {
  TForm* form = NewHiddenForm(bsSizeable);
  form->Constraints() = {100, 80, 300, 0};
  form->SetBounds(40, 40, 500, 50);
  EXPECT_EQ(form->Width(), 300);
  EXPECT_EQ(form->Height(), 80);
  form->SetBounds(40, 40, 150, 900);  // no upper limit on the height
  EXPECT_EQ(form->Width(), 150);
  EXPECT_EQ(form->Height(), 900);

  MINMAXINFO info{};
  info.ptMaxTrackSize = {2000, 2000};
  info.ptMaxSize = {1024, 768};
  SendMessageW(form->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.ptMinTrackSize.x, 100);
  EXPECT_EQ(info.ptMinTrackSize.y, 80);
  EXPECT_EQ(info.ptMaxTrackSize.x, 300);
  EXPECT_EQ(info.ptMaxTrackSize.y, 2000);
  EXPECT_EQ(info.ptMaxSize.x, 300);
  form->Free();
}

TEST_F(UiFormProperties, IconWorkAreaAndTheScreensLists) {
  int before = Screen.CustomFormCount();
  TForm* first = NewHiddenForm(bsSizeable);
  TForm* second = NewHiddenForm(bsNone);
  ASSERT_EQ(Screen.CustomFormCount(), before + 2);
  EXPECT_EQ(Screen.CustomForms(before), first);
  EXPECT_EQ(Screen.CustomForms(before + 1), second);

  TIcon icon;
  icon.SetHandle(CopyIcon(LoadIconW(nullptr, IDI_APPLICATION)));
  first->SetIcon(icon);
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(first->Handle(), WM_GETICON, ICON_BIG, 0)),
            first->Icon().Handle());
  TForm* later = NewHiddenForm(bsNone);  // an icon set before the window exists
  later->SetIcon(icon);
  EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(later->Handle(), WM_GETICON, ICON_SMALL, 0)),
            later->Icon().Handle());

  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  RECT area = first->MonitorWorkArea();
  EXPECT_TRUE(EqualRect(&area, &work));

  first->Free();
  EXPECT_EQ(Screen.CustomForms(before), second);
  second->Free();
  later->Free();
  EXPECT_EQ(Screen.CustomFormCount(), before);

  EXPECT_FALSE(Screen.MenuFont().Name().empty());
  EXPECT_NE(Screen.MenuFont().Height(), 0);
}

TEST_F(UiFormProperties, AHintWindowShowsItsTextOnTopWithoutTakingFocusOrClicks) {
  TForm* form = NewForm();
  SetActiveWindow(form->Handle());
  auto hint = std::make_unique<THintWindow>(nullptr);
  RECT one = hint->CalcHintRect(800, "Закрыть");
  RECT longer = hint->CalcHintRect(800, "Закрыть окно программы");
  RECT wrapped = hint->CalcHintRect(60, "Закрыть окно программы");
  EXPECT_GT(one.right, 0);
  EXPECT_GT(longer.right, one.right);
  EXPECT_LT(wrapped.right, longer.right);
  EXPECT_GT(wrapped.bottom, longer.bottom);

  OffsetRect(&longer, 300, 200);
  hint->ActivateHint(longer, "Закрыть окно программы");
  HWND window = hint->Handle();
  EXPECT_TRUE(IsWindowVisible(window));
  EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(GetActiveWindow(), form->Handle());
  RECT placed{};
  GetWindowRect(window, &placed);
  EXPECT_TRUE(EqualRect(&placed, &longer));
  EXPECT_EQ(SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(placed.left + 2, placed.top + 2)),
            HTTRANSPARENT);

  UpdateWindow(window);
  efir::test::Image image = efir::test::captureWindow(window);
  const COLORREF background = GetSysColor(COLOR_INFOBK);
  const COLORREF text = GetSysColor(COLOR_INFOTEXT);
  int backgroundPixels = 0, textPixels = 0;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) {
      backgroundPixels += image.at(x, y) == background;
      textPixels += image.at(x, y) == text;
    }
  EXPECT_GT(backgroundPixels, image.width * image.height / 2);
  EXPECT_GT(textPixels, 10);
  efir::test::saveScreenshot(window, "framework_hint_window");

  hint.reset();
  EXPECT_FALSE(IsWindow(window));
}

}  // namespace
