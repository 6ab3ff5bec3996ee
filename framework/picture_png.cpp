#include "framework/picture_png.h"

#include "framework/exceptions.h"

#include <png.h>

std::unique_ptr<TGraphic> TPngImage::Clone() const {
  auto copy = std::make_unique<TPngImage>();
  copy->Assign(*this);
  return copy;
}

void TPngImage::Decode(const uint8_t* data, size_t size, TBitmap& into) const {
  efir::DecodePng(data, size, into, MaxSide());
}

// libpng's simplified reader keeps its error handling to itself and reports by result, so
// nothing has to jump or unwind through the library.
void efir::DecodePng(const void* data, size_t size, TBitmap& into, int maxSide) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, data, size))
    throw EPictureError(std::string("Invalid PNG data: ") + image.message);
  try {
    efir::CheckPictureSize(image.width, image.height, static_cast<uint64_t>(maxSide));
    image.format = PNG_FORMAT_BGRA;  // the byte order of a 32-bit bitmap row, alpha not premultiplied
    into.SetSize(0, 0);  // nothing of an earlier picture is copied over
    into.SetPixelFormat(pf32bit);
    into.SetSize(static_cast<int>(image.width), static_cast<int>(image.height));
  } catch (...) {
    png_image_free(&image);
    throw;
  }
  // Rows of a 32-bit bitmap follow one another without padding, top row first.
  if (!png_image_finish_read(&image, nullptr, into.ScanLine(0), 0, nullptr))
    throw EPictureError(std::string("Invalid PNG data: ") + image.message);
}
