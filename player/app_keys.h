// The application-wide volume keys: Up and numpad + raise the volume, Down and numpad -
// lower it, by 10 with Shift held, else by 1. Every window of the program, edits included,
// gives these keys up to the volume.
#pragma once

#include <windows.h>

#include <optional>

// The volume step for a key press, or nothing when the key is not a volume key.
std::optional<int> VolumeKeyStep(unsigned virtualKey, bool shiftDown);

// The volume step for a message of the application's queue, or nothing when it is no volume
// key press. A press reaches the active window as a system key when no window has the focus
// (a focused button was disabled): without Alt held it is a volume key all the same. While a
// drop-down list is open under the focus, the arrows are the list's.
std::optional<int> VolumeKeyStep(const MSG& message);
