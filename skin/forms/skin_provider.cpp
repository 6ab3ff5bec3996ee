#include "skin/forms/skin_provider.h"

#include "framework/application.h"
#include "framework/bitmap.h"
#include "framework/flag_scope.h"
#include "framework/main_menu.h"
#include "framework/menus.h"
#include "skin/engine/s_label.h"
#include "skin/engine/common_data.h"
#include "skin/engine/common_wndproc.h"
#include "skin/engine/skin_broadcast.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/forms/border_form.h"
#include "skin/forms/control_adapter.h"
#include "skin/forms/form_animation.h"
#include "skin/forms/frame_geometry.h"
#include "skin/forms/frame_metrics.h"
#include "skin/forms/mdi_client.h"
#include "skin/forms/skin_hook.h"
#include "skin/forms/skinnable_menus.h"
#include "skin/forms/system_menu.h"
#include "skin/forms/window_relays.h"

#include <commctrl.h>

#include <utility>
#include <vector>

namespace {

bool Destroying(const TComponent* c) { return c && (c->ComponentState() & csDestroying) != 0; }
bool Loading(const TComponent* c) { return c && (c->ComponentState() & csLoading) != 0; }

// Messages a skinned form drops with the answer 0: they would make the system paint or
// lay out what the provider draws.
bool DroppedMessage(UINT msg) {
  return msg == 0x93 || msg == CM_INVALIDATE || msg == 0xB04C || msg == 0xBC4D || msg == WM_ENTERIDLE ||
         msg == WM_PRINTCLIENT;
}

// WM_SETREDRAW to every visible child window of the form.
void SetChildrenRedraw(TWinControl* form, bool on) {
  for (int i = 0; i < form->ControlCount(); ++i) {
    auto* child = dynamic_cast<TWinControl*>(form->Controls(i));
    if (child && child->HandleAllocated() && IsWindowVisible(child->Handle()))
      SendMessageW(child->Handle(), WM_SETREDRAW, on ? TRUE : FALSE, 0);
  }
}

}  // namespace

TsSkinProvider::TsSkinProvider(TComponent* AOwner) : TComponent(AOwner) {
  for (TComponent* c = AOwner; c && !Form; c = c->Owner()) Form = dynamic_cast<TForm*>(c);
  SkinData = std::make_unique<TsCommonData>(this, false);
  SkinData->OnSectionChanged = [this] {
    SkinData->BackgroundChanged = true;
    TitleBmp.reset();
  };
  SkinData->SetSkinSection("FORM");
  SkinData->ControlKind = ckForm;
  if (Form && Form->ControlState() != 0) SkinData->Updating = true;
  if (!Form) return;
  // A newer provider replaces the older one, which first gives back the procedure it took.
  for (int i = 0; i < Form->ComponentCount(); ++i) {
    auto* older = dynamic_cast<TsSkinProvider*>(Form->Components(i));
    if (older && older != this && older->Form) {
      older->Free();
      break;
    }
  }
  Form->SetDoubleBuffered(false);
  SetupPending = true;
  oldWndProc_ = Form->WindowProc();
  Form->SetWindowProc([this](TMessage& m) { FormWndProc(m); });
  hooked_ = true;
  RegisterSkinnedForm(Form);
  FormActive = true;
}

TsSkinProvider::~TsSkinProvider() {
  StopButtonAnimations();
  BorderForm.reset();
  ForgetMDIParent();
  ForgetFormProvider(this);
  for (TitleButtonData* button : {&ButtonMin, &ButtonMax, &ButtonClose, &ButtonHelp}) ReleaseTitleButtonGlow(*button);
  // A form that is being freed is past its control part by now: leave it alone.
  if (Form && !Destroying(Form)) {
    UnregisterSkinnedForm(Form);
    if (hooked_) Form->SetWindowProc(oldWndProc_);
    RefreshMergedMenuLine();
  }
  hooked_ = false;
  CtrlAdapter.reset();
  FreeScrollWnd();
  SkinData.reset();
}

void TsSkinProvider::AfterConstruction() {
  TComponent::AfterConstruction();
  TsSkinManager* manager = Manager();
  if (manager && manager->Active()) SetupForSkin();
}

// A provider placed in a form's layout is made ready for the skin once the layout is complete.
void TsSkinProvider::Loaded() {
  TComponent::Loaded();
  if (!Manager() || !SkinActiveFor(SkinData.get(), true)) return;
  if (Form && Form->HandleAllocated()) SetDwmTransitions(Form->Handle(), true);
  if (!CtrlAdapter) CreateControlAdapter();
  SetupForSkin();
  if (SystemMenu) SystemMenu->UpdateItems(false);
  if (MDIForm) MDIForm->ConnectToClient();
}

void TsSkinProvider::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  auto* manager = dynamic_cast<TsSkinManager*>(component);
  if (manager && operation == opInsert && !SkinData->SkinManager()) SkinData->SetSkinManager(manager);
  if (manager && operation == opRemove && SkinData->SkinManager() == manager) SkinData->SetSkinManager(nullptr);
  auto* windowed = dynamic_cast<TWinControl*>(component);
  if (windowed && operation == opInsert && CtrlAdapter && CtrlAdapter->AcceptControl(windowed))
    CtrlAdapter->AddControl(windowed);
}

TsSkinProvider* ProviderOfForm(TForm* form) {
  if (!form || !form->HandleAllocated()) return nullptr;
  return reinterpret_cast<TsSkinProvider*>(SendSkinCommandToWindow(form->Handle(), SKC_GETPROVIDER));
}

