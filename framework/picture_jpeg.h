// JPEG pictures, kept as 24-bit bitmaps. A JPEG picture can also take another picture
// (a GIF's first frame, say) through Assign, and then holds that picture's pixels.
//
//   TJPEGImage jpeg;
//   jpeg.LoadFromFile("logo.jpg");
//   TJPEGImage fromGif; fromGif.Assign(gif.Bitmap());
#pragma once

#include <cstdint>

#include "framework/picture_raster.h"

class TJPEGImage : public TRasterGraphic {
 public:
  TJPEGImage() : TRasterGraphic(pf24bit) {}
  std::unique_ptr<TGraphic> Clone() const override;

 protected:
  void Decode(const uint8_t* data, size_t size, TBitmap& into) const override;
};

namespace efir {

// How many JPEG decodes in this process got past the header and began reading the picture's
// data: lets a test see that a file was refused from its header alone.
int64_t JpegDecompressionsStarted();

}  // namespace efir
