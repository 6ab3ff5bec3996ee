#include "framework/stdctrls.h"

#include "framework/forms.h"
#include "framework/text_encoding.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

namespace {

// Controls built on a system class do their own mouse capture; the framework's would end it
// before they see the button's release.
void UseSystemMouse(TControl* control, bool clicks) {
  TControlStyle style = control->ControlStyle() & ~static_cast<TControlStyle>(csCaptureMouse | csClickEvents);
  control->SetControlStyle(clicks ? style | csClickEvents : style);
}

// A list's text without the line end after its last line.
std::string JoinedLines(const TStringList& lines) {
  std::string text = lines.Text();
  if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) text.resize(text.size() - 2);
  return text;
}

}  // namespace

// ---------------------------------------------------------------------------- TLabel

TLabel::TLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  SetBounds(0, 0, 65, 17);
  SetParentColor(true);
}

void TLabel::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  Invalidate();
}

void TLabel::SetTransparent(bool value) {
  if (value == transparent_) return;
  transparent_ = value;
  SetControlStyle(value ? ControlStyle() & ~static_cast<TControlStyle>(csOpaque) : ControlStyle() | csOpaque);
  Invalidate();
}

void TLabel::SetWordWrap(bool value) {
  if (value == wordWrap_) return;
  wordWrap_ = value;
  AdjustBounds();
  Invalidate();
}

void TLabel::SetAutoSize(bool value) {
  if (value == autoSize_) return;
  autoSize_ = value;
  AdjustBounds();
}

UINT TLabel::DrawFlags() const {
  UINT flags = DT_EXPANDTABS | DT_NOPREFIX;
  if (wordWrap_) flags |= DT_WORDBREAK;
  if (alignment_ == taCenter) flags |= DT_CENTER;
  if (alignment_ == taRightJustify) flags |= DT_RIGHT;
  return flags;
}

void TLabel::Paint() {
  RECT r = ClientRect();
  TCanvas& canvas = Canvas();
  if (!transparent_) {
    canvas.Brush().SetStyle(bsSolid);
    canvas.FillRect(r);
  }
  canvas.Brush().SetStyle(bsClear);
  DrawLabelText(r, DrawFlags());
}

void TLabel::DrawLabelText(RECT rect, UINT flags) {
  if (!Enabled()) Canvas().Font().SetColor(clGrayText);
  Canvas().TextRect(rect, text_, flags);
}

void TLabel::AdjustBounds() {
  if (!autoSize_) return;
  TCanvas measure;
  efir::gdi::WindowDC screen;
  efir::CanvasBinding bound(measure, screen);
  measure.Font().Assign(Font());
  RECT r{0, 0, wordWrap_ ? Width() : 0, 0};
  measure.TextRect(r, text_.empty() ? std::string(" ") : text_, DrawFlags() | DT_CALCRECT);
  int width = wordWrap_ ? Width() : r.right;
  int left = Left();
  if (alignment_ == taRightJustify) left += Width() - width;
  if (alignment_ == taCenter) left += (Width() - width) / 2;
  SetBounds(left, Top(), width, r.bottom);
}

void TLabel::TextChanged() {
  AdjustBounds();
  Invalidate();
}

void TLabel::WndProc(TMessage& Message) {
  if (Message.Msg == CM_FONTCHANGED) AdjustBounds();
  TGraphicControl::WndProc(Message);
}

// ---------------------------------------------------------------------------- TButton

TButton::TButton(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 75, 25);
  SetTabStop(true);
  UseSystemMouse(this, false);
}

