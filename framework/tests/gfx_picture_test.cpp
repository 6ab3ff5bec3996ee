// Picture files of every kind: fixtures are written by the same libraries (or by hand) into
// the test's working folder, then read back through the picture classes.
#include "framework/picture.h"

#include "framework/exceptions.h"
#include "framework/picture_gif.h"
#include "framework/picture_icon.h"
#include "framework/picture_jpeg.h"
#include "framework/picture_png.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>

namespace {

struct Pixel {
  uint8_t r, g, b, a;
  bool operator==(const Pixel&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Pixel& p) {
  return out << "(" << int(p.r) << "," << int(p.g) << "," << int(p.b) << "," << int(p.a) << ")";
}

Pixel pixelAt(const TBitmap& bmp, int x, int y) {
  const auto* row = static_cast<const uint8_t*>(bmp.ScanLine(y));
  if (bmp.PixelFormat() == pf24bit) return {row[x * 3 + 2], row[x * 3 + 1], row[x * 3], 255};
  return {row[x * 4 + 2], row[x * 4 + 1], row[x * 4], row[x * 4 + 3]};
}

// Colours within `tolerance`; alpha is not compared (blending leaves GDI's own there).
bool similar(const Pixel& a, const Pixel& b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
         std::abs(a.b - b.b) <= tolerance;
}

std::vector<uint8_t> readFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const std::string& name, const std::vector<uint8_t>& bytes) {
  std::ofstream(name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                               static_cast<std::streamsize>(bytes.size()));
}

// ---- fixtures ----

// 3×2 with four levels of alpha.
const Pixel kPng[] = {{255, 0, 0, 255}, {0, 255, 0, 128}, {0, 0, 255, 0},
                      {10, 20, 30, 255}, {200, 100, 50, 64}, {255, 255, 255, 255}};

void writePng(const std::string& name) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = 3;
  image.height = 2;
  image.format = PNG_FORMAT_RGBA;
  ASSERT_TRUE(png_image_write_to_file(&image, name.c_str(), 0, kPng, 0, nullptr)) << image.message;
}

// 16×8: a red block and a blue block, each one JPEG block so that the colours survive.
std::vector<uint8_t> jpegBytes(bool progressive) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &out, &size);
  info.image_width = 16;
  info.image_height = 8;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 100, TRUE);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row(16 * 3);
  for (int x = 0; x < 16; ++x) {
    row[x * 3 + 0] = x < 8 ? 255 : 0;
    row[x * 3 + 2] = x < 8 ? 0 : 255;
  }
  while (info.next_scanline < info.image_height) {
    JSAMPROW p = row.data();
    jpeg_write_scanlines(&info, &p, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::vector<uint8_t> bytes(out, out + size);
  free(out);
  return bytes;
}

void writeJpeg(const std::string& name) { writeFile(name, jpegBytes(false)); }

// The file with its frame header stating another size; the data stays that of 16×8.
std::vector<uint8_t> withStatedJpegSize(std::vector<uint8_t> bytes, uint16_t width, uint16_t height) {
  for (size_t i = 2; i + 9 < bytes.size(); ++i)
    if (bytes[i] == 0xFF && (bytes[i + 1] == 0xC0 || bytes[i + 1] == 0xC2)) {
      bytes[i + 5] = static_cast<uint8_t>(height >> 8), bytes[i + 6] = static_cast<uint8_t>(height);
      bytes[i + 7] = static_cast<uint8_t>(width >> 8), bytes[i + 8] = static_cast<uint8_t>(width);
      return bytes;
    }
  ADD_FAILURE() << "no frame header";
  return bytes;
}

// A 5×9 screen with a 4×9 frame at x = 1; colour index = row % 3, index 2 transparent.
const GifColorType kGifColours[] = {{255, 0, 0}, {0, 0, 255}, {0, 255, 0}, {0, 0, 0}};

void writeGif(const std::string& name, bool interlaced) {
  int error = 0;
  GifFileType* gif = EGifOpenFileName(name.c_str(), false, &error);
  ASSERT_NE(gif, nullptr);
  ColorMapObject* map = GifMakeMapObject(4, kGifColours);
  EGifSetGifVersion(gif, true);
  EGifPutScreenDesc(gif, 5, 9, 8, 0, map);
  const GifByteType control[] = {1, 0, 0, 2};  // transparent colour index 2
  EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, control);
  EGifPutImageDesc(gif, 1, 0, 4, 9, interlaced, nullptr);
  std::vector<int> order;
  const int starts[] = {0, 4, 2, 1}, steps[] = {8, 8, 4, 2};
  for (int pass = 0; pass < (interlaced ? 4 : 1); ++pass)
    for (int y = interlaced ? starts[pass] : 0; y < 9; y += interlaced ? steps[pass] : 1) order.push_back(y);
  for (int y : order) {
    std::vector<GifPixelType> line(4, static_cast<GifPixelType>(y % 3));
    EGifPutLine(gif, line.data(), 4);
  }
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
}

