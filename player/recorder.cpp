// The record button: records the raw stream of the station that plays through the audio
// library into the temporary file (recorder_download.h), and when stopped connects the station
// again and offers to save the recording as an MP3 file.
#include "player/main_window.h"

#include "framework/files.h"
#include "framework/io_error.h"
#include "framework/text_utils.h"
#include "player/message_box.h"
#include "player/playback.h"
#include "player/recorder_download.h"

namespace {

constexpr char kRecordingPrefix[] = "Идёт запись: ";

// The track title when the recording started, cleaned: the name the save dialog proposes.
std::string RecordingTitle;

std::string CleanedTitle(std::string caption) {
  for (const char* noise : {kRecordingPrefix, " - 0:00", "_", "&", "&&"})
    caption = efir::ReplaceAll(caption, noise, "");
  return caption;
}

void StartRecording(TForm1& form) {
  ArmRecording();
  LockPlaybackUi();
  RecordingActive = true;
  RecordingTitle = CleanedTitle(form.RxLabel7->Caption());
  form.RxLabel7->SetCaption(kRecordingPrefix + form.RxLabel7->Caption());
}

// The temporary file goes only once its copy is made: a failed copy is reported and the
// recording stays for another try.
void SaveRecording(const std::string& target) {
  if (!efir::CopyFile(TempRecordingPath(), target, false))
    efir::RaiseLastIOError("Cannot save the recording as \"" + target + "\"");
  efir::DeleteFile(TempRecordingPath());
}

void StopRecording(TForm1& form) {
  RecordingActive = false;
  UnlockPlaybackUi();
  form.sBitBtn3Click(&form);
  // Closed here rather than by the freed stream's last download call, which comes later on
  // its own thread: the copy below needs the whole file, and the station connected again
  // must not be recorded.
  const bool recorded = EndRecording();
  form.sBitBtn2Click(&form);
  form.Timer2->SetEnabled(true);
  // Nothing downloaded: the temporary file, if any, is an older recording's.
  if (!recorded) return;
  form.SaveDialog1->SetFilter("MP3 files (*.mp3)|*.mp3");
  form.SaveDialog1->SetFileName(RecordingTitle);
  if (form.SaveDialog1->Execute()) SaveRecording(form.SaveDialog1->FileName() + ".mp3");
}

}  // namespace

void TForm1::sBitBtn1Click(TObject*) {
  if (ConnectionMode == "1") {
    ShowMessage(Handle(), "Отключите режим WMP.");
    return;
  }
  // A recording whose download ended by itself is still the user's to stop and save.
  if (RecordingActive)
    StopRecording(*this);
  else
    StartRecording(*this);
}