void TButton::SetDefault(bool value) {
  if (value == default_) return;
  default_ = value;
  if (HandleAllocated())
    SendMessageW(Handle(), BM_SETSTYLE, value ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

void TButton::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.SystemClass = L"BUTTON";
  Params.Style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
}

void TButton::Click() {
  if (modalResult_ != 0)
    if (TForm* form = GetParentForm()) form->SetModalResult(modalResult_);
  TWinControl::Click();
}

void TButton::WndProc(TMessage& Message) {
  if (Message.Msg == CN_COMMAND && HIWORD(Message.WParam) == BN_CLICKED) {
    Click();
    return;
  }
  TWinControl::WndProc(Message);
}

TBitBtn::TBitBtn(TComponent* AOwner) : TButton(AOwner) {
  glyph_.OnChange = [this] {
    if (HandleAllocated()) RecreateWnd();
  };
}

void TBitBtn::SetLayout(TButtonLayout value) {
  if (value == layout_) return;
  layout_ = value;
  LayoutChanged();
}

void TBitBtn::SetMargin(int value) {
  if (value == margin_) return;
  margin_ = value;
  LayoutChanged();
}

void TBitBtn::SetSpacing(int value) {
  if (value == spacing_) return;
  spacing_ = value;
  LayoutChanged();
}

void TBitBtn::SetNumGlyphs(int value) {
  value = std::max(value, 1);
  if (value == numGlyphs_) return;
  numGlyphs_ = value;
  if (HandleAllocated()) RecreateWnd();
}

void TBitBtn::CreateParams(TCreateParams& Params) {
  TButton::CreateParams(Params);
  Params.Style |= BS_MULTILINE;
  if (ShowsSystemGlyph()) Params.Style |= BS_BITMAP;
}

void TBitBtn::CreateWnd() {
  TButton::CreateWnd();
  if (ShowsSystemGlyph()) ShowSystemGlyph();
}

void TBitBtn::ShowSystemGlyph() {
  const TGraphic& glyph = *glyph_.Graphic();
  const int width = std::max(glyph.Width() / numGlyphs_, 1);
  // Drawn on a scratch bitmap: the system button selects the face into a DC of its own,
  // which a bitmap still held by a canvas would refuse.
  TBitmap scratch(width, glyph.Height(), pf24bit);
  TCanvas& canvas = scratch.Canvas();
  // The system greys a disabled picture by its non-white pixels: on white only the glyph
  // keeps its outline.
  canvas.Brush().SetColor(Enabled() ? Color() : clWhite);
  canvas.FillRect({0, 0, width, glyph.Height()});
  canvas.Draw(0, 0, glyph);
  face_.Assign(scratch);
  SendMessageW(Handle(), BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(face_.Handle()));
}

void TBitBtn::WndProc(TMessage& Message) {
  TButton::WndProc(Message);
  if (Message.Msg == CM_ENABLEDCHANGED && HandleAllocated() && ShowsSystemGlyph() &&
      (GetWindowLongW(Handle(), GWL_STYLE) & BS_BITMAP))
    ShowSystemGlyph();
}

// ---------------------------------------------------------------------------- TEdit

TEdit::TEdit(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 121, 21);
  SetTabStop(true);
  SetColor(clWindow);
  UseSystemMouse(this, true);
}

void TEdit::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.SystemClass = L"EDIT";
  Params.Style |= ES_AUTOHSCROLL | (readOnly_ ? ES_READONLY : 0);
  Params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TEdit::SetReadOnly(bool value) {
  readOnly_ = value;
  if (HandleAllocated()) SendMessageW(Handle(), EM_SETREADONLY, value, 0);
}

void TEdit::SetMaxLength(int value) {
  maxLength_ = value;
  if (HandleAllocated()) SendMessageW(Handle(), EM_LIMITTEXT, static_cast<WPARAM>(value), 0);
}

int TEdit::SelStart() {
  DWORD start = 0;
  SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
  return static_cast<int>(start);
}

void TEdit::SetSelStart(int value) {
  SendMessageW(Handle(), EM_SETSEL, static_cast<WPARAM>(value), value);
  SendMessageW(Handle(), EM_SCROLLCARET, 0, 0);
}