// A 16×16 icon in the 32-bit bitmap layout: opaque green with a transparent top-left corner.
std::vector<uint8_t> handMadeIcon() {
  std::vector<uint8_t> out;
  auto put = [&](uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
  };
  const uint32_t imageBytes = 40 + 16 * 16 * 4 + 16 * 4;
  put(0, 2), put(1, 2), put(1, 2);                            // directory
  put(16, 1), put(16, 1), put(0, 1), put(0, 1), put(1, 2), put(32, 2), put(imageBytes, 4), put(22, 4);
  put(40, 4), put(16, 4), put(32, 4), put(1, 2), put(32, 2);  // header: height is doubled
  for (int i = 0; i < 6; ++i) put(0, 4);
  for (int y = 15; y >= 0; --y)                               // colour rows, bottom-up
    for (int x = 0; x < 16; ++x) put(x < 4 && y < 4 ? 0 : 0xFF00C000, 4);
  for (int y = 15; y >= 0; --y) put(y < 4 ? 0xF0 : 0, 4);     // AND mask rows
  return out;
}

// The hand-made icon with its bitmap header's width and height replaced.
std::vector<uint8_t> iconStating(uint32_t width, uint32_t rows) {
  std::vector<uint8_t> bytes = handMadeIcon();
  for (int i = 0; i < 4; ++i) {
    bytes[22 + 4 + i] = static_cast<uint8_t>(width >> (8 * i));
    bytes[22 + 8 + i] = static_cast<uint8_t>(rows >> (8 * i));
  }
  return bytes;
}

// The hand-made icon with one field of its bitmap header, at `offset` in it, replaced.
std::vector<uint8_t> iconWithHeaderField(size_t offset, uint32_t value) {
  std::vector<uint8_t> bytes = handMadeIcon();
  for (size_t i = 0; i < 4; ++i) bytes[22 + offset + i] = static_cast<uint8_t>(value >> (8 * i));
  return bytes;
}

// An icon whose one entry is a PNG file stating that size (its pixels are not there).
std::vector<uint8_t> pngIconStating(uint32_t side) {
  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
  for (int shift : {24, 16, 8, 0, 24, 16, 8, 0}) png.push_back(static_cast<uint8_t>(side >> shift));
  png.insert(png.end(), {8, 6, 0, 0, 0, 0, 0, 0, 0});
  png.resize(64, 0);
  std::vector<uint8_t> out = {0, 0, 1, 0, 1, 0, 0, 0, 0, 0, 1, 0, 32, 0, 64, 0, 0, 0, 22, 0, 0, 0};
  for (uint8_t byte : png) out.push_back(byte);
  return out;
}

// ---- tests ----

