// The rig itself: windows really paint under the virtual display, screenshots are written,
// and text is Windows-1251 the way the programs need it.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>

#include "framework/text_encoding.h"
#include "tests/support/capture.h"
#include "tests/support/window.h"

namespace {

using efir::test::TestWindow;

TEST(Rig, WindowPaintsAKnownColourThatReadsBack) {
  const COLORREF teal = RGB(0, 128, 128), amber = RGB(255, 191, 0);
  TestWindow window(160, 90, [&](HDC dc, const RECT& r) {
    HBRUSH brush = CreateSolidBrush(teal);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    RECT box{100, 50, 140, 80};
    brush = CreateSolidBrush(amber);
    FillRect(dc, &box, brush);
    DeleteObject(brush);
  });
  efir::test::pumpFor(200);
  auto image = efir::test::captureWindow(window.handle());
  ASSERT_EQ(image.width, 160);
  EXPECT_EQ(image.at(10, 10), teal);
  EXPECT_EQ(image.at(120, 60), amber);

  std::string path = efir::test::saveScreenshot(window.handle(), "rig_window");
  std::ifstream png(path, std::ios::binary);
  char signature[8] = {};
  png.read(signature, 8);
  EXPECT_EQ(std::string(signature + 1, 3), "PNG");
}

TEST(Rig, PumpUntilStopsAtTheConditionOrTheTimeLimit) {
  bool posted = false;
  UINT_PTR timer = SetTimer(nullptr, 0, 30, nullptr);
  EXPECT_TRUE(efir::test::pumpUntil([&] { return posted = true; }, 1000));
  DWORD start = GetTickCount();
  EXPECT_FALSE(efir::test::pumpUntil([] { return false; }, 100));
  EXPECT_GE(GetTickCount() - start, 90u);
  KillTimer(nullptr, timer);
}

TEST(Rig, AnsiCodePageIsWindows1251) { EXPECT_EQ(GetACP(), 1251u); }

TEST(Rig, RussianLiteralSurvivesTheRoundTripThroughUtf16) {
  const std::string original = "Эфирушка Плюс: ёЁ №";
  ASSERT_EQ(static_cast<unsigned char>(original[0]), 0xDD);  // 'Э' in Windows-1251
  std::wstring wide = efir::text::fromAnsi(original);
  EXPECT_EQ(wide, L"Эфирушка Плюс: ёЁ №");
  EXPECT_EQ(efir::text::toAnsi(wide), original);
  EXPECT_EQ(efir::text::utf8ToAnsi(efir::text::ansiToUtf8(original)), original);
  EXPECT_EQ(efir::text::toAnsi(L"\u4E2D"), "?");
}

TEST(Rig, CaptionSetFromWindows1251ReadsBackEqual) {
  TestWindow window(100, 40, nullptr);
  const std::string caption = "Программа уже запущена!";
  SetWindowTextW(window.handle(), efir::text::fromAnsi(caption).c_str());
  wchar_t buffer[128] = {};
  GetWindowTextW(window.handle(), buffer, 128);
  EXPECT_EQ(efir::text::toAnsi(buffer), caption);
}

}  // namespace

namespace {

TEST(Rig, FilesWithCyrillicNamesAreCreatedAndFound) {
  const std::wstring name = efir::text::fromAnsi("Эквалайзер проба.txt");
  HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW(name.c_str(), &found);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  FindClose(search);
  EXPECT_EQ(efir::text::toAnsi(found.cFileName), "Эквалайзер проба.txt");
  EXPECT_TRUE(DeleteFileW(name.c_str()));
}

}  // namespace
