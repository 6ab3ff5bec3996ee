#include "skin/engine/s_check_box.h"

#include <algorithm>

#include "skin/engine/background_queries.h"
#include "skin/engine/common_wndproc.h"
#include "skin/engine/engine_routines.h"
#include "skin/engine/fills.h"
#include "skin/engine/item_paint.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_painters.h"
#include "skin/engine/textures.h"

namespace {

constexpr RECT kNoGlyphRect{0, 0, 16, 16};

TShiftState NoShift() { return 0; }

// The client point of a mouse message; the coordinates are signed 16-bit values.
int MouseX(LPARAM lParam) { return static_cast<int16_t>(LOWORD(static_cast<DWORD>(lParam))); }
int MouseY(LPARAM lParam) { return static_cast<int16_t>(HIWORD(static_cast<DWORD>(lParam))); }

}  // namespace

TsCheckBox::TsCheckBox(TComponent* AOwner)
    : TCheckBox(AOwner), SkinData(std::make_unique<TsCommonData>(this, true)) {
  SkinData->ControlKind = ckCheckBox;
  SkinData->ApplySkinColors();
}

TsCheckBox::~TsCheckBox() = default;

bool TsCheckBox::Skinned() const { return SkinActiveFor(SkinData.get(), true); }

// A read-only box never looks hot: it would promise a change the user cannot make.
bool TsCheckBox::Hot() { return !readOnly_ && SkinData->HotState(); }

void TsCheckBox::Changed() {
  SkinData->BackgroundChanged = true;
  Invalidate();
}

void TsCheckBox::SetChecked(bool value) {
  if (value == Checked()) return;
  TCheckBox::SetChecked(value);
  Changed();
}

void TsCheckBox::Toggle() { SetChecked(!Checked()); }

void TsCheckBox::SetMargin(int value) {
  if (value == margin_) return;
  margin_ = value;
  Changed();
}

void TsCheckBox::SetTextIndent(int value) {
  if (value == textIndent_) return;
  textIndent_ = value;
  Changed();
}

void TsCheckBox::SetShowFocus(bool value) {
  if (value == showFocus_) return;
  showFocus_ = value;
  Changed();
}

void TsCheckBox::SetWordWrap(bool value) {
  if (value == wordWrap_) return;
  wordWrap_ = value;
  Changed();
}

void TsCheckBox::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  Changed();
}

void TsCheckBox::SetDisabledKind(TsDisabledKind value) {
  if (value == disabledKind_) return;
  disabledKind_ = value;
  SkinData->InvalidateOwner();
}

int TsCheckBox::SkinGlyphIndex(const char* name) {
  TsSkinManager* manager = SkinData->SkinManager();
  if (!manager) return -1;
  const int global = manager->FixedIndexes.IdxGlobalInfo;
  return MaskIndexByName(manager, global, "GLOBALINFO", name);
}

RECT TsCheckBox::GlyphRect() {
  TsSkinManager* manager = SkinData->SkinManager();
  const int index = SkinGlyphIndex("BOXCHECKED");
  if (!MaskIndexValid(manager, index)) return kNoGlyphRect;
  const TsMaskData& mask = manager->Masks[static_cast<size_t>(index)];
  const int w = MaskStateWidth(mask), h = MaskStateHeight(mask);
  const int x = GlyphOnLeft() ? margin_ : Width() - w - margin_;
  const int y = (Height() - h) / 2;
  return {x, y, x + w, y + h};
}

void TsCheckBox::PaintGlyph() {
  TsSkinManager* manager = SkinData->SkinManager();
  const int index = SkinGlyphIndex(Checked() ? "BOXCHECKED" : "BOXUNCHECKED");
  if (!MaskIndexValid(manager, index)) return;
  const RECT r = GlyphRect();
  const int state = isDown_ ? 2 : Hot() ? 1 : 0;
  CacheSourceInfo behind;
  MakeCacheSourceInfo(SkinData->CacheBitmap.get(), 0, 0, behind);
  PaintMaskFrame(SkinData->CacheBitmap.get(), {r.left, r.top}, state, 1, manager->Masks[static_cast<size_t>(index)],
                 behind);
}

void TsCheckBox::PaintCaption() {
  const std::string caption = Caption();
  if (caption.empty()) return;
  TCanvas& canvas = SkinData->CacheBitmap->Canvas();
  const RECT glyph = GlyphRect();
  const int glyphWidth = glyph.right - glyph.left;
  const int a = Width() - glyphWidth - textIndent_ - 2 * margin_ - 2;
  RECT r{0, 0, a, 0};
  const UINT lines = wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE;
  DrawTextA(canvas.Handle(), caption.c_str(), static_cast<int>(caption.size()), &r, lines | DT_CALCRECT);
  const int textHeight = r.bottom - r.top, textWidth = r.right - r.left;
  r.top = std::max((Height() - textHeight) / 2, margin_);
  r.bottom = r.top + textHeight;
  if (GlyphOnLeft()) {
    r.left = Width() - a - margin_ + 2;
    r.right = r.left + textWidth;
  } else {
    r.left = margin_;
    r.right = a + margin_;
  }
  OffsetRect(&r, wordWrap_ ? -1 : 0, -1);
  WriteSkinText(canvas, caption, Enabled(), r, wordWrap_ ? DT_WORDBREAK | DT_CENTER : DT_SINGLELINE, *SkinData, Hot());
  if (showFocus_ && Focused()) {
    if (!wordWrap_) --r.bottom;
    ++r.top;
    InflateRect(&r, 1, 1);
    DrawDottedFocusRect(canvas, r);
  }
}

