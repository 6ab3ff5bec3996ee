#include "skin/forms/title_measures.h"

#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"
#include "skin/forms/frame_geometry.h"
#include "skin/forms/frame_metrics.h"
#include "skin/forms/skin_provider.h"

namespace title_measures {

namespace {

HWND WindowOf(const TsSkinProvider& provider) {
  return provider.Form && provider.Form->HandleAllocated() ? provider.Form->Handle() : nullptr;
}

const TsMaskData* MaskOf(const TsSkinProvider& provider, int index) {
  TsSkinManager* manager = provider.Manager();
  return MaskIndexValid(manager, index) ? &manager->Masks[static_cast<size_t>(index)] : nullptr;
}

bool TitleIconVisible(const TsSkinProvider& provider) {
  HWND wnd = WindowOf(provider);
  return wnd && provider.HasNormalCaption() && provider.ShowAppIcon && GetSystemMenu(wnd, FALSE) != nullptr;
}

}  // namespace

int CaptionHeight(const TsSkinProvider& provider, bool useExt) {
  HWND wnd = WindowOf(provider);
  if (!wnd) return 0;
  CaptionMeasures caption{IsIconic(wnd) != 0, provider.HasBorder(),
                          static_cast<DWORD>(GetWindowLongPtrW(wnd, GWL_STYLE)), provider.Form->BorderStyle(), 0,
                          false};
  return ::CaptionHeight(caption, useExt);
}

int BorderWidth(const TsSkinProvider& provider, bool useExt) {
  HWND wnd = WindowOf(provider);
  return wnd ? FrameBorderWidth(wnd, nullptr, useExt) : 0;
}

int TopBorderWidth(const TsSkinProvider& provider, bool useExt) {
  HWND wnd = WindowOf(provider);
  return wnd ? FrameTopBorderWidth(wnd, nullptr, useExt) : 0;
}

POINT WindowOrigin(const TsSkinProvider& provider) {
  RECT r{};
  if (HWND wnd = WindowOf(provider)) GetWindowRect(wnd, &r);
  return {r.left, r.top};
}

POINT ScreenToFrame(const TsSkinProvider& provider, POINT screen) {
  const POINT origin = WindowOrigin(provider);
  return {screen.x - origin.x, screen.y - origin.y};
}

RECT TitleIconRect(const TsSkinProvider& provider) {
  if (!TitleIconVisible(provider)) return {};
  TsSkinManager* manager = provider.Manager();
  const int caption = CaptionHeight(provider, true);
  const int size = TitleIconSize(caption);
  RECT r{};
  r.left = BorderWidth(provider, true) + (manager ? manager->LoadedSkin.BILeft : 0);
  r.right = r.left + size;
  r.top = BorderWidth(provider, false) / 2 - 1;
  r.top += (TopBorderWidth(provider, false) + caption - r.top - size) / 2;
  r.bottom = r.top + size;
  return r;
}

int SysButtonWidth(const TsSkinProvider& provider, const TitleButtonData& button) {
  const TsMaskData* mask = MaskOf(provider, button.ImageIndex);
  return mask ? MaskStateWidth(*mask) : 21;
}

int SysButtonHeight(const TsSkinProvider& provider) {
  const TsMaskData* mask = MaskOf(provider, provider.ButtonClose.ImageIndex);
  return mask ? MaskStateHeight(*mask) : 21;
}

std::optional<POINT> GripPosition(const TsSkinProvider& provider) {
  TsSkinManager* manager = provider.Manager();
  const int grip = MaskIndexByName(manager, SectionIndexByName(manager, "GLOBALINFO"), "GLOBALINFO", "GRIPIMAGE");
  const TsMaskData* mask = MaskOf(provider, grip);
  HWND wnd = WindowOf(provider);
  if (!mask || !wnd) return std::nullopt;
  RECT r{};
  GetWindowRect(wnd, &r);
  const int b = BorderWidth(provider, true);
  return POINT{r.right - r.left - MaskStateWidth(*mask) - b - 1, r.bottom - r.top - MaskStateHeight(*mask) - b - 1};
}

int MenuHeight(const TsSkinProvider&) { return 0; }

}  // namespace title_measures
