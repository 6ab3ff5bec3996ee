#include "skin/engine/s_check_box.h"

#include <algorithm>

#include "skin/engine/alpha_blend.h"
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

void TsCheckBox::SetState(TCheckBoxState value) {
  if (value == State()) return;
  TCheckBox::SetState(value);
  Changed();
}

void TsCheckBox::Toggle() {
  TCheckBox::Toggle();
  if (Skinned()) RepaintFaded(aeMouseUp, true);
}

void TsCheckBox::Loaded() {
  TsSkinnedControl::Loaded();
  AdjustSize();
}

void TsCheckBox::SetAutoSize(bool value) {
  if (value == autoSize_) return;
  autoSize_ = value;
  AdjustSize();
}

void TsCheckBox::GlyphsChanged() {
  AdjustSize();
  SkinData->InvalidateOwner();
}

void TsCheckBox::SetImages(TsAlphaImageList* value) {
  if (value == images_) return;
  if (images_) images_->RemoveFreeNotification(this);
  images_ = value;
  if (images_) images_->FreeNotification(this);
  GlyphsChanged();
}

void TsCheckBox::Notification(TComponent* component, TOperation operation) {
  TCheckBox::Notification(component, operation);
  if (operation == opRemove && component == images_) {
    images_ = nullptr;
    SkinData->InvalidateOwner();
  }
}

void TsCheckBox::SetImgChecked(int value) {
  if (value == imgChecked_) return;
  imgChecked_ = value;
  AdjustSize();
  if (Checked()) Invalidate();
}

void TsCheckBox::SetImgUnchecked(int value) {
  if (value == imgUnchecked_) return;
  imgUnchecked_ = value;
  AdjustSize();
  if (!Checked()) Invalidate();
}

TsCheckBox::GlyphMode TsCheckBox::Mode() const {
  if (images_ && imgChecked_ >= 0 && imgUnchecked_ >= 0) return GlyphMode::ImageList;
  if (glyphChecked_.Width() > 0) return GlyphMode::Custom;
  return GlyphMode::Skin;
}

SIZE TsCheckBox::GlyphSize() {
  switch (Mode()) {
    case GlyphMode::ImageList:
      return {images_->Width() / 3, images_->Height() / 2};
    case GlyphMode::Custom:
      return {glyphChecked_.Width() / 3, glyphChecked_.Height() / 2};
    case GlyphMode::Skin:
      break;
  }
  TsSkinManager* manager = SkinData->SkinManager();
  const int index = SkinGlyphIndex("BOXCHECKED");
  if (!MaskIndexValid(manager, index)) return {0, 0};
  const TsMaskData& mask = manager->Masks[static_cast<size_t>(index)];
  return {MaskStateWidth(mask), MaskStateHeight(mask)};
}

void TsCheckBox::AdjustSize() {
  if (!autoSize_ || (ComponentState() & csLoading) || !Parent()) return;
  const std::string caption = Caption();
  SIZE extent{0, 0};
  if (!caption.empty()) {
    TBitmap measure(1, 1);
    measure.Canvas().Font().Assign(Font());
    extent = measure.Canvas().TextExtent(caption);
  }
  const int textWidth = static_cast<int>(extent.cx), textHeight = static_cast<int>(extent.cy);
  if (!Skinned()) {
    SetBounds(Left(), Top(), textWidth + 20, std::max(textHeight + 4, 20));
    return;
  }
  const RECT glyph = GlyphRect();
  const int gw = glyph.right - glyph.left, gh = glyph.bottom - glyph.top;
  const int width = gw + 2 * margin_ + (caption.empty() ? 0 : textWidth + textIndent_ + 8);
  const int height = std::max(gh, (caption.empty() ? 0 : textHeight) + 2 * margin_) + 2;
  SetBounds(Left(), Top(), width, height);
}

void TsCheckBox::SetMargin(int value) {
  if (value == margin_) return;
  margin_ = value;
  AdjustSize();
  Changed();
}

void TsCheckBox::SetTextIndent(int value) {
  if (value == textIndent_) return;
  textIndent_ = value;
  AdjustSize();
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
  const SIZE size = GlyphSize();
  if (Mode() == GlyphMode::Skin && size.cx == 0 && size.cy == 0) return kNoGlyphRect;
  const int x = GlyphOnLeft() ? margin_ : Width() - size.cx - margin_;
  const int y = (Height() - size.cy) / 2;
  return {x, y, x + size.cx, y + size.cy};
}

RECT TsCheckBox::GlyphFrameRect(SIZE frame) {
  const int k = isDown_ ? 2 : Hot() ? 1 : 0;
  return {k * frame.cx, 0, (k + 1) * frame.cx, frame.cy};
}

void TsCheckBox::PaintGlyph() {
  const RECT at = GlyphRect();
  if (at.right <= at.left || at.bottom <= at.top) return;
  switch (Mode()) {
    case GlyphMode::ImageList:
      return PaintImageListGlyph(at);
    case GlyphMode::Custom:
      return PaintCustomGlyph(at);
    case GlyphMode::Skin:
      return PaintSkinGlyph(at);
  }
}

