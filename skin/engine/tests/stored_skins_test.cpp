#include "skin/engine/stored_skins.h"

#include <gtest/gtest.h>

#include "framework/exceptions.h"
#include "skin/engine/skin_manager.h"
#include "skin/engine/tests/skin_fixtures.h"

namespace {

std::string Bytes(TMemoryStream& s) { return std::string(reinterpret_cast<const char*>(s.Memory()), size_t(s.Size())); }

TEST(StoredSkins, AStoredSkinCopiesAllItHolds) {
  TsStoredSkin source;
  source.Name = "Night";
  const std::string packed = efir::test::PackSkin({{"Options.dat", "[X]\r\n"}});
  source.Data.WriteBuffer(packed.data(), packed.size());
  const std::string bmp = efir::test::BmpBytes(6, 4, 0x102030);
  source.MasterBitmap.LoadFromMemory(bmp.data(), bmp.size());
  TsSkinImage& image = source.Images.Add();
  image.Name = "frame";
  image.Image.LoadFromMemory(bmp.data(), bmp.size());
  image.SectionName = "BUTTON", image.ImageCount = 3, image.WR = 7;
  const std::string jpeg = efir::test::JpegBytes(8, 8);
  source.Patterns.Add().Image.LoadFromMemory(jpeg.data(), jpeg.size());
  source.Version = 6.5, source.Author = "me", source.BorderColor = 0x123456, source.Shadow1Blur = 3;

  TsStoredSkin copy;
  copy.Assign(&source);
  EXPECT_EQ(copy.Name, "Night");
  EXPECT_EQ(Bytes(copy.Data), packed);
  EXPECT_EQ(copy.MasterBitmap.Width(), 6);
  ASSERT_EQ(copy.Images.Count(), 1);
  EXPECT_EQ(copy.Images.Items(0).SectionName, "BUTTON");
  EXPECT_EQ(copy.Images.Items(0).WR, 7);
  EXPECT_EQ(copy.Images.Items(0).Image.Height(), 4);
  ASSERT_EQ(copy.Patterns.Count(), 1);
  EXPECT_EQ(copy.Patterns.Items(0).Image.Width(), 8);
  EXPECT_EQ(copy.Version, 6.5);
  EXPECT_EQ(copy.Author, "me");
  EXPECT_EQ(copy.BorderColor, 0x123456);
  EXPECT_EQ(copy.Shadow1Blur, 3);
}

TEST(StoredSkins, WhatCannotBeCopiedIsRefusedAndChangesNothing) {
  TsStoredSkin target;
  target.Name = "Kept";
  target.GeneralData.Add().SectionName = "OWN";
  EXPECT_THROW(target.Assign(nullptr), EConvertError);

  TsStoredSkin older;
  older.Name = "Older";
  older.GeneralData.Add().SectionName = "BUTTON";
  EXPECT_THROW(target.Assign(&older), EConvertError);  // sections of the older form
  EXPECT_EQ(target.Name, "Kept");
  ASSERT_EQ(target.GeneralData.Count(), 1);
  EXPECT_EQ(target.GeneralData.Items(0).SectionName, "OWN");

  // One manager's stored skins assigned to another's change nothing.
  TsSkinManager first(nullptr), second(nullptr);
  first.InternalSkins().Add().Name = "A";
  second.InternalSkins().Add().Name = "B";
  second.InternalSkins().Assign(first.InternalSkins());
  ASSERT_EQ(second.InternalSkins().Count(), 1);
  EXPECT_EQ(second.InternalSkins().Items(0).Name, "B");
}

}  // namespace
