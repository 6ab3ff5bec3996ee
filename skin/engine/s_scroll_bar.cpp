#include "skin/engine/s_scroll_bar.h"

#include <algorithm>
#include <cmath>

#include "framework/application.h"
#include "framework/flag_scope.h"
#include "skin/engine/engine_routines.h"
#include "skin/engine/item_paint.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"

namespace {

// Asks the bar to make its window again as the kind the skin wants (posted: the request
// may come while the window is busy with a broadcast).
constexpr UINT kRecreateWindow = WM_USER + 0x5C0;
constexpr int kMinThumb = 14;
constexpr unsigned kRepeatDelay = 500, kRepeatInterval = 50;

POINT PointOf(LPARAM lParam) { return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}; }

const char* TrackSection(bool vertical, bool second) {
  if (vertical) return second ? "SCROLLBAR2V" : "SCROLLBAR1V";
  return second ? "SCROLLBAR2H" : "SCROLLBAR1H";
}

const char* ArrowSection(bool vertical, bool second) {
  if (vertical) return second ? "SCROLLBTNBOTTOM" : "SCROLLBTNTOP";
  return second ? "SCROLLBTNRIGHT" : "SCROLLBTNLEFT";
}

}  // namespace

TsScrollBar::TsScrollBar(TComponent* AOwner) : TsSkinnedControl(AOwner, ckScrollBar) {
  SkinData->SetSkinSection(TrackSection(false, false));
}

TsScrollBar::~TsScrollBar() {
  StopRepeat();
  RestoreHints();
}

void TsScrollBar::SetKind(TScrollBarKind value) {
  SkinData->SetSkinSection(TrackSection(value == sbVertical, false));
  TScrollBar::SetKind(value);
}

void TsScrollBar::CreateParams(TCreateParams& Params) {
  TScrollBar::CreateParams(Params);
  // A bar made before anything painted has not looked its section up yet, and a skin that
  // was already active sends no new-skin notice to make the window again.
  if (SkinData->SectionIndex < 0) UpdateSkinIndexes(*SkinData);
  plain_ = Skinned();
  if (!plain_) return;
  Params.SystemClass.clear();
  Params.Style &= ~static_cast<DWORD>(SBS_VERT | SBS_HORZ);
  Params.ClassStyle = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
}

void TsScrollBar::SkinChanged(WORD) {
  // Asked even when the skin does not look active yet: a skin that comes while the first
  // manager is still being set up is active by the time the request is served.
  if (HandleAllocated()) PostMessageW(Handle(), kRecreateWindow, 0, 0);
}

// ---------------------------------------------------------------- geometry

RECT TsScrollBar::Span(int from, int to) const {
  return Vertical() ? RECT{0, from, Width(), to} : RECT{from, 0, to, Height()};
}

TsScrollBar::Geometry TsScrollBar::Measure() {
  Geometry g;
  g.Length = Vertical() ? Height() : Width();
  g.Arrow = GetSystemMetrics(Vertical() ? SM_CYVSCROLL : SM_CXHSCROLL);
  const int track = g.Length - 2 * g.Arrow;
  const int values = sbMax_ - sbMin_ + 1;
  // A range not set yet has no page share.
  g.ThumbLength = sbPage_ == 0 || values <= 0
                      ? kMinThumb
                      : std::max(kMinThumb, static_cast<int>(std::lround(static_cast<double>(track) * sbPage_ / values)));
  const int steps = sbMax_ - sbMin_ - std::max(sbPage_ - 1, 0);
  if (Enabled() && steps != 0)
    g.ThumbCenter = g.Arrow + g.ThumbLength / 2 +
                    static_cast<int>(std::lround(static_cast<double>(track - g.ThumbLength) / steps * (thumbPos_ - sbMin_)));
  else
    g.ThumbCenter = g.Length / 2;
  return g;
}

RECT TsScrollBar::PartRect(TPart part) {
  const Geometry g = Measure();
  const int half = g.Length / 2;
  switch (part) {
    case spArrow1:
      return Span(0, std::min(g.Arrow, half));
    case spArrow2:
      return Span(std::max(g.Length - g.Arrow, half), g.Length);
    case spTrack1:
      return Span(0, g.ThumbCenter);
    case spTrack2:
      return Span(g.ThumbCenter, g.Length);
    case spThumb: {
      const int start = Max() == Min() ? std::min(g.Arrow, half) : g.ThumbCenter - g.ThumbLength / 2;
      return Span(start, start + g.ThumbLength);
    }
    default:
      return {};
  }
}

