#include "player/hotkeys.h"

#include <string>
#include <vector>

#include "framework/convert.h"
#include "grid/data_grid.h"
#include "player/main_window.h"
#include "player/message_box.h"
#include "player/views.h"
#include "player/web_links.h"
#include "player/web_pages.h"
#include "widgets/rus_clipboard.h"

namespace {

struct THotKeyBinding {
  THotKey id;
  UINT key;
  const char* name;
};

constexpr THotKeyBinding kHotKeys[] = {
    {hkPlay, VK_F10, "F10"},        {hkRecord, VK_F11, "F11"},
    {hkStop, VK_F12, "F12"},        {hkVolumeDown, VK_F8, "F8"},
    {hkVolumeUp, VK_F9, "F9"},      {hkTray, VK_F5, "F5"},
    {hkCopyTitle, VK_F1, "F1"},     {hkShareTitle, VK_F2, "F2"},
    {hkNothing, VK_F3, "F3"},       {hkRandomStation, VK_F4, "F4"},
};

// A disabled button refuses the hot key as it refuses the mouse: before a station is chosen
// and while one connects. Stop is the exception: it must end a connect or a recording that
// hangs, which is when its button is locked.
void ClickIfEnabled(TControl* button) {
  if (button->Enabled()) button->Click();
}

void MoveVolume(int step) {
  TsTrackBar* slider = Form1->sTrackBar1;
  int position = slider->Position() + step;
  if (position >= 0 && position <= 100) slider->SetPosition(position);
}

void ToggleTray() {
  if (Form1->RxTrayIcon1->Active())
    Form1->N1Click(Form1->N1);
  else
    Form1->Image5Click(Form1->Image5);
}

// An empty title would only empty the clipboard or share nothing.
void CopyTitle() {
  std::string title = CopiedTitle(Form1->RxLabel7->Caption());
  if (!title.empty()) Clipboard().SetAsText(title);
}

void ShareTitle() {
  std::string title = SharedTitle(Form1->RxLabel7->Caption());
  if (!title.empty()) OpenWebPage(ShareAddress(title, Form1->RxLabel6->Caption()));
}

// Plays through the all-stations tiles' selection, as a click on the station's tile would.
void PlayRandomStation() {
  int station = RandomStationNumber(Settings.LastStation);
  if (station < 1) return;
  Form1->DataGrid1SelectCell(Form1->DataGrid1, (station - 1) % kTilesPerRow,
                             (station - 1) / kTilesPerRow);
}

void OpenStationOfflinePage() {
  if (Settings.LastStation >= 1) OpenWebPage(StationOfflineAddress(Settings.LastStation));
}

}  // namespace

void RegisterHotKeys() {
  for (const THotKeyBinding& hotKey : kHotKeys) {
    if (RegisterHotKey(Form1->Handle(), static_cast<int>(hotKey.id), MOD_CONTROL | MOD_SHIFT,
                       hotKey.key))
      continue;
    ShowMessage(std::string("Unable to assign Ctrl-Shift-") + hotKey.name + " as hotkey.");
  }
}

void RunHotKeyCommand(WPARAM id) {
  switch (id) {
    case hkPlay: ClickIfEnabled(Form1->sBitBtn2); break;
    case hkRecord: ClickIfEnabled(Form1->sBitBtn1); break;
    case hkStop: Form1->sBitBtn3->Click(); break;
    case hkVolumeDown: MoveVolume(-1); break;
    case hkVolumeUp: MoveVolume(+1); break;
    case hkTray: ToggleTray(); break;
    case hkCopyTitle: CopyTitle(); break;
    case hkShareTitle: ShareTitle(); break;
    case hkRandomStation: PlayRandomStation(); break;
    case hkStationOffline: OpenStationOfflinePage(); break;
    default: break;
  }
}

int RandomStationNumber(int Current) {
  std::vector<int> others;
  for (int station = 1; station < StationCount; ++station)
    if (station != Current && StationExists(station)) others.push_back(station);
  if (others.empty()) return Current >= 1 && StationExists(Current) ? Current : 0;
  efir::Randomize();
  return others[static_cast<size_t>(efir::Random(static_cast<int>(others.size())))];
}

void TForm1::WMHotKey(TMessage& Message) { RunHotKeyCommand(Message.WParam); }
