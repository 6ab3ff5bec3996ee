// The skinned controls the windows' layouts place. Check box, bit button, push button, label,
// edit, combo box, track bar and scroll bar paint themselves from the skin (their own headers
// say how); without a skin each looks and behaves exactly like the framework's matching
// control: the same events, the same clamping of positions, the same notifications raised
// from code.
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
#include "skin/engine/s_scroll_bar.h"
#include "skin/engine/s_track_bar.h"

