// How skin commands travel among raw windows, and the small window utilities the adapters
// share. The framework-control relay (RelaySkinMessageToControls) lives with the engine's
// broadcasts (skin_broadcast.h); these are its counterparts for windows the framework does not
// know, such as the children of a message box.
//
//   RelaySkinMessageToChildren(skinData.OwnerControl, wnd, message);   // a skin change, down
//   NotifyChildWindowsParentUpdated(dialog);                           // "my picture is ready"
//   if (WindowClassLower(child) == "button") ...
//
// Each relay is one level deep: a skinned child relays to its own children. GUI thread only.
#pragma once

#include <windows.h>

#include <string>

#include "framework/messages.h"

class TComponent;
class TForm;
class TWinControl;

// Sends the message to every direct child window of `wnd` (grandchildren only through their
// parents' relaying).
void RelaySkinMessageToChildWindows(HWND wnd, const TMessage& message);
// A framework owner relays to its controls, a raw window to its child windows.
void RelaySkinMessageToChildren(TWinControl* ownerControl, HWND wnd, const TMessage& message);
// SKC_PARENTUPDATED to every child window of `wnd` with WS_CHILD.
void NotifyChildWindowsParentUpdated(HWND wnd);
// SKC_PARENTUPDATED to the showing windowed and the windowless non-graphic children of
// `parent`; nothing while a skin change is animated.
void NotifyChildrenParentUpdated(TWinControl* parent);

// The outermost ancestor of `wnd` (`wnd` itself when it has no parent).
HWND TopParentWindow(HWND wnd);
// The form among the component's owners (the component itself when it is one); nullptr.
TForm* FindOwnerForm(TComponent* component);
// The client rectangle in window coordinates.
void ClientRectInWindowCoords(HWND wnd, RECT& rect);
// The window's class name, lower-cased (ASCII).
std::string WindowClassLower(HWND wnd);
// The window's text, whatever its length.
std::wstring WindowTextWide(HWND wnd);
// True when some descendant's lower-cased class is `name` (depth first).
bool HasDescendantOfClass(HWND wnd, const std::string& name);
