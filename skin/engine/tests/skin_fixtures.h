// Small skins made by the tests themselves: packed containers written with zlib, solid
// BMP and JPEG pictures of a chosen size, and skin folders on disk.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace efir::test {

using SkinFiles = std::vector<std::pair<std::string, std::string>>;  // name, bytes

// The packed container of these entries, in this order.
std::string PackSkin(const SkinFiles& entries);
// One entry's bytes as the container holds them: name length, name, size, zlib stream.
std::string PackedEntry(const std::string& name, const std::string& bytes);
std::string Int32(int32_t value);

std::string BmpBytes(int width, int height, uint32_t bgr);
// Each pixel (top row first) as 0x00BBGGRR.
std::string BmpBytes(int width, int height, const std::function<uint32_t(int x, int y)>& bgrAt);
std::string JpegBytes(int width, int height);

// Writes the files into `folder` (created when missing; its files are deleted first).
void WriteSkinFolder(const std::string& folder, const SkinFiles& files);

}  // namespace efir::test
