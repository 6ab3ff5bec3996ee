// The about box `TForm5`: version, site and the hot-key table.
// Its controls and handlers come with its own work; until then it is the empty dialog.
#pragma once

#include "player/layout.h"

class TForm5 : public TPlayerDialog {
 public:
  explicit TForm5(TComponent* AOwner);
};

extern TForm5* Form5;
