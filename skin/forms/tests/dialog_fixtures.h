// What the window-skinning tests share: a synthetic skin whose dialog parts have flat colours
// a test can expect at its probe points, a default manager that loads it with the hook
// plugged in, and a message box driven from a timer while MessageBoxW runs.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

#include "framework/files.h"
#include "framework/tests/core_test_files.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/tests/skin_fixtures.h"
#include "skin/forms/skin_hook.h"
#include "tests/support/window.h"

namespace efir::test {

// Colours of the synthetic skin "Dialogs", as 0x00BBGGRR.
namespace dlg {
constexpr TColor Face = 0x603020, Rim = 0x206080;
constexpr TColor TitleActive = 0x0000A0, TitleInactive = 0x505050, Ink = 0xFFFFFF;
constexpr TColor Close[3] = {0x0000FF, 0x00FF00, 0xFF0000};  // normal, hot, pressed
constexpr TColor ButtonFace[3] = {0x400000, 0x004000, 0x000040};
constexpr int RimWidth = 4, ButtonRim = 3;
}  // namespace dlg

inline std::string Hex(TColor c) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%06X", static_cast<unsigned>(c));
  return text;
}

// What a test adds to the skin: GLOBALINFO lines, whole sections, and their pictures.
struct SkinExtras {
  std::string Global;
  std::string Sections;
  SkinFiles Files;
};

// Writes the skin under the current folder; its directory.
inline std::string WriteDialogSkin(const SkinExtras& extras = {}) {
  auto colours = [](TColor fill, TColor hotFill, TColor ink) {
    return "COLOR=" + Hex(fill) + "\r\nHOTCOLOR=" + Hex(hotFill) + "\r\nFONTCOLOR=" + Hex(ink) +
           "\r\nHOTFONTCOLOR=" + Hex(ink) + "\r\n";
  };
  // The frame: a rim round the face, its outermost corner pixels key-coloured (cut away).
  const std::string frame = BmpBytes(12, 12, [](int x, int y) -> uint32_t {
    const int cx = std::min(x, 11 - x), cy = std::min(y, 11 - y);
    if (cx + cy < 2) return 0xFF00FF;
    return static_cast<uint32_t>(cx < dlg::RimWidth || cy < dlg::RimWidth ? dlg::Rim : dlg::Face);
  });
  // The close picture: three 14-pixel cells over a mask row that shows them whole.
  const std::string close = BmpBytes(42, 28, [](int x, int y) -> uint32_t {
    return y < 14 ? static_cast<uint32_t>(dlg::Close[x / 14]) : 0;
  });
  const std::string button = BmpBytes(27, 9, [](int x, int y) -> uint32_t {
    const int cx = x % 9;
    const bool rim = cx < dlg::ButtonRim || cx >= 9 - dlg::ButtonRim || y < dlg::ButtonRim || y >= 9 - dlg::ButtonRim;
    return static_cast<uint32_t>(rim ? 0x808080 : dlg::ButtonFace[x / 9]);
  });
  const std::string options =
      "[GLOBALINFO]\r\n" + colours(dlg::Face, dlg::Face, dlg::Ink) + "SICONCLOSE=!CLOSE.BMP!3!1!2\r\n" + extras.Global +
      "[DIALOG]\r\n" + colours(dlg::Face, dlg::Face, dlg::Ink) + "BORDERSMASK=!DLGFRAME.BMP!1!0!0!4!4!4!4\r\n" +
      "[FORMTITLE]\r\n" + colours(dlg::TitleInactive, dlg::TitleActive, dlg::Ink) +
      "[BUTTON]\r\n" + colours(dlg::ButtonFace[0], dlg::ButtonFace[1], dlg::Ink) +
      "SHOWFOCUS=TRUE\r\nBORDERSMASK=!BUTTON.BMP!3!0!0!3!3!3!3\r\n" +
      "[CHECKBOX]\r\n" + colours(dlg::Face, dlg::Face, dlg::Ink) + "TRANSPARENCY=100\r\nHOTTRANSPARENCY=100\r\n" +
      extras.Sections;
  const std::string dir = efir::GetCurrentDir() + "\\dialog_skins";
  ScratchFolder scratch("dialog_skins");
  SkinFiles files{{"Options.dat", options}, {"DLGFRAME.BMP", frame}, {"CLOSE.BMP", close}, {"BUTTON.BMP", button}};
  files.insert(files.end(), extras.Files.begin(), extras.Files.end());
  WriteSkinFolder(dir + "\\Dialogs", files);
  return dir;
}

// An image list of one opaque square picture of a single colour; the caller destroys it.
inline HIMAGELIST SolidImageList(int size, TColor colour) {
  HIMAGELIST list = ImageList_Create(size, size, ILC_COLOR24, 1, 1);
  HDC screen = GetDC(nullptr);
  HBITMAP picture = CreateCompatibleBitmap(screen, size, size);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ before = SelectObject(dc, picture);
  HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(colour));
  const RECT all{0, 0, size, size};
  FillRect(dc, &all, brush);
  DeleteObject(brush);
  SelectObject(dc, before);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  ImageList_Add(list, picture, nullptr);
  DeleteObject(picture);
  return list;
}

// The default manager with "Dialogs" loaded: the window-skinning hook is set while it lives.
class DialogSkin {
 public:
  explicit DialogSkin(const SkinExtras& extras = {}) {
    StartWindowSkinning();
    manager = std::make_unique<TsSkinManager>(nullptr);
    manager->SetSkinDirectory(WriteDialogSkin(extras));
    manager->SetSkinName("Dialogs");
  }
  ~DialogSkin() {
    manager->SetActive(false);
    manager.reset();
  }
  std::unique_ptr<TsSkinManager> manager;
};

// The visible standard dialog of this thread, or nullptr.
inline HWND VisibleDialog() {
  return efir::test::shownThreadWindow(L"#32770");
}

// Shows a message box and calls `inside` once with it, from a timer, while it runs; `inside`
// ends it (or the box is answered with OK). MessageBoxW's answer.
inline int WithMessageBox(const std::wstring& text, UINT flags, const std::function<void(HWND box)>& inside) {
  static std::function<void(HWND)> pending;
  pending = inside;
  UINT_PTR timer = SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR id, DWORD) {
    HWND box = VisibleDialog();
    if (!box || !pending) return;
    KillTimer(nullptr, id);
    auto run = std::move(pending);
    pending = nullptr;
    run(box);
    if (IsWindow(box)) PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  const int answer = MessageBoxW(nullptr, text.c_str(), L"Skinned box", flags);
  KillTimer(nullptr, timer);
  pending = nullptr;
  return answer;
}

}  // namespace efir::test
