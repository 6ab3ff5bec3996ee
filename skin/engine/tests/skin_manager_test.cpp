#include "skin/engine/skin_manager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "framework/exceptions.h"
#include "framework/files.h"
#include "framework/tests/core_test_files.h"
#include "skin/engine/tests/skin_fixtures.h"
#include "tests/support/paths.h"

namespace {

using efir::test::PackSkin;
using efir::test::WriteSkinFolder;

// The source tree as Windows sees it under Wine (Z: is the Unix root).
std::string SourcePath(const std::string& relative) {
  std::string path = efir::test::sourceDir() + "/" + relative;
  std::replace(path.begin(), path.end(), '/', '\\');
  return path[0] == '\\' ? "Z:" + path : path;
}

std::string Here(const std::string& name) { return efir::GetCurrentDir() + "\\" + name; }

bool HasSection(const TsSkinManager& m, const std::string& name) {
  return std::any_of(m.GeneralData.begin(), m.GeneralData.end(),
                     [&](const TsGeneralData& g) { return g.SectionName == name; });
}

const TsMaskData* FindMask(const TsSkinManager& m, const std::string& section, const std::string& key) {
  for (const TsMaskData& mask : m.Masks)
    if (mask.SectionName == section && mask.PropertyName == key) return &mask;
  return nullptr;
}

TEST(SkinManager, LoadsOurSkinFromEachSource) {
  const std::string skins = SourcePath("assets/skins");
  const struct {
    const char* Source;
    std::string Directory;
    bool Stored;
    std::string SkinPath;
  } sources[] = {
      {"folder", skins, false, skins + "\\EfirNight\\"},
      {"packed file", skins + "\\packed", false, skins + "\\packed\\"},
      {"stored in the layout", Here("no_skins_here"), true, ""},
  };
  size_t masks = 0;
  for (const auto& s : sources) {
    SCOPED_TRACE(s.Source);
    TsSkinManager manager(nullptr);
    manager.SetSkinDirectory(s.Directory);
    if (s.Stored) {
      TsStoredSkin& stored = manager.InternalSkins().Add();
      stored.Name = "EfirNight";
      stored.Data.LoadFromFile(skins + "\\packed\\EfirNight.asz");
    }
    manager.SetSkinName("EfirNight");

    EXPECT_TRUE(manager.LoadedSkin.Active);
    EXPECT_EQ(manager.SkinInfo(), "7.5");
    EXPECT_EQ(manager.LoadedSkin.SkinPath, s.SkinPath);
    EXPECT_EQ(manager.LoadedSkin.Author, "Эфирушка Плюс");
    for (const char* section : {"GLOBALINFO", "FORM", "BUTTON", "EDIT", "COMBOBTN", "TRACKBAR", "SCROLLBTNTOP", "MENUITEM"})
      EXPECT_TRUE(HasSection(manager, section)) << section;
    const TsMaskData* button = FindMask(manager, "BUTTON", "BORDERSMASK");
    ASSERT_TRUE(button && button->Image);
    EXPECT_EQ(button->Image->Width(), 72);
    EXPECT_EQ(MaskStateWidth(*button), 24);
    const TsMaskData* box = FindMask(manager, "GLOBALINFO", "BOXCHECKED");
    ASSERT_TRUE(box && box->Image);
    EXPECT_EQ(MaskStateHeight(*box), 16);
    if (masks == 0) masks = manager.Masks.size();
    EXPECT_EQ(manager.Masks.size(), masks);  // every form holds the same pictures
  }
}

TEST(SkinManager, FirstManagerIsTheDefault) {
  ASSERT_EQ(TsSkinManager::DefaultManager(), nullptr);
  auto first = std::make_unique<TsSkinManager>(nullptr);
  auto second = std::make_unique<TsSkinManager>(nullptr);
  EXPECT_TRUE(first->IsDefault());
  EXPECT_FALSE(second->IsDefault());
  second->SetIsDefault(false);
  EXPECT_EQ(TsSkinManager::DefaultManager(), first.get());
  second->SetIsDefault(true);
  EXPECT_EQ(TsSkinManager::DefaultManager(), second.get());
  second.reset();
  EXPECT_EQ(TsSkinManager::DefaultManager(), nullptr);  // nobody takes over
  EXPECT_FALSE(first->IsDefault());
  auto third = std::make_unique<TsSkinManager>(nullptr);  // the first made while there is none
  EXPECT_TRUE(third->IsDefault());
  first.reset();
  third.reset();
}

TEST(SkinManager, SettingChangesReadTheSkinAgain) {
  const std::string dir = Here("reread");
  efir::test::ScratchFolder scratch("reread");
  const struct {
    const char* Setting;
    std::function<void(TsSkinManager&)> Change;
  } settings[] = {
      {"hue", [](TsSkinManager& m) { m.SetHueOffset(30); }},
      {"saturation", [](TsSkinManager& m) { m.SetSaturation(-20); }},
      {"common sections", [](TsSkinManager& m) { m.SetCommonSections(TStringList()); }},
      {"active", [](TsSkinManager& m) { m.SetActive(false), m.SetActive(true); }},
  };
  for (const auto& s : settings) {
    SCOPED_TRACE(s.Setting);
    WriteSkinFolder(dir + "\\S", {{"Options.dat", "[BUTTON]\r\nCOLOR=0x010203\r\n"}});
    TsSkinManager manager(nullptr);
    manager.SetSkinDirectory(dir);
    manager.SetSkinName("S");
    ASSERT_EQ(manager.GeneralData.at(0).Color, 0x010203);
    // A grey, which the hue and saturation settings leave as it is.
    WriteSkinFolder(dir + "\\S", {{"Options.dat", "[BUTTON]\r\nCOLOR=0x050505\r\n"}});
    s.Change(manager);
    EXPECT_EQ(manager.GeneralData.at(0).Color, 0x050505);
    EXPECT_TRUE(manager.LoadedSkin.Active);
  }
}

TEST(SkinManager, SourcesAreTriedInOrder) {
  const std::string dir = Here("order");
  efir::test::ScratchFolder scratch("order");
  WriteSkinFolder(dir + "\\Both", {{"Options.dat", "[FROMFOLDER]\r\n"}});
  efir::test::writeBytes(dir + "\\Both.asz", PackSkin({{"Options.dat", "[FROMPACKED]\r\n"}}));
  WriteSkinFolder(dir + "\\Empty", {{"readme.txt", "no definition"}});

  TsSkinManager manager(nullptr);
  manager.SetSkinDirectory(dir);
  manager.SetSkinName("Both");
  EXPECT_TRUE(HasSection(manager, "FROMPACKED"));
  EXPECT_EQ(manager.LoadedSkin.SkinPath, dir + "\\");

  // A folder without a definition counts as absent: the first stored skin is taken.
  manager.InternalSkins().Add().Name = "One";
  manager.InternalSkins().Items(0).Data.LoadFromFile(dir + "\\Both.asz");
  manager.InternalSkins().Add().Name = "Two";
  manager.SetSkinName("Empty");
  EXPECT_EQ(manager.SkinName(), "One");
  EXPECT_TRUE(HasSection(manager, "FROMPACKED"));
  EXPECT_EQ(manager.LoadedSkin.SkinPath, "");

  TsSkinManager bare(nullptr);
  bare.SetSkinDirectory(dir);
  bare.SetSkinName("Nowhere");
  EXPECT_FALSE(bare.Active());
  EXPECT_FALSE(bare.LoadedSkin.Active);
  EXPECT_EQ(bare.SkinInfo(), "N/A");
}

TEST(SkinManager, OlderStoredSkinIsReadFromItsLists) {
  TsSkinManager manager(nullptr);
  manager.SetSkinDirectory(Here("no_skins_here"));
  TsStoredSkin& packed = manager.InternalSkins().Add();  // Data wins over filled lists
  packed.Name = "Packed";
  std::string bytes = PackSkin({{"Options.dat", "[FROMDATA]\r\n"}});
  packed.Data.WriteBuffer(bytes.data(), bytes.size());
  packed.GeneralData.Add().SectionName = "FROMLISTS";

  TsStoredSkin& old = manager.InternalSkins().Add();
  old.Name = "Old";
  old.Version = 6.5;
  std::string master = efir::test::BmpBytes(64, 32, 0x808080);
  old.MasterBitmap.LoadFromMemory(master.data(), master.size());
  TsSkinImage& own = old.Images.Add();
  own.Name = "own";
  std::string frame = efir::test::BmpBytes(30, 20, 0x112233);
  own.Image.LoadFromMemory(frame.data(), frame.size());
  own.SectionName = "button";
  own.PropertyName = "bordersmask";
  TsSkinImage& cut = old.Images.Add();
  cut.SectionName = "EDIT";
  cut.PropertyName = "BORDERSMASK";
  cut.Right = 60, cut.Bottom = 20, cut.ImageCount = 2, cut.BorderWidth = 4;
  std::string jpeg = efir::test::JpegBytes(8, 8);
  TsSkinPattern& first = old.Patterns.Add();
  first.Name = "shared";
  first.Image.LoadFromMemory(jpeg.data(), jpeg.size());
  TsSkinPattern& second = old.Patterns.Add();
  second.Name = "shared";
  second.SectionName = "form";
  TsSkinGeneral& button = old.GeneralData.Add();
  button.SectionName = "BUTTON";
  button.Color = SystemColor(COLOR_BTNFACE);
  button.FontColor = "1 2 3 4 5";
  button.HotFontColor = "1 2 3 4";
  button.GradientData = "255;65280;100;0;0";

  manager.SetSkinName("Packed");
  EXPECT_TRUE(HasSection(manager, "FROMDATA"));
  EXPECT_FALSE(HasSection(manager, "FROMLISTS"));

  manager.SetSkinName("Old");
  EXPECT_EQ(manager.SkinInfo(), "6.5");
  EXPECT_EQ(manager.MasterBitmap->Width(), 64);
  ASSERT_EQ(manager.Masks.size(), 2u);
  const TsMaskData& m0 = manager.Masks[0];
  EXPECT_EQ(m0.SectionName, "BUTTON");
  EXPECT_EQ(m0.ImageCount, 3);  // 0 stands for three states over one mask row
  EXPECT_EQ(m0.MaskType, 1);
  EXPECT_EQ(m0.R.right, 30);
  EXPECT_EQ(m0.WL, 3);
  EXPECT_EQ(m0.WT, 3);
  const TsMaskData& m1 = manager.Masks[1];
  EXPECT_EQ(m1.Image, nullptr);
  EXPECT_EQ(m1.R.right, 60);
  EXPECT_EQ(m1.WL, 4);
  ASSERT_EQ(manager.Patterns.size(), 2u);
  EXPECT_EQ(manager.Patterns[1].SectionName, "FORM");
  EXPECT_EQ(manager.Patterns[1].Image->Width(), 8);  // the picture of its namesake
  ASSERT_EQ(manager.GeneralData.size(), 1u);
  const TsGeneralData& g = manager.GeneralData[0];
  EXPECT_EQ(g.Color, SystemColor(COLOR_BTNFACE));
  EXPECT_EQ(g.FontColor, (std::array<TColor, 5>{1, 2, 3, 4, 5}));
  EXPECT_EQ(g.HotFontColor, (std::array<TColor, 5>{0, -1, -1, -1, -1}));
  EXPECT_EQ(g.GradientArray.size(), 1u);
}

TEST(SkinManager, DamagedSkinRaisesAndStaysInactive) {
  const std::string dir = Here("damaged");
  efir::test::ScratchFolder scratch("damaged");
  efir::test::writeBytes(dir + "\\Bad.asz", "ASzf" + efir::test::Int32(1) + "garbage");
  efir::test::writeBytes(dir + "\\NoText.asz", PackSkin({{"A.BMP", "x"}}));
  for (const char* name : {"Bad", "NoText"}) {
    SCOPED_TRACE(name);
    TsSkinManager manager(nullptr);
    int before = 0, after = 0;
    manager.OnBeforeChange = [&](TObject*) { ++before; };
    manager.OnAfterChange = [&](TObject*) { ++after; };
    manager.SetSkinDirectory(dir);
    EXPECT_THROW(manager.SetSkinName(name), Exception);
    EXPECT_EQ(before, 1);
    EXPECT_EQ(after, 0);
    EXPECT_FALSE(manager.LoadedSkin.Active);
    EXPECT_FALSE(SkinLoading);
  }
}

// A window layout being read: its components are announced only once it is complete.
class LayoutOwner : public TComponent {
 public:
  explicit LayoutOwner(const std::string& dir) : TComponent(nullptr) {
    SetLoading();
    Manager = new TsSkinManager(this);
    Manager->SetSkinDirectory(dir);
    Manager->SetSkinName("EfirNight");
  }
  TsSkinManager* Manager;
  bool ActiveWhileLoading = false;

