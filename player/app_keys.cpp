#include "player/app_keys.h"

#include <windows.h>

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
