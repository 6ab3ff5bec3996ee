#include "skin/engine/s_bit_btn.h"

#include "skin/engine/background_queries.h"
#include "skin/engine/common_wndproc.h"
#include "skin/engine/engine_routines.h"
#include "skin/engine/fills.h"
#include "skin/engine/item_paint.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_painters.h"

TsBitBtn::TsBitBtn(TComponent* AOwner) : TsSkinnedControl(AOwner, ckBitBtn) {
  glyph_.OnChange = [this] {
    if (HandleAllocated()) RecreateWnd();
  };
}

void TsBitBtn::SetDown(bool value) {
  if (value == down_) return;
  down_ = value;
  Changed();
}

void TsBitBtn::CreateParams(TCreateParams& Params) {
  TBitBtn::CreateParams(Params);
  if (ShowsGlyph()) Params.Style |= BS_BITMAP;
}

void TsBitBtn::CreateWnd() {
  TBitBtn::CreateWnd();
  if (ShowsGlyph()) ShowSystemGlyph();
}

void TsBitBtn::ShowSystemGlyph() {
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

int TsBitBtn::CurrentState() {
  const bool pushed = HandleAllocated() && (SendMessageW(Handle(), BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
  if (down_ || pushed) return 2;
  const bool isDefault = HandleAllocated() && (GetWindowLongW(Handle(), GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
  return isDefault || SkinData->HotState() ? 1 : 0;
}

void TsBitBtn::PaintCaption(int state) {
  const std::string caption = Caption();
  if (caption.empty()) return;
  TCanvas& canvas = SkinData->CacheBitmap->Canvas();
  const UINT format = DT_CENTER | DT_WORDBREAK | DT_EXPANDTABS;
  const RECT measured = MeasureTextOnDC(canvas.Handle(), caption, {0, 0, Width(), 0}, format);
  const int textHeight = measured.bottom - measured.top;
  RECT r = {0, (Height() - textHeight) / 2, Width(), (Height() - textHeight) / 2 + textHeight};
  if (state == 2) OffsetRect(&r, 1, 1);
  WriteSkinText(canvas, caption, Enabled(), r, format, *SkinData, state != 0);
}

void TsBitBtn::PaintGlyph(int state) {
  if (!ShowsGlyph()) return;
  const TGraphic& glyph = *glyph_.Graphic();
  const int pressed = state == 2 ? 1 : 0;
  SkinData->CacheBitmap->Canvas().Draw((Width() - glyph.Width()) / 2 + pressed,
                                       (Height() - glyph.Height()) / 2 + pressed, glyph);
}

void TsBitBtn::PrepareCache() {
  CacheSourceInfo behind;
  TBitmap* cache = BeginCache(behind);
  const int state = CurrentState();
  RenderControlItem(*SkinData, behind, true, state, {0, 0, Width(), Height()}, {0, 0}, cache, false);
  PaintCaption(state);
  PaintGlyph(state);
  FinishCache();
}

bool TsBitBtn::SkinnedMessage(TMessage& Message) {
  switch (Message.Msg) {
    // The system button draws its own face when these change; the skin paints over it.
    case BM_SETSTATE:
    case BM_SETSTYLE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      if (Message.Msg == WM_KILLFOCUS) StopFading();
      TBitBtn::WndProc(Message);
      Changed();
      return true;
    default:
      return TsSkinnedControl::SkinnedMessage(Message);
  }
}

void TsBitBtn::WndProc(TMessage& Message) {
  TsSkinnedControl::WndProc(Message);
  if (Message.Msg == CM_ENABLEDCHANGED && !Skinned() && HandleAllocated() && ShowsGlyph()) ShowSystemGlyph();
}
