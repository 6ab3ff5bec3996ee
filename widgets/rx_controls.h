// The small widgets the player's main window places, for the windows that include them
// together: label with shadow, spin button, clock with alarm and tray icon.
#pragma once

#include "widgets/rx_clock.h"
#include "widgets/rx_label.h"
#include "widgets/rx_spin_button.h"
#include "widgets/rx_tray_icon.h"
