#include "skin/forms/dialog_wnd.h"

#include "framework/bitmap.h"
#include "skin/engine/common_data.h"
#include "skin/engine/glow.h"
#include "skin/engine/skin_broadcast.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/forms/frame_metrics.h"
#include "skin/forms/skin_hook.h"
#include "skin/forms/skinnable_menus.h"
#include "skin/forms/system_menu.h"
#include "skin/forms/title_button_glow.h"
#include "skin/forms/window_relays.h"

bool DialogButtonPressed = false;

namespace {

// The signed screen point of a non-client mouse message.
POINT PointOf(LPARAM lParam) {
  return {static_cast<short>(LOWORD(static_cast<DWORD>(lParam))), static_cast<short>(HIWORD(static_cast<DWORD>(lParam)))};
}

// After this message the dialog's children may be new ones: they are adapted again.
constexpr UINT kReadaptChildren = 0x52E;

bool IsButtonCode(int code) { return code == HTMINBUTTON || code == HTMAXBUTTON || code == HTCLOSE || code == HTHELP; }

}  // namespace

TacDialogWnd::TacDialogWnd(HWND wnd, TsCommonData* skinData, TsSkinManager* manager, const std::string& section)
    : TacScrollWnd(wnd, skinData, manager, section),
      ValidateOnPaint(LOBYTE(LOWORD(GetVersion())) >= 6),
      ButtonsBg(std::make_unique<TBitmap>()),
      SystemMenu(std::make_unique<TacSystemMenu>(this)) {}

TacDialogWnd::~TacDialogWnd() {
  StopButtonAnimations();
  BorderForm.reset();
  SystemMenu.reset();
  for (TitleButtonData* b : {&ButtonMin, &ButtonMax, &ButtonClose, &ButtonHelp})
    if (b->GlowIndex >= 0) ReleaseGlow(b->GlowIndex);
  if (!Detached) Detach(false);
}

void TacDialogWnd::Attach(bool repaintFrame) {
  SystemMenu->UpdateItems();
  if (TsSkinManager* manager = TsSkinManager::DefaultManager(); manager && manager->SkinnedPopups())
    SkinableMenusOf(*manager).HookMenuOwnerDraw(SystemMenu.get(), true);
  SkinData->SetUpdating(true);
  SetDwmTransitions(Wnd, true);
  TacScrollWnd::Attach(repaintFrame);
}

void TacDialogWnd::RestoreStdLook() {
  // The system's caption buttons come back with the skin's going.
  if (sysMenuTaken_ && IsWindow(Wnd)) {
    SetWindowLongPtrW(Wnd, GWL_STYLE, GetWindowLongPtrW(Wnd, GWL_STYLE) | WS_SYSMENU);
    sysMenuTaken_ = false;
    SetWindowRgn(Wnd, nullptr, IsWindowVisible(Wnd));
  }
  SetExtendedBorders(false);
  TacScrollWnd::RestoreStdLook();
}

void TacDialogWnd::InitFromWindow() {
  Style = static_cast<DWORD>(GetWindowLongPtrW(Wnd, GWL_STYLE));
  ExStyle = static_cast<DWORD>(GetWindowLongPtrW(Wnd, GWL_EXSTYLE));
  FrameKind = 3;
  if ((Style & WS_POPUP) && (Style & WS_CAPTION) != WS_CAPTION) FrameKind = 2;
  else if (Style & WS_THICKFRAME) FrameKind = 3;
  else if (Style & DS_MODALFRAME) FrameKind = 0;
  IconHandle = reinterpret_cast<HICON>(SendMessageW(Wnd, WM_GETICON, ICON_SMALL, 0));
  if (!IconHandle) IconHandle = reinterpret_cast<HICON>(SendMessageW(Wnd, WM_GETICON, ICON_BIG, 0));
  LoadButtonImages();
  if (Style & WS_SYSMENU) {
    SetWindowLongPtrW(Wnd, GWL_STYLE, Style & ~WS_SYSMENU);
    sysMenuTaken_ = true;
  }
  SystemMenu->UpdateItems();
  if (TsSkinManager* manager = Manager()) SetExtendedBorders(manager->ExtendedBorders());
}

