// The caption buttons of a skinned bordered form: which hit code a point of the frame is,
// which one button is hot or pressed, and the repaint of one button on its own. The rules of
// the hit test depend on nothing but numbers, so they live in one function tested without
// windows; the provider gathers the numbers (TsSkinProvider::HitTest) and keeps the state
// (SetHotButton, PressButton, PaintTitleButton in title_buttons.cpp).
//
//   TitleHitInput in = ...;                      // frame point, window size, buttons, menus
//   TitleHit hit = TitleHitTest(in);            // hit.Code; hit.Hot: the new hot button
//
// Hit codes are the system's (HTCAPTION, HTSYSMENU, HTMENU, HTMINBUTTON, HTMAXBUTTON, the
// borders HTLEFT..HTBOTTOMRIGHT, HTCLOSE, HTHELP) plus 1000 + i for user title button i and
// 101..103 for a maximized MDI child's close, restore and minimize buttons on the menu line.
// One form works its caption buttons at a time: `TitleButtonDown` is shared.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

// A press on a title button that its release may still act on.
extern bool TitleButtonDown;

// Hit code of user title button i.
constexpr int kUserButtonBase = 1000;
// Hit codes of a maximized MDI child's buttons on its parent's menu line.
constexpr int kMdiCloseHit = 101, kMdiRestoreHit = 102, kMdiMinHit = 103;
inline bool IsMdiChildButtonCode(int code) { return code >= kMdiCloseHit && code <= kMdiMinHit; }
inline bool IsUserButtonCode(int code, int count) { return code >= kUserButtonBase && code < kUserButtonBase + count; }

// What the hit test needs of one user title button.
struct UserButtonHit {
  RECT Rect{};
  bool Visible = true;
  bool Enabled = true;
};

// Everything the hit test reads, in frame coordinates.
struct TitleHitInput {
  POINT P{};
  int Width = 0, Height = 0;     // the window
  bool HasBorderForm = false;    // an extended-border window hit-tests the buttons itself
  bool SystemMenu = false;       // the form has a skinned system menu
  bool VisibleClose = false, VisibleMax = false, VisibleMin = false;
  bool EnabledMax = false, EnabledMin = false, EnabledRestore = false;
  bool HelpIcon = false;         // biHelp among the border icons
  bool Minimized = false, Maximized = false;
  bool ThickFrame = false;       // WS_THICKFRAME
  RECT Close{}, Max{}, Min{}, Help{};
  std::vector<UserButtonHit> User;
  int BorderWidth = 0;           // the side and bottom frame (extended measure)
  int TopBorder = 0;             // the top frame, plain measure
  int TopBorderExt = 0;          // the top frame, extended measure
  int Caption = 0;               // the caption band, plain measure
  int MenuHeight = 0;            // the menu line
  RECT TitleIcon{};
  bool InGrip = false;           // the point lies on the shown size grip
  // A maximized MDI child's buttons on the menu line, and the shift of the point into their
  // coordinates (the extended borders' shadow and extra margins).
  bool MDIChildButtons = false;
  POINT MDIShift{};
  RECT MDIClose{}, MDIRestore{}, MDIMin{};
};

struct TitleHit {
  int Code = HTCLIENT;
  std::optional<int> Hot;  // the button that becomes hot (0 none, -1 none on a border)
};

TitleHit TitleHitTest(const TitleHitInput& in);

// The answer of the title button under the point (HTCAPTION for one that cannot act now, a
// user button's 1000 + i when it is enabled); 0 when no button answers.
int TitleButtonCodeAt(const TitleHitInput& in);

// The button counted from the right (1 close, then maximize, minimize, help as present,
// then the user buttons) whose rectangle holds the point; 0 when none.
int TitleButtonNumberAt(const TitleHitInput& in);
