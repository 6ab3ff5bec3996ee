#include "player/update_notice.h"

TForm4* Form4 = nullptr;

TForm4::TForm4(TComponent* AOwner)
    : TPlayerDialog(AOwner, "Обновление Эфирушки", 311, 275, "bg_update.png", "Эфирушка Плюс") {}
