#include "player/search_dialog.h"

#include "framework/text_file.h"
#include "framework/text_utils.h"
#include "grid/data_grid.h"
#include "player/main_window.h"
#include "player/message_box.h"
#include "player/views.h"

using namespace layout;

TForm6* Form6 = nullptr;

namespace {

constexpr size_t kShortestQuery = 3;

TsButton* NewButton(TForm* form, TWinControl* parent, int left, int top, const char* caption) {
  auto* button = Place(new TsButton(form), parent, left, top, 85, 25);
  button->SetCaption(caption);
  return button;
}

// The catalogue's capitals; the edit's own upper-casing turns "ё" into "Ё", which the fixed
// rule keeps as it is, so both are made one letter.
std::string SearchKey(const std::string& text) {
  return efir::ReplaceAll(efir::UpperCaseCyr(text), "ё", "Ё");
}

// The catalogue line holds the query, both in capitals.
bool CatalogueLineMatches(const std::string& line, const std::string& query) {
  return SearchKey(line).find(SearchKey(query)) != std::string::npos;
}

}  // namespace

TForm6::TForm6(TComponent* AOwner)
    : TPlayerDialog(AOwner, "Поиск радиостанции", 515, 136, "bg_search.png",
                    "Поиск радиостанции") {
  RbPanel1 = Place(new TRbPanel(this), this, 10, 38, 495, 90);
  RbPanel1->SetColor(kPanelColor);
  RbPanel1->SetCornerRadius(10);
  RbPanel1->SetBorderWidth(2);
  RbPanel1->OnMouseDown = Image1->OnMouseDown;
  Image4 = NewPicture(RbPanel1, 12, 14, 24, 24, "search.png");
  Image4->OnMouseDown = Image1->OnMouseDown;
  sLabel2 = NewLabel<TsLabel>(RbPanel1, 46, 8, 300, 16,
                              "Введите название радиостанции для поиска", kMutedText);
  sEdit1 = Place(new TsEdit(this), RbPanel1, 46, 27, 250, 22);
  sEdit1->OnChange = [this](TObject* s) { sEdit1Change(s); };
  sButton1 = NewButton(this, RbPanel1, 305, 26, "Поиск");
  sButton1->OnClick = [this](TObject* s) { sButton1Click(s); };
  sButton2 = NewButton(this, RbPanel1, 398, 26, "Слушать");
  sButton2->SetEnabled(false);
  sButton2->OnClick = [this](TObject* s) { sButton2Click(s); };
  sLabel3 = NewLabel<TsLabel>(RbPanel1, 46, 60, 250, 18, "Результат:", kLightText, -13, true);
  sBitBtn1 = Place(new TsBitBtn(this), RbPanel1, 398, 56, 85, 25);
  sBitBtn1->SetCaption("В избранное");
  sBitBtn1->SetHint("Добавить в избранное");
  sBitBtn1->SetEnabled(false);
  sBitBtn1->OnClick = [this](TObject* s) { sBitBtn1Click(s); };
}

void TForm6::sEdit1Change(TObject*) {
  std::string upper = efir::AnsiUpperCase(sEdit1->Text());
  if (upper == sEdit1->Text()) return;
  int caret = sEdit1->SelStart();
  sEdit1->SetText(upper);
  sEdit1->SetSelStart(caret);
}

void TForm6::sButton1Click(TObject*) {
  sButton2->SetEnabled(false);
  sBitBtn1->SetEnabled(false);
  std::string query = sEdit1->Text();
  if (query.size() < kShortestQuery) {
    ShowMessage("Название слишком короткое");
    return;
  }
  FindStationInIndex(query);
  Form1->RxLabel2->Click();
}

void TForm6::FindStationInIndex(const std::string& Query) {
  TTextFile file;
  file.Reset(PlayerFolder() + "Stations.txt");
  int found = 0;
  for (int line = 1; !found && !file.Eof(); ++line)
    if (CatalogueLineMatches(file.ReadLine(), Query)) found = line;
  file.Close();
  if (!found) {
    sButton2->SetEnabled(false);
    sLabel3->SetCaption("Результат: Неудачно");
    return;
  }
  FoundStation = found;
  sLabel3->SetCaption("Результат: Удачно!");
  sButton2->SetEnabled(true);
  // Station N's tile sits in row (N - 1) div 5.
  Form1->DataGrid1->ScrollToRow((found - 1) / kTilesPerRow);
}

void TForm6::sButton2Click(TObject*) {
  sBitBtn1->SetEnabled(true);
  sButton2->SetEnabled(false);
  // Tile (column c, row r) is station c + 5 r + 1.
  int column = (FoundStation - 1) % kTilesPerRow;
  int row = (FoundStation - 1) / kTilesPerRow;
  TDataGrid* tiles = Form1->DataGrid1;
  if (tiles->OnSelectCell) tiles->OnSelectCell(tiles, column, row);
  sLabel3->SetCaption("Результат: ");
}

void TForm6::sBitBtn1Click(TObject*) {
  Form1->Image3->Click();
  sBitBtn1->SetEnabled(false);
}
