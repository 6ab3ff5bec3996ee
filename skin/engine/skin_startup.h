// What the skin engine does once when the program starts: notes whether the system is of
// the Windows NT family, and shows its version banner when the command line asks for it.
//
//   StartSkinEngine();                     // early in WinMain, before the first layout
//
// The banner alone can be asked with any parameters and any way of showing it, for tests.
#pragma once

#include <functional>
#include <string>
#include <vector>

// The system reports the Windows NT platform (set by StartSkinEngine).
extern bool OSIsNT;

// Shows "Skin engine v<version>" once when a parameter is "/skinver" in any case; true when
// shown.
bool ShowVersionBannerIfAsked(const std::vector<std::string>& params,
                              const std::function<void(const std::string& text)>& show);

// Sets OSIsNT and offers the program's parameters to the banner (a message box).
void StartSkinEngine();
