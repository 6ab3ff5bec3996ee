#include "skin/forms/combo_wnd.h"

#include <string>
#include <typeinfo>

#include "framework/stdctrls.h"

#include "skin/engine/alpha_blend.h"
#include "skin/engine/background_answers.h"
#include "skin/engine/common_data.h"
#include "skin/engine/engine_routines.h"
#include "skin/engine/fills.h"
#include "skin/engine/item_paint.h"
#include "skin/engine/s_combo_box.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_data.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_painters.h"
#include "skin/engine/textures.h"
#include "skin/forms/scroll_engine.h"

namespace {

// Sent to a combo box's list when the combo starts and ends tracking it open.
constexpr UINT kListStartTrack = 0x1AE;
constexpr UINT kListEndTrack = 0x1AF;

constexpr int kComboFrame = 3, kListFrame = 2;

// The window DC, or the one the message brought.
class PaintDC {
 public:
  PaintDC(HWND wnd, WPARAM given)
      : wnd_(wnd), dc_(given ? reinterpret_cast<HDC>(given) : GetWindowDC(wnd)), own_(!given) {}
  ~PaintDC() {
    if (own_ && dc_) ReleaseDC(wnd_, dc_);
  }
  PaintDC(const PaintDC&) = delete;
  PaintDC& operator=(const PaintDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND wnd_;
  HDC dc_;
  bool own_;
};

void CopyFrameFromCache(HDC dc, TBitmap* cache, int width) {
  if (cache && dc)
    CopyBorderFrame(dc, 0, 0, cache->Width(), cache->Height(), cache->Canvas().Handle(), 0, 0, width);
}

std::wstring SelectedOrWindowText(HWND combo) {
  const LRESULT selected = SendMessageW(combo, CB_GETCURSEL, 0, 0);
  if (selected != CB_ERR) {
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, selected, 0);
    if (length == CB_ERR || length > 4096) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    if (SendMessageW(combo, CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(text.data())) == CB_ERR) return {};
    text.resize(static_cast<size_t>(length));
    return text;
  }
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(combo)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(combo, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace

// ---- the drop-down list ----

TacComboListWnd::TacComboListWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section)
    : TacEditWnd(wnd, skinData, manager, section) {}

bool TacComboListWnd::KeepsCaptureOnRelease() const { return !SkinData->OwnerControl && !SimpleStyle; }

void TacComboListWnd::PrepareListCache() {
  ReadWindowPlacement();
  if (SimpleStyle) {
    SendSkinCommandToWindow(Wnd, SKC_PREPARECACHE);
    return;
  }
  TsCommonData& d = *SkinData;
  UpdateSkinIndexes(d);
  ApplySkinLook();
  if (!d.CacheBitmap) d.CacheBitmap = NewBitmap24(WindowSize.cx, WindowSize.cy);
  d.CacheBitmap->SetSize(WindowSize.cx, WindowSize.cy);
  HDC dc = d.CacheBitmap->Canvas().Handle();
  efir::gdi::Object<HBRUSH> fill(CreateSolidBrush(ColorToRGB(FillColor)));
  efir::gdi::Object<HPEN> outline(CreatePen(PS_SOLID, 1, ColorToRGB(OutlineColor)));
  HGDIOBJ oldBrush = SelectObject(dc, fill.get()), oldPen = SelectObject(dc, outline.get());
  Rectangle(dc, 0, 0, WindowSize.cx, WindowSize.cy);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  d.BackgroundChanged = false;
}

void TacComboListWnd::FillStripBelowList() {
  HWND combo = GetParent(Wnd);
  RECT list, box;
  if (!combo || !GetWindowRect(Wnd, &list) || !GetWindowRect(combo, &box) || list.bottom >= box.bottom) return;
  CacheSourceInfo behind;
  WindowParentCacheInfo(combo, behind);
  HWND parent = GetParent(combo);
  if (!behind.Ready || !behind.Bitmap || !parent) return;
  POINT at{box.left, box.top};
  ScreenToClient(parent, &at);
  const RECT strip{0, list.bottom - box.top, box.right - box.left, box.bottom - box.top};
  HDC dc = GetWindowDC(combo);
  BitBlt(dc, strip.left, strip.top, strip.right - strip.left, strip.bottom - strip.top,
         behind.Bitmap->Canvas().Handle(), at.x + behind.X + strip.left, at.y + behind.Y + strip.top, SRCCOPY);
  ReleaseDC(combo, dc);
}

bool TacComboListWnd::HandleListMessage(TMessage& message) {
  switch (message.Msg) {
    case WM_ERASEBKGND:
    case WM_HSCROLL:
    case WM_VSCROLL:
      ForwardToReplacedWndProc(message);
      return true;
    case WM_NCCALCSIZE:
      LayoutScrollBars(message);
      return true;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: {
      // The list forwards presses it sees while holding the mouse: the hit code is ours to find.
      const LRESULT code = ScrollHitTest(PointOfLParam(message.LParam));
      message.Result = 0;
      if (code == HTHSCROLL || code == HTVSCROLL) {
        message.WParam = static_cast<WPARAM>(code);
        PressBar(message);
      }
      return true;
    }
    case WM_NCPAINT: {
      if (Scrolling) return false;
      PrepareListCache();
      if (!DialogMode) RestoreAdapterCorners(*SkinData, 0, *this);
      PaintDC dc(Wnd, 0);
      CopyFrameFromCache(dc.Get(), SkinData->CacheBitmap.get(), kListFrame);
      message.Result = PaintScrollBars(dc.Get(), -1);
      if (SimpleStyle) FillStripBelowList();
      return true;
    }
    case WM_LBUTTONUP:
      // A press on the bars ends wherever the button comes up.
      if (ReleasePress(message)) {
        if (SimpleStyle) ReleaseCapture();
      } else {
        ForwardToReplacedWndProc(message);
        if (GetCapture() == Wnd) ReleaseCapture();
      }
      return true;
    case WM_PRINT:
    case WM_PRINTCLIENT: {
      HDC dc = reinterpret_cast<HDC>(message.WParam);
      if (!dc || !IsWindowVisible(Wnd)) return false;
      PrepareListCache();
      ForwardToReplacedWndProc(message);
      if (message.Msg == WM_PRINT && SendMessageW(Wnd, LB_GETCOUNT, 0, 0) >= 1) {
        if (ScrollState.PressedPart == spNone && !ListShown)
          CopyFrameFromCache(dc, SkinData->CacheBitmap.get(), kComboFrame);
        message.Result = PaintScrollBars(dc, -1);
      }
      return true;
    }
    case kListStartTrack:
      ListShown = true;
      return false;
    case kListEndTrack:
      ListShown = false;
      SkinData->BackgroundChanged = true;
      return false;
    default:
      return false;
  }
}

void TacComboListWnd::AdapterWndProc(TMessage& message) {
  if (Skinned() && HandleListMessage(message)) return;
  TacEditWnd::AdapterWndProc(message);
  if (message.Msg == WM_WINDOWPOSCHANGED && !Detached) RefreshScrollBars(true);
}

// ---- the combo box ----

TacComboBoxWnd::~TacComboBoxWnd() = default;

bool TacComboBoxWnd::SimpleCombo() const { return (GetWindowLongPtrW(Wnd, GWL_STYLE) & 3) == CBS_SIMPLE; }

RECT TacComboBoxWnd::DropButtonBounds() const {
  return DropButtonBoundsOfWidth(GetWindowLongPtrW(Wnd, GWL_STYLE) & CBS_DROPDOWN ? GetSystemMetrics(SM_CXVSCROLL) : 0);
}

RECT TacComboBoxWnd::DropButtonBoundsOfWidth(int w) const {
  RECT window;
  GetWindowRect(Wnd, &window);
  const int width = window.right - window.left, height = window.bottom - window.top;
  const int left = GetWindowLongPtrW(Wnd, GWL_EXSTYLE) & WS_EX_RTLREADING ? 2 : width - w - 2;
  return {left, 2, left + w, height - 2};
}

// ---------------------------------------------------------------------------- TacWWComboBoxWnd

TacWWComboBoxWnd::TacWWComboBoxWnd(TWinControl* control, TsCommonData* skinData, TsSkinManager* manager,
                                   const std::string& section)
    : TacComboBoxWnd(control->Handle(), skinData, manager, section) {
  // The framework's combo box has no simple or owner-drawn style: both of its styles drop.
  if (auto* combo = dynamic_cast<TComboBox*>(control); combo && typeid(*combo) == typeid(TComboBox))
    HasDropButton = combo->Style() == csDropDown || combo->Style() == csDropDownList;
}

RECT TacWWComboBoxWnd::DropButtonBounds() const {
  return DropButtonBoundsOfWidth(HasDropButton ? GetSystemMetrics(SM_CXVSCROLL) : 0);
}

int TacComboBoxWnd::DropButtonState() const {
  if (ListWnd && IsWindowVisible(ListWnd)) return 2;
  TsSkinManager* manager = TsSkinManager::DefaultManager();
  return SkinData->HotState() || (manager && manager->HotWindow == Wnd) ? 1 : 0;
}

void TacComboBoxWnd::PaintDropButton(HDC dc) {
  TBitmap* cache = SkinData->CacheBitmap.get();
  TsSkinManager* manager = Manager();
  const RECT r = DropButtonBounds();
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (!cache || !manager || !dc || w <= 0 || h <= 0) return;
  auto picture = NewBitmap24(cache->Width(), cache->Height());
  HDC pictureDC = picture->Canvas().Handle();
  BitBlt(pictureDC, 0, 0, cache->Width(), cache->Height(), cache->Canvas().Handle(), 0, 0, SRCCOPY);
  CacheSourceInfo self;
  MakeCacheSourceInfo(picture.get(), 0, 0, self);
  const int state = DropButtonState();
  const TsFixedIndexes& fixed = manager->FixedIndexes;
  if (SectionIndexValid(manager, fixed.IdxComboBtn))
    RenderSectionItem(fixed.IdxComboBtn, "COMBOBTN", self, true, state, r, {r.left, r.top}, picture.get(), manager,
                      fixed.TexComboBtn, fixed.HotTexComboBtn);
  if (MaskIndexValid(manager, fixed.GlyphComboBox)) {
    const TsMaskData& glyph = manager->Masks[fixed.GlyphComboBox];
    const POINT at{r.left + (w - MaskStateWidth(glyph)) / 2, (cache->Height() - MaskStateHeight(glyph)) / 2};
    PaintMaskFrame(picture.get(), at, state, 1, glyph, self);
  }
  BitBlt(dc, r.left, r.top, w, h, pictureDC, r.left, r.top, SRCCOPY);
}

void TacComboBoxWnd::PrepareSimpleCache() {
  TsCommonData& d = *SkinData;
  const int height = static_cast<int>(SendMessageW(Wnd, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0)) + 8;
  if (!d.CacheBitmap) d.CacheBitmap = NewBitmap24(WindowSize.cx, height);
  d.CacheBitmap->SetSize(WindowSize.cx, height);
  TsSkinManager* manager = TsSkinManager::DefaultManager();
  const TColor border = manager ? manager->LoadedSkin.BorderColor : 0xFF00FF;
  if (DialogMode && border != 0xFF00FF) {
    HDC dc = d.CacheBitmap->Canvas().Handle();
    FillRectSolid(dc, {0, 0, WindowSize.cx, height}, clWindow);
    RECT frame{0, 0, WindowSize.cx, height};
    int width = 1;
    DrawColorFrame(dc, frame, border, border, width);
    return;
  }
  CacheSourceInfo behind;
  WindowParentCacheInfo(Wnd, behind);
  RenderControlItem(d, behind, true, d.HotState() ? 1 : 0, {0, 0, WindowSize.cx, height}, WindowPos,
                    d.CacheBitmap.get(), true);
}

void TacComboBoxWnd::Paint(TMessage& message) {
  ApplyLookOnce();
  ReadWindowPlacement();
  ForwardToReplacedWndProc(message);
  PaintDC dc(Wnd, message.WParam);
  TsCommonData& d = *SkinData;
  d.Updating = d.IsUpdating();
  if (d.Updating) return;
  if (SimpleCombo()) {
    PrepareSimpleCache();
    CopyFrameFromCache(dc.Get(), d.CacheBitmap.get(), kComboFrame);
    return;
  }
  d.BackgroundChanged = true;
  SendSkinCommandToWindow(Wnd, SKC_PREPARECACHE);
  CopyFrameFromCache(dc.Get(), d.CacheBitmap.get(), kComboFrame);
  PaintDropButton(dc.Get());
}

void TacComboBoxWnd::PaintTextInto(TBitmap& cache) {
  const RECT button = DropButtonBounds();
  const int height = cache.Height();
  const bool rtl = GetWindowLongPtrW(Wnd, GWL_EXSTYLE) & WS_EX_RTLREADING;
  RECT r = rtl ? RECT{button.right, 3, cache.Width() - 3, height - 3} : RECT{3, 3, button.left, height - 3};
  const bool dropList = (GetWindowLongPtrW(Wnd, GWL_STYLE) & 3) == CBS_DROPDOWNLIST;
  const bool focused = GetFocus() == Wnd;
  HDC dc = cache.Canvas().Handle();
  HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(Wnd, WM_GETFONT, 0, 0)));
  const TsGeneralData* section = SkinData->Section();
  COLORREF ink = ColorToRGB(section ? section->FontColor[0] : clWindowText);
  if (dropList && focused) {
    FillRectSolid(dc, r, clHighlight);
    ink = ColorToRGB(clHighlightText);
  }
  const int d = dropList ? 1 : 0;
  RECT text{r.left + d, r.top + d, r.right, r.bottom};
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ink);
  std::wstring s = SelectedOrWindowText(Wnd);
  DrawTextW(dc, s.c_str(), static_cast<int>(s.size()), &text, DT_SINGLELINE | DT_NOPREFIX);
  if (dropList && focused) DrawFocusRect(dc, &r);
  SelectObject(dc, oldFont);
}

