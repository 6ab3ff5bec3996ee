#include "player/config_file.h"

#include <functional>

#include "framework/convert.h"
#include "framework/exceptions.h"

namespace {

// One value of the file: its key, the line of its value (1-based), how it is read and how
// it is written.
struct Field {
  const char* key;
  int line;
  std::function<void(TPlayerConfig&, int)> read;
  std::function<int(const TPlayerConfig&)> write;
};

const std::vector<Field>& Fields() {
  static const std::vector<Field> fields = {
      {"check_updates", 2, [](TPlayerConfig& c, int v) { c.check_updates = v == 0 ? 0 : 1; },
       [](const TPlayerConfig& c) { return c.check_updates == 1 ? 1 : 0; }},
      {"open_last", 4, [](TPlayerConfig& c, int v) { c.open_last = v != 0; },
       [](const TPlayerConfig& c) { return c.open_last ? 1 : 0; }},
      {"start_volume", 6, [](TPlayerConfig& c, int v) { c.start_volume = v; },
       [](const TPlayerConfig& c) { return c.start_volume; }},
      {"last_number", 8, [](TPlayerConfig& c, int v) { c.LastStation = c.open_last ? v : -1; },
       [](const TPlayerConfig& c) { return c.LastStation; }},
      {"autorun", 10, [](TPlayerConfig& c, int v) { c.autorun = v != 0 ? 1 : 0; },
       [](const TPlayerConfig& c) { return c.autorun == 1 ? 1 : 0; }},
      {"buffer", 12, [](TPlayerConfig& c, int v) { c.buffer = v * 1000; },
       [](const TPlayerConfig& c) { return c.buffer / 1000; }},
      {"equalizer", 14, [](TPlayerConfig& c, int v) { c.equalizer = v; },
       [](const TPlayerConfig& c) { return c.equalizer; }},
      {"help", 16, [](TPlayerConfig& c, int v) { c.help = v; },
       [](const TPlayerConfig& c) { return c.help; }},
      {"Coordinates", 18, [](TPlayerConfig& c, int v) { c.Left = v; },
       [](const TPlayerConfig& c) { return c.Left; }},
      {nullptr, 19, [](TPlayerConfig& c, int v) { c.Top = v; },
       [](const TPlayerConfig& c) { return c.Top; }},
      {"log", 21, [](TPlayerConfig& c, int v) { c.log = v; },
       [](const TPlayerConfig& c) { return c.log; }},
      {"hotkeys", 23, [](TPlayerConfig& c, int v) { c.hotkeys = v; },
       [](const TPlayerConfig& c) { return c.hotkeys; }},
  };
  return fields;
}

}  // namespace

std::string ParseConfig(const std::vector<std::string>& lines, TPlayerConfig& config) {
  for (const Field& field : Fields()) {
    // A file cut short reads as empty lines, which are not numbers.
    size_t index = static_cast<size_t>(field.line - 1);
    std::string value = index < lines.size() ? lines[index] : std::string();
    try {
      field.read(config, efir::StrToInt(value));
    } catch (const EConvertError& e) {
      return e.Message();
    }
  }
  return {};
}

std::vector<std::string> FormatConfig(const TPlayerConfig& config) {
  std::vector<std::string> lines;
  for (const Field& field : Fields()) {
    if (field.key) lines.emplace_back(field.key);
    lines.push_back(efir::IntToStr(field.write(config)));
  }
  return lines;
}
