// The clipboard: Windows-1251 text marked as Russian, so that its Unicode form (which the
// system makes for other programs from the locale) is right whatever the system code page.
#include "widgets/rus_clipboard.h"

#include "framework/tests/ui_fixture.h"
#include "framework/text_encoding.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using RusClipboard = efir::test::UiTest;

// The bytes of one format on the clipboard now (empty when absent).
std::string Bytes(UINT format) {
  std::string bytes;
  if (!OpenClipboard(nullptr)) return bytes;
  if (HANDLE data = GetClipboardData(format)) {
    if (auto* p = static_cast<const char*>(GlobalLock(data))) {
      bytes.assign(p, GlobalSize(data));
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return bytes;
}

std::wstring UnicodeText() {
  std::string bytes = Bytes(CF_UNICODETEXT);
  std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
  std::memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
  return text.c_str();
}

TEST_F(RusClipboard, TextGoesOnWithTheRussianLocale) {
  const std::string title = "Ария - Беспечный ангел";
  Clipboard().SetAsText(title);
  EXPECT_EQ(Bytes(CF_TEXT).c_str(), title);
  EXPECT_EQ(Bytes(CF_LOCALE), std::string("\x19\x04\x00\x00", 4));
  EXPECT_EQ(UnicodeText(), efir::text::fromAnsi(title)) << "read as Cyrillic elsewhere";
  EXPECT_EQ(Clipboard().AsText(), title);
}

TEST_F(RusClipboard, WritesBetweenOneOpenAndCloseLeaveTheLast) {
  Clipboard().Open();
  Clipboard().SetAsText("первый");
  Clipboard().SetAsText("второй");
  Clipboard().Close();
  EXPECT_EQ(Clipboard().AsText(), "второй");
  EXPECT_EQ(Bytes(CF_LOCALE), std::string("\x19\x04\x00\x00", 4));
}

// Reading must not re-mark another program's text as Russian.
TEST_F(RusClipboard, ReadingLeavesAnotherProgramsLocaleAlone) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  const wchar_t text[] = L"Grüße, Привет";
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(text));
  std::memcpy(GlobalLock(block), text, sizeof(text));
  GlobalUnlock(block);
  SetClipboardData(CF_UNICODETEXT, block);
  LCID german = 0x407;
  block = GlobalAlloc(GMEM_MOVEABLE, sizeof(german));
  std::memcpy(GlobalLock(block), &german, sizeof(german));
  GlobalUnlock(block);
  SetClipboardData(CF_LOCALE, block);
  CloseClipboard();

  EXPECT_EQ(Clipboard().AsText(), efir::text::toAnsi(text));
  EXPECT_EQ(Bytes(CF_LOCALE), std::string("\x07\x04\x00\x00", 4));
}

}  // namespace
