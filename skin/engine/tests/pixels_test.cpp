#include "skin/engine/fast_pixels.h"

#include <gtest/gtest.h>

#include "skin/engine/tests/pixels_fixtures.h"

namespace {

using namespace efir::test;

TEST(PixelsFastAccess, AttachRefusesWhatItCannotRead) {
  TBitmap thin(1, 100, pf24bit), flat(100, 1, pf24bit), wide(5, 3, pf24bit), deep(5, 3, pf32bit);
  TacFast24 a24;
  TacFast32 a32;
  EXPECT_FALSE(a24.Attach(nullptr));
  EXPECT_FALSE(a32.Attach(nullptr));
  EXPECT_FALSE(a24.Attach(&thin));
  EXPECT_EQ(a24.Columns, 0);
  EXPECT_FALSE(a24.Attach(&flat));
  EXPECT_FALSE(a24.Attach(&deep));  // another format is not read as this one
  ASSERT_TRUE(a24.Attach(&wide));
  EXPECT_EQ(a24.Columns, 5);
  EXPECT_EQ(a24.Rows, 3);
  EXPECT_EQ(a24.RowStride, 16);  // 15 bytes padded to a multiple of 4
  ASSERT_TRUE(a32.Attach(&deep));
}

TEST(PixelsFastAccess, PixelsOfOddWidthRowsAndAlpha) {
  TBitmap b24(5, 3, pf24bit), b32(5, 3, pf32bit);
  Put(b24, 4, 2, 0x123456);
  Put(b24, 0, 1, 0xABCDEF);
  ASSERT_TRUE(FastAccess24.Attach(&b24));
  EXPECT_EQ(FastAccess24.GetPixel(4, 2), 0x123456);
  EXPECT_EQ(FastAccess24.GetPixel(0, 1), 0xABCDEF);
  ASSERT_TRUE(FastAccess32.Attach(&b32));
  FastAccess32.SetPixel(3, 1, static_cast<TColor>(0x80102030));
  EXPECT_EQ(At(b32, 3, 1), 0x102030);
  EXPECT_EQ(AlphaAt(b32, 3, 1), 0x80);
  EXPECT_EQ(static_cast<uint32_t>(FastAccess32.GetPixel(3, 1)), 0x80102030u);
}

TEST(PixelsFills, FillRect32IsOpaqueAndStaysInside) {
  auto b = Solid(6, 4, pf32bit, 0x000000, 7);
  EXPECT_EQ(ColorToPixel32(0x0000FF), 0xFFFF0000u);  // red: blue, green, red, alpha bytes
  FillRect32(b.get(), {-3, 1, 2, 9}, 0x0000FF);     // reaches past the left and the bottom
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 6; ++x) {
      const bool inside = x < 2 && y >= 1;
      EXPECT_EQ(At(*b, x, y), inside ? 0x0000FF : 0) << x << "," << y;
      EXPECT_EQ(AlphaAt(*b, x, y), inside ? 255 : 7);
    }
  FillRect32(nullptr, {0, 0, 2, 2}, 0);
  auto b24 = Solid(4, 4, pf24bit, 0x010101);
  FillRect32(b24.get(), {0, 0, 4, 4}, 0x0000FF);  // only 32-bit bitmaps
  EXPECT_EQ(At(*b24, 0, 0), 0x010101);
}

TEST(PixelsFills, TintRectIncludesRightAndBottomAndKeepsAlpha) {
  const struct {
    uint8_t Percent;
    TColor Expected;
  } rows[] = {{100, Grey(200)}, {0, 0x0000FF}, {50, 0x6464E4}, {25, 0x3232F1}};
  for (const auto& r : rows) {
    for (TPixelFormat f : {pf24bit, pf32bit}) {
      auto b = Solid(5, 5, f, Grey(200), 9);
      TintRect(b.get(), {1, 1, 2, 3}, r.Percent, 0x0000FF);
      EXPECT_EQ(At(*b, 2, 3), r.Expected) << int(r.Percent);  // right and bottom included
      EXPECT_EQ(At(*b, 1, 1), r.Expected);
      EXPECT_EQ(At(*b, 3, 3), Grey(200));
      EXPECT_EQ(At(*b, 1, 4), Grey(200));
      if (f == pf32bit) { EXPECT_EQ(AlphaAt(*b, 2, 2), 9); }
    }
  }
  auto b = Solid(3, 3, pf24bit, Grey(10));
  TintRect(b.get(), {-5, -5, 50, 50}, 0, 0xFFFFFF);  // clipped to the bitmap
  EXPECT_EQ(At(*b, 2, 2), 0xFFFFFF);
}

TEST(PixelsFastSum, WeightIsTheShareOfTheDestination) {
  auto dest = Solid(4, 4, pf24bit, Grey(255));
  auto source = Solid(4, 4, pf24bit, Grey(0));
  ASSERT_TRUE(FastSum24.Attach(source.get(), dest.get()));
  FastSum24.Weight = 255;
  FastSum24.DestLeft = 1, FastSum24.DestTop = 1, FastSum24.DestRight = 3, FastSum24.DestBottom = 3;
  FastSum24.SourceLeft = 0, FastSum24.SourceTop = 0, FastSum24.SourceRight = 2, FastSum24.SourceBottom = 2;
  FastSum24.Blend();
  EXPECT_EQ(At(*dest, 1, 1), Grey(254));  // (255 × 255 + 127) shr 8
  EXPECT_EQ(At(*dest, 2, 2), Grey(254));
  EXPECT_EQ(At(*dest, 3, 3), Grey(255));
  EXPECT_EQ(At(*dest, 0, 0), Grey(255));
}

}  // namespace
