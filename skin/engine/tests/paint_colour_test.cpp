#include "skin/engine/colour_utils.h"

#include <gtest/gtest.h>

#include "skin/engine/alpha_blend.h"
#include "skin/engine/tests/pixels_fixtures.h"

// Rectangles compared by value in the expectations below.
static bool operator==(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != 0; }

namespace {

using namespace efir::test;

TEST(PaintColour, SaturationAndHueTable) {
  const struct {
    const char* Case;
    TColor Result, Expected;
  } rows[] = {
      {"red at saturation 100 is the grey of its average", ChangeColorSaturation(0x0000FF, 100), Grey(85)},
      {"amount 0 gives the colour back as it is", ChangeColorSaturation(static_cast<TColor>(0x7F123456), 0),
       static_cast<TColor>(0x7F123456)},
      {"negative amounts move away from grey", ChangeColorSaturation(0xC89664, -50), 0xE1964B},
      {"the fourth byte is cleared", ChangeColorSaturation(static_cast<TColor>(0x7F0000FF), 100), Grey(85)},
      {"a grey keeps its hue", ChangeColorHue(77, Grey(128)), Grey(128)},
      {"red turned by 120 is green", ChangeColorHue(120, 0x0000FF), 0x00FF00},
      {"red turned by 240 is blue", ChangeColorHue(240, 0x0000FF), 0xFF0000},
      {"green turned by 120 is blue", ChangeColorHue(120, 0x00FF00), 0xFF0000},
      {"turned by 360 stays", ChangeColorHue(360, 0x3366CC), 0x3366CC},
      // A sum below 0 stays negative: sector 0 with a negative fraction, cut to 0 .. 255.
      {"red turned by -30", ChangeColorHue(-30, 0x0000FF), 0x0000FF},
  };
  for (const auto& r : rows) EXPECT_EQ(r.Result, r.Expected) << r.Case;
}

TEST(PaintColour, TransparentCornerRuns) {
  TsSkinManager manager(nullptr);
  TsMaskData mask;
  mask.Image = std::make_unique<TBitmap>(8, 4, pf24bit);
  FillAll(*mask.Image, Grey(10));
  mask.R = {0, 0, 8, 4};
  mask.ImageCount = 2;  // frames 4 wide
  mask.WL = mask.WR = mask.WT = mask.WB = 2;
  mask.Manager = &manager;
  TAOR rects;
  CollectTransparentCornerRects(rects, 100, mask, 50, false);
  EXPECT_TRUE(rects.empty());  // no magenta, no rectangles
  Put(*mask.Image, 0, 0, TransparentKeyColor);
  Put(*mask.Image, 1, 0, TransparentKeyColor);  // a whole corner row
  Put(*mask.Image, 3, 1, TransparentKeyColor);  // the right corner's last column
  Put(*mask.Image, 1, 3, TransparentKeyColor);  // bottom-left corner
  CollectTransparentCornerRects(rects, 100, mask, 50, false);
  ASSERT_EQ(rects.size(), 2u);
  EXPECT_EQ(rects[0], (RECT{0, 50, 2, 51}));
  EXPECT_EQ(rects[1], (RECT{99, 51, 100, 52}));  // lined up with the window's right edge
  rects.clear();
  CollectTransparentCornerRects(rects, 100, mask, 98, true);
  ASSERT_EQ(rects.size(), 1u);
  EXPECT_EQ(rects[0], (RECT{1, 99, 2, 100}));
  mask.Manager = nullptr;
  rects.clear();
  CollectTransparentCornerRects(rects, 100, mask, 0, false);
  EXPECT_TRUE(rects.empty());
}

TEST(PaintColour, LayeredWindowsAreFound) { EXPECT_TRUE(LayeredWindowsAvailable()); }

}  // namespace
