#include "player/playback.h"

#include <cstdint>
#include <optional>

#include "audio/audio.h"
#include "framework/application.h"
#include "framework/convert.h"
#include "framework/exceptions.h"
#include "framework/text_utils.h"
#include "grid/column_kinds.h"
#include "mediaplayer/media_player_control.h"
#include "player/equalizer.h"
#include "player/main_window.h"
#include "player/address_resolvers.h"

namespace {

constexpr DWORD kPlaybackBufferMs = 500;
constexpr DWORD kNetTimeoutMs = 17000;
constexpr DWORD kUpdateThreads = 4;
constexpr DWORD kFullPrebuffer = 100;

// The volume to return to when the sound is switched on again.
int VolumeBeforeMute = 0;

// The stream as the last look for a stall found it: its handle and how much of it had come.
DWORD WatchedChannel = 0;
std::uint64_t WatchedDownload = 0;
// While a stall shows: what the status label showed before it, and what it shows now.
std::optional<std::string> CaptionBeforeStall;
std::string StallCaption;

std::function<std::unique_ptr<efir::IMediaPlayer>()> mediaPlayerFactory;

efir::IMediaPlayer& MediaPlayer() { return *Form1->WindowsMediaPlayer1; }

void SetChannelVolume(int position) {
  BASS_ChannelSetAttribute(ChannelHandle, audio::AttribVolume, position / 100.0f);
}

void ShowSoundOn(TForm1& form) {
  form.Image2->Picture().LoadFromFile(PlayerFolder() + "vol.png");
  form.Image2->SetHint("Выключить звук");
  Muted = false;
  VolumePosition = form.sTrackBar1->Position();
}

// The address the media-player control plays: special addresses are resolved first.
std::string MediaPlayerAddress(const std::string& address) {
  if (address.ends_with('$')) return ResolveStationServiceUrl(address);
  if (address.ends_with('@')) return ResolveFlvPortalUrl(address);
  return address;
}

// A control that cannot play the address costs its station only: the station shows that it
// has no signal, as a failed connect of the audio library does.
void PlayInMediaPlayer() {
  try {
    MediaPlayer().SetURL(MediaPlayerAddress(CurrentUrl));
    MediaPlayer().Play();
  } catch (const EAutomationError&) {
    Form1->RxLabel7->SetCaption("Нет сигнала");
  }
}

void SetPlaybackUiEnabled(bool enabled) {
  TForm1& form = *Form1;
  form.sBitBtn2->SetEnabled(enabled);
  form.sBitBtn3->SetEnabled(enabled);
  for (TNxGraphicColumn* column :
       {form.NxGraphicColumn1, form.NxGraphicColumn2, form.NxGraphicColumn3, form.NxGraphicColumn4,
        form.NxGraphicColumn5, form.NxGraphicColumn6, form.NxGraphicColumn7, form.NxGraphicColumn8,
        form.NxGraphicColumn9, form.NxGraphicColumn10})
    column->SetEnabled(enabled);
}

}  // namespace

void SelectStation(int N) {
  ShowSoundOn(*Form1);

  const TStationFile station = ReadStationFile(StationFilePath(PlayerFolder(), N));
  CurrentUrl = station.Url;
  ConnectionMode = station.Mode;
  Form1->RxLabel6->SetCaption(station.Name);
  Form1->RxLabel7->SetCaption("");

  MediaPlayer().Stop();
  CancelStreamThreads();
  BASS_ChannelStop(ChannelHandle);

  if (ConnectionMode == "0") {
    Form1->Button3Click(Form1);
  } else if (ConnectionMode == "1") {
    PlayInMediaPlayer();
    Application.SetTitle(station.Name);
  }
}

void TForm1::Button3Click(TObject*) {
  if (ConnectionMode == "1") {
    PlayInMediaPlayer();
    return;
  }
  if (IsPortalApiAddress(CurrentUrl)) CurrentUrl = ResolvePortalApiUrl(CurrentUrl);
  if (!Muted) VolumePosition = sTrackBar1->Position();
  StartStreamThread({CurrentUrl, Settings.equalizer == 1, EqualizerBands});
}

void TForm1::sBitBtn2Click(TObject* Sender) { Button3Click(Sender); }
void TForm1::N2Click(TObject* Sender) { Button3Click(Sender); }

void TForm1::sBitBtn3Click(TObject*) {
  MediaPlayer().Stop();
  CancelStreamThreads();
  BASS_ChannelStop(ChannelHandle);
  FreeStream(ChannelHandle);
}

void TForm1::Stop1Click(TObject* Sender) { sBitBtn3Click(Sender); }

void ReconnectEndedStream(DWORD channel) {
  if (channel != 0 && channel == ChannelHandle) Form1->Button3Click(Form1);
}

void LockPlaybackUi() { SetPlaybackUiEnabled(false); }
void UnlockPlaybackUi() { SetPlaybackUiEnabled(true); }

void TForm1::Timer2Timer(TObject*) {
  if (RecorderState == rsIdle) UnlockPlaybackUi();
  Timer2->SetEnabled(false);
}

void ResetAudio(const std::string&) {
  Form1->RxLabel7->SetCaption("Нет сигнала");
  BASS_ChannelStop(ChannelHandle);
  MediaPlayer().Stop();
  FreeAudioLibrary();
  MainWindowHandle = Form1->Handle();
  if (!BASS_Init(-1, 44100, 0, MainWindowHandle, nullptr)) {
    Application.Terminate();
    return;
  }
  // The network options stay as the settings give them; the next connect plays at once.
  ApplyNetConfig();
  ApplyNetTexts();
  BASS_SetConfig(audio::ConfigNetPrebuffer, 0);
}

