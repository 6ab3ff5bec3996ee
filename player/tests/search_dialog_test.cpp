// The search dialog: which catalogue line a query finds, what the result shows and where the
// tiles scroll, the short-query message, the edit's capitals, and what "Слушать" and
// "В избранное" ask of the main window.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <tuple>
#include <vector>

#include "framework/text_encoding.h"
#include "grid/data_grid.h"
#include "player/main_window.h"
#include "player/search_dialog.h"
#include "player/tests/player_fixture.h"
#include "tests/support/capture.h"

namespace {

using player_test::AnsweringMessageBoxes;
using player_test::PlayerTest;
using player_test::PumpUntil;
using player_test::WriteLines;

constexpr int kCatalogueLines = 36;  // the shipped Stations.txt

class SearchDialog : public PlayerTest {
 protected:
  // A station for every catalogue line (the shipped folder holds seven), so that every line
  // found has its tile; then the program's start with the dialog shown.
  void StartWithFullFolder() {
    for (int n = 8; n <= kCatalogueLines; ++n) {
      WriteLines(folder_.file("Stations\\play" + std::to_string(n) + ".txt"),
                 {"http://127.0.0.1:9/" + std::to_string(n), "Станция " + std::to_string(n)});
      std::filesystem::copy_file(folder_.file("Stations\\1.png"),
                                 folder_.file("Stations\\" + std::to_string(n) + ".png"));
    }
    Start();
    ASSERT_TRUE(shown.empty()) << shown.front();
    ASSERT_EQ(StationCount, kCatalogueLines + 1);
    Form6->Show();
    PumpUntil([] { return IsWindowVisible(Form6->Handle()) != 0; });
  }

  // The query searched for as the user does: typed into the edit, then "Поиск".
  std::vector<std::string> Search(const std::string& query) {
    Form6->sEdit1->SetText(query);
    return AnsweringMessageBoxes([] { SendMessageW(Form6->sButton1->Handle(), BM_CLICK, 0, 0); });
  }

