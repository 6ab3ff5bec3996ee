// The window adapter of the framework's tool bars (classes named in ThirdToolBar): the bar's
// frame bands come from the skin as with raw tool bars (TacToolBarWnd), and the buttons are
// drawn through the tool bar's custom-draw events: faces from TOOLBUTTON in the normal, hot or
// pressed look, captions in the skin's colours, images (hot images while hot or pressed) and
// the drop-down arrow. The adapter tracks the hot button itself.
//
//   auto bar = AttachAdapter<TacToolBarVCLWnd>(toolBar->Handle(), itemSkinData, manager, "", true);
//
// A window whose owner is not a TToolBar keeps its own button drawing; only the frame is
// skinned. Detaching gives the tool bar its events back.
#pragma once

#include "framework/controls.h"
#include "framework/tool_bar.h"
#include "skin/forms/toolbar_adapter.h"

class TacToolBarVCLWnd : public TacToolBarWnd {
 public:
  TacToolBarVCLWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section);
  ~TacToolBarVCLWnd() override;
  void Detach(bool frameChanged) override;
  void AdapterWndProc(TMessage& message) override;

  // The index of the button (not a separator or divider) at the client point; -1 when none.
  int ButtonAt(POINT client) const;
  // Draws the button again at once, as the bar's custom draw would.
  void RepaintButton(int index);

  TToolBar* ToolBar = nullptr;
  TToolButton* DroppedButton = nullptr;
  int HotIndex = -1;

 private:
  void DrawBar(TToolBar* bar, const RECT& rect, TCustomDrawStage stage, bool& defaultDraw);
  void DrawButton(TToolBar* bar, TToolButton* button, UINT& state, TCustomDrawStage stage, UINT& flags,
                  bool& defaultDraw);
  // The framework's own notices to the bar (reflected notifications, mouse leave), before
  // and after the bar has handled them.
  void NoticeBefore(const TMessage& message);
  void NoticeAfter(const TMessage& message);
  void ReleaseToolBar();
  bool HotTrackingAllowed() const;
};
