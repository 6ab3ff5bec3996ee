// The editor's confirm window: asks before a station slot is reset to the placeholder.
//
//   DeleteAnswer = false;
//   Form3->ShowModal();
//   if (DeleteAnswer) ResetStationSlot(N);
#pragma once

#include "editor/editor_frame.h"
#include "skin/engine/skinned_controls.h"

class TForm3 : public TEditorWindow {
 public:
  explicit TForm3(TComponent* AOwner);

  TsLabel* sLabel1;
  TsLabel* sLabel2;
  TsButton* sButton2;
  TsButton* sButton1;
  TImage* Image2;

  void sButton2Click(TObject* Sender);
  void sButton1Click(TObject* Sender);
  void Image2Click(TObject* Sender);
};

extern TForm3* Form3;

// The answer of the last confirmation: true only after "УДАЛИТЬ".
extern bool DeleteAnswer;
