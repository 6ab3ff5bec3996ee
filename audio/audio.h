// Our audio library: internet radio streams (HTTP and ICY; MP3, and AAC and WMA once their
// plug-ins are loaded) decoded, passed through a ten-band parametric equalizer and a reverb,
// and played on the default sound device.
//
//   BASS_Init(-1, 44100, 0, window, nullptr);
//   BASS_SetConfig(audio::ConfigNetBuffer, 5000);
//   DWORD stream = BASS_StreamCreateURL(url, 0, audio::StreamHeadersToProc, OnDownload, nullptr);
//   BASS_ChannelSetSync(stream, audio::SyncMeta, 0, OnTitle, nullptr);
//   BASS_ChannelPlay(stream, FALSE);
//   ...
//   BASS_StreamFree(stream);
//   BASS_Free();
//
// Calls may come from any thread and accept any handle: 0, a freed one or one of another
// kind fails (FALSE, 0 or -1) and audio::lastError() says why, for the calling thread.
// Callbacks run on the library's own threads, one thread per stream; no lock of the library
// is held while they run, so they may call back into it (even free their own stream).
//
// When the environment variable EFIR_AUDIO_WAV names a file, BASS_Init writes the processed
// output there as a 16-bit stereo WAV file instead of playing it (tests, machines without a
// sound device); it is written as fast as the streams deliver and complete after BASS_Free.
// See audio/README.md for what plays and how positions behave on a live stream.
#pragma once

#include <windows.h>

#include <cstdint>

namespace audio {

// BASS_SetConfig / BASS_SetConfigPtr options. The settings belong to the process: they
// survive BASS_Free and BASS_Init, and the network ones apply to streams created later.
inline constexpr DWORD ConfigPlaybackBuffer = 0;   // ms of sound queued on the device (500)
inline constexpr DWORD ConfigNetTimeout = 11;      // ms to connect, or without data (17000)
inline constexpr DWORD ConfigNetBuffer = 12;       // ms of stream held ahead (5000; 0 -> 500)
inline constexpr DWORD ConfigNetPrebuffer = 15;    // % of the network buffer before sound (100)
inline constexpr DWORD ConfigNetAgent = 16;        // pointer: zero-terminated user agent
inline constexpr DWORD ConfigNetProxy = 17;        // pointer: "[user:pass@]host:port", or none
inline constexpr DWORD ConfigNetPlaylist = 21;     // 1: follow .pls / .m3u addresses (0)
inline constexpr DWORD ConfigUpdateThreads = 24;   // accepted and kept; decoding is on demand

// BASS_StreamCreateURL flag: hand the response's header block to the download callback.
inline constexpr DWORD StreamHeadersToProc = 0x800000;

// BASS_StreamGetFilePosition modes, all in bytes of the stream's audio (metadata excluded).
inline constexpr DWORD PositionCurrent = 0;   // taken by the decoder
inline constexpr DWORD PositionDownload = 1;  // received
inline constexpr DWORD PositionEnd = 2;       // a live stream: the network buffer's size

// BASS_ChannelGetTags kinds.
inline constexpr DWORD TagHeaders = 1;  // status and header lines, each zero-terminated, then ""
inline constexpr DWORD TagMeta = 5;     // latest metadata: "StreamTitle='...';StreamUrl='...';"

// BASS_ChannelSetSync kinds.
inline constexpr DWORD SyncEnd = 2;   // the stream has ended and all of it has played
inline constexpr DWORD SyncMeta = 4;  // new metadata has arrived

// BASS_ChannelSetFX kinds, with their parameter records below.
inline constexpr DWORD FxEqualizer = 7;
inline constexpr DWORD FxReverb = 8;

// BASS_ChannelSetAttribute attributes.
inline constexpr DWORD AttribVolume = 2;  // 0..1, linear

// A peaking band: the gain applies around the centre, over the bandwidth.
struct EqualizerParams {
  float centre;     // Hz, above 0 and below half the output rate
  float bandwidth;  // semitones, 1..36
  float gain;       // dB, -15..15
};

// A room reverb added to the signal. Defaults: 0 dB, 0 dB, 1000 ms, 0.5.
struct ReverbParams {
  float inputGain;      // dB, -96..0: the level entering the effect
  float mix;            // dB, -96..0: the level of the reverberation added
  float time;           // ms, 1..3000: until the reverberation has fallen by 60 dB
  float highFreqRatio;  // 0.001..0.999: the high frequencies' reverb time as part of time
};

// audio::lastError() values.
enum class Error {
  None = 0,
  NotInitialised,    // no BASS_Init yet, or after BASS_Free
  AlreadyInitialised,
  BadHandle,         // 0, freed, or of another kind
  BadParameter,      // an unknown option, mode, kind or a value out of range
  NoDevice,          // the sound device (or the WAV file) cannot be opened
  Connect,           // cannot connect, or the server answered with an error status
  Timeout,           // no answer or no data within the network time-out
  Format,            // not a stream of a format loaded (or a playlist while playlists are off)
  NotAvailable,      // no such tag yet; no such plug-in
  Ended,             // the stream ended or was freed while being created
  Unknown,
};

// The error of the calling thread's last call into the library.
Error lastError();

enum class ChannelState { Stopped, Playing, Stalled };

// Stopped also for a bad handle; Stalled while playing waits for the network.
ChannelState channelState(DWORD handle);

// Called with a header block (buffer set, length 0), each downloaded block of the stream's
// audio (metadata removed, so a recording plays as a file of its format), and once with no
// buffer when the download has ended, for whatever reason, the stream being freed included.
using DownloadProc = void(CALLBACK*)(const void* buffer, DWORD length, void* user);
// Called for an installed sync: its handle, the stream, 0, and the user value.
using SyncProc = void(CALLBACK*)(DWORD sync, DWORD channel, DWORD data, void* user);

}  // namespace audio

