#include "skin/forms/title_buttons.h"

#include "framework/bitmap.h"
#include "skin/engine/engine_routines.h"
#include "skin/engine/common_data.h"
#include "skin/engine/glow.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_painters.h"
#include "skin/forms/adapter_paint.h"
#include "skin/forms/skin_provider.h"
#include "skin/forms/system_menu.h"
#include "skin/forms/window_adapter.h"

bool TitleButtonDown = false;

// ---------------------------------------------------------------------------- the rules

int TitleButtonNumberAt(const TitleHitInput& in) {
  if (in.HasBorderForm) return 0;
  int number = 0;
  auto at = [&](const RECT& r) { return PtInRect(&r, in.P) != 0; };
  if (in.SystemMenu && in.VisibleClose) {
    if (++number, at(in.Close)) return number;
    if (in.VisibleMax && (++number, at(in.Max))) return number;
    if (in.VisibleMin && (++number, at(in.Min))) return number;
    if (in.HelpIcon && (++number, at(in.Help))) return number;
  }
  for (const UserButtonHit& user : in.User)
    if (++number, user.Visible && at(user.Rect)) return number;
  return 0;
}

namespace {

// The answer of the button numbered n from the right; HTCLIENT where none acts.
int ButtonAnswer(const TitleHitInput& in, int n) {
  const bool minShown = in.VisibleMin || in.Minimized;
  int count = 0;
  if (in.VisibleClose) count = 1 + in.VisibleMax + minShown + in.HelpIcon;
  if (n > count) {
    const size_t user = static_cast<size_t>(n - count - 1);
    return user < in.User.size() && in.User[user].Enabled ? kUserButtonBase + static_cast<int>(user) : HTCLIENT;
  }
  switch (n) {
    case 1: return in.VisibleClose ? HTCLOSE : HTCLIENT;
    case 2:
      if (in.VisibleMax) return in.EnabledMax || (in.EnabledRestore && !in.Minimized) ? HTMAXBUTTON : HTCAPTION;
      if (minShown) return in.EnabledMin ? HTMINBUTTON : HTCAPTION;
      return in.HelpIcon ? HTHELP : HTCLIENT;
    case 3:
      // A minimized form can always be restored from its minimize button.
      if (minShown) return in.Minimized || in.EnabledMin ? HTMINBUTTON : HTCAPTION;
      return in.HelpIcon ? HTHELP : HTCLIENT;
    case 4: return in.HelpIcon && in.VisibleMax ? HTHELP : HTCLIENT;
  }
  return HTCLIENT;
}

int BorderAnswer(const TitleHitInput& in) {
  if (in.Maximized || !in.ThickFrame || in.HasBorderForm) return 0;
  const int b = in.BorderWidth;
  int code = 0;
  if (in.P.y < in.TopBorder) code = HTTOP;
  else if (in.P.y > in.Height - b) code = HTBOTTOM;
  if (in.P.x < b) code = code == HTTOP ? HTTOPLEFT : code == HTBOTTOM ? HTBOTTOMLEFT : HTLEFT;
  else if (in.P.x > in.Width - b) code = code == HTTOP ? HTTOPRIGHT : code == HTBOTTOM ? HTBOTTOMRIGHT : HTRIGHT;
  return code;
}

}  // namespace

int TitleButtonCodeAt(const TitleHitInput& in) {
  const int n = TitleButtonNumberAt(in);
  const int code = n > 0 ? ButtonAnswer(in, n) : HTCLIENT;
  return code == HTCLIENT ? 0 : code;
}

TitleHit TitleHitTest(const TitleHitInput& in) {
  if (const int code = TitleButtonCodeAt(in)) return {code, code};
  if (const int border = BorderAnswer(in)) return {border, -1};
  const int y = in.P.y;
  const int captionBottom = in.Caption + in.TopBorderExt;
  if (y >= 0 && y <= captionBottom) {
    const int menuTop = in.TopBorder + in.Caption;
    if (menuTop <= y && y <= menuTop + in.MenuHeight) return {HTMENU, std::nullopt};
    return {PtInRect(&in.TitleIcon, in.P) ? HTSYSMENU : HTCAPTION, std::nullopt};
  }
  if (y <= captionBottom + in.MenuHeight) {
    if (!in.MDIChildButtons) return {HTMENU, std::nullopt};
    const POINT p{in.P.x + in.MDIShift.x, in.P.y + in.MDIShift.y};
    int code = HTMENU;
    if (PtInRect(&in.MDIClose, p)) code = kMdiCloseHit;
    else if (PtInRect(&in.MDIRestore, p)) code = kMdiRestoreHit;
    else if (PtInRect(&in.MDIMin, p)) code = kMdiMinHit;
    return {code, code};
  }
  if (in.InGrip) return {HTBOTTOMRIGHT, HTBOTTOMRIGHT};
  return {HTCLIENT, 0};
}

