#include "editor/list_window.h"

#include <algorithm>

#include "editor/confirm_window.h"
#include "editor/edit_window.h"
#include "editor/station_files.h"
#include "framework/application.h"
#include "framework/convert.h"
#include "framework/exceptions.h"
#include "framework/files.h"
#include "framework/picture_png.h"
#include "framework/text_encoding.h"
#include "grid/column_parts.h"
#include "skin/engine/embedded_data.h"
#include "stations/station_logo.h"

TForm1* Form1 = nullptr;
int StationCount = 0;
TLogoExtensions LogoExtensions;
int SelectedStation = 0;

namespace {

constexpr char kPlaceholderName[] = "Имя Радиостанции";

std::unique_ptr<TGraphic> LoadSymbol(const std::string& fileName) {
  auto symbol = std::make_unique<TPngImage>();
  symbol->LoadFromFile(EditorFolder() + fileName);
  return symbol;
}

constexpr int kListWidth = 488, kPictureWidth = 32;

TNxGraphicColumn* AddPictureColumn(TDataGrid* grid) {
  auto* column = grid->Columns()->Add(std::make_unique<TNxGraphicColumn>());
  column->SetWidth(kPictureWidth);
  column->SetStretch(true);
  return column;
}

TsBitBtn* NewButton(TForm1* form, int left, int width, const char* caption) {
  auto* button = Place(new TsBitBtn(form), form, left, 420, width, 46);
  button->SetCaption(caption);
  return button;
}

}  // namespace

TForm1::TForm1(TComponent* AOwner) : TEditorWindow(AOwner, 501, 485, "ed_main.png") {
  SetCaption("ЭфРедактор");
  SetPosition(poScreenCenter);
  // The editor's only skin manager, hence the default one for all three windows.
  sSkinManager1 = NewManagerWithBuiltInSkin(this, "EfirNight");

  Image3 = Place(new TImage(this), this, 8, 4, 24, 24);
  LoadPicture(Image3, "logo_small.png");
  Image3->OnMouseDown = DragHandler();
  sLabel1 = Place(new TsLabel(this), this, 38, 8, 434, 20);
  sLabel1->SetCaption("ЭфРедактор - Редактор Радиостанций Эфирушки");
  sLabel1->SetParentFont(false);
  sLabel1->Font().SetName("Arial");
  // A pixel smaller than the other titles: at their size the long title runs under the close
  // symbol.
  sLabel1->Font().SetHeight(-14);
  sLabel1->Font().SetStyle(fsBold);
  sLabel1->Font().SetColor(kEditorText);
  sLabel1->OnMouseDown = DragHandler();
  Image2 = Place(new TImage(this), this, 475, 5, 20, 20);
  LoadPicture(Image2, "close.png");
  Image2->OnClick = [this](TObject* s) { Image2Click(s); };

  DataGrid1 = Place(new TDataGrid(this), this, 7, 40, kListWidth, 366);
  DataGrid1->SetColor(clWhite);
  // The background's well frames the list; the columns fill its width.
  DataGrid1->SetBorderStyle(bsNone);
  DataGrid1->SetParentFont(false);
  DataGrid1->Font().SetName("Arial Narrow");
  DataGrid1->Font().SetHeight(-16);
  DataGrid1->SetRowSize(32);
  DataGrid1->SetHeaderSize(0);
  DataGrid1->SetOptions(goGrid | goHeader | goSelectFullRow);
  DataGrid1->SetSelectionColor(clBlack);
  DataGrid1->SetInactiveSelectionColor(clWhite);
  NxGraphicColumn1 = AddPictureColumn(DataGrid1);
  NxTextColumn1 = DataGrid1->Columns()->Add(std::make_unique<TNxTextColumn>());
  // The name takes what the pictures leave beside the list's scroll bar: a long list keeps its
  // reset column whole and needs no scrolling sideways.
  NxTextColumn1->SetWidth(kListWidth - 3 * kPictureWidth - GetSystemMetrics(SM_CXVSCROLL));
  NxTextColumn1->Header()->SetCaption(L"Название радиостанции");
  NxTextColumn1->SetOptions(NxTextColumn1->Options() | coShowTextFitHint);
  NxGraphicColumn2 = AddPictureColumn(DataGrid1);
  NxGraphicColumn3 = AddPictureColumn(DataGrid1);
  DataGrid1->OnSelectCell = [this](TObject* s, int c, int r) { DataGrid1SelectCell(s, c, r); };
  // Whatever brought rows into view (scrolling, keys, a reset), they are read before the
  // list paints them.
  TWndMethod gridProc = DataGrid1->WindowProc();
  DataGrid1->SetWindowProc([this, gridProc](TMessage& message) {
    if (message.Msg == WM_PAINT) ReadRowsInView();
    gridProc(message);
  });

  sCheckBox1 = Place(new TsCheckBox(this), this, 14, 432, 220, 20);
  sCheckBox1->SetCaption("Подтверждать удаление");
  sCheckBox1->Font().SetColor(kEditorText);
  sCheckBox1->SetChecked(true);
  sBitBtn2 = NewButton(this, 256, 120, "Добавить\nРадиостанцию");
  sBitBtn2->OnClick = [this](TObject* s) { sBitBtn2Click(s); };
  sBitBtn1 = NewButton(this, 384, 106, "Готово!");
  sBitBtn1->OnClick = [this](TObject* s) { sBitBtn1Click(s); };
  sBitBtn3 = NewButton(this, 256, 120, "");
  sBitBtn3->SetVisible(false);
  sBitBtn3->OnClick = [this](TObject* s) { sBitBtn3Click(s); };

  OnCreate = [this](TObject* s) { FormCreate(s); };
}

