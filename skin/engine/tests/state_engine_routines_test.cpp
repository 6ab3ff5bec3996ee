#include "skin/engine/engine_routines.h"

#include <gtest/gtest.h>

#include "framework/files.h"
#include "framework/picture_icon.h"

namespace {

using namespace efir::skin;

TEST(EngineRoutines, ClampsAndRectangles) {
  EXPECT_EQ(ClampToByte(-3), 0);
  EXPECT_EQ(ClampToByte(255), 255);
  EXPECT_EQ(ClampToByte(256), 255);
  EXPECT_EQ(RectWidth({10, 0, 4, 0}), -6);
  EXPECT_EQ(RectWidth({10, 0, 4, 0}, true), 0);
  EXPECT_EQ(RectHeight({0, 2, 0, 9}, true), 7);

  const RECT outer{0, 0, 10, 10};
  EXPECT_TRUE(RectContainsRect(outer, outer));  // edges count in
  EXPECT_FALSE(RectContainsRect(outer, {0, 0, 11, 10}));
  EXPECT_TRUE(RectsOverlap(outer, {9, 9, 20, 20}));
  EXPECT_FALSE(RectsOverlap(outer, {10, 0, 20, 10}));  // touching edges share no pixel
  EXPECT_FALSE(RectsOverlap(outer, {5, 5, 5, 8}));     // empty
}

TEST(EngineRoutines, WordsAndStrings) {
  const struct {
    int N;
    const char* Text;
    size_t Pos;
    const char* Word;
  } words[] = {
      {2, ",,ab,,cd", 7, "cd"},
      {1, ",,ab,,cd", 3, "ab"},
      {3, ",,ab,,cd", 0, ""},
      {0, "ab", 0, ""},
      {1, "", 0, ""},
  };
  for (const auto& w : words) {
    SCOPED_TRACE(w.Text);
    EXPECT_EQ(DelimitedWordPos(w.N, w.Text, ","), w.Pos);
    EXPECT_EQ(ExtractDelimitedWord(w.N, w.Text, ","), w.Word);
  }
  EXPECT_EQ(DelimitedWordCount(" a;b  c ", " ;"), 3);
  EXPECT_EQ(ReplaceAllSubstr("aaa", "aa", "b"), "ba");
  EXPECT_EQ(ReplaceAllSubstr("abc", "", "x"), "abc");
  EXPECT_EQ(ReplaceAllSubstr("a.b.c", ".", ".."), "a..b..c");
  EXPECT_EQ(DeleteChars("a-b--c", '-'), "abc");
}

TEST(EngineRoutines, FolderNames) {
  const struct {
    const char* In;
    const char* Out;
  } cases[] = {{"", ""}, {"c", "c:\\"}, {"c:\\Skins", "c:\\Skins\\"}, {"c:\\Skins\\", "c:\\Skins\\"}, {"d/x/", "d/x\\"}};
  for (const auto& c : cases) EXPECT_EQ(NormalizeDirPath(c.In), c.Out) << c.In;
}

TEST(EngineRoutines, MessageBoxStyles) {
  const UINT always = MB_TOPMOST | MB_SETFOREGROUND;
  const struct {
    TMsgDlgType Type;
    TMsgDlgButtons Buttons;
    UINT Flags;
    const char* Caption;
  } cases[] = {
      {mtConfirmation, mbYes | mbNo | mbCancel, MB_ICONQUESTION | MB_YESNOCANCEL, "Confirm"},
      {mtWarning, mbOK, MB_ICONWARNING | MB_OK, "Warning"},
      {mtError, mbOK | mbCancel | mbHelp, MB_ICONERROR | MB_OKCANCEL | MB_HELP, "Error"},
      {mtInformation, mbAbort | mbRetry | mbIgnore, MB_ICONINFORMATION | MB_ABORTRETRYIGNORE, "Information"},
      {mtCustom, mbYes | mbNo, MB_YESNO, ""},
      {mtCustom, mbRetry | mbCancel, MB_RETRYCANCEL, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Caption);
    EXPECT_EQ(SkinMessageBoxFlags(c.Type, c.Buttons), c.Flags | always);
    EXPECT_STREQ(DefaultMessageCaption(c.Type), c.Caption);
  }
}

TEST(EngineRoutines, CacheSourceOfABitmap) {
  CacheSourceInfo info;
  MakeCacheSourceInfo(nullptr, 4, 5, info);
  EXPECT_EQ(info.X, 4);
  EXPECT_EQ(info.Y, 5);
  EXPECT_EQ(info.FillColor, 0xFF00FF);
  EXPECT_TRUE(info.Ready);
  EXPECT_NE(CaptionFontHeight(), 0);
}

TEST(EngineRoutines, ShellIconsOfFiles) {
  EXPECT_EQ(LoadShellFileIcon("Z:\\no\\such\\file.txt"), nullptr);
  char program[MAX_PATH];
  GetModuleFileNameA(nullptr, program, MAX_PATH);
  auto large = LoadShellFileIcon(program);
  auto small = LoadShellFileIcon(program, SHGFI_SMALLICON);
  ASSERT_TRUE(large && small);
  EXPECT_GT(large->Width(), small->Width());
}

}  // namespace
