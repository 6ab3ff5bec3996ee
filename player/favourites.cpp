#include "player/favourites.h"

#include <algorithm>
#include <string>

#include "framework/convert.h"
#include "framework/files.h"
#include "framework/text_file.h"
#include "player/main_window.h"
#include "player/views.h"

std::vector<int> FavouritesList;

namespace {

std::string FavouritesPath() { return PlayerFolder() + "favs.txt"; }

// Every line of `favs.txt` as it stands; none when there is no file.
std::vector<std::string> ReadFavouriteLines() {
  std::vector<std::string> lines;
  if (!efir::FileExists(FavouritesPath())) return lines;
  TTextFile file;
  file.Reset(FavouritesPath());
  while (!file.Eof()) lines.push_back(file.ReadLine());
  file.Close();
  return lines;
}

// Replaces the file whole: a failure leaves the old list, never a part of it.
void WriteFavouriteLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  efir::WriteFileSafely(FavouritesPath(), text);
}

// The station numbers of `favs.txt` in file order. A line that is no number (a blank line of
// a file edited by hand) names no station and is passed over; the file keeps it.
std::vector<int> ReadFavouriteNumbers() {
  std::vector<int> numbers;
  for (const std::string& line : ReadFavouriteLines()) {
    int number = 0;
    if (efir::TryStrToInt(line, number)) numbers.push_back(number);
  }
  return numbers;
}

}  // namespace

void AddFavourite(int N) {
  std::vector<std::string> lines = ReadFavouriteLines();
  lines.push_back(std::to_string(N));
  WriteFavouriteLines(lines);
}

void RemoveFavourite(int N) {
  if (!efir::FileExists(FavouritesPath())) return;
  std::vector<std::string> kept;
  for (const std::string& line : ReadFavouriteLines()) {
    int number = 0;
    if (!efir::TryStrToInt(line, number) || number != N) kept.push_back(line);
  }
  WriteFavouriteLines(kept);
}

bool IsFavourite(int N) {
  const std::vector<int> numbers = ReadFavouriteNumbers();
  return std::find(numbers.begin(), numbers.end(), N) != numbers.end();
}

void FillFavouritesGrid() {
  if (!efir::FileExists(FavouritesPath())) return;
  std::vector<int> numbers = ReadFavouriteNumbers();
  if (numbers.size() > kMaxFavourites) numbers.resize(kMaxFavourites);
  FavouritesList = std::move(numbers);
  FillTiles(Form1->DataGrid2, FavouritesList, FavouriteTiles);
}

void ShowFavouriteState(int N, const char* notFavouriteHint) {
  TForm1& form = *Form1;
  const bool favourite = IsFavourite(N);
  form.Image3->Picture().LoadFromFile(PlayerFolder() + (favourite ? "fav.png" : "notfav.png"));
  CurrentIsFavourite = favourite ? 1 : 0;
  form.Image3->SetHint(favourite ? "Убрать из избранного" : notFavouriteHint);
}

void TForm1::Image3Click(TObject*) {
  const int station = Settings.LastStation;
  if (station <= 0) return;
  // The file changes first: when it cannot, the star keeps showing what the file holds.
  if (CurrentIsFavourite == 1 || IsFavourite(station)) {
    RemoveFavourite(station);
    Image3->Picture().LoadFromFile(PlayerFolder() + "notfav.png");
    if (FavouritesShown == 1) RxLabel3Click(RxLabel3);
    CurrentIsFavourite = 0;
    Image3->SetHint("Добавить в избранного");
  } else {
    AddFavourite(station);
    Image3->Picture().LoadFromFile(PlayerFolder() + "fav.png");
    CurrentIsFavourite = 1;
    Image3->SetHint("Убрать из избранного");
  }
}
