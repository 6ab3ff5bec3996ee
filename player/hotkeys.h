// The global hot keys (Ctrl+Shift with F1..F12), registered at start-up when enabled and
// released when the main window closes.
#pragma once

// Registers hot keys 1..10 on the main window (with the hot keys' own work).
void RegisterHotKeys();
