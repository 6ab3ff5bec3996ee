// The MDI side of the form provider: the companion that skins an MDI parent's client, the
// MDIAREA section painted into the part of the frame image the client shows, and what an MDI
// child's state changes in its parent's frame (its buttons on the parent's menu line).
#include "framework/application.h"
#include "framework/bitmap.h"
#include "framework/canvas.h"
#include "skin/engine/common_data.h"
#include "skin/engine/engine_routines.h"
#include "skin/engine/item_paint.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/forms/mdi_client.h"
#include "skin/forms/skin_hook.h"
#include "skin/forms/skin_provider.h"
#include "skin/forms/system_menu.h"

TsSkinProvider* ActiveMDIChildProvider = nullptr;
bool MaximizePending = false;

namespace {

// The total height (alTop, alBottom) or width (alLeft, alRight) of the form's visible
// windowed children aligned to that side: the client window fills what they leave.
int Aligned(TForm* form, TAlign side) {
  int total = 0;
  for (int i = 0; i < form->ControlCount(); ++i) {
    TControl* c = form->Controls(i);
    if (!c->IsWindowed() || !c->Visible() || c->Align() != side) continue;
    total += side == alTop || side == alBottom ? c->Height() : c->Width();
  }
  return total;
}

}  // namespace

void TsSkinProvider::UpdateMDIForm(bool create) {
  if (!create) {
    MDIForm.reset();
    return;
  }
  if (MDIForm || !Form || Form->FormStyle() != fsMDIForm) return;
  MDISkinProvider = this;
  MDIForm = std::make_unique<TsMDIForm>(this);
  MDIForm->ConnectToClient();
}

void TsSkinProvider::SetupMDIForSkin() {
  if (!Form) return;
  if (Form->FormStyle() == fsMDIForm) UpdateMDIForm(true);
  if (Form->FormStyle() != fsMDIChild || !MDISkinProvider || MDISkinProvider->FormDestroying() ||
      !SkinActiveFor(SkinData.get(), true))
    return;
  MDISkinProvider->SkinData->BackgroundChanged = true;
  MDISkinProvider->MenuLineCount = -1;
  // A child skinned after it came to the front missed its activation.
  if (MDISkinProvider->Form->ActiveMDIChild() == Form) ActiveMDIChildProvider = this;
}

void TsSkinProvider::ForgetMDIParent() {
  MDIForm.reset();
  if (MDISkinProvider == this) MDISkinProvider = nullptr;
  if (ActiveMDIChildProvider == this) ActiveMDIChildProvider = nullptr;
}

void TsSkinProvider::PaintMDIArea(TBitmap& image) {
  if (!MDIForm || !Form) return;
  TsSkinManager* manager = Manager();
  const int section = SectionIndexByName(manager, "MDIAREA");
  if (!SectionIndexValid(manager, section) || !Form->HandleAllocated()) return;
  // The client part of the image (below the caption and the menu line), less the aligned
  // children around the client window.
  RECT client;
  GetClientRect(Form->Handle(), &client);
  OffsetRect(&client, ClientOffsetX(), ClientOffsetY());
  const RECT area{client.left + Aligned(Form, alLeft), client.top + Aligned(Form, alTop),
                  client.right - Aligned(Form, alRight), client.bottom - Aligned(Form, alBottom)};
  if (area.right <= area.left || area.bottom <= area.top) return;
  CacheSourceInfo behind;
  MakeCacheSourceInfo(&image, 0, 0, behind);
  RenderSectionItemToDC(section, "MDIAREA", behind, true, 0, area, {area.left, area.top}, image.Canvas().Handle(),
                        manager);
}

void TsSkinProvider::InvalidateMDIParentFrame() {
  TsSkinProvider* parent = MDISkinProvider;
  if (!parent || parent->FormDestroying() || !parent->Form->HandleAllocated()) return;
  parent->SkinData->BackgroundChanged = true;
  parent->RebuildTitle = true;
  parent->MenuLineCount = -1;
  SendMessageW(parent->Form->Handle(), WM_NCPAINT, 1, 0);
}

