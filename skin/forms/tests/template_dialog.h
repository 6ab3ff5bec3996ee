// Standard dialogs built by the tests from an in-memory template, with the common controls
// the file dialogs hold, and the skin parts those controls paint with: each part's frame has
// a rim in the look's colour (normal, hot, pressed) round a face of its own, so that one pixel
// tells which part and which look is drawn.
//
//   DialogSkin skin(ControlSkinExtras());
//   TemplateDialog dialog({{L"msctls_updown32", UDS_ALIGNRIGHT, 4, 4, 12, 14, 20}}, 200, 120,
//                         [](HWND wnd) { ... WM_INITDIALOG work ... });
//   HWND spin = dialog.Item(20);   // adapted: the dialog was activated when it showed
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "skin/engine/tests/control_fixtures.h"
#include "skin/forms/tests/dialog_fixtures.h"

namespace efir::test {

namespace ctl {
constexpr TColor Rim[3] = {0x101090, 0x109090, 0x901010};
constexpr TColor Tool[3] = {0x508020, 0x60A030, 0x70B040};
constexpr TColor Header[3] = {0x205080, 0x3070A0, 0x4090C0};
constexpr TColor Edit[2] = {0x102040, 0x104020};
constexpr TColor Group = 0x707000;
constexpr TColor Glyph[3] = {0xFFFFFF, 0x00FFFF, 0x0000FF};
constexpr TColor Grip = 0x40C040;
constexpr int RimWidth = 3, GlyphSize = 5, GripSize = 6;
}  // namespace ctl

// The sections the list, tool-bar, up-down and grip adapters use (no SPEEDBUTTON_SMALL: the
// up-down falls back on BUTTON; no BAR or DIVIDER).
inline SkinExtras ControlSkinExtras() {
  SkinExtras extras;
  extras.Global = "GRIPIMAGE=!GRIP.BMP!1!0!0\r\n";
  auto section = [&](const std::string& name, const TColor (&faces)[3], const std::string& more = "") {
    extras.Files.push_back({name + ".BMP", FrameStrip(ctl::Rim, faces)});
    extras.Sections += "[" + name + "]\r\nCOLOR=" + Hex(faces[0]) + "\r\nHOTCOLOR=" + Hex(faces[1]) +
                       "\r\nFONTCOLOR=" + Hex(dlg::Ink) + "\r\nHOTFONTCOLOR=" + Hex(dlg::Ink) + "\r\nBORDERSMASK=!" +
                       name + ".BMP!3!0!0!3!3!3!3\r\n" + more;
  };
  section("TOOLBUTTON", ctl::Tool);
  section("COLHEADER", ctl::Header);
  section("EDIT", {ctl::Edit[0], ctl::Edit[1], ctl::Edit[1]});
  section("GROUPBOX", {ctl::Group, ctl::Group, ctl::Group});
  for (const char* arrow : {"SCROLLBTNTOP", "SCROLLBTNBOTTOM", "SCROLLBTNLEFT", "SCROLLBTNRIGHT"})
    section(arrow, ctl::Header, "GLYPHMASK=!ARROW.BMP!3!0!0\r\n");
  extras.Files.push_back({"ARROW.BMP", BmpBytes(ctl::GlyphSize * 3, ctl::GlyphSize, [](int x, int) {
                            return static_cast<uint32_t>(ctl::Glyph[x / ctl::GlyphSize]);
                          })});
  extras.Files.push_back({"GRIP.BMP", BmpBytes(ctl::GripSize, ctl::GripSize, ctl::Grip)});
  return extras;
}

// One child of a template (dialog units).
struct TemplateItem {
  std::wstring Class;
  DWORD Style = 0;
  short X = 0, Y = 0, Cx = 0, Cy = 0;
  WORD Id = 0;
  std::wstring Text;
};

// A modeless dialog from a template of these items, shown at once (so activated, so skinned
// when a skin is active); `init` runs on WM_INITDIALOG. Destroyed with the object.
class TemplateDialog {
 public:
  TemplateDialog(const std::vector<TemplateItem>& items, short cx, short cy, std::function<void(HWND)> init = {})
      : init_(std::move(init)) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    const std::vector<WORD> bytes = Template(items, cx, cy);
    wnd_ = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(bytes.data()),
                                      nullptr, Proc, reinterpret_cast<LPARAM>(this));
    SetForegroundWindow(wnd_);
  }
  ~TemplateDialog() {
    if (IsWindow(wnd_)) DestroyWindow(wnd_);
  }
  TemplateDialog(const TemplateDialog&) = delete;
  TemplateDialog& operator=(const TemplateDialog&) = delete;

  HWND Wnd() const { return wnd_; }
  HWND Item(WORD id) const { return GetDlgItem(wnd_, id); }

 private:
  static INT_PTR CALLBACK Proc(HWND wnd, UINT msg, WPARAM, LPARAM lParam) {
    if (msg != WM_INITDIALOG) return FALSE;
    auto* self = reinterpret_cast<TemplateDialog*>(lParam);
    if (self->init_) self->init_(wnd);
    return TRUE;
  }

  static void Add(std::vector<WORD>& out, const std::wstring& text) {
    out.insert(out.end(), text.begin(), text.end());
    out.push_back(0);
  }
  static void AddDword(std::vector<WORD>& out, DWORD value) {
    out.push_back(LOWORD(value));
    out.push_back(HIWORD(value));
  }

  static std::vector<WORD> Template(const std::vector<TemplateItem>& items, short cx, short cy) {
    std::vector<WORD> out;
    AddDword(out, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE | DS_SETFONT | DS_MODALFRAME);
    AddDword(out, 0);
    out.push_back(static_cast<WORD>(items.size()));
    for (short v : {short{10}, short{10}, cx, cy}) out.push_back(static_cast<WORD>(v));
    out.push_back(0);  // no menu
    out.push_back(0);  // the standard dialog class
    Add(out, L"Skinned controls");
    out.push_back(8);
    Add(out, L"MS Shell Dlg");
    for (const TemplateItem& item : items) {
      if (out.size() % 2) out.push_back(0);  // DWORD alignment
      AddDword(out, item.Style | WS_CHILD | WS_VISIBLE);
      AddDword(out, 0);
      for (short v : {item.X, item.Y, item.Cx, item.Cy}) out.push_back(static_cast<WORD>(v));
      out.push_back(item.Id);
      Add(out, item.Class);
      Add(out, item.Text);
      out.push_back(0);  // no creation data
    }
    return out;
  }

  HWND wnd_ = nullptr;
  std::function<void(HWND)> init_;
};

}  // namespace efir::test
