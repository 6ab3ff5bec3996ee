// Where the title buttons of a skinned form's caption lie: the rules of the layout as
// functions of numbers, so that they are tested without windows. The provider gathers the
// numbers from its form and skin (title_bar.cpp).
//
//   TitleRow row = LayoutTitleRow({imageWidth, skin.BIRight, 0, border, hnc * skin.BISpace,
//                                  {closeW, maxW, minW, 0}, {pinW}});
//   ButtonClose.Rect.left = row.System[0].Left; ...
//   int top = TitleButtonTop(topMeasures);
#pragma once

#include <vector>

struct TitleRowInput {
  int FrameImageWidth = 0;
  int BIRight = 0;        // the skin's gap right of the buttons
  int ShadowRight = 0;    // the extended borders' right shadow margin
  int BorderWidth = 0;    // the right frame
  int Gap = 0;            // between two buttons: BISPACE for normal captions, 0 for small ones
  // Widths from the right: close, maximize (or restore), minimize, help; 0 = not shown.
  std::vector<int> SystemWidths;
  // Widths of the user buttons in collection order; 0 = invisible.
  std::vector<int> UserWidths;
};

struct TitleSpan {
  int Left = 0, Right = 0;  // both 0 for a button that is not shown
};

struct TitleRow {
  std::vector<TitleSpan> System, User;
};

// From the right edge leftwards: the system buttons, then, 8 pixels further left, the user
// buttons, each followed by the gap.
TitleRow LayoutTitleRow(const TitleRowInput& input);

// Room the buttons take at the right end of the caption band: BIRIGHT, the shown system
// buttons (each but close with a gap), 8 when there are user buttons, and every user button
// with a gap, visible or not (the caption text leaves room for it anyway).
int TitleButtonsWidth(int biRight, int gap, const std::vector<int>& shownSystemWidths, const std::vector<int>& userWidths);

struct TitleButtonTopMeasures {
  bool BigIcon = false;         // one of the BICON pictures
  int BIVAlign = 0;             // 1: big buttons hang at the top of the band
  bool Maximized = false;
  bool HasBorderForm = false;   // an extended-border window
  bool HasNormalCaption = false;
  int ShadowTop = 0;
  int FrameBorderWidth = 0;     // the window's own (plain) frame
  int FrameTopBorderWidth = 0;  // extended measure
  int CaptionHeight = 0;        // extended measure
  int ButtonHeight = 0;         // one state of the close picture
  int TitleHeight = 0, MaxHeight = 0, CenterOffset = 0, BorderMode = 0;  // the skin's
};

// Top of a title button in frame coordinates: centred in the band, or at its top for big
// pictures with BIVALIGN 1, with the corrections of maximized and extended-border frames.
int TitleButtonTop(const TitleButtonTopMeasures& m);
