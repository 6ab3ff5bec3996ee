// The skinned track bar (volume, buffer and the equalizer's ten bands). The system track bar
// keeps all its logic (range, position, keys, the mouse, scrolling); with an active skin only
// its painting is the skin's: the section ("TRACKBAR" unless SkinSection is set) and its
// frame, the channel "SLIDERCHANNEL", the ticks ("TICKHORZ" / "TICKVERT", else small frames),
// the selection markers and the thumb "SLIDERMASK" ("SLIDERVMASK" upright), normal, hot or
// pressed; the hover and the press fade, and a hot bar glows where the section has a glow.
// Without a skin it is the framework's track bar.
//
//   auto* volume = efir::Place(new TsTrackBar(form), form, 162, 357, 110, 28);
//   volume->SetParams(10, 0, 100);
//   volume->OnChange = ...;        // every change, the user's and the code's
//   volume->OnUserChange = ...;    // only the user's (the keys, the mouse, the wheel)
#pragma once

#include <functional>
#include <vector>

#include "framework/stdctrls.h"
#include "skin/engine/skinned_control.h"

class TsTrackBar : public TsSkinnedControl<TTrackBar> {
 public:
  explicit TsTrackBar(TComponent* AOwner);
  ~TsTrackBar() override;

  // The dotted focus rectangle round a focused or pressed bar.
  bool ShowFocus() const { return showFocus_; }
  void SetShowFocus(bool value) { showFocus_ = value; }

  // After each move by the user, skinned or not.
  TNotifyEvent OnUserChange;
  // Paints into the image after the channel and the ticks, before the thumb.
  std::function<void(TObject* Sender, TCanvas& Canvas)> OnSkinPaint;

  // Geometry, as the system bar has it laid out (the channel in the bar's own directions).
  RECT ThumbRect();
  RECT ChannelRect();
  // Where the ticks stand along the bar (x for a horizontal bar, y for an upright one).
  std::vector<int> TickPositions();
  // 2 while the thumb is held down, 1 hot, else 0.
  int ThumbState();

  void PrepareCache() override;
  void WndProc(TMessage& Message) override;

 protected:
  virtual void PaintChannel();
  bool SkinCommand(TMessage& Message) override;
  bool SkinnedMessage(TMessage& Message) override;

 private:
  bool Vertical() const { return Orientation() == trVertical; }
  TBitmap& Cache() { return *SkinData->CacheBitmap; }
  void PaintTicks(const RECT& channel, int thumbThickness);
  void PaintTick(POINT at);
  void PaintSelectionMarkers(const RECT& channel, int thumbThickness);
  void PaintThumb();
  // The press and release on the thumb: hints wait, the look and the glow follow.
  void ButtonDown(POINT at);
  void ButtonUp(POINT at);

  bool showFocus_ = false;
  bool thumbDown_ = false;
  bool hintsHeld_ = false;
  bool savedShowHint_ = true;
  int tickLength_ = 4;
};
