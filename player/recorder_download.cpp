#include "player/recorder_download.h"

#include <memory>
#include <mutex>

#include "framework/streams.h"
#include "player/main_window.h"
#include "player/stream_thread.h"

namespace {

// Only the download callback touches it, but on the thread of each stream: the end of a
// stopped stream's download may meet the first blocks of the station connected again.
std::mutex recordingLock;
std::unique_ptr<TFileStream> recording;

}  // namespace

void RecorderDownloadStep(const void* buffer, DWORD length) {
  std::lock_guard hold(recordingLock);
  if (RecorderState == rsArmed) {
    recording = std::make_unique<TFileStream>(PlayerFolder() + "TmpAudioFile.tmp",
                                              TFileStream::fmCreate, TFileStream::fmShareExclusive);
    RecorderState = rsWriting;
  }
  if (RecorderState != rsWriting) return;
  if (buffer) {
    if (recording && length > 0) recording->WriteBuffer(buffer, length);
    return;
  }
  recording.reset();
  FreeStream(ChannelHandle);
  RecorderState = rsIdle;
}
