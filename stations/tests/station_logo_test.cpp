#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>

#include "framework/application.h"
#include "framework/exceptions.h"
#include "framework/picture_jpeg.h"
#include "framework/picture_png.h"
#include "stations/station_logo.h"
#include "tests/support/paths.h"

namespace {

// ---- made-up logo files ----

// The colour of pixel (x, y) of a made-up logo: red on the left half, blue on the right.
bool LeftHalf(int x, int width) { return x < width / 2; }

void WritePng(const std::string& path, int width, int height) {
  std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint8_t* p = &pixels[(static_cast<size_t>(y) * width + x) * 4];
      p[0] = LeftHalf(x, width) ? 255 : 0, p[1] = 0, p[2] = LeftHalf(x, width) ? 0 : 255;
      p[3] = 255;
    }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGBA;
  ASSERT_TRUE(png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), 0, nullptr));
}

void WriteJpeg(const std::string& path, int width, int height, bool progressive = false) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  jpeg_stdio_dest(&info, file);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<uint8_t> row(static_cast<size_t>(width) * 3);
  for (int x = 0; x < width; ++x) {
    row[x * 3 + 0] = LeftHalf(x, width) ? 255 : 0;
    row[x * 3 + 2] = LeftHalf(x, width) ? 0 : 255;
  }
  while (info.next_scanline < info.image_height) {
    JSAMPROW p = row.data();
    jpeg_write_scanlines(&info, &p, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::fclose(file);
}

void WriteGif(const std::string& path, int width, int height) {
  int error = 0;
  GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
  ASSERT_NE(gif, nullptr);
  const GifColorType colours[] = {{255, 0, 0}, {0, 0, 255}};
  ColorMapObject* map = GifMakeMapObject(2, colours);
  EGifPutScreenDesc(gif, width, height, 1, 0, map);
  EGifPutImageDesc(gif, 0, 0, width, height, false, nullptr);
  std::vector<GifPixelType> line(static_cast<size_t>(width));
  for (int x = 0; x < width; ++x) line[x] = LeftHalf(x, width) ? 0 : 1;
  for (int y = 0; y < height; ++y) EGifPutLine(gif, line.data(), width);
  EGifCloseFile(gif, &error);
  GifFreeMapObject(map);
}

// A JPEG file whose frame header states another size than its data holds: the decoder must
// believe the header no further than the size limit.
void WriteJpegStating(const std::string& path, int width, int height) {
  WriteJpeg(path, 16, 16, true);
  std::ifstream in(path, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), {});
  in.close();
  for (size_t i = 0; i + 9 < bytes.size(); ++i)
    if (static_cast<uint8_t>(bytes[i]) == 0xFF && static_cast<uint8_t>(bytes[i + 1]) == 0xC2) {
      bytes[i + 5] = static_cast<char>(height >> 8), bytes[i + 6] = static_cast<char>(height);
      bytes[i + 7] = static_cast<char>(width >> 8), bytes[i + 8] = static_cast<char>(width);
      break;
    }
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

COLORREF PixelOf(const TGraphic& logo, int x, int y) {
  TBitmap bitmap;
  logo.AssignTo(bitmap);
  bitmap.SetPixelFormat(pf32bit);
  const auto* p = static_cast<const uint8_t*>(bitmap.ScanLine(y)) + x * 4;
  return RGB(p[2], p[1], p[0]);
}

std::string DemoLogo(const std::string& name) {
  return efir::test::sourceDir() + "/assets/program/Stations/" + name;
}

TEST(StationLogo, EachKnownExtensionGivesItsPictureAndOthersNone) {
  auto png = NewStationLogo(DemoLogo("1.png"), ".png");
  EXPECT_NE(dynamic_cast<TPngImage*>(png.get()), nullptr);
  auto jpeg = NewStationLogo(DemoLogo("2.jpg"), ".jpg");
  EXPECT_NE(dynamic_cast<TJPEGImage*>(jpeg.get()), nullptr);
  // A GIF is held as its first frame in a JPEG picture.
  auto gif = NewStationLogo(DemoLogo("3.gif"), ".gif");
  ASSERT_NE(dynamic_cast<TJPEGImage*>(gif.get()), nullptr);
  EXPECT_EQ(gif->Width(), 90);
  EXPECT_EQ(gif->Height(), 90);
  // The store reads only the three lower-case spellings.
  EXPECT_EQ(NewStationLogo(DemoLogo("2.jpg"), ".JPG"), nullptr);
  EXPECT_EQ(NewStationLogo(DemoLogo("2.jpg"), ".jpeg"), nullptr);
  EXPECT_THROW(NewStationLogo(DemoLogo("play1.txt"), ".png"), EPictureError);
}

TEST(StationLogo, AnUnreadableLogoCostsOnlyItsPictureAndIsReportedOnceARun) {
  // A program folder with the empty logo and three logos, two of them cut short.
  const std::filesystem::path folder = std::filesystem::absolute("LogoFolder");
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder / "Stations");
  std::filesystem::copy_file(efir::test::sourceDir() + "/assets/program/nil.jpg",
                             folder / "nil.jpg");
  const std::pair<const char*, const char*> logos[] = {
      {"2.jpg", "2.jpg"}, {"4.jpg", "5.jpg"}, {"5.png", "1.png"}};
  for (const auto& [name, demo] : logos)
    std::filesystem::copy_file(DemoLogo(demo), folder / "Stations" / name);
  for (const char* name : {"4.jpg", "5.png"})
    std::filesystem::resize_file(folder / "Stations" / name, 200);
  const std::string programFolder = folder.string() + "\\";
  std::vector<std::string> shown;
  Application.ExceptionHook = [&](const std::string& message) { shown.push_back(message); };
  auto message = [&](const char* name) {
    return "Не удалось прочитать логотип радиостанции \"" + programFolder + "Stations\\" + name +
           "\": вместо него показан пустой логотип.";
  };

  ResetLogoReport();
  EXPECT_NE(dynamic_cast<TJPEGImage*>(ReadStationLogo(programFolder, 2, ".jpg").get()), nullptr);
  EXPECT_TRUE(shown.empty());
  // The empty logo stands in: a JPEG picture where the damaged one was a PNG too.
  auto empty = ReadStationLogo(programFolder, 4, ".jpg");
  EXPECT_NE(dynamic_cast<TJPEGImage*>(empty.get()), nullptr);
  EXPECT_NE(dynamic_cast<TJPEGImage*>(ReadStationLogo(programFolder, 5, ".png").get()), nullptr);
  EXPECT_EQ(shown, std::vector<std::string>{message("4.jpg")});
  // An extension the store does not read is no failure.
  EXPECT_EQ(ReadStationLogo(programFolder, 2, ".JPG"), nullptr);

  // The next run tells again; without the empty logo nothing stands in.
  ResetLogoReport();
  std::filesystem::remove(folder / "nil.jpg");
  EXPECT_EQ(ReadStationLogo(programFolder, 5, ".png"), nullptr);
  EXPECT_EQ(shown, (std::vector<std::string>{message("4.jpg"), message("5.png")}));
  Application.ExceptionHook = nullptr;
  std::filesystem::remove_all(folder);
}

