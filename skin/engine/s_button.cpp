#include "skin/engine/s_button.h"

#include "skin/engine/fills.h"
#include "skin/engine/item_paint.h"
#include "skin/engine/textures.h"

namespace {

constexpr LONG kButtonTypeMask = 0x0F;

}  // namespace

TsButton::TsButton(TComponent* AOwner) : TsSkinnedControl(AOwner, ckButton) {}

void TsButton::SetDown(bool value) {
  if (value == down_) return;
  down_ = value;
  Changed();
}

void TsButton::SetShowFocus(bool value) {
  if (value == showFocus_) return;
  showFocus_ = value;
  Changed();
}

void TsButton::SetWordWrap(bool value) {
  if (value == wordWrap_) return;
  wordWrap_ = value;
  Changed();
}

void TsButton::CreateParams(TCreateParams& Params) {
  TButton::CreateParams(Params);
  if (Skinned()) Params.Style = (Params.Style & ~kButtonTypeMask) | BS_OWNERDRAW;
}

void TsButton::UpdateButtonType() {
  // Skinned, the message is turned into owner drawing on its way (SkinnedMessage).
  if (HandleAllocated()) SendMessageW(Handle(), BM_SETSTYLE, Default() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

int TsButton::CurrentState() {
  const bool pushed = HandleAllocated() && (SendMessageW(Handle(), BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
  if (down_ || pushed) return 2;
  return Default() || SkinData->HotState() ? 1 : 0;
}

UINT TsButton::CaptionFormat() const { return DT_EXPANDTABS | DT_CENTER | (wordWrap_ ? DT_WORDBREAK : 0); }

RECT TsButton::CaptionRect(int state) {
  const std::string caption = Caption();
  const int limit = caption.empty() ? 0 : Width() - 2;
  const UINT lines = wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE;
  const RECT text = MeasureTextOnDC(SkinData->CacheBitmap->Canvas().Handle(), caption, {0, 0, limit, 0},
                                    DT_EXPANDTABS | DT_CENTER | lines);
  const int dx = (Width() - (text.right - text.left)) / 2;
  const int dy = (Height() - (text.bottom - text.top)) / 2;
  RECT r{dx - 1, dy, Width() - dx + 2, Height() - dy};
  if (state == 2) OffsetRect(&r, 1, 1);
  return r;
}

void TsButton::PaintCaption(int state) {
  const std::string caption = Caption();
  TCanvas& canvas = SkinData->CacheBitmap->Canvas();
  canvas.Brush().SetStyle(bsClear);
  RECT r = CaptionRect(state);
  WriteSkinText(canvas, caption, Enabled(), r, CaptionFormat(), *SkinData, state != 0);
  const TsGeneralData* section = SkinData->Section();
  if (Enabled() && Focused() && !caption.empty() && section && section->ShowFocus && showFocus_) {
    InflateRect(&r, focusMargin_, focusMargin_);
    DrawDottedFocusRect(canvas, r);
  }
}

void TsButton::PrepareCache() {
  CacheSourceInfo behind;
  TBitmap* cache = BeginCache(behind);
  const int state = CurrentState();
  RenderControlItem(*SkinData, behind, true, state, {0, 0, Width(), Height()}, {0, 0}, cache, false);
  PaintCaption(state);
  FinishCache();
}

void TsButton::SkinChanged(WORD) { UpdateButtonType(); }

bool TsButton::SkinnedMessage(TMessage& Message) {
  switch (Message.Msg) {
    case BM_SETSTYLE:
      Message.WParam = (Message.WParam & ~static_cast<WPARAM>(kButtonTypeMask)) | BS_OWNERDRAW;
      TButton::WndProc(Message);
      Changed();
      return true;
    // The system button goes down and up by the mouse and the space key through this.
    case BM_SETSTATE:
      TButton::WndProc(Message);
      RepaintFaded(Message.WParam ? aeMouseDown : aeMouseUp, true);
      return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      Changed();
      return false;
    default:
      return TsSkinnedControl::SkinnedMessage(Message);
  }
}
