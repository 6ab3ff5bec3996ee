// The small buttons inside a spin editor: the up/down pair at its right edge and the execute
// button at its left edge (number_editors.h places and wires them). Both draw in the system's
// visual style when one is active, else in the classic look, and follow the mouse (hot) and
// their editor's enabled state.
//
//   auto* pair = new TNxSpinButtonPair(editor);   // owned by the editor, child of it
//   pair->OnSpin = [](TSpinButtons b) { ... };     // at the press, then repeated while held
//   auto* button = new TNxExecuteButton(editor);
//   button->OnClick = [](TObject*) { ... };        // at the release that follows a press
//
// The spin pair's repeat: a press steps once at once; DelayTimer (400 ms) then starts
// RepeatTimer, and each of its ticks (20 ms) steps again until the release.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "framework/controls.h"
#include "framework/timer.h"

enum TSpinButton : uint8_t { sbUp = 1, sbDown = 2 };
using TSpinButtons = uint8_t;

// A button that belongs to an editor: its press focuses the editor.
class TNxSmallButton : public TCustomControl {
 public:
  explicit TNxSmallButton(TWinControl* AEditor);

  const std::wstring& Caption() const { return FCaption; }
  void SetCaption(const std::wstring& Value);
  bool Pressed() const { return FPressed; }
  bool Hot() const { return FHot; }

  TNotifyEvent OnClick;
  TNotifyEvent OnPress;

  void WndProc(TMessage& Message) override;

 protected:
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool OwnerEnabled() const;

  TWinControl* const FEditor;

 private:
  std::wstring FCaption;
  bool FPressed = false;
  bool FHot = false;
};

// The button at the left of a spin editor; its click is the editor's OnButtonClick.
class TNxExecuteButton : public TNxSmallButton {
 public:
  explicit TNxExecuteButton(TWinControl* AEditor);

 protected:
  void Paint() override;
  void EraseBackground(HDC) override {}
};

// The up/down pair. The parts are bits: sbUp for the upper half, sbDown for the lower.
class TNxSpinButtonPair : public TCustomControl {
 public:
  explicit TNxSpinButtonPair(TWinControl* AEditor);

  TSpinButtons Pressed() const { return FPressed; }
  // A part steps at once and starts the repeat; 0 ends it.
  void SetPressed(TSpinButtons Value);
  TSpinButtons Hot() const { return FHot; }
  void SetHot(TSpinButtons Value);
  // The half a point is on.
  TSpinButton PartAt(int Y) const { return Y < Height() / 2 ? sbUp : sbDown; }

  TTimer& DelayTimer() { return *FDelay; }
  TTimer& RepeatTimer() { return *FRepeat; }

  std::function<void(TSpinButtons Buttons)> OnSpin;

  void WndProc(TMessage& Message) override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void EraseBackground(HDC) override {}

 private:
  void PaintHalf(const RECT& Area, TSpinButton Part);

  TWinControl* const FEditor;
  TSpinButtons FPressed = 0;
  TSpinButtons FHot = 0;
  TTimer* FDelay;
  TTimer* FRepeat;
};