int TEdit::SelLength() {
  DWORD start = 0, end = 0;
  SendMessageW(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(end - start);
}

void TEdit::SetSelLength(int value) {
  int start = SelStart();
  SendMessageW(Handle(), EM_SETSEL, static_cast<WPARAM>(start), start + value);
}

void TEdit::SelectAll() {
  SendMessageW(Handle(), EM_SETSEL, 0, -1);
}

void TEdit::Change() {
  if (OnChange) OnChange(this);
}

void TEdit::WndProc(TMessage& Message) {
  if (Message.Msg == CN_COMMAND && HIWORD(Message.WParam) == EN_CHANGE) {
    Change();
    return;
  }
  TWinControl::WndProc(Message);
}

// ---------------------------------------------------------------------------- TMemo

TMemo::TMemo(TComponent* AOwner) : TEdit(AOwner) {
  SetBounds(0, 0, 185, 89);
}

void TMemo::CreateParams(TCreateParams& Params) {
  TEdit::CreateParams(Params);
  Params.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
  Params.Style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
  Params.Caption = efir::text::fromAnsi(JoinedLines(lines_));
}

void TMemo::CreateWnd() {
  TEdit::CreateWnd();
  syncPosted_ = false;
}

TStringList& TMemo::Lines() {
  if (HandleAllocated() && !syncPosted_) {
    // What the window shows is what the user typed (a multi-line edit does not report text
    // set by others); the caller may change the list, which the window then shows.
    lines_.SetText(TEdit::GetText());
    syncPosted_ = true;
    PostMessageW(Handle(), CM_SYNCITEMS, 0, 0);
  }
  return lines_;
}

void TMemo::SyncLines() {
  syncPosted_ = false;
  if (!HandleAllocated()) return;
  std::string text = JoinedLines(lines_);
  if (text != TEdit::GetText()) SetWindowTextW(Handle(), efir::text::fromAnsi(text).c_str());
}

std::string TMemo::GetText() {
  if (!HandleAllocated() || syncPosted_) return JoinedLines(lines_);
  return TEdit::GetText();
}

void TMemo::TextChanged() {
  lines_.SetText(text_);
  TEdit::TextChanged();
}

void TMemo::Change() {
  if (!syncPosted_) lines_.SetText(TEdit::GetText());
  TEdit::Change();
}

void TMemo::WndProc(TMessage& Message) {
  if (Message.Msg == CM_SYNCITEMS) {
    if (syncPosted_) SyncLines();
    return;
  }
  TEdit::WndProc(Message);
}

// ---------------------------------------------------------------------------- TCheckBox

TCheckBox::TCheckBox(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 97, 17);
  SetTabStop(true);
  SetParentColor(true);
  UseSystemMouse(this, false);
}

void TCheckBox::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.SystemClass = L"BUTTON";
  Params.Style |= BS_3STATE;
}

namespace {

WPARAM CheckOf(TCheckBoxState state) {
  return state == cbChecked ? BST_CHECKED : state == cbGrayed ? BST_INDETERMINATE : BST_UNCHECKED;
}

}  // namespace

void TCheckBox::CreateWnd() {
  TWinControl::CreateWnd();
  SendMessageW(Handle(), BM_SETCHECK, CheckOf(state_), 0);
}

void TCheckBox::SetState(TCheckBoxState value) {
  if (value == state_) return;
  state_ = value;
  if (HandleAllocated()) SendMessageW(Handle(), BM_SETCHECK, CheckOf(value), 0);
  Click();
}

void TCheckBox::Toggle() {
  switch (state_) {
    case cbUnchecked:
      SetState(allowGrayed_ ? cbGrayed : cbChecked);
      break;
    case cbChecked:
      SetState(cbUnchecked);
      break;
    case cbGrayed:
      SetState(cbChecked);
      break;
  }
}

void TCheckBox::WndProc(TMessage& Message) {
  if (Message.Msg == CN_COMMAND && HIWORD(Message.WParam) == BN_CLICKED) {
    Toggle();
    return;
  }
  TWinControl::WndProc(Message);
}

// ---------------------------------------------------------------------------- TComboBox

