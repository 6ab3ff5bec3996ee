// The editor's list window ("ЭфРедактор"), its main window: every station slot with its logo
// and name, an edit and a reset symbol per row, and the commands that add a slot, open a
// station in the edit window and reset a slot to the placeholder. Every change is written to
// the station folder at once.
//
//   Application.CreateForm(Form1);     // reads sc.txt, scans the station folder, fills the list
//   Form1->DataGrid1SelectCell(Form1->DataGrid1, 2, 0);   // as a click on row 0's edit symbol
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "editor/editor_frame.h"
#include "grid/column_kinds.h"
#include "grid/data_grid.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/skinned_controls.h"
#include "stations/station_store.h"

class TForm1 : public TEditorWindow {
 public:
  explicit TForm1(TComponent* AOwner);

  TsSkinManager* sSkinManager1;
  TImage* Image3;  // title icon
  TsLabel* sLabel1;
  TImage* Image2;  // close
  TDataGrid* DataGrid1;
  TNxGraphicColumn* NxGraphicColumn1;
  TNxTextColumn* NxTextColumn1;
  TNxGraphicColumn* NxGraphicColumn2;
  TNxGraphicColumn* NxGraphicColumn3;
  TsCheckBox* sCheckBox1;
  TsBitBtn* sBitBtn2;
  TsBitBtn* sBitBtn1;
  TsBitBtn* sBitBtn3;

  void FormCreate(TObject* Sender);
  void Image2Click(TObject* Sender);
  void sBitBtn1Click(TObject* Sender);
  void sBitBtn2Click(TObject* Sender);
  void sBitBtn3Click(TObject* Sender);
  void DataGrid1SelectCell(TObject* Sender, int ACol, int ARow);
  // Bound to no control.
  void Button1Click(TObject* Sender);
  void sLabel2MouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y);

  // The station a row stands for.
  int RowStation(int ARow) const;
  // Appends a row for station N: its logo, the name and the edit and reset symbols.
  void AddStationRow(int N, std::unique_ptr<TGraphic> logo, const std::string& name);
  // Appends a row for each station, whose logo and name are read from the folder when the
  // row first comes into view (or is opened): a long list starts as fast as a short one.
  void AddStationRows(const std::vector<int>& stations);
  // Reads the logo and name of each row that is in view and has not been read yet.
  void ReadRowsInView();
  // Show a station's name and logo in every row of that station. The logo goes to the
  // first row; further rows get their own copy read from `path`.
  void ShowStationName(int N, const std::string& name);
  void ShowStationLogo(int N, std::unique_ptr<TGraphic> logo, const std::string& path,
                       const std::string& extension);

 private:
  // A row's station and the pictures its cells point at, which the window owns.
  struct TStationRow {
    int Station = 0;
    bool Read = false;  // its logo, name and symbols are in its cells
    std::unique_ptr<TGraphic> Logo, Edit, Reset;
  };

  std::vector<int> RowsOf(int N) const;
  void ReadRow(int ARow);
  void ShowRow(int ARow, std::unique_ptr<TGraphic> logo, const std::string& name);
  // A row's own copy of a symbol; the file is read once, on the first row that needs it.
  std::unique_ptr<TGraphic> SymbolCopy(std::unique_ptr<TGraphic>& symbol, const std::string& fileName);

  std::vector<TStationRow> rows_;
  std::unique_ptr<TGraphic> editSymbol_, resetSymbol_;
};

extern TForm1* Form1;

// The number of slots as `sc.txt` held it when last read.
extern int StationCount;
// Each station's logo extension, from the folder scan and every change since.
extern TLogoExtensions LogoExtensions;
// The station of the last selected row.
extern int SelectedStation;

// Appends a row for every station 1..StationCount that has a logo the store reads; a
// station without its file stops the list there with the error reading it gives.
void FillStationGrid();
// Line 2 of `Stations\playN.txt`.
std::string ReadStationName(int N);
// Makes slot N the placeholder again: the templates' logo and station file; the number and
// the row stay.
void ResetStationSlot(int N);
