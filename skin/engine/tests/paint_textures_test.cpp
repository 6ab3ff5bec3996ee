#include "skin/engine/textures.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "framework/exceptions.h"
#include "skin/engine/alpha_blend.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/tests/pixels_fixtures.h"

namespace {

using namespace efir::test;

constexpr TColor Source(int x, int y) { return (0x40 + x) | (0x40 + y) << 8 | 0x80 << 16; }
constexpr TColor kBackground = Grey(7);

// A 4 × 3 texture in the master bitmap, with an all-zero mask part below when asked.
struct Texture {
  TsSkinManager Manager{nullptr};
  TsMaskData Mask;
  explicit Texture(bool masked) {
    TBitmap& master = *Manager.MasterBitmap;
    master.SetPixelFormat(pf24bit);
    master.SetSize(4, masked ? 6 : 3);
    for (int y = 0; y < master.Height(); ++y)
      for (int x = 0; x < 4; ++x) Put(master, x, y, y < 3 ? Source(x, y) : 0);
    Mask.R = {0, 0, 4, master.Height()};
    Mask.ImageCount = 1;
    Mask.MaskType = masked ? 1 : 0;
    Mask.Manager = &Manager;
  }
};

TEST(PaintTextures, LayoutsCoverAndReportTheRest) {
  const RECT none{-1, -1, -1, -1};
  const struct {
    int Layout;
    RECT Rest;
    POINT Painted, Untouched;  // a pixel the texture reached, one it did not (x -1: none)
  } rows[] = {
      {0, none, {9, 9}, {-1, 0}},
      {2, {0, 3, 10, 10}, {9, 2}, {0, 3}},
      {3, {4, 0, 10, 10}, {3, 9}, {4, 0}},
      {4, {0, 3, 10, 10}, {9, 0}, {0, 3}},
      {5, {4, 0, 10, 10}, {0, 9}, {4, 0}},
      {6, {0, 0, 10, 7}, {0, 7}, {0, 6}},
      {7, {0, 0, 6, 10}, {6, 0}, {5, 0}},
      {10, none, {9, 0}, {0, 9}},  // a row is laid only where it starts above Bottom - 3
  };
  for (const auto& r : rows) {
    Texture texture(false);
    auto b = Solid(10, 10, pf24bit, kBackground);
    RECT rect{0, 0, 10, 10};
    TileTexture(b->Canvas(), rect, nullptr, texture.Mask, r.Layout);
    EXPECT_TRUE(EqualRect(&rect, &r.Rest)) << "layout " << r.Layout;
    EXPECT_NE(At(*b, r.Painted.x, r.Painted.y), kBackground) << "layout " << r.Layout;
    if (r.Untouched.x >= 0) {
      EXPECT_EQ(At(*b, r.Untouched.x, r.Untouched.y), kBackground) << "layout " << r.Layout;
    }
  }
  Texture texture(false);
  auto b = Solid(10, 10, pf24bit, kBackground);
  RECT rect{0, 0, 10, 10};
  TileTexture(b->Canvas(), rect, nullptr, texture.Mask, 0);
  EXPECT_EQ(At(*b, 5, 4), Source(1, 1));  // tiles repeat from the corner
  EXPECT_EQ(At(*b, 9, 9), Source(1, 0));  // the last ones cut
}

TEST(PaintTextures, PlainBitmapsAreTiledAndTheRestIsReportedCovered) {
  auto tile = NewBitmap24(3, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) Put(*tile, x, y, Source(x, y));
  auto b = Solid(10, 10, pf24bit, kBackground);
  RECT rect{1, 1, 8, 6};
  TsMaskData none;
  TileTexture(b->Canvas(), rect, tile.get(), none, 0);
  EXPECT_EQ(rect.left, -1);
  EXPECT_EQ(At(*b, 1, 1), Source(0, 0));
  EXPECT_EQ(At(*b, 7, 5), Source(0, 0));
  EXPECT_EQ(At(*b, 8, 5), kBackground);
  EXPECT_EQ(At(*b, 7, 6), kBackground);
}

TEST(PaintTextures, MaskedFullTilesLeaveStripsToTheBackground) {
  Texture texture(true);
  auto parent = Solid(30, 30, pf24bit, 0x00FF00);
  CacheSourceInfo ready;
  MakeCacheSourceInfo(parent.get(), 0, 0, ready);
  const CacheSourceInfo colourOnly{nullptr, 0, 0, 0x0000FF, false};
  for (const CacheSourceInfo* info : {static_cast<const CacheSourceInfo*>(&ready), &colourOnly}) {
    const TColor rest = info->Ready ? 0x00FF00 : 0x0000FF;
    auto b = Solid(10, 10, pf24bit, kBackground);
    RECT rect{0, 0, 10, 10};
    TileMaskedTexture(b.get(), rect, *info, texture.Mask, 10);
    EXPECT_EQ(rect.left, -1);
    EXPECT_EQ(At(*b, 0, 0), Source(0, 0));
    EXPECT_EQ(At(*b, 7, 5), Source(3, 2));  // second column, second row
    EXPECT_EQ(At(*b, 8, 0), rest);          // right of the full columns
    EXPECT_EQ(At(*b, 0, 8), Source(0, 2));  // rows start above 10 - 3: the third ends at 9
    EXPECT_EQ(At(*b, 0, 9), rest);          // below the rows
    EXPECT_EQ(At(*b, 9, 9), rest);
  }
}

TEST(PaintTextures, ColourFrameNestsAndGivesBackWidthZero) {
  auto b = Solid(8, 8, pf24bit, kBackground);
  RECT rect{0, 0, 8, 8};
  int width = 2;
  DrawColorFrame(b->Canvas().Handle(), rect, 0x0000FF, 0xFF0000, width);
  EXPECT_EQ(width, 0);
  const RECT inside{2, 2, 6, 6};
  EXPECT_TRUE(EqualRect(&rect, &inside));
  EXPECT_EQ(At(*b, 0, 4), 0x0000FF);  // left, outer and inner
  EXPECT_EQ(At(*b, 1, 4), 0x0000FF);
  EXPECT_EQ(At(*b, 4, 0), 0x0000FF);  // top
  EXPECT_EQ(At(*b, 7, 4), 0xFF0000);  // right
  EXPECT_EQ(At(*b, 6, 4), 0xFF0000);
  EXPECT_EQ(At(*b, 4, 7), 0xFF0000);  // bottom
  EXPECT_EQ(At(*b, 4, 4), kBackground);
}

TEST(PaintTextures, DottedFocusEveryThirdPixel) {
  auto b = Solid(12, 12, pf24bit, kBackground);
  DrawDottedFocusRect(b->Canvas(), {2, 2, 8, 8});
  EXPECT_EQ(At(*b, 2, 2), 0);
  EXPECT_EQ(At(*b, 5, 2), 0);
  EXPECT_EQ(At(*b, 3, 2), kBackground);
  EXPECT_EQ(At(*b, 4, 1), 0xFFFFFF);
  EXPECT_EQ(At(*b, 5, 8), 0);
  EXPECT_EQ(At(*b, 8, 5), 0);
}

TEST(PaintTextures, GlyphAndTextLayout) {
  const struct {
    const char* Case;
    int Layout, Alignment, Margin, Spacing, BiDi;
    POINT Text;
    POINT Glyph;
    LONG TextLeft;
  } rows[] = {
      // 100 wide, glyph 16, text 40: 44 free, split in three gaps of 14.
      {"shared space", 0, 0, -1, -1, 0, {40, 10}, {14, 12}, 44},
      {"no text ignores spacing", 0, 0, 4, 9, 0, {0, 0}, {4, 12}, 20},
      {"right of the text", 1, 0, 4, 6, 0, {40, 10}, {50, 12}, 4},
      {"right to left swaps", 0, 0, 4, 6, 2, {40, 10}, {50, 12}, 4},
      {"at the end", 0, 1, 4, 6, 0, {40, 10}, {34, 12}, 56},
      {"centred", 0, 2, 4, 6, 0, {40, 10}, {19, 12}, 41},
  };
  for (const auto& r : rows) {
    POINT glyph;
    RECT text;
    CalcGlyphTextLayout({0, 0, 100, 40}, {16, 16}, r.Text, r.Layout, r.Alignment, r.Margin, r.Spacing, glyph, text,
                        r.BiDi);
    EXPECT_EQ(glyph.x, r.Glyph.x) << r.Case;
    EXPECT_EQ(glyph.y, r.Glyph.y) << r.Case;
    EXPECT_EQ(text.left, r.TextLeft) << r.Case;
  }
  POINT glyph;
  RECT text;
  CalcGlyphTextLayout({10, 20, 110, 60}, {16, 16}, {40, 10}, 2, 0, 0, 2, glyph, text, 0);
  EXPECT_EQ(glyph.x, 10 + 42);
  EXPECT_EQ(glyph.y, 20 + 6);  // (40 - 16 - 2 - 10) div 2
  EXPECT_EQ(text.top, 20 + 24);
  EXPECT_EQ(text.left, 10 + 30);
}

TEST(PaintResample, TooSmallRaisesAndSameSizeCopies) {
  TBitmap thin(1, 5, pf24bit), dest;
  try {
    ResampleBitmap(&thin, &dest, 4, 4, 0);
    ADD_FAILURE() << "no exception";
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "Source bitmap is too small");
  }
  auto source = Solid(3, 3, pf24bit, 0x123456);
  ResampleBitmap(source.get(), &dest, 3, 3, 6);
  EXPECT_EQ(dest.Width(), 3);
  EXPECT_EQ(At(dest, 2, 2), 0x123456);
  ResampleBitmap(source.get(), &dest, 0, 5, 6);  // nothing to divide by
  EXPECT_TRUE(dest.Empty());
}

