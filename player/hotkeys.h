// The global hot keys: Ctrl+Shift with ten function keys drive the player from any program.
// They are registered on the main window at start-up when the `hotkeys` setting is on, and
// released when the main window closes; each press reaches TForm1::WMHotKey as WM_HOTKEY
// with the key's number, which runs its command. The menus run some of the same commands.
//
//   RegisterHotKeys();                   // a key another program holds is reported, not fatal
//   RunHotKeyCommand(hkCopyTitle);       // what Ctrl+Shift+F1 does
#pragma once

#include <windows.h>

// The hot keys' numbers (the WM_HOTKEY identifiers); hkStationOffline has no key of its own
// and is run by a menu item.
enum THotKey : WPARAM {
  hkPlay = 1,          // F10
  hkRecord,            // F11
  hkStop,              // F12
  hkVolumeDown,        // F8
  hkVolumeUp,          // F9
  hkTray,              // F5: to the tray and back
  hkCopyTitle,         // F1
  hkShareTitle,        // F2
  hkNothing,           // F3
  hkRandomStation,     // F4
  hkStationOffline,
};

// Registers the ten keys with Ctrl+Shift on the main window; each key that cannot be had
// (another program holds it) is reported in a message, and the others are still tried.
void RegisterHotKeys();
// Runs the command of the hot key `id`; an unknown id does nothing.
void RunHotKeyCommand(WPARAM id);
// A station to play at random: any station of the folder other than `Current`, or `Current`
// when it is the only one; 0 when the folder holds none.
int RandomStationNumber(int Current);
