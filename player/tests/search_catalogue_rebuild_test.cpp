// The catalogue rebuild: the station blocks read from the portal's page, the station folder
// rebuilt from a canned page and its logos on the loopback server, and pages that must leave
// the folder alone.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "framework/exceptions.h"
#include "framework/text_encoding.h"
#include "framework/text_utils.h"
#include "grid/data_grid.h"
#include "player/catalogue_rebuild.h"
#include "player/main_window.h"
#include "player/tests/player_fixture.h"
#include "tests/support/paths.h"

namespace {

using player_test::PlayerTest;
using player_test::ReadLines;

const std::string kPlaylist = std::string(kPlaylistHost) + "/playlist/radio.m3u?station";

std::string Block(const std::string& link, const std::string& logo, const std::string& name) {
  return "<div class=\"station\"><div class=\"card\"><div class=\"logo\"><a href=\"" + link +
         "\"><img src=\"" + logo + "\" alt=\"" + name + "\"></a></div></div></div>\n";
}

// The portal's home page: a station in the menu and one in the footer, which are not the
// catalogue, and between them the catalogue with a block that links elsewhere.
const std::string kPage =
    "<html><body><div id=\"menu\">" + Block(kPlaylist + "=900", "/logos/a.png", "Меню") +
    "</div><h3>Радиостанции</h3>\n" +
    Block(kPlaylist + "=101", "/logos/a.png", "&laquo;Утро&raquo; FM") +
    Block(kPlaylist + "=102", "/logos/b.jpg", "Rad&#1110;o Ночь") +
    Block("http://elsewhere.example/listen?station=5", "/logos/x.png", "Чужая") +
    Block(kPlaylist + "=103", "/logos/c.gif", "Гиф") +
    Block(kPlaylist + "=104", "/logos/empty.png", "Пустое лого") +
    "<div id=\"footer\">" + Block(kPlaylist + "=901", "/logos/a.png", "Подвал") +
    "</div></body></html>";

TEST(CatalogueHtml, TakesTheStationBlocksOfThePortalsPlaylists) {
  const std::vector<std::tuple<std::string, std::string, std::string>> expected = {
      {"=101", "/logos/a.png", "&laquo;Утро&raquo; FM"},
      {"=102", "/logos/b.jpg", "Rad&#1110;o Ночь"},
      {"=103", "/logos/c.gif", "Гиф"},
      {"=104", "/logos/empty.png", "Пустое лого"}};
  // The blocks as they stand, and with a last block the page cuts short.
  const std::string part = kPage.substr(kPage.find("<h3>"));
  for (const std::string& html : {part, part + "<div class=\"station\"><a href=\"" + kPlaylist +
                                             "=105\"><img src=\"/d.png\" alt=\"Обрыв\">"}) {
    std::vector<std::tuple<std::string, std::string, std::string>> found;
    for (const TCatalogueEntry& e : ParseCatalogueHtml(html)) found.push_back({e.Id, e.Logo, e.Name});
    // The footer's block is the caller's to cut off; here it is still part of the text.
    ASSERT_EQ(found.size(), expected.size() + 1);
    found.pop_back();
    EXPECT_EQ(found, expected);
  }
  EXPECT_TRUE(ParseCatalogueHtml("").empty());
  EXPECT_TRUE(ParseCatalogueHtml("<div class=\"station\"></div></div></div>").empty());

  EXPECT_EQ(CleanStationName("&laquo;Утро&raquo; FM"), "Утро FM");
  EXPECT_EQ(CleanStationName("Rad&#1110;o &#1110;&#1110;"), "Radio ii");
}

class CatalogueRebuild : public PlayerTest {
 protected:
  void SetUp() override {
    PlayerTest::SetUp();
    site_ = std::filesystem::path(efir::test::fixturePath("www")) / ("portal-" + folder_.path().filename().string());
    std::filesystem::remove_all(site_);
    std::filesystem::create_directories(site_ / "logos");
    const std::filesystem::path logos = efir::test::sourceDir() + "/assets/program/Stations";
    std::filesystem::copy_file(logos / "1.png", site_ / "logos" / "a.png");
    std::filesystem::copy_file(logos / "2.jpg", site_ / "logos" / "b.jpg");
    std::filesystem::copy_file(logos / "3.gif", site_ / "logos" / "c.gif");
    std::ofstream(site_ / "logos" / "empty.png", std::ios::binary);
    SetCataloguePortalForTests(efir::test::httpUrl(site_.filename().string()));
    Start();
    ASSERT_TRUE(shown.empty()) << shown.front();
  }
  void TearDown() override {
    SetCataloguePortalForTests("");
    PlayerTest::TearDown();
    std::error_code ignored;
    std::filesystem::remove_all(site_, ignored);
  }

