// Skins made to hurt: a user installs skins from anywhere, so every one of these must be
// refused or loaded quickly and without taking much memory.
#include "skin/engine/skin_manager.h"

#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <string>

#include "framework/exceptions.h"
#include "framework/files.h"
#include "framework/tests/core_test_files.h"
#include "skin/engine/colour_utils.h"
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
using efir::test::SkinFiles;

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

TEST(HostileSkins, UnknownVersionLoadsAndTellsTheUser) {
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
  EXPECT_EQ(notice,
            "This version of the skin have not complete support by used skin engine package release.\r\n"
            "Components must be updated up to latest version for using this skin.");
}

// ---------------------------------------------------------------- what a loaded skin holds

// The bytes of the distinct pictures the manager holds: entries that share one count it once.
int64_t HeldPictureBytes(const TsSkinManager& manager) {
  std::set<const TBitmap*> seen;
  int64_t bytes = 0;
  auto count = [&](const TBitmap* picture) {
    if (picture && seen.insert(picture).second)
      bytes += int64_t{picture->Width()} * picture->Height() * (picture->PixelFormat() == pf32bit ? 4 : 3);
  };
  for (const TsMaskData& m : manager.Masks) count(m.Image.get());
  for (const TsPatternData& p : manager.Patterns) count(p.Image ? &p.Image->Bitmap() : nullptr);
  return bytes;
}

// The bytes of the distinct gradient texts and bands the sections hold.
int64_t HeldGradientBytes(const TsSkinManager& manager) {
  std::set<const void*> seen;
  int64_t bytes = 0;
  for (const TsGeneralData& g : manager.GeneralData) {
    for (const TsSharedText* text : {&g.GradientData, &g.HotGradientData})
      if (seen.insert(&text->str()).second) bytes += static_cast<int64_t>(text->str().size());
    for (const TsGradArray* bands : {&g.GradientArray, &g.HotGradientArray})
      if (!bands->empty() && seen.insert(bands->begin()).second)
        bytes += static_cast<int64_t>(bands->size() * sizeof(TsGradBand));
  }
  return bytes;
}

// One section with `keys` keys naming the same picture by `value`.
std::string KeysNaming(int keys, const std::string& value) {
  std::string text = "[MANY]\r\n";
  for (int i = 0; i < keys; ++i) text += "K" + std::to_string(i) + "=" + value + "\r\n";
  return text;
}

// A gradient of `bands` bands in BASE, inherited by `sections` sections.
std::string SharedGradient(int bands, int sections) {
  std::string text = "[BASE]\r\nGRADIENTPERCENT=100\r\nGRADIENTDATA=";
  for (int i = 0; i < bands; ++i) text += "255;65280;1;0;0;";
  text += "\r\n";
  for (int i = 0; i < sections; ++i) text += "[S" + std::to_string(i) + "]\r\nPARENTCLASS=BASE\r\n";
  return text;
}

// A chain from GLOBALINFO and every other section the engine looks up after a load, through
// `count` sections, to one that carries the pictures they ask for.
std::string FixedNamesChain(int count) {
  std::string text;
  const char* heads[] = {"GLOBALINFO", "TABTOP", "SCROLLBTNTOP", "SCROLLSLIDERV", "SCROLLBAR1H", "COMBOBTN"};
  for (const char* head : heads) text += std::string("[") + head + "]\r\nPARENTCLASS=S0\r\n";
  for (int i = 0; i < count; ++i) {
    text += "[S" + std::to_string(i) + "]\r\n";
    if (i + 1 < count) text += "PARENTCLASS=S" + std::to_string(i + 1) + "\r\n";
  }
  text += "BORDERSMASK=^0000,0000,0030,0010,0001,0001,0001,0001,3,0,0,0\r\n"
          "BOXCHECKED=^0000,0000,0030,0010,0001,0001,0001,0001,3,0,0,0\r\n";
  return text;
}

