// Skins made to hurt: a user installs skins from anywhere, so every one of these must be
// refused or loaded quickly and without taking much memory.
#include "skin/engine/skin_manager.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "framework/exceptions.h"
#include "framework/files.h"
#include "framework/tests/core_test_files.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_pack.h"
#include "skin/engine/skin_reader.h"
#include "skin/engine/tests/skin_fixtures.h"

namespace {

using efir::test::Int32;
using efir::test::kMiB;
using efir::test::PeakGrowth;
using efir::test::PackedEntry;
using efir::test::PackSkin;

// Sections S0 .. S(n-1); with `chained`, each names the next as its parent and the last one
// carries a colour and a frame.
std::string ManySections(int count, bool chained) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    text += "[S" + std::to_string(i) + "]\r\n";
    if (chained && i + 1 < count) text += "PARENTCLASS=S" + std::to_string(i + 1) + "\r\n";
  }
  if (chained) text += "COLOR=0x123456\r\nBORDERSMASK=^0000,0000,0030,0010,0001,0001,0001,0001,3,0,0,0\r\n";
  return text;
}

TEST(HostileSkins, EachIsRefusedOrLoadedQuicklyInLittleMemory) {
  const std::string zeros = PackedEntry("Z.BMP", std::string(MaxPackedEntrySize, '\0'));
  std::string manyLarge = "ASzf" + Int32(6) + PackedEntry("Options.dat", "[X]\r\n");
  for (int i = 0; i < 5; ++i) manyLarge += zeros;  // 320 MiB from about 320 KB
  const struct {
    const char* What;
    std::string Packed;
    const char* Refusal;  // nullptr: loads
  } cases[] = {
      {"huge stated name length", "ASzf" + Int32(1) + Int32(0x7FFFFFF0) + "Options.dat", "Stream read error"},
      {"entry larger than its data could unpack to",
       "ASzf" + Int32(1) + Int32(11) + "Options.dat" + Int32(MaxPackedEntrySize) + std::string(16, 'x'),
       "Stream read error"},
      {"many large entries", manyLarge, "Packed skin unpacks to more than 256 MiB"},
      {"long parent chain", PackSkin({{"Options.dat", ManySections(3000, true)}}), nullptr},
      {"many empty sections", PackSkin({{"Options.dat", ManySections(20000, false)}}), nullptr},
  };
  efir::test::ScratchFolder folder("hostile");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    efir::test::writeBytes(folder / "H.asz", c.Packed);
    TsSkinManager manager(nullptr);
    manager.SetSkinDirectory(efir::GetCurrentDir() + "\\hostile");
    std::string refusal;
    const auto start = std::chrono::steady_clock::now();
    const size_t growth = PeakGrowth([&] {
      try {
        manager.SetSkinName("H");
      } catch (const Exception& e) {
        refusal = e.Message();
      }
    });
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(refusal, c.Refusal ? c.Refusal : "");
    EXPECT_LT(seconds, 120.0);  // about a second, even on a busy machine far less than this
    EXPECT_LT(growth, 400 * kMiB);
    if (c.Refusal) continue;
    EXPECT_TRUE(manager.LoadedSkin.Active);
    if (manager.GeneralData.size() == 3000) {
      // The head of the chain inherits from its far end.
      const TsGeneralData& head = manager.GeneralData[0];
      EXPECT_EQ(head.Color, 0x123456);
      EXPECT_EQ(head.BorderIndex, MaskIndexExact(&manager, "S2999", "BORDERSMASK"));
      EXPECT_GE(head.BorderIndex, 0);
    } else {
      EXPECT_EQ(manager.GeneralData.size(), 20000u);
    }
  }
}

TEST(HostileSkins, UnknownVersionLoadsAndTheNoticeNamesTheFile) {
  std::string notice;
  auto saved = efir::skin::SkinVersionNotice;
  efir::skin::SkinVersionNotice = [&](const std::string& text) { notice = text; };
  efir::test::ScratchFolder folder("future");
  efir::test::writeBytes(folder / "Later.asz", PackSkin({{"Options.dat", "[GLOBALINFO]\r\nVERSION=300.5\r\n"}}));
  TsSkinManager manager(nullptr);
  manager.SetSkinDirectory(efir::GetCurrentDir() + "\\future");
  manager.SetSkinName("Later");
  efir::skin::SkinVersionNotice = saved;
  EXPECT_TRUE(manager.LoadedSkin.Active);
  EXPECT_EQ(manager.SkinInfo(), "300.5");
  EXPECT_NE(notice.find("\\future\\Later.asz"), std::string::npos) << notice;
  EXPECT_NE(notice.find("This version of the skin have not complete support"), std::string::npos);
}

}  // namespace
