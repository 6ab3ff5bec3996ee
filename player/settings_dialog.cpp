#include "player/settings_dialog.h"

TForm2* Form2 = nullptr;

TForm2::TForm2(TComponent* AOwner)
    : TPlayerDialog(AOwner, "Настройка", 309, 390, "bg_settings.png", "Настройки") {}
