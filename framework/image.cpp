#include "framework/image.h"

#include "framework/canvas.h"

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 105, 105);
  picture_.OnChange = [this] { Invalidate(); };
}

void TImage::SetStretch(bool value) {
  if (value == stretch_) return;
  stretch_ = value;
  Invalidate();
}

void TImage::SetCenter(bool value) {
  if (value == center_) return;
  center_ = value;
  Invalidate();
}

void TImage::Paint() {
  TGraphic* graphic = picture_.Graphic();
  if (!graphic || graphic->Empty()) return;
  if (stretch_) {
    Canvas().StretchDraw(ClientRect(), *graphic);
    return;
  }
  int x = center_ ? (Width() - graphic->Width()) / 2 : 0;
  int y = center_ ? (Height() - graphic->Height()) / 2 : 0;
  Canvas().Draw(x, y, *graphic);
}
