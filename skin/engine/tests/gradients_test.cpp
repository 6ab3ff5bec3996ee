#include "skin/engine/gradients.h"

#include <gtest/gtest.h>

#include "framework/exceptions.h"

namespace {

TEST(GradientText, ParsesWholeBandsOnly) {
  const struct {
    const char* Text;
    size_t Bands;
  } rows[] = {{" ", 0}, {"", 0}, {"255;16711680;100;0;0", 1}, {"1;2;3;4;5;6;7", 1},
              {"1;2;3;0;0;4;5;6;1;0;", 2}};
  for (const auto& r : rows) {
    TsGradArray bands{{1, 1, 1, 1}};
    ParseGradientData(r.Text, bands);
    EXPECT_EQ(bands.size(), r.Bands) << r.Text;
  }
  TsGradArray bands;
  ParseGradientData("255;16711680;100;0;0;-5;0x00FF00;150;1;0", bands);
  ASSERT_EQ(bands.size(), 2u);
  EXPECT_EQ(bands[0].Color1, 0x0000FF);
  EXPECT_EQ(bands[0].Color2, 0xFF0000);
  EXPECT_EQ(bands[0].Percent, 100);
  EXPECT_EQ(bands[0].Mode, 0);
  EXPECT_EQ(bands[1].Color1, 0);          // negative colours become 0
  EXPECT_EQ(bands[1].Color2, 0x00FF00);
  EXPECT_EQ(bands[1].Percent, 100);       // clamped
  EXPECT_THROW(ParseGradientData("1;2;x;0;0", bands), EConvertError);
}

// The colour of a pixel as 0x00BBGGRR.
TColor Pixel(TBitmap& b, int x, int y) {
  const uint8_t* p = static_cast<const uint8_t*>(b.ScanLine(y)) + x * (b.PixelFormat() == pf32bit ? 4 : 3);
  return p[0] << 16 | p[1] << 8 | p[2];
}

void Fill(TBitmap& b) {
  int w = b.Width(), h = b.Height();
  TPixelFormat format = b.PixelFormat();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = static_cast<uint8_t*>(b.ScanLine(y)) + x * (format == pf32bit ? 4 : 3);
      p[0] = 7, p[1] = 7, p[2] = 7;
    }
}

constexpr TColor kRed = 0x0000FF, kGreen = 0x00FF00, kBlue = 0xFF0000, kUntouched = 0x070707;

TEST(GradientPaint, VerticalBandsMeetOnTheSharedRow) {
  for (TPixelFormat format : {pf24bit, pf32bit}) {
    TBitmap b(10, 100, format);
    Fill(b);
    TsGradArray bands;
    ParseGradientData("255;65280;50;0;0;65280;16711680;50;0;0", bands);
    PaintGradient(b, {0, 0, 10, 100}, bands, 0);
    EXPECT_EQ(Pixel(b, 0, 0), kRed);
    EXPECT_EQ(Pixel(b, 9, 10), 0x0033CC);  // a fifth of the way: 204 red, 51 green
    EXPECT_EQ(Pixel(b, 5, 50), kGreen);
    EXPECT_EQ(Pixel(b, 5, 99), kBlue);
    if (format == pf32bit) {
      EXPECT_EQ(static_cast<uint8_t*>(b.ScanLine(40))[3], 255);
    }
  }
}

TEST(GradientPaint, HorizontalAndClipped) {
  TBitmap b(40, 4, pf24bit);
    Fill(b);
  TsGradArray bands;
  ParseGradientData("255;16711680;100;1;0", bands);
  PaintGradient(b, {10, 1, 90, 3}, bands, 0);  // right edge beyond the bitmap
  EXPECT_EQ(Pixel(b, 10, 1), kRed);
  EXPECT_EQ(Pixel(b, 39, 2), kBlue);
  EXPECT_EQ(Pixel(b, 9, 1), kUntouched);
  EXPECT_EQ(Pixel(b, 20, 0), kUntouched);
  EXPECT_EQ(Pixel(b, 20, 3), kUntouched);
}

TEST(GradientPaint, OffsetNeverWritesOutsideTheBitmap) {
  TBitmap b(4, 10, pf24bit);
    Fill(b);
  TsGradArray bands;
  ParseGradientData("255;16711680;100;0;0", bands);
  PaintGradient(b, {0, 0, 4, 10}, bands, 50);  // would start below the last row
  EXPECT_EQ(Pixel(b, 0, 9), kUntouched);
  PaintGradient(b, {-20, -20, 4, 10}, bands, -5);
  EXPECT_EQ(Pixel(b, 3, 9), kBlue);
}

TEST(GradientPaint, ModesOtherThanTheThreePaintNothing) {
  TBitmap b(8, 8, pf24bit);
    Fill(b);
  TsGradArray bands;
  ParseGradientData("255;16711680;100;3;0;255;255;100;0;0", bands);
  PaintGradient(b, {0, 0, 8, 8}, bands, 0);
  EXPECT_EQ(Pixel(b, 0, 0), kUntouched);
  EXPECT_EQ(Pixel(b, 7, 7), kUntouched);
}

TEST(GradientPaint, MeshTakesEachCornerColour) {
  TBitmap b(64, 64, pf24bit);
    Fill(b);
  TsGradArray bands;
  // Corners in the order top-left, centre, top-right, bottom-right, bottom-left; the fifth
  // band is missing and takes the colour before it.
  ParseGradientData("255;0;0;2;0;0;0;0;0;0;65280;0;0;0;0;16711680;0;0;0;0", bands);
  PaintGradient(b, {0, 0, 64, 64}, bands, 0);
  auto expectNear = [&](int x, int y, TColor c) {
    TColor p = Pixel(b, x, y);
    for (int shift : {0, 8, 16})
      EXPECT_NEAR((p >> shift) & 0xFF, (c >> shift) & 0xFF, 24) << x << "," << y;
  };
  expectNear(0, 0, kRed);
  expectNear(63, 0, kGreen);
  expectNear(63, 63, kBlue);
  expectNear(0, 63, kBlue);
  expectNear(32, 32, 0);
}

}  // namespace
