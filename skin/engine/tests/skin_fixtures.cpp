#include "skin/engine/tests/skin_fixtures.h"

#include <windows.h>

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <vector>
#include <stdexcept>

#include <jpeglib.h>
#include <zlib.h>

#include "framework/tests/core_test_files.h"

namespace efir::test {

std::string Int32(int32_t value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((static_cast<uint32_t>(value) >> (8 * i)) & 0xFF);
  return bytes;
}

std::string PackedEntry(const std::string& name, const std::string& bytes) {
  uLongf size = compressBound(static_cast<uLong>(bytes.size()));
  std::string packed(size, '\0');
  compress2(reinterpret_cast<Bytef*>(packed.data()), &size, reinterpret_cast<const Bytef*>(bytes.data()),
            static_cast<uLong>(bytes.size()), 9);
  packed.resize(size);
  return Int32(static_cast<int32_t>(name.size())) + name + Int32(static_cast<int32_t>(bytes.size())) + packed;
}

std::string PackSkin(const SkinFiles& entries) {
  std::string out = "ASzf" + Int32(static_cast<int32_t>(entries.size()));
  for (const auto& [name, bytes] : entries) out += PackedEntry(name, bytes);
  return out;
}

PackedSkinSource::PackedSkinSource(const SkinFiles& entries) {
  const std::string container = PackSkin(entries);
  packed_.WriteBuffer(container.data(), container.size());
  convertor_.PackedData = &packed_;
  convertor_.ReadPackedSkin();
  source_.Ini.SetText(std::string(reinterpret_cast<const char*>(convertor_.OptionsData->Memory()),
                                  static_cast<size_t>(convertor_.OptionsData->Size())));
  source_.Packed = &convertor_;
}

std::string BmpBytes(int width, int height, const std::function<uint32_t(int x, int y)>& bgrAt) {
  int stride = (width * 3 + 3) & ~3;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(stride * height);
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
  bytes.append(reinterpret_cast<const char*>(&info), sizeof info);
  // Rows bottom-up, as the format keeps them.
  for (int y = height - 1; y >= 0; --y) {
    std::string row(static_cast<size_t>(stride), '\0');
    for (int x = 0; x < width; ++x) {
      const uint32_t bgr = bgrAt(x, y);
      row[x * 3] = static_cast<char>(bgr >> 16);
      row[x * 3 + 1] = static_cast<char>(bgr >> 8);
      row[x * 3 + 2] = static_cast<char>(bgr);
    }
    bytes += row;
  }
  return bytes;
}

std::string BmpBytes(int width, int height, uint32_t bgr) {
  return BmpBytes(width, height, [bgr](int, int) { return bgr; });
}

namespace {

std::string BigEndian32(uint32_t value) {
  return {static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
          static_cast<char>(value)};
}

std::string PngChunk(const char* type, const std::string& data) {
  std::string body = std::string(type, 4) + data;
  uLong crc = crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size()));
  return BigEndian32(static_cast<uint32_t>(data.size())) + body + BigEndian32(static_cast<uint32_t>(crc));
}

}  // namespace

std::string SolidPngBytes(int width, int height, uint32_t rgba) {
  std::string header = BigEndian32(static_cast<uint32_t>(width)) + BigEndian32(static_cast<uint32_t>(height));
  header += std::string{8, 6, 0, 0, 0};  // 8 bits a channel, RGBA, deflate, no filter, no interlace
  std::string row(1 + static_cast<size_t>(width) * 4, '\0');  // filter byte 0, then the pixels
  for (int x = 0; x < width; ++x)
    for (int c = 0; c < 4; ++c) row[1 + x * 4 + c] = static_cast<char>(rgba >> (24 - 8 * c));
  z_stream z{};
  deflateInit(&z, 1);
  std::string packed;
  char out[65536];
  for (int y = 0; y <= height; ++y) {
    const bool last = y == height;
    z.next_in = last ? nullptr : reinterpret_cast<Bytef*>(row.data());
    z.avail_in = last ? 0 : static_cast<uInt>(row.size());
    do {
      z.next_out = reinterpret_cast<Bytef*>(out);
      z.avail_out = sizeof out;
      deflate(&z, last ? Z_FINISH : Z_NO_FLUSH);
      packed.append(out, sizeof out - z.avail_out);
    } while (z.avail_out == 0);
  }
  deflateEnd(&z);
  return "\x89PNG\r\n\x1a\n" + PngChunk("IHDR", header) + PngChunk("IDAT", packed) + PngChunk("IEND", "");
}

std::string JpegBytes(int width, int height) {
  jpeg_compress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &out, &size);
  c.image_width = static_cast<JDIMENSION>(width);
  c.image_height = static_cast<JDIMENSION>(height);
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_start_compress(&c, TRUE);
  std::vector<unsigned char> row(static_cast<size_t>(width) * 3, 0x40);
  while (c.next_scanline < c.image_height) {
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&c, rows, 1);
  }
  jpeg_finish_compress(&c);
  std::string bytes(reinterpret_cast<const char*>(out), size);
  jpeg_destroy_compress(&c);
  free(out);
  return bytes;
}

size_t PeakMemory() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.PeakWorkingSetSize;
}

void WriteSkinFolder(const std::string& folder, const SkinFiles& files) {
  ScratchFolder scratch(folder);
  for (const auto& [name, bytes] : files) writeBytes(scratch / name, bytes);
}

}  // namespace efir::test