// The entry whole, so that the hot and pressed frames beside the first one are there too.
void TsCheckBox::PaintImageListGlyph(const RECT& at) {
  TBitmap entry;
  if (!images_->GetBitmap32(Checked() ? imgChecked_ : imgUnchecked_, &entry)) return;
  const RECT frame = GlyphFrameRect({at.right - at.left, at.bottom - at.top});
  if (frame.right > entry.Width() || frame.bottom > entry.Height()) return;
  CopyMaskCellTransparent(at, frame, SkinData->CacheBitmap.get(), &entry, EmptyCacheSourceInfo, false);
}

void TsCheckBox::PaintCustomGlyph(const RECT& at) {
  const TBitmap& source = Checked() ? glyphChecked_ : glyphUnChecked_;
  if (source.Width() <= 0) return;
  TBitmap glyph;
  glyph.Assign(source);
  glyph.SetPixelFormat(pf24bit);
  const RECT frame = GlyphFrameRect({at.right - at.left, at.bottom - at.top});
  // An unchecked glyph smaller than the checked one has no such frame.
  if (frame.right > glyph.Width() || frame.bottom * 2 > glyph.Height()) return;
  CopyMaskCellTransparent(at, frame, SkinData->CacheBitmap.get(), &glyph, EmptyCacheSourceInfo, false);
}

void TsCheckBox::PaintSkinGlyph(const RECT& at) {
  TsSkinManager* manager = SkinData->SkinManager();
  const char* name = State() == cbChecked ? "BOXCHECKED" : State() == cbGrayed ? "BOXGRAYED" : "BOXUNCHECKED";
  const int index = SkinGlyphIndex(name);
  if (!MaskIndexValid(manager, index)) return;
  CacheSourceInfo behind;
  MakeCacheSourceInfo(SkinData->CacheBitmap.get(), 0, 0, behind);
  PaintMaskFrame(SkinData->CacheBitmap.get(), {at.left, at.top}, CurrentState(), 1,
                 manager->Masks[static_cast<size_t>(index)], behind);
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
  if (subCommand == SKC_REMOVESKIN) {
    // The window kept its old check state while the skin painted it.
    if (HandleAllocated()) {
      const TCheckBoxState state = State();
      SendMessageW(Handle(), BM_SETCHECK,
                   state == cbChecked ? BST_CHECKED : state == cbGrayed ? BST_INDETERMINATE : BST_UNCHECKED, 0);
      // The system draws the box again, in the system's theme.
      SetWindowThemeBound(Handle(), nullptr, nullptr);
    }
    isDown_ = false;
  }
  AdjustSize();
}

bool TsCheckBox::SkinnedMessage(TMessage& Message) {
  const bool enabled = Enabled();
  switch (Message.Msg) {
    case BM_SETCHECK:
      StopFading();
      return true;
    case BM_SETSTATE:
      return true;
    // A read-only box is a display: the mouse neither changes it nor raises its events.
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (!enabled || readOnly_) return true;
      isDown_ = true;
      if (CanFocus() && !Focused()) SetFocus();
      RepaintFaded(aeMouseDown, true);
      if (Message.Msg == WM_LBUTTONDBLCLK) DblClick();
      else MouseDown(mbLeft, NoShift(), MouseX(Message.LParam), MouseY(Message.LParam));
      return true;
    case WM_LBUTTONUP:
      if (!enabled || readOnly_) return true;
      if (isDown_) {
        isDown_ = false;
        Toggle();
      }
      MouseUp(mbLeft, NoShift(), MouseX(Message.LParam), MouseY(Message.LParam));
      return true;
    // Visual styles would draw the system's box under ours.
    case WM_UPDATEUISTATE:
      SetWindowThemeBound(Handle(), L" ", L" ");
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
      TCheckBox::WndProc(Message);
      Changed();
      return true;
    default:
      return TsSkinnedControl::SkinnedMessage(Message);
  }
}

// The system box drops the user's toggles of a read-only box; code still reaches it.
void TsCheckBox::WndProc(TMessage& Message) {
  TsSkinnedControl::WndProc(Message);
  if (Message.Msg == CM_TEXTCHANGED || Message.Msg == CM_FONTCHANGED) {
    AdjustSize();
    if (Skinned()) Changed();
  }
}

// Without a skin the system box toggles itself: it clicks on the way up only when it was
// pushed on the way down, so a read-only box refuses the push while the user holds it. The
// user's mouse events still come, bar the double click.
bool TsCheckBox::UnskinnedMessage(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDOWN:
      isDown_ = true;
      return false;
    case WM_KEYDOWN:
      if (Message.WParam == VK_SPACE) isDown_ = true;
      return false;
    case WM_LBUTTONUP:
    case WM_KEYUP:
      TCheckBox::WndProc(Message);
      isDown_ = false;
      return true;
    case WM_LBUTTONDBLCLK:
      return readOnly_;
    case BM_SETCHECK:
    case BM_SETSTATE:
      return readOnly_ && isDown_;
    default:
      return false;
  }
}
