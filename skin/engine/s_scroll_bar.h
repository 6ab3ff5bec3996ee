// The skinned stand-alone scroll bar (the player's station list has one). With an active
// skin it is no system scroll bar at all: its window is a plain one that keeps the scroll
// values the framework sets (SBM_SETSCROLLINFO) and paints the arrows, the two halves of the
// track and the thumb from the skin ("SCROLLBTNTOP" ... "SCROLLBAR1V" ... "SCROLLSLIDERV"),
// each normal, hot or pressed. It runs its own press, repeat and drag, and reports every
// step with the scroll messages a system bar sends, so Position, OnScroll and OnChange work
// unchanged: OnScroll only for the user's scrolling, never for Position set in code. Without
// a skin it is the framework's scroll bar. The window changes kind when the skin comes or
// goes.
//
//   auto* bar = efir::Place(new TsScrollBar(form), form, 478, 98, 17, 250);
//   bar->SetKind(sbVertical);
//   bar->OnScroll = [](TObject*, TScrollCode code, int& pos) { ... };
//
// A press: an arrow scrolls by one at once, after 500 ms again and then every 50 ms; the
// track pages towards the cursor until the thumb reaches it; the thumb follows the mouse
// (SB_THUMBTRACK for every new position, SB_THUMBPOSITION at the release). Every press ends
// with SB_ENDSCROLL; no hints show while it lasts.
#pragma once

#include <memory>

#include "framework/stdctrls.h"
#include "framework/timer.h"
#include "skin/engine/skinned_control.h"

class TsScrollBar : public TsSkinnedControl<TScrollBar> {
 public:
  // The parts, as their states are kept.
  enum TPart { spArrow1, spArrow2, spTrack1, spTrack2, spThumb, spNone };

  explicit TsScrollBar(TComponent* AOwner);
  ~TsScrollBar() override;

  // The skin paints the tracks of the kind's own section.
  void SetKind(TScrollBarKind value);

  // 0 normal, 1 hot, 2 pressed.
  int PartState(TPart part) const { return states_[part]; }
  // Where the part lies in the bar's client area.
  RECT PartRect(TPart part);
  TPart PartAt(POINT p);
  // The position the thumb shows.
  int ThumbPos() const { return thumbPos_; }
  // The window is the plain one of the skinned bar (not the system's).
  bool PlainWindow() const { return plain_; }

  void PrepareCache() override;
  void WndProc(TMessage& Message) override;

 protected:
  void CreateParams(TCreateParams& Params) override;
  bool SkinnedMessage(TMessage& Message) override;
  void SkinChanged(WORD subCommand) override;

 private:
  struct Geometry {
    int Length = 0;       // along the bar
    int Arrow = 0;        // the arrow buttons' size along it
    int ThumbLength = 0;
    int ThumbCenter = 0;
  };
  Geometry Measure();
  bool Vertical() const { return Kind() == sbVertical; }
  // A rectangle given along the bar (from, to) across its whole width.
  RECT Span(int from, int to) const;
  int Along(POINT p) const { return Vertical() ? p.y : p.x; }
  // The position the thumb's centre would have at p.
  int PositionFromPoint(POINT p);
  int LastThumbPos() const;
  POINT CursorInClient();

  // Scroll values from the framework.
  void SetScrollValues(const SCROLLINFO& info, bool redraw);
  void TakeRangeIntoFramework();
  void GetScrollValues(SCROLLINFO& info) const;

  void SetPartState(TPart part, int state);
  void SetThumbPos(int pos);
  void ScrollBy(int delta) { SetThumbPos(thumbPos_ + delta); }
  int Page() const { return std::max(sbPage_, 1); }
  void RepaintIfPending();

  void ButtonDown(POINT p);
  void MouseMoved(POINT p);
  void ButtonUp(POINT p);
  void StartRepeat(void (TsScrollBar::*step)());
  void StopRepeat();
  void ArrowRepeat();
  void TrackRepeat();
  void RestoreHints();

  void PaintPart(const char* section, TPart part, const RECT& rect, CacheSourceInfo& behind, int state);
  void PaintGlyph(const char* section, const RECT& rect, int state);
  // Where an arrow's background is painted: its button, or more where the skin's arrow is larger.
  RECT ArrowPaintRect(TPart part, const char* section);

  bool plain_ = false;
  bool takingRange_ = false;  // the framework's own values come back to the window
  int states_[5] = {0, 0, 0, 0, 0};
  int sbMin_ = 0, sbMax_ = -1, sbPage_ = 0, sbPos_ = 0, sbTrackPos_ = 0;
  int thumbPos_ = 0;
  bool forceTrack_ = false;
  int lastCode_ = SB_ENDSCROLL;
  bool redrawPending_ = false;
  int dragOffset_ = 0;
  bool pressing_ = false;
  bool hintsHeld_ = false;
  bool savedShowHint_ = true;
  std::unique_ptr<TTimer> repeat_;
};