TEST(HostileSkins, WhatASkinHoldsIsBoundedByWhatItDefines) {
  constexpr int kKeys = 40;
  std::string manyPictures = "[MANY]\r\n";
  SkinFiles distinct;
  for (int i = 0; i < 9; ++i) {  // 9 pictures of 64 MiB decoded, from a few KB
    const std::string name = "P" + std::to_string(i) + ".PNG";
    manyPictures += "K" + std::to_string(i) + "=!" + name + "!1!0!1\r\n";
    distinct.push_back({name, efir::test::SolidPngBytes(4096, 4096, 0x10203040u + static_cast<uint32_t>(i))});
  }
  distinct.insert(distinct.begin(), {"Options.dat", manyPictures});
  const struct {
    const char* What;
    SkinFiles Files;
    const char* Refusal;      // nullptr: loads
    int64_t MaxPictureBytes;  // the distinct pictures held
    int64_t MaxGradientBytes;
  } cases[] = {
      {"one PNG named by many keys",
       {{"Options.dat", KeysNaming(kKeys, "!ONE.PNG!1!0!1")}, {"ONE.PNG", efir::test::SolidPngBytes(1024, 1024, 0x80402010u)}},
       nullptr, 1024 * 1024 * 4, 64},
      {"one BMP named as borders and as textures",
       {{"Options.dat", KeysNaming(kKeys, "!ONE.BMP!1!0!0") + KeysNaming(kKeys, "!ONE.BMP!1!0!1").substr(8)},
        {"ONE.BMP", efir::test::BmpBytes(512, 512, 0x336699)}},
       nullptr, 512 * 512 * 3 * 2, 64},
      {"one large JPEG named by many keys",
       {{"Options.dat", KeysNaming(kKeys, "ONE.JPG")}, {"ONE.JPG", efir::test::JpegBytes(512, 512)}},
       nullptr, 512 * 512 * 3, 64},
      {"one small JPEG named by many keys",
       {{"Options.dat", KeysNaming(kKeys, "ONE.JPG")}, {"ONE.JPG", efir::test::JpegBytes(64, 64)}},
       nullptr, 64 * 64 * 3, 64},
      {"pictures decoding past the skin's bound", distinct, "Skin pictures decode to more than 512 MiB", 0, 0},
      {"one long gradient inherited by many sections", {{"Options.dat", SharedGradient(20000, 200)}}, nullptr, 0,
       20000 * 16 + 20000 * static_cast<int64_t>(sizeof(TsGradBand)) + 64},
  };
  efir::test::ScratchFolder folder("held");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    efir::test::writeBytes(folder / "H.asz", PackSkin(c.Files));
    TsSkinManager manager(nullptr);
    manager.SetSkinDirectory(efir::GetCurrentDir() + "\\held");
    std::string refusal;
    try {
      manager.SetSkinName("H");
    } catch (const Exception& e) {
      refusal = e.Message();
    }
    EXPECT_EQ(refusal, c.Refusal ? c.Refusal : "");
    if (c.Refusal) continue;
    EXPECT_TRUE(manager.LoadedSkin.Active);
    EXPECT_GT(manager.Masks.size() + manager.Patterns.size() + manager.GeneralData.size(), 0u);
    EXPECT_LE(HeldPictureBytes(manager), c.MaxPictureBytes);
    EXPECT_LE(HeldGradientBytes(manager), c.MaxGradientBytes);
  }
}

TEST(HostileSkins, APictureIsDecodedOnceHoweverManyKeysNameIt) {
  const struct {
    const char* What;
    SkinFiles Files;
    int Entries;  // masks and patterns made
  } cases[] = {
      {"PNG", {{"Options.dat", KeysNaming(100, "!ONE.PNG!1!0!1")}, {"ONE.PNG", efir::test::SolidPngBytes(64, 64, 0x80402010u)}}, 100},
      {"BMP in two forms",
       {{"Options.dat", KeysNaming(50, "ONE.BMP") + KeysNaming(50, "!ONE.BMP!1!0!1").substr(8)},
        {"ONE.BMP", efir::test::BmpBytes(30, 30, 0x336699)}},
       100},
      {"JPEG", {{"Options.dat", KeysNaming(100, "ONE.JPG")}, {"ONE.JPG", efir::test::JpegBytes(400, 400)}}, 100},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    efir::test::PackedSkinSource packed(c.Files);
    TSkinSource& source = packed.Source();
    TsSkinManager manager(nullptr);
    efir::skin::ReadSkinMasks(manager, source);
    efir::skin::ReadSkinPatterns(manager, source);
    EXPECT_EQ(static_cast<int>(manager.Masks.size() + manager.Patterns.size()), c.Entries);
    EXPECT_EQ(source.Decoded.Decodes, 1);
  }
}

