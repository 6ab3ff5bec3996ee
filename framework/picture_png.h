// PNG pictures, kept as 32-bit bitmaps with their alpha channel and drawn blended.
//
//   TPngImage png;
//   png.LoadFromFile("icons.png");            // or LoadFromMemory(bytes, size)
//   canvas.Draw(0, 0, png);
#pragma once

#include "framework/picture_raster.h"

namespace efir {

// Decodes PNG bytes straight into `into`, which becomes a 32-bit bitmap of the picture's size
// (straight alpha). EPictureError for bytes that are not a whole PNG, or for a picture wider or
// higher than `maxSide` (refused from the header); `into` may then hold a part of the picture.
void DecodePng(const void* data, size_t size, TBitmap& into, int maxSide = kMaxPictureSide);

}  // namespace efir

class TPngImage : public TRasterGraphic {
 public:
  TPngImage() : TRasterGraphic(pf32bit) {}
  std::unique_ptr<TGraphic> Clone() const override;

 protected:
  void Decode(const uint8_t* data, size_t size, TBitmap& into) const override;
};
