#include "player/favourites.h"

#include "framework/convert.h"
#include "framework/files.h"
#include "framework/text_file.h"
#include "player/main_window.h"

bool IsFavourite(int N) {
  const std::string path = PlayerFolder() + "favs.txt";
  if (!efir::FileExists(path)) return false;
  TTextFile file;
  file.Reset(path);
  bool found = false;
  while (!file.Eof())
    if (efir::StrToInt(file.ReadLine()) == N) found = true;
  file.Close();
  return found;
}

void FillFavouritesGrid() {
  // The favourite tiles are built with the favourites' own work.
}
