// The edit window: opening a station, saving its file, and replacing its logo.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "editor/tests/editor_fixture.h"
#include "framework/dialogs.h"
#include "framework/exceptions.h"
#include "framework/picture_png.h"
#include "tests/support/caption_ink.h"
#include "tests/support/capture.h"
#include "tests/support/paths.h"

namespace {

using editor_test::EditorTest;
using editor_test::ReadBytes;
using editor_test::SameJpeg;
using editor_test::WriteBytes;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The open dialog without its window: answers with a file, or cancels when it has none.
class TAnsweringDialog : public TOpenDialog {
 public:
  using TOpenDialog::TOpenDialog;
  std::string answer;

 protected:
  bool Run(OPENFILENAMEW& dialog) override {
    if (answer.empty()) return false;
    std::wstring name = efir::text::fromAnsi(answer);
    name.copy(dialog.lpstrFile, name.size());
    dialog.lpstrFile[name.size()] = L'\0';
    return true;
  }
};

class EditWindow : public EditorTest {
 protected:
  // Opens the row's station in the edit window, runs `inside` there, then closes it.
  void Edit(int row, const std::function<void()>& inside) {
    bool opened = false;
    WhenModal(Form2, [&] {
      opened = true;
      try {
        inside();
      } catch (...) {
        Press(Form2->sButton1);
        throw;
      }
      Press(Form2->sButton1);
    });
    Form1->DataGrid1SelectCell(Form1->DataGrid1, 2, row);
    EXPECT_TRUE(opened);
  }

