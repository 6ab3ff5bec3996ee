#include "skin/engine/skin_painters.h"

#include <gtest/gtest.h>

#include "framework/controls.h"
#include "skin/engine/alpha_blend.h"
#include "skin/engine/common_data.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/tests/pixels_fixtures.h"

namespace {

using namespace efir::test;

// Each picture pixel tells where it came from: red 0x40 + column, green 0x40 + row.
constexpr TColor Source(int x, int y) { return (0x40 + x) | (0x40 + y) << 8 | 0x80 << 16; }
constexpr TColor kBackground = Grey(7);

// A synthetic border image in the manager's master bitmap: `frames` state frames of fw × fh
// side by side, with `maskType` mask parts below (all 0, so the picture shows unchanged).
struct BorderImage {
  TsSkinManager Manager{nullptr};
  TsMaskData Mask;

  BorderImage(int frames, int fw, int fh, int border, int maskType = 0, int stretchMode = 4) {
    TBitmap& master = *Manager.MasterBitmap;
    master.SetPixelFormat(pf24bit);
    master.SetSize(frames * fw, fh * (maskType + 1));
    for (int y = 0; y < master.Height(); ++y)
      for (int x = 0; x < master.Width(); ++x) Put(master, x, y, y < fh ? Source(x, y) : 0);
    Mask.R = {0, 0, frames * fw, fh * (maskType + 1)};
    Mask.ImageCount = frames;
    Mask.MaskType = maskType;
    Mask.StretchMode = stretchMode;
    Mask.WL = Mask.WT = Mask.WR = Mask.WB = border;
    Mask.Manager = &Manager;
  }
};

TEST(PaintSlices, CornersKeptSidesAndCentreTiled) {
  for (int maskType : {0, 1}) {
    SCOPED_TRACE(maskType ? "with a mask part" : "key colour");
    BorderImage image(3, 6, 6, 2, maskType);  // middle 2 × 2
    auto b = Solid(13, 11, pf24bit, kBackground);
    PaintSkinSlices(b.get(), {1, 1, 12, 10}, true, EmptyCacheSourceInfo, image.Mask, 1, true, nullptr);
    const struct {
      const char* Part;
      int DX, DY, SX, SY;
    } probes[] = {
        {"top-left corner", 1, 1, 6, 0},          {"top-left corner", 2, 2, 7, 1},
        {"top side, first tile", 3, 1, 8, 0},     {"top side, second tile", 5, 1, 8, 0},
        {"top side, cut tile", 9, 2, 8, 1},       {"right side", 10, 4, 10, 3},
        {"left side, repeated", 1, 7, 6, 2},      {"bottom side", 4, 9, 9, 5},
        {"bottom-right corner", 11, 9, 11, 5},    {"top-right corner", 10, 1, 10, 0},
        {"bottom-left corner", 1, 8, 6, 4},       {"centre tile", 6, 6, 9, 3},
    };
    for (const auto& p : probes) EXPECT_EQ(At(*b, p.DX, p.DY), Source(p.SX, p.SY)) << p.Part;
    EXPECT_EQ(At(*b, 0, 0), kBackground);
    EXPECT_EQ(At(*b, 12, 10), kBackground);
  }
}

TEST(PaintSlices, StateIsClampedAndStateZeroMayBeSkipped) {
  BorderImage image(3, 6, 6, 2);
  auto b = Solid(6, 6, pf24bit, kBackground);
  PaintSkinSlices(b.get(), {0, 0, 6, 6}, true, EmptyCacheSourceInfo, image.Mask, 7, true, nullptr);
  EXPECT_EQ(At(*b, 0, 0), Source(12, 0));  // the last frame
  image.Mask.StretchMode = 4 | 2;
  b = Solid(6, 6, pf24bit, kBackground);
  PaintSkinSlices(b.get(), {0, 0, 6, 6}, true, EmptyCacheSourceInfo, image.Mask, 0, true, nullptr);
  EXPECT_EQ(At(*b, 0, 0), kBackground);
  PaintSkinSlices(b.get(), {0, 0, 6, 6}, true, EmptyCacheSourceInfo, image.Mask, 1, true, nullptr);
  EXPECT_EQ(At(*b, 0, 0), Source(6, 0));
}

TEST(PaintSlices, UnusableInputPaintsNothing) {
  BorderImage image(1, 6, 6, 2);
  const struct {
    const char* Case;
    RECT Rect;
    bool NoManager, NoFrames;
    int MaskType;
  } rows[] = {
      {"one pixel wide", {0, 0, 1, 6}},
      {"one pixel high", {0, 0, 6, 1}},
      {"empty", {3, 3, 3, 3}},
      {"no manager", {0, 0, 6, 6}, true},
      {"no frames", {0, 0, 6, 6}, false, true},
      {"no image", {0, 0, 6, 6}, false, false, -1},
  };
  for (const auto& r : rows) {
    TsMaskData& m = image.Mask;
    m.Manager = r.NoManager ? nullptr : &image.Manager;
    m.ImageCount = r.NoFrames ? 0 : 1;
    m.MaskType = r.MaskType;
    auto b = Solid(6, 6, pf24bit, kBackground);
    PaintSkinSlices(b.get(), r.Rect, true, EmptyCacheSourceInfo, m, 0, true, nullptr);
    if (r.NoManager || r.NoFrames || r.MaskType < 0) PaintMaskFrame(b.get(), {0, 0}, 0, 1, m, EmptyCacheSourceInfo);
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 6; ++x) ASSERT_EQ(At(*b, x, y), kBackground) << r.Case;
  }
  PaintSkinSlices(nullptr, {0, 0, 6, 6}, true, EmptyCacheSourceInfo, image.Mask, 0, true, nullptr);
}

