// The favourites list `favs.txt` in the program folder: one station number per line, in the
// order added. The favourite tiles (DataGrid2) show it and the star picture Image3 of the main
// window toggles the current station (TForm1::Image3Click, here); the views add and remove
// favourites after a right-button press.
//
//   if (!IsFavourite(7)) AddFavourite(7);
//   RemoveFavourite(7);             // every line of 7 goes
//   FillFavouritesGrid();           // reads the file into FavouritesList and the tiles
//
// The file is always rewritten whole, so that a failed write leaves the list as it was.
// A line that is not a decimal number names no station: every reader passes it over, and
// the file keeps it until the user changes it.
#pragma once

#include <vector>

// The list in memory holds this many numbers at most; the file may hold more.
inline constexpr size_t kMaxFavourites = 1000;

// The numbers of `favs.txt` in file order, as the last FillFavouritesGrid read them.
extern std::vector<int> FavouritesList;

// Appends N (creating the file when there is none).
void AddFavourite(int N);
// Removes every line whose number is N; without a file there is nothing to remove.
void RemoveFavourite(int N);
// Whether station N is in `favs.txt` (false when there is no file).
bool IsFavourite(int N);
// Reads the favourites into FavouritesList and rebuilds their tiles; without a file the
// list and the tiles stay as they were.
void FillFavouritesGrid();

// Shows in the star picture Image3 whether station N is a favourite (the picture, the
// current-is-favourite flag and the hint; `notFavouriteHint` is the hint for a station that
// is not one).
void ShowFavouriteState(int N, const char* notFavouriteHint);
