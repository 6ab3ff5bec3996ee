#include "skin/engine/common_wndproc.h"

#include "framework/application.h"
#include "framework/stdctrls.h"
#include "skin/engine/background_answers.h"
#include "skin/engine/engine_routines.h"
#include "skin/engine/glow.h"
#include "skin/engine/skin_broadcast.h"
#include "skin/engine/skin_manager.h"

namespace {

bool Destroying(const TComponent* c) { return c && (c->ComponentState() & csDestroying) != 0; }

TWinControl* Windowed(TControl* control) {
  return control && control->IsWindowed() ? static_cast<TWinControl*>(control) : nullptr;
}

void RedrawWithFrame(TControl* owner, UINT extra = 0) {
  TWinControl* w = Windowed(owner);
  if (w && w->HandleAllocated()) RedrawWindow(w->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | extra);
}

template <class Each>
void ForEachLiveChild(TControl* owner, Each each) {
  TWinControl* w = Windowed(owner);
  if (!w) return;
  for (int i = 0; i < w->ControlCount(); ++i)
    if (!Destroying(w->Controls(i))) each(w->Controls(i));
}

void PerformSkinCommand(TControl* control, WORD subCommand, WORD argument) {
  control->Perform(SM_ALPHACMD, MakeSkinWParam(subCommand, argument), 0);
}

void RemoveSkin(TsCommonData& d) {
  TsSkinManager* manager = d.SkinManager();
  if (manager && (manager->ComponentState() & csDestroying)) d.OwnSkinManager = nullptr;
  d.BorderMaskIndex = d.SectionIndex = d.TextureMaskIndex = d.HotTextureMaskIndex = -1;
  d.Updating = true;
  if (d.CacheBitmap) d.CacheBitmap->SetSize(0, 0);
  TControl* owner = d.OwnerControl;
  if (dynamic_cast<TEdit*>(owner)) {
    if (!d.CustomColor()) owner->SetColor(clWindow);
    if (!d.CustomFont()) owner->Font().SetColor(clWindowText);
    RedrawWithFrame(owner);
  } else {
    ForEachLiveChild(owner, [](TControl* child) {
      if (dynamic_cast<TLabel*>(child)) child->Font().SetColor(clWindowText);
    });
  }
}

void Refresh(TsCommonData& d) {
  d.BackgroundChanged = true;
  d.Updating = false;
  TControl* owner = d.OwnerControl;
  const TsGeneralData* s = d.Section();
  if (SkinActiveFor(&d, false) && s && dynamic_cast<TEdit*>(owner)) {
    if (!d.CustomColor()) owner->SetColor(s->Color);
    if (!d.CustomFont()) owner->Font().SetColor(s->FontColor[0]);
    RedrawWithFrame(owner);
  }
  d.UpdateCacheMode(false);
}

// The colour behind the owner, for SKC_GETBGCOLOR; the parent counts T/256 of a
// part-transparent section.
TColor BackgroundColorAnswer(TsCommonData& d) {
  TControl* owner = d.OwnerControl;
  const TsGeneralData* s = d.Section();
  auto own = [&] { return static_cast<TColor>(ColorToRGB(owner->Color())); };
  if (!SkinActiveFor(&d, false) || !s) return own();
  int t = s->Transparency;
  if (t == 0) return s->Color;
  TWinControl* parent = owner->Parent();
  TColor p = parent ? static_cast<TColor>(AskControlSkinCommand(parent, SKC_GETBGCOLOR)) : own();
  if (t == 100) return parent && p == 0xFF00FF ? parent->Color() : p;
  uint32_t result = static_cast<uint32_t>(p) & 0xFF000000u;
  for (int shift = 0; shift < 24; shift += 8) {
    int pc = (static_cast<uint32_t>(p) >> shift) & 0xFF, sc = (static_cast<uint32_t>(s->Color) >> shift) & 0xFF;
    result |= static_cast<uint32_t>(efir::skin::ClampToByte((t * (pc - sc) + 256 * sc) >> 8)) << shift;
  }
  return static_cast<TColor>(result);
}

void ParentMoved(TsCommonData& d, WORD argument) {
  bool follows = d.BackgroundFollowsParent();
  d.BackgroundChanged = d.BackgroundChanged || follows;
  TWinControl* w = Windowed(d.OwnerControl);
  if (!w) return;
  if (argument == 1 && w->HandleAllocated())
    RedrawWindow(w->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_NOINTERNALPAINT | RDW_NOERASE | RDW_ALLCHILDREN);
  if (follows) ForEachLiveChild(w, [](TControl* child) { SendSkinCommandToControl(child, SKC_PARENTMOVED); });
}

bool Answer(TMessage& Message, LRESULT result) {
  Message.Result = result;
  return true;
}

// The owner takes focus the way the framework gives it.
bool Focusable(TControl* owner) {
  TWinControl* w = Windowed(owner);
  return w && w->CanFocus() && w->TabStop();
}

// Kinds that show no glow of their own: containers, and the buttons, which glow by fading.
bool GlowsOnHover(int kind) { return !NoGlowKinds.Has(kind) && (kind < 92 || kind > 94); }

void MouseEnter(TsCommonData& d) {
  if (!NoHoverKinds.Has(d.ControlKind)) d.MouseOver = true;
  TWinControl* w = Windowed(d.OwnerControl);
  TsSkinManager* manager = TsSkinManager::DefaultManager();
  if (!w || !manager) return;
  if (w->HandleAllocated()) SetHotWindow(*manager, w->Handle());
  if (GlowsOnHover(d.ControlKind)) d.UpdateGlow(false, nullptr);
  if (EditKinds.Has(d.ControlKind)) {
    d.BackgroundChanged = true;
    RedrawWithFrame(d.OwnerControl, RDW_UPDATENOW);
  }
}

void MouseLeave(TsCommonData& d) {
  if (!NoHoverKinds.Has(d.ControlKind)) d.MouseOver = false;
  if (GlowsOnHover(d.ControlKind)) ReleaseAllGlows();
  if (d.OwnerControl->Visible() && EditKinds.Has(d.ControlKind)) {
    d.BackgroundChanged = true;
    RedrawWithFrame(d.OwnerControl, RDW_UPDATENOW);
  }
}

// An unskinned windowed owner drops a theme it may still carry from its skinned days.
void RemoveWindowTheme(TControl* owner) {
  TWinControl* w = Windowed(owner);
  if (!w || !w->HandleAllocated()) return;
  using IsThemeActiveCall = BOOL(WINAPI*)();
  static HMODULE uxtheme = LoadLibraryW(L"uxtheme.dll");
  if (!uxtheme) return;
  static auto active = reinterpret_cast<IsThemeActiveCall>(GetProcAddress(uxtheme, "IsThemeActive"));
  if (active && active()) SetWindowThemeBound(w->Handle(), nullptr, nullptr);
}

}  // namespace

