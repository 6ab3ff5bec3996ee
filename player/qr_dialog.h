// The QR dialog `TForm7`: a sizeable tool window that shows the current station's address as
// a QR code. Its controls and handlers come with its own work.
#pragma once

#include "framework/forms.h"

class TForm7 : public TForm {
 public:
  explicit TForm7(TComponent* AOwner);
};

extern TForm7* Form7;
