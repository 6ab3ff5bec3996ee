#include "editor/confirm_window.h"

TForm3* Form3 = nullptr;
bool DeleteAnswer = false;

namespace {

TsButton* NewButton(TForm3* form, int left, int width, const char* caption) {
  auto* button = Place(new TsButton(form), form, left, 92, width, 30);
  button->SetCaption(caption);
  return button;
}

}  // namespace

TForm3::TForm3(TComponent* AOwner) : TEditorWindow(AOwner, 301, 136, "ed_confirm.png") {
  SetPosition(poMainFormCenter);
  // As wide as the close symbol leaves it, and a little smaller than the layout's 19 px, which
  // cut the question's end.
  sLabel1 = Place(new TsLabel(this), this, 8, 5, 264, 22);
  sLabel1->SetCaption("Удалить радиостанцию?");
  sLabel1->SetParentFont(false);
  sLabel1->Font().SetName("Arial");
  sLabel1->Font().SetHeight(-17);
  sLabel1->Font().SetStyle(fsBold);
  sLabel1->Font().SetColor(kEditorText);
  sLabel1->OnMouseDown = DragHandler();

  sLabel2 = Place(new TsLabel(this), this, 10, 50, 280, 20);
  sLabel2->SetCaption("Имя радиостанции");
  sLabel2->Font().SetColor(kEditorText);
  sLabel2->OnMouseDown = DragHandler();

  sButton2 = NewButton(this, 10, 120, "УДАЛИТЬ");
  sButton2->OnClick = [this](TObject* s) { sButton2Click(s); };
  sButton1 = NewButton(this, 140, 150, "Нет, я передумал");
  sButton1->OnClick = [this](TObject* s) { sButton1Click(s); };

  // Lies over the close symbol drawn into the background.
  Image2 = Place(new TImage(this), this, 275, 5, 20, 20);
  Image2->OnClick = [this](TObject* s) { Image2Click(s); };
}

void TForm3::sButton2Click(TObject*) {
  DeleteAnswer = true;
  Close();
}

void TForm3::sButton1Click(TObject*) {
  DeleteAnswer = false;
  Close();
}

void TForm3::Image2Click(TObject* Sender) { sButton1Click(Sender); }
