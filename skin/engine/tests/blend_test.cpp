#include "skin/engine/alpha_blend.h"

#include <gtest/gtest.h>

#include "skin/engine/tests/pixels_fixtures.h"

namespace {

using namespace efir::test;

TEST(BlendFactories, FormatsSizesAndEmptyBitmaps) {
  auto b24 = NewBitmap24(5, 3);
  auto b32 = NewBitmap32(2, 7);
  EXPECT_EQ(b24->PixelFormat(), pf24bit);
  EXPECT_EQ(b24->Width(), 5);
  EXPECT_EQ(b32->PixelFormat(), pf32bit);
  EXPECT_EQ(b32->Height(), 7);
  auto like = NewBitmapLike(*b32);
  EXPECT_EQ(like->PixelFormat(), pf32bit);
  EXPECT_EQ(like->Width(), 2);
  auto empty = NewBitmap24(0, 0);
  EXPECT_TRUE(empty->Empty());
}

TEST(BlendColours, MixColorsRoundsHalfToEvenAndKeepsTheFirstHighByte) {
  EXPECT_EQ(MixColors(0x0000FF, 0x00FF00, 0.4), 0x009966);  // red 102, green 153
  EXPECT_EQ(MixColors(0x000001, 0x000002, 0.5), 0x000002);  // 1.5 → 2
  EXPECT_EQ(MixColors(0x000003, 0x000002, 0.5), 0x000002);  // 2.5 → 2
  EXPECT_EQ(static_cast<uint32_t>(MixColors(static_cast<TColor>(0x7F0000FF), 0, 1)), 0x7F0000FFu);
}

TEST(BlendWeighted, CopyWeightedRectTable) {
  const struct {
    const char* Case;
    RECT SourceRect;
    POINT DestPoint;
    POINT Probe;        // destination pixel looked at
    TColor Expected;
  } rows[] = {
      {"weight 255 and black turn 255 into 254", {0, 0, 4, 4}, {0, 0}, {1, 1}, Grey(254)},
      {"rows 10 .. 29 of the source, not 0 .. 19", {0, 10, 20, 30}, {0, 0}, {0, 0}, Grey(254)},
      {"source row 10 lands on destination row 0", {0, 10, 20, 30}, {0, 0}, {0, 19}, Grey(254)},
      {"nothing past the rectangle", {0, 10, 20, 30}, {0, 0}, {0, 20}, Grey(255)},
      {"a negative destination skips source columns", {0, 0, 4, 4}, {-2, 0}, {1, 0}, Grey(254)},
      {"... and paints nothing further", {0, 0, 4, 4}, {-2, 0}, {2, 0}, Grey(255)},
  };
  for (const auto& r : rows) {
    for (TPixelFormat f : {pf24bit, pf32bit}) {
      auto dest = Solid(40, 40, f, Grey(255), 255);
      auto source = Solid(40, 40, f, Grey(255), 255);
      for (int y = 10; y < 30; ++y)
        for (int x = 0; x < 20; ++x) Put(*source, x, y, 0, 0);
      for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) Put(*source, x, y, 0, 0);
      CopyWeightedRect(dest.get(), source.get(), 255, r.SourceRect, r.DestPoint);
      EXPECT_EQ(At(*dest, r.Probe.x, r.Probe.y), r.Expected) << r.Case;
      if (f == pf32bit && r.Expected == Grey(254)) {
        EXPECT_EQ(AlphaAt(*dest, r.Probe.x, r.Probe.y), 254) << r.Case;
      }
    }
  }
}