TEST(PaintSlices, NarrowRectangleShrinksBordersEvenly) {
  BorderImage image(1, 10, 10, 4);
  auto b = Solid(5, 10, pf24bit, kBackground);
  // W = 5 with WL = WR = 4 gives 3 and 2: the right corner starts at source column 8.
  PaintSkinSlices(b.get(), {0, 0, 5, 10}, true, EmptyCacheSourceInfo, image.Mask, 0, true, nullptr);
  EXPECT_EQ(At(*b, 2, 0), Source(2, 0));
  EXPECT_EQ(At(*b, 3, 0), Source(8, 0));
  EXPECT_EQ(At(*b, 4, 0), Source(9, 0));
}

TEST(PaintSlices, EmptyMiddlePaintsCornersOnly) {
  BorderImage image(1, 4, 4, 2);
  auto b = Solid(10, 10, pf24bit, kBackground);
  PaintSkinSlices(b.get(), {0, 0, 10, 10}, true, EmptyCacheSourceInfo, image.Mask, 0, true, nullptr);
  EXPECT_EQ(At(*b, 1, 1), Source(1, 1));
  EXPECT_EQ(At(*b, 9, 9), Source(3, 3));
  EXPECT_EQ(At(*b, 5, 0), kBackground);
  EXPECT_EQ(At(*b, 0, 5), kBackground);
  EXPECT_EQ(At(*b, 5, 5), kBackground);
}

TEST(PaintSlices, CentreNeedsBothFlagsAndStretchFillsSides) {
  BorderImage image(1, 6, 6, 2, 0, 0);
  auto b = Solid(10, 10, pf24bit, kBackground);
  PaintSkinSlices(b.get(), {0, 0, 10, 10}, true, EmptyCacheSourceInfo, image.Mask, 0, true, nullptr);
  EXPECT_EQ(At(*b, 5, 5), kBackground);  // StretchMode without bit 2
  image.Mask.StretchMode = 4;
  PaintSkinSlices(b.get(), {0, 0, 10, 10}, false, EmptyCacheSourceInfo, image.Mask, 0, true, nullptr);
  EXPECT_EQ(At(*b, 5, 5), kBackground);  // FillCentre off
  // Stretched sides of one colour stay that colour (the filter of the stretch aside).
  TBitmap& master = *image.Manager.MasterBitmap;
  for (int y = 0; y < 6; ++y)
    for (int x = 2; x < 4; ++x) Put(master, x, y, 0x336699);
  image.Mask.StretchMode = 1 | 4;
  PaintSkinSlices(b.get(), {0, 0, 10, 10}, true, EmptyCacheSourceInfo, image.Mask, 0, true, nullptr);
  EXPECT_EQ(At(*b, 5, 0), 0x336699);
  EXPECT_EQ(At(*b, 5, 9), 0x336699);
  EXPECT_EQ(At(*b, 0, 0), Source(0, 0));
}

