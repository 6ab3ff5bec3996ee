#include "player/update_notice.h"

#include "player/web_pages.h"

using namespace layout;

TForm4* Form4 = nullptr;

TForm4::TForm4(TComponent* AOwner)
    : TPlayerDialog(AOwner, "Обновление Эфирушки", 311, 275, "bg_update.png",
                    "Эфирушка Плюс\r\nДоступно обновление") {
  sLabel1->SetBounds(10, 90, 291, 50);
  sLabel1->Font().SetHeight(-18);
  sLabel1->SetAlignment(taCenter);
  sButton1 = Place(new TsButton(this), this, 95, 200, 121, 30);
  sButton1->SetCaption("Обновление");
  sButton1->OnClick = [this](TObject* s) { sButton1Click(s); };
  OnShow = [this](TObject* s) { FormShow(s); };
}

void TForm4::FormShow(TObject*) {
  SetTop(Screen.Height() / 2 - 100);
  SetLeft(Screen.Width() / 2 - 150);
}

void TForm4::sButton1Click(TObject*) { OpenWebPage(ProductSite()); }
