// The buttons of a maximized MDI child on its MDI parent's menu line: minimize, restore and
// close at the line's right end, drawn from the skin's small title-button pictures into the
// parent's frame image over the MENULINE band. They are hot, pressed and released like the
// caption's buttons (hit codes 101, 102, 103, title_buttons.cpp, form_mouse.cpp) and act on
// the active child; what the child's system menu does not allow is drawn disabled.
#include <algorithm>

#include "framework/bitmap.h"
#include "framework/canvas.h"
#include "skin/engine/common_data.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skin_painters.h"
#include "skin/forms/adapter_paint.h"
#include "skin/forms/mdi_client.h"
#include "skin/forms/skin_provider.h"
#include "skin/forms/system_menu.h"
#include "skin/forms/title_buttons.h"

namespace {

const TsMaskData* MaskOf(const TsSkinManager* manager, int index) {
  return MaskIndexValid(manager, index) ? &manager->Masks[static_cast<size_t>(index)] : nullptr;
}

int GlobalMask(const TsSkinManager* manager, const char* name) {
  return MaskIndexByName(manager, SectionIndexByName(manager, "GLOBALINFO"), "GLOBALINFO", name);
}

// The system menu of the child whose buttons the line shows.
TsSystemMenu* ActiveChildMenu() { return ActiveMDIChildProvider ? ActiveMDIChildProvider->FormSystemMenu() : nullptr; }

bool ChildMayRestore() {
  TsSystemMenu* menu = ActiveChildMenu();
  return menu && menu->EnabledRestore();
}

bool ChildMayMinimize() {
  TsSystemMenu* menu = ActiveChildMenu();
  return menu && menu->EnabledMin();
}

}  // namespace

bool TsSkinProvider::ShowMDIChildButtons() const {
  if (!ActiveMDIChildProvider || !Form || Form->FormStyle() != fsMDIForm || !Form->Menu()) return false;
  TForm* child = Form->ActiveMDIChild();
  return child && child->HandleAllocated() && IsZoomed(child->Handle()) && (child->BorderIcons() & biSystemMenu);
}

int TsSkinProvider::MDIButtonWidth() const {
  const TsMaskData* mask = MaskOf(Manager(), ButtonMDIClose.ImageIndex);
  if (!mask) return 16;
  return mask->Image ? mask->Image->Width() / 3 : MaskStateWidth(*mask);
}

int TsSkinProvider::MDIButtonHeight() const {
  const TsMaskData* mask = MaskOf(Manager(), ButtonMDIClose.ImageIndex);
  if (!mask) return 16;
  return mask->Image ? mask->Image->Height() / 2 : MaskStateHeight(*mask);
}

void TsSkinProvider::LoadMDIChildButtonImages() {
  TsSkinManager* manager = Manager();
  if (!Form || Form->FormStyle() != fsMDIForm || !manager) return;
  ButtonMDIMin.HitCode = kMdiMinHit;
  ButtonMDIRestore.HitCode = kMdiRestoreHit;
  ButtonMDIClose.HitCode = kMdiCloseHit;
  // The small pictures, or the big ones for a skin without them.
  const bool small = GlobalMask(manager, "SICONCLOSE") >= 0 && GlobalMask(manager, "SICONMIN") >= 0;
  ButtonMDIMin.ImageIndex = GlobalMask(manager, small ? "SICONMIN" : "BICONMIN");
  ButtonMDIRestore.ImageIndex = GlobalMask(manager, small ? "SICONMAX" : "BICONMAX");
  ButtonMDIClose.ImageIndex = GlobalMask(manager, small ? "SICONCLOSE" : "BICONCLOSE");
  for (TitleButtonData* b : {&ButtonMDIMin, &ButtonMDIRestore, &ButtonMDIClose}) b->BigIcon = !small;
}