TEST(GfxPicture, PngKeepsColoursAndAlpha) {
  writePng("p.png");
  TPngImage png;
  png.LoadFromFile("p.png");
  ASSERT_EQ(png.Width(), 3);
  ASSERT_EQ(png.Height(), 2);
  EXPECT_EQ(png.Bitmap().PixelFormat(), pf32bit);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(pixelAt(png.Bitmap(), i % 3, i / 3), kPng[i]) << i;

  const std::vector<uint8_t> bytes = readFile("p.png");
  TPngImage fromMemory;
  fromMemory.LoadFromMemory(bytes.data(), bytes.size());
  EXPECT_EQ(pixelAt(fromMemory.Bitmap(), 1, 0), kPng[1]);
}

TEST(GfxPicture, PngIsBlendedOverWhatIsBelow) {
  writePng("blend.png");
  TPngImage png;
  png.LoadFromFile("blend.png");
  TBitmap target(6, 4, pf32bit);
  target.Canvas().Brush().SetColor(clWhite);
  target.Canvas().FillRect({0, 0, 6, 4});
  target.Canvas().Draw(0, 0, png);
  EXPECT_TRUE(similar(pixelAt(target, 0, 0), {255, 0, 0}, 1)) << pixelAt(target, 0, 0);
  EXPECT_TRUE(similar(pixelAt(target, 1, 0), {127, 255, 127}, 2)) << pixelAt(target, 1, 0);
  EXPECT_TRUE(similar(pixelAt(target, 2, 0), {255, 255, 255}, 1)) << pixelAt(target, 2, 0);
  EXPECT_TRUE(similar(pixelAt(target, 1, 1), {241, 216, 204}, 2)) << pixelAt(target, 1, 1);

  target.Canvas().FillRect({0, 0, 6, 4});
  target.Canvas().StretchDraw({0, 0, 6, 4}, png);
  EXPECT_TRUE(similar(pixelAt(target, 1, 1), {255, 0, 0}, 1)) << "stretched twice as large";
  EXPECT_TRUE(similar(pixelAt(target, 5, 1), {255, 255, 255}, 1));
}

TEST(GfxPicture, JpegDecodesToItsColours) {
  writeJpeg("j.jpg");
  TJPEGImage jpeg;
  jpeg.LoadFromFile("j.jpg");
  ASSERT_EQ(jpeg.Width(), 16);
  ASSERT_EQ(jpeg.Height(), 8);
  EXPECT_EQ(jpeg.Bitmap().PixelFormat(), pf24bit);
  EXPECT_TRUE(similar(pixelAt(jpeg.Bitmap(), 3, 4), {255, 0, 0}, 8)) << pixelAt(jpeg.Bitmap(), 3, 4);
  EXPECT_TRUE(similar(pixelAt(jpeg.Bitmap(), 12, 4), {0, 0, 255}, 8)) << pixelAt(jpeg.Bitmap(), 12, 4);
}

TEST(GfxPicture, GifFirstFrameWithTransparency) {
  for (bool interlaced : {false, true}) {
    SCOPED_TRACE(interlaced ? "interlaced" : "progressive");
    writeGif("g.gif", interlaced);
    TGIFImage gif;
    gif.LoadFromFile("g.gif");
    ASSERT_EQ(gif.Width(), 5);
    ASSERT_EQ(gif.Height(), 9);
    for (int y = 0; y < 9; ++y) {
      const GifColorType c = kGifColours[y % 3];
      const Pixel expected{c.Red, c.Green, c.Blue, static_cast<uint8_t>(y % 3 == 2 ? 0 : 255)};
      EXPECT_EQ(pixelAt(gif.Bitmap(), 2, y), expected) << "row " << y;
      EXPECT_EQ(pixelAt(gif.Bitmap(), 0, y).a, 0) << "outside the frame, row " << y;
    }
  }
}

TEST(GfxPicture, GifFrameAssignedIntoAJpegPicture) {
  writeGif("frame.gif", false);
  TGIFImage gif;
  gif.LoadFromFile("frame.gif");
  TJPEGImage jpeg;
  jpeg.Assign(gif.Bitmap());
  EXPECT_EQ(jpeg.Width(), 5);
  EXPECT_EQ(jpeg.Bitmap().PixelFormat(), pf24bit);
  EXPECT_EQ(pixelAt(jpeg.Bitmap(), 3, 1), (Pixel{0, 0, 255, 255}));

  TPngImage opaque;
  opaque.Assign(jpeg);
  EXPECT_EQ(pixelAt(opaque.Bitmap(), 3, 0), (Pixel{255, 0, 0, 255})) << "24-bit pictures become opaque";
}

