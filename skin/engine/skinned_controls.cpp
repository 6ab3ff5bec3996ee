#include "skin/engine/skinned_controls.h"

TsBitBtn::TsBitBtn(TComponent* AOwner) : TBitBtn(AOwner) {
  glyph_.OnChange = [this] {
    if (HandleAllocated()) RecreateWnd();
  };
}

void TsBitBtn::CreateParams(TCreateParams& Params) {
  TBitBtn::CreateParams(Params);
  if (ShowsGlyph()) Params.Style |= BS_BITMAP;
}

void TsBitBtn::CreateWnd() {
  TBitBtn::CreateWnd();
  if (ShowsGlyph()) ShowGlyph();
}

void TsBitBtn::WndProc(TMessage& Message) {
  TBitBtn::WndProc(Message);
  if (Message.Msg == CM_ENABLEDCHANGED && HandleAllocated() && ShowsGlyph()) ShowGlyph();
}

void TsBitBtn::ShowGlyph() {
  const TGraphic& glyph = *glyph_.Graphic();
  // Drawn on a scratch bitmap: the system button selects the face into a DC of its own,
  // which a bitmap still held by a canvas would refuse.
  TBitmap scratch(glyph.Width(), glyph.Height(), pf24bit);
  TCanvas& canvas = scratch.Canvas();
  // The system greys a disabled picture by its non-white pixels: on white only the glyph
  // keeps its outline.
  canvas.Brush().SetColor(Enabled() ? Color() : clWhite);
  canvas.FillRect({0, 0, glyph.Width(), glyph.Height()});
  canvas.Draw(0, 0, glyph);
  face_.Assign(scratch);
  SendMessageW(Handle(), BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(face_.Handle()));
}
