#include "skin/engine/borders.h"

#include <gtest/gtest.h>

#include "skin/engine/common_data.h"
#include "skin/engine/paint_types.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/tests/pixels_fixtures.h"

namespace {

using namespace efir::test;

constexpr TColor Source(int x, int y) { return (0x40 + x) | (0x40 + y) << 8 | 0x80 << 16; }

// A 6 × 6 button frame with 2-pixel borders and magenta pixels in its corners.
struct ButtonImage {
  TsSkinManager Manager{nullptr};
  TsMaskData Mask;
  explicit ButtonImage(int maskType) {
    TBitmap& master = *Manager.MasterBitmap;
    master.SetPixelFormat(pf24bit);
    master.SetSize(6, 6 * (maskType + 1));
    for (int y = 0; y < master.Height(); ++y)
      for (int x = 0; x < 6; ++x) Put(master, x, y, y < 6 ? Source(x, y) : 0);
    for (POINT p : {POINT{0, 0}, POINT{1, 0}, POINT{0, 1}, POINT{5, 5}}) Put(master, p.x, p.y, TransparentKeyColor);
    Mask.R = {0, 0, 6, 6 * (maskType + 1)};
    Mask.ImageCount = 1;
    Mask.MaskType = maskType;
    Mask.StretchMode = 4;
    Mask.WL = Mask.WT = Mask.WR = Mask.WB = 2;
    Mask.Manager = &Manager;
  }
};

TEST(PaintBorders, RegionLosesExactlyTheMagentaCornerPixels) {
  for (int maskType : {0, 1}) {
    ButtonImage image(maskType);
    auto b = Solid(10, 8, pf24bit, Grey(7));
    efir::gdi::Object<HRGN> region(CreateRectRgn(0, 0, 10, 8));
    PaintMaskOverBitmap(b.get(), region.get(), true, image.Mask, 0);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 10; ++x) {
        const bool hole = (x == 0 && y == 0) || (x == 1 && y == 0) || (x == 0 && y == 1) || (x == 9 && y == 7);
        EXPECT_EQ(PtInRegion(region.get(), x, y) != 0, !hole) << maskType << ": " << x << "," << y;
        if (hole) {
          EXPECT_EQ(At(*b, x, y), Grey(7));
        }
      }
    EXPECT_EQ(At(*b, 1, 1), Source(1, 1));
    EXPECT_EQ(At(*b, 5, 0), Source(3, 0));  // top side tiled: columns 2, 3, 2, 3, ...
    EXPECT_EQ(At(*b, 8, 6), Source(4, 4));  // bottom-right corner
    EXPECT_EQ(At(*b, 4, 4), Source(2, 2));  // centre
  }
  ButtonImage image(0);
  auto b = Solid(1, 8, pf24bit, Grey(7));
  PaintMaskOverBitmap(b.get(), nullptr, true, image.Mask, 0);  // too narrow
  EXPECT_EQ(At(*b, 0, 2), Grey(7));
}

TEST(PaintBorders, CornerCutTakesTheSameHolesWithoutPainting) {
  ButtonImage image(0);
  auto b = Solid(10, 8, pf24bit, Grey(7));
  efir::gdi::Object<HRGN> region(CreateRectRgn(0, 0, 10, 8));
  CutMaskCornersFromRegion(b.get(), region.get(), 0, image.Mask);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 10; ++x) {
      const bool hole = (x == 0 && y == 0) || (x == 1 && y == 0) || (x == 0 && y == 1) || (x == 9 && y == 7);
      EXPECT_EQ(PtInRegion(region.get(), x, y) != 0, !hole) << x << "," << y;
      EXPECT_EQ(At(*b, x, y), Grey(7));
    }
  // Three pixels wide: the 2-pixel corners overlap and are halved to one pixel each.
  auto narrow = Solid(3, 8, pf24bit, Grey(7));
  efir::gdi::Object<HRGN> strip(CreateRectRgn(0, 0, 3, 8));
  CutMaskCornersFromRegion(narrow.get(), strip.get(), 0, image.Mask);
  EXPECT_FALSE(PtInRegion(strip.get(), 0, 0));
  EXPECT_TRUE(PtInRegion(strip.get(), 1, 0));   // beyond the halved corner
  EXPECT_FALSE(PtInRegion(strip.get(), 0, 1));  // the corner keeps its height
  EXPECT_FALSE(PtInRegion(strip.get(), 2, 7));
  // A bitmap of one pixel across is left alone.
  auto line = Solid(1, 8, pf24bit, Grey(7));
  efir::gdi::Object<HRGN> whole(CreateRectRgn(0, 0, 1, 8));
  CutMaskCornersFromRegion(line.get(), whole.get(), 0, image.Mask);
  EXPECT_TRUE(PtInRegion(whole.get(), 0, 0));
}

TEST(PaintBorders, ControlBorderClientRectAndBand) {
  ButtonImage image(0);
  image.Manager.Masks.push_back(std::move(image.Mask));
  TsCommonData data(nullptr, true);
  data.SetSkinManager(&image.Manager);
  data.BorderMaskIndex = 0;
  data.CacheBitmap->SetSize(12, 10);
  auto screen = Solid(12, 10, pf24bit, TransparentKeyColor);
  const struct {
    int BorderWidth;
    RECT Client;
  } rows[] = {{0, {2, 2, 10, 8}}, {3, {3, 3, 9, 7}}, {7, {7, 7, 7, 7}}};
  for (const auto& r : rows) {
    RECT client{-1, -1, -1, -1};
    PaintControlBorder(screen->Canvas().Handle(), {0, 0, 12, 10}, r.BorderWidth, data, 0, client);
    EXPECT_TRUE(EqualRect(&client, &r.Client)) << r.BorderWidth;
    EXPECT_EQ(At(*data.CacheBitmap, 1, 1), Source(1, 1));
    // Width 0 copies nothing to the other context; otherwise the band is copied.
    EXPECT_EQ(At(*screen, 11, 9), r.BorderWidth == 0 ? TransparentKeyColor : At(*data.CacheBitmap, 11, 9));
    if (r.BorderWidth < 5) {
      EXPECT_EQ(At(*screen, 6, 5), TransparentKeyColor);  // the inside is not copied
    }
  }
  // Without a border image only the band is filled, straight into the context.
  data.BorderMaskIndex = -1;
  auto plain = Solid(12, 10, pf24bit, Grey(7));
  RECT client{1, 2, 3, 4};
  PaintControlBorder(plain->Canvas().Handle(), {0, 0, 12, 10}, 1, data, 0, client);
  EXPECT_EQ(static_cast<COLORREF>(At(*plain, 0, 0)), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(At(*plain, 1, 1), Grey(7));
  EXPECT_EQ(client.left, 1);
}

}  // namespace
