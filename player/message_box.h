// The player's short messages to the user: a modal box with an OK button, captioned with the
// application's title, over the window that is active.
//
//   ShowMessage("Название слишком короткое");
#pragma once

#include <string>

void ShowMessage(const std::string& Text);
