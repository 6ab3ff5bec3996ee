// Playing the chosen station, through the audio library (mode "0") or the media-player control
// (mode "1"): selecting it, the connect command, the lock of the playback controls while it
// connects, the audio library's network options and its reset after a failed connect, the
// equalizer at start-up, volume and mute. The main window's handlers of these live here; the
// stream-open thread is in stream_thread.h, the status message in station_status.h.
//
//   SelectStation(7);              // reads play7.txt, stops what plays, connects
//   Form1->Button3Click(Form1);    // connects the current station again
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "mediaplayer/media_player.h"
#include "player/stream_thread.h"

class TWinControl;

// Loads station N from its file and starts it.
void SelectStation(int N);
// After a failed connect: "Нет сигнала", everything stopped, the audio library started anew
// with the network options in force and no pre-buffer; the program ends when it cannot be.
// The message is not used.
void ResetAudio(const std::string& Message);
// The audio library's network and buffer options.
void ApplyNetConfig();
// The proxy (unless the proxy setting begins with ".") and the user agent, by address.
void ApplyNetTexts();
// The equalizer and reverb effects on whatever stream there is at start-up.
void InstallEqualizerFx();

// The play and stop buttons and the tiles refuse clicks while a station connects.
void LockPlaybackUi();
void UnlockPlaybackUi();

// The end-of-stream callback's reconnect, handed to the GUI thread: connects the current
// station again when the stream that ended is still the current one.
void ReconnectEndedStream(DWORD channel);

// Called every second: while the playing stream has run dry and waits for the network (until
// the time-out ends it and it reconnects), the status label shows how full its buffer is, as
// while connecting; once the sound is back, the label gets back what it showed before.
void ShowStreamStall();

// Shut-down: stops the stream-open threads, then frees the audio library.
void ShutDownAudio();

// The media-player control for the main window, embedded in `host`; its event errors go to
// the application's handler.
std::unique_ptr<efir::IMediaPlayer> CreateMediaPlayer(TWinControl* host);
// For tests: makes CreateMediaPlayer return what `factory` makes (empty restores the control).
void SetMediaPlayerFactoryForTests(std::function<std::unique_ptr<efir::IMediaPlayer>()> factory);