TEST(PaintResample, BoxHalvesByAveragingTwoByTwo) {
  auto source = NewBitmap24(8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) Put(*source, x, y, Grey((x % 2) * 100 + (y % 2) * 40));
  TBitmap dest;
  ResampleBitmap(source.get(), &dest, 4, 4, 0);
  ASSERT_EQ(dest.Width(), 4);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) {
      const int level = At(dest, x, y) & 0xFF;
      EXPECT_NEAR(level, 70, 1) << x << "," << y;  // (0 + 100 + 40 + 140) / 4
    }
}

TEST(PaintResample, EveryFilterKeepsAnEvenPictureEven) {
  for (int filter = 0; filter <= 6; ++filter)
    for (SIZE size : {SIZE{5, 3}, SIZE{20, 15}})
      for (TPixelFormat format : {pf24bit, pf32bit}) {
        auto source = Solid(10, 6, format, Grey(128), 200);
        TBitmap dest;
        ResampleBitmap(source.get(), &dest, size.cx, size.cy, filter);
        ASSERT_EQ(dest.PixelFormat(), format);
        ASSERT_EQ(dest.Width(), size.cx);
        ASSERT_EQ(dest.Height(), size.cy);
        for (int y = 0; y < size.cy; ++y)
          for (int x = 0; x < size.cx; ++x) {
            // The weights are not normalised: within 2.5 %.
            EXPECT_NEAR(At(dest, x, y) & 0xFF, 128, 3) << "filter " << filter << " at " << x << "," << y;
            if (format == pf32bit) {
              EXPECT_NEAR(AlphaAt(dest, x, y), 200, 5) << "filter " << filter;
            }
          }
        EXPECT_EQ(At(*source, 0, 0), Grey(128));
      }
}

}  // namespace
