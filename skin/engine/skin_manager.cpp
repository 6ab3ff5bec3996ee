#include "skin/engine/skin_manager.h"

#include <algorithm>
#include <charconv>

#include "framework/application.h"
#include "framework/exceptions.h"
#include "framework/files.h"
#include "skin/engine/colour_utils.h"
#include "skin/engine/extended_borders.h"
#include "skin/engine/skin_broadcast.h"
#include "skin/engine/skin_lookups.h"
#include "skin/engine/skin_pack.h"
#include "skin/engine/skin_reader.h"
#include "skin/engine/skin_startup.h"
#include "skin/engine/skin_recolour.h"

bool SkinLoading = false;

namespace {

TsSkinManager* defaultManager = nullptr;

std::string WithBackslash(std::string path) {
  if (path.empty() || (path.back() != '\\' && path.back() != '/')) path += '\\';
  return path;
}

bool StartsWith(const std::string& text, std::string_view prefix) { return text.compare(0, prefix.size(), prefix) == 0; }

std::string StreamText(TMemoryStream& stream) {
  return std::string(reinterpret_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

std::string OptionsText(const TacSkinConvertor& packed) {
  if (!packed.OptionsData) throw Exception("Packed skin has no Options.dat");
  return StreamText(*packed.OptionsData);
}

// Keeps SkinLoading set for one read, also when the read fails.
class LoadingScope {
 public:
  LoadingScope() { SkinLoading = true; }
  ~LoadingScope() { SkinLoading = false; }
  LoadingScope(const LoadingScope&) = delete;
  LoadingScope& operator=(const LoadingScope&) = delete;
};

}  // namespace

TsSkinManager::TsSkinManager(TComponent* AOwner) : TComponent(AOwner) {
  if (!defaultManager) {
    defaultManager = this;
    HookMainWindow();
  }
  UpdateThirdLists(*this, false);
}

TsSkinManager::~TsSkinManager() {
  // Marked as going first, so that every control that names this manager drops it.
  TComponent::BeforeDestruction();
  active_ = false;
  BroadcastSkinRemoved();
  extendedBorders_ = false;
  UnhookMainWindow();
  StoreThirdLists(*this);
  if (defaultManager == this) defaultManager = nullptr;
}

TsSkinManager* TsSkinManager::DefaultManager() { return defaultManager; }

void TsSkinManager::SetIsDefault(bool value) {
  if (!value && defaultManager) return;
  if (defaultManager && defaultManager != this) defaultManager->UnhookMainWindow();
  defaultManager = this;
  HookMainWindow();
  if (active_)
    BroadcastNewSkin();
  else
    BroadcastSkinRemoved();
}

void TsSkinManager::HookMainWindow() {
  if (mainWindowHook_ || !OSIsNT) return;
  mainWindowHook_ = Application.HookMainWindow([this](TMessage& message) { return MainWindowHook(*this, message); });
}

void TsSkinManager::UnhookMainWindow() {
  if (mainWindowHook_) Application.UnhookMainWindow(mainWindowHook_);
  mainWindowHook_ = 0;
}

bool TsSkinManager::AllowGlowing() const { return allowGlowing_ && LayeredWindowsAvailable(); }

bool TsSkinManager::ExtendedBorders() const { return extendedBorders_ && LayeredWindowsAvailable(); }

void TsSkinManager::SetExtendedBorders(bool value) {
  if (value == extendedBorders_) return;
  extendedBorders_ = value;
  if (!LoadedSkin.Active) return;
  {
    LoadingScope loading;
    PrepareExtendedBorders(*this);
    LoadSkin();
  }
  if (!Loading()) ::BroadcastRefresh(*this);
}

void TsSkinManager::SetSkinnedPopups(bool value) {
  if (value == skinnedPopups_) return;
  skinnedPopups_ = value;
  if (value && IsDefault() && !Loading() && WindowSkinning()) WindowSkinning()->UpdateMenusActive();
}

void TsSkinManager::Loaded() {
  TComponent::Loaded();
  if (skinDirectory_.empty()) skinDirectory_ = "c:\\Skins";
  if (MenuSupport.IcoLineSkin.empty()) MenuSupport.IcoLineSkin = "ICOLINE";
  UpdateThirdLists(*this, false);
  if (active_ && !skinName_.empty()) ::BroadcastNewSkin(*this, false);
}

void TsSkinManager::SetActive(bool value) {
  if (value == active_) return;
  active_ = value;
  if (value) {
    SetSkinName(skinName_);
    return;
  }
  if (!Loading()) BroadcastSkinRemoved();
  CacheFixedIndexes(*this);
}

void TsSkinManager::SetSkinName(const std::string& value) {
  skinName_ = value;
  if (!active_) return;
  if (OnBeforeChange) OnBeforeChange(this);
  {
    LoadingScope loading;
    LoadedSkin.Active = false;
    LoadSkin();
    if (!active_)
      BroadcastSkinRemoved();
    else if (!Loading())
      BroadcastNewSkin();
  }
  if (OnAfterChange) OnAfterChange(this);
}

void TsSkinManager::SetSkinDirectory(const std::string& value) {
  if (value == skinDirectory_) return;
  skinDirectory_ = value;
  LoadedSkin.SkinPath = ResolveSkinDirectory();
}

void TsSkinManager::SetHueOffset(int value) {
  if (value == hueOffset_) return;
  hueOffset_ = value;
  ReloadSkin();
}

void TsSkinManager::SetSaturation(int value) {
  if (value == saturation_) return;
  saturation_ = value;
  ReloadSkin();
}

void TsSkinManager::SetCommonSections(const TStringList& lines) {
  commonSections_.Clear();
  for (int i = 0; i < lines.Count(); ++i) {
    std::string line = lines[i];
    if (!line.empty() && line[0] != ';') line.erase(std::remove(line.begin(), line.end(), ' '), line.end());
    commonSections_.Add(line);
  }
  SetSkinName(skinName_);
}

void TsSkinManager::ReloadSkin() {
  if (!active_ || skinName_.empty()) return;
  {
    LoadingScope loading;
    LoadSkin();
  }
  if (!active_)
    BroadcastSkinRemoved();
  else if (!Loading())
    ::BroadcastRefresh(*this);
}

void TsSkinManager::LoadSkin() {
  TSkinSource source;
  std::unique_ptr<TacSkinConvertor> packed;
  const TsStoredSkin* olderStored = nullptr;
  bool found = OpenSkin(source, packed, olderStored);
  SkinIsPacked = packed != nullptr;
  if (!found) {
    active_ = false;
    CacheFixedIndexes(*this);
    return;
  }
  if (olderStored) {
    efir::skin::ReadStoredSkin(*this, *olderStored);
  } else {
    efir::skin::ReadSkinMasks(*this, source);
    efir::skin::ReadSkinPatterns(*this, source);
    efir::skin::ReadGlobalInfo(LoadedSkin, source);
    efir::skin::ReadSkinSections(GeneralData, source.Ini);
  }
  if (commonSections_.Count() > 0) {
    TMemIniFile overlay;
    overlay.SetText(commonSections_.Text());
    efir::skin::ReadCommonSections(*this, overlay, LoadedSkin.SkinPath);
  }
  CacheSectionBorderIndexes(*this);
  ChangeSkinHue(*this, hueOffset_);
  ChangeSkinSaturation(*this, saturation_);
  CacheFixedIndexes(*this);
}

bool TsSkinManager::OpenSkin(TSkinSource& source, std::unique_ptr<TacSkinConvertor>& packed,
                             const TsStoredSkin*& olderStored) {
  std::string directory = WithBackslash(ResolveSkinDirectory());
  std::string packedPath = directory + skinName_ + ".asz";
  std::string folder = directory + skinName_ + "\\";
  if (efir::FileExists(packedPath)) {
    OpenPackedSkinFile(packedPath, packed, true);
    source.Ini.SetText(OptionsText(*packed));
    LoadedSkin.SkinPath = directory;
  } else if (efir::FileExists(folder + "Options.dat")) {
    TMemoryStream text;
    text.LoadFromFile(folder + "Options.dat");
    source.Ini.SetText(StreamText(text));
    LoadedSkin.SkinPath = folder;
  } else {
    LoadedSkin.SkinPath.clear();
    TsStoredSkin* stored = StoredSkin();
    if (!stored) return false;
    if (stored->Data.Size() == 0) {
      olderStored = stored;
    } else {
      // The stored stream is only lent: the convertor never frees it.
      packed = std::make_unique<TacSkinConvertor>();
      packed->PackedData = &stored->Data;
      packed->ReadPackedSkin();
      packed->PackedData = nullptr;
      source.Ini.SetText(OptionsText(*packed));
    }
  }
  source.Packed = packed.get();
  source.SkinPath = LoadedSkin.SkinPath;
  return true;
}

TsStoredSkin* TsSkinManager::StoredSkin() {
  int index = internalSkins_.IndexOf(skinName_);
  if (index < 0) {
    if (internalSkins_.Count() == 0) return nullptr;
    index = 0;
    skinName_ = internalSkins_.Items(0).Name;
  }
  return &internalSkins_.Items(index);
}

void TsSkinManager::BroadcastNewSkin() { ::BroadcastNewSkin(*this, true); }

void TsSkinManager::BroadcastSkinRemoved() { ::BroadcastSkinRemoved(*this); }

std::string TsSkinManager::ResolveSkinDirectory() const {
  const std::string& d = skinDirectory_;
  std::string program = efir::ProgramFolder();
  if (StartsWith(d, "..")) {
    std::string up = program.substr(0, program.size() - 1);
    while (!up.empty() && up.back() != '\\' && up.back() != '/') up.pop_back();
    return up + (d.size() > 3 ? d.substr(3) : std::string());
  }
  if (StartsWith(d, ".\\") || StartsWith(d, "./")) return program + d.substr(2);
  if (d.find(':') == std::string::npos && d.find("\\\\") == std::string::npos) return program + d;
  return d;
}

std::string TsSkinManager::SkinInfo() const {
  if (!LoadedSkin.Active) return "N/A";
  char text[32];
  auto [end, ec] = std::to_chars(text, text + sizeof text, LoadedSkin.Version);
  return ec == std::errc() ? std::string(text, end) : "N/A";
}

void TsSkinManager::ListSkinNames(TStringList& list, int skinType, std::string& firstName) const {
  firstName.clear();
  list.Clear();
  TStringList names;
  for (int i = 0; i < internalSkins_.Count(); ++i) names.Add(internalSkins_.Items(i).Name);
  std::string directory = ResolveSkinDirectory();
  if (efir::DirectoryExists(directory)) {
    directory = WithBackslash(directory);
    for (const TSearchRec& entry : efir::FindFiles(directory + "*.*")) {
      if (entry.Name.empty() || entry.Name[0] == '.') continue;
      if (entry.Attr & FILE_ATTRIBUTE_DIRECTORY) {
        if ((skinType == 0 || skinType == 2) && efir::FileExists(directory + entry.Name + "\\Options.dat")) names.Add(entry.Name);
      } else if ((skinType == 1 || skinType == 2) && efir::ExtractFileExt(entry.Name) == ".asz") {
        names.Add(entry.Name.substr(0, entry.Name.find('.')));
      }
    }
  }
  if (names.Count() > 0) firstName = names[0];
  names.Sort();
  for (int i = 0; i < names.Count(); ++i) list.Add(names[i]);
}
