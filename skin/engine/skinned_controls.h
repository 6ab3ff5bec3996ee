// The skinned controls the windows' layouts place. Until the skin engine paints them, each is
// the framework's matching control and looks and behaves exactly like it: the same events,
// the same clamping of positions, the same notifications raised from code.
//
//   sTrackBar1 = new TsTrackBar(this);         // a TTrackBar: Min, Max, Position, OnChange
//   sBitBtn2 = new TsBitBtn(this);
//   sBitBtn2->Glyph().LoadFromFile(folder + "play.png");   // shown when there is no caption
#pragma once

#include "framework/picture.h"
#include "framework/stdctrls.h"
#include "skin/engine/s_bit_btn.h"
#include "skin/engine/s_check_box.h"

class TsLabel : public TLabel {
 public:
  using TLabel::TLabel;
};

class TsButton : public TButton {
 public:
  using TButton::TButton;
};

class TsEdit : public TEdit {
 public:
  using TEdit::TEdit;
};

class TsTrackBar : public TTrackBar {
 public:
  using TTrackBar::TTrackBar;
};

// Setting Position in code does not raise OnScroll; the user's scrolling does.
class TsScrollBar : public TScrollBar {
 public:
  using TScrollBar::TScrollBar;
};

class TsComboBox : public TComboBox {
 public:
  using TComboBox::TComboBox;
};
