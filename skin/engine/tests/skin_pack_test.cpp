#include "skin/engine/skin_pack.h"

#include <gtest/gtest.h>

#include "framework/exceptions.h"
#include "framework/tests/core_test_files.h"
#include "skin/engine/tests/skin_fixtures.h"

namespace {

using efir::test::Int32;
using efir::test::PackedEntry;
using efir::test::PackSkin;

std::string Text(TMemoryStream& s) { return std::string(reinterpret_cast<const char*>(s.Memory()), size_t(s.Size())); }

TMemoryStream StreamOf(const std::string& bytes) {
  TMemoryStream s;
  s.WriteBuffer(bytes.data(), bytes.size());
  return s;
}

TEST(PackedSkin, EntriesComeBackAsPacked) {
  // Small entries back to back (each stream ends inside the next one's bytes), an empty one,
  // and names that only look like the text entry.
  TMemoryStream data = StreamOf(PackSkin({{"A.bmp", "first"},
                                          {"options.DAT", "[GLOBALINFO]\r\n"},
                                          {"Options.dat.old", "not the text"},
                                          {"B.PNG", ""},
                                          {"C.Bmp", std::string(70000, 'x')}}));
  TacSkinConvertor skin;
  skin.PackedData = &data;
  skin.ReadPackedSkin();

  EXPECT_EQ(skin.ImageCount, 4);
  ASSERT_TRUE(skin.OptionsData);
  EXPECT_EQ(Text(*skin.OptionsData), "[GLOBALINFO]\r\n");
  struct Expected {
    const char* Name;
    bool IsBitmap;
    std::string Bytes;
  };
  const Expected expected[] = {{"A.bmp", true, "first"},
                               {"Options.dat.old", false, "not the text"},
                               {"B.PNG", false, ""},
                               {"C.Bmp", true, std::string(70000, 'x')}};
  ASSERT_EQ(skin.ImageItems.size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE(expected[i].Name);
    EXPECT_EQ(skin.ImageItems[i].Name, expected[i].Name);
    EXPECT_EQ(skin.ImageItems[i].IsBitmap, expected[i].IsBitmap);
    EXPECT_EQ(Text(*skin.ImageItems[i].Data), expected[i].Bytes);
  }
  EXPECT_EQ(skin.PackedData, &data);  // a lent source stays the lender's
}

TEST(PackedSkin, FileIsReadOnlyWhenItExists) {
  efir::test::ScratchFolder folder("packed_file");
  auto skin = std::make_unique<TacSkinConvertor>();
  TacSkinConvertor* before = skin.get();
  OpenPackedSkinFile(folder / "missing.asz", skin, true);
  EXPECT_EQ(skin.get(), before);
  EXPECT_FALSE(skin->OptionsData);

  efir::test::writeBytes(folder / "s.asz", PackSkin({{"Options.dat", "text"}}));
  std::unique_ptr<TacSkinConvertor> none;
  OpenPackedSkinFile(folder / "s.asz", none, true);
  ASSERT_TRUE(none);
  EXPECT_EQ(Text(*none->OptionsData), "text");
  EXPECT_EQ(none->ImageCount, 0);
  EXPECT_TRUE(none->ImageItems.empty());
  EXPECT_EQ(none->PackedData, nullptr);  // the file's bytes are dropped
}

TEST(PackedSkin, DamagedContainersAreRefusedAndLeaveNothing) {
  const std::string good = PackSkin({{"Options.dat", "[X]\r\n"}, {"P.BMP", "picture"}});
  std::string stream = PackedEntry("P.BMP", "picture");
  std::string zlibBytes = stream.substr(4 + 5 + 4);
  std::string corrupt = zlibBytes;
  corrupt[3] = static_cast<char>(corrupt[3] ^ 0x55);
  const struct {
    const char* What;
    std::string Bytes;
  } cases[] = {
      {"empty", ""},
      {"wrong magic", "PK\3\4" + good.substr(4)},
      {"magic only", "ASzf"},
      {"short count", "ASzf\1\0"},
      {"negative count", "ASzf" + Int32(-1)},
      {"more entries than present", "ASzf" + Int32(3) + good.substr(8)},
      {"name longer than the data", "ASzf" + Int32(1) + Int32(1000) + "P.BMP"},
      {"negative name length", "ASzf" + Int32(1) + Int32(-5)},
      {"negative size", "ASzf" + Int32(1) + Int32(5) + "P.BMP" + Int32(-1) + zlibBytes},
      {"size beyond the limit", "ASzf" + Int32(1) + Int32(5) + "P.BMP" + Int32(MaxPackedEntrySize + 1) + zlibBytes},
      {"stream shorter than its size", "ASzf" + Int32(1) + Int32(5) + "P.BMP" + Int32(8) + zlibBytes},
      {"stream longer than its size", "ASzf" + Int32(1) + Int32(5) + "P.BMP" + Int32(3) + zlibBytes},
      {"corrupt stream", "ASzf" + Int32(1) + Int32(5) + "P.BMP" + Int32(7) + corrupt},
      {"cut in the stream", good.substr(0, good.size() - 6)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    TMemoryStream data = StreamOf(c.Bytes);
    TacSkinConvertor skin;
    skin.PackedData = &data;
    EXPECT_THROW(skin.ReadPackedSkin(), Exception);
    EXPECT_TRUE(skin.ImageItems.empty());
    EXPECT_FALSE(skin.OptionsData);
    EXPECT_EQ(skin.PackedData, &data);
  }
}

TEST(PackedSkin, WrongMagicNamesTheProblem) {
  TMemoryStream data = StreamOf("GIF89a");
  TacSkinConvertor skin;
  skin.PackedData = &data;
  try {
    skin.ReadPackedSkin();
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Loaded data is not a packed skin file");
  }
}

}  // namespace
