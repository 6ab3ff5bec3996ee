#include "framework/tool_bar.h"

#include "framework/menus.h"
#include "framework/text_encoding.h"

namespace {

TCustomDrawStage StageOf(DWORD drawStage) {
  switch (drawStage & ~CDDS_ITEM) {
    case CDDS_POSTPAINT: return cdPostPaint;
    case CDDS_PREERASE: return cdPreErase;
    case CDDS_POSTERASE: return cdPostErase;
    default: return cdPrePaint;
  }
}

BYTE SystemStyle(TToolButtonStyle style) {
  switch (style) {
    case tbsCheck: return BTNS_CHECK;
    case tbsDropDown: return BTNS_DROPDOWN;
    case tbsSeparator:
    case tbsDivider: return BTNS_SEP;
    default: return BTNS_BUTTON;
  }
}

}  // namespace

// ---------------------------------------------------------------------------- TToolButton

TToolButton::TToolButton(TToolBar* bar, int index, const std::string& caption, int imageIndex, TToolButtonStyle style)
    : bar_(bar), index_(index), caption_(caption), imageIndex_(imageIndex), style_(style) {}

bool TToolButton::HasState(BYTE flag) const {
  if (!bar_->HandleAllocated()) return state_ & flag;
  const LRESULT state = SendMessageW(bar_->Handle(), TB_GETSTATE, static_cast<WPARAM>(CommandId()), 0);
  return state != -1 && (state & flag);
}

void TToolButton::SetState(BYTE flag, bool on) {
  state_ = static_cast<BYTE>(on ? state_ | flag : state_ & ~flag);
  if (!bar_->HandleAllocated()) return;
  LRESULT state = SendMessageW(bar_->Handle(), TB_GETSTATE, static_cast<WPARAM>(CommandId()), 0);
  if (state == -1) return;
  state = on ? state | flag : state & ~flag;
  SendMessageW(bar_->Handle(), TB_SETSTATE, static_cast<WPARAM>(CommandId()), MAKELPARAM(state, 0));
}

bool TToolButton::Down() const { return HasState(TBSTATE_CHECKED) || HasState(TBSTATE_PRESSED); }
void TToolButton::SetDown(bool value) { SetState(style_ == tbsCheck ? TBSTATE_CHECKED : TBSTATE_PRESSED, value); }
bool TToolButton::Marked() const { return HasState(TBSTATE_MARKED); }
void TToolButton::SetMarked(bool value) { SetState(TBSTATE_MARKED, value); }
bool TToolButton::Enabled() const { return HasState(TBSTATE_ENABLED); }
void TToolButton::SetEnabled(bool value) { SetState(TBSTATE_ENABLED, value); }

// ---------------------------------------------------------------------------- TToolBar

TToolBar::TToolBar(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 150, 29);
  SetAlign(alTop);
}

TToolBar::~TToolBar() = default;

void TToolBar::CreateParams(TCreateParams& Params) {
  efir::InitCommonControlClasses();
  TWinControl::CreateParams(Params);
  Params.SystemClass = TOOLBARCLASSNAMEW;
  Params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | WS_CLIPCHILDREN;
  if (flat_) Params.Style |= TBSTYLE_FLAT | TBSTYLE_TRANSPARENT;
  if (list_) Params.Style |= TBSTYLE_LIST;
}

