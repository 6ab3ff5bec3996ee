// The favourites list `favs.txt`: one station number per line, in the order added.
#pragma once

// Whether station N is in `favs.txt` (false when there is no file).
bool IsFavourite(int N);
// Reads the favourites and rebuilds their tiles (with the favourites' own work).
void FillFavouritesGrid();
