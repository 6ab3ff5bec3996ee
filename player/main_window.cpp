// The main window's start-up, settings file and shut-down, and the program state.
#include "player/main_window.h"

#include <cstdlib>
#include <ctime>

#include "framework/application.h"
#include "framework/convert.h"
#include "framework/exceptions.h"
#include "framework/files.h"
#include "framework/registry.h"
#include "framework/text_encoding.h"
#include "framework/text_file.h"
#include "grid/data_grid.h"
#include "player/app_keys.h"
#include "audio/audio.h"
#include "player/equalizer.h"
#include "player/favourites.h"
#include "player/hotkeys.h"
#include "player/playback.h"
#include "stations/station_logo.h"

TForm1* Form1 = nullptr;

TPlayerConfig Settings;
HWND MainWindowHandle = nullptr;
char ProxyBuffer[kNetTextSize];
char AgentBuffer[kNetTextSize];
TLogoExtensions LogoExtensions;
int StationCount = 1;
std::string CurrentUrl;
std::string ConnectionMode = "0";
int AllStationsScrollPos = 0;
int FavouritesScrollPos = 0;
int ListScrollPos = 0;
bool AllStationsViewActive = true;
bool FavouritesViewActive = false;
bool ListShown = false;
bool TileMode = true;
bool ListSorting = true;
bool AddFavouriteMode = false;
int CurrentIsFavourite = 1;
int FavouritesShown = 0;
bool Muted = false;
std::atomic<TRecorderState> RecorderState{rsIdle};
bool RecordingActive = false;
bool ReminderPanelOpen = false;
bool ReminderArmed = false;

