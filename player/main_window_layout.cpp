// The main window's layout: its components where the background picture expects them, and
// the handlers it binds.
#include <initializer_list>

#include "download/web_download.h"
#include "framework/exceptions.h"
#include "grid/column_kinds.h"
#include "grid/column_parts.h"
#include "grid/data_grid.h"
#include "player/layout.h"
#include "player/main_window.h"
#include "player/playback.h"
#include "player/reminder.h"
#include "player/song_history.h"
#include "player/views.h"
#include "skin/engine/embedded_data.h"

using namespace layout;

namespace {

// The colour of the reminder panel's well in the background picture.
constexpr TColor kWellColor = 0x24160A;

TMenuItem* NewItem(TComponent* owner, TMenuItem* parent, const std::string& caption) {
  auto* item = new TMenuItem(owner);
  item->SetCaption(caption);
  parent->Add(item);
  return item;
}

// Hidden scratch controls share one spot under the grids.
template <class T>
T* NewScratch(TForm* form, const std::string& caption = "") {
  auto* control = Place(new T(form), form, 19, 98, 75, 25);
  control->SetCaption(caption);
  control->SetVisible(false);
  return control;
}

TDataGrid* NewGrid(TForm* form, bool visible) {
  auto* grid = Place(new TDataGrid(form), form, 19, 98, 457, 250);
  grid->SetBorderStyle(bsNone);
  grid->SetColor(clWhite);
  // They scroll through sScrollBar1 beside them: bars of their own would cover the tiles.
  grid->SetWindowScrollBars(false);
  grid->SetVisible(visible);
  return grid;
}

// Five logo columns of about 91 pixels, the tiles of one grid.
void AddTileColumns(TDataGrid* grid, std::initializer_list<TNxGraphicColumn**> columns) {
  grid->SetOptions(goDisableColumnMoving | goGrid);
  grid->SetAppearanceOptions(aoHideFocus | aoHideSelection);
  grid->SetGridLinesColor(clWhite);
  grid->SetSelectionColor(clWhite);
  grid->SetInactiveSelectionColor(clWhite);
  grid->SetReadOnly(true);
  grid->SetRowSize(90);
  for (TNxGraphicColumn** member : columns) {
    auto* column = grid->Columns()->Add(std::make_unique<TNxGraphicColumn>());
    column->SetWidth(91);
    column->SetAlignment(taCenter);
    column->SetStretch(true);
    column->SetBorderWidth(0);
    column->SetOptions(column->Options() | coCanClick);
    column->SetCursor(crHandPoint);
    *member = column;
  }
}

// A column of the list view: a header to click for sorting by it.
template <class TColumnKind>
TColumnKind* AddListColumn(TDataGrid* grid, const wchar_t* header, int width,
                           TSortType sortType) {
  auto* column = grid->Columns()->Add(std::make_unique<TColumnKind>());
  column->Header()->SetCaption(header);
  column->SetWidth(width);
  column->SetSortType(sortType);
  column->SetOptions(column->Options() | coCanClick | coCanSort);
  return column;
}

}  // namespace

