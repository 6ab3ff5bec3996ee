// The station views: tile and list clicks, the list's filter and sort, the right press that
// adds favourites, station-name hints, the tabs, the tiles/list switch and the scroll bar.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <numeric>
#include <set>

#include <png.h>

#include "framework/text_encoding.h"
#include "grid/column_kinds.h"
#include "player/settings_dialog.h"
#include "player/station_dialog.h"
#include "player/tests/views_fixture.h"
#include "tests/support/capture.h"
#include "tests/support/window.h"

namespace {

using views_test::ConfigLines;
using views_test::Name;
using views_test::ReadLines;
using views_test::ViewsTest;
using views_test::WriteLines;

using Views = ViewsTest;

// The user moves the scroll bar to `position`, as the bar reports it and then shows it.
void UserScrollsTo(int position) {
  TsScrollBar* bar = Form1->sScrollBar1;
  bar->OnScroll(bar, scPosition, position);
  bar->SetPosition(position);
}

TEST_F(Views, TileClickPlaysTheStationOfItsColumnAndRow) {
  StartWithStations(20);
  const struct {
    int col, row, station;
  } cases[] = {{0, 0, 1}, {4, 0, 5}, {0, 1, 6}, {2, 3, 18}, {4, 3, 20}};
  for (const auto& [col, row, station] : cases) {
    mediaPlayer->ClearCalls();
    Form1->DataGrid1->SelectCell(col, row);
    EXPECT_EQ(PlayedStation(), station) << col << "," << row;
    EXPECT_EQ(mediaPlayer->Calls().front(), "stop");
    EXPECT_EQ(Settings.LastStation, station);
    EXPECT_EQ(Form1->RxLabel6->Caption(), Name(station));
    EXPECT_TRUE(Form1->sBitBtn1->Enabled() && Form1->sBitBtn2->Enabled() &&
                Form1->sBitBtn3->Enabled());
    EXPECT_EQ(Form1->Image3->Hint(), "Добавить в избранное");
    EXPECT_EQ(CurrentIsFavourite, 0);
    // The tray and the station editor dialog follow the station.
    EXPECT_EQ(Form1->RxTrayIcon1->Hint(), Name(station));
    EXPECT_EQ(Form3->sEdit1->Text(), Name(station));
  }
}

TEST_F(Views, TileClickShowsTheUpdateAndOpenLastSettingsInTheirDialog) {
  StartWithStations(7, ConfigLines(1, 1, 40, -1));
  ASSERT_FALSE(Form2->sCheckBox2->Checked() || Form2->sCheckBox1->Checked());
  Form1->DataGrid1->SelectCell(1, 0);
  EXPECT_TRUE(Form2->sCheckBox2->Checked());
  EXPECT_TRUE(Form2->sCheckBox1->Checked());
}

TEST_F(Views, CodeThatNamesAStationByColumnAndRowPlaysIt) {
  // The list, the random-station key and the search pass column N mod 5 - 1 and row N div 5.
  StartWithStations(20);
  for (int station : {1, 5, 10, 18, 20}) {
    Form1->DataGrid1SelectCell(Form1->DataGrid1, station % 5 - 1, station / 5);
    EXPECT_EQ(PlayedStation(), station);
  }
}

TEST_F(Views, ATileWithoutAStationFileDoesNothing) {
  StartWithStations(7);
  const int before = Settings.LastStation;
  Form1->DataGrid1->SelectCell(3, 1);  // station 9
  EXPECT_TRUE(mediaPlayer->Calls().empty());
  EXPECT_EQ(Settings.LastStation, before);
  EXPECT_EQ(Form1->RxLabel6->Caption(), kSlogan);
  EXPECT_FALSE(Form1->sBitBtn2->Enabled());
}

TEST_F(Views, ADamagedLogoCostsOnlyItsOwnPicture) {
  // Cut short, as a broken download leaves them: two logos, one message.
  for (const char* logo : {"Stations\\2.jpg", "Stations\\5.jpg"}) {
    const std::string path = folder_.file(logo);
    std::filesystem::resize_file(path, std::filesystem::file_size(path) / 2);
  }
  WriteLines(Favs(), {"5", "2", "1"});
  LayStations(7, ConfigLines(0, 0, 40, -1));
  Start();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].rfind("Не удалось прочитать логотип", 0), 0u) << shown[0];
  EXPECT_NE(shown[0].find(folder_.name() + "Stations\\2.jpg"), std::string::npos) << shown[0];

  // Every station keeps its tile, the damaged ones with the empty logo; the list is whole.
  EXPECT_EQ(AllStationTiles.Stations, (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
  for (int tile = 0; tile < 7; ++tile)
    EXPECT_NE(Form1->DataGrid1->GetCell(tile % 5, tile / 5)->CellObject, nullptr) << tile;
  EXPECT_EQ(Form1->DataGrid3->RowCount(),
            static_cast<int>(ReadLines(folder_.file("Stations.txt")).size()));
  Form1->Repaint();
  Application.ProcessMessages();
  efir::test::saveScreenshot(Form1->Handle(), "player-damaged-logos");

  // They play from their tile and from the play button.
  Form1->DataGrid1->SelectCell(1, 0);
  EXPECT_EQ(PlayedStation(), 2);
  EXPECT_EQ(Form1->RxLabel6->Caption(), Name(2));
  mediaPlayer->ClearCalls();
  Form1->sBitBtn2->Click();
  EXPECT_EQ(PlayedStation(), 2);

  // The favourites tab shows them too, without telling again.
  Form1->RxLabel3->Click();
  EXPECT_EQ(FavouriteTiles.Stations, (std::vector<int>{5, 2, 1}));
  for (int tile = 0; tile < 3; ++tile)
    EXPECT_NE(Form1->DataGrid2->GetCell(tile, 0)->CellObject, nullptr) << tile;
  Form1->DataGrid2->SelectCell(0, 0);
  EXPECT_EQ(PlayedStation(), 5);
  EXPECT_EQ(shown.size(), 1u);
}

// A logo larger than a tile: 1000 x 1000 pixels of one colour.
void WriteLargePng(const std::string& path) {
  std::vector<uint32_t> pixels(1000 * 1000, 0xFF3366CCu);
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = image.height = 1000;
  image.format = PNG_FORMAT_BGRA;
  ASSERT_TRUE(png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), 0, nullptr));
}

