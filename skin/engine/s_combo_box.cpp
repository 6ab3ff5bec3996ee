#include "skin/engine/s_combo_box.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "framework/application.h"
#include "framework/text_encoding.h"
#include "skin/engine/engine_routines.h"
#include "skin/engine/fills.h"
#include "skin/engine/glow.h"
#include "skin/engine/item_paint.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_painters.h"
#include "skin/engine/textures.h"

namespace {

constexpr UINT_PTR kChildHookId = 0x5C0B;
// The frame round the edit that the skin keeps painting while the system draws the edit.
constexpr int kFrameWidth = 3;
// The arrow's height when the skin has no arrow picture.
constexpr int kDefaultArrowHeight = 16;

TsComboListAdapterFactory& ListAdapterFactory() {
  static TsComboListAdapterFactory factory;
  return factory;
}

// Keys that would change a read-only box: space, Page, End, Home, the arrows, the 9 key and
// the letters, and F4, which opens the list.
bool ChangingKey(WPARAM key) {
  return (key >= VK_SPACE && key <= VK_DOWN) || key == '9' || (key >= 'A' && key <= 'Z') || key == VK_F4;
}

UINT AlignmentFlags(TAlignment alignment) {
  switch (alignment) {
    case taRightJustify:
      return DT_RIGHT;
    case taCenter:
      return DT_CENTER;
    default:
      return DT_LEFT;
  }
}

}  // namespace

void SetComboListAdapterFactory(TsComboListAdapterFactory factory) { ListAdapterFactory() = std::move(factory); }

TsComboBox::TsComboBox(TComponent* AOwner)
    : TsSkinnedControl(AOwner, ckEdit), BoundLabel(std::make_unique<TsBoundLabel>(*SkinData)) {
  SkinData->SetSkinSection("COMBOBOX");
  SkinData->ApplySkinColors();
  SetDropDownCount(16);
}

TsComboBox::~TsComboBox() {
  // The children outlive this object by a moment: they must not call back into it.
  UnhookChildren();
  ReleaseListAdapter();
}

void TsComboBox::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  SkinData->InvalidateOwner();
}

void TsComboBox::CreateWnd() {
  TComboBox::CreateWnd();
  HookChildren();
  if (Skinned()) TakeSectionColours();
}

void TsComboBox::DestroyWnd() {
  UnhookChildren();
  ReleaseListAdapter();
  TComboBox::DestroyWnd();
}

void TsComboBox::HookChildren() {
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (!GetComboBoxInfo(Handle(), &info)) return;
  edit_ = info.hwndItem != Handle() ? info.hwndItem : nullptr;
  list_ = info.hwndList;
  for (HWND child : {edit_, list_})
    if (child) SetWindowSubclass(child, ChildProc, kChildHookId, reinterpret_cast<DWORD_PTR>(this));
}

void TsComboBox::UnhookChildren() {
  for (HWND child : {edit_, list_})
    if (child && IsWindow(child)) RemoveWindowSubclass(child, ChildProc, kChildHookId);
  edit_ = list_ = nullptr;
}

void TsComboBox::ReleaseListAdapter() {
  if (!listAdapter_) return;
  listAdapter_.reset();
  // The adapter gave the list a sizing frame; the system list has a plain border.
  if (list_ && IsWindow(list_)) {
    const LONG_PTR style = GetWindowLongPtrW(list_, GWL_STYLE);
    SetWindowLongPtrW(list_, GWL_STYLE, (style & ~static_cast<LONG_PTR>(WS_THICKFRAME)) | WS_BORDER);
  }
}

bool TsComboBox::FocusInside() {
  if (!HandleAllocated()) return false;
  const HWND focus = GetFocus();
  return focus && (focus == Handle() || focus == edit_ || focus == list_);
}

bool TsComboBox::EditShowsItself() {
  return edit_ && Style() == csDropDown && SkinData->HasFocus && Enabled() && !readOnly_;
}

RECT TsComboBox::ButtonRect() {
  const int width = GetSystemMetrics(SM_CXVSCROLL);
  const int left = Width() - width - 3;
  return {left, 2, left + width, Height() - 2};
}

