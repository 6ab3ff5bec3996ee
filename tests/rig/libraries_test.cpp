// Each library the programs stand on, used for real: pictures, HTTP and MP3.
#include <curl/curl.h>
#include <gif_lib.h>
#include <gtest/gtest.h>
#include <mpg123.h>
#include <png.h>
#include <stdio.h>
#include <jpeglib.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "tests/support/paths.h"

namespace {

std::vector<uint8_t> pattern(int width, int height, int channels) {
  std::vector<uint8_t> px(static_cast<size_t>(width) * height * channels);
  for (size_t i = 0; i < px.size(); ++i) px[i] = static_cast<uint8_t>((i * 37) % 251);
  return px;
}

TEST(Libraries, PngFileRoundTripKeepsPixelsAndAlpha) {
  const int w = 7, h = 5;
  auto px = pattern(w, h, 4);
  png_image out{};
  out.version = PNG_IMAGE_VERSION;
  out.width = w;
  out.height = h;
  out.format = PNG_FORMAT_RGBA;
  ASSERT_TRUE(png_image_write_to_file(&out, "pattern.png", 0, px.data(), 0, nullptr));

  png_image in{};
  in.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&in, "pattern.png"));
  in.format = PNG_FORMAT_RGBA;
  std::vector<uint8_t> back(PNG_IMAGE_SIZE(in));
  ASSERT_TRUE(png_image_finish_read(&in, nullptr, back.data(), 0, nullptr));
  EXPECT_EQ(in.width, 7u);
  EXPECT_EQ(in.height, 5u);
  EXPECT_EQ(back, px);
}

TEST(Libraries, JpegMemoryRoundTripStaysClose) {
  const int w = 32, h = 16;
  std::vector<uint8_t> px(w * h * 3);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = &px[(y * w + x) * 3];
      p[0] = static_cast<uint8_t>(x * 8);
      p[1] = static_cast<uint8_t>(y * 16);
      p[2] = 128;
    }
  jpeg_compress_struct c{};
  jpeg_error_mgr err{};
  c.err = jpeg_std_error(&err);
  jpeg_create_compress(&c);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&c, &buffer, &size);
  c.image_width = w;
  c.image_height = h;
  c.input_components = 3;
  c.in_color_space = JCS_RGB;
  jpeg_set_defaults(&c);
  jpeg_set_quality(&c, 95, TRUE);
  jpeg_start_compress(&c, TRUE);
  while (c.next_scanline < c.image_height) {
    JSAMPROW row = &px[c.next_scanline * w * 3];
    jpeg_write_scanlines(&c, &row, 1);
  }
  jpeg_finish_compress(&c);
  jpeg_destroy_compress(&c);

  jpeg_decompress_struct d{};
  d.err = jpeg_std_error(&err);
  jpeg_create_decompress(&d);
  jpeg_mem_src(&d, buffer, size);
  ASSERT_EQ(jpeg_read_header(&d, TRUE), JPEG_HEADER_OK);
  jpeg_start_decompress(&d);
  ASSERT_EQ(d.output_width, 32u);
  ASSERT_EQ(d.output_height, 16u);
  std::vector<uint8_t> back(w * h * 3);
  while (d.output_scanline < d.output_height) {
    JSAMPROW row = &back[d.output_scanline * w * 3];
    jpeg_read_scanlines(&d, &row, 1);
  }
  jpeg_finish_decompress(&d);
  jpeg_destroy_decompress(&d);
  free(buffer);
  int worst = 0;
  for (size_t i = 0; i < px.size(); ++i) worst = std::max(worst, std::abs(px[i] - back[i]));
  EXPECT_LE(worst, 12);
}

struct GifBuffer {
  std::vector<uint8_t> bytes;
  size_t read = 0;
};

int gifWrite(GifFileType* gif, const GifByteType* data, int n) {
  auto* b = static_cast<GifBuffer*>(gif->UserData);
  b->bytes.insert(b->bytes.end(), data, data + n);
  return n;
}

int gifRead(GifFileType* gif, GifByteType* data, int n) {
  auto* b = static_cast<GifBuffer*>(gif->UserData);
  int take = static_cast<int>(std::min<size_t>(n, b->bytes.size() - b->read));
  std::memcpy(data, b->bytes.data() + b->read, take);
  b->read += take;
  return take;
}

