// The song history `radiolog.txt` and the clock label of the reminder panel, both kept by the
// main window's one-second timer (`TForm1::Timer3Timer`): while the setting `log` is on, each
// new track title of the status label becomes one line "time | station | title" of the file;
// the label shows "Сейчас: " and the time of day. Times come from the window's clock
// (`RxClock1->CurrentTime()`), so a test can set them through the clock's OnGetTime.
//
//   StartSongHistory();          // with each new main window: nothing logged yet
//   Form1->Timer3Timer(Form1);   // every second
//   Form1->N26Click(Form1);      // "История": the file in the program the system opens it with
#pragma once

#include <string>

// Forgets the last title seen and takes the user's long time format as it is now, before any
// download can replace it (the download component changes it for the whole process).
void StartSongHistory();