int TsComboBox::ButtonState() { return listShown_ ? 2 : SkinData->HotState() ? 1 : 0; }

void TsComboBox::PaintButton(TBitmap* cache) {
  TsSkinManager* manager = SkinData->SkinManager();
  const TsFixedIndexes& fixed = manager->FixedIndexes;
  const RECT button = ButtonRect();
  if (button.right <= button.left || button.bottom <= button.top) return;
  const int state = ButtonState();
  CacheSourceInfo self;
  MakeCacheSourceInfo(cache, 0, 0, self);
  if (SectionIndexValid(manager, fixed.IdxComboBtn))
    RenderSectionItem(fixed.IdxComboBtn, "COMBOBTN", self, true, state, button, {0, 0}, cache, manager,
                      fixed.TexComboBtn, fixed.HotTexComboBtn);
  if (!MaskIndexValid(manager, fixed.GlyphComboBox)) return;
  const TsMaskData& arrow = manager->Masks[static_cast<size_t>(fixed.GlyphComboBox)];
  const int arrowHeight = MaskStateHeight(arrow) > 0 ? MaskStateHeight(arrow) : kDefaultArrowHeight;
  const POINT at{button.left + (button.right - button.left - MaskStateWidth(arrow)) / 2, (Height() - arrowHeight) / 2};
  PaintMaskFrame(cache, at, state, 1, arrow, self);
}

void TsComboBox::PaintText(TBitmap* cache) {
  const std::string text = Text();
  const RECT button = ButtonRect();
  RECT r{3, 3, button.left - 1, Height() - 3};
  if (Style() == csDropDown) --r.bottom;
  else OffsetRect(&r, 1, 0);
  if (r.right <= r.left || r.bottom <= r.top) return;
  TCanvas& canvas = cache->Canvas();
  canvas.Font().Assign(Font());
  // A focused list box shows its choice selected, as the system's does.
  const bool selected = Style() == csDropDownList && SkinData->HasFocus && Enabled() && !listShown_;
  HDC dc = canvas.Handle();
  if (selected) {
    FillRectSolid(dc, r, clHighlight);
    SetTextColor(dc, ColorToRGB(clHighlightText));
  } else {
    SetTextColor(dc, ColorToRGB(Font().Color()));
  }
  SetBkMode(dc, TRANSPARENT);
  if (!text.empty())
    DrawTextOnDC(dc, text, r, DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER | AlignmentFlags(alignment_));
  if (selected) DrawFocusRect(dc, &r);
}

void TsComboBox::PrepareCache() {
  CacheSourceInfo behind;
  TBitmap* cache = BeginCache(behind);
  RenderControlItem(*SkinData, behind, true, CurrentState(), {0, 0, Width(), Height()}, {0, 0}, cache, false);
  PaintButton(cache);
  PaintText(cache);
  FinishCache();
}

void TsComboBox::PaintToDC(HDC given) {
  PAINTSTRUCT ps{};
  HDC dc = given ? given : BeginPaint(Handle(), &ps);
  if (SkinData->IsUpdating()) {
    SkinData->SetUpdating(true);
  } else {
    PrepareCache();
    RestoreCorners(*SkinData, CurrentState());
    HDC image = SkinData->CacheBitmap->Canvas().Handle();
    if (EditShowsItself()) {
      // The system draws the edit inside the skin's frame and button.
      CopyBorderFrame(dc, 0, 0, Width(), Height(), image, 0, 0, kFrameWidth);
      const RECT b = ButtonRect();
      BitBlt(dc, b.left, b.top, b.right - b.left, b.bottom - b.top, image, b.left, b.top, SRCCOPY);
    } else {
      BitBlt(dc, 0, 0, Width(), Height(), image, 0, 0, SRCCOPY);
    }
  }
  if (!given) EndPaint(Handle(), &ps);
}

