// The settings dialog `TForm2`: the settings of config.txt and the equalizer.
// Its controls and handlers come with its own work; until then it is the empty dialog.
#pragma once

#include "player/layout.h"

class TForm2 : public TPlayerDialog {
 public:
  explicit TForm2(TComponent* AOwner);
};

extern TForm2* Form2;
