// Colour blends, scheme colours, geometry, the theme library's absence, and drawing on a
// memory canvas: gradients, button faces and pictures with alpha.
#include <gtest/gtest.h>

#include <string>

#include "framework/bitmap.h"
#include "framework/exceptions.h"
#include "grid/theme_draw.h"

namespace {

struct Surface {
  TBitmap bitmap;
  TCanvas& canvas;
  explicit Surface(int width = 40, int height = 20, TColor fill = clWhite)
      : bitmap(width, height, pf24bit), canvas(bitmap.Canvas()) {
    canvas.Brush().SetColor(fill);
    canvas.FillRect({0, 0, width, height});
  }
};

// A one-pixel-high 32-bit picture with straight alpha.
void SetPixel32(TBitmap& picture, int x, TColor color, uint8_t alpha) {
  auto* p = static_cast<uint8_t*>(picture.ScanLine(0)) + x * 4;
  p[0] = GetBValue(color);
  p[1] = GetGValue(color);
  p[2] = GetRValue(color);
  p[3] = alpha;
}

}  // namespace

TEST(ThemeDraw, Blends) {
  EXPECT_EQ(grid::BlendColor(clWhite, clBlack, 255), 0xFEFEFE);
  EXPECT_EQ(grid::BlendColor(clWhite, clBlack, 0), clBlack);
  EXPECT_EQ(grid::BlendColor(0x0000FF, 0xFF0000, 128), 0x7E007F);  // 255 x 128 shr 8, 255 x 127 shr 8
  EXPECT_EQ(grid::BlendColor(clWindow, clBlack, 255),  // system colours resolve first
            grid::BlendColor(static_cast<TColor>(ColorToRGB(clWindow)), clBlack, 255));
  for (int alpha : {256, -1}) {
    try {
      grid::BlendColor(clWhite, clBlack, alpha);
      ADD_FAILURE() << alpha;
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), "Assertion failure");
    }
  }
  EXPECT_EQ(grid::BlendColorsFloat(0x102030, 0xF0E0D0, 0), 0x102030);
  EXPECT_EQ(grid::BlendColorsFloat(0x102030, 0xF0E0D0, 1), 0xF0E0D0);
  EXPECT_EQ(grid::BlendColorsFloat(clBlack, clWhite, 0.5), 0x808080);  // 127.5 to even
  struct Byte {
    int a, b, alpha, result;
  };
  for (const Byte& c : {Byte{255, 0, 255, 255}, Byte{0, 255, 0, 255}, Byte{255, 255, 128, 255},
                        Byte{100, 200, 51, 180}, Byte{0, 0, 77, 0}}) {
    EXPECT_EQ(grid::BlendByte(c.a, c.b, c.alpha), c.result) << c.a << " " << c.b << " " << c.alpha;
  }
}

TEST(ThemeDraw, SchemeColours) {
  EXPECT_EQ(grid::GetSchemeColor(2, 0), 0xCF9365);
  EXPECT_EQ(grid::GetSchemeColor(2), 0xCF9365);
  EXPECT_EQ(grid::GetSchemeColor(1, 1), 0x0A0A0A);
  EXPECT_EQ(grid::GetSchemeColor(23, 6), 0x977778);
  EXPECT_EQ(grid::GetSchemeColor(16, 3), 0);
  EXPECT_EQ(grid::GetSchemeColor(24, 2), 0);  // outside the table: no colour, no stray read
  EXPECT_EQ(grid::GetSchemeColor(2, 7), 0);
  EXPECT_EQ(grid::GetSchemeColor(-1, -1), 0);
}

TEST(ThemeDraw, Geometry) {
  EXPECT_TRUE(grid::RectsIntersect({0, 0, 10, 10}, {10, 0, 20, 10}));  // a shared edge
  EXPECT_FALSE(grid::RectsIntersect({0, 0, 10, 10}, {11, 0, 20, 10}));
  EXPECT_FALSE(grid::RectsIntersect({0, 0, 10, 10}, {0, 11, 10, 20}));
  const RECT box{10, 20, 110, 70};
  struct Place {
    int horz, vert, x, y;
  };
  for (const Place& p : {Place{0, 0, 13, 23}, Place{1, 1, 87, 57}, Place{2, 2, 50, 40}}) {
    POINT at = grid::PlaceBox(20, 10, p.horz, p.vert, box, 3);
    EXPECT_EQ(at.x, p.x);
    EXPECT_EQ(at.y, p.y);
  }
  RECT r = grid::ResizeRect(box, 1, 2, -3, -4);
  EXPECT_EQ(r.left + r.top + r.right + r.bottom, 11 + 22 + 107 + 66);
  EXPECT_FALSE(grid::PointsDiffer({13, 7}, {10, 10}, 3));
  EXPECT_TRUE(grid::PointsDiffer({14, 10}, {10, 10}, 3));
  EXPECT_TRUE(grid::PointsDiffer({10, 6}, {10, 10}, 3));
}

TEST(ThemeDraw, WithoutTheThemeLibraryTheClassicLookIsDrawn) {
  grid::UnloadThemeLibrary();
  grid::LoadThemeLibrary(L"no-such-theme-library.dll");
  EXPECT_FALSE(grid::ThemesActive());
  Surface s;
  EXPECT_FALSE(grid::DrawThemePart(nullptr, s.canvas.Handle(), {0, 0, 40, 20}, 1, 1, L"header"));
  EXPECT_EQ(grid::ThemeFunctions().OpenThemeData, nullptr);
  grid::UnloadThemeLibrary();
  grid::LoadThemeLibrary();
  EXPECT_NE(grid::ThemeFunctions().OpenThemeData, nullptr);  // the system has one here
}

