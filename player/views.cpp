#include "player/views.h"

#include <algorithm>

#include "framework/application.h"
#include "framework/convert.h"
#include "framework/files.h"
#include "framework/text_encoding.h"
#include "framework/text_utils.h"
#include "grid/data_grid.h"
#include "player/favourites.h"
#include "player/layout.h"
#include "player/main_window.h"
#include "player/playback.h"
#include "player/settings_dialog.h"
#include "player/station_dialog.h"
#include "stations/station_logo.h"

TTileSet AllStationTiles;
TTileSet FavouriteTiles;
TStationLogos StationLogos;

namespace {

// Tab marker positions under "РАДИОСТАНЦИИ" and "ИЗБРАННОЕ".
constexpr int kAllStationsTabLeft = 10;
constexpr int kFavouritesTabLeft = 158;
// The favourite tiles follow the scroll bar only when they fill more than the grid shows.
constexpr int kFavouriteRowsInView = 3;

TForm1& Form() { return *Form1; }

// The station a list row stands for: its number in the "#" column.
int ListStation(int ARow) {
  return efir::StrToInt(efir::text::toAnsi(Form().DataGrid3->GetCellText(0, ARow)));
}

// A right press armed the adding: station N goes to the favourites unless it is one, and a
// hint on the grid tells which.
void AddToFavouritesWithHint(TDataGrid* grid, int N) {
  std::string hint = StationName(N);
  if (IsFavourite(N)) {
    hint += " - Уже в избранном";
  } else {
    AddFavourite(N);
    hint += " - Добавлено в избранное";
  }
  grid->ShowHintAt(0, 0, efir::text::fromAnsi(hint));
}

// What every station click does first, whether or not a station plays: the settings dialog's
// update and open-last boxes catch up with the settings.
void PrepareStationSelect() {
  if (Settings.check_updates == 1) Form2->sCheckBox2->SetChecked(true);
  if (Settings.open_last) Form2->sCheckBox1->SetChecked(true);
  TForm1& form = Form();
  form.RxLabel7->Font().SetStyle(form.RxLabel7->Font().Style() & ~fsUnderline);
}

// Stops what plays, then plays station N and shows whether it is a favourite.
void PlayStation(int N, const char* notFavouriteHint) {
  TForm1& form = Form();
  form.sBitBtn3Click(form.sBitBtn3);
  SelectStation(N);
  Settings.LastStation = N;
  form.sBitBtn1->SetEnabled(true);
  form.sBitBtn2->SetEnabled(true);
  form.sBitBtn3->SetEnabled(true);
  ShowFavouriteState(N, notFavouriteHint);
}

// What every station click does last: the editor dialog and the tray follow the station.
void FinishStationSelect() {
  TForm1& form = Form();
  if (form.RxLabel6->Caption() != kSlogan) FillStationDialog();
  form.RxTrayIcon1->SetHint(form.RxLabel6->Caption());
}

// Station names show as the tiles' hints when the settings ask for them.
void ShowStationNameHint(int N, std::wstring& Value) {
  if (Settings.help != 1 && !Form2->sCheckBox5->Checked()) return;
  if (StationExists(N)) Value = efir::text::fromAnsi(StationName(N));
}

// The scroll bar's range becomes the rows of `grid`, and the grid shows row `position`.
void ScrollGridTo(TDataGrid* grid, int position) {
  TsScrollBar* bar = Form().sScrollBar1;
  bar->SetParams(bar->Position(), 0, std::max(0, grid->RowCount() - 1));
  grid->ScrollToRow(position);
}

}  // namespace

void FillTiles(TDataGrid* grid, const std::vector<int>& stations, TTileSet& tiles) {
  grid->ClearRows();
  // The old pictures go only once no cell points at them any more.
  tiles.Stations.clear();
  tiles.Pictures.clear();
  for (int station : stations)
    if (IsTileExtension(LogoExtensions[station])) tiles.Stations.push_back(station);
  tiles.Pictures.resize(tiles.Stations.size());
  grid->AddRow(static_cast<int>(tiles.Stations.size()) / kTilesPerRow + 1);
  ReadTilesInView(grid, tiles);
}

void ReadTilesInView(TDataGrid* grid, TTileSet& tiles) {
  const int last = std::min(grid->LastRowInView() + 1, grid->RowCount() - 1);
  const size_t end = std::min(tiles.Stations.size(), static_cast<size_t>(last + 1) * kTilesPerRow);
  for (size_t tile = static_cast<size_t>(grid->TopRow()) * kTilesPerRow; tile < end; ++tile) {
    if (tiles.Pictures[tile]) continue;
    const int station = tiles.Stations[tile];
    tiles.Pictures[tile] = StationLogos.Get(PlayerFolder(), station, LogoExtensions[station]);
    const int row = static_cast<int>(tile / kTilesPerRow), column = static_cast<int>(tile % kTilesPerRow);
    grid->GetCell(column, row)->CellObject = tiles.Pictures[tile].get();
  }
}

