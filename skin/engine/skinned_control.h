// The base of every skinned control, whatever framework control it is built on: its skin
// state (SkinData), the off-screen image it paints from, the background it asks its parent
// for, its answers to the manager's broadcasts and its fades between looks.
//
//   class TsButton : public TsSkinnedControl<TButton> {
//    public:
//     explicit TsButton(TComponent* AOwner) : TsSkinnedControl(AOwner, ckButton) {}
//     void PrepareCache() override {
//       CacheSourceInfo behind;
//       TBitmap* cache = BeginCache(behind);     // sized, with the font and the parent's background
//       ...paint the section for CurrentState() and the face into cache...
//       FinishCache();                           // the disabled look; the image is now current
//     }
//   };
//
// The one rule every path keeps: the image is rebuilt only through PrepareCache, and a state
// change that shows goes through Changed() (at once) or RepaintFaded() (through a fade when
// the skin and the control's AnimatEvents allow one). Broadcasts of a skin coming, going or
// changing are followed only when they come from the control's own manager. Without an active
// skin every message reaches the framework's control as it would without this base.
#pragma once

#include <memory>

#include "framework/messages.h"
#include "skin/engine/background_queries.h"
#include "skin/engine/common_data.h"
#include "skin/engine/common_wndproc.h"
#include "skin/engine/engine_routines.h"
#include "skin/engine/fade.h"
#include "skin/engine/paint_types.h"
#include "skin/engine/skin_broadcast.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_painters.h"

template <class Base>
class TsSkinnedControl : public Base {
 public:
  TsSkinnedControl(TComponent* AOwner, int controlKind)
      : Base(AOwner), SkinData(std::make_unique<TsCommonData>(this, true)) {
    SkinData->ControlKind = controlKind;
    SkinData->ApplySkinColors();
  }
  ~TsSkinnedControl() override { StopFade(fade_); }

  // Placed on its form by now: the section of the whole control's class, and the form hears
  // of a skinned child.
  void Loaded() override {
    Base::Loaded();
    SkinData->ApplySkinColors();
  }

  void WndProc(TMessage& Message) override {
    if (Message.Msg == SM_ALPHACMD && SkinCommand(Message)) return;
    if (Skinned() ? SkinnedMessage(Message) : UnskinnedMessage(Message)) return;
    if (SkinControlWndProc(Message, SkinData.get())) return;
    Base::WndProc(Message);
  }

  TsDisabledKind DisabledKind() const { return disabledKind_; }
  void SetDisabledKind(TsDisabledKind value) {
    if (value == disabledKind_) return;
    disabledKind_ = value;
    SkinData->InvalidateOwner();
  }
  // Which mouse transitions fade (aeGlobalDef: as the manager's AnimEffects say).
  TacAnimatEvents AnimatEvents() const { return animatEvents_; }
  void SetAnimatEvents(TacAnimatEvents value) { animatEvents_ = value; }

  // 0 normal, 1 hot, 2 pressed: the look the image shows.
  virtual int CurrentState() { return SkinData->HotState() ? 1 : 0; }
  // Rebuilds the off-screen image for the current state (skinned only).
  virtual void PrepareCache() = 0;
  // A fade between two looks is running.
  bool FadeRunning() const { return Fading(fade_); }

  std::unique_ptr<TsCommonData> SkinData;

 protected:
  bool Skinned() const { return SkinActiveFor(SkinData.get(), true); }
  // The look changed: rebuild and show it at once; a fade to an older look ends.
  void Changed() {
    StopFade(fade_);
    SkinData->BackgroundChanged = true;
    this->Invalidate();
  }
  // The look changed by the user's `event`: fade to it when allowed, else show it at once.
  // `halfSteps`: a press or release, which fades in half the frames.
  void RepaintFaded(TacAnimatEvent event, bool halfSteps) {
    RepaintWithFade(fade_, *SkinData, halfSteps, 1, FadeEventAllowed(event, animatEvents_, nullptr));
  }
  void StopFading() { StopFade(fade_); }

  // The start of every rebuild: the cache sized to the control, with its font, holding what
  // the parent shows behind it; `behind` describes that background for the painters.
  TBitmap* BeginCache(CacheSourceInfo& behind) {
    SkinData->SizeCacheBitmap();
    TBitmap* cache = SkinData->CacheBitmap.get();
    cache->Canvas().Font().Assign(this->Font());
    QueryCacheBackground(this, cache, behind);
    return cache;
  }
  // The end of every rebuild: a disabled control takes its disabled look.
  void FinishCache() {
    if (!this->Enabled()) {
      CacheSourceInfo parent;
      SkinData->ParentCacheInfo(parent);
      ApplyDisabledLook(SkinData->CacheBitmap.get(), disabledKind_, this, parent, {this->Left(), this->Top()});
    }
    SkinData->BackgroundChanged = false;
  }

