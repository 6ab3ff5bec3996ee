#include "player/views.h"

#include "grid/data_grid.h"
#include "player/main_window.h"
#include "stations/station_logo.h"

void FillTileGrid() {
  TDataGrid* grid = Form1->DataGrid1;
  int row = grid->AddRow();
  int column = 0;
  for (int station = 1; station < StationCount; ++station) {
    const std::string& extension = LogoExtensions[station];
    if (!IsTileExtension(extension)) continue;
    // The tiles' pictures live as long as the program.
    grid->GetCell(column, row)->CellObject =
        NewStationLogo(StationLogoPath(PlayerFolder(), station, extension), extension).release();
    if (++column == kTilesPerRow) {
      column = 0;
      row = grid->AddRow();
    }
  }
}