// ---------------------------------------------------------------------------- the provider

TsSystemMenu* TsSkinProvider::FormSystemMenu() {
  if (!SystemMenu && Form && Form->HandleAllocated()) SystemMenu = std::make_unique<TsSystemMenu>(nullptr, Form);
  return SystemMenu.get();
}

TitleButtonData* TsSkinProvider::TitleButtonOfCode(int hitCode) {
  switch (hitCode) {
    case HTMINBUTTON: return &ButtonMin;
    case HTMAXBUTTON: return &ButtonMax;
    case HTCLOSE: return &ButtonClose;
    case HTHELP: return &ButtonHelp;
    case kMdiCloseHit: return &ButtonMDIClose;
    case kMdiRestoreHit: return &ButtonMDIRestore;
    case kMdiMinHit: return &ButtonMDIMin;
  }
  TsTitleButton* user = UserButtonOfCode(hitCode);
  return user ? &user->Data : nullptr;
}

TsTitleButton* TsSkinProvider::UserButtonOfCode(int hitCode) {
  if (!IsUserButtonCode(hitCode, TitleButtons.Count())) return nullptr;
  return &TitleButtons.Items(hitCode - kUserButtonBase);
}

POINT TsSkinProvider::FrameOrigin() const {
  RECT r{};
  if (Form && Form->HandleAllocated()) GetWindowRect(Form->Handle(), &r);
  const RECT shadow = ExtShadowMargins();
  return {r.left - shadow.left, r.top - shadow.top};
}

POINT TsSkinProvider::ScreenToFrame(POINT screen) const {
  const POINT origin = FrameOrigin();
  return {screen.x - origin.x, screen.y - origin.y};
}

TitleHitInput TsSkinProvider::TitleHitInputAt(POINT screen) {
  TitleHitInput in;
  HWND wnd = Form->Handle();
  RECT bounds{};
  GetWindowRect(wnd, &bounds);
  in.P = ScreenToFrame(screen);
  in.Width = bounds.right - bounds.left;
  in.Height = bounds.bottom - bounds.top;
  if (TsSystemMenu* menu = FormSystemMenu()) {
    in.SystemMenu = true;
    in.VisibleClose = menu->VisibleClose();
    in.VisibleMax = menu->VisibleMax();
    in.VisibleMin = menu->VisibleMin();
    in.EnabledMax = menu->EnabledMax();
    in.EnabledMin = menu->EnabledMin();
    in.EnabledRestore = menu->EnabledRestore();
  }
  in.HelpIcon = (Form->BorderIcons() & biHelp) != 0;
  in.Minimized = IsIconic(wnd) != 0;
  in.Maximized = IsZoomed(wnd) != 0;
  in.ThickFrame = (GetWindowLongPtrW(wnd, GWL_STYLE) & WS_THICKFRAME) != 0;
  in.Close = ButtonClose.Rect;
  in.Max = ButtonMax.Rect;
  in.Min = ButtonMin.Rect;
  in.Help = ButtonHelp.Rect;
  for (int i = 0; i < TitleButtons.Count(); ++i) {
    const TsTitleButton& user = TitleButtons.Items(i);
    in.User.push_back({user.Data.Rect, user.Visible(), user.Enabled});
  }
  in.BorderWidth = FrameBorderWidth(true);
  in.TopBorder = FrameTopBorderWidth(false);
  in.TopBorderExt = FrameTopBorderWidth(true);
  in.Caption = CaptionHeight(false);
  in.MenuHeight = MenuLineVisible() ? MenuHeight() : 0;
  in.TitleIcon = ShownTitleIconRect();
  in.InGrip = InSizeGrip(in.P);
  if (ShowMDIChildButtons()) {
    const RECT shadow = ExtShadowMargins();
    in.MDIChildButtons = true;
    in.MDIShift = {shadow.left + ExtSideMargin(), shadow.top + ExtTopMargin()};
    in.MDIClose = ButtonMDIClose.Rect;
    in.MDIRestore = ButtonMDIRestore.Rect;
    in.MDIMin = ButtonMDIMin.Rect;
  }
  return in;
}

