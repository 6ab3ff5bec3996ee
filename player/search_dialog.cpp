#include "player/search_dialog.h"

TForm6* Form6 = nullptr;

TForm6::TForm6(TComponent* AOwner)
    : TPlayerDialog(AOwner, "Поиск радиостанции", 515, 136, "bg_search.png",
                    "Поиск радиостанции") {}
