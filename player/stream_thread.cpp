#include "player/stream_thread.h"

#include <memory>
#include <mutex>

#include "audio/audio.h"
#include "audio/open_abort.h"
#include "framework/application.h"
#include "framework/exceptions.h"
#include "player/main_window.h"
#include "player/recorder_download.h"
#include "player/station_status.h"

std::atomic<DWORD> ChannelHandle{0};
std::atomic<int> VolumePosition{0};

namespace {

// The audio library takes at most this much of an address.
constexpr size_t kMaxAddressLength = 255;
// More than this part of the network buffer must be held before the sound starts.
constexpr DWORD kPrebufferPercent = 75;
// The pre-buffer is looked at again after each step of the download and at a cancel; this
// only bounds the wait should a wake-up be missed.
constexpr DWORD kPrebufferLookMs = 250;

using Handle = std::shared_ptr<void>;
using OpenAbortPtr = std::shared_ptr<audio::OpenAbort>;

struct TStreamJob {
  TStreamRequest Request;
  unsigned Connect = 0;   // this connect's number
  Handle Previous;        // the thread of the connect before, which must end first
  OpenAbortPtr Abort;     // ends this connect's open at once when it is overtaken
};

// Held while a stream is freed and while a title is copied out of one: the audio library's
// tag text lives only as long as its stream.
std::mutex streamLock;
// The latest connect's number: a thread whose number differs has been overtaken.
std::atomic<unsigned> currentConnect{0};
std::atomic<bool> stopping{false};
// GUI thread only: the latest connect's thread and the switch that aborts its open.
Handle latestThread;
OpenAbortPtr latestAbort;

// Set at each step of any download and at a cancel: the pre-buffer wait looks again. Only
// one connect waits for its pre-buffer at a time (connects never overlap).
HANDLE DownloadStep() {
  static const Handle event(CreateEventW(nullptr, FALSE, FALSE, nullptr), CloseHandle);
  return event.get();
}

bool IsCurrent(const TStreamJob& job) { return job.Connect == currentConnect; }

// Sends the status unless a later connect has taken over; says whether it was sent.
bool Report(const TStreamJob& job, TStationStatus code, LPARAM value) {
  if (!IsCurrent(job)) return false;
  SendStationStatus(code, value);
  return true;
}

// Makes the new stream the current one, or frees it when a later connect has taken over.
bool Publish(const TStreamJob& job, DWORD channel) {
  {
    std::lock_guard hold(streamLock);
    if (IsCurrent(job)) {
      ChannelHandle = channel;
      return true;
    }
  }
  FreeStream(channel);
  return false;
}

// Waits until more than three quarters of the network buffer are held, reporting the filled
// percent; false when a later connect has taken over.
bool Prebuffer(const TStreamJob& job, DWORD channel) {
  for (;;) {
    DWORD end = static_cast<DWORD>(BASS_StreamGetFilePosition(channel, audio::PositionEnd));
    // The download has ended (or the stream was freed); a buffer of no size is never filled.
    if (end == 0xFFFFFFFF || end == 0) return IsCurrent(job);
    std::uint64_t held = BASS_StreamGetFilePosition(channel, audio::PositionDownload) -
                         BASS_StreamGetFilePosition(channel, audio::PositionCurrent);
    DWORD percent = static_cast<DWORD>(held * 100 / end);
    if (!Report(job, ssBuffering, static_cast<LPARAM>(percent))) return false;
    if (percent > kPrebufferPercent) return true;
    WaitForSingleObject(DownloadStep(), kPrebufferLookMs);
  }
}

void OpenStream(TStreamJob& job) {
  if (job.Previous) WaitForSingleObject(job.Previous.get(), INFINITE);
  job.Previous.reset();
  if (!IsCurrent(job)) return;

  FreeStream(ChannelHandle.exchange(0));
  if (!Report(job, ssConnecting, 0)) return;
  const std::string address = job.Request.Address.substr(0, kMaxAddressLength);
  // A later connect, Stop or closing ends the open at once, however long the server is silent.
  DWORD channel = audio::streamCreateUrl(address.c_str(), audio::StreamHeadersToProc,
                                         StreamDownloadProc, nullptr, *job.Abort);
  if (!channel) {
    Report(job, ssConnectFailed, 0);
    return;
  }
  if (!Publish(job, channel) || !Prebuffer(job, channel)) return;

  PostStreamTitle();
  BASS_ChannelSetSync(channel, audio::SyncMeta, 0, MetaSyncProc, nullptr);
  BASS_ChannelSetSync(channel, audio::SyncEnd, 0, EndSyncProc, nullptr);
  TEffectHandles effects = CreateEffects(channel, kStreamBands);
  if (job.Request.Equalizer) SetBandGains(effects, job.Request.Bands);
  {
    std::lock_guard hold(streamLock);
    if (!IsCurrent(job)) return;  // the later connect frees this stream with its effects
    PublishEffects(effects);
  }
  BASS_ChannelPlay(channel, FALSE);
  BASS_ChannelSetAttribute(channel, audio::AttribVolume, VolumePosition / 100.0f);
}

// Waits for the thread and meanwhile handles what other threads send this one, so that a
// thread blocked in sending its status can go on to its end.
void WaitHandlingSentMessages(HANDLE thread) {
  while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}

}  // namespace