void ApplyNetConfig() {
  BASS_SetConfig(audio::ConfigNetPlaylist, 1);
  BASS_SetConfig(audio::ConfigPlaybackBuffer, kPlaybackBufferMs);
  BASS_SetConfig(audio::ConfigNetBuffer, static_cast<DWORD>(Settings.buffer));
  BASS_SetConfig(audio::ConfigNetPrebuffer, kFullPrebuffer);
  BASS_SetConfig(audio::ConfigNetTimeout, kNetTimeoutMs);
  BASS_SetConfig(audio::ConfigUpdateThreads, kUpdateThreads);
}

void ApplyNetTexts() {
  if (ProxyBuffer[0] != '.') BASS_SetConfigPtr(audio::ConfigNetProxy, ProxyBuffer);
  BASS_SetConfigPtr(audio::ConfigNetAgent, AgentBuffer);
}

void InstallEqualizerFx() {
  PublishEffects(CreateEffects(ChannelHandle, kStartupBands));
}

void ShowStreamStall() {
  TRxLabel* label = Form1->RxLabel7;
  const bool showing = CaptionBeforeStall && label->Caption() == StallCaption;
  const DWORD channel = ChannelHandle;
  const std::uint64_t download = BASS_StreamGetFilePosition(channel, audio::PositionDownload);
  const std::uint64_t end = BASS_StreamGetFilePosition(channel, audio::PositionEnd);
  // Waiting for data, and none has come since the last look. (A sound device that takes the
  // sound faster than it comes also waits, while the data keeps coming.)
  const bool stalled = audio::channelState(channel) == audio::ChannelState::Stalled &&
                       channel == WatchedChannel && download == WatchedDownload &&
                       end != static_cast<std::uint64_t>(-1) && end != 0;
  WatchedChannel = channel;
  WatchedDownload = download;
  if (!stalled) {
    if (showing) label->SetCaption(*CaptionBeforeStall);
    CaptionBeforeStall.reset();
    return;
  }
  const std::uint64_t held = download - BASS_StreamGetFilePosition(channel, audio::PositionCurrent);
  if (!showing) CaptionBeforeStall = label->Caption();
  StallCaption = efir::Format("Буферизация... %d%%", static_cast<int>(held * 100 / end));
  label->SetCaption(StallCaption);
}

void ShutDownAudio() {
  StopStreamThreads();
  BASS_RecordFree();
  FreeAudioLibrary();
}

void TForm1::sTrackBar1Change(TObject*) {
  int position = sTrackBar1->Position();
  if (!Muted) VolumePosition = position;
  MediaPlayer().SetVolume(position);
  SetChannelVolume(position);
  RxLabel5->SetCaption(std::to_string(position));
  // Moving the slider up switches the sound on again, and the mute picture says so.
  if (position > 0 && Muted) ShowSoundOn(*this);
}

// Taking hold of the slider ends a mute: the sound comes back at the slider's level, which the
// drag then changes. Only the state that is heard may say "sound on", or the next click on the
// speaker would switch the sound on instead of off.
void TForm1::sTrackBar1MouseDown(TObject*, TMouseButton Button, TShiftState, int, int) {
  if (Button != mbLeft || !Muted) return;
  MediaPlayer().SetVolume(sTrackBar1->Position());
  SetChannelVolume(sTrackBar1->Position());
  ShowSoundOn(*this);
}

void TForm1::Image2Click(TObject*) {
  if (Muted) {
    MediaPlayer().SetVolume(VolumeBeforeMute);
    SetChannelVolume(VolumeBeforeMute);
    ShowSoundOn(*this);
    return;
  }
  VolumeBeforeMute = efir::StrToInt(RxLabel5->Caption());
  Image2->Picture().LoadFromFile(PlayerFolder() + "voloff.png");
  MediaPlayer().SetVolume(0);
  SetChannelVolume(0);
  // A stream that connects meanwhile (a reconnect) starts silent too.
  VolumePosition = 0;
  Muted = true;
  Image2->SetHint("Включить звук");
}

void TForm1::N3Click(TObject* Sender) { Image2Click(Sender); }

void TForm1::WindowsMediaPlayer1StatusChange(TObject*) {
  if (MediaPlayer().PlayState() == efir::kPlayStateStopped) return;
  const std::string status = MediaPlayer().Status();
  RxLabel7->SetCaption(status);
  // A bit-rate report ("...: 128 Кбит/с") shows only the rate.
  if (status.find("/с") == std::string::npos) return;
  const std::string rate = efir::ExtractBetween(": ", "/с", status) + "/с";
  RxLabel6->SetHint(rate);
  RxLabel7->SetCaption(rate);
}

std::unique_ptr<efir::IMediaPlayer> CreateMediaPlayer(TWinControl* host) {
  if (mediaPlayerFactory) return mediaPlayerFactory();
  auto control = std::make_unique<efir::MediaPlayerControl>(host->Handle());
  control->OnEventError = [](std::exception_ptr error) {
    try {
      std::rethrow_exception(error);
    } catch (...) {
      Application.HandleException();
    }
  };
  return control;
}

void SetMediaPlayerFactoryForTests(std::function<std::unique_ptr<efir::IMediaPlayer>()> factory) {
  mediaPlayerFactory = std::move(factory);
}
