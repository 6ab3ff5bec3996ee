// The catalogue rebuild (TForm1::Button1Click, the hidden button "<>"): replaces the station
// folder with the stations an outside radio portal lists on its home page, each with its
// playlist address, name and logo. No command of the windows reaches it.
//
//   SetCataloguePortalForTests("http://127.0.0.1:8000/portal");
//   Form1->Button1Click(Form1);
#pragma once

#include <string>
#include <vector>

// The portal's home, without a final '/': its page and the logos' paths hang from it.
inline constexpr char kCataloguePortal[] = "http://radio-portal.example";
// The host the portal's playlist links point at; the station files keep these links.
inline constexpr char kPlaylistHost[] = "http://pls.radio-portal.example";

std::string CataloguePortal();
void SetCataloguePortalForTests(const std::string& address);  // "" restores kCataloguePortal

// One station of the portal's page: its playlist identifier ("=..."), logo path and name.
struct TCatalogueEntry {
  std::string Id;
  std::string Logo;
  std::string Name;
};

// The station blocks of the page's station part (Windows-1251), in page order; a block
// without a playlist identifier of the portal is left out, and so is one the page cuts short.
std::vector<TCatalogueEntry> ParseCatalogueHtml(const std::string& Html);
// The name as the station file keeps it: quote entities dropped, "&#1110;" as "i".
std::string CleanStationName(const std::string& Name);
// Deletes every file of the station folder.
void ClearStationsFolder();
// Moves the downloaded logo `From` (a file without extension) into the station folder as
// station N's logo, named by what its first byte says it is: ".gif", ".png" or ".jpg", which
// are recorded in LogoExtensions; ".txt" for an empty file, or an empty stand-in when none
// arrived. Returns the extension given; empty for a file of another kind (it then keeps no
// extension).
std::string FixLogoExtension(int N, const std::string& From);
