#include "player/app_keys.h"

#include "framework/controls.h"
#include "framework/stdctrls.h"

std::optional<int> VolumeKeyStep(unsigned virtualKey, bool shiftDown) {
  int step = shiftDown ? 10 : 1;
  switch (virtualKey) {
    case VK_UP:
    case VK_ADD:
      return step;
    case VK_DOWN:
    case VK_SUBTRACT:
      return -step;
    default:
      return std::nullopt;
  }
}

namespace {

constexpr LPARAM kAltHeld = 1 << 29;

// The focus is in a combo box (or in its edit) whose list is open.
bool DropDownListOpen(HWND focus) {
  for (HWND window : {focus, focus ? GetParent(focus) : nullptr}) {
    auto* box = dynamic_cast<TComboBox*>(window ? efir::FindControl(window) : nullptr);
    if (box) return SendMessageW(window, CB_GETDROPPEDSTATE, 0, 0) != 0;
  }
  return false;
}

}  // namespace

std::optional<int> VolumeKeyStep(const MSG& message) {
  const bool key = message.message == WM_KEYDOWN ||
                   (message.message == WM_SYSKEYDOWN && !(message.lParam & kAltHeld));
  if (!key) return std::nullopt;
  const auto virtualKey = static_cast<unsigned>(message.wParam);
  if ((virtualKey == VK_UP || virtualKey == VK_DOWN) && DropDownListOpen(GetFocus()))
    return std::nullopt;
  return VolumeKeyStep(virtualKey, GetKeyState(VK_SHIFT) < 0);
}
