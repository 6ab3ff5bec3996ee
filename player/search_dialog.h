// The search dialog `TForm6`: finds a station of the catalogue by name.
// Its controls and handlers come with its own work; until then it is the empty dialog.
#pragma once

#include "player/layout.h"

class TForm6 : public TPlayerDialog {
 public:
  explicit TForm6(TComponent* AOwner);
};

extern TForm6* Form6;