void TacDialogWnd::LoadButtonImages() {
  TsSkinManager* manager = Manager();
  const int global = SectionIndexByName(manager, "GLOBALINFO");
  if (global < 0) return;
  auto mask = [&](const char* name) { return MaskIndexByName(manager, global, "GLOBALINFO", name); };
  ButtonMin.HitCode = HTMINBUTTON;
  ButtonMax.HitCode = HTMAXBUTTON;
  ButtonClose.HitCode = HTCLOSE;
  const bool big = FrameKind == 1 || FrameKind == 3 || mask("SICONCLOSE") < 0;
  ButtonClose.ImageIndex = mask(big ? "BICONCLOSE" : "SICONCLOSE");
  ButtonMax.ImageIndex = mask(big ? "BICONMAX" : "SICONMAX");
  ButtonMin.ImageIndex = mask(big ? "BICONMIN" : "SICONMIN");
  ButtonHelp.ImageIndex = big ? mask("BICONHELP") : mask("SICONHELP") >= 0 ? mask("SICONHELP") : mask("BICONHELP");
  for (TitleButtonData* b : {&ButtonMin, &ButtonMax, &ButtonClose, &ButtonHelp}) b->BigIcon = big;
}

int TacDialogWnd::CaptionHeight(bool useExt) const {
  const LONG_PTR style = GetWindowLongPtrW(Wnd, GWL_STYLE);
  if ((style & WS_CAPTION) != WS_CAPTION && !IsIconic(Wnd)) return 0;
  if (useExt)
    if (const int ext = ExtTitleHeight(BorderFormInfo())) return ext;
  return GetSystemMetrics(SM_CYCAPTION);
}

int TacDialogWnd::BorderWidth() const { return FrameBorderWidth(Wnd, BorderFormInfo(), true); }
int TacDialogWnd::HeaderHeight() const { return CaptionHeight(false) + FrameTopBorderWidth(Wnd, nullptr, false); }

// Where the client area lies in the cache (with a border window the cache reaches beyond the
// window by the extended frame and the shadow).
int TacDialogWnd::ClientOffsetX() const {
  RECT w, c;
  GetWindowRect(Wnd, &w);
  GetClientRect(Wnd, &c);
  return ((w.right - w.left) - c.right) / 2 + WindowInCache().x;
}

int TacDialogWnd::ClientOffsetY() const {
  RECT w, c;
  GetWindowRect(Wnd, &w);
  GetClientRect(Wnd, &c);
  return (w.bottom - w.top) - c.bottom - (CaptionHeight(false) > 0 ? FrameBorderWidth(Wnd, nullptr, false) : 0) +
         WindowInCache().y;
}

bool TacDialogWnd::CloseEnabled() const {
  return CloseVisible() && !(GetClassLongPtrW(Wnd, GCL_STYLE) & CS_NOCLOSE);
}
bool TacDialogWnd::MaxEnabled() const { return MaxVisible() && !IsZoomed(Wnd) && (FrameKind == 1 || FrameKind == 3); }
bool TacDialogWnd::MinEnabled() const { return MinVisible() && !IsIconic(Wnd); }
bool TacDialogWnd::RestoreEnabled() const { return MaxVisible() && (IsIconic(Wnd) || IsZoomed(Wnd)); }

TitleButtonData* TacDialogWnd::ButtonOfCode(int code) {
  switch (code) {
    case HTMINBUTTON: return &ButtonMin;
    case HTMAXBUTTON: return &ButtonMax;
    case HTCLOSE: return &ButtonClose;
    case HTHELP: return &ButtonHelp;
    default: return nullptr;
  }
}

int TacDialogWnd::ButtonNumberAt(int x) {
  int number = 0;
  const std::pair<bool, const TitleButtonData*> order[] = {
      {CloseVisible(), &ButtonClose}, {MaxVisible(), &ButtonMax}, {MinVisible(), &ButtonMin}, {HelpVisible(), &ButtonHelp}};
  for (auto [visible, button] : order) {
    if (!visible) continue;
    ++number;
    if (button->Rect.left <= x && x <= button->Rect.right) return number;
  }
  return 0;
}