// Every logo a view shows is read once, at most kMaxLogoSide a side, and kept no larger than
// the place it shows in; a larger file is a damaged logo.
TEST(StationLogo, LogosAreDecodedOnceAndKeptAtTheSizeTheyShow) {
  const std::filesystem::path folder = std::filesystem::absolute("LogoSizes");
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder / "Stations");
  std::filesystem::copy_file(efir::test::sourceDir() + "/assets/program/nil.jpg", folder / "nil.jpg");
  const std::string programFolder = folder.string() + "\\";
  auto file = [&](int N, const char* extension) {
    return (folder / "Stations" / (std::to_string(N) + extension)).string();
  };
  struct Case {
    const char* what;
    const char* extension;
    std::function<void(const std::string&)> write;
    int width, height;  // as kept; 0 for the empty logo standing in
  };
  const Case cases[] = {
      {"a small PNG stays as it is", ".png", [](auto& p) { WritePng(p, 60, 40); }, 60, 40},
      {"a wide PNG", ".png", [](auto& p) { WritePng(p, 400, 30); }, 91, 30},
      {"a large JPEG", ".jpg", [](auto& p) { WriteJpeg(p, 2000, 1000); }, 91, 90},
      {"a GIF, as a JPEG picture", ".gif", [](auto& p) { WriteGif(p, 300, 200); }, 91, 90},
      {"a JPEG at the limit", ".jpg", [](auto& p) { WriteJpeg(p, 16, kMaxLogoSide); }, 16, 90},
      {"a PNG wider than the limit", ".png", [](auto& p) { WritePng(p, kMaxLogoSide + 1, 2); }, 0, 0},
      {"a JPEG higher than the limit", ".jpg", [](auto& p) { WriteJpeg(p, 2, 5000); }, 0, 0},
      {"a GIF wider than the limit", ".gif", [](auto& p) { WriteGif(p, 5000, 3); }, 0, 0},
      {"a progressive JPEG stating 30000 x 30000", ".jpg",
       [](auto& p) { WriteJpegStating(p, 30000, 30000); }, 0, 0},
  };
  std::vector<std::string> shown;
  Application.ExceptionHook = [&](const std::string& message) { shown.push_back(message); };
  ResetLogoReport();
  TStationLogos logos;
  const int count = static_cast<int>(std::size(cases));
  for (int N = 1; N <= count; ++N) cases[N - 1].write(file(N, cases[N - 1].extension));
  std::shared_ptr<TGraphic> empty;
  size_t held = 0;
  for (int N = 1; N <= count; ++N) {
    const Case& c = cases[N - 1];
    std::shared_ptr<TGraphic> logo = logos.Get(programFolder, N, c.extension);
    ASSERT_NE(logo, nullptr) << c.what;
    // Asked again, by another view: the same picture, not decoded again.
    for (int view = 0; view < 100; ++view) EXPECT_EQ(logos.Get(programFolder, N, c.extension), logo);
    if (c.width == 0) {
      if (!empty) {
        empty = logo;
        held += 90 * ((90 * 3 + 3) / 4 * 4);  // rows padded to 4 bytes
      }
      EXPECT_EQ(logo, empty) << c.what;  // the empty logo, read once
      continue;
    }
    EXPECT_EQ(logo->Width(), c.width) << c.what;
    EXPECT_EQ(logo->Height(), c.height) << c.what;
    EXPECT_EQ(dynamic_cast<TPngImage*>(logo.get()) != nullptr, std::string(c.extension) == ".png") << c.what;
    // Scaled, not cut: the left half stays red and the right half blue.
    EXPECT_EQ(PixelOf(*logo, 0, 0) & 0xF0F0F0, RGB(0xF0, 0, 0)) << c.what;
    EXPECT_EQ(PixelOf(*logo, c.width - 1, c.height - 1) & 0xF0F0F0, RGB(0, 0, 0xF0)) << c.what;
    held += static_cast<size_t>(c.height) * ((c.width * (c.extension == std::string(".png") ? 4 : 3) + 3) / 4 * 4);
  }
  // One decode a file, the empty logo's once; what is held is the small pictures.
  EXPECT_EQ(logos.Decodes(), count + 1);
  EXPECT_EQ(logos.BytesHeld(), held);
  EXPECT_LE(logos.BytesHeld(), static_cast<size_t>(count) * kLogoShownSize.cx * kLogoShownSize.cy * 4);
  ASSERT_EQ(shown.size(), 1u);  // the first damaged one, named
  EXPECT_NE(shown[0].find(file(6, ".png")), std::string::npos) << shown[0];

  // A scan that found other files starts again; pictures still shown stay whole.
  logos.Clear();
  EXPECT_EQ(logos.BytesHeld(), 0u);
  EXPECT_EQ(empty->Width(), 90);
  EXPECT_NE(logos.Get(programFolder, 1, ".png"), nullptr);
  EXPECT_EQ(logos.Decodes(), count + 2);
  Application.ExceptionHook = nullptr;
  std::filesystem::remove_all(folder);
}

}  // namespace
