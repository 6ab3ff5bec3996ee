#include "grid/edit_info.h"

#include "framework/bitmap.h"
#include "framework/convert.h"
#include "grid/inplace_edit.h"
#include "grid/theme_draw.h"

TNxEditInfo::TNxEditInfo(TNxCustomEdit* AEditor) : TCustomControl(AEditor), FEditor(AEditor) {
  SetVisible(false);
}

void TNxEditInfo::Paint() {
  TCanvas& canvas = Canvas();
  canvas.Brush().SetColor(FEditor->Color());
  canvas.FillRect(ClientRect());
  const TBitmap& glyph = FEditor->Glyph();
  if (!glyph.Empty()) {
    const int top = efir::Round((ClientHeight() - glyph.Height()) / 2.0);
    if (glyph.PixelFormat() == pf32bit) grid::AlphaDrawBlend(canvas, 0, top, glyph);
    else canvas.Draw(0, top, glyph);
  }
  if (!FEditor->ShowPreview()) return;
  RECT preview{glyph.Empty() ? 0 : glyph.Width() + 2, 0, 0, ClientHeight()};
  preview.right = preview.left + 20;
  if (FEditor->PreviewBorder()) {
    canvas.Brush().SetColor(0x808080);
    canvas.FrameRect(preview);
    InflateRect(&preview, -1, -1);
  }
  FEditor->DoPreviewDraw(canvas, preview);
}

void TNxEditInfo::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  FEditor->InfoMouseDown(Button, Shift, X, Y);
  if (X < FEditor->Glyph().Width() && FEditor->OnGlyphClick) FEditor->OnGlyphClick(FEditor);
}
