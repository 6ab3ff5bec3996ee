// What the editor's tests share: a program folder of their own (a copy of the shipped one,
// with its demo stations, made the current folder too, as the editor reads `sc.txt` from
// there at start), the default handler's messages captured instead of shown, the editor's
// windows started and ended as the program does, and small file helpers.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "skin/forms/skin_hook.h"
#include "editor/confirm_window.h"
#include "editor/edit_window.h"
#include "editor/editor_forms.h"
#include "editor/list_window.h"
#include "framework/application.h"
#include "framework/picture_jpeg.h"
#include "framework/text_encoding.h"
#include "tests/support/paths.h"

namespace editor_test {

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// Whether the picture shows the same pixels as the JPEG file.
inline bool SameJpeg(const TGraphic* picture, const std::filesystem::path& path) {
  auto* jpeg = dynamic_cast<const TJPEGImage*>(picture);
  TJPEGImage file;
  file.LoadFromFile(path.string());
  if (!jpeg || jpeg->Width() != file.Width() || jpeg->Height() != file.Height()) return false;
  for (int y = 0; y < file.Height(); ++y)
    if (std::memcmp(jpeg->Bitmap().ScanLine(y), file.Bitmap().ScanLine(y),
                    static_cast<size_t>(file.Width()) * 3) != 0)
      return false;
  return true;
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

class EditorTest : public ::testing::Test {
 protected:
  EditorTest()
      : folder_(std::filesystem::absolute(
            ::testing::UnitTest::GetInstance()->current_test_info()->name())) {}

  void SetUp() override { Fresh(); }

  void TearDown() override {
    Stop();
    Application.ExceptionHook = nullptr;
    SetEditorFolderForTests("");
    SetCurrentDirectoryW(savedDir_.c_str());
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  // A new copy of the program folder and the editor's state as at the program's start.
  void Fresh() {
    if (savedDir_.empty()) {
      wchar_t current[MAX_PATH];
      GetCurrentDirectoryW(MAX_PATH, current);
      savedDir_ = current;
    }
    // A folder that is the current one cannot be removed.
    SetCurrentDirectoryW(savedDir_.c_str());
    std::filesystem::remove_all(folder_);
    std::filesystem::copy(efir::test::sourceDir() + "/assets/program", folder_,
                          std::filesystem::copy_options::recursive);
    SetCurrentDirectoryW(folder_.wstring().c_str());
    SetEditorFolderForTests(folder_.string() + "\\");
    // The program starts once; the tests start it again and again.
    StationCount = 0;
    LogoExtensions.Clear();
    SelectedStation = 0;
    ChosenLogoFile.clear();
    DeleteAnswer = false;
    Application.Initialize();
    shown.clear();
    Application.ExceptionHook = [this](const std::string& message) { shown.push_back(message); };
  }

  // The program's start: the three windows, then the loop until the list window shows.
  void Start() {
    StartWindowSkinning();  // as the program does: its windows become skinned forms
    CreateEditorForms();
    Form1->Show();
    for (int waited = 0; waited < 2000 && !IsWindowVisible(Form1->Handle()); waited += 10) {
      Application.ProcessMessages();
      Sleep(10);
    }
  }

  // The program's end: the list window closes, the loop ends, the windows go.
  static void Stop() {
    if (!Application.MainForm()) return;
    Application.MainForm()->Close();
    Application.Run();
  }

  // Runs `inside` once the modal window `form` shows; `inside` ends it. For the handlers
  // that show the edit or the confirm window.
  static void WhenModal(TForm* form, std::function<void()> inside) {
    Application.QueueCall([form, inside = std::move(inside)] {
      if (form->Modal()) inside();
    });
  }

  // A click on the button as the user makes it: a failure reaches the default handler.
  static void Press(TWinControl* button) { SendMessageW(button->Handle(), BM_CLICK, 0, 0); }

  std::filesystem::path station(const std::string& name) const {
    return folder_ / "Stations" / name;
  }
  static std::string Name(int row) {
    return efir::text::toAnsi(Form1->DataGrid1->GetCellText(1, row));
  }
  static int Rows() { return Form1->DataGrid1->RowCount(); }
  static TGraphic* Picture(int column, int row) {
    return Form1->DataGrid1->GetCell(column, row)->CellObject;
  }
  // The names of the station folder's entries for station N: "3.gif", "play3.txt".
  std::vector<std::string> Entries(int N) const {
    std::vector<std::string> names;
    const std::string number = std::to_string(N);
    for (const auto& entry : std::filesystem::directory_iterator(folder_ / "Stations")) {
      std::string name = entry.path().filename().string();
      if (name.rfind(number + ".", 0) == 0 || name == "play" + number + ".txt")
        names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  std::filesystem::path folder_;
  // Messages the default exception handler would have shown.
  std::vector<std::string> shown;

 private:
  std::wstring savedDir_;
};

}  // namespace editor_test
