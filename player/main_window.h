// The player's main window `TForm1` and the program state that every window and procedure of
// the player shares. The layout (main_window_layout.cpp) builds the components; the handlers
// live with the work they belong to (start-up and shut-down here, the station folder in
// station_folder.cpp, the editor dialog in station_dialog.cpp, playback in playback.cpp).
//
//   Application.CreateForm(Form1);     // the layout, then FormCreate
//   Form1->RxLabel6->Caption();        // the station name, or the slogan while none is chosen
#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "framework/dialogs.h"
#include "framework/forms.h"
#include "framework/image.h"
#include "framework/menus.h"
#include "framework/stdctrls.h"
#include "framework/timer.h"
#include "mediaplayer/media_player.h"
#include "net/http_client.h"
#include "player/config_file.h"
#include "stations/station_store.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skinned_controls.h"
#include "widgets/rx_controls.h"

class TDataGrid;
class TWebMultiDownload;
class TNxGraphicColumn;
class TNxNumberColumn;
class TNxTextColumn;

// The station label shows this while no station is chosen; every window compares with it.
inline constexpr char kSlogan[] = "Эфирушка - Бесплатное радио!";
inline constexpr char kPlayerTitle[] = "Эфирушка Плюс";

class TForm1 : public TForm {
 public:
  explicit TForm1(TComponent* AOwner);

  // Background, title and status.
  TImage* Image1;           // background; a press drags the window
  TImage* Image11;          // title icon
  TRxLabel* RxLabel6;       // station name, or the slogan
  TRxLabel* RxLabel7;       // status and track title
  TImage* Image2;           // mute toggle
  TImage* Image3;           // favourite toggle
  TImage* Image4;           // close (with save)
  TImage* Image5;           // hide to the tray

  // Tabs, grids and the list filter.
  TRxLabel* RxLabel2;       // tab "РАДИОСТАНЦИИ"
  TRxLabel* RxLabel3;       // tab "ИЗБРАННОЕ"
  TImage* Image12;          // tab marker
  TsEdit* sEdit1;           // list filter
  TDataGrid* DataGrid1;     // all-station tiles
  TDataGrid* DataGrid2;     // favourite tiles
  TDataGrid* DataGrid3;     // station list
  TNxGraphicColumn* NxGraphicColumn1;
  TNxGraphicColumn* NxGraphicColumn2;
  TNxGraphicColumn* NxGraphicColumn3;
  TNxGraphicColumn* NxGraphicColumn4;
  TNxGraphicColumn* NxGraphicColumn5;
  TNxGraphicColumn* NxGraphicColumn6;
  TNxGraphicColumn* NxGraphicColumn7;
  TNxGraphicColumn* NxGraphicColumn8;
  TNxGraphicColumn* NxGraphicColumn9;
  TNxGraphicColumn* NxGraphicColumn10;
  TNxNumberColumn* NxTextColumn1;  // "#", the station numbers
  TNxTextColumn* NxTextColumn2;  // "Радиостанция"
  TNxTextColumn* NxTextColumn3;  // "Слушать"
  TsScrollBar* sScrollBar1;

  // Bottom bar.
  TsBitBtn* sBitBtn2;       // play
  TsBitBtn* sBitBtn3;       // stop
  TsBitBtn* sBitBtn1;       // record
  TsTrackBar* sTrackBar1;   // volume 0..100
  TRxLabel* RxLabel5;       // volume number
  TImage* Image6;           // about box
  TImage* Image7;           // settings
  TImage* Image8;           // station editor
  TImage* Image9;           // reminder panel
  TImage* Image10;          // tiles / list switch
  TImage* Image14;          // station QR page

  // Reminder panel, below the 390-pixel line.
  TsEdit* sEdit5;           // reminder text
  TsLabel* sLabel3;
  TsEdit* sEdit2;           // hours
  TsEdit* sEdit3;           // minutes
  TsEdit* sEdit4;           // seconds
  TRxSpinButton* RxSpinButton1;
  TRxSpinButton* RxSpinButton2;
  TRxSpinButton* RxSpinButton3;
  TImage* Image13;          // arm / disarm
  TsCheckBox* sCheckBox2;   // "Звук"
  TsCheckBox* sCheckBox1;
  TsLabel* sLabel5;         // clock
  TRxClock* RxClock1;

