// The search dialog `TForm6`: finds a station of the shipped catalogue by a part of its line
// (name or genre), shows its tile, plays it ("Слушать") and adds it to the favourites
// ("В избранное"). No command of the windows opens it; code shows it with Form6->Show().
//
//   Form6->sEdit1->SetText("джаз");      // the edit upper-cases what is typed
//   Form6->sButton1Click(Form6);         // "Поиск": FoundStation is the line found
#pragma once

#include <string>

#include "player/layout.h"
#include "widgets/rb_panel.h"

class TForm6 : public TPlayerDialog {
 public:
  explicit TForm6(TComponent* AOwner);

  TImage* Image4;           // the search picture; drags the window
  TRbPanel* RbPanel1;       // drags the window
  TsLabel* sLabel2;         // "Введите название радиостанции для поиска"
  TsEdit* sEdit1;           // the query
  TsButton* sButton1;       // "Поиск"
  TsButton* sButton2;       // "Слушать"
  TsBitBtn* sBitBtn1;       // "В избранное"
  TsLabel* sLabel3;         // "Результат:"

  // The station the last successful search found (its catalogue line), 0 before any.
  int FoundStation = 0;

  void sEdit1Change(TObject* Sender);
  void sButton1Click(TObject* Sender);
  void sButton2Click(TObject* Sender);
  void sBitBtn1Click(TObject* Sender);

  // Looks the query up in the catalogue `Stations.txt` of the program folder: the first line
  // whose name holds it, case aside, becomes FoundStation, the result shows and the tiles
  // scroll to it.
  void FindStationInIndex(const std::string& Query);
};

extern TForm6* Form6;
