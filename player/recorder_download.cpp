#include "player/recorder_download.h"

#include <memory>
#include <mutex>

#include "framework/streams.h"
#include "player/main_window.h"

namespace {

// The end of a stopped stream's download may meet the first blocks of the station connected
// again, each on its stream's own thread.
std::mutex recordingLock;
std::unique_ptr<TFileStream> recording;
// The download thread of the stream being recorded: blocks of any other stream are not part
// of this recording, and the end of another download does not end it.
DWORD recordedThread = 0;
bool fileMade = false;

void CloseRecording() {
  recording.reset();
  recordedThread = 0;
  RecorderState = rsIdle;
}

}  // namespace

std::string TempRecordingPath() { return PlayerFolder() + "TmpAudioFile.tmp"; }

void ArmRecording() {
  std::lock_guard hold(recordingLock);
  fileMade = false;
  RecorderState = rsArmed;
}

bool EndRecording() {
  std::lock_guard hold(recordingLock);
  CloseRecording();
  return fileMade;
}

void RecorderDownloadStep(const void* buffer, DWORD length) {
  std::lock_guard hold(recordingLock);
  const DWORD thread = GetCurrentThreadId();
  try {
    // A download that has ended has nothing more to record.
    if (RecorderState == rsArmed && buffer) {
      recording = std::make_unique<TFileStream>(TempRecordingPath(), TFileStream::fmCreate,
                                                TFileStream::fmShareExclusive);
      fileMade = true;
      recordedThread = thread;
      RecorderState = rsWriting;
    }
    if (RecorderState != rsWriting || thread != recordedThread) return;
    if (buffer) {
      if (length > 0) recording->WriteBuffer(buffer, length);
      return;
    }
  } catch (...) {
    // Reported once: the blocks that follow are not tried again.
    CloseRecording();
    throw;
  }
  // Whoever ended the download has freed its stream, or the stream ends by itself and its end
  // callback connects again: the current stream may already be another one and is not freed.
  CloseRecording();
}