// The tiles read a logo when it first comes into view, and every view of a station shares one
// picture of the size a tile shows: a station named by a hundred favourites costs one decode.
TEST_F(Views, LogosAreReadAsTheirTilesComeIntoViewAndSharedByEveryView) {
  std::vector<std::string> favs(100, "1");
  favs.push_back("60");
  WriteLines(Favs(), favs);
  LayStations(60, ConfigLines(0, 0, 40, -1));
  WriteLargePng(folder_.file("Stations\\1.png"));
  // Station 50's logo is cut short: it is told of when it comes into view, once.
  std::filesystem::resize_file(folder_.file("Stations\\50.png"), 100);
  const int before = StationLogos.Decodes();
  Start();
  ASSERT_TRUE(shown.empty()) << shown.front();
  TDataGrid* tiles = Form1->DataGrid1;
  TDataGrid* favourites = Form1->DataGrid2;
  // The rows in view and the one under them that shows in part; the favourites' first rows,
  // all station 1, cost nothing more.
  const int read = (tiles->LastRowInView() + 2) * kTilesPerRow;
  EXPECT_LT(read, 60);
  EXPECT_EQ(StationLogos.Decodes() - before, read);
  EXPECT_EQ(tiles->GetCell(4, 11)->CellObject, nullptr);  // station 60, out of view
  TGraphic* first = tiles->GetCell(0, 0)->CellObject;
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->Width(), kLogoShownSize.cx);
  EXPECT_EQ(first->Height(), kLogoShownSize.cy);
  for (int tile = 0; tile < read; ++tile)
    EXPECT_EQ(favourites->GetCell(tile % 5, tile / 5)->CellObject, first) << tile;

  // Wheeled to the end, as the user would: the tiles that came into view were read on the way.
  for (int turn = 0; turn < 20 && tiles->LastRowInView() < tiles->RowCount() - 2; ++turn) {
    SendMessageW(tiles->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    efir::test::pumpFor(20);
  }
  ASSERT_GE(tiles->LastRowInView(), 11);
  efir::test::pumpFor(50);
  TGraphic* last = tiles->GetCell(4, 11)->CellObject;
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->Width(), 90);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_NE(shown[0].find("Stations\\50.png"), std::string::npos) << shown[0];
  EXPECT_NE(tiles->GetCell(4, 9)->CellObject, nullptr);  // the empty logo stands in
  const int decodes = StationLogos.Decodes() - before;
  EXPECT_LE(decodes, 61);  // nil.jpg too
  EXPECT_LE(StationLogos.BytesHeld(),
            static_cast<size_t>(decodes) * kLogoShownSize.cx * kLogoShownSize.cy * 4);

  // The favourites page, scrolled to its end, and the station dialog read nothing again.
  Form1->RxLabel3->Click();
  UserScrollsTo(favourites->RowCount() - 1);
  efir::test::pumpFor(50);
  EXPECT_EQ(favourites->GetCell(0, 20)->CellObject, last);
  tiles->SelectCell(0, 0);
  EXPECT_EQ(Form3->Image3->Picture().Width(), kLogoShownSize.cx);
  EXPECT_EQ(StationLogos.Decodes() - before, decodes);
  EXPECT_EQ(shown.size(), 1u);
}

