#include "stations/station_store.h"

#include "framework/convert.h"
#include "framework/text_encoding.h"
#include "framework/text_file.h"
#include "framework/text_utils.h"

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

}  // namespace

const std::string& TLogoExtensions::operator[](int station) const {
  static const std::string none;
  if (station < 1 || station > kMaxStations) return none;
  return extensions_[static_cast<size_t>(station)];
}

void TLogoExtensions::Set(int station, const std::string& extension) {
  if (station < 1 || station > kMaxStations) return;
  extensions_[static_cast<size_t>(station)] = extension;
}

void TLogoExtensions::Clear() { extensions_.fill({}); }

int ScanStationNames(const std::vector<std::string>& names, TLogoExtensions& extensions) {
  int counter = 1;
  for (const std::string& name : names) {
    if (name.empty() || name[0] != 'p') {
      size_t dot = name.rfind('.');
      std::string extension = dot == std::string::npos ? std::string() : name.substr(dot);
      std::string number = extension.empty() ? name : efir::ReplaceAll(name, extension, "");
      extensions.Set(efir::StrToInt(number), extension);
    }
    ++counter;
  }
  return counter / 2 + 1;
}

bool IsTileExtension(const std::string& extension) {
  return extension == ".jpg" || extension == ".gif" || extension == ".png";
}

TStationFile ParseStationFile(const std::vector<std::string>& lines) {
  const bool utf8 = !lines.empty() && lines[0].starts_with(kUtf8Mark);
  auto line = [&](size_t index) {
    if (!utf8) return lines[index];
    std::string_view text = lines[index];
    if (index == 0) text.remove_prefix(kUtf8Mark.size());
    return efir::text::utf8ToAnsi(text);
  };
  TStationFile station;
  if (lines.size() > 0) station.Url = line(0);
  if (lines.size() > 1) station.Name = line(1);
  if (lines.size() > 2) station.Mode = line(2);
  return station;
}

TStationFile ReadStationFile(const std::string& path) {
  TTextFile file;
  file.Reset(path);
  std::vector<std::string> lines;
  while (!file.Eof() && lines.size() < 3) lines.push_back(file.ReadLine());
  file.Close();
  return ParseStationFile(lines);
}

std::vector<std::string> FormatStationFile(const TStationFile& station) {
  return {station.Url, station.Name, station.Mode};
}

std::string StationFilePath(const std::string& programFolder, int station) {
  return programFolder + "Stations\\play" + std::to_string(station) + ".txt";
}

std::string StationLogoPath(const std::string& programFolder, int station,
                            const std::string& extension) {
  return programFolder + "Stations\\" + std::to_string(station) + extension;
}

std::string CatalogueStationName(std::string line) {
  size_t bar = line.find('|');
  if (bar == std::string::npos) return {};
  line[bar] = '#';
  size_t start = line.find('#') + 1;
  size_t stop = line.find('|', start);
  if (stop == std::string::npos) return {};
  return line.substr(start, stop - start);
}