TEST(BlendWeighted, MixedFormatsAndMissingBitmapsPaintNothing) {
  auto d24 = Solid(4, 4, pf24bit, Grey(100));
  auto s32 = Solid(4, 4, pf32bit, Grey(0));
  CopyWeightedRect(d24.get(), s32.get(), 0, {0, 0, 4, 4}, {0, 0});
  CopyWeightedRect(d24.get(), nullptr, 0, {0, 0, 4, 4}, {0, 0});
  CopyWeightedRect(d24.get(), d24.get(), 0, {2, 2, 2, 4}, {0, 0});  // empty rectangle
  EXPECT_EQ(At(*d24, 0, 0), Grey(100));
  auto s24 = Solid(4, 4, pf24bit, Grey(0));
  BlendEqualBitmaps24(d24.get(), s24.get(), 128);
  EXPECT_EQ(At(*d24, 3, 3), Grey(50));  // (100 × 128 + 127) shr 8
  auto other = Solid(5, 4, pf24bit, Grey(0));
  BlendEqualBitmaps24(d24.get(), other.get(), 0);  // sizes differ
  EXPECT_EQ(At(*d24, 3, 3), Grey(50));
}

TEST(BlendFactor, CopyBlendedRectKeysClipsAndReadsEachFormat) {
  for (TPixelFormat sf : {pf24bit, pf32bit})
    for (TPixelFormat df : {pf24bit, pf32bit}) {
      SCOPED_TRACE(testing::Message() << "source " << sf << " dest " << df);
      auto dest = Solid(10, 3, df, Grey(100), 77);
      auto source = Solid(10, 3, sf, Grey(200), 5);
      Put(*source, 6, 0, TransparentKeyColor, 5);
      // Factor 0.4: 60 % source, 40 % destination; right and bottom inclusive.
      CopyBlendedRect(dest.get(), -5, 0, source.get(), {0, 0, 9, 0}, 0.4, TransparentKeyColor);
      EXPECT_EQ(At(*dest, 0, 0), Grey(160));   // source column 5
      EXPECT_EQ(At(*dest, 1, 0), Grey(100));   // source column 6 is magenta
      EXPECT_EQ(At(*dest, 4, 0), Grey(160));   // source column 9
      EXPECT_EQ(At(*dest, 5, 0), Grey(100));   // past the source rectangle
      EXPECT_EQ(At(*dest, 0, 1), Grey(100));   // row 1 is not in it
      if (df == pf32bit) { EXPECT_EQ(AlphaAt(*dest, 0, 0), 77); }
      // A key colour whose high byte is 0xFF is no key: magenta is blended as well.
      CopyBlendedRect(dest.get(), 0, 2, source.get(), {6, 0, 6, 0}, 0.5, static_cast<TColor>(0xFF000000));
      EXPECT_EQ(At(*dest, 0, 2), 0xB232B2);    // (255 + 100) / 2 = 177.5 → 178, (0 + 100) / 2
    }
  CopyBlendedRect(nullptr, 0, 0, nullptr, {0, 0, 1, 1}, 0.5, 0);
}

TEST(BlendMask, MaskZeroShowsThePictureAndFullMaskKeepsTheBackground) {
  // A 24-bit glyph keeps its mask in its lower half.
  const struct {
    int Mask;
    int Dest, Picture;
    int Expected;
  } rows[] = {{0, 255, 0, 0}, {255, 255, 0, 254}, {128, 200, 100, 150}, {255, 0, 255, 0}, {0, 10, 90, 90}};
  for (const auto& r : rows) {
    auto glyph = NewBitmap24(1, 2);
    Put(*glyph, 0, 0, Grey(r.Picture));
    Put(*glyph, 0, 1, Grey(r.Mask));
    auto dest = Solid(2, 2, pf24bit, Grey(r.Dest));
    CopyMaskCellTransparent({1, 1, 2, 2}, {0, 0, 1, 1}, dest.get(), glyph.get(), EmptyCacheSourceInfo, false);
    EXPECT_EQ(At(*dest, 1, 1), Grey(r.Expected)) << "mask " << r.Mask << " over " << r.Dest;
    EXPECT_EQ(At(*dest, 0, 0), Grey(r.Dest));
  }
}

