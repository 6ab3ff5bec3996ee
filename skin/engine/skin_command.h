// The skin command message: how skin managers, skinned controls, window adapters and form
// providers talk to each other. wParam carries MakeSkinWParam(sub-command, argument), lParam
// a manager (SKC_NEWSKIN, SKC_REMOVESKIN, SKC_REFRESH, SKC_MOUSEENTER, SKC_MOUSELEAVE: only
// a receiver whose own manager it is acts), a record, a control or 0; the result is the
// answer, and 0 means "not answered".
//
//   if (SendSkinCommandToWindow(wnd, SKC_ISSKINNED) == 1) ...      // already skinned
//   BackgroundInfo info;                                          // what lies behind me?
//   SendSkinCommandToControl(parent, SKC_GETBGINFO, reinterpret_cast<LPARAM>(&info));
//
// A receiver compares Msg with SM_ALPHACMD first, answers only in Result, and leaves Result
// untouched for a sub-command it does not know.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/gdi.h"

class TBitmap;
class TControl;

// Fixed, so that every window of the process agrees on it without asking.
constexpr UINT SM_ALPHACMD = 0xA100;

enum SkinCommand : WORD {
  SKC_NEWSKIN = 1,
  SKC_REMOVESKIN = 2,
  SKC_REFRESH = 3,
  SKC_GETPROVIDER = 4,
  SKC_CHILDPAINTING = 5,
  SKC_PARENTUPDATED = 6,
  SKC_ISSKINNED = 7,
  SKC_SETUPDATING = 8,
  SKC_SETFOLLOWPARENT = 9,  // argument 1: keep the cache as it is and follow the parent
  SKC_ISUPDATING = 10,
  SKC_ISPARENTPENDING = 11,
  SKC_TRANSPARENTBGCHANGED = 12,
  SKC_INVALIDATESECTION = 13,
  SKC_SETBORDERDRAWN = 14,
  SKC_STOPANIMATION = 16,
  SKC_SETBGCHANGED = 17,
  SKC_REPAINTGRAPHICS = 18,
  SKC_ISBGVARYING = 19,
  SKC_PARENTMOVED = 20,
  SKC_GETBGCOLOR = 21,
  SKC_SETPARENTPENDING = 22,
  SKC_PREPARECACHE = 23,
  SKC_PAINTTOBITMAP = 24,
  SKC_CONTROLCHANGED = 25,
  SKC_GETSECTIONINDEX = 26,
  SKC_GETCAPTIONHEIGHT = 27,
  SKC_ADAPTCHILDREN = 28,
  SKC_MOUSEENTER = 29,
  SKC_MOUSELEAVE = 30,
  SKC_UPDATESTARTED = 31,
  SKC_UPDATEFINISHED = 32,
  SKC_GETBGINFO = 34,
  SKC_GETDISABLEDKIND = 35,
  SKC_CHILDTRANSPARENCY = 36,
  SKC_REFRESHBORDERFORM = 37,
  SKC_BEFORESCROLL = 51,
  SKC_AFTERSCROLL = 52,
  SKC_GETAPPLICATION = 60,
  SKC_GETCLIENTOFFSET = 61,
};

constexpr WPARAM MakeSkinWParam(WORD subCommand, WORD argument = 0) {
  return static_cast<WPARAM>(MAKELONG(argument, subCommand));
}
constexpr WORD SkinSubCommand(WPARAM wParam) { return HIWORD(static_cast<DWORD>(wParam)); }
constexpr WORD SkinArgument(WPARAM wParam) { return LOWORD(static_cast<DWORD>(wParam)); }

// A parent's answer to SKC_GETBGINFO. The asker sets PaintNow, DC, Rect and the offsets;
// the answerer fills the rest, or with PaintNow paints its background into DC at Rect
// (taking it from its own origin moved by the offsets).
constexpr uint8_t BG_NONE = 0, BG_COLOR = 1, BG_BITMAP = 2;
struct BackgroundInfo {
  TBitmap* Bitmap = nullptr;
  TColor Color = 0;
  int32_t OffsetX = 0;  // the answerer's origin inside Bitmap
  int32_t OffsetY = 0;
  RECT Rect{};
  uint8_t Kind = BG_NONE;
  bool PaintNow = false;
  HDC DC = nullptr;
};

// Where the painters take a background from: Bitmap at (X, Y) when Ready, else FillColor
// (0xFF00FF: none).
struct CacheSourceInfo {
  TBitmap* Bitmap = nullptr;
  int32_t X = 0;
  int32_t Y = 0;
  TColor FillColor = 0xFF00FF;
  bool Ready = false;
};

// Stands for "no background at all".
constexpr CacheSourceInfo EmptyCacheSourceInfo{nullptr, -99, -99, 0, false};

// SendMessage of the skin command to a window.
LRESULT SendSkinCommandToWindow(HWND wnd, WORD subCommand, LPARAM lParam = 0);
// To a windowed control's window (0 while it has none or is being destroyed), else through
// the control's own dispatch.
LRESULT SendSkinCommandToControl(TControl* control, WORD subCommand, LPARAM lParam = 0);
inline LRESULT AskControlSkinCommand(TControl* control, WORD subCommand) {
  return SendSkinCommandToControl(control, subCommand, 0);
}
// The window answers the sub-command with exactly 1.
bool WindowAcknowledgesSkinCommand(HWND wnd, WORD subCommand);

// The control may be skinned now: it exists, has its window when windowed, has a parent and
// is neither loading, having its window made, nor being destroyed.
bool ControlAcceptsSkinning(TControl* control);
// A control's background as RGB: a skinned control's answer to SKC_GETBGCOLOR, else its own
// Color; 0xFF00FF for none.
TColor ControlBackgroundColor(TControl* control);
// The same for a window: a skinned window's answer, a framework window's Color, else the
// button-face colour.
TColor WindowBackgroundColor(HWND wnd);
// Tells the control's form that the control changed (SKC_CONTROLCHANGED).
void NotifyParentFormOfChange(TControl* control);
// SetWindowTheme of uxtheme when the system has it (blank names turn visual styles off,
// nullptrs back on); false when it is missing.
bool SetWindowThemeBound(HWND wnd, const wchar_t* appName, const wchar_t* idList);
// The window carries a window adapter of the window skinning, which relays skin commands to
// its own children.
bool WindowRelaysSkinCommands(HWND wnd);
