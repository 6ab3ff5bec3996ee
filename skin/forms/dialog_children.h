// Which adapter a child window of a standard dialog gets: chosen by its class (compared
// lower-cased) and its style, and made by one factory, so that each kind of adapter is
// added in one place.
//
//   DialogChildKind kind = ClassifyDialogChild("button", BS_AUTOCHECKBOX, true);   // CheckBox
//   auto adapter = CreateDialogChildAdapter(kind, wnd, manager);   // nullptr: left as it is
//
// Statics are told apart by their type field (SS_TYPEMASK): frames, rectangles and etched
// lines keep the system's drawing, which a text or icon adapter would wipe out. Buttons are
// read by their style bits; a wrapping tool bar is painted as a bar. Only size grips among
// scroll bars are adapted.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

class TacMainWnd;
class TsSkinManager;

enum class DialogChildKind {
  None, Icon, Static, TransPanel, DlgPanel, GroupBox, CheckBox, Button, ComboBox, ComboList, SizeGrip,
  TabControl, ListView, Spin, ListBox, Link, ToolBar, Edit, TreeView
};

struct DialogChildChoice {
  DialogChildKind Kind = DialogChildKind::None;
  const char* Section = "";
  // The dialog must let its own WM_PAINT run (edits and combo boxes draw through it).
  bool NeedsDialogPaint = false;
};

DialogChildChoice ClassifyDialogChild(const std::string& lowerClass, DWORD style, bool visible);

// The adapter for the kind, attached; nullptr for None and for kinds not built.
std::unique_ptr<TacMainWnd> CreateDialogChildAdapter(const DialogChildChoice& choice, HWND wnd,
                                                     TsSkinManager* manager);
