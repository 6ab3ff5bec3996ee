// The skin manager that window layouts place: it finds the skin named by SkinName (a packed
// "asz" file or a skin folder in SkinDirectory, else a skin stored in the layout), reads it
// into the records every skinned control paints from, and keeps it until another is named.
// The first manager created is the default one, used by controls without a manager of
// their own.
//
//   sSkinManager1 = new TsSkinManager(this);          // in a layout
//   sSkinManager1->SetSkinDirectory("c:\\Skins");
//   sSkinManager1->SetSkinName("Night");              // reads it now (Active is on)
//   int i = ...; sSkinManager1->GeneralData[i].Color;
//
// Reading a skin raises on a malformed definition or a damaged packed file; the exception
// reaches whoever set the property, and the skin is then not active (LoadedSkin.Active).
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "framework/bitmap.h"
#include "framework/component.h"
#include "framework/messages.h"
#include "framework/string_list.h"
#include "skin/engine/menu_support.h"
#include "skin/engine/skin_anim_effects.h"
#include "skin/engine/skin_data.h"
#include "skin/engine/skin_third_party.h"
#include "skin/engine/stored_skins.h"

class TacSkinConvertor;
class TMenuItem;
struct TSkinSource;

// Which windows the window-skinning hook skins.
enum TacSkinningRule : uint8_t { srStdForms = 1, srStdDialogs = 2, srThirdParty = 4 };
using TacSkinningRules = uint8_t;  // an or-combination of TacSkinningRule
constexpr TacSkinningRules AllSkinningRules = srStdForms | srStdDialogs | srThirdParty;

// Asked by the skinned menus for the extra line of a popup whose first item is FirstItem.
using TacGetExtraLineData = std::function<void(TMenuItem* FirstItem, std::string& SkinSection, std::string& Caption,
                                               TBitmap*& Glyph, bool& LineVisible)>;

// Set while a manager reads its skin: fading controls and buttons skip their effects.
extern bool SkinLoading;

class TsSkinManager : public TComponent {
 public:
  explicit TsSkinManager(TComponent* AOwner);
  ~TsSkinManager() override;

  // The first manager created and still alive (or made default since), or nullptr.
  static TsSkinManager* DefaultManager();
  bool IsDefault() const { return DefaultManager() == this; }
  // True, or anything while there is no default, makes this manager the default.
  void SetIsDefault(bool value);

  bool Active() const { return active_; }
  // On: loads SkinName. Off: removes the skin.
  void SetActive(bool value);
  const std::string& SkinName() const { return skinName_; }
  // While Active, reads the named skin at once (see the class comment for where from).
  void SetSkinName(const std::string& value);
  const std::string& SkinDirectory() const { return skinDirectory_; }
  // Takes effect with the next read.
  void SetSkinDirectory(const std::string& value);
  // SkinDirectory made absolute: ".\x" and names without a drive or "\\" lie in the
  // program's folder, "..\x" in the folder above it. No separator is added at the end.
  std::string ResolveSkinDirectory() const;

  int HueOffset() const { return hueOffset_; }
  void SetHueOffset(int value);
  int Saturation() const { return saturation_; }
  void SetSaturation(int value);
  // INI text added to every skin: its sections the skin lacks, its pictures and patterns.
  const TStringList& CommonSections() const { return commonSections_; }
  // Blanks are removed from every line but comments; the skin is read again.
  void SetCommonSections(const TStringList& lines);
  TsStoredSkins& InternalSkins() { return internalSkins_; }
  // Assigning another collection copies nothing.
  void SetInternalSkins(const TsStoredSkins&) {}

  // Glows and extended borders read true only while set and layered windows can be made.
  bool AllowGlowing() const;
  void SetAllowGlowing(bool value) { allowGlowing_ = value; }
  bool ExtendedBorders() const;
  // Prepares the border pictures and reads the skin again, then refreshes every window.
  void SetExtendedBorders(bool value);
  bool SkinnedPopups() const { return skinnedPopups_; }
  // Turned on for the default manager at run time: the skinned menus check their state again.
  void SetSkinnedPopups(bool value);
  TacSkinningRules SkinningRules() const { return skinningRules_; }
  void SetSkinningRules(TacSkinningRules value) { skinningRules_ = value; }
  TacMenuSupport MenuSupport;
  TacGetExtraLineData OnGetMenuExtraLineData;

  // The loaded skin's version, as "7.2", or "N/A" while no skin is active.
  std::string SkinInfo() const;
  static std::string Version() { return "6.48"; }

  // Names this manager can load: stored skins, then (skinType 0 or 2) skin folders and
  // (1 or 2) "asz" files of the skin directory, sorted blind to case. `firstName` gets the
  // first name found in that order.
  void ListSkinNames(TStringList& list, int skinType, std::string& firstName) const;

  TNotifyEvent OnBeforeChange;
  TNotifyEvent OnAfterChange;

  // The loaded skin; other parts keep indexes into these lists.
  TsSkinData LoadedSkin;
  TsGeneralDataArray GeneralData;
  TsMaskArray Masks;
  TsPatternArray Patterns;
  std::unique_ptr<TBitmap> MasterBitmap = std::make_unique<TBitmap>();
  // Indexes found after each load (skin_lookups.h).
  TsFixedIndexes FixedIndexes;
  TacAnimEffects AnimEffects;
  // Class names per kind of window adapter, and the lists the hook searches (taken from them
  // when the manager is created and loaded; given back to them when it is freed).
  ThirdPartyList ThirdParty;
  ThirdPartyLists ThirdLists;
  // The window the mouse is over, as told by SetHotWindow (skin_broadcast.h); nullptr: none.
  HWND HotWindow = nullptr;
  // The window-skinning hook is set by this manager (skin_broadcast.h).
  bool HookInstalled = false;
  // The skin being read comes from a packed container.
  bool SkinIsPacked = false;
  // The extended border's pictures for an active and an inactive form, and how far it
  // reaches past the form on each side (extended_borders.h).
  std::unique_ptr<TBitmap> ShadowActive, ShadowInactive;
  RECT ExtBorderMargins{};

  // Being read from a layout: announcements wait for Loaded.
  bool Loading() const { return (ComponentState() & csLoading) != 0; }

 protected:
  void Loaded() override;

 private:
  // Reads SkinName from its source into the records; turns Active off when there is none.
  void LoadSkin();
  // Finds SkinName: a packed file, a skin folder, else a stored skin. Fills `source`, or
  // names the older stored skin to read from its lists; false when there is no skin at all.
  bool OpenSkin(TSkinSource& source, std::unique_ptr<TacSkinConvertor>& packed, const TsStoredSkin*& olderStored);
  // The stored skin named SkinName, else the first one (SkinName then becomes its name).
  TsStoredSkin* StoredSkin();
  // Reads the skin again for a setting that changes how it is read.
  void ReloadSkin();
  void BroadcastNewSkin();
  void BroadcastSkinRemoved();
  // The default manager's hook on the application's window, at run time on Windows NT.
  void HookMainWindow();
  void UnhookMainWindow();

  bool active_ = true;
  std::string skinName_;
  std::string skinDirectory_ = "c:\\Skins";
  int hueOffset_ = 0;
  int saturation_ = 0;
  TStringList commonSections_;
  TsStoredSkins internalSkins_;
  bool allowGlowing_ = true;
  bool extendedBorders_ = false;
  bool skinnedPopups_ = true;
  TacSkinningRules skinningRules_ = AllSkinningRules;
  int mainWindowHook_ = 0;
};