void TToolBar::CreateWnd() {
  TWinControl::CreateWnd();
  HWND wnd = Handle();
  SendMessageW(wnd, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  SendMessageW(wnd, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
  SendMessageW(wnd, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_));
  SendMessageW(wnd, TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(hotImages_));
  for (const auto& button : buttons_) AddButtonToWindow(*button);
  SendMessageW(wnd, TB_SETBUTTONSIZE, 0, MAKELPARAM(buttonWidth_, buttonHeight_));
  RefreshFrame();
}

void TToolBar::AddButtonToWindow(const TToolButton& button) {
  std::wstring caption = efir::text::fromAnsi(button.caption_);
  TBBUTTON item{};
  item.iBitmap = button.imageIndex_ >= 0 ? button.imageIndex_ : I_IMAGENONE;
  item.idCommand = button.CommandId();
  item.fsState = button.state_;
  item.fsStyle = SystemStyle(button.style_);
  item.dwData = reinterpret_cast<DWORD_PTR>(&button);
  item.iString = showCaptions_ && !caption.empty() ? reinterpret_cast<INT_PTR>(caption.c_str()) : -1;
  SendMessageW(Handle(), TB_ADDBUTTONSW, 1, reinterpret_cast<LPARAM>(&item));
}

TToolButton* TToolBar::AddButton(const std::string& caption, int imageIndex, TToolButtonStyle style) {
  buttons_.push_back(std::make_unique<TToolButton>(this, ButtonCount(), caption, imageIndex, style));
  if (HandleAllocated()) {
    AddButtonToWindow(*buttons_.back());
    SendMessageW(Handle(), TB_SETBUTTONSIZE, 0, MAKELPARAM(buttonWidth_, buttonHeight_));
  }
  return buttons_.back().get();
}

void TToolBar::RebuildButtons() {
  if (HandleAllocated()) RecreateWnd();
}

void TToolBar::SetImages(HIMAGELIST images) {
  images_ = images;
  if (HandleAllocated()) SendMessageW(Handle(), TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
  Invalidate();
}

void TToolBar::SetHotImages(HIMAGELIST images) {
  hotImages_ = images;
  if (HandleAllocated()) SendMessageW(Handle(), TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(images));
}

void TToolBar::SetShowCaptions(bool value) {
  showCaptions_ = value;
  RebuildButtons();
}

void TToolBar::SetList(bool value) {
  list_ = value;
  RebuildButtons();
}

void TToolBar::SetFlat(bool value) {
  flat_ = value;
  RebuildButtons();
}

void TToolBar::SetButtonSize(int width, int height) {
  buttonWidth_ = width;
  buttonHeight_ = height;
  if (HandleAllocated()) SendMessageW(Handle(), TB_SETBUTTONSIZE, 0, MAKELPARAM(width, height));
}

void TToolBar::SetEdgeBorders(uint8_t value) {
  edgeBorders_ = value;
  RefreshFrame();
}

void TToolBar::SetEdges(TEdgeStyle inner, TEdgeStyle outer) {
  edgeInner_ = inner;
  edgeOuter_ = outer;
  RefreshFrame();
}

void TToolBar::SetBorderWidth(int value) {
  borderWidth_ = value;
  RefreshFrame();
}

void TToolBar::RefreshFrame() {
  if (HandleAllocated())
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

RECT TToolBar::FrameWidths() const {
  const int edges = (edgeInner_ != esNone) + (edgeOuter_ != esNone);
  auto side = [&](uint8_t edge) { return static_cast<LONG>(borderWidth_ + (edgeBorders_ & edge ? edges : 0)); };
  return {side(ebLeft), side(ebTop), side(ebRight), side(ebBottom)};
}

LRESULT TToolBar::CustomDraw(NMTBCUSTOMDRAW& draw) {
  NMCUSTOMDRAW& cd = draw.nmcd;
  bool defaultDraw = true;
  efir::CanvasBinding bound(canvas_, cd.hdc);
  canvas_.Font().Assign(Font());
  const TCustomDrawStage stage = StageOf(cd.dwDrawStage);
  if (!(cd.dwDrawStage & CDDS_ITEM)) {
    if (OnAdvancedCustomDraw) OnAdvancedCustomDraw(this, cd.rc, stage, defaultDraw);
    if (stage != cdPrePaint) return defaultDraw ? CDRF_DODEFAULT : CDRF_SKIPDEFAULT;
    return OnAdvancedCustomDrawButton ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
  }
  const LRESULT index = SendMessageW(Handle(), TB_COMMANDTOINDEX, cd.dwItemSpec, 0);
  if (!OnAdvancedCustomDrawButton || index < 0 || index >= ButtonCount()) return CDRF_DODEFAULT;
  UINT state = cd.uItemState, flags = 0;
  OnAdvancedCustomDrawButton(this, Buttons(static_cast<int>(index)), state, stage, flags, defaultDraw);
  cd.uItemState = state;
  return defaultDraw ? flags : CDRF_SKIPDEFAULT;
}

void TToolBar::DropDown(TToolButton& button) {
  if (!button.DropdownMenu()) return;
  RECT r{};
  SendMessageW(Handle(), TB_GETITEMRECT, static_cast<WPARAM>(button.Index()), reinterpret_cast<LPARAM>(&r));
  const POINT below = ClientToScreen({r.left, r.bottom});
  hotTrackSuppressed_ = true;
  button.DropdownMenu()->Popup(below.x, below.y);
  hotTrackSuppressed_ = false;
  Perform(CN_DROPDOWNCLOSED);
}

void TToolBar::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CN_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(Message.LParam);
      if (header->code == static_cast<UINT>(NM_CUSTOMDRAW)) {
        Message.Result = CustomDraw(*reinterpret_cast<NMTBCUSTOMDRAW*>(Message.LParam));
        return;
      }
      if (header->code == static_cast<UINT>(TBN_DROPDOWN)) {
        const int index = static_cast<int>(
            SendMessageW(Handle(), TB_COMMANDTOINDEX, reinterpret_cast<NMTOOLBARW*>(Message.LParam)->iItem, 0));
        if (index >= 0 && index < ButtonCount()) DropDown(*Buttons(index));
        Message.Result = TBDDRET_DEFAULT;
        return;
      }
      break;
    }
    case CN_COMMAND: {
      const int index = static_cast<int>(LOWORD(Message.WParam)) - 1;
      if (index >= 0 && index < ButtonCount() && Buttons(index)->OnClick) Buttons(index)->OnClick(Buttons(index));
      return;
    }
    case WM_NCCALCSIZE: {
      TWinControl::WndProc(Message);
      auto* r = reinterpret_cast<RECT*>(Message.LParam);
      const RECT widths = FrameWidths();
      r->left += widths.left;
      r->top += widths.top;
      r->right -= widths.right;
      r->bottom -= widths.bottom;
      return;
    }
    case WM_NCPAINT: {
      TWinControl::WndProc(Message);
      RECT r;
      GetWindowRect(Handle(), &r);
      OffsetRect(&r, -r.left, -r.top);
      HDC dc = GetWindowDC(Handle());
      InflateRect(&r, -borderWidth_, -borderWidth_);
      UINT sides = (edgeBorders_ & ebLeft ? BF_LEFT : 0) | (edgeBorders_ & ebTop ? BF_TOP : 0) |
                   (edgeBorders_ & ebRight ? BF_RIGHT : 0) | (edgeBorders_ & ebBottom ? BF_BOTTOM : 0);
      UINT edge = (edgeOuter_ == esRaised ? BDR_RAISEDOUTER : edgeOuter_ == esLowered ? BDR_SUNKENOUTER : 0) |
                  (edgeInner_ == esRaised ? BDR_RAISEDINNER : edgeInner_ == esLowered ? BDR_SUNKENINNER : 0);
      if (edge && sides) DrawEdge(dc, &r, edge, sides);
      ReleaseDC(Handle(), dc);
      return;
    }
  }
  TWinControl::WndProc(Message);
}