TEST_F(Views, RightPressOnATileAddsItToTheFavouritesOnceAndPlaysNothing) {
  StartWithStations(7);
  Activate();
  const int before = Settings.LastStation;
  TDataGrid* grid = Form1->DataGrid1;
  for (const char* said : {" - Добавлено в избранное", " - Уже в избранном"}) {
    RightPress(grid);
    grid->SelectCell(2, 0);
    EXPECT_EQ(FavsLines(), std::vector<std::string>{"3"}) << said;
    EXPECT_EQ(ShownHint(), Name(3) + said);
    EXPECT_FALSE(AddFavouriteMode);
  }
  EXPECT_TRUE(mediaPlayer->Calls().empty());
  EXPECT_EQ(Settings.LastStation, before);

  // The adding is spent: the next click plays.
  grid->SelectCell(2, 0);
  EXPECT_EQ(PlayedStation(), 3);
  EXPECT_EQ(Form1->Image3->Hint(), "Убрать из избранного");
  EXPECT_EQ(CurrentIsFavourite, 1);
}

TEST_F(Views, ARightPressThatSelectsNoStationLeavesTheNextClickPlaying) {
  StartWithStations(7);
  // On a tile without a station, and then the random-station key.
  RightPress(Form1->DataGrid1);
  Form1->DataGrid1->SelectCell(4, 1);
  Form1->DataGrid1SelectCell(Form1->DataGrid1, 4 % 5 - 1, 4 / 5);
  EXPECT_EQ(PlayedStation(), 4);
  // Anywhere on a grid, followed by a left press on a tile.
  RightPress(Form1->DataGrid1);
  Form1->DataGrid1->OnMouseDown(Form1->DataGrid1, mbLeft, ssLeft, 0, 0);
  Form1->DataGrid1->SelectCell(1, 0);
  EXPECT_EQ(PlayedStation(), 2);
  EXPECT_FALSE(efir::FileExists(Favs()));
}

// A catalogue of seven stations and one the folder does not hold.
std::vector<std::string> Catalogue() {
  return {"1|Русское Радио|поп", "2|Радио Рекорд|танцы", "3|Европа Плюс|поп",
          "4|Ёлка FM|поп",       "5|ретро fm|ретро",     "6|Максимум|рок",
          "7|радио ёлка|поп",    "8|Лишняя|нет"};
}

