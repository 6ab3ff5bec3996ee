// The recording file, shared by the record button (GUI thread) and the stream's download
// callback (the audio library's thread of each stream). An armed recording makes the
// temporary file with the next block of a running download and from then on appends that
// stream's blocks; the end of that download, or the stop of the recording, closes it.
//
//   ArmRecording();                          // GUI thread: the recording starts
//   RecorderDownloadStep(buffer, length);    // download callback, every call
//   bool made = EndRecording();              // GUI thread: stopped; the file is closed
//
// RecorderState (main_window.h) says where it stands; it changes only under this module's lock.
#pragma once

#include <windows.h>

#include <string>

// The recording's temporary file in the program folder.
std::string TempRecordingPath();

// The next block of a download starts the file anew.
void ArmRecording();
// Closes the file now, whatever the download does later, and leaves the recorder idle; true
// when this recording made its file.
bool EndRecording();

// buffer and length as the download callback gets them: a header block has length 0, and no
// buffer means the download has ended. Raises when the file cannot be made or written; the
// recording has then ended.
void RecorderDownloadStep(const void* buffer, DWORD length);
