// The info panel of an in-place editor: a child window at the editor's left edge that shows
// the editor's glyph and, when the editor asks for it, a 20-pixel preview box that the
// editor's owner paints (OnCustomPreviewDraw). The editor creates, places and hides it;
// nothing else uses it.
//
//   glyph (x 0, centred)  2 px  [ preview box 20 px, grey frame ]  | the editor's text ...
//
// A press within the glyph's width raises the editor's OnGlyphClick; one on the preview box
// does nothing.
#pragma once

#include "framework/controls.h"

class TNxCustomEdit;

class TNxEditInfo : public TCustomControl {
 public:
  explicit TNxEditInfo(TNxCustomEdit* AEditor);
  TNxCustomEdit* Editor() const { return FEditor; }

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  TNxCustomEdit* const FEditor;
};
