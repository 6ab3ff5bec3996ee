// The canvas over a plain 32-bit DIB: what it draws is read back from the DIB's bytes.
#include "framework/canvas.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// A top-down 32-bit DIB selected into a memory DC, pixels readable as COLORREF.
class Surface {
 public:
  Surface(int width, int height) : width_(width), dc_(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    dib_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
    old_ = SelectObject(dc_, dib_);
  }
  ~Surface() {
    SelectObject(dc_, old_);
    DeleteObject(dib_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  COLORREF at(int x, int y) const {
    GdiFlush();
    const uint32_t p = bits_[y * width_ + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
  }
  int count(int x0, int y0, int x1, int y1, COLORREF color) const {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) n += at(x, y) == color;
    return n;
  }

 private:
  int width_;
  HDC dc_;
  HBITMAP dib_ = nullptr;
  HGDIOBJ old_ = nullptr;
  uint32_t* bits_ = nullptr;
};

TEST(GfxColor, ColorToRgbResolvesSystemColoursAndKeepsPlainOnes) {
  EXPECT_EQ(ColorToRGB(clRed), RGB(255, 0, 0));
  EXPECT_EQ(ColorToRGB(clLime), RGB(0, 255, 0));
  EXPECT_EQ(ColorToRGB(0x123456), 0x123456u);
  EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(ColorToRGB(clWindowText), GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(ColorToRGB(clHighlight), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(ColorToRGB(clNone), RGB(0, 0, 0));
}

TEST(GfxCanvas, FillFrameAndRectangleTouchExactlyTheirPixels) {
  Surface s(40, 30);
  TCanvas canvas(s.dc());
  canvas.Brush().SetColor(clWhite);
  canvas.FillRect({0, 0, 40, 30});
  canvas.Brush().SetColor(clRed);
  canvas.FillRect({2, 3, 12, 8});
  EXPECT_EQ(s.count(0, 0, 40, 30, RGB(255, 0, 0)), 10 * 5);
  EXPECT_EQ(s.at(2, 3), RGB(255, 0, 0));
  EXPECT_EQ(s.at(12, 8), RGB(255, 255, 255));

  canvas.Brush().SetColor(clBlue);
  canvas.FrameRect({20, 2, 30, 12});
  EXPECT_EQ(s.count(20, 2, 30, 12, RGB(0, 0, 255)), 10 * 4 - 4);
  EXPECT_EQ(s.at(25, 7), RGB(255, 255, 255));

  canvas.Pen().SetColor(clLime);
  canvas.Brush().SetColor(clYellow);
  canvas.Rectangle(2, 15, 10, 25);
  EXPECT_EQ(s.at(2, 15), RGB(0, 255, 0));
  EXPECT_EQ(s.at(9, 24), RGB(0, 255, 0));
  EXPECT_EQ(s.at(5, 20), RGB(255, 255, 0));

  canvas.Brush().SetStyle(bsClear);
  canvas.Rectangle(20, 15, 30, 25);
  EXPECT_EQ(s.at(20, 15), RGB(0, 255, 0));
  EXPECT_EQ(s.at(25, 20), RGB(255, 255, 255)) << "a clear brush leaves the inside alone";
}

TEST(GfxCanvas, LinesPolygonsAndPixels) {
  Surface s(20, 20);
  TCanvas canvas(s.dc());
  canvas.Brush().SetColor(clBlack);
  canvas.FillRect({0, 0, 20, 20});
  canvas.Pen().SetColor(clWhite);
  canvas.MoveTo(0, 5);
  canvas.LineTo(10, 5);
  EXPECT_EQ(s.count(0, 5, 20, 6, RGB(255, 255, 255)), 10);
  EXPECT_EQ(canvas.PenPos().x, 10);

  const POINT triangle[] = {{10, 10}, {19, 10}, {19, 19}};
  canvas.Brush().SetColor(clRed);
  canvas.Polygon(triangle);
  EXPECT_EQ(s.at(17, 12), RGB(255, 0, 0));
  EXPECT_EQ(s.at(11, 18), RGB(0, 0, 0));

  canvas.SetPixels(1, 1, clAqua);
  EXPECT_EQ(s.at(1, 1), RGB(0, 255, 255));
  EXPECT_EQ(canvas.Pixels(1, 1), static_cast<TColor>(RGB(0, 255, 255)));
  EXPECT_EQ(canvas.Pixels(500, 500), -1);

  canvas.Pen().SetMode(pmNot);
  canvas.MoveTo(0, 15);
  canvas.LineTo(4, 15);
  EXPECT_EQ(s.at(2, 15), RGB(255, 255, 255)) << "the inverting pen turns black into white";
}

TEST(GfxCanvas, TextIsDrawnInTheFontColourAndMeasured) {
  Surface s(200, 40);
  TCanvas canvas(s.dc());
  canvas.Brush().SetColor(clWhite);
  canvas.FillRect({0, 0, 200, 40});
  canvas.Font().SetColor(clRed);
  canvas.Font().SetSize(12);
  const std::string text = "Эфир радио";
  const SIZE extent = canvas.TextExtent(text);
  EXPECT_GT(extent.cx, 20);
  EXPECT_GT(extent.cy, 8);
  EXPECT_EQ(canvas.TextWidth(std::wstring(L"Эфир радио")), extent.cx);
  EXPECT_LT(canvas.TextWidth("Эф"), extent.cx);

  canvas.Brush().SetStyle(bsClear);
  canvas.TextOut(5, 5, text);
  const int red = s.count(0, 0, 200, 40, RGB(255, 0, 0));
  EXPECT_GT(red, 20);
  EXPECT_EQ(s.count(5, 5, 5 + extent.cx, 5 + extent.cy, RGB(255, 0, 0)), red)
      << "the text stays inside its measured extent";
  EXPECT_EQ(s.at(199, 39), RGB(255, 255, 255));

  canvas.Font().SetStyle(fsBold);
  EXPECT_GT(canvas.TextWidth(text), extent.cx) << "a changed font is selected again";
}

TEST(GfxCanvas, TextRectClipsAndLaysOut) {
  Surface s(100, 30);
  TCanvas canvas(s.dc());
  canvas.Brush().SetColor(clWhite);
  canvas.FillRect({0, 0, 100, 30});
  canvas.Font().SetColor(clBlue);
  canvas.Brush().SetColor(clYellow);
  canvas.TextRect(RECT{0, 0, 20, 30}, 2, 2, "WWWWWWWWWW");
  EXPECT_EQ(s.count(20, 0, 100, 30, RGB(0, 0, 255)), 0) << "clipped to the rectangle";
  EXPECT_GT(s.count(0, 0, 20, 30, RGB(0, 0, 255)), 0);
  EXPECT_EQ(s.at(19, 29), RGB(255, 255, 0)) << "a solid brush fills the whole rectangle";

  RECT need{0, 0, 0, 0};
  canvas.TextRect(need, "WWW", DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(need.right, canvas.TextWidth("WWW"));

  canvas.Brush().SetStyle(bsClear);
  RECT right{40, 0, 100, 30};
  canvas.TextRect(right, "W", DT_RIGHT | DT_SINGLELINE);
  EXPECT_GT(s.count(90, 0, 100, 30, RGB(0, 0, 255)), 0);
  EXPECT_EQ(s.count(40, 0, 80, 30, RGB(0, 0, 255)), 0);
}

TEST(GfxCanvas, UnbindingGivesTheDcItsOwnObjectsBack) {
  Surface s(10, 10);
  const HGDIOBJ font = GetCurrentObject(s.dc(), OBJ_FONT);
  const HGDIOBJ brush = GetCurrentObject(s.dc(), OBJ_BRUSH);
  const HGDIOBJ pen = GetCurrentObject(s.dc(), OBJ_PEN);
  TCanvas canvas;
  {
    efir::CanvasBinding bound(canvas, s.dc());
    ASSERT_EQ(canvas.Handle(), s.dc());
    EXPECT_NE(GetCurrentObject(s.dc(), OBJ_FONT), font);
    // Changes while selected swap the handles in the DC, never leaving a deleted one there.
    for (int i = 0; i < 3; ++i) {
      canvas.Font().SetHeight(-10 - i);
      canvas.Brush().SetColor(RGB(i, 0, 0));
      canvas.Pen().SetWidth(i + 1);
      canvas.Handle();
      EXPECT_EQ(GetCurrentObject(s.dc(), OBJ_FONT), canvas.Font().Handle());
      EXPECT_EQ(GetCurrentObject(s.dc(), OBJ_BRUSH), canvas.Brush().Handle());
    }
  }
  EXPECT_FALSE(canvas.HandleAllocated());
  EXPECT_EQ(GetCurrentObject(s.dc(), OBJ_FONT), font);
  EXPECT_EQ(GetCurrentObject(s.dc(), OBJ_BRUSH), brush);
  EXPECT_EQ(GetCurrentObject(s.dc(), OBJ_PEN), pen);
}

TEST(GfxGraphicsObjects, ChangesAreAnnouncedOnceAndNoOpsNotAtAll) {
  TFont font;
  int changes = 0;
  font.OnChange = [&] { ++changes; };
  font.SetColor(font.Color());
  font.SetName(font.Name());
  EXPECT_EQ(changes, 0);
  font.SetStyle(fsBold | fsItalic);
  font.SetSize(14);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(font.Size(), 14);
  EXPECT_LT(font.Height(), 0);

  TFont other;
  other.Assign(font);
  EXPECT_EQ(other.Style(), fsBold | fsItalic);
  EXPECT_EQ(other.Height(), font.Height());
  font.Assign(other);
  EXPECT_EQ(changes, 2);

  LOGFONTW lf{};
  GetObjectW(font.Handle(), sizeof(lf), &lf);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_TRUE(lf.lfItalic);
  EXPECT_EQ(lf.lfHeight, font.Height());

  TBrush brush;
  brush.SetStyle(bsClear);
  brush.SetColor(brush.Color());
  EXPECT_EQ(brush.Style(), bsSolid) << "giving a clear brush a colour makes it solid";
}

}  // namespace