LRESULT TacDialogWnd::HitTest(POINT screen, LRESULT current) {
  ReadWindowPlacement();
  // The caption and its buttons lie in the border window, which answers for them.
  if (BorderForm) return current;
  const POINT p{screen.x - WindowRect.left, screen.y - WindowRect.top};
  const TsSkinManager* manager = Manager();
  const int h = MaskIndexValid(manager, ButtonClose.ImageIndex)
                    ? MaskStateHeight(manager->Masks[static_cast<size_t>(ButtonClose.ImageIndex)])
                    : 21;
  const int y0 = (CaptionHeight() - h + FrameTopBorderWidth(Wnd, nullptr, true)) / 2, y1 = y0 + h;
  auto answer = [this](int code) {
    SetHotButton(code, true);
    return static_cast<LRESULT>(code);
  };
  if (CaptionHeight() > 0 && y0 <= p.y && p.y <= y1) {
    // The icon zone counts only where an icon is drawn: a message box has none, and a double
    // click there would otherwise close it.
    if (IconHandle && BorderWidth() <= p.x && p.x <= BorderWidth() + GetSystemMetrics(SM_CXSMICON)) return answer(HTSYSMENU);
    const bool minShown = MinVisible() || IsIconic(Wnd);
    const int count = CloseVisible() + MaxVisible() + minShown + HelpVisible();
    const int n = ButtonNumberAt(p.x);
    if (n >= 1 && n <= count) {
      if (n == 1 && CloseVisible()) return answer(HTCLOSE);
      if (n == 2) {
        if (MaxVisible()) return answer(MaxEnabled() || RestoreEnabled() ? HTMAXBUTTON : HTCAPTION);
        if (minShown) return answer(MinEnabled() ? HTMINBUTTON : HTCAPTION);
        if (HelpVisible()) return answer(HTHELP);
      }
      if (n == 3) {
        if (minShown) return answer(IsIconic(Wnd) || MinEnabled() ? HTMINBUTTON : HTCAPTION);
        if (HelpVisible()) return answer(HTHELP);
      }
      if (n == 4 && HelpVisible() && MaxVisible()) return answer(HTHELP);
    }
    return HTCAPTION;
  }
  const RECT inner{2, 2, WindowSize.cx - 4, WindowSize.cy - 4};
  if (IsZoomed(Wnd) && !PtInRect(&inner, p)) {
    SetHotButton(0, true);
    return HTTRANSPARENT;
  }
  return current;
}

LRESULT TacDialogWnd::NCHitTest(TMessage& message) {
  const LRESULT r = HitTest(PointOf(message.LParam), 0);
  if (r != 0 && r != HTCAPTION) return r;
  SetHotButton(0, true);
  return ForwardToReplacedWndProc(message);
}

void TacDialogWnd::SetHotButton(int code, bool repaint) {
  if (code == HotButton) return;
  if (TitleButtonData* previous = ButtonOfCode(HotButton)) {
    previous->State = 0;
    if (repaint) RepaintTitleButton(HotButton);
  }
  HotButton = code;
  DialogButtonPressed = false;
  if (TitleButtonData* button = ButtonOfCode(code)) {
    button->State = 1;
    // The leave notice brings the button back to normal once the mouse goes elsewhere (asked
    // only with the mouse over us: elsewhere it would come at once).
    POINT cursor;
    RECT bounds;
    if (GetCursorPos(&cursor) && GetWindowRect(Wnd, &bounds) && PtInRect(&bounds, cursor)) {
      TRACKMOUSEEVENT track{sizeof track, TME_LEAVE | TME_NONCLIENT, Wnd, 0};
      TrackMouseEvent(&track);
    }
    if (repaint) RepaintTitleButton(code);
  }
}

void TacDialogWnd::PressButton(int code) {
  if (HotButton != code && HotButton != 0)
    if (TitleButtonData* previous = ButtonOfCode(HotButton)) {
      previous->State = 0;
      RepaintTitleButton(HotButton);
    }
  HotButton = code;
  if (TitleButtonData* button = ButtonOfCode(code))
    if (code != HTMAXBUTTON || MaxEnabled() || (IsZoomed(Wnd) && RestoreEnabled())) button->State = 2;
  DialogButtonPressed = true;
  RepaintTitleButton(code);
}

void TacDialogWnd::PopupSystemMenu(int x, int y) {
  SystemMenu->UpdateItems();
  SystemMenu->Popup(x, y);
}