void TacComboBoxWnd::Print(TMessage& message) {
  ReadWindowPlacement();
  TsCommonData& d = *SkinData;
  d.SetUpdating(false);
  d.BackgroundChanged = true;
  ApplyLookOnce();
  if (SimpleCombo()) PrepareSimpleCache();
  else SendSkinCommandToWindow(Wnd, SKC_PREPARECACHE);
  d.BackgroundChanged = true;
  RenderWindowBackgroundCache(d, Wnd, DialogMode);
  TBitmap* cache = d.CacheBitmap.get();
  HDC dc = reinterpret_cast<HDC>(message.WParam);
  if (!cache || !dc) return;
  PaintTextInto(*cache);
  RestoreAdapterCorners(d, 0, *this);
  BitBlt(dc, 0, 0, cache->Width(), cache->Height(), cache->Canvas().Handle(), 0, 0, SRCCOPY);
  PaintDropButton(dc);
}

void TacComboBoxWnd::AdaptList(TMessage& message) {
  TacEditWnd::AdapterWndProc(message);
  HWND list = reinterpret_cast<HWND>(message.LParam);
  if (!ListWnd && IsWindow(list)) {
    ListWnd = list;
    if (!ListAdapter) {
      const bool framework = SkinData->OwnerControl != nullptr;
      const bool before = DialogAdaptMode;
      if (!framework) DialogAdaptMode = DialogMode;
      const bool hasItems = SendMessageW(Wnd, CB_GETCOUNT, 0, 0) >= 1;
      ListAdapter = AttachAdapter<TacComboListWnd>(list, nullptr, Manager(), "EDIT", hasItems);
      DialogAdaptMode = before;
      ListAdapter->SimpleStyle = SimpleCombo();
    }
  }
  if (list != ListWnd || DialogMode) return;
  const LRESULT index = SendSkinCommandToWindow(list, SKC_GETSECTIONINDEX) - 1;
  TsSkinManager* manager = Manager();
  if (index < 0 || !SectionIndexValid(manager, static_cast<int>(index))) return;
  // Every later paint of the list asks again: it gets the same colours and the one brush.
  const TsGeneralData& section = manager->GeneralData[static_cast<size_t>(index)];
  HDC dc = reinterpret_cast<HDC>(message.WParam);
  if (section.FontColor[0] >= 0) SetTextColor(dc, ColorToRGB(section.FontColor[0]));
  SetBkColor(dc, ColorToRGB(section.Color));
  if (!listBrush_) listBrush_.reset(CreateSolidBrush(ColorToRGB(section.Color)));
  message.Result = reinterpret_cast<LRESULT>(listBrush_.get());
}