void StartStreamThread(const TStreamRequest& request) {
  CancelStreamThreads();  // the connect before ends at its next step, at once if it is opening
  auto job = std::make_unique<TStreamJob>();
  job->Request = request;
  job->Connect = currentConnect;
  job->Previous = latestThread;
  job->Abort = std::make_shared<audio::OpenAbort>();
  DWORD id = 0;
  HANDLE thread = CreateThread(nullptr, 0, OpenStreamThread, job.get(), 0, &id);
  if (!thread) throw Exception("Cannot start the stream thread");
  latestAbort = job->Abort;
  job.release();  // the thread owns it now
  latestThread = Handle(thread, CloseHandle);
}

void CancelStreamThreads() {
  ++currentConnect;
  if (latestAbort) latestAbort->trigger();
  SetEvent(DownloadStep());
}

void StopStreamThreads() {
  CancelStreamThreads();
  Handle thread = std::move(latestThread);
  if (!thread) return;
  stopping = true;
  WaitHandlingSentMessages(thread.get());
  stopping = false;
}

bool StreamThreadsStopping() { return stopping; }

DWORD WINAPI OpenStreamThread(void* request) {
  std::unique_ptr<TStreamJob> job(static_cast<TStreamJob*>(request));
  efir::Guarded([&] { OpenStream(*job); });
  return 0;
}

void FreeStream(DWORD handle) {
  std::lock_guard hold(streamLock);
  BASS_StreamFree(handle);
}

void FreeAudioLibrary() {
  std::lock_guard hold(streamLock);
  BASS_Free();
}

void PostStreamTitle() {
  std::optional<std::string> title;
  {
    std::lock_guard hold(streamLock);
    const char* tags = BASS_ChannelGetTags(ChannelHandle, audio::TagMeta);
    if (!tags) return;
    title = StreamTitleOf(tags);
  }
  if (title) SendStationStatus(ssTitle, *title);
}

void CALLBACK MetaSyncProc(DWORD, DWORD, DWORD, void*) {
  efir::Guarded([] { PostStreamTitle(); });
}

void CALLBACK EndSyncProc(DWORD, DWORD channel, DWORD, void*) {
  // The connect command belongs to the GUI thread.
  if (HWND window = MainWindowHandle) PostMessageW(window, WM_STATION_RECONNECT, channel, 0);
}

void CALLBACK StreamDownloadProc(const void* buffer, DWORD length, void*) {
  SetEvent(DownloadStep());
  efir::Guarded([&] {
    if (buffer && length == 0) SendStationStatus(ssHeaders, reinterpret_cast<LPARAM>(buffer));
    RecorderDownloadStep(buffer, length);
  });
}
