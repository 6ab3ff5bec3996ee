// THintWindow: a small pop-up that shows a hint text in the system's tooltip colours, for
// code that places its own hints (a caption button's hint, say) rather than the hints that
// follow the mouse over controls.
//
//   auto hint = std::make_unique<THintWindow>(nullptr);
//   RECT r = hint->CalcHintRect(800, text);          // the size the text needs, at (0, 0)
//   OffsetRect(&r, cursor.x + 8, cursor.y + 16);
//   hint->ActivateHint(r, text);                     // shown on top, never activated
//   ...
//   hint.reset();                                    // freeing it takes it off the screen
//
// The window lets the mouse through to what lies below (it never takes a click).
#pragma once

#include "framework/controls.h"

class THintWindow : public TCustomControl {
 public:
  explicit THintWindow(TComponent* AOwner);

  // The rectangle at (0, 0) that shows `hint`, wrapped at `maxWidth` pixels of text.
  RECT CalcHintRect(int maxWidth, const std::string& hint);
  // Shows `hint` in `rect` (screen coordinates) above every other window.
  void ActivateHint(const RECT& rect, const std::string& hint);
  void WndProc(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Paint() override;
};
