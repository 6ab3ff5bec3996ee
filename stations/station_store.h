// The station folder `Stations` in the program folder: one text file `playN.txt` and one
// logo `N.jpg|.gif|.png` per station, numbered densely from 1; and the shipped catalogue
// `Stations.txt`, whose lines name the stations of the list view. The player reads the folder
// and rewrites station files; the editor also adds and resets stations: both keep to these rules.
//
// The rules here are pure but for ReadStationFile: the window code enumerates the folder and
// reads the files, then asks these functions what they mean.
#pragma once

#include <array>
#include <string>
#include <vector>

// Station numbers the store can hold: 1..kMaxStations.
constexpr int kMaxStations = 1000;

// Each station's logo extension with its dot, as the folder scan found it (".jpg", ".PNG",
// ...); empty when unknown.
class TLogoExtensions {
 public:
  const std::string& operator[](int station) const;
  // Numbers outside 1..kMaxStations are ignored: a stray "0.jpg" or "1001.png" must not
  // write outside the table.
  void Set(int station, const std::string& extension);
  void Clear();

 private:
  std::array<std::string, kMaxStations + 1> extensions_;
};

// The folder scan over the entry names in enumeration order ("." and ".." excluded): every
// name not beginning with "p" is <number><extension> and records its extension; returns
// `StationCount` ((entries + 1) div 2 + 1). A name that is neither raises EConvertError.
int ScanStationNames(const std::vector<std::string>& names, TLogoExtensions& extensions);

// Logos that get a tile: the three extensions in lower case, compared exactly.
bool IsTileExtension(const std::string& extension);

// What a station file holds. `Mode` is line 3: "0" plays through the audio library, "1"
// through the media-player control, anything else plays nothing; a missing line means "0".
struct TStationFile {
  std::string Url;
  std::string Name;
  std::string Mode = "0";
};

// Station files are Windows-1251; one that begins with the UTF-8 byte-order mark (as some
// text editors save) is UTF-8 and is read as such.
TStationFile ParseStationFile(const std::vector<std::string>& lines);
// The station file at `path` (its first three lines). A missing file raises EInOutError.
TStationFile ReadStationFile(const std::string& path);
std::vector<std::string> FormatStationFile(const TStationFile& station);

std::string StationFilePath(const std::string& programFolder, int station);
std::string StationLogoPath(const std::string& programFolder, int station,
                            const std::string& extension);

// The station name of one catalogue line: the first "|" becomes "#", and the name runs from
// after the first "#" up to the next "|" (empty when there is none).
std::string CatalogueStationName(std::string line);
