// The reminder below the main window's normal height: a text, a time set with three spin
// buttons, and an arm picture. The window's clock `RxClock1` raises its alarm at that time;
// the player then shows the text in a message box, with the system sound "systemexclamation"
// while "Звук" is checked. The main window's handlers of the panel live in reminder.cpp.
//
//   Form1->Image9Click(Form1);             // opens the panel; the first time, at the time now
//   Form1->RxSpinButton1TopClick(Form1);   // one hour later ("23" wraps to "00")
//   Form1->Image13Click(Form1);            // armed
//
// Tests hear the sound through SetPlaySoundForTests instead of the sound device.
#pragma once

#include <windows.h>

// PlaySoundA's signature.
using TPlaySoundCall = BOOL(WINAPI*)(LPCSTR sound, HMODULE module, DWORD flags);

// For tests: the call the reminder plays its sound with (nullptr restores PlaySoundA).
void SetPlaySoundForTests(TPlaySoundCall play);

class TForm1;

// Gives the panel's spin buttons the active skin's look: faces from its up-down section (else
// its button section), arrows in its text colour. Call once the skin is loaded.
void SkinReminderSpins(TForm1& form);
