#include "skin/engine/skin_command.h"

#include "framework/controls.h"
#include "framework/forms.h"

namespace {

// The name is registered as well, so that tools that look the message up by name find it;
// the number itself stays fixed.
[[maybe_unused]] const UINT registeredName = RegisterWindowMessageA("SM_ALPHACMD");

bool Destroying(const TComponent* component) { return (component->ComponentState() & csDestroying) != 0; }

}  // namespace

LRESULT SendSkinCommandToWindow(HWND wnd, WORD subCommand, LPARAM lParam) {
  return SendMessageW(wnd, SM_ALPHACMD, MakeSkinWParam(subCommand), lParam);
}

LRESULT SendSkinCommandToControl(TControl* control, WORD subCommand, LPARAM lParam) {
  if (!control) return 0;
  if (control->IsWindowed()) {
    auto* windowed = static_cast<TWinControl*>(control);
    if (Destroying(windowed) || !windowed->HandleAllocated()) return 0;
    return SendSkinCommandToWindow(windowed->Handle(), subCommand, lParam);
  }
  return control->Perform(SM_ALPHACMD, MakeSkinWParam(subCommand), lParam);
}

bool WindowAcknowledgesSkinCommand(HWND wnd, WORD subCommand) { return SendSkinCommandToWindow(wnd, subCommand) == 1; }

bool ControlAcceptsSkinning(TControl* control) {
  if (!control || !control->Parent()) return false;
  if (control->ComponentState() & (csLoading | csDestroying)) return false;
  if (control->ControlState() & csCreating) return false;
  return !control->IsWindowed() || static_cast<TWinControl*>(control)->HandleAllocated();
}

TColor ControlBackgroundColor(TControl* control) {
  if (!control) return 0xFF00FF;
  if (AskControlSkinCommand(control, SKC_ISSKINNED) == 1)
    return static_cast<TColor>(ColorToRGB(static_cast<TColor>(SendSkinCommandToControl(control, SKC_GETBGCOLOR, 0xFF00FF))));
  return static_cast<TColor>(ColorToRGB(control->Color()));
}

TColor WindowBackgroundColor(HWND wnd) {
  if (wnd && WindowAcknowledgesSkinCommand(wnd, SKC_ISSKINNED))
    return static_cast<TColor>(ColorToRGB(static_cast<TColor>(SendSkinCommandToWindow(wnd, SKC_GETBGCOLOR, 0xFF00FF))));
  if (TWinControl* control = efir::FindControl(wnd)) return static_cast<TColor>(ColorToRGB(control->Color()));
  return static_cast<TColor>(ColorToRGB(clBtnFace));
}

void NotifyParentFormOfChange(TControl* control) {
  if (!control) return;
  TForm* form = control->GetParentForm();
  if (!form || form == control || !form->HandleAllocated()) return;
  SendSkinCommandToWindow(form->Handle(), SKC_CONTROLCHANGED, reinterpret_cast<LPARAM>(control));
}

bool SetWindowThemeBound(HWND wnd, const wchar_t* appName, const wchar_t* idList) {
  using SetWindowThemeCall = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
  static HMODULE uxtheme = LoadLibraryW(L"uxtheme.dll");
  static auto setTheme =
      uxtheme ? reinterpret_cast<SetWindowThemeCall>(GetProcAddress(uxtheme, "SetWindowTheme")) : nullptr;
  return setTheme && SUCCEEDED(setTheme(wnd, appName, idList));
}

bool WindowRelaysSkinCommands(HWND wnd) { return GetPropW(wnd, L"ACSBSC") != nullptr; }