namespace {

// The restore picture of a maximized child: SICONNORM, else the form section's BICONNORM.
int RestoreImage(const TsSkinProvider& provider) {
  TsSkinManager* manager = provider.Manager();
  const int own = GlobalMask(manager, "SICONNORM");
  if (own >= 0) return own;
  return MaskIndexByName(manager, provider.SkinData->SectionIndex, provider.SkinData->SkinSection(), "BICONNORM");
}

}  // namespace

void TsSkinProvider::PaintMDIChildButtons(TBitmap& image) {
  for (TitleButtonData* b : {&ButtonMDIMin, &ButtonMDIRestore, &ButtonMDIClose}) SetRectEmpty(&b->Rect);
  if (!ShowMDIChildButtons()) return;
  TsSkinManager* manager = Manager();
  const RECT shadow = ExtShadowMargins();
  const int w = MDIButtonWidth(), h = MDIButtonHeight();
  const int y = FrameTopBorderWidth(true) + CaptionHeight(true) + shadow.top + (MenuHeight() - h) / 2;
  const int right = FrameImageWidth() - FrameBorderWidth(true) - shadow.right;
  auto place = [&](TitleButtonData& button, int x, int imageIndex, bool enabled) {
    button.Rect = {x, y, x + w, y + h};
    const TsMaskData* mask = MaskOf(manager, imageIndex);
    if (!mask) return;
    const int mode = FormActive && enabled ? 1 : 2;
    PaintMaskFrame(&image, {x, y}, std::clamp(button.State, 0, 2), mode, *mask, BitmapSource(image));
  };
  if (MaskOf(manager, ButtonMDIMin.ImageIndex)) place(ButtonMDIMin, right - 3 * w - 3, ButtonMDIMin.ImageIndex, ChildMayMinimize());
  place(ButtonMDIRestore, right - 2 * w - 2, RestoreImage(*this), ChildMayRestore());
  if (MaskOf(manager, ButtonMDIClose.ImageIndex)) place(ButtonMDIClose, right - w - 1, ButtonMDIClose.ImageIndex, true);
}

void TsSkinProvider::RepaintMDIChildButton(int hitCode) {
  TitleButtonData* button = TitleButtonOfCode(hitCode);
  TBitmap* image = SkinData->CacheBitmap.get();
  if (!button || !image || image->Width() <= 0 || !MenuLineBmp || !ShowMDIChildButtons() || IsRectEmpty(&button->Rect))
    return;
  const bool disabled = (hitCode == kMdiRestoreHit && !ChildMayRestore()) || (hitCode == kMdiMinHit && !ChildMayMinimize());
  // A minimize button the child may not use keeps its disabled look: it never turns hot.
  if (hitCode == kMdiMinHit && disabled) return;
  PaintGuarded([&] {
    const RECT& r = button->Rect;
    const int w = r.right - r.left, h = r.bottom - r.top;
    HDC dc = image->Canvas().Handle();
    // The band without its items lies behind the buttons.
    const POINT behind = MenuLinePlace(r, true);
    BitBlt(dc, r.left, r.top, w, h, MenuLineBmp->Canvas().Handle(), behind.x, behind.y, SRCCOPY);
    TsSkinManager* manager = Manager();
    const int index = hitCode == kMdiRestoreHit ? RestoreImage(*this) : button->ImageIndex;
    if (const TsMaskData* mask = MaskOf(manager, index)) {
      const int mode = (!FormActive || disabled) && (button->State == 0 || disabled) ? 2 : 1;
      PaintMaskFrame(image, {r.left, r.top}, std::clamp(button->State, 0, 2), mode, *mask, BitmapSource(*image));
    }
    const RECT shadow = ExtShadowMargins();
    const POINT at{r.left - ExtSideMargin() - shadow.left, r.top - ExtTopMargin() - shadow.top};
    HDC window = GetWindowDC(Form->Handle());
    BitBlt(window, at.x, at.y, w, h, dc, r.left, r.top, SRCCOPY);
    ReleaseDC(Form->Handle(), window);
  });
}
