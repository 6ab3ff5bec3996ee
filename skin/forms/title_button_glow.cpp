#include "skin/forms/title_button_glow.h"

#include <algorithm>
#include <string>
#include <vector>

#include "framework/bitmap.h"
#include "framework/gdi.h"
#include "framework/timer.h"
#include "skin/engine/alpha_blend.h"
#include "skin/engine/common_data.h"
#include "skin/engine/engine_routines.h"
#include "skin/engine/fast_pixels.h"
#include "skin/engine/glow.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_painters.h"

TitleGlowSeamData GlowSeam;

namespace {

constexpr wchar_t kGlowClass[] = L"TacSBAnimationGlow";

// Every animation alive, so that a step driver and a re-entrant owner can tell whether one
// still exists.
std::vector<TacSBAnimation*>& Animations() {
  static std::vector<TacSBAnimation*> list;
  return list;
}

bool Alive(const TacSBAnimation* animation) {
  const auto& list = Animations();
  return std::find(list.begin(), list.end(), animation) != list.end();
}


SIZE MaskSize(const TsMaskData& mask) {
  if (mask.Image) return {mask.Image->Width(), mask.Image->Height()};
  return {mask.R.right - mask.R.left, mask.R.bottom - mask.R.top};
}

void MakeOpaque(TBitmap& bitmap) {
  GdiFlush();
  for (int y = 0; y < bitmap.Height(); ++y) {
    auto* row = static_cast<uint8_t*>(bitmap.ScanLine(y));
    for (int x = 0; x < bitmap.Width(); ++x) row[x * 4 + 3] = 255;
  }
}

bool IsSystemButton(int hitCode) { return hitCode == HTCLOSE || hitCode == HTMAXBUTTON || hitCode == HTMINBUTTON; }

}  // namespace

void GlowTimerDeleter::operator()(TacSBAnimation* animation) const { delete animation; }

TacSBAnimation::TacSBAnimation(TitleButtonData& button, const TitleGlowSource& source)
    : Button(&button), Source(source) {
  Animations().push_back(this);
}

TacSBAnimation::~TacSBAnimation() {
  auto& list = Animations();
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  timer_.reset();
  FreeWindowAndFrame();
}

TsSkinManager* TacSBAnimation::Manager() const { return Source.SkinData ? Source.SkinData->SkinManager() : nullptr; }

void TacSBAnimation::SetRunning(bool on) {
  running_ = on;
  if (GlowSeam.ManualSteps) {
    timer_.reset();
    return;
  }
  if (!timer_) {
    timer_ = std::make_unique<TTimer>(nullptr);
    timer_->SetEnabled(false);
    timer_->SetInterval(kInterval);
    timer_->OnTimer = [this](TObject*) { TimerTick(); };
  }
  timer_->SetEnabled(on);
}

int TacSBAnimation::AlphaStep() const { return MaxSteps == 0 ? 255 : std::max(255 / MaxSteps, 0); }

int TacSBAnimation::GlowMaskIndex() const {
  TsSkinManager* manager = Manager();
  if (!MaskIndexValid(manager, Button->ImageIndex)) return -1;
  const std::string name = manager->Masks[static_cast<size_t>(Button->ImageIndex)].PropertyName + "GLOW0";
  return MaskIndexExact(manager, "GLOBALINFO", name);
}

int TacSBAnimation::GlowMargin() const {
  TsSkinManager* manager = Manager();
  if (!manager || !manager->AllowGlowing() || TargetState != 1) return 0;
  const TsSkinData& skin = manager->LoadedSkin;
  switch (Button->HitCode) {
    case HTCLOSE: return skin.BICloseGlowMargin;
    case HTMAXBUTTON: return skin.BIMaxGlowMargin;
    case HTMINBUTTON: return skin.BIMinGlowMargin;
    default: return 0;
  }
}

RECT TacSBAnimation::OwnerScreenRect() const {
  RECT r{};
  GetWindowRect(Source.BorderWnd ? Source.BorderWnd : Source.Wnd, &r);
  return r;
}