TEST_F(Views, ListFilterKeepsTheRowsWhoseNameHoldsTheTextInAnyCase) {
  WriteLines(folder_.file("Stations.txt"), Catalogue());
  StartWithStations(7);
  const struct {
    const char* typed;
    std::vector<int> rows;
  } cases[] = {
      {"", {0, 1, 2, 3, 4, 5, 6, 7}},
      {"р", {0, 1, 2, 4, 6}},
      {"радио", {0, 1, 6}},
      {"РАДИО", {0, 1, 6}},
      {"рАдИо", {0, 1, 6}},
      {"fm", {3, 4}},
      {"FM", {3, 4}},
      {"плюс", {2}},
      // "ё" is not folded: it finds only itself.
      {"ёлка", {6}},
      {"Ёлка", {3}},
      {"xyz", {}},
      {"", {0, 1, 2, 3, 4, 5, 6, 7}},
  };
  TDataGrid* list = Form1->DataGrid3;
  for (const auto& [typed, rows] : cases) {
    Form1->sEdit1->SetText(typed);
    WORD key = 'A';
    Form1->sEdit1->OnKeyUp(Form1->sEdit1, key, 0);
    std::vector<int> shownRows;
    for (int row = 0; row < list->RowCount(); ++row)
      if (list->RowVisible(row)) shownRows.push_back(row);
    EXPECT_EQ(shownRows, rows) << typed;
  }
}

TEST_F(Views, ListPlaysFromTheListenColumnOnceNoSortHoldsThePress) {
  WriteLines(folder_.file("Stations.txt"), Catalogue());
  StartWithStations(7);
  TDataGrid* list = Form1->DataGrid3;
  auto release = [list] { list->OnMouseUp(list, mbLeft, 0, 0, 0); };

  // The very first press after start-up does not play; its release clears the way.
  list->SelectCell(2, 1);
  EXPECT_EQ(PlayedStation(), 0);
  release();
  list->SelectCell(2, 1);
  EXPECT_EQ(PlayedStation(), 2);
  EXPECT_EQ(Settings.LastStation, 2);

  // The number and name columns do not play.
  mediaPlayer->ClearCalls();
  for (int col : {0, 1}) {
    list->SelectCell(col, 4);
    release();
  }
  EXPECT_TRUE(mediaPlayer->Calls().empty());

  // A header sort holds the next press; after that a row plays the station of its number.
  list->SortColumn(Form1->NxTextColumn2, true);
  list->SelectCell(2, 0);
  EXPECT_TRUE(mediaPlayer->Calls().empty());
  release();
  const int first = std::stoi(list->GetCellText(0, 0));
  ASSERT_NE(first, 1);  // the sort moved the rows
  list->SelectCell(2, 0);
  EXPECT_EQ(PlayedStation(), first);
}

TEST_F(Views, RightPressOnTheListAddsItsStationWhenTheFolderHoldsIt) {
  WriteLines(folder_.file("Stations.txt"), Catalogue());
  StartWithStations(7);
  Form1->Image10->Click();
  Activate();
  TDataGrid* list = Form1->DataGrid3;
  RightPress(list);
  list->SelectCell(0, 3);
  EXPECT_EQ(FavsLines(), std::vector<std::string>{"4"});
  EXPECT_EQ(ShownHint(), Name(4) + " - Добавлено в избранное");
  RightPress(list);
  list->SelectCell(2, 3);
  EXPECT_EQ(ShownHint(), Name(4) + " - Уже в избранном");
  // The catalogue's eighth station has no file: nothing is added and nothing is reported.
  RightPress(list);
  list->SelectCell(1, 7);
  EXPECT_EQ(FavsLines(), std::vector<std::string>{"4"});
  EXPECT_FALSE(AddFavouriteMode);
  EXPECT_TRUE(shown.empty()) << shown.front();
  EXPECT_TRUE(mediaPlayer->Calls().empty());
}

TEST_F(Views, TileHintsNameTheStationWhenTheSettingsAskForIt) {
  // The help setting, or its box in the settings dialog before "OK" writes it.
  const struct {
    const char* help;
    bool box;
  } settings[] = {{"1", false}, {"0", true}, {"0", false}};
  for (const auto& [help, box] : settings) {
    auto config = ConfigLines(0, 0, 40, -1);
    config[15] = help;
    WriteLines(folder_.file("favs.txt"), {"6", "2"});
    StartWithStations(20, config);
    Form2->sCheckBox5->SetChecked(box);
    const bool names = help[0] == '1' || box;
    const struct {
      TDataGrid* grid;
      int col, row;
      std::string hint;
    } cases[] = {
        {Form1->DataGrid1, 2, 3, names ? Name(18) : "grid's"},
        {Form1->DataGrid1, 1, 4, "grid's"},  // station 22: no file
        {Form1->DataGrid2, 1, 0, names ? Name(2) : "grid's"},
        {Form1->DataGrid2, 2, 0, "grid's"},  // beyond the favourites
    };
    for (const auto& [grid, col, row, hint] : cases) {
      std::wstring value = L"grid's";
      grid->OnCellHint(grid, col, row, value);
      EXPECT_EQ(efir::text::toAnsi(value), hint) << help << box << ": " << col << "," << row;
    }
    Form1->Close();
    RunToEnd();
  }
}