TsScrollBar::TPart TsScrollBar::PartAt(POINT p) {
  RECT client{0, 0, Width(), Height()};
  if (!PtInRect(&client, p)) return spNone;
  for (TPart part : {spArrow1, spArrow2, spThumb}) {
    const RECT r = PartRect(part);
    if (PtInRect(&r, p)) return part;
  }
  const RECT thumb = PartRect(spThumb);
  return Along(p) < (Vertical() ? thumb.top : thumb.left) ? spTrack1 : spTrack2;
}

int TsScrollBar::PositionFromPoint(POINT p) {
  const Geometry g = Measure();
  const int free = g.Length - 2 * g.Arrow - g.ThumbLength;
  if (!Enabled() || free == 0) return sbMin_;
  const int steps = sbMax_ - sbMin_ - std::max(sbPage_ - 1, 0);
  // Halves go to the even neighbour.
  return sbMin_ + static_cast<int>(std::nearbyint((Along(p) - g.Arrow - g.ThumbLength / 2.0) * steps / free));
}

int TsScrollBar::LastThumbPos() const { return sbMax_ - std::max(sbPage_ - 1, 0); }

POINT TsScrollBar::CursorInClient() {
  POINT p{};
  GetCursorPos(&p);
  ::ScreenToClient(Handle(), &p);
  return p;
}

// ---------------------------------------------------------------- scroll values

void TsScrollBar::SetScrollValues(const SCROLLINFO& info, bool redraw) {
  auto set = [&](int& field, int value) {
    if (field == value) return;
    field = value;
    redrawPending_ = redraw;
  };
  if (info.fMask & SIF_PAGE) set(sbPage_, static_cast<int>(info.nPage));
  if (info.fMask & SIF_POS) set(sbPos_, info.nPos);
  if (info.fMask & SIF_RANGE) {
    const bool empty = info.nMax < info.nMin;
    const int min = sbMin_, max = sbMax_;
    set(sbMin_, empty ? 0 : info.nMin);
    set(sbMax_, empty ? 0 : info.nMax);
    if ((info.fMask & SIF_POS) && (min != sbMin_ || max != sbMax_)) TakeRangeIntoFramework();
  }
  sbPage_ = std::clamp(sbPage_, 0, std::max(sbMax_ - sbMin_ + 1, 0));
  sbPos_ = std::clamp(sbPos_, sbMin_, std::max(sbMin_, LastThumbPos()));
  if (lastCode_ != SB_THUMBTRACK) thumbPos_ = sbPos_;
  RepaintIfPending();
}

// Values set on the window directly (SetScrollInfo) become the framework's too, so that its
// Position is kept in the range the bar shows.
void TsScrollBar::TakeRangeIntoFramework() {
  min_ = sbMin_;
  max_ = sbMax_;
  if (max_ < 0 || sbPage_ >= max_ || PageSize() == sbPage_) return;
  // The framework hands its page to the window again: those values are its own.
  FlagScope taking(takingRange_);
  SetPageSize(sbPage_);
}

void TsScrollBar::GetScrollValues(SCROLLINFO& info) const {
  if (info.fMask & SIF_PAGE) info.nPage = static_cast<UINT>(sbPage_);
  if (info.fMask & SIF_POS) info.nPos = sbPos_;
  if ((info.fMask & SIF_TRACKPOS) && info.cbSize >= sizeof(SCROLLINFO)) info.nTrackPos = sbTrackPos_;
  if (info.fMask & SIF_RANGE) {
    info.nMin = sbMin_;
    info.nMax = sbMax_;
  }
}

// ---------------------------------------------------------------- states and moves

void TsScrollBar::SetPartState(TPart part, int state) {
  if (states_[part] == state) return;
  states_[part] = state;
  redrawPending_ = true;
  if (state == 0) return;
  // One part is hot or held at a time; the track lights up round it.
  const bool track = part == spTrack1 || part == spTrack2;
  for (TPart other : {spArrow1, spArrow2, spThumb})
    if (other != part) states_[other] = 0;
  if (track)
    states_[part == spTrack1 ? spTrack2 : spTrack1] = 1;
  else
    states_[spTrack1] = states_[spTrack2] = 1;
}

