#include <gtest/gtest.h>

#include "framework/exceptions.h"
#include "framework/tests/core_test_files.h"
#include "framework/text_file.h"

namespace efir {
namespace {

using test::readBytes;
using test::writeBytes;

std::vector<std::string> readAllLines(const std::string& path) {
  TTextFile f;
  f.Reset(path);
  std::vector<std::string> lines;
  while (!f.Eof()) lines.push_back(f.ReadLine());
  f.Close();
  return lines;
}

TEST(TextFileTest, LinesFollowTheLineRules) {
  test::ScratchFolder dir("core_text_rules");
  struct Case {
    std::string bytes;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb", {"a", "b"}},
      {"a\r\n\r\nb", {"a", "", "b"}},
      {"a\rb\r\nc", {"ab", "c"}},           // a lone CR inside a line is dropped
      {"a\r", {"a"}},
      {"\n", {""}},
      {"a\x1A" "b\r\nc", {"a"}},            // 0x1A ends the file
      {"\x1A", {}},
      {std::string("a\0b\n", 4), {std::string("a\0b", 3)}},
      {"\xC0\xE1\xE2\xFF\r\n", {"\xC0\xE1\xE2\xFF"}},  // 1251 bytes pass unchanged
  };
  for (const Case& c : cases) {
    writeBytes(dir / "t.txt", c.bytes);
    EXPECT_EQ(readAllLines(dir / "t.txt"), c.lines) << testing::PrintToString(c.bytes);
  }
  // A line longer than the read buffer.
  const std::string longLine(70000, 'x');
  writeBytes(dir / "t.txt", longLine + "\r\ny");
  EXPECT_EQ(readAllLines(dir / "t.txt"), (std::vector<std::string>{longLine, "y"}));
}

TEST(TextFileTest, ReadingPastTheEndGivesEmptyLinesAndTheEndByte) {
  test::ScratchFolder dir("core_text_end");
  writeBytes(dir / "t.txt", "GIF");
  TTextFile f;
  f.Reset(dir / "t.txt");
  EXPECT_EQ(f.ReadChar(), 'G');
  EXPECT_EQ(f.ReadLine(), "IF");
  EXPECT_TRUE(f.Eof());
  EXPECT_EQ(f.ReadLine(), "");
  EXPECT_EQ(f.ReadLine(), "");
  EXPECT_EQ(f.ReadChar(), 26);

  writeBytes(dir / "empty", "");
  f.Reset(dir / "empty");
  EXPECT_EQ(f.ReadChar(), 26);
  writeBytes(dir / "png", "\x89PNG");
  f.Reset(dir / "png");
  EXPECT_EQ(static_cast<unsigned char>(f.ReadChar()), 137);
}

TEST(TextFileTest, WritesEndLinesWithCrLfAndAppendAddsAtTheEnd) {
  test::ScratchFolder dir("core_text_write");
  const std::string path = dir / "favs.txt";
  TTextFile f;
  f.Rewrite(path);
  f.WriteLine("12");
  f.Write("3");
  f.WriteLine("4");
  f.Close();
  EXPECT_EQ(readBytes(path), "12\r\n34\r\n");

  f.Append(path);
  f.WriteLine("5");
  f.Close();
  EXPECT_EQ(readBytes(path), "12\r\n34\r\n5\r\n");

  f.Rewrite(path);  // empties
  f.Write("7");
  f.Close();
  EXPECT_EQ(readBytes(path), "7");

  // Appended text must not hide behind an end-of-file byte.
  writeBytes(path, "a\r\n\x1A");
  f.Append(path);
  f.WriteLine("b");
  f.Close();
  EXPECT_EQ(readBytes(path), "a\r\nb\r\n");
}

TEST(TextFileTest, FailuresRaiseInOutErrorsNamingTheFile) {
  test::ScratchFolder dir("core_text_errors");
  const std::string missing = dir / "missing.txt";
  auto messageOf = [](const std::function<void()>& f) -> std::string {
    try {
      f();
    } catch (const EInOutError& e) {
      return e.Message();
    }
    return "(no error)";
  };
  TTextFile f;
  EXPECT_NE(messageOf([&] { f.Reset(missing); }).find("Cannot open file \"" + missing + "\""), std::string::npos);
  EXPECT_NE(messageOf([&] { f.Append(missing); }).find(missing), std::string::npos);
  EXPECT_NE(messageOf([&] { f.Rewrite(dir / "no\\such\\folder.txt"); }).find("Cannot create file"), std::string::npos);
  EXPECT_FALSE(f.IsOpen());
  EXPECT_EQ(messageOf([&] { f.ReadLine(); }), "File not open");

  f.Rewrite(dir / "out.txt");
  EXPECT_NE(messageOf([&] { f.ReadLine(); }).find("File not open for input"), std::string::npos);
  f.Close();
  writeBytes(dir / "in.txt", "x");
  f.Reset(dir / "in.txt");
  EXPECT_NE(messageOf([&] { f.WriteLine("y"); }).find("File not open for output"), std::string::npos);
  f.Close();

  // A file open elsewhere without sharing cannot be rewritten.
  HANDLE held = CreateFileA((dir / "held.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  EXPECT_THROW(f.Rewrite(dir / "held.txt"), EInOutError);
  CloseHandle(held);
}

}  // namespace
}  // namespace efir
