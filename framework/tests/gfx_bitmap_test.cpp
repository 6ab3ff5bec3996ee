// Bitmaps: row layout, format changes, drawing onto other bitmaps, and .bmp files.
#include "framework/bitmap.h"

#include "framework/exceptions.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <vector>

namespace {

// The colour of pixel x of a 24- or 32-bit row, as a COLORREF.
COLORREF pixelAt(const TBitmap& bmp, int x, int y) {
  const auto* row = static_cast<const uint8_t*>(bmp.ScanLine(y));
  const int size = bmp.PixelFormat() == pf24bit ? 3 : 4;
  return RGB(row[x * size + 2], row[x * size + 1], row[x * size]);
}

uint8_t alphaAt(const TBitmap& bmp, int x, int y) {
  return static_cast<const uint8_t*>(bmp.ScanLine(y))[x * 4 + 3];
}

void setPixel(TBitmap& bmp, int x, int y, COLORREF color, uint8_t alpha = 255) {
  auto* p = static_cast<uint8_t*>(bmp.ScanLine(y)) + x * (bmp.PixelFormat() == pf24bit ? 3 : 4);
  p[0] = GetBValue(color);
  p[1] = GetGValue(color);
  p[2] = GetRValue(color);
  if (bmp.PixelFormat() == pf32bit) p[3] = alpha;
}

void writeFile(const std::string& name, const std::vector<uint8_t>& bytes) {
  std::ofstream(name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                               static_cast<std::streamsize>(bytes.size()));
}

TEST(GfxBitmap, RowsAreTopDownAndPaddedForOddWidths) {
  for (int width : {1, 2, 3, 5, 7}) {
    SCOPED_TRACE(width);
    TBitmap bmp(width, 3, pf24bit);
    const auto* row0 = static_cast<const uint8_t*>(bmp.ScanLine(0));
    const auto* row1 = static_cast<const uint8_t*>(bmp.ScanLine(1));
    EXPECT_EQ(row1 - row0, (width * 3 + 3) / 4 * 4);
    bmp.Canvas().SetPixels(width - 1, 2, 0x00332211);  // red 0x11, green 0x22, blue 0x33
    const auto* row2 = static_cast<const uint8_t*>(bmp.ScanLine(2));
    EXPECT_EQ(row2[(width - 1) * 3 + 0], 0x33);
    EXPECT_EQ(row2[(width - 1) * 3 + 1], 0x22);
    EXPECT_EQ(row2[(width - 1) * 3 + 2], 0x11);
    EXPECT_EQ(pixelAt(bmp, 0, 0), RGB(0, 0, 0));
  }
  TBitmap bmp(4, 2, pf24bit);
  EXPECT_THROW(bmp.ScanLine(2), Exception);
  EXPECT_THROW(bmp.ScanLine(-1), Exception);
  TBitmap empty;
  EXPECT_THROW(empty.ScanLine(0), Exception);
}

TEST(GfxBitmap, FormatAndSizeChangesKeepThePicture) {
  TBitmap bmp(3, 2, pf32bit);
  setPixel(bmp, 0, 0, RGB(10, 20, 30), 40);
  setPixel(bmp, 2, 1, RGB(200, 100, 50), 128);

  bmp.SetSize(4, 3);
  EXPECT_EQ(pixelAt(bmp, 2, 1), RGB(200, 100, 50));
  EXPECT_EQ(alphaAt(bmp, 2, 1), 128) << "a resize keeps alpha";
  EXPECT_EQ(pixelAt(bmp, 3, 2), RGB(0, 0, 0));

  bmp.SetPixelFormat(pf24bit);
  EXPECT_EQ(pixelAt(bmp, 0, 0), RGB(10, 20, 30));
  bmp.SetPixelFormat(pf32bit);
  EXPECT_EQ(pixelAt(bmp, 2, 1), RGB(200, 100, 50));

  // The canvas made before a change draws into the new picture.
  bmp.Canvas().Brush().SetColor(clRed);
  bmp.SetSize(6, 6);
  bmp.Canvas().FillRect({5, 5, 6, 6});
  EXPECT_EQ(pixelAt(bmp, 5, 5), RGB(255, 0, 0));

  TBitmap device(2, 2);
  ASSERT_EQ(device.PixelFormat(), pfDevice);
  device.Canvas().SetPixels(1, 1, clRed);
  device.ScanLine(0);
  EXPECT_EQ(device.PixelFormat(), pf32bit);
  EXPECT_EQ(pixelAt(device, 1, 1), RGB(255, 0, 0));

  TBitmap grey(2, 1, pf8bit);
  static_cast<uint8_t*>(grey.ScanLine(0))[1] = 77;
  grey.SetPixelFormat(pf24bit);
  EXPECT_EQ(pixelAt(grey, 1, 0), RGB(77, 77, 77)) << "8-bit rows hold grey levels";
}

TEST(GfxBitmap, AssignCopiesPixelsAndSettings) {
  TBitmap source(5, 3, pf32bit);
  setPixel(source, 4, 2, RGB(1, 2, 3), 9);
  source.SetTransparent(true);
  source.SetTransparentColor(clFuchsia);
  TBitmap copy;
  copy.Assign(source);
  EXPECT_EQ(copy.Width(), 5);
  EXPECT_EQ(copy.PixelFormat(), pf32bit);
  EXPECT_EQ(pixelAt(copy, 4, 2), RGB(1, 2, 3));
  EXPECT_EQ(alphaAt(copy, 4, 2), 9);
  EXPECT_TRUE(copy.Transparent());
  EXPECT_EQ(copy.TransparentColor(), clFuchsia);
  setPixel(source, 4, 2, RGB(9, 9, 9));
  EXPECT_EQ(pixelAt(copy, 4, 2), RGB(1, 2, 3)) << "a copy, not a shared picture";
}

TEST(GfxBitmap, DrawingOntoAnotherBitmapStretchesAndKeysOut) {
  TBitmap quad(2, 2, pf24bit);
  setPixel(quad, 0, 0, RGB(255, 0, 0));
  setPixel(quad, 1, 0, RGB(0, 255, 0));
  setPixel(quad, 0, 1, RGB(0, 0, 255));
  setPixel(quad, 1, 1, RGB(255, 0, 255));

  TBitmap target(12, 12, pf32bit);
  target.Canvas().Brush().SetColor(clWhite);
  target.Canvas().FillRect({0, 0, 12, 12});
  target.Canvas().StretchDraw({2, 2, 10, 10}, quad);
  const struct { int x, y; COLORREF color; } cases[] = {
      {2, 2, RGB(255, 0, 0)},   {5, 5, RGB(255, 0, 0)},     {6, 2, RGB(0, 255, 0)},
      {9, 5, RGB(0, 255, 0)},   {2, 6, RGB(0, 0, 255)},     {9, 9, RGB(255, 0, 255)},
      {1, 1, RGB(255, 255, 255)}, {10, 10, RGB(255, 255, 255)}};
  for (const auto& c : cases) EXPECT_EQ(pixelAt(target, c.x, c.y), c.color) << c.x << "," << c.y;

  // A part of one canvas copied, stretched, into another.
  TBitmap copy(4, 4, pf32bit);
  copy.Canvas().CopyRect({0, 0, 4, 2}, target.Canvas(), {6, 2, 10, 6});
  EXPECT_EQ(pixelAt(copy, 0, 0), RGB(0, 255, 0));
  EXPECT_EQ(pixelAt(copy, 3, 1), RGB(0, 255, 0));
  EXPECT_EQ(pixelAt(copy, 0, 2), RGB(0, 0, 0));

  quad.SetTransparent(true);
  EXPECT_EQ(quad.TransparentColor(), static_cast<TColor>(RGB(0, 0, 255)))
      << "the bottom-left pixel until a colour is set";
  quad.SetTransparentColor(clFuchsia);
  target.Canvas().FillRect({0, 0, 12, 12});
  target.Canvas().Draw(0, 0, quad);
  EXPECT_EQ(pixelAt(target, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(pixelAt(target, 1, 1), RGB(255, 255, 255)) << "the transparent colour is left out";
}

// A Windows bitmap file written byte by byte, bottom-up, 24 bits or 8 bits with a palette.
std::vector<uint8_t> handMadeBmp(int width, int height, int bits, const std::vector<COLORREF>& pixels) {
  std::vector<COLORREF> palette;
  if (bits == 8)
    for (COLORREF c : pixels)
      if (std::find(palette.begin(), palette.end(), c) == palette.end()) palette.push_back(c);
  const int stride = (width * bits / 8 + 3) / 4 * 4;
  const uint32_t offset = 14 + 40 + 4 * static_cast<uint32_t>(palette.size());
  std::vector<uint8_t> out;
  auto put = [&](uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
  };
  put('B' | ('M' << 8), 2);
  put(offset + stride * height, 4);
  put(0, 4);
  put(offset, 4);
  put(40, 4);
  put(width, 4);
  put(height, 4);
  put(1, 2);
  put(bits, 2);
  put(0, 4);
  put(stride * height, 4);
  put(2835, 4);
  put(2835, 4);
  put(static_cast<uint32_t>(palette.size()), 4);
  put(0, 4);
  for (COLORREF c : palette) put((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c), 4);
  for (int y = height - 1; y >= 0; --y) {
    size_t start = out.size();
    for (int x = 0; x < width; ++x) {
      COLORREF c = pixels[y * width + x];
      if (bits == 8)
        out.push_back(static_cast<uint8_t>(std::find(palette.begin(), palette.end(), c) - palette.begin()));
      else
        put((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c), 3);
    }
    out.resize(start + stride, 0);
  }
  return out;
}

TEST(GfxBitmap, ReadsHandMadeBmpFiles) {
  const std::vector<COLORREF> pixels = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255),
                                        RGB(10, 20, 30), RGB(255, 255, 255), RGB(0, 0, 0)};
  for (int bits : {24, 8}) {
    SCOPED_TRACE(bits);
    const std::string name = "hand" + std::to_string(bits) + ".bmp";
    writeFile(name, handMadeBmp(3, 2, bits, pixels));
    TBitmap bmp;
    bmp.LoadFromFile(name);
    ASSERT_EQ(bmp.Width(), 3);
    ASSERT_EQ(bmp.Height(), 2);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) EXPECT_EQ(pixelAt(bmp, x, y), pixels[y * 3 + x]) << x << "," << y;
  }
}

