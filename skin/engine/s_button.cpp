#include "skin/engine/s_button.h"

#include "skin/engine/fills.h"
#include "skin/engine/item_paint.h"

TsButton::TsButton(TComponent* AOwner) : TsSkinnedButton(AOwner, ckButton) {}

UINT TsButton::CaptionFormat() const { return DT_EXPANDTABS | DT_CENTER | (WordWrap() ? DT_WORDBREAK : 0); }

RECT TsButton::CaptionRect(int state) {
  const std::string caption = Caption();
  const int limit = caption.empty() ? 0 : Width() - 2;
  const UINT lines = WordWrap() ? DT_WORDBREAK : DT_SINGLELINE;
  const RECT text = MeasureTextOnDC(SkinData->CacheBitmap->Canvas().Handle(), caption, {0, 0, limit, 0},
                                    DT_EXPANDTABS | DT_CENTER | lines);
  const int dx = (Width() - (text.right - text.left)) / 2;
  const int dy = (Height() - (text.bottom - text.top)) / 2;
  RECT r{dx - 1, dy, Width() - dx + 2, Height() - dy};
  if (state == 2) OffsetRect(&r, 1, 1);
  return r;
}

void TsButton::PaintCaption(int state) {
  TCanvas& canvas = SkinData->CacheBitmap->Canvas();
  canvas.Brush().SetStyle(bsClear);
  const RECT r = CaptionRect(state);
  WriteSkinText(canvas, Caption(), Enabled(), r, CaptionFormat(), *SkinData, state != 0);
  PaintFocus(canvas, r);
}

void TsButton::PrepareCache() {
  CacheSourceInfo behind;
  TBitmap* cache = BeginCache(behind);
  const int state = CurrentState();
  RenderControlItem(*SkinData, behind, true, state, {0, 0, Width(), Height()}, {0, 0}, cache, false);
  CutRegion(state);
  PaintCaption(state);
  FinishCache();
}
