#include "skin/engine/s_track_bar.h"

#include <commctrl.h>

#include <cmath>
#include <utility>

#include "framework/application.h"
#include "skin/engine/engine_routines.h"
#include "skin/engine/item_paint.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/textures.h"

namespace {

// The thumb picture is drawn for a thumb this thick; any other thickness scales it.
constexpr int kNaturalThumb = 23;

// A mirror image of the bitmap, upside down or side to side.
void Mirror(TBitmap& bitmap, bool upsideDown) {
  const int w = bitmap.Width(), h = bitmap.Height();
  HDC dc = bitmap.Canvas().Handle();
  if (upsideDown)
    StretchBlt(dc, 0, h - 1, w, -h, dc, 0, 0, w, h, SRCCOPY);
  else
    StretchBlt(dc, w - 1, 0, -w, h, dc, 0, 0, w, h, SRCCOPY);
}

int Along(const RECT& r, bool vertical) { return vertical ? r.bottom - r.top : r.right - r.left; }
int Across(const RECT& r, bool vertical) { return vertical ? r.right - r.left : r.bottom - r.top; }

POINT PointOf(LPARAM lParam) { return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}; }

// Swaps the two directions of a rectangle or a point.
RECT Turned(const RECT& r) { return {r.top, r.left, r.bottom, r.right}; }
POINT Turned(POINT p) { return {p.y, p.x}; }

}  // namespace

TsTrackBar::TsTrackBar(TComponent* AOwner) : TsSkinnedControl(AOwner, ckTrackBar) {
  SetControlStyle(ControlStyle() & ~static_cast<TControlStyle>(csOpaque));
  SetThumbLength(kNaturalThumb);
}

TsTrackBar::~TsTrackBar() {
  if (hintsHeld_) Application.SetShowHint(savedShowHint_);
}

RECT TsTrackBar::ThumbRect() {
  RECT r{};
  if (HandleAllocated()) SendMessageW(Handle(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&r));
  return r;
}

RECT TsTrackBar::ChannelRect() {
  RECT r{};
  if (!HandleAllocated()) return r;
  SendMessageW(Handle(), TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&r));
  // Some system bars give an upright channel lying down, as if the bar were horizontal.
  if (Vertical() && r.right - r.left > r.bottom - r.top) r = Turned(r);
  return r;
}

std::vector<int> TsTrackBar::TickPositions() {
  if (!HandleAllocated()) return {};
  const int count = static_cast<int>(SendMessageW(Handle(), TBM_GETNUMTICS, 0, 0));
  const RECT channel = ChannelRect();
  const bool vertical = Vertical();
  const int thumb = Along(ThumbRect(), vertical);
  const int start = vertical ? channel.top : channel.left;
  const int end = vertical ? channel.bottom : channel.right;
  std::vector<int> ticks;
  if (count <= 0) return ticks;
  // A single tick has no distance to the next one.
  if (count == 1) return {start + thumb / 2};
  if (TickStyle() == tsAuto) {
    const double step = static_cast<double>(end - start - thumb) / (count - 1);
    for (int i = 0; i < count; ++i) ticks.push_back(static_cast<int>(std::lround(i * step + start + thumb / 2)));
    return ticks;
  }
  ticks.push_back(start + thumb / 2);
  for (int i = 1; i < count - 1; ++i)
    ticks.push_back(static_cast<int>(SendMessageW(Handle(), TBM_GETTICPOS, static_cast<WPARAM>(i - 1), 0)));
  ticks.push_back(end - thumb / 2);
  return ticks;
}

int TsTrackBar::ThumbState() {
  if (thumbDown_) return 2;
  return SkinData->HotState() ? 1 : 0;
}

void TsTrackBar::PrepareCache() {
  CacheSourceInfo behind;
  TBitmap* cache = BeginCache(behind);
  const RECT client{0, 0, Width(), Height()};
  RenderControlItem(*SkinData, behind, true, SkinData->HotState() ? 1 : 0, client, {0, 0}, cache, false);
  if (showFocus_ && (Focused() || thumbDown_)) DrawDottedFocusRect(cache->Canvas(), {1, 1, Width() - 1, Height() - 1});
  PaintChannel();
  if (OnSkinPaint) OnSkinPaint(this, cache->Canvas());
  PaintThumb();
  FinishCache();
}

