#include "player/recorder_download.h"

#include <memory>

#include "framework/streams.h"
#include "player/main_window.h"
#include "player/stream_thread.h"

namespace {

// Only the download callback touches it, and the audio library calls that from one thread
// per stream, one call at a time.
std::unique_ptr<TFileStream> recording;

}  // namespace

void RecorderDownloadStep(const void* buffer, DWORD length) {
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