TEST(BlendMask, MagentaTakesTheReadyBackground) {
  auto glyph = NewBitmap24(2, 2);
  Put(*glyph, 0, 0, TransparentKeyColor);
  Put(*glyph, 1, 0, Grey(9));
  Put(*glyph, 0, 1, Grey(0));
  Put(*glyph, 1, 1, Grey(0));
  auto background = Solid(8, 8, pf24bit, 0x123456);
  CacheSourceInfo info;
  MakeCacheSourceInfo(background.get(), 3, 3, info);
  for (bool fill : {true, false}) {
    auto dest = Solid(2, 1, pf24bit, Grey(1));
    CopyMaskCellTransparent({0, 0, 2, 1}, {0, 0, 2, 1}, dest.get(), glyph.get(), info, fill);
    EXPECT_EQ(At(*dest, 0, 0), fill ? 0x123456 : Grey(1));
    EXPECT_EQ(At(*dest, 1, 0), Grey(9));
  }
  // A 32-bit glyph blends by its alpha.
  auto alphaGlyph = Solid(2, 1, pf32bit, Grey(200), 128);
  Put(*alphaGlyph, 1, 0, Grey(200), 255);
  auto dest = Solid(2, 1, pf32bit, Grey(100), 3);
  CopyMaskCellTransparent({0, 0, 2, 1}, {0, 0, 2, 1}, dest.get(), alphaGlyph.get(), EmptyCacheSourceInfo, false);
  EXPECT_EQ(At(*dest, 0, 0), Grey(150));
  EXPECT_EQ(At(*dest, 1, 0), Grey(199));  // ((200 − 100) × 255 + 100 × 256) shr 8
  EXPECT_EQ(AlphaAt(*dest, 0, 0), 255);
}

TEST(BlendKeyed, KeyedCopiesSkipMagentaAndClip) {
  auto source = Solid(3, 2, pf24bit, 0x0000FF);
  Put(*source, 1, 0, TransparentKeyColor);
  auto dest = Solid(4, 4, pf32bit, Grey(7), 0);
  CopyBitmapKeyed(dest.get(), source.get(), -1, 3, TransparentKeyColor);
  EXPECT_EQ(At(*dest, 0, 3), Grey(7));      // the magenta of source column 1
  EXPECT_EQ(At(*dest, 1, 3), 0x0000FF);
  EXPECT_EQ(AlphaAt(*dest, 1, 3), 255);
  EXPECT_EQ(At(*dest, 2, 3), Grey(7));
  EXPECT_EQ(AlphaAt(*dest, 2, 3), 0);

  auto d24 = Solid(4, 4, pf24bit, Grey(7));
  // Right and bottom inclusive: columns 1 .. 2 of row 0.
  CopyKeyedRect24(d24.get(), source.get(), 0, 0, {1, 0, 2, 0}, TransparentKeyColor, EmptyCacheSourceInfo);
  EXPECT_EQ(At(*d24, 0, 0), Grey(7));
  EXPECT_EQ(At(*d24, 1, 0), 0x0000FF);
  EXPECT_EQ(At(*d24, 2, 0), Grey(7));
  EXPECT_EQ(At(*d24, 0, 1), Grey(7));
}

TEST(BlendTint, TintAndColourThroughMask) {
  auto b = Solid(2, 1, pf32bit, Grey(200), 33);
  Put(*b, 1, 0, TransparentKeyColor, 33);
  TintBitmap(b.get(), Grey(100), TransparentKeyColor, 0.25);
  EXPECT_EQ(At(*b, 0, 0), Grey(125));
  EXPECT_EQ(At(*b, 1, 0), TransparentKeyColor);
  EXPECT_EQ(AlphaAt(*b, 0, 0), 33);

  auto picture = Solid(3, 1, pf24bit, Grey(200));
  auto mask = NewBitmap24(3, 1);
  Put(*mask, 0, 0, Grey(0));
  Put(*mask, 1, 0, Grey(255));
  Put(*mask, 2, 0, Grey(128));
  BlendColorThroughMask(picture.get(), mask.get(), Grey(0));
  EXPECT_EQ(At(*picture, 0, 0), Grey(0));
  EXPECT_EQ(At(*picture, 1, 0), Grey(199));
  EXPECT_EQ(At(*picture, 2, 0), Grey(100));
}