TEST(Libraries, GifMemoryRoundTripKeepsIndexesAndColours) {
  const int w = 6, h = 4;
  GifBuffer buffer;
  int error = 0;
  GifFileType* out = EGifOpen(&buffer, gifWrite, &error);
  ASSERT_NE(out, nullptr);
  GifColorType colours[4] = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
  out->SWidth = w;
  out->SHeight = h;
  out->SColorResolution = 8;
  out->SColorMap = GifMakeMapObject(4, colours);
  SavedImage* frame = GifMakeSavedImage(out, nullptr);
  frame->ImageDesc.Width = w;
  frame->ImageDesc.Height = h;
  frame->RasterBits = static_cast<GifByteType*>(malloc(w * h));
  for (int i = 0; i < w * h; ++i) frame->RasterBits[i] = static_cast<GifByteType>(i % 4);
  ASSERT_EQ(EGifSpew(out), GIF_OK);

  GifFileType* in = DGifOpen(&buffer, gifRead, &error);
  ASSERT_NE(in, nullptr);
  ASSERT_EQ(DGifSlurp(in), GIF_OK);
  ASSERT_EQ(in->ImageCount, 1);
  EXPECT_EQ(in->SWidth, w);
  for (int i = 0; i < w * h; ++i) EXPECT_EQ(in->SavedImages[0].RasterBits[i], i % 4);
  EXPECT_EQ(in->SColorMap->Colors[3].Blue, 255);
  DGifCloseFile(in, &error);
}

size_t collect(char* data, size_t size, size_t n, void* out) {
  static_cast<std::string*>(out)->append(data, size * n);
  return size * n;
}

TEST(Libraries, CurlIsBuiltWithSchannelAndFetchesFromTheLoopbackServer) {
  curl_version_info_data* info = curl_version_info(CURLVERSION_NOW);
  EXPECT_NE(std::string(info->ssl_version).find("Schannel"), std::string::npos);

  struct Case { std::string path; long status; std::string bodyStart; };
  for (const Case& c : {Case{"hello.txt", 200, "hello from the loopback server"},
                        Case{"status/404", 404, "status 404"}}) {
    CURL* curl = curl_easy_init();
    std::string body;
    std::string url = efir::test::httpUrl(c.path);
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, 10L);
    ASSERT_EQ(curl_easy_perform(curl), CURLE_OK) << url;
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    curl_easy_cleanup(curl);
    EXPECT_EQ(status, c.status) << c.path;
    EXPECT_EQ(body.rfind(c.bodyStart, 0), 0u) << body;
  }
}

TEST(Libraries, Mpg123DecodesTheToneFixture) {
  int error = 0;
  mpg123_handle* mh = mpg123_new(nullptr, &error);
  ASSERT_NE(mh, nullptr);
  ASSERT_EQ(mpg123_open(mh, efir::test::fixturePath("tone.mp3").c_str()), MPG123_OK);
  long rate = 0;
  int channels = 0, encoding = 0;
  ASSERT_EQ(mpg123_getformat(mh, &rate, &channels, &encoding), MPG123_OK);
  EXPECT_EQ(rate, 44100);
  EXPECT_EQ(channels, 1);
  std::vector<short> samples;
  std::vector<unsigned char> chunk(8192);
  size_t done = 0;
  int rc;
  while ((rc = mpg123_read(mh, chunk.data(), chunk.size(), &done)) == MPG123_OK || done > 0) {
    auto* s = reinterpret_cast<short*>(chunk.data());
    samples.insert(samples.end(), s, s + done / 2);
    if (rc != MPG123_OK) break;
  }
  mpg123_close(mh);
  mpg123_delete(mh);
  EXPECT_NEAR(static_cast<double>(samples.size()), 44100.0, 1152.0);
  int crossings = 0;
  for (size_t i = 1; i < samples.size(); ++i)
    if ((samples[i - 1] < 0) != (samples[i] < 0)) ++crossings;
  EXPECT_NEAR(crossings / 2.0, 440.0, 5.0);
}

}  // namespace
