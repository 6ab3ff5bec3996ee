// The player's entry: one instance only, the application's title, the seven windows, the
// message loop.
#include <windows.h>

#include <memory>

#include "framework/application.h"
#include "framework/text_encoding.h"
#include "player/main_window.h"
#include "player/player_forms.h"
#include "skin/engine/embedded_data.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_startup.h"
#include "skin/forms/skin_hook.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  StartSkinEngine();
  StartWindowSkinning();
  // Held until the process ends: its name tells a second start that the player runs.
  CreateMutexW(nullptr, TRUE, L"efirushkanet");
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    // No window of the player exists yet: the box takes the skin of its windows from a
    // manager of its own.
    std::unique_ptr<TsSkinManager> skin(NewManagerWithBuiltInSkin(nullptr, "EfirNight"));
    MessageBoxW(nullptr, efir::text::fromAnsi("Программа уже запущена!").c_str(),
                efir::text::fromAnsi(kPlayerTitle).c_str(), MB_OK);
    return 0;
  }
  Application.Initialize();
  Application.SetTitle(kPlayerTitle);
  CreatePlayerForms();
  Application.Run();
  StopSkinEngine();
  return 0;
}
