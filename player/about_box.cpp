#include "player/about_box.h"

#include "framework/text_encoding.h"
#include "grid/column_kinds.h"
#include "grid/data_grid.h"
#include "player/main_window.h"
#include "player/web_pages.h"

using namespace layout;

TForm5* Form5 = nullptr;

namespace {

// What each global hot key does, in the order of the table.
constexpr const char* kHotKeys[][2] = {
    {"НАЗВАНИЕ В БУФЕР", "CTRL + SHIFT + F1"},    {"ОТПРАВИТЬ ВКОНТАКТ", "CTRL + SHIFT + F2"},
    {"СЛУЧАЙНАЯ СТАНЦИЯ", "CTRL + SHIFT + F4"},   {"СВЕРНУТЬ/РАЗВЕРНУТЬ", "CTRL + SHIFT + F5"},
    {"ТИШЕ", "CTRL + SHIFT + F8"},                {"ГРОМЧЕ", "CTRL + SHIFT + F9"},
    {"ПУСК", "CTRL + SHIFT + F10"},               {"ЗАПИСЬ", "CTRL + SHIFT + F11"},
    {"СТОП", "CTRL + SHIFT + F12"},
};
// The table has a row more than it fills; the last stays empty.
constexpr int kHotKeyRows = 10;

TsBitBtn* NewBitBtn(TForm* form, int left, const std::string& caption) {
  auto* button = Place(new TsBitBtn(form), form, left, 196, 180, 30);
  button->SetCaption(caption);
  return button;
}

}  // namespace

TForm5::TForm5(TComponent* AOwner)
    : TPlayerDialog(AOwner, "Версия", 621, 332, "bg_about.png", "Эфирушка Плюс 23.10") {
  Image1->OnClick = [this](TObject* s) { Image1Click(s); };
  Image3 = NewPicture(this, 40, 122, 96, 96, "logo.png");

  sLabel2 = NewLabel<TsLabel>(this, 160, 122, 150, 18, "(Что нового?)", kAccentText);
  sLabel2->Font().SetStyle(fsUnderline);
  sLabel2->SetCursor(crHandPoint);
  sLabel2->OnClick = [this](TObject* s) { sLabel2Click(s); };
  sEdit1 = Place(new TsEdit(this), this, 160, 152, 370, 22);
  sEdit1->SetText(ProductSite());
  sEdit1->SetReadOnly(true);

  DataGrid1 = Place(new TDataGrid(this), this, 160, 240, 300, 80);
  DataGrid1->SetOptions(DataGrid1->Options() & ~goHeader);
  DataGrid1->SetRowSize(14);
  for (int width : {170, 130})
    DataGrid1->Columns()->Add(std::make_unique<TNxTextColumn>())->SetWidth(width);
  DataGrid1->SetVisible(false);

  sBitBtn1 = NewBitBtn(this, 160, "Поддержать Автора");
  sBitBtn1->OnClick = [this](TObject* s) { sBitBtn1Click(s); };
  sBitBtn2 = NewBitBtn(this, 350, "Сайт Эфирушки Плюс");
  sBitBtn2->OnClick = [this](TObject* s) { sBitBtn2Click(s); };
  OnCreate = [this](TObject* s) { FormCreate(s); };
}

void TForm5::FormCreate(TObject*) {
  DataGrid1->AddRow(kHotKeyRows);
  for (int row = 0; row < static_cast<int>(std::size(kHotKeys)); ++row)
    for (int column = 0; column < 2; ++column)
      DataGrid1->SetCellText(column, row, efir::text::fromAnsi(kHotKeys[row][column]));
}

void TForm1::Image6Click(TObject*) {
  Form5->PlaceOnWorkArea(Left() - 50, Top() + 50);
  Form5->ShowModal();
}

void TForm5::sLabel2Click(TObject*) { OpenWebPage(ProductSite() + "/install.html"); }
void TForm5::sBitBtn1Click(TObject*) { OpenWebPage(kDonationPage); }
void TForm5::Image1Click(TObject*) { OpenWebPage(kDonationPage); }
void TForm5::sBitBtn2Click(TObject*) { OpenWebPage(ProductSite()); }
void TForm5::DonationLinkClick(TObject*) { OpenWebPage(kDonationPage); }
void TForm5::ShortLink1Click(TObject*) { OpenWebPage(kShortLinks[0]); }
void TForm5::ShortLink2Click(TObject*) { OpenWebPage(kShortLinks[1]); }
void TForm5::ShortLink3Click(TObject*) { OpenWebPage(kShortLinks[2]); }
void TForm5::ShortLink4Click(TObject*) { OpenWebPage(kShortLinks[3]); }
// The field only shows the site's address for copying.
void TForm5::sEdit1Click(TObject*) {}
