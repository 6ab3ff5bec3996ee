// The MDI parent side of the form provider: the companion that skins the MDI client, and the
// MDIAREA section painted into the part of the frame image the client shows.
#include "framework/bitmap.h"
#include "framework/canvas.h"
#include "skin/engine/common_data.h"
#include "skin/engine/engine_routines.h"
#include "skin/engine/item_paint.h"
#include "skin/engine/skin_command.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/forms/mdi_client.h"
#include "skin/forms/skin_provider.h"

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
}

void TsSkinProvider::ForgetMDIParent() {
  MDIForm.reset();
  if (MDISkinProvider == this) MDISkinProvider = nullptr;
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

bool TsSkinProvider::MDIChildMessage(TMessage& message) {
  switch (message.Msg) {
    case WM_MDIACTIVATE:
      Prev(message);
      // A maximized child's caption lives in the parent's frame, which it repaints itself.
      if (!IsZoomed(Form->Handle())) {
        MainMenuRefreshed = false;
        InvalidateMDIParentFrame();
      }
      return true;
    case WM_NCDESTROY: {
      Prev(message);
      TsSkinProvider* parent = MDISkinProvider;
      if (!parent || !parent->MDIForm || parent->FormDestroying() || !SkinActiveFor(parent->SkinData.get(), true))
        return true;
      InvalidateMDIParentFrame();
      if (!parent->Form->ActiveMDIChild() && parent->Form->ClientHandle())
        RedrawWindow(parent->Form->ClientHandle(), nullptr, nullptr,
                     RDW_FRAME | RDW_UPDATENOW | RDW_ERASE | RDW_INTERNALPAINT | RDW_INVALIDATE);
      return true;
    }
  }
  return false;
}