TComboBox::TComboBox(TComponent* AOwner) : TWinControl(AOwner) {
  SetBounds(0, 0, 145, 21);
  SetTabStop(true);
  SetColor(clWindow);
  UseSystemMouse(this, true);
}

void TComboBox::CreateParams(TCreateParams& Params) {
  TWinControl::CreateParams(Params);
  Params.SystemClass = L"COMBOBOX";
  Params.Style |= WS_VSCROLL | CBS_AUTOHSCROLL | (style_ == csDropDown ? CBS_DROPDOWN : CBS_DROPDOWNLIST);
  Params.Height = Height() + dropDownCount_ * 16 + 2;
}

void TComboBox::CreateWnd() {
  TWinControl::CreateWnd();
  FillWindow();
}

void TComboBox::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TWinControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (HandleAllocated())
    SetWindowPos(Handle(), nullptr, 0, 0, AWidth, AHeight + dropDownCount_ * 16 + 2,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TComboBox::SetStyle(TComboBoxStyle value) {
  if (value == style_) return;
  style_ = value;
  RecreateWnd();
}

TStringList& TComboBox::Items() {
  PostSync();
  return items_;
}

void TComboBox::PostSync() {
  if (HandleAllocated() && !syncPosted_) {
    syncPosted_ = true;
    PostMessageW(Handle(), CM_SYNCITEMS, 0, 0);
  }
}

void TComboBox::FillWindow() {
  syncPosted_ = false;
  HWND h = Handle();
  std::wstring text = efir::text::fromAnsi(text_);
  SendMessageW(h, WM_SETREDRAW, FALSE, 0);
  SendMessageW(h, CB_RESETCONTENT, 0, 0);
  for (int i = 0; i < items_.Count(); ++i)
    SendMessageW(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(efir::text::fromAnsi(items_[i]).c_str()));
  if (itemIndex_ >= items_.Count()) itemIndex_ = -1;
  SendMessageW(h, CB_SETCURSEL, static_cast<WPARAM>(itemIndex_), 0);
  if (itemIndex_ < 0 && style_ == csDropDown) SetWindowTextW(h, text.c_str());
  SendMessageW(h, WM_SETREDRAW, TRUE, 0);
}

void TComboBox::SaveWindowState() {
  itemIndex_ = static_cast<int>(SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
  TWinControl::SaveWindowState();
}

int TComboBox::ItemIndex() {
  if (!HandleAllocated()) return itemIndex_;
  if (syncPosted_) FillWindow();
  return static_cast<int>(SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
}

void TComboBox::SetItemIndex(int value) {
  if (value < -1 || value >= items_.Count()) value = -1;
  itemIndex_ = value;
  if (value >= 0) text_ = items_[value];
  if (!HandleAllocated()) return;
  if (syncPosted_) FillWindow();
  SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(value), 0);
}

std::string TComboBox::GetText() { return announcing_ ? text_ : TWinControl::GetText(); }

void TComboBox::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case CM_SYNCITEMS:
      if (syncPosted_) {
        text_ = GetText();
        itemIndex_ = static_cast<int>(SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
        FillWindow();
      }
      return;
    case CN_COMMAND:
      switch (HIWORD(Message.WParam)) {
        case CBN_SELCHANGE: {
          int index = static_cast<int>(SendMessageW(Handle(), CB_GETCURSEL, 0, 0));
          itemIndex_ = index;
          if (index >= 0 && index < items_.Count()) text_ = items_[index];
          const bool wasAnnouncing = std::exchange(announcing_, index >= 0 && index < items_.Count());
          struct Restore {
            bool& flag;
            bool value;
            ~Restore() { flag = value; }
          } restore{announcing_, wasAnnouncing};
          Click();
          if (OnSelect) OnSelect(this);
          else if (OnChange) OnChange(this);
          return;
        }
        case CBN_EDITCHANGE:
          if (OnChange) OnChange(this);
          return;
      }
      break;
  }
  TWinControl::WndProc(Message);
}

// ---------------------------------------------------------------------------- range controls

TRangeControl::TRangeControl(TComponent* AOwner, int max) : TWinControl(AOwner), max_(max) {
  SetTabStop(true);
  UseSystemMouse(this, false);
}

void TRangeControl::SetParams(int position, int min, int max) {
  max = std::max(min, max);
  position = std::clamp(position, min, max);
  if (position == position_ && min == min_ && max == max_) return;
  bool moved = position != position_;
  min_ = min;
  max_ = max;
  position_ = position;
  if (HandleAllocated()) UpdateWindow();
  if (moved) Change();
}

void TRangeControl::Change() {
  if (OnChange) OnChange(this);
}

TScrollBar::TScrollBar(TComponent* AOwner) : TRangeControl(AOwner, 100) {
  SetBounds(0, 0, 121, GetSystemMetrics(SM_CYHSCROLL));
}

void TScrollBar::SetKind(TScrollBarKind value) {
  if (value == kind_) return;
  kind_ = value;
  RecreateWnd();
}

void TScrollBar::SetPageSize(int value) {
  if (value == pageSize_) return;
  pageSize_ = value;
  if (HandleAllocated()) UpdateWindow();
}

void TScrollBar::CreateParams(TCreateParams& Params) {
  TRangeControl::CreateParams(Params);
  Params.SystemClass = L"SCROLLBAR";
  Params.Style |= kind_ == sbHorizontal ? SBS_HORZ : SBS_VERT;
}

void TScrollBar::CreateWnd() {
  TRangeControl::CreateWnd();
  UpdateWindow();
}

void TScrollBar::UpdateWindow() {
  SCROLLINFO info{sizeof(info), SIF_ALL, min_, max_, static_cast<UINT>(pageSize_), position_, 0};
  SetScrollInfo(Handle(), SB_CTL, &info, TRUE);
}

void TScrollBar::Scrolled(WORD code) {
  int position = position_;
  TScrollCode scrollCode = scEndScroll;
  switch (code) {
    case SB_LINEUP: scrollCode = scLineUp; position -= smallChange_; break;
    case SB_LINEDOWN: scrollCode = scLineDown; position += smallChange_; break;
    case SB_PAGEUP: scrollCode = scPageUp; position -= largeChange_; break;
    case SB_PAGEDOWN: scrollCode = scPageDown; position += largeChange_; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
      SCROLLINFO info{sizeof(info), SIF_TRACKPOS};
      GetScrollInfo(Handle(), SB_CTL, &info);
      scrollCode = code == SB_THUMBTRACK ? scTrack : scPosition;
      position = info.nTrackPos;
      break;
    }
    case SB_TOP: scrollCode = scTop; position = min_; break;
    case SB_BOTTOM: scrollCode = scBottom; position = max_; break;
    default: break;
  }
  if (OnScroll) OnScroll(this, scrollCode, position);
  SetPosition(position);
}

