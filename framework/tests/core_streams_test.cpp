#include <gtest/gtest.h>

#include "framework/exceptions.h"
#include "framework/streams.h"
#include "framework/tests/core_test_files.h"

namespace {

using efir::test::readBytes;
using efir::test::writeBytes;

TEST(StreamsTest, FileStreamCreatesExclusivelyAndWrites) {
  efir::test::ScratchFolder dir("core_streams_file");
  const std::string path = dir / "TmpAudioFile.tmp";
  writeBytes(path, "old content");
  {
    TFileStream out(path, TFileStream::fmCreate, TFileStream::fmShareExclusive);
    EXPECT_EQ(out.Size(), 0);  // emptied
    // Nobody else may open it meanwhile.
    EXPECT_THROW(TFileStream(path, TFileStream::fmOpenRead, TFileStream::fmShareDenyNone), EInOutError);
    out.WriteBuffer("abc", 3);
    out.WriteBuffer("", 0);
    out.WriteBuffer("def", 3);
    EXPECT_EQ(out.Position(), 6);
  }
  EXPECT_EQ(readBytes(path), "abcdef");
}

TEST(StreamsTest, FileStreamOpensSeeksReadsAndResizes) {
  efir::test::ScratchFolder dir("core_streams_seek");
  const std::string path = dir / "data.bin";
  writeBytes(path, "0123456789");
  TFileStream f(path, TFileStream::fmOpenReadWrite);
  EXPECT_EQ(f.Size(), 10);
  EXPECT_EQ(f.Seek(0, soEnd), 10);
  f.WriteBuffer("AB", 2);
  EXPECT_EQ(f.Seek(-4, soEnd), 8);
  char buffer[8] = {};
  EXPECT_EQ(f.Read(buffer, sizeof buffer), 4u);
  EXPECT_EQ(std::string(buffer, 4), "89AB");
  f.SetPosition(2);
  EXPECT_THROW(f.ReadBuffer(buffer, 20), EInOutError);
  f.SetSize(3);
  EXPECT_EQ(f.Size(), 3);
  EXPECT_THROW(f.Seek(-1, soBeginning), EInOutError);

  try {
    TFileStream missing(dir / "missing.bin", TFileStream::fmOpenRead);
    FAIL() << "no error";
  } catch (const EInOutError& e) {
    EXPECT_NE(e.Message().find("Cannot open file \"" + (dir / "missing.bin") + "\""), std::string::npos);
    EXPECT_EQ(e.ErrorCode(), ERROR_FILE_NOT_FOUND);
  }
}

TEST(StreamsTest, MemoryStreamGrowsAndRoundTripsThroughFiles) {
  efir::test::ScratchFolder dir("core_streams_memory");
  TMemoryStream m;
  m.WriteBuffer("hello", 5);
  m.Seek(7, soBeginning);
  m.WriteBuffer("!", 1);
  EXPECT_EQ(m.Size(), 8);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(m.Memory()), 8), std::string("hello\0\0!", 8));
  m.SetPosition(3);
  char buffer[10];
  EXPECT_EQ(m.Read(buffer, sizeof buffer), 5u);
  EXPECT_EQ(m.Read(buffer, sizeof buffer), 0u);
  EXPECT_THROW(m.ReadBuffer(buffer, 1), EInOutError);

  m.SaveToFile(dir / "m.bin");
  TMemoryStream copy;
  copy.LoadFromFile(dir / "m.bin");
  EXPECT_EQ(copy.Size(), 8);
  EXPECT_EQ(copy.Position(), 0);

  TMemoryStream part;
  copy.SetPosition(1);
  part.CopyFrom(copy, 4);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(part.Memory()), 4), "ello");
  part.SetSize(2);
  EXPECT_EQ(part.Position(), 2);
  part.Clear();
  EXPECT_EQ(part.Size(), 0);
  EXPECT_THROW(copy.LoadFromFile(dir / "missing.bin"), EInOutError);
  EXPECT_EQ(copy.Size(), 8);
}

}  // namespace
