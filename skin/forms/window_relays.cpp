#include "skin/forms/window_relays.h"

#include <algorithm>
#include <cctype>

#include "framework/controls.h"
#include "framework/forms.h"
#include "skin/engine/skin_broadcast.h"
#include "skin/engine/skin_command.h"

namespace {

template <class Each>
void ForEachDirectChild(HWND wnd, Each each) {
  for (HWND child = GetTopWindow(wnd); child; child = GetWindow(child, GW_HWNDNEXT)) each(child);
}

}  // namespace

void RelaySkinMessageToChildWindows(HWND wnd, const TMessage& message) {
  // Receivers may create or destroy windows: the list is taken first.
  std::vector<HWND> children;
  ForEachDirectChild(wnd, [&](HWND child) { children.push_back(child); });
  for (HWND child : children)
    if (IsWindow(child) && GetParent(child) == wnd) SendMessageW(child, message.Msg, message.WParam, message.LParam);
}

void RelaySkinMessageToChildren(TWinControl* ownerControl, HWND wnd, const TMessage& message) {
  if (ownerControl)
    RelaySkinMessageToControls(ownerControl, SkinSubCommand(message.WParam), message.LParam);
  else
    RelaySkinMessageToChildWindows(wnd, message);
}

void NotifyChildWindowsParentUpdated(HWND wnd) {
  ForEachDirectChild(wnd, [](HWND child) {
    if (GetWindowLongPtrW(child, GWL_STYLE) & WS_CHILD) SendSkinCommandToWindow(child, SKC_PARENTUPDATED, 0);
  });
}

void NotifyChildrenParentUpdated(TWinControl* parent) {
  if (SkinChangeAnimating || !parent) return;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* control = parent->Controls(i);
    if (dynamic_cast<TGraphicControl*>(control) || (control->ComponentState() & csDestroying)) continue;
    if (!control->IsWindowed()) {
      control->Perform(SM_ALPHACMD, MakeSkinWParam(SKC_PARENTUPDATED), 0);
      continue;
    }
    auto* windowed = static_cast<TWinControl*>(control);
    if (windowed->HandleAllocated() && IsWindowVisible(windowed->Handle()))
      SendSkinCommandToWindow(windowed->Handle(), SKC_PARENTUPDATED, 0);
  }
}

HWND TopParentWindow(HWND wnd) {
  for (HWND parent = GetParent(wnd); parent; parent = GetParent(wnd)) wnd = parent;
  return wnd;
}

void ClientRectInWindowCoords(HWND wnd, RECT& rect) {
  GetClientRect(wnd, &rect);
  RECT window;
  GetWindowRect(wnd, &window);
  POINT origin{0, 0};
  ClientToScreen(wnd, &origin);
  OffsetRect(&rect, origin.x - window.left, origin.y - window.top);
}

std::string WindowClassLower(HWND wnd) {
  wchar_t name[129] = {};
  const int length = GetClassNameW(wnd, name, 129);
  std::string result;
  for (int i = 0; i < length; ++i)
    result += static_cast<char>(name[i] < 128 ? std::tolower(static_cast<unsigned char>(name[i])) : '?');
  return result;
}

std::wstring WindowTextWide(HWND wnd) {
  const int length = GetWindowTextLengthW(wnd);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(std::max(0, GetWindowTextW(wnd, text.data(), length + 1))));
  return text;
}

bool HasDescendantOfClass(HWND wnd, const std::string& name) {
  for (HWND child = GetTopWindow(wnd); child; child = GetWindow(child, GW_HWNDNEXT))
    if (WindowClassLower(child) == name || HasDescendantOfClass(child, name)) return true;
  return false;
}

TForm* FindOwnerForm(TComponent* component) {
  for (; component; component = component->Owner())
    if (auto* form = dynamic_cast<TForm*>(component)) return form;
  return nullptr;
}
