// The player's short messages to the user: a modal box with an OK button, captioned with the
// application's title, over the window that is active (or the one given).
//
//   ShowMessage("Название слишком короткое");
//   ShowMessage(Handle(), "Отключите режим WMP.");
#pragma once

#include <windows.h>

#include <string>

void ShowMessage(const std::string& Text);
// Over `owner`, with `extraFlags` (MB_TASKMODAL, ...) added to the OK button.
void ShowMessage(HWND owner, const std::string& Text, UINT extraFlags = 0);