// ---------------------------------------------------------------------------- kinds

bool TsSkinProvider::HasBorder() const { return Form && (Form->BorderStyle() != bsNone || Form->FormStyle() == fsMDIChild); }

bool TsSkinProvider::HasNormalCaption() const {
  return Form && (Form->BorderStyle() == bsSingle || Form->BorderStyle() == bsSizeable);
}

bool TsSkinProvider::GripVisible() const {
  return Form && GripMode == gmRightBottom && Form->WindowState() != wsMaximized && Form->HandleAllocated() &&
         (GetWindowLongPtrW(Form->Handle(), GWL_STYLE) & WS_THICKFRAME);
}

TsSkinManager* TsSkinProvider::Manager() const { return SkinData ? SkinData->SkinManager() : nullptr; }

bool TsSkinProvider::Skinned() const { return !FormDestroying() && SkinActiveFor(SkinData.get(), true); }

bool TsSkinProvider::FormDestroying() const { return !Form || Destroying(Form) || Destroying(this); }

bool TsSkinProvider::FormShowing() const {
  return Form && Form->HandleAllocated() && IsWindowVisible(Form->Handle());
}

void TsSkinProvider::Prev(TMessage& message) {
  if (oldWndProc_) oldWndProc_(message);
}

// ---------------------------------------------------------------------------- operations

void TsSkinProvider::SetUseGlobalColor(bool value) {
  if (useGlobalColor_ == value) return;
  useGlobalColor_ = value;
  if (!Form) return;
  TsSkinManager* manager = Manager();
  if (SkinActiveFor(SkinData.get(), true) && value && !SkinData->CustomColor()) Form->SetColor(GlobalInfoColor(manager));
  else Form->SetColor(clBtnFace);
}

void TsSkinProvider::RepaintFrame() {
  SkinData->BackgroundChanged = true;
  TitleBmp.reset();  // a whole new picture, not the kept caption
  if (Form && Form->HandleAllocated() && IsWindowVisible(Form->Handle()))
    SendMessageW(Form->Handle(), WM_NCPAINT, 0, 0);
}

void TsSkinProvider::SetCaptionAlignment(TAlignment value) {
  if (captionAlignment_ == value) return;
  captionAlignment_ = value;
  RepaintFrame();
}

void TsSkinProvider::SetShowAppIcon(bool value) {
  if (showAppIcon_ == value) return;
  showAppIcon_ = value;
  RepaintFrame();
}

void TsSkinProvider::SetTitleSkin(const std::string& value) {
  if (titleSkin_ == value) return;
  titleSkin_ = value;
  TitleSectionIndex = TitleSectionOfSkin();
  RepaintFrame();
  if (BorderForm) BorderForm->UpdateBorderForm(true, 255);
}

// The line is drawn from the new section at once, as a change of the title's is.
void TsSkinProvider::SetMenuLineSkin(const std::string& value) {
  if (menuLineSkin_ == value) return;
  menuLineSkin_ = value;
  RepaintFrame();
}

