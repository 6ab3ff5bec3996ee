// TsCommonData's glow: the halo window a skin may draw around a hot control.
#include "framework/forms.h"
#include "skin/engine/common_data.h"
#include "skin/engine/glow.h"
#include "skin/engine/skin_manager.h"

namespace {

// The window a glow is parented to: the form's parent window when the form sits in one,
// else the form.
HWND GlowParentOf(TControl* owner) {
  TForm* form = owner->GetParentForm();
  if (!form || !form->HandleAllocated()) return nullptr;
  HWND parent = GetParent(form->Handle());
  return parent && (GetWindowLongPtrW(form->Handle(), GWL_STYLE) & WS_CHILD) ? parent : form->Handle();
}

// The target in screen coordinates and its visible part in its own coordinates.
bool GlowTarget(TControl* owner, RECT& rect, RECT& clip) {
  if (owner->IsWindowed()) {
    auto* w = static_cast<TWinControl*>(owner);
    if (!w->HandleAllocated()) return false;
    GetWindowRect(w->Handle(), &rect);
    HDC dc = GetWindowDC(w->Handle());
    GetClipBox(dc, &clip);
    ReleaseDC(w->Handle(), dc);
    return true;
  }
  TWinControl* parent = owner->Parent();
  if (!parent || !parent->HandleAllocated()) return false;
  POINT origin{owner->Left(), owner->Top()};
  ClientToScreen(parent->Handle(), &origin);
  rect = {origin.x, origin.y, origin.x + owner->Width(), origin.y + owner->Height()};
  HDC dc = GetDC(parent->Handle());
  RECT box{};
  GetClipBox(dc, &box);
  ReleaseDC(parent->Handle(), dc);
  RECT own{owner->Left(), owner->Top(), owner->Left() + owner->Width(), owner->Top() + owner->Height()};
  IntersectRect(&clip, &box, &own);
  OffsetRect(&clip, -owner->Left(), -owner->Top());
  return true;
}

}  // namespace

void TsCommonData::ReleaseOwnGlow() {
  if (GlowIndex != -1) ReleaseGlow(GlowIndex);
  GlowIndex = -1;
}

void TsCommonData::UpdateGlow(bool toggle, HWND wnd) {
  TsSkinManager* manager = SkinManager();
  const TsGeneralData* section = Section();
  if (!manager || !manager->AllowGlowing() || !section || section->GlowCount < 1) return;
  RECT rect{}, clip{};
  HWND parent = nullptr;
  if (OwnerControl) {
    bool leftDown = GetKeyState(VK_LBUTTON) < 0;
    if (!MouseOver || leftDown || (toggle && GlowIndex != -1)) {
      ReleaseOwnGlow();
      return;
    }
    // Two hover paths may ask for the halo (the control's own and the common one): a second
    // window stacked on the first would outlive the mouse's stay, so it replaces it.
    ReleaseOwnGlow();
    parent = GlowParentOf(OwnerControl);
    if (!parent || !GlowTarget(OwnerControl, rect, clip)) return;
  } else if (wnd) {
    ReleaseOwnGlow();
    GetWindowRect(wnd, &rect);
    HDC dc = GetWindowDC(wnd);
    GetClipBox(dc, &clip);
    ReleaseDC(wnd, dc);
    parent = GetAncestor(wnd, GA_ROOT);
  } else {
    return;
  }
  GlowIndex = AttachGlow(rect, clip, SkinSection(), "GLOW", section->GlowMargin, 255, parent, manager);
}
