#include "framework/picture_raster.h"

#include "framework/exceptions.h"

#include <algorithm>

void efir::CheckPictureSize(uint64_t width, uint64_t height, uint64_t maxSide) {
  constexpr uint64_t kMaxPixels = uint64_t{1} << 26;
  maxSide = std::min<uint64_t>(maxSide, kMaxPictureSide);
  if (width == 0 || height == 0) throw EPictureError("The picture has no pixels");
  if (width > maxSide || height > maxSide || width * height > kMaxPixels)
    throw EPictureError("The picture is too large");
}

void TRasterGraphic::LoadFromMemory(const void* data, size_t size) {
  TBitmap decoded;
  decoded.SetPixelFormat(format_);
  Decode(static_cast<const uint8_t*>(data), size, decoded);
  Take(decoded);
}

void TRasterGraphic::Assign(const TGraphic& source) {
  if (&source == this) return;
  TBitmap copy;
  source.AssignTo(copy);
  const bool hadAlpha = copy.PixelFormat() == pf32bit;
  copy.SetPixelFormat(format_);
  if (format_ == pf32bit && !hadAlpha) {
    for (int y = 0; y < copy.Height(); ++y) {
      auto* row = static_cast<uint8_t*>(copy.ScanLine(y));
      for (int x = 0; x < copy.Width(); ++x) row[x * 4 + 3] = 255;
    }
  }
  Take(copy);
}

void TRasterGraphic::Take(TBitmap& decoded) {
  bitmap_.TakePicture(decoded);
  Changed();
}

void TRasterGraphic::Draw(TCanvas& canvas, const RECT& rect) const {
  efir::DrawWithAlpha(canvas, rect, bitmap_);
}