void TsComboBox::PaintEditFromCache(HWND edit) {
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(edit, &ps);
  if (!SkinData->IsUpdating()) {
    if (SkinData->BackgroundChanged || !SkinData->CacheBitmap || SkinData->CacheBitmap->Width() != Width())
      PrepareCache();
    RECT r;
    GetWindowRect(edit, &r);
    MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&r), 2);
    BitBlt(dc, 0, 0, r.right - r.left, r.bottom - r.top, SkinData->CacheBitmap->Canvas().Handle(), r.left, r.top,
           SRCCOPY);
  }
  EndPaint(edit, &ps);
}

void TsComboBox::LookChanged() {
  Changed();
  // The edit is a window of its own over the image.
  if (edit_) InvalidateRect(edit_, nullptr, FALSE);
}

void TsComboBox::TakeSectionColours() {
  const TsGeneralData* section = SkinData->Section();
  if (!section) return;
  if (!SkinData->CustomColor()) SetColor(section->Color);
  if (!SkinData->CustomFont()) Font().SetColor(section->FontColor[0]);
}

void TsComboBox::FocusMoved(HWND newFocus) {
  const bool inside = newFocus && HandleAllocated() && (newFocus == Handle() || newFocus == edit_ || newFocus == list_);
  if (inside == SkinData->HasFocus) return;
  SkinData->HasFocus = inside;
  if (!inside) SkinData->MouseOver = false;
  if (!Skinned()) return;
  LookChanged();
}

void TsComboBox::MouseEntered(bool entering) {
  if (!Enabled()) return;
  if (entering && SkinData->MouseOver) return;
  if (!entering) {
    // Into the edit, or back from it: still over the box.
    POINT cursor;
    RECT box;
    GetCursorPos(&cursor);
    GetWindowRect(Handle(), &box);
    if (PtInRect(&box, cursor)) return;
  }
  SkinData->MouseOver = entering;
  LookChanged();
  if (entering) SkinData->UpdateGlow(false, nullptr);
  else SkinData->ReleaseOwnGlow();
}

bool TsComboBox::ReadOnlyDrops(const TMessage& Message) {
  if (!readOnly_) return false;
  switch (Message.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_SYSCHAR:
    case CN_BASE + WM_KEYDOWN:
    case CN_BASE + WM_SYSKEYDOWN:
    case CN_BASE + WM_SYSCHAR:
      return ChangingKey(Message.WParam);
    case WM_CHAR:
    case CN_BASE + WM_CHAR:
    // The wheel walks through the items of a focused box.
    case WM_MOUSEWHEEL:
      return true;
    case CN_COMMAND:
      return HIWORD(Message.WParam) == CBN_DROPDOWN;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // Only the focus: the list stays closed.
      if (CanFocus() && !FocusInside()) SetFocus();
      if (Message.Msg == WM_LBUTTONDBLCLK) DblClick();
      return true;
    default:
      return false;
  }
}

void TsComboBox::WndProc(TMessage& Message) {
  if (ReadOnlyDrops(Message)) return;
  TsSkinnedControl::WndProc(Message);
  switch (Message.Msg) {
    case WM_SETFOCUS:
      FocusMoved(GetFocus());
      break;
    case WM_KILLFOCUS:
      FocusMoved(reinterpret_cast<HWND>(Message.WParam));
      break;
    case CB_SETCURSEL:
    case WM_SETTEXT:
    case CM_TEXTCHANGED:
    case CM_SYNCITEMS:
      if (Skinned()) LookChanged();
      break;
  }
  BoundLabel->FollowControl(Message, (DisabledKind() & dkBlended) != 0);
}

bool TsComboBox::SkinCommand(TMessage& Message) {
  const WORD subCommand = SkinSubCommand(Message.WParam);
  if (subCommand == SKC_NEWSKIN && listAdapter_ &&
      Message.LParam == reinterpret_cast<LPARAM>(SkinData->SkinManager()))
    listAdapter_->SkinCommand(Message);
  // The popup border routine asks whether the open list is this box's.
  if (subCommand == SKC_SETBORDERDRAWN) {
    Message.Result = HandleAllocated() && SendMessageW(Handle(), CB_GETDROPPEDSTATE, 0, 0) ? 1 : 0;
    return true;
  }
  return TsSkinnedControl::SkinCommand(Message);
}