void TsTrackBar::PaintChannel() {
  TsSkinManager* manager = SkinData->SkinManager();
  const bool vertical = Vertical();
  const RECT thumb = ThumbRect();
  RECT r = ChannelRect();
  const int mask = MaskIndexByName(manager, SkinData->SectionIndex, SkinData->SkinSection(), "SLIDERCHANNEL");
  if (MaskIndexValid(manager, mask)) {
    const SIZE cell = GlyphCellSize(manager, mask);
    if (vertical) {
      r.left += (r.right - r.left - cell.cx + 1) / 2;
      r.right = r.left + cell.cx - 1;
    } else {
      r.top += (r.bottom - r.top - cell.cy + 1) / 2;
      r.bottom = r.top + cell.cy - 1;
    }
    CacheSourceInfo self;
    MakeCacheSourceInfo(&Cache(), 0, 0, self);
    PaintSkinSlices(&Cache(), r, true, self, manager->Masks[static_cast<size_t>(mask)],
                    SkinData->HotState() ? 1 : 0, true, manager);
  }
  const int thickness = Across(thumb, vertical);
  if (TickStyle() != tsNone) PaintTicks(ChannelRect(), thickness);
  if (SelStart() > 0 || SelEnd() > 0) PaintSelectionMarkers(ChannelRect(), thickness);
}

// Ticks are laid out as for a horizontal bar; an upright bar turns the points.
void TsTrackBar::PaintTicks(const RECT& channel, int thumbThickness) {
  const bool vertical = Vertical();
  const RECT c = vertical ? Turned(channel) : channel;
  const int d = (thumbThickness - (c.bottom - c.top)) / 2 + 2;
  const bool selection = SelStart() != 0 || SelEnd() != 0;
  const std::vector<int> ticks = TickPositions();
  for (size_t i = 0; i < ticks.size(); ++i) {
    const int index = static_cast<int>(i);
    if (selection && (index == SelStart() || index == SelEnd())) continue;
    const int x = ticks[i];
    if (TickMarks() != tmBottomRight) {
      const POINT at{x, c.top - d - tickLength_};
      PaintTick(vertical ? Turned(at) : at);
    }
    if (TickMarks() != tmTopLeft) {
      const POINT at{x, c.bottom + d};
      PaintTick(vertical ? Turned(at) : at);
    }
  }
}

void TsTrackBar::PaintTick(POINT at) {
  TsSkinManager* manager = SkinData->SkinManager();
  const bool vertical = Vertical();
  const int mask =
      MaskIndexByName(manager, SkinData->SectionIndex, SkinData->SkinSection(), vertical ? "TICKVERT" : "TICKHORZ");
  if (!MaskIndexValid(manager, mask)) {
    RECT r = vertical ? RECT{at.x, at.y, at.x + tickLength_, at.y + 2} : RECT{at.x, at.y, at.x + 2, at.y + tickLength_};
    int width = 1;
    DrawColorFrame(Cache().Canvas().Handle(), r, ColorToRGB(clBtnShadow), 0xFFFFFF, width);
    return;
  }
  const TsMaskData& m = manager->Masks[static_cast<size_t>(mask)];
  // Centred on its place: back by half a state picture.
  if (vertical)
    at.y -= (m.R.bottom - m.R.top) / ((std::max(m.MaskType, 0) + 1) * 2);
  else
    at.x -= (m.R.right - m.R.left) / (std::max(m.ImageCount, 1) * 2);
  CacheSourceInfo self;
  MakeCacheSourceInfo(&Cache(), 0, 0, self);
  PaintMaskFrame(&Cache(), at, ThumbState(), 1, m, self);
}

void TsTrackBar::PaintSelectionMarkers(const RECT& channel, int thumbThickness) {
  const int count = static_cast<int>(SendMessageW(Handle(), TBM_GETNUMTICS, 0, 0));
  if (count < 2) return;
  const bool vertical = Vertical();
  const RECT c = vertical ? Turned(channel) : channel;
  const int thumbAlong = Along(ThumbRect(), vertical);
  const double step = static_cast<double>((c.right - c.left) - thumbAlong) / (count - 1);
  const int d = (thumbThickness - (c.bottom - c.top)) / 2 + 2;
  TCanvas& canvas = Cache().Canvas();
  const TColor ink = GlobalInfoFontColor(SkinData->SkinManager());
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(ink);
  canvas.Pen().SetColor(ink);
  auto triangle = [&](int x, int y, int dx, int dy) {
    POINT points[3] = {{x, y}, {x, y + dy}, {x + dx, y + dy}};
    if (vertical)
      for (POINT& p : points) p = Turned(p);
    Polygon(canvas.Handle(), points, 3);
  };
  const int first = static_cast<int>(std::lround((SelStart() + 1) * step));
  const int last = static_cast<int>(std::lround((SelEnd() + 1) * step));
  if (TickMarks() != tmBottomRight) {
    const int y = c.top - d - tickLength_;
    triangle(first, y, -3, -3);
    triangle(last, y, 3, -3);
  }
  if (TickMarks() != tmTopLeft) {
    const int y = c.bottom + d;
    triangle(first, y, -3, 3);
    triangle(last, y, 3, 3);
  }
}

