#include "player/about_box.h"

TForm5* Form5 = nullptr;

TForm5::TForm5(TComponent* AOwner)
    : TPlayerDialog(AOwner, "Версия", 621, 332, "bg_about.png", "Эфирушка Плюс 23.10") {}
