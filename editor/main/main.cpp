// The editor's entry. Several editors may run at once: each writes every change at once.
#include <windows.h>

#include "editor/editor_forms.h"
#include "framework/application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  Application.Initialize();
  CreateEditorForms();
  Application.Run();
  return 0;
}