void TsTrackBar::PaintThumb() {
  TsSkinManager* manager = SkinData->SkinManager();
  const bool vertical = Vertical();
  const RECT r = ThumbRect();
  const int section = SkinData->SectionIndex;
  const std::string& name = SkinData->SkinSection();
  int mask = vertical ? MaskIndexByName(manager, section, name, "SLIDERVMASK") : -1;
  if (!MaskIndexValid(manager, mask)) mask = MaskIndexByName(manager, section, name, "SLIDERMASK");
  if (!MaskIndexValid(manager, mask)) return;
  const TsMaskData& m = manager->Masks[static_cast<size_t>(mask)];
  const int mw = MaskStateWidth(m), mh = MaskStateHeight(m);
  const int w = r.right - r.left, h = r.bottom - r.top;
  // Too small to be resampled or to show anything of the picture.
  if (w < 2 || h < 2 || mw < 1 || mh < 1) return;
  const bool scaled = Across(r, vertical) != kNaturalThumb && !(w == mw && h == mh);
  const bool mirrored = TickMarks() == tmTopLeft;
  const int state = ThumbState();
  if (!scaled && !mirrored) {
    CacheSourceInfo self;
    MakeCacheSourceInfo(&Cache(), 0, 0, self);
    PaintMaskFrame(&Cache(), {r.left + (w - mw) / 2, r.top + (h - mh) / 2}, state, 1, m, self);
    return;
  }
  // The thumb is drawn at the picture's own size and brought back to the thumb's.
  TBitmap under(w, h, pf24bit);
  BitBlt(under.Canvas().Handle(), 0, 0, w, h, Cache().Canvas().Handle(), r.left, r.top, SRCCOPY);
  TBitmap work(mw, mh, pf24bit);
  ResampleBitmap(&under, &work, mw, mh, 6);
  if (mirrored) Mirror(work, !vertical);
  CacheSourceInfo self;
  MakeCacheSourceInfo(&work, 0, 0, self);
  PaintMaskFrame(&work, {0, 0}, state, 1, m, self);
  if (mirrored) Mirror(work, !vertical);
  TBitmap back(w, h, pf24bit);
  ResampleBitmap(&work, &back, w, h, 6);
  BitBlt(Cache().Canvas().Handle(), r.left, r.top, w, h, back.Canvas().Handle(), 0, 0, SRCCOPY);
}

void TsTrackBar::ButtonDown(POINT at) {
  if (!hintsHeld_) {
    savedShowHint_ = Application.ShowHint();
    Application.SetShowHint(false);
    hintsHeld_ = true;
  }
  const RECT thumb = ThumbRect();
  if (!PtInRect(&thumb, at)) {
    StopFading();
    return;
  }
  thumbDown_ = true;
  SkinData->BackgroundChanged = false;
  RepaintFaded(aeMouseDown, true);
}

void TsTrackBar::ButtonUp(POINT at) {
  if (hintsHeld_) {
    Application.SetShowHint(savedShowHint_);
    hintsHeld_ = false;
  }
  const RECT thumb = ThumbRect();
  // A thumb let go beside itself is up again all the same.
  if (!thumbDown_ && !PtInRect(&thumb, at)) {
    StopFading();
    return;
  }
  thumbDown_ = false;
  SkinData->BackgroundChanged = false;
  RepaintFaded(aeMouseUp, true);
}

bool TsTrackBar::SkinCommand(TMessage& Message) {
  // The last blended frame is the new look only to within a step: show the image itself.
  if (SkinSubCommand(Message.WParam) == SKC_STOPANIMATION) {
    StopFading();
    if (HandleAllocated()) InvalidateRect(Handle(), nullptr, FALSE);
    return true;
  }
  return TsSkinnedControl::SkinCommand(Message);
}

bool TsTrackBar::SkinnedMessage(TMessage& Message) {
  switch (Message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      // A fade in progress shows the new look when it ends.
      if (!FadeRunning()) Changed();
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (Enabled()) ButtonDown(PointOf(Message.LParam));
      return false;
    case WM_LBUTTONUP:
      if (Enabled()) ButtonUp(PointOf(Message.LParam));
      return false;
    case CN_HSCROLL:
    case CN_VSCROLL:
      Changed();
      return false;
    // The press ended without a release here (another window took the mouse).
    case WM_CAPTURECHANGED:
      if (thumbDown_ && reinterpret_cast<HWND>(Message.LParam) != Handle()) ButtonUp({-1, -1});
      return false;
    case CM_ENABLEDCHANGED:
      thumbDown_ = false;
      Changed();
      return false;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      // While the thumb is held the look stays pressed.
      if (thumbDown_) return false;
      return TsSkinnedControl::SkinnedMessage(Message);
    default:
      return TsSkinnedControl::SkinnedMessage(Message);
  }
}

void TsTrackBar::WndProc(TMessage& Message) {
  TsSkinnedControl::WndProc(Message);
  if ((Message.Msg == CN_HSCROLL || Message.Msg == CN_VSCROLL) && OnUserChange) OnUserChange(this);
}