void TsCheckBox::PrepareCache() {
  SkinData->SizeCacheBitmap();
  TBitmap* cache = SkinData->CacheBitmap.get();
  cache->Canvas().Font().Assign(Font());
  CacheSourceInfo behind;
  QueryCacheBackground(this, cache, behind);
  RenderControlItem(*SkinData, behind, true, Hot() ? 1 : 0, {0, 0, Width(), Height()}, {0, 0}, cache, false);
  PaintCaption();
  PaintGlyph();
  if (!Enabled()) {
    CacheSourceInfo parent;
    SkinData->ParentCacheInfo(parent);
    ApplyDisabledLook(cache, disabledKind_, this, parent, {Left(), Top()});
  }
  SkinData->BackgroundChanged = false;
}

void TsCheckBox::PaintSkinned(HDC given) {
  PAINTSTRUCT ps{};
  HDC dc = given ? given : BeginPaint(Handle(), &ps);
  const int saved = SaveDC(dc);
  if (SkinData->IsUpdating()) {
    SkinData->SetUpdating(true);
  } else {
    PrepareCache();
    RestoreCorners(*SkinData, 0);
    BitBlt(dc, 0, 0, Width(), Height(), SkinData->CacheBitmap->Canvas().Handle(), 0, 0, SRCCOPY);
  }
  RestoreDC(dc, saved);
  if (!given) EndPaint(Handle(), &ps);
}

bool TsCheckBox::SkinCommand(TMessage& Message) {
  switch (SkinSubCommand(Message.WParam)) {
    case SKC_ISSKINNED:
      Message.Result = Skinned() ? 1 : 0;
      return true;
    case SKC_PREPARECACHE:
      if (Skinned()) PrepareCache();
      return false;
    case SKC_PARENTUPDATED:
      // A box that waited for its parent paints now.
      if (Skinned() && SkinData->Updating) {
        SkinData->SetUpdating(false);
        SkinData->BackgroundChanged = true;
        Invalidate();
      }
      return true;
    case SKC_REMOVESKIN:
      SkinControlWndProc(Message, SkinData.get());
      // The window kept its old check state while the skin painted it.
      if (HandleAllocated()) {
        SendMessageW(Handle(), BM_SETCHECK, Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
      }
      isDown_ = false;
      Repaint();
      return true;
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

bool TsCheckBox::SkinnedMessage(TMessage& Message) {
  const bool enabled = Enabled();
  switch (Message.Msg) {
    case WM_PAINT:
      PaintSkinned(reinterpret_cast<HDC>(Message.WParam));
      return true;
    case WM_PRINT:
      SkinData->SetUpdating(false);
      PaintSkinned(reinterpret_cast<HDC>(Message.WParam));
      return true;
    case WM_ERASEBKGND:
      Message.Result = 1;
      return true;
    case WM_ENABLE:
    case WM_NCPAINT:
    case BM_SETCHECK:
    case BM_SETSTATE:
    case WM_UPDATEUISTATE:
      return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (!enabled) return true;
      if (!readOnly_) {
        isDown_ = true;
        SkinData->BackgroundChanged = true;
        if (CanFocus() && !Focused()) SetFocus();
        Invalidate();
      }
      if (Message.Msg == WM_LBUTTONDBLCLK) DblClick();
      else MouseDown(mbLeft, NoShift(), MouseX(Message.LParam), MouseY(Message.LParam));
      return true;
    case WM_LBUTTONUP:
      if (!enabled) return true;
      if (!readOnly_ && isDown_) {
        isDown_ = false;
        Toggle();
      }
      MouseUp(mbLeft, NoShift(), MouseX(Message.LParam), MouseY(Message.LParam));
      return true;
    case WM_KEYDOWN:
      if (Message.WParam != VK_SPACE) return false;
      if (!readOnly_) {
        isDown_ = true;
        Changed();
      }
      return false;
    case WM_KEYUP:
      if (!readOnly_ && isDown_) {
        isDown_ = false;
        Toggle();
      }
      return Message.WParam == VK_SPACE ? (TWinControl::WndProc(Message), true) : false;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (Message.Msg == WM_KILLFOCUS) SkinData->MouseOver = false;
      TCheckBox::WndProc(Message);
      Changed();
      return true;
    case CM_MOUSEENTER:
      if (enabled && !SkinData->MouseOver) {
        SkinData->MouseOver = true;
        Changed();
      }
      return false;
    case CM_MOUSELEAVE:
      if (enabled) {
        SkinData->MouseOver = false;
        isDown_ = false;
        Changed();
      }
      return false;
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      TCheckBox::WndProc(Message);
      Changed();
      return true;
    default:
      return false;
  }
}

// The system box drops the user's toggles of a read-only box; code still reaches it.
bool TsCheckBox::UnskinnedMessage(TMessage& Message) {
  if (!readOnly_) return false;
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
      return true;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
      return Message.WParam == VK_SPACE || Message.WParam == ' ';
    default:
      return false;
  }
}

void TsCheckBox::WndProc(TMessage& Message) {
  if (Message.Msg == SM_ALPHACMD && SkinCommand(Message)) return;
  if (Skinned()) {
    if (SkinnedMessage(Message)) return;
  } else if (UnskinnedMessage(Message)) {
    return;
  }
  if (SkinControlWndProc(Message, SkinData.get())) return;
  TCheckBox::WndProc(Message);
}
