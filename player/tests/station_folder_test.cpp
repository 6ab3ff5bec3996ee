// The folder scan into the tiles, the catalogue into the list, and the station editor dialog.
#include <gtest/gtest.h>

#include <fstream>

#include "framework/picture_jpeg.h"
#include "framework/picture_png.h"
#include "grid/data_grid.h"
#include "player/main_window.h"
#include "player/station_dialog.h"
#include "player/tests/player_fixture.h"
#include "tests/support/capture.h"

namespace {

using player_test::ConfigLines;
using player_test::PlayerTest;
using player_test::PumpUntil;
using player_test::ReadLines;
using player_test::WriteLines;

using StationFolder = PlayerTest;

TEST_F(StationFolder, ScanMakesOneTileAPictureOfItsKindPerStation) {
  Start();
  // Seven stations: 1 and 4 PNG, 3 and 6 GIF, 2, 5 and 7 JPEG.
  EXPECT_EQ(StationCount, 8);
  TDataGrid* grid = Form1->DataGrid1;
  ASSERT_EQ(grid->RowCount(), 2);
  auto tile = [&](int station) {
    return grid->GetCell((station - 1) % 5, (station - 1) / 5)->CellObject;
  };
  for (int station : {1, 4}) EXPECT_NE(dynamic_cast<TPngImage*>(tile(station)), nullptr);
  // A GIF's first frame is held as a JPEG picture.
  for (int station : {2, 3, 5, 6, 7}) {
    auto* jpeg = dynamic_cast<TJPEGImage*>(tile(station));
    ASSERT_NE(jpeg, nullptr) << station;
    EXPECT_EQ(jpeg->Width(), 90) << station;
  }
  EXPECT_EQ(grid->GetCell(2, 1)->CellObject, nullptr);
}

TEST_F(StationFolder, AStationWithoutAUsableLogoGetsNoTile) {
  // Through another name: a rename that changes only the case may keep the old name.
  std::filesystem::rename(folder_.file("Stations\\5.jpg"), folder_.file("Stations\\5.tmp"));
  std::filesystem::rename(folder_.file("Stations\\5.tmp"), folder_.file("Stations\\5.JPG"));
  Start();
  EXPECT_EQ(LogoExtensions[5], ".JPG");
  TDataGrid* grid = Form1->DataGrid1;
  // Station 6 takes the fifth tile.
  EXPECT_NE(grid->GetCell(4, 0)->CellObject, nullptr);
  EXPECT_NE(grid->GetCell(0, 1)->CellObject, nullptr);
  EXPECT_EQ(grid->GetCell(1, 1)->CellObject, nullptr);
}

TEST_F(StationFolder, AStrayNameStopsTheScanAndIsReported) {
  WriteLines(folder_.file("Stations\\readme"), {"stray"});
  Start();
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown[0], "Не удалось прочитать папку радиостанций Stations: «readme» — не число.");
}

TEST_F(StationFolder, ListShowsTheCatalogueNames) {
  WriteLines(folder_.file("Stations.txt"), {"1|Первое|поп", "x#y|Второе|рок|ещё"});
  Start();
  TDataGrid* grid = Form1->DataGrid3;
  ASSERT_EQ(grid->RowCount(), 2);
  EXPECT_EQ(grid->GetCellText(0, 0), L"1");
  EXPECT_EQ(grid->GetCellText(1, 0), L"Первое");
  EXPECT_EQ(grid->GetCellText(2, 0), L">>>>>>");
  EXPECT_EQ(grid->GetCellText(0, 1), L"2");
  EXPECT_EQ(grid->GetCellText(1, 1), L"y#Второе");
}

TEST_F(StationFolder, ACatalogueLineThatNamesNoStationMakesNoRowAndKeepsItsNumber) {
  WriteLines(folder_.file("Stations.txt"), {"1|Первое|поп", "", "без черты", "4|Четвёртое|рок"});
  Start();
  TDataGrid* grid = Form1->DataGrid3;
  ASSERT_EQ(grid->RowCount(), 2);
  EXPECT_EQ(grid->GetCellText(0, 1), L"4");
  EXPECT_EQ(grid->GetCellText(1, 1), L"Четвёртое");
  EXPECT_TRUE(shown.empty()) << shown.front();
}

