#include "stations/station_logo.h"

#include "framework/picture_gif.h"
#include "framework/picture_jpeg.h"
#include "framework/picture_png.h"

namespace {

template <class TKind>
std::unique_ptr<TKind> Load(const std::string& path) {
  auto picture = std::make_unique<TKind>();
  picture->LoadFromFile(path);
  return picture;
}

}  // namespace

std::unique_ptr<TGraphic> NewStationLogo(const std::string& path, const std::string& extension) {
  if (extension == ".jpg") return Load<TJPEGImage>(path);
  if (extension == ".png") return Load<TPngImage>(path);
  if (extension == ".gif") {
    // The grids draw a still picture: the first frame, as a JPEG picture.
    auto jpeg = std::make_unique<TJPEGImage>();
    jpeg->Assign(Load<TGIFImage>(path)->Bitmap());
    return jpeg;
  }
  return nullptr;
}
