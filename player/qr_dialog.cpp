#include "player/qr_dialog.h"

TForm7* Form7 = nullptr;

TForm7::TForm7(TComponent* AOwner) : TForm(AOwner) {
  SetBorderStyle(bsSizeToolWin);
  SetCaption("Радио в QR");
  SetBounds(0, 0, 170, 234);
  SetVisible(false);
}
