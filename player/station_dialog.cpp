#include "player/station_dialog.h"

#include "framework/text_file.h"
#include "player/main_window.h"
#include "player/views.h"
#include "stations/station_logo.h"

using namespace layout;

TForm3* Form3 = nullptr;

namespace {

constexpr char kNamePlaceholder[] = "Название радиостанции";
constexpr char kAddressPlaceholder[] = "Ссылка на трансляцию";
constexpr char kLogoPlaceholder[] = "Ссылка на логотип";

// A click empties an edit that still shows its placeholder.
void ClearPlaceholder(TsEdit* edit, const char* placeholder) {
  if (edit->Text() == placeholder) edit->SetText("");
}

TsEdit* NewEdit(TForm* form, int top, const char* placeholder) {
  auto* edit = Place(new TsEdit(form), form, 10, top, 495, 22);
  edit->SetText(placeholder);
  return edit;
}

TsButton* NewButton(TForm* form, int top, const char* caption) {
  auto* button = Place(new TsButton(form), form, 437, top, 68, 26);
  button->SetCaption(caption);
  return button;
}

}  // namespace

TForm3::TForm3(TComponent* AOwner)
    : TPlayerDialog(AOwner, "Редактор радиостанции", 515, 199, "bg_station.png",
                    "Редактор радиостанции") {
  sEdit1 = NewEdit(this, 40, kNamePlaceholder);
  sEdit1->OnClick = [this](TObject* s) { sEdit1Click(s); };
  sEdit2 = NewEdit(this, 68, kAddressPlaceholder);
  sEdit2->OnClick = [this](TObject* s) { sEdit2Click(s); };
  sEdit3 = NewEdit(this, 96, kLogoPlaceholder);
  sEdit3->OnClick = [this](TObject* s) { sEdit3Click(s); };
  sEdit3->SetVisible(false);

  RbPanel1 = Place(new TRbPanel(this), this, 10, 98, 422, 94);
  RbPanel1->SetColor(kPanelColor);
  RbPanel1->SetCornerRadius(10);
  RbPanel1->SetBorderWidth(2);
  Image3 = NewPicture(RbPanel1, 5, 9, 76, 76, "");
  Image3->SetStretch(true);
  sCheckBox1 = Place(new TsCheckBox(this), RbPanel1, 86, 37, 332, 20);
  sCheckBox1->SetColor(kPanelColor);
  sCheckBox1->SetCaption("Использовать альтернативный способ подключения (WMP)");
  sCheckBox1->SetParentFont(false);
  sCheckBox1->Font().SetColor(kLightText);

  sButton1 = NewButton(this, 100, "Сохранить");
  sButton1->OnClick = [this](TObject* s) { sButton1Click(s); };
  sButton2 = NewButton(this, 132, "ОК");
  sButton2->OnClick = [this](TObject* s) { sButton2Click(s); };
  sButton3 = NewButton(this, 164, "Добавить новую");
  sButton3->SetVisible(false);
}

void TForm3::sEdit1Click(TObject*) { ClearPlaceholder(sEdit1, kNamePlaceholder); }
void TForm3::sEdit2Click(TObject*) { ClearPlaceholder(sEdit2, kAddressPlaceholder); }
void TForm3::sEdit3Click(TObject*) { ClearPlaceholder(sEdit3, kLogoPlaceholder); }

void TForm3::sButton1Click(TObject*) {
  // Without a chosen station there is no file to write; a "play-1.txt" would be counted by
  // the folder scan as a station.
  if (Settings.LastStation < 1) return;
  TTextFile file;
  file.Rewrite(StationFilePath(PlayerFolder(), Settings.LastStation));
  file.WriteLine(sEdit2->Text());
  file.WriteLine(sEdit1->Text());
  CurrentUrl = sEdit2->Text();
  Form1->RxLabel6->SetCaption(sEdit1->Text());
  file.WriteLine(sCheckBox1->Checked() ? "1" : "0");
  file.Close();
}

void TForm3::sButton2Click(TObject*) { Close(); }

void FillStationDialog() {
  Form3->sEdit1->SetText(Form1->RxLabel6->Caption());
  Form3->sEdit2->SetText(CurrentUrl);
  Form3->sCheckBox1->SetChecked(ConnectionMode == "1");
  const int station = Settings.LastStation;
  const std::string& extension = LogoExtensions[station];
  // The logo the tiles show, read once; the preview keeps a copy of it.
  if (IsTileExtension(extension))
    Form3->Image3->Picture().Assign(StationLogos.Get(PlayerFolder(), station, extension).get());
  Form3->Image3->Repaint();
}

void TForm1::Image8Click(TObject*) {
  Form3->PlaceOnWorkArea(Left(), Top() + 350);
  if (RxLabel6->Caption() == kSlogan) return;
  // Filled before it shows, so that it opens on the current station.
  FillStationDialog();
  if (Form3->Visible())
    Form3->Hide();
  else
    Form3->ShowModal();
}
