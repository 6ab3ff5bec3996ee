// The about box `TForm5`: the version, links to the product site and to the donation page,
// and a table of the global hot keys that the layout keeps hidden. The main window's picture
// "Информация о программе" (TForm1::Image6Click) shows it modally.
#pragma once

#include "player/layout.h"

class TDataGrid;

class TForm5 : public TPlayerDialog {
 public:
  explicit TForm5(TComponent* AOwner);

  TImage* Image3;           // the program's picture
  TsLabel* sLabel2;         // "(Что нового?)"
  TsBitBtn* sBitBtn1;       // "Поддержать Автора"
  TsBitBtn* sBitBtn2;       // "Сайт Эфирушки Плюс"
  TsEdit* sEdit1;           // the product site's address
  TDataGrid* DataGrid1;     // hot keys (hidden)

  void FormCreate(TObject* Sender);
  void sLabel2Click(TObject* Sender);
  void sBitBtn1Click(TObject* Sender);
  void Image1Click(TObject* Sender);
  void sBitBtn2Click(TObject* Sender);

  // Handlers the layout binds to nothing; code may call them.
  void DonationLinkClick(TObject* Sender);
  void ShortLink1Click(TObject* Sender);
  void ShortLink2Click(TObject* Sender);
  void ShortLink3Click(TObject* Sender);
  void ShortLink4Click(TObject* Sender);
  void sEdit1Click(TObject* Sender);
};

extern TForm5* Form5;
