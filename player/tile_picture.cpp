#include "player/tile_picture.h"

#include "framework/picture_gif.h"
#include "framework/picture_jpeg.h"
#include "framework/picture_png.h"

namespace {

template <class TKind>
class TTilePicture : public TObject, public TKind {};

}  // namespace

TObject* NewTilePicture(const std::string& path, const std::string& extension) {
  if (extension == ".jpg") {
    auto* jpeg = new TTilePicture<TJPEGImage>;
    jpeg->LoadFromFile(path);
    return jpeg;
  }
  if (extension == ".gif") {
    TGIFImage gif;
    gif.LoadFromFile(path);
    auto* jpeg = new TTilePicture<TJPEGImage>;
    jpeg->Assign(gif.Bitmap());
    return jpeg;
  }
  if (extension == ".png") {
    auto* png = new TTilePicture<TPngImage>;
    png->LoadFromFile(path);
    return png;
  }
  return nullptr;
}