TEST(ThemeDraw, Gradients) {
  Surface one;
  grid::DrawGradient(one.canvas, {0, 5, 40, 6}, clRed, clBlue);
  EXPECT_EQ(one.canvas.Pixels(0, 5), clRed);
  EXPECT_EQ(one.canvas.Pixels(39, 5), clRed);
  EXPECT_EQ(one.canvas.Pixels(0, 6), clWhite);

  Surface four;
  grid::DrawGradient(four.canvas, {2, 0, 30, 4}, clBlack, 0x0000FF);
  const TColor rows[4] = {0x000000, 0x000040, 0x000080, 0x0000BF};
  for (int y = 0; y < 4; ++y) EXPECT_EQ(four.canvas.Pixels(10, y), rows[y]) << "row " << y;
  EXPECT_EQ(four.canvas.Pixels(1, 0), clWhite);
  EXPECT_EQ(four.canvas.Pixels(30, 0), clWhite);

  Surface none;
  grid::DrawGradient(none.canvas, {0, 5, 40, 5}, clRed, clBlue);
  EXPECT_EQ(none.canvas.Pixels(0, 5), clWhite);
}

TEST(ThemeDraw, ButtonFaceAndFocus) {
  for (bool dark : {false, true}) {
    Surface s;
    grid::DrawButtonFace(s.canvas, {0, 0, 10, 10}, dark);
    EXPECT_EQ(s.canvas.Pixels(5, 5), static_cast<TColor>(ColorToRGB(clBtnFace)));
    EXPECT_EQ(s.canvas.Pixels(0, 5), static_cast<TColor>(ColorToRGB(clBtnHighlight)));
    EXPECT_EQ(s.canvas.Pixels(5, 0), static_cast<TColor>(ColorToRGB(clBtnHighlight)));
    const TColor edge = static_cast<TColor>(ColorToRGB(dark ? clWindowFrame : clBtnShadow));
    EXPECT_EQ(s.canvas.Pixels(9, 5), edge);
    EXPECT_EQ(s.canvas.Pixels(5, 9), edge);
    EXPECT_EQ(s.canvas.Pixels(10, 10), clWhite);
  }
  Surface s;
  grid::DrawFocus(s.canvas, {2, 2, 12, 12}, true);
  EXPECT_EQ(s.canvas.Pixels(2, 7), static_cast<TColor>(ColorToRGB(clHighlight)));
  EXPECT_EQ(s.canvas.Pixels(7, 7), clWhite);
}

TEST(ThemeDraw, PicturesWithAlphaOverTheBackground) {
  TBitmap picture(3, 1, pf32bit);
  SetPixel32(picture, 0, clRed, 0);
  SetPixel32(picture, 1, clRed, 128);
  SetPixel32(picture, 2, clRed, 255);

  Surface straight;
  grid::DrawGraphic(straight.canvas, 5, 5, picture);
  EXPECT_EQ(straight.canvas.Pixels(5, 5), clWhite);
  EXPECT_EQ(straight.canvas.Pixels(6, 5), 0x7F7FFF);  // BlendByte per channel
  EXPECT_EQ(straight.canvas.Pixels(7, 5), clRed);

  Surface blended;
  grid::AlphaDrawBlend(blended.canvas, 5, 5, picture);
  EXPECT_EQ(blended.canvas.Pixels(5, 5), 0xFEFEFE);  // BlendColor keeps its shr 8
  EXPECT_EQ(blended.canvas.Pixels(6, 5), 0x7E7EFE);
  EXPECT_EQ(blended.canvas.Pixels(7, 5), 0x0000FE);

  TBitmap opaque(2, 2, pf24bit);
  opaque.Canvas().Brush().SetColor(clBlue);
  opaque.Canvas().FillRect({0, 0, 2, 2});
  Surface plain;
  grid::DrawGraphic(plain.canvas, 0, 0, opaque);
  EXPECT_EQ(plain.canvas.Pixels(1, 1), clBlue);
}

TEST(ThemeDraw, VerticalText) {
  Surface s(60, 80);
  s.canvas.Font().SetName("Tahoma");
  s.canvas.Font().SetSize(10);
  grid::DrawVerticalText(s.canvas, {0, 0, 60, 80}, L"Эфир", false);
  int left = 60, right = -1;
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 60; ++x)
      if (s.canvas.Pixels(x, y) != clWhite) left = std::min(left, x), right = std::max(right, x);
  ASSERT_GE(right, 0) << "nothing drawn";
  const int oneLine = right - left;

  Surface two(60, 80);
  two.canvas.Font().SetName("Tahoma");
  two.canvas.Font().SetSize(10);
  grid::DrawVerticalText(two.canvas, {0, 0, 60, 80}, L"Эфир\r\nРадио", true);
  int right2 = -1;
  for (int y = 0; y < 80; ++y)
    for (int x = 0; x < 60; ++x)
      if (two.canvas.Pixels(x, y) != clWhite) right2 = std::max(right2, x);
  EXPECT_GT(right2, right + oneLine / 2) << "the second line goes beside the first";
}
