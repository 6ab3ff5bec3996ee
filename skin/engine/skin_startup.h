// What the skin engine does once when the program starts, before the first window exists:
// notes whether the system is of the Windows NT family, loads the default extended-border
// pictures and the program's icons, runs the start-up units (startup_units.h: OLE among
// them), and shows its version banner when the command line asks for it.
//
//   int WINAPI WinMain(...) {
//     StartSkinEngine();                   // first of all
//     ...create the forms, run...
//     StopSkinEngine();                    // frees what the start-up made, in reverse order
//   }
//
// The banner alone can be asked with any parameters and any way of showing it, for tests.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TBitmap;

// The system reports the Windows NT platform (set by StartSkinEngine).
extern bool OSIsNT;

// Shows "Skin engine v<version>" once when a parameter is "/skinver" in any case; true when
// shown.
bool ShowVersionBannerIfAsked(const std::vector<std::string>& params,
                              const std::function<void(const std::string& text)>& show);

// The built-in extended-border pictures for an active and an inactive window (32-bit PNG),
// loaded by StartSkinEngine; nullptr before it or when the build holds none.
extern std::unique_ptr<TBitmap> ShadowPngActive, ShadowPngInactive;

// Sets OSIsNT, loads the pictures and icons, starts the units, and offers the program's
// parameters to the banner (a message box).
void StartSkinEngine();
void StopSkinEngine();