TEST(BlendCrossFade, EndsGiveEachPictureAndTheMaskWeighs) {
  auto a = Solid(3, 2, pf24bit, Grey(200));
  auto b = Solid(3, 2, pf24bit, Grey(100));
  auto target = Solid(4, 4, pf32bit, Grey(0), 42);
  CrossFadeBitmaps(target.get(), a.get(), b.get(), nullptr, 0);
  EXPECT_EQ(At(*target, 2, 1), Grey(100));
  CrossFadeBitmaps(target.get(), a.get(), b.get(), nullptr, 256);
  EXPECT_EQ(At(*target, 2, 1), Grey(200));
  EXPECT_EQ(At(*target, 3, 3), Grey(0));  // outside A's size
  EXPECT_EQ(AlphaAt(*target, 2, 1), 42);
  auto mask = Solid(3, 2, pf24bit, Grey(128));
  CrossFadeBitmaps(target.get(), a.get(), b.get(), mask.get(), 0);
  EXPECT_EQ(At(*target, 0, 0), Grey(150));
  auto small = Solid(2, 2, pf32bit, Grey(0));
  CrossFadeBitmaps(small.get(), a.get(), b.get(), nullptr, 0);  // too small a target
  EXPECT_EQ(At(*small, 0, 0), Grey(0));
}

TEST(BlendAlphaCell, AlphaTintFadeAndHolesLeaveTheSourceAlone) {
  auto glyph = Solid(2, 2, pf32bit, 0x0000FF, 255);  // opaque red
  Put(*glyph, 1, 0, TransparentKeyColor, 0);           // a hole
  Put(*glyph, 0, 1, 0x0000FF, 0);                      // fully transparent red
  auto background = Solid(4, 4, pf24bit, 0x00FF00);
  CacheSourceInfo info;
  MakeCacheSourceInfo(background.get(), 0, 0, info);
  const struct {
    const char* Case;
    TColor Color;
    int Percent;
    bool Fill;
    TColor Pixel00, Pixel10, Pixel01;
  } rows[] = {
      // ((s − d) × alpha + d × 256) shr 8: alpha 255 leaves 1/256 of the destination.
      {"plain", clNone, 0, false, 0x0000FE, Grey(50), Grey(50)},
      {"hole filled from the background", clNone, 0, true, 0x0000FE, 0x00FF00, Grey(50)},
      {"grey 85 tinted blue", 0xFF0000, 0, false, 0x540000, Grey(50), Grey(50)},
      {"faded by half", clNone, 50, false, 0x191997, Grey(50), Grey(50)},
  };
  for (const auto& r : rows) {
    auto dest = Solid(2, 2, pf24bit, Grey(50));
    CopyAlphaCell({0, 0, 2, 2}, {0, 0, 2, 2}, dest.get(), glyph.get(), info, r.Fill, r.Color, r.Percent, false);
    EXPECT_EQ(At(*dest, 0, 0), r.Pixel00) << r.Case;
    EXPECT_EQ(At(*dest, 1, 0), r.Pixel10) << r.Case;
    EXPECT_EQ(At(*dest, 0, 1), r.Pixel01) << r.Case;
  }
  EXPECT_EQ(At(*glyph, 0, 0), 0x0000FF);  // not tinted in place
  EXPECT_EQ(glyph->PixelFormat(), pf32bit);
}

TEST(BlendAlphaCell, ReflectionFadesBelowTheCell) {
  auto glyph = Solid(1, 4, pf32bit, Grey(255), 255);
  auto dest = Solid(1, 8, pf24bit, Grey(0));
  CopyAlphaCell({0, 0, 1, 4}, {0, 0, 1, 4}, dest.get(), glyph.get(), EmptyCacheSourceInfo, false, clNone, 0, true);
  // Half the glyph's height is mirrored; the weight starts at 255 × 85 / 255 = 85 and drops.
  EXPECT_EQ(At(*dest, 0, 3), Grey(254));
  EXPECT_EQ(At(*dest, 0, 4), Grey(84));  // 255 × 85 shr 8
  EXPECT_EQ(At(*dest, 0, 5), Grey(41));  // fade 128: 128 × 85 div 255 = 42 → 255 × 42 shr 8
  EXPECT_EQ(At(*dest, 0, 6), Grey(0));
}

}  // namespace
