#include "skin/forms/scroll_wnd.h"

#include "skin/engine/common_data.h"

void TacScrollBar::ReadInfo() {
  Info = {};
  Info.cbSize = sizeof Info;
  Info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
  if (Owner && !GetScrollInfo(Owner->Wnd, Kind, &Info)) Info.nMin = Info.nMax = Info.nPage = Info.nPos = 0;
}

TacScrollWnd::TacScrollWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section)
    : TacMainWnd(wnd, skinData, manager, section) {}

void TacScrollWnd::Attach(bool repaintFrame) {
  const LONG_PTR style = GetWindowLongPtrW(Wnd, GWL_STYLE);
  for (int kind : {SB_HORZ, SB_VERT}) {
    auto bar = std::make_unique<TacScrollBar>();
    bar->Owner = this;
    bar->Kind = static_cast<uint16_t>(kind);
    bar->Flags = (style & (kind == SB_HORZ ? WS_HSCROLL : WS_VSCROLL)) ? 8 : 0;
    bar->ReadInfo();
    (kind == SB_HORZ ? HorzBar : VertBar) = std::move(bar);
  }
  LeftScrollBar = (GetWindowLongPtrW(Wnd, GWL_EXSTYLE) & WS_EX_LEFTSCROLLBAR) != 0;
  StyleMasked = false;
  TacMainWnd::Attach(repaintFrame);
  SetMinThumbSize(Wnd, 3, DefaultMinThumbSize);
  if (repaintFrame && !Detached) RefreshWindowFrame(Wnd, true);
}

void TacScrollWnd::AdapterWndProc(TMessage& message) { TacMainWnd::AdapterWndProc(message); }

TacScrollBar* ScrollBarOfWindow(HWND wnd, int kind) {
  auto* adapter = dynamic_cast<TacScrollWnd*>(AdapterOfWindow(wnd));
  if (!adapter) return nullptr;
  return kind == SB_HORZ ? adapter->HorzBar.get() : kind == SB_VERT ? adapter->VertBar.get() : nullptr;
}

bool SetMinThumbSize(HWND wnd, int which, int size) {
  auto* adapter = dynamic_cast<TacScrollWnd*>(AdapterOfWindow(wnd));
  if (!adapter) return false;
  if ((which == 0 || which == 3) && adapter->HorzBar) adapter->HorzBar->MinThumbSize = size;
  if ((which == 1 || which == 3) && adapter->VertBar) adapter->VertBar->MinThumbSize = size;
  return true;
}

void UnhookScrollWndAdapter(bool freeIt, bool frameChanged, std::unique_ptr<TacScrollWnd>& adapter) {
  if (!adapter) return;
  if (adapter->SkinData->OwnerControl) adapter->Detach(frameChanged);
  if (freeIt) adapter.reset();
}
