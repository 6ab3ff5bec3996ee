// Station logos as the grids show them: the one rule by which both programs turn a logo file
// into the picture a grid cell points at.
//
//   std::unique_ptr<TGraphic> logo = NewStationLogo(path, ".gif");
//   grid->GetCell(0, row)->CellObject = logo.get();   // the grid never frees it
#pragma once

#include <memory>
#include <string>

#include "framework/graphics.h"

// ".jpg" gives a JPEG picture, ".png" a PNG picture and ".gif" the GIF's first frame in a new
// JPEG picture; any other extension (compared exactly, as the store does) gives nullptr.
// A file that cannot be read or decoded raises EPictureError.
std::unique_ptr<TGraphic> NewStationLogo(const std::string& path, const std::string& extension);
