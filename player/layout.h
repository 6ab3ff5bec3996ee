// What the player's window layouts share: placing a control on its parent, pictures from the
// program folder, the colours and fonts of the dark background, and the frame of the
// borderless dialogs (background and title that drag the window, close picture).
//
//   RxLabel6 = Place(new TRxLabel(this), this, 42, 10, 400, 22);
//   Image4 = NewPicture(this, 484, 10, 20, 20, "close.png");
#pragma once

#include <string>

#include "framework/forms.h"
#include "framework/image.h"
#include "skin/engine/skinned_controls.h"

namespace layout {

// Text colours over the backgrounds' navy.
inline constexpr TColor kLightText = 0xF6F0E0;   // titles and names
inline constexpr TColor kMutedText = 0xBAA688;   // secondary texts
inline constexpr TColor kAccentText = 0xB4C428;  // status and active tab
inline constexpr TColor kNavy = 0x33210F;        // the windows' own colour under the pictures
inline constexpr TColor kPanelColor = 0x442D15;  // the dialogs' styled panels

using efir::Place;

// Shows the program folder's picture; a picture missing there leaves the control empty, as
// the window is usable without it.
void LoadPicture(TImage* image, const std::string& fileName);

// A picture of the program folder placed on `parent` (owned by its form).
TImage* NewPicture(TWinControl* parent, int left, int top, int width, int height,
                   const std::string& fileName, const std::string& hint = "");

// A see-through label in the given colour, bold when asked.
template <class TLabelKind>
TLabelKind* NewLabel(TWinControl* parent, int left, int top, int width, int height,
                     const std::string& caption, TColor color, int fontHeight = -13,
                     bool bold = false) {
  auto* label = Place(new TLabelKind(parent->GetParentForm()), parent, left, top, width, height);
  // The window's labels lie on its background picture and keep the box the layout gives them.
  label->SetTransparent(true);
  label->SetAutoSize(false);
  label->SetCaption(caption);
  label->SetParentFont(false);
  label->Font().SetName("Tahoma");
  label->Font().SetHeight(fontHeight);
  label->Font().SetColor(color);
  if (bold) label->Font().SetStyle(fsBold);
  return label;
}

}  // namespace layout

// The frame of the player's borderless dialogs: the background picture `Image1` and the title
// `sLabel1` drag the window, the picture `Image2` at the top right closes it.
class TPlayerDialog : public TForm {
 public:
  TPlayerDialog(TComponent* AOwner, const std::string& caption, int clientWidth,
                int clientHeight, const std::string& background, const std::string& title);

  TImage* Image1;
  TsLabel* sLabel1;
  TImage* Image2;

  void Image1MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  void Image2Click(TObject* Sender);

  // Moves the dialog to (left, top), or as near to it as keeps the dialog whole on the work
  // area of the screen it lands on: a dialog opened beside the main window near a screen's
  // edge stays reachable.
  void PlaceOnWorkArea(int left, int top);
};