  // Non-visual parts. The HTTP clients keep their own cookies and handle window messages
  // while they wait.
  efir::HttpClient IdHTTP1;
  efir::HttpClient IdHTTP2;
  TRxTrayIcon* RxTrayIcon1;
  TPanel* Panel1;           // hidden host of the media-player control
  std::unique_ptr<efir::IMediaPlayer> WindowsMediaPlayer1;
  TTimer* Timer1;           // version check
  TTimer* Timer2;           // unlock after a connect
  TTimer* Timer3;           // song history and clock
  TPopupMenu* PopupMenu1;   // tray and station label
  TMenuItem* N1;
  TMenuItem* N2;
  TMenuItem* Stop1;
  TMenuItem* N3;
  TMenuItem* QR2;
  TMenuItem* N9;
  TMenuItem* N7;
  TMenuItem* N17;
  TMenuItem* N19;
  TMenuItem* N22;
  TMenuItem* N4;            // "&Выход"
  TPopupMenu* PopupMenu2;   // status label
  TMenuItem* N16;
  TMenuItem* N21;
  TMenuItem* N15;
  TMenuItem* N26;
  TMenuItem* N27;
  TPopupMenu* PopupMenu3;
  TPopupMenu* PopupMenu4;   // status label's context menu
  TMenuItem* N25;
  TMenuItem* N24;
  TPopupMenu* PopupMenu5;
  TSaveDialog* SaveDialog1;
  TOpenDialog* OpenDialog1;
  TsSkinManager* sSkinManager1;
  TsSkinManager* sSkinManager2;
  TsSkinManager* sSkinManager3;
  TsSkinManager* sSkinManager4;
  TWebMultiDownload* WebMultiDownload1;  // the catalogue rebuild's logos, the QR dialog

  // Scratch controls the code calls or uses; hidden.
  TButton* Button1;         // "<>"
  TButton* Button2;         // "||": the folder scan
  TButton* Button3;         // connect
  TButton* Button4;
  TMemo* Memo1;
  TMemo* Memo2;
  // The list's last selected row, its last sorted column, the grids' last scroll position;
  // written for inspection, read by nothing.
  TEdit* Edit1;
  TEdit* Edit2;
  TEdit* Edit3;
  TLabel* Label1;
  TRxLabel* RxLabel1;
  TRxLabel* RxLabel4;
  TRxLabel* RxLabel8;
  TsLabel* sLabel1;