// Adds a plug-in's format to the streams created later, for the process (BASS_Free keeps it):
// "bass_aac.dll" AAC, "basswma.dll" WMA, by file name in any folder; their decoders are built
// in, the file itself is not read. Returns the plug-in's handle (the same on every call), or
// 0 with NotAvailable for any other name. flags is not used.
DWORD WINAPI BASS_PluginLoad(const char* file, DWORD flags);

// device -1 is the default device; freq the output rate. window and clsid are not used.
BOOL WINAPI BASS_Init(int device, DWORD freq, DWORD flags, HWND window, const void* clsid);
// Frees every stream and effect and closes the device; BASS_Init may follow again.
BOOL WINAPI BASS_Free();
// Sound input is never used: nothing to free.
BOOL WINAPI BASS_RecordFree();

BOOL WINAPI BASS_SetConfig(DWORD option, DWORD value);
// The pointer is kept and read when a stream is created: the text must stay alive.
BOOL WINAPI BASS_SetConfigPtr(DWORD option, const void* value);

// Connects and returns once the stream's format is known (blocks up to the network time-out
// for each step); 0 on failure. offset must be 0.
DWORD WINAPI BASS_StreamCreateURL(const char* url, DWORD offset, DWORD flags, audio::DownloadProc proc,
                                  void* user);
namespace audio {
class OpenAbort;  // audio/open_abort.h
// BASS_StreamCreateURL (offset 0) that another thread can abort through `abort`: the call
// then fails at once with Error::Ended, whatever the server does.
DWORD streamCreateUrl(const char* url, DWORD flags, DownloadProc proc, void* user, OpenAbort& abort);
}  // namespace audio
// -1 for a bad handle or mode; PositionEnd is -1 too once the download has ended.
std::uint64_t WINAPI BASS_StreamGetFilePosition(DWORD handle, DWORD mode);
BOOL WINAPI BASS_StreamFree(DWORD handle);

// The text stays valid until the stream is freed.
const char* WINAPI BASS_ChannelGetTags(DWORD handle, DWORD tags);
// Returns a sync handle (used for nothing else), 0 on failure. param must be 0.
DWORD WINAPI BASS_ChannelSetSync(DWORD handle, DWORD type, std::uint64_t param, audio::SyncProc proc,
                                 void* user);
// Effects run in falling priority, then in the order they were set. Returns the effect's
// handle, 0 on failure; the effect lives as long as its stream.
DWORD WINAPI BASS_ChannelSetFX(DWORD handle, DWORD type, int priority);
// params points to the record of the effect's kind.
BOOL WINAPI BASS_FXSetParameters(DWORD fx, const void* params);
BOOL WINAPI BASS_FXGetParameters(DWORD fx, void* params);

// Starts or resumes; sound begins once the pre-buffer is filled. restart is not used.
BOOL WINAPI BASS_ChannelPlay(DWORD handle, BOOL restart);
BOOL WINAPI BASS_ChannelStop(DWORD handle);
BOOL WINAPI BASS_ChannelSetAttribute(DWORD handle, DWORD attrib, float value);