TEST(GfxBitmap, SavedBmpFilesReadBackTheSame) {
  for (TPixelFormat format : {pf24bit, pf32bit}) {
    SCOPED_TRACE(format);
    TBitmap bmp(5, 3, format);
    setPixel(bmp, 0, 0, RGB(1, 2, 3), 4);
    setPixel(bmp, 4, 2, RGB(250, 251, 252), 253);
    bmp.SaveToFile("saved.bmp");
    TBitmap back;
    back.LoadFromFile("saved.bmp");
    EXPECT_EQ(back.PixelFormat(), format);
    EXPECT_EQ(back.Width(), 5);
    EXPECT_EQ(pixelAt(back, 0, 0), RGB(1, 2, 3));
    EXPECT_EQ(pixelAt(back, 4, 2), RGB(250, 251, 252));
    if (format == pf32bit) {
      EXPECT_EQ(alphaAt(back, 4, 2), 253);
    }
  }
}

TEST(GfxBitmap, BrokenBmpFilesRaisePictureErrors) {
  const std::vector<uint8_t> good = handMadeBmp(7, 5, 24, std::vector<COLORREF>(35, RGB(1, 2, 3)));
  std::vector<uint8_t> hugeSize = good;
  hugeSize[18] = 0xFF, hugeSize[19] = 0xFF, hugeSize[20] = 0xFF, hugeSize[21] = 0x7F;
  std::vector<uint8_t> badOffset = good;
  badOffset[10] = 0xF0, badOffset[11] = 0xFF, badOffset[12] = 0xFF;
  const struct { const char* name; std::vector<uint8_t> bytes; } cases[] = {
      {"empty", {}},
      {"garbage", std::vector<uint8_t>(200, 0x5A)},
      {"header only", std::vector<uint8_t>(good.begin(), good.begin() + 54)},
      {"truncated pixels", std::vector<uint8_t>(good.begin(), good.end() - 10)},
      {"huge width", hugeSize},
      {"offset past the end", badOffset}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    writeFile("broken.bmp", c.bytes);
    TBitmap bmp(2, 2, pf24bit);
    EXPECT_THROW(bmp.LoadFromFile("broken.bmp"), EPictureError);
    EXPECT_EQ(bmp.Width(), 2) << "a failed load leaves the bitmap as it was";
  }
  TBitmap bmp;
  EXPECT_THROW(bmp.LoadFromFile("no such file.bmp"), EPictureError);
}

}  // namespace
