// A real message box under the synthetic skin: which adapter each child gets, what the
// frame, caption, close button, button and text background show, the region cut at the
// corners, the close button's states and click, and what the skin's going leaves behind.
#include <gtest/gtest.h>

#include <string>

#include "skin/forms/button_adapters.h"
#include "skin/forms/dialog_wnd.h"
#include "skin/forms/skin_hook.h"
#include "skin/forms/static_adapters.h"
#include "skin/forms/tests/dialog_fixtures.h"
#include "skin/forms/window_relays.h"
#include "tests/support/capture.h"
#include "tests/support/window.h"

namespace efir::test {
namespace {

COLORREF Rgb(TColor c) { return static_cast<COLORREF>(c); }

TacDialogWnd* DialogAdapterOf(HWND box) { return dynamic_cast<TacDialogWnd*>(AdapterOfWindow(box)); }

HWND ChildOfClass(HWND box, const std::string& name, LONG_PTR type = -1) {
  for (HWND child = GetTopWindow(box); child; child = GetWindow(child, GW_HWNDNEXT))
    if (WindowClassLower(child) == name && (type < 0 || (GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == type))
      return child;
  return nullptr;
}

POINT CentreOnScreen(HWND box, const RECT& inWindow) {
  RECT w;
  GetWindowRect(box, &w);
  return {w.left + (inWindow.left + inWindow.right) / 2, w.top + (inWindow.top + inWindow.bottom) / 2};
}

LPARAM ScreenParam(POINT p) { return MAKELPARAM(p.x, p.y); }

class MessageBoxTest : public ::testing::Test {
 protected:
  DialogSkin skin;
};

TEST_F(MessageBoxTest, EveryChildGetsTheAdapterOfItsKind) {
  WithMessageBox(L"Текст\nX", MB_OK | MB_ICONINFORMATION, [](HWND box) {
    ASSERT_NE(DialogAdapterOf(box), nullptr);
    const struct {
      const char* Class;
      LONG_PTR Type;
      bool (*Right)(TacMainWnd*);
    } children[] = {
        {"static", SS_ICON, [](TacMainWnd* a) { return dynamic_cast<TacIconWnd*>(a) != nullptr; }},
        {"static", SS_LEFT, [](TacMainWnd* a) { return dynamic_cast<TacStaticWnd*>(a) && !dynamic_cast<TacIconWnd*>(a); }},
        {"button", -1, [](TacMainWnd* a) { return dynamic_cast<TacBtnWnd*>(a) != nullptr; }},
    };
    for (const auto& c : children) {
      SCOPED_TRACE(std::string(c.Class) + " " + std::to_string(c.Type));
      HWND child = ChildOfClass(box, c.Class, c.Type);
      ASSERT_NE(child, nullptr);
      EXPECT_TRUE(c.Right(AdapterOfWindow(child)));
      EXPECT_TRUE(IsWindowUnicode(child));
    }
    EXPECT_FALSE(GetWindowLongPtrW(box, GWL_STYLE) & WS_SYSMENU) << "the system's caption buttons are off";
  });
}

TEST_F(MessageBoxTest, FrameCaptionButtonsAndTextShowTheSkin) {
  // Something known behind the box, to see through the region's cut corners.
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  TestWindow behind(sw - 80, sh - 80, [](HDC dc, const RECT& r) {
    HBRUSH brush = CreateSolidBrush(RGB(0x11, 0x99, 0x22));
    FillRect(dc, &r, brush);
    DeleteObject(brush);
  });
  WithMessageBox(L"Первая строка сообщения\nX", MB_OK, [](HWND box) {
    TacDialogWnd* dialog = DialogAdapterOf(box);
    ASSERT_NE(dialog, nullptr);
    RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const Image shot = captureWindow(box);
    const int header = dialog->HeaderHeight(), border = dialog->BorderWidth();
    EXPECT_EQ(shot.at(1, shot.height / 2), Rgb(dlg::Rim)) << "left frame band";
    EXPECT_EQ(shot.at(shot.width / 2, shot.height - 2), Rgb(dlg::Rim)) << "bottom frame band";
    EXPECT_EQ(shot.at(border + 2, header / 2), Rgb(dlg::TitleActive)) << "caption band";
    const RECT close = dialog->ButtonClose.Rect;
    EXPECT_EQ(shot.at((close.left + close.right) / 2, (close.top + close.bottom) / 2), Rgb(dlg::Close[0]));

    HWND text = ChildOfClass(box, "static", SS_LEFT);
    RECT t;
    GetWindowRect(text, &t);
    RECT w;
    GetWindowRect(box, &w);
    EXPECT_EQ(shot.at(t.right - w.left - 2, t.bottom - w.top - 2), Rgb(dlg::Face)) << "text on the skin, not grey";
    HWND ok = ChildOfClass(box, "button");
    RECT b;
    GetWindowRect(ok, &b);
    EXPECT_EQ(shot.at(b.left - w.left + dlg::ButtonRim + 1, b.top - w.top + dlg::ButtonRim + 1), Rgb(dlg::ButtonFace[1]))
        << "the default button looks hot";

    const Image screen = captureScreenOf(box);
    EXPECT_EQ(screen.at(0, 0), RGB(0x11, 0x99, 0x22)) << "the top-left corner is cut away";
    EXPECT_EQ(screen.at(screen.width - 1, screen.height - 1), RGB(0x11, 0x99, 0x22)) << "and the bottom-right one";
    EXPECT_EQ(screen.at(1, screen.height / 2), Rgb(dlg::Rim)) << "the frame reaches the screen";
    saveScreenshot(box, "skinned_message_box");
  });
}

TEST_F(MessageBoxTest, CaptionStaysSkinnedThroughDeactivationAndANewTitle) {
  WithMessageBox(L"Текст", MB_OK, [](HWND box) {
    TacDialogWnd* dialog = DialogAdapterOf(box);
    ASSERT_NE(dialog, nullptr);
    const int x = dialog->BorderWidth() + 2, y = dialog->HeaderHeight() / 2;
    SendMessageW(box, WM_NCACTIVATE, FALSE, 0);
    pumpFor(50);
    EXPECT_EQ(captureWindow(box).at(x, y), Rgb(dlg::TitleInactive));
    SetWindowTextW(box, L"Новый заголовок");
    pumpFor(50);
    EXPECT_EQ(captureWindow(box).at(x, y), Rgb(dlg::TitleInactive));
    EXPECT_EQ(dialog->WindowText, "Новый заголовок");
    SendMessageW(box, WM_NCACTIVATE, TRUE, 0);
    pumpFor(50);
    EXPECT_EQ(captureWindow(box).at(x, y), Rgb(dlg::TitleActive));
  });
}

void Mouse(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof input);
}

void MoveMouse(POINT p) {
  SetCursorPos(p.x, p.y);
  pumpFor(100);
}

TEST_F(MessageBoxTest, CloseButtonTurnsHotAndPressedAndClosesOnlyWhenReleasedOnIt) {
  // Without glowing the frame itself shows the button's looks (with it, a fade window does).
  skin.manager->SetAllowGlowing(false);
  const int answer = WithMessageBox(L"Текст", MB_OKCANCEL, [](HWND box) {
    TacDialogWnd* dialog = DialogAdapterOf(box);
    ASSERT_NE(dialog, nullptr);
    const RECT r = dialog->ButtonClose.Rect;
    const POINT onClose = CentreOnScreen(box, r);
    const POINT inWindow{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    auto closeColour = [&] { return captureWindow(box).at(inWindow.x, inWindow.y); };
    const POINT onCaption = CentreOnScreen(box, {dialog->BorderWidth() + 2, 2, dialog->BorderWidth() + 4, 6});

    EXPECT_EQ(SendMessageW(box, WM_NCHITTEST, 0, ScreenParam(onClose)), HTCLOSE);
    MoveMouse(onClose);
    EXPECT_EQ(closeColour(), Rgb(dlg::Close[1])) << "hot";
    Mouse(MOUSEEVENTF_LEFTDOWN);
    pumpFor(100);
    EXPECT_EQ(closeColour(), Rgb(dlg::Close[2])) << "pressed";
    // Moving off the button and releasing there closes nothing.
    MoveMouse(onCaption);
    EXPECT_EQ(closeColour(), Rgb(dlg::Close[0])) << "normal again";
    Mouse(MOUSEEVENTF_LEFTUP);
    pumpFor(100);
    EXPECT_TRUE(IsWindowVisible(box));
    // A click as the user makes it closes the box.
    MoveMouse(onClose);
    Mouse(MOUSEEVENTF_LEFTDOWN);
    Mouse(MOUSEEVENTF_LEFTUP);
    // The box ends once this timer call returns; it hides at once.
    pumpUntil([&] { return !IsWindowVisible(box); }, 3000);
    EXPECT_FALSE(IsWindowVisible(box)) << "the click on the close button closed the box";
  });
  EXPECT_EQ(answer, IDCANCEL);
}

TEST_F(MessageBoxTest, OneBrushForTheDialogBackgroundGivenBackWithTheProvider) {
  HBRUSH brush = nullptr;
  WithMessageBox(L"Текст", MB_OK, [&](HWND box) {
    brush = reinterpret_cast<HBRUSH>(SendMessageW(box, WM_CTLCOLORDLG, 0, 0));
    EXPECT_EQ(reinterpret_cast<HBRUSH>(SendMessageW(box, WM_CTLCOLORDLG, 0, 0)), brush);
    EXPECT_EQ(GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));
  });
  // The closed box's provider goes at the next window destruction.
  DestroyWindow(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
  EXPECT_TRUE(HookProviders().empty());
  EXPECT_EQ(GetObjectType(brush), 0u);
}

TEST_F(MessageBoxTest, RemovingTheSkinLeavesNoAdapterAndGivesTheSystemMenuBack) {
  WithMessageBox(L"Текст", MB_OK | MB_ICONWARNING, [&](HWND box) {
    ASSERT_NE(DialogAdapterOf(box), nullptr);
    skin.manager->SetActive(false);
    EXPECT_FALSE(SkinHookInstalled());
    EXPECT_EQ(GetPropW(box, kAdapterProperty), nullptr);
    for (HWND child = GetTopWindow(box); child; child = GetWindow(child, GW_HWNDNEXT))
      EXPECT_EQ(GetPropW(child, kAdapterProperty), nullptr) << WindowClassLower(child);
    EXPECT_TRUE(GetWindowLongPtrW(box, GWL_STYLE) & WS_SYSMENU);
  });
}

TEST_F(MessageBoxTest, ASecondPlainBoxStaysUnskinnedWhileOneIsShown) {
  WithMessageBox(L"Первый", MB_OK, [](HWND first) {
    ASSERT_NE(DialogAdapterOf(first), nullptr);
    static HWND second = nullptr;
    second = nullptr;
    UINT_PTR timer = SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR id, DWORD) {
      EnumThreadWindows(
          GetCurrentThreadId(),
          [](HWND window, LPARAM) -> BOOL {
            if (WindowClassLower(window) == "#32770" && IsWindowVisible(window) && !AdapterOfWindow(window) &&
                WindowTextWide(window) == L"Second") {
              second = window;
              PostMessageW(window, WM_COMMAND, IDOK, 0);
            }
            return TRUE;
          },
          0);
      if (second) KillTimer(nullptr, id);
    });
    MessageBoxW(first, L"Второй", L"Second", MB_OK);
    KillTimer(nullptr, timer);
    EXPECT_NE(second, nullptr) << "the second box showed without an adapter";
  });
}

}  // namespace
}  // namespace efir::test
