// The three station views of the main window: the tiles of all stations (DataGrid1), the
// favourite tiles (DataGrid2) and the list of the catalogue (DataGrid3), with the tabs, the
// tiles/list switch and the scroll bar that drives whichever grid shows. The main window's
// handlers of these live in views.cpp; the favourites themselves in favourites.h.
//
// Five tiles a row: tile (column c, row r) of the all-stations grid is station c + 5 r + 1,
// which the list, the random-station key and the search rely on to play station N through
//   Form1->DataGrid1SelectCell(Form1->DataGrid1, N % 5 - 1, N / 5);
// The favourite tiles remember which favourite each tile shows (FavouriteTiles).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/graphics.h"
#include "stations/station_logo.h"

class TDataGrid;

inline constexpr int kTilesPerRow = 5;

// The tiles of one grid: the station each tile shows, in tile order, and the logos of the
// tiles read so far (empty until a tile first comes into view), which the grid only points at.
struct TTileSet {
  std::vector<int> Stations;
  std::vector<std::shared_ptr<TGraphic>> Pictures;
};

extern TTileSet AllStationTiles;
extern TTileSet FavouriteTiles;
// The logos every view of the player shows, each read once: cleared by the folder scan.
extern TStationLogos StationLogos;

// Rebuilds the tiles of `grid` from `stations` in order: a tile for each station whose logo
// is a ".jpg", ".gif" or ".png" (others are passed over), five a row, at least one row. The
// grid's old rows go first. The logos of the tiles in view are read at once, the others as
// they come into view (ReadTilesBeforePaint), so that a long folder starts as fast as a short
// one and what a start reports still shows at the start.
void FillTiles(TDataGrid* grid, const std::vector<int>& stations, TTileSet& tiles);
// Reads the logo of each tile in view (and of the row showing in part under them) that has
// not been read yet.
void ReadTilesInView(TDataGrid* grid, TTileSet& tiles);
// Whatever brings tiles into view (scrolling, keys, the search), `grid` reads them before it
// paints them; set once, where the grid is made.
void ReadTilesBeforePaint(TDataGrid* grid, TTileSet& tiles);
// The station of tile (ACol, ARow), or 0 where there is no tile.
int TileStation(const TTileSet& tiles, int ACol, int ARow);

// Builds the all-station tiles from the last folder scan: stations 1 .. StationCount - 1.
void FillTileGrid();

// Whether station N is one the store can hold and its station file is there.
bool StationExists(int N);
// The name of station N: line 2 of its station file.
std::string StationName(int N);

// Shows the rows of the list whose station name holds `filter`, letter case aside by
// UpperCaseCyr; an empty filter shows every row.
void FilterStationList(const std::string& filter);
