#include "skin/engine/s_edit.h"

#include "framework/gdi.h"
#include "framework/text_encoding.h"
#include "skin/engine/fills.h"
#include "skin/engine/item_paint.h"
#include "skin/engine/s_label.h"

namespace {

// Single line, no prefix characters, broken at words.
constexpr UINT kTextFormat = DT_SINGLELINE | DT_NOPREFIX | DT_WORDBREAK;

WPARAM WideChar(char c) {
  const std::wstring wide = efir::text::fromAnsi(std::string(1, c));
  return wide.empty() ? 0 : wide[0];
}

}  // namespace

TsEdit::TsEdit(TComponent* AOwner)
    : TsSkinnedControl(AOwner, ckEdit), BoundLabel(std::make_unique<TsBoundLabel>(*SkinData)) {}

TsEdit::~TsEdit() = default;

void TsEdit::SetPasswordChar(char value) {
  if (value == passwordChar_) return;
  passwordChar_ = value;
  if (HandleAllocated()) SendMessageW(Handle(), EM_SETPASSWORDCHAR, value ? WideChar(value) : 0, 0);
  SkinData->InvalidateOwner();
}

void TsEdit::CreateParams(TCreateParams& Params) {
  TEdit::CreateParams(Params);
  if (passwordChar_) Params.Style |= ES_PASSWORD;
}

void TsEdit::CreateWnd() {
  TEdit::CreateWnd();
  if (passwordChar_) SendMessageW(Handle(), EM_SETPASSWORDCHAR, WideChar(passwordChar_), 0);
}

void TsEdit::PaintText() {
  std::string text = Text();
  if (passwordChar_) text.assign(text.size(), passwordChar_);
  TCanvas& canvas = SkinData->CacheBitmap->Canvas();
  canvas.Font().Assign(Font());
  const int a = BorderWidth();
  WriteSkinText(canvas, text, Enabled(), {a + 1, a + 1, Width() - a, Height() - a}, kTextFormat, *SkinData,
                SkinData->HotState());
}

void TsEdit::PrepareCache() {
  CacheSourceInfo behind;
  TBitmap* cache = BeginCache(behind);
  RenderControlItem(*SkinData, behind, true, SkinData->HotState() ? 1 : 0, {0, 0, Width(), Height()}, {0, 0}, cache,
                    false);
  PaintText();
  FinishCache();
}

int TsEdit::BorderWidth() {
  if (!HandleAllocated()) return 2;  // the framework's edit is made with the sunken edge
  if (GetWindowLongPtrW(Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE) return 2;
  return (GetWindowLongPtrW(Handle(), GWL_STYLE) & WS_BORDER) ? 1 : 0;
}

// The frame round the client area, from the image.
void TsEdit::PaintBorder() {
  if (SkinData->IsUpdating()) {
    SkinData->SetUpdating(true);
    return;
  }
  if (SkinData->BackgroundChanged) PrepareCache();
  RestoreCorners(*SkinData, SkinData->HotState() ? 1 : 0);
  HWND wnd = Handle();
  HDC dc = GetWindowDC(wnd);
  const int saved = SaveDC(dc);
  CopyBorderFrame(dc, 0, 0, Width(), Height(), SkinData->CacheBitmap->Canvas().Handle(), 0, 0, BorderWidth());
  RestoreDC(dc, saved);
  ReleaseDC(wnd, dc);
}

// The skin's whole picture, frame and all; over an enabled edit's client area the system
// prints what it shows there (the text as typed, the selection), as on the screen. A disabled
// edit shows the skin's picture alone, so it is printed so.
void TsEdit::Print(HDC dc) {
  if (!dc) return;
  SkinData->SetUpdating(false);
  PaintSkinned(dc);
  if (!Enabled()) return;
  const int b = BorderWidth();
  efir::gdi::SavedState saved(dc);
  OffsetViewportOrgEx(dc, b, b, nullptr);
  IntersectClipRect(dc, 0, 0, Width() - 2 * b, Height() - 2 * b);
  TMessage client{WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT, 0};
  TEdit::WndProc(client);
}

void TsEdit::TakeStateColours() {
  const TsGeneralData* s = SkinData->Section();
  if (!s) return;
  const bool hot = SkinData->HotState();
  const TColor color = hot ? s->HotColor : s->Color;
  const TColor ink = hot ? s->HotFontColor[0] : s->FontColor[0];
  if (!SkinData->CustomColor() && Color() != color) SetColor(color);
  if (!SkinData->CustomFont() && Font().Color() != ink) Font().SetColor(ink);
}

bool TsEdit::SkinCommand(TMessage& Message) {
  switch (SkinSubCommand(Message.WParam)) {
    case SKC_ISBGVARYING:
      Message.Result = 0;
      return true;
    case SKC_REFRESH:
      TsSkinnedControl::SkinCommand(Message);
      if (HandleAllocated() && !SkinChangeAnimating)
        RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
      return true;
    case SKC_PARENTUPDATED: {
      // The frame waited for the parent as well as the client area did.
      const bool waited = Skinned() && SkinData->Updating;
      TsSkinnedControl::SkinCommand(Message);
      if (waited && HandleAllocated()) SendMessageW(Handle(), WM_NCPAINT, 1, 0);
      return true;
    }
    default:
      return TsSkinnedControl::SkinCommand(Message);
  }
}

bool TsEdit::SkinnedMessage(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT:
      if (SkinData->IsUpdating() || PaintHeldForAnimation(reinterpret_cast<HDC>(Message.WParam))) {
        SkinData->SetUpdating(true);
        PAINTSTRUCT ps;
        BeginPaint(Handle(), &ps);
        EndPaint(Handle(), &ps);
        return true;
      }
      TakeStateColours();
      if (Enabled()) return false;  // the system draws the text in those colours
      // The client area shows the image inside the frame.
      PaintSkinned(reinterpret_cast<HDC>(Message.WParam), {BorderWidth(), BorderWidth()});
      return true;
    case WM_ERASEBKGND:
    case CN_DRAWITEM:
      if (SkinChangeAnimating && reinterpret_cast<HDC>(Message.WParam) != AnimationTargetDC) return true;
      if (Enabled()) return false;
      Message.Result = 1;
      return true;
    case WM_NCPAINT:
      if (!SkinChangeAnimating) PaintBorder();
      return true;
    case WM_PRINT:
      Print(reinterpret_cast<HDC>(Message.WParam));
      return true;
    case CM_COLORCHANGED:
      if (SkinData->CustomColor()) SkinData->BackgroundChanged = true;
      return false;
    case WM_PRINTCLIENT:
    case WM_ENABLE:
    case WM_UPDATEUISTATE:
      return TsSkinnedControl::SkinnedMessage(Message);
    default:
      // Hover and focus redraw the frame through the common procedure.
      return false;
  }
}

void TsEdit::WndProc(TMessage& Message) {
  const bool skinned = Skinned();
  TsSkinnedControl::WndProc(Message);
  if (skinned && HandleAllocated()) {
    switch (Message.Msg) {
      case WM_SIZE:
        SendMessageW(Handle(), WM_NCPAINT, 1, 0);
        break;
      case WM_SETTEXT:
      case WM_SETFONT:
      case CM_VISIBLECHANGED:
      case CM_ENABLEDCHANGED:
      case CM_TEXTCHANGED:
        if ((ComponentState() & csLoading) || SkinChangeAnimating) break;
        SkinData->InvalidateOwner();
        SendMessageW(Handle(), WM_NCPAINT, 1, 0);
        break;
    }
  }
  BoundLabel->FollowControl(Message, (DisabledKind() & dkBlended) != 0);
}
