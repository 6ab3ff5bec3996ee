// The list window: start-up (slot count, folder scan, rows), its failures, and adding a slot.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "editor/tests/editor_fixture.h"
#include "framework/exceptions.h"
#include "framework/picture_png.h"
#include "framework/timer.h"
#include "skin/engine/skin_command.h"
#include "tests/support/capture.h"
#include "tests/support/window.h"

namespace {

using editor_test::EditorTest;
using editor_test::ReadBytes;
using editor_test::SameJpeg;
using editor_test::WriteBytes;
using ::testing::IsEmpty;

using ListWindow = EditorTest;

TEST_F(ListWindow, StartListsEverySlotWithItsLogoNameAndSymbols) {
  Start();
  EXPECT_THAT(shown, IsEmpty());
  EXPECT_EQ(Form1->Caption(), "ЭфРедактор");
  EXPECT_TRUE(Form1->sCheckBox1->Checked());
  EXPECT_EQ(StationCount, 7);
  const char* names[] = {"Демо-волна Эфирушки", "Лунный Джаз",  "Волна Рока",
                         "Тёплый Лаунж",        "Новости Часа", "Классика у Камина",
                         "Ночной Танцпол"};
  ASSERT_EQ(Rows(), 7);
  for (int row = 0; row < 7; ++row) {
    const int N = row + 1;
    EXPECT_EQ(Form1->RowStation(row), N);
    EXPECT_EQ(Name(row), names[row]);
    // 1 and 4 are PNG logos; the GIFs 3 and 6 are shown through JPEG pictures.
    if (N == 1 || N == 4)
      EXPECT_NE(dynamic_cast<TPngImage*>(Picture(0, row)), nullptr) << N;
    else
      EXPECT_NE(dynamic_cast<TJPEGImage*>(Picture(0, row)), nullptr) << N;
    EXPECT_NE(dynamic_cast<TPngImage*>(Picture(2, row)), nullptr) << N;
    EXPECT_NE(dynamic_cast<TPngImage*>(Picture(3, row)), nullptr) << N;
  }
  // Every row has pictures of its own.
  EXPECT_NE(Picture(2, 0), Picture(2, 1));
  EXPECT_NE(Picture(3, 0), Picture(3, 1));
}

TEST_F(ListWindow, SlotCountDecidesWhichStationsAreListed) {
  struct Case {
    const char* count;
    int rows;
  };
  // More slots than logos: a number without a logo gets no row; numbers past 1000 none.
  for (const Case& c : {Case{"2", 2}, Case{"0", 0}, Case{"9", 7}, Case{"1005", 7}}) {
    Fresh();
    WriteBytes(folder_ / "sc.txt", c.count);
    Start();
    EXPECT_THAT(shown, IsEmpty()) << c.count;
    EXPECT_EQ(Rows(), c.rows) << c.count;
    Stop();
  }
}

TEST_F(ListWindow, StartFailuresAreShownAndTheListKeepsTheRowsBuilt) {
  struct Case {
    const char* what;
    std::function<void(const std::filesystem::path& folder)> change;
    std::string message;  // what the message begins with
    int rows;
  };
  const Case cases[] = {
      {"no sc.txt", [](auto& f) { std::filesystem::remove(f / "sc.txt"); },
       "Cannot open file", 0},
      {"sc.txt not a number", [](auto& f) { WriteBytes(f / "sc.txt", "sieben"); },
       "'sieben' is not a valid integer value", 0},
      {"thumbs.db", [](auto& f) { WriteBytes(f / "Stations" / "thumbs.db", "x"); },
       "'thumbs' is not a valid integer value", 0},
      {"station file missing", [](auto& f) { std::filesystem::remove(f / "Stations" / "play3.txt"); },
       "Cannot open file", 2},
      // A logo costs only its own picture (the empty logo shows instead).
      {"logo not a picture", [](auto& f) { WriteBytes(f / "Stations" / "5.jpg", "no picture"); },
       "Не удалось прочитать логотип", 7},
  };
  for (const Case& c : cases) {
    Fresh();
    c.change(folder_);
    Start();
    ASSERT_EQ(shown.size(), 1u) << c.what;
    EXPECT_EQ(shown[0].rfind(c.message, 0), 0u) << c.what << ": " << shown[0];
    EXPECT_EQ(Rows(), c.rows) << c.what;
    EXPECT_TRUE(IsWindowVisible(Form1->Handle())) << c.what;
    Stop();
  }
}

// The editor sets no title of its own: the box of a start-up failure, as the user gets it, is
// titled with the program's name all the same (this test program's here).
TEST_F(ListWindow, AStartFailuresBoxIsTitledWithTheProgramsName) {
  std::filesystem::remove(folder_ / "sc.txt");
  Application.ExceptionHook = nullptr;
  std::wstring caption;
  bool seen = false;
  TTimer watch(nullptr);
  watch.SetInterval(20);
  watch.OnTimer = [&](TObject*) {
    HWND box = efir::test::shownThreadWindow(L"#32770");
    if (!box || seen) return;
    seen = true;
    wchar_t text[128] = {};
    GetWindowTextW(box, text, 128);
    caption = text;
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  };
  Start();
  ASSERT_TRUE(seen);
  EXPECT_EQ(caption, L"editor_tests");
  EXPECT_TRUE(IsWindowVisible(Form1->Handle()));
}

TEST_F(ListWindow, ADamagedLogoShowsTheEmptyLogoAndItsStationStillOpens) {
  // Cut short, as a broken download leaves them: two logos, one message.
  for (const char* name : {"2.jpg", "5.jpg"})
    std::filesystem::resize_file(station(name), std::filesystem::file_size(station(name)) / 2);
  Start();
  ASSERT_EQ(Rows(), 7);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_NE(shown[0].find(station("2.jpg").string()), std::string::npos) << shown[0];
  EXPECT_TRUE(SameJpeg(Picture(0, 1), folder_ / "nil.jpg"));
  EXPECT_TRUE(SameJpeg(Picture(0, 4), folder_ / "nil.jpg"));
  EXPECT_EQ(Name(1), "Лунный Джаз");

  // Its edit window opens, on the empty logo, so that a new one can be chosen.
  bool opened = false;
  WhenModal(Form2, [&] {
    opened = true;
    EXPECT_TRUE(SameJpeg(Form2->Image4->Picture().Graphic(), folder_ / "nil.jpg"));
    EXPECT_EQ(Form2->sEdit1->Text(), "Лунный Джаз");
    Press(Form2->sButton1);
  });
  Form1->DataGrid1SelectCell(Form1->DataGrid1, 2, 1);
  EXPECT_TRUE(opened);
  EXPECT_EQ(shown.size(), 1u);
}

// A slot without a usable logo must not shift the rows onto other stations' files.
TEST_F(ListWindow, RowsStandForTheirOwnStationsWhenASlotHasNoLogo) {
  std::filesystem::remove(station("3.gif"));
  const std::string play3 = ReadBytes(station("play3.txt"));
  Start();
  ASSERT_EQ(Rows(), 6);
  EXPECT_EQ(Form1->RowStation(2), 4);
  EXPECT_EQ(Name(2), "Тёплый Лаунж");
  EXPECT_EQ(Name(5), "Ночной Танцпол");

  Form1->sCheckBox1->SetChecked(false);
  Form1->DataGrid1SelectCell(Form1->DataGrid1, 3, 2);
  EXPECT_EQ(SelectedStation, 4);
  EXPECT_EQ(ReadBytes(station("play4.txt")), ReadBytes(folder_ / "nil.txt"));
  EXPECT_EQ(ReadBytes(station("play3.txt")), play3);
  EXPECT_EQ(Name(2), "Имя Радиостанции");
  EXPECT_EQ(Name(1), "Лунный Джаз");
}

TEST_F(ListWindow, AddCopiesTheTemplatesIntoTheNextSlotAndCountsIt) {
  for (const auto& entry : std::filesystem::directory_iterator(folder_ / "Stations"))
    std::filesystem::remove(entry.path());
  WriteBytes(folder_ / "sc.txt", "0");
  Start();
  ASSERT_EQ(Rows(), 0);

  Form1->sBitBtn2Click(Form1->sBitBtn2);
  EXPECT_EQ(ReadBytes(station("1.jpg")), ReadBytes(folder_ / "nil.jpg"));
  EXPECT_EQ(ReadBytes(station("play1.txt")), ReadBytes(folder_ / "nil.txt"));
  EXPECT_EQ(ReadBytes(folder_ / "sc.txt"), "1");
  EXPECT_EQ(LogoExtensions[1], ".jpg");
  EXPECT_EQ(StationCount, 0);
  ASSERT_EQ(Rows(), 1);
  EXPECT_EQ(Form1->RowStation(0), 1);
  EXPECT_EQ(Name(0), "Имя Радиостанции");
  EXPECT_TRUE(SameJpeg(Picture(0, 0), folder_ / "nil.jpg"));
  EXPECT_NE(dynamic_cast<TPngImage*>(Picture(2, 0)), nullptr);
  EXPECT_NE(dynamic_cast<TPngImage*>(Picture(3, 0)), nullptr);

  Form1->sBitBtn2Click(Form1->sBitBtn2);
  EXPECT_EQ(ReadBytes(folder_ / "sc.txt"), "2");
  EXPECT_EQ(StationCount, 1);
  ASSERT_EQ(Rows(), 2);
  EXPECT_EQ(Form1->RowStation(1), 2);

  // The new slot opens with the placeholder.
  bool opened = false;
  WhenModal(Form2, [&] {
    opened = true;
    EXPECT_TRUE(SameJpeg(Form2->Image4->Picture().Graphic(), folder_ / "nil.jpg"));
    EXPECT_EQ(Form2->sEdit1->Text(), "Имя Радиостанции");
    EXPECT_EQ(Form2->sEdit2->Text(), "http://example.com/stream");
    Press(Form2->sButton1);
  });
  Form1->DataGrid1SelectCell(Form1->DataGrid1, 2, 1);
  EXPECT_TRUE(opened);
}

TEST_F(ListWindow, AddKeepsAFileAlreadyInTheSlot) {
  std::filesystem::copy_file(station("2.jpg"), station("8.jpg"));
  WriteBytes(station("play8.txt"), "http://kept\r\nОставленная\r\n0\r\n");
  Start();
  Form1->sBitBtn2Click(Form1->sBitBtn2);
  EXPECT_EQ(ReadBytes(station("8.jpg")), ReadBytes(station("2.jpg")));
  EXPECT_EQ(ReadBytes(station("play8.txt")), "http://kept\r\nОставленная\r\n0\r\n");
  ASSERT_EQ(Rows(), 8);
  EXPECT_TRUE(SameJpeg(Picture(0, 7), station("2.jpg")));
  EXPECT_EQ(ReadBytes(folder_ / "sc.txt"), "8");
}

TEST_F(ListWindow, AddThatCannotCompleteLeavesTheCountAndTheList) {
  struct Case {
    const char* what;
    std::function<void(const std::filesystem::path& folder)> change;
    const char* count;
  };
  const Case cases[] = {
      {"no station template", [](auto& f) { std::filesystem::remove(f / "nil.txt"); }, "7"},
      {"logo template no picture", [](auto& f) { WriteBytes(f / "nil.jpg", "no picture"); }, "7"},
      {"no room for another station", [](auto& f) { WriteBytes(f / "sc.txt", "1000"); }, "1000"},
  };
  for (const Case& c : cases) {
    Fresh();
    Start();
    c.change(folder_);
    EXPECT_THROW(Form1->sBitBtn2Click(Form1->sBitBtn2), Exception) << c.what;
    EXPECT_EQ(ReadBytes(folder_ / "sc.txt"), c.count) << c.what;
    EXPECT_EQ(Rows(), 7) << c.what;
    Stop();
  }
  EXPECT_FALSE(std::filesystem::exists(station("1001.jpg")));
}

// A long list shows its scroll bar beside the reset column, not over it, and has nothing to
// scroll sideways.
TEST_F(ListWindow, ALongListKeepsEveryColumnBesideItsScrollBar) {
  for (int N = 8; N <= 40; ++N) {
    std::filesystem::copy_file(station("2.jpg"), station(std::to_string(N) + ".jpg"));
    WriteBytes(station("play" + std::to_string(N) + ".txt"), "http://x\r\nСтанция\r\n0\r\n");
  }
  WriteBytes(folder_ / "sc.txt", "40");
  Start();
  ASSERT_EQ(Rows(), 40);
  TDataGrid* grid = Form1->DataGrid1;
  const LONG style = GetWindowLongW(grid->Handle(), GWL_STYLE);
  EXPECT_TRUE(style & WS_VSCROLL);
  EXPECT_FALSE(style & WS_HSCROLL);
  EXPECT_LE(grid->Columns()->TotalWidth(), grid->ClientWidth());
}

// A long list reads each row as it comes into view: the rows the user scrolls to show their
// own station on the screen, a row opened unseen shows its own name, and of two damaged logos
// far apart only the first is reported.
TEST_F(ListWindow, RowsComingIntoViewShowTheirOwnStations) {
  constexpr int kCount = 60;
  for (int N = 8; N <= kCount; ++N) {
    std::filesystem::copy_file(station("7.jpg"), station(std::to_string(N) + ".jpg"));
    WriteBytes(station("play" + std::to_string(N) + ".txt"),
               "http://x\r\nСтанция " + std::to_string(N) + "\r\n0\r\n");
  }
  for (const char* name : {"2.jpg", "50.jpg"})
    std::filesystem::resize_file(station(name), std::filesystem::file_size(station(name)) / 2);
  WriteBytes(folder_ / "sc.txt", std::to_string(kCount));
  Start();
  ASSERT_EQ(Rows(), kCount);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_NE(shown[0].find(station("2.jpg").string()), std::string::npos) << shown[0];

  bool opened = false;
  WhenModal(Form2, [&] {
    opened = true;
    EXPECT_EQ(Form2->sEdit1->Text(), "Станция 31");
    Press(Form2->sButton1);
  });
  Form1->DataGrid1SelectCell(Form1->DataGrid1, 2, 30);
  EXPECT_TRUE(opened);

  TDataGrid* grid = Form1->DataGrid1;
  for (int turn = 0; turn < kCount && grid->LastRowInView() < kCount - 1; ++turn) {
    SendMessageW(grid->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    efir::test::pumpFor(20);
  }
  ASSERT_EQ(grid->LastRowInView(), kCount - 1);
  efir::test::pumpFor(100);
  EXPECT_EQ(Name(kCount - 1), "Станция 60");
  EXPECT_TRUE(SameJpeg(Picture(0, kCount - 1), station("7.jpg")));
  EXPECT_TRUE(SameJpeg(Picture(0, 49), folder_ / "nil.jpg"));
  EXPECT_EQ(Name(49), "Станция 50");
  EXPECT_EQ(shown.size(), 1u);

  // The last row's logo is on the screen, not an empty white cell.
  RECT cell{};
  grid->GetCellRect(0, kCount - 1, cell);
  MapWindowPoints(grid->Handle(), nullptr, reinterpret_cast<POINT*>(&cell), 2);
  InflateRect(&cell, -4, -4);
  const efir::test::Image logo = efir::test::captureScreen(cell);
  const auto white = std::count(logo.pixels.begin(), logo.pixels.end(), 0xFFFFFFu);
  EXPECT_LT(white, static_cast<long>(logo.pixels.size() / 2));
  efir::test::saveScreenshot(Form1->Handle(), "editor-list-scrolled");
}

TEST_F(ListWindow, Screenshot) {
  Start();
  for (int i = 0; i < 20; ++i) {
    Application.ProcessMessages();
    Sleep(10);
  }
  // The window is a skinned form: its provider answers for it.
  EXPECT_TRUE(WindowAcknowledgesSkinCommand(Form1->Handle(), SKC_ISSKINNED));
  efir::test::saveScreenshot(Form1->Handle(), "editor-list");
}

}  // namespace