  // Saves the row's station with `logo` chosen.
  void SaveWithLogo(int row, const std::filesystem::path& logo) {
    Edit(row, [&] {
      ChosenLogoFile = logo.string();
      Press(Form2->sButton2);
    });
  }
};

TEST_F(EditWindow, OpeningShowsTheStationAndItsConnectionMode) {
  WriteBytes(station("play5.txt"), "http://five\r\nПятая\r\n1\r\n");
  WriteBytes(station("play6.txt"), "http://six\r\nШестая\r\nx\r\n");
  struct Case {
    int row;
    bool before;
    bool after;
    const char* url;
  };
  const Case cases[] = {
      {1, true, false, "http://stream.example.com:8000/moonjazz"},  // "0"
      {3, true, false, "http://example.org/listen/chill"},          // no third line
      {4, false, true, "http://five"},                              // "1"
      {5, false, false, "http://six"},                              // other text: as it was
      {5, true, true, "http://six"},
  };
  Start();
  for (const Case& c : cases) {
    Form2->sCheckBox1->SetChecked(c.before);
    ChosenLogoFile = "left from before";
    Edit(c.row, [&] {
      EXPECT_EQ(SelectedStation, c.row + 1);
      EXPECT_EQ(Form2->sEdit1->Text(), Name(c.row));
      EXPECT_EQ(Form2->sEdit2->Text(), c.url);
      EXPECT_EQ(Form2->sCheckBox1->Checked(), c.after) << c.row;
      EXPECT_EQ(ChosenLogoFile, "");
      EXPECT_EQ(Form2->Image4->Picture().Width(), 90);
    });
  }
  EXPECT_THAT(shown, IsEmpty());
}

TEST_F(EditWindow, ChoosingALogoPreviewsItAndKeepsItsPathUntilTheSave) {
  WriteBytes(folder_ / "broken.png", "no picture");
  Start();
  auto* dialog = new TAnsweringDialog(Form2);
  Form2->OpenDialog1 = dialog;
  struct Case {
    std::string answer;
    TControl* clicked;
    std::string chosen;  // ChosenLogoFile afterwards
    bool previewChanged;
    bool fails;
  };
  const std::string png = station("4.png").string();
  const Case cases[] = {
      {png, Form2->sButton3, png, true, false},
      {png, Form2->Image4, png, true, false},  // a click on the preview chooses too
      {"", Form2->sButton3, "", false, false},  // cancelled
      {(folder_ / "broken.png").string(), Form2->sButton3, "", false, true},
  };
  for (const Case& c : cases) {
    dialog->answer = c.answer;
    Edit(1, [&] {
      ChosenLogoFile = "left from before";
      const TGraphic* before = Form2->Image4->Picture().Graphic();
      bool failed = false;
      try {
        c.clicked->Click();
      } catch (const EPictureError&) {
        failed = true;
      }
      EXPECT_EQ(failed, c.fails) << c.answer;
      EXPECT_EQ(dialog->Filter(), "Графические файлы|*.jpg;*.png;*.gif");
      EXPECT_EQ(ChosenLogoFile, c.chosen) << c.answer;
      EXPECT_EQ(Form2->Image4->Picture().Graphic() != before, c.previewChanged) << c.answer;
    });
  }
}

TEST_F(EditWindow, AStationWithoutItsFileDoesNotOpen) {
  Start();
  std::filesystem::remove(station("play2.txt"));
  EXPECT_THROW(Form1->DataGrid1SelectCell(Form1->DataGrid1, 2, 1), EInOutError);
  EXPECT_FALSE(Form2->Visible());
}

TEST_F(EditWindow, SaveWritesTheStationFileAndTheListedName) {
  Start();
  for (bool wmp : {true, false}) {
    Edit(1, [&] {
      Form2->sEdit1->SetText("Новое имя");
      Form2->sEdit2->SetText("http://new.example/stream");
      Form2->sCheckBox1->SetChecked(wmp);
      Press(Form2->sButton2);
      EXPECT_TRUE(Form2->Modal());  // the window stays open
    });
    EXPECT_EQ(ReadBytes(station("play2.txt")),
              std::string("http://new.example/stream\r\nНовое имя\r\n") + (wmp ? "1" : "0") +
                  "\r\n");
    EXPECT_EQ(Name(1), "Новое имя");
    // The logo stays as it was.
    EXPECT_THAT(Entries(2), ElementsAre("2.jpg", "play2.txt"));
  }
  EXPECT_THAT(shown, IsEmpty());
}

TEST_F(EditWindow, SaveMakesTheChosenPictureTheStationsOnlyLogo) {
  struct Case {
    std::filesystem::path chosen;
    const char* madeFrom;   // the demo logo the test copies to `chosen` first, if any
    const char* logo;       // the station's logo file afterwards
    const char* extension;
    bool png;               // shown through a PNG picture, else a JPEG one
  };
  const Case cases[] = {
      {station("4.png"), nullptr, "2.png", ".png", true},
      // Kept under the spelling the store reads.
      {folder_ / "Chosen.PNG", "1.png", "2.png", ".png", true},
      {station("3.gif"), nullptr, "2.gif", ".gif", false},
      // A file of the station itself stays, whichever of them is chosen.
      {station("2.jpg"), nullptr, "2.jpg", ".jpg", false},
      {station("2.png"), "4.png", "2.png", ".png", true},
  };
  for (const Case& c : cases) {
    Fresh();
    if (c.madeFrom) std::filesystem::copy_file(station(c.madeFrom), c.chosen);
    const std::string chosenBytes = ReadBytes(c.chosen);
    Start();
    SaveWithLogo(1, c.chosen);
    EXPECT_THAT(shown, IsEmpty()) << c.logo;
    EXPECT_THAT(Entries(2), ElementsAre(c.logo, "play2.txt")) << c.chosen;
    EXPECT_EQ(ReadBytes(station(c.logo)), chosenBytes) << c.chosen;
    EXPECT_EQ(ReadBytes(c.chosen), chosenBytes) << c.chosen;
    EXPECT_EQ(LogoExtensions[2], c.extension);
    if (c.png)
      EXPECT_NE(dynamic_cast<TPngImage*>(Picture(0, 1)), nullptr) << c.chosen;
    else
      EXPECT_NE(dynamic_cast<TJPEGImage*>(Picture(0, 1)), nullptr) << c.chosen;
    // The next opening previews the new logo.
    Edit(1, [&] { EXPECT_EQ(Form2->Image4->Picture().Width(), 90); });
    Stop();
  }
}

TEST_F(EditWindow, AFileThatIsNoUsableLogoLeavesTheLogo) {
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"logo.bmp", ReadBytes(station("1.png"))},
      {"broken.png", "no picture"},
  };
  for (const Case& c : cases) {
    Fresh();
    WriteBytes(folder_ / c.name, c.bytes);
    const std::string logo = ReadBytes(station("2.jpg"));
    Start();
    TGraphic* shownLogo = Picture(0, 1);
    SaveWithLogo(1, folder_ / c.name);
    EXPECT_EQ(shown.size(), 1u) << c.name;
    EXPECT_THAT(Entries(2), ElementsAre("2.jpg", "play2.txt")) << c.name;
    EXPECT_EQ(ReadBytes(station("2.jpg")), logo) << c.name;
    EXPECT_EQ(Picture(0, 1), shownLogo) << c.name;
    EXPECT_EQ(LogoExtensions[2], ".jpg") << c.name;
    Stop();
  }
}