 protected:
  void Loaded() override {
    ActiveWhileLoading = Manager->LoadedSkin.Active;
    TComponent::Loaded();
  }
};

TEST(SkinManager, LayoutAnnouncesTheSkinWhenLoaded) {
  LayoutOwner* layout = efir::Construct<LayoutOwner>(SourcePath("assets/skins"));
  EXPECT_FALSE(layout->ActiveWhileLoading);
  EXPECT_FALSE(layout->Manager->GeneralData.empty());  // read while the layout was read
  EXPECT_TRUE(layout->Manager->LoadedSkin.Active);
  layout->Free();
}

TEST(SkinManager, SkinDirectoryResolvesAgainstTheProgramFolder) {
  const std::string program = efir::ProgramFolder();
  std::string parent = program.substr(0, program.size() - 1);
  parent.erase(parent.find_last_of("\\/") + 1);
  const struct {
    const char* Written;
    std::string Resolved;
  } rows[] = {
      {".\\Skins", program + "Skins"},  {"./Skins", program + "Skins"}, {"..\\Skins", parent + "Skins"},
      {"Skins", program + "Skins"},     {"D:\\Skins", "D:\\Skins"},     {"\\\\server\\skins", "\\\\server\\skins"},
  };
  TsSkinManager manager(nullptr);
  for (const auto& r : rows) {
    manager.SetSkinDirectory(r.Written);
    EXPECT_EQ(manager.ResolveSkinDirectory(), r.Resolved) << r.Written;
  }
}

TEST(SkinManager, ListsSkinNamesByType) {
  const std::string dir = Here("listing");
  efir::test::ScratchFolder scratch("listing");
  WriteSkinFolder(dir + "\\beta", {{"Options.dat", "[X]\r\n"}});
  WriteSkinFolder(dir + "\\NoDefinition", {{"a.bmp", "x"}});
  efir::test::writeBytes(dir + "\\Alpha.asz", "");
  efir::test::writeBytes(dir + "\\Gamma.v2.asz", "");
  efir::test::writeBytes(dir + "\\Upper.ASZ", "");
  TsSkinManager manager(nullptr);
  manager.SetSkinDirectory(dir);
  manager.InternalSkins().Add().Name = "Stored";
  const struct {
    int Type;
    const char* Names;
  } rows[] = {{0, "beta,Stored,"}, {1, "Alpha,Gamma,Stored,"}, {2, "Alpha,beta,Gamma,Stored,"}};
  for (const auto& r : rows) {
    TStringList list;
    std::string first;
    manager.ListSkinNames(list, r.Type, first);
    std::string names;
    for (int i = 0; i < list.Count(); ++i) names += list[i] + ",";
    EXPECT_EQ(names, r.Names) << r.Type;
    EXPECT_EQ(first, "Stored");
  }
}

}  // namespace
