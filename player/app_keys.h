// The application-wide volume keys: Up and numpad + raise the volume, Down and numpad -
// lower it, by 10 with Shift held, else by 1. Every window of the program, edits included,
// gives these keys up to the volume.
#pragma once

#include <optional>

// The volume step for a key press, or nothing when the key is not a volume key.
std::optional<int> VolumeKeyStep(unsigned virtualKey, bool shiftDown);