RECT TacSBAnimation::GlowRect() const {
  const RECT owner = OwnerScreenRect();
  const RECT& b = Button->Rect;
  RECT r{owner.left + b.left, owner.top + b.top, 0, 0};
  int margin = GlowMargin();
  const int glow = margin != 0 ? GlowMaskIndex() : -1;
  if (glow >= 0) {
    const SIZE size = MaskSize(Manager()->Masks[static_cast<size_t>(glow)]);
    r.left -= margin;
    r.top -= margin;
    r.right = r.left + size.cx;
    r.bottom = r.top + size.cy;
  } else {
    margin = 0;
    r.right = r.left + std::max<LONG>(b.right - b.left, 0);
    r.bottom = r.top + std::max<LONG>(b.bottom - b.top, 0);
  }
  return r;
}

void TacSBAnimation::PrepareImage() {
  if (TargetState == 0 && Frame) return;
  TsSkinManager* manager = Manager();
  const RECT r = GlowRect();
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (!Frame) Frame = NewBitmap32(std::max(w, 0), std::max(h, 0));
  if (!manager || Frame->Width() <= 0 || Frame->Height() <= 0) return;
  const int glow = manager->AllowGlowing() && TargetState == 1 && IsSystemButton(Button->HitCode) ? GlowMaskIndex() : -1;
  if (glow >= 0) {
    // The glow picture replaces the button's own while it is hot.
    for (int y = 0; y < Frame->Height(); ++y) FillPixels32(static_cast<uint8_t*>(Frame->ScanLine(y)), Frame->Width(), 0);
    PaintSkinSlices(Frame.get(), {0, 0, Frame->Width(), Frame->Height()}, true, EmptyCacheSourceInfo,
                    manager->Masks[static_cast<size_t>(glow)], 0, false, manager);
    return;
  }
  HDC dc = Frame->Canvas().Handle();
  const RECT& b = Button->Rect;
  const bool copied = Source.CopyBackground && Source.CopyBackground(dc, b);
  TBitmap* image = Source.SkinData ? Source.SkinData->CacheBitmap.get() : nullptr;
  if (!copied && image) BitBlt(dc, 0, 0, Frame->Width(), Frame->Height(), image->Canvas().Handle(), b.left, b.top, SRCCOPY);
  if (MaskIndexValid(manager, Button->ImageIndex)) {
    CacheSourceInfo self;
    MakeCacheSourceInfo(Frame.get(), 0, 0, self);
    PaintMaskFrame(Frame.get(), {0, 0}, Button->State, 1, manager->Masks[static_cast<size_t>(Button->ImageIndex)], self);
  }
  if (!Source.BorderWnd) MakeOpaque(*Frame);
}

