#include "widgets/rb_splitter_face.h"

#include "widgets/rb_style_manager.h"

namespace {

void DrawFace(TBitmap& picture, const TRbSplitterFace& face, TColor from, TColor to, POINT middle) {
  picture.SetSize(face.width, face.height);
  picture.Canvas().Brush().SetColor(face.color);
  picture.Canvas().FillRect({0, 0, face.width, face.height});
  RECT band{0, 0, face.width, face.height};
  if (!face.fullLength) {
    if (face.horizontal) band = {middle.x - 40, 0, middle.x + 40, face.height};
    else band = {0, middle.y - 40, face.width, middle.y + 40};
  }
  efir::rb::GradientFill(picture, band, from, to, face.gradientType);
  if (face.grip) efir::rb::DrawGripDots(picture.Canvas(), middle.x, middle.y, face.horizontal);
}

void Pixel(TCanvas& canvas, int x, int y, TColor color) {
  canvas.Brush().SetColor(color);
  canvas.FillRect({x, y, x + 1, y + 1});
}

}  // namespace

namespace efir::rb {

void RedrawSplitter(TRbSplitterFace& face, const TRbSplitterColors& colors) {
  if (face.width <= 0 || face.height <= 0) return;
  const POINT middle = face.horizontal ? POINT{face.width / 2, (face.height - 3) / 2}
                                       : POINT{(face.width - 3) / 2, face.height / 2};
  DrawFace(face.normal, face, colors.DefaultFrom(), colors.DefaultTo(), middle);
  DrawFace(face.hot, face, colors.OverFrom(), colors.OverTo(), middle);
  if (face.control) face.control->Invalidate();
}

void DrawGripDots(TCanvas& canvas, int x, int y, bool across) {
  for (int offset = -40; offset <= 40; offset += 3) {
    if (across) DrawGripDot(canvas, x + offset, y);
    else DrawGripDot(canvas, x, y + offset);
  }
}

void DrawGripDot(TCanvas& canvas, int x, int y) {
  canvas.Brush().SetColor(0x808080);
  canvas.FillRect({x, y, x + 2, y + 2});
  canvas.Brush().SetColor(0xFFFFFF);
  canvas.FillRect({x + 1, y + 1, x + 3, y + 3});
  Pixel(canvas, x + 1, y + 2, 0xC0C0C0);
  Pixel(canvas, x + 1, y + 1, 0x808080);
  Pixel(canvas, x, y, 0xFFFFFF);
}

}  // namespace efir::rb
