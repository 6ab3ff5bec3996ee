#include "player/message_box.h"

#include <windows.h>

#include "framework/application.h"
#include "framework/text_encoding.h"

void ShowMessage(const std::string& Text) {
  MessageBoxW(GetActiveWindow(), efir::text::fromAnsi(Text).c_str(),
              efir::text::fromAnsi(Application.Title()).c_str(), MB_OK);
}
