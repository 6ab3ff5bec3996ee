// The common ground of the picture file kinds (PNG, JPEG, GIF): each decodes its file into a
// bitmap and from then on is that bitmap. Pictures kept in 32 bits carry straight (not
// premultiplied) alpha and are drawn blended; 24-bit ones are drawn opaque.
//
//   TGIFImage gif;
//   gif.LoadFromFile("logo.gif");
//   const TBitmap& frame = gif.Bitmap();     // the decoded picture
#pragma once

#include "framework/bitmap.h"

#include <cstdint>

namespace efir {
// The widest and highest picture of ours.
inline constexpr int kMaxPictureSide = 0x8000;
}  // namespace efir

class TRasterGraphic : public TGraphic {
 public:
  int Width() const override { return bitmap_.Width(); }
  int Height() const override { return bitmap_.Height(); }
  const TBitmap& Bitmap() const { return bitmap_; }
  // Pictures wider or higher than `side` pixels are refused from their header, before their
  // pixels are decoded (EPictureError); no picture passes efir::kMaxPictureSide anyway.
  void SetMaxSide(int side) { maxSide_ = side; }
  int MaxSide() const { return maxSide_; }

  // On failure EPictureError, and the picture stays as it was.
  void LoadFromMemory(const void* data, size_t size) override;
  // Takes any graphic through its bitmap form; a picture without alpha becomes opaque.
  void Assign(const TGraphic& source) override;
  void AssignTo(TBitmap& dest) const override { dest.Assign(bitmap_); }
  void Draw(TCanvas& canvas, const RECT& rect) const override;

 protected:
  explicit TRasterGraphic(TPixelFormat format) : format_(format) {}
  // Decodes a whole file into `into`, which arrives empty in the picture's pixel format.
  virtual void Decode(const uint8_t* data, size_t size, TBitmap& into) const = 0;

 private:
  void Take(TBitmap& decoded);

  TPixelFormat format_;
  TBitmap bitmap_;
  int maxSide_ = efir::kMaxPictureSide;
};

namespace efir {

// Raises EPictureError for sizes no picture of ours can have: garbage headers would
// otherwise ask for gigabytes before the data runs out. `maxSide` narrows the bound for
// pictures a caller limits further.
void CheckPictureSize(uint64_t width, uint64_t height, uint64_t maxSide = kMaxPictureSide);

}  // namespace efir
