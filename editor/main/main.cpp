// The editor's entry. Several editors may run at once: each writes every change at once.
#include <windows.h>

#include "editor/editor_forms.h"
#include "framework/application.h"
#include "skin/engine/skin_startup.h"
#include "skin/forms/skin_hook.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // The skin engine's start-up also initialises OLE for the editor's whole run.
  StartSkinEngine();
  StartWindowSkinning();
  Application.Initialize();
  CreateEditorForms();
  Application.Run();
  StopSkinEngine();
  return 0;
}