void RefreshMDIParentFrame(bool repaint) {
  TsSkinProvider* parent = MDISkinProvider;
  const auto going = [](const TComponent* c) { return (c->ComponentState() & csDestroying) != 0; };
  if (!parent || !parent->Form || going(parent) || going(parent->Form) || !parent->Form->HandleAllocated()) return;
  parent->SkinData->StartUpdate();
  if (parent->MDIForm) parent->MDIForm->RefreshFrame();
  parent->SkinData->BackgroundChanged = true;
  parent->RebuildTitle = true;
  parent->MenuLineCount = -1;
  parent->SkinData->FinishUpdate();
  if (HWND client = parent->Form->ClientHandle())
    RedrawWindow(client, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE | RDW_FRAME | (repaint ? RDW_UPDATENOW : 0));
  RedrawWindow(parent->Form->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
  if (repaint && parent->BorderForm) parent->BorderForm->UpdateBorderForm(true, 255);
}

void TsSkinProvider::RefreshMDIParentOnActivation() {
  TsSkinProvider* parent = MDISkinProvider;
  if (!parent || !parent->MDIForm || parent->FormDestroying() || !IsWindowVisible(Form->Handle()) ||
      (Form->ControlState() & csCreating) || !FormShowing())
    return;
  // A child activated before its first paint has no system menu yet: its buttons need one.
  if (!SystemMenu) SetupForSkin();
  parent->MDIForm->RefreshFrame();
  SendMessageW(parent->Form->Handle(), WM_NCPAINT, 0, 0);
  if (HWND client = parent->Form->ClientHandle()) SendMessageW(client, WM_NCPAINT, 0, 0);
}

bool TsSkinProvider::MDIChildMessage(TMessage& message) {
  switch (message.Msg) {
    case WM_CREATE: {
      // A child made before its parent was skinned brings the parent's skinning forward.
      TForm* main = Application.MainForm();
      if (!MDISkinProvider && main && main != Form && main->HandleAllocated()) SkinActivatedWindow(main->Handle());
      TForm* parent = MDISkinProvider ? MDISkinProvider->Form : nullptr;
      TForm* active = parent ? parent->ActiveMDIChild() : nullptr;
      MaximizePending = active && active != Form && active->HandleAllocated() && IsZoomed(active->Handle());
      Prev(message);
      return true;
    }
    case WM_CHILDACTIVATE: {
      Prev(message);
      RefreshMainMenu();
      // The buttons on the parent's menu line are the newly active child's now.
      TsSkinProvider* parent = MDISkinProvider;
      TForm* active = parent && parent->MDIForm ? parent->Form->ActiveMDIChild() : nullptr;
      if (active && active->HandleAllocated() && IsZoomed(active->Handle())) parent->MDIForm->RefreshFrame();
      return true;
    }
    case WM_MDIACTIVATE:
      Prev(message);
      // A maximized child's caption lives in the parent's frame, which it repaints itself.
      if (!IsZoomed(Form->Handle())) {
        MainMenuRefreshed = false;
        InvalidateMDIParentFrame();
      }
      // The child that comes to the front shows its buttons on the menu line (the one that
      // leaves hears the message too, before or after it).
      if (reinterpret_cast<HWND>(message.LParam) == Form->Handle()) ActiveMDIChildProvider = this;
      return true;
    case WM_NCDESTROY: {
      // A child that goes before its first paint does not keep the others from restoring.
      MaximizePending = false;
      Prev(message);
      RefreshMDIParentAfterChild();
      return true;
    }
  }
  return false;
}

void TsSkinProvider::RefreshMDIParentAfterChild() {
  TsSkinProvider* parent = MDISkinProvider;
  if (!parent || !parent->MDIForm || parent->FormDestroying() || !SkinActiveFor(parent->SkinData.get(), true))
    return;
  InvalidateMDIParentFrame();
  if (!parent->Form->ActiveMDIChild() && parent->Form->ClientHandle())
    RedrawWindow(parent->Form->ClientHandle(), nullptr, nullptr,
                 RDW_FRAME | RDW_UPDATENOW | RDW_ERASE | RDW_INTERNALPAINT | RDW_INVALIDATE);
}

void TsSkinProvider::EndMaximizePending() {
  if (!MaximizePending || Form->FormStyle() != fsMDIChild) return;
  MaximizePending = false;
  ActiveMDIChildProvider = this;
  // Posted: not from inside the paint. (Sent to a child that is maximized already, the command
  // would maximize the parent.)
  if (!IsZoomed(Form->Handle())) PostMessageW(Form->Handle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
}

void TsSkinProvider::MDIChildSysCommand(TMessage& message) {
  HWND wnd = Form->Handle();
  TsSkinProvider* parent = MDISkinProvider;
  const WPARAM command = message.WParam & 0xFFF0;
  // A maximized child's buttons live in the parent's frame: it is built again after the change.
  bool lock = IsZoomed(wnd) && command != SC_MAXIMIZE;
  if (lock && parent) parent->SkinData->StartUpdate();
  auto updateMenu = [&] {
    if (IsWindow(wnd) && SystemMenu) SystemMenu->UpdateItems(false);
  };
  switch (command) {
    case SC_CLOSE: {
      const bool refresh = lock && parent && parent->MDIForm;
      if (refresh) RefreshMDIParentFrame(true);
      // The parent's region stays as it is while the system takes the child down; it is set
      // once, at the refresh after.
      if (parent) parent->InMenuLoop = true;
      Prev(message);
      if (parent && parent == MDISkinProvider) parent->InMenuLoop = false;
      if (!IsWindow(wnd)) return;
      SetHotButton(0, false);
      if (refresh) RefreshMDIParentFrame(true);
      return;
    }
    case SC_RESTORE: {
      if (IsIconic(wnd)) lock = true;
      // The child being made comes up maximized: the active one keeps its state till then.
      if (MaximizePending) return;
      LockRedraw();
      if (parent) parent->LockRedraw();
      Prev(message);
      if (!IsWindow(wnd)) return;
      SkinData->BackgroundChanged = true;
      UpdateSysMenuStyle(true);
      if (parent) parent->UnlockRedraw();
      UnlockRedraw();
      RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
      if (TForm* parentForm = parent ? parent->Form : nullptr) {
        for (int i = 0; i < parentForm->MDIChildCount(); ++i) {
          TForm* other = parentForm->MDIChildren(i);
          if (other == Form || !other->HandleAllocated()) continue;
          if (IsZoomed(other->Handle())) other->SetWindowState(wsNormal);
          RedrawWindow(other->Handle(), nullptr, nullptr, RDW_FRAME | RDW_UPDATENOW | RDW_ERASE | RDW_INTERNALPAINT);
        }
      }
      if (lock) RefreshMDIParentFrame(true);
      updateMenu();
      return;
    }
    case SC_MINIMIZE:
      Prev(message);
      if (!IsWindow(wnd)) return;
      updateMenu();
      RebuildTitle = true;
      SkinData->BackgroundChanged = true;
      RefreshMDIParentFrame(true);
      return;
    case SC_MAXIMIZE: {
      ActiveMDIChildProvider = this;
      // Kept out of sight while the system maximizes it: it shows once, maximized.
      const LONG_PTR style = GetWindowLongPtrW(wnd, GWL_STYLE);
      SetWindowLongPtrW(wnd, GWL_STYLE, style & ~WS_VISIBLE);
      Prev(message);
      if (!IsWindow(wnd)) return;
      SetWindowLongPtrW(wnd, GWL_STYLE, GetWindowLongPtrW(wnd, GWL_STYLE) | (style & WS_VISIBLE));
      RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_UPDATENOW | RDW_ERASE | RDW_INTERNALPAINT);
      if (parent && parent->MDIForm) RefreshMDIParentFrame(true);
      updateMenu();
      return;
    }
  }
  Prev(message);
  if (parent && IsWindow(wnd)) parent->SkinData->FinishUpdate();
}

// A maximized child's buttons and icon live on the parent's menu line.
void TsSkinProvider::RefreshParentOfMaximizedChild() {
  if (Form->FormStyle() != fsMDIChild || !MDISkinProvider || MDISkinProvider == this) return;
  if (Form->HandleAllocated() && IsZoomed(Form->Handle())) MDISkinProvider->RefreshNonClient();
}

// A child's own main menu is merged into the parent's line, which is counted and drawn anew.
void TsSkinProvider::RefreshMergedMenuLine() {
  TsSkinProvider* parent = MDISkinProvider;
  if (Form->FormStyle() != fsMDIChild || !Form->Menu() || !parent || parent == this || parent->FormDestroying() ||
      !parent->Form->HandleAllocated())
    return;
  parent->SkinData->BackgroundChanged = true;
  parent->MenuLineCount = -1;
  SendMessageW(parent->Form->Handle(), WM_NCPAINT, 0, 0);
}
