// The editor's edit window: one station's name, stream address, connection mode and logo.
// The list window fills it and shows it modally; "Сохранить" writes the station at once and
// leaves the window open.
//
//   Form2->sEdit1->SetText(name);
//   Form2->sEdit2->SetText(ReadStationUrl(N));
//   ChosenLogoFile.clear();
//   Form2->ShowModal();
#pragma once

#include <string>

#include "editor/editor_frame.h"
#include "framework/dialogs.h"
#include "skin/engine/skinned_controls.h"
#include "widgets/rb_panel.h"

class TForm2 : public TEditorWindow {
 public:
  explicit TForm2(TComponent* AOwner);

  TsLabel* sLabel1;
  TImage* Image2;
  TRbPanel* RbPanel1;
  TImage* Image4;
  TsButton* sButton3;
  TsEdit* sEdit1;
  TsEdit* sEdit2;
  TsCheckBox* sCheckBox1;
  TsButton* sButton2;
  TsButton* sButton1;
  TOpenDialog* OpenDialog1;

  void sButton3Click(TObject* Sender);
  void sButton2Click(TObject* Sender);
  void sButton1Click(TObject* Sender);
  void Image2Click(TObject* Sender);
};

extern TForm2* Form2;

// Full path of the picture chosen in the edit window; empty when none.
extern std::string ChosenLogoFile;

// Line 1 of `Stations\playN.txt`; sets the edit window's mode box from line 3: "1" checks it,
// "0" or no third line clears it, any other text leaves it.
std::string ReadStationUrl(int N);
