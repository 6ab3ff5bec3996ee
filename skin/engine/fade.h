// Cross-fading a skinned control from its previous image to its new one when its state
// changes (mouse enter, leave, press, release, focus). The control keeps its running fade in
// a field of its own and hands that field to these routines:
//
//   RepaintWithFade(fade_, *SkinData, false, 1, FadeEventAllowed(aeMouseEnter, events, nullptr));
//   ...on SKC_STOPANIMATION, a skin change and in the destructor: StopFade(fade_);
//
// A fade copies the control's cache (the old image), has the control rebuild its cache in the
// new state (SKC_PREPARECACHE), and then every 10 ms shows one blend of the two: first the
// control is offered the frame (SKC_PAINTTOBITMAP), else it goes straight onto its window.
// With the section's FADINGITERATIONS N a fade shows N frames, the last the new image alone;
// the control is then sent SKC_STOPANIMATION and frees the fade. The fade belongs to its
// control: freeing the control frees the fade, and a fade whose control is going shows
// nothing more.
//
// The frames are driven by a TsFadeClock: the window timer in the programs; tests put in a
// clock they turn by hand (SetFadeClockFactory) and count the frames.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "framework/bitmap.h"
#include "skin/engine/skin_anim_effects.h"

class TsCommonData;
class TsSkinManager;

// What calls a fade's tick at its interval.
class TsFadeClock {
 public:
  virtual ~TsFadeClock() = default;
  // Calls tick every `intervalMs` until Stop; the tick may free the clock.
  virtual void Start(unsigned intervalMs, std::function<void()> tick) = 0;
  virtual void Stop() = 0;
};
using TsFadeClockFactory = std::function<std::unique_ptr<TsFadeClock>()>;
// The clock of every fade started from now on; an empty factory brings back the window timer.
void SetFadeClockFactory(TsFadeClockFactory factory);

class TsFadeTimer {
 public:
  explicit TsFadeTimer(TsCommonData& data);
  ~TsFadeTimer();
  TsFadeTimer(const TsFadeTimer&) = delete;
  TsFadeTimer& operator=(const TsFadeTimer&) = delete;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  // One tick of the clock: ends the fade when its frames are done, else shows the next one.
  void Tick();

  uint8_t FadeDirection = 0;  // 0 stopped; 1 or 2 running
  TsCommonData* FadeData;     // not owned
  int StepCount = 0;
  int Step = 1;               // 1-based
  TBitmap OldImage;

 private:
  std::unique_ptr<TsFadeClock> clock_;
  bool enabled_ = false;
};

// Whether the control fades on `event`: it is in `events`, or `events` holds aeGlobalDef and
// the manager's (nullptr: the default's) button events hold the event of the same place
// (aeGlobalDef itself: beMouseUp).
bool FadeEventAllowed(TacAnimatEvent event, TacAnimatEvents events, TsSkinManager* manager);
// The entry for a state change: fades when allowed, no skin is loading, the section fades, a
// cache exists and the background had not changed before; else stops any fade and repaints
// at once. `halfSteps` halves the frames (presses and releases).
void RepaintWithFade(std::unique_ptr<TsFadeTimer>& timer, TsCommonData& skinData, bool halfSteps,
                     uint8_t direction, bool allowFade);
void StartFade(std::unique_ptr<TsFadeTimer>& timer, TsCommonData& skinData, bool halfSteps, uint8_t direction);
void StopFade(std::unique_ptr<TsFadeTimer>& timer);
// Shows the current frame and moves to the next.
void FadeStep(TsFadeTimer& timer);
// A fade exists and its clock runs.
inline bool Fading(const std::unique_ptr<TsFadeTimer>& timer) { return timer && timer->Enabled(); }
