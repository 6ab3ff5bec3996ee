// The editor's three windows, created as the program starts: the list window first (the
// application's main window, which scans the station folder as it is created), then the edit
// and the confirm window.
//
//   Application.Initialize();
//   CreateEditorForms();
//   Application.Run();
#pragma once

void CreateEditorForms();
