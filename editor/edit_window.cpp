#include "editor/edit_window.h"

#include "editor/list_window.h"
#include "editor/station_files.h"
#include "framework/exceptions.h"
#include "framework/files.h"
#include "framework/text_utils.h"
#include "stations/station_logo.h"

TForm2* Form2 = nullptr;
std::string ChosenLogoFile;

namespace {

constexpr TColor kPanelColor = 0x442D15;

TsButton* NewButton(TWinControl* parent, int left, int top, int width, const char* caption) {
  auto* button = Place(new TsButton(parent->GetParentForm()), parent, left, top, width, 26);
  button->SetCaption(caption);
  return button;
}

// Makes `chosen` the logo of station N. The logo keeps the lower-case spelling of its
// extension, the only one the store reads; the picture is read before any file changes, so a
// file that is no picture leaves the station as it was; and the old logo of another kind goes
// only once the new one is in place, so the station always has one. Choosing the station's
// own logo file keeps that file.
void ReplaceStationLogo(int N, const std::string& chosen) {
  const std::string extension = efir::AnsiLowerCase(efir::ExtractFileExt(chosen));
  if (!IsTileExtension(extension))
    throw EPictureError("Unsupported logo file type (" + efir::ExtractFileExt(chosen) + ")");
  std::unique_ptr<TGraphic> logo = NewStationLogo(chosen, extension);
  const std::string target = StationLogoPath(EditorFolder(), N, extension);
  if (!SameFile(chosen, target)) CopyReplacing(chosen, target);
  for (const char* other : {".jpg", ".gif", ".png"})
    if (extension != other) efir::DeleteFile(StationLogoPath(EditorFolder(), N, other));
  Form1->ShowStationLogo(N, std::move(logo), chosen, extension);
  LogoExtensions.Set(N, extension);
}

}  // namespace

TForm2::TForm2(TComponent* AOwner) : TEditorWindow(AOwner, 497, 164, "ed_edit.png") {
  SetPosition(poMainFormCenter);
  sLabel1 = Place(new TsLabel(this), this, 10, 6, 200, 20);
  sLabel1->SetCaption("Редактор");
  sLabel1->SetParentFont(false);
  sLabel1->Font().SetName("Arial");
  sLabel1->Font().SetHeight(-15);
  sLabel1->Font().SetStyle(fsBold);
  sLabel1->Font().SetColor(kEditorText);

  // Lies over the close symbol drawn into the background.
  Image2 = Place(new TImage(this), this, 471, 5, 20, 20);
  Image2->OnClick = [this](TObject* s) { Image2Click(s); };

  RbPanel1 = Place(new TRbPanel(this), this, 8, 38, 101, 120);
  RbPanel1->SetColor(kPanelColor);
  RbPanel1->SetCornerRadius(10);
  RbPanel1->SetBorderColor(clWhite);
  RbPanel1->SetBorderWidth(2);
  Image4 = Place(new TImage(this), RbPanel1, 8, 6, 85, 82);
  Image4->SetStretch(true);
  Image4->OnClick = [this](TObject* s) { sButton3Click(s); };
  sButton3 = NewButton(RbPanel1, 4, 92, 93, "Выбрать лого");
  sButton3->OnClick = [this](TObject* s) { sButton3Click(s); };

  sEdit1 = Place(new TsEdit(this), this, 118, 42, 370, 22);
  sEdit2 = Place(new TsEdit(this), this, 118, 70, 370, 22);
  sCheckBox1 = Place(new TsCheckBox(this), this, 118, 98, 370, 20);
  sCheckBox1->SetCaption("Использовать альтернативный способ подключения (WMP)");
  sCheckBox1->Font().SetColor(kEditorText);

  sButton2 = NewButton(this, 300, 128, 90, "Сохранить");
  sButton2->OnClick = [this](TObject* s) { sButton2Click(s); };
  sButton1 = NewButton(this, 398, 128, 90, "ОК");
  sButton1->OnClick = [this](TObject* s) { sButton1Click(s); };

  OpenDialog1 = new TOpenDialog(this);
}

void TForm2::sButton3Click(TObject*) {
  ChosenLogoFile.clear();
  OpenDialog1->SetFilter("Графические файлы|*.jpg;*.png;*.gif");
  if (!OpenDialog1->Execute()) return;
  // Chosen only once the preview could read it.
  Image4->Picture().LoadFromFile(OpenDialog1->FileName());
  ChosenLogoFile = OpenDialog1->FileName();
}

void TForm2::sButton2Click(TObject*) {
  const int N = SelectedStation;
  TStationFile station;
  station.Url = sEdit2->Text();
  station.Name = sEdit1->Text();
  station.Mode = sCheckBox1->Checked() ? "1" : "0";
  WriteStationFile(StationFilePath(EditorFolder(), N), station);
  Form1->ShowStationName(N, station.Name);
  if (!ChosenLogoFile.empty()) ReplaceStationLogo(N, ChosenLogoFile);
}

void TForm2::sButton1Click(TObject*) { Close(); }

void TForm2::Image2Click(TObject*) { Close(); }

std::string ReadStationUrl(int N) {
  TStationFile station = ReadStationFile(StationFilePath(EditorFolder(), N));
  if (station.Mode == "1")
    Form2->sCheckBox1->SetChecked(true);
  else if (station.Mode == "0")
    Form2->sCheckBox1->SetChecked(false);
  return station.Url;
}
