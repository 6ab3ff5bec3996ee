// Resetting a slot to the placeholder, with and without the confirm window.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "editor/tests/editor_fixture.h"
#include "framework/exceptions.h"

namespace {

using editor_test::EditorTest;
using editor_test::ReadBytes;
using editor_test::SameJpeg;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

using Reset = EditorTest;

TEST_F(Reset, ConfirmedResetMakesTheSlotThePlaceholder) {
  Start();
  TGraphic* editSymbol = Picture(2, 2);
  bool asked = false;
  WhenModal(Form3, [&] {
    asked = true;
    EXPECT_EQ(Form3->sLabel2->Caption(), "Имя радиостанции");
    Press(Form3->sButton2);
  });
  Form1->DataGrid1SelectCell(Form1->DataGrid1, 3, 2);
  EXPECT_TRUE(asked);
  EXPECT_TRUE(DeleteAnswer);
  EXPECT_THAT(shown, IsEmpty());
  // Station 3's GIF gives way to the placeholder JPEG.
  EXPECT_THAT(Entries(3), ElementsAre("3.jpg", "play3.txt"));
  EXPECT_EQ(ReadBytes(station("3.jpg")), ReadBytes(folder_ / "nil.jpg"));
  EXPECT_EQ(ReadBytes(station("play3.txt")), ReadBytes(folder_ / "nil.txt"));
  EXPECT_EQ(LogoExtensions[3], ".jpg");
  ASSERT_EQ(Rows(), 7);
  EXPECT_EQ(Name(2), "Имя Радиостанции");
  EXPECT_TRUE(SameJpeg(Picture(0, 2), folder_ / "nil.jpg"));
  EXPECT_EQ(Picture(2, 2), editSymbol);

  // Editing it now previews the placeholder.
  WhenModal(Form2, [&] {
    EXPECT_TRUE(SameJpeg(Form2->Image4->Picture().Graphic(), folder_ / "nil.jpg"));
    Press(Form2->sButton1);
  });
  Form1->DataGrid1SelectCell(Form1->DataGrid1, 2, 2);
}

TEST_F(Reset, DeclinedResetChangesNothing) {
  const std::string logo = ReadBytes(station("3.gif"));
  const std::string file = ReadBytes(station("play3.txt"));
  Start();
  TControl* declines[] = {Form3->sButton1, Form3->Image2};
  for (TControl* decline : declines) {
    DeleteAnswer = true;
    WhenModal(Form3, [decline] { decline->Click(); });
    Form1->DataGrid1SelectCell(Form1->DataGrid1, 3, 2);
    EXPECT_FALSE(DeleteAnswer);
    EXPECT_FALSE(Form3->Visible());
    EXPECT_THAT(Entries(3), ElementsAre("3.gif", "play3.txt"));
    EXPECT_EQ(ReadBytes(station("3.gif")), logo);
    EXPECT_EQ(ReadBytes(station("play3.txt")), file);
    EXPECT_EQ(Name(2), "Волна Рока");
  }
}

TEST_F(Reset, WithoutConfirmationTheSlotIsResetAtOnce) {
  Start();
  Form1->sCheckBox1->SetChecked(false);
  Form1->DataGrid1SelectCell(Form1->DataGrid1, 3, 0);
  EXPECT_FALSE(Form3->Visible());
  EXPECT_THAT(Entries(1), ElementsAre("1.jpg", "play1.txt"));
  EXPECT_EQ(Name(0), "Имя Радиостанции");
  // Selecting the logo or the name does nothing more than select.
  Form1->DataGrid1SelectCell(Form1->DataGrid1, 0, 4);
  Form1->DataGrid1SelectCell(Form1->DataGrid1, 1, 5);
  EXPECT_EQ(SelectedStation, 6);
  EXPECT_THAT(Entries(5), ElementsAre("5.jpg", "play5.txt"));
  EXPECT_THAT(Entries(6), ElementsAre("6.gif", "play6.txt"));
}

TEST_F(Reset, WithoutItsTemplatesTheSlotStaysAsItWas) {
  for (const char* missing : {"nil.jpg", "nil.txt"}) {
    Fresh();
    const std::string file = ReadBytes(station("play1.txt"));
    std::filesystem::remove(folder_ / missing);
    Start();
    Form1->sCheckBox1->SetChecked(false);
    EXPECT_THROW(Form1->DataGrid1SelectCell(Form1->DataGrid1, 3, 0), EInOutError) << missing;
    // The slot keeps a logo and its file.
    EXPECT_EQ(Entries(1).size(), 2u) << missing;
    EXPECT_EQ(ReadBytes(station("play1.txt")), file) << missing;
    EXPECT_EQ(Name(0), "Демо-волна Эфирушки") << missing;
    Stop();
  }
}

TEST_F(Reset, AResetThatFailsPartWayLeavesTheTableNamingTheLogoOnDisk) {
  std::filesystem::remove(folder_ / "nil.txt");
  Start();
  Form1->sCheckBox1->SetChecked(false);
  // Station 3's GIF has given way to the placeholder when the station file cannot follow.
  EXPECT_THROW(Form1->DataGrid1SelectCell(Form1->DataGrid1, 3, 2), EInOutError);
  EXPECT_THAT(Entries(3), ElementsAre("3.jpg", "play3.txt"));
  EXPECT_EQ(LogoExtensions[3], ".jpg");
  EXPECT_TRUE(SameJpeg(Picture(0, 2), folder_ / "nil.jpg"));
  EXPECT_EQ(Name(2), "Волна Рока");

  // The edit window opens on what the folder holds.
  bool opened = false;
  WhenModal(Form2, [&] {
    opened = true;
    EXPECT_TRUE(SameJpeg(Form2->Image4->Picture().Graphic(), folder_ / "nil.jpg"));
    Press(Form2->sButton1);
  });
  Form1->DataGrid1SelectCell(Form1->DataGrid1, 2, 2);
  EXPECT_TRUE(opened);
  EXPECT_THAT(shown, IsEmpty());
}

}  // namespace
