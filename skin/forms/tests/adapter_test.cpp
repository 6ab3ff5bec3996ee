// Attaching a window adapter to raw windows and taking it off again.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "skin/engine/common_data.h"
#include "skin/engine/skin_command.h"
#include "skin/forms/scroll_wnd.h"
#include "skin/forms/window_adapter.h"

namespace {

// A raw window whose own procedure notes the messages it sees.
std::vector<UINT> seen;
bool adapterPresentAtDestroy = false;

LRESULT CALLBACK NotingProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  seen.push_back(msg);
  if (msg == WM_DESTROY) adapterPresentAtDestroy = GetPropW(wnd, kAdapterProperty) != nullptr;
  if (msg == SM_ALPHACMD) return 0x77;
  return DefWindowProcW(wnd, msg, wParam, lParam);
}

HWND NotingWindow() {
  static const ATOM atom = [] {
    WNDCLASSW c{};
    c.lpfnWndProc = NotingProc;
    c.hInstance = GetModuleHandleW(nullptr);
    c.lpszClassName = L"AdapterTestWindow";
    return RegisterClassW(&c);
  }();
  (void)atom;
  return CreateWindowExW(0, L"AdapterTestWindow", L"", WS_POPUP, 0, 0, 50, 20, nullptr, nullptr, nullptr, nullptr);
}

WNDPROC ProcOf(HWND wnd) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(wnd, GWLP_WNDPROC)); }

WNDPROC laterPrevious = nullptr;
int laterCalls = 0;
LRESULT CALLBACK LaterSubclass(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  ++laterCalls;
  return CallWindowProcW(laterPrevious, wnd, msg, wParam, lParam);
}

}  // namespace

TEST(WindowAdapter, AttachAndDetachGiveTheProcedureAndPropertyBack) {
  HWND wnd = NotingWindow();
  const WNDPROC original = ProcOf(wnd);
  auto adapter = AttachAdapter<TacMainWnd>(wnd, nullptr, nullptr, "EDIT", false);
  EXPECT_NE(ProcOf(wnd), original);
  EXPECT_EQ(AdapterOfWindow(wnd), adapter.get());
  EXPECT_EQ(adapter->SkinData->SkinSection(), "EDIT");
  // Without an active skin every skin command goes to the window's own procedure.
  EXPECT_EQ(SendSkinCommandToWindow(wnd, SKC_ISSKINNED), 0x77);

  adapter->Detach(false);
  EXPECT_EQ(ProcOf(wnd), original);
  EXPECT_EQ(GetPropW(wnd, kAdapterProperty), nullptr);
  adapter->Detach(false);  // a second detach does nothing
  EXPECT_EQ(ProcOf(wnd), original);
  adapter.reset();
  DestroyWindow(wnd);
}

TEST(WindowAdapter, FreeingPutsTheProcedureBackUnlessSomeoneSubclassedAfterUs) {
  HWND wnd = NotingWindow();
  const WNDPROC original = ProcOf(wnd);
  AttachAdapter<TacMainWnd>(wnd, nullptr, nullptr, "EDIT", false).reset();
  EXPECT_EQ(ProcOf(wnd), original);

  auto adapter = AttachAdapter<TacMainWnd>(wnd, nullptr, nullptr, "EDIT", false);
  laterPrevious = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(LaterSubclass)));
  adapter->Detach(false);
  adapter.reset();
  EXPECT_EQ(ProcOf(wnd), LaterSubclass) << "the later subclass stays installed";
  laterCalls = 0;
  seen.clear();
  SendMessageW(wnd, WM_USER + 5, 0, 0);
  EXPECT_EQ(laterCalls, 1);
  EXPECT_EQ(seen, std::vector<UINT>{WM_USER + 5}) << "our left-over link passes messages on";
  // A new adapter does not link in a second time while the old link is in the chain.
  auto again = AttachAdapter<TacMainWnd>(wnd, nullptr, nullptr, "EDIT", false);
  EXPECT_EQ(AdapterOfWindow(wnd), nullptr);
  again.reset();
  DestroyWindow(wnd);
}

TEST(WindowAdapter, DestroyReachesTheWindowFirstAndDetaches) {
  HWND wnd = NotingWindow();
  auto adapter = AttachAdapter<TacMainWnd>(wnd, nullptr, nullptr, "EDIT", false);
  seen.clear();
  DestroyWindow(wnd);
  EXPECT_TRUE(adapterPresentAtDestroy);
  EXPECT_NE(std::find(seen.begin(), seen.end(), UINT{WM_NCDESTROY}), seen.end());
  EXPECT_TRUE(adapter->Detached);
}

TEST(WindowAdapter, AUnicodeEditKeepsCharactersOutsideTheAnsiCodePage) {
  HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(IsWindowUnicode(edit));
  auto adapter = AttachAdapter<TacScrollWnd>(edit, nullptr, nullptr, "EDIT", false);
  EXPECT_TRUE(IsWindowUnicode(edit));
  const std::wstring text = L"\u4E2D\u6587 \u0416";
  SetWindowTextW(edit, text.c_str());
  wchar_t back[32] = {};
  GetWindowTextW(edit, back, 32);
  EXPECT_EQ(std::wstring(back), text);
  ASSERT_NE(ScrollBarOfWindow(edit, SB_VERT), nullptr);
  EXPECT_EQ(ScrollBarOfWindow(edit, SB_VERT)->MinThumbSize, DefaultMinThumbSize);
  EXPECT_EQ(ScrollBarOfWindow(edit, 2), nullptr);
  EXPECT_TRUE(SetMinThumbSize(edit, 2, 30));
  EXPECT_EQ(ScrollBarOfWindow(edit, SB_VERT)->MinThumbSize, DefaultMinThumbSize);
  DestroyWindow(edit);
  EXPECT_FALSE(SetMinThumbSize(edit, 3, 12));
}
