// Playing the chosen station: selecting it, the connect command, the audio library's start-up
// configuration and its reset after a failed connect, the volume. The stream-open thread, the
// status messages and the media-player path come with the playback engine's own work; until
// then selecting a station shows it and connecting does nothing.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

// The audio library's stream (0 = none), shared with the stream-open thread and callbacks.
extern std::atomic<DWORD> ChannelHandle;

// Loads station N from its file and starts it.
void SelectStation(int N);
// After a failed connect: "Нет сигнала", everything stopped, the audio library started anew;
// the program ends when it cannot be. The message is not used.
void ResetAudio(const std::string& Message);
// The audio library's network and buffer options of start-up.
void ApplyNetConfig();
// The equalizer and reverb effects on whatever stream there is at start-up.
void InstallEqualizerFx();