  // The portal's home page, sent as UTF-8.
  void Serve(const std::string& page) {
    std::ofstream(site_ / "index.html", std::ios::binary) << efir::text::ansiToUtf8(page);
  }

  std::set<std::string> StationFiles() const {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder_.path() / "Stations"))
      names.insert(entry.path().filename().string());
    return names;
  }

  std::filesystem::path site_;
};

TEST_F(CatalogueRebuild, ReplacesTheStationFolderWithThePortalsStationsAndLogos) {
  Serve(kPage);
  Form1->Button1->Click();

  EXPECT_EQ(StationFiles(), (std::set<std::string>{"play1.txt", "play2.txt", "play3.txt",
                                                   "play4.txt", "1.png", "2.jpg", "3.gif",
                                                   "4.txt"}));
  const std::string stations = folder_.name() + "Stations\\";
  EXPECT_EQ(ReadLines(stations + "play1.txt"),
            (std::vector<std::string>{kPlaylist + "=101", "Утро FM"}));
  EXPECT_EQ(ReadLines(stations + "play2.txt"),
            (std::vector<std::string>{kPlaylist + "=102", "Radio Ночь"}));
  EXPECT_EQ(ReadLines(stations + "play4.txt"),
            (std::vector<std::string>{kPlaylist + "=104", "Пустое лого"}));
  // The logos are whole copies of what the portal holds.
  EXPECT_EQ(std::filesystem::file_size(folder_.path() / "Stations" / "2.jpg"),
            std::filesystem::file_size(site_ / "logos" / "b.jpg"));

  EXPECT_EQ(StationCount, 5);
  for (const auto& [n, extension] :
       {std::pair{1, ".png"}, {2, ".jpg"}, {3, ".gif"}, {4, ".txt"}})
    EXPECT_EQ(LogoExtensions[n], extension) << n;
  // The tiles show the three stations with a logo; the empty logo is listed to fetch again.
  TDataGrid* tiles = Form1->DataGrid1;
  ASSERT_EQ(tiles->RowCount(), 1);
  for (int column = 0; column < 3; ++column)
    EXPECT_NE(tiles->GetCell(column, 0)->CellObject, nullptr) << column;
  EXPECT_EQ(tiles->GetCell(3, 0)->CellObject, nullptr);
  const std::string portal = CataloguePortal();
  EXPECT_EQ(Form1->Memo1->Lines().Count(), 5);
  EXPECT_EQ(Form1->Memo1->Lines()[4], portal + "/logos/empty.png");
  EXPECT_TRUE(shown.empty());
}

TEST_F(CatalogueRebuild, APageWithoutStationsLeavesTheFolderAndTilesAsTheyWere) {
  const std::set<std::string> before = StationFiles();
  const std::string catalogue = kPage.substr(kPage.find("<h3>"));
  const std::tuple<std::string, std::string> pages[] = {
      {"no page", ""},
      {"no catalogue heading", "<html><body>" + Block(kPlaylist + "=1", "/a.png", "A") + "</body>"},
      {"no footer", kPage.substr(0, kPage.find("<div id=\"footer\">"))},
      {"blocks cut short", "<h3>Радиостанции</h3>" + efir::ReplaceAll(catalogue, "</div></div></div>", "</div>")},
      {"only foreign links", "<h3>Радиостанции</h3>" +
                                 Block("http://elsewhere.example/?station=1", "/a.png", "A") +
                                 "<div id=\"footer\"></div>"}};
  for (const auto& [what, page] : pages) {
    SCOPED_TRACE(what);
    std::filesystem::remove(site_ / "index.html");
    if (!page.empty()) Serve(page);
    EXPECT_THROW(Form1->Button1Click(Form1), Exception);
    EXPECT_EQ(StationFiles(), before);
    EXPECT_EQ(Form1->DataGrid1->RowCount(), 2);
    EXPECT_EQ(StationCount, 8);
  }
}

}  // namespace
