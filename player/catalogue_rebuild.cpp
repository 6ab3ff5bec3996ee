#include "player/catalogue_rebuild.h"

#include "download/web_download.h"
#include "framework/exceptions.h"
#include "framework/files.h"
#include "framework/text_encoding.h"
#include "framework/text_file.h"
#include "framework/text_utils.h"
#include "grid/data_grid.h"
#include "player/main_window.h"

namespace {

// The portal's page layout.
constexpr char kStationsStart[] = "<h3>Радиостанции</h3>";
constexpr char kFooter[] = "<div id=\"footer\">";
constexpr char kBlockStart[] = "<div class=\"station\">";
constexpr char kBlockEnd[] = "</div></div></div>";
constexpr char kPlaylistPath[] = "/playlist/radio.m3u?station";
constexpr char kLogoTag[] = "\"><img";
constexpr char kLogoSource[] = "<img src=\"";
constexpr char kLogoName[] = "alt=\"";
constexpr char kEndOfFile = 26;

std::string testPortal;

std::string StationsFolder() { return PlayerFolder() + "Stations\\"; }

// Where the portal's playlist links lead, up to the station's identifier.
std::string PlaylistAddress() {
  std::string address = kPlaylistHost;
  address += kPlaylistPath;
  return address;
}

}  // namespace

std::string CataloguePortal() { return testPortal.empty() ? kCataloguePortal : testPortal; }

void SetCataloguePortalForTests(const std::string& address) { testPortal = address; }

std::vector<TCatalogueEntry> ParseCatalogueHtml(const std::string& Html) {
  const std::string playlist = PlaylistAddress();
  std::vector<TCatalogueEntry> entries;
  for (size_t at = Html.find(kBlockStart); at != std::string::npos;
       at = Html.find(kBlockStart, at + 1)) {
    size_t end = Html.find(kBlockEnd, at);
    if (end == std::string::npos) break;
    std::string_view block = std::string_view(Html).substr(at, end - at);
    TCatalogueEntry entry{efir::ExtractBetween(playlist, kLogoTag, block),
                          efir::ExtractBetween(kLogoSource, "\"", block),
                          efir::ExtractBetween(kLogoName, "\"", block)};
    if (entry.Id.starts_with("=")) entries.push_back(entry);
  }
  return entries;
}

std::string CleanStationName(const std::string& Name) {
  std::string name = efir::ReplaceAll(Name, "&laquo;", "");
  name = efir::ReplaceAll(name, "&raquo;", "");
  return efir::ReplaceAll(name, "&#1110;", "i");
}

void ClearStationsFolder() {
  for (const TSearchRec& entry : efir::FindFiles(StationsFolder() + "*.*"))
    if (!(entry.Attr & FILE_ATTRIBUTE_DIRECTORY)) efir::DeleteFile(StationsFolder() + entry.Name);
}

std::string FixLogoExtension(int N, const std::string& From) {
  if (!efir::FileExists(From)) return {};
  TTextFile file;
  file.Reset(From);
  char first = file.ReadChar();
  file.Close();
  std::string extension;
  switch (static_cast<unsigned char>(first)) {
    case kEndOfFile: extension = ".txt"; break;
    case 'G': extension = ".gif"; break;
    case 137: extension = ".png"; break;
    case 255: extension = ".jpg"; break;
  }
  if (extension != ".txt") LogoExtensions.Set(N, extension);
  efir::RenameFile(From, StationLogoPath(PlayerFolder(), N, extension));
  return extension;
}

void TForm1::Button1Click(TObject*) {
  const std::string page = efir::text::utf8ToAnsi(IdHTTP1.Get(CataloguePortal() + "/"));
  const std::vector<TCatalogueEntry> entries =
      ParseCatalogueHtml(efir::ExtractBetween(kStationsStart, kFooter, page));
  // The folder is the user's only copy of the stations: it goes only for a usable list.
  if (entries.empty()) throw Exception("The portal's page lists no stations");

  DataGrid1->ClearRows();
  DataGrid2->ClearRows();
  ClearStationsFolder();
  TStringList& logos = Memo1->Lines();
  TStringList& names = Memo2->Lines();
  logos.Clear();
  names.Clear();
  for (size_t i = 0; i < entries.size(); ++i) {
    const int N = static_cast<int>(i) + 1;
    logos.Add(CataloguePortal() + entries[i].Logo);
    efir::WriteFileSafely(StationFilePath(PlayerFolder(), N),
                          PlaylistAddress() + entries[i].Id + "\r\n" +
                              CleanStationName(entries[i].Name) + "\r\n");
    names.Add(std::to_string(N));
  }
  WebMultiDownload1->DownloadUrlList(logos, names);
  const std::string downloads = efir::text::toAnsi(WebMultiDownload1->DownloadFolder);
  for (size_t i = 0; i < entries.size(); ++i) {
    const int N = static_cast<int>(i) + 1;
    // An empty answer is kept as a list of the logos to fetch again.
    if (FixLogoExtension(N, downloads + std::to_string(N)) == ".txt")
      logos.Add(CataloguePortal() + entries[i].Logo);
  }
  Button2Click(this);
}
