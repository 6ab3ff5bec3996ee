// The folder scan that fills the tiles, and the list view's catalogue.
#include "framework/application.h"
#include "grid/data_grid.h"
#include "framework/files.h"
#include "framework/text_file.h"
#include "framework/text_encoding.h"
#include "player/favourites.h"
#include "player/main_window.h"
#include "player/views.h"

void TForm1::Button2Click(TObject*) {
  std::vector<std::string> names;
  for (const TSearchRec& entry : efir::FindFiles(PlayerFolder() + "Stations\\*.*"))
    if (entry.Name != "." && entry.Name != "..") names.push_back(entry.Name);
  StationCount = ScanStationNames(names, LogoExtensions);
  // Logos may have changed with the folder; the tiles keep what they show until refilled.
  StationLogos.Clear();
  FillTileGrid();
  FillFavouritesGrid();
  if (StationCount - 1 > kMaxStations)
    Application.ShowException("Эфирушка показывает не больше " + std::to_string(kMaxStations) +
                              " радиостанций: радиостанции папки Stations с номерами больше " +
                              std::to_string(kMaxStations) + " не показаны.");
}

// A line that names no station (no "|") makes no row; it keeps its station number all the same.
void FillStationList() {
  TDataGrid* grid = Form1->DataGrid3;
  TTextFile file;
  file.Reset(PlayerFolder() + "Stations.txt");
  for (int i = 1; !file.Eof(); ++i) {
    const std::string line = file.ReadLine();
    if (line.find('|') == std::string::npos) continue;
    std::string name = CatalogueStationName(line);
    int row = grid->AddRow();
    grid->SetCellText(0, row, std::to_wstring(i));
    grid->SetCellText(1, row, efir::text::fromAnsi(name));
    grid->SetCellText(2, row, L">>>>>>");
  }
  file.Close();
}