void TsScrollBar::SetThumbPos(int pos) {
  thumbPos_ = std::clamp(pos, sbMin_, std::max(sbMin_, LastThumbPos()));
  if (lastCode_ == SB_THUMBTRACK) {
    if (thumbPos_ == sbTrackPos_ && !forceTrack_) return;
    forceTrack_ = false;
    sbTrackPos_ = thumbPos_;
  }
  const bool carriesPos = lastCode_ == SB_THUMBPOSITION || lastCode_ == SB_THUMBTRACK;
  const WPARAM wParam = MAKEWPARAM(lastCode_, carriesPos ? thumbPos_ : 0);
  // As a system bar does: to the parent, which hands it back to this control's scroll handling.
  const UINT msg = Vertical() ? WM_VSCROLL : WM_HSCROLL;
  if (HWND parent = GetParent(Handle()))
    SendMessageW(parent, msg, wParam, reinterpret_cast<LPARAM>(Handle()));
  else
    Perform(CN_BASE + msg, wParam, reinterpret_cast<LPARAM>(Handle()));
  redrawPending_ = true;
  RepaintIfPending();
}

void TsScrollBar::RepaintIfPending() {
  if (!redrawPending_ || !HandleAllocated() || !Skinned()) return;
  redrawPending_ = false;
  SkinData->BackgroundChanged = true;
  Repaint();
}

// ---------------------------------------------------------------- the mouse

void TsScrollBar::ButtonDown(POINT p) {
  if (!hintsHeld_) {
    savedShowHint_ = Application.ShowHint();
    Application.SetShowHint(false);
    hintsHeld_ = true;
  }
  dragOffset_ = 0;
  if (CanFocus()) SetFocus();
  pressing_ = true;
  SetCapture(Handle());
  switch (const TPart part = PartAt(p)) {
    case spArrow1:
    case spArrow2:
      lastCode_ = part == spArrow1 ? SB_LINEUP : SB_LINEDOWN;
      SetPartState(part, 2);
      ScrollBy(part == spArrow1 ? -1 : 1);
      StartRepeat(&TsScrollBar::ArrowRepeat);
      break;
    case spThumb:
      lastCode_ = SB_THUMBTRACK;
      if (states_[spThumb] == 2) break;
      dragOffset_ = PositionFromPoint(p) - thumbPos_;
      SetPartState(spThumb, 2);
      forceTrack_ = true;
      ScrollBy(0);
      break;
    case spTrack1:
    case spTrack2: {
      const bool before = part == spTrack1;
      lastCode_ = before ? SB_PAGEUP : SB_PAGEDOWN;
      if (states_[part] == 2) break;
      SetPartState(part, 2);
      states_[before ? spTrack2 : spTrack1] = SkinData->HotState() ? 1 : 0;
      ScrollBy(before ? -Page() : Page());
      StartRepeat(&TsScrollBar::TrackRepeat);
      break;
    }
    default:
      break;
  }
  RepaintIfPending();
}

void TsScrollBar::MouseMoved(POINT p) {
  if (states_[spThumb] == 2) {
    const int pos = PositionFromPoint(p) - dragOffset_;
    if (pos != thumbPos_) SetThumbPos(pos);
    return;
  }
  const TPart part = PartAt(p);
  if (part == spThumb) {
    SetPartState(spThumb, 1);
  } else if ((part == spArrow1 || part == spArrow2) && states_[part] != 2) {
    SetPartState(part, 1);
  } else if (part != spArrow1 && part != spArrow2) {
    for (TPart other : {spArrow1, spArrow2, spThumb})
      if (states_[other] == 1) SetPartState(other, 0);
  }
  RepaintIfPending();
}

void TsScrollBar::ButtonUp(POINT p) {
  StopRepeat();
  const TPart part = PartAt(p);
  const int hot = SkinData->HotState() ? 1 : 0;
  if (part == spThumb || states_[spThumb] == 2) {
    lastCode_ = SB_THUMBPOSITION;
    states_[spTrack1] = states_[spTrack2] = hot;
    if (states_[spThumb] == 2) {
      ScrollBy(0);
      SetPartState(spThumb, part == spThumb ? 1 : 0);
    }
  } else {
    // What was held is up again, hot only under the mouse.
    for (TPart held : {spArrow1, spArrow2})
      if (states_[held] == 2) SetPartState(held, held == part ? 1 : 0);
    for (TPart held : {spTrack1, spTrack2})
      if (states_[held] == 2) states_[held] = hot, redrawPending_ = true;
  }
  RepaintIfPending();
  pressing_ = false;
  if (GetCapture() == Handle()) ReleaseCapture();
}

