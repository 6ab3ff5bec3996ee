// A program of ours that shows one empty window and does nothing else: the floor of the
// start-up benchmark, what starting any program on this framework costs before its own work.
#include <windows.h>

#include "framework/application.h"
#include "framework/forms.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  Application.Initialize();
  TForm* window = nullptr;
  Application.CreateForm(window);
  window->SetCaption("bare window");
  window->SetBounds(300, 150, 514, 391);
  window->Show();
  Application.Run();
  return 0;
}
