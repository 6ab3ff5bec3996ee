// What the skinned-menu tests share: a synthetic skin whose menu parts have flat colours a
// test can expect at its probe points, and a popup menu run from a timer inside the
// system's menu loop, with the popup window's pixels and item rectangles read meanwhile.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "framework/files.h"
#include "framework/menus.h"
#include "framework/tests/core_test_files.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/tests/skin_fixtures.h"
#include "skin/forms/tests/dialog_fixtures.h"  // Hex, WithMessageBox
#include "tests/support/capture.h"
#include "tests/support/window.h"

namespace efir::test {

namespace menuskin {
constexpr TColor Menu = 0x402000, Rim = 0x800040, Item = 0x303030, HotItem = 0x006000, Ink = 0xE0E0E0,
                 HotInk = 0x00FFFF, Divider = 0x0000C0, Check = 0x00C0C0, Radio = 0xC000C0, Title = 0x505000;
constexpr int RimWidth = 3;
constexpr int CheckSize = 8;
}  // namespace menuskin

// A 9x9 frame: a rim round the menu colour, its four corner pixels magenta (cut by the region).
inline std::string MenuFrame() {
  return BmpBytes(9, 9, [](int x, int y) -> uint32_t {
    const bool corner = (x == 0 || x == 8) && (y == 0 || y == 8);
    const bool rim = x < menuskin::RimWidth || x >= 9 - menuskin::RimWidth || y < menuskin::RimWidth ||
                     y >= 9 - menuskin::RimWidth;
    return corner ? 0xFF00FF : rim ? menuskin::Rim : menuskin::Menu;
  });
}

// Writes the skin "Menus" under the current folder; returns the skin directory.
inline std::string WriteMenuSkin() {
  auto section = [](const char* name, TColor colour, TColor hot) {
    return std::string("[") + name + "]\r\nCOLOR=" + Hex(colour) + "\r\nHOTCOLOR=" + Hex(hot) +
           "\r\nFONTCOLOR=" + Hex(menuskin::Ink) + "\r\nHOTFONTCOLOR=" + Hex(menuskin::HotInk) + "\r\n";
  };
  using namespace menuskin;
  const std::string options = section("GLOBALINFO", Menu, Menu) + "CHECK=!CHECK.BMP!2!0!2\r\nRADIOCHECKED=!RADIO.BMP!2!0!2\r\n" +
                              section("MAINMENU", Menu, Menu) + "BORDERSMASK=!MENUFRAME.BMP!1!0!0!3!3!3!3\r\n" +
                              section("MENUITEM", Item, HotItem) + section("DIVIDERV", Divider, Divider) +
                              "BORDERSMASK=!DIVIDER.BMP!1!0!0!1!1!1!1\r\n" + section("TOOLBAR", Title, Title);
  const std::string dir = efir::GetCurrentDir() + "\\menu_skins";
  ScratchFolder scratch("menu_skins");
  auto solid = [](int w, int h, TColor c) { return BmpBytes(w, h, static_cast<uint32_t>(c)); };
  WriteSkinFolder(dir + "\\Menus", {{"Options.dat", options},
                                    {"MENUFRAME.BMP", MenuFrame()},
                                    {"DIVIDER.BMP", solid(3, 3, Divider)},
                                    {"CHECK.BMP", solid(2 * CheckSize, CheckSize, Check)},
                                    {"RADIO.BMP", solid(2 * CheckSize, CheckSize, Radio)}});
  return dir;
}

// What a test sees of an open popup: the window, its pixels and its items' rectangles in
// window coordinates (by position among the shown items).
struct OpenPopup {
  HWND wnd = nullptr;
  Image pixels;
  std::vector<RECT> items;
  HRGN region = nullptr;  // the window's region, owned by the test; nullptr when none
  bool hasRegion = false;

  COLORREF at(int x, int y) const { return pixels.at(x, y); }
};

// The thread's visible popup-menu window, or nullptr.
inline HWND VisiblePopupWindow() {
  return efir::test::shownThreadWindow(L"#32768");
}

inline OpenPopup ReadOpenPopup() {
  OpenPopup popup;
  popup.wnd = VisiblePopupWindow();
  if (!popup.wnd) return popup;
  popup.pixels = captureWindow(popup.wnd);
  RECT window;
  GetWindowRect(popup.wnd, &window);
  auto menu = reinterpret_cast<HMENU>(SendMessageW(popup.wnd, MN_GETHMENU, 0, 0));
  for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
    RECT r{};
    GetMenuItemRect(nullptr, menu, static_cast<UINT>(i), &r);
    OffsetRect(&r, -window.left, -window.top);
    popup.items.push_back(r);
  }
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  popup.hasRegion = GetWindowRgn(popup.wnd, region) != ERROR;
  popup.region = region;
  return popup;
}

// Runs `steps` one after another from a thread timer while the menu's own loop runs (each
// step may post keys to the menu); the menu is ended after the last step.
inline void PopupWithSteps(TPopupMenu& menu, std::vector<std::function<void()>> steps) {
  static std::vector<std::function<void()>>* pending;
  static size_t next;
  pending = &steps;
  next = 0;
  UINT_PTR timer = SetTimer(nullptr, 0, 60, [](HWND, UINT, UINT_PTR, DWORD) {
    if (next < pending->size()) {
      (*pending)[next++]();
    } else {
      EndMenu();
    }
  });
  menu.Popup(40, 40);
  KillTimer(nullptr, timer);
}

inline int Channel(COLORREF c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

// Colours equal within `tolerance` in every channel.
inline bool Near(COLORREF a, COLORREF b, int tolerance = 2) {
  for (int shift : {0, 8, 16})
    if (std::abs(Channel(a, shift) - Channel(b, shift)) > tolerance) return false;
  return true;
}

inline COLORREF Blend(TColor keep, TColor under, double share) {
  auto mix = [&](int shift) {
    return static_cast<int>(std::lrint(share * Channel(keep, shift) + (1 - share) * Channel(under, shift)));
  };
  return RGB(mix(0), mix(8), mix(16));
}

}  // namespace efir::test