void TsScrollBar::StartRepeat(void (TsScrollBar::*step)()) {
  repeat_ = std::make_unique<TTimer>(nullptr);
  repeat_->SetInterval(kRepeatDelay);
  repeat_->OnTimer = [this, step](TObject*) {
    if (repeat_->Interval() != kRepeatInterval) repeat_->SetInterval(kRepeatInterval);
    (this->*step)();
  };
}

void TsScrollBar::StopRepeat() {
  // The timer may be the caller: it goes once its tick has returned.
  if (repeat_) repeat_->SetEnabled(false);
}

void TsScrollBar::ArrowRepeat() {
  if (states_[spArrow1] == 2)
    ScrollBy(-1);
  else if (states_[spArrow2] == 2)
    ScrollBy(1);
  else
    StopRepeat();
}

void TsScrollBar::TrackRepeat() {
  const int under = PositionFromPoint(CursorInClient());
  if (states_[spTrack1] == 2 && under < thumbPos_)
    ScrollBy(-Page());
  else if (states_[spTrack2] == 2 && under > thumbPos_)
    ScrollBy(Page());
  else
    StopRepeat();
}

void TsScrollBar::RestoreHints() {
  if (!hintsHeld_) return;
  Application.SetShowHint(savedShowHint_);
  hintsHeld_ = false;
}

// ---------------------------------------------------------------- painting

void TsScrollBar::PaintPart(const char* section, TPart part, const RECT& rect, CacheSourceInfo& behind, int state) {
  TsSkinManager* manager = SkinData->SkinManager();
  const int index = SectionIndexByName(manager, section);
  if (!SectionIndexValid(manager, index) || rect.right <= rect.left || rect.bottom <= rect.top) return;
  const int mask = MaskIndexByName(manager, index, section, "BORDERSMASK");
  const int texture = TextureIndex(manager, index, section, "PATTERN");
  const int hotTexture = TextureIndex(manager, index, section, "HOTPATTERN");
  RenderSectionItemWithMask(index, mask, texture, hotTexture, section, behind, true, state, rect, {rect.left, rect.top},
                            SkinData->CacheBitmap.get(), manager);
  if (part == spArrow1 || part == spArrow2 || part == spThumb) PaintGlyph(section, PartRect(part), state);
}

// A skin may draw arrows larger than the system's (RESERVEDBOOLEAN with a frame): the
// background then takes one state of the frame along the bar, the glyph keeps the button's middle.
RECT TsScrollBar::ArrowPaintRect(TPart part, const char* section) {
  const RECT button = PartRect(part);
  TsSkinManager* manager = SkinData->SkinManager();
  const int index = SectionIndexByName(manager, section);
  if (!SectionIndexValid(manager, index) || !manager->GeneralData[static_cast<size_t>(index)].ReservedBoolean)
    return button;
  const int mask = MaskIndexByName(manager, index, section, "BORDERSMASK");
  if (!MaskIndexValid(manager, mask)) return button;
  const SIZE cell = GlyphCellSize(manager, mask);
  const int length = Vertical() ? Height() : Width();
  const int size = std::max(Measure().Arrow, Vertical() ? static_cast<int>(cell.cy) : static_cast<int>(cell.cx));
  return part == spArrow1 ? Span(0, size) : Span(length - size, length);
}

void TsScrollBar::PaintGlyph(const char* section, const RECT& rect, int state) {
  TsSkinManager* manager = SkinData->SkinManager();
  const int index = SectionIndexByName(manager, section);
  const int glyph = MaskIndexByName(manager, index, section, "GLYPHMASK");
  if (!MaskIndexValid(manager, glyph)) return;
  const SIZE cell = GlyphCellSize(manager, glyph);
  const POINT at{rect.left + (rect.right - rect.left - cell.cx) / 2, rect.top + (rect.bottom - rect.top - cell.cy) / 2};
  if (at.x < 0 || at.y < 0) return;
  CacheSourceInfo self;
  MakeCacheSourceInfo(SkinData->CacheBitmap.get(), 0, 0, self);
  PaintMaskFrame(SkinData->CacheBitmap.get(), at, state, 1, manager->Masks[static_cast<size_t>(glyph)], self);
}

