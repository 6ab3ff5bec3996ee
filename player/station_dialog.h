// The station editor dialog `TForm3`: the current station's name, stream address, connection
// mode and logo, and "Сохранить", which rewrites the station's file. The main window's
// picture "Редактировать радиостанцию" (TForm1::Image8Click) opens it below the window.
#pragma once

#include "player/layout.h"
#include "widgets/rb_panel.h"

class TForm3 : public TPlayerDialog {
 public:
  explicit TForm3(TComponent* AOwner);

  TRbPanel* RbPanel1;
  TImage* Image3;           // logo preview
  TsCheckBox* sCheckBox1;   // media-player connection
  TsEdit* sEdit1;           // name
  TsEdit* sEdit2;           // stream address
  TsEdit* sEdit3;           // logo address (hidden)
  TsButton* sButton1;       // "Сохранить"
  TsButton* sButton2;       // "ОК"
  TsButton* sButton3;       // "Добавить новую" (hidden)

  void sEdit1Click(TObject* Sender);
  void sEdit2Click(TObject* Sender);
  void sEdit3Click(TObject* Sender);
  void sButton1Click(TObject* Sender);
  void sButton2Click(TObject* Sender);
};

extern TForm3* Form3;

// Shows the current station in the dialog: name, address, connection mode and logo.
void FillStationDialog();
