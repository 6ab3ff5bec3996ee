// The editor's entry: its three windows, the list window first (the main one), and the
// message loop. Several editors may run at once; each writes its changes at once.
#include <windows.h>

#include "editor/confirm_window.h"
#include "editor/edit_window.h"
#include "editor/list_window.h"
#include "framework/application.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  Application.Initialize();
  Application.CreateForm(Form1);
  Application.CreateForm(Form2);
  Application.CreateForm(Form3);
  Application.Run();
  return 0;
}
