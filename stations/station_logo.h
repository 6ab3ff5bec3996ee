// Station logos as the grids and previews show them: the one rule by which both programs turn
// a logo file into the picture a grid cell points at, and what a logo that cannot be read
// costs.
//
//   std::unique_ptr<TGraphic> logo = ReadStationLogo(folder, 4, ".jpg");   // never raises
//   grid->GetCell(0, row)->CellObject = logo.get();   // the grid never frees it
//   ...
//   ResetLogoReport();   // at each start of a program: its first bad logo is reported again
#pragma once

#include <memory>
#include <string>

#include "framework/graphics.h"

// ".jpg" gives a JPEG picture, ".png" a PNG picture and ".gif" the GIF's first frame in a new
// JPEG picture; any other extension (compared exactly, as the store does) gives nullptr.
// A file that cannot be read or decoded raises EPictureError.
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