TEST_F(StationFolder, StationsPastTheStoresLastNumberAreToldOf) {
  // Two files a station, as the scan counts them; the second a name it passes over, so that
  // no logo is read.
  for (int N = 8; N <= kMaxStations + 2; ++N) {
    WriteLines(folder_.file("Stations\\play" + std::to_string(N) + ".txt"), {"http://x/", "С"});
    WriteLines(folder_.file("Stations\\picture" + std::to_string(N)), {});
  }
  std::vector<std::string> catalogue;
  for (int N = 1; N <= kMaxStations + 2; ++N)
    catalogue.push_back("|Станция " + std::to_string(N) + "|");
  WriteLines(folder_.file("Stations.txt"), catalogue);
  Start();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], "Эфирушка показывает не больше 1000 радиостанций: радиостанции папки "
                      "Stations с номерами больше 1000 не показаны.");
  shown.clear();
  // "Слушать" on a list row the store cannot hold says why nothing plays; below it plays.
  ListSorting = false;
  Form1->DataGrid3SelectCell(Form1->DataGrid3, 2, kMaxStations);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], "Эфирушка показывает не больше 1000 радиостанций: радиостанция 1001 не "
                      "включается.");
  EXPECT_EQ(Form1->RxLabel6->Caption(), kSlogan);
  Form1->DataGrid3SelectCell(Form1->DataGrid3, 2, kMaxStations - 1);
  EXPECT_EQ(Settings.LastStation, kMaxStations);
  EXPECT_EQ(shown.size(), 1u);
}

TEST_F(StationFolder, AStationFileMarkedAsUtf8PlaysUnderItsName) {
  std::ofstream(folder_.file("Stations\\play2.txt"), std::ios::binary)
      << "\xEF\xBB\xBFhttp://127.0.0.1:9/a.mp3\r\n"
      << reinterpret_cast<const char*>(u8"Радио Ёлка") << "\r\n0\r\n";
  Start();
  Form1->DataGrid1SelectCell(Form1->DataGrid1, 1, 0);
  EXPECT_EQ(Form1->RxLabel6->Caption(), "Радио Ёлка");
  EXPECT_EQ(CurrentUrl, "http://127.0.0.1:9/a.mp3");
  EXPECT_EQ(ConnectionMode, "0");
}

TEST_F(StationFolder, EditorDialogSavesTheStationFileButKeepsThePlayingMode) {
  WriteLines(Config(), ConfigLines(0, 1, 40, 2));
  Start();
  FillStationDialog();
  EXPECT_EQ(Form3->sEdit1->Text(), Form1->RxLabel6->Caption());
  EXPECT_FALSE(Form3->sCheckBox1->Checked());
  EXPECT_EQ(Form3->Image3->Picture().Width(), 90);  // station 2's logo
  Form3->Show();
  PumpUntil([] { return IsWindowVisible(Form3->Handle()) != FALSE; });
  Form3->Repaint();
  Application.ProcessMessages();
  efir::test::saveScreenshot(Form3->Handle(), "player-station-dialog");

  Form3->sEdit1->SetText("Новое имя");
  Form3->sEdit2->SetText("http://example.org/new");
  Form3->sCheckBox1->SetChecked(true);
  Form3->sButton1Click(Form3->sButton1);
  EXPECT_EQ(ReadLines(folder_.file("Stations\\play2.txt")),
            (std::vector<std::string>{"http://example.org/new", "Новое имя", "1"}));
  EXPECT_EQ(Form1->RxLabel6->Caption(), "Новое имя");
  EXPECT_EQ(CurrentUrl, "http://example.org/new");
  EXPECT_EQ(ConnectionMode, "0");
}

TEST_F(StationFolder, EditorPlaceholdersClearOnClickOnly) {
  Start();
  Form3->sEdit2->Click();
  EXPECT_EQ(Form3->sEdit2->Text(), "");
  Form3->sEdit1->SetText("Название радиостанции!");
  Form3->sEdit1->Click();
  EXPECT_EQ(Form3->sEdit1->Text(), "Название радиостанции!");
}

}  // namespace
