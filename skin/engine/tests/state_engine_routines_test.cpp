#include "skin/engine/engine_routines.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "framework/files.h"
#include "framework/picture_icon.h"
#include "framework/stdctrls.h"
#include "skin/engine/published_props.h"
#include "skin/engine/skin_manager.h"

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

TEST(EngineRoutines, AMessageBoxIsPlacedAndModalOnlyWhileItShows) {
  struct Seen {
    int X, Y, Level;
    std::string Caption;
    UINT Flags;
  } seen{};
  auto saved = ShowMessageBoxCall;
  ShowMessageBoxCall = [&](HWND, const std::string&, const std::string& caption, UINT flags) {
    seen = {DialogPosX, DialogPosY, SkinModalLevel, caption, flags};
    return IDNO;
  };
  EXPECT_EQ(SkinMessageBox("Скин", "Заменить?", mtConfirmation, mbYes | mbNo, 40, 30), IDNO);
  EXPECT_EQ(seen.X, 40);
  EXPECT_EQ(seen.Y, 30);
  EXPECT_EQ(seen.Level, 1);
  EXPECT_EQ(seen.Caption, "Скин");
  EXPECT_EQ(DialogPosX, -1);
  EXPECT_EQ(DialogPosY, -1);
  EXPECT_EQ(SkinModalLevel, 0);

  SkinMessageDlg("?", mtConfirmation, mbYes | mbNo | mbCancel, 77);
  EXPECT_EQ(seen.X, -1);
  EXPECT_EQ(seen.Caption, "Confirm");
  EXPECT_EQ(seen.Flags & (MB_TYPEMASK | MB_ICONMASK), static_cast<UINT>(MB_YESNOCANCEL | MB_ICONQUESTION));

  ShowMessageBoxCall = [](HWND, const std::string&, const std::string&, UINT) -> int { throw std::runtime_error("x"); };
  EXPECT_THROW(ShowSkinError("e"), std::runtime_error);
  EXPECT_EQ(SkinModalLevel, 0) << "left also when the box raises";
  ShowMessageBoxCall = saved;
}

TEST(EngineRoutines, IniSectionsInMemory) {
  const TIniSections sections = ParseIniSections({"ORPHAN=1", "", "; comment", "[GLOBALINFO]", "VERSION=0x1F",
                                                  " BLANK=5", "bad=0x", "[]", "EMPTY=", "[Button]", "Color=12",
                                                  "COLOR=13", "Plain=12"});
  ASSERT_EQ(sections.size(), 3u);
  EXPECT_EQ(sections[0].Lines.size(), 3u) << "the line before the first section is dropped";
  EXPECT_EQ(sections[1].Name, "");
  const struct {
    const char* Section;
    const char* Key;
    int Expected;
  } integers[] = {
      {"GLOBALINFO", "VERSION", 31}, {"globalinfo", "version", 31}, {"GLOBALINFO", "BLANK", -1},
      {"GLOBALINFO", "bad", -1},     {"BUTTON", "COLOR", 12},       {"BUTTON", "Plain", 12},
      {"BUTTON", "VERSION", -1},     {"MISSING", "COLOR", -1},
  };
  for (const auto& c : integers)
    EXPECT_EQ(IniSectionsReadInteger(sections, c.Section, -1, c.Key), c.Expected) << c.Section << "." << c.Key;
  EXPECT_EQ(IniSectionsReadString(sections, "GLOBALINFO", "?", " BLANK"), "5") << "found with its blank";
  EXPECT_EQ(IniSectionsReadString(sections, "", "?", "EMPTY"), "");
}

TEST(EngineRoutines, FilesAreSearchedOneAtATime) {
  std::filesystem::create_directories("search_here");
  for (const char* name : {"a.asz", "b.asz", "c.txt"}) std::ofstream("search_here/" + std::string(name)) << "x";
  TSkinSearchRec rec;
  std::set<std::string> found;
  for (int rc = SkinFindFirst("search_here\\*.asz", rec); rc == 0; rc = SkinFindNext(rec)) found.insert(rec.Name);
  SkinFindClose(rec);
  EXPECT_EQ(found, (std::set<std::string>{"a.asz", "b.asz"}));
  EXPECT_NE(SkinFindFirst("no_such_folder\\*.*", rec), 0);
  std::filesystem::remove_all("search_here");
}

TEST(EngineRoutines, PropertiesByNameFollowTheRegistry) {
  TButton button(nullptr);
  EXPECT_TRUE(HasPublishedProp(&button, "visible"));
  EXPECT_FALSE(HasPublishedProp(&button, "NoSuchThing"));
  EXPECT_FALSE(HasPublishedProp(&button, "SkinningRules")) << "published by the manager only";
  EXPECT_EQ(GetOrdPropByName(&button, "NoSuchThing"), -1);
  SetOrdPropByName(&button, "Tag", -98);
  EXPECT_EQ(button.Tag(), -98);
  SetOrdPropByName(&button, "Enabled", 0);
  EXPECT_FALSE(button.Enabled());
  EXPECT_EQ(GetObjectPropByName(&button, "PopupMenu"), nullptr);

  TsSkinManager manager(nullptr);
  EXPECT_TRUE(SetPropHasValue(&manager, "SkinningRules", "srThirdParty"));
  EXPECT_FALSE(SetPropHasValue(&manager, "SkinningRules", "srthirdparty")) << "elements by their exact name";
  const struct {
    const char* Element;
    bool Add;
    TacSkinningRules After;
  } changes[] = {
      {"srThirdParty", false, srStdForms | srStdDialogs},
      {"srStdForms", false, srStdDialogs},
      {"srStdDialogs", false, 0},
      {"srStdDialogs", true, srStdDialogs},
      {"srStdDialogs", true, srStdDialogs},
      {"srThirdParty", true, srStdDialogs | srThirdParty},
  };
  for (const auto& c : changes) {
    EXPECT_FALSE(ChangeSetPropValue(&manager, "SkinningRules", c.Element, c.Add));
    EXPECT_EQ(manager.SkinningRules(), c.After) << (c.Add ? "+" : "-") << c.Element;
  }
}

}  // namespace