void ReadTilesBeforePaint(TDataGrid* grid, TTileSet& tiles) {
  TWndMethod gridProc = grid->WindowProc();
  grid->SetWindowProc([grid, &tiles, gridProc](TMessage& message) {
    if (message.Msg == WM_PAINT) ReadTilesInView(grid, tiles);
    gridProc(message);
  });
}

int TileStation(const TTileSet& tiles, int ACol, int ARow) {
  if (ACol < 0 || ACol >= kTilesPerRow || ARow < 0) return 0;
  const size_t tile = static_cast<size_t>(ARow) * kTilesPerRow + static_cast<size_t>(ACol);
  return tile < tiles.Stations.size() ? tiles.Stations[tile] : 0;
}

void FillTileGrid() {
  std::vector<int> stations;
  for (int station = 1; station < StationCount; ++station) stations.push_back(station);
  FillTiles(Form().DataGrid1, stations, AllStationTiles);
}

bool StationExists(int N) {
  return N >= 1 && N <= kMaxStations && efir::FileExists(StationFilePath(PlayerFolder(), N));
}

std::string StationName(int N) {
  return ReadStationFile(StationFilePath(PlayerFolder(), N)).Name;
}

namespace {

// UpperCaseCyr on the list's wide text, letter for letter: the list holds Windows-1251 text,
// whose "a".."z" and "а".."я" are these wide letters. Comparing in place spares a conversion
// and two copies of every name at every key.
wchar_t UpperCyr(wchar_t letter) {
  const bool lower = (letter >= L'a' && letter <= L'z') || (letter >= 0x430 && letter <= 0x44F);
  return lower ? static_cast<wchar_t>(letter - 32) : letter;
}

bool HoldsUpperCyr(const std::wstring& text, const std::wstring& key) {
  return std::search(text.begin(), text.end(), key.begin(), key.end(), [](wchar_t a, wchar_t b) {
           return UpperCyr(a) == b;
         }) != text.end();
}

}  // namespace

void FilterStationList(const std::string& filter) {
  TDataGrid* grid = Form().DataGrid3;
  std::wstring key = efir::text::fromAnsi(filter);
  std::transform(key.begin(), key.end(), key.begin(), UpperCyr);
  grid->BeginUpdate();
  for (int row = 0; row < grid->RowCount(); ++row)
    grid->SetRowVisible(row, key.empty() || HoldsUpperCyr(grid->GetCellText(1, row), key));
  grid->EndUpdate();
}

// --- Station clicks ---------------------------------------------------------------------

void TForm1::DataGrid1SelectCell(TObject*, int ACol, int ARow) {
  const int N = ACol + kTilesPerRow * ARow + 1;
  if (!StationExists(N)) {
    // A right press on an empty tile must not turn the next click into an adding.
    AddFavouriteMode = false;
    return;
  }
  if (AddFavouriteMode) {
    AddFavouriteMode = false;
    AddToFavouritesWithHint(DataGrid1, N);
    return;
  }
  PrepareStationSelect();
  PlayStation(N, "Добавить в избранное");
  FinishStationSelect();
}

void TForm1::DataGrid2SelectCell(TObject*, int ACol, int ARow) {
  const int N = TileStation(FavouriteTiles, ACol, ARow);
  if (AddFavouriteMode) {
    AddFavouriteMode = false;
    if (N != 0) {
      RemoveFavourite(N);
      RxLabel3Click(RxLabel3);
      DataGrid2->ScrollToRow(std::min(ARow, DataGrid2->RowCount() - 1));
    }
  } else {
    PrepareStationSelect();
    if (StationExists(N)) PlayStation(N, "Добавить в избранноe");  // a Latin "e" at the end
  }
  FinishStationSelect();
}

void TForm1::DataGrid3SelectCell(TObject*, int ACol, int ARow) {
  Edit1->SetText(std::to_string(ARow));
  const bool adding = AddFavouriteMode;
  AddFavouriteMode = false;
  // Only "Слушать" plays, and not while the press belongs to a header sort.
  if (!adding && (ListSorting || ACol <= 1)) return;
  const int N = ListStation(ARow);
  // The catalogue may name more stations than the store can hold: the user learns why
  // nothing happens.
  if (N > kMaxStations) {
    Application.ShowException("Эфирушка показывает не больше " + std::to_string(kMaxStations) +
                              " радиостанций: радиостанция " + std::to_string(N) +
                              " не включается.");
    return;
  }
  // It may also name stations the folder lacks.
  if (adding) {
    if (StationExists(N)) AddToFavouritesWithHint(DataGrid3, N);
    return;
  }
  DataGrid1SelectCell(DataGrid1, N % kTilesPerRow - 1, N / kTilesPerRow);
}