  // The main window's handlers the dialog calls, recorded instead of run.
  std::vector<std::pair<int, int>> selected;
  int tabClicks = 0;
  int favouriteClicks = 0;
  void RecordMainWindowCalls() {
    Form1->DataGrid1->OnSelectCell = [this](TObject*, int c, int r) { selected.push_back({c, r}); };
    Form1->RxLabel2->OnClick = [this](TObject*) { ++tabClicks; };
    Form1->Image3->OnClick = [this](TObject*) { ++favouriteClicks; };
  }
};

TEST_F(SearchDialog, FindsTheFirstCatalogueLineHoldingTheQueryInAnyCase) {
  StartWithFullFolder();
  RecordMainWindowCalls();
  // Query, the line found (0: none). The whole line is searched, number and genre included.
  const std::tuple<std::string, int> cases[] = {
      {"джаз", 2},          {"ЛУННЫЙ джаз", 2}, {"волна", 1},  // also lines 3 and 11
      {"тёплый", 4},        {"ТЁПЛЫЙ", 4},      {"ска", 15},   // "Детская"
      {"11|", 11},          {"ретро", 10},      {"Морской бриз", 36},
      {"радиола", 0},       {"лунный  джаз", 0}};
  TDataGrid* tiles = Form1->DataGrid1;
  for (const auto& [query, line] : cases) {
    SCOPED_TRACE(query);
    Form6->FoundStation = 0;
    tiles->ScrollToRow(0);
    EXPECT_TRUE(Search(query).empty());
    if (line == 0) {
      EXPECT_EQ(Form6->sLabel3->Caption(), "Результат: Неудачно");
      EXPECT_FALSE(Form6->sButton2->Enabled());
      EXPECT_EQ(tiles->TopRow(), 0);
    } else {
      EXPECT_EQ(Form6->FoundStation, line);
      EXPECT_EQ(Form6->sLabel3->Caption(), "Результат: Удачно!");
      EXPECT_TRUE(Form6->sButton2->Enabled());
      // The found station's tile is in view.
      const int row = (line - 1) / 5;
      EXPECT_LE(tiles->TopRow(), row);
      EXPECT_GE(tiles->LastRowInView(), row);
    }
    EXPECT_FALSE(Form6->sBitBtn1->Enabled());
  }
  // Every search ends on the tab "РАДИОСТАНЦИИ"; none plays.
  EXPECT_EQ(tabClicks, static_cast<int>(std::size(cases)));
  EXPECT_TRUE(selected.empty());
}

TEST_F(SearchDialog, AQueryShorterThanThreeLettersOnlyShowsAMessage) {
  StartWithFullFolder();
  RecordMainWindowCalls();
  ASSERT_TRUE(Search("джаз").empty());
  SendMessageW(Form6->sButton2->Handle(), BM_CLICK, 0, 0);
  ASSERT_TRUE(Form6->sBitBtn1->Enabled());
  for (const std::string query : {"", "ДЖ"}) {
    SCOPED_TRACE(query);
    EXPECT_EQ(Search(query), std::vector<std::string>{"Название слишком короткое"});
    EXPECT_FALSE(Form6->sButton2->Enabled());
    EXPECT_FALSE(Form6->sBitBtn1->Enabled());
    EXPECT_EQ(Form6->sLabel3->Caption(), "Результат: ");
  }
  EXPECT_EQ(tabClicks, 1);
}

TEST_F(SearchDialog, ListenPlaysTheFoundStationsTileAndThenOffersTheFavourites) {
  StartWithFullFolder();
  RecordMainWindowCalls();
  // Line found, the tile (column, row) handed to the all-stations select.
  const std::tuple<std::string, std::pair<int, int>> cases[] = {
      {"демо", {0, 0}},     {"новости", {4, 0}}, {"ночной", {1, 1}},
      {"патефон", {4, 1}}, {"бриз", {0, 7}}};
  for (const auto& [query, tile] : cases) {
    SCOPED_TRACE(query);
    selected.clear();
    ASSERT_TRUE(Search(query).empty());
    SendMessageW(Form6->sButton2->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(selected, (std::vector<std::pair<int, int>>{tile}));
    EXPECT_FALSE(Form6->sButton2->Enabled());
    EXPECT_TRUE(Form6->sBitBtn1->Enabled());
    EXPECT_EQ(Form6->sLabel3->Caption(), "Результат: ");
  }
  SendMessageW(Form6->sBitBtn1->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(favouriteClicks, 1);
  EXPECT_FALSE(Form6->sBitBtn1->Enabled());
}

TEST_F(SearchDialog, TypingTurnsTheQueryIntoCapitalsAndKeepsTheCaret) {
  StartWithFullFolder();
  HWND edit = Form6->sEdit1->Handle();
  SetFocus(edit);
  for (wchar_t c : std::wstring(L"джз")) SendMessageW(edit, WM_CHAR, c, 0);
  EXPECT_EQ(Form6->sEdit1->Text(), "ДЖЗ");
  // A letter typed in the middle stays where it went, and so does the caret.
  SendMessageW(edit, EM_SETSEL, 2, 2);
  SendMessageW(edit, WM_CHAR, L'а', 0);
  EXPECT_EQ(Form6->sEdit1->Text(), "ДЖАЗ");
  EXPECT_EQ(Form6->sEdit1->SelStart(), 3);
  SendMessageW(edit, WM_CHAR, L'ё', 0);
  EXPECT_EQ(Form6->sEdit1->Text(), "ДЖАЁЗ");
}

TEST_F(SearchDialog, Screenshot) {
  StartWithFullFolder();
  RecordMainWindowCalls();
  ASSERT_TRUE(Search("лунный").empty());
  PumpUntil([] { return false; }, 200);
  efir::test::saveScreenshot(Form6->Handle(), "player-search-dialog");
}

}  // namespace
