// The main window's start-up, settings file and shut-down, and the program state.
#include "player/main_window.h"

#include <cstdlib>
#include <ctime>

#include "framework/application.h"
#include "framework/convert.h"
#include "framework/exceptions.h"
#include "framework/files.h"
#include "framework/io_error.h"
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

// Why a file step failed, in the words the user reads: the system's text for a file error,
// the offending text for a number that is not one; empty when nothing more is known.
std::string FailureReason(const Exception& failure) {
  if (auto* io = dynamic_cast<const EInOutError*>(&failure); io && io->ErrorCode() != 0)
    return efir::SystemErrorMessage(static_cast<unsigned long>(io->ErrorCode()));
  if (dynamic_cast<const EConvertError*>(&failure)) {
    // "'x' is not a valid integer value"
    const std::string& message = failure.Message();
    const size_t open = message.find('\'');
    const size_t close = message.rfind("' is not");
    if (open != std::string::npos && close != std::string::npos && close > open)
      return "«" + message.substr(open + 1, close - open - 1) + "» — не число";
  }
  return {};
}

// `what` went wrong, and why when that is known: "<what>: <reason>."
std::string FailureText(const std::string& what, const Exception& failure) {
  const std::string reason = FailureReason(failure);
  std::string text = reason.empty() ? what : what + ": " + reason;
  if (!text.ends_with('.')) text += '.';
  return text;
}

// A start-up step that fails costs only itself: the user is told what was not done (once
// the window shows, see FormCreate), and the steps after it still run.
template <class F>
void StartupStep(const std::string& failure, F&& body) {
  try {
    body();
  } catch (const Exception& e) {
    Application.ShowException(FailureText(failure, e));
  } catch (...) {
    Application.HandleException();
  }
}

// Holds the default handler's messages while the main window starts: the window shows and
// the last station starts before anyone is asked to press OK, and what went wrong is told
// once, in one box.
class StartupMessagesHeld {
 public:
  StartupMessagesHeld() { Application.HoldExceptions(); }
  ~StartupMessagesHeld() { Application.ShowHeldExceptions(); }
  StartupMessagesHeld(const StartupMessagesHeld&) = delete;
  StartupMessagesHeld& operator=(const StartupMessagesHeld&) = delete;
};

// The settings as `config.txt` holds them; a missing file gives the first-run defaults.
// Failures are reported, and what could not be read keeps its default.
TPlayerConfig ReadConfigFile(int left, int top) {
  TPlayerConfig config;
  config.Left = left;
  config.Top = top;
  const std::string path = PlayerFolder() + "config.txt";
  if (!efir::FileExists(path)) return config;
  StartupStep("Не удалось прочитать настройки из файла config.txt, непрочитанные взяты по "
              "умолчанию",
              [&] {
                std::vector<std::string> lines;
                TTextFile file;
                file.Reset(path);
                while (!file.Eof() && lines.size() < kConfigLines) lines.push_back(file.ReadLine());
                file.Close();
                if (std::string error = ParseConfig(lines, config); !error.empty())
                  throw EConvertError(error);
              });
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
  StartupMessagesHeld held;
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

  // The folder scan cannot parse this name.
  if (efir::FileExists(PlayerFolder() + "Stations\\thumbs.db"))
    efir::DeleteFile(PlayerFolder() + "Stations\\thumbs.db");
  // A write the last run was killed in left its temporary file; the file itself is whole.
  for (const char* name : {"favs.txt", "config.txt", "equalizer.txt"})
    efir::RemoveUnfinishedWrite(PlayerFolder() + name);
  StartupStep("Не удалось создать файл истории композиций radiolog.txt", [] {
    if (!efir::FileExists(PlayerFolder() + "radiolog.txt")) {
      TTextFile log;
      log.Rewrite(PlayerFolder() + "radiolog.txt");
      log.Close();
    }
  });
  Settings.LastStation = 0;

  CopyToBuffer(ProxyBuffer, ".");
  StartupStep("Не удалось прочитать настройки прокси из файла proxy.txt, радио подключается "
              "без прокси",
              [] { CopyToBuffer(ProxyBuffer, ReadProxySetting()); });
  CopyToBuffer(AgentBuffer, kUserAgent);

  StartupStep("Не удалось прочитать папку радиостанций Stations", [this] { Button2Click(this); });
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
  // Without the file (a first run) the bands are flat, as the settings' defaults are.
  EqualizerBands.fill(kFlatBandValue);
  if (efir::FileExists(PlayerFolder() + "equalizer.txt"))
    StartupStep("Не удалось прочитать настройки эквалайзера из файла equalizer.txt, полосы "
                "эквалайзера выставлены ровно",
                [] { LoadEqualizerFile("equalizer.txt"); });
  StartupStep("Не удалось включить последнюю радиостанцию", [] { LoadConfig(); });
  if (Settings.hotkeys == 1) RegisterHotKeys();
  ApplyNetConfig();
  InstallEqualizerFx();

  ShowStartVolume(*this);
  if (ProxyBuffer[0] != '.') BASS_SetConfigPtr(audio::ConfigNetProxy, ProxyBuffer);
  BASS_SetConfigPtr(audio::ConfigNetAgent, AgentBuffer);
  StartupStep("Не удалось прочитать список радиостанций из файла Stations.txt",
              [] { FillStationList(); });
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

// Settings that cannot be written must not keep the user in the program: they are told, and
// the window closes all the same.
void TForm1::Image4Click(TObject*) {
  try {
    SaveConfig(Settings);
  } catch (const Exception& e) {
    Application.ShowException(
        FailureText("Настройки не сохранены: не удалось записать файл config.txt", e));
  }
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
