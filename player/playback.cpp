#include "player/playback.h"

#include "framework/application.h"
#include "framework/text_file.h"
#include "audio/audio.h"
#include "player/main_window.h"

std::atomic<DWORD> ChannelHandle{0};

void SelectStation(int N) {
  Form1->Image2->Picture().LoadFromFile(PlayerFolder() + "vol.png");
  Form1->Image2->SetHint("Выключить звук");
  Muted = false;

  TTextFile file;
  file.Reset(StationFilePath(PlayerFolder(), N));
  std::vector<std::string> lines;
  while (!file.Eof() && lines.size() < 3) lines.push_back(file.ReadLine());
  file.Close();
  TStationFile station = ParseStationFile(lines);
  CurrentUrl = station.Url;
  ConnectionMode = station.Mode;
  Form1->RxLabel6->SetCaption(station.Name);
  Form1->RxLabel7->SetCaption("");

  BASS_ChannelStop(ChannelHandle);
  if (ConnectionMode == "0") Form1->Button3Click(Form1);
  // The media-player path ("1") comes with the media-player control.
}

void TForm1::Button3Click(TObject*) {
  // Connecting starts the stream-open thread, which comes with the playback engine.
}

void ResetAudio(const std::string&) {
  Form1->RxLabel7->SetCaption("Нет сигнала");
  BASS_ChannelStop(ChannelHandle);
  BASS_Free();
  MainWindowHandle = Form1->Handle();
  if (!BASS_Init(-1, 44100, 0, MainWindowHandle, nullptr)) {
    Application.Terminate();
    return;
  }
  BASS_SetConfig(audio::ConfigNetPlaylist, 1);
  BASS_SetConfig(audio::ConfigNetPrebuffer, 0);
}

void ApplyNetConfig() {
  BASS_SetConfig(audio::ConfigNetPlaylist, 1);
  BASS_SetConfig(audio::ConfigPlaybackBuffer, 500);
  BASS_SetConfig(audio::ConfigNetBuffer, static_cast<DWORD>(Settings.buffer));
  BASS_SetConfig(audio::ConfigNetPrebuffer, 100);
  BASS_SetConfig(audio::ConfigNetTimeout, 17000);
  BASS_SetConfig(audio::ConfigUpdateThreads, 4);
}

void InstallEqualizerFx() {
  // Filled in with the playback engine's effects; there is no stream at start-up anyway.
}

void TForm1::sTrackBar1Change(TObject*) {
  int position = sTrackBar1->Position();
  BASS_ChannelSetAttribute(ChannelHandle, audio::AttribVolume, position / 100.0f);
  RxLabel5->SetCaption(std::to_string(position));
  if (position > 0) Muted = false;
}
