// The player's settings file `config.txt`: 23 lines of keys and values in a fixed order.
//
//   TPlayerConfig config;                       // the defaults of a first run
//   std::string error = ParseConfig(lines, config);
//   std::vector<std::string> lines = FormatConfig(config);
#pragma once

#include <string>
#include <vector>

struct TPlayerConfig {
  int check_updates = 1;
  bool open_last = false;
  int start_volume = 25;
  int LastStation = -1;   // -1 none, 0 nothing selected yet, else a station number
  int autorun = 0;
  int buffer = 3000;      // milliseconds; the file holds seconds
  int equalizer = 0;
  int help = 0;
  int Left = -1;          // the main window's position; start-up puts the window's own
  int Top = -1;           // here before reading, so a first run keeps the layout's place
  int log = 1;
  int hotkeys = 0;
};

constexpr int kConfigLines = 23;

// Reads the lines in file order into `config`, as far as they are valid. Key lines are not
// examined. Returns the conversion error's message of the first value that is missing or
// not a number (the values from there on keep what `config` held), or "" when all were read.
// `last_number` becomes -1 unless `open_last` is on.
std::string ParseConfig(const std::vector<std::string>& lines, TPlayerConfig& config);

// The 23 lines of the file for these settings.
std::vector<std::string> FormatConfig(const TPlayerConfig& config);
