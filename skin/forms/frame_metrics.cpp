#include "skin/forms/frame_metrics.h"

#include "skin/engine/extended_borders.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_manager.h"

namespace {

// Loaded at first use; a failed load is tried again next time.
HMODULE DwmApi() {
  static HMODULE module = nullptr;
  if (!module) module = LoadLibraryW(L"dwmapi.dll");
  return module;
}

template <class Function>
Function DwmFunction(const char* name) {
  HMODULE module = DwmApi();
  return module ? reinterpret_cast<Function>(GetProcAddress(module, name)) : nullptr;
}

}  // namespace

int ExtBorderWidth(const TacBorderFormInfo* borderForm) {
  return borderForm && borderForm->Manager ? borderForm->Manager->LoadedSkin.BorderWidth : 0;
}

int ExtTitleHeight(const TacBorderFormInfo* borderForm) {
  return borderForm && borderForm->Manager ? borderForm->Manager->LoadedSkin.TitleHeight : 0;
}

int FrameBorderWidth(HWND window, const TacBorderFormInfo* borderForm, bool useExt) {
  if (useExt && ExtBorderWidth(borderForm) != 0) return ExtBorderWidth(borderForm);
  const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
  if (style & WS_THICKFRAME) return GetSystemMetrics(SM_CXFRAME);
  if (style & WS_BORDER) return GetSystemMetrics(SM_CXDLGFRAME);
  return 0;
}

int FrameTopBorderWidth(HWND window, const TacBorderFormInfo* borderForm, bool useExt) {
  return borderForm ? 0 : FrameBorderWidth(window, nullptr, useExt);
}

HRESULT DwmSetWindowAttributeBound(HWND window, DWORD attribute, const void* value, DWORD size) {
  using Call = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
  static Call call = nullptr;
  if (!call) call = DwmFunction<Call>("DwmSetWindowAttribute");
  return call ? call(window, attribute, value, size) : E_NOTIMPL;
}

void SetDwmTransitions(HWND window, bool disabled) {
  if (!DwmCompositionEnabled()) return;
  const DWORD value = disabled ? 1 : 0;
  DwmSetWindowAttributeBound(window, 3 /* DWMWA_TRANSITIONS_FORCEDISABLED */, &value, sizeof value);
}

bool MaskMissingOrSingle(int index, const TsSkinManager* manager) {
  if (index < 0) return true;
  return MaskIndexValid(manager, index) && manager->Masks[static_cast<size_t>(index)].ImageCount == 1;
}