void TScrollBar::WndProc(TMessage& Message) {
  if (Message.Msg == CN_HSCROLL || Message.Msg == CN_VSCROLL) {
    Scrolled(LOWORD(Message.WParam));
    return;
  }
  TRangeControl::WndProc(Message);
}

TTrackBar::TTrackBar(TComponent* AOwner) : TRangeControl(AOwner, 10) {
  SetBounds(0, 0, 150, 45);
}

void TTrackBar::SetOrientation(TTrackBarOrientation value) {
  if (value == orientation_) return;
  orientation_ = value;
  SetBounds(Left(), Top(), Height(), Width());
  RecreateWnd();
}

void TTrackBar::SetTickStyle(TTickStyle value) {
  if (value == tickStyle_) return;
  tickStyle_ = value;
  if (HandleAllocated()) RecreateWnd();
}

void TTrackBar::SetTickMarks(TTickMark value) {
  if (value == tickMarks_) return;
  tickMarks_ = value;
  if (HandleAllocated()) RecreateWnd();
}

void TTrackBar::SetSelStart(int value) { SetSelection(value, selEnd_); }

void TTrackBar::SetSelEnd(int value) { SetSelection(selStart_, value); }

void TTrackBar::SetSelection(int start, int end) {
  if (start == selStart_ && end == selEnd_) return;
  const bool had = HasSelection();
  selStart_ = start;
  selEnd_ = end;
  if (!HandleAllocated()) return;
  // The system bar draws a selection band only with its style, and an empty one without it.
  if (had != HasSelection())
    RecreateWnd();
  else
    UpdateWindow();
}