TForm1::TForm1(TComponent* AOwner) : TForm(AOwner) {
  SetBorderStyle(bsNone);
  SetBounds(300, 150, 514, 391);
  SetClientWidth(514);
  SetClientHeight(391);
  SetTransparentColor(true);
  SetTransparentColorValue(clLime);
  SetCaption(kPlayerTitle);
  SetColor(kNavy);
  SetKeyPreview(true);
  SetShowHint(true);
  SetVisible(true);

  auto drag = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
    Image1MouseDown(s, b, sh, x, y);
  };

  // Background, title and status.
  Image1 = NewPicture(this, 0, 0, 514, 520, "bg_main.png");
  Image1->OnMouseDown = drag;
  Image1->OnDblClick = [this](TObject* s) { Image1DblClick(s); };
  Image11 = NewPicture(this, 10, 8, 24, 24, "logo_small.png");
  RxLabel6 = NewLabel<TRxLabel>(this, 42, 10, 400, 22, kSlogan, kLightText, -16, true);
  RxLabel6->OnMouseDown = drag;
  RxLabel7 = NewLabel<TRxLabel>(this, 12, 47, 460, 18, "Эфирушка Плюс 23.10", kAccentText);
  RxLabel7->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
    RxLabel7MouseDown(s, b, sh, x, y);
  };
  RxLabel7->OnMouseEnter = [this](TObject* s) { RxLabel7MouseEnter(s); };
  RxLabel7->OnMouseLeave = [this](TObject* s) { RxLabel7MouseLeave(s); };
  Image5 = NewPicture(this, 458, 10, 20, 20, "hide.png", "Свернуть эфирушку в трей");
  Image5->OnClick = [this](TObject* s) { Image5Click(s); };
  Image4 = NewPicture(this, 484, 10, 20, 20, "close.png", "Закрыть эфирушку");
  Image4->OnClick = [this](TObject* s) { Image4Click(s); };
  Image3 = NewPicture(this, 480, 44, 24, 24, "notfav.png", "Избранное");
  Image3->OnClick = [this](TObject* s) { Image3Click(s); };

  // Tabs and the list filter.
  RxLabel2 = NewLabel<TRxLabel>(this, 10, 72, 140, 18, "РАДИОСТАНЦИИ", kLightText, -13, true);
  RxLabel3 = NewLabel<TRxLabel>(this, 158, 72, 140, 18, "ИЗБРАННОЕ", kMutedText, -13, true);
  RxLabel2->SetAlignment(taCenter);
  RxLabel3->SetAlignment(taCenter);
  RxLabel2->OnClick = [this](TObject* s) { RxLabel2Click(s); };
  RxLabel3->OnClick = [this](TObject* s) { RxLabel3Click(s); };
  Image12 = NewPicture(this, 10, 90, 140, 4, "tab.png");
  sEdit1 = Place(new TsEdit(this), this, 330, 70, 166, 21);
  sEdit1->OnKeyUp = [this](TObject* s, WORD& k, TShiftState sh) { sEdit1KeyUp(s, k, sh); };

  // The three views share the grid well; the scroll bar drives the one that shows.
  DataGrid1 = NewGrid(this, true);
  AddTileColumns(DataGrid1, {&NxGraphicColumn1, &NxGraphicColumn2, &NxGraphicColumn3,
                            &NxGraphicColumn4, &NxGraphicColumn5});
  DataGrid1->OnSlideChange = [this](TObject* s, int c) { DataGrid1SlideChange(s, c); };
  DataGrid2 = NewGrid(this, false);
  AddTileColumns(DataGrid2, {&NxGraphicColumn6, &NxGraphicColumn7, &NxGraphicColumn8,
                            &NxGraphicColumn9, &NxGraphicColumn10});
  DataGrid3 = NewGrid(this, false);
  DataGrid3->SetOptions(goGrid | goHeader | goSelectFullRow);
  DataGrid3->SetRowSize(18);
  NxTextColumn1 = AddListColumn<TNxNumberColumn>(DataGrid3, L"#", 52, stNumeric);
  NxTextColumn1->Header()->SetAlignment(taRightJustify);
  NxTextColumn1->OnButtonClick = [this](TNxNumberColumn* s) { NxTextColumn1ButtonClick(s); };
  // The three columns fill the grid's width: without bars of its own it cannot scroll sideways.
  NxTextColumn2 = AddListColumn<TNxTextColumn>(DataGrid3, L"Радиостанция", 340, stAlphabetic);
  NxTextColumn3 = AddListColumn<TNxTextColumn>(DataGrid3, L"Слушать", 65, stAlphabetic);
  NxTextColumn3->SetParentFont(false);
  NxTextColumn3->Font()->SetStyle(fsBold | fsUnderline);
  NxTextColumn3->SetCursor(crHandPoint);
  sScrollBar1 = Place(new TsScrollBar(this), this, 478, 98, 17, 250);
  sScrollBar1->SetKind(sbVertical);
  sScrollBar1->SetPageSize(1);
  sScrollBar1->SetParams(1, 0, 101);
  // A bar with nothing to scroll is disabled; it keeps its ordinary look meanwhile.
  sScrollBar1->SetDisabledKind(0);
  sScrollBar1->OnScroll = [this](TObject* s, TScrollCode c, int& p) { sScrollBar1Scroll(s, c, p); };

  DataGrid1->OnSelectCell = [this](TObject* s, int c, int r) { DataGrid1SelectCell(s, c, r); };
  DataGrid2->OnSelectCell = [this](TObject* s, int c, int r) { DataGrid2SelectCell(s, c, r); };
  DataGrid3->OnSelectCell = [this](TObject* s, int c, int r) { DataGrid3SelectCell(s, c, r); };
  DataGrid1->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
    DataGrid1MouseDown(s, b, sh, x, y);
  };
  DataGrid2->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
    DataGrid2MouseDown(s, b, sh, x, y);
  };
  DataGrid3->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
    DataGrid3MouseDown(s, b, sh, x, y);
  };
  DataGrid3->OnMouseUp = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
    DataGrid3MouseUp(s, b, sh, x, y);
  };
  DataGrid1->OnCellHint = [this](TObject* s, int c, int r, std::wstring& v) {
    DataGrid1CellHint(s, c, r, v);
  };
  DataGrid2->OnCellHint = [this](TObject* s, int c, int r, std::wstring& v) {
    DataGrid2CellHint(s, c, r, v);
  };
  DataGrid3->OnSortColumn = [this](TObject* s, int c, bool a) { DataGrid3SortColumn(s, c, a); };
  ReadTilesBeforePaint(DataGrid1, AllStationTiles);
  ReadTilesBeforePaint(DataGrid2, FavouriteTiles);
  DataGrid1->OnVerticalScroll = [this](TObject* s, int p) { DataGrid1VerticalScroll(s, p); };
  DataGrid2->OnVerticalScroll = [this](TObject* s, int p) { DataGrid2VerticalScroll(s, p); };
  DataGrid3->OnVerticalScroll = [this](TObject* s, int p) { DataGrid3VerticalScroll(s, p); };
  DataGrid1->OnMouseEnter = [this](TObject* s) { DataGrid1MouseEnter(s); };
  DataGrid2->OnMouseEnter = [this](TObject* s) { DataGrid2MouseEnter(s); };

  // Bottom bar.
  sBitBtn2 = Place(new TsBitBtn(this), this, 10, 357, 36, 28);
  sBitBtn2->SetHint("Включить радиостанцию");
  sBitBtn3 = Place(new TsBitBtn(this), this, 50, 357, 36, 28);
  sBitBtn3->SetHint("Выключить радиостанцию");
  sBitBtn2->OnClick = [this](TObject* s) { sBitBtn2Click(s); };
  sBitBtn3->OnClick = [this](TObject* s) { sBitBtn3Click(s); };
  sBitBtn1 = Place(new TsBitBtn(this), this, 90, 357, 36, 28);
  sBitBtn1->OnClick = [this](TObject* s) { sBitBtn1Click(s); };
  const std::pair<TsBitBtn*, const char*> glyphs[] = {
      {sBitBtn2, "play.png"}, {sBitBtn3, "stop.png"}, {sBitBtn1, "rec.png"}};
  for (const auto& [button, file] : glyphs) {
    try {
      button->Glyph().LoadFromFile(PlayerFolder() + file);
    } catch (const EPictureError&) {
    }
    button->SetEnabled(false);
  }
  for (TsBitBtn* cancel : {sBitBtn3, sBitBtn1}) {
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
  }
  Image2 = NewPicture(this, 136, 359, 24, 24, "vol.png", "Выключить звук");
  Image2->OnClick = [this](TObject* s) { Image2Click(s); };
  sTrackBar1 = Place(new TsTrackBar(this), this, 162, 357, 110, 28);
  sTrackBar1->SetParams(10, 0, 100);
  sTrackBar1->SetColor(kNavy);
  sTrackBar1->OnChange = [this](TObject* s) { sTrackBar1Change(s); };
  sTrackBar1->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
    sTrackBar1MouseDown(s, b, sh, x, y);
  };
  RxLabel5 = NewLabel<TRxLabel>(this, 276, 362, 40, 18, "25", kLightText, -13, true);
  Image6 = NewPicture(this, 330, 359, 24, 24, "about.png",
                      "Эфирушка Плюс 23.10\r\nИнформация о программе");
  Image6->OnClick = [this](TObject* s) { Image6Click(s); };
  Image7 = NewPicture(this, 359, 359, 24, 24, "settings.png", "Настройки");
  Image7->OnClick = [this](TObject* s) { Image7Click(s); };
  Image8 = NewPicture(this, 388, 359, 24, 24, "editor.png", "Редактировать радиостанцию");
  Image8->OnClick = [this](TObject* s) { Image8Click(s); };
  Image9 = NewPicture(this, 417, 359, 24, 24, "alarm.png", "Напоминалка");
  Image9->OnClick = [this](TObject* s) { Image9Click(s); };
  Image10 = NewPicture(this, 446, 359, 24, 24, "list.png", "Переключить в режим списка");
  Image10->OnClick = [this](TObject* s) { Image10Click(s); };
  Image14 = NewPicture(this, 475, 359, 24, 24, "qr.png", "QR радиостанции");
  Image14->OnClick = [this](TObject* s) { Image14Click(s); };

  // Reminder panel, shown when the window grows to 520.
  sEdit5 = Place(new TsEdit(this), this, 20, 408, 330, 21);
  sEdit5->SetHint("Введите напоминание");
  sLabel3 = NewLabel<TsLabel>(this, 20, 434, 330, 16, "Например: Проверить почту", kMutedText);
  TsEdit** timeEdits[] = {&sEdit2, &sEdit3, &sEdit4};
  TRxSpinButton** spins[] = {&RxSpinButton1, &RxSpinButton2, &RxSpinButton3};
  for (int i = 0; i < 3; ++i) {
    int left = 20 + i * 62;
    *timeEdits[i] = Place(new TsEdit(this), this, left, 466, 36, 21);
    (*timeEdits[i])->SetReadOnly(true);
    (*timeEdits[i])->SetText("00");
    *spins[i] = Place(new TRxSpinButton(this), this, left + 38, 464, 16, 25);
  }
  RxSpinButton1->OnTopClick = [this](TObject* s) { RxSpinButton1TopClick(s); };
  RxSpinButton1->OnBottomClick = [this](TObject* s) { RxSpinButton1BottomClick(s); };
  RxSpinButton2->OnTopClick = [this](TObject* s) { RxSpinButton2TopClick(s); };
  RxSpinButton2->OnBottomClick = [this](TObject* s) { RxSpinButton2BottomClick(s); };
  RxSpinButton3->OnTopClick = [this](TObject* s) { RxSpinButton3TopClick(s); };
  RxSpinButton3->OnBottomClick = [this](TObject* s) { RxSpinButton3BottomClick(s); };
  Image13 = NewPicture(this, 214, 464, 24, 24, "notfav.png", "Активировать Напоминалку");
  Image13->OnClick = [this](TObject* s) { Image13Click(s); };
  sCheckBox2 = Place(new TsCheckBox(this), this, 250, 466, 70, 21);
  // Keeps the layout's width: sized to its caption before its font is set, it cut the caption.
  sCheckBox2->SetAutoSize(false);
  sCheckBox2->SetCaption("Звук");
  sCheckBox2->SetChecked(true);
  sCheckBox2->SetColor(kWellColor);
  sCheckBox2->SetParentFont(false);
  sCheckBox2->Font().SetColor(kLightText);
  sCheckBox1 = Place(new TsCheckBox(this), this, 330, 466, 20, 21);
  sCheckBox1->SetVisible(false);
  sLabel5 = NewLabel<TsLabel>(this, 322, 465, 172, 22, "", kLightText, -16, true);
  sLabel5->SetAlignment(taRightJustify);
  RxClock1 = Place(new TRxClock(this), this, 380, 410, 110, 20);
  RxClock1->SetVisible(false);
  RxClock1->OnAlarm = [this](TObject* s) { RxClock1Alarm(s); };

  // Menus.
  PopupMenu1 = new TPopupMenu(this);
  TMenuItem* items = PopupMenu1->Items();
  PopupMenu1->OnPopup = [this](TObject* s) { PopupMenu1Popup(s); };
  N1 = NewItem(this, items, "&Открыть Эфирушку");
  N1->OnClick = [this](TObject* s) { N1Click(s); };
  N2 = NewItem(this, items, "&Включить радиостанцию");
  N2->OnClick = [this](TObject* s) { N2Click(s); };
  Stop1 = NewItem(this, items, "В&ыключить радиостанцию");
  Stop1->OnClick = [this](TObject* s) { Stop1Click(s); };
  N3 = NewItem(this, items, "Выключить звук");
  N3->OnClick = [this](TObject* s) { N3Click(s); };
  QR2 = NewItem(this, items, "QR радиостанции");
  QR2->OnClick = [this](TObject* s) { QR2Click(s); };
  TMenuItem* equalizerMenu = NewItem(this, items, "&Эквалайзер");
  equalizerMenu->SetVisible(false);
  NewItem(this, equalizerMenu, "Выключить")->SetChecked(true);
  for (const char* preset : {"Джаз", "Поп", "Рок", "Классика"})
    NewItem(this, equalizerMenu, preset);
  N9 = NewItem(this, items, "Настройки...");
  N9->OnClick = [this](TObject* s) { N9Click(s); };
  N7 = NewItem(this, items, "Онлайн справка (FAQ)");
  N7->OnClick = [this](TObject* s) { N7Click(s); };
  N17 = NewItem(this, items, "Название композиции");
  N19 = NewItem(this, N17, "Скопировать название в буфер");
  N19->OnClick = [this](TObject* s) { N19Click(s); };
  N22 = NewItem(this, N17, "Отправить на стену ВКонтакте");
  N22->OnClick = [this](TObject* s) { N22Click(s); };
  N4 = NewItem(this, items, "&Выход");
  N4->OnClick = [this](TObject* s) { N4Click(s); };
  RxLabel6->SetPopupMenu(PopupMenu1);

  PopupMenu2 = new TPopupMenu(this);
  N16 = NewItem(this, PopupMenu2->Items(), "Скопировать название в буфер");
  N16->OnClick = [this](TObject* s) { N16Click(s); };
  N21 = NewItem(this, PopupMenu2->Items(), "Отправить на стену ВКонтакте");
  N21->OnClick = [this](TObject* s) { N21Click(s); };
  N15 = NewItem(this, PopupMenu2->Items(), "Медиа-Поиск");
  N15->SetVisible(false);
  N15->OnClick = [this](TObject* s) { N15Click(s); };
  N26 = NewItem(this, PopupMenu2->Items(), "История");
  N26->OnClick = [this](TObject* s) { N26Click(s); };
  N27 = NewItem(this, PopupMenu2->Items(), "Радиостанция не работает!");
  N27->OnClick = [this](TObject* s) { N27Click(s); };
  PopupMenu3 = new TPopupMenu(this);
  PopupMenu4 = new TPopupMenu(this);
  PopupMenu4->OnPopup = [this](TObject* s) { PopupMenu4Popup(s); };
  N25 = NewItem(this, PopupMenu4->Items(), "");
  N24 = NewItem(this, PopupMenu4->Items(), "Добавить в избранное");
  N24->OnClick = [this](TObject* s) { N24Click(s); };
  RxLabel7->SetPopupMenu(PopupMenu4);
  PopupMenu5 = new TPopupMenu(this);

  // Non-visual parts.
  for (efir::HttpClient* http : {&IdHTTP1, &IdHTTP2}) {
    http->ReadTimeout = 0;
    http->UserAgent = "Mozilla/3.0 (compatible; Indy Library)";
  }
  // The icon shows only while the window is hidden in the tray.
  RxTrayIcon1 = new TRxTrayIcon(this);
  RxTrayIcon1->SetActive(false);
  try {
    RxTrayIcon1->Icon().LoadFromFile(PlayerFolder() + "tray.ico");
  } catch (const EPictureError&) {
  }
  RxTrayIcon1->SetHint(kPlayerTitle);
  RxTrayIcon1->SetPopupMenu(PopupMenu1);
  RxTrayIcon1->OnClick = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) {
    RxTrayIcon1Click(s, b, sh, x, y);
  };
  RxTrayIcon1->OnMouseMove = [this](TObject* s, TShiftState sh, int x, int y) {
    RxTrayIcon1MouseMove(s, sh, x, y);
  };
  Panel1 = NewScratch<TPanel>(this);
  WindowsMediaPlayer1 = CreateMediaPlayer(Panel1);
  WindowsMediaPlayer1->OnStatusChange = [this] { WindowsMediaPlayer1StatusChange(this); };
  Timer1 = new TTimer(this);
  Timer1->SetInterval(10000);
  Timer1->SetEnabled(false);
  Timer1->OnTimer = [this](TObject* s) { Timer1Timer(s); };
  Timer2 = new TTimer(this);
  Timer2->SetInterval(5500);
  Timer2->SetEnabled(false);
  Timer2->OnTimer = [this](TObject* s) { Timer2Timer(s); };
  Timer3 = new TTimer(this);
  Timer3->SetInterval(1000);
  Timer3->OnTimer = [this](TObject* s) { Timer3Timer(s); };
  StartSongHistory();
  SaveDialog1 = new TSaveDialog(this);
  OpenDialog1 = new TOpenDialog(this);
  // Four skins built in; the first manager is the default one and skins every window.
  sSkinManager1 = NewManagerWithBuiltInSkin(this, "EfirNight");
  sSkinManager2 = NewManagerWithBuiltInSkin(this, "EfirDusk");
  sSkinManager3 = NewManagerWithBuiltInSkin(this, "EfirForest");
  sSkinManager4 = NewManagerWithBuiltInSkin(this, "EfirGraphite");
  sScrollBar1->SkinData->SetSkinManager(sSkinManager1);
  SkinReminderSpins(*this);
  WebMultiDownload1 = new TWebMultiDownload(this);

  // Scratch controls.
  Button1 = NewScratch<TButton>(this, "<>");
  Button1->OnClick = [this](TObject* s) { Button1Click(s); };
  Button2 = NewScratch<TButton>(this, "||");
  Button2->OnClick = [this](TObject* s) { Button2Click(s); };
  Button3 = NewScratch<TButton>(this);
  Button3->OnClick = [this](TObject* s) { Button3Click(s); };
  Button4 = NewScratch<TButton>(this);
  Memo1 = NewScratch<TMemo>(this);
  Memo2 = NewScratch<TMemo>(this);
  Edit1 = NewScratch<TEdit>(this);
  Edit2 = NewScratch<TEdit>(this);
  Edit3 = NewScratch<TEdit>(this);
  Label1 = NewScratch<TLabel>(this);
  RxLabel1 = NewScratch<TRxLabel>(this);
  RxLabel4 = NewScratch<TRxLabel>(this);
  RxLabel8 = NewScratch<TRxLabel>(this);
  sLabel1 = NewScratch<TsLabel>(this);

  OnCreate = [this](TObject* s) { FormCreate(s); };
  OnActivate = [this](TObject* s) { FormActivate(s); };
  OnKeyPress = [this](TObject* s, char& k) { FormKeyPress(s, k); };
  OnClose = [this](TObject* s, TCloseAction& a) { FormClose(s, a); };
  OnDestroy = [this](TObject* s) { FormDestroy(s); };
}
