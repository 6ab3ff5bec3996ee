#include "player/tile_picture.h"

#include <memory>

#include "framework/picture_gif.h"
#include "framework/picture_jpeg.h"
#include "framework/picture_png.h"

TGraphic* NewTilePicture(const std::string& path, const std::string& extension) {
  if (extension == ".jpg") {
    auto jpeg = std::make_unique<TJPEGImage>();
    jpeg->LoadFromFile(path);
    return jpeg.release();
  }
  if (extension == ".gif") {
    TGIFImage gif;
    gif.LoadFromFile(path);
    auto jpeg = std::make_unique<TJPEGImage>();
    jpeg->Assign(gif.Bitmap());
    return jpeg.release();
  }
  if (extension == ".png") {
    auto png = std::make_unique<TPngImage>();
    png->LoadFromFile(path);
    return png.release();
  }
  return nullptr;
}
