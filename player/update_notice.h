// The update notice `TForm4`, shown when the product site offers a newer version.
// Its controls and handlers come with its own work; until then it is the empty dialog.
#pragma once

#include "player/layout.h"

class TForm4 : public TPlayerDialog {
 public:
  explicit TForm4(TComponent* AOwner);
};

extern TForm4* Form4;
