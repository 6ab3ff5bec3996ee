// Window adapters of the containers inside standard dialogs: a dialog nested in a dialog
// ("#32770" children such as a file dialog's template pane, the folder browser's pane) is
// made see-through, and a panel window ("TPanel", "TSilentPaintPanel") is drawn from the
// skin.
//
//   auto pane = AttachAdapter<TacTransPanelWnd>(child, nullptr, manager, "CHECKBOX", true);
//   auto panel = AttachAdapter<TacDlgPanelWnd>(wnd, nullptr, manager, "PANEL", true);
//
// A pane paints the dialog's skinned background around its children; a panel gets its
// section's face with a frame 6 pixels deep, inside which it still draws its own content. A
// framework TPanel behind the window is recoloured to GLOBALINFO's colour while skinned.
#pragma once

#include "skin/forms/window_adapter.h"

class TWinControl;

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
