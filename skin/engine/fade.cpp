#include "skin/engine/fade.h"

#include "framework/application.h"
#include "framework/gdi.h"
#include "framework/timer.h"
#include "skin/engine/alpha_blend.h"
#include "skin/engine/common_data.h"
#include "skin/engine/engine_routines.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_manager.h"

namespace {

constexpr unsigned kFrameInterval = 10;  // ms

class WindowTimerClock : public TsFadeClock {
 public:
  WindowTimerClock() : timer_(nullptr) { timer_.SetEnabled(false); }
  void Start(unsigned intervalMs, std::function<void()> tick) override {
    timer_.OnTimer = [tick = std::move(tick)](TObject*) { tick(); };
    timer_.SetInterval(intervalMs);
    timer_.SetEnabled(true);
  }
  void Stop() override { timer_.SetEnabled(false); }

 private:
  TTimer timer_;
};

TsFadeClockFactory& ClockFactory() {
  static TsFadeClockFactory factory;
  return factory;
}

std::unique_ptr<TsFadeClock> NewClock() {
  if (ClockFactory()) return ClockFactory()();
  return std::make_unique<WindowTimerClock>();
}

bool Going(const TComponent* c) { return !c || (c->ComponentState() & csDestroying) != 0; }

TWinControl* OwnerWindow(const TsCommonData& data) {
  TControl* owner = data.OwnerControl;
  return owner && owner->IsWindowed() ? static_cast<TWinControl*>(owner) : nullptr;
}

int FadingIterations(const TsCommonData& data) {
  const TsGeneralData* s = data.Section();
  return s ? s->FadingIterations : 0;
}

bool SectionFades(const TsCommonData& data) {
  const TsGeneralData* s = data.Section();
  return s && s->FadingEnabled;
}

bool CacheExists(const TsCommonData& data) {
  return data.CacheBitmap && data.CacheBitmap->Width() > 0 && data.CacheBitmap->Height() > 0;
}

void ShowOnWindow(TWinControl& control, TBitmap& frame) {
  HWND wnd = control.Handle();
  HDC dc = GetDC(wnd);
  const int saved = SaveDC(dc);
  BitBlt(dc, 0, 0, frame.Width(), frame.Height(), frame.Canvas().Handle(), 0, 0, SRCCOPY);
  RestoreDC(dc, saved);
  ReleaseDC(wnd, dc);
}

}  // namespace

void SetFadeClockFactory(TsFadeClockFactory factory) { ClockFactory() = std::move(factory); }

TsFadeTimer::TsFadeTimer(TsCommonData& data) : FadeData(&data), clock_(NewClock()) {}

TsFadeTimer::~TsFadeTimer() { clock_->Stop(); }

void TsFadeTimer::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  if (value)
    clock_->Start(kFrameInterval, [this] { Tick(); });
  else
    clock_->Stop();
}

void TsFadeTimer::Tick() {
  if (!FadeData) return;
  TControl* control = FadeData->OwnerControl;
  if (Going(control) || Application.Terminated()) {
    FadeDirection = 0;
  } else if (Step > StepCount || Step < 0) {
    // The control frees this fade here: nothing of it may be touched afterwards.
    try {
      control->Perform(SM_ALPHACMD, MakeSkinWParam(SKC_STOPANIMATION), 0);
    } catch (...) {
    }
    return;
  }
  if (FadeDirection == 1 || FadeDirection == 2) FadeStep(*this);
}

bool FadeEventAllowed(TacAnimatEvent event, TacAnimatEvents events, TsSkinManager* manager) {
  if (events.Has(event)) return true;
  if (!events.Has(aeGlobalDef)) return false;
  if (!manager) manager = TsSkinManager::DefaultManager();
  if (!manager) return false;
  static constexpr TacBtnEvent kSamePlace[] = {beMouseEnter, beMouseLeave, beMouseDown, beMouseUp, beMouseUp};
  return manager->AnimEffects.Buttons.Events.Has(kSamePlace[event]);
}

void RepaintWithFade(std::unique_ptr<TsFadeTimer>& timer, TsCommonData& skinData, bool halfSteps,
                     uint8_t direction, bool allowFade) {
  if (!SkinActiveFor(&skinData, false)) return;
  const bool fade =
      allowFade && !SkinLoading && SectionFades(skinData) && CacheExists(skinData) && !skinData.BackgroundChanged;
  skinData.BackgroundChanged = true;
  if (fade) {
    StartFade(timer, skinData, halfSteps, direction);
  } else {
    StopFade(timer);
    if (skinData.OwnerControl) skinData.OwnerControl->Repaint();
  }
  // The halo follows the mouse: shown on entering, gone on leaving and while pressed.
  skinData.UpdateGlow(halfSteps, nullptr);
}

void StartFade(std::unique_ptr<TsFadeTimer>& timer, TsCommonData& skinData, bool halfSteps, uint8_t direction) {
  if (!SectionFades(skinData)) return;
  TWinControl* control = OwnerWindow(skinData);
  if (!control) return;
  const int iterations = FadingIterations(skinData);
  if (!timer) {
    timer = std::make_unique<TsFadeTimer>(skinData);
    timer->Step = 1;
  } else {
    timer->Step = iterations;
  }
  TsFadeTimer& t = *timer;
  t.FadeData = &skinData;
  if (skinData.BackgroundChanged && !CacheExists(skinData))
    SendSkinCommandToWindow(control->Handle(), SKC_PREPARECACHE);
  t.OldImage.Assign(*skinData.CacheBitmap);
  t.StepCount = iterations;
  if (t.FadeDirection == 1) t.StepCount = t.Step;
  else if (t.FadeDirection == 2) t.StepCount = iterations - t.Step;
  if (halfSteps) t.StepCount /= 2;
  if (t.Step >= t.StepCount || t.Step <= 0) t.Step = 1;
  control->Perform(SM_ALPHACMD, MakeSkinWParam(SKC_PREPARECACHE), 0);
  t.FadeDirection = direction;
  t.SetEnabled(direction != 0);
}

void StopFade(std::unique_ptr<TsFadeTimer>& timer) {
  if (!timer) return;
  timer->SetEnabled(false);
  timer->FadeDirection = 0;
  timer.reset();
}

void FadeStep(TsFadeTimer& timer) {
  TsCommonData* data = timer.FadeData;
  TWinControl* control = data ? OwnerWindow(*data) : nullptr;
  if (!control || Going(control) || timer.StepCount == 0) return;
  if (!control->Enabled()) {
    timer.SetEnabled(false);
    timer.StepCount = 0;
    data->InvalidateOwner();
    return;
  }
  const int weight = efir::skin::ClampToByte(255 - timer.Step * 256 / timer.StepCount);
  TBitmap frame(timer.OldImage.Width(), timer.OldImage.Height(), pf24bit);
  frame.Assign(timer.OldImage);
  frame.SetPixelFormat(pf24bit);
  BlendEqualBitmaps24(&frame, data->CacheBitmap.get(), static_cast<uint8_t>(weight));
  const LRESULT painted =
      control->Perform(SM_ALPHACMD, MakeSkinWParam(SKC_PAINTTOBITMAP), reinterpret_cast<LPARAM>(&frame));
  if (painted == 0 && control->HandleAllocated()) ShowOnWindow(*control, frame);
  ++timer.Step;
}