void TacComboBoxWnd::AdapterWndProc(TMessage& message) {
  if (!Skinned()) {
    TacEditWnd::AdapterWndProc(message);
    return;
  }
  switch (message.Msg) {
    case SM_ALPHACMD:
      if (SkinSubCommand(message.WParam) != SKC_MOUSEENTER && SkinSubCommand(message.WParam) != SKC_MOUSELEAVE) break;
      [[fallthrough]];
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_LBUTTONUP: {
      TacEditWnd::AdapterWndProc(message);
      PaintDC dc(Wnd, 0);
      PaintDropButton(dc.Get());
      return;
    }
    case WM_PAINT:
      Paint(message);
      return;
    case WM_ERASEBKGND:
      message.Result = 1;
      return;
    case WM_DRAWITEM:
      ForwardToReplacedWndProc(message);
      return;
    case WM_NCCALCSIZE:
      TacEditWnd::AdapterWndProc(message);
      LeftEdge = kComboFrame;
      return;
    case WM_CTLCOLORLISTBOX:
      AdaptList(message);
      return;
    case WM_PRINT:
      Print(message);
      return;
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
      TacEditWnd::AdapterWndProc(message);
      SkinData->MouseOver = message.Msg == CM_MOUSEENTER;
      return;
  }
  TacEditWnd::AdapterWndProc(message);
}

namespace {

// The engine's skinned combo box hands its long drop-down list over through this: the list
// window is adapted here and given its standard procedure back when the box lets it go.
class ComboListHandOff : public TsComboListAdapter {
 public:
  explicit ComboListHandOff(std::unique_ptr<TacComboListWnd> list) : list_(std::move(list)) {}
  void SkinCommand(TMessage& message) override {
    if (IsWindow(list_->Wnd)) message.Result = SendMessageW(list_->Wnd, message.Msg, message.WParam, message.LParam);
  }

 private:
  std::unique_ptr<TacComboListWnd> list_;
};

}  // namespace

void RegisterComboListAdapters() {
  SetComboListAdapterFactory([](const TsComboListRequest& request) -> std::unique_ptr<TsComboListAdapter> {
    auto list = AttachAdapter<TacComboListWnd>(request.List, nullptr, request.Manager, request.Section, true);
    list->SimpleStyle = request.Simple;
    return std::make_unique<ComboListHandOff>(std::move(list));
  });
}
