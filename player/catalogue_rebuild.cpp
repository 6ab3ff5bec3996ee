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
  // Nothing arrived: an empty stand-in keeps the folder at two files a station, which the
  // folder scan counts on.
  if (!efir::FileExists(From)) {
    efir::WriteFileSafely(StationLogoPath(PlayerFolder(), N, ".txt"), "");
    return ".txt";
  }
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

namespace {

// Station files 1, 2, ... of the entries, with the logos' addresses in Memo1 and the files
// they go to in Memo2. The memos' lines are taken afresh each time: a download's message loop
// hands them to their windows in between.
void WriteStationFiles(TForm1& form, const std::vector<TCatalogueEntry>& entries) {
  form.Memo1->Lines().Clear();
  form.Memo2->Lines().Clear();
  for (size_t i = 0; i < entries.size(); ++i) {
    const int N = static_cast<int>(i) + 1;
    form.Memo1->Lines().Add(CataloguePortal() + entries[i].Logo);
    efir::WriteFileSafely(StationFilePath(PlayerFolder(), N),
                          PlaylistAddress() + entries[i].Id + "\r\n" +
                              CleanStationName(entries[i].Name) + "\r\n");
    form.Memo2->Lines().Add(std::to_string(N));
  }
}

// Moves the logos from the download folder to their stations; one that did not come is listed
// again in Memo1, to fetch later.
void PlaceLogos(TForm1& form, const std::vector<TCatalogueEntry>& entries,
                const std::string& downloads) {
  for (size_t i = 0; i < entries.size(); ++i) {
    const int N = static_cast<int>(i) + 1;
    if (FixLogoExtension(N, downloads + std::to_string(N)) == ".txt")
      form.Memo1->Lines().Add(CataloguePortal() + entries[i].Logo);
  }
}

}  // namespace

void TForm1::Button1Click(TObject*) {
  const std::string page = efir::text::utf8ToAnsi(IdHTTP1.Get(CataloguePortal() + "/"));
  const std::vector<TCatalogueEntry> entries =
      ParseCatalogueHtml(efir::ExtractBetween(kStationsStart, kFooter, page));
  // The folder is the user's only copy of the stations: it goes only for a usable list.
  if (entries.empty()) throw Exception("The portal's page lists no stations");

  DataGrid1->ClearRows();
  DataGrid2->ClearRows();
  ClearStationsFolder();
  LogoExtensions.Clear();
  WriteStationFiles(*this, entries);
  const TStringList logos = Memo1->Lines();
  const TStringList names = Memo2->Lines();
  WebMultiDownload1->DownloadUrlList(logos, names);
  PlaceLogos(*this, entries, efir::text::toAnsi(WebMultiDownload1->DownloadFolder));
  Button2Click(this);
}
