// Messages of the framework: the record a control's WndProc receives, the framework's own
// notices (CM_*) that have no Win32 number, and the notifications a parent hands back to the
// child control that sent them (CN_*).
//
// A control handles a message by number in its one WndProc switch and passes the rest on:
//   void TMyLabel::WndProc(TMessage& Message) {
//     switch (Message.Msg) {
//       case CM_MOUSEENTER: Underline(true); break;
//       case WM_HOTKEY: OnHotKey(static_cast<int>(Message.WParam)); return;
//     }
//     TGraphicControl::WndProc(Message);
//   }
#pragma once

#include <windows.h>

struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

// Framework notices, sent with Perform to a control (the last one is posted to a control's
// window). The range lies below the tray icon's callback (0xB054) and away from the
// programs' WM_APP messages.
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0;
constexpr UINT CM_DEACTIVATE = CM_BASE + 1;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 2;
constexpr UINT CM_COLORCHANGED = CM_BASE + 3;
constexpr UINT CM_FONTCHANGED = CM_BASE + 4;
constexpr UINT CM_CURSORCHANGED = CM_BASE + 5;
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 6;
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 7;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 8;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 9;
constexpr UINT CM_MOUSEENTER = CM_BASE + 10;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 11;
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 12;
// A windowed control's window is to show (wParam 1) or hide (wParam 0): the handler of the
// control's own class calls ShowWindow, so a replaced WindowProc can act around it.
constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 13;
constexpr UINT CM_HINTSHOW = CM_BASE + 14;
constexpr UINT CM_SYNCITEMS = CM_BASE + 15;  // a list control shows its changed items
// Alt and a character in a form: wParam the character; a control whose accelerator it is
// acts and answers 1. CM_FOCUSCHANGED reaches every control of the form, lParam the control
// that took the focus.
constexpr UINT CM_DIALOGCHAR = CM_BASE + 16;
// A control was put into (lParam 1) or taken out of (lParam 0) a parent; wParam the
// control. It climbs the parents, so a form hears every change in its tree; on removal the control may be in its destructor: compare it, do not use it.
constexpr UINT CM_CONTROLLISTCHANGE = CM_BASE + 17;
// The form's menu changed (its items, captions or images).
constexpr UINT CM_MENUCHANGED = CM_BASE + 18;
// WM_MOUSEWHEEL that the control under it did not take, same parameters; answered non-zero
// by a control that scrolled.
constexpr UINT CM_MOUSEWHEEL = CM_BASE + 19;
// A windowed control asks itself to be repainted (Invalidate); its handler invalidates
// the window, so a replaced WindowProc may take the repaint over.
constexpr UINT CM_INVALIDATE = CM_BASE + 20;
// A docked control became a floating window. Nothing in the framework docks yet.
constexpr UINT CM_FLOAT = CM_BASE + 21;

// Notifications reflected from a parent to the child window they concern:
// CN_COMMAND is WM_COMMAND as received by the parent, and so on.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_CTLCOLORBTN = CN_BASE + WM_CTLCOLORBTN;
constexpr UINT CN_CTLCOLORLISTBOX = CN_BASE + WM_CTLCOLORLISTBOX;
constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR;
// An owner-drawn child control's WM_DRAWITEM (menus' own stay with the window).
constexpr UINT CN_DRAWITEM = CN_BASE + WM_DRAWITEM;