void TsSkinProvider::SetAllowExtBorders(bool value) {
  if (allowExtBorders_ == value) return;
  allowExtBorders_ = value;
  if (Loading(this)) return;
  // Only a skin with extended borders has a border window to give.
  TsSkinManager* manager = Manager();
  UpdateBorderFormPresence(manager && Skinned() && manager->ExtendedBorders());
  SkinData->BackgroundChanged = true;
  if (Form && Form->HandleAllocated()) RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void TsSkinProvider::LockRedraw() {
  SkinData->StartUpdate();
  if (Form) Form->Perform(WM_SETREDRAW, FALSE, 0);
}

void TsSkinProvider::UnlockRedraw() {
  SkinData->FinishUpdate();
  if (Form) Form->Perform(WM_SETREDRAW, TRUE, 0);
}

void TsSkinProvider::SetupForSkin() {
  TsSkinManager* manager = Manager();
  if (!manager || !Form || !Form->HandleAllocated()) return;
  SkinData->ApplySkinColors();
  UpdateSysMenuStyle(manager->Active());
  if (!SystemMenu) {
    SystemMenu = std::make_unique<TsSystemMenu>(nullptr, Form);
    SystemMenu->SysMenuStyleRemoved = SysMenuStyleRemoved;
    SystemMenu->UpdateItems(false);
  }
  if (SetupPending && manager->Active()) SetupPending = false;
  UpdateSkinIndexes(*SkinData);
  TitleSectionIndex = TitleSectionOfSkin();
  CaptionSectionIndex = SectionIndexByName(manager, "CAPTION");
  LoadTitleButtonImages();
  if (!(Form->ControlState() & csCreating) && !Loading(Form) && !Loading(this)) ApplyFormColor();
  SkinMenus(SkinActiveFor(SkinData.get(), false));
  RefreshMainMenuOnce();
  if (!Loading(Form)) UpdateBorderFormPresence(manager->ExtendedBorders());
  if (manager->Active()) SetupMDIForSkin();
}

void TsSkinProvider::ApplyFormColor() {
  TsSkinManager* manager = Manager();
  if (manager && useGlobalColor_ && !SkinData->CustomColor()) Form->SetColor(GlobalInfoColor(manager));
}

// While the provider draws the frame, the window has no WS_SYSMENU: the system then neither
// draws nor hit-tests caption buttons of its own.
void TsSkinProvider::UpdateSysMenuStyle(bool skinActive) {
  if (!Form || !Form->HandleAllocated()) return;
  HWND wnd = Form->Handle();
  const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
  if (!skinActive) {
    if (SysMenuStyleRemoved) SetWindowLongPtrW(wnd, GWL_STYLE, style | WS_SYSMENU);
    SysMenuStyleRemoved = false;
  } else if ((style & WS_SYSMENU) || SysMenuStyleRemoved) {
    const bool remove = DrawNonClientArea && HasBorder();
    // Some systems make the window menu only for a window that has WS_SYSMENU at the first
    // request: make it while the bit is still there.
    if (style & WS_SYSMENU) GetSystemMenu(wnd, FALSE);
    SetWindowLongPtrW(wnd, GWL_STYLE, remove ? style & ~WS_SYSMENU : style | WS_SYSMENU);
    SysMenuStyleRemoved = true;
  } else {
    SysMenuStyleRemoved = false;
  }
  if (SystemMenu) SystemMenu->SysMenuStyleRemoved = SysMenuStyleRemoved;
}

void TsSkinProvider::LoadTitleButtonImages() {
  TsSkinManager* manager = Manager();
  const int global = SectionIndexByName(manager, "GLOBALINFO");
  if (!manager || !SectionIndexValid(manager, global)) return;
  UserButtonMaskIndex = MaskIndexByName(manager, global, "GLOBALINFO", "TITLEBUTTON");
  for (int i = 0; i < TitleButtons.Count(); ++i) {
    TsTitleButton& user = TitleButtons.Items(i);
    user.Data.ImageIndex = user.UseSkinData ? UserButtonMaskIndex : -1;
  }
  ButtonMin.HitCode = HTMINBUTTON;
  ButtonMax.HitCode = HTMAXBUTTON;
  ButtonClose.HitCode = HTCLOSE;
  ButtonHelp.HitCode = HTHELP;
  auto mask = [&](const char* name) { return MaskIndexByName(manager, global, "GLOBALINFO", name); };
  const bool big = HasNormalCaption();
  ButtonMin.ImageIndex = mask(big ? "BICONMIN" : "SICONMIN");
  ButtonMax.ImageIndex = mask(big ? "BICONMAX" : "SICONMAX");
  ButtonClose.ImageIndex = mask(big ? "BICONCLOSE" : "SICONCLOSE");
  ButtonHelp.ImageIndex = big ? mask("BICONHELP") : mask("SICONHELP");
  if (!big && ButtonHelp.ImageIndex < 0) ButtonHelp.ImageIndex = mask("BICONHELP");
  for (TitleButtonData* b : {&ButtonMin, &ButtonMax, &ButtonClose, &ButtonHelp}) b->BigIcon = big;
  if (ButtonClose.ImageIndex < 0) {
    ButtonMin.ImageIndex = mask("BICONMIN");
    ButtonMax.ImageIndex = mask("BICONMAX");
    ButtonClose.ImageIndex = mask("BICONCLOSE");
    ButtonHelp.ImageIndex = mask("BICONHELP");
    for (TitleButtonData* b : {&ButtonMin, &ButtonMax, &ButtonClose, &ButtonHelp}) b->BigIcon = true;
  }
  LoadMDIChildButtonImages();
}

void TsSkinProvider::SkinMenus(bool active) {
  TsSkinManager* manager = Manager();
  if (!manager || !manager->IsDefault() || !Form) return;
  const bool popups = active && manager->SkinnedPopups();
  TsSkinableMenus& menus = SkinableMenusOf(*manager);
  for (int i = 0; i < Form->ComponentCount(); ++i) {
    if (auto* menu = dynamic_cast<TPopupMenu*>(Form->Components(i))) menus.HookMenuOwnerDraw(menu, popups);
    if (auto* bar = dynamic_cast<TMainMenu*>(Form->Components(i))) {
      menus.HookMainMenu(bar, active && DrawNonClientArea);
      for (int j = 0; j < bar->Items()->Count(); ++j) menus.HookMenuItems(bar->Items()->Items(j), popups);
    }
  }
}

void TsSkinProvider::CreateControlAdapter() {
  if (!SkinActiveFor(SkinData.get(), false)) return;
  CtrlAdapter = std::make_unique<TacCtrlAdapter>(this);
  CtrlAdapter->AdaptControls(nullptr);
}

void TsSkinProvider::RemoveAdapters() {
  if (CtrlAdapter)
    CtrlAdapter->BroadcastMessage(SM_ALPHACMD, MakeSkinWParam(SKC_REMOVESKIN), reinterpret_cast<LPARAM>(Manager()));
  CtrlAdapter.reset();
}

void TsSkinProvider::BroadcastToAdapters(const TMessage& message) {
  if (CtrlAdapter) CtrlAdapter->BroadcastMessage(message.Msg, message.WParam, message.LParam);
}

// ---------------------------------------------------------------------------- dispatch

void TsSkinProvider::FormWndProc(TMessage& message) {
  try {
    if (DropsTitleImage(message)) TitleBmp.reset();
    if (message.Msg == SM_ALPHACMD && AnswerAnyState(message)) return;
    if (!Skinned()) return UnskinnedMessage(message);
    if (message.Msg == SM_ALPHACMD) return SkinnedCommand(message);
    BorderMessageBefore(message);
    SkinnedMessage(message);
    BorderMessageAfter(message);
  } catch (...) {
    // A failure while painting would otherwise be reported at every paint; the message
    // gets the form's own handling instead.
    if (message.Msg == WM_PAINT || message.Msg == WM_ERASEBKGND || message.Msg == WM_PRINT) Prev(message);
    else throw;
  }
}

bool TsSkinProvider::AnswerAnyState(TMessage& message) {
  auto* manager = reinterpret_cast<TsSkinManager*>(message.LParam);
  switch (SkinSubCommand(message.WParam)) {
    case SKC_NEWSKIN:
      if (!FormDestroying() && manager == Manager()) SetupForSkin();
      return false;
    case SKC_REMOVESKIN:
      RemoveSkin(manager);
      return true;
    case SKC_ISSKINNED: message.Result = 1; return true;
    case SKC_GETBGINFO: AnswerBackgroundInfo(message); return true;
    case SKC_CHILDTRANSPARENCY: message.Result = SkinData->SkinState; return true;
    case SKC_GETAPPLICATION: message.Result = reinterpret_cast<LRESULT>(&Application); return true;
    case SKC_GETCLIENTOFFSET: message.Result = MAKELONG(ClientOffsetX(), ClientOffsetY()); return true;
  }
  return false;
}

void TsSkinProvider::RemoveSkin(TsSkinManager* manager) {
  if (manager != Manager() || !Form) {
    if (Form) RelaySkinMessageToControls(Form, SKC_REMOVESKIN, reinterpret_cast<LPARAM>(manager));
    return;
  }
  FreeScrollWnd();
  if (Form->HandleAllocated()) SetDwmTransitions(Form->Handle(), false);
  RemoveAdapters();
  UpdateBorderFormPresence(false);
  TMessage command{SM_ALPHACMD, MakeSkinWParam(SKC_REMOVESKIN), reinterpret_cast<LPARAM>(manager), 0};
  SkinCommandHandler(command, SkinData.get());
  MenuLineCount = TitleSectionIndex = CaptionSectionIndex = -1;
  RelaySkinMessageToControls(Form, SKC_REMOVESKIN, reinterpret_cast<LPARAM>(manager));
  ClearMenuCache();
  if (FormDestroying()) return;
  SkinMenus(false);
  UpdateSysMenuStyle(false);
  if (HasBorder() && !InMenuLoop && Form->HandleAllocated()) SetWindowRgn(Form->Handle(), nullptr, TRUE);
  UpdateMDIForm(false);
  // The bar's items were measured for the skin: the system's look measures them again.
  RefreshMainMenu();
  // The labels the adapter recoloured get the system's text colour back; the skinned labels
  // follow the skin themselves.
  for (int i = 0; i < Form->ComponentCount(); ++i) {
    auto* label = dynamic_cast<TLabel*>(Form->Components(i));
    if (label && !dynamic_cast<TsCustomLabel*>(label)) label->Font().SetColor(clWindowText);
  }
  if (useGlobalColor_ && !SkinData->CustomColor()) Form->SetColor(clBtnFace);
  SkinData->CacheBitmap.reset();
  // The MDI client shows its children again; any other form is redrawn with the desktop,
  // which also repaints what its shadow and extended frame covered.
  RedrawWindow(MDIClientWnd(), nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_FRAME);
}

HWND TsSkinProvider::MDIClientWnd() const {
  return Form && Form->FormStyle() == fsMDIForm && Form->HandleAllocated() ? Form->ClientHandle() : nullptr;
}

void TsSkinProvider::AnswerBackgroundInfo(TMessage& message) {
  auto& info = *reinterpret_cast<BackgroundInfo*>(message.LParam);
  if (!Skinned()) {
    // Without a skin the form is its colour, as the skinned controls then are theirs.
    info.Kind = BG_COLOR;
    info.Color = static_cast<TColor>(ColorToRGB(Form ? Form->Color() : clBtnFace));
    return;
  }
  if (SkinData->BackgroundChanged && !SkinData->Updating && SkinData->CacheReusable()) BuildFormFrameImage();
  if (info.PaintNow) {
    info.OffsetX += ClientOffsetX();
    info.OffsetY += ClientOffsetY();
  }
  SkinData->FillBackgroundInfo(info, FormActive, Form->Handle());
  if (info.Kind == BG_BITMAP && !info.PaintNow) {
    if (!info.Bitmap) {
      BuildFormFrameImage();
      info.Bitmap = SkinData->CacheBitmap.get();
    }
    info.OffsetX = ClientOffsetX();
    info.OffsetY = ClientOffsetY();
  }
}

void TsSkinProvider::ApplyNewSkin() {
  TsSkinManager* manager = Manager();
  ClearMenuCache();
  UpdateSkinIndexes(*SkinData);
  TitleSectionIndex = TitleSectionOfSkin();
  CaptionSectionIndex = SectionIndexByName(manager, "CAPTION");
  if (manager) {
    LoadTitleButtonImages();
    UpdateSysMenuStyle(true);
  }
  SkinData->BackgroundChanged = true;
}

void TsSkinProvider::UnskinnedMessage(TMessage& message) {
  if (message.Msg == SM_ALPHACMD) {
    const WORD command = SkinSubCommand(message.WParam);
    if (command == SKC_NEWSKIN && !FormDestroying()) {
      if (reinterpret_cast<TsSkinManager*>(message.LParam) != Manager()) return;
      ApplyNewSkin();
      TsSkinManager* manager = Manager();
      if (manager && !manager->Loading()) SkinMenus(true);
      ApplyFormColor();
      if (Form->HandleAllocated()) SetDwmTransitions(Form->Handle(), true);
      if (!CtrlAdapter) CreateControlAdapter();
      else CtrlAdapter->AdaptControls(nullptr);
      return;
    }
    if (command == SKC_GETPROVIDER) {
      message.Result = reinterpret_cast<LRESULT>(this);
      return;
    }
  }
  Prev(message);
  // A child that is being freed is no longer skinned itself; its parent's menu line and
  // client still show it.
  if (message.Msg == WM_NCDESTROY && Form && Form->FormStyle() == fsMDIChild) RefreshMDIParentAfterChild();
}

void TsSkinProvider::SkinnedCommand(TMessage& message) {
  TsSkinManager* manager = Manager();
  const bool own = reinterpret_cast<TsSkinManager*>(message.LParam) == manager;
  switch (SkinSubCommand(message.WParam)) {
    case SKC_NEWSKIN:
      if (!own) return;
      ApplyNewSkin();
      if (manager) SkinableMenusOf(*manager).UpdateActive();
      if (Form->HandleAllocated()) SendMessageW(Form->Handle(), WM_NCPAINT, 0, 0);
      return;
    case SKC_REFRESH:
      if (own) Refresh();
      return;
    case SKC_GETPROVIDER: message.Result = reinterpret_cast<LRESULT>(this); return;
    case SKC_SETUPDATING:
      SkinData->SetUpdating(SkinArgument(message.WParam) == 1);
      if (SkinData->Updating) SkinData->BackgroundChanged = true;
      return;
    case SKC_SETFOLLOWPARENT:
      SkinControlWndProc(message, SkinData.get());
      if (SkinData->CacheLocked) BuildFormFrameImage();
      return;
    case SKC_ISUPDATING:
      message.Result = !SkinChangeAnimating && !ShowAnimating && SkinData->CacheReusable() && SkinData->Updating;
      return;
    case SKC_ISBGVARYING: {
      const TsGeneralData* s = SkinData->Section();
      const int v = s ? s->GradientPercent + s->ImagePercent : 0;
      message.Result = message.LParam = v > 0;
      return;
    }
    case SKC_REPAINTGRAPHICS:
      if (BorderForm && Form->Modal()) BorderForm->UpdateBorderForm(false, 255);
      return;
    case SKC_REFRESHBORDERFORM:
      if (BorderForm) BorderForm->UpdateBorderForm(false, 255);
      return;
    case SKC_GETBGCOLOR: message.Result = static_cast<LRESULT>(FormBackgroundColor()); return;
    case SKC_CONTROLCHANGED:
      if (Form && !Loading(Form) && CtrlAdapter)
        CtrlAdapter->AdaptControls(dynamic_cast<TWinControl*>(reinterpret_cast<TControl*>(message.LParam)));
      return;
    case SKC_BEFORESCROLL:
      if (SkinData->BackgroundFollowsParent()) Form->Perform(WM_SETREDRAW, FALSE, 0);
      return;
    case SKC_AFTERSCROLL:
      if (SkinData->BackgroundFollowsParent()) {
        Form->Perform(WM_SETREDRAW, TRUE, 0);
        RedrawWindow(Form->Handle(), nullptr, nullptr,
                     RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_ERASE | RDW_INVALIDATE);
        if (HWND client = MDIClientWnd())
          RedrawWindow(client, nullptr, nullptr, RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_INVALIDATE);
      }
      return;
  }
  // Other skin commands get no answer and are not passed on.
}

void TsSkinProvider::Refresh() {
  TsSkinManager* manager = Manager();
  if (!CtrlAdapter) CreateControlAdapter();
  else CtrlAdapter->AdaptControls(nullptr);
  if (DrawNonClientArea) UpdateScrollAdapter();
  MenuLineCount = -1;
  if (manager && !manager->Loading()) {
    // The owner-drawn bar items take the new skin's measures.
    RefreshMainMenu();
    SkinMenus(SkinActiveFor(SkinData.get(), true));
  }
  if (HasBorder()) RegionChanged = true;
  if (!FormShowing()) return;
  SkinData->BackgroundChanged = true;
  UpdateBorderFormPresence(manager && manager->ExtendedBorders());
  if (!SkinChangeAnimating && !ShowAnimating) RedrawRefreshedForm();
  ApplyFormColor();
  if (MDIForm) MDIForm->RefreshFrame();
  SkinData->SetUpdating(false);
  if (SystemMenu) SystemMenu->UpdateItems(false);
  BroadcastToAdapters(TMessage{SM_ALPHACMD, MakeSkinWParam(SKC_REFRESH), reinterpret_cast<LPARAM>(manager), 0});
  if (BorderForm) BorderForm->UpdateBorderForm(true, 255);
}

void TsSkinProvider::RedrawRefreshedForm() {
  // A maximized MDI child's caption is drawn in its parent's frame.
  TForm* child = MDIClientWnd() ? Form->ActiveMDIChild() : nullptr;
  if (child && child->HandleAllocated() && IsZoomed(child->Handle())) {
    SendMessageW(Form->Handle(), WM_NCPAINT, 0, 0);
    InvalidateRect(child->Handle(), nullptr, TRUE);
    return;
  }
  RedrawWindow(Form->Handle(), nullptr, nullptr, RDW_FRAME | RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
  if (HWND client = MDIClientWnd())
    RedrawWindow(client, nullptr, nullptr, RDW_FRAME | RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
}

void TsSkinProvider::SkinnedMessage(TMessage& message) {
  if (DroppedMessage(message.Msg)) {
    message.Result = 0;
    return;
  }
  if (Form->FormStyle() == fsMDIChild && MDIChildMessage(message)) return;
  if (FormMouseMessage(message)) return;
  switch (message.Msg) {
    case WM_CREATE:
    case WM_NCCREATE:
      // A window made again (a new border style) takes the skin from its start. An MDI child
      // is set up with its parent, and an MDI parent once its client window is there: that
      // is made after the parent's own window.
      Prev(message);
      if (Form->FormStyle() == fsNormal || Form->FormStyle() == fsStayOnTop) SetupForSkin();
      return;
    case WM_SETREDRAW:
      RedrawLockCount = message.WParam == 1 ? std::max(0, RedrawLockCount - 1) : RedrawLockCount + 1;
      return Prev(message);
    case WM_SIZE: {
      LastClientRect = RECT{0, 0, LOWORD(message.LParam), HIWORD(message.LParam)};
      Prev(message);
      if (SkinChangeAnimating || ShowAnimating) return;
      if (FrameImageSizeChanged()) {
        SkinData->BackgroundChanged = true;
        RegionChanged = true;
        if (!FormShowing()) return;
        if (DrawNonClientArea && HasBorder()) SendMessageW(Form->Handle(), WM_NCPAINT, 0, 0);
        InvalidateRect(Form->Handle(), nullptr, FALSE);
      }
      return;
    }
    case WM_ACTIVATE: return ActivateMessage(message);
    case WM_NCACTIVATE: return NCActivateMessage(message);
    case WM_ENTERMENULOOP:
    case WM_EXITMENULOOP: return MenuLoopMessage(message);
    case WM_NCPAINT: return NCPaintMessage(message);
    case WM_SETTEXT: return SetTextMessage(message);
    case WM_SETICON:
      if (FormShowing() && HasBorder() && DrawNonClientArea) PrevWithoutCaptionPaint(message);
      else Prev(message);
      RepaintNonClient();
      return;
    case WM_ERASEBKGND: return EraseMessage(message);
    case WM_PAINT: return PaintMessage(message);
    case WM_PRINT:
      // A form whose redraw is locked (as for the skin-change animation) lacks WS_VISIBLE
      // for the while, and is printed all the same.
      if ((FormShowing() || RedrawLockCount > 0) && !Loading(this) && !(Form->ControlState() & csCreating)) {
        RefreshMainMenuOnce();
        PrintForm(reinterpret_cast<HDC>(message.WParam));
      }
      return;
    case WM_SYSCOLORCHANGE:
      Prev(message);
      RefreshMainMenu();
      return;
    case WM_INITMENUPOPUP: return InitMenuPopup(message);
    case WM_NOTIFY:
      Prev(message);
      // A page control shows a page whose controls the program may have made just now.
      if (message.LParam && reinterpret_cast<NMHDR*>(message.LParam)->code == static_cast<UINT>(TCN_SELCHANGE) && CtrlAdapter)
        CtrlAdapter->AdaptControls(nullptr);
      return;
    case WM_SETTINGCHANGE:
      SkinData->BackgroundChanged = true;
      return Prev(message);
    case WM_SHOWWINDOW:
      if (message.LParam == 1 && message.WParam)
        ShownState = IsIconic(Form->Handle()) ? 2 : IsZoomed(Form->Handle()) ? 3 : 1;
      return Prev(message);
    case WM_GETMINMAXINFO: return MinMaxInfo(message);
    case WM_WINDOWPOSCHANGING: return WindowPosChanging(message);
    case WM_MEASUREITEM:
      MeasureMenuBarItem(message);
      return Prev(message);
    case WM_CONTEXTMENU:
      if (Form->PopupMenu() && Manager()) SkinableMenusOf(*Manager()).HookMenuOwnerDraw(Form->PopupMenu(), true);
      return Prev(message);
    case WM_PARENTNOTIFY: {
      const WORD event = LOWORD(message.WParam);
      if (Loading(this) || Loading(Form) || (event != WM_CREATE && event != WM_DESTROY)) return Prev(message);
      Prev(message);
      if (event == WM_CREATE && CtrlAdapter) CtrlAdapter->AdaptControls(nullptr);
      RelaySkinMessageToControls(Form, SKC_CHILDTRANSPARENCY, 1);
      if (DrawNonClientArea && ScrollWnd) ScrollWnd->RefreshScrollBars(true);
      return;
    }
    case CM_VISIBLECHANGED:
      Prev(message);
      // An emptied picture must be built again before it is shown.
      if (!message.WParam && !FormDestroying() && SkinData->CacheBitmap) {
        SkinData->CacheBitmap->SetSize(0, 0);
        SkinData->BackgroundChanged = true;
      }
      return;
    case CM_ENABLEDCHANGED:
      Prev(message);
      // The caption text is written pale while the form is disabled.
      if (DrawNonClientArea) {
        SkinData->BackgroundChanged = true;
        if (Form->HandleAllocated()) SendMessageW(Form->Handle(), WM_NCPAINT, 0, 0);
      }
      return;
    case CM_COLORCHANGED:
      // The skin decides the colour unless the form keeps its own.
      if (!SkinData->CustomColor()) return;
      if (!(Form->ControlState() & csCreating)) SkinData->BackgroundChanged = true;
      return Prev(message);
    case CM_MENUCHANGED:
      if (!(Form->ControlState() & csCreating) && FormShowing()) RebuildTitle = true;
      return Prev(message);
    case CM_SHOWINGCHANGED: {
      {
        FlagScope showing(FormBeingShown);
        ShowingChanged(message);
      }
      // The border window waited for the form to settle.
      if (BorderForm) BorderForm->UpdateBorderForm(false, 255);
      return;
    }
    case CM_CONTROLLISTCHANGE: {
      Prev(message);
      auto* control = dynamic_cast<TWinControl*>(reinterpret_cast<TControl*>(message.WParam));
      if (!message.LParam || !control) return;
      if (CtrlAdapter) CtrlAdapter->AddControl(control);
      RelaySkinMessageToControls(control, SKC_CHILDTRANSPARENCY, 1);
      control->Perform(SM_ALPHACMD, MakeSkinWParam(SKC_CHILDTRANSPARENCY), 1);
      return;
    }
    case CM_FLOAT:
      Prev(message);
      FreeScrollWnd();
      SendSkinCommandToWindow(Form->Handle(), SKC_REFRESH, reinterpret_cast<LPARAM>(Manager()));
      return;
  }
  Prev(message);
}

void TsSkinProvider::ActivateMessage(TMessage& message) {
  Prev(message);
  if (!FormShowing()) return;
  if (!ScrollWnd && DrawNonClientArea) UpdateScrollAdapter();
  if (Form->ControlState() & csCreating) return;
  MenuLineCount = -1;
  if (Form->FormStyle() == fsMDIChild) RepaintOtherMDIChildren();
  TsSkinManager* manager = Manager();
  if (manager) SkinMenus(SkinActiveFor(SkinData.get(), true));
  if (SystemMenu) SystemMenu->UpdateItems(false);
  if (Form->BorderStyle() == bsNone) NotifyChildrenParentUpdated(Form);
}

// The other children's captions follow the change of the active one; the parent's frame,
// which shows the active child's buttons, is built again.
void TsSkinProvider::RepaintOtherMDIChildren() {
  TsSkinProvider* parent = MDISkinProvider;
  if (!parent || parent->FormDestroying()) return;
  parent->SkinData->BackgroundChanged = true;
  for (int i = 0; i < parent->Form->MDIChildCount(); ++i) {
    TForm* child = parent->Form->MDIChildren(i);
    if (child && child != Form && child->HandleAllocated() && IsWindowVisible(child->Handle()))
      SendMessageW(child->Handle(), WM_NCPAINT, 0, 0);
  }
}

void TsSkinProvider::NCActivateMessage(TMessage& message) {
  if (Destroying(this)) return Prev(message);
  const bool active = message.WParam != 0;
  FormActive = active;
  if (!active && ShownState == 3) ShownState = 0;
  else if (ShownState == 3) SkinData->SetUpdating(true);
  else {
    SkinData->BackgroundChanged = true;
    SkinData->SetUpdating(false);
  }
  const bool framed = FormShowing() && HasBorder() && DrawNonClientArea;
  if (framed) PrevWithoutCaptionPaint(message);
  else Prev(message);
  if (Form->FormStyle() == fsMDIChild) RefreshMDIParentOnActivation();
  if (GetWindowLongPtrW(Form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED) SendMessageW(Form->Handle(), WM_NCPAINT, 0, 0);
  if (Form->ControlState() & csCreating) return;
  // The parent of a maximized child stays drawn active while the child is.
  if (HasBorder() && ShowMDIChildButtons()) {
    TForm* child = Form->ActiveMDIChild();
    if (active || (child && child->Active())) {
      FormActive = true;
      MenuLineCount = -1;
    }
  }
  if (framed) SendMessageW(Form->Handle(), WM_NCPAINT, 0, 0);
  // The border window is brought up to date after the message, in BorderMessageAfter.
  if (Manager()) SkinMenus(SkinActiveFor(SkinData.get(), true));
  RefreshMainMenuOnce();
  if (Skinned() && !CtrlAdapter) CreateControlAdapter();
}

void TsSkinProvider::NCPaintMessage(TMessage& message) {
  // A borderless form has no frame of its own to paint over.
  if (!DrawNonClientArea || !HasBorder()) return Prev(message);
  if (IsIconic(Form->Handle())) SkinData->BackgroundChanged = true;
  if (AnimShowPending || !FormShowing() || Loading(this) || !SystemMenu) return;
  if (!CtrlAdapter) CreateControlAdapter();
  PaintNonClient();
  message.Result = 0;
}

void TsSkinProvider::SetTextMessage(TMessage& message) {
  if (!FormShowing() || (Form->ControlState() & csCreating) || !DrawNonClientArea || !HasBorder()) return Prev(message);
  TsSkinProvider* parent = MDISkinProvider;
  if (Form->FormStyle() == fsMDIChild && IsZoomed(Form->Handle()) && parent && !parent->FormDestroying()) {
    // A maximized child's caption is shown in its parent's: the system would write it there
    // in its own look.
    parent->SkinData->BackgroundChanged = true;
    PrevWithoutCaptionPaint(message, parent->Form->Handle());
    parent->RefreshNonClient();
  } else {
    SkinData->BackgroundChanged = true;
    PrevWithoutCaptionPaint(message);
    RepaintNonClient();
    if (Form->AlphaBlend()) SendMessageW(Form->Handle(), WM_NCPAINT, 0, 0);
  }
  if (BorderForm) BorderForm->UpdateBorderForm(true, 255);
}

namespace {

// The parts of a window and its children still waiting to be painted. Switching redraw off
// validates them all (it does under Wine), so whatever was pending when the caption was kept
// off the screen is asked for again afterwards; else a form shown and activated at once
// stays black where its client was never painted.
class PendingPaints {
 public:
  explicit PendingPaints(HWND wnd) {
    Keep(wnd);
    EnumChildWindows(wnd, &KeepChild, reinterpret_cast<LPARAM>(this));
  }
  void Restore() {
    for (auto& [wnd, region] : pending_)
      if (IsWindow(wnd)) RedrawWindow(wnd, nullptr, region.get(), RDW_INVALIDATE | RDW_ERASE);
  }

 private:
  static BOOL CALLBACK KeepChild(HWND child, LPARAM self) {
    reinterpret_cast<PendingPaints*>(self)->Keep(child);
    return TRUE;
  }
  void Keep(HWND wnd) {
    efir::gdi::Object<HRGN> region(CreateRectRgn(0, 0, 0, 0));
    const int kind = GetUpdateRgn(wnd, region.get(), FALSE);
    if (kind != NULLREGION && kind != ERROR) pending_.emplace_back(wnd, std::move(region));
  }
  std::vector<std::pair<HWND, efir::gdi::Object<HRGN>>> pending_;
};

}  // namespace

void TsSkinProvider::PrevWithoutCaptionPaint(TMessage& message) { PrevWithoutCaptionPaint(message, Form->Handle()); }

void TsSkinProvider::PrevWithoutCaptionPaint(TMessage& message, HWND wnd) {
  PendingPaints pending(wnd);
  SendMessageW(wnd, WM_SETREDRAW, FALSE, 0);
  struct Redraw {
    HWND wnd;
    PendingPaints& pending;
    ~Redraw() {
      SendMessageW(wnd, WM_SETREDRAW, TRUE, 0);
      pending.Restore();
    }
  } redraw{wnd, pending};
  Prev(message);
}

// Snapping to the work area's edges while the form is moved.
void TsSkinProvider::WindowPosChanging(TMessage& message) {
  if (RegionUpdating) return;
  auto& pos = *reinterpret_cast<WINDOWPOS*>(message.LParam);
  if (ScreenSnap && !IsZoomed(Form->Handle()) && !(pos.flags & SWP_NOMOVE) && (pos.x != 0 || pos.y != 0)) {
    const RECT area = Form->MonitorWorkArea();
    const int w = (pos.flags & SWP_NOSIZE) ? Form->Width() : pos.cx;
    const int h = (pos.flags & SWP_NOSIZE) ? Form->Height() : pos.cy;
    SnapToWorkArea(pos.x, pos.y, w, h, area, SnapBuffer, ExtSideMargin(), ExtTopMargin());
  }
  Prev(message);
}

// The animated show: the form is made visible with nothing on the screen, its children are
// prepared, and the animation brings it up in one piece.
void TsSkinProvider::ShowingChanged(TMessage& message) {
  if (!message.WParam || !SkinData->BackgroundChanged || !DrawNonClientArea) return Prev(message);
  TsSkinManager* manager = Manager();
  SkinMenus(true);
  if (CtrlAdapter) CtrlAdapter->AdaptControls(nullptr);
  const TacFormAnimation& animation =
      HasNormalCaption() ? static_cast<const TacFormAnimation&>(manager->AnimEffects.FormShow)
                         : static_cast<const TacFormAnimation&>(manager->AnimEffects.DialogShow);
  AnimShowPending = Form->FormStyle() != fsMDIChild && !Form->Parent() && animation.Active;
  if (!AnimShowPending) {
    SkinData->SetUpdating(false);
    UpdateBorderFormPresence(manager->ExtendedBorders());
    Prev(message);
    UpdateScrollAdapter();
    RefreshParentOfMaximizedChild();
    return;
  }
  SkinData->SetUpdating(true);
  ShowAnimating = true;
  bool hidden = false;
  // Whatever fails on the way, the form ends visible and the flags cleared.
  struct ShowEnd {
    TsSkinProvider& p;
    ~ShowEnd() {
      p.AnimShowPending = false;
      p.ShowAnimating = false;
      p.RegionUpdating = false;
    }
  } end{*this};
  hidden = SetLayeredHidden(Form, true);
  if (hidden) {
    UpdateWindowRegion(false);
    RegionUpdating = false;
  }
  SetChildrenRedraw(Form, false);
  UpdateBorderFormPresence(manager->ExtendedBorders());
  try {
    Prev(message);
  } catch (...) {
    SetChildrenRedraw(Form, true);
    if (hidden) SetLayeredHidden(Form, false);
    AnimateFormAppearance(Form, 0);
    throw;
  }
  UpdateScrollAdapter();
  SetChildrenRedraw(Form, true);
  if (hidden) SetLayeredHidden(Form, false);
  AnimShowPending = false;
  AnimateFormAppearance(Form, animation.Time);
  UpdateWindowRegion(false);
  ShowAnimating = false;
  RedrawWindow(Form->Handle(), nullptr, nullptr,
               RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_INVALIDATE |
                   (SkinData->CacheReusable() ? RDW_NOERASE : RDW_ERASE));
}