// The grid raises its mouse-down before it selects the cell under the mouse, for either
// button: a right press turns that selection into adding or removing a favourite, and any
// other press plays, whatever an earlier right press left armed.
void TForm1::DataGrid1MouseDown(TObject*, TMouseButton Button, TShiftState, int, int) {
  AddFavouriteMode = Button == mbRight;
}

void TForm1::DataGrid2MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X,
                                int Y) {
  DataGrid1MouseDown(Sender, Button, Shift, X, Y);
}

void TForm1::DataGrid3MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X,
                                int Y) {
  DataGrid1MouseDown(Sender, Button, Shift, X, Y);
}

void TForm1::DataGrid1CellHint(TObject*, int ACol, int ARow, std::wstring& Value) {
  ShowStationNameHint(ACol + kTilesPerRow * ARow + 1, Value);
}

void TForm1::DataGrid2CellHint(TObject*, int ACol, int ARow, std::wstring& Value) {
  ShowStationNameHint(TileStation(FavouriteTiles, ACol, ARow), Value);
}

void TForm1::DataGrid3SortColumn(TObject*, int ACol, bool) {
  ListSorting = true;
  Edit2->SetText(std::to_string(ACol));
}

void TForm1::DataGrid3MouseUp(TObject*, TMouseButton, TShiftState, int, int) {
  ListSorting = false;
}

void TForm1::sEdit1KeyUp(TObject*, WORD&, TShiftState) { FilterStationList(sEdit1->Text()); }

// --- Tabs and the tiles/list switch -----------------------------------------------------

void TForm1::RxLabel3Click(TObject*) {
  Image12->SetLeft(kFavouritesTabLeft);
  FavouritesViewActive = true;
  FavouritesScrollPos = 0;
  AllStationsViewActive = false;
  sScrollBar1->SetPosition(0);
  // The favourite tiles cover the all-station tiles, which stay as they are.
  DataGrid2->Show();
  DataGrid2->BringToFront();
  DataGrid3->Hide();
  FillFavouritesGrid();
  FavouritesShown = 1;
}

void TForm1::RxLabel2Click(TObject*) {
  Image12->SetLeft(kAllStationsTabLeft);
  AllStationsViewActive = true;
  FavouritesViewActive = false;
  sScrollBar1->SetEnabled(true);
  if (!ListShown) sScrollBar1->SetPosition(AllStationsScrollPos);
  DataGrid2->Hide();
  if (!TileMode) DataGrid3->Show();
  FavouritesShown = 0;
}

void TForm1::Image10Click(TObject*) {
  sScrollBar1->SetEnabled(true);
  RxLabel2Click(RxLabel2);
  // The pictures come from the program folder: started by the autostart value, the player
  // runs in another current folder.
  const bool showList = TileMode;
  layout::LoadPicture(Image10, showList ? "icons.png" : "list.png");
  DataGrid3->SetVisible(showList);
  DataGrid1->SetVisible(!showList);
  Image10->SetHint(showList ? "Переключить в режим иконок" : "Переключить в режим списка");
  TileMode = !showList;
  ListShown = showList;
  AllStationsViewActive = !showList;
}

// --- Scrolling --------------------------------------------------------------------------

void TForm1::sScrollBar1Scroll(TObject*, TScrollCode, int& ScrollPos) {
  const int position = ScrollPos;
  if (AllStationsViewActive && !ListShown) {
    AllStationsScrollPos = position;
    ScrollGridTo(DataGrid1, position);
  }
  if (FavouritesViewActive && DataGrid2->RowCount() > kFavouriteRowsInView) {
    FavouritesScrollPos = position;
    ScrollGridTo(DataGrid2, position);
  }
  // The favourites tab covers the list without clearing ListShown.
  const bool favouritesCoverList =
      FavouritesViewActive && DataGrid2->Visible() && !AllStationsViewActive;
  if (ListShown && !favouritesCoverList) {
    ListScrollPos = position;
    ScrollGridTo(DataGrid3, position);
  }
}

void TForm1::DataGrid1VerticalScroll(TObject*, int Position) {
  sScrollBar1->SetPosition(Position);
  Edit3->SetText(std::to_string(Position));
}

void TForm1::DataGrid2VerticalScroll(TObject* Sender, int Position) {
  DataGrid1VerticalScroll(Sender, Position);
}

void TForm1::DataGrid3VerticalScroll(TObject* Sender, int Position) {
  DataGrid1VerticalScroll(Sender, Position);
}

void TForm1::DataGrid1MouseEnter(TObject*) {
  if (DataGrid1->CanFocus()) DataGrid1->SetFocus();
}

void TForm1::DataGrid2MouseEnter(TObject*) {
  if (DataGrid2->CanFocus()) DataGrid2->SetFocus();
}