TEST(PaintSlices, TransparentCornersShowTheBackgroundOrTheFallback) {
  for (int maskType : {0, 1}) {
    BorderImage image(1, 6, 6, 2, maskType);
    Put(*image.Manager.MasterBitmap, 0, 0, TransparentKeyColor);
    auto parent = Solid(20, 20, pf24bit, 0x0000FF);
    Put(*parent, 5, 6, 0x00FF00);
    CacheSourceInfo ready;
    MakeCacheSourceInfo(parent.get(), 4, 5, ready);  // the item lies at (4, 5) of its parent
    CacheSourceInfo notReady{nullptr, 0, 0, 0x123456, false};
    const struct {
      const CacheSourceInfo* Info;
      bool Fill;
      TColor Expected;
    } rows[] = {{&ready, true, 0x00FF00}, {&notReady, true, 0x123456}};
    for (const auto& r : rows) {
      auto b = Solid(8, 8, pf24bit, kBackground);
      PaintSkinSlices(b.get(), {1, 1, 7, 7}, true, *r.Info, image.Mask, 0, r.Fill, nullptr);
      EXPECT_EQ(At(*b, 1, 1), r.Expected) << "mask type " << maskType;
      EXPECT_EQ(At(*b, 2, 1), Source(1, 0));
    }
  }
}

TEST(PaintSlices, MaskPartBlends) {
  BorderImage image(1, 6, 6, 2, 1);
  TBitmap& master = *image.Manager.MasterBitmap;
  Put(master, 0, 0, Grey(0));
  Put(master, 0, 6, Grey(255));  // full mask: the background stays (almost)
  Put(master, 1, 0, Grey(100));
  Put(master, 1, 6, Grey(128));
  auto b = Solid(6, 6, pf24bit, Grey(255));
  PaintSkinSlices(b.get(), {0, 0, 6, 6}, true, EmptyCacheSourceInfo, image.Mask, 0, false, nullptr);
  EXPECT_EQ(At(*b, 0, 0), Grey(254));
  EXPECT_EQ(At(*b, 1, 0), Grey(177));  // (100 × 256 + 128 × 155) div 256
  EXPECT_EQ(At(*b, 2, 0), Source(2, 0));
}

TEST(PaintFrame, WholeFrameClippedAtNegativePoints) {
  BorderImage image(2, 4, 3, 0, 1);
  auto b = Solid(6, 6, pf24bit, kBackground);
  PaintMaskFrame(b.get(), {-1, -2}, 5, 1, image.Mask, EmptyCacheSourceInfo);
  EXPECT_EQ(At(*b, 0, 0), Source(5, 2));  // frame 1, from its column 1 and row 2
  EXPECT_EQ(At(*b, 2, 0), Source(7, 2));
  EXPECT_EQ(At(*b, 3, 0), kBackground);
  EXPECT_EQ(At(*b, 0, 1), kBackground);
  PaintMaskFrame(b.get(), {3, 3}, 0, 1, image.Mask, EmptyCacheSourceInfo);
  EXPECT_EQ(At(*b, 3, 3), Source(0, 0));
  EXPECT_EQ(At(*b, 5, 5), Source(2, 2));
}

TEST(PaintFrame, PaleModeRaisesTheMask) {
  for (int mask : {200, 255}) {
    BorderImage image(1, 2, 2, 0, 1);
    Put(*image.Manager.MasterBitmap, 0, 0, Grey(0));
    Put(*image.Manager.MasterBitmap, 0, 2, Grey(mask));
    auto b = Solid(2, 2, pf24bit, Grey(255));
    PaintMaskFrame(b.get(), {0, 0}, 0, 2, image.Mask, EmptyCacheSourceInfo);
    EXPECT_EQ(At(*b, 0, 0), Grey(254)) << mask;  // 200 + 100 is cut to 255
  }
}

TEST(PaintFrame, KeyColourFramesCopyOrBlendByMode) {
  BorderImage image(1, 2, 2, 0, 0);
  Put(*image.Manager.MasterBitmap, 1, 0, TransparentKeyColor);
  Put(*image.Manager.MasterBitmap, 0, 0, Grey(100));
  auto parent = Solid(4, 4, pf24bit, 0x00FF00);
  CacheSourceInfo ready;
  MakeCacheSourceInfo(parent.get(), 0, 0, ready);
  auto b = Solid(2, 2, pf24bit, Grey(50));
  PaintMaskFrame(b.get(), {0, 0}, 0, 1, image.Mask, ready);
  EXPECT_EQ(At(*b, 0, 0), Grey(100));
  EXPECT_EQ(At(*b, 1, 0), 0x00FF00);  // magenta shows the parent
  b = Solid(2, 2, pf24bit, Grey(50));
  PaintMaskFrame(b.get(), {0, 0}, 0, 0, image.Mask, ready);
  EXPECT_EQ(At(*b, 0, 0), Grey(75));  // half and half
  EXPECT_EQ(At(*b, 1, 0), Grey(50));
}

