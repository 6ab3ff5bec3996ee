#include "skin/forms/scroll_geometry.h"

#include <algorithm>

#include "skin/engine/skin_constants.h"
#include "skin/engine/skin_data.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"

void TacScrollBar::ReadInfo(HWND wnd) {
  Info.cbSize = sizeof Info;
  Info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
  if (!GetScrollInfo(wnd, Kind, &Info)) Info.nMin = Info.nMax = Info.nPage = Info.nPos = Info.nTrackPos = 0;
}

namespace {

// The skin's own first-arrow length, or the default one.
int SkinArrowBase(const TacScrollBar& bar, const TsSkinManager* manager) {
  if (!manager) return SysScrollArrowWidth;
  const TsFixedIndexes& fixed = manager->FixedIndexes;
  const int section = bar.Horizontal() ? fixed.IdxScrollBtnLeft : fixed.IdxScrollBtnTop;
  const int mask = bar.Horizontal() ? fixed.MaskScrollBtnLeft : fixed.MaskScrollBtnTop;
  if (!SectionIndexValid(manager, section) || !manager->GeneralData[section].ReservedBoolean ||
      !MaskIndexValid(manager, mask))
    return SysScrollArrowWidth;
  const TsMaskData& m = manager->Masks[mask];
  const int own = bar.Horizontal() ? MaskStateWidth(m) : MaskStateHeight(m);
  return std::max(SysScrollArrowWidth, own);
}

}  // namespace

int ScrollBarPartSize(const TacScrollBar& bar, int which, bool useSkin, const TsSkinManager* manager) {
  if (bar.Kind != SB_HORZ && bar.Kind != SB_VERT) return 0;
  if (which != 0) {
    if (bar.Thickness >= 0) return bar.Thickness;
    return -bar.Thickness * GetSystemMetrics(bar.Horizontal() ? SM_CYHSCROLL : SM_CXVSCROLL);
  }
  if (bar.ArrowLength >= 0) return bar.ArrowLength;
  return -bar.ArrowLength * (useSkin ? SkinArrowBase(bar, manager) : SysScrollArrowWidth);
}

ThumbSpan ThumbGeometry(const TacScrollBar& bar, const RECT& barRect) {
  const SCROLLINFO& si = bar.Info;
  const int arrow = PlainArrowLength(bar);
  const int free = BarLength(bar, barRect) - 2 * arrow;
  const int range1 = si.nMax - si.nMin + 1;
  ThumbSpan thumb;
  if (si.nPage == 0)
    thumb.Size = arrow;
  else if (range1 > 0)
    thumb.Size = std::max(MulDiv(static_cast<int>(si.nPage), free, range1), bar.MinThumbSize);
  int offset = 0;
  if (range1 > 0) {
    // MulDiv answers -1 for a zero divisor (one position, one page): the clamp makes it 0.
    offset = MulDiv(si.nPos - si.nMin, free - thumb.Size, range1 - std::max(static_cast<int>(si.nPage), 1));
    offset = std::max(0, std::min(offset, free - thumb.Size));
  }
  thumb.Start = BarStart(bar, barRect) + arrow + offset;
  return thumb;
}

ScrollPart HitTestScrollPart(const TacScrollBar& bar, const RECT& barRect, POINT point) {
  const int across = bar.Horizontal() ? point.y : point.x;
  const int acrossFirst = bar.Horizontal() ? barRect.top : barRect.left;
  const int acrossEnd = bar.Horizontal() ? barRect.bottom : barRect.right;
  if (across < acrossFirst || across >= acrossEnd) return spNone;
  const int at = AlongBar(bar, point), first = BarStart(bar, barRect), end = BarEnd(bar, barRect);
  const int arrow = PlainArrowLength(bar), length = end - first;
  const int a = 2 * arrow < length ? arrow : length / 2;
  if (at >= first && at < first + a) return spFirstArrow;
  if (at >= end - a && at < end) return spSecondArrow;
  const ThumbSpan thumb = ThumbGeometry(bar, barRect);
  if (thumb.Size >= length - 2 * arrow) return spNone;
  if (at >= thumb.Start && at < thumb.Start + thumb.Size) return spThumb;
  if (at >= first + a && at < thumb.Start) return spTrackBefore;
  if (at >= thumb.Start + thumb.Size && at < end - a) return spTrackAfter;
  return spNone;
}

int DraggedThumbStart(const TacScrollBar& bar, const RECT& trackRect, int thumbSize, int along, int grabOffset) {
  const int start = std::max(along - grabOffset, BarStart(bar, trackRect));
  return std::min(start, BarEnd(bar, trackRect) - thumbSize);
}

int ThumbDragPosition(const TacScrollBar& bar, const RECT& trackRect, int thumbSize, int thumbStart) {
  const SCROLLINFO& si = bar.Info;
  const int last = std::max(si.nMax - std::max(static_cast<int>(si.nPage), 1) + 1, si.nMin);
  const int span = BarLength(bar, trackRect) - thumbSize;
  const int offset = thumbStart - BarStart(bar, trackRect);
  const int position = span > 0 ? si.nMin + MulDiv(offset, last - si.nMin, span) : si.nMin;
  return std::clamp(position, si.nMin, last);
}

namespace {

int ShownThickness(const TacScrollBar& bar) { return bar.Visible ? BarThickness(bar) : 0; }

}  // namespace

RECT HorzScrollBarRect(const RECT& window, const ScrollFrame& frame, const TacScrollBar& horz,
                       const TacScrollBar& vert) {
  RECT r = window;
  r.left += frame.LeftEdge + (frame.LeftScrollBar ? ShownThickness(vert) : 0);
  r.right -= frame.RightEdge + (frame.LeftScrollBar ? 0 : ShownThickness(vert));
  r.bottom -= frame.BottomEdge;
  r.top = r.bottom - ShownThickness(horz);
  return r;
}

RECT VertScrollBarRect(const RECT& window, const ScrollFrame& frame, const TacScrollBar& horz,
                       const TacScrollBar& vert) {
  RECT r = window;
  r.top += frame.TopEdge;
  r.bottom -= frame.BottomEdge + ShownThickness(horz);
  if (frame.LeftScrollBar) {
    r.left += frame.LeftEdge;
    r.right = r.left + ShownThickness(vert);
  } else {
    r.right -= frame.RightEdge;
    r.left = r.right - ShownThickness(vert);
  }
  return r;
}

RECT ScrollCornerRect(const RECT& window, const ScrollFrame& frame, const TacScrollBar& horz,
                      const TacScrollBar& vert) {
  const RECT h = HorzScrollBarRect(window, frame, horz, vert);
  const RECT v = VertScrollBarRect(window, frame, horz, vert);
  return {v.left, h.top, v.right, h.bottom};
}
