// PNG files of known pixels, encoded in the test with libpng, for the PNG and image-list tests.
#pragma once

#include <png.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

namespace efir::test {

// One pixel of a PNG fixture, straight alpha.
struct Rgba {
  uint8_t r, g, b, a;
};

// The PNG file bytes of a width x height picture, rows top-down; withAlpha false writes an RGB
// file (the alpha bytes are dropped).
inline std::vector<uint8_t> EncodePng(int width, int height, const std::vector<Rgba>& pixels, bool withAlpha = true) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = withAlpha ? PNG_FORMAT_RGBA : PNG_FORMAT_RGB;
  std::vector<uint8_t> raw;
  for (const Rgba& p : pixels) {
    raw.insert(raw.end(), {p.r, p.g, p.b});
    if (withAlpha) raw.push_back(p.a);
  }
  png_alloc_size_t size = 0;
  if (!png_image_write_to_memory(&image, nullptr, &size, 0, raw.data(), 0, nullptr))
    throw std::runtime_error(image.message);
  std::vector<uint8_t> bytes(size);
  if (!png_image_write_to_memory(&image, bytes.data(), &size, 0, raw.data(), 0, nullptr))
    throw std::runtime_error(image.message);
  bytes.resize(size);
  return bytes;
}

// A square picture of one colour.
inline std::vector<uint8_t> SolidPng(int side, Rgba colour, bool withAlpha = true) {
  return EncodePng(side, side, std::vector<Rgba>(static_cast<size_t>(side) * side, colour), withAlpha);
}

}  // namespace efir::test