TEST(PaintDisabled, BlendedGreyedOrTinted) {
  auto parent = Solid(10, 10, pf24bit, Grey(200));
  CacheSourceInfo ready;
  MakeCacheSourceInfo(parent.get(), 2, 2, ready);
  auto b = Solid(4, 4, pf24bit, Grey(100));
  ApplyDisabledLook(b.get(), dkBlended, nullptr, ready, {1, 1});
  EXPECT_EQ(At(*b, 3, 3), Grey(160));  // 0.6 × 200 + 0.4 × 100
  b = Solid(4, 4, pf24bit, 0x0000FF);
  ApplyDisabledLook(b.get(), dkGrayed, nullptr, ready, {0, 0});
  EXPECT_EQ(At(*b, 0, 0), Grey(85));
  b = Solid(4, 4, pf24bit, Grey(100));
  ApplyDisabledLook(b.get(), dkBlended, nullptr, {nullptr, 0, 0, Grey(200), false}, {0, 0});
  EXPECT_EQ(At(*b, 3, 3), Grey(150));
  ApplyDisabledLook(nullptr, dkBlended | dkGrayed, nullptr, ready, {0, 0});
}

TEST(PaintCorners, CopyWhereTheCornerIsTransparent) {
  BorderImage image(1, 4, 4, 2);
  TBitmap& master = *image.Manager.MasterBitmap;
  Put(master, 3, 2, TransparentKeyColor);  // bottom-right corner, its column 1 row 0
  image.Manager.Masks.push_back(std::move(image.Mask));
  auto dest = Solid(4, 4, pf32bit, Grey(1), 1);
  auto source = Solid(4, 4, pf32bit, Grey(9), 9);
  CopyWhereTransparent(dest.get(), source.get(), {2, 2, 4, 4}, {0, 0, 2, 2}, 0, &image.Manager, HTBOTTOMRIGHT);
  EXPECT_EQ(At(*dest, 3, 2), Grey(9));
  EXPECT_EQ(AlphaAt(*dest, 3, 2), 9);
  EXPECT_EQ(At(*dest, 2, 2), Grey(1));
  Put(*dest, 0, 0, TransparentKeyColor, 1);
  CopyWhereTransparent(dest.get(), source.get(), {0, 0, 2, 2}, {0, 0, 2, 2}, -1, nullptr, HTTOPLEFT);
  EXPECT_EQ(At(*dest, 0, 0), Grey(9));
  EXPECT_EQ(At(*dest, 1, 0), Grey(1));
}

}  // namespace

namespace {

TEST(PaintCorners, RestoreCornersTakesTheStatesShapeAndTheParentsColour) {
  BorderImage image(2, 4, 4, 2);
  Put(*image.Manager.MasterBitmap, 4, 3, TransparentKeyColor);  // frame 1, bottom-left corner
  image.Manager.Masks.push_back(std::move(image.Mask));
  TCustomControl parent(nullptr), control(nullptr);
  parent.SetColor(0x00FF00);
  control.SetParent(&parent);
  control.SetBounds(3, 3, 8, 6);
  TsCommonData data(&control, true);
  data.SetSkinManager(&image.Manager);
  data.BorderMaskIndex = 0;
  const struct {
    int State;
    uint8_t Corners;
    TColor Expected;
  } rows[] = {{1, 2, 0x00FF00}, {1, 15, 0x00FF00}, {0, 15, kBackground}, {1, 1 | 4 | 8, kBackground}};
  for (const auto& r : rows) {
    data.CacheBitmap->SetSize(8, 6);
    FillAll(*data.CacheBitmap, kBackground);
    RestoreCornersEx(data, r.State, r.Corners);
    EXPECT_EQ(At(*data.CacheBitmap, 0, 5), r.Expected) << r.State << " " << int(r.Corners);
    EXPECT_EQ(At(*data.CacheBitmap, 0, 4), kBackground);
  }
  control.SetParent(nullptr);
}

}  // namespace