bool SkinCommandHandler(TMessage& Message, TsCommonData* SkinData) {
  if (!SkinData) return false;
  TsCommonData& d = *SkinData;
  WORD argument = SkinArgument(Message.WParam);
  auto ownManager = [&] { return Message.LParam == reinterpret_cast<LPARAM>(d.SkinManager()); };
  switch (SkinSubCommand(Message.WParam)) {
    case SKC_NEWSKIN:
      if (ownManager()) {
        d.ResolveSkinSection();
        d.UpdateCacheMode(false);
      }
      return false;
    case SKC_REMOVESKIN:
      if (ownManager()) RemoveSkin(d);
      return false;
    case SKC_REFRESH:
      if (ownManager()) Refresh(d);
      return false;
    case SKC_ISSKINNED:
      return Answer(Message, 1);
    case SKC_SETUPDATING:
      d.Updating = argument == 1;
      return false;
    case SKC_SETFOLLOWPARENT:
      d.CacheLocked = argument == 1;
      return false;
    case SKC_ISUPDATING:
      return Answer(Message, d.BackgroundChanged || d.Updating);
    case SKC_ISPARENTPENDING:
      return Answer(Message, d.PartlyOutside);
    case SKC_TRANSPARENTBGCHANGED:
      if (d.SectionIsTransparent() && argument == 1) d.BackgroundChanged = true;
      return false;
    case SKC_INVALIDATESECTION:
      // The engine never names a section to invalidate: only a control without one reacts.
      if (d.SkinSection().empty()) d.InvalidateOwner();
      return false;
    case SKC_SETBGCHANGED:
      d.BackgroundChanged = true;
      return false;
    case SKC_ISBGVARYING: {
      const TsGeneralData* s = d.Section();
      if (!s) return false;
      bool varies = s->Transparency == 100 && d.OwnerControl && d.OwnerControl->Parent()
                        ? IsParentBackgroundVarying(d)
                        : s->GradientPercent + s->ImagePercent > 0 || d.BackgroundFollowsParent();
      Message.LParam = varies;
      return Answer(Message, varies);
    }
    case SKC_PARENTMOVED:
      ParentMoved(d, argument);
      return false;
    case SKC_GETBGCOLOR:
      if (!d.OwnerControl) return false;
      return Answer(Message, BackgroundColorAnswer(d));
    case SKC_SETPARENTPENDING:
      d.PartlyOutside = true;
      return false;
    case SKC_GETSECTIONINDEX:
      return Answer(Message, d.SectionIndex + 1);
    case SKC_GETBGINFO:
      if (Message.LParam) d.FillBackgroundInfo(*reinterpret_cast<BackgroundInfo*>(Message.LParam), false, nullptr);
      return false;
    case SKC_CHILDTRANSPARENCY:
      if (Message.LParam == 1)
        d.UpdateCacheMode(true);
      else
        Message.Result = d.SkinState;
      return true;
    case SKC_GETAPPLICATION:
      Message.Result = reinterpret_cast<LRESULT>(&Application);
      return false;
    default:
      return false;
  }
}