void TacDialogWnd::NCLButtonDown(TMessage& message) {
  if (BorderForm && message.WParam == 19) {
    ForwardToReplacedWndProc(message);
    return;
  }
  ResolveBorderHit(message);
  message.WParam = message.WParam == HTBOTTOMRIGHT
                       ? message.WParam
                       : HitTest(PointOf(message.LParam), message.WParam);
  const int code = static_cast<int>(message.WParam);
  if (code == HTSYSMENU) {
    SetHotButton(0, true);
    PopupSystemMenu(WindowRect.left + BorderWidth(), WindowRect.top + FrameTopBorderWidth(Wnd, nullptr, true) +
                                                         GetSystemMetrics(SM_CYSMICON));
    return;
  }
  if (IsButtonCode(code)) {
    PressButton(code);
    return;
  }
  if (IsIconic(Wnd)) {
    SendMessageW(Wnd, WM_SYSCOMMAND, SC_MOVE | HTCAPTION, 0);
    return;
  }
  SetHotButton(0, true);
  // A maximized dialog is not dragged by its caption: a click there only takes the focus.
  if (IsZoomed(Wnd)) {
    RECT window;
    GetWindowRect(Wnd, &window);
    if (PointOf(message.LParam).y - window.top < FrameTopBorderWidth(Wnd, nullptr, true) + CaptionHeight(true)) {
      if (GetActiveWindow() != Wnd) SetFocus(Wnd);
      return;
    }
  }
  ForwardToReplacedWndProc(message);
}

void TacDialogWnd::NCButtonUp(TMessage& message) {
  ResolveBorderHit(message);
  switch (static_cast<int>(message.WParam)) {
    case HTCLOSE:
      if (DialogButtonPressed) {
        ButtonClose.State = 0;
        SetHotButton(0, true);
        SendMessageW(Wnd, WM_SYSCOMMAND, SC_CLOSE, 0);
      }
      break;
    case HTMAXBUTTON:
      if (!IsIconic(Wnd) || MaxEnabled()) {
        const bool pressed = DialogButtonPressed;
        SetHotButton(0, true);
        if (pressed) {
          SendMessageW(Wnd, WM_SYSCOMMAND, IsZoomed(Wnd) ? SC_RESTORE : SC_MAXIMIZE, 0);
          SystemMenu->UpdateItems();
        }
      }
      break;
    case HTMINBUTTON: {
      const bool pressed = DialogButtonPressed;
      const POINT p = PointOf(message.LParam);
      POINT w{p.x - WindowRect.left, p.y - WindowRect.top};
      if (pressed && PtInRect(&ButtonMin.Rect, w)) {
        SetHotButton(0, true);
        SendMessageW(Wnd, WM_SYSCOMMAND, IsIconic(Wnd) ? SC_RESTORE : SC_MINIMIZE, 0);
      } else if (pressed) {
        ForwardToReplacedWndProc(message);
      } else {
        SetHotButton(0, true);
      }
      break;
    }
    case HTHELP: {
      const bool pressed = DialogButtonPressed;
      SetHotButton(0, true);
      if (pressed) {
        SendMessageW(Wnd, WM_SYSCOMMAND, SC_CONTEXTHELP, 0);
        SystemMenu->UpdateItems();
        SendMessageW(Wnd, WM_NCPAINT, 1, 0);
      }
      break;
    }
    default:
      ForwardToReplacedWndProc(message);
  }
  message.WParam = 0;
}

void TacDialogWnd::AdaptChildren() {
  if (Provider) Provider->AdaptChildren(Wnd);
}

HBRUSH TacDialogWnd::DialogBrush() {
  // One brush for the dialog's life, made again only when the skin's colour changes.
  const TColor color = GlobalInfoColor(Manager());
  if (!brush_ || color != brushColor_) {
    brush_.reset(CreateSolidBrush(ColorToRGB(color)));
    brushColor_ = color;
  }
  return brush_.get();
}

