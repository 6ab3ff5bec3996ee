#include "skin/forms/base_wnd.h"

#include "framework/messages.h"
#include "skin/engine/common_data.h"
#include "skin/engine/skin_command.h"

namespace {

// A key-down reflected by an OLE container: the window would act on it twice.
constexpr UINT kReflectedKeyDown = 0x2100;

}  // namespace

bool TacBaseWnd::Skinned() const { return !Detached && SkinActiveFor(SkinData, false); }

void TacBaseWnd::AdapterWndProc(TMessage& message) {
  if (!Skinned()) {
    TacScrollWnd::AdapterWndProc(message);
    return;
  }
  const bool visible = IsWindowVisible(Wnd);
  if (message.Msg == SM_ALPHACMD) {
    const WORD command = SkinSubCommand(message.WParam);
    if (command == SKC_REFRESH && message.LParam == reinterpret_cast<LPARAM>(Manager())) {
      TacScrollWnd::AdapterWndProc(message);
      if (visible) SendMessageW(Wnd, WM_NCPAINT, 1, 0);
      return;
    }
    if (command == SKC_PREPARECACHE) RenderWindowBackgroundCache(*SkinData, Wnd, false);
    TacScrollWnd::AdapterWndProc(message);
    return;
  }
  switch (message.Msg) {
    case WM_SIZE:
      SkinData->BackgroundChanged = true;
      break;
    case WM_SETCURSOR:
      ForwardToReplacedWndProc(message);
      return;
    case kReflectedKeyDown:
      return;
  }
  TacScrollWnd::AdapterWndProc(message);
  switch (message.Msg) {
    case WM_SIZE:
    case WM_HSCROLL:
    case WM_VSCROLL:
      if (!Scrolling) RefreshScrollBars(true);
      break;
    case WM_ENABLE:
    case CM_ENABLEDCHANGED:
      SkinData->BackgroundChanged = true;  // a disabled control's picture is blended
      if (visible) SendMessageW(Wnd, WM_NCPAINT, 1, 0);
      break;
  }
}
