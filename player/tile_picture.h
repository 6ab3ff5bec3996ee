// Station logos as the tile grids hold them, each as the picture kind its file asks for.
//
//   grid->GetCell(c, r)->CellObject = NewTilePicture(path, ".gif");   // never freed
#pragma once

#include <string>

#include "framework/graphics.h"

// Loads the logo file as a new picture of its kind: ".jpg" a JPEG picture; ".gif" the GIF's
// first frame assigned into a new JPEG picture; ".png" a PNG picture. The caller owns it.
// Raises EPictureError for a file that cannot be read; nullptr for another extension.
TGraphic* NewTilePicture(const std::string& path, const std::string& extension);