TEST_F(EditWindow, ALogoChosenForOneStationIsNotAppliedToTheNext) {
  Start();
  Edit(0, [&] { ChosenLogoFile = station("3.gif").string(); });
  Edit(1, [&] { Press(Form2->sButton2); });
  EXPECT_THAT(Entries(2), ElementsAre("2.jpg", "play2.txt"));
  EXPECT_THAT(Entries(1), ElementsAre("1.png", "play1.txt"));
}

// What the user sees of each window is what it paints, from the first showing on: a window
// can paint into its own pixels and still show solid black on the screen.
TEST_F(EditWindow, TheScreenShowsEveryWindowAsItPaintsItself) {
  auto settle = [] {
    for (int i = 0; i < 30; ++i) {
      Application.ProcessMessages();
      Sleep(10);
    }
  };
  Start();
  settle();
  EXPECT_LT(efir::test::shareNotOnScreen(Form1->Handle()), 0.05);
  Edit(1, [&] {
    settle();
    efir::test::savePng(efir::test::captureScreenOf(Form2->Handle()), 
                        efir::test::screenshotPath("editor-edit-on-screen"));
    EXPECT_LT(efir::test::shareNotOnScreen(Form2->Handle()), 0.05);
  });
  WhenModal(Form3, [&] {
    settle();
    EXPECT_LT(efir::test::shareNotOnScreen(Form3->Handle()), 0.05);
    Press(Form3->sButton1);
  });
  Form1->DataGrid1SelectCell(Form1->DataGrid1, 3, 0);
}

// The titles of the list and confirm windows show whole, clear of the close symbol.
TEST_F(EditWindow, TitlesShowWholeBesideTheCloseSymbol) {
  auto settle = [] {
    for (int i = 0; i < 10; ++i) {
      Application.ProcessMessages();
      Sleep(10);
    }
  };
  Start();
  const struct {
    const char* window;
    std::function<TsLabel*()> title;
    std::function<TImage*()> close;
  } cases[] = {{"list", [] { return Form1->sLabel1; }, [] { return Form1->Image2; }},
               {"confirm", [] { return Form3->sLabel1; }, [] { return Form3->Image2; }}};
  auto check = [&](const auto& c) {
    settle();
    const RECT box = c.title()->BoundsRect();
    const efir::test::CaptionInk ink = efir::test::ReadCaptionInk(c.title(), settle);
    EXPECT_GT(ink.Width(), 0) << c.window;
    EXPECT_LT(ink.Last, box.right - 2) << c.window << " " << ink.First << ".." << ink.Last;
    EXPECT_LT(ink.Last, c.close()->Left() - 2) << c.window;
  };
  check(cases[0]);
  bool confirmed = false;
  WhenModal(Form3, [&] {
    check(cases[1]);
    confirmed = true;
    Press(Form3->sButton1);
  });
  Form1->DataGrid1SelectCell(Form1->DataGrid1, 3, 0);
  EXPECT_TRUE(confirmed);
}

TEST_F(EditWindow, Screenshot) {
  Start();
  Edit(1, [&] {
    for (int i = 0; i < 20; ++i) {
      Application.ProcessMessages();
      Sleep(10);
    }
    efir::test::saveScreenshot(Form2->Handle(), "editor-edit");
  });
}

}  // namespace
