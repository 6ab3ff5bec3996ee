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

TsCheckBox::TsCheckBox(TComponent* AOwner) : TsSkinnedControl(AOwner, ckCheckBox) {}

int TsCheckBox::CurrentState() { return isDown_ ? 2 : Hot() ? 1 : 0; }

void TsCheckBox::SetChecked(bool value) {
  if (value == Checked()) return;
  TCheckBox::SetChecked(value);
  Changed();
}

void TsCheckBox::Toggle() {
  TCheckBox::SetChecked(!Checked());
  RepaintFaded(aeMouseUp, true);
}

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
  const int state = CurrentState();
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
  const UINT lines = wordWrap_ ? DT_WORDBREAK : DT_SINGLELINE;
  RECT r = MeasureTextOnDC(canvas.Handle(), caption, {0, 0, a, 0}, lines);
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
  CacheSourceInfo behind;
  TBitmap* cache = BeginCache(behind);
  RenderControlItem(*SkinData, behind, true, Hot() ? 1 : 0, {0, 0, Width(), Height()}, {0, 0}, cache, false);
  PaintCaption();
  PaintGlyph();
  FinishCache();
}

void TsCheckBox::SkinChanged(WORD subCommand) {
  if (subCommand != SKC_REMOVESKIN) return;
  // The window kept its old check state while the skin painted it.
  if (HandleAllocated()) SendMessageW(Handle(), BM_SETCHECK, Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
  isDown_ = false;
}

bool TsCheckBox::SkinnedMessage(TMessage& Message) {
  const bool enabled = Enabled();
  switch (Message.Msg) {
    case BM_SETCHECK:
      StopFading();
      return true;
    case BM_SETSTATE:
      return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (!enabled) return true;
      if (!readOnly_) {
        isDown_ = true;
        if (CanFocus() && !Focused()) SetFocus();
        RepaintFaded(aeMouseDown, true);
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
      if (Message.Msg == WM_KILLFOCUS) {
        StopFading();
        SkinData->MouseOver = false;
      }
      TCheckBox::WndProc(Message);
      Changed();
      return true;
    case CM_MOUSELEAVE:
      if (enabled) isDown_ = false;
      return TsSkinnedControl::SkinnedMessage(Message);
    case CM_ENABLEDCHANGED:
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      TCheckBox::WndProc(Message);
      Changed();
      return true;
    default:
      return TsSkinnedControl::SkinnedMessage(Message);
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
