#include "skin/engine/s_bit_btn.h"

#include "skin/engine/background_queries.h"
#include "skin/engine/common_wndproc.h"
#include "skin/engine/engine_routines.h"
#include "skin/engine/fills.h"
#include "skin/engine/item_paint.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_painters.h"

TsBitBtn::TsBitBtn(TComponent* AOwner)
    : TBitBtn(AOwner), SkinData(std::make_unique<TsCommonData>(this, true)) {
  SkinData->ControlKind = ckBitBtn;
  SkinData->ApplySkinColors();
  glyph_.OnChange = [this] {
    if (HandleAllocated()) RecreateWnd();
  };
}

TsBitBtn::~TsBitBtn() = default;

bool TsBitBtn::Skinned() const { return SkinActiveFor(SkinData.get(), true); }

void TsBitBtn::Changed() {
  SkinData->BackgroundChanged = true;
  Invalidate();
}

void TsBitBtn::SetDown(bool value) {
  if (value == down_) return;
  down_ = value;
  Changed();
}

void TsBitBtn::SetDisabledKind(TsDisabledKind value) {
  if (value == disabledKind_) return;
  disabledKind_ = value;
  SkinData->InvalidateOwner();
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
  RECT r{0, 0, Width(), 0};
  DrawTextA(canvas.Handle(), caption.c_str(), static_cast<int>(caption.size()), &r, format | DT_CALCRECT);
  const int textHeight = r.bottom - r.top;
  r = {0, (Height() - textHeight) / 2, Width(), (Height() - textHeight) / 2 + textHeight};
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
  SkinData->SizeCacheBitmap();
  TBitmap* cache = SkinData->CacheBitmap.get();
  cache->Canvas().Font().Assign(Font());
  CacheSourceInfo behind;
  QueryCacheBackground(this, cache, behind);
  const int state = CurrentState();
  RenderControlItem(*SkinData, behind, true, state, {0, 0, Width(), Height()}, {0, 0}, cache, false);
  PaintCaption(state);
  PaintGlyph(state);
  if (!Enabled()) {
    CacheSourceInfo parent;
    SkinData->ParentCacheInfo(parent);
    ApplyDisabledLook(cache, disabledKind_, this, parent, {Left(), Top()});
  }
  SkinData->BackgroundChanged = false;
}

void TsBitBtn::PaintSkinned(HDC given) {
  PAINTSTRUCT ps{};
  HDC dc = given ? given : BeginPaint(Handle(), &ps);
  if (SkinData->IsUpdating()) {
    SkinData->SetUpdating(true);
  } else {
    PrepareCache();
    RestoreCorners(*SkinData, 0);
    BitBlt(dc, 0, 0, Width(), Height(), SkinData->CacheBitmap->Canvas().Handle(), 0, 0, SRCCOPY);
  }
  if (!given) EndPaint(Handle(), &ps);
}

bool TsBitBtn::SkinCommand(TMessage& Message) {
  switch (SkinSubCommand(Message.WParam)) {
    case SKC_ISSKINNED:
      Message.Result = Skinned() ? 1 : 0;
      return true;
    case SKC_PREPARECACHE:
      if (Skinned()) PrepareCache();
      return false;
    case SKC_PARENTUPDATED:
      if (Skinned() && SkinData->Updating) {
        SkinData->SetUpdating(false);
        Changed();
      }
      return true;
    case SKC_REMOVESKIN:
    case SKC_NEWSKIN:
    case SKC_REFRESH:
      SkinControlWndProc(Message, SkinData.get());
      SkinData->BackgroundChanged = true;
      if (HandleAllocated()) Repaint();
      return true;
    default:
      return false;
  }
}

bool TsBitBtn::SkinnedMessage(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT:
      PaintSkinned(reinterpret_cast<HDC>(Message.WParam));
      return true;
    case WM_PRINT:
    case WM_PRINTCLIENT:
      SkinData->SetUpdating(false);
      PaintSkinned(reinterpret_cast<HDC>(Message.WParam));
      return true;
    case WM_ERASEBKGND:
      Message.Result = 1;
      return true;
    case WM_ENABLE:
    case WM_NCPAINT:
    case WM_UPDATEUISTATE:
      return true;
    // The system button draws its own face when these change; the skin paints over it.
    case BM_SETSTATE:
    case BM_SETSTYLE:
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      TBitBtn::WndProc(Message);
      Changed();
      return true;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      SkinData->MouseOver = Message.Msg == CM_MOUSEENTER;
      Changed();
      return false;
    default:
      return false;
  }
}

void TsBitBtn::WndProc(TMessage& Message) {
  if (Message.Msg == SM_ALPHACMD && SkinCommand(Message)) return;
  if (Skinned() && SkinnedMessage(Message)) return;
  if (SkinControlWndProc(Message, SkinData.get())) return;
  TBitBtn::WndProc(Message);
  if (Message.Msg == CM_ENABLEDCHANGED && HandleAllocated() && ShowsGlyph()) ShowSystemGlyph();
}