  // Start-up and shut-down.
  void FormCreate(TObject* Sender);
  void FormActivate(TObject* Sender);
  void AppMessage(MSG& Msg, bool& Handled);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormDestroy(TObject* Sender);
  void Image4Click(TObject* Sender);
  void N4Click(TObject* Sender);
  void Image1MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);

  // Station folder and list.
  void Button2Click(TObject* Sender);
  void Image8Click(TObject* Sender);

  // Playback (playback.cpp); WM_STATION_STATUS (station_status.cpp).
  void WndProc(TMessage& Message) override;
  void Button3Click(TObject* Sender);
  void sBitBtn2Click(TObject* Sender);
  void N2Click(TObject* Sender);
  void sBitBtn3Click(TObject* Sender);
  void Stop1Click(TObject* Sender);
  void Timer2Timer(TObject* Sender);
  void sTrackBar1Change(TObject* Sender);
  void sTrackBar1MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void Image2Click(TObject* Sender);
  void N3Click(TObject* Sender);
  void WindowsMediaPlayer1StatusChange(TObject* Sender);

  // Station views (views.cpp): clicks, right presses that add or remove favourites, hints,
  // the list's filter and sort, tabs, the tiles/list switch and scrolling.
  void DataGrid1SelectCell(TObject* Sender, int ACol, int ARow);
  void DataGrid2SelectCell(TObject* Sender, int ACol, int ARow);
  void DataGrid3SelectCell(TObject* Sender, int ACol, int ARow);
  void DataGrid1MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void DataGrid2MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void DataGrid3MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void DataGrid1CellHint(TObject* Sender, int ACol, int ARow, std::wstring& Value);
  void DataGrid2CellHint(TObject* Sender, int ACol, int ARow, std::wstring& Value);
  void DataGrid3SortColumn(TObject* Sender, int ACol, bool Ascending);
  void DataGrid3MouseUp(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void sEdit1KeyUp(TObject* Sender, WORD& Key, TShiftState Shift);
  void RxLabel2Click(TObject* Sender);
  void RxLabel3Click(TObject* Sender);
  void Image10Click(TObject* Sender);
  void sScrollBar1Scroll(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos);
  void DataGrid1VerticalScroll(TObject* Sender, int Position);
  void DataGrid2VerticalScroll(TObject* Sender, int Position);
  void DataGrid3VerticalScroll(TObject* Sender, int Position);
  void DataGrid1MouseEnter(TObject* Sender);
  void DataGrid2MouseEnter(TObject* Sender);

  // Favourites (favourites.cpp): the star toggles the current station.
  void Image3Click(TObject* Sender);

  // Recording (recorder.cpp).
  void sBitBtn1Click(TObject* Sender);

  // Settings dialog (settings_dialog.cpp), version check (update_check.cpp), about box
  // (about_box.cpp).
  void Image7Click(TObject* Sender);
  void N9Click(TObject* Sender);
  void Timer1Timer(TObject* Sender);
  void Image6Click(TObject* Sender);

  // Hot keys (hotkeys.cpp); the tray, the menus and the web links (tray_menus.cpp).
  void WMHotKey(TMessage& Message);
  void Image5Click(TObject* Sender);
  void FormKeyPress(TObject* Sender, char& Key);
  void N1Click(TObject* Sender);
  void RxTrayIcon1Click(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void RxTrayIcon1MouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
  void PopupMenu1Popup(TObject* Sender);
  void RxLabel7MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void RxLabel7MouseEnter(TObject* Sender);
  void RxLabel7MouseLeave(TObject* Sender);
  void PopupMenu4Popup(TObject* Sender);
  void N24Click(TObject* Sender);
  void N16Click(TObject* Sender);
  void N19Click(TObject* Sender);
  void N21Click(TObject* Sender);
  void N22Click(TObject* Sender);
  void N27Click(TObject* Sender);
  void N15Click(TObject* Sender);
  void N7Click(TObject* Sender);
  void QR1Click(TObject* Sender);
  void QR2Click(TObject* Sender);
  void Image14Click(TObject* Sender);

  // The catalogue rebuild (catalogue_rebuild.cpp) and the handlers no command reaches
  // (unbound_handlers.cpp).
  void Button1Click(TObject* Sender);
  void Button4Click(TObject* Sender);
  void cbDirectConnectionClick(TObject* Sender);
  void WebDownload1Complete(TObject* Sender, const std::wstring& aFileNameAndPath,
                            const std::wstring& aFileName, const std::wstring& aFolderName,
                            const std::wstring& aExtension, int ActiveConnections);
  void WebDownload1Progress(TObject* Sender, const std::string& Status);
  void RxLabel1Click(TObject* Sender);
  void sButton2Click(TObject* Sender);
  void RxLabel4Click(TObject* Sender);
  void Label1MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void RxLabel1MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void sPanel1MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void sPanel2MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void sPanel3MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void Image1DblClick(TObject* Sender);
  void N18Click(TObject* Sender);
  void DataGrid1SlideChange(TObject* Sender, int ACol);
  void NxTextColumn1ButtonClick(TNxNumberColumn* Sender);

  // Song history and clock label (song_history.cpp); reminder (reminder.cpp).
  void Timer3Timer(TObject* Sender);
  void N26Click(TObject* Sender);
  void Image9Click(TObject* Sender);
  void RxSpinButton1TopClick(TObject* Sender);
  void RxSpinButton1BottomClick(TObject* Sender);
  void RxSpinButton2TopClick(TObject* Sender);
  void RxSpinButton2BottomClick(TObject* Sender);
  void RxSpinButton3TopClick(TObject* Sender);
  void RxSpinButton3BottomClick(TObject* Sender);
  void Image13Click(TObject* Sender);
  void RxClock1Alarm(TObject* Sender);
};

extern TForm1* Form1;

// Reads `config.txt` into the settings and acts on them: the version-check timer, the window
// position and, with open_last on, the last station. A missing file leaves the first-run
// defaults; a broken one is reported and what could not be read keeps its default.
void LoadConfig();
// Writes `config.txt` with these settings, the volume slider's position and the window's
// place, then writes or deletes the autostart value as `autorun` says.
void SaveConfig(TPlayerConfig config);
// Writes or deletes the autostart value under the Run key of the current user.
void SetAutorun(bool Enable, const std::string& ValueName, const std::string& Data);
// The first line of `proxy.txt`, or "." when the program folder holds none.
std::string ReadProxySetting();
// Fills the list view from `Stations.txt` of the program folder.
void FillStationList();

// The player's program folder, ending in '\'.
std::string PlayerFolder();
// For tests: the program folder to use instead of the executable's ("" restores it).
void SetPlayerFolderForTests(const std::string& folder);

// --- Program state ---------------------------------------------------------------------

// The settings of `config.txt`, one field per key (LastStation: -1 none, 0 nothing chosen
// yet, else a station number).
extern TPlayerConfig Settings;
// The main window, for the threads that report to it.
extern HWND MainWindowHandle;
// Handed to the audio library by address: they live as long as the program.
inline constexpr size_t kNetTextSize = 200;
extern char ProxyBuffer[kNetTextSize];
extern char AgentBuffer[kNetTextSize];

// The station folder as the last scan found it.
extern TLogoExtensions LogoExtensions;
extern int StationCount;

// The current station.
extern std::string CurrentUrl;
extern std::string ConnectionMode;

// Views.
extern int AllStationsScrollPos;
extern int FavouritesScrollPos;
extern int ListScrollPos;
extern bool AllStationsViewActive;
extern bool FavouritesViewActive;
extern bool ListShown;
extern bool TileMode;
extern bool ListSorting;
extern bool AddFavouriteMode;

// Favourites.
extern int CurrentIsFavourite;  // 1 when the current station is a favourite
extern int FavouritesShown;     // 1 while the favourites tab shows

// Playback, recording and reminder.
extern bool Muted;
enum TRecorderState { rsIdle, rsArmed, rsWriting };
extern std::atomic<TRecorderState> RecorderState;
// From the start of a recording until the user stops it.
extern bool RecordingActive;
extern bool ReminderPanelOpen;
extern bool ReminderArmed;