void TTrackBar::SetThumbLength(int value) {
  if (value == thumbLength_) return;
  thumbLength_ = value;
  if (HandleAllocated()) SendMessageW(Handle(), TBM_SETTHUMBLENGTH, static_cast<WPARAM>(value), 0);
}

void TTrackBar::CreateParams(TCreateParams& Params) {
  TRangeControl::CreateParams(Params);
  Params.SystemClass = TRACKBAR_CLASSW;
  Params.Style |= TBS_FIXEDLENGTH | (orientation_ == trHorizontal ? TBS_HORZ : TBS_VERT);
  if (HasSelection()) Params.Style |= TBS_ENABLESELRANGE;
  if (tickStyle_ == tsAuto) Params.Style |= TBS_AUTOTICKS;
  if (tickStyle_ == tsNone) Params.Style |= TBS_NOTICKS;
  if (tickMarks_ == tmTopLeft) Params.Style |= TBS_TOP;
  if (tickMarks_ == tmBoth) Params.Style |= TBS_BOTH;
}

void TTrackBar::CreateWnd() {
  TRangeControl::CreateWnd();
  SendMessageW(Handle(), TBM_SETTHUMBLENGTH, static_cast<WPARAM>(thumbLength_), 0);
  UpdateWindow();
}

void TTrackBar::UpdateWindow() {
  SendMessageW(Handle(), TBM_SETRANGEMIN, FALSE, min_);
  SendMessageW(Handle(), TBM_SETRANGEMAX, FALSE, max_);
  SendMessageW(Handle(), TBM_SETSEL, FALSE, MAKELPARAM(selStart_, selEnd_));
  SendMessageW(Handle(), TBM_SETPOS, TRUE, position_);
}

void TTrackBar::WndProc(TMessage& Message) {
  if (Message.Msg == CN_HSCROLL || Message.Msg == CN_VSCROLL) {
    SetPosition(static_cast<int>(SendMessageW(Handle(), TBM_GETPOS, 0, 0)));
    return;
  }
  TRangeControl::WndProc(Message);
}

// ---------------------------------------------------------------------------- TPanel

TPanel::TPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(0, 0, 185, 41);
  SetControlStyle(ControlStyle() | csOpaque);
}

void TPanel::SetBevelOuter(TBevelCut value) {
  if (value == bevelOuter_) return;
  bevelOuter_ = value;
  Invalidate();
}

void TPanel::SetBevelInner(TBevelCut value) {
  if (value == bevelInner_) return;
  bevelInner_ = value;
  Invalidate();
}

void TPanel::Paint() {
  TCanvas& canvas = Canvas();
  RECT r = ClientRect();
  canvas.Brush().SetStyle(bsSolid);
  canvas.FillRect(r);
  UINT edge = 0;
  if (bevelOuter_ == bvRaised) edge |= BDR_RAISEDOUTER;
  if (bevelOuter_ == bvLowered) edge |= BDR_SUNKENOUTER;
  if (bevelInner_ == bvRaised) edge |= BDR_RAISEDINNER;
  if (bevelInner_ == bvLowered) edge |= BDR_SUNKENINNER;
  if (edge) DrawEdge(canvas.Handle(), &r, edge, BF_RECT | BF_ADJUST);
  canvas.Brush().SetStyle(bsClear);
  canvas.TextRect(r, text_, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}