bool TacDialogWnd::HandleSkinCommand(TMessage& message) {
  TsCommonData& d = *SkinData;
  const bool ownManager = message.LParam == reinterpret_cast<LPARAM>(Manager());
  switch (SkinSubCommand(message.WParam)) {
    case SKC_NEWSKIN:
      if (ownManager) {
        UpdateSkinIndexes(d);
        CaptionIndex = SectionIndexByName(Manager(), "CAPTION");
        LoadButtonImages();
        RelaySkinMessageToChildWindows(Wnd, message);
        if (TsSkinManager* manager = Manager()) SetExtendedBorders(manager->ExtendedBorders());
        RefreshFrame();
      }
      return true;
    case SKC_REFRESH:
      UpdateSkinIndexes(d);
      if (TsSkinManager* manager = Manager()) SetExtendedBorders(manager->ExtendedBorders());
      RefreshFrame();
      return true;
    case SKC_SETUPDATING:
      d.Updating = SkinArgument(message.WParam) == 1;
      if (d.IsUpdating()) d.BackgroundChanged = true;
      return false;
    case SKC_ISUPDATING:
      message.Result = d.Updating;
      return true;
    case SKC_ISBGVARYING: {
      const TsGeneralData* s = d.Section();
      message.Result = s && s->GradientPercent + s->ImagePercent > 0;
      return true;
    }
    case SKC_GETBGCOLOR:
      message.Result = d.BackgroundColor(false, nullptr);
      return true;
    case SKC_ADAPTCHILDREN:
      AdaptChildren();
      return false;
    case SKC_GETBGINFO: {
      auto& info = *reinterpret_cast<BackgroundInfo*>(message.LParam);
      if (info.PaintNow) {
        info.OffsetX += ClientOffsetX();
        info.OffsetY += ClientOffsetY();
      }
      d.FillBackgroundInfo(info, false, Wnd);
      if (info.Kind == BG_BITMAP && !info.PaintNow) {
        if (!info.Bitmap) {
          PrepareCache();
          info.Bitmap = d.CacheBitmap.get();
        }
        info.OffsetX = ClientOffsetX();
        info.OffsetY = ClientOffsetY();
      }
      return true;
    }
    case SKC_GETCLIENTOFFSET:
      message.Result = MAKELONG(ClientOffsetX(), ClientOffsetY());
      return true;
    case SKC_REPAINTGRAPHICS:
      if (BorderForm) BorderForm->UpdateBorderForm(false, 255);
      return false;
    default:
      return false;
  }
}