  // Shows the image, from its point `from` on, on `given`, else on the window's paint DC.
  // While a fade runs, the fade owns the image and it is not rebuilt (a window's paint shows
  // nothing then); while the parent updates nothing is drawn.
  void PaintSkinned(HDC given, POINT from = {0, 0}) {
    PAINTSTRUCT ps{};
    HDC dc = given ? given : BeginPaint(this->Handle(), &ps);
    const int saved = SaveDC(dc);
    if (SkinData->IsUpdating()) {
      SkinData->SetUpdating(true);
    } else {
      if (!FadeRunning()) {
        PrepareCache();
        RestoreCorners(*SkinData, CurrentState());
        NotePartlyOutside();
      }
      BitBlt(dc, 0, 0, this->Width(), this->Height(), SkinData->CacheBitmap->Canvas().Handle(), from.x, from.y,
             SRCCOPY);
    }
    RestoreDC(dc, saved);
    if (!given) EndPaint(this->Handle(), &ps);
  }

  // While a skin change or a form's show animates, the screen must keep the old picture:
  // the control paints only into the picture the animation renders.
  static bool PaintHeldForAnimation(HDC dc) { return SkinChangeAnimating && (!dc || dc != AnimationTargetDC); }

  // Whether the control sticks out of its parent's client area, for children that ask.
  void NotePartlyOutside() {
    TWinControl* parent = this->Parent();
    if (!parent) return;
    const RECT client{0, 0, parent->ClientWidth(), parent->ClientHeight()};
    const RECT own{this->Left(), this->Top(), this->Left() + this->Width(), this->Top() + this->Height()};
    SkinData->PartlyOutside = !efir::skin::RectContainsRect(client, own);
  }

  // The skin command; true when answered here. Overrides handle their own sub-commands and
  // leave the rest to this one.
  virtual bool SkinCommand(TMessage& Message) {
    const WORD subCommand = SkinSubCommand(Message.WParam);
    switch (subCommand) {
      // Ours whether a skin shows or not: the window skinning must never adapt it.
      case SKC_ISSKINNED:
        Message.Result = 1;
        return true;
      case SKC_PREPARECACHE:
        if (Skinned()) PrepareCache();
        return false;
      case SKC_STOPANIMATION:
        StopFade(fade_);
        return true;
      case SKC_PARENTUPDATED:
        // The control waited for its parent: it paints now.
        if (Skinned() && SkinData->Updating) {
          SkinData->SetUpdating(false);
          Changed();
        }
        return true;
      case SKC_NEWSKIN:
      case SKC_REMOVESKIN:
      case SKC_REFRESH:
        // Another manager's skin is not this control's business.
        if (Message.LParam != reinterpret_cast<LPARAM>(SkinData->SkinManager())) return true;
        StopFade(fade_);
        SkinControlWndProc(Message, SkinData.get());
        SkinData->BackgroundChanged = true;
        SkinChanged(subCommand);
        if (this->HandleAllocated() && !AnimationTargetDC) this->Repaint();
        return true;
      default:
        return false;
    }
  }
  // The own manager's skin came, went or changed; the common handling is done and the
  // control repaints after this.
  virtual void SkinChanged(WORD /*subCommand*/) {}

  // A message while the skin is active; true when handled here (not passed on). Overrides
  // handle their own messages and leave the rest to this one.
  virtual bool SkinnedMessage(TMessage& Message) {
    switch (Message.Msg) {
      case WM_PAINT:
        // The fade shows its own frames: the finished image would flash in between. The
        // animation's hand-over redraws everything, so nothing is lost by validating.
        if (FadeRunning() || PaintHeldForAnimation(reinterpret_cast<HDC>(Message.WParam))) {
          if (!Message.WParam) ValidateRect(this->Handle(), nullptr);
          return true;
        }
        PaintSkinned(reinterpret_cast<HDC>(Message.WParam));
        return true;
      case WM_PRINT:
      case WM_PRINTCLIENT:
        if (PaintHeldForAnimation(reinterpret_cast<HDC>(Message.WParam))) return true;
        SkinData->SetUpdating(false);
        PaintSkinned(reinterpret_cast<HDC>(Message.WParam));
        return true;
      case WM_ERASEBKGND:
        Message.Result = 1;
        return true;
      // The system control would draw its own face for these.
      case WM_ENABLE:
      case WM_NCPAINT:
      case WM_UPDATEUISTATE:
        return true;
      case CM_MOUSEENTER:
        if (this->Enabled() && !SkinData->MouseOver) {
          SkinData->MouseOver = true;
          RepaintFaded(aeMouseEnter, false);
        }
        return false;
      case CM_MOUSELEAVE:
        if (this->Enabled()) {
          SkinData->MouseOver = false;
          RepaintFaded(aeMouseLeave, false);
        }
        return false;
      default:
        return false;
    }
  }
  // A message while no skin is active; true when handled here.
  virtual bool UnskinnedMessage(TMessage& /*Message*/) { return false; }

 private:
  std::unique_ptr<TsFadeTimer> fade_;
  TsDisabledKind disabledKind_ = dkBlended;
  TacAnimatEvents animatEvents_{aeGlobalDef};
};