bool SkinControlWndProc(TMessage& Message, TsCommonData* SkinData) {
  if (!SkinData) return false;
  TsCommonData& d = *SkinData;
  TControl* owner = d.OwnerControl;
  // A control on its way out answers nothing: its parent may still ask during the teardown.
  if (Destroying(owner)) return false;
  switch (Message.Msg) {
    case SM_ALPHACMD:
      return SkinCommandHandler(Message, SkinData);
    case WM_MOVE:
      if (owner && d.BackgroundFollowsParent()) {
        d.BackgroundChanged = true;
        PerformSkinCommand(owner, SKC_PARENTMOVED, 1);
        d.ReleaseOwnGlow();
      }
      break;
    case WM_SIZE:
      if (SkinActiveFor(&d, false)) {
        d.BackgroundChanged = true;
        const TsGeneralData* s = d.Section();
        if (s && s->GradientPercent > 0)
          ForEachLiveChild(owner, [](TControl* child) { PerformSkinCommand(child, SKC_PARENTMOVED, 1); });
        d.ReleaseOwnGlow();
      }
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (Focusable(owner)) {
        d.BackgroundChanged = true;
        d.HasFocus = Message.Msg == WM_SETFOCUS;
        if (EditKinds.Has(d.ControlKind) && (d.HasFocus || owner->Visible())) RedrawWithFrame(owner);
      }
      break;
    case CM_ENABLEDCHANGED:
    case WM_FONTCHANGE:
      d.MouseOver = false;
      d.HasFocus = false;
      if (owner && !owner->Enabled()) d.ReleaseOwnGlow();
      break;
    case WM_CONTEXTMENU:
      if (owner && owner->PopupMenu() && d.SkinManager() && WindowSkinning())
        WindowSkinning()->HookMenuOwnerDraw(owner->PopupMenu(), d.SkinManager()->Active());
      break;
    case WM_UPDATEUISTATE:
      if (SkinActiveFor(&d, false)) return true;
      RemoveWindowTheme(owner);
      return false;
    case WM_PARENTNOTIFY:
      if (Windowed(owner) && LOWORD(Message.WParam) == WM_CREATE) NotifyParentFormOfChange(owner);
      break;
    case CM_VISIBLECHANGED:
      if (d.CacheBitmap) {
        if (Message.WParam != 0) {
          d.Updating = false;
          d.BackgroundChanged = true;
        } else {
          d.CacheBitmap->SetSize(0, 0);
        }
      }
      break;
    case CM_MOUSEENTER:
      if (owner) MouseEnter(d);
      break;
    case CM_MOUSELEAVE:
      if (owner) MouseLeave(d);
      break;
  }
  return false;
}
