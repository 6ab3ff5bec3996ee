// The folder scan into the tiles, the catalogue into the list, and the station editor dialog.
#include <gtest/gtest.h>

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
  EXPECT_EQ(shown[0], "'readme' is not a valid integer value");
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
