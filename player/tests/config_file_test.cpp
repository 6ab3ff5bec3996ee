#include <gtest/gtest.h>

#include "player/config_file.h"

namespace {

std::vector<std::string> SampleLines() {
  return {"check_updates", "0", "open_last", "1", "start_volume", "40", "last_number", "17",
          "autorun", "1", "buffer", "5", "equalizer", "1", "help", "0", "Coordinates", "120",
          "80", "log", "0", "hotkeys", "1"};
}

TEST(ConfigFile, ReadsEveryValueAndWritesTheSameLayoutBack) {
  TPlayerConfig config;
  EXPECT_EQ(ParseConfig(SampleLines(), config), "");
  EXPECT_EQ(config.check_updates, 0);
  EXPECT_TRUE(config.open_last);
  EXPECT_EQ(config.start_volume, 40);
  EXPECT_EQ(config.LastStation, 17);
  EXPECT_EQ(config.buffer, 5000);
  EXPECT_EQ(config.Left, 120);
  EXPECT_EQ(config.Top, 80);
  EXPECT_EQ(config.hotkeys, 1);
  EXPECT_EQ(FormatConfig(config), SampleLines());
  EXPECT_EQ(FormatConfig(config).size(), static_cast<size_t>(kConfigLines));
}

TEST(ConfigFile, LastStationIsDroppedWhenOpenLastIsOff) {
  auto lines = SampleLines();
  lines[3] = "0";
  TPlayerConfig config;
  ParseConfig(lines, config);
  EXPECT_EQ(config.LastStation, -1);
  EXPECT_EQ(FormatConfig(config)[7], "-1");
}

TEST(ConfigFile, FlagsWriteOneOrZero) {
  auto lines = SampleLines();
  lines[1] = "7";   // any non-zero value turns the check on
  lines[9] = "-2";
  TPlayerConfig config;
  ParseConfig(lines, config);
  EXPECT_EQ(FormatConfig(config)[1], "1");
  EXPECT_EQ(FormatConfig(config)[9], "1");
}

TEST(ConfigFile, BrokenOrShortFileReportsTheFirstBadValueAndKeepsDefaultsAfterIt) {
  auto broken = SampleLines();
  broken[11] = "пять";
  TPlayerConfig config;
  EXPECT_EQ(ParseConfig(broken, config), "'пять' is not a valid integer value");
  EXPECT_EQ(config.LastStation, 17);     // read before the bad line
  EXPECT_EQ(config.buffer, 3000);        // default from there on
  EXPECT_EQ(config.hotkeys, 0);

  TPlayerConfig shortConfig;
  const auto all = SampleLines();
  std::vector<std::string> firstFour(all.begin(), all.begin() + 4);
  EXPECT_EQ(ParseConfig(firstFour, shortConfig), "'' is not a valid integer value");
  EXPECT_TRUE(shortConfig.open_last);
  EXPECT_EQ(shortConfig.start_volume, 25);
}

}  // namespace
