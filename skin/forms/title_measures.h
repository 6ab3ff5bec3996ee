// The frame measures that the title buttons and the form's mouse commands read: where the
// frame's origin lies on the screen, the caption band, the caption icon and the size of one
// title-button picture. The frame painting defines the same measures for its layout; the
// mouse must agree with what is drawn, so both read them from here.
//
//   POINT p = title_measures::ScreenToFrame(provider, screenPoint);
//   if (PtInRect(&title_measures::TitleIconRect(provider), p)) ...   // over the icon
//
// The extended-border window is not taken into account here: its own window answers the
// mouse over the frame it draws.
#pragma once

#include <windows.h>

#include <optional>

class TsSkinProvider;
struct TitleButtonData;

namespace title_measures {

// The caption band's height (the extended one with useExt), 0 without a caption.
int CaptionHeight(const TsSkinProvider& provider, bool useExt);
// The side and bottom frame; the top frame.
int BorderWidth(const TsSkinProvider& provider, bool useExt);
int TopBorderWidth(const TsSkinProvider& provider, bool useExt);
// Screen position of the frame's (0, 0), and a screen point in frame coordinates.
POINT WindowOrigin(const TsSkinProvider& provider);
POINT ScreenToFrame(const TsSkinProvider& provider, POINT screen);
// Where the caption icon lies (empty when the caption shows none).
RECT TitleIconRect(const TsSkinProvider& provider);
// Width of one state of a button's picture; height of one state of the close picture (21
// without a picture).
int SysButtonWidth(const TsSkinProvider& provider, const TitleButtonData& button);
int SysButtonHeight(const TsSkinProvider& provider);
// Top-left of the size grip's picture (GLOBALINFO "GRIPIMAGE"); nullopt when the skin has none.
std::optional<POINT> GripPosition(const TsSkinProvider& provider);
// Height of the form's menu line (0: the form has no main menu line drawn by the skin).
int MenuHeight(const TsSkinProvider& provider);

}  // namespace title_measures
