// The system's open and save dialogs.
//
//   SaveDialog1->SetFilter("MP3 (*.mp3)|*.mp3|Все файлы|*.*");
//   SaveDialog1->SetFileName("record.mp3");
//   if (SaveDialog1->Execute()) Save(SaveDialog1->FileName());
//
// Filter pairs a description with a pattern, all separated by "|". Texts are Windows-1251.
#pragma once

#include "framework/component.h"

#include <windows.h>
#include <commdlg.h>

#include <string>

class TOpenDialog : public TComponent {
 public:
  explicit TOpenDialog(TComponent* AOwner);

  const std::string& Filter() const { return filter_; }
  void SetFilter(const std::string& value) { filter_ = value; }
  // One-based, as the dialog counts the filter's pairs.
  int FilterIndex() const { return filterIndex_; }
  void SetFilterIndex(int value) { filterIndex_ = value; }
  const std::string& FileName() const { return fileName_; }
  void SetFileName(const std::string& value) { fileName_ = value; }
  const std::string& DefaultExt() const { return defaultExt_; }
  void SetDefaultExt(const std::string& value) { defaultExt_ = value; }
  const std::string& InitialDir() const { return initialDir_; }
  void SetInitialDir(const std::string& value) { initialDir_ = value; }
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& value) { title_ = value; }

  // Shows the dialog; true with FileName set when the user chose a file.
  bool Execute();

 protected:
  virtual bool Run(OPENFILENAMEW& dialog) { return GetOpenFileNameW(&dialog) != 0; }

 private:
  std::string filter_;
  int filterIndex_ = 1;
  std::string fileName_;
  std::string defaultExt_;
  std::string initialDir_;
  std::string title_;
};

class TSaveDialog : public TOpenDialog {
 public:
  using TOpenDialog::TOpenDialog;

 protected:
  bool Run(OPENFILENAMEW& dialog) override { return GetSaveFileNameW(&dialog) != 0; }
};