void TForm1::FormCreate(TObject*) {
  ResetLogoReport();
  // From the current folder, which is the program folder when the editor is started as usual.
  StationCount = ReadSlotCount("sc.txt");
  sBitBtn3Click(this);
}

void TForm1::Image2Click(TObject*) { Close(); }

void TForm1::sBitBtn1Click(TObject*) { Close(); }

void TForm1::sBitBtn2Click(TObject*) {
  const std::string folder = EditorFolder();
  StationCount = ReadSlotCount(folder + "sc.txt");
  const int M = StationCount + 1;
  if (M < 1 || M > kMaxStations)
    throw Exception("Недопустимый номер радиостанции: " + efir::IntToStr(M) + " (от 1 до " +
                    efir::IntToStr(kMaxStations) + ")");
  const std::string logoPath = StationLogoPath(folder, M, ".jpg");
  CopyUnlessExists(folder + "nil.jpg", logoPath);
  CopyUnlessExists(folder + "nil.txt", StationFilePath(folder, M));
  std::unique_ptr<TGraphic> logo = NewStationLogo(logoPath, ".jpg");
  // Counted only once its files are in place and its logo reads.
  WriteSlotCount(folder + "sc.txt", M);
  AddStationRow(M, std::move(logo), kPlaceholderName);
  LogoExtensions.Set(M, ".jpg");
}

void TForm1::sBitBtn3Click(TObject*) {
  std::vector<std::string> names;
  for (const TSearchRec& entry : efir::FindFiles(EditorFolder() + "Stations\\*.*"))
    if (entry.Name != "." && entry.Name != "..") names.push_back(entry.Name);
  ScanStationNames(names, LogoExtensions);
  FillStationGrid();
}

void TForm1::DataGrid1SelectCell(TObject*, int ACol, int ARow) {
  ReadRow(ARow);
  SelectedStation = RowStation(ARow);
  const int N = SelectedStation;
  if (ACol == 2) {
    const std::string& extension = LogoExtensions[N];
    if (IsTileExtension(extension))
      Form2->Image4->Picture().Assign(ReadStationLogo(EditorFolder(), N, extension).get());
    Form2->sEdit1->SetText(efir::text::toAnsi(DataGrid1->GetCellText(1, ARow)));
    Form2->sEdit2->SetText(ReadStationUrl(N));
    ChosenLogoFile.clear();
    Form2->ShowModal();
  } else if (ACol == 3) {
    if (sCheckBox1->Checked()) {
      DeleteAnswer = false;
      Form3->ShowModal();
      if (!DeleteAnswer) return;
    }
    ResetStationSlot(N);
  }
}

void TForm1::Button1Click(TObject*) { FillStationGrid(); }

void TForm1::sLabel2MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X,
                              int Y) {
  Image1MouseDown(Sender, Button, Shift, X, Y);
}

int TForm1::RowStation(int ARow) const { return rows_.at(static_cast<size_t>(ARow)).Station; }

std::vector<int> TForm1::RowsOf(int N) const {
  std::vector<int> rows;
  for (size_t r = 0; r < rows_.size(); ++r)
    if (rows_[r].Station == N) rows.push_back(static_cast<int>(r));
  return rows;
}