// The skin's own hue change keeps shared pictures and bands shared, and changes each once.
TEST(HostileSkins, AHueChangeKeepsWhatIsShared) {
  efir::test::ScratchFolder folder("hue");
  const std::string text = "[GLOBALINFO]\r\n" + KeysNaming(20, "!ONE.BMP!1!0!1").substr(8) + SharedGradient(4, 50);
  efir::test::writeBytes(folder / "H.asz",
                         PackSkin({{"Options.dat", text}, {"ONE.BMP", efir::test::BmpBytes(8, 8, 0x0000FF)}}));
  TsSkinManager plain(nullptr), turned(nullptr);
  for (TsSkinManager* manager : {&plain, &turned}) manager->SetSkinDirectory(efir::GetCurrentDir() + "\\hue");
  turned.SetHueOffset(120);
  plain.SetSkinName("H");
  turned.SetSkinName("H");
  ASSERT_EQ(turned.Masks.size(), 20u);
  EXPECT_EQ(HeldPictureBytes(turned), 8 * 8 * 3);
  const TsGeneralData& first = turned.GeneralData[static_cast<size_t>(SectionIndexByName(&turned, "S0"))];
  const TsGeneralData& last = turned.GeneralData[static_cast<size_t>(SectionIndexByName(&turned, "S49"))];
  EXPECT_TRUE(first.GradientArray.SharesWith(last.GradientArray));
  // Turned once, not once per sharer: the same as a single picture and band turned.
  const TsGeneralData& plainFirst = plain.GeneralData[static_cast<size_t>(SectionIndexByName(&plain, "S0"))];
  EXPECT_EQ(first.GradientArray[0].Color1, ChangeColorHue(120, plainFirst.GradientArray[0].Color1));
  const auto* turnedPixel = static_cast<const uint8_t*>(turned.Masks[0].Image->ScanLine(0));
  const auto* plainPixel = static_cast<const uint8_t*>(plain.Masks[0].Image->ScanLine(0));
  const TColor plainColour = RGB(plainPixel[2], plainPixel[1], plainPixel[0]);
  EXPECT_EQ(static_cast<TColor>(RGB(turnedPixel[2], turnedPixel[1], turnedPixel[0])), ChangeColorHue(120, plainColour));
}

// A container is checked whole before memory is taken for its entries, and the look-ups made
// after every load pass over each section a bounded number of times, however long the chains
// from the fixed names.
TEST(HostileSkins, UnpackingAndLookUpsStayInProportion) {
  const std::string zeros = PackedEntry("Z.BMP", std::string(MaxPackedEntrySize, '\0'));
  std::string bomb = "ASzf" + Int32(6) + PackedEntry("Options.dat", "[X]\r\n");
  for (int i = 0; i < 5; ++i) bomb += zeros;
  std::string noise(1000, '\0');
  uint32_t seed = 1;  // bytes that do not compress
  for (char& byte : noise) byte = static_cast<char>((seed = seed * 1103515245u + 12345u) >> 16);
  std::string damagedLast = "ASzf" + Int32(3) + PackedEntry("Options.dat", "[X]\r\n") +
                            PackedEntry("A.BMP", std::string(100000, 'a')) + PackedEntry("B.BMP", noise);
  damagedLast.resize(damagedLast.size() - 500);  // in the middle of the last stream
  const std::string good = PackSkin({{"Options.dat", "[X]\r\n"}, {"A.BMP", std::string(1000, 'a')}});
  const struct {
    const char* What;
    std::string Packed;
    const char* Refusal;
    int64_t Taken;  // bytes taken for entries
  } containers[] = {
      {"unpack bomb", bomb, "Packed skin unpacks to more than 256 MiB", 0},
      {"last entry cut short", damagedLast, "Stream read error", 0},
      {"sound container", good, nullptr, 5 + 1000},
  };
  for (const auto& c : containers) {
    SCOPED_TRACE(c.What);
    TMemoryStream packed;
    packed.WriteBuffer(c.Packed.data(), c.Packed.size());
    TacSkinConvertor convertor;
    convertor.PackedData = &packed;
    std::string refusal;
    try {
      convertor.ReadPackedSkin();
    } catch (const Exception& e) {
      refusal = e.Message();
    }
    EXPECT_EQ(refusal, c.Refusal ? c.Refusal : "");
    EXPECT_EQ(convertor.UnpackedBytesTaken, c.Taken);
  }

  constexpr int kSections = 20000;
  efir::test::ScratchFolder folder("chain");
  efir::test::writeBytes(folder / "H.asz", PackSkin({{"Options.dat", FixedNamesChain(kSections)}}));
  TsSkinManager manager(nullptr);
  manager.SetSkinDirectory(efir::GetCurrentDir() + "\\chain");
  const int64_t before = LookupEntriesScanned();
  manager.SetSkinName("H");
  const int64_t scanned = LookupEntriesScanned() - before;
  EXPECT_LE(scanned, 20 * static_cast<int64_t>(manager.GeneralData.size() + manager.Masks.size()));
  const int farEnd = MaskIndexExact(&manager, "S19999", "BORDERSMASK");
  ASSERT_GE(farEnd, 0);
  EXPECT_EQ(manager.FixedIndexes.MaskTabTop, farEnd);
  EXPECT_EQ(manager.FixedIndexes.MaskScrollBar1H, farEnd);
  EXPECT_EQ(manager.FixedIndexes.MaskBoxChecked, MaskIndexExact(&manager, "S19999", "BOXCHECKED"));
}

}  // namespace