bool TacDialogWnd::HandleWindowMessage(TMessage& message) {
  TsCommonData& d = *SkinData;
  const bool visible = IsWindowVisible(Wnd);
  switch (message.Msg) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
      d.BackgroundChanged = true;
      RegionChanged = true;
      ForwardToReplacedWndProc(message);
      // The border window follows, and goes out of sight with the dialog.
      if (BorderForm) BorderForm->UpdateBorderForm(message.Msg == WM_SIZE, 255);
      if (message.Msg == WM_SIZE) RedrawWindow(Wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
      return true;
    case WM_DRAWITEM:
      // An owner-drawn static's text lies over the skinned dialog face, not on a box of its own.
      if (auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam); item && item->CtlType == ODT_STATIC)
        SetBkMode(item->hDC, TRANSPARENT);
      return false;
    case WM_SETFOCUS:
      ForwardToReplacedWndProc(message);
      RedrawWindow(GetActiveWindow(), nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
      return true;
    case WM_ENABLE:
    case WM_SETTEXT:
      if (!visible) return false;
      // The system repaints its own caption on the way: redrawing stays off meanwhile.
      SendMessageW(Wnd, WM_SETREDRAW, 0, 0);
      ForwardToReplacedWndProc(message);
      SendMessageW(Wnd, WM_SETREDRAW, 1, 0);
      if (message.Msg == WM_SETTEXT) ReadWindowText();
      d.BackgroundChanged = true;
      if (BorderForm) BorderForm->UpdateBorderForm(true, 255);
      else SendMessageW(Wnd, WM_NCPAINT, 1, 0);
      return true;
    case WM_PAINT:
      if (!ValidateOnPaint) return false;
      {
        PAINTSTRUCT ps;
        BeginPaint(Wnd, &ps);
        EndPaint(Wnd, &ps);
      }
      message.Result = 0;
      return true;
    case WM_ERASEBKGND:
      ReadWindowPlacement();
      if (!ChildrenAdapted) {
        ChildrenAdapted = true;
        AdaptChildren();
      }
      EraseBackground(reinterpret_cast<HDC>(message.WParam));
      message.Result = 1;
      return true;
    case WM_NCHITTEST:
      message.Result = NCHitTest(message);
      return true;
    case WM_NCPAINT:
      if (!visible) return false;
      ReadWindowPlacement();
      ReadWindowText();
      PaintNonClient();
      if (BorderForm && !IsWindowVisible(BorderForm->Window())) BorderForm->UpdateBorderForm(true, 255);
      return true;
    case WM_NCACTIVATE:
      if (!visible) return false;
      // The system repaints its own caption here without WM_NCPAINT: redrawing stays off.
      SendMessageW(Wnd, WM_SETREDRAW, 0, 0);
      ForwardToReplacedWndProc(message);
      Active = LOWORD(message.WParam) != 0;
      SendMessageW(Wnd, WM_SETREDRAW, 1, 0);
      RefreshFrame();
      if (BorderForm) BorderForm->UpdateBorderForm(true, 255);
      return true;
    case WM_GETDLGCODE:
      message.Result = 0;
      return true;
    case WM_NCLBUTTONDOWN:
      NCLButtonDown(message);
      return true;
    case WM_NCLBUTTONUP:
      NCButtonUp(message);
      return true;
    case WM_LBUTTONUP:
      // A press on a title button that ends over the client area closes nothing.
      if (DialogButtonPressed) SetHotButton(0, true);
      return false;
    case WM_NCLBUTTONDBLCLK:
      // A quick second click on a title button is a click like the first.
      if (IsButtonCode(HitTest(PointOf(message.LParam), 0))) {
        NCLButtonDown(message);
        return true;
      }
      if (message.WParam == HTCAPTION && (MaxEnabled() || RestoreEnabled())) {
        SendMessageW(Wnd, WM_SYSCOMMAND, IsZoomed(Wnd) || IsIconic(Wnd) ? SC_RESTORE : SC_MAXIMIZE, 0);
        SystemMenu->UpdateItems();
      } else if (message.WParam == HTSYSMENU) {
        SendMessageW(Wnd, WM_SYSCOMMAND, SC_CLOSE, 0);
      }
      return true;
    case WM_NCRBUTTONDOWN:
      return message.WParam == HTCAPTION || message.WParam == HTSYSMENU;
    case WM_NCRBUTTONUP:
      ResolveBorderHit(message);
      if (message.WParam == HTCAPTION || message.WParam == HTSYSMENU) {
        SetHotButton(0, true);
        PopupSystemMenu(PointOf(message.LParam).x, PointOf(message.LParam).y);
      }
      return true;
    case WM_CTLCOLORDLG:
      message.Result = reinterpret_cast<LRESULT>(DialogBrush());
      return true;
    case WM_MOUSEMOVE:
      if (TsSkinManager* manager = TsSkinManager::DefaultManager(); manager && IsWindowEnabled(Wnd))
        SetHotWindow(*manager, nullptr);
      return false;
    case WM_MOUSELEAVE:
    case WM_NCMOUSELEAVE:
      SetHotButton(0, true);
      return false;
    case DM_SETDEFID:
      TacScrollWnd::AdapterWndProc(message);
      AdaptChildren();
      return true;
    case kReadaptChildren:
      ForwardToReplacedWndProc(message);
      AdaptChildren();
      RedrawWindow(Wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
      return true;
    default:
      return false;
  }
}

void TacDialogWnd::AfterMessage(const TMessage& message) {
  if (message.Msg == WM_SYSCOMMAND && (message.WParam == SC_MAXIMIZE || message.WParam == SC_RESTORE)) {
    if (MaxVisible()) HotButton = HTMAXBUTTON;
    SetHotButton(0, true);
  }
}

void TacDialogWnd::AdapterWndProc(TMessage& message) {
  if (EndsButtonFades(message)) StopButtonAnimations();
  if (message.Msg == WM_DESTROY) BorderForm.reset();
  if (message.Msg == WM_DESTROY || message.Msg == WM_NCDESTROY || !SkinActive()) {
    if (message.Msg == SM_ALPHACMD && SkinSubCommand(message.WParam) == SKC_NEWSKIN && HandleSkinCommand(message)) return;
    TacScrollWnd::AdapterWndProc(message);
    return;
  }
  if (message.Msg == SM_ALPHACMD ? HandleSkinCommand(message) : HandleWindowMessage(message)) return;
  TacScrollWnd::AdapterWndProc(message);
  AfterMessage(message);
}
