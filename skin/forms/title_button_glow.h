// The fading look of a title button: when a caption button of a skinned form or standard
// dialog becomes hot, pressed or normal again, a small click-through layered window over the
// button carries the change, its picture faded in or out in steps of 12 ms (alpha 25, 50 ...
// 225, then 255; back down 250, 225 ... 25, then 0). A button whose skin has a glow picture
// (GLOBALINFO "<image>GLOW0" with a glow margin) shows that glow instead of its hot picture.
//
//   TitleGlowSource source;                        // what every owner has, form or dialog:
//   source.Wnd = window;                           //   its window,
//   source.BorderWnd = borderWindow;               //   its extended-border window or nullptr
//   source.SkinData = skinData;                    //   the skin data with the frame image,
//   source.CopyBackground = [this](HDC dc, const RECT& r) { ... };   // the clean strip behind
//   StartButtonAnimation(ButtonClose, 1, 10, source, true);           // hot: fades in
//   StartButtonAnimation(ButtonClose, 0, 10, source, false);          // normal: fades out
//   StopButtonAnimations({&ButtonMin, &ButtonMax, &ButtonClose, &ButtonHelp});
//
// The animation belongs to its button record (`TitleButtonData::GlowTimer`): it goes with the
// record, and owners stop all of theirs when the window moves, hides or is destroyed, so no
// timer or glow window outlives the button it shows. While a button has an animation, the
// owner's frame image paints it in its normal state. GUI thread only.
//
// Tests see what the system does not show (layered windows are not blended everywhere):
// `GlowSeam.FrameShown` hears every alpha a glow window is pushed with, and with
// `GlowSeam.ManualSteps` no system timer runs: `StepGlowAnimations` does one 12 ms step.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <memory>

#include "framework/messages.h"
#include "skin/forms/dialog_wnd.h"

class TBitmap;
class TTimer;
class TsCommonData;
class TsSkinManager;

// What an owner lends its buttons' animations. The callbacks and pointers must stay valid as
// long as the owner's button records live (the records own the animations).
struct TitleGlowSource {
  HWND Wnd = nullptr;                   // the form or dialog window
  HWND BorderWnd = nullptr;             // its extended-border window; button rects are then its
  TsCommonData* SkinData = nullptr;     // the manager and the frame image (CacheBitmap)
  // Copies the caption's clean background behind `frameRect` (frame-image coordinates) to
  // (0, 0) of `dc`; false when it has none, and the frame image is used instead.
  std::function<bool(HDC dc, const RECT& frameRect)> CopyBackground;
};

class TacSBAnimation {
 public:
  static constexpr unsigned kInterval = 12;

  TacSBAnimation(TitleButtonData& button, const TitleGlowSource& source);
  ~TacSBAnimation();
  TacSBAnimation(const TacSBAnimation&) = delete;
  TacSBAnimation& operator=(const TacSBAnimation&) = delete;

  // Starts a fade towards `state` (0 normal, 1 hot, 2 pressed).
  void ChangeState(int state, bool fadeIn);
  // One step; the timer calls it every 12 ms while the animation runs.
  void TimerTick();
  bool Running() const { return running_; }
  void SetRunning(bool on);

  // The alpha added per step: 255 div MaxSteps (25 for 10 steps, 255 for 1), never below 0.
  int AlphaStep() const;
  // Pixels the glow picture reaches past the button on the left and top, 0 without one.
  int GlowMargin() const;
  // Where the picture goes on the screen, before centring.
  RECT GlowRect() const;
  void PrepareImage();
  void CreateGlowWindow();
  void ShowFrame(int alpha);
  void FreeWindowAndFrame();

  TitleButtonData* Button;
  TitleGlowSource Source;
  int Step = 0;
  int TargetState = 0;  // -1 after a fade-out ended
  bool FadeIn = false;
  int MaxSteps = 10;    // -1 once a fade-in has finished
  HWND GlowWindow = nullptr;
  std::unique_ptr<TBitmap> Frame;

 private:
  TsSkinManager* Manager() const;
  // The button's glow picture, or -1 when the skin has none for it.
  int GlowMaskIndex() const;
  RECT OwnerScreenRect() const;
  // Stops and tells the owner when the cursor has left a fully lit button.
  void CheckMouseLeave();

  bool running_ = false;
  std::unique_ptr<TTimer> timer_;
};

// Starts or retargets the animation of one button (Steps: 10 for hot and normal, 1 for
// pressed). Restart makes an existing animation fade in towards the new state.
void StartButtonAnimation(TitleButtonData& button, int state, int steps, const TitleGlowSource& source, bool restart);
// Frees the animations of these buttons with their windows and pictures.
void StopButtonAnimations(std::initializer_list<TitleButtonData*> buttons);
// A message after which an owner stops its fades: a fade shows where the button was on the
// screen, so it ends when the window moves, hides or goes away.
bool EndsButtonFades(const TMessage& message);

struct TitleGlowSeamData {
  std::function<void(const TacSBAnimation& animation, int alpha)> FrameShown;
  bool ManualSteps = false;
};
extern TitleGlowSeamData GlowSeam;
// One step of every running animation (tests, with ManualSteps).
void StepGlowAnimations();
// Animations alive now, and how many of them run.
int LiveGlowAnimations();
int RunningGlowAnimations();
