// Station logos as the grids and previews show them: the one rule by which both programs turn
// a logo file into the picture a grid cell points at, what a logo that cannot be read costs,
// and the logos the player's views share.
//
//   std::unique_ptr<TGraphic> logo = ReadStationLogo(folder, 4, ".jpg");   // never raises
//   grid->GetCell(0, row)->CellObject = logo.get();   // the grid never frees it
//
//   TStationLogos logos;                               // one per program folder's views
//   std::shared_ptr<TGraphic> shared = logos.Get(folder, 4, ".jpg");  // decoded once
//   ...
//   ResetLogoReport();   // at each start of a program: its first bad logo is reported again
//
// What a logo costs is bounded by construction: a file wider or higher than kMaxLogoSide is
// refused from its header, before its pixels are decoded, as a damaged logo; a readable one
// is decoded once, at its own size, and kept no larger than kLogoShownSize.
#pragma once

#include <windows.h>

#include <cstddef>
#include <map>
#include <memory>
#include <string>

#include "framework/graphics.h"

// The widest and highest logo file read.
inline constexpr int kMaxLogoSide = 4096;
// The largest place a logo shows in: the player's tile (the previews and the editor's rows are
// smaller, and every place stretches the logo over itself). A larger logo is kept scaled down
// to it, each side on its own.
inline constexpr SIZE kLogoShownSize = {91, 90};

// ".jpg" gives a JPEG picture, ".png" a PNG picture and ".gif" the GIF's first frame in a new
// JPEG picture, each no larger than kLogoShownSize; any other extension (compared exactly, as
// the store does) gives nullptr. A file that cannot be read or decoded, or is larger than
// kMaxLogoSide, raises EPictureError.
std::unique_ptr<TGraphic> NewStationLogo(const std::string& path, const std::string& extension);

// The logo of `station` in the program folder's `Stations`, as NewStationLogo reads it; nullptr
// for an extension the store does not read. A logo that cannot be read costs only its own
// picture: the empty logo `nil.jpg` of the program folder stands in (nothing when that cannot
// be read either), and the first such logo since the last ResetLogoReport is reported, in
// Russian and naming the file, through the application's default handler; later ones pass
// in silence.
std::unique_ptr<TGraphic> ReadStationLogo(const std::string& programFolder, int station,
                                          const std::string& extension);
void ResetLogoReport();

// Logos read once and shared by every view that shows them: a station named by a thousand
// favourites costs one decode and one picture. Whoever shows a logo holds its pointer, so
// Clear (after the folder changed) never frees a picture a grid still points at.
class TStationLogos {
 public:
  // As ReadStationLogo gives it; the empty logo that stands in is itself read once.
  std::shared_ptr<TGraphic> Get(const std::string& programFolder, int station,
                                      const std::string& extension);
  void Clear();

  // Files decoded (or tried) since construction, and the bytes the kept pictures hold.
  int Decodes() const { return decodes_; }
  size_t BytesHeld() const;

 private:
  std::shared_ptr<TGraphic> Read(const std::string& path, const std::string& extension);
  // nil.jpg of the program folder, read once (nullptr when it cannot be read).
  std::shared_ptr<TGraphic> SharedEmptyLogo(const std::string& programFolder);

  std::map<std::string, std::shared_ptr<TGraphic>> logos_;  // by file path
  int decodes_ = 0;
};
