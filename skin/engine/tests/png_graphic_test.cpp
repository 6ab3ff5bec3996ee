#include "skin/engine/png_graphic.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "framework/exceptions.h"
#include "framework/picture.h"
#include "skin/engine/tests/pixels_fixtures.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_pack.h"
#include "skin/engine/skin_reader.h"
#include "skin/engine/tests/png_fixtures.h"
#include "skin/engine/tests/skin_fixtures.h"

namespace efir::test {
namespace {

std::unique_ptr<TPNGGraphic> Decoded(const std::vector<uint8_t>& bytes) {
  auto png = std::make_unique<TPNGGraphic>();
  png->LoadFromMemory(bytes.data(), bytes.size());
  return png;
}

// A canvas-backed 24-bit page of one colour to draw on.
std::unique_ptr<TBitmap> Page(int w, int h, TColor colour) { return Solid(w, h, pf24bit, colour); }

TEST(png_Decode, KeepsColoursAndStraightAlpha) {
  // Half-transparent pixels keep their full colour: the alpha is not multiplied in.
  const std::vector<Rgba> pixels = {{200, 100, 50, 128}, {0, 0, 0, 0}, {255, 255, 255, 255},
                                    {10, 20, 30, 1},     {1, 2, 3, 254}, {90, 80, 70, 64}};
  auto png = Decoded(EncodePng(3, 2, pixels));
  ASSERT_EQ(png->PixelFormat(), pf32bit);
  ASSERT_EQ(png->Width(), 3);
  ASSERT_EQ(png->Height(), 2);
  for (int i = 0; i < 6; ++i) {
    const Rgba& p = pixels[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(At(*png, i % 3, i / 3), static_cast<TColor>(RGB(p.r, p.g, p.b)));
    EXPECT_EQ(AlphaAt(*png, i % 3, i / 3), p.a);
  }
}

TEST(png_Decode, DamagedBytesRaiseThePictureErrorAndKeepThePicture) {
  auto png = Decoded(SolidPng(4, {255, 0, 0, 255}));
  std::vector<uint8_t> bytes = SolidPng(8, {0, 255, 0, 255});
  const std::vector<std::vector<uint8_t>> damaged = {
      {bytes.begin(), bytes.begin() + bytes.size() / 2},  // cut short
      {bytes.begin(), bytes.begin() + 8},                  // the signature alone
      {'n', 'o', 't', ' ', 'p', 'n', 'g'},
      {}};
  for (const auto& data : damaged) {
    EXPECT_THROW(png->LoadFromMemory(data.data(), data.size()), EPictureError);
    EXPECT_EQ(png->Width(), 4);
    EXPECT_EQ(At(*png, 1, 1), clRed);
  }
}

TEST(png_Decode, PictureFilesWithPngExtensionBecomeSkinPictures) {
  const std::string path = "png_picture_test.png";
  const auto bytes = SolidPng(5, {0, 0, 255, 200});
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
  EXPECT_EQ(TPicture::FileFormatDescription(".PNG"), "Portable network graphics (skin engine)");
  TPicture picture;
  picture.LoadFromFile(path);
  auto* png = dynamic_cast<TPNGGraphic*>(picture.Graphic());
  ASSERT_NE(png, nullptr);
  EXPECT_EQ(At(*png, 2, 2), clBlue);
  EXPECT_EQ(AlphaAt(*png, 2, 2), 200);
  std::remove(path.c_str());
}

// The largest picture we decode, 8192 x 8192 (256 MiB decoded), made once for the tests.
const std::string& LargestPng() {
  static const std::string bytes = SolidPngBytes(8192, 8192, 0x204060C0);
  return bytes;
}

TEST(png_Decode, LargestPictureIsDecodedOnceIntoItsBitmap) {
  // A second full copy on the way would double the memory it takes.
  const std::string& bytes = LargestPng();
  TPNGGraphic png;
  const size_t growth = PeakGrowth([&] { png.LoadFromMemory(bytes.data(), bytes.size()); });
  ASSERT_EQ(png.Width(), 8192);
  ASSERT_EQ(png.Height(), 8192);
  EXPECT_EQ(At(png, 8191, 8191), static_cast<TColor>(RGB(0x20, 0x40, 0x60)));
  EXPECT_EQ(AlphaAt(png, 0, 0), 0xC0);
  EXPECT_LT(growth, 384 * kMiB);
}

TEST(png_Decode, LargestSkinPictureIsDecodedOnceIntoItsMask) {
  PackedSkinSource packed({{"Options.dat", "[GLOBALINFO]\r\nBIG=!BIG.PNG!1!0!4\r\n"}, {"BIG.PNG", LargestPng()}});
  TSkinSource& source = packed.Source();
  TsSkinManager manager(nullptr);
  const size_t growth = PeakGrowth([&] { efir::skin::ReadSkinMasks(manager, source); });
  ASSERT_EQ(manager.Masks.size(), 1u);
  const TBitmap& picture = *manager.Masks[0].Image;
  EXPECT_EQ(picture.Width(), 8192);
  EXPECT_EQ(picture.PixelFormat(), pf32bit);
  EXPECT_LT(growth, 384 * kMiB);
}

TEST(png_Draw, SameSizeBlendsByAlphaAndReflectsBelow) {
  auto png = Decoded(SolidPng(16, {255, 0, 0, 255}));
  png->Reflected = true;
  auto page = Page(20, 40, clWhite);
  page->Canvas().Draw(2, 0, *png);
  EXPECT_EQ(At(*page, 2, 0), clRed);
  EXPECT_EQ(At(*page, 17, 15), clRed);
  EXPECT_EQ(At(*page, 1, 5), clWhite);   // left of the picture
  EXPECT_EQ(At(*page, 18, 5), clWhite);  // right of it
  // The reflection is a fading red under the picture, 8 rows high.
  EXPECT_NE(At(*page, 5, 16), clWhite);
  EXPECT_EQ(At(*page, 5, 16) & 0xFF, 0xFF);
  EXPECT_EQ(At(*page, 5, 24), clWhite);
  EXPECT_EQ(At(*page, 5, 39), clWhite);
}

TEST(png_Draw, OpaqueColoursGoOnExactlySoAColourKeyStillMatches) {
  // A window's lime corners are its colour key: one step off and they show on the screen.
  for (const TColor background : {clBlack, TColor(0x33210F), clWhite}) {
    auto png = Decoded(SolidPng(4, {0, 255, 0, 255}));
    auto page = Page(4, 4, background);
    page->Canvas().Draw(0, 0, *png);
    EXPECT_EQ(At(*page, 1, 1), clLime) << std::hex << background;
  }
}

TEST(png_Draw, HalfAlphaMixesStraightColourWithTheCanvas) {
  auto png = Decoded(SolidPng(4, {255, 0, 0, 128}));
  auto page = Page(4, 4, clWhite);
  page->Canvas().Draw(0, 0, *png);
  const TColor c = At(*page, 1, 1);
  EXPECT_EQ(c & 0xFF, 255);
  EXPECT_NEAR((c >> 8) & 0xFF, 127, 1);
  EXPECT_NEAR((c >> 16) & 0xFF, 127, 1);
}

TEST(png_Draw, StretchedScalesColourAndAlphaWithoutReflection) {
  // Left half opaque red, right half fully transparent.
  std::vector<Rgba> pixels;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) pixels.push_back(x < 8 ? Rgba{255, 0, 0, 255} : Rgba{0, 0, 255, 0});
  auto png = Decoded(EncodePng(16, 16, pixels));
  png->Reflected = true;
  auto page = Page(32, 56, clWhite);
  page->Canvas().StretchDraw({0, 0, 32, 32}, *png);
  EXPECT_EQ(At(*page, 4, 16), clRed);
  EXPECT_EQ(At(*page, 27, 16), clWhite);  // transparent stays transparent, blue never shows
  for (int x = 0; x < 32; ++x) EXPECT_EQ(At(*page, x, 33), clWhite) << x;
}

TEST(png_Icon, PictureWithoutAlphaTakesItsMaskFromTheCorner) {
  std::vector<Rgba> pixels(16 * 16, Rgba{0, 0, 255, 255});
  for (int y = 4; y < 12; ++y)
    for (int x = 4; x < 12; ++x) pixels[y * 16 + x] = {255, 0, 0, 255};
  auto png = Decoded(EncodePng(16, 16, pixels, false));
  png->SetPixelFormat(pf24bit);
  for (bool fromCorner : {false, true}) {
    HICON icon = PngToIcon(*png, fromCorner);
    ASSERT_NE(icon, nullptr);
    auto page = Page(16, 16, clLime);
    DrawIconEx(page->Canvas().Handle(), 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL);
    GdiFlush();
    DestroyIcon(icon);
    EXPECT_EQ(At(*page, 0, 0), clLime);
    EXPECT_EQ(At(*page, 15, 3), clLime);
    EXPECT_EQ(At(*page, 8, 8), clRed);
  }
}

TEST(png_Icon, AlphaPictureIsTransparentWhereItsAlphaSays) {
  std::vector<Rgba> pixels(16 * 16, Rgba{0, 0, 0, 0});
  for (int y = 4; y < 12; ++y)
    for (int x = 4; x < 12; ++x) pixels[y * 16 + x] = {255, 0, 0, 255};
  pixels[15 * 16 + 15] = {0, 0, 0, 255};  // opaque black, unlike the transparent corner
  auto png = Decoded(EncodePng(16, 16, pixels));
  HICON icon = PngToIcon(*png, false);
  ASSERT_NE(icon, nullptr);
  auto page = Page(16, 16, clLime);
  DrawIconEx(page->Canvas().Handle(), 0, 0, icon, 16, 16, 0, nullptr, DI_NORMAL);
  GdiFlush();
  DestroyIcon(icon);
  EXPECT_EQ(At(*page, 0, 0), clLime);
  EXPECT_EQ(At(*page, 8, 8), clRed);
  EXPECT_EQ(At(*page, 15, 15), clBlack);
}

TEST(png_ClearWhite, OnlyFullyTransparentWhiteBecomesTransparentBlack) {
  struct Case {
    TColor colour;
    uint8_t alpha;
    TColor colourAfter;
  };
  const Case cases[] = {{clWhite, 0, clBlack}, {clWhite, 1, clWhite}, {clRed, 0, clRed}, {0xFEFFFF, 0, 0xFEFFFF}};
  for (const Case& c : cases) {
    auto b = Solid(3, 3, pf32bit, c.colour, c.alpha);
    ClearWhiteTransparentPixels(b.get());
    EXPECT_EQ(At(*b, 1, 1), c.colourAfter) << std::hex << c.colour << " alpha " << int(c.alpha);
    EXPECT_EQ(AlphaAt(*b, 1, 1), c.alpha);
  }
  auto rgb = Solid(3, 3, pf24bit, clWhite);
  ClearWhiteTransparentPixels(rgb.get());
  EXPECT_EQ(At(*rgb, 1, 1), clWhite);
  ClearWhiteTransparentPixels(nullptr);
}

}  // namespace
}  // namespace efir::test
