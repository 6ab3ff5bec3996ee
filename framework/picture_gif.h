// GIF pictures: the first frame on the picture's logical screen, kept as a 32-bit bitmap in
// which the frame's transparent colour, and whatever the frame does not cover, have alpha 0.
//
//   TGIFImage gif;
//   gif.LoadFromFile("logo.gif");
//   TJPEGImage jpeg; jpeg.Assign(gif.Bitmap());    // the frame, without transparency
#pragma once

#include "framework/picture_raster.h"

class TGIFImage : public TRasterGraphic {
 public:
  TGIFImage() : TRasterGraphic(pf32bit) {}
  std::unique_ptr<TGraphic> Clone() const override;

 protected:
  void Decode(const uint8_t* data, size_t size, TBitmap& into) const override;
};
