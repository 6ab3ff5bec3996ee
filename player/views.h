// The three station views of the main window: the tiles of all stations (DataGrid1), the
// favourite tiles (DataGrid2) and the list of the catalogue (DataGrid3). Five tiles a row:
// tile (column c, row r) of the all-stations grid is station c + 5 r + 1.
#pragma once

inline constexpr int kTilesPerRow = 5;

// Builds the all-station tiles from the last folder scan: one tile per station whose logo
// is a ".jpg", ".gif" or ".png", in station order. The grid is not cleared first.
void FillTileGrid();
