// The favourites: the star toggle, `favs.txt` after each change and after a failed write, the
// favourite tiles and their clicks, and the bound of the list in memory.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "framework/exceptions.h"
#include "player/tests/views_fixture.h"
#include "tests/support/capture.h"

namespace {

using views_test::Name;
using views_test::ViewsTest;
using views_test::WriteLines;

class Favourites : public ViewsTest {
 protected:
  // The star shows fav.png or notfav.png; here the first is a 90-pixel logo, so that the
  // picture's width tells which one shows.
  void SetUp() override {
    ViewsTest::SetUp();
    efir::CopyFile(folder_.file("Stations\\1.png"), folder_.file("fav.png"), false);
  }

  bool StarShowsFavourite() const { return Form1->Image3->Picture().Width() == 90; }

  std::string FavsBytes() const {
    std::ifstream in(Favs(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  static void Star() { Form1->Image3->Click(); }
  static void PlayTile(int station) {
    Form1->DataGrid1->SelectCell((station - 1) % 5, (station - 1) / 5);
  }
};

TEST_F(Favourites, StarAddsAndRemovesTheCurrentStation) {
  StartWithStations(7);
  PlayTile(3);
  EXPECT_FALSE(StarShowsFavourite());
  Star();
  EXPECT_EQ(FavsBytes(), "3\r\n");
  EXPECT_TRUE(StarShowsFavourite());
  EXPECT_EQ(Form1->Image3->Hint(), "Убрать из избранного");
  EXPECT_EQ(CurrentIsFavourite, 1);

  PlayTile(5);
  EXPECT_FALSE(StarShowsFavourite());
  Star();
  EXPECT_EQ(FavsBytes(), "3\r\n5\r\n");
  Star();
  EXPECT_EQ(FavsBytes(), "3\r\n");
  EXPECT_FALSE(StarShowsFavourite());
  EXPECT_EQ(Form1->Image3->Hint(), "Добавить в избранного");
  EXPECT_EQ(CurrentIsFavourite, 0);

  // The last one goes: the file stays, empty.
  PlayTile(3);
  EXPECT_TRUE(StarShowsFavourite());
  Star();
  EXPECT_TRUE(efir::FileExists(Favs()));
  EXPECT_EQ(FavsBytes(), "");
  Form1->RxLabel3->Click();
  EXPECT_EQ(Form1->DataGrid2->RowCount(), 1);
  EXPECT_EQ(Form1->DataGrid2->GetCell(0, 0)->CellObject, nullptr);
}

TEST_F(Favourites, RemovingTakesEveryCopyAndLeavesNoBlankLines) {
  WriteLines(Favs(), {"3", "5", "3", "7", "3"});
  StartWithStations(7);
  PlayTile(3);
  Star();
  EXPECT_EQ(FavsBytes(), "5\r\n7\r\n");
}

TEST_F(Favourites, LinesThatAreNoStationNumberArePassedOverAndKept) {
  // A file edited by hand: a blank line, a word, a line of blanks.
  WriteLines(Favs(), {"3", "", "пять", "5", " "});
  const std::string edited = FavsBytes();
  StartWithStations(7);
  PlayTile(3);
  EXPECT_TRUE(StarShowsFavourite());
  PlayTile(4);
  EXPECT_FALSE(StarShowsFavourite());
  Form1->RxLabel3->Click();
  EXPECT_EQ(FavouritesList, (std::vector<int>{3, 5}));
  EXPECT_EQ(FavouriteTiles.Stations, (std::vector<int>{3, 5}));
  EXPECT_TRUE(shown.empty()) << shown.front();
  // Reading leaves the file as it is; a removal keeps what it does not understand.
  EXPECT_EQ(FavsBytes(), edited);
  PlayTile(3);
  Star();
  EXPECT_EQ(FavsBytes(), "\r\nпять\r\n5\r\n \r\n");
  EXPECT_FALSE(IsFavourite(3));
}

TEST_F(Favourites, WithoutAStationTheStarDoesNothing) {
  StartWithStations(7);
  Star();
  EXPECT_FALSE(efir::FileExists(Favs()));
  EXPECT_EQ(Form1->Image3->Hint(), "Избранное");
}

TEST_F(Favourites, WithoutAFileNoStationIsAFavouriteAndTheTabIsEmpty) {
  StartWithStations(7);
  for (int station = 1; station <= 7; ++station) EXPECT_FALSE(IsFavourite(station));
  Form1->RxLabel3->Click();
  EXPECT_EQ(Form1->DataGrid2->RowCount(), 0);
  RemoveFavourite(3);
  EXPECT_FALSE(efir::FileExists(Favs()));

  // The file goes while the star says "favourite": the star still turns, and adds again.
  PlayTile(3);
  Star();
  std::filesystem::remove(Favs());
  Star();
  EXPECT_FALSE(StarShowsFavourite());
  EXPECT_TRUE(shown.empty()) << shown.front();
  Star();
  EXPECT_EQ(FavsBytes(), "3\r\n");
}

TEST_F(Favourites, PageHasATileForEachFavouriteWithALogoAndPlaysWhatItShows) {
  // 99 and 0 name no station: they get no tile, and the tiles after them keep their station.
  WriteLines(Favs(), {"6", "2", "99", "0", "4", "7", "1", "3", "5"});
  StartWithStations(7);
  Form1->RxLabel3->Click();
  EXPECT_EQ(FavouritesList, (std::vector<int>{6, 2, 99, 0, 4, 7, 1, 3, 5}));
  EXPECT_EQ(FavouriteTiles.Stations, (std::vector<int>{6, 2, 4, 7, 1, 3, 5}));
  TDataGrid* page = Form1->DataGrid2;
  ASSERT_EQ(page->RowCount(), 2);
  EXPECT_NE(page->GetCell(1, 1)->CellObject, nullptr);
  EXPECT_EQ(page->GetCell(2, 1)->CellObject, nullptr);

  Form1->Repaint();
  Application.ProcessMessages();
  efir::test::saveScreenshot(Form1->Handle(), "player-favourites");

  page->SelectCell(2, 0);
  EXPECT_EQ(PlayedStation(), 4);
  EXPECT_EQ(Form1->Image3->Hint(), "Убрать из избранного");
  EXPECT_EQ(Form1->RxTrayIcon1->Hint(), Name(4));

  // The file changed behind the tiles: the tile still plays its station, now no favourite.
  RemoveFavourite(2);
  page->SelectCell(1, 0);
  EXPECT_EQ(PlayedStation(), 2);
  EXPECT_EQ(Form1->Image3->Hint(), "Добавить в избранноe");  // a Latin "e" at the end
  EXPECT_EQ(CurrentIsFavourite, 0);

  // A tile beyond the favourites plays nothing.
  mediaPlayer->ClearCalls();
  page->SelectCell(3, 1);
  EXPECT_TRUE(mediaPlayer->Calls().empty());
  EXPECT_EQ(Settings.LastStation, 2);
}

TEST_F(Favourites, RightPressOnAFavouriteTileRemovesItAndKeepsItsRowInView) {
  std::vector<std::string> favs;
  for (int station = 1; station <= 20; ++station) favs.push_back(std::to_string(station));
  WriteLines(Favs(), favs);
  StartWithStations(20);
  Form1->RxLabel3->Click();
  TDataGrid* page = Form1->DataGrid2;
  ASSERT_EQ(page->RowCount(), 5);

  RightPress(page);
  page->SelectCell(2, 3);  // station 18
  favs.erase(favs.begin() + 17);
  EXPECT_EQ(views_test::ReadLines(Favs()), favs);
  EXPECT_EQ(page->RowCount(), 4);
  EXPECT_EQ(TileStation(FavouriteTiles, 2, 3), 19);
  EXPECT_GE(page->LastRowInView(), 3);
  EXPECT_FALSE(AddFavouriteMode);
  EXPECT_TRUE(mediaPlayer->Calls().empty());

  // Beyond the last favourite there is nothing to remove.
  RightPress(page);
  page->SelectCell(4, 3);
  EXPECT_EQ(views_test::ReadLines(Favs()), favs);
  EXPECT_FALSE(AddFavouriteMode);
}

TEST_F(Favourites, AFailedWriteLeavesTheListAsItWas) {
  WriteLines(Favs(), {"3", "5"});
  StartWithStations(7);
  // The replacement file cannot be made where a folder of its name stands.
  std::filesystem::create_directory(Favs() + ".new");
  EXPECT_THROW(AddFavourite(7), EInOutError);
  EXPECT_THROW(RemoveFavourite(3), EInOutError);
  EXPECT_EQ(FavsBytes(), "3\r\n5\r\n");

  // The star keeps showing what the file holds.
  PlayTile(3);
  EXPECT_THROW(Form1->Image3Click(Form1->Image3), EInOutError);
  EXPECT_TRUE(StarShowsFavourite());
  EXPECT_EQ(CurrentIsFavourite, 1);
  EXPECT_EQ(FavsBytes(), "3\r\n5\r\n");

  std::filesystem::remove(Favs() + ".new");
  Star();
  EXPECT_EQ(FavsBytes(), "5\r\n");
}

TEST_F(Favourites, AWriteCutShortByAKillIsTidiedAtStartAndTheFileKept) {
  WriteLines(Favs(), {"3", "5"});
  WriteLines(Favs() + ".new", {"3", "5", "7"});
  StartWithStations(7);
  EXPECT_FALSE(std::filesystem::exists(Favs() + ".new"));
  EXPECT_EQ(FavsBytes(), "3\r\n5\r\n");
  EXPECT_EQ(FavouritesList, (std::vector<int>{3, 5}));
}

TEST_F(Favourites, TheListInMemoryHoldsAThousandNumbersAndTheFileMore) {
  std::vector<std::string> favs(1000, "1");
  favs.insert(favs.end(), {"7", "7", "7"});
  WriteLines(Favs(), favs);
  StartWithStations(7);
  EXPECT_EQ(FavouritesList.size(), 1000u);
  EXPECT_EQ(FavouriteTiles.Stations.size(), 1000u);
  EXPECT_EQ(Form1->DataGrid2->RowCount(), 201);
  EXPECT_TRUE(IsFavourite(7));
}

}  // namespace
