// The skinned controls the windows' layouts place. Check box, bit button, push button, label,
// edit and combo box paint themselves from the skin (their own headers say how); the rest
// are, until the skin engine paints them, the framework's matching control and look and
// behave exactly like it: the same events, the same clamping of positions, the same
// notifications raised from code.
//
//   sTrackBar1 = new TsTrackBar(this);         // a TTrackBar: Min, Max, Position, OnChange
//   sBitBtn2 = new TsBitBtn(this);
//   sBitBtn2->Glyph().LoadFromFile(folder + "play.png");   // shown when there is no caption
#pragma once

#include "framework/picture.h"
#include "framework/stdctrls.h"
#include "skin/engine/s_bit_btn.h"
#include "skin/engine/s_button.h"
#include "skin/engine/s_check_box.h"
#include "skin/engine/s_combo_box.h"
#include "skin/engine/s_edit.h"
#include "skin/engine/s_label.h"

class TsTrackBar : public TTrackBar {
 public:
  using TTrackBar::TTrackBar;
};

// Setting Position in code does not raise OnScroll; the user's scrolling does.
class TsScrollBar : public TScrollBar {
 public:
  using TScrollBar::TScrollBar;
};