bool TsSkinProvider::InSizeGrip(POINT p) const {
  if (!GripVisible() && !InScrollCorner(p)) return false;
  TsSkinManager* manager = Manager();
  const int grip = MaskIndexByName(manager, SectionIndexByName(manager, "GLOBALINFO"), "GLOBALINFO", "GRIPIMAGE");
  if (!MaskIndexValid(manager, grip)) return false;
  const POINT at = GripPosition(grip);
  return p.y > at.y && p.x > at.x;
}

LRESULT TsSkinProvider::HitTest(const TMessage& message) {
  const POINT screen = PointOfLParam(message.LParam);
  const TitleHit hit = TitleHitTest(TitleHitInputAt(screen));
  if (hit.Hot) SetHotButton(*hit.Hot, true);
  return hit.Code;
}

void TsSkinProvider::SetHotButton(int hitCode, bool repaint) {
  if (!DrawNonClientArea) return;
  if (hitCode == HotButton || (HotButton == -1 && hitCode == 0)) return;
  if (HotButton > 0) {
    if (TitleButtonData* old = TitleButtonOfCode(HotButton)) old->State = 0;
    if (TsTitleButton* user = UserButtonOfCode(HotButton)) HideTitleButtonHint(*user);
    if (repaint) PaintTitleButton(HotButton);
  }
  HotButton = hitCode;
  if (TitleButtonData* button = TitleButtonOfCode(hitCode)) {
    button->State = 1;
    TrackTitleButtonLeave();
  }
  if (TsTitleButton* user = UserButtonOfCode(hitCode)) ShowTitleButtonHint(*user);
  TitleButtonDown = false;
  if (repaint) PaintTitleButton(hitCode);
}

void TsSkinProvider::PressButton(int hitCode) {
  if (hitCode != HotButton && HotButton != 0) {
    if (TitleButtonData* old = TitleButtonOfCode(HotButton)) old->State = 0;
    if (TsTitleButton* oldUser = UserButtonOfCode(HotButton)) HideTitleButtonHint(*oldUser);
    PaintTitleButton(HotButton);
  }
  if (hitCode == HTMAXBUTTON) {
    TsSystemMenu* menu = FormSystemMenu();
    const bool acts = menu && (menu->EnabledMax() || (IsZoomed(Form->Handle()) && menu->EnabledRestore()));
    if (!acts) {
      HotButton = 0;
      return;
    }
  }
  HotButton = hitCode;
  TitleButtonData* pressed = TitleButtonOfCode(hitCode);
  // The child's restore button looks pressed only when this form could be maximized itself.
  if (hitCode == kMdiRestoreHit && !(FormSystemMenu() && SystemMenu->EnabledMax())) pressed = nullptr;
  if (pressed) pressed->State = 2;
  if (TsTitleButton* user = UserButtonOfCode(hitCode)) HideTitleButtonHint(*user);
  TitleButtonDown = true;
  PaintTitleButton(hitCode);
}

// The leave notice brings a hot button back to normal once the mouse leaves the window (asked
// only with the mouse over it: elsewhere the notice would come at once).
void TsSkinProvider::TrackTitleButtonLeave() {
  HWND wnd = Form->Handle();
  POINT cursor;
  RECT bounds;
  if (!GetCursorPos(&cursor) || !GetWindowRect(wnd, &bounds) || !PtInRect(&bounds, cursor)) return;
  TRACKMOUSEEVENT track{sizeof track, TME_LEAVE | TME_NONCLIENT, wnd, 0};
  TrackMouseEvent(&track);
}

void TsSkinProvider::PaintTitleButton(int hitCode) {
  TitleButtonData* button = TitleButtonOfCode(hitCode);
  if (!button || !Form || !Form->HandleAllocated()) return;
  if (button->State == -1) return ReleaseTitleButtonGlow(*button);
  if (IsMdiChildButtonCode(hitCode)) return RepaintMDIChildButton(hitCode);
  TsSkinManager* manager = Manager();
  if (manager && manager->AllowGlowing()) return StartTitleButtonGlow(hitCode, *button);
  RepaintTitleButton(hitCode, *button);
  ShowTitleButtonGlow(hitCode, *button);
}

// With glowing on, a button's looks fade in and out in a window of their own over the frame.
void TsSkinProvider::StartTitleButtonGlow(int hitCode, TitleButtonData& button) {
  if (button.State == 1) return StartButtonAnimation(button, 1, 10, GlowSource(), true);
  if (button.State == 2) return StartButtonAnimation(button, 2, 1, GlowSource(), true);
  if (button.GlowTimer) return StartButtonAnimation(button, 0, 10, GlowSource(), false);
  RepaintTitleButton(hitCode, button);
}

