// A form that scrolls its controls: the window's own bars cover the extent of the controls,
// and scrolling moves the controls, as the user would expect of a form larger than its window.
#include <algorithm>

#include "framework/forms.h"

namespace {

constexpr int kLineStep = 8;

// How far right and down the controls reach, measured from the unscrolled origin.
SIZE ControlsExtent(const TForm& form, POINT scrolled) {
  SIZE extent{0, 0};
  for (int i = 0; i < form.ControlCount(); ++i) {
    const TControl* control = form.Controls(i);
    if (!control->Visible()) continue;
    const RECT r = control->BoundsRect();
    extent.cx = std::max<LONG>(extent.cx, r.right + scrolled.x);
    extent.cy = std::max<LONG>(extent.cy, r.bottom + scrolled.y);
  }
  return extent;
}

// The position a scroll code asks for, kept inside the range.
int NewScrollPos(const SCROLLINFO& info, WORD code, int thumbPos) {
  const int page = static_cast<int>(info.nPage);
  int pos = info.nPos;
  switch (code) {
    case SB_LINEUP: pos -= kLineStep; break;
    case SB_LINEDOWN: pos += kLineStep; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = thumbPos; break;
    case SB_TOP: pos = info.nMin; break;
    case SB_BOTTOM: pos = info.nMax; break;
    default: return info.nPos;
  }
  return std::clamp(pos, info.nMin, std::max(info.nMin, info.nMax - std::max(page - 1, 0)));
}

}  // namespace

void TForm::SetAutoScroll(bool value) {
  if (autoScroll_ == value) return;
  autoScroll_ = value;
  if (!value && HandleAllocated()) {
    // The controls go back where the layout put them, and the bars away.
    for (int i = 0; i < ControlCount(); ++i) {
      TControl* c = Controls(i);
      c->SetBounds(c->Left() + scrollPos_.x, c->Top() + scrollPos_.y, c->Width(), c->Height());
    }
    scrollPos_ = {};
    ShowScrollBar(Handle(), SB_BOTH, FALSE);
    return;
  }
  UpdateScrollRange();
}

void TForm::UpdateScrollRange() {
  if (!autoScroll_ || !HandleAllocated()) return;
  const SIZE extent = ControlsExtent(*this, scrollPos_);
  // Two passes: a bar that appears takes room from the other direction.
  for (int pass = 0; pass < 2; ++pass) {
    RECT client;
    GetClientRect(Handle(), &client);
    for (int bar : {SB_HORZ, SB_VERT}) {
      SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS};
      info.nMin = 0;
      info.nMax = std::max<int>(0, (bar == SB_HORZ ? extent.cx : extent.cy) - 1);
      info.nPage = static_cast<UINT>(bar == SB_HORZ ? client.right : client.bottom);
      info.nPos = bar == SB_HORZ ? scrollPos_.x : scrollPos_.y;
      SetScrollInfo(Handle(), bar, &info, TRUE);
    }
  }
  // A grown client may leave the controls scrolled beyond the range: brought back in.
  for (int bar : {SB_HORZ, SB_VERT}) ScrollMessage(bar, SB_ENDSCROLL, 0);
}

void TForm::ScrollMessage(int bar, WORD code, int thumbPos) {
  SCROLLINFO info{sizeof info, SIF_ALL};
  if (!GetScrollInfo(Handle(), bar, &info)) info = {sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
  LONG& current = bar == SB_HORZ ? scrollPos_.x : scrollPos_.y;
  int pos = code == SB_ENDSCROLL ? info.nPos : NewScrollPos(info, code, thumbPos);
  if (!(GetWindowLongPtrW(Handle(), GWL_STYLE) & (bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL))) pos = 0;
  const int delta = current - pos;
  if (delta == 0) return;
  current = pos;
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (bar == SB_HORZ) c->SetBounds(c->Left() + delta, c->Top(), c->Width(), c->Height());
    else c->SetBounds(c->Left(), c->Top() + delta, c->Width(), c->Height());
  }
  SetScrollPos(Handle(), bar, pos, TRUE);
  Invalidate();
}