void TacSBAnimation::CreateGlowWindow() {
  if (GlowWindow) return;
  RegisterClickThroughClass(kGlowClass);
  GlowWindow = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE, kGlowClass, L"", WS_POPUP, 0, 0,
                               0, 0, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

void TacSBAnimation::ShowFrame(int alpha) {
  if (!Frame) PrepareImage();
  CreateGlowWindow();
  if (GlowSeam.FrameShown) GlowSeam.FrameShown(*this, alpha);
  if (!GlowWindow || !Frame) return;
  RECT r = GlowRect();
  const int fw = Frame->Width(), fh = Frame->Height();
  if (r.right - r.left != fw) InflateRect(&r, (fw - (r.right - r.left)) / 2, (fh - (r.bottom - r.top)) / 2);
  // Just above the owner (and its border window), below whatever covers them.
  HWND below = Source.BorderWnd ? Source.BorderWnd : Source.Wnd;
  HWND above = GetWindow(below, GW_HWNDPREV);
  if (above == GlowWindow) above = GetWindow(GlowWindow, GW_HWNDPREV);
  SetWindowLongPtrW(GlowWindow, GWL_EXSTYLE,
                    GetWindowLongPtrW(GlowWindow, GWL_EXSTYLE) | WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE);
  SetWindowPos(GlowWindow, above ? above : HWND_TOP, r.left, r.top, fw, fh,
               SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_NOSENDCHANGING);
  efir::gdi::WindowDC screen;
  SIZE size{fw, fh};
  POINT origin{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(std::clamp(alpha, 0, 255)), AC_SRC_ALPHA};
  UpdateLayeredWindow(GlowWindow, screen, nullptr, &size, Frame->Canvas().Handle(), &origin, 0, &blend, ULW_ALPHA);
  ShowWindow(GlowWindow, SW_SHOWNOACTIVATE);
}

void TacSBAnimation::FreeWindowAndFrame() {
  if (GlowWindow) DestroyWindow(GlowWindow);
  GlowWindow = nullptr;
  Frame.reset();
}

void TacSBAnimation::ChangeState(int state, bool fadeIn) {
  if (state == TargetState) return;
  TargetState = state;
  if (state != 0) {
    if (state == 2) FreeWindowAndFrame();
    Step = 1;
    FadeIn = fadeIn;
    ShowFrame(std::min(AlphaStep(), 255));
    Step = 2;
  } else {
    FadeIn = false;
    --Step;
    ShowFrame(std::min(AlphaStep(), 255));
  }
  if (MaxSteps > 1) SetRunning(true);
}

void TacSBAnimation::TimerTick() {
  if (FadeIn) {
    if (Step >= MaxSteps) {
      CheckMouseLeave();
      if (!Alive(this)) return;
      if (MaxSteps != -1) {
        MaxSteps = -1;
        ShowFrame(255);
      }
      return;
    }
    ShowFrame(std::clamp(AlphaStep() * Step, 0, 255));
    ++Step;
    return;
  }
  if (Step <= 0) {
    TargetState = -1;
    SetRunning(false);
    ShowFrame(0);
    FreeWindowAndFrame();
    return;
  }
  ShowFrame(std::clamp(AlphaStep() * Step, 0, 255));
  --Step;
}

void TacSBAnimation::CheckMouseLeave() {
  POINT cursor{};
  if (!GetCursorPos(&cursor)) return;
  const RECT owner = OwnerScreenRect();
  const POINT p{cursor.x - owner.left, cursor.y - owner.top};
  if (PtInRect(&Button->Rect, p)) return;
  SetRunning(false);
  // The owner makes the button normal again, which fades this picture out.
  SendMessageW(Source.Wnd, WM_MOUSELEAVE, 0, 0);
}

void StartButtonAnimation(TitleButtonData& button, int state, int steps, const TitleGlowSource& source, bool restart) {
  if (TacSBAnimation* a = button.GlowTimer.get()) {
    if (restart) a->TargetState = state;
    a->MaxSteps = steps;
    a->FadeIn = restart;
    if (state == 2) {
      a->Step = steps;
      a->FreeWindowAndFrame();
      a->CreateGlowWindow();
      a->PrepareImage();
    }
    a->SetRunning(true);
    return;
  }
  if (!source.Wnd || !source.SkinData) return;
  button.GlowTimer.reset(new TacSBAnimation(button, source));
  button.GlowTimer->MaxSteps = steps;
  button.GlowTimer->ChangeState(state, true);
}

void StopButtonAnimations(std::initializer_list<TitleButtonData*> buttons) {
  for (TitleButtonData* button : buttons)
    if (button) button->GlowTimer.reset();
}

bool EndsButtonFades(const TMessage& message) {
  switch (message.Msg) {
    case WM_MOVE:
    case WM_DESTROY:
    case WM_NCDESTROY: return true;
    case WM_SHOWWINDOW: return message.WParam == 0;
    case WM_WINDOWPOSCHANGED: {
      const auto& pos = *reinterpret_cast<const WINDOWPOS*>(message.LParam);
      return !(pos.flags & SWP_NOMOVE) || (pos.flags & SWP_HIDEWINDOW);
    }
    default: return false;
  }
}

void StepGlowAnimations() {
  const std::vector<TacSBAnimation*> now = Animations();
  for (TacSBAnimation* a : now)
    if (Alive(a) && a->Running()) a->TimerTick();
}

int LiveGlowAnimations() { return static_cast<int>(Animations().size()); }

int RunningGlowAnimations() {
  const auto& list = Animations();
  return static_cast<int>(std::count_if(list.begin(), list.end(), [](const TacSBAnimation* a) { return a->Running(); }));
}