void TsSkinProvider::ReleaseTitleButtonGlow(TitleButtonData& button) {
  if (button.GlowIndex == -1) return;
  ReleaseGlow(button.GlowIndex);
  button.GlowIndex = -1;
}

int TsSkinProvider::TitleButtonImage(int hitCode, const TitleButtonData& button) const {
  HWND wnd = Form->Handle();
  const bool minimized = IsIconic(wnd) != 0;
  const char* name = nullptr;
  if (hitCode == HTMINBUTTON && minimized) name = "BICONNORM";
  if (hitCode == HTMAXBUTTON) name = IsZoomed(wnd) ? "BICONNORM" : minimized ? "BICONMAX" : nullptr;
  if (!name) return button.ImageIndex;
  TsSkinManager* manager = Manager();
  const int own = MaskIndexByName(manager, SectionIndexByName(manager, "GLOBALINFO"), "GLOBALINFO", name);
  return own >= 0 ? own : MaskIndexByName(manager, SkinData->SectionIndex, SkinData->SkinSection(), name);
}

void TsSkinProvider::RepaintTitleButton(int hitCode, const TitleButtonData& button) {
  PaintGuarded([&] {
    TBitmap* image = SkinData->CacheBitmap.get();
    if (!image || image->Width() <= 0) return;
    const RECT& r = button.Rect;
    // A button over the icon is left alone.
    if (r.left <= ShownTitleIconRect().right) return;
    TsTitleButton* user = UserButtonOfCode(hitCode);
    const int w = user ? TitleButtonWidth(*user) : SysButtonWidth(button), h = SysButtonHeight();
    HDC dc = image->Canvas().Handle();
    if (TitleButtonsBg)
      BitBlt(dc, r.left, r.top, w, h, TitleButtonsBg->Canvas().Handle(), TitleButtonsBgX(r.left), r.top, SRCCOPY);
    TsSkinManager* manager = Manager();
    const int index = TitleButtonImage(hitCode, button);
    const bool disabled = hitCode == HTMAXBUTTON && IsIconic(Form->Handle()) && SystemMenu && !SystemMenu->EnabledMax();
    if (MaskIndexValid(manager, index)) {
      const int mode = (!FormActive || disabled) && (button.State == 0 || disabled) ? 2 : 1;
      CacheSourceInfo self;
      MakeCacheSourceInfo(image, 0, 0, self);
      PaintMaskFrame(image, {r.left, r.top}, button.State, mode, manager->Masks[static_cast<size_t>(index)], self);
    }
    if (user) PaintUserButtonGlyph(*user);
    // With a border window the caption is that window's picture.
    if (BorderForm) return BorderForm->UpdateBorderForm(true, 255);
    HDC window = GetWindowDC(Form->Handle());
    BitBlt(window, r.left, r.top, w, h, dc, r.left, r.top, SRCCOPY);
    ReleaseDC(Form->Handle(), window);
  });
}

void TsSkinProvider::ShowTitleButtonGlow(int hitCode, TitleButtonData& button) {
  TsSkinManager* manager = Manager();
  int size = 0, margin = 0;
  if (manager) {
    const TsSkinData& skin = manager->LoadedSkin;
    if (hitCode == HTMINBUTTON) size = skin.BIMinGlow, margin = skin.BIMinGlowMargin;
    if (hitCode == HTMAXBUTTON) size = skin.BIMaxGlow, margin = skin.BIMaxGlowMargin;
    if (hitCode == HTCLOSE) size = skin.BICloseGlow, margin = skin.BICloseGlowMargin;
  }
  ReleaseTitleButtonGlow(button);
  const int index = TitleButtonImage(hitCode, button);
  if (button.State != 1 || size <= 0 || !manager->AllowGlowing() || Form->Parent() || !MaskIndexValid(manager, index))
    return;
  RECT bounds;
  GetWindowRect(Form->Handle(), &bounds);
  RECT glow = button.Rect;
  OffsetRect(&glow, bounds.left, bounds.top);
  const RECT clip{0, 0, glow.right - glow.left, glow.bottom - glow.top};
  const std::string name = manager->Masks[static_cast<size_t>(index)].PropertyName + "GLOW";
  button.GlowIndex = AttachGlow(glow, clip, "GLOBALINFO", name, margin, 255, Form->Handle(), manager);
}
