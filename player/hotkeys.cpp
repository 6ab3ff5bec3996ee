#include "player/hotkeys.h"

void RegisterHotKeys() {
  // The keys and their failure messages come with the hot keys' own work.
}
