// Skins one speed button. A speed button has no window, so no window adapter can take it
// over: the handler puts its ButtonWndProc in the button's WindowProc and paints the whole
// button from the skin (SPEEDBUTTON, or SPEEDBUTTON_SMALL for flat buttons) into the cache of
// the skin state its creator passes, glyph and caption placed as speed_button_layout.h says.
//
//   auto handler = std::make_unique<TacSpeedButtonHandler>(button, &skinData, manager, "SPEEDBUTTON");
//   ...                      // the button paints from the skin and follows the mouse
//   handler.reset();         // the button's own WindowProc back
//
// The skin state stays its creator's; the handler only uses it. GUI thread only.
#pragma once

#include <memory>
#include <string>

#include "framework/controls.h"

class TacCtrlAdapter;
class TsCommonData;
class TsSkinManager;

class TacSpeedButtonHandler {
 public:
  TacSpeedButtonHandler(TControl* control, TsCommonData* skinData, TsSkinManager* manager, const std::string& section);
  virtual ~TacSpeedButtonHandler();
  TacSpeedButtonHandler(const TacSpeedButtonHandler&) = delete;
  TacSpeedButtonHandler& operator=(const TacSpeedButtonHandler&) = delete;

  virtual void ButtonWndProc(TMessage& message);
  // 2 down or exclusive, 1 hot, 0 otherwise.
  int ButtonState() const;
  // Rebuilds the cache: background, caption, glyph, the disabled look. False when the
  // parent's background was an empty picture (the old cache stays).
  bool PrepareCache();

  TControl* Control;
  TWndMethod SavedWindowProc;
  TsSkinManager* SkinManager;
  bool Detached = false;
  TsCommonData* SkinData;

 private:
  class ControlWatch;
  LRESULT Forward(TMessage& message);
  void Paint(HDC dc);
  bool OwnManager(const TMessage& message) const;

  // Marks the handler Detached when the control is freed first.
  std::unique_ptr<ControlWatch> watch_;
};

// A graphic control of a form skinned through the control adapter (TacCtrlAdapter::
// AddGraphicControl): its skin state and the handler that paints it.
struct TacGraphItem {
  TacGraphItem();
  ~TacGraphItem();
  // Gives the control a handler with the item's section (nothing for Tag -98).
  void HookGraphicControl(TControl* control);

  TacCtrlAdapter* Adapter = nullptr;
  TControl* Ctrl = nullptr;
  std::unique_ptr<TsCommonData> SkinData;
  std::unique_ptr<TacSpeedButtonHandler> Handler;
};
