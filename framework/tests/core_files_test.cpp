#include <gtest/gtest.h>

#include <algorithm>

#include "framework/exceptions.h"
#include "framework/files.h"
#include "framework/tests/core_test_files.h"

namespace efir {
namespace {

using test::readBytes;
using test::writeBytes;

TEST(FilesTest, ExistsDeleteRenameAndCopy) {
  test::ScratchFolder dir("core_files_ops");
  const std::string a = dir / "a.txt", b = dir / "b.txt";
  writeBytes(a, "one");
  EXPECT_TRUE(FileExists(a));
  EXPECT_FALSE(FileExists(dir / "."));
  EXPECT_TRUE(DirectoryExists("core_files_ops"));
  EXPECT_FALSE(DirectoryExists(a));

  EXPECT_TRUE(CopyFile(a, b, true));
  writeBytes(a, "two");
  EXPECT_FALSE(CopyFile(a, b, true));  // fail-if-exists keeps the target
  EXPECT_EQ(readBytes(b), "one");
  EXPECT_TRUE(CopyFile(a, b, false));
  EXPECT_EQ(readBytes(b), "two");

  EXPECT_FALSE(RenameFile(a, b));      // the target exists
  EXPECT_TRUE(DeleteFile(b));
  EXPECT_FALSE(DeleteFile(b));
  EXPECT_TRUE(RenameFile(a, b));
  EXPECT_FALSE(FileExists(a));
  EXPECT_EQ(readBytes(b), "two");
}

TEST(FilesTest, FindFilesListsEveryEntryWithAttributesAndSize) {
  test::ScratchFolder dir("core_files_find");
  writeBytes(dir / "1.jpg", "12345");
  writeBytes(dir / "hidden.txt", "");
  SetFileAttributesA((dir / "hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
  CreateDirectoryA((dir / "sub").c_str(), nullptr);

  std::vector<TSearchRec> entries = FindFiles(dir / "*.*");
  auto find = [&](const std::string& name) {
    return std::find_if(entries.begin(), entries.end(), [&](const TSearchRec& e) { return e.Name == name; });
  };
  ASSERT_NE(find("1.jpg"), entries.end());
  EXPECT_EQ(find("1.jpg")->Size, 5);
  ASSERT_NE(find("hidden.txt"), entries.end());
  EXPECT_TRUE(find("hidden.txt")->Attr & FILE_ATTRIBUTE_HIDDEN);
  ASSERT_NE(find("sub"), entries.end());
  EXPECT_TRUE(find("sub")->Attr & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_NE(find("."), entries.end());
  EXPECT_EQ(entries.size(), 5u);

  EXPECT_TRUE(FindFiles(dir / "*.gif").empty());
  EXPECT_TRUE(FindFiles(dir / "missing\\*.*").empty());
}

TEST(FilesTest, PathPartsSplitAtTheLastSeparatorAndDot) {
  struct Case {
    const char *path, *folder, *name, *ext;
  };
  const Case cases[] = {
      {"C:\\Stations\\12.JPG", "C:\\Stations\\", "12.JPG", ".JPG"},
      {"c:\\a.b\\name", "c:\\a.b\\", "name", ""},
      {"c:file.tar.gz", "c:", "file.tar.gz", ".gz"},
      {"skin/Options.dat", "skin/", "Options.dat", ".dat"},
      {"noext", "", "noext", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExtractFilePath(c.path), c.folder) << c.path;
    EXPECT_EQ(ExtractFileName(c.path), c.name) << c.path;
    EXPECT_EQ(ExtractFileExt(c.path), c.ext) << c.path;
  }
}

TEST(FilesTest, ProgramAndCurrentFolders) {
  std::string program = ProgramFolder();
  ASSERT_FALSE(program.empty());
  EXPECT_EQ(program.back(), '\\');
  EXPECT_TRUE(FileExists(program + "framework_tests.exe"));

  std::string current = GetCurrentDir();
  EXPECT_TRUE(DirectoryExists(current));
  EXPECT_NE(current.back(), '\\');
}

TEST(FilesTest, SafeWriteReplacesTheWholeFile) {
  test::ScratchFolder dir("core_files_safe");
  const std::string path = dir / "config.txt";
  WriteFileSafely(path, "first\r\n");
  EXPECT_EQ(readBytes(path), "first\r\n");
  WriteFileSafely(path, "second\r\n");
  EXPECT_EQ(readBytes(path), "second\r\n");
  WriteFileSafely(path, "");
  EXPECT_EQ(readBytes(path), "");
  writeBytes(path + ".new", "left by a crash");
  WriteFileSafely(path, "third");
  EXPECT_EQ(readBytes(path), "third");
  EXPECT_EQ(FindFiles(dir / "*.new").size(), 0u);
}

TEST(FilesTest, FailedSafeWriteLeavesTheOldFileAndNoTemporaryFile) {
  test::ScratchFolder dir("core_files_safe_fail");
  const std::string path = dir / "config.txt";
  writeBytes(path, "old settings\r\n");
  // Held open without delete sharing, the file cannot be replaced.
  HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_THROW(WriteFileSafely(path, "new"), EInOutError);
  CloseHandle(held);
  EXPECT_EQ(readBytes(path), "old settings\r\n");
  EXPECT_EQ(FindFiles(dir / "*.*").size(), 3u);  // ".", ".." and the file

  try {
    WriteFileSafely(dir / "missing\\config.txt", "x");
    FAIL() << "no error";
  } catch (const EInOutError& e) {
    EXPECT_NE(e.Message().find("missing\\config.txt"), std::string::npos) << e.Message();
  }
}

TEST(FilesTest, SafeWriteLeavesAReadOnlyFileAsItIs) {
  test::ScratchFolder dir("core_files_safe_readonly");
  const std::string path = dir / "config.txt";
  writeBytes(path, "kept\r\n");
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
  try {
    WriteFileSafely(path, "new");
    FAIL() << "no error";
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.ErrorCode(), ERROR_ACCESS_DENIED);
    EXPECT_NE(e.Message().find("config.txt"), std::string::npos) << e.Message();
  }
  EXPECT_EQ(readBytes(path), "kept\r\n");
  EXPECT_EQ(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY,
            static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(FindFiles(dir / "*.new").size(), 0u);
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(FilesTest, AnUnfinishedSafeWriteIsRemovedAndTheFileKept) {
  test::ScratchFolder dir("core_files_unfinished");
  const std::string path = dir / "favs.txt";
  writeBytes(path, "3\r\n");
  writeBytes(path + ".new", "3\r\n4");
  RemoveUnfinishedWrite(path);
  EXPECT_FALSE(FileExists(path + ".new"));
  EXPECT_EQ(readBytes(path), "3\r\n");
  RemoveUnfinishedWrite(path);  // none left: nothing to do
  EXPECT_TRUE(FileExists(path));
}

}  // namespace
}  // namespace efir
