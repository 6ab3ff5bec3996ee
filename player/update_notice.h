// The update notice `TForm4`: "Доступно обновление", shown modally by the version check near the
// screen's centre; "Обновление" opens the product site in the browser.
#pragma once

#include "player/layout.h"

class TForm4 : public TPlayerDialog {
 public:
  explicit TForm4(TComponent* AOwner);

  TsButton* sButton1;  // "Обновление"

  void FormShow(TObject* Sender);
  void sButton1Click(TObject* Sender);
};

extern TForm4* Form4;
