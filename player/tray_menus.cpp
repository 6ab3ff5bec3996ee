// The main window's tray icon, its menus and the commands on the track title and the
// product site's pages: hiding to the notification area and coming back, the station-label
// and tray menu, the status label's two menus.
#include <string>

#include "grid/data_grid.h"
#include "player/favourites.h"
#include "player/hotkeys.h"
#include "player/main_window.h"
#include "player/station_dialog.h"
#include "player/views.h"
#include "player/web_links.h"
#include "player/web_pages.h"

namespace {

// The station the status label's context menu names and adds to the favourites: the one
// playing (0 while none is chosen).
int MenuStation() { return Settings.LastStation >= 1 ? Settings.LastStation : 0; }

bool StationChosen() { return Form1->RxLabel6->Caption() != kSlogan; }

void SetUnderline(TRxLabel* label, bool on) {
  TFontStyles style = label->Font().Style();
  label->Font().SetStyle(on ? style | fsUnderline : style & ~fsUnderline);
}

}  // namespace

// --- Tray ---------------------------------------------------------------------------------

void TForm1::Image5Click(TObject*) {
  Hide();
  RxTrayIcon1->SetHint(RxLabel6->Caption());
  RxTrayIcon1->SetActive(true);
}

void TForm1::FormKeyPress(TObject* Sender, char& Key) {
  if (Key == VK_ESCAPE) Image5Click(Sender);
}

void TForm1::N1Click(TObject*) {
  Show();
  RxTrayIcon1->SetActive(false);
}

void TForm1::RxTrayIcon1Click(TObject*, TMouseButton, TShiftState, int, int) { Show(); }

void TForm1::RxTrayIcon1MouseMove(TObject*, TShiftState, int, int) {
  RxTrayIcon1->SetHint(RxLabel6->Caption() + '\n' + RxLabel7->Caption());
}

// --- Menus --------------------------------------------------------------------------------

void TForm1::PopupMenu1Popup(TObject*) {
  N3->SetCaption(Image2->Hint());
  const std::string title = RxLabel7->Caption();
  N17->SetCaption(title.empty() ? "Название композиции" : title);
}

void TForm1::RxLabel7MouseDown(TObject*, TMouseButton, TShiftState, int X, int Y) {
  POINT at = RxLabel7->ClientToScreen({X, Y});
  PopupMenu2->Popup(at.x, at.y);
}

void TForm1::RxLabel7MouseEnter(TObject*) { SetUnderline(RxLabel7, true); }

void TForm1::RxLabel7MouseLeave(TObject*) { SetUnderline(RxLabel7, false); }

void TForm1::PopupMenu4Popup(TObject*) {
  AddFavouriteMode = false;
  const int station = MenuStation();
  N25->SetCaption(station ? StationName(station) : "");
  N24->SetEnabled(station != 0);
}

void TForm1::N24Click(TObject*) {
  const int station = MenuStation();
  if (!station) return;
  if (!IsFavourite(station)) AddFavourite(station);
  // The star shows the current station's state, which this has just changed.
  ShowFavouriteState(station, "Добавить в избранное");
  DataGrid1->ShowHintAt(0, 0, L"Добавлено в избранное");
}

// --- Title and pages ----------------------------------------------------------------------

void TForm1::N16Click(TObject*) { RunHotKeyCommand(hkCopyTitle); }
void TForm1::N19Click(TObject*) { RunHotKeyCommand(hkCopyTitle); }
void TForm1::N21Click(TObject*) { RunHotKeyCommand(hkShareTitle); }
void TForm1::N22Click(TObject*) { RunHotKeyCommand(hkShareTitle); }
void TForm1::N15Click(TObject*) { RunHotKeyCommand(hkNothing); }
void TForm1::N27Click(TObject*) { RunHotKeyCommand(hkStationOffline); }

void TForm1::N7Click(TObject*) { OpenWebPage(FaqAddress()); }

void TForm1::QR1Click(TObject*) {
  if (StationChosen())
    OpenWebPage(StationQrAddress(Form3->sEdit1->Text(), Form3->sEdit2->Text()));
  else
    OpenWebPage(HomeAddress());
}

void TForm1::QR2Click(TObject* Sender) {
  if (StationChosen()) QR1Click(Sender);
}

void TForm1::Image14Click(TObject* Sender) {
  if (StationChosen()) QR1Click(Sender);
}