void TsComboBox::SkinChanged(WORD subCommand) {
  if (subCommand == SKC_REMOVESKIN) {
    ReleaseListAdapter();
    listShown_ = false;
    if (!SkinData->CustomColor()) SetColor(clWindow);
    if (!SkinData->CustomFont()) Font().SetColor(clWindowText);
    // The system draws the box, its edit and its button again.
    if (HandleAllocated()) RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return;
  }
  TakeSectionColours();
  if (edit_) InvalidateRect(edit_, nullptr, FALSE);
}

bool TsComboBox::SkinnedMessage(TMessage& Message) {
  switch (Message.Msg) {
    case WM_PAINT:
      PaintToDC(reinterpret_cast<HDC>(Message.WParam));
      return true;
    case WM_PRINT:
    case WM_PRINTCLIENT:
      SkinData->SetUpdating(false);
      PaintToDC(reinterpret_cast<HDC>(Message.WParam));
      return true;
    case WM_ERASEBKGND:
      Message.Result = 1;
      return true;
    case WM_NCPAINT:
      return true;
    case WM_SETFONT:
    case CM_VISIBLECHANGED:
    case CM_ENABLEDCHANGED:
    case CM_COLORCHANGED:
    case CM_FONTCHANGED:
      TComboBox::WndProc(Message);
      LookChanged();
      return true;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX: {
      // The edit and the open list in the section's colours.
      const HWND child = reinterpret_cast<HWND>(Message.LParam);
      if (Message.Msg == WM_CTLCOLORLISTBOX && child && !listAdapter_ && ListAdapterFactory() &&
          SendMessageW(Handle(), CB_GETCOUNT, 0, 0) > DropDownCount())
        listAdapter_ = ListAdapterFactory()({child, SkinData->SkinManager(), "EDIT", false});
      Message.Result = Perform(CN_BASE + Message.Msg, Message.WParam, Message.LParam);
      return true;
    }
    case CN_COMMAND:
      switch (HIWORD(Message.WParam)) {
        case CBN_DROPDOWN:
          listShown_ = true;
          LookChanged();
          break;
        case CBN_CLOSEUP:
          listShown_ = false;
          LookChanged();
          break;
      }
      return false;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      if (!listShown_) MouseEntered(Message.Msg == CM_MOUSEENTER);
      return false;
    default:
      return TsSkinnedControl::SkinnedMessage(Message);
  }
}

LRESULT CALLBACK TsComboBox::ChildProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR self) {
  LRESULT result = 0;
  efir::Guarded([&] { result = reinterpret_cast<TsComboBox*>(self)->ChildMessage(wnd, msg, wParam, lParam); });
  return result;
}

LRESULT TsComboBox::ChildMessage(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (readOnly_) {
    switch (msg) {
      case WM_KEYDOWN:
      case WM_KEYUP:
      case WM_CHAR:
      case WM_SYSKEYUP:
      case WM_CUT:
      case WM_PASTE:
      case WM_CLEAR:
      case WM_UNDO:
      case WM_MOUSEWHEEL:
        return 0;
    }
  }
  if (wnd == edit_ && Skinned() && !EditShowsItself()) {
    switch (msg) {
      case WM_PAINT:
        PaintEditFromCache(wnd);
        return 0;
      case WM_ERASEBKGND:
      case WM_NCPAINT:
        return 1;
    }
  }
  const LRESULT result = DefSubclassProc(wnd, msg, wParam, lParam);
  switch (msg) {
    case WM_SETFOCUS:
      FocusMoved(wnd);
      break;
    case WM_KILLFOCUS:
      FocusMoved(reinterpret_cast<HWND>(wParam));
      break;
    case WM_MOUSEMOVE:
      if (wnd == edit_ && Skinned()) {
        // Also when the box is hot already (entered by its frame): leaving by the edit must
        // still be heard.
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, wnd, 0};
        TrackMouseEvent(&track);
        if (!SkinData->MouseOver) MouseEntered(true);
      }
      break;
    case WM_MOUSELEAVE:
      if (wnd == edit_ && Skinned() && !listShown_) MouseEntered(false);
      break;
  }
  return result;
}
