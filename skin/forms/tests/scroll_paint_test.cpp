// The skinned scroll bar's picture, painted into a bitmap without a window: each part in its
// section's colours at the rectangle the geometry gives, in the look asked for.
#include <gtest/gtest.h>

#include "skin/engine/alpha_blend.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/tests/pixels_fixtures.h"
#include "skin/forms/scroll_paint.h"
#include "skin/forms/tests/scroll_skin_fixture.h"

namespace {

using namespace efir::test;
namespace ss = efir::test::scrollskin;

class ScrollPaintTest : public ::testing::Test {
 protected:
  void SetUp() override { UseSkin(manager, ss::WriteScrollSkin(), "Scrolls"); }

  // A vertical bar 17 × length, 100 positions with a page of 10.
  std::unique_ptr<TBitmap> Paint(int nPos, const ScrollBarLook& look, int length = 200, int kind = SB_VERT) {
    TacScrollBar bar;
    bar.Kind = kind;
    bar.ArrowLength = 17;
    bar.Info.nMax = 99;
    bar.Info.nPage = 10;
    bar.Info.nPos = nPos;
    auto image = kind == SB_VERT ? NewBitmap24(17, length) : NewBitmap24(length, 17);
    CacheSourceInfo background;
    background.FillColor = ss::Global;
    EXPECT_TRUE(PaintScrollBarImage(*image, bar, look, &manager, background, {0, 0}));
    return image;
  }

  TsSkinManager manager{nullptr};
};

TEST_F(ScrollPaintTest, PartsAtTheirPlacesInTheirColours) {
  // nPos 45 puts the thumb at 17 + 75 = 92 .. 109; the track splits at its middle, 100.
  auto image = Paint(45, {});
  struct Probe {
    const char* what;
    int y;
    TColor colour;
  } probes[] = {
      {"first arrow's rim", 1, ss::Rim[0]},     {"first arrow's face", 4, ss::Arrow},
      {"first arrow's glyph", 8, ss::Glyph[0]}, {"track before the thumb", 50, ss::Track1},
      {"thumb's rim", 93, ss::Rim[0]},          {"thumb's face", 100, ss::Thumb},
      {"track after the thumb", 150, ss::Track2}, {"second arrow's glyph", 191, ss::Glyph[0]},
      {"second arrow's face", 196, ss::Arrow},
  };
  for (const Probe& p : probes) EXPECT_EQ(At(*image, 8, p.y), p.colour) << p.what;
  // The thumb ends where the geometry says: the rim of the track after it follows at 109.
  EXPECT_EQ(At(*image, 8, 108), ss::Rim[0]);
  EXPECT_EQ(At(*image, 8, 112), ss::Track2);
}

TEST_F(ScrollPaintTest, LooksShowHotAndPressedParts) {
  ScrollBarLook look;
  look.FirstArrow = 2;
  look.SecondArrow = 1;
  look.Thumb = 1;
  look.Pressed = spTrackAfter;
  auto image = Paint(0, look);
  EXPECT_EQ(At(*image, 1, 1), ss::Rim[2]) << "pressed first arrow";
  EXPECT_EQ(At(*image, 8, 8), ss::Glyph[2]);
  EXPECT_EQ(At(*image, 1, 198), ss::Rim[1]) << "hot second arrow";
  EXPECT_EQ(At(*image, 8, 191), ss::Glyph[1]);
  EXPECT_EQ(At(*image, 8, 25), ss::HotThumb) << "hot thumb";
  EXPECT_EQ(At(*image, 1, 150), ss::Rim[2]) << "pressed track after the thumb";
}

TEST_F(ScrollPaintTest, DraggedThumbAndShortOrDisabledBars) {
  ScrollBarLook dragged;
  dragged.ThumbStart = 150;
  auto image = Paint(0, dragged);
  EXPECT_EQ(At(*image, 8, 158), ss::Thumb) << "the thumb where the drag holds it";
  EXPECT_EQ(At(*image, 8, 25), ss::Track1) << "not where the position would put it";

  // Shorter than two arrows: two half-length arrows, no thumb.
  auto shortBar = Paint(0, {}, 20);
  EXPECT_EQ(At(*shortBar, 1, 1), ss::Rim[0]);
  EXPECT_EQ(At(*shortBar, 1, 18), ss::Rim[0]);
  EXPECT_EQ(At(*shortBar, 1, 9), ss::Rim[0]) << "the first arrow's bottom rim ends the first half";

  ScrollBarLook off;
  off.Enabled = false;
  auto disabled = Paint(0, off);
  EXPECT_NE(At(*disabled, 8, 25), ss::Thumb) << "no thumb on a disabled bar";
  EXPECT_NE(At(*disabled, 8, 4), ss::Arrow) << "faded toward the background";

  // The horizontal twin: arrows at the ends, thumb along x.
  auto horz = Paint(45, {}, 200, SB_HORZ);
  EXPECT_EQ(At(*horz, 8, 8), ss::Glyph[0]);
  EXPECT_EQ(At(*horz, 100, 8), ss::Thumb);
  EXPECT_EQ(At(*horz, 50, 8), ss::Track1);
}

TEST_F(ScrollPaintTest, CornerWithAndWithoutGrip) {
  auto corner = NewBitmap24(17, 17);
  CacheSourceInfo background;
  background.FillColor = ss::Global;
  PaintScrollCornerImage(*corner, &manager, background, {0, 0}, true);
  EXPECT_EQ(At(*corner, 16, 16), ss::Grip);
  EXPECT_EQ(At(*corner, 17 - ss::GripSize, 17 - ss::GripSize), ss::Grip);
  EXPECT_EQ(At(*corner, 2, 2), ss::Global);
  PaintScrollCornerImage(*corner, &manager, background, {0, 0}, false);
  EXPECT_EQ(At(*corner, 16, 16), ss::Global);
}

TEST_F(ScrollPaintTest, NothingWithoutScrollSections) {
  TsSkinManager none{nullptr};
  TacScrollBar bar;
  bar.Kind = SB_VERT;
  auto image = NewBitmap24(17, 100);
  EXPECT_FALSE(PaintScrollBarImage(*image, bar, {}, &none, {}, {0, 0}));
  EXPECT_FALSE(PaintScrollBarImage(*image, bar, {}, nullptr, {}, {0, 0}));
}

}  // namespace
