// Window adapters of containers: a dialog nested in a dialog ("#32770" children such as a
// file dialog's template pane, the folder browser's pane) is made see-through, a panel window
// inside a standard dialog ("TPanel", "TSilentPaintPanel") is drawn from the skin, and so is
// a framework panel that a layout names in its list of panels to skin.
//
//   auto pane = AttachAdapter<TacTransPanelWnd>(child, nullptr, manager, "CHECKBOX", true);
//   auto panel = AttachAdapter<TacDlgPanelWnd>(wnd, nullptr, manager, "PANEL", true);
//   auto skinned = AttachAdapter<TacPanelWnd>(panel->Handle(), &panelData, manager, "", true);
//
// A pane paints the dialog's skinned background around its children; a panel gets its
// section's face with a frame 6 pixels deep, inside which it still draws its own content. A
// framework TPanel behind the window is recoloured to GLOBALINFO's colour while skinned.
#pragma once

#include <string>

#include "framework/stdctrls.h"
#include "skin/forms/window_adapter.h"

class TWinControl;

// The section a panel's bevels call for: raised or lowered frames, a plain low panel when it
// has only a border, the see-through CHECKBOX when it has neither.
std::string PanelSectionForBevels(TBevelCut outer, TBevelCut inner, bool bordered);

// A framework panel (the owner control of its skin data): its face and bevel frame from the
// section its bevels choose (unless one is named), its caption centred, its graphic controls
// over it. A panel that takes no child controls is left to the base adapter.
class TacPanelWnd : public TacMainWnd {
 public:
  TacPanelWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section);
  void AdapterWndProc(TMessage& message) override;
  // The face over the parent's background and the caption, the size of the panel.
  void PrepareCache();

 private:
  bool SkinCommand(TMessage& message);
  void PaintClientArea(HDC given);
  void PaintFrame(HDC given);
};

class TacTransPanelWnd : public TacMainWnd {
 public:
  using TacMainWnd::TacMainWnd;
  void AdapterWndProc(TMessage& message) override;
  // The parent's background under the pane, around its visible children.
  void PaintPane(HDC given);
};

class TacDlgPanelWnd : public TacMainWnd {
 public:
  // The section is CHECKBOX for a framework TPanel, GROUPBOX for any other window.
  TacDlgPanelWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section);
  void ApplySkinLook() override;
  void AdapterWndProc(TMessage& message) override;
  // The section's face over the parent's background, the size of the window.
  void PrepareCache();

  TWinControl* PanelControl = nullptr;  // the framework control of the window, if any

 private:
  // `dc` in client coordinates.
  void PaintClientArea(HDC dc);
  // `dc` in window coordinates (the window's own DC when nullptr).
  void PaintFrame(HDC dc);
  void ColourPanel(TColor color);
};