TEST_F(Views, TabsAndTheSwitchShowOneViewAndKeepTheirScrollPositions) {
  WriteLines(folder_.file("favs.txt"), {"3", "1"});
  StartWithStations(20);
  TForm1& form = *Form1;
  TsScrollBar* bar = form.sScrollBar1;
  auto visible = [&] {
    return std::vector<bool>{form.DataGrid1->Visible(), form.DataGrid2->Visible(),
                             form.DataGrid3->Visible()};
  };
  using Shown = std::vector<bool>;
  // The grid the user sees in the middle of the views' area.
  auto onTop = [&] {
    return ChildWindowFromPointEx(form.Handle(), {240, 200}, CWP_SKIPINVISIBLE);
  };

  // All stations: the bar takes the tiles' rows and the grid follows it.
  UserScrollsTo(3);
  EXPECT_EQ(AllStationsScrollPos, 3);
  EXPECT_EQ(bar->Max(), form.DataGrid1->RowCount() - 1);
  EXPECT_GE(form.DataGrid1->LastRowInView(), 3);

  // Favourites: the marker moves, the bar starts at the top; with three rows or fewer the
  // bar leaves the tiles alone and keeps its range.
  form.RxLabel3->Click();
  EXPECT_EQ(visible(), (Shown{true, true, false}));
  EXPECT_EQ(onTop(), form.DataGrid2->Handle());
  EXPECT_EQ(form.Image12->Left(), 158);
  EXPECT_EQ(FavouritesShown, 1);
  EXPECT_EQ(bar->Position(), 0);
  UserScrollsTo(1);
  EXPECT_EQ(FavouritesScrollPos, 0);
  EXPECT_EQ(bar->Max(), form.DataGrid1->RowCount() - 1);

  // Back to all stations: the bar where the tiles were left.
  form.RxLabel2->Click();
  EXPECT_EQ(visible(), (Shown{true, false, false}));
  EXPECT_EQ(onTop(), form.DataGrid1->Handle());
  EXPECT_EQ(form.Image12->Left(), 10);
  EXPECT_EQ(FavouritesShown, 0);
  EXPECT_EQ(bar->Position(), 3);

  // The list: the bar drives it and the tiles keep their place.
  form.Image10->Click();
  EXPECT_EQ(visible(), (Shown{false, false, true}));
  EXPECT_EQ(form.Image10->Hint(), "Переключить в режим иконок");
  EXPECT_GT(form.Image10->Picture().Width(), 0);
  UserScrollsTo(20);
  EXPECT_EQ(ListScrollPos, 20);
  EXPECT_EQ(AllStationsScrollPos, 3);
  EXPECT_EQ(bar->Max(), form.DataGrid3->RowCount() - 1);

  // Favourites cover the list; the bar then leaves the list alone.
  form.RxLabel3->Click();
  EXPECT_EQ(visible(), (Shown{false, true, false}));
  UserScrollsTo(5);
  EXPECT_EQ(ListScrollPos, 20);
  form.RxLabel2->Click();
  EXPECT_EQ(visible(), (Shown{false, false, true}));

  // Back to the tiles.
  form.Image10->Click();
  EXPECT_EQ(visible(), (Shown{true, false, false}));
  EXPECT_EQ(form.Image10->Hint(), "Переключить в режим списка");
  EXPECT_TRUE(TileMode && AllStationsViewActive && !ListShown);

  // A grid's own scrolling moves the bar.
  SendMessageW(form.DataGrid1->Handle(), WM_VSCROLL, SB_TOP, 0);
  SendMessageW(form.DataGrid1->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(bar->Position(), 1);
}

TEST_F(Views, MouseOnTheTilesPlaysWithTheLeftButtonAndAddsWithTheRight) {
  StartWithStations(20);
  Activate();
  TDataGrid* grid = Form1->DataGrid1;
  auto press = [grid](int col, int row, bool right) {
    RECT cell{};
    grid->GetCellRect(col, row, cell);
    const LPARAM at = MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
    HWND window = grid->Handle();
    SendMessageW(window, WM_MOUSEMOVE, 0, at);
    SendMessageW(window, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, right ? MK_RBUTTON : MK_LBUTTON,
                 at);
    SendMessageW(window, right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, at);
  };
  // Moving onto the tiles gives them the keyboard.
  Form1->sEdit1->SetFocus();
  MouseFromOutside(grid);
  SendMessageW(grid->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
  EXPECT_TRUE(grid->Focused());

  press(2, 1, false);
  EXPECT_EQ(PlayedStation(), 8);
  mediaPlayer->ClearCalls();
  press(4, 1, true);
  EXPECT_EQ(FavsLines(), std::vector<std::string>{"10"});
  EXPECT_EQ(ShownHint(), Name(10) + " - Добавлено в избранное");
  EXPECT_TRUE(mediaPlayer->Calls().empty());
  press(4, 1, false);
  EXPECT_EQ(PlayedStation(), 10);
  EXPECT_EQ(FavsLines(), std::vector<std::string>{"10"});
  EXPECT_TRUE(shown.empty()) << shown.front();
}

TEST_F(Views, TheNumberColumnShowsItsNumbersAtTheRightAndSortsThemAsNumbers) {
  std::vector<std::string> catalogue;
  for (int N = 1; N <= 20; ++N) catalogue.push_back(std::to_string(N) + "|" + Name(N) + "|поп");
  WriteLines(folder_.file("Stations.txt"), catalogue);
  StartWithStations(7);
  Form1->Image10->Click();
  Activate();
  TDataGrid* list = Form1->DataGrid3;
  auto click = [list](POINT at) {
    PostMessageW(list->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    PostMessageW(list->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    player_test::PumpUntil([] { return false; }, 100);
  };

  // On the screen, "10" lies in the right half of its cell, up to the cell's right margin.
  RECT cell{};
  list->GetCellRect(0, 9, cell);
  const efir::test::Image screen = player_test::OnScreen(list);
  int leftmost = cell.right, rightmost = cell.left;
  for (int y = cell.top + 2; y < cell.bottom - 2; ++y)
    for (int x = cell.left + 1; x < cell.right - 1; ++x)
      if (const COLORREF p = screen.at(x, y); GetRValue(p) + GetGValue(p) + GetBValue(p) < 300) {
        leftmost = std::min(leftmost, x);
        rightmost = std::max(rightmost, x);
      }
  EXPECT_GT(leftmost, (cell.left + cell.right) / 2);
  EXPECT_GT(rightmost, cell.right - 8);

  // Clicks on its header sort by number both ways (as text, "10" would come before "2").
  const RECT header = list->GetHeaderRect();
  const POINT onHeader = {(cell.left + cell.right) / 2, (header.top + header.bottom) / 2};
  std::vector<std::vector<int>> orders;
  for (int sort = 0; sort < 2; ++sort) {
    click(onHeader);
    std::vector<int> order;
    for (int row = 0; row < list->RowCount(); ++row)
      order.push_back(std::stoi(list->GetCellText(0, row)));
    orders.push_back(order);
  }
  std::vector<int> ascending(20);
  std::iota(ascending.begin(), ascending.end(), 1);
  const std::vector<int> descending(ascending.rbegin(), ascending.rend());
  EXPECT_EQ(std::set(orders.begin(), orders.end()), (std::set{ascending, descending}));

  // The scratch edits take the sorted column, the selected row and the scroll position.
  list->GetCellRect(1, 2, cell);
  click({(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2});
  SendMessageW(list->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(Form1->Edit1->Text(), "2");
  EXPECT_EQ(Form1->Edit2->Text(), "0");
  EXPECT_EQ(Form1->Edit3->Text(), "1");
  EXPECT_TRUE(mediaPlayer->Calls().empty());
  EXPECT_TRUE(shown.empty()) << shown.front();
}

// With more rows than the area holds, the three grids still show no scroll bars of their own:
// those would cover the fifth tile and the list's last column. The window's bar scrolls them.
TEST_F(Views, ALongFolderScrollsOnlyThroughTheWindowsScrollBar) {
  WriteLines(folder_.file("Stations.txt"), Catalogue());
  StartWithStations(100);
  TForm1& form = *Form1;
  for (TDataGrid* grid : {form.DataGrid1, form.DataGrid2, form.DataGrid3}) {
    const LONG style = GetWindowLongW(grid->Handle(), GWL_STYLE);
    EXPECT_FALSE(style & (WS_VSCROLL | WS_HSCROLL));
    EXPECT_EQ(grid->ClientWidth(), grid->Width());
    EXPECT_LE(grid->Columns()->TotalWidth(), grid->ClientWidth());
  }
  // The wheel still scrolls the tiles, and the window's bar follows.
  RECT grid;
  GetWindowRect(form.DataGrid1->Handle(), &grid);
  SendMessageW(form.DataGrid1->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-2 * WHEEL_DELTA)),
               MAKELPARAM(grid.left + 20, grid.top + 20));
  EXPECT_GT(form.DataGrid1->TopRow(), 0);
  EXPECT_EQ(form.sScrollBar1->Position(), form.DataGrid1->VertScrollBar().Position());
}

// The user drags the window bar's thumb down with the mouse: the tiles follow it, and stay
// where the thumb was let go.
TEST_F(Views, DraggingTheScrollBarsThumbScrollsTheTiles) {
  StartWithStations(100);
  Activate();
  // Skinned, the bar is a window of its own that draws its thumb where it says.
  ASSERT_TRUE(Form1->sScrollBar1->PlainWindow());
  const RECT thumbRect = Form1->sScrollBar1->PartRect(TsScrollBar::spThumb);
  POINT thumb{(thumbRect.left + thumbRect.right) / 2, (thumbRect.top + thumbRect.bottom) / 2};
  ClientToScreen(Form1->sScrollBar1->Handle(), &thumb);
  efir::test::dragMouse(thumb, {thumb.x, thumb.y + 120});
  ASSERT_TRUE(player_test::PumpUntil([] { return Form1->sScrollBar1->Position() > 0; }));
  efir::test::pumpFor(100);
  const int position = Form1->sScrollBar1->Position();
  EXPECT_EQ(AllStationsScrollPos, position);
  EXPECT_GT(Form1->DataGrid1->TopRow(), 0);
  EXPECT_LE(Form1->DataGrid1->TopRow(), position);
  EXPECT_GE(Form1->DataGrid1->LastRowInView(), position);
  EXPECT_TRUE(shown.empty()) << shown.front();
}

// The name hint the mouse brings up over a tile shows on the screen as it paints itself, not
// as a black box.
TEST_F(Views, TheTileHintShowsOnTheScreenAsItPaintsItself) {
  auto config = ConfigLines(0, 0, 40, -1);
  config[15] = "1";
  StartWithStations(7, config);
  Activate();
  TDataGrid* grid = Form1->DataGrid1;
  RECT cell{};
  grid->GetCellRect(1, 0, cell);
  SendMessageW(grid->Handle(), WM_MOUSEMOVE, 0,
               MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2));
  ASSERT_EQ(ShownHint(), Name(2));
  efir::test::pumpFor(200);
  HWND hint = FindWindowW(kGridHintClass, nullptr);
  EXPECT_LT(efir::test::shareNotOnScreen(hint), 0.05);
}

TEST_F(Views, ListViewScreenshot) {
  WriteLines(folder_.file("Stations.txt"), Catalogue());
  StartWithStations(7);
  Form1->Image10->Click();
  Form1->sEdit1->SetText("радио");
  WORD key = 'O';
  Form1->sEdit1->OnKeyUp(Form1->sEdit1, key, 0);
  Form1->Repaint();
  Application.ProcessMessages();
  efir::test::saveScreenshot(Form1->Handle(), "player-list-view");
  EXPECT_TRUE(Form1->DataGrid3->Visible());
}

}  // namespace
