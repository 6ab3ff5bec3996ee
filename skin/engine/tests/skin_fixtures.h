// Small skins made by the tests themselves: packed containers written with zlib, solid
// BMP and JPEG pictures of a chosen size, and skin folders on disk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "skin/engine/skin_reader.h"

namespace efir::test {

using SkinFiles = std::vector<std::pair<std::string, std::string>>;  // name, bytes

// The packed container of these entries, in this order.
std::string PackSkin(const SkinFiles& entries);
// One entry's bytes as the container holds them: name length, name, size, zlib stream.
std::string PackedEntry(const std::string& name, const std::string& bytes);
std::string Int32(int32_t value);

// What a packed skin of these entries gives once its container is read: the options text,
// and the pictures from the container, ready for the skin readers.
class PackedSkinSource {
 public:
  explicit PackedSkinSource(const SkinFiles& entries);
  PackedSkinSource(const PackedSkinSource&) = delete;
  PackedSkinSource& operator=(const PackedSkinSource&) = delete;

  TSkinSource& Source() { return source_; }

 private:
  TMemoryStream packed_;
  TacSkinConvertor convertor_;
  TSkinSource source_;
};

std::string BmpBytes(int width, int height, uint32_t bgr);
// A PNG file of one RGBA colour, written row by row so that even a very large picture costs
// the test only its compressed bytes.
std::string SolidPngBytes(int width, int height, uint32_t rgba);
// Each pixel (top row first) as 0x00BBGGRR.
std::string BmpBytes(int width, int height, const std::function<uint32_t(int x, int y)>& bgrAt);
std::string JpegBytes(int width, int height);

// The process's highest memory use so far (its peak working set), in bytes.
size_t PeakMemory();
// How far run() raised that peak. An earlier, higher peak hides growth below it, so this can
// only understate: a bound checked with it never fails wrongly.
template <class Run>
size_t PeakGrowth(Run run) {
  const size_t before = PeakMemory();
  run();
  const size_t after = PeakMemory();
  return after > before ? after - before : 0;
}
constexpr size_t kMiB = 1024 * 1024;

// Writes the files into `folder` (created when missing; its files are deleted first).
void WriteSkinFolder(const std::string& folder, const SkinFiles& files);

}  // namespace efir::test