void TsScrollBar::PrepareCache() {
  CacheSourceInfo behind;
  BeginCache(behind);
  redrawPending_ = false;
  const bool enabled = Enabled();
  const bool vertical = Vertical();
  const int hot = SkinData->HotState() ? 1 : 0;
  // A track at rest shows the bar's own hot state; a disabled bar shows every part at rest.
  auto stateOf = [&](TPart part) {
    if (!enabled) return 0;
    if (states_[part] != 0) return states_[part];
    return part == spTrack1 || part == spTrack2 ? hot : 0;
  };
  PaintPart(TrackSection(vertical, false), spTrack1, PartRect(spTrack1), behind, stateOf(spTrack1));
  PaintPart(TrackSection(vertical, true), spTrack2, PartRect(spTrack2), behind, stateOf(spTrack2));
  // The arrows and the thumb lie over the tracks.
  TBitmap tracks;
  tracks.Assign(*SkinData->CacheBitmap);
  CacheSourceInfo under;
  MakeCacheSourceInfo(&tracks, 0, 0, under);
  for (TPart arrow : {spArrow1, spArrow2}) {
    const char* section = ArrowSection(vertical, arrow == spArrow2);
    PaintPart(section, arrow, ArrowPaintRect(arrow, section), under, stateOf(arrow));
  }
  const Geometry g = Measure();
  if (g.ThumbLength <= g.Length - 2 * g.Arrow)
    PaintPart(vertical ? "SCROLLSLIDERV" : "SCROLLSLIDERH", spThumb, PartRect(spThumb), under, stateOf(spThumb));
  FinishCache();
}

// ---------------------------------------------------------------- messages

bool TsScrollBar::SkinnedMessage(TMessage& Message) {
  // The system's bar until the window is made again: it paints and scrolls itself.
  if (!plain_) return false;
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (Enabled()) ButtonDown(PointOf(Message.LParam));
      return false;
    case WM_MOUSEMOVE:
      if (Enabled()) MouseMoved(PointOf(Message.LParam));
      return false;
    case WM_LBUTTONUP:
      if (!pressing_) return false;
      ButtonUp(PointOf(Message.LParam));
      // The framework's mouse-up events come before the end of the scroll.
      if (!SkinControlWndProc(Message, SkinData.get())) TScrollBar::WndProc(Message);
      lastCode_ = SB_ENDSCROLL;
      ScrollBy(0);
      RestoreHints();
      return true;
    // Another window took the mouse in the middle of a press: it ends as a release.
    case WM_CAPTURECHANGED:
      if (pressing_ && reinterpret_cast<HWND>(Message.LParam) != Handle()) {
        ButtonUp(CursorInClient());
        lastCode_ = SB_ENDSCROLL;
        ScrollBy(0);
        RestoreHints();
      }
      return false;
    case CM_MOUSEENTER:
      SetPartState(spTrack1, 1);
      SetPartState(spTrack2, 1);
      RepaintIfPending();
      return TsSkinnedControl::SkinnedMessage(Message);
    case CM_MOUSELEAVE:
      SetPartState(spArrow1, 0);
      SetPartState(spArrow2, 0);
      if (states_[spThumb] != 2) {
        states_[spThumb] = states_[spTrack1] = states_[spTrack2] = 0;
        redrawPending_ = true;
      }
      RepaintIfPending();
      return TsSkinnedControl::SkinnedMessage(Message);
    case CM_ENABLEDCHANGED:
      Changed();
      return false;
    default:
      return TsSkinnedControl::SkinnedMessage(Message);
  }
}

void TsScrollBar::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case kRecreateWindow:
      if (SkinData->SectionIndex < 0) UpdateSkinIndexes(*SkinData);
      if (plain_ != Skinned()) RecreateWnd();
      return;
    case SBM_SETSCROLLINFO:
      if (!plain_) break;
      if (takingRange_) {
        Message.Result = sbPos_;
        return;
      }
      SetScrollValues(*reinterpret_cast<SCROLLINFO*>(Message.LParam), Message.WParam != 0);
      Message.Result = sbPos_;
      return;
    case SBM_GETSCROLLINFO:
      if (!plain_) break;
      GetScrollValues(*reinterpret_cast<SCROLLINFO*>(Message.LParam));
      Message.Result = TRUE;
      return;
    default:
      break;
  }
  TsSkinnedControl::WndProc(Message);
}
