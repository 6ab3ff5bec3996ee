// Opening a station's stream in the audio-library mode: each connect starts one stream-open
// thread, which opens the stream, reports its progress to the main window (station_status.h),
// waits for the pre-buffer, installs the title and end callbacks and the effects, and starts
// the sound. The audio library's callbacks live here too.
//
//   StartStreamThread({address, equalizerOn, EqualizerBands});   // GUI thread: a connect
//   ...
//   StopStreamThreads();     // GUI thread, before the audio library is freed
//
// Connects never overlap: a new connect takes over at once, and its thread waits until the
// earlier one has stopped at its next step (freeing what it opened) before it touches the
// current stream. An earlier connect still opening its stream is aborted there and then, so
// neither the next connect nor the program's end waits for a silent server. The window handle, the stream, its volume and the effect handles are the
// only state the threads share with the GUI thread; the settings they need are copied into
// the request.
#pragma once

#include <windows.h>

#include <array>
#include <atomic>
#include <string>

#include "player/stream_effects.h"

// The current stream of the audio library (0 = none).
extern std::atomic<DWORD> ChannelHandle;
// The volume a new stream starts at (0..100): the slider's position, or 0 while muted.
extern std::atomic<int> VolumePosition;

// What a stream-open thread needs of the settings, taken when the connect starts.
struct TStreamRequest {
  std::string Address;
  bool Equalizer = false;  // apply Bands
  std::array<int, kBandCount> Bands{};
};

void StartStreamThread(const TStreamRequest& request);
// The running connect stops at its next step, freeing what it opened, and at once when it is
// opening its stream (stop, another station).
void CancelStreamThreads();
// Stops every stream-open thread and waits until they have ended, handling the messages they
// send the GUI thread meanwhile (which the main window then ignores).
void StopStreamThreads();
bool StreamThreadsStopping();

// Thread procedure of a connect; takes ownership of its request.
DWORD WINAPI OpenStreamThread(void* request);

// Frees the stream, or the whole audio library, while no title is being read from it.
void FreeStream(DWORD handle);
void FreeAudioLibrary();

// Sends the current stream's title to the main window, when it has one.
void PostStreamTitle();

// The audio library's callbacks (its own threads).
void CALLBACK MetaSyncProc(DWORD sync, DWORD channel, DWORD data, void* user);
void CALLBACK EndSyncProc(DWORD sync, DWORD channel, DWORD data, void* user);
void CALLBACK StreamDownloadProc(const void* buffer, DWORD length, void* user);