namespace {

constexpr char kAutorunKey[] = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kAutorunValueName[] = "Efirushka";
constexpr char kUserAgent[] =
    "Mozilla/5.0 (Windows; U; Windows NT 5.1; en-US) AppleWebKit/534.10 (KHTML, like Gecko) "
    "Chrome/8.0.552.215 Safari/534.10";
constexpr int kHotKeyCount = 10;

std::string testFolder;

// Copies text into a fixed buffer, cut to fit with its terminating zero.
void CopyToBuffer(char (&buffer)[kNetTextSize], const std::string& text) {
  size_t length = std::min(text.size(), kNetTextSize - 1);
  text.copy(buffer, length);
  buffer[length] = '\0';
}

std::string ProgramFile() {
  wchar_t path[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return efir::text::toAnsi(std::wstring_view(path, length));
}

// The settings as `config.txt` holds them; a missing file gives the first-run defaults.
// Failures are reported, and what could not be read keeps its default.
TPlayerConfig ReadConfigFile(int left, int top) {
  TPlayerConfig config;
  config.Left = left;
  config.Top = top;
  const std::string path = PlayerFolder() + "config.txt";
  if (!efir::FileExists(path)) return config;
  std::string error;
  try {
    std::vector<std::string> lines;
    TTextFile file;
    file.Reset(path);
    while (!file.Eof() && lines.size() < kConfigLines) lines.push_back(file.ReadLine());
    file.Close();
    error = ParseConfig(lines, config);
  } catch (const Exception& e) {
    error = e.Message();
  }
  if (!error.empty()) Application.ShowException(error);
  return config;
}

// The volume slider at the start volume, and the label and the stream with it.
void ShowStartVolume(TForm1& form) {
  const int before = form.sTrackBar1->Position();
  form.sTrackBar1->SetPosition(Settings.start_volume);
  // A slider already at that position raises no change, yet the label and the media player
  // must follow it all the same.
  if (form.sTrackBar1->Position() == before) form.sTrackBar1Change(form.sTrackBar1);
  BASS_ChannelSetAttribute(ChannelHandle, audio::AttribVolume, form.sTrackBar1->Position() / 100.0f);
}

}  // namespace

std::string PlayerFolder() {
  return testFolder.empty() ? efir::ProgramFolder() : testFolder;
}

void SetPlayerFolderForTests(const std::string& folder) { testFolder = folder; }

// Every step that reads a file is reported and passed over when it fails: the steps after it
// still run, so that the window is usable and a later close writes the settings it shows.
void TForm1::FormCreate(TObject*) {
  ReminderPanelOpen = false;
  ReminderArmed = false;
  IdHTTP2.FollowRedirects = true;

  AllStationsScrollPos = FavouritesScrollPos = ListScrollPos = 0;
  AllStationsViewActive = true;
  FavouritesViewActive = false;
  ListShown = false;
  TileMode = true;
  ListSorting = true;
  ResetLogoReport();

  BASS_PluginLoad((PlayerFolder() + "bass_aac.dll").c_str(), 0);
  BASS_PluginLoad((PlayerFolder() + "basswma.dll").c_str(), 0);
  std::srand(static_cast<unsigned>(std::time(nullptr)));

  RecorderState = rsIdle;
  Settings.check_updates = 0;
  Settings.autorun = 0;
  Settings.open_last = false;

  efir::Guarded([] {
    // The folder scan cannot parse this name.
    if (efir::FileExists(PlayerFolder() + "Stations\\thumbs.db"))
      efir::DeleteFile(PlayerFolder() + "Stations\\thumbs.db");
    if (!efir::FileExists(PlayerFolder() + "radiolog.txt")) {
      TTextFile log;
      log.Rewrite(PlayerFolder() + "radiolog.txt");
      log.Close();
    }
  });
  Settings.LastStation = 0;

  CopyToBuffer(ProxyBuffer, ".");
  efir::Guarded([] { CopyToBuffer(ProxyBuffer, ReadProxySetting()); });
  CopyToBuffer(AgentBuffer, kUserAgent);

  efir::Guarded([this] { Button2Click(this); });
  Muted = false;
  DataGrid1->SetColor(0xFAFAFB);
  for (int i = 0; i < DataGrid1->Columns()->Count(); ++i)
    DataGrid1->Columns()->Item(i)->SetColor(0xFAFAFB);
  CurrentIsFavourite = 1;
  FavouritesShown = 0;

  MainWindowHandle = Handle();
  if (!BASS_Init(-1, 44100, 0, MainWindowHandle, nullptr)) {
    ResetAudio("");
    Application.Terminate();
    return;
  }
  // Before the last station connects: its stream takes the bands when the connect starts.
  efir::Guarded([] { LoadEqualizerFile("equalizer.txt"); });
  efir::Guarded([] { LoadConfig(); });
  if (Settings.hotkeys == 1) RegisterHotKeys();
  ApplyNetConfig();
  InstallEqualizerFx();

  ShowStartVolume(*this);
  if (ProxyBuffer[0] != '.') BASS_SetConfigPtr(audio::ConfigNetProxy, ProxyBuffer);
  BASS_SetConfigPtr(audio::ConfigNetAgent, AgentBuffer);
  efir::Guarded([] { FillStationList(); });
}


void LoadConfig() {
  TForm1* form = Form1;
  Settings = ReadConfigFile(form->Left(), form->Top());
  form->Timer1->SetEnabled(Settings.check_updates == 1);
  form->SetBounds(Settings.Left, Settings.Top, form->Width(), form->Height());
  // Station numbers start at 1: a stored 0 means nothing was chosen.
  if (!Settings.open_last || Settings.LastStation < 1) return;
  SelectStation(Settings.LastStation);
  form->sBitBtn1->SetEnabled(true);
  form->sBitBtn2->SetEnabled(true);
  form->sBitBtn3->SetEnabled(true);
  ShowFavouriteState(Settings.LastStation, "Добавить в избранноe");  // the last letter is a Latin "e"
}

std::string ReadProxySetting() {
  if (!efir::FileExists(PlayerFolder() + "proxy.txt")) return ".";
  TTextFile file;
  // From the program folder: started by the autostart value, the player runs in another
  // current folder.
  file.Reset(PlayerFolder() + "proxy.txt");
  std::string proxy = file.ReadLine();
  file.Close();
  return proxy;
}

void SetAutorun(bool Enable, const std::string& ValueName, const std::string& Data) {
  TRegistry registry;
  if (!registry.OpenKey(kAutorunKey, false)) return;
  if (Enable)
    registry.WriteString(ValueName, Data);
  else
    registry.DeleteValue(ValueName);
}

void SaveConfig(TPlayerConfig config) {
  config.start_volume = Form1->sTrackBar1->Position();
  config.Left = Form1->Left();
  config.Top = Form1->Top();
  std::string text;
  for (const std::string& line : FormatConfig(config)) text += line + "\r\n";
  efir::WriteFileSafely(PlayerFolder() + "config.txt", text);
  SetAutorun(config.autorun == 1, kAutorunValueName, ProgramFile());
}

void TForm1::Image4Click(TObject*) {
  SaveConfig(Settings);
  Close();
}

void TForm1::N4Click(TObject* Sender) { Image4Click(Sender); }

void TForm1::FormActivate(TObject*) {
  Application.OnMessage = [this](MSG& Msg, bool& Handled) { AppMessage(Msg, Handled); };
}

void TForm1::AppMessage(MSG& Msg, bool& Handled) {
  const std::optional<int> step = VolumeKeyStep(Msg);
  if (!step) return;
  sTrackBar1->SetPosition(sTrackBar1->Position() + *step);
  Handled = true;
}

void TForm1::FormClose(TObject*, TCloseAction&) {
  for (int id = 1; id <= kHotKeyCount; ++id) UnregisterHotKey(Handle(), id);
}

void TForm1::FormDestroy(TObject*) {
  // The hook calls into this window: it must not outlive it.
  Application.OnMessage = nullptr;
  ShutDownAudio();
}

// Only the left button moves the window: the system's move ends when the left button is
// released, so a move begun by another button (the station name's menu button) never ends.
void TForm1::Image1MouseDown(TObject* Sender, TMouseButton Button, TShiftState, int, int) {
  if (Button != mbLeft) return;
  efir::StartMoving(static_cast<TControl*>(Sender));
}