TEST(GfxPicture, IconLoadsWithItsTransparency) {
  writeFile("i.ico", handMadeIcon());
  TIcon icon;
  icon.LoadFromFile("i.ico");
  EXPECT_NE(icon.Handle(), nullptr);
  EXPECT_EQ(icon.Width(), 16);
  EXPECT_EQ(icon.Height(), 16);
  TBitmap bmp;
  bmp.Assign(icon);
  EXPECT_EQ(pixelAt(bmp, 8, 8), (Pixel{0, 0xC0, 0, 255}));
  EXPECT_EQ(pixelAt(bmp, 1, 1).a, 0);
}

TEST(GfxPicture, ThePictureKindFollowsTheExtension) {
  writePng("kind.png");
  writeJpeg("kind.JPG");
  writeJpeg("kind.jpeg");
  writeGif("kind.gif", false);
  writeFile("kind.ico", handMadeIcon());
  TBitmap(2, 2, pf24bit).SaveToFile("kind.bmp");
  const struct { const char* file; bool (*is)(const TGraphic*); } cases[] = {
      {"kind.png", [](const TGraphic* g) { return dynamic_cast<const TPngImage*>(g) != nullptr; }},
      {"kind.JPG", [](const TGraphic* g) { return dynamic_cast<const TJPEGImage*>(g) != nullptr; }},
      {"kind.jpeg", [](const TGraphic* g) { return dynamic_cast<const TJPEGImage*>(g) != nullptr; }},
      {"kind.gif", [](const TGraphic* g) { return dynamic_cast<const TGIFImage*>(g) != nullptr; }},
      {"kind.ico", [](const TGraphic* g) { return dynamic_cast<const TIcon*>(g) != nullptr; }},
      {"kind.bmp", [](const TGraphic* g) { return dynamic_cast<const TBitmap*>(g) != nullptr; }}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    TPicture picture;
    int changes = 0;
    picture.OnChange = [&] { ++changes; };
    picture.LoadFromFile(c.file);
    EXPECT_TRUE(c.is(picture.Graphic()));
    EXPECT_GT(picture.Width(), 0);
    EXPECT_EQ(changes, 1);
  }

  TPicture picture;
  EXPECT_THROW(picture.LoadFromFile("kind.txt"), EPictureError);
  EXPECT_THROW(picture.LoadFromFile("noextension"), EPictureError);
  EXPECT_THROW(picture.LoadFromFile("missing.png"), EPictureError);

  TPicture::RegisterFileFormat(".LOGO", [] { return std::make_unique<TPngImage>(); });
  writePng("kind.logo");
  picture.LoadFromFile("kind.logo");
  EXPECT_EQ(picture.Width(), 3);
}

TEST(GfxPicture, AssignCopiesAndClearing) {
  writePng("a.png");
  TPngImage png;
  png.LoadFromFile("a.png");
  TPicture picture;
  picture.Assign(&png);
  ASSERT_NE(picture.Graphic(), nullptr);
  EXPECT_NE(picture.Graphic(), &png);
  EXPECT_NE(dynamic_cast<TPngImage*>(picture.Graphic()), nullptr);
  EXPECT_EQ(pixelAt(static_cast<TPngImage*>(picture.Graphic())->Bitmap(), 1, 0), kPng[1]);

  int changes = 0;
  picture.OnChange = [&] { ++changes; };
  picture.Bitmap().SetSize(4, 4);
  EXPECT_EQ(picture.Width(), 4);
  EXPECT_EQ(changes, 2) << "replaced by a bitmap, then the bitmap resized";
  picture.Assign(nullptr);
  EXPECT_EQ(picture.Graphic(), nullptr);
  EXPECT_EQ(picture.Width(), 0);
}

