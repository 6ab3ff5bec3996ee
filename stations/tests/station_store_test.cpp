#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "framework/exceptions.h"
#include "stations/station_store.h"

namespace {

// Text as UTF-8 bytes (the sources' other literals are Windows-1251).
std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

TEST(StationStore, FolderScanCountsEntriesAndRecordsLogoExtensions) {
  struct Case {
    std::vector<std::string> names;
    int count;
    std::vector<std::pair<int, std::string>> logos;
  };
  const Case cases[] = {
      {{"play1.txt", "1.jpg", "play2.txt", "2.png"}, 3, {{1, ".jpg"}, {2, ".png"}}},
      // A stray name beginning with "p" is counted but not parsed: station 3 has no logo.
      {{"play1.txt", "1.jpg", "play2.txt", "2.png", "photo.jpg"}, 4, {{1, ".jpg"}, {3, ""}}},
      // Recorded as found; the tile rule decides it gets no tile.
      {{"play5.txt", "5.JPG"}, 2, {{5, ".JPG"}}},
      {{}, 1, {}},
      // Numbers outside the table are counted and skipped, never written out of bounds.
      {{"0.jpg", "1001.png", "-3.gif", "play1.txt", "1.gif"}, 4, {{1, ".gif"}, {1000, ""}}},
  };
  for (const Case& c : cases) {
    TLogoExtensions logos;
    EXPECT_EQ(ScanStationNames(c.names, logos), c.count) << c.names.size();
    for (const auto& [station, extension] : c.logos) EXPECT_EQ(logos[station], extension);
  }
}

TEST(StationStore, StrayNameThatIsNotANumberStopsTheScan) {
  TLogoExtensions logos;
  try {
    ScanStationNames({"play1.txt", "1.jpg", "readme"}, logos);
    FAIL() << "no conversion error";
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'readme' is not a valid integer value");
  }
  EXPECT_EQ(logos[1], ".jpg");
}

TEST(StationStore, OnlyLowerCaseLogoExtensionsMakeTiles) {
  EXPECT_TRUE(IsTileExtension(".jpg"));
  EXPECT_TRUE(IsTileExtension(".gif"));
  EXPECT_TRUE(IsTileExtension(".png"));
  EXPECT_FALSE(IsTileExtension(".JPG"));
  EXPECT_FALSE(IsTileExtension(".jpeg"));
  EXPECT_FALSE(IsTileExtension(""));
}

TEST(StationStore, StationFileLinesAndMode) {
  TStationFile two = ParseStationFile({"http://radio/a", "Радио А"});
  EXPECT_EQ(two.Url, "http://radio/a");
  EXPECT_EQ(two.Name, "Радио А");
  EXPECT_EQ(two.Mode, "0");
  EXPECT_EQ(ParseStationFile({"u", "n", "1"}).Mode, "1");
  EXPECT_EQ(FormatStationFile({"u", "n", "1"}), (std::vector<std::string>{"u", "n", "1"}));
  EXPECT_EQ(StationFilePath("C:\\P\\", 12), "C:\\P\\Stations\\play12.txt");
  EXPECT_EQ(StationLogoPath("C:\\P\\", 3, ".png"), "C:\\P\\Stations\\3.png");
}

TEST(StationStore, AStationFileMarkedAsUtf8IsReadAsUtf8) {
  const std::string mark = "\xEF\xBB\xBF";
  struct Case {
    std::string bytes;
    std::string url, name, mode;
  };
  const Case cases[] = {
      {mark + "http://radio/a\r\n" + Utf8(u8"Радио Ёлка") + "\r\n1\r\n", "http://radio/a",
       "Радио Ёлка", "1"},
      {mark + "http://radio/b\n" + Utf8(u8"Би-би") + "\n", "http://radio/b", "Би-би", "0"},
      {mark, "", "", "0"},
      // Unmarked bytes are Windows-1251 as they stand, even where they would read as UTF-8.
      {"http://radio/c\r\nРадио\r\n0\r\n", "http://radio/c", "Радио", "0"},
      {"http://radio/d\r\n" + Utf8(u8"Поп") + "\r\n", "http://radio/d", Utf8(u8"Поп"), "0"},
  };
  const std::filesystem::path path = std::filesystem::absolute("play1.txt");
  for (const Case& c : cases) {
    std::ofstream(path, std::ios::binary) << c.bytes;
    const TStationFile station = ReadStationFile(path.string());
    EXPECT_EQ(station.Url, c.url) << c.bytes;
    EXPECT_EQ(station.Name, c.name) << c.bytes;
    EXPECT_EQ(station.Mode, c.mode) << c.bytes;
  }
  std::filesystem::remove(path);
  EXPECT_THROW(ReadStationFile(path.string()), EInOutError);
}

TEST(StationStore, CatalogueLineNames) {
  const std::pair<std::string, std::string> cases[] = {
      {"1|Радио Рок|http://x|Москва", "Радио Рок"},
      {"a#b|name|rest", "b#name"},
      {"|Только имя|", "Только имя"},
      {"no bars at all", ""},
      {"one|bar", ""},
  };
  for (const auto& [line, name] : cases) EXPECT_EQ(CatalogueStationName(line), name) << line;
}

}  // namespace