void TForm1::AddStationRow(int N, std::unique_ptr<TGraphic> logo, const std::string& name) {
  DataGrid1->AddRow();
  rows_.push_back({N, true});
  ShowRow(static_cast<int>(rows_.size()) - 1, std::move(logo), name);
}

void TForm1::AddStationRows(const std::vector<int>& stations) {
  if (stations.empty()) return;
  DataGrid1->AddRow(static_cast<int>(stations.size()));
  for (int N : stations) rows_.push_back({N});
  ReadRowsInView();
}

void TForm1::ReadRowsInView() {
  // The row under the last whole one shows in part.
  const int last = std::min(DataGrid1->LastRowInView() + 1, static_cast<int>(rows_.size()) - 1);
  for (int r = DataGrid1->TopRow(); r <= last; ++r) ReadRow(r);
}

void TForm1::ReadRow(int ARow) {
  TStationRow& row = rows_.at(static_cast<size_t>(ARow));
  if (row.Read) return;
  // Marked first: a file that fails is reported once, not at every paint.
  row.Read = true;
  const int N = row.Station;
  std::unique_ptr<TGraphic> logo = ReadStationLogo(EditorFolder(), N, LogoExtensions[N]);
  std::string name;
  efir::Guarded([&] { name = ReadStationName(N); });
  ShowRow(ARow, std::move(logo), name);
}

void TForm1::ShowRow(int ARow, std::unique_ptr<TGraphic> logo, const std::string& name) {
  TStationRow& row = rows_[static_cast<size_t>(ARow)];
  row.Logo = std::move(logo);
  row.Edit = SymbolCopy(editSymbol_, "edit.png");
  row.Reset = SymbolCopy(resetSymbol_, "trash.png");
  DataGrid1->GetCell(0, ARow)->CellObject = row.Logo.get();
  DataGrid1->GetCell(2, ARow)->CellObject = row.Edit.get();
  DataGrid1->GetCell(3, ARow)->CellObject = row.Reset.get();
  DataGrid1->SetCellText(1, ARow, efir::text::fromAnsi(name));
}

// Decoding the two symbols again for every row was most of a long list's start-up.
std::unique_ptr<TGraphic> TForm1::SymbolCopy(std::unique_ptr<TGraphic>& symbol,
                                             const std::string& fileName) {
  if (!symbol) symbol = LoadSymbol(fileName);
  return symbol->Clone();
}

void TForm1::ShowStationName(int N, const std::string& name) {
  for (int r : RowsOf(N)) {
    ReadRow(r);
    DataGrid1->SetCellText(1, r, efir::text::fromAnsi(name));
  }
}

void TForm1::ShowStationLogo(int N, std::unique_ptr<TGraphic> logo, const std::string& path,
                             const std::string& extension) {
  for (int r : RowsOf(N)) {
    ReadRow(r);
    if (!logo) logo = NewStationLogo(path, extension);
    DataGrid1->GetCell(0, r)->CellObject = logo.get();
    rows_[static_cast<size_t>(r)].Logo = std::move(logo);
    DataGrid1->RefreshCell(0, r);
  }
}

void FillStationGrid() {
  const std::string folder = EditorFolder();
  std::vector<int> listed;
  for (int N = 1; N <= std::min(StationCount, kMaxStations); ++N) {
    if (!IsTileExtension(LogoExtensions[N])) continue;
    if (!efir::FileExists(StationFilePath(folder, N))) {
      // The rows before it stay; reading the name gives the error.
      Form1->AddStationRows(listed);
      listed.clear();
      ReadStationName(N);
    }
    listed.push_back(N);
  }
  Form1->AddStationRows(listed);
}

std::string ReadStationName(int N) {
  return ReadStationFile(StationFilePath(EditorFolder(), N)).Name;
}

void ResetStationSlot(int N) {
  const std::string folder = EditorFolder();
  const std::string placeholder = StationLogoPath(folder, N, ".jpg");
  // The placeholder logo replaces the old one before that goes, so the slot never lacks one.
  CopyReplacing(folder + "nil.jpg", placeholder);
  const std::string old = LogoExtensions[N];
  if (!old.empty() && old != ".jpg") efir::DeleteFile(StationLogoPath(folder, N, old));
  // The logo is the placeholder now, whatever the next step does: the table and the row
  // follow the folder at once.
  LogoExtensions.Set(N, ".jpg");
  Form1->ShowStationLogo(N, NewStationLogo(placeholder, ".jpg"), placeholder, ".jpg");
  CopyReplacing(folder + "nil.txt", StationFilePath(folder, N));
  Form1->ShowStationName(N, kPlaceholderName);
}