// Every kind, cut short or replaced by junk, raises the picture error and keeps what the
// picture held before.
TEST(GfxPicture, DamagedFilesRaisePictureErrors) {
  writePng("good.png");
  writeJpeg("good.jpg");
  writeGif("good.gif", false);
  writeFile("good.ico", handMadeIcon());
  TBitmap(7, 5, pf24bit).SaveToFile("good.bmp");
  for (const char* extension : {".png", ".jpg", ".gif", ".ico", ".bmp"}) {
    const std::vector<uint8_t> good = readFile(std::string("good") + extension);
    ASSERT_GT(good.size(), 40u);
    const struct { const char* name; std::vector<uint8_t> bytes; } cases[] = {
        {"empty", {}},
        {"junk", std::vector<uint8_t>(300, 0xA5)},
        {"first bytes only", std::vector<uint8_t>(good.begin(), good.begin() + 12)},
        {"cut in the middle", std::vector<uint8_t>(good.begin(), good.begin() + good.size() / 2)},
        {"end cut off", std::vector<uint8_t>(good.begin(), good.end() - 20)}};
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(extension) + " " + c.name);
      const std::string file = std::string("bad") + extension;
      writeFile(file, c.bytes);
      TPicture picture;
      picture.LoadFromFile(std::string("good") + extension);
      TGraphic* before = picture.Graphic();
      try {
        picture.LoadFromFile(file);
        ADD_FAILURE() << "no error";
      } catch (const EPictureError& e) {
        EXPECT_NE(e.Message().find(file), std::string::npos) << e.Message();
      }
      EXPECT_EQ(picture.Graphic(), before);
    }
  }
}

// Files whose headers state more than their bytes hold are refused from the header: no crash
// inside the system's icon creation, and no JPEG data read for a picture too large to keep.
TEST(GfxPicture, ForgedSizesAreRefusedFromTheHeader) {
  const struct {
    const char* name;
    std::vector<uint8_t> bytes;
    const char* error;     // nullptr: loads
    int64_t decompressions;  // JPEG decodes that went past the header
  } cases[] = {
      {"forged.ico", iconStating(0x04000010, 32), "Invalid icon data", 0},  // width × 16 × 4 wraps 32 bits
      {"taller.ico", iconStating(16, 64), "Icon data is truncated", 0},
      // Bit fields: three masks after the header; a colour table stated for 32 bits a pixel.
      {"bitfields.ico", iconWithHeaderField(16, BI_BITFIELDS), "Icon data is truncated", 0},
      {"palette.ico", iconWithHeaderField(32, 16), "Icon data is truncated", 0},
      {"pngentry.ico", pngIconStating(30000), "Invalid icon data", 0},
      {"good.ico", handMadeIcon(), nullptr, 0},
      {"huge.jpg", withStatedJpegSize(jpegBytes(true), 30000, 30000), "too large", 0},
      {"hugebase.jpg", withStatedJpegSize(jpegBytes(false), 30000, 30000), "too large", 0},
      {"wide.jpg", withStatedJpegSize(jpegBytes(true), 65500, 16), "too large", 0},
      {"progressive.jpg", jpegBytes(true), nullptr, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    writeFile(c.name, c.bytes);
    TPicture picture;
    const int64_t before = efir::JpegDecompressionsStarted();
    std::string error;
    try {
      picture.LoadFromFile(c.name);
    } catch (const EPictureError& e) {
      error = e.Message();
    }
    EXPECT_EQ(efir::JpegDecompressionsStarted() - before, c.decompressions);
    if (c.error) {
      EXPECT_NE(error.find(c.error), std::string::npos) << error;
      EXPECT_EQ(picture.Graphic(), nullptr);
    } else {
      EXPECT_EQ(error, "");
      EXPECT_EQ(picture.Width(), 16);
    }
  }
}

}  // namespace
