// The version check: ten seconds after start-up, when the settings ask for it, the player
// fetches the product site's version file and shows the update notice when the site offers a
// newer version than this one. The check is a courtesy: a site that cannot be reached or
// answers with anything but a version number shows nothing and reports nothing.
//
//   Form1->Timer1->SetEnabled(Settings.check_updates == 1);   // start-up; runs once
#pragma once

#include <string>

// This program's version as the version file counts them.
inline constexpr int kPlayerVersion = 85;

// Whether the version file's body names a newer version than this one. Blanks and line ends
// around the number are allowed; a body that is not a whole number names none.
bool NewerVersionOffered(const std::string& Body);
