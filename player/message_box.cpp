#include "player/message_box.h"

#include "framework/application.h"
#include "framework/text_encoding.h"

void ShowMessage(const std::string& Text) { ShowMessage(GetActiveWindow(), Text); }

void ShowMessage(HWND owner, const std::string& Text, UINT extraFlags) {
  MessageBoxW(owner, efir::text::fromAnsi(Text).c_str(),
              efir::text::fromAnsi(Application.Title()).c_str(), MB_OK | extraFlags);
}
