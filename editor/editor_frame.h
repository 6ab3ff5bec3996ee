// What the editor's three windows share: the program folder they work in, placing controls,
// and the borderless frame whose background picture fills the window and drags it.
//
//   TForm3::TForm3(TComponent* AOwner) : TEditorWindow(AOwner, 301, 136, "ed_confirm.png") {
//     sLabel1 = Place(new TsLabel(this), this, 10, 5, 250, 22);
//     sLabel1->OnMouseDown = DragHandler();
//   }
#pragma once

#include <string>

#include "framework/forms.h"
#include "framework/image.h"

// The program folder, ending in '\'. Tests point it at a folder of their own.
std::string EditorFolder();
void SetEditorFolderForTests(const std::string& folder);

using efir::Place;

// Shows a picture of the program folder; a picture missing there leaves the control empty,
// since the window works without it.
void LoadPicture(TImage* image, const std::string& fileName);

// The backgrounds' navy (the windows' own colour, seen before the picture paints) and the
// texts over it.
inline constexpr TColor kEditorNavy = 0x33210F;
inline constexpr TColor kEditorText = 0xF6F0E0;

class TEditorWindow : public TForm {
 public:
  TEditorWindow(TComponent* AOwner, int width, int height, const std::string& background);

  TImage* Image1;  // the background picture

  // A press on the background (or on a title) moves the window.
  void Image1MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);
  TMouseEvent DragHandler();
};
