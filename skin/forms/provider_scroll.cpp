// The skinned form's own scroll bars: an auto-scrolling form's window gets a scroll adapter
// in front of its procedure, which paints the bars and their corner from the skin.
#include <windows.h>
#include <commctrl.h>

#include "skin/engine/common_data.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/forms/scroll_paint.h"
#include "skin/forms/scroll_wnd.h"
#include "skin/forms/skin_provider.h"

namespace {

// The adapter shares the provider's skin state, and the provider answers for the form: the
// refresh, the updating question and the parent's notice reach it after the adapter's own
// step, and the removal of the skin goes to it untouched (it frees this adapter).
class TacFormScrollWnd : public TacScrollWnd {
 public:
  using TacScrollWnd::TacScrollWnd;

  // The form's picture holds the extended frame round the window when it has a border window.
  std::optional<POINT> BarBackgroundOrigin() const override {
    auto* provider = dynamic_cast<TsSkinProvider*>(SkinData->OwnerObject);
    TsSkinManager* manager = Manager();
    if (!provider || !provider->BorderForm || !manager) return POINT{0, 0};
    return POINT{provider->ExtSideMargin() + manager->ExtBorderMargins.left,
                 provider->ExtTopMargin() + manager->ExtBorderMargins.top};
  }

  void AdapterWndProc(TMessage& message) override {
    if (message.Msg != SM_ALPHACMD || Detached || !SkinActiveFor(SkinData, false))
      return TacScrollWnd::AdapterWndProc(message);
    const bool own = message.LParam == reinterpret_cast<LPARAM>(Manager());
    switch (SkinSubCommand(message.WParam)) {
      case SKC_REFRESH:
        if (own) {
          UpdateSkinIndexes(*SkinData);
          SkinData->BackgroundChanged = true;
        }
        break;
      case SKC_PARENTUPDATED:
        if (SkinData->Updating) {
          SkinData->Updating = false;
          SkinData->Updating = SkinData->IsUpdating();
          if (!SkinData->Updating)
            RedrawWindow(Wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
        }
        break;
      case SKC_ISUPDATING:
      case SKC_REMOVESKIN:
        break;
      default:
        return TacScrollWnd::AdapterWndProc(message);
    }
    // Nothing of this adapter is touched after this: the provider may have freed it.
    ForwardToReplacedWndProc(message);
  }
};

// comctl32's flat scroll bars would draw over the skinned ones; both calls are optional.
void SetFlatScrollBars(HWND wnd, bool on) {
  HMODULE comctl = GetModuleHandleW(L"comctl32.dll");
  if (!comctl) return;
  using FlatSB = BOOL(WINAPI*)(HWND);
  using UnFlatSB = HRESULT(WINAPI*)(HWND);
  if (on) {
    if (auto init = reinterpret_cast<FlatSB>(reinterpret_cast<void*>(GetProcAddress(comctl, "InitializeFlatSB"))))
      init(wnd);
  } else if (auto uninit = reinterpret_cast<UnFlatSB>(
                 reinterpret_cast<void*>(GetProcAddress(comctl, "UninitializeFlatSB")))) {
    uninit(wnd);
  }
}

}  // namespace

void TsSkinProvider::UpdateScrollAdapter() {
  if ((ComponentState() & csDestroying) || !Form || !Form->HandleAllocated() || !Form->AutoScroll()) return;
  HWND wnd = Form->Handle();
  if (SkinActiveFor(SkinData.get(), false)) {
    SetFlatScrollBars(wnd, false);
    if (ScrollWnd && ScrollWnd->Detached) ScrollWnd.reset();
    if (!ScrollWnd) ScrollWnd = AttachAdapter<TacFormScrollWnd>(wnd, SkinData.get(), Manager(), "FORM", true);
  } else {
    FreeScrollWnd();
    SetFlatScrollBars(wnd, true);
  }
}

void TsSkinProvider::FreeScrollWnd() {
  if (!ScrollWnd) return;
  // The window recomputes its frame: the system's bars take their room back.
  ScrollWnd->Detach(true);
  ScrollWnd.reset();
}

const TacScrollBar* TsSkinProvider::OwnScrollBar(int kind) const {
  if (!ScrollWnd || ScrollWnd->Detached) return nullptr;
  const TacScrollBar* bar = ScrollWnd->Bar(kind);
  return bar && bar->Visible ? bar : nullptr;
}

bool TsSkinProvider::InScrollCorner(POINT p) const {
  const TacScrollBar* horz = OwnScrollBar(SB_HORZ);
  if (!horz || !OwnScrollBar(SB_VERT)) return false;
  const RECT h = ScrollWnd->BarRect(*horz), v = ScrollWnd->BarRect(*ScrollWnd->VertBar);
  const POINT origin = FrameOrigin();
  const RECT corner{h.right - origin.x, h.top - origin.y, v.right - origin.x, h.bottom - origin.y};
  return PtInRect(&corner, p);
}

int TsSkinProvider::OwnHorzBarThickness() const {
  const TacScrollBar* horz = OwnScrollBar(SB_HORZ);
  if (!horz || !Skinned()) return 0;
  const RECT r = ScrollWnd->BarRect(*horz);
  return r.bottom - r.top;
}
